// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Print Fonts against a recording printer: what reaches the printer, in what
// order, and how a run ends: refused, completed, stopped or failed.

#include "find_control.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "font_sheet/font_sheet.h"
#include "ui/list_box.h"
#include "main_window/main_window.h"
#include "progress_window/progress_window.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <stdexcept>

namespace {

const QString Failed = QStringLiteral("An Error has occured.  Please notify the author.");
const QString Date = QStringLiteral("12/9/26");

// The operations that print one entry at the default print size of 12.
QStringList entry(const QString &font, const QString &sample, const QString &points = "12")
{
    return {"CurrentX=800", "GlyphFallback=1", "FontName=Arial", "FontBold=0", "FontItalic=0",
            "FontSize=8", "Entry:" + font, "Print:(" + font + ")", "CurrentX=835", "GlyphFallback=0",
            "FontName=" + font, "FontSize=" + points, "Print:" + sample};
}

QStringList opening()
{
    // The fake printer starts at 10 points, 20 twips a point: the empty
    // line takes 200 twips.
    return {"MousePointer=Busy", "Print:", "CurrentY=500", "CurrentX=800", "GlyphFallback=1", "FontName=Arial",
            "FontSize=12", "Print:Glyphora Font Sheet " + Date + QChar(13)};
}

QStringList closing()
{
    return {"Finish", "MousePointer=Default"};
}

} // namespace

class tst_FontSheet : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

private Q_SLOTS:
    void init();
    void cleanup();

    void sheet_data();
    void sheet();
    void emptyUserTextStillTakesALine();
    void countLinesAndNote();
    void nothingSelected();
    void stop_data();
    void stop();
    void progressWindowStaysUpUntilTheSheetIsOut();
    void secondRunStartsAfresh();
    void failureFromFirstSelectedEntry_data();
    void failureFromFirstSelectedEntry();
    void failureBeforeFirstSelectedEntryIsNotCaught();
    void failureAtThePrintButton_data();
    void failureAtThePrintButton();
    void failedHandlerInsideARun();
    void changesDuringTheRun();
    void printFontsClickedDuringTheRun();

private:
    void fill(const QStringList &fonts);
    void select(const QList<int> &rows);
    // Printer operations, pointer codes and pump calls since the run began.
    QStringList journalWithoutPumps() const;

    QStringList m_journal;
    FakePrinter m_printer;
    FakeScreen m_screen;
    FakeRuntime m_runtime;
    MainWindow *m_mainWindow = nullptr;
};

void tst_FontSheet::init()
{
    m_journal.clear();
    m_printer = FakePrinter();
    m_screen = FakeScreen();
    m_runtime = FakeRuntime();
    m_printer.journal = &m_journal;
    m_screen.journal = &m_journal;
    m_runtime.journal = &m_journal;
    m_runtime.date = Date;
    m_mainWindow = new MainWindow(m_fonts, m_printer, m_screen, m_runtime);
    for (const char *size : {"10", "12", "14", "16", "18", "20"})
        control<ListBox>(*m_mainWindow, "printSizeList")->addItem(QString::fromLatin1(size));
    control<ListBox>(*m_mainWindow, "printSizeList")->setSelected(1, true);
}

void tst_FontSheet::cleanup()
{
    delete m_mainWindow;
    m_mainWindow = nullptr;
    // Every window a test made is gone again.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_FontSheet::fill(const QStringList &fonts)
{
    for (const QString &font : fonts)
        control<ListBox>(*m_mainWindow, "fontList")->addItem(font);
}

void tst_FontSheet::select(const QList<int> &rows)
{
    for (int row : rows)
        control<ListBox>(*m_mainWindow, "fontList")->setSelected(row, true);
}

QStringList tst_FontSheet::journalWithoutPumps() const
{
    QStringList result = m_journal;
    result.removeAll(QStringLiteral("Pump"));
    return result;
}

void tst_FontSheet::sheet_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<bool>("userText");
    QTest::addColumn<QStringList>("entries");

    // The list sorts its entries: Arial, Bodoni, Courier, Futura.
    QTest::newRow("one font") << QList<int>{1} << false << entry("Bodoni", "Bodoni");
    QTest::newRow("several, in list order")
        << QList<int>{3, 0, 2} << false
        << entry("Arial", "Arial") + entry("Courier", "Courier") + entry("Futura", "Futura");
    QTest::newRow("user text") << QList<int>{0, 3} << true
                               << entry("Arial", "Quick fox") + entry("Futura", "Quick fox");
}

void tst_FontSheet::sheet()
{
    QFETCH(QList<int>, selected);
    QFETCH(bool, userText);
    QFETCH(QStringList, entries);

    fill({"Futura", "Bodoni", "Arial", "Courier"});
    select(selected);
    control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(QStringLiteral("Quick fox"));
    control<QRadioButton>(*m_mainWindow, "userTextOption")->setChecked(userText);
    m_journal.clear();

    m_mainWindow->printFonts();

    QCOMPARE(journalWithoutPumps(), opening() + entries + closing());
    QCOMPARE(m_runtime.pumps, 4); // one per entry, selected or not
    QVERIFY(m_runtime.messages.isEmpty());
    QVERIFY(!m_mainWindow->progressWindow().isVisible());
    QCOMPARE(m_screen.mousePointer(), Screen::Pointer::Default);
}

void tst_FontSheet::emptyUserTextStillTakesALine()
{
    fill({"Bodoni"});
    select({0});
    control<QRadioButton>(*m_mainWindow, "userTextOption")->setChecked(true);
    m_mainWindow->printFonts();

    // The sample line is printed, empty, in the font at the print size.
    QCOMPARE(journalWithoutPumps().mid(opening().size()),
             entry("Bodoni", QString()) + closing());
}

void tst_FontSheet::countLinesAndNote()
{
    QStringList fonts;
    for (int i = 0; i < 150; ++i)
        fonts.append(QStringLiteral("Font %1").arg(i, 3, 10, QLatin1Char('0')));
    fill(fonts);
    select({149});

    QStringList countLines;
    QString note;
    m_runtime.onPump = [&](int) {
        ProgressWindow &progressWindow = m_mainWindow->progressWindow();
        countLines.append(control<QLabel>(progressWindow, "countLine")->text());
        note = control<QLabel>(progressWindow, "nameLine")->text();
        QCOMPARE(progressWindow.windowTitle(), QStringLiteral("Printing Fonts"));
        QCOMPARE(progressWindow.stopFlag(), ProgressWindow::StopFlag::DontStop);
        QVERIFY(progressWindow.isVisible());
    };
    m_mainWindow->printFonts();
    countLines.append(control<QLabel>(m_mainWindow->progressWindow(), "countLine")->text());

    QCOMPARE(countLines.size(), 151);
    QCOMPARE(countLines.first(), QStringLiteral("Font Count"));
    for (int i = 0; i < 150; ++i)
        QCOMPARE(countLines.at(i + 1), QStringLiteral("%1 / 149").arg(i));
    QCOMPARE(note, QStringLiteral("Printing the 1 fonts you selected."));
    QCOMPARE(m_printer.printedLines.size(), 4); // empty line, heading, caption, sample
    QCOMPARE(m_printer.operations.last(), QStringLiteral("Finish"));
}

void tst_FontSheet::nothingSelected()
{
    fill({"Arial", "Bodoni"});
    m_journal.clear();
    m_mainWindow->printFonts();

    QCOMPARE(m_runtime.messages.size(), 1);
    QCOMPARE(m_runtime.messages[0].text,
             QStringLiteral("You must select at least one font before printing.  To select "
                            "more than one font you can use the CTRL key."));
    QCOMPARE(m_runtime.messages[0].style, Runtime::MessageStyle::Exclamation);
    QCOMPARE(m_runtime.messages[0].title, QStringLiteral("Error"));
    // Nothing else: no progress window, pointer or printer output.
    QCOMPARE(m_journal, QStringList{"MsgBox:" + m_runtime.messages[0].text});
    QVERIFY(!m_mainWindow->progressWindow().isVisible());
}

void tst_FontSheet::stop_data()
{
    QTest::addColumn<int>("stopAtPump");
    QTest::addColumn<QStringList>("printed");
    QTest::addColumn<QString>("end");

    // Entries Arial, Bodoni, Courier, Futura, Zapf; Arial, Courier and
    // Futura selected; the ending of the document pumps twice.
    QTest::newRow("before the first entry") << 1 << QStringList{} << "Abort";
    QTest::newRow("between selected entries") << 2 << QStringList{"Arial"} << "Abort";
    QTest::newRow("at a selected entry") << 3 << QStringList{"Arial"} << "Abort";
    QTest::newRow("after the last selected entry")
        << 5 << QStringList{"Arial", "Courier", "Futura"} << "Finish";
    QTest::newRow("while the document is ended")
        << 6 << QStringList{"Arial", "Courier", "Futura"} << "FinishCalledOff";
}

void tst_FontSheet::stop()
{
    QFETCH(int, stopAtPump);
    QFETCH(QStringList, printed);
    QFETCH(QString, end);

    fill({"Futura", "Bodoni", "Arial", "Courier", "Zapf"});
    select({0, 2, 3});
    m_printer.waitsInFinish = 2;
    m_runtime.onPump = [&](int pump) {
        if (pump == stopAtPump)
            control<QPushButton>(m_mainWindow->progressWindow(), "stopButton")->click();
    };
    m_mainWindow->printFonts();

    QStringList samples;
    for (const QString &line : std::as_const(m_printer.printedLines).mid(2)) {
        if (!line.startsWith(QLatin1Char('(')))
            samples.append(line);
    }
    QCOMPARE(samples, printed);
    QCOMPARE(m_printer.operations.filter(QRegularExpression("^(Finish|Abort)")), QStringList{end});
    QVERIFY(!m_mainWindow->progressWindow().isVisible());
    QCOMPARE(m_mainWindow->progressWindow().stopFlag(), ProgressWindow::StopFlag::Stop);
    QCOMPARE(m_screen.mousePointer(), Screen::Pointer::Default);
    QVERIFY(m_runtime.messages.isEmpty());
    QCOMPARE(m_runtime.endProgramCalls, 0);
}

void tst_FontSheet::progressWindowStaysUpUntilTheSheetIsOut()
{
    fill({"Arial", "Bodoni"});
    select({0});
    m_printer.waitsInFinish = 2;
    QStringList seen;
    m_runtime.onPump = [&](int pump) {
        if (pump < 3)
            return;
        ProgressWindow &window = m_mainWindow->progressWindow();
        seen << QString::number(window.isVisible()) << control<QLabel>(window, "countLine")->text()
             << control<QLabel>(window, "nameLine")->text() << m_printer.operations.last();
    };
    m_mainWindow->printFonts();

    // While the document is ended: up, at its final count, with a note of
    // how far the ending is.
    QCOMPARE(seen, (QStringList{"1", "1 / 1", "Finishing the sheet… 0%", "Print:Arial", //
                                "1", "1 / 1", "Finishing the sheet… 50%", "Print:Arial"}));
    QCOMPARE(m_printer.operations.last(), QStringLiteral("Finish"));
    QVERIFY(!m_mainWindow->progressWindow().isVisible());
}

void tst_FontSheet::secondRunStartsAfresh()
{
    fill({"Arial", "Bodoni"});
    select({0, 1});
    m_runtime.onPump = [&](int pump) {
        if (pump == 1)
            control<QPushButton>(m_mainWindow->progressWindow(), "stopButton")->click();
    };
    m_mainWindow->printFonts();
    QVERIFY(m_printer.printedLines.size() == 2);

    m_runtime.onPump = nullptr;
    m_printer.printedLines.clear();
    m_journal.clear();
    m_mainWindow->printFonts();
    // The surface still holds the stopped run's 12 points for the opening line.
    QStringList expected = opening() + entry("Arial", "Arial") + entry("Bodoni", "Bodoni") + closing();
    expected[2] = QStringLiteral("CurrentY=540");
    QCOMPARE(journalWithoutPumps(), expected);
    QCOMPARE(m_mainWindow->progressWindow().stopFlag(), ProgressWindow::StopFlag::DontStop);
}

void tst_FontSheet::failureFromFirstSelectedEntry_data()
{
    QTest::addColumn<int>("failingFontNameWrite");
    QTest::addColumn<QStringList>("printed");
    QTest::addColumn<QString>("reason");

    // FontName is written once for the heading, then twice per entry.
    QTest::newRow("face of the third selected font")
        << 7 << QStringList{"Arial", "Bodoni", "(Courier)"} << "the printer has no font named Courier";
    QTest::newRow("caption of the first selected font")
        << 2 << QStringList{} << "the printer has no font named Arial";
}

void tst_FontSheet::failureFromFirstSelectedEntry()
{
    QFETCH(int, failingFontNameWrite);
    QFETCH(QStringList, printed);
    QFETCH(QString, reason);

    fill({"Arial", "Bodoni", "Courier", "Futura"});
    select({0, 1, 2, 3});
    m_printer.failAtFontNameWrite = failingFontNameWrite;
    m_mainWindow->printFonts();

    QStringList expected;
    for (const QString &font : printed)
        expected += font.startsWith('(') ? QStringList{font} : QStringList{"(" + font + ")", font};
    QCOMPARE(m_printer.printedLines.mid(2), expected);
    QCOMPARE(m_runtime.messages.size(), 1);
    QCOMPARE(m_runtime.messages[0].text, Failed);
    QCOMPARE(m_runtime.messages[0].style, Runtime::MessageStyle::Plain);
    QCOMPARE(m_runtime.messages[0].title, QString());
    // The fixed text says nothing of the cause: the journal and the box's
    // details do.
    QCOMPARE(m_runtime.messages[0].details, reason);
    QCOMPARE(m_runtime.logged, QStringList{reason});
    QVERIFY(!m_printer.operations.contains("Finish"));
    QCOMPARE(m_printer.operations.last(), QStringLiteral("Abort"));
    QVERIFY(!m_mainWindow->progressWindow().isVisible());
    QCOMPARE(m_screen.mousePointer(), Screen::Pointer::Default);
    // The main window is as it was.
    QCOMPARE(control<ListBox>(*m_mainWindow, "fontList")->selectedCount(), 4);
}

void tst_FontSheet::failureBeforeFirstSelectedEntryIsNotCaught()
{
    fill({"Bodoni"});
    select({0});
    m_printer.failAtFontNameWrite = 1; // the heading's Arial
    QVERIFY_THROWS_EXCEPTION(PrinterError,
                             m_mainWindow->printFonts());
    QVERIFY(m_runtime.messages.isEmpty());
}

void tst_FontSheet::failureAtThePrintButton_data()
{
    QTest::addColumn<int>("failingPrintLine");
    QTest::addColumn<int>("failingFontNameWrite");
    QTest::addColumn<int>("failingPump");
    QTest::addColumn<QStringList>("failures"); // reported at the handler's boundary
    QTest::addColumn<int>("messages");         // the run's own failure message

    // Bodoni, the second entry, is the only one selected.
    QTest::newRow("the opening line: no documents folder")
        << 1 << 0 << 0 << QStringList{"cannot begin a document"} << 0;
    QTest::newRow("the heading's face, with the document begun")
        << 0 << 1 << 0 << QStringList{"the printer has no font named Arial"} << 0;
    QTest::newRow("the pump at the unselected entry ahead")
        << 0 << 0 << 1 << QStringList{"the pump failed"} << 0;
    // From the first selected entry on, the run's own trap answers as ever.
    QTest::newRow("the caption of the first selected entry: the run's own trap")
        << 0 << 2 << 0 << QStringList() << 1;
}

void tst_FontSheet::failureAtThePrintButton()
{
    QFETCH(int, failingPrintLine);
    QFETCH(int, failingFontNameWrite);
    QFETCH(int, failingPump);
    QFETCH(QStringList, failures);
    QFETCH(int, messages);

    fill({"Arial", "Bodoni"});
    select({1});
    m_printer.failAtPrintLine = failingPrintLine;
    m_printer.failAtFontNameWrite = failingFontNameWrite;
    m_runtime.onPump = [&](int pump) {
        if (pump == failingPump)
            throw std::runtime_error("the pump failed");
    };
    m_journal.clear();
    // Through the button, as the user clicks it: no exception reaches Qt.
    control<QPushButton>(*m_mainWindow, "printButton")->click();

    QCOMPARE(m_runtime.failures, failures);
    QCOMPARE(m_runtime.messages.size(), messages);
    // Reported first, then put back: the progress window gone, the default
    // pointer, and the unfinished document thrown away.
    if (!failures.isEmpty()) {
        const QString reported = "Failure:" + failures.first();
        QCOMPARE(m_journal.filter(QRegularExpression("^(Failure|Abort|MousePointer=Default)")),
                 (QStringList{reported, "MousePointer=Default", "Abort"}));
    }
    QVERIFY(!m_mainWindow->progressWindow().isVisible());
    QCOMPARE(m_screen.mousePointer(), Screen::Pointer::Default);
    QVERIFY(!m_printer.documentOpen);
    QVERIFY(!m_printer.operations.contains("Finish"));

    // The program is as it was before the click: the next click prints a
    // whole sheet of its own, from the top of a fresh document.
    m_printer.failAtPrintLine = 0;
    m_printer.failAtFontNameWrite = 0;
    m_runtime.onPump = nullptr;
    // The opening empty line, in the font the surface still holds, moves
    // the pen down from the top of the page.
    QStringList fresh = opening();
    fresh[2] = QStringLiteral("CurrentY=%1").arg(m_printer.fontSize() * m_printer.twipsPerPoint + 300);
    m_journal.clear();
    control<QPushButton>(*m_mainWindow, "printButton")->click();
    QCOMPARE(journalWithoutPumps(), fresh + entry("Bodoni", "Bodoni") + closing());
    QCOMPARE(m_runtime.failures, failures);
}

void tst_FontSheet::failedHandlerInsideARun()
{
    // A handler that fails inside the run's event pump is reported, and the
    // run goes on: its progress window, pointer and document are its own.
    fill({"Arial", "Bodoni", "Courier"});
    select({0, 2});
    m_runtime.onPump = [&](int pump) {
        if (pump == 1)
            control<QPushButton>(*m_mainWindow, "deselectAllButton")->click();
        if (pump == 2) // Deselect All's first pump, before its first write
            throw std::runtime_error("the pump failed");
    };
    m_journal.clear();
    control<QPushButton>(*m_mainWindow, "printButton")->click();

    QCOMPARE(m_runtime.failures, QStringList{"the pump failed"});
    QCOMPARE(journalWithoutPumps(), opening() + QStringList{"Failure:the pump failed"}
                                        + entry("Arial", "Arial") + entry("Courier", "Courier")
                                        + closing());
    // Deselect All hid the sample line; it shows again.
    QVERIFY(!control<QLabel>(*m_mainWindow, "sampleLine")->isHidden());
    QCOMPARE(control<ListBox>(*m_mainWindow, "fontList")->selectedCount(), 2);
}

void tst_FontSheet::changesDuringTheRun()
{
    fill({"Arial", "Bodoni", "Courier", "Futura"});
    select({0, 1, 2, 3});
    control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(QStringLiteral("one"));
    m_runtime.onPump = [&](int pump) {
        if (pump == 2) {
            control<ListBox>(*m_mainWindow, "printSizeList")->setSelected(3, true); // print size 16 from now on
            control<ListBox>(*m_mainWindow, "fontList")->setSelected(2, false); // Courier left out
            control<QRadioButton>(*m_mainWindow, "userTextOption")->setChecked(true);
            control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(QStringLiteral("two"));
        }
        if (pump == 4)
            control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(QStringLiteral("three"));
    };
    m_journal.clear();
    m_mainWindow->printFonts();

    QCOMPARE(journalWithoutPumps(), opening() + entry("Arial", "Arial")
                                        + entry("Bodoni", "two", "16")
                                        + entry("Futura", "three", "16") + closing());
}

void tst_FontSheet::printFontsClickedDuringTheRun()
{
    fill({"Arial", "Bodoni"});
    select({0, 1});
    m_runtime.onPump = [&](int pump) {
        if (pump == 1)
            control<QPushButton>(*m_mainWindow, "printButton")->click();
    };
    m_journal.clear();
    control<QPushButton>(*m_mainWindow, "printButton")->click();

    QCOMPARE(journalWithoutPumps(),
             opening() + entry("Arial", "Arial") + entry("Bodoni", "Bodoni") + closing());
    QCOMPARE(m_runtime.pumps, 2);

    // Once the run is over, the button prints again.
    m_runtime.onPump = nullptr;
    control<QPushButton>(*m_mainWindow, "printButton")->click();
    QCOMPARE(m_printer.operations.count(QStringLiteral("Finish")), 2);
}

QTEST_MAIN(tst_FontSheet)
#include "tst_font_sheet.moc"
