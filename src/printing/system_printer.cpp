// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "printing/system_printer.h"

#include "fonts/ppd_fonts.h"
#include "fonts/printer_fonts.h"
#include "printing/document_delivery.h"
#include "printing/parted_document.h"
#include "printing/spool_file.h"

#include <QPrinterInfo>
#include <QScopeGuard>

#include <cmath>
#include <optional>
#include <utility>

namespace {

// The surface's size before the first FontSize write.
constexpr double InitialFontSize = 10.0;

// One open document, and where it goes once it is complete.
struct OpenDocument
{
    OpenDocument(FontCatalogue &catalogue, PrinterFonts &printerFonts, int fontsPerPart)
        : parts(catalogue, printerFonts, delivery.pageLayout(), delivery.dpi(), DocumentDelivery::DocumentTitle,
                delivery.spoolFolder(), fontsPerPart)
    {
    }

    DocumentDelivery delivery;
    PartedDocument parts;
};

} // namespace

struct SystemPrinter::Private
{
    Private(FontCatalogue &fonts, Notifier &notifier, int fontsPerPart)
        : catalogue(fonts), notifier(notifier), fontsPerPart(fontsPerPart)
    {
    }

    PrinterFonts &printerFonts();
    // The open document, or a new one on the default destination.
    OpenDocument &document();

    FontCatalogue &catalogue;
    Notifier &notifier;
    int fontsPerPart;
    std::optional<PrinterFonts> fontList;
    std::unique_ptr<OpenDocument> doc;
    // The document that finish() is ending, while it does.
    OpenDocument *finishing = nullptr;
    Pen pen;
    // No family until a FontName write or the first line.
    PrinterFace face;
    double points = InitialFontSize;
    bool bold = false;
    bool italic = false;
    bool borrowGlyphs = false;
    // The title of the entry whose caption is the next line, or null.
    QString entry;
};

SystemPrinter::SystemPrinter(FontCatalogue &fonts, Notifier &notifier, int fontsPerPart)
    : d(std::make_unique<Private>(fonts, notifier, fontsPerPart))
{
}

SystemPrinter::~SystemPrinter() = default;

int SystemPrinter::fontCount()
{
    return static_cast<int>(d->printerFonts().names().size());
}

QString SystemPrinter::fontName(int index)
{
    const QStringList &names = d->printerFonts().names();
    if (index < 0 || index >= names.size())
        throw PrinterError(tr("The printer has no font number %1; it has %2.").arg(index).arg(names.size()));
    return names.at(index);
}

double SystemPrinter::currentX() const
{
    return d->pen.x;
}

void SystemPrinter::setCurrentX(double twips)
{
    d->pen.x = twips;
}

double SystemPrinter::currentY() const
{
    return d->pen.y;
}

void SystemPrinter::setCurrentY(double twips)
{
    d->pen.y = twips;
}

void SystemPrinter::setFontName(const QString &name)
{
    const std::optional<PrinterFace> face = d->printerFonts().faceFor(name);
    if (!face)
        throw PrinterError(tr("The printer has no font \"%1\".").arg(name));
    d->face = *face;
}

void SystemPrinter::setFontSize(double points)
{
    if (std::isnan(points))
        throw PrinterError(tr("The font size is not a number."));
    if (!std::isfinite(points) || points <= 0)
        throw PrinterError(tr("The font size %1 is not a positive number of points.").arg(points));
    d->points = points;
}

void SystemPrinter::setFontBold(bool on)
{
    d->bold = on;
}

void SystemPrinter::setFontItalic(bool on)
{
    d->italic = on;
}

void SystemPrinter::setGlyphFallback(bool on)
{
    d->borrowGlyphs = on;
}

void SystemPrinter::printLine(const QString &text)
{
    if (d->face.family.isEmpty())
        d->face = initialFace(d->printerFonts(), d->catalogue);
    PartedDocument &doc = d->document().parts;
    const FontKey font{d->face, d->points, d->bold, d->italic, d->borrowGlyphs};
    QString failure;
    try {
        failure = doc.printLine(d->pen, font, text, std::exchange(d->entry, QString()));
    } catch (...) {
        abort();
        throw;
    }
    if (!failure.isEmpty()) {
        abort();
        throw PrinterError(failure);
    }
}

void SystemPrinter::beginEntry(const QString &title)
{
    d->entry = title;
}

bool SystemPrinter::finish(const WhileWaiting &whileWaiting)
{
    if (!d->doc)
        return true;
    // Whatever happens from here, the document is done with: a failed one
    // leaves nothing behind, and the next line starts a fresh one.
    const std::unique_ptr<OpenDocument> doc = std::move(d->doc);
    d->pen = Pen();
    d->entry = QString();
    // whileWaiting may end the program, which drops the document then.
    d->finishing = doc.get();
    const auto finished = qScopeGuard([this] { d->finishing = nullptr; });
    const std::unique_ptr<SpoolFile> spool = doc->parts.complete(whileWaiting);
    if (!spool)
        return false;
    doc->delivery.deliver(*spool, d->notifier);
    return true;
}

void SystemPrinter::abandonDocAtExit()
{
    // The document being ended is finish()'s own; its join ends here.
    if (d->finishing)
        d->finishing->parts.removeNames();
    if (!d->doc)
        return;
    d->doc->parts.removeNames();
    // Deliberately not destroyed: its painter would finish the PDF first.
    static_cast<void>(d->doc.release());
}

void SystemPrinter::abort()
{
    // Ending the painter writes the rest of the part being drawn into its
    // unnamed spool file, which goes with its descriptor, as do the others.
    d->doc.reset();
    d->pen = Pen();
    d->entry = QString();
}

PrinterFonts &SystemPrinter::Private::printerFonts()
{
    if (!fontList) {
        // A printer without a PPD, or a server that cannot be reached,
        // simply adds no resident fonts.
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        const QStringList resident =
            info.isNull() ? QStringList() : residentFontsOfQueue(cupsQueueOf(info.printerName()));
        fontList.emplace(catalogue, resident);
    }
    return *fontList;
}

OpenDocument &SystemPrinter::Private::document()
{
    if (!doc)
        doc = std::make_unique<OpenDocument>(catalogue, printerFonts(), fontsPerPart);
    return *doc;
}
