// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QWidget>

class FontCatalogue;
class QFrame;
class QLabel;
class QPushButton;
class Runtime;

// The progress window that the start-up and printing routines drive: a count
// line, a second line of text, and a Stop button. Its mode tells the Stop
// button which routine runs; while printing, Stop leaves its request in the
// stop flag for the printing routine to find.
class ProgressWindow : public QWidget
{
    Q_OBJECT

public:
    // Which routine drives the window. The title says it, and Stop acts on it.
    enum class Mode { Reading, Printing };
    Q_ENUM(Mode)

    // The stop flag. Each opening starts from Initial; a print run writes
    // DontStop as it starts, and Stop writes Stop while printing. Only Stop
    // stops a run.
    enum class StopFlag { Initial, DontStop, Stop };
    Q_ENUM(StopFlag)

    // The count line's text: the index being visited, " / ", the last
    // index, in plain digits ("0 / 57").
    static QString countText(int index, int last);

    // fonts draws the window's design faces and must outlive it.
    ProgressWindow(FontCatalogue &fonts, Runtime &runtime, QWidget *parent = nullptr);
    ~ProgressWindow() override;

    // Shows the window and returns once it is on the screen, so that the
    // caller's repaints reach it; no user input is handled meanwhile. A
    // closed window starts again from its initial texts; an open one keeps
    // them and is only raised.
    void open();
    // Takes the window off the screen. Its texts, mode and stop flag stay
    // readable until the next opening.
    void closeWindow();

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);

    StopFlag stopFlag() const { return m_stopFlag; }
    void setStopFlag(StopFlag flag) { m_stopFlag = flag; }

    // Writes countText(index, last) into the count line.
    void setCount(int index, int last);
    // Writes "Please Wait" into the count line.
    void showPleaseWait();
    // Writes text into the second line: the font being read, or a note on
    // the run. Shown as written, even where it looks like markup.
    void setNote(const QString &text);

    // Paint at once, without waiting for the event loop: the count line and
    // the second line, or the whole window.
    //
    // The first whole-window repaint after the window opens reaches the
    // screen at once. A later one within a display frame of the last one
    // that did is painted into the window's buffer only: its pixels reach
    // the screen with the first whole-window repaint after that frame, or
    // when the window closes.
    void repaintLines();
    void repaintWindow();

protected:
    bool event(QEvent *event) override;

private Q_SLOTS:
    void onStopClicked();

private:
    void resetTexts();
    void waitUntilOnScreen();
    bool frameIsOver() const;
    // Paints the whole window and puts it on the screen.
    void repaintOnScreen();

    // Since a whole-window repaint last reached the screen; invalid until the
    // first one after the window opened.
    QElapsedTimer m_sinceShown;
    // A repaint is in the buffer and not on the screen yet.
    bool m_held = false;
    bool m_showing = false;

    Runtime &m_runtime;
    QFrame *m_panel = nullptr;
    QLabel *m_countLine = nullptr;
    QLabel *m_nameLine = nullptr;
    QPushButton *m_stopButton = nullptr;
    Mode m_mode = Mode::Reading;
    StopFlag m_stopFlag = StopFlag::Initial;
};
