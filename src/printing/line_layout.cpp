// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "printing/line_layout.h"

#include "printing/pdf_document.h"

#include <QPainter>
#include <QPdfWriter>

#include <utility>

LineLayout::LineLayout(FontCatalogue &catalogue, PrinterFonts &printerFonts, PdfDocument &pdf, double dotsPerTwip)
    : m_pdf(pdf),
      m_fonts(catalogue, printerFonts, pdf, dotsPerTwip),
      m_dotsPerTwip(dotsPerTwip),
      m_printableHeightTwips(pdf.device().height() / dotsPerTwip)
{
}

LineLayout::Prepared LineLayout::prepare(const FontKey &font, const QString &text, const QString &entry)
{
    QString drawnText = text;
    const DeviceFont &drawnFont = m_fonts.lineFont(font, drawnText);
    return {font, text, entry, &drawnFont, drawnText};
}

bool LineLayout::breaksPage(const Pen &pen, const Prepared &line) const
{
    return m_pageHasLines && pen.y + line.drawnFont->lineHeightTwips > m_printableHeightTwips;
}

QString LineLayout::place(Pen &pen, Prepared line)
{
    // From where the line before it ended, as it was asked for.
    const double drop = pen.y - m_lineEnd;
    QString failure;
    if (breaksPage(pen, line)) {
        m_pdf.newPage();
        pen.y = 0;
        m_pageHasLines = false;
        // A page is written out as the next one starts: a full disk shows
        // here, and the rest of the run need not be drawn for nothing.
        failure = m_pdf.writeFailure();
    }
    m_lines.append({pen.x, drop, line.font, line.text, line.entry});
    if (!line.entry.isNull())
        m_pdf.markEntry(line.entry, pen.y * m_dotsPerTwip);
    // Line ends are not drawn; the line ends anyway.
    line.drawnText.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    if (!line.drawnText.isEmpty()) {
        m_pdf.painter().setFont(line.drawnFont->font);
        m_pdf.painter().drawText(
            QPointF(pen.x * m_dotsPerTwip, pen.y * m_dotsPerTwip + line.drawnFont->ascentDots), line.drawnText);
    }
    m_pageHasLines = true;
    pen.x = 0;
    pen.y += line.drawnFont->lineHeightTwips;
    m_lineEnd = pen.y;
    return failure;
}

QString LineLayout::placeAgain(const Line &line)
{
    Pen pen{line.x, m_lineEnd + line.drop};
    return place(pen, prepare(line.font, line.text, line.entry));
}

void LineLayout::startPart()
{
    m_pdf.startPart();
    forgetPart();
}

QList<Line> LineLayout::redoPart()
{
    QList<Line> lines = std::exchange(m_lines, {});
    m_pdf.redoPart();
    forgetPart();
    return lines;
}

void LineLayout::forgetPart()
{
    m_fonts.clear();
    m_lines.clear();
    m_lineEnd = 0;
    m_pageHasLines = false;
}
