// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "progress_window/progress_window.h"

#include "desktop/runtime.h"
#include "ui/control_table.h"
#include "progress_window/x11_tool_window.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QThread>
#include <QWindow>

namespace {

constexpr TwipsRect ClientArea{3690, 2580, 4380, 2880};

constexpr const char *InitialCountLine = QT_TRANSLATE_NOOP("ProgressWindow", "Font Count");
constexpr const char *InitialNameLine = QT_TRANSLATE_NOOP("ProgressWindow", "Font Name");
constexpr const char *ReadingTitle = QT_TRANSLATE_NOOP("ProgressWindow", "Reading Fonts");
constexpr const char *PrintingTitle = QT_TRANSLATE_NOOP("ProgressWindow", "Printing Fonts");
constexpr const char *PleaseWait = QT_TRANSLATE_NOOP("ProgressWindow", "Please Wait");

// How long an opening waits for the platform to put the window on the
// screen; a window manager that holds it back longer only costs the first
// paints.
constexpr int ExposeWaitMs = 2000;
constexpr int ExposePollMs = 2;

// Where the screen does not say how often it refreshes.
constexpr qreal DefaultRefreshHz = 60;

constexpr const char *CountLineDescription = QT_TRANSLATE_NOOP("ProgressWindow", "Font count");
constexpr const char *NameLineDescription = QT_TRANSLATE_NOOP("ProgressWindow", "Font being read or printed");

// The controls' object names: what the code, screen readers and test tools
// find each control by.
namespace ControlName {
constexpr const char *Panel = "panel";
constexpr const char *CountLine = "countLine";
constexpr const char *NameLine = "nameLine";
constexpr const char *StopButton = "stopButton";
} // namespace ControlName

constexpr const char *Arial = "Arial";

// The window's design, bottom of the stacking order first: the Stop button
// is drawn over the panel's lower right corner, and inside the panel the
// name line lies over the count line. The panel's lines are placed from the
// panel's corner.
constexpr ControlRow Design[] = {
    {.name = ControlName::Panel, .kind = ControlKind::Panel,
     .rect = {.left = 360, .top = 240, .width = 3615, .height = 2175},
     .background = Colour::LightGrey,
     .accessibleName = QT_TRANSLATE_NOOP("ProgressWindow", "Progress")},
    {.name = ControlName::CountLine, .container = ControlName::Panel, .kind = ControlKind::Label,
     .caption = InitialCountLine,
     .rect = {.left = 480, .top = 240, .width = 2775, .height = 735},
     .fontFamily = Arial, .fontPoints = 24.75, .text = Colour::Blue, .background = Colour::LightGrey,
     .alignment = Qt::AlignHCenter, .flags = Bold},
    {.name = ControlName::NameLine, .container = ControlName::Panel, .kind = ControlKind::Label,
     .caption = InitialNameLine,
     .rect = {.left = 0, .top = 1200, .width = 3615, .height = 375},
     .fontFamily = Arial, .fontPoints = 11.25, .text = Colour::Red, .background = Colour::LightGrey,
     .alignment = Qt::AlignHCenter, .flags = Bold},
    {.name = ControlName::StopButton, .kind = ControlKind::CommandButton,
     .caption = QT_TRANSLATE_NOOP("ProgressWindow", "Stop"),
     .rect = {.left = 2760, .top = 2160, .width = 1335, .height = 495}},
};

} // namespace

ProgressWindow::ProgressWindow(FontCatalogue &fonts, Runtime &runtime, QWidget *parent)
    // A tool window: a small title bar with no close box, window menu,
    // minimise or maximise button, and no button in the task bar.
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_runtime(runtime)
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setFont(designFont(fonts, "MS Sans Serif", 8.25, true));
    QPalette background = palette();
    background.setColor(QPalette::Window, colourOf(Colour::LightGrey));
    background.setColor(QPalette::WindowText, colourOf(Colour::Black));
    setPalette(background);
    setAutoFillBackground(true);

    const qreal dpi = logicalScreenDpi();
    const Controls controls = buildControls(this, Design, fonts, dpi, "ProgressWindow");
    m_panel = controls.get<QFrame>(ControlName::Panel);
    m_countLine = controls.get<QLabel>(ControlName::CountLine);
    m_nameLine = controls.get<QLabel>(ControlName::NameLine);
    m_stopButton = controls.get<QPushButton>(ControlName::StopButton);
    setTabOrder(m_panel, m_stopButton);
    // Font names are shown as the printer reports them, even when they look
    // like markup.
    for (QLabel *label : {m_countLine, m_nameLine})
        label->setTextFormat(Qt::PlainText);
    // The count line and the name line have no accessible name of their
    // own: a screen reader reads what they show, and QLabel tells it of
    // every new text. What they are goes into their descriptions.
    m_countLine->setAccessibleDescription(tr(CountLineDescription));
    m_nameLine->setAccessibleDescription(tr(NameLineDescription));

    const QRect client = twipsToPixels(ClientArea, dpi);
    setGeometry(client);
    setFixedSize(client.size());
    resetTexts();

    // Qt's signal delivery does not carry exceptions: the handler runs
    // inside the boundary that catches them.
    connect(m_stopButton, &QPushButton::clicked, this,
            [this] { runHandler(m_runtime, [this] { onStopClicked(); }); });
}

ProgressWindow::~ProgressWindow() = default;

QString ProgressWindow::countText(int index, int last)
{
    return QString::number(index) + QLatin1String(" / ") + QString::number(last);
}

void ProgressWindow::setCount(int index, int last)
{
    m_countLine->setText(countText(index, last));
}

void ProgressWindow::showPleaseWait()
{
    m_countLine->setText(tr(PleaseWait));
}

void ProgressWindow::setNote(const QString &text)
{
    m_nameLine->setText(text);
}

void ProgressWindow::resetTexts()
{
    setMode(Mode::Reading);
    m_stopFlag = StopFlag::Initial;
    m_countLine->setText(tr(InitialCountLine));
    m_nameLine->setText(tr(InitialNameLine));
}

void ProgressWindow::open()
{
    if (isVisible()) {
        raise();
        return;
    }
    resetTexts();
    markAsToolWindow(this);
    m_sinceShown.invalidate();
    show();
    waitUntilOnScreen();
}

void ProgressWindow::waitUntilOnScreen()
{
    // The drivers repaint right after opening, and a window that the
    // platform has not put on the screen yet has nothing to paint into: with
    // no fonts to read, "Please Wait" would never be seen. So the opening
    // waits for the window to be mapped, handling the window system's own
    // events only; the user's input waits for the drivers' next event pump,
    // as it would have without the wait.
    // The events are handled at least once: a window closed and opened
    // again with no event pump between still reads as exposed until the
    // news of its closing is handled.
    const QWindow *window = windowHandle();
    const QDeadlineTimer deadline(ExposeWaitMs);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!window || window->isExposed() || deadline.hasExpired())
            return;
        QThread::msleep(ExposePollMs);
    }
}

void ProgressWindow::closeWindow()
{
    // The last repaint reaches the screen before the window leaves it.
    if (m_held && isVisible()) {
        backingStore()->flush(QRegion(rect()), windowHandle());
        m_held = false;
    }
    hide();
}

void ProgressWindow::setMode(Mode mode)
{
    m_mode = mode;
    setWindowTitle(tr(mode == Mode::Printing ? PrintingTitle : ReadingTitle));
}

void ProgressWindow::repaintLines()
{
    m_countLine->repaint();
    m_nameLine->repaint();
}

void ProgressWindow::repaintWindow()
{
    // Pushing every repaint to an X server costs a round trip, as the next
    // one may only be drawn once the server has read the last: with 20,000
    // fonts read, most of the start-up. The screen shows no more than one
    // picture a frame, so the repaints in between stay in the buffer.
    const QWindow *window = windowHandle();
    if (!window || !window->isExposed() || frameIsOver()) {
        repaintOnScreen();
        return;
    }
    QBackingStore *store = backingStore();
    const QRegion whole(rect());
    store->beginPaint(whole);
    render(store->paintDevice(), QPoint(), whole);
    store->endPaint();
    m_held = true;
}

void ProgressWindow::repaintOnScreen()
{
    const QScopedValueRollback<bool> showing(m_showing, true);
    repaint();
    m_held = false;
    m_sinceShown.start();
}

bool ProgressWindow::frameIsOver() const
{
    const QScreen *shownOn = screen();
    const qreal hz = shownOn && shownOn->refreshRate() > 0 ? shownOn->refreshRate() : DefaultRefreshHz;
    return !m_sinceShown.isValid() || m_sinceShown.nsecsElapsed() >= qint64(1e9 / hz);
}

bool ProgressWindow::event(QEvent *event)
{
    // While a repaint is held, the labels' own requests to be painted would
    // put their new texts on the screen at the next pump, within the frame:
    // they wait for the whole-window repaint that shows the held one. The
    // driver that holds repaints repaints the window again after each pump.
    if (event->type() == QEvent::UpdateRequest && m_held && !m_showing)
        return true;
    return QWidget::event(event);
}

void ProgressWindow::onStopClicked()
{
    // While fonts are read there is nothing to go back to: Stop ends the
    // program. While printing it asks the printing routine to stop at its
    // next look at the flag.
    if (m_mode != Mode::Printing) {
        m_runtime.endProgram();
        return;
    }
    m_stopFlag = StopFlag::Stop;
    closeWindow();
}
