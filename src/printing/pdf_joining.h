// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

// Writes the pages of the complete PDF files open on sources, one file
// after the other, into target as one PDF, with the document information
// of the first. The pages' fonts and pictures are copied as they stand,
// never unpacked. Throws PrinterError.
//
// qpdf does the joining, as a program of its own: it holds every object of
// every page in memory while it writes, some 40 KB for each embedded face,
// which is memory that this program need not keep once the document is out.
void joinPdfFiles(const std::vector<int> &sources, int target);
