// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "printing/printer.h"

#include <memory>
#include <vector>

class QProcess;

// Writes the pages of the complete PDF files open on sources, one file
// after the other, into target as one PDF, with the document information
// of the first and the outline and information that the file open on
// outline describes (PdfOutline::description()). The pages' fonts and
// pictures are copied as they stand, never unpacked. Throws PrinterError.
//
// The joining runs as a program of its own, glyphora-join-pdf: it holds
// what it copies until the document is written, some 8 KB for each printed
// font, which is memory that this program need not keep once the document
// is out. It takes seconds for a long sheet, so the program waits for it in
// slices, doing what it has to meanwhile, and can call it off.
class PdfJoin
{
public:
    // What the wait does between its slices, told how much of the join is
    // done; returns false to call the join off.
    using WhileWaiting = Printer::WhileWaiting;

    // Starts the joiner. Throws PrinterError when it cannot start.
    PdfJoin(const std::vector<int> &sources, int outline, int target);
    // A joiner still running is ended.
    ~PdfJoin();

    PdfJoin(const PdfJoin &) = delete;
    PdfJoin &operator=(const PdfJoin &) = delete;

    // Waits until the join is done, running whileWaiting at least every
    // few milliseconds. Returns false, with the joiner ended and gone, when
    // whileWaiting calls the join off; throws PrinterError in the joiner's
    // own words when the join fails.
    bool wait(const WhileWaiting &whileWaiting);

    // Ends the joiner at once and waits until it is gone: for a join called
    // off, or a program that ends this very moment.
    void stop();

private:
    void readProgress();

    std::unique_ptr<QProcess> m_joiner;
    int m_percentDone = 0;
};
