// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Both windows as a screen reader sees them through Qt's accessibility
// interfaces: the name and role of every control, the font list's entries,
// the progress window's live count and name lines, and the keys that work
// the controls.

#include "find_control.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "ui/list_box.h"
#include "main_window/main_window.h"
#include "progress_window/progress_window.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

// The accessible objects below iface that stand for named controls, by
// control name. A list's entries are its own children, not controls.
void collectControls(QAccessibleInterface *iface, QHash<QString, QAccessibleInterface *> &found)
{
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface *child = iface->child(i);
        if (!child)
            continue;
        const QObject *object = child->object();
        const QString name = object ? object->objectName() : QString();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            found.insert(name, child);
        if (child->role() != QAccessible::List)
            collectControls(child, found);
    }
}

// The updates that reach the platform while accessibility is active.
struct Update
{
    QPointer<QObject> object;
    QAccessible::Event type;
};
QList<Update> updates;

void recordUpdate(QAccessibleEvent *event)
{
    updates.append({event->object(), event->type()});
}

int nameChanges(const QObject *object)
{
    return int(std::count_if(updates.cbegin(), updates.cend(), [object](const Update &u) {
        return u.object == object && u.type == QAccessible::NameChanged;
    }));
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

private Q_SLOTS:
    void init();
    void cleanup();

    void controlNamesAndRoles_data();
    void controlNamesAndRoles();
    void everyVisibleControlIsNamed();
    void sampleLineKeepsItsName();
    void fontListEntriesAreReadOut();
    void progressLinesReadWhatTheyShow();
    void progressLinesAnnounceChanges();
    void spacePressesTheFocusedButton_data();
    void spacePressesTheFocusedButton();
    void arrowKeysMoveInLists_data();
    void arrowKeysMoveInLists();

private:
    QWidget *window(const QString &name);
    QAccessibleInterface *control(const QString &window, const QString &name);

    FakePrinter m_printer;
    FakeScreen m_screen;
    FakeRuntime m_runtime;
    MainWindow *m_mainWindow = nullptr;
};

void tst_Accessibility::init()
{
    m_printer.fontList = {"Nimbus Roman", "C059", "DejaVu Sans", "Liberation Mono"};
    m_runtime = FakeRuntime();
    m_mainWindow = new MainWindow(m_fonts, m_printer, m_screen, m_runtime);
}

void tst_Accessibility::cleanup()
{
    delete m_mainWindow;
    m_mainWindow = nullptr;
    // Every window a test made is gone again.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QWidget *tst_Accessibility::window(const QString &name)
{
    return name == QLatin1String("ProgressWindow") ? static_cast<QWidget *>(&m_mainWindow->progressWindow())
                                             : m_mainWindow;
}

QAccessibleInterface *tst_Accessibility::control(const QString &window, const QString &name)
{
    QHash<QString, QAccessibleInterface *> controls;
    collectControls(QAccessible::queryAccessibleInterface(this->window(window)), controls);
    return controls.value(name);
}

void tst_Accessibility::controlNamesAndRoles_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("accessibleName");

    const auto add = [](const char *window, const char *name, QAccessible::Role role,
                        const char *accessibleName) {
        QTest::addRow("%s/%s", window, name) << QString::fromLatin1(window)
                                             << QString::fromLatin1(name) << role
                                             << QString::fromLatin1(accessibleName);
    };
    add("MainWindow", "titleLabel", QAccessible::StaticText, "Glyphora");
    add("MainWindow", "fontListLabel", QAccessible::StaticText, "All Available Fonts");
    add("MainWindow", "fontList", QAccessible::List, "All Available Fonts");
    add("MainWindow", "selectAllButton", QAccessible::Button, "Select All");
    add("MainWindow", "deselectAllButton", QAccessible::Button, "Deselect All");
    add("MainWindow", "printButton", QAccessible::Button, "Print Fonts");
    add("MainWindow", "exitButton", QAccessible::Button, "Exit");
    add("MainWindow", "printSizeLabel", QAccessible::StaticText, "Print Size");
    add("MainWindow", "printSizeList", QAccessible::List, "Print Size");
    add("MainWindow", "displaySizeLabel", QAccessible::StaticText, "Display");
    add("MainWindow", "displaySizeList", QAccessible::List, "Display");
    add("MainWindow", "sampleLine", QAccessible::StaticText, "Sample");
    add("MainWindow", "fontNameOption", QAccessible::RadioButton, "Use Font Name as Sample Text");
    add("MainWindow", "userTextOption", QAccessible::RadioButton, "Use User Defined Text as Sample Text");
    add("MainWindow", "userTextBox", QAccessible::EditableText, "User Defined Text");
    // The count line and the name line say what they show; their initial
    // captions say what they are.
    add("ProgressWindow", "panel", QAccessible::Border, "Progress");
    add("ProgressWindow", "countLine", QAccessible::StaticText, "Font Count");
    add("ProgressWindow", "nameLine", QAccessible::StaticText, "Font Name");
    add("ProgressWindow", "stopButton", QAccessible::Button, "Stop");
}

void tst_Accessibility::controlNamesAndRoles()
{
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, accessibleName);

    QAccessibleInterface *iface = control(window, name);
    QVERIFY2(iface, "not in the window's accessible tree");
    QCOMPARE(iface->role(), role);
    QCOMPARE(iface->text(QAccessible::Name), accessibleName);
}

void tst_Accessibility::everyVisibleControlIsNamed()
{
    m_mainWindow->load();
    m_mainWindow->progressWindow().open();
    for (const QString window : {"MainWindow", "ProgressWindow"}) {
        QAccessibleInterface *windowIface = QAccessible::queryAccessibleInterface(this->window(window));
        QVERIFY(!windowIface->text(QAccessible::Name).isEmpty());
        QHash<QString, QAccessibleInterface *> controls;
        collectControls(windowIface, controls);
        QVERIFY(controls.size() >= 4);
        for (auto it = controls.cbegin(); it != controls.cend(); ++it) {
            if (it.value()->state().invisible)
                continue;
            QVERIFY2(!it.value()->text(QAccessible::Name).trimmed().isEmpty(),
                     qPrintable(window + QLatin1Char('/') + it.key()));
        }
    }
}

void tst_Accessibility::sampleLineKeepsItsName()
{
    // The sample line shows a font name or the user's text; it is still the
    // sample.
    QAccessibleInterface *iface = control(QStringLiteral("MainWindow"), QStringLiteral("sampleLine"));
    QVERIFY(iface);
    ::control<QLabel>(*m_mainWindow, "sampleLine")->setText(QStringLiteral("DejaVu Sans"));
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Sample"));
}

void tst_Accessibility::fontListEntriesAreReadOut()
{
    m_mainWindow->load();
    ListBox *fontList = ::control<ListBox>(*m_mainWindow, "fontList");
    fontList->setSelected(1, true);
    fontList->setSelected(3, true);

    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(fontList);
    QVERIFY(iface);
    QAccessibleTableInterface *table = iface->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 4);
    const QStringList sorted = {"C059", "DejaVu Sans", "Liberation Mono", "Nimbus Roman"};
    for (int row = 0; row < sorted.size(); ++row) {
        QAccessibleInterface *entry = table->cellAt(row, 0);
        QVERIFY(entry);
        QCOMPARE(entry->role(), QAccessible::ListItem);
        QCOMPARE(entry->text(QAccessible::Name), sorted[row]);
        QCOMPARE(bool(entry->state().selected), row == 1 || row == 3);
        QVERIFY(entry->state().selectable);
    }
    QCOMPARE(table->selectedCellCount(), 2);
}

void tst_Accessibility::progressLinesReadWhatTheyShow()
{
    ProgressWindow &progress = m_mainWindow->progressWindow();
    progress.open();
    QAccessibleInterface *count = control(QStringLiteral("ProgressWindow"), QStringLiteral("countLine"));
    QAccessibleInterface *name = control(QStringLiteral("ProgressWindow"), QStringLiteral("nameLine"));
    QVERIFY(count && name);
    QVERIFY(!count->text(QAccessible::Description).isEmpty());
    QVERIFY(!name->text(QAccessible::Description).isEmpty());

    ::control<QLabel>(progress, "countLine")->setText(ProgressWindow::countText(7, 19));
    ::control<QLabel>(progress, "nameLine")->setText(QStringLiteral("DejaVu Sans"));
    progress.repaintWindow();
    QCOMPARE(count->text(QAccessible::Name), QStringLiteral("7 / 19"));
    QCOMPARE(name->text(QAccessible::Name), QStringLiteral("DejaVu Sans"));
    // The window is called by its title, the driver's mode.
    progress.setMode(ProgressWindow::Mode::Printing);
    QCOMPARE(QAccessible::queryAccessibleInterface(&progress)->text(QAccessible::Name),
             QStringLiteral("Printing Fonts"));
}

void tst_Accessibility::progressLinesAnnounceChanges()
{
    // Notifications go out only while a screen reader listens, which needs
    // the X11 platform and an accessibility bus (e2e_accessibility_events).
    QElapsedTimer waited;
    waited.start();
    while (!QAccessible::isActive() && waited.elapsed() < 5000) {
        QCoreApplication::processEvents();
        QTest::qWait(20);
    }
    if (!QAccessible::isActive())
        QSKIP("no accessibility bus: run under X11 with one (e2e_accessibility_events)");

    updates.clear();
    const auto previous = QAccessible::installUpdateHandler(recordUpdate);
    m_mainWindow->load();
    QAccessible::installUpdateHandler(previous);

    // One count and one name per font while the fonts are read.
    const ProgressWindow &progress = m_mainWindow->progressWindow();
    const int fonts = int(m_printer.fontList.size());
    QVERIFY2(nameChanges(::control<QLabel>(progress, "countLine")) >= fonts, qPrintable(QString::number(nameChanges(::control<QLabel>(progress, "countLine")))));
    QVERIFY2(nameChanges(::control<QLabel>(progress, "nameLine")) >= fonts, qPrintable(QString::number(nameChanges(::control<QLabel>(progress, "nameLine")))));
}

void tst_Accessibility::spacePressesTheFocusedButton_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("button");

    for (const char *name : {"selectAllButton", "deselectAllButton", "printButton", "exitButton"})
        QTest::addRow("MainWindow/%s", name) << "MainWindow" << QString::fromLatin1(name);
    QTest::newRow("ProgressWindow/stopButton") << "ProgressWindow" << "stopButton";
}

void tst_Accessibility::spacePressesTheFocusedButton()
{
    QFETCH(QString, window);
    QFETCH(QString, button);

    QWidget *top = this->window(window);
    auto *pushButton = top->findChild<QPushButton *>(button);
    QVERIFY(pushButton);
    // Only the key is under test here, not what the button then does.
    pushButton->disconnect(SIGNAL(clicked(bool)));
    QSignalSpy clicked(pushButton, &QPushButton::clicked);

    top->show();
    top->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(top));
    pushButton->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), pushButton);
    QTest::keyClick(pushButton, Qt::Key_Space);
    QCOMPARE(clicked.count(), 1);
}

void tst_Accessibility::arrowKeysMoveInLists_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("firstRow");

    QTest::newRow("fontList") << "fontList" << 0;
    QTest::newRow("printSizeList") << "printSizeList" << 1; // "12", selected at start
    QTest::newRow("displaySizeList") << "displaySizeList" << 3; // "22": one above the selected "24"
}

void tst_Accessibility::arrowKeysMoveInLists()
{
    QFETCH(QString, list);
    QFETCH(int, firstRow);

    m_mainWindow->load();
    auto *listBox = m_mainWindow->findChild<ListBox *>(list);
    QVERIFY(listBox);
    m_mainWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_mainWindow));
    listBox->setFocus(Qt::TabFocusReason);
    listBox->setSelected(firstRow, true);
    listBox->setCurrentIndex(listBox->model()->index(firstRow, 0));

    const auto selectedRows = [listBox] {
        QList<int> rows;
        for (int row = 0; row < listBox->count(); ++row) {
            if (listBox->isSelected(row))
                rows.append(row);
        }
        return rows;
    };
    QTest::keyClick(listBox, Qt::Key_Down);
    QCOMPARE(listBox->currentIndex().row(), firstRow + 1);
    QCOMPARE(selectedRows(), QList<int>{firstRow + 1});
    QTest::keyClick(listBox, Qt::Key_Up);
    QCOMPARE(listBox->currentIndex().row(), firstRow);
    QCOMPARE(selectedRows(), QList<int>{firstRow});
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
