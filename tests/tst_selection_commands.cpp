// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Select All and Deselect All, the hidden sample line that they run behind,
// fontList's selection against Qt's own selection rules, and the two ways the
// program ends: Exit, which stores the user's text, and any other close.

#include "find_control.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "ui/list_box.h"
#include "main_window/main_window.h"

#include <QApplication>
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
void runHandler(MainWindow *mainWindow, const char *slot)
{
    QVERIFY(QMetaObject::invokeMethod(mainWindow, slot, Qt::DirectConnection));
}

} // namespace

class tst_SelectionCommands : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

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
    void oneClickPerInput_data();
    void oneClickPerInput();

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
    std::unique_ptr<MainWindow> m_mainWindow;
};

void tst_SelectionCommands::init()
{
    m_journal.clear();
    m_printer = FakePrinter();
    m_screen = FakeScreen();
    m_runtime = FakeRuntime();
    m_runtime.journal = &m_journal;
    m_mainWindow = std::make_unique<MainWindow>(m_fonts, m_printer, m_screen, m_runtime);
}

void tst_SelectionCommands::cleanup()
{
    m_mainWindow.reset();
    // Every window a test made is gone again.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_SelectionCommands::load(const QStringList &fonts)
{
    m_printer.fontList = fonts;
    m_mainWindow->load();
    QVERIFY(QTest::qWaitForWindowExposed(m_mainWindow.get()));
    m_runtime.pumps = 0;
    m_journal.clear();
}

void tst_SelectionCommands::clickRow(int row, Qt::KeyboardModifiers modifiers)
{
    ListBox *fontList = control<ListBox>(*m_mainWindow, "fontList");
    const QRect rect = fontList->visualRect(fontList->model()->index(row, 0));
    QTest::mouseClick(fontList->viewport(), Qt::LeftButton, modifiers, rect.center());
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
    ListBox *fontList = control<ListBox>(*m_mainWindow, "fontList");
    QLabel *sampleLine = control<QLabel>(*m_mainWindow, "sampleLine");
    if (!fonts.isEmpty()) {
        // The sample shows Helvetica, which is not selected.
        clickRow(2);
        clickRow(2, Qt::ControlModifier);
    }
    for (int row : selectedBefore)
        fontList->setSelected(row, true);
    const QString caption = sampleLine->text();
    const QFont face = sampleLine->font();

    // Before every write, one pump, behind the hidden sample line; then
    // one click notification per write.
    QSignalSpy clicks(fontList, &ListBox::listClicked);
    QList<int> selectedAtPump;
    m_runtime.onPump = [&](int) {
        QVERIFY(sampleLine->isHidden());
        selectedAtPump.append(fontList->selectedCount());
    };
    (selectAll ? control<QPushButton>(*m_mainWindow, "selectAllButton") : control<QPushButton>(*m_mainWindow, "deselectAllButton"))->click();

    QCOMPARE(m_runtime.pumps, fonts.size());
    QCOMPARE(clicks.count(), fonts.size());
    QVERIFY(!sampleLine->isHidden());
    QList<int> expected;
    if (selectAll) {
        for (int row = 0; row < fonts.size(); ++row)
            expected.append(row);
    }
    QCOMPARE(selectedRows(fontList), expected);
    QCOMPARE(fontList->selectedCount(), expected.size());
    // The sample line shows what it showed before.
    QCOMPARE(sampleLine->text(), caption);
    QCOMPARE(sampleLine->font(), face);
    // Entry i is written after the pump i + 1: Select All from none has
    // 0, 1, 2, ... selected at its pumps.
    if (selectAll && selectedBefore.isEmpty() && !fonts.isEmpty())
        QCOMPARE(selectedAtPump, (QList<int>{0, 1, 2, 3, 4}));
    // The view's own selection model says the same, for its painting and
    // for accessibility.
    for (int row = 0; row < fonts.size(); ++row)
        QCOMPARE(fontList->selectionModel()->isSelected(fontList->model()->index(row, 0)),
                 expected.contains(row));
}

void tst_SelectionCommands::clicksWhileHiddenChangeNothing()
{
    load();
    clickRow(0);
    QLabel *sampleLine = control<QLabel>(*m_mainWindow, "sampleLine");
    const QString caption = sampleLine->text();
    const QFont face = sampleLine->font();

    sampleLine->hide();
    clickRow(4);
    clickRow(1, Qt::ControlModifier);
    QCOMPARE(control<ListBox>(*m_mainWindow, "fontList")->currentText(), QStringLiteral("Courier"));
    QCOMPARE(selectedRows(control<ListBox>(*m_mainWindow, "fontList")), (QList<int>{1, 4}));
    QCOMPARE(sampleLine->text(), caption);
    QCOMPARE(sampleLine->font(), face);
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
    QLabel *sampleLine = control<QLabel>(*m_mainWindow, "sampleLine");
    const QString caption = sampleLine->text();
    m_runtime.onPump = [&](int pump) {
        if (pump == 3)
            clickRow(clickedRow, Qt::ControlModifier);
    };
    (selectAll ? control<QPushButton>(*m_mainWindow, "selectAllButton") : control<QPushButton>(*m_mainWindow, "deselectAllButton"))->click();

    QCOMPARE(selectedRows(control<ListBox>(*m_mainWindow, "fontList")), selected);
    // The click moved the current entry, but the sample line did not follow.
    QCOMPARE(control<ListBox>(*m_mainWindow, "fontList")->currentText(), Fonts.at(clickedRow));
    QCOMPARE(sampleLine->text(), caption);
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
    QLabel *sampleLine = control<QLabel>(*m_mainWindow, "sampleLine");
    sampleLine->setText(QStringLiteral("stale"));
    QList<bool> hiddenAtPump;
    m_runtime.onPump = [&](int pump) {
        hiddenAtPump.append(sampleLine->isHidden());
        if (nested && pump == 2)
            control<QPushButton>(*m_mainWindow, "selectAllButton")->click();
    };
    control<QPushButton>(*m_mainWindow, "selectAllButton")->click();

    QCOMPARE(m_runtime.pumps, pumps);
    QCOMPARE(selectedRows(control<ListBox>(*m_mainWindow, "fontList")), (QList<int>{0, 1, 2, 3, 4}));
    QVERIFY(!sampleLine->isHidden());
    QCOMPARE(sampleLine->text(), caption);
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

    // fontList beside a plain list view with Qt's own selection model, the
    // same entries, size and font: the user's clicks and keys go to both,
    // fontList's code writes go to the plain one as selects of one row each,
    // filed as made. Both must agree at every step, in fontList's answers and
    // in its view's selection model.
    QStringList fonts;
    for (int i = 0; i < 1000; ++i)
        fonts.append(QStringLiteral("Face %1").arg(i, 4, 10, QLatin1Char('0')));
    load(fonts);
    ListBox *fontList = control<ListBox>(*m_mainWindow, "fontList");
    QStringListModel plainModel(fonts);
    QListView plain;
    plain.setModel(&plainModel);
    plain.setSelectionMode(QAbstractItemView::ExtendedSelection);
    plain.setUniformItemSizes(true);
    plain.setFont(fontList->font());
    plain.setFixedSize(fontList->size());
    plain.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    QItemSelectionModel *rules = plain.selectionModel();

    QRandomGenerator random(seed);
    const auto codeWrite = [&](int row, bool selected) {
        fontList->setSelected(row, selected);
        rules->select(plainModel.index(row), selected ? QItemSelectionModel::Select
                                                      : QItemSelectionModel::Deselect);
        rules->select(QItemSelection(), QItemSelectionModel::Select);
    };
    const auto compare = [&](const QString &step) {
        for (int row = 0; row < fonts.size(); ++row) {
            const bool expected = rules->isSelected(plainModel.index(row));
            QVERIFY2(fontList->isSelected(row) == expected,
                     qPrintable(QStringLiteral("%1: row %2").arg(step).arg(row)));
        }
        // The view's model catches up before it paints.
        fontList->viewport()->repaint();
        for (int row = 0; row < fonts.size(); ++row) {
            QVERIFY2(fontList->selectionModel()->isSelected(fontList->model()->index(row, 0))
                         == fontList->isSelected(row),
                     qPrintable(QStringLiteral("%1: the view, row %2").arg(step).arg(row)));
        }
        QCOMPARE(fontList->selectedCount(), int(rules->selectedIndexes().size()));
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
            const int row = fontList->indexAt(QPoint(5, 5)).row() + random.bounded(8);
            const Qt::KeyboardModifiers modifiers = modifierChoices[random.bounded(3)];
            const QPoint at = fontList->visualRect(fontList->model()->index(row, 0)).center();
            QTest::mouseClick(fontList->viewport(), Qt::LeftButton, modifiers, at);
            QTest::mouseClick(plain.viewport(), Qt::LeftButton, modifiers, at);
            what = QStringLiteral("click row %1 with %2").arg(row).arg(int(modifiers));
        } else {
            const Qt::Key key = keyChoices[random.bounded(4)];
            const Qt::KeyboardModifiers modifiers = modifierChoices[random.bounded(3)];
            QTest::keyClick(fontList, key, modifiers);
            QTest::keyClick(&plain, key, modifiers);
            what = QStringLiteral("key %1 with %2").arg(int(key)).arg(int(modifiers));
        }
        compare(QStringLiteral("step %1, %2").arg(step).arg(what));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(fontList->currentIndex().row(), plain.currentIndex().row());
    }
}

void tst_SelectionCommands::oneClickPerInput_data()
{
    QTest::addColumn<int>("startRow");   // clicked first, selected alone
    QTest::addColumn<int>("clickedRow"); // clicked then, or -1 for a key
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("clicks");     // fontList's clicks for that input
    QTest::addColumn<int>("current");

    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    QTest::newRow("click on another entry") << 0 << 2 << 0 << none << 1 << 2;
    QTest::newRow("click on the entry selected alone") << 2 << 2 << 0 << none << 1 << 2;
    QTest::newRow("ctrl-click") << 0 << 2 << 0 << ctrl << 1 << 2;
    QTest::newRow("shift-click on the entry itself") << 2 << 2 << 0 << shift << 1 << 2;
    QTest::newRow("Down") << 0 << -1 << int(Qt::Key_Down) << none << 1 << 1;
    QTest::newRow("Ctrl+Down") << 0 << -1 << int(Qt::Key_Down) << ctrl << 1 << 1;
    QTest::newRow("Ctrl+End") << 0 << -1 << int(Qt::Key_End) << ctrl << 1 << 4;
    QTest::newRow("Ctrl+Space") << 0 << -1 << int(Qt::Key_Space) << ctrl << 1 << 0;
    QTest::newRow("Ctrl+Down at the last entry: no move") << 4 << -1 << int(Qt::Key_Down) << ctrl
                                                          << 0 << 4;
    QTest::newRow("Ctrl+Home at the first entry: no move") << 0 << -1 << int(Qt::Key_Home) << ctrl
                                                           << 0 << 0;
}

void tst_SelectionCommands::oneClickPerInput()
{
    QFETCH(int, startRow);
    QFETCH(int, clickedRow);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, clicks);
    QFETCH(int, current);

    // Every click on an entry and every move of the current entry runs the
    // font click once: never twice for one input, whatever the selection
    // does.
    load();
    ListBox *fontList = control<ListBox>(*m_mainWindow, "fontList");
    clickRow(startRow);
    QSignalSpy spy(fontList, &ListBox::listClicked);
    if (clickedRow >= 0)
        clickRow(clickedRow, Qt::KeyboardModifiers(modifiers));
    else
        QTest::keyClick(fontList, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(spy.count(), clicks);
    QCOMPARE(fontList->currentIndex().row(), current);
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
    control<QRadioButton>(*m_mainWindow, "userTextOption")->click();
    control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(typed);
    control<QPushButton>(*m_mainWindow, "exitButton")->click();

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
    MainWindow again(m_fonts, m_printer, m_screen, next);
    again.load();
    QCOMPARE(control<QLineEdit>(again, "userTextBox")->text(), storedAfter);
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
    control<QRadioButton>(*m_mainWindow, "userTextOption")->click();
    control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(QStringLiteral("edited"));

    if (fromWindowSystem) {
        QCloseEvent close;
        QCoreApplication::sendEvent(m_mainWindow->windowHandle(), &close);
        QVERIFY(!close.isAccepted());
    } else {
        QVERIFY(!m_mainWindow->close());
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
    control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(QStringLiteral("abc"));
    m_journal.clear();
    m_runtime.onPump = [&](int pump) {
        if (pump == 3) {
            if (byExit)
                control<QPushButton>(*m_mainWindow, "exitButton")->click();
            else
                m_mainWindow->close();
        }
    };
    // The program ends inside the third pump: nothing of the loop runs on.
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, runHandler(m_mainWindow.get(), "onSelectAllClicked"));
    QCOMPARE(m_runtime.endProgramCalls, 1);
    QCOMPARE(m_runtime.pumps, 3);
    QCOMPARE(selectedRows(control<ListBox>(*m_mainWindow, "fontList")), (QList<int>{0, 1}));
    QVERIFY(control<QLabel>(*m_mainWindow, "sampleLine")->isHidden());
    QCOMPARE(m_runtime.settingWrites, byExit ? 1 : 0);
}

QTEST_MAIN(tst_SelectionCommands)
#include "tst_selection_commands.moc"
