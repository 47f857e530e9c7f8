// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "desktop/measures.h"

#include <QRect>

// A rectangle in twips, as the layout tables give it.
struct TwipsRect
{
    int left;
    int top;
    int width;
    int height;
};

// The screen's logical DPI, which Qt's widget coordinates are measured in.
qreal logicalScreenDpi();

int twipsToPixels(int twips, qreal dpi);

// Converts both edges and takes the size between them, so that controls
// which touch in twips still touch in pixels at any DPI.
QRect twipsToPixels(const TwipsRect &rect, qreal dpi);
