// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

qreal logicalScreenDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

int twipsToPixels(int twips, qreal dpi)
{
    return static_cast<int>(std::lround(twips * dpi / TwipsPerInch));
}

QRect twipsToPixels(const TwipsRect &rect, qreal dpi)
{
    const int left = twipsToPixels(rect.left, dpi);
    const int top = twipsToPixels(rect.top, dpi);
    return QRect(left, top, twipsToPixels(rect.left + rect.width, dpi) - left,
                 twipsToPixels(rect.top + rect.height, dpi) - top);
}
