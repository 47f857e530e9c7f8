// Select All and Deselect All, the hidden sample line that they run behind,
// List1's selection against Qt's own selection rules, and the two ways the
// program ends: Exit, which stores the user's text, and any other close.

#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "main_window/list_box.h"
#include "main_window/pressel.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>

#include <memory>

namespace {

const QString SettingPath = FakeRuntime::settingPath("Glyphora", "User Text", "Text");
const QStringList Fonts = {"Arial", "Courier", "Helvetica", "Symbol", "Times"};

QList<int> selectedRows(const ListBox *list)
{
    QList<int> rows;
    for (int row = 0; row < list->count(); ++row) {
        if (list->isSelected(row))
            rows.append(row);
    }
    return rows;
}

// Runs a handler as the button's click would, but through the meta-object
// system: the event pump throws ProgramEnded out of it when the program
// ends, and that must not unwind through the toolkit's event delivery.
void runHandler(Pressel *pressel, const char *slot)
{
    QVERIFY(QMetaObject::invokeMethod(pressel, slot, Qt::DirectConnection));
}

} // namespace

class tst_SelectionCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void selectAllAndDeselectAll_data();
    void selectAllAndDeselectAll();
    void clicksWhileHiddenChangeNothing();
    void userClicksDuringTheLoop_data();
    void userClicksDuringTheLoop();
    void nestedSelectAll_data();
    void nestedSelectAll();
    void selectionFollowsQtRules_data();
    void selectionFollowsQtRules();

    void exitStoresTheText_data();
    void exitStoresTheText();
    void closeStoresNothing_data();
    void closeStoresNothing();
    void endDuringTheLoop_data();
    void endDuringTheLoop();

private:
    void load(const QStringList &fonts = Fonts);
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {});

    QStringList m_journal;
    FakePrinter m_printer;
    FakeScreen m_screen;
    FakeRuntime m_runtime;
    std::unique_ptr<Pressel> m_pressel;
};

void tst_SelectionCommands::init()
{
    m_journal.clear();
    m_printer = FakePrinter();
    m_screen = FakeScreen();
    m_runtime = FakeRuntime();
    m_runtime.journal = &m_journal;
    m_pressel = std::make_unique<Pressel>(m_printer, m_screen, m_runtime);
}

void tst_SelectionCommands::cleanup()
{
    m_pressel.reset();
}

void tst_SelectionCommands::load(const QStringList &fonts)
{
    m_printer.fontList = fonts;
    m_pressel->load();
    QVERIFY(QTest::qWaitForWindowExposed(m_pressel.get()));
    m_runtime.pumps = 0;
    m_journal.clear();
}

void tst_SelectionCommands::clickRow(int row, Qt::KeyboardModifiers modifiers)
{
    ListBox *list1 = m_pressel->list1();
    const QRect rect = list1->visualRect(list1->model()->index(row, 0));
    QTest::mouseClick(list1->viewport(), Qt::LeftButton, modifiers, rect.center());
}

void tst_SelectionCommands::selectAllAndDeselectAll_data()
{
    QTest::addColumn<QStringList>("fonts");
    QTest::addColumn<QList<int>>("selectedBefore");
    QTest::addColumn<bool>("selectAll");

    const QList<int> none;
    const QList<int> some{1, 3};
    const QList<int> all{0, 1, 2, 3, 4};
    QTest::newRow("empty list, Select All") << QStringList() << none << true;
    QTest::newRow("empty list, Deselect All") << QStringList() << none << false;
    QTest::newRow("Select All from none") << Fonts << none << true;
    QTest::newRow("Select All from some") << Fonts << some << true;
    QTest::newRow("Select All from all") << Fonts << all << true;
    QTest::newRow("Deselect All from none") << Fonts << none << false;
    QTest::newRow("Deselect All from some") << Fonts << some << false;
    QTest::newRow("Deselect All from all") << Fonts << all << false;
}

void tst_SelectionCommands::selectAllAndDeselectAll()
{
    QFETCH(QStringList, fonts);
    QFETCH(QList<int>, selectedBefore);
    QFETCH(bool, selectAll);

    load(fonts);
    ListBox *list1 = m_pressel->list1();
    QLabel *label2 = m_pressel->label2();
    if (!fonts.isEmpty()) {
        // The sample shows Helvetica, which is not selected.
        clickRow(2);
        clickRow(2, Qt::ControlModifier);
    }
    for (int row : selectedBefore)
        list1->setSelected(row, true);
    const QString caption = label2->text();
    const QFont face = label2->font();

    // Before every write, one pump, behind the hidden sample line; then
    // one click notification per write.
    QSignalSpy clicks(list1, &ListBox::listClicked);
    QList<int> selectedAtPump;
    m_runtime.onPump = [&](int) {
        QVERIFY(label2->isHidden());
        selectedAtPump.append(list1->selectedCount());
    };
    (selectAll ? m_pressel->command3() : m_pressel->command4())->click();

    QCOMPARE(m_runtime.pumps, fonts.size());
    QCOMPARE(clicks.count(), fonts.size());
    QVERIFY(!label2->isHidden());
    QList<int> expected;
    if (selectAll) {
        for (int row = 0; row < fonts.size(); ++row)
            expected.append(row);
    }
    QCOMPARE(selectedRows(list1), expected);
    QCOMPARE(list1->selectedCount(), expected.size());
    // The sample line shows what it showed before.
    QCOMPARE(label2->text(), caption);
    QCOMPARE(label2->font(), face);
    // Entry i is written after the pump i + 1: Select All from none has
    // 0, 1, 2, ... selected at its pumps.
    if (selectAll && selectedBefore.isEmpty() && !fonts.isEmpty())
        QCOMPARE(selectedAtPump, (QList<int>{0, 1, 2, 3, 4}));
    // The view's own selection model says the same, for its painting and
    // for accessibility.
    for (int row = 0; row < fonts.size(); ++row)
        QCOMPARE(list1->selectionModel()->isSelected(list1->model()->index(row, 0)),
                 expected.contains(row));
}

void tst_SelectionCommands::clicksWhileHiddenChangeNothing()
{
    load();
    clickRow(0);
    QLabel *label2 = m_pressel->label2();
    const QString caption = label2->text();
    const QFont face = label2->font();

    label2->hide();
    clickRow(4);
    clickRow(1, Qt::ControlModifier);
    QCOMPARE(m_pressel->list1()->currentText(), QStringLiteral("Courier"));
    QCOMPARE(selectedRows(m_pressel->list1()), (QList<int>{1, 4}));
    QCOMPARE(label2->text(), caption);
    QCOMPARE(label2->font(), face);
}

void tst_SelectionCommands::userClicksDuringTheLoop_data()
{
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<int>("clickedRow");
    QTest::addColumn<QList<int>>("selected");

    // At the third pump entries 0 and 1 are written. A Ctrl-click behind
    // the loop stays; one ahead of it is overwritten.
    QTest::newRow("Select All, Ctrl-click behind")
        << true << 0 << QList<int>{1, 2, 3, 4};
    QTest::newRow("Select All, Ctrl-click ahead") << true << 3 << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("Deselect All, Ctrl-click behind") << false << 1 << QList<int>{1};
    QTest::newRow("Deselect All, Ctrl-click ahead") << false << 4 << QList<int>();
}

void tst_SelectionCommands::userClicksDuringTheLoop()
{
    QFETCH(bool, selectAll);
    QFETCH(int, clickedRow);
    QFETCH(QList<int>, selected);

    load();
    clickRow(2);
    QLabel *label2 = m_pressel->label2();
    const QString caption = label2->text();
    m_runtime.onPump = [&](int pump) {
        if (pump == 3)
            clickRow(clickedRow, Qt::ControlModifier);
    };
    (selectAll ? m_pressel->command3() : m_pressel->command4())->click();

    QCOMPARE(selectedRows(m_pressel->list1()), selected);
    // The click moved the current entry, but the sample line did not follow.
    QCOMPARE(m_pressel->list1()->currentText(), Fonts.at(clickedRow));
    QCOMPARE(label2->text(), caption);
}

void tst_SelectionCommands::nestedSelectAll_data()
{
    QTest::addColumn<bool>("nested");
    QTest::addColumn<int>("pumps");
    QTest::addColumn<QString>("caption");

    // A stale caption marks whether a font click ran after the inner
    // command: the outer loop goes on with the sample line shown, so its
    // writes show the current entry's font again.
    QTest::newRow("alone") << false << 5 << "stale";
    QTest::newRow("Select All clicked during Select All") << true << 10 << "Courier";
}

void tst_SelectionCommands::nestedSelectAll()
{
    QFETCH(bool, nested);
    QFETCH(int, pumps);
    QFETCH(QString, caption);

    load();
    clickRow(1);
    QLabel *label2 = m_pressel->label2();
    label2->setText(QStringLiteral("stale"));
    QList<bool> hiddenAtPump;
    m_runtime.onPump = [&](int pump) {
        hiddenAtPump.append(label2->isHidden());
        if (nested && pump == 2)
            m_pressel->command3()->click();
    };
    m_pressel->command3()->click();

    QCOMPARE(m_runtime.pumps, pumps);
    QCOMPARE(selectedRows(m_pressel->list1()), (QList<int>{0, 1, 2, 3, 4}));
    QVERIFY(!label2->isHidden());
    QCOMPARE(label2->text(), caption);
    if (nested) {
        // Outer pumps 1 and 2, the inner five, then the outer loop's last
        // three with the line shown.
        QCOMPARE(hiddenAtPump,
                 (QList<bool>{true, true, true, true, true, true, true, false, false, false}));
    }
}

void tst_SelectionCommands::selectionFollowsQtRules_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("scatteredRows"); // rows selected by code before the user acts

    QTest::newRow("few runs") << 1u << 10;
    QTest::newRow("few runs, another order") << 2u << 30;
    // More runs than the selection model follows write by write.
    QTest::newRow("many runs") << 3u << 300;
    QTest::newRow("many runs, another order") << 4u << 400;
}

void tst_SelectionCommands::selectionFollowsQtRules()
{
    QFETCH(quint32, seed);
    QFETCH(int, scatteredRows);

    // List1 beside a plain list view with Qt's own selection model, the
    // same entries, size and font: the user's clicks and keys go to both,
    // List1's code writes go to the plain one as selects of one row each,
    // filed as made. Both must agree at every step, in List1's answers and
    // in its view's selection model.
    QStringList fonts;
    for (int i = 0; i < 1000; ++i)
        fonts.append(QStringLiteral("Face %1").arg(i, 4, 10, QLatin1Char('0')));
    load(fonts);
    ListBox *list1 = m_pressel->list1();
    QStringListModel plainModel(fonts);
    QListView plain;
    plain.setModel(&plainModel);
    plain.setSelectionMode(QAbstractItemView::ExtendedSelection);
    plain.setUniformItemSizes(true);
    plain.setFont(list1->font());
    plain.setFixedSize(list1->size());
    plain.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    QItemSelectionModel *rules = plain.selectionModel();

    QRandomGenerator random(seed);
    const auto codeWrite = [&](int row, bool selected) {
        list1->setSelected(row, selected);
        rules->select(plainModel.index(row), selected ? QItemSelectionModel::Select
                                                      : QItemSelectionModel::Deselect);
        rules->select(QItemSelection(), QItemSelectionModel::Select);
    };
    const auto compare = [&](const QString &step) {
        for (int row = 0; row < fonts.size(); ++row) {
            const bool expected = rules->isSelected(plainModel.index(row));
            QVERIFY2(list1->isSelected(row) == expected,
                     qPrintable(QStringLiteral("%1: row %2").arg(step).arg(row)));
        }
        // The view's model catches up before it paints.
        list1->viewport()->repaint();
        for (int row = 0; row < fonts.size(); ++row) {
            QVERIFY2(list1->selectionModel()->isSelected(list1->model()->index(row, 0))
                         == list1->isSelected(row),
                     qPrintable(QStringLiteral("%1: the view, row %2").arg(step).arg(row)));
        }
        QCOMPARE(list1->selectedCount(), int(rules->selectedIndexes().size()));
    };

    for (int i = 0; i < scatteredRows; ++i)
        codeWrite(random.bounded(int(fonts.size())), true);
    compare(QStringLiteral("scattered"));
    if (QTest::currentTestFailed())
        return;

    const Qt::KeyboardModifiers modifierChoices[] = {Qt::NoModifier, Qt::ControlModifier,
                                                     Qt::ShiftModifier};
    const Qt::Key keyChoices[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Space, Qt::Key_PageDown};
    for (int step = 0; step < 60; ++step) {
        const int action = random.bounded(3);
        QString what;
        if (action == 0) {
            const int row = random.bounded(int(fonts.size()));
            const bool selected = random.bounded(2);
            codeWrite(row, selected);
            what = QStringLiteral("write row %1 %2").arg(row).arg(selected);
        } else if (action == 1) {
            // A visible row of both lists, which scroll alike.
            const int row = list1->indexAt(QPoint(5, 5)).row() + random.bounded(8);
            const Qt::KeyboardModifiers modifiers = modifierChoices[random.bounded(3)];
            const QPoint at = list1->visualRect(list1->model()->index(row, 0)).center();
            QTest::mouseClick(list1->viewport(), Qt::LeftButton, modifiers, at);
            QTest::mouseClick(plain.viewport(), Qt::LeftButton, modifiers, at);
            what = QStringLiteral("click row %1 with %2").arg(row).arg(int(modifiers));
        } else {
            const Qt::Key key = keyChoices[random.bounded(4)];
            const Qt::KeyboardModifiers modifiers = modifierChoices[random.bounded(3)];
            QTest::keyClick(list1, key, modifiers);
            QTest::keyClick(&plain, key, modifiers);
            what = QStringLiteral("key %1 with %2").arg(int(key)).arg(int(modifiers));
        }
        compare(QStringLiteral("step %1, %2").arg(step).arg(what));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(list1->currentIndex().row(), plain.currentIndex().row());
    }
}

void tst_SelectionCommands::exitStoresTheText_data()
{
    QTest::addColumn<QString>("stored"); // before the run, or "" for no entry
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("storedAfter");

    QTest::newRow("abc") << "" << "abc" << "abc";
    QTest::newRow("replaces the old text") << "old" << "abc" << "abc";
    QTest::newRow("empty box keeps the old text") << "old" << "" << "old";
    QTest::newRow("empty box, nothing stored") << "" << "" << "";
    QTest::newRow("tabs, emoji, right to left")
        << "" << "a\tb 😀 שלום" << "a\tb 😀 שלום";
}

void tst_SelectionCommands::exitStoresTheText()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(QString, storedAfter);

    if (!stored.isEmpty())
        m_runtime.settings.insert(SettingPath, stored);
    load();
    m_pressel->option2()->click();
    m_pressel->text1()->setText(typed);
    m_pressel->command1()->click();

    // The text is stored before the program ends, and only then.
    QStringList expected;
    if (!typed.isEmpty())
        expected.append(QStringLiteral("SaveSetting:") + typed);
    expected.append(QStringLiteral("EndProgram"));
    QCOMPARE(m_journal, expected);
    QCOMPARE(m_runtime.settings.value(SettingPath), storedAfter);

    // The next start shows it.
    FakeRuntime next;
    next.settings = m_runtime.settings;
    Pressel again(m_printer, m_screen, next);
    again.load();
    QCOMPARE(again.text1()->text(), storedAfter);
}

void tst_SelectionCommands::closeStoresNothing_data()
{
    QTest::addColumn<bool>("fromWindowSystem");

    QTest::newRow("close box") << true;
    QTest::newRow("closed by code") << false;
}

void tst_SelectionCommands::closeStoresNothing()
{
    QFETCH(bool, fromWindowSystem);

    m_runtime.settings.insert(SettingPath, QStringLiteral("old"));
    load();
    m_pressel->option2()->click();
    m_pressel->text1()->setText(QStringLiteral("edited"));

    if (fromWindowSystem) {
        QCloseEvent close;
        QCoreApplication::sendEvent(m_pressel->windowHandle(), &close);
        QVERIFY(!close.isAccepted());
    } else {
        QVERIFY(!m_pressel->close());
    }
    QCOMPARE(m_journal, QStringList{"EndProgram"});
    QCOMPARE(m_runtime.settings.value(SettingPath), QStringLiteral("old"));
}

void tst_SelectionCommands::endDuringTheLoop_data()
{
    QTest::addColumn<bool>("byExit");

    QTest::newRow("close box") << false;
    QTest::newRow("Exit") << true;
}

void tst_SelectionCommands::endDuringTheLoop()
{
    QFETCH(bool, byExit);

    load();
    m_pressel->text1()->setText(QStringLiteral("abc"));
    m_journal.clear();
    m_runtime.onPump = [&](int pump) {
        if (pump == 3) {
            if (byExit)
                m_pressel->command1()->click();
            else
                m_pressel->close();
        }
    };
    // The program ends inside the third pump: nothing of the loop runs on.
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, runHandler(m_pressel.get(), "onCommand3Clicked"));
    QCOMPARE(m_runtime.endProgramCalls, 1);
    QCOMPARE(m_runtime.pumps, 3);
    QCOMPARE(selectedRows(m_pressel->list1()), (QList<int>{0, 1}));
    QVERIFY(m_pressel->label2()->isHidden());
    QCOMPARE(m_runtime.settingWrites, byExit ? 1 : 0);
}

QTEST_MAIN(tst_SelectionCommands)
#include "tst_selection_commands.moc"
