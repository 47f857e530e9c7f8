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
#include <QStandardPaths>

#include <cups/cups.h>

#include <cmath>
#include <optional>

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

    bool operator==(const FontKey &) const = default;
};

size_t qHash(const FontKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.face.family, key.face.style, key.face.weight, key.face.italic, key.points, key.bold,
                      key.italic);
}

// A font ready to draw with on one document, with the measures each line needs.
struct DeviceFont
{
    QFont font;
    double ascentDots;
    double lineHeightTwips;
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
        const QFont font = printerFonts.font(key.face, key.points, key.bold, key.italic);
        catalogue.setUpFaces(font, text, &pdf.device());
        const QFontMetricsF metrics(font, &pdf.device());
        return *fonts.insert(key, {font, metrics.ascent(), metrics.lineSpacing() / dotsPerTwip});
    }

    // A page break. Once the part has drawn with its share of fonts, the
    // next page starts the next part, and the fonts are let go of.
    void breakPage()
    {
        const bool newPart = fonts.size() >= fontsPerPart;
        pdf.newPage(newPart);
        if (newPart)
            fonts.clear();
        pageHasLines = false;
    }

    Destination destination;
    PdfDocument pdf;
    qsizetype fontsPerPart;
    double dotsPerTwip = 1;
    double printableHeightTwips = 0;
    bool pageHasLines = false;
    // The fonts drawn with in the part being drawn.
    QHash<FontKey, DeviceFont> fonts;
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

void SystemPrinter::printLine(const QString &text)
{
    if (d->face.family.isEmpty())
        d->face = d->initialFace();
    Document &doc = d->document();
    const FontKey key{d->face, d->points, d->bold, d->italic};
    const auto deviceFont = [&] { return &doc.deviceFont(d->printerFonts(), d->catalogue, key, text); };
    const DeviceFont *font = deviceFont();

    if (doc.pageHasLines && d->y + font->lineHeightTwips > doc.printableHeightTwips) {
        try {
            doc.breakPage();
        } catch (const PrinterError &) {
            abort();
            throw;
        }
        d->y = 0;
        // A page is written out as the next one starts: a full disk shows
        // here, and the rest of the run need not be drawn for nothing.
        const QString failure = doc.pdf.writeFailure();
        if (!failure.isEmpty()) {
            abort();
            fail(failure);
        }
        // A new part holds no fonts yet.
        font = deviceFont();
    }

    // Line ends are not drawn; the line ends anyway.
    QString drawn = text;
    drawn.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    if (!drawn.isEmpty()) {
        doc.pdf.painter().setFont(font->font);
        doc.pdf.painter().drawText(QPointF(d->x * doc.dotsPerTwip, d->y * doc.dotsPerTwip + font->ascentDots),
                                   drawn);
    }
    doc.pageHasLines = true;
    d->x = 0;
    d->y += font->lineHeightTwips;
}

void SystemPrinter::finish()
{
    if (!d->doc)
        return;
    // Whatever happens from here, the document is done with: a failed one
    // leaves nothing behind, and the next line starts a fresh one.
    const std::unique_ptr<Document> doc = std::move(d->doc);
    d->x = 0;
    d->y = 0;
    const std::unique_ptr<SpoolFile> spool = doc->pdf.finish();
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
