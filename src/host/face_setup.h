// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>

class QFont;
class QPaintDevice;

// Has Qt set up the faces that font draws text in on device (the screen
// when device is null) now, at a cost that does not grow with the number of
// installed fonts.
//
// Qt sets up each new face, that is each family at each size on each
// device, with a fontconfig match of the face's own file against every
// installed face, only to read the face's rendering settings (hinting,
// antialiasing, subpixel order, LCD filter): 11 ms a face with 20,000
// families installed, on every click on a family and for every face that a
// sheet prints. Here the match runs against a fontconfig configuration
// with the same rules and only the faces of font's family in font's style.
// The rules and the face being the same, so are the settings.
//
// The faces are set up for the scripts in the first ScriptSampleLength
// characters of text; Qt sets up any other the usual way when it is drawn.
// Only fonts that draw alone (QFont::NoFontMerging) in a family that Qt
// has are set up here: anything else would have Qt look for fallbacks,
// which must come from the whole configuration. Those, and fonts whose
// faces fontconfig cannot read again, are left to Qt.
void setUpFaces(const QFont &font, QStringView text, const QPaintDevice *device = nullptr);

// setUpFaces() for font, with the setup held for the rest of the run. Qt
// lets go of a face's setup once no font holds it, and sets it up again at
// the next paint with a fontconfig match that reads every installed face.
// While a sheet prints, its large printer faces overflow Qt's font cache,
// which then lets go of the windows' faces between two repaints. For the
// few faces that the windows draw in all the time: the design faces and the
// sample line's stand-in for names that only the printer has.
void keepFacesSetUp(const QFont &font);

// How much of the text setUpFaces() reads for its scripts.
inline constexpr qsizetype ScriptSampleLength = 1024;
