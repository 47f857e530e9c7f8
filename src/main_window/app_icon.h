// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>

class QPainter;

// The program's icon: a dark-blue disc with a black rim and a white
// lower-case i, transparent outside the disc.
QIcon appIcon();

// Draws the icon into a size x size square; the build's icon files are drawn
// by the same code.
void paintAppIcon(QPainter &painter, int size);
