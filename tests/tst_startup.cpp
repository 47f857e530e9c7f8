// The start-up routine against fake host services: what the progress window
// shows at every step, the order of pumps, repaints and pointer changes, the
// catalogue it builds, the defaults and the restored sample text. Also the
// two handlers that it sets off: List3's click and Text1's change.

#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "main_window/list_box.h"
#include "main_window/pressel.h"
#include "paint_journal.h"
#include "progress_window/ez_fon_cnt.h"

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
// whose pixels have not changed (the panel, the Stop button); what counts is
// that the window and both labels with their texts were painted.
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
        if (line == QLatin1String("Paint:Picture1") || line == QLatin1String("Paint:Command1"))
            continue;
        if (line.startsWith(QLatin1String("Paint:"))) {
            paints.append(line);
        } else {
            flush();
            result.append(line);
        }
    }
    flush();
    return result;
}

// One pass of the reading loop: the pump, then the whole window painted
// with the count line and the name. The window reaches the screen during
// the first pump and first paints itself there with the texts it has then.
QStringList onePass(int index, const QString &countLine, const QString &name)
{
    QStringList paints{"Paint:EzFonCnt", "Paint:Label1:" + countLine, "Paint:Label2:" + name};
    if (index == 0)
        paints += {"Paint:EzFonCnt", "Paint:Label1:Please Wait", "Paint:Label2:Font Name"};
    paints.sort();
    return {QStringLiteral("Pump"), paints.join(QLatin1String(" + "))};
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
    void list3Click_data();
    void list3Click();
    void text1Change_data();
    void text1Change();

private:
    void load();

    QStringList m_journal;
    FakePrinter m_printer;
    FakeScreen m_screen;
    FakeRuntime m_runtime;
    std::unique_ptr<Pressel> m_pressel;
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
    m_pressel = std::make_unique<Pressel>(m_printer, m_screen, m_runtime);

    m_paints = std::make_unique<PaintJournal>(m_journal);
    EzFonCnt &progress = m_pressel->ezFonCnt();
    for (QWidget *widget : std::initializer_list<QWidget *>{
             &progress, progress.picture1(), progress.label1(), progress.label2(),
             progress.label3(), progress.command1()})
        m_paints->watch(widget);
}

void tst_StartUp::cleanup()
{
    m_pressel.reset();
    m_paints.reset();
}

void tst_StartUp::load()
{
    m_pressel->load();
    QVERIFY(m_pressel->isVisible());
    QVERIFY(!m_pressel->ezFonCnt().isVisible());
}

void tst_StartUp::sequence_data()
{
    QTest::addColumn<QStringList>("fonts");
    QTest::addColumn<QStringList>("loop");

    QTest::newRow("no fonts: no pass") << QStringList() << QStringList();
    QTest::newRow("one font") << QStringList{"Arial"} << onePass(0, "0 / 0", "Arial");
    QTest::newRow("three fonts, printer's order")
        << QStringList{"Times", "Courier", "Arial"}
        << onePass(0, "0 / 2", "Times") + onePass(1, "1 / 2", "Courier")
               + onePass(2, "2 / 2", "Arial");
}

void tst_StartUp::sequence()
{
    QFETCH(QStringList, fonts);
    QFETCH(QStringList, loop);

    m_printer.fontList = fonts;
    load();

    // The busy pointer, one pass per font, and the default pointer once the
    // window is closed.
    const QStringList expected =
        QStringList{"MousePointer=11"} + loop + QStringList{"MousePointer=0"};
    QCOMPARE(steps(m_journal), expected);
    QCOMPARE(m_printer.fontCountReads, 1 + fonts.size());
    QCOMPARE(m_printer.fontNameReads, 2 * fonts.size());
    QCOMPARE(m_pressel->ezFonCnt().label1()->text(), QStringLiteral("Please Wait"));
    QCOMPARE(m_pressel->ezFonCnt().caption(), QStringLiteral("Reading Fonts"));
}

void tst_StartUp::countIsAskedAgainForEveryLine()
{
    // The loop bound is read once; the count line asks the printer afresh.
    // A printer whose list grows meanwhile shows that, and the loop still
    // stops at the count it started with.
    m_printer.fontList = {"Arial", "Courier"};
    m_runtime.onPump = [this](int) { m_printer.fontList.append(QStringLiteral("Late")); };
    load();

    const QStringList paintedCounts = m_journal.filter(QStringLiteral("Paint:Label1:"));
    QCOMPARE(paintedCounts, (QStringList{"Paint:Label1:Please Wait", "Paint:Label1:0 / 2",
                                         "Paint:Label1:1 / 3"}));
    QCOMPARE(m_runtime.pumps, 2);
    QCOMPARE(entries(m_pressel->list1()), (QStringList{"Arial", "Courier"}));
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

    QCOMPARE(entries(m_pressel->list1()), listed);
    // Every name appeared on the progress window exactly as reported.
    QStringList shownNames;
    for (const QString &line : std::as_const(m_journal)) {
        if (line.startsWith(QLatin1String("Paint:Label2:")) && line != "Paint:Label2:Font Name")
            shownNames.append(line.mid(int(qstrlen("Paint:Label2:"))));
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
    ListBox *list1 = m_pressel->list1();
    QStringList announced;
    connect(list1->model(), &QAbstractItemModel::rowsInserted, this,
            [&](const QModelIndex &, int first, int) { announced.append(list1->text(first)); });
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
    QCOMPARE(entries(list1), expected);
    for (int row = 0; row < list1->count(); row += 97)
        QCOMPARE(list1->model()->index(row, 0).data().toString(), expected.at(row));
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

    ListBox *list2 = m_pressel->list2();
    ListBox *list3 = m_pressel->list3();
    QCOMPARE(entries(list2), (QStringList{"10", "12", "14", "16", "18", "20"}));
    QCOMPARE(entries(list3), (QStringList{"16", "18", "20", "22", "24"}));
    QCOMPARE(list2->currentText(), QStringLiteral("12"));
    QVERIFY(list2->isSelected(1));
    QCOMPARE(list2->selectedCount(), 1);
    QCOMPARE(list3->currentText(), QStringLiteral("24"));
    QVERIFY(list3->isSelected(4));
    QCOMPARE(list3->selectedCount(), 1);

    // The catalogue starts with no current entry and nothing selected, and
    // the window works: a click picks an entry.
    ListBox *list1 = m_pressel->list1();
    QCOMPARE(list1->count(), fonts.size());
    QCOMPARE(list1->selectedCount(), 0);
    QCOMPARE(list1->currentText(), QString());
    QVERIFY(QTest::qWaitForWindowExposed(m_pressel.get()));
    if (!fonts.isEmpty()) {
        const QRect first = list1->visualRect(list1->model()->index(0, 0));
        QTest::mouseClick(list1->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(list1->currentText(), QStringLiteral("Arial"));
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

    QCOMPARE(m_pressel->text1()->text(), text);
    QVERIFY(!m_pressel->text1()->isEnabled());
    QVERIFY(m_pressel->option1()->isChecked());
    QVERIFY(!m_pressel->option2()->isChecked());
    QCOMPARE(m_pressel->label2()->text(), sample);
    // The sample keeps its design face at the default display size.
    QCOMPARE(m_pressel->label2()->font().pointSizeF(), 24.0);
    QCOMPARE(m_pressel->label2()->font().family(), QStringLiteral("Times New Roman"));
    QCOMPARE(m_runtime.settingWrites, 0);
}

void tst_StartUp::list3Click_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<double>("points");

    QTest::newRow("16") << 0 << 16.0;
    QTest::newRow("22") << 3 << 22.0;
}

void tst_StartUp::list3Click()
{
    QFETCH(int, row);
    QFETCH(double, points);

    m_printer.fontList = {"Courier"};
    load();
    QLabel *sample = m_pressel->label2();
    QFont font = sample->font();
    font.setFamily(QStringLiteral("Courier"));
    font.setBold(false);
    font.setItalic(true);
    sample->setFont(font);
    sample->setText(QStringLiteral("Courier"));

    // By code, as Select All would, and by the user's click.
    m_pressel->list3()->setSelected(row, true);
    QCOMPARE(sample->font().pointSizeF(), points);
    m_pressel->list3()->setSelected(4, true);
    QCOMPARE(sample->font().pointSizeF(), 24.0);
    QVERIFY(QTest::qWaitForWindowExposed(m_pressel.get()));
    ListBox *list3 = m_pressel->list3();
    QTest::mouseClick(list3->viewport(), Qt::LeftButton, {},
                      list3->visualRect(list3->model()->index(row, 0)).center());
    QCOMPARE(sample->font().pointSizeF(), points);

    // Only the size changes.
    QCOMPARE(sample->text(), QStringLiteral("Courier"));
    QCOMPARE(sample->font().family(), QStringLiteral("Courier"));
    QVERIFY(!sample->font().bold());
    QVERIFY(sample->font().italic());
}

void tst_StartUp::text1Change_data()
{
    QTest::addColumn<int>("currentFont"); // a List1 row, or -1 for none
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sample");

    QTest::newRow("text") << 0 << "Hello" << "Hello";
    QTest::newRow("emptied, current font") << 1 << "" << "Courier";
    QTest::newRow("emptied, no current font") << -1 << "" << "";
}

void tst_StartUp::text1Change()
{
    QFETCH(int, currentFont);
    QFETCH(QString, typed);
    QFETCH(QString, sample);

    m_runtime.settings.insert(SettingPath, QStringLiteral("abc"));
    m_printer.fontList = {"Courier", "Arial"};
    load();
    ListBox *list1 = m_pressel->list1();
    if (currentFont >= 0)
        list1->setCurrentIndex(list1->model()->index(currentFont, 0));

    // The options are not consulted: Option1 is chosen and Text1 disabled.
    m_pressel->text1()->setText(typed);
    QCOMPARE(m_pressel->label2()->text(), sample);
    QVERIFY(m_pressel->option1()->isChecked());
}

QTEST_MAIN(tst_StartUp)
#include "tst_startup.moc"
