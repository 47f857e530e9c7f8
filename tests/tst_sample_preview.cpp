// The sample line: what a font click, the two options, typing into Text1
// and the display sizes make it show, in which face and size; a face that
// only the printer has; long and unusual sample texts.

#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "main_window/list_box.h"
#include "main_window/pressel.h"
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
// List3's rows.
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
    void typingWithOption2_data();
    void typingWithOption2();
    void storedTextUntilFirstClick();

    void printerOnlyFont_data();
    void printerOnlyFont();

    void text1TakesAnyText_data();
    void text1TakesAnyText();
    void longCaptionDrawsAsWhole_data();
    void longCaptionDrawsAsWhole();

private:
    void load();
    void clickFont(const QString &name, Qt::KeyboardModifiers modifiers = {});
    void clickOption(QRadioButton *option);
    QLabel *label2() const { return m_pressel->label2(); }

    FakePrinter m_printer;
    FakeScreen m_screen;
    FakeRuntime m_runtime;
    std::unique_ptr<Pressel> m_pressel;
};

void tst_SamplePreview::init()
{
    m_printer = FakePrinter();
    m_screen = FakeScreen();
    m_runtime = FakeRuntime();
    // Listed as Arial, AvantGarde-Book, Courier, Times.
    m_printer.fontList = {"Courier", "Arial", PrinterOnly, "Times"};
    m_screen.printerOnly = {PrinterOnly};
    m_pressel = std::make_unique<Pressel>(m_printer, m_screen, m_runtime);
}

void tst_SamplePreview::cleanup()
{
    m_pressel.reset();
}

void tst_SamplePreview::load()
{
    m_pressel->load();
    QVERIFY(QTest::qWaitForWindowExposed(m_pressel.get()));
}

void tst_SamplePreview::clickFont(const QString &name, Qt::KeyboardModifiers modifiers)
{
    ListBox *list1 = m_pressel->list1();
    int row = 0;
    while (row < list1->count() && list1->text(row) != name)
        ++row;
    QVERIFY2(row < list1->count(), qPrintable(name));
    const QRect rect = list1->visualRect(list1->model()->index(row, 0));
    QTest::mouseClick(list1->viewport(), Qt::LeftButton, modifiers, rect.center());
}

void tst_SamplePreview::clickOption(QRadioButton *option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

void tst_SamplePreview::captionAfterFontClick_data()
{
    QTest::addColumn<bool>("userText");
    QTest::addColumn<QString>("text1");
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
    QFETCH(QString, text1);
    QFETCH(QString, caption);

    load();
    m_pressel->list3()->setSelected(Points18, true);
    if (userText)
        clickOption(m_pressel->option2());
    m_pressel->text1()->setText(text1);
    clickFont(QStringLiteral("Courier"));

    QCOMPARE(label2()->text(), caption);
    // The font shows plain at the display size, and alone: no glyph comes
    // from another face.
    const QFont font = label2()->font();
    QCOMPARE(font.family(), QStringLiteral("Courier"));
    QCOMPARE(font.pointSizeF(), 18.0);
    QVERIFY(!font.bold());
    QVERIFY(!font.italic());
    QVERIFY(font.styleStrategy() & QFont::NoFontMerging);
}

void tst_SamplePreview::sampleFollowsCurrentEntry_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QList<int>>("modifiers");
    QTest::addColumn<int>("keyAfter"); // a key pressed in List1 afterwards, or 0
    QTest::addColumn<QString>("shown");

    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("plain click") << QStringList{"Times"} << QList<int>{none} << 0 << "Times";
    // Ctrl-clicking the entry again takes it out of the selection; it is
    // still the entry last clicked.
    QTest::newRow("ctrl-click that deselects")
        << QStringList{"Arial", "Times", "Times"} << QList<int>{none, ctrl, ctrl} << 0 << "Times";
    QTest::newRow("arrow key moves on") << QStringList{"Arial"} << QList<int>{none}
                                        << int(Qt::Key_Down) << PrinterOnlyFont;
    QTest::newRow("arrow keys move back")
        << QStringList{"Times"} << QList<int>{none} << int(Qt::Key_Up) << "Courier";
}

void tst_SamplePreview::sampleFollowsCurrentEntry()
{
    QFETCH(QStringList, clicks);
    QFETCH(QList<int>, modifiers);
    QFETCH(int, keyAfter);
    QFETCH(QString, shown);

    load();
    for (int i = 0; i < clicks.size(); ++i)
        clickFont(clicks[i], Qt::KeyboardModifiers(modifiers[i]));
    if (keyAfter)
        QTest::keyClick(m_pressel->list1(), Qt::Key(keyAfter));
    QCOMPARE(label2()->text(), shown);
    if (shown != PrinterOnlyFont)
        QCOMPARE(label2()->font().family(), shown);
}

void tst_SamplePreview::optionClick_data()
{
    QTest::addColumn<QString>("current"); // the font clicked first, or "" for none
    QTest::addColumn<QString>("text1");
    QTest::addColumn<bool>("userText");   // Option2 clicked, or Option1
    QTest::addColumn<QString>("caption");

    // Option1 is chosen at start: a click on it applies it all the same.
    QTest::newRow("Option1, no current entry: empty") << "" << "abc" << false << "";
    QTest::newRow("Option1: the font name") << "Courier" << "abc" << false << "Courier";
    QTest::newRow("Option2, no current entry") << "" << "abc" << true << "abc";
    QTest::newRow("Option2, empty box, no current entry: empty") << "" << "" << true << "";
    QTest::newRow("Option2, empty box: the font name") << "Courier" << "" << true << "Courier";
    QTest::newRow("Option2") << "Courier" << "abc" << true << "abc";
}

void tst_SamplePreview::optionClick()
{
    QFETCH(QString, current);
    QFETCH(QString, text1);
    QFETCH(bool, userText);
    QFETCH(QString, caption);

    // Text1 changed by code shows its text whatever the option: the option
    // click then decides.
    m_runtime.settings.insert(SettingPath, QStringLiteral("stored"));
    load();
    if (!current.isEmpty())
        clickFont(current);
    m_pressel->text1()->setText(text1);
    const QFont before = label2()->font();

    clickOption(userText ? m_pressel->option2() : m_pressel->option1());
    QCOMPARE(m_pressel->option2()->isChecked(), userText);
    QCOMPARE(label2()->text(), caption);
    QCOMPARE(m_pressel->text1()->isEnabled(), userText);
    QCOMPARE(m_pressel->text1()->text(), text1);
    // Neither the face nor the focus moves.
    QCOMPARE(label2()->font(), before);
    QVERIFY(!m_pressel->text1()->hasFocus());

    // And back.
    clickOption(userText ? m_pressel->option1() : m_pressel->option2());
    QCOMPARE(m_pressel->text1()->isEnabled(), !userText);
}

void tst_SamplePreview::arrowKeysApplyTheOption()
{
    load();
    clickFont(QStringLiteral("Times"));
    m_pressel->text1()->setText(QStringLiteral("abc"));
    m_pressel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_pressel.get()));
    m_pressel->option1()->setFocus(Qt::TabFocusReason);

    QTest::keyClick(m_pressel->option1(), Qt::Key_Down);
    QVERIFY(m_pressel->option2()->isChecked());
    QVERIFY(m_pressel->text1()->isEnabled());
    QCOMPARE(label2()->text(), QStringLiteral("abc"));

    QTest::keyClick(m_pressel->option2(), Qt::Key_Up);
    QVERIFY(m_pressel->option1()->isChecked());
    QVERIFY(!m_pressel->text1()->isEnabled());
    QCOMPARE(label2()->text(), QStringLiteral("Times"));
}

void tst_SamplePreview::typingWithOption2_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("captions"); // after "a", "b", Backspace, Backspace

    QTest::newRow("with a current entry") << "Courier" << QStringList{"a", "ab", "a", "Courier"};
    QTest::newRow("without") << "" << QStringList{"a", "ab", "a", ""};
}

void tst_SamplePreview::typingWithOption2()
{
    QFETCH(QString, current);
    QFETCH(QStringList, captions);

    load();
    if (!current.isEmpty())
        clickFont(current);
    clickOption(m_pressel->option2());
    QLineEdit *text1 = m_pressel->text1();
    QTest::mouseClick(text1, Qt::LeftButton);

    QStringList seen;
    QTest::keyClick(text1, Qt::Key_A);
    seen.append(label2()->text());
    QTest::keyClick(text1, Qt::Key_B);
    seen.append(label2()->text());
    QTest::keyClick(text1, Qt::Key_Backspace);
    seen.append(label2()->text());
    QTest::keyClick(text1, Qt::Key_Backspace);
    seen.append(label2()->text());
    QCOMPARE(seen, captions);
}

void tst_SamplePreview::storedTextUntilFirstClick()
{
    m_runtime.settings.insert(SettingPath, QStringLiteral("abc"));
    load();
    QVERIFY(m_pressel->option1()->isChecked());
    QCOMPARE(label2()->text(), QStringLiteral("abc"));

    clickFont(QStringLiteral("Arial"));
    QCOMPARE(label2()->text(), QStringLiteral("Arial"));
    QCOMPARE(m_pressel->text1()->text(), QStringLiteral("abc"));
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
        m_pressel->list3()->setSelected(Points16, true);
        clickFont(goodFirst);
        m_pressel->list3()->setSelected(Points18, true);
        m_pressel->list3()->setSelected(Points16, true);
    }
    if (userText) {
        clickOption(m_pressel->option2());
        m_pressel->text1()->setText(QStringLiteral("abc"));
    }

    // Qt keeps its substitutes in lower case; family names match in any case.
    fallbackFamily = fallbackFamily.toCaseFolded();
    clickFont(PrinterOnly);
    QCOMPARE(label2()->text(), PrinterOnlyFont);
    QCOMPARE(faceOf(label2()).family.toCaseFolded(), fallbackFamily);
    QCOMPARE(faceOf(label2()).points, points);
    QCOMPARE(faceOf(label2()).bold, bold);
    QVERIFY(label2()->font().styleStrategy() & QFont::NoFontMerging);

    // A size change resizes the fallback text and keeps it.
    m_pressel->list3()->setSelected(Points18, true);
    QCOMPARE(label2()->text(), PrinterOnlyFont);
    QCOMPARE(faceOf(label2()).family.toCaseFolded(), fallbackFamily);
    QCOMPARE(faceOf(label2()).points, 18.0);
    QCOMPARE(faceOf(label2()).bold, bold);

    // The next good click shows that font plainly again.
    clickFont(QStringLiteral("Times"));
    QCOMPARE(label2()->text(), userText ? QStringLiteral("abc") : QStringLiteral("Times"));
    QCOMPARE(faceOf(label2()).family, QStringLiteral("Times"));
    QCOMPARE(faceOf(label2()).points, 18.0);
    QVERIFY(!faceOf(label2()).bold);
    QVERIFY(!label2()->font().italic());
}

void tst_SamplePreview::text1TakesAnyText_data()
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

void tst_SamplePreview::text1TakesAnyText()
{
    QFETCH(QString, pasted);
    QFETCH(QString, kept);

    load();
    clickFont(QStringLiteral("Courier"));
    clickOption(m_pressel->option2());
    const QRect place = label2()->geometry();
    QApplication::clipboard()->setText(pasted);
    QLineEdit *text1 = m_pressel->text1();
    QTest::mouseClick(text1, Qt::LeftButton);
    QTest::keyClick(text1, Qt::Key_V, Qt::ControlModifier);

    QCOMPARE(text1->text(), kept);
    QCOMPARE(label2()->text(), kept);
    QCOMPARE(label2()->geometry(), place);
    // What is drawn of a long caption is a line's worth.
    QVERIFY(LongCaptionPainter::visiblePart(*label2(), label2()->text()).size() < 2000);
    QVERIFY(QTest::qWaitForWindowExposed(m_pressel.get()));
    QCOMPARE(label2()->geometry(), place);
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
    QFont font = label2()->font();
    font.setFamilies({family});
    font.setBold(false);
    label2()->setFont(font);
    label2()->setText(caption);
    QVERIFY(caption.size() > LongCaptionPainter::ShortCaption);

    // A plain label of the same place, font and colours draws it whole.
    QLabel whole;
    whole.setTextFormat(Qt::PlainText);
    whole.setAlignment(label2()->alignment());
    whole.setFont(label2()->font());
    whole.setPalette(label2()->palette());
    whole.setAutoFillBackground(true);
    whole.resize(label2()->size());
    whole.setText(caption);

    const QImage drawn = label2()->grab().toImage();
    QCOMPARE(drawn, whole.grab().toImage());
    QVERIFY(LongCaptionPainter::visiblePart(*label2(), caption).size() < caption.size());
}

QTEST_MAIN(tst_SamplePreview)
#include "tst_sample_preview.moc"
