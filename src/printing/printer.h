// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

// Raised by any printer operation that the printer cannot carry out. The
// printing routine catches it; everything else lets it through.
class PrinterError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
    explicit PrinterError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// The default printer: its list of fonts and its drawing surface.
//
// Positions are in twips (1440 to the inch) from the top-left corner of the
// printable area; font sizes are in points. The surface keeps a pen and a
// current font. The first printed line opens a document; finish() hands it
// to the printer.
class Printer
{
public:
    virtual ~Printer() = default;

    // The printer's fonts, in the printer's own order. The list is read once
    // and stays the same for the whole run.
    virtual int fontCount() = 0;
    virtual QString fontName(int index) = 0;

    virtual double currentX() const = 0;
    virtual void setCurrentX(double twips) = 0;
    virtual double currentY() const = 0;
    virtual void setCurrentY(double twips) = 0;

    // Fails with PrinterError for a face that the printer cannot print.
    // Leaves bold and italic as they are.
    virtual void setFontName(const QString &name) = 0;
    // Fails with PrinterError unless points is a positive, finite number.
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool on) = 0;
    virtual void setFontItalic(bool on) = 0;
    // Whether the lines printed from now on borrow the glyphs that the
    // current face lacks from other installed faces: on for the program's
    // own text, off for samples, which show a missing glyph as the face's
    // own mark. Off until switched on.
    virtual void setGlyphFallback(bool on) = 0;

    // Draws text at the pen in the current font, then moves the pen to the
    // start of the next line (CurrentX 0, CurrentY plus the line height). An
    // empty text still advances one line. A line that does not fit below the
    // pen goes to the top of a new page.
    virtual void printLine(const QString &text) = 0;

    // The next printed line is the caption of a font's entry on the sheet,
    // titled title: a document that has an outline gets an entry there
    // which points at that line. Paper shows nothing of it.
    virtual void beginEntry(const QString &title) = 0;

    // Ends the open document and hands it to the printer. Does nothing when
    // no document is open.
    //
    // Ending a long document takes seconds, most of them a wait for the
    // join of its parts. While it waits, finish() runs whileWaiting every
    // few milliseconds; when that returns false, the document is thrown
    // away, nothing of it reaches the printer, and finish() returns false.
    // Returns true once the document is handed over, or when none is open.
    // whileWaiting is told how much of the ending is done, in percent.
    using WhileWaiting = std::function<bool(int percentDone)>;
    virtual bool finish(const WhileWaiting &whileWaiting = {}) = 0;
    // Throws the open document away: nothing of it reaches the printer.
    virtual void abort() = 0;
};
