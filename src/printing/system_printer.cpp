// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "printing/system_printer.h"

#include "desktop/measures.h"
#include "desktop/notifier.h"
#include "fonts/font_catalogue.h"
#include "fonts/ppd_fonts.h"
#include "fonts/printer_fonts.h"
#include "printing/pdf_document.h"
#include "printing/spool_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QStandardPaths>

#include <cups/cups.h>

#include <cmath>
#include <optional>
#include <utility>

namespace {

// The PDF printer: the locale's paper with a margin that any desktop printer
// can reach, should the file be printed later, at a resolution fine enough
// that twips round to whole dots.
constexpr int PdfPrinterDpi = 1200;
constexpr double PdfPrinterMarginInches = 0.25;

// The surface's font before the first FontName write.
const QString InitialFontName = QStringLiteral("Courier New");
constexpr double InitialFontSize = 10.0;

// How long to wait for the print server to answer a connection.
constexpr int ConnectTimeoutMs = 30000;

const QString DocumentTitle = QStringLiteral("Glyphora");
const QString PdfFileSuffix = QStringLiteral(".pdf");

[[noreturn]] void fail(const QString &message)
{
    throw PrinterError(message.toStdString());
}

// Where a document goes and what its pages look like.
struct Destination
{
    // The CUPS queue as Qt names it ("queue" or "queue/instance"); empty for
    // the PDF printer.
    QString queue;
    QPageLayout layout;
    int dpi = PdfPrinterDpi;
};

QPageLayout pdfPrinterLayout()
{
    const QPageSize::PageSizeId paper = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
        ? QPageSize::Letter
        : QPageSize::A4;
    const QMarginsF margins(PdfPrinterMarginInches, PdfPrinterMarginInches, PdfPrinterMarginInches,
                            PdfPrinterMarginInches);
    return QPageLayout(QPageSize(paper), QPageLayout::Portrait, margins, QPageLayout::Inch);
}

// The CUPS default destination as Qt sees it (Qt honours CUPS_SERVER and the
// user's lpoptions), or the PDF printer when there is none.
Destination defaultDestination()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return {QString(), pdfPrinterLayout(), PdfPrinterDpi};
    const QPrinter printer(info, QPrinter::HighResolution);
    return {info.printerName(), printer.pageLayout(), printer.resolution()};
}

// "queue/instance" -> "queue".
QString queueOf(const QString &qtPrinterName)
{
    return qtPrinterName.section(QLatin1Char('/'), 0, 0);
}

QString documentsFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        fail(QCoreApplication::translate("SystemPrinter", "There is no documents folder to save the document in."));
    if (!QDir().mkpath(folder))
        fail(QCoreApplication::translate("SystemPrinter", "Cannot create the documents folder \"%1\".").arg(folder));
    return folder;
}

struct HttpCloser
{
    void operator()(http_t *http) const { httpClose(http); }
};

// Hands a finished PDF to a CUPS queue. Qt's own CUPS engine does not look at
// whether the server took the job, so the document is submitted here, on a
// connection of its own: libcups reports a server it cannot reach and a
// queue that is gone alike ("No such file or directory") on its default one.
void submit(const QString &qtPrinterName, const QString &pdfPath)
{
    const auto refused = [&](const QString &why) {
        fail(QCoreApplication::translate("SystemPrinter", "Cannot print on \"%1\": %2").arg(qtPrinterName, why));
    };
    const std::unique_ptr<http_t, HttpCloser> http(
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, ConnectTimeoutMs, nullptr));
    if (!http)
        refused(QStringLiteral("the print server %1 does not answer.").arg(QString::fromUtf8(cupsServer())));

    const QByteArray queue = queueOf(qtPrinterName).toUtf8();
    const QByteArray instance = qtPrinterName.section(QLatin1Char('/'), 1).toUtf8();
    // The destination comes with the user's lpoptions, which lp applies too.
    cups_dest_t *dest =
        cupsGetNamedDest(http.get(), queue.constData(), instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        refused(QString::fromUtf8(cupsLastErrorString()));
    const int job = cupsPrintFile2(http.get(), dest->name, QFile::encodeName(pdfPath).constData(),
                                   DocumentTitle.toUtf8().constData(), dest->num_options, dest->options);
    cupsFreeDests(1, dest);
    if (job == 0)
        refused(QString::fromUtf8(cupsLastErrorString()));
}

// A font as the surface holds it.
struct FontKey
{
    PrinterFace face;
    double points;
    bool bold;
    bool italic;
    bool borrowGlyphs;

    bool operator==(const FontKey &) const = default;
};

size_t qHash(const FontKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.face.family, key.face.style, key.face.weight, key.face.italic, key.points, key.bold,
                      key.italic, key.borrowGlyphs);
}

// A font ready to draw with on one document, with the measures each line needs.
struct DeviceFont
{
    QFont font;
    double ascentDots;
    double lineHeightTwips;
    // False where Qt draws the font in another face than its own: the
    // face's file could not be read.
    bool ownFace;
};

// A line as it was asked for, to draw the document again from.
struct Line
{
    double x;
    // From where the line before it ended.
    double drop;
    FontKey font;
    QString text;
};

// One open document: a PDF drawn in parts, which gets a name, or goes to
// the printer, only once it is complete.
struct Document
{
    Document(const Destination &where, const QString &spoolFolder, int fontsPerPart)
        : destination(where),
          pdf(where.layout, where.dpi, DocumentTitle, spoolFolder),
          fontsPerPart(fontsPerPart)
    {
        dotsPerTwip = static_cast<double>(destination.dpi) / TwipsPerInch;
        printableHeightTwips = pdf.device().height() / dotsPerTwip;
    }

    // text: the first line drawn in the font.
    const DeviceFont &deviceFont(PrinterFonts &printerFonts, FontCatalogue &catalogue, const FontKey &key,
                                 const QString &text)
    {
        auto found = fonts.constFind(key);
        if (found != fonts.cend())
            return *found;
        QFont font = printerFonts.font(key.face, key.points, key.bold, key.italic);
        if (key.borrowGlyphs)
            font = catalogue.textFont(font);
        catalogue.setUpFaces(font, text, &pdf.device());
        const QFontMetricsF metrics(font, &pdf.device());
        const bool ownFace = catalogue.drawsInOwnFace(font, &pdf.device());
        return *fonts.insert(key, {font, metrics.ascent(), metrics.lineSpacing() / dotsPerTwip, ownFace});
    }

    Destination destination;
    PdfDocument pdf;
    qsizetype fontsPerPart;
    double dotsPerTwip = 1;
    double printableHeightTwips = 0;
    bool pageHasLines = false;
    // The fonts drawn with in the part being drawn.
    QHash<FontKey, DeviceFont> fonts;
    // The lines of the part being drawn, to draw it again from.
    QList<Line> lines;
    // Where the pen stood after the last line.
    double lineEnd = 0;
    // While a part is drawn again it does not end: its lines were all drawn
    // with the part's fonts before.
    bool redrawing = false;
};

} // namespace

struct SystemPrinter::Private
{
    Private(FontCatalogue &fonts, Notifier &notifier, int fontsPerPart)
        : catalogue(fonts), notifier(notifier), fontsPerPart(fontsPerPart)
    {
    }

    PrinterFonts &printerFonts()
    {
        if (!fontList) {
            // A printer without a PPD, or a server that cannot be reached,
            // simply adds no resident fonts.
            const QPrinterInfo info = QPrinterInfo::defaultPrinter();
            const QStringList resident =
                info.isNull() ? QStringList() : residentFontsOfQueue(queueOf(info.printerName()));
            fontList.emplace(catalogue, resident);
        }
        return *fontList;
    }

    Document &document()
    {
        if (!doc) {
            const Destination destination = defaultDestination();
            const QString folder = destination.queue.isEmpty() ? documentsFolder() : QDir::tempPath();
            doc = std::make_unique<Document>(destination, folder, fontsPerPart);
        }
        return *doc;
    }

    // The face of lines printed before any FontName write: Courier New's
    // metric twin where there is one, else the desktop's fixed-pitch face.
    PrinterFace initialFace()
    {
        if (const std::optional<PrinterFace> face = printerFonts().faceFor(InitialFontName))
            return *face;
        PrinterFace fixedPitch;
        fixedPitch.family =
            QFontInfo(catalogue.standaloneFont(QFontDatabase::systemFont(QFontDatabase::FixedFont))).family();
        return fixedPitch;
    }

    // Whether a face drawn in the part being drawn has gone or changed since.
    bool facesChanged(const Document &doc)
    {
        for (auto font = doc.fonts.cbegin(); font != doc.fonts.cend(); ++font) {
            if (font->ownFace && !catalogue.faceAvailable(font.key().face.family))
                return true;
        }
        return false;
    }

    // The font that a line in font draws in on doc: its own, or where that
    // font's face is gone or changed, the caption face, and then text says so.
    const DeviceFont &lineFont(Document &doc, FontKey font, QString &text)
    {
        if (catalogue.faceAvailable(font.face.family)) {
            const DeviceFont &own = doc.deviceFont(printerFonts(), catalogue, font, text);
            if (own.ownFace)
                return own;
            catalogue.setFaceUnavailable(font.face.family);
        }
        font.face = captionFace();
        // The program's own note, in the user's language.
        font.borrowGlyphs = true;
        text = FaceWatch::notAvailableText();
        return doc.deviceFont(printerFonts(), catalogue, font, text);
    }

    // The line at the pen in font, or where that font's face is gone or
    // changed, a line saying so in the caption face. Returns why the pages
    // drawn so far did not all reach the part's file, or nothing.
    QString drawLine(Document &doc, const FontKey &font, const QString &text)
    {
        QString drawnText = text;
        const DeviceFont *drawn = &lineFont(doc, font, drawnText);
        // From where the line before it ended, as it was asked for.
        double drop = y - doc.lineEnd;

        QString failure;
        if (doc.pageHasLines && y + drawn->lineHeightTwips > doc.printableHeightTwips) {
            // Once the part has drawn with its share of fonts, the next page
            // starts the next part, and the fonts are let go of.
            const bool newPart = !doc.redrawing && doc.fonts.size() >= doc.fontsPerPart;
            if (newPart) {
                endPart(doc);
                doc.pdf.startPart();
                doc.fonts.clear();
                doc.lines.clear();
                doc.lineEnd = 0;
                // The line starts the part's first page, as it does when the
                // part is drawn again.
                drop = 0;
            } else {
                doc.pdf.newPage();
            }
            y = 0;
            doc.pageHasLines = false;
            // A page is written out as the next one starts: a full disk shows
            // here, and the rest of the run need not be drawn for nothing.
            failure = doc.pdf.writeFailure();
            if (newPart) {
                drawnText = text;
                drawn = &lineFont(doc, font, drawnText);
            }
        }
        doc.lines.append({x, drop, font, text});
        // Line ends are not drawn; the line ends anyway.
        drawnText.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        if (!drawnText.isEmpty()) {
            doc.pdf.painter().setFont(drawn->font);
            doc.pdf.painter().drawText(QPointF(x * doc.dotsPerTwip, y * doc.dotsPerTwip + drawn->ascentDots),
                                       drawnText);
        }
        doc.pageHasLines = true;
        x = 0;
        y += drawn->lineHeightTwips;
        doc.lineEnd = y;
        return failure;
    }

    // Ends the part being drawn. That puts its faces' glyphs into it, read
    // from their files: a face that changed after its lines were drawn, or
    // while they are read, must not go in from its changed file, so the part
    // is drawn again first, its lines in such faces saying that those are
    // not available.
    void endPart(Document &doc)
    {
        if (facesChanged(doc))
            redrawPart(doc);
        const int faults = catalogue.faceWatch().faultCount();
        doc.pdf.endPart();
        if (catalogue.faceWatch().faultCount() != faults && facesChanged(doc)) {
            redrawPart(doc);
            doc.pdf.endPart();
        }
    }

    // The part being drawn, or just ended, thrown away and drawn again from
    // its lines on a fresh part in its place.
    void redrawPart(Document &doc)
    {
        const auto penBack = qScopeGuard([this, penX = x, penY = y] {
            x = penX;
            y = penY;
        });
        const QList<Line> lines = std::exchange(doc.lines, {});
        doc.pdf.redoPart();
        doc.fonts.clear();
        doc.lineEnd = 0;
        doc.pageHasLines = false;
        doc.redrawing = true;
        const auto redrawn = qScopeGuard([&doc] { doc.redrawing = false; });
        for (const Line &line : lines) {
            x = line.x;
            y = doc.lineEnd + line.drop;
            const QString failure = drawLine(doc, line.font, line.text);
            if (!failure.isEmpty())
                fail(failure);
        }
    }

    // The face of a line saying that a face is not available.
    PrinterFace captionFace()
    {
        if (const std::optional<PrinterFace> face = printerFonts().faceFor(FontCatalogue::CaptionFamily))
            return *face;
        return initialFace();
    }

    FontCatalogue &catalogue;
    Notifier &notifier;
    int fontsPerPart;
    std::optional<PrinterFonts> fontList;
    std::unique_ptr<Document> doc;
    double x = 0;
    double y = 0;
    // No family until a FontName write or the first line.
    PrinterFace face;
    double points = InitialFontSize;
    bool bold = false;
    bool italic = false;
    bool borrowGlyphs = false;
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
        fail(QCoreApplication::translate("SystemPrinter", "The printer has no font number %1; it has %2.").arg(index).arg(names.size()));
    return names.at(index);
}

double SystemPrinter::currentX() const
{
    return d->x;
}

void SystemPrinter::setCurrentX(double twips)
{
    d->x = twips;
}

double SystemPrinter::currentY() const
{
    return d->y;
}

void SystemPrinter::setCurrentY(double twips)
{
    d->y = twips;
}

void SystemPrinter::setFontName(const QString &name)
{
    const std::optional<PrinterFace> face = d->printerFonts().faceFor(name);
    if (!face)
        fail(QCoreApplication::translate("SystemPrinter", "The printer has no font \"%1\".").arg(name));
    d->face = *face;
}

void SystemPrinter::setFontSize(double points)
{
    if (std::isnan(points))
        fail(QCoreApplication::translate("SystemPrinter", "The font size is not a number."));
    if (!std::isfinite(points) || points <= 0)
        fail(QCoreApplication::translate("SystemPrinter", "The font size %1 is not a positive number of points.").arg(points));
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
        d->face = d->initialFace();
    Document &doc = d->document();
    const FontKey font{d->face, d->points, d->bold, d->italic, d->borrowGlyphs};
    QString failure;
    try {
        failure = d->drawLine(doc, font, text);
    } catch (...) {
        abort();
        throw;
    }
    if (!failure.isEmpty()) {
        abort();
        fail(failure);
    }
}

void SystemPrinter::finish()
{
    if (!d->doc)
        return;
    // Whatever happens from here, the document is done with: a failed one
    // leaves nothing behind, and the next line starts a fresh one.
    std::unique_ptr<Document> doc = std::move(d->doc);
    const auto penBack = qScopeGuard([this] {
        d->x = 0;
        d->y = 0;
    });
    d->endPart(*doc);
    const std::unique_ptr<SpoolFile> spool = doc->pdf.join();
    spool->sync();
    if (doc->destination.queue.isEmpty()) {
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
        const QString path = spool->publish(DocumentTitle + QLatin1Char(' ') + stamp, PdfFileSuffix);
        // A sheet that went into a file rather than to paper would otherwise
        // go unnoticed.
        d->notifier.sheetFiled(path);
    } else {
        submit(doc->destination.queue, spool->path());
    }
}

void SystemPrinter::abandonDocAtExit()
{
    if (!d->doc)
        return;
    d->doc->pdf.removeNames();
    // Deliberately not destroyed: its painter would finish the PDF first.
    static_cast<void>(d->doc.release());
}

void SystemPrinter::abort()
{
    // Ending the painter writes the rest of the part being drawn into its
    // unnamed spool file, which goes with its descriptor, as do the others.
    d->doc.reset();
    d->x = 0;
    d->y = 0;
}
