// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The progress window: its layout, what Open and the text writes do, the
// Stop button in both modes, and closing the window by other means. Under
// an X server (QT_QPA_PLATFORM=xcb) it also checks the hints that the window
// manager gets.

#include "design_backgrounds.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "design_face.h"
#include "find_control.h"
#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "ui/list_box.h"
#include "main_window/main_window.h"
#include "paint_journal.h"
#include "progress_window/progress_window.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

const QString Reading = QStringLiteral("Reading Fonts");
const QString Printing = QStringLiteral("Printing Fonts");
using Mode = ProgressWindow::Mode;
using StopFlag = ProgressWindow::StopFlag;

// 15 twips to the pixel at 96 DPI; every design value here is a multiple.
QRect pixels(const QRect &twips)
{
    return {twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15};
}

} // namespace

class tst_ProgressWindow : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

private Q_SLOTS:
    void init();
    void cleanup();

    void window();
    void controls_data();
    void controls();
    void stackingAndTabOrder();
    void longNameKeepsTheLabel();
    void open_data();
    void open();
    void writeWhileClosedDoesNotShow();
    void repaintRightAfterOpenReachesTheScreen();
    void stop_data();
    void stop();
    void reopenAfterStopStartsAfresh();
    void closeFromOutside_data();
    void closeFromOutside();
    void stopWhileReadingEndsTheStartUp_data();
    void stopWhileReadingEndsTheStartUp();
    void x11Frame();

private:
    FakeRuntime m_runtime;
    ProgressWindow *m_window = nullptr;
};

void tst_ProgressWindow::init()
{
    m_runtime = FakeRuntime();
    m_window = new ProgressWindow(m_fonts, m_runtime);
}

void tst_ProgressWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
    // Every window a test made is gone again.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_ProgressWindow::window()
{
    QCOMPARE(m_window->windowTitle(), Reading);
    // A 4380 x 2880 twips client area at (3690, 2580).
    QCOMPARE(m_window->geometry(), QRect(246, 172, 292, 192));
    QCOMPARE(m_window->minimumSize(), QSize(292, 192));
    QCOMPARE(m_window->maximumSize(), QSize(292, 192));

    const Qt::WindowFlags flags = m_window->windowFlags();
    QCOMPARE(m_window->windowType(), Qt::Tool);
    QVERIFY(flags & Qt::WindowTitleHint);
    QCOMPARE(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint
                      | Qt::WindowMinMaxButtonsHint),
             Qt::WindowFlags());
    QVERIFY(m_window->windowIcon().isNull());

    QCOMPARE(m_window->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(m_window->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QVERIFY(m_window->autoFillBackground());
    verifyBackgroundsAsDesigned(m_window);
}

void tst_ProgressWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QString>("caption");

    const QColor black(0, 0, 0);
    QTest::newRow("panel") << "panel" << "ProgressWindow" << QRect(360, 240, 3615, 2175)
                              << "MS Sans Serif" << 8.25 << black << QString();
    QTest::newRow("countLine") << "countLine" << "panel" << QRect(480, 240, 2775, 735) << "Arial"
                            << 24.75 << QColor(0, 0, 255) << "Font Count";
    QTest::newRow("nameLine") << "nameLine" << "panel" << QRect(0, 1200, 3615, 375) << "Arial"
                            << 11.25 << QColor(255, 0, 0) << "Font Name";
    QTest::newRow("stopButton") << "stopButton" << "ProgressWindow" << QRect(2760, 2160, 1335, 495)
                              << "MS Sans Serif" << 8.25 << black << "Stop";
}

void tst_ProgressWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, twips);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(QColor, text);
    QFETCH(QString, caption);

    auto *control = m_window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), container);
    QCOMPARE(control->geometry(), pixels(twips));

    verifyDesignFace(control->font(), family, points);
    if (QTest::currentTestFailed())
        return;

    if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->palette().color(QPalette::WindowText), text);
        QCOMPARE(label->palette().color(QPalette::Window), QColor(192, 192, 192));
        QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(label->textFormat(), Qt::PlainText);
    } else if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    } else {
        QCOMPARE(control->palette().color(QPalette::Window), QColor(192, 192, 192));
    }
}

void tst_ProgressWindow::stackingAndTabOrder()
{
    // Qt stacks siblings in the order of the parent's children, last on top.
    QStringList bottomFirst;
    for (const QObject *child : m_window->children()) {
        if (child->isWidgetType())
            bottomFirst.append(child->objectName());
    }
    QCOMPARE(bottomFirst, (QStringList{"panel", "stopButton"}));
    QCOMPARE(control<QLabel>(*m_window, "nameLine")->parentWidget(), control<QFrame>(*m_window, "panel"));
    QCOMPARE(control<QFrame>(*m_window, "panel")->children().indexOf(control<QLabel>(*m_window, "nameLine")),
             control<QFrame>(*m_window, "panel")->children().indexOf(control<QLabel>(*m_window, "countLine")) + 1);

    // The Stop button covers the panel's lower right corner and takes the
    // clicks there.
    const QRect overlap =
        control<QFrame>(*m_window, "panel")->geometry().intersected(control<QPushButton>(*m_window, "stopButton")->geometry());
    QCOMPARE(overlap, QRect(184, 144, 81, 17));
    m_window->open();
    QCOMPARE(m_window->childAt(overlap.center()), control<QPushButton>(*m_window, "stopButton"));

    // Tab moves between the panel and the Stop button; the labels take no
    // focus.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    control<QFrame>(*m_window, "panel")->setFocus(Qt::TabFocusReason);
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited, (QStringList{"panel", "stopButton", "panel"}));
}

void tst_ProgressWindow::longNameKeepsTheLabel()
{
    m_window->open();
    QVERIFY(m_window->isVisible());

    // A name far wider than the panel leaves the label as designed.
    const QRect designed = control<QLabel>(*m_window, "nameLine")->geometry();
    control<QLabel>(*m_window, "nameLine")->setText(QString(10000, QLatin1Char('W')));
    m_window->repaintWindow();
    QCOMPARE(control<QLabel>(*m_window, "nameLine")->geometry(), designed);
}

void tst_ProgressWindow::open_data()
{
    QTest::addColumn<bool>("closeFirst");
    QTest::addColumn<QStringList>("texts"); // title, count line, name line
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<StopFlag>("flag");

    QTest::newRow("closed: back to the initial texts")
        << true << QStringList{Reading, "Font Count", "Font Name"} << Mode::Reading
        << StopFlag::Initial;
    QTest::newRow("open: texts stay")
        << false << QStringList{Printing, "3 / 9", "Printing the 2 fonts you selected."}
        << Mode::Printing << StopFlag::Stop;
}

void tst_ProgressWindow::open()
{
    QFETCH(bool, closeFirst);
    QFETCH(QStringList, texts);
    QFETCH(Mode, mode);
    QFETCH(StopFlag, flag);

    m_window->open();
    m_window->setMode(Mode::Printing);
    m_window->setCount(3, 9);
    control<QLabel>(*m_window, "nameLine")->setText(QStringLiteral("Printing the 2 fonts you selected."));
    m_window->setStopFlag(StopFlag::Stop);
    if (closeFirst)
        m_window->closeWindow();

    m_window->open();
    QVERIFY(m_window->isVisible());
    QCOMPARE((QStringList{m_window->windowTitle(), control<QLabel>(*m_window, "countLine")->text(),
                          control<QLabel>(*m_window, "nameLine")->text()}),
             texts);
    QCOMPARE(m_window->mode(), mode);
    QCOMPARE(m_window->stopFlag(), flag);
}

void tst_ProgressWindow::writeWhileClosedDoesNotShow()
{
    for (const bool openedBefore : {false, true}) {
        if (openedBefore) {
            m_window->open();
            m_window->closeWindow();
        }
        m_window->setMode(Mode::Printing);
        control<QLabel>(*m_window, "countLine")->setText(QStringLiteral("0 / 1"));
        control<QLabel>(*m_window, "nameLine")->setText(QStringLiteral("Arial"));
        m_window->setStopFlag(StopFlag::DontStop);
        m_window->repaintLines();
        m_window->repaintWindow();
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_window->stopFlag(), StopFlag::DontStop);
    }
}

void tst_ProgressWindow::repaintRightAfterOpenReachesTheScreen()
{
    // The drivers write and repaint right after opening, before any event
    // pump: the window is on the screen by then, at the first opening and
    // at a later one.
    QStringList journal;
    PaintJournal paints(journal);
    paints.watch(control<QLabel>(*m_window, "countLine"));
    for (int opening = 1; opening <= 2; ++opening) {
        m_window->open();
        QVERIFY(m_window->windowHandle()->isExposed());
        journal.clear();
        control<QLabel>(*m_window, "countLine")->setText(QStringLiteral("Please Wait"));
        m_window->repaintLines();
        QCOMPARE(journal, QStringList{"Paint:countLine:Please Wait"});
        m_window->closeWindow();
    }
}

void tst_ProgressWindow::stop_data()
{
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("endsProgram");

    QTest::newRow("reading") << Mode::Reading << Reading << true;
    QTest::newRow("printing") << Mode::Printing << Printing << false;
}

void tst_ProgressWindow::stop()
{
    QFETCH(Mode, mode);
    QFETCH(QString, title);
    QFETCH(bool, endsProgram);

    m_window->open();
    m_window->setMode(mode);
    m_window->setStopFlag(StopFlag::DontStop);
    QTest::mouseClick(control<QPushButton>(*m_window, "stopButton"), Qt::LeftButton);

    QCOMPARE(m_runtime.endProgramCalls, endsProgram ? 1 : 0);
    // Ending the program leaves the window as it is: the real service never
    // comes back to it.
    QCOMPARE(m_window->stopFlag(), endsProgram ? StopFlag::DontStop : StopFlag::Stop);
    QCOMPARE(m_window->isVisible(), endsProgram);
    QCOMPARE(m_window->mode(), mode);
    QCOMPARE(m_window->windowTitle(), title);
}

void tst_ProgressWindow::reopenAfterStopStartsAfresh()
{
    m_window->open();
    m_window->setMode(Mode::Printing);
    m_window->setStopFlag(StopFlag::DontStop);
    QTest::mouseClick(control<QPushButton>(*m_window, "stopButton"), Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
    // The flag stays readable after the window has closed...
    QCOMPARE(m_window->stopFlag(), StopFlag::Stop);

    // ...until the next opening.
    m_window->open();
    QCOMPARE(m_window->windowTitle(), Reading);
    QCOMPARE(m_window->mode(), Mode::Reading);
    QCOMPARE(control<QLabel>(*m_window, "countLine")->text(), QStringLiteral("Font Count"));
    QCOMPARE(control<QLabel>(*m_window, "nameLine")->text(), QStringLiteral("Font Name"));
    QCOMPARE(m_window->stopFlag(), StopFlag::Initial);
}

void tst_ProgressWindow::closeFromOutside_data()
{
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<StopFlag>("flag");

    QTest::newRow("reading") << Mode::Reading << StopFlag::Initial;
    QTest::newRow("printing") << Mode::Printing << StopFlag::DontStop;
    QTest::newRow("printing, after a Stop") << Mode::Printing << StopFlag::Stop;
}

void tst_ProgressWindow::closeFromOutside()
{
    QFETCH(Mode, mode);
    QFETCH(StopFlag, flag);

    m_window->open();
    m_window->setMode(mode);
    m_window->setStopFlag(flag);
    QVERIFY(m_window->close());

    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_runtime.endProgramCalls, 0);
    QCOMPARE(m_window->stopFlag(), flag);
    QCOMPARE(m_window->mode(), mode);
    // The driver goes on writing into the closed window without showing it.
    control<QLabel>(*m_window, "countLine")->setText(QStringLiteral("5 / 9"));
    m_window->repaintWindow();
    QVERIFY(!m_window->isVisible());
}

void tst_ProgressWindow::stopWhileReadingEndsTheStartUp_data()
{
    QTest::addColumn<int>("stopAtPump");

    QTest::newRow("first font") << 1;
    QTest::newRow("last font") << 3;
}

void tst_ProgressWindow::stopWhileReadingEndsTheStartUp()
{
    QFETCH(int, stopAtPump);

    FakePrinter printer;
    printer.fontList = {"Courier", "Arial", "Symbol"};
    FakeScreen screen;
    m_runtime.settings.insert(FakeRuntime::settingPath("Glyphora", "User Text", "Text"), "abc");
    MainWindow mainWindow(m_fonts, printer, screen, m_runtime);
    ProgressWindow &progress = mainWindow.progressWindow();
    m_runtime.onPump = [&](int pump) {
        if (pump == stopAtPump)
            QTest::mouseClick(control<QPushButton>(progress, "stopButton"), Qt::LeftButton);
    };

    QVERIFY_THROWS_EXCEPTION(ProgramEnded, mainWindow.load());

    QCOMPARE(m_runtime.endProgramCalls, 1);
    QCOMPARE(m_runtime.pumps, stopAtPump);
    QVERIFY(!mainWindow.isVisible());
    QVERIFY(!mainWindow.testAttribute(Qt::WA_WState_ExplicitShowHide));
    // Nothing after the pump ran: no more fonts, no pointer restored, no
    // selection, no stored text read into the text box, nothing written.
    QCOMPARE(control<ListBox>(mainWindow, "fontList")->count(), stopAtPump - 1);
    QCOMPARE(screen.pointers, QList<Screen::Pointer>{Screen::Pointer::Busy});
    QCOMPARE(control<ListBox>(mainWindow, "printSizeList")->selectedCount(), 0);
    QVERIFY(control<QLineEdit>(mainWindow, "userTextBox")->text().isEmpty());
    QCOMPARE(m_runtime.settingWrites, 0);
}

void tst_ProgressWindow::x11Frame()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !x11)
        QSKIP("needs an X server (run with QT_QPA_PLATFORM=xcb)");
    xcb_connection_t *connection = x11->connection();

    const auto properties = [this] {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"),
                    {"-id", QString::number(m_window->winId()), "_MOTIF_WM_HINTS",
                     "_NET_WM_WINDOW_TYPE", "_NET_WM_STATE", "WM_NORMAL_HINTS"});
        xprop.waitForFinished();
        return QString::fromUtf8(xprop.readAllStandardOutput());
    };

    for (int opening = 1; opening <= 2; ++opening) {
        m_window->open();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        // Moving only; a border and a title bar with no buttons and no menu.
        QTRY_VERIFY2(properties().contains("_MOTIF_WM_HINTS) = 0x3, 0x4, 0xa"),
                     qPrintable(properties()));
        const QString shown = properties();
        QVERIFY2(shown.contains("_NET_WM_WINDOW_TYPE_UTILITY"), qPrintable(shown));
        QVERIFY2(shown.contains("_NET_WM_STATE_SKIP_TASKBAR"), qPrintable(shown));
        QVERIFY2(shown.contains("minimum size: 292 by 192"), qPrintable(shown));
        QVERIFY2(shown.contains("maximum size: 292 by 192"), qPrintable(shown));

        // A close request through the X server, as a window manager sends
        // it: the window goes, nothing else happens.
        m_window->setStopFlag(StopFlag::DontStop);
        const auto atom = [connection](const char *name) {
            xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
                connection, xcb_intern_atom(connection, false, uint16_t(strlen(name)), name),
                nullptr);
            const xcb_atom_t value = reply->atom;
            std::free(reply);
            return value;
        };
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = xcb_window_t(m_window->winId());
        message.type = atom("WM_PROTOCOLS");
        message.data.data32[0] = atom("WM_DELETE_WINDOW");
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection, false, message.window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char *>(&message));
        xcb_flush(connection);
        QTRY_VERIFY(!m_window->isVisible());
        QCOMPARE(m_runtime.endProgramCalls, 0);
        QCOMPARE(m_window->stopFlag(), StopFlag::DontStop);
        // The second opening checks that the hints survive a withdrawal.
    }
}

QTEST_MAIN(tst_ProgressWindow)
#include "tst_progress_window.moc"
