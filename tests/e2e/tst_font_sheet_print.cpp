// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Print Fonts through the real printer. Run on its own, it prints with no
// CUPS server, so the PDF printer files the sheets in the documents folder
// of a private home; run by font_sheet_cups.sh, it prints into a private
// cupsd's cups-pdf queue. The main window, its printer, screen and font list
// are the program's own; only the runtime is a fake, which records the
// message boxes and acts in the middle of a run from its event pump, where
// a user's clicks would land.
//
// The sheets are read back with poppler's tools; the failures are real ones:
// a name the printer does not know, a queue deleted and a server stopped
// while the sheet is drawn, a documents folder that fills up or turns
// read-only.

#include "find_control.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "fake_notifier.h"
#include "fake_runtime.h"
#include "printing/system_printer.h"
#include "desktop/system_runtime.h"
#include "desktop/system_screen.h"
#include "ui/list_box.h"
#include "main_window/main_window.h"
#include "progress_window/progress_window.h"
#include "../pdf_tools.h"
#include "private_cupsd.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QString Failed = QStringLiteral("An Error has occured.  Please notify the author.");
const QString HeadingStart = QStringLiteral("Glyphora Font Sheet ");
// The face that the captions and the heading print in: Arial's metric twin.
const QString CaptionFace = QStringLiteral("LiberationSans");
constexpr int CaptionPoints = 8;
constexpr int HeadingPoints = 12;

// Faces whose glyphs are symbols, not the letters of their names, so their
// sample lines cannot be read back as text.
const QStringList SymbolFaces = {QStringLiteral("D050000L"), QStringLiteral("Standard Symbols PS"),
                                 QStringLiteral("Symbol"), QStringLiteral("ZapfDingbats")};

// The largest print size, "20": fewest entries to a page.
constexpr int LargestPrintSizeRow = 5;
constexpr int LargestPrintSize = 20;
// Enough entries at that size for a sheet of three pages or so.
constexpr int SheetEntries = 50;

// A name that no printer lists.
const QString UnlistedFace = QStringLiteral("Glyphora Unlisted Face");
// A queue made to be deleted in the middle of a run.
const QString DoomedQueue = QStringLiteral("glyphora-doomed");

// An account and group that own none of the test's folders.
constexpr uid_t Nobody = 65534;
// A file size limit that the sheet outgrows at once.
constexpr rlim_t FullDiskBytes = 4096;

// What the user sees of the main window and could have changed.
struct WindowState
{
    QStringList fonts;
    QList<int> selected;
    QString printSize;
    QString displaySize;
    bool fontNameOption = false;
    bool userTextOption = false;
    QString userTextBox;

    bool operator==(const WindowState &) const = default;
};

WindowState stateOf(MainWindow &mainWindow)
{
    WindowState state;
    const ListBox &fontList = *control<ListBox>(mainWindow, "fontList");
    for (int i = 0; i < fontList.count(); ++i) {
        state.fonts.append(fontList.text(i));
        if (fontList.isSelected(i))
            state.selected.append(i);
    }
    state.printSize = control<ListBox>(mainWindow, "printSizeList")->currentText();
    state.displaySize = control<ListBox>(mainWindow, "displaySizeList")->currentText();
    state.fontNameOption = control<QRadioButton>(mainWindow, "fontNameOption")->isChecked();
    state.userTextOption = control<QRadioButton>(mainWindow, "userTextOption")->isChecked();
    state.userTextBox = control<QLineEdit>(mainWindow, "userTextBox")->text();
    return state;
}

bool isCaption(const PdfTextRun &run)
{
    return run.text.startsWith(QLatin1Char('(')) && run.text.endsWith(QLatin1Char(')'));
}

// Every file in a folder, hidden ones included.
QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class tst_FontSheetPrint : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

public:
    enum Failure { UnlistedFont, QueueDeleted, FolderFull, FolderReadOnly, ServerStopped };
    Q_ENUM(Failure)

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void sheet();
    void stopLeavesNothing();
    // Last: its last row stops the server.
    void failure_data();
    void failure();

private:
    // The main window with the real printer and screen, after its load
    // handling has read the printer's fonts into fontList.
    void start();
    // Selects every entry whose face prints letters.
    void selectPrintable();
    // Clicks Print Fonts and waits until the server has passed the job on.
    void printFonts();
    // Every document of any kind that printing left: finished sheets, spool
    // files, files in the documents folder.
    QStringList leftovers() const;
    // The one finished sheet in folder, or nothing.
    QString onlySheet(const QString &folder) const;
    void removeSheets();
    // Prints the entries selected now; the sheet must hold them alone, under
    // one heading, with nothing of an earlier run that did not end.
    void nextRunStartsAfresh(const QString &folder);

    bool m_cups = false;
    bool m_serverRunning = false;
    QTemporaryDir m_home;
    QString m_documents;
    // Where the queue's PDFs appear: cups-pdf's output folder, or the
    // documents folder for the PDF printer.
    QString m_sheets;
    QString m_spool;

    FakeNotifier m_notifier;
    std::unique_ptr<SystemPrinter> m_printer;
    std::unique_ptr<SystemScreen> m_screen;
    std::unique_ptr<FakeRuntime> m_runtime;
    std::unique_ptr<MainWindow> m_mainWindow;
};

void tst_FontSheetPrint::initTestCase()
{
    m_cups = !qEnvironmentVariableIsEmpty("PRIVATE_CUPSD_OUT");
    m_serverRunning = m_cups;
    if (m_cups) {
        // The script gives the program a home and a temporary folder of its
        // own, where the spool files of the sheets sent to the queue live.
        m_sheets = qEnvironmentVariable("PRIVATE_CUPSD_OUT");
        m_spool = QDir::tempPath();
    } else {
        QVERIFY(m_home.isValid());
        // Another account must reach the documents folder, for the read-only
        // case to be about that folder's permissions alone.
        QVERIFY(QFile::setPermissions(m_home.path(), QFile::permissions(m_home.path()) | QFile::ReadOther
                                                         | QFile::ExeOther));
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
    }
    m_documents = QDir::home().filePath(QStringLiteral("Documents"));
    if (!m_cups)
        m_sheets = m_documents;
    qInfo("printing through %s", m_cups ? "a private cupsd" : "the PDF printer");
}

void tst_FontSheetPrint::init()
{
    removeSheets();
    QVERIFY(QDir().mkpath(m_documents));
}

void tst_FontSheetPrint::cleanup()
{
    m_notifier.filed.clear();
    m_mainWindow.reset();
    m_runtime.reset();
    m_screen.reset();
    m_printer.reset();
    // Every window a test made is gone again.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_FontSheetPrint::start()
{
    m_printer = std::make_unique<SystemPrinter>(m_fonts, m_notifier);
    m_screen = std::make_unique<SystemScreen>(m_fonts);
    m_runtime = std::make_unique<FakeRuntime>();
    m_runtime->processQtEvents = true;
    // The heading carries today's date as the real runtime writes it.
    m_runtime->date = SystemRuntime().shortDate();
    m_mainWindow = std::make_unique<MainWindow>(m_fonts, *m_printer, *m_screen, *m_runtime);
    m_mainWindow->load();
    m_runtime->pumps = 0;
}

void tst_FontSheetPrint::selectPrintable()
{
    ListBox &fontList = *control<ListBox>(*m_mainWindow, "fontList");
    for (int i = 0; i < fontList.count(); ++i)
        fontList.setSelected(i, !SymbolFaces.contains(fontList.text(i)));
}

void tst_FontSheetPrint::printFonts()
{
    control<QPushButton>(*m_mainWindow, "printButton")->click();
    if (m_serverRunning)
        privateCupsd(QStringLiteral("wait_for_jobs 60"));
}

QStringList tst_FontSheetPrint::leftovers() const
{
    QStringList files;
    const auto collect = [&files](const QString &folder) {
        for (const QString &name : filesIn(folder))
            files.append(QDir(folder).filePath(name));
    };
    collect(m_documents);
    if (m_cups) {
        collect(m_sheets);
        collect(m_spool);
    }
    return files;
}

QString tst_FontSheetPrint::onlySheet(const QString &folder) const
{
    const QStringList files = filesIn(folder);
    if (files.size() != 1 || !files.first().endsWith(QLatin1String(".pdf"))) {
        qWarning() << "in" << folder << ":" << files;
        return QString();
    }
    return QDir(folder).filePath(files.first());
}

void tst_FontSheetPrint::removeSheets()
{
    for (const QString &folder : {m_sheets, m_documents}) {
        for (const QString &name : filesIn(folder))
            QFile::remove(QDir(folder).filePath(name));
    }
}

void tst_FontSheetPrint::sheet()
{
    start();
    ListBox &fontList = *control<ListBox>(*m_mainWindow, "fontList");
    // Long enough for several pages: the catalogue again, as a printer that
    // reports its names twice is listed.
    QStringList printable;
    for (int i = 0; i < fontList.count(); ++i) {
        if (!SymbolFaces.contains(fontList.text(i)))
            printable.append(fontList.text(i));
    }
    QVERIFY(!printable.isEmpty());
    for (int copies = 1; copies * printable.size() < SheetEntries; ++copies) {
        for (const QString &name : std::as_const(printable))
            fontList.addItem(name);
    }
    selectPrintable();
    control<ListBox>(*m_mainWindow, "printSizeList")->setSelected(LargestPrintSizeRow, true);

    QStringList names;
    for (int i = 0; i < fontList.count(); ++i) {
        if (fontList.isSelected(i))
            names.append(fontList.text(i));
    }
    printFonts();
    QVERIFY(m_runtime->messages.isEmpty());
    const QString pdf = onlySheet(m_sheets);
    QVERIFY(!pdf.isEmpty());
    if (m_cups)
        QCOMPARE(filesIn(m_documents), QStringList());
    // The user hears where a filed sheet went; one sent to a queue is not
    // filed.
    QCOMPARE(m_notifier.filed, m_cups ? QStringList() : QStringList{pdf});

    const QList<PdfTextRun> runs = pdfTextRuns(pdf);
    // The heading, then a caption and a sample line for every entry; no
    // heading, footer or page number on later pages.
    QCOMPARE(runs.size(), 1 + 2 * names.size());
    const PdfTextRun &heading = runs.first();
    QVERIFY(!m_runtime->date.isEmpty());
    QCOMPARE(heading.text, HeadingStart + m_runtime->date);
    QCOMPARE(heading.page, 1);
    QCOMPARE(heading.font, CaptionFace);
    QCOMPARE(heading.points, HeadingPoints);

    // Faces that the sample lines must come out in, as the PDF names them:
    // families in themselves, and a queue's resident names in their URW
    // stand-ins.
    QHash<QString, QString> faces = {
        {QStringLiteral("C059"), QStringLiteral("C059")},
        {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("DejaVuSansMono")},
        {QStringLiteral("Liberation Serif"), QStringLiteral("LiberationSerif")},
        {QStringLiteral("URW Bookman"), QStringLiteral("URWBookman-Light")},
        {QStringLiteral("URW Gothic"), QStringLiteral("URWGothic-Book")},
    };
    if (m_cups) {
        faces.insert({
            {QStringLiteral("AvantGarde-Book"), QStringLiteral("URWGothic-Book")},
            {QStringLiteral("Bookman-Light"), QStringLiteral("URWBookman-Light")},
            {QStringLiteral("Courier"), QStringLiteral("NimbusMonoPS")},
            {QStringLiteral("Helvetica"), QStringLiteral("NimbusSans")},
            {QStringLiteral("Palatino-Roman"), QStringLiteral("P052")},
            {QStringLiteral("Times-Roman"), QStringLiteral("NimbusRoman")},
            {QStringLiteral("ZapfChancery-MediumItalic"), QStringLiteral("Z003-MediumItalic")},
            // Styled names in their own weight and slant, abbreviated ones
            // under the full family names that fontconfig knows.
            {QStringLiteral("AvantGarde-Demi"), QStringLiteral("URWGothic-Demi")},
            {QStringLiteral("NewCenturySchlbk-Roman"), QStringLiteral("C059")},
        });
    }
    QStringList captions;
    QList<int> captionPages;
    QStringList samples;
    QSet<QString> facesSeen;
    for (int i = 1; i + 1 < runs.size(); i += 2) {
        const PdfTextRun &caption = runs.at(i);
        const PdfTextRun &sample = runs.at(i + 1);
        QVERIFY2(isCaption(caption), qPrintable(caption.text));
        QCOMPARE(caption.font, CaptionFace);
        QCOMPARE(caption.points, CaptionPoints);
        captions.append(caption.text.mid(1, caption.text.size() - 2));
        captionPages.append(caption.page);
        samples.append(sample.text);
        QCOMPARE_LE(std::abs(sample.points - LargestPrintSize), 1);
        if (faces.contains(sample.text)) {
            QCOMPARE(sample.font, faces.value(sample.text));
            facesSeen.insert(sample.text);
        }
        // Lines run down the page and on to the next.
        const PdfTextRun &before = runs.at(i - 1);
        QVERIFY(caption.page > before.page || (caption.page == before.page && caption.top > before.top));
        QVERIFY(sample.page > caption.page || (sample.page == caption.page && sample.top > caption.top));
    }
    QCOMPARE(captions, names);
    QCOMPARE(samples, names);
    // In the order of the alphabet, whatever the case.
    QVERIFY(std::is_sorted(captions.cbegin(), captions.cend(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    }));
    QCOMPARE(facesSeen.size(), faces.size());
    // A filed sheet's outline: an entry for each font, at its caption's page.
    if (!m_cups) {
        QStringList titles;
        QList<int> pages;
        for (const PdfOutlineEntry &entry : pdfOutline(pdf)) {
            titles.append(entry.title);
            pages.append(entry.page);
        }
        QCOMPARE(titles, names);
        QCOMPARE(pages, captionPages);
    }
    QCOMPARE_GE(runs.last().page, 3);

    const QStringList fonts = pdfFonts(pdf);
    QVERIFY(fonts.contains(CaptionFace + QStringLiteral(" yes")));
    // pdftohtml names a face without its "-Bold" or "-Italic", so these show
    // only here: no other entry prints in them.
    if (m_cups) {
        for (const char *face : {"NimbusMonoPS-Bold", "NimbusRoman-BoldItalic"})
            QVERIFY2(fonts.contains(QLatin1String(face) + QLatin1String(" yes")), face);
    }
    for (const QString &font : fonts)
        QVERIFY2(font.endsWith(QLatin1String(" yes")), qPrintable(font));
    // No face was turned into drawings.
    QVERIFY(!toolOutput(QStringLiteral("pdffonts"), {pdf}).contains(QLatin1String("Type 3")));
}

void tst_FontSheetPrint::stopLeavesNothing()
{
    start();
    selectPrintable();
    control<ListBox>(*m_mainWindow, "printSizeList")->setSelected(LargestPrintSizeRow, true);
    const WindowState before = stateOf(*m_mainWindow);
    // Two thirds down the list: a page or more is drawn by then.
    const int stopAt = control<ListBox>(*m_mainWindow, "fontList")->count() * 2 / 3;
    m_runtime->onPump = [&](int pump) {
        if (pump == stopAt)
            control<QPushButton>(m_mainWindow->progressWindow(), "stopButton")->click();
    };
    printFonts();

    // The run ended at the next selected entry after the Stop.
    QCOMPARE_LT(m_runtime->pumps, control<ListBox>(*m_mainWindow, "fontList")->count());
    QVERIFY(m_runtime->messages.isEmpty());
    QVERIFY(!m_mainWindow->progressWindow().isVisible());
    QCOMPARE(m_screen->mousePointer(), Screen::Pointer::Default);
    QVERIFY(stateOf(*m_mainWindow) == before);
    QCOMPARE(leftovers(), QStringList());
    QCOMPARE(m_notifier.filed, QStringList());
    nextRunStartsAfresh(m_sheets);
}

void tst_FontSheetPrint::failure_data()
{
    QTest::addColumn<Failure>("failure");

    QTest::newRow("a font the printer does not list") << UnlistedFont;
    QTest::newRow("the queue deleted") << QueueDeleted;
    QTest::newRow("the documents folder full") << FolderFull;
    QTest::newRow("the documents folder read-only") << FolderReadOnly;
    QTest::newRow("the server stopped") << ServerStopped;
}

void tst_FontSheetPrint::failure()
{
    QFETCH(Failure, failure);

    const bool throughCups = failure == QueueDeleted || failure == ServerStopped;
    const bool throughPdfPrinter = failure == FolderFull || failure == FolderReadOnly;
    if ((throughCups && !m_cups) || (throughPdfPrinter && m_cups))
        QSKIP(m_cups ? "needs the PDF printer" : "needs a private cupsd");

    // What the run breaks is mended as soon as it is over, however the
    // test leaves.
    const QString queue = qEnvironmentVariable("PRIVATE_CUPSD_QUEUE");
    if (failure == QueueDeleted)
        privateCupsd(QStringLiteral("add_pdf_queue %1 && lpadmin -d %1").arg(DoomedQueue));
    const auto restoreQueue = [&] {
        if (failure == QueueDeleted)
            privateCupsd(QStringLiteral("lpadmin -d %1").arg(queue));
    };
    const auto restoreQueueOnExit = qScopeGuard(restoreQueue);

    start();
    if (failure == UnlistedFont)
        control<ListBox>(*m_mainWindow, "fontList")->addItem(UnlistedFace);
    selectPrintable();
    control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(QStringLiteral("A user's sample text"));
    const WindowState before = stateOf(*m_mainWindow);
    const int selected = control<ListBox>(*m_mainWindow, "fontList")->selectedCount();
    QCOMPARE_GE(selected, 10);

    rlimit fileSize;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &fileSize), 0);
    const auto fileSizeSignal = std::signal(SIGXFSZ, SIG_IGN);
    const bool root = geteuid() == 0;
    const auto mendFolder = [&] {
        setrlimit(RLIMIT_FSIZE, &fileSize);
        std::signal(SIGXFSZ, fileSizeSignal);
        if (root && (seteuid(0) != 0 || setegid(0) != 0))
            qFatal("cannot return to root");
        QFile::setPermissions(m_documents, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                               | QFile::ReadOther | QFile::ExeOther);
    };
    const auto mendFolderOnExit = qScopeGuard(mendFolder);
    if (failure == FolderReadOnly && root) {
        // Permissions do not stop root: the run acts as another account,
        // which owns the folder and so the sheet's spool file in it; only
        // the folder's permissions can then be in the way.
        QCOMPARE(::chown(QFile::encodeName(m_documents).constData(), Nobody, Nobody), 0);
        QCOMPARE(setegid(Nobody), 0);
        QCOMPARE(seteuid(Nobody), 0);
    }

    // A few entries into the run: the failure trap is armed, the document
    // open and partly drawn.
    constexpr int BreakAtPump = 4;
    m_runtime->onPump = [&](int pump) {
        if (pump != BreakAtPump)
            return;
        switch (failure) {
        case UnlistedFont:
            break;
        case QueueDeleted:
            privateCupsd(QStringLiteral("lpadmin -x %1").arg(DoomedQueue));
            break;
        case FolderFull: {
            // A file size limit fails writes with EFBIG, as a full disk or a
            // quota fails them with ENOSPC or EDQUOT.
            rlimit full = fileSize;
            full.rlim_cur = FullDiskBytes;
            if (setrlimit(RLIMIT_FSIZE, &full) != 0)
                qFatal("cannot limit the file size");
            break;
        }
        case FolderReadOnly:
            QFile::setPermissions(m_documents, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                   | QFile::ExeOther);
            break;
        case ServerStopped: {
            const pid_t server = qEnvironmentVariableIntValue("PRIVATE_CUPSD_PID");
            if (server <= 0 || ::kill(server, SIGTERM) != 0)
                qFatal("cannot stop the private cupsd");
            QDeadlineTimer deadline(10000);
            while (!privateCupsd(QStringLiteral("lpstat -r")).contains(QLatin1String("not running"))
                   && !deadline.hasExpired())
                QTest::qWait(50);
            m_serverRunning = false;
            break;
        }
        }
    };
    printFonts();
    mendFolder();

    QCOMPARE(m_runtime->messages.size(), 1);
    QCOMPARE(m_runtime->messages.first().text, Failed);
    QCOMPARE(m_runtime->messages.first().style, Runtime::MessageStyle::Plain);
    QCOMPARE(m_runtime->messages.first().title, QString());
    QVERIFY(!m_mainWindow->progressWindow().isVisible());
    QCOMPARE(m_screen->mousePointer(), Screen::Pointer::Default);
    QVERIFY(stateOf(*m_mainWindow) == before);
    QCOMPARE(leftovers(), QStringList());

    // The next run starts a fresh document with none of the failed one in
    // it. With the server gone it goes to the PDF printer.
    restoreQueue();
    if (failure == UnlistedFont) {
        ListBox &fontList = *control<ListBox>(*m_mainWindow, "fontList");
        for (int i = 0; i < fontList.count(); ++i)
            fontList.setSelected(i, fontList.isSelected(i) && fontList.text(i) != UnlistedFace);
    }
    nextRunStartsAfresh(m_serverRunning ? m_sheets : m_documents);
}

void tst_FontSheetPrint::nextRunStartsAfresh(const QString &folder)
{
    m_runtime->messages.clear();
    m_runtime->onPump = nullptr;
    const ListBox &fontList = *control<ListBox>(*m_mainWindow, "fontList");
    QStringList captions;
    for (int i = 0; i < fontList.count(); ++i) {
        if (fontList.isSelected(i))
            captions.append(QLatin1Char('(') + fontList.text(i) + QLatin1Char(')'));
    }
    printFonts();
    QVERIFY(m_runtime->messages.isEmpty());
    const QString pdf = onlySheet(folder);
    QVERIFY(!pdf.isEmpty());
    QStringList printed;
    int headings = 0;
    for (const PdfTextRun &run : pdfTextRuns(pdf)) {
        if (isCaption(run))
            printed.append(run.text);
        headings += run.text.startsWith(HeadingStart) ? 1 : 0;
    }
    QCOMPARE(headings, 1);
    QCOMPARE(printed, captions);
}

int main(int argc, char *argv[])
{
    // Before libcups and Qt's printer support first look for a server: on
    // its own this test must not find the machine's, so the PDF printer
    // stands in.
    if (qEnvironmentVariableIsEmpty("PRIVATE_CUPSD_OUT"))
        qputenv("CUPS_SERVER", "/nonexistent/glyphora-test/cups.sock");
    QApplication app(argc, argv);
    tst_FontSheetPrint test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_font_sheet_print.moc"
