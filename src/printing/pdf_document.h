// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "printing/pdf_outline.h"
#include "printing/printer.h"
#include "printing/spool_file.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QString>

#include <memory>
#include <vector>

class PdfJoin;
class QPainter;
class QPdfWriter;

// A PDF document of any length, drawn in parts.
//
// Qt's PDF engine keeps every face it has drawn with, and the glyphs used of
// it, until its document ends: a sheet of 20,000 fonts needs gigabytes that
// way. Here each part is a PDF of its own, a whole number of pages, and
// ending a part lets go of its faces. The caller ends a part at a page break
// it would have made anyway, so the pages come out as one document's would.
// join() joins the parts into the one document, with its outline.
//
// The parts are spool files in the document's folder, without names where
// the file system allows it, so that an abandoned document leaves none of
// them behind. Every failure throws PrinterError.
class PdfDocument
{
    Q_DECLARE_TR_FUNCTIONS(PdfDocument)

public:
    PdfDocument(const QPageLayout &layout, int dpi, const QString &title, const QString &folder);
    ~PdfDocument();

    PdfDocument(const PdfDocument &) = delete;
    PdfDocument &operator=(const PdfDocument &) = delete;

    // The painter and the paint device of the page being drawn. Both change
    // when a part ends.
    QPainter &painter();
    QPdfWriter &device();

    // Goes on to a fresh page of the part being drawn.
    void newPage();
    // The outline entry titled title points at yDots down the printable area
    // of the page being drawn.
    void markEntry(const QString &title, double yDots);

    // Ends the part being drawn: its faces' glyphs are read from their files
    // and go into it now. Drawing goes on only after startPart().
    void endPart();
    // Starts the next part on a fresh page.
    void startPart();
    // Throws the last part away, drawn or ended, and starts a fresh one in
    // its place, for a part that has to be drawn again.
    void redoPart();

    // Why what was drawn so far did not all reach the part's file, or
    // nothing when it did.
    QString writeFailure() const;

    // The whole document, once its last part has ended: the parts joined
    // into a new spool file in the folder, with the outline (a document of
    // one part is joined too, for its outline). The join runs whileWaiting
    // as PdfJoin::wait() does; nothing when that calls it off.
    std::unique_ptr<SpoolFile> join(const Printer::WhileWaiting &whileWaiting = {});

    // For a program that ends this very moment: the named spool files lose
    // their names, and a join under way ends. Unnamed files go with the
    // process.
    void removeNames();

private:
    struct Part;

    QPageLayout m_layout;
    int m_dpi;
    QString m_title;
    QString m_folder;
    // The parts already ended, then the one being drawn.
    std::vector<std::unique_ptr<Part>> m_parts;
    // The pages of the parts before the one being drawn.
    int m_pagesBefore = 0;
    PdfOutline m_outline;
    // While the parts are joined: the joiner and the file it writes.
    PdfJoin *m_join = nullptr;
    SpoolFile *m_joined = nullptr;
};
