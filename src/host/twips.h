#pragma once

#include <QRect>

// Window layouts are given in twips: 1440 to the inch, so 15 to a pixel on
// a screen of 96 dots per inch.
constexpr int TwipsPerInch = 1440;

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
