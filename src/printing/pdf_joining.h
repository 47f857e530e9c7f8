// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

// Writes the pages of the complete PDF files open on sources, one file
// after the other, into target as one PDF, with the document information
// of the first and the outline and information that the file open on
// outline describes (PdfOutline::description()). The pages' fonts and
// pictures are copied as they stand, never unpacked. Throws PrinterError.
//
// The joining runs as a program of its own, glyphora-join-pdf: it holds
// what it copies until the document is written, some 8 KB for each printed
// font, which is memory that this program need not keep once the document
// is out.
void joinPdfFiles(const std::vector<int> &sources, int outline, int target);
