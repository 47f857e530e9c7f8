// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "printing/line_layout.h"
#include "printing/pdf_document.h"

#include <QString>

#include <memory>

class FontCatalogue;
class QPageLayout;
class SpoolFile;

// One open document, drawn in parts of a share of fonts each.
//
// A part ends at the first page break after it has drawn with its share.
// Ending it puts its faces' glyphs into it, read from their files: a face
// that changed after its lines were drawn, or while they are read, must not
// go in from its changed file, so the part is drawn again first, its lines
// in such faces saying that those are not available.
class PartedDocument
{
public:
    // catalogue and printerFonts must outlive the document.
    PartedDocument(FontCatalogue &catalogue, PrinterFonts &printerFonts, const QPageLayout &layout, int dpi,
                   const QString &title, const QString &spoolFolder, int fontsPerPart);

    // Draws a line at the pen, in font, and moves the pen to the start of
    // the next line; the outline entry titled entry, unless that is null,
    // points at it. Returns why the pages drawn so far did not all reach the
    // document's files, or nothing; throws PrinterError for a part that
    // cannot be ended or drawn again.
    QString printLine(Pen &pen, const FontKey &font, const QString &text, const QString &entry);

    // Ends the last part: the whole document, in a spool file in the folder,
    // or nothing when whileWaiting calls the join of the parts off.
    std::unique_ptr<SpoolFile> complete(const Printer::WhileWaiting &whileWaiting = {});

    // For a program that ends this very moment: the named spool files lose
    // their names, and a join under way ends.
    void removeNames() { m_pdf.removeNames(); }

private:
    void endPart();
    // The part being drawn, or just ended, thrown away and drawn again from
    // its lines on a fresh part in its place.
    void redrawPart();

    FontCatalogue &m_catalogue;
    PdfDocument m_pdf;
    LineLayout m_layout;
    qsizetype m_fontsPerPart;
};
