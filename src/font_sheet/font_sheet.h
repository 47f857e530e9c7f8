// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class Printer;
class Runtime;
class Screen;

// What the printing routine reads from the window it prints for. Every value
// is asked for afresh when the routine needs it, so that changes the user
// makes during a run apply to the fonts not yet printed.
class FontSheetSource
{
public:
    virtual ~FontSheetSource() = default;

    virtual int entryCount() const = 0;
    virtual QString entryText(int index) const = 0;
    virtual bool isEntrySelected(int index) const = 0;
    virtual int selectedEntryCount() const = 0;
    // The chosen print size as the list shows it, a number of points in
    // decimal text ("12").
    virtual QString printSize() const = 0;
    // The sample line's choice: the font's own name, or the user's text.
    virtual bool fontNameChosen() const = 0;
    virtual bool userTextChosen() const = 0;
    virtual QString userText() const = 0;
};

// The progress display that a print run drives, and where its Stop request
// comes from.
class FontSheetProgress
{
public:
    virtual ~FontSheetProgress() = default;

    // Opens the display for a print run, so that Stop asks the run to stop.
    virtual void openForPrinting() = 0;
    // Paints the count line and the second line at once.
    virtual void repaintLines() = 0;
    // Forgets a stop request left over from an earlier run.
    virtual void clearStopRequest() = 0;
    virtual void setNote(const QString &note) = 0;
    virtual void repaintWindow() = 0;
    // Shows "index / last".
    virtual void setCount(int index, int last) = 0;
    virtual bool stopRequested() const = 0;
    virtual void close() = 0;
};

// Print Fonts: prints a font sheet of the selected entries. A heading line
// names the program and the day; every selected font then gets a caption
// line with its name in parentheses and a sample line in the font itself, at
// the chosen print size.
//
// The run drives the progress display, whose Stop ends it, and runs the
// event pump once per entry. From the first selected font on, any failure is
// reported in one message box and the run ends with nothing sent to the
// printer.
void printFontSheet(FontSheetSource &source, FontSheetProgress &progress, Printer &printer,
                    Screen &screen, Runtime &runtime);
