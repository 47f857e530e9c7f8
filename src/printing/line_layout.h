// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "printing/part_fonts.h"

#include <QList>
#include <QString>

class FontCatalogue;
class PdfDocument;

// A position on the page in twips from the top-left corner of the printable
// area.
struct Pen
{
    double x = 0;
    double y = 0;
};

// A line as it was asked for, to draw its part again from.
struct Line
{
    double x;
    // From where the line before it ended.
    double drop;
    FontKey font;
    QString text;
    // The title of the outline entry that the line is the caption of, or
    // null.
    QString entry;
};

// The lines of the part being drawn, laid out on its pages.
//
// A line goes at the pen in its font, or where that font's face is gone or
// changed, as a line saying so. One that does not fit below the pen goes to
// the top of a new page, unless it is the first on its page. Each line is
// kept as it was asked for, with its place below the line before it, so
// that the part can be drawn again from its lines alone.
class LineLayout
{
public:
    // A line asked for, with the font and the text it draws in on the part.
    struct Prepared
    {
        FontKey font;
        QString text;
        QString entry;
        const DeviceFont *drawnFont;
        QString drawnText;
    };

    // All three must outlive this object.
    LineLayout(FontCatalogue &catalogue, PrinterFonts &printerFonts, PdfDocument &pdf, double dotsPerTwip);

    Prepared prepare(const FontKey &font, const QString &text, const QString &entry);
    // Whether the line, at the pen, goes to a new page.
    bool breaksPage(const Pen &pen, const Prepared &line) const;
    // Draws the line at the pen, on a new page of the part where it does not
    // fit, and moves the pen to the start of the next line. Returns why the
    // pages drawn so far did not all reach the part's file, or nothing.
    QString place(Pen &pen, Prepared line);
    // place() for a line of the part drawn before, at its place below the
    // line drawn last.
    QString placeAgain(const Line &line);

    // How many fonts the part has drawn with.
    qsizetype fontCount() const { return m_fonts.count(); }
    // Whether a face that the part drew with has gone or changed since.
    bool facesChanged() { return m_fonts.facesChanged(); }

    // Goes on to the next part: its first line starts its first page.
    void startPart();
    // Throws the part being drawn, or just ended, away and starts a fresh
    // one in its place. Returns the lines to draw it again from.
    QList<Line> redoPart();

private:
    void forgetPart();

    PdfDocument &m_pdf;
    PartFonts m_fonts;
    double m_dotsPerTwip;
    double m_printableHeightTwips;
    bool m_pageHasLines = false;
    QList<Line> m_lines;
    // Where the pen stood after the last line.
    double m_lineEnd = 0;
};
