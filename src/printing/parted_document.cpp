// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "printing/parted_document.h"

#include "desktop/measures.h"
#include "fonts/face_watch.h"
#include "fonts/font_catalogue.h"
#include "printing/printer.h"
#include "printing/spool_file.h"

PartedDocument::PartedDocument(FontCatalogue &catalogue, PrinterFonts &printerFonts, const QPageLayout &layout,
                               int dpi, const QString &title, const QString &spoolFolder, int fontsPerPart)
    : m_catalogue(catalogue),
      m_pdf(layout, dpi, title, spoolFolder),
      m_layout(catalogue, printerFonts, m_pdf, static_cast<double>(dpi) / TwipsPerInch),
      m_fontsPerPart(fontsPerPart)
{
}

QString PartedDocument::printLine(Pen &pen, const FontKey &font, const QString &text, const QString &entry)
{
    const LineLayout::Prepared line = m_layout.prepare(font, text, entry);
    // Once the part has drawn with its share of fonts, the next page starts
    // the next part, and the fonts are let go of.
    if (!m_layout.breaksPage(pen, line) || m_layout.fontCount() < m_fontsPerPart)
        return m_layout.place(pen, line);

    endPart();
    m_layout.startPart();
    // The line starts the part's first page, as it does when the part is
    // drawn again.
    pen.y = 0;
    const QString failure = m_pdf.writeFailure();
    const QString placed = m_layout.place(pen, m_layout.prepare(font, text, entry));
    return failure.isEmpty() ? placed : failure;
}

std::unique_ptr<SpoolFile> PartedDocument::complete(const Printer::WhileWaiting &whileWaiting)
{
    endPart();
    return m_pdf.join(whileWaiting);
}

void PartedDocument::endPart()
{
    if (m_layout.facesChanged())
        redrawPart();
    const FaceWatch &watch = m_catalogue.faceWatch();
    const int faults = watch.faultCount();
    m_pdf.endPart();
    if (watch.faultCount() != faults && m_layout.facesChanged()) {
        redrawPart();
        m_pdf.endPart();
    }
}

void PartedDocument::redrawPart()
{
    for (const Line &line : m_layout.redoPart()) {
        const QString failure = m_layout.placeAgain(line);
        if (!failure.isEmpty())
            throw PrinterError(failure);
    }
}
