// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The start-up routine against fake host services: what the progress window
// shows at every step, the order of pumps, repaints and pointer changes, the
// catalogue it builds, the defaults and the restored sample text. Also the
// two handlers that it sets off: displaySizeList's click and userTextBox's change.

#include "find_control.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "ui/list_box.h"
#include "main_window/main_window.h"
#include "paint_journal.h"
#include "progress_window/progress_window.h"

#include <QApplication>
#include <QCollator>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

const QString SettingPath = FakeRuntime::settingPath("Glyphora", "User Text", "Text");

// The journal split at every pump and pointer change: each step, then the
// paints that followed it up to the next step, sorted. The toolkit decides
// the order in which a window's controls paint, and it leaves out controls
// whose pixels have not changed (the panel, the Stop button). A label's
// repaint paints the window beneath it too, as the labels show the window's
// colour through. What counts is that the window and both labels with their
// texts were painted.
QStringList steps(const QStringList &journal)
{
    QStringList result;
    QStringList paints;
    const auto flush = [&] {
        paints.sort();
        if (!paints.isEmpty())
            result.append(paints.join(QLatin1String(" + ")));
        paints.clear();
    };
    for (const QString &line : journal) {
        if (line == QLatin1String("Paint:panel") || line == QLatin1String("Paint:stopButton"))
            continue;
        if (line.startsWith(QLatin1String("Paint:"))) {
            if (line != QLatin1String("Paint:ProgressWindow") || !paints.contains(line))
                paints.append(line);
        } else {
            flush();
            result.append(line);
        }
    }
    flush();
    return result;
}

// The opening: the window reaches the screen while it opens and paints its
// initial texts there, then the two repaints show "Please Wait", before the
// busy pointer and the first pump, and so also when there are no fonts.
const QString Opening = QStringLiteral(
    "Paint:ProgressWindow + Paint:countLine:Font Count + Paint:countLine:Please Wait"
    " + Paint:nameLine:Font Name + Paint:nameLine:Font Name");

// One pass of the reading loop: the pump, then the whole window painted
// with the count line and the name.
QStringList onePass(const QString &countLine, const QString &name)
{
    return {QStringLiteral("Pump"),
            "Paint:ProgressWindow + Paint:countLine:" + countLine + " + Paint:nameLine:" + name};
}

QStringList entries(const ListBox *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->text(row));
    return texts;
}

} // namespace

class tst_StartUp : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

private Q_SLOTS:
    void init();
    void cleanup();

    void sequence_data();
    void sequence();
    void countIsAskedAgainForEveryLine();
    void catalogue_data();
    void catalogue();
    void largeCatalogue();
    void defaults_data();
    void defaults();
    void storedText_data();
    void storedText();
    void displaySizeListClick_data();
    void displaySizeListClick();
    void userTextBoxChange_data();
    void userTextBoxChange();

private:
    void load();

    QStringList m_journal;
    FakePrinter m_printer;
    FakeScreen m_screen;
    FakeRuntime m_runtime;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<PaintJournal> m_paints;
};

void tst_StartUp::init()
{
    m_journal.clear();
    m_printer = FakePrinter();
    m_screen = FakeScreen();
    m_runtime = FakeRuntime();
    m_screen.journal = &m_journal;
    m_runtime.journal = &m_journal;
    // Repaints, and the window's appearance on the screen, go through the
    // toolkit's event queue.
    m_runtime.processQtEvents = true;
    m_mainWindow = std::make_unique<MainWindow>(m_fonts, m_printer, m_screen, m_runtime);

    m_paints = std::make_unique<PaintJournal>(m_journal);
    ProgressWindow &progress = m_mainWindow->progressWindow();
    for (QWidget *widget : std::initializer_list<QWidget *>{
             &progress, control<QFrame>(progress, "panel"), control<QLabel>(progress, "countLine"), control<QLabel>(progress, "nameLine"),
             control<QPushButton>(progress, "stopButton")})
        m_paints->watch(widget);
}

void tst_StartUp::cleanup()
{
    m_mainWindow.reset();
    m_paints.reset();
    // Every window a test made is gone again.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_StartUp::load()
{
    m_mainWindow->load();
    QVERIFY(m_mainWindow->isVisible());
    QVERIFY(!m_mainWindow->progressWindow().isVisible());
}

void tst_StartUp::sequence_data()
{
    QTest::addColumn<QStringList>("fonts");
    QTest::addColumn<QStringList>("loop");

    QTest::newRow("no fonts: no pass") << QStringList() << QStringList();
    QTest::newRow("one font") << QStringList{"Arial"} << onePass("0 / 0", "Arial");
    QTest::newRow("three fonts, printer's order")
        << QStringList{"Times", "Courier", "Arial"}
        << onePass("0 / 2", "Times") + onePass("1 / 2", "Courier") + onePass("2 / 2", "Arial");
}

void tst_StartUp::sequence()
{
    QFETCH(QStringList, fonts);
    QFETCH(QStringList, loop);

    m_printer.fontList = fonts;
    load();

    // The opening, the busy pointer, one pass per font, and the default
    // pointer once the window is closed.
    const QStringList expected =
        QStringList{Opening, "MousePointer=Busy"} + loop + QStringList{"MousePointer=Default"};
    QCOMPARE(steps(m_journal), expected);
    QCOMPARE(m_printer.fontCountReads, 1 + fonts.size());
    QCOMPARE(m_printer.fontNameReads, 2 * fonts.size());
    QCOMPARE(control<QLabel>(m_mainWindow->progressWindow(), "countLine")->text(), QStringLiteral("Please Wait"));
    QCOMPARE(m_mainWindow->progressWindow().windowTitle(), QStringLiteral("Reading Fonts"));
}

void tst_StartUp::countIsAskedAgainForEveryLine()
{
    // The loop bound is read once; the count line asks the printer afresh.
    // A printer whose list grows meanwhile shows that, and the loop still
    // stops at the count it started with.
    m_printer.fontList = {"Arial", "Courier"};
    m_runtime.onPump = [this](int) { m_printer.fontList.append(QStringLiteral("Late")); };
    load();

    const QStringList paintedCounts = m_journal.filter(QStringLiteral("Paint:countLine:"));
    QCOMPARE(paintedCounts, (QStringList{"Paint:countLine:Font Count", "Paint:countLine:Please Wait",
                                         "Paint:countLine:0 / 2",
                                         "Paint:countLine:1 / 3"}));
    QCOMPARE(m_runtime.pumps, 2);
    QCOMPARE(entries(control<ListBox>(*m_mainWindow, "fontList")), (QStringList{"Arial", "Courier"}));
}

void tst_StartUp::catalogue_data()
{
    QTest::addColumn<QStringList>("fonts");
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("collation order, not code points")
        << QStringList{"Zapf Dingbats", "abc", "Ärger", "Arial", "Bookman", "arial black"}
        << QStringList{"abc", "Ärger", "Arial", "arial black", "Bookman", "Zapf Dingbats"};
    QTest::newRow("duplicates side by side, in the order read")
        << QStringList{"Symbol", "Courier", "Symbol", "Arial", "Courier", "symbol"}
        << QStringList{"Arial", "Courier", "Courier", "Symbol", "Symbol", "symbol"};

    // Names as a PPD can hold them: empty, huge, control characters, bytes
    // that were no UTF-8 (decoded to replacement characters), markup.
    const QString huge(10000, QLatin1Char('M'));
    const QString control = QStringLiteral("Ctrl\tTab\x01Start");
    const QString badBytes = QString::fromUtf8("Caf\xe9\xff Sans");
    const QString markup = QStringLiteral("<b>Bold</b>");
    QTest::newRow("bad names")
        << QStringList{huge, QString(), control, badBytes, markup, QString()}
        << QStringList{QString(), QString(), markup, badBytes, control, huge};
}

void tst_StartUp::catalogue()
{
    QFETCH(QStringList, fonts);
    QFETCH(QStringList, listed);

    m_printer.fontList = fonts;
    load();

    QCOMPARE(entries(control<ListBox>(*m_mainWindow, "fontList")), listed);
    // Every name appeared on the progress window exactly as reported.
    QStringList shownNames;
    for (const QString &line : std::as_const(m_journal)) {
        if (line.startsWith(QLatin1String("Paint:nameLine:")) && line != "Paint:nameLine:Font Name")
            shownNames.append(line.mid(int(qstrlen("Paint:nameLine:"))));
    }
    QCOMPARE(shownNames, fonts);
}

void tst_StartUp::largeCatalogue()
{
    // Enough names that the list keeps its entries in several blocks, in no
    // order, with runs of duplicates that differ only in case.
    QRandomGenerator random(7);
    QStringList fonts;
    for (int i = 0; i < 3000; ++i) {
        QString name = QStringLiteral("Face %1").arg(random.bounded(1200));
        if (random.bounded(4) == 0)
            name = name.toUpper();
        fonts.append(name);
    }
    m_printer.fontList = fonts;

    // Each new entry is found at the row that the list announces for it.
    ListBox *fontList = control<ListBox>(*m_mainWindow, "fontList");
    QStringList announced;
    connect(fontList->model(), &QAbstractItemModel::rowsInserted, this,
            [&](const QModelIndex &, int first, int) { announced.append(fontList->text(first)); });
    m_runtime.processQtEvents = false;
    load();
    QCOMPARE(announced, fonts);

    // A reader's order; equal names stay in the order they were read.
    QCollator collator(QLocale(QLocale::English, QLocale::UnitedStates));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QStringList expected = fonts;
    std::stable_sort(expected.begin(), expected.end(), [&](const QString &a, const QString &b) {
        return collator.compare(a, b) < 0;
    });
    QCOMPARE(entries(fontList), expected);
    for (int row = 0; row < fontList->count(); row += 97)
        QCOMPARE(fontList->model()->index(row, 0).data().toString(), expected.at(row));
}

void tst_StartUp::defaults_data()
{
    QTest::addColumn<QStringList>("fonts");

    QTest::newRow("no fonts") << QStringList();
    QTest::newRow("some fonts") << QStringList{"Courier", "Arial"};
}

void tst_StartUp::defaults()
{
    QFETCH(QStringList, fonts);

    m_printer.fontList = fonts;
    load();

    ListBox *printSizeList = control<ListBox>(*m_mainWindow, "printSizeList");
    ListBox *displaySizeList = control<ListBox>(*m_mainWindow, "displaySizeList");
    QCOMPARE(entries(printSizeList), (QStringList{"10", "12", "14", "16", "18", "20"}));
    QCOMPARE(entries(displaySizeList), (QStringList{"16", "18", "20", "22", "24"}));
    QCOMPARE(printSizeList->currentText(), QStringLiteral("12"));
    QVERIFY(printSizeList->isSelected(1));
    QCOMPARE(printSizeList->selectedCount(), 1);
    QCOMPARE(displaySizeList->currentText(), QStringLiteral("24"));
    QVERIFY(displaySizeList->isSelected(4));
    QCOMPARE(displaySizeList->selectedCount(), 1);

    // The catalogue starts with no current entry and nothing selected, and
    // the window works: a click picks an entry.
    ListBox *fontList = control<ListBox>(*m_mainWindow, "fontList");
    QCOMPARE(fontList->count(), fonts.size());
    QCOMPARE(fontList->selectedCount(), 0);
    QCOMPARE(fontList->currentText(), QString());
    QVERIFY(QTest::qWaitForWindowExposed(m_mainWindow.get()));
    if (!fonts.isEmpty()) {
        const QRect first = fontList->visualRect(fontList->model()->index(0, 0));
        QTest::mouseClick(fontList->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(fontList->currentText(), QStringLiteral("Arial"));
    }
}

void tst_StartUp::storedText_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sample");

    QTest::newRow("no entry") << false << QString() << "Sample";
    QTest::newRow("empty entry") << true << QString() << "Sample";
    QTest::newRow("abc") << true << "abc" << "abc";
    QTest::newRow("markup is kept as typed") << true << "<i>x</i>" << "<i>x</i>";
}

void tst_StartUp::storedText()
{
    QFETCH(bool, stored);
    QFETCH(QString, text);
    QFETCH(QString, sample);

    if (stored)
        m_runtime.settings.insert(SettingPath, text);
    m_printer.fontList = {"Courier", "Arial"};
    load();

    QCOMPARE(control<QLineEdit>(*m_mainWindow, "userTextBox")->text(), text);
    QVERIFY(!control<QLineEdit>(*m_mainWindow, "userTextBox")->isEnabled());
    QVERIFY(control<QRadioButton>(*m_mainWindow, "fontNameOption")->isChecked());
    QVERIFY(!control<QRadioButton>(*m_mainWindow, "userTextOption")->isChecked());
    QCOMPARE(control<QLabel>(*m_mainWindow, "sampleLine")->text(), sample);
    // The sample keeps its design face at the default display size.
    QCOMPARE(control<QLabel>(*m_mainWindow, "sampleLine")->font().pointSizeF(), 24.0);
    // Times New Roman itself where it is installed, else its metric twin.
    const QString face = control<QLabel>(*m_mainWindow, "sampleLine")->font().family();
    QVERIFY2(face == QLatin1String("Times New Roman") || face == QLatin1String("Liberation Serif"),
             qPrintable(face));
    QCOMPARE(m_runtime.settingWrites, 0);
}

void tst_StartUp::displaySizeListClick_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<double>("points");

    QTest::newRow("16") << 0 << 16.0;
    QTest::newRow("22") << 3 << 22.0;
}

void tst_StartUp::displaySizeListClick()
{
    QFETCH(int, row);
    QFETCH(double, points);

    m_printer.fontList = {"Courier"};
    load();
    QLabel *sample = control<QLabel>(*m_mainWindow, "sampleLine");
    QFont font = sample->font();
    font.setFamily(QStringLiteral("Courier"));
    font.setBold(false);
    font.setItalic(true);
    sample->setFont(font);
    sample->setText(QStringLiteral("Courier"));

    // By code, as Select All would, and by the user's click.
    control<ListBox>(*m_mainWindow, "displaySizeList")->setSelected(row, true);
    QCOMPARE(sample->font().pointSizeF(), points);
    control<ListBox>(*m_mainWindow, "displaySizeList")->setSelected(4, true);
    QCOMPARE(sample->font().pointSizeF(), 24.0);
    QVERIFY(QTest::qWaitForWindowExposed(m_mainWindow.get()));
    ListBox *displaySizeList = control<ListBox>(*m_mainWindow, "displaySizeList");
    QTest::mouseClick(displaySizeList->viewport(), Qt::LeftButton, {},
                      displaySizeList->visualRect(displaySizeList->model()->index(row, 0)).center());
    QCOMPARE(sample->font().pointSizeF(), points);

    // Only the size changes.
    QCOMPARE(sample->text(), QStringLiteral("Courier"));
    QCOMPARE(sample->font().family(), QStringLiteral("Courier"));
    QVERIFY(!sample->font().bold());
    QVERIFY(sample->font().italic());
}

void tst_StartUp::userTextBoxChange_data()
{
    QTest::addColumn<int>("currentFont"); // a fontList row, or -1 for none
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sample");

    QTest::newRow("text") << 0 << "Hello" << "Hello";
    QTest::newRow("emptied, current font") << 1 << "" << "Courier";
    QTest::newRow("emptied, no current font") << -1 << "" << "";
}

void tst_StartUp::userTextBoxChange()
{
    QFETCH(int, currentFont);
    QFETCH(QString, typed);
    QFETCH(QString, sample);

    m_runtime.settings.insert(SettingPath, QStringLiteral("abc"));
    m_printer.fontList = {"Courier", "Arial"};
    load();
    ListBox *fontList = control<ListBox>(*m_mainWindow, "fontList");
    if (currentFont >= 0)
        fontList->setCurrentIndex(fontList->model()->index(currentFont, 0));

    // The options are not consulted: fontNameOption is chosen and userTextBox disabled.
    control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(typed);
    QCOMPARE(control<QLabel>(*m_mainWindow, "sampleLine")->text(), sample);
    QVERIFY(control<QRadioButton>(*m_mainWindow, "fontNameOption")->isChecked());
}

QTEST_MAIN(tst_StartUp)
#include "tst_startup.moc"
