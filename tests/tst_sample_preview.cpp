// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The sample line: what a font click, the two options, typing into userTextBox
// and the display sizes make it show, in which face and size; a face that
// only the printer has; long and unusual sample texts.

#include "find_control.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "ui/list_box.h"
#include "main_window/main_window.h"
#include "main_window/sample_line.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <memory>

namespace {

const QString SettingPath = FakeRuntime::settingPath("Glyphora", "User Text", "Text");
const QString PrinterOnly = QStringLiteral("AvantGarde-Book");
const QString PrinterOnlyFont = QStringLiteral("Printer Only Font");
// displaySizeList's rows.
constexpr int Points16 = 0;
constexpr int Points18 = 1;

struct Face
{
    QString family;
    double points;
    bool bold;
};

Face faceOf(const QLabel *label)
{
    const QFont font = label->font();
    return {font.family(), font.pointSizeF(), font.bold()};
}

} // namespace

class tst_SamplePreview : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

private Q_SLOTS:
    void init();
    void cleanup();

    void captionAfterFontClick_data();
    void captionAfterFontClick();
    void sampleFollowsCurrentEntry_data();
    void sampleFollowsCurrentEntry();
    void optionClick_data();
    void optionClick();
    void arrowKeysApplyTheOption();
    void typingWithUserTextOption_data();
    void typingWithUserTextOption();
    void storedTextUntilFirstClick();

    void printerOnlyFont_data();
    void printerOnlyFont();
    void otherFailureIsNotPrinterOnlyFont();

    void userTextBoxTakesAnyText_data();
    void userTextBoxTakesAnyText();
    void longCaptionDrawsAsWhole_data();
    void longCaptionDrawsAsWhole();

private:
    void load();
    void clickFont(const QString &name, Qt::KeyboardModifiers modifiers = {});
    void clickOption(QRadioButton *option);
    QLabel *sampleLine() const { return control<QLabel>(*m_mainWindow, "sampleLine"); }

    FakePrinter m_printer;
    FakeScreen m_screen;
    FakeRuntime m_runtime;
    std::unique_ptr<MainWindow> m_mainWindow;
};

void tst_SamplePreview::init()
{
    m_printer = FakePrinter();
    m_screen = FakeScreen();
    m_runtime = FakeRuntime();
    // Listed as Arial, AvantGarde-Book, Courier, Times.
    m_printer.fontList = {"Courier", "Arial", PrinterOnly, "Times"};
    m_screen.printerOnly = {PrinterOnly};
    m_mainWindow = std::make_unique<MainWindow>(m_fonts, m_printer, m_screen, m_runtime);
}

void tst_SamplePreview::cleanup()
{
    m_mainWindow.reset();
    // Every window a test made is gone again.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_SamplePreview::load()
{
    m_mainWindow->load();
    QVERIFY(QTest::qWaitForWindowExposed(m_mainWindow.get()));
}

void tst_SamplePreview::clickFont(const QString &name, Qt::KeyboardModifiers modifiers)
{
    ListBox *fontList = control<ListBox>(*m_mainWindow, "fontList");
    int row = 0;
    while (row < fontList->count() && fontList->text(row) != name)
        ++row;
    QVERIFY2(row < fontList->count(), qPrintable(name));
    const QRect rect = fontList->visualRect(fontList->model()->index(row, 0));
    QTest::mouseClick(fontList->viewport(), Qt::LeftButton, modifiers, rect.center());
}

void tst_SamplePreview::clickOption(QRadioButton *option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

void tst_SamplePreview::captionAfterFontClick_data()
{
    QTest::addColumn<bool>("userText");
    QTest::addColumn<QString>("userTextBox");
    QTest::addColumn<QString>("caption");

    QTest::newRow("font name, empty box") << false << "" << "Courier";
    QTest::newRow("font name, text in the box") << false << "abc" << "Courier";
    QTest::newRow("user text") << true << "abc" << "abc";
    QTest::newRow("user text, empty box: the font name") << true << "" << "Courier";
    QTest::newRow("user text, a blank is text") << true << " " << " ";
}

void tst_SamplePreview::captionAfterFontClick()
{
    QFETCH(bool, userText);
    QFETCH(QString, userTextBox);
    QFETCH(QString, caption);

    load();
    control<ListBox>(*m_mainWindow, "displaySizeList")->setSelected(Points18, true);
    if (userText)
        clickOption(control<QRadioButton>(*m_mainWindow, "userTextOption"));
    control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(userTextBox);
    clickFont(QStringLiteral("Courier"));

    QCOMPARE(sampleLine()->text(), caption);
    // The font shows plain at the display size, and alone: no glyph comes
    // from another face.
    const QFont font = sampleLine()->font();
    QCOMPARE(font.family(), QStringLiteral("Courier"));
    QCOMPARE(font.pointSizeF(), 18.0);
    QVERIFY(!font.bold());
    QVERIFY(!font.italic());
    QVERIFY(font.styleStrategy() & QFont::NoFontMerging);
}

void tst_SamplePreview::sampleFollowsCurrentEntry_data()
{
    // Steps: "Times" clicks the entry, "^Times" Ctrl-clicks it, "key:Down"
    // presses a key in fontList and "key:^Down" the key with Ctrl.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("selected");

    QTest::newRow("plain click") << QStringList{"Times"} << "Times" << QStringList{"Times"};
    // Ctrl-clicking the entry again takes it out of the selection; it is
    // still the entry last clicked.
    QTest::newRow("ctrl-click that deselects")
        << QStringList{"Arial", "^Times", "^Times"} << "Times" << QStringList{"Arial"};
    QTest::newRow("arrow key moves on")
        << QStringList{"Arial", "key:Down"} << PrinterOnlyFont << QStringList{PrinterOnly};
    QTest::newRow("arrow keys move back")
        << QStringList{"Times", "key:Up"} << "Courier" << QStringList{"Courier"};
    // Ctrl with a moving key moves the current entry and leaves the
    // selection alone: the sample follows the current entry.
    QTest::newRow("Ctrl+Down") << QStringList{"Arial", "key:^Down"} << PrinterOnlyFont
                               << QStringList{"Arial"};
    QTest::newRow("Ctrl+Down twice")
        << QStringList{"Arial", "key:^Down", "key:^Down"} << "Courier" << QStringList{"Arial"};
    QTest::newRow("Ctrl+Up") << QStringList{"Times", "key:^Up"} << "Courier"
                             << QStringList{"Times"};
    QTest::newRow("Ctrl+Home") << QStringList{"Times", "key:^Home"} << "Arial"
                               << QStringList{"Times"};
    QTest::newRow("Ctrl+End") << QStringList{"Arial", "key:^End"} << "Times"
                              << QStringList{"Arial"};
    QTest::newRow("Ctrl+PageDown") << QStringList{"Arial", "key:^PageDown"} << "Times"
                                   << QStringList{"Arial"};
    QTest::newRow("Ctrl+PageUp") << QStringList{"Times", "key:^PageUp"} << "Arial"
                                 << QStringList{"Times"};
    QTest::newRow("Ctrl+Space then adds the current entry")
        << QStringList{"Arial", "key:^Down", "key:^Down", "key:^Space"} << "Courier"
        << QStringList{"Arial", "Courier"};
    // A click on the entry that is already selected alone shows it again.
    QTest::newRow("click on the entry selected alone")
        << QStringList{"Arial", "key:^Down", "Arial"} << "Arial" << QStringList{"Arial"};
}

void tst_SamplePreview::sampleFollowsCurrentEntry()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    QFETCH(QStringList, selected);

    const QHash<QString, Qt::Key> keys{{"Up", Qt::Key_Up},         {"Down", Qt::Key_Down},
                                       {"Home", Qt::Key_Home},     {"End", Qt::Key_End},
                                       {"PageUp", Qt::Key_PageUp}, {"PageDown", Qt::Key_PageDown},
                                       {"Space", Qt::Key_Space}};
    load();
    ListBox *fontList = control<ListBox>(*m_mainWindow, "fontList");
    for (QString step : steps) {
        const bool key = step.startsWith(QLatin1String("key:"));
        if (key)
            step.remove(0, 4);
        const bool ctrl = step.startsWith(QLatin1Char('^'));
        if (ctrl)
            step.remove(0, 1);
        const Qt::KeyboardModifiers modifiers = ctrl ? Qt::ControlModifier : Qt::NoModifier;
        if (key)
            QTest::keyClick(fontList, keys.value(step), modifiers);
        else
            clickFont(step, modifiers);
    }
    QCOMPARE(sampleLine()->text(), shown);
    if (shown != PrinterOnlyFont)
        QCOMPARE(sampleLine()->font().family(), shown);
    QStringList actual;
    for (int row = 0; row < fontList->count(); ++row) {
        if (fontList->isSelected(row))
            actual.append(fontList->text(row));
    }
    QCOMPARE(actual, selected);
}

void tst_SamplePreview::optionClick_data()
{
    QTest::addColumn<QString>("current"); // the font clicked first, or "" for none
    QTest::addColumn<QString>("userTextBox");
    QTest::addColumn<bool>("userText");   // userTextOption clicked, or fontNameOption
    QTest::addColumn<QString>("caption");

    // fontNameOption is chosen at start: a click on it applies it all the same.
    QTest::newRow("fontNameOption, no current entry: empty") << "" << "abc" << false << "";
    QTest::newRow("fontNameOption: the font name") << "Courier" << "abc" << false << "Courier";
    QTest::newRow("userTextOption, no current entry") << "" << "abc" << true << "abc";
    QTest::newRow("userTextOption, empty box, no current entry: empty") << "" << "" << true << "";
    QTest::newRow("userTextOption, empty box: the font name") << "Courier" << "" << true << "Courier";
    QTest::newRow("userTextOption") << "Courier" << "abc" << true << "abc";
}

void tst_SamplePreview::optionClick()
{
    QFETCH(QString, current);
    QFETCH(QString, userTextBox);
    QFETCH(bool, userText);
    QFETCH(QString, caption);

    // userTextBox changed by code shows its text whatever the option: the option
    // click then decides.
    m_runtime.settings.insert(SettingPath, QStringLiteral("stored"));
    load();
    if (!current.isEmpty())
        clickFont(current);
    control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(userTextBox);
    const QFont before = sampleLine()->font();

    clickOption(userText ? control<QRadioButton>(*m_mainWindow, "userTextOption") : control<QRadioButton>(*m_mainWindow, "fontNameOption"));
    QCOMPARE(control<QRadioButton>(*m_mainWindow, "userTextOption")->isChecked(), userText);
    QCOMPARE(sampleLine()->text(), caption);
    QCOMPARE(control<QLineEdit>(*m_mainWindow, "userTextBox")->isEnabled(), userText);
    QCOMPARE(control<QLineEdit>(*m_mainWindow, "userTextBox")->text(), userTextBox);
    // Neither the face nor the focus moves.
    QCOMPARE(sampleLine()->font(), before);
    QVERIFY(!control<QLineEdit>(*m_mainWindow, "userTextBox")->hasFocus());

    // And back.
    clickOption(userText ? control<QRadioButton>(*m_mainWindow, "fontNameOption") : control<QRadioButton>(*m_mainWindow, "userTextOption"));
    QCOMPARE(control<QLineEdit>(*m_mainWindow, "userTextBox")->isEnabled(), !userText);
}

void tst_SamplePreview::arrowKeysApplyTheOption()
{
    load();
    clickFont(QStringLiteral("Times"));
    control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(QStringLiteral("abc"));
    m_mainWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_mainWindow.get()));
    control<QRadioButton>(*m_mainWindow, "fontNameOption")->setFocus(Qt::TabFocusReason);

    QTest::keyClick(control<QRadioButton>(*m_mainWindow, "fontNameOption"), Qt::Key_Down);
    QVERIFY(control<QRadioButton>(*m_mainWindow, "userTextOption")->isChecked());
    QVERIFY(control<QLineEdit>(*m_mainWindow, "userTextBox")->isEnabled());
    QCOMPARE(sampleLine()->text(), QStringLiteral("abc"));

    QTest::keyClick(control<QRadioButton>(*m_mainWindow, "userTextOption"), Qt::Key_Up);
    QVERIFY(control<QRadioButton>(*m_mainWindow, "fontNameOption")->isChecked());
    QVERIFY(!control<QLineEdit>(*m_mainWindow, "userTextBox")->isEnabled());
    QCOMPARE(sampleLine()->text(), QStringLiteral("Times"));
}

void tst_SamplePreview::typingWithUserTextOption_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("captions"); // after "a", "b", Backspace, Backspace

    QTest::newRow("with a current entry") << "Courier" << QStringList{"a", "ab", "a", "Courier"};
    QTest::newRow("without") << "" << QStringList{"a", "ab", "a", ""};
}

void tst_SamplePreview::typingWithUserTextOption()
{
    QFETCH(QString, current);
    QFETCH(QStringList, captions);

    load();
    if (!current.isEmpty())
        clickFont(current);
    clickOption(control<QRadioButton>(*m_mainWindow, "userTextOption"));
    QLineEdit *userTextBox = control<QLineEdit>(*m_mainWindow, "userTextBox");
    QTest::mouseClick(userTextBox, Qt::LeftButton);

    QStringList seen;
    QTest::keyClick(userTextBox, Qt::Key_A);
    seen.append(sampleLine()->text());
    QTest::keyClick(userTextBox, Qt::Key_B);
    seen.append(sampleLine()->text());
    QTest::keyClick(userTextBox, Qt::Key_Backspace);
    seen.append(sampleLine()->text());
    QTest::keyClick(userTextBox, Qt::Key_Backspace);
    seen.append(sampleLine()->text());
    QCOMPARE(seen, captions);
}

void tst_SamplePreview::storedTextUntilFirstClick()
{
    m_runtime.settings.insert(SettingPath, QStringLiteral("abc"));
    load();
    QVERIFY(control<QRadioButton>(*m_mainWindow, "fontNameOption")->isChecked());
    QCOMPARE(sampleLine()->text(), QStringLiteral("abc"));

    clickFont(QStringLiteral("Arial"));
    QCOMPARE(sampleLine()->text(), QStringLiteral("Arial"));
    QCOMPARE(control<QLineEdit>(*m_mainWindow, "userTextBox")->text(), QStringLiteral("abc"));
}

void tst_SamplePreview::printerOnlyFont_data()
{
    QTest::addColumn<QString>("goodFirst"); // a font clicked at 16 points first, or ""
    QTest::addColumn<bool>("userText");
    QTest::addColumn<bool>("arialMissing");
    QTest::addColumn<QString>("fallbackFamily");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");

    // Before any good click the design face's size and weight stay: bold.
    QTest::newRow("first click") << "" << false << false << "Arial" << 24.0 << true;
    QTest::newRow("after a good click")
        << "Courier" << false << false << "Arial" << 16.0 << false;
    // The user's text set before the face failed is replaced too.
    QTest::newRow("user text") << "Courier" << true << false << "Arial" << 16.0 << false;
    QTest::newRow("Arial missing: its metric twin")
        << "" << false << true << "Liberation Sans" << 24.0 << true;
}

void tst_SamplePreview::printerOnlyFont()
{
    QFETCH(QString, goodFirst);
    QFETCH(bool, userText);
    QFETCH(bool, arialMissing);
    QFETCH(QString, fallbackFamily);
    QFETCH(double, points);
    QFETCH(bool, bold);

    if (arialMissing)
        m_screen.printerOnly.insert(QStringLiteral("Arial"));
    load();
    if (!goodFirst.isEmpty()) {
        control<ListBox>(*m_mainWindow, "displaySizeList")->setSelected(Points16, true);
        clickFont(goodFirst);
        control<ListBox>(*m_mainWindow, "displaySizeList")->setSelected(Points18, true);
        control<ListBox>(*m_mainWindow, "displaySizeList")->setSelected(Points16, true);
    }
    if (userText) {
        clickOption(control<QRadioButton>(*m_mainWindow, "userTextOption"));
        control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(QStringLiteral("abc"));
    }

    // Qt keeps its substitutes in lower case; family names match in any case.
    fallbackFamily = fallbackFamily.toCaseFolded();
    clickFont(PrinterOnly);
    QCOMPARE(sampleLine()->text(), PrinterOnlyFont);
    QCOMPARE(faceOf(sampleLine()).family.toCaseFolded(), fallbackFamily);
    QCOMPARE(faceOf(sampleLine()).points, points);
    QCOMPARE(faceOf(sampleLine()).bold, bold);
    // The program's own note reads in the user's language.
    QVERIFY(!(sampleLine()->font().styleStrategy() & QFont::NoFontMerging));

    // A size change resizes the fallback text and keeps it.
    control<ListBox>(*m_mainWindow, "displaySizeList")->setSelected(Points18, true);
    QCOMPARE(sampleLine()->text(), PrinterOnlyFont);
    QCOMPARE(faceOf(sampleLine()).family.toCaseFolded(), fallbackFamily);
    QCOMPARE(faceOf(sampleLine()).points, 18.0);
    QCOMPARE(faceOf(sampleLine()).bold, bold);

    // The next good click shows that font plainly again.
    clickFont(QStringLiteral("Times"));
    QCOMPARE(sampleLine()->text(), userText ? QStringLiteral("abc") : QStringLiteral("Times"));
    QCOMPARE(faceOf(sampleLine()).family, QStringLiteral("Times"));
    QCOMPARE(faceOf(sampleLine()).points, 18.0);
    QVERIFY(!faceOf(sampleLine()).bold);
    QVERIFY(!sampleLine()->font().italic());
}

void tst_SamplePreview::otherFailureIsNotPrinterOnlyFont()
{
    // The screen has the face, but asking about it fails: that says nothing
    // about which device has the font.
    m_screen.broken.insert(QStringLiteral("Times"), QStringLiteral("cannot read the face's file"));
    load();
    clickFont(QStringLiteral("Courier"));
    clickFont(QStringLiteral("Times"));

    QCOMPARE(m_runtime.failures, QStringList{"cannot read the face's file"});
    QVERIFY(sampleLine()->text() != PrinterOnlyFont);
    QCOMPARE(faceOf(sampleLine()).family, QStringLiteral("Courier"));
}

void tst_SamplePreview::userTextBoxTakesAnyText_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");

    // The text box's standard limit holds: 32,767 characters.
    QString megabyte;
    while (megabyte.size() < 1 << 20)
        megabyte += QStringLiteral("0123456789abcdef");
    QTest::newRow("1 MB") << megabyte << megabyte.left(32767);
    QTest::newRow("tabs") << "a\tb\t\tc" << "a\tb\t\tc";
    QTest::newRow("emoji") << "😀 👍🏽 👨‍👩‍👧" << "😀 👍🏽 👨‍👩‍👧";
    QTest::newRow("right to left") << "שלום עולם" << "שלום עולם";
    QTest::newRow("mixed directions") << "abc שלום 123" << "abc שלום 123";
    QTest::newRow("line break") << "one\ntwo" << "one\ntwo";
}

void tst_SamplePreview::userTextBoxTakesAnyText()
{
    QFETCH(QString, pasted);
    QFETCH(QString, kept);

    load();
    clickFont(QStringLiteral("Courier"));
    clickOption(control<QRadioButton>(*m_mainWindow, "userTextOption"));
    const QRect place = sampleLine()->geometry();
    QApplication::clipboard()->setText(pasted);
    QLineEdit *userTextBox = control<QLineEdit>(*m_mainWindow, "userTextBox");
    QTest::mouseClick(userTextBox, Qt::LeftButton);
    QTest::keyClick(userTextBox, Qt::Key_V, Qt::ControlModifier);

    QCOMPARE(userTextBox->text(), kept);
    QCOMPARE(sampleLine()->text(), kept);
    QCOMPARE(sampleLine()->geometry(), place);
    // What is drawn of a long caption is a line's worth.
    QVERIFY(LongCaptionPainter::visiblePart(*sampleLine(), sampleLine()->text()).size() < 2000);
    QVERIFY(QTest::qWaitForWindowExposed(m_mainWindow.get()));
    QCOMPARE(sampleLine()->geometry(), place);
}

void tst_SamplePreview::longCaptionDrawsAsWhole_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("family");

    const auto repeated = [](const QString &piece, int times) {
        QString text;
        for (int i = 0; i < times; ++i)
            text += piece;
        return text;
    };
    const QString sans = QStringLiteral("DejaVu Sans");
    QTest::newRow("words") << repeated(QStringLiteral("The quick brown fox "), 100) << sans;
    QTest::newRow("right to left: aligned right")
        << repeated(QStringLiteral("שלום עולם "), 200) << sans;
    QTest::newRow("starts with digits, then right to left")
        << QStringLiteral("12345 ") + repeated(QStringLiteral("שלום "), 300) << sans;
    QTest::newRow("lines") << repeated(QStringLiteral("a line of its own\n"), 100) << sans;
    QTest::newRow("a long line, then a short one")
        << repeated(QStringLiteral("long "), 300) + QStringLiteral("\nshort") << sans;
    QTest::newRow("tabs") << repeated(QStringLiteral("\t\tx"), 300) << sans;
    QTest::newRow("combining marks at every cut")
        << repeated(QStringLiteral("e\u0301\u0302\u0303"), 400) << sans;
    QTest::newRow("wide glyphs, fixed pitch")
        << repeated(QStringLiteral("W"), 1000) << QStringLiteral("DejaVu Sans Mono");
}

void tst_SamplePreview::longCaptionDrawsAsWhole()
{
    QFETCH(QString, caption);
    QFETCH(QString, family);

    load();
    QFont font = sampleLine()->font();
    font.setFamilies({family});
    font.setBold(false);
    sampleLine()->setFont(font);
    sampleLine()->setText(caption);
    QVERIFY(caption.size() > LongCaptionPainter::ShortCaption);

    // A plain label of the same place, font and colours draws it whole.
    QLabel whole;
    whole.setTextFormat(Qt::PlainText);
    whole.setAlignment(sampleLine()->alignment());
    whole.setFont(sampleLine()->font());
    whole.setPalette(sampleLine()->palette());
    whole.setAutoFillBackground(true);
    whole.resize(sampleLine()->size());
    whole.setText(caption);

    // The line leaves its background to the window, which paints it in the
    // line's colour.
    QImage drawn(sampleLine()->size(), QImage::Format_RGB32);
    drawn.fill(sampleLine()->palette().color(QPalette::Window));
    sampleLine()->render(&drawn, QPoint(), QRegion(), QWidget::DrawChildren);
    QCOMPARE(drawn, whole.grab().toImage());
    QVERIFY(LongCaptionPainter::visiblePart(*sampleLine(), caption).size() < caption.size());
}

QTEST_MAIN(tst_SamplePreview)
#include "tst_sample_preview.moc"
