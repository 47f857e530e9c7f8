// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A long document drawn in parts, through the PDF printer with no CUPS
// server: the joined file against the same lines drawn as one part, and the
// ways a document can end early.

#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "printing/system_printer.h"
#include "fake_notifier.h"
#include "pdf_tools.h"
#include "private_home.h"

#include <QApplication>
#include <QDir>
#include <QScopeGuard>
#include <QTest>

#include <climits>
#include <csignal>
#include <optional>
#include <sys/resource.h>
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// Big enough for a few entries a page, so that the pages break often; each
// family has a few entries in a row.
constexpr double SamplePoints = 60;
constexpr int Entries = 60;
constexpr int EntriesPerFamily = 4;
constexpr int OnePart = INT_MAX;
// File size limits in bytes: under any part, and over every part of a
// sheet of Entries in parts of six fonts but under the sheet.
constexpr rlim_t PartLimit = 8000;
constexpr rlim_t JoinLimit = 100000;

// Faces of every kind the tests have: TrueType, OpenType CFF, Type 1.
const QStringList Families = {QStringLiteral("Liberation Serif"), QStringLiteral("URW Gothic"),
                              QStringLiteral("DejaVu Sans"),      QStringLiteral("C059"),
                              QStringLiteral("Liberation Mono"),  QStringLiteral("Nimbus Roman")};

// The title of entry i, each name for a few entries in a row; unique, for
// its number.
QString entryTitle(const QStringList &names, int i)
{
    return QStringLiteral("%1 %2").arg(names.at(i / EntriesPerFamily % names.size())).arg(i);
}

// A font sheet's lines: a heading, then a caption and a sample per entry;
// with untilPageBreak, up to the first line of the second page. The
// captions carry the names given, the samples are in Families.
void printSheet(SystemPrinter &printer, int entries, bool untilPageBreak = false,
                const QStringList &names = Families)
{
    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontSize(12);
    printer.printLine(QStringLiteral("Heading"));
    const auto line = [&](const QString &text) {
        const double before = printer.currentY();
        printer.printLine(text);
        return untilPageBreak && printer.currentY() < before;
    };
    for (int i = 0; i < entries; ++i) {
        const QString family = Families.at(i / EntriesPerFamily % Families.size());
        printer.setFontName(QStringLiteral("Arial"));
        printer.setFontSize(8);
        printer.beginEntry(entryTitle(names, i));
        if (line(QLatin1Char('(') + entryTitle(names, i) + QLatin1Char(')')))
            return;
        printer.setFontName(family);
        printer.setFontSize(SamplePoints);
        if (line(QStringLiteral("Entry %1").arg(i)))
            return;
    }
}

// A field of the document information, as pdfinfo reads it.
QString infoField(const QString &pdf, const QString &field)
{
    const QRegularExpression line(QStringLiteral("^%1: *(.*)$").arg(field), QRegularExpression::MultilineOption);
    return line.match(toolOutput(QStringLiteral("pdfinfo"), {pdf})).captured(1);
}

int pageCount(const QString &pdf)
{
    return infoField(pdf, QStringLiteral("Pages")).toInt();
}

// The fonts of one page: base name, embedded, subset.
QStringList pageFonts(const QString &pdf, int page)
{
    static const QRegularExpression subsetTag(QStringLiteral("^[A-Z]{6}\\+"));
    const QString number = QString::number(page);
    const QStringList lines = toolOutput(QStringLiteral("pdffonts"),
                                         {QStringLiteral("-f"), number, QStringLiteral("-l"), number, pdf})
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList fonts;
    for (const QString &line : lines.mid(2)) {
        const QStringList columns = line.simplified().split(QLatin1Char(' '));
        fonts.append(QStringList{QString(columns.first()).remove(subsetTag), columns.at(columns.size() - 5),
                                 columns.at(columns.size() - 4)}
                         .join(QLatin1Char(' ')));
    }
    fonts.sort();
    return fonts;
}

// The height of the pages in points, as pdfinfo gives it.
double pageHeight(const QString &pdf)
{
    return infoField(pdf, QStringLiteral("Page size")).section(QLatin1Char(' '), 2, 2).toDouble();
}

// The groups that entries with these titles go under, in the sheet's own
// order: a letter's entries in a row.
QList<std::pair<QString, int>> letterGroups(const QStringList &titles)
{
    QList<std::pair<QString, int>> groups;
    for (const QString &title : titles) {
        const QString letter = title.left(1).toUpper();
        if (groups.isEmpty() || groups.last().first != letter)
            groups.append({letter, 0});
        ++groups.last().second;
    }
    return groups;
}

QString pageText(const QString &pdf, int page)
{
    const QString number = QString::number(page);
    return toolOutput(QStringLiteral("pdftotext"),
                      {QStringLiteral("-f"), number, QStringLiteral("-l"), number, pdf, QStringLiteral("-")});
}

int openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size();
}

} // namespace

class tst_PdfParts : public QObject
{
    Q_OBJECT

public:
    explicit tst_PdfParts(const QString &home) : m_home(home) {}

private slots:
    void initTestCase();
    void init();

    void partsJoinIntoTheSameDocument_data();
    void partsJoinIntoTheSameDocument();
    void outlinePointsAtEachCaption_data();
    void outlinePointsAtEachCaption();
    void earlyEndLeavesNothing_data();
    void earlyEndLeavesNothing();

private:
    // The one sheet in the documents folder, renamed to name.
    QString takeDocument(const QString &name);

    const QDir m_home;
    QString m_documents;
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};
    FakeNotifier m_notifier;
};

void tst_PdfParts::initTestCase()
{
    m_documents = m_home.filePath(QStringLiteral("Documents"));
    for (const QString &family : Families)
        QVERIFY2(m_fonts.draws(family), qPrintable(family));
}

void tst_PdfParts::init()
{
    QDir(m_documents).removeRecursively();
    m_notifier.filed.clear();
}

QString tst_PdfParts::takeDocument(const QString &name)
{
    const QStringList files = QDir(m_documents).entryList(QDir::Files | QDir::Hidden);
    if (files.size() != 1)
        return QString();
    const QString path = m_home.filePath(name);
    QFile::remove(path);
    return QFile::rename(QDir(m_documents).filePath(files.first()), path) ? path : QString();
}

void tst_PdfParts::partsJoinIntoTheSameDocument_data()
{
    QTest::addColumn<int>("fontsPerPart");
    QTest::addColumn<QString>("parts");

    QTest::newRow("a part a page") << 1 << "every page";
    QTest::newRow("six fonts a part") << 6 << "some";
    QTest::newRow("seven fonts a part") << 7 << "some";
    QTest::newRow("more fonts than the sheet has") << 100 << "one";
}

void tst_PdfParts::partsJoinIntoTheSameDocument()
{
    QFETCH(int, fontsPerPart);
    QFETCH(QString, parts);

    SystemPrinter single(m_fonts, m_notifier, OnePart);
    printSheet(single, Entries);
    single.finish();
    const QString whole = takeDocument(QStringLiteral("whole.pdf"));
    SystemPrinter parted(m_fonts, m_notifier, fontsPerPart);
    printSheet(parted, Entries);
    parted.finish();
    const QString joined = takeDocument(QStringLiteral("joined.pdf"));
    QVERIFY(!whole.isEmpty() && !joined.isEmpty());

    const QString check = toolOutput(QStringLiteral("qpdf"), {QStringLiteral("--check"), joined});
    QVERIFY2(check.contains(QLatin1String("No syntax or stream encoding errors")), qPrintable(check));
    const int pages = pageCount(whole);
    QCOMPARE_GE(pages, 5);
    QCOMPARE(pageCount(joined), pages);
    QCOMPARE(infoField(whole, QStringLiteral("Title")), QStringLiteral("Glyphora"));
    QCOMPARE(infoField(joined, QStringLiteral("Title")), infoField(whole, QStringLiteral("Title")));
    QCOMPARE(infoField(joined, QStringLiteral("Page size")), infoField(whole, QStringLiteral("Page size")));
    for (int page = 1; page <= pages; ++page) {
        QCOMPARE(pageText(joined, page), pageText(whole, page));
        // Embedded, and subset as in the single document.
        const QStringList fonts = pageFonts(joined, page);
        QCOMPARE(fonts, pageFonts(whole, page));
        for (const QString &font : fonts)
            QVERIFY2(font.contains(QLatin1String(" yes ")), qPrintable(font));
    }

    // Each part embeds its own subset of the caption face.
    const qsizetype captionSubsets = pdfFonts(joined).count(QStringLiteral("LiberationSans yes"));
    if (parts == QLatin1String("every page"))
        QCOMPARE(captionSubsets, pages);
    else if (parts == QLatin1String("one"))
        QCOMPARE(captionSubsets, 1);
    else
        QVERIFY2(captionSubsets > 1 && captionSubsets < pages, qPrintable(QString::number(captionSubsets)));
}

void tst_PdfParts::outlinePointsAtEachCaption_data()
{
    QTest::addColumn<int>("fontsPerPart");
    QTest::addColumn<int>("entries");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("one part") << OnePart << 12 << Families;
    QTest::newRow("parts") << 6 << Entries << Families;
    QTest::newRow("Chinese and Arabic names")
        << OnePart << 12 << QStringList{QStringLiteral("文泉驿正黑"), QStringLiteral("نسخ كوفي"), Families.first()};
    QTest::newRow("more than 100: grouped by letter") << 6 << 2 * Entries << Families;
}

// The outline read back by qpdf, each entry at the page where pdftotext
// finds its caption, just above the caption's words.
void tst_PdfParts::outlinePointsAtEachCaption()
{
    QFETCH(int, fontsPerPart);
    QFETCH(int, entries);
    QFETCH(QStringList, names);

    SystemPrinter printer(m_fonts, m_notifier, fontsPerPart);
    printSheet(printer, entries, false, names);
    printer.finish();
    const QString pdf = takeDocument(QStringLiteral("outline.pdf"));
    QVERIFY(!pdf.isEmpty());

    QCOMPARE(infoField(pdf, QStringLiteral("Title")), QStringLiteral("Glyphora"));
    QCOMPARE(infoField(pdf, QStringLiteral("Subject")), QStringLiteral("Fonts: %1").arg(entries));
    QCOMPARE(infoField(pdf, QStringLiteral("Creator")), QStringLiteral("Glyphora " GLYPHORA_VERSION));
    QVERIFY(!infoField(pdf, QStringLiteral("CreationDate")).isEmpty());

    QStringList titles;
    for (int i = 0; i < entries; ++i)
        titles.append(entryTitle(names, i));
    QList<PdfOutlineEntry> outline = pdfOutline(pdf);
    if (entries > 100) {
        // Closed, each letter's entries under it.
        QList<std::pair<QString, int>> groups;
        QList<PdfOutlineEntry> kids;
        for (const PdfOutlineEntry &group : std::as_const(outline)) {
            groups.append({group.title, int(group.kids.size())});
            QVERIFY(!group.open);
            QCOMPARE(group.page, group.kids.first().page);
            QCOMPARE(group.y, group.kids.first().y);
            kids += group.kids;
        }
        QCOMPARE(groups, letterGroups(titles));
        outline = kids;
    }
    QStringList outlineTitles;
    for (const PdfOutlineEntry &entry : std::as_const(outline))
        outlineTitles.append(entry.title);
    QCOMPARE(outlineTitles, titles);

    // Each caption's number, with the bracket beside it (on the left of a
    // right-to-left name).
    static const QRegularExpression bracket(QStringLiteral("[()]"));
    QHash<QString, PdfWord> captionNumbers;
    for (const PdfWord &word : pdfWords(pdf)) {
        if (word.text.contains(bracket))
            captionNumbers.insert(QString(word.text).remove(bracket), word);
    }
    const double height = pageHeight(pdf);
    for (int i = 0; i < entries; ++i) {
        const PdfWord number = captionNumbers.value(QString::number(i));
        QCOMPARE(outline.at(i).page, number.page);
        // The caption's line starts at the entry's height: its letters
        // stand less than its 8 points below it.
        const double below = number.box.top() - (height - outline.at(i).y);
        QVERIFY2(below > -1 && below < 8, qPrintable(QString::number(below)));
    }
}

void tst_PdfParts::earlyEndLeavesNothing_data()
{
    QTest::addColumn<QString>("end");
    // With a part a page, the run ends on the first line of the second part;
    // else after some pages of the first.
    QTest::addColumn<int>("fontsPerPart");

    QTest::newRow("stopped at a part boundary") << "stop" << 1;
    QTest::newRow("stopped inside a part") << "stop" << 100;
    QTest::newRow("disk full at a part boundary") << "full" << 1;
    QTest::newRow("disk full inside a part") << "full" << 100;
    QTest::newRow("disk full while joining") << "full at the end" << 6;
    QTest::newRow("closed at a part boundary") << "close" << 1;
    QTest::newRow("closed inside a part") << "close" << 100;
}

void tst_PdfParts::earlyEndLeavesNothing()
{
    QFETCH(QString, end);
    QFETCH(int, fontsPerPart);
    const bool atBoundary = fontsPerPart == 1;
    const bool full = end.startsWith(QLatin1String("full"));
    const int entries = atBoundary || full ? Entries : Entries / 2;

    QVERIFY(QDir().mkpath(m_documents));
    const int descriptors = openDescriptors();
#ifdef __SANITIZE_ADDRESS__
    // A closed program leaves its document to the end of the process on
    // purpose; here the process goes on.
    std::optional<__lsan::ScopedDisabler> leftToTheEnd;
    if (end == QLatin1String("close"))
        leftToTheEnd.emplace();
#endif
    {
        SystemPrinter printer(m_fonts, m_notifier, fontsPerPart);
        if (full) {
            rlimit saved;
            QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            // However the checks below end: the rows after this one write
            // in full.
            const auto restore = qScopeGuard([&] {
                setrlimit(RLIMIT_FSIZE, &saved);
                std::signal(SIGXFSZ, oldHandler);
            });
            rlimit small = saved;
            // Too little for the first part, or enough for every part but
            // not for the joined document.
            small.rlim_cur = end == QLatin1String("full") ? PartLimit : JoinLimit;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
            QString failure;
            try {
                printSheet(printer, entries);
                printer.finish();
            } catch (const PrinterError &error) {
                failure = QString::fromUtf8(error.what());
            }
            // The disk fills up where the row says: in a part, or in the
            // join once every part was written.
            const bool joining = failure.startsWith(QLatin1String("Cannot put the document together"));
            QVERIFY2(!failure.isEmpty() && joining == (end == QLatin1String("full at the end")),
                     qPrintable(failure));
        } else {
            printSheet(printer, entries, atBoundary);
            if (end == QLatin1String("stop"))
                printer.abort();
            else
                printer.abandonDocAtExit();
        }
    }
    QCOMPARE(QDir(m_documents).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
    QCOMPARE(m_notifier.filed, QStringList());
    // Every part is closed, and with it gone; a program that is closed
    // leaves them to its end.
    if (end != QLatin1String("close"))
        QCOMPARE(openDescriptors(), descriptors);
}

int main(int argc, char *argv[])
{
    return runWithPrivateHome<tst_PdfParts>(argc, argv);
}

#include "tst_pdf_parts.moc"
