// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>

#include <vector>

class QPaintDevice;
typedef struct _FcPattern FcPattern;

// Opens the face that a font draws alone in straight from its file.
//
// Qt finds the face of each new font by comparing its family name with
// every installed family, one by one: with 20,000 families installed that
// search costs more than drawing the font's line, and more still on a
// machine whose caches other programs fill. The face is known already
// (FaceSetup has its file from fontconfig), so it is opened here as Qt
// would open it, and left in Qt's font cache under the font's own request,
// where Qt looks before it searches.
//
// Only where the face is exactly the one that Qt would take, drawn as it
// is: otherwise Qt sets the font up itself, as before.
class DirectFaces
{
public:
    // Whether a font can be opened directly from the faces that tie for it,
    // and if not, why Qt sets it up instead.
    enum class Verdict {
        Direct,
        // The font borrows glyphs from other faces: Qt puts its faces together.
        BorrowsGlyphs,
        // The font names a foundry, or no face or more than one ties for
        // it: which file Qt would open is Qt's choice.
        NotOneFace,
        // The font is slanted or bold and its face is not: Qt draws a slant
        // or bold of its own.
        SyntheticStyle,
        // A bitmap face's sizes, or a variable face's instances, are
        // chosen by Qt.
        NotPlainOutline,
    };

    // What would become of font, drawn in the one face of faces.
    static Verdict verdictFor(const QFont &font, const std::vector<FcPattern *> &faces);

    // Opens the face for font as drawn on device (the screen when null),
    // unless Qt holds it already. Fontconfig's current configuration must
    // hold the rules that Qt reads the face's rendering settings from.
    // False where Qt is left to set the font up.
    static bool open(const QFont &font, FcPattern *face, const QPaintDevice *device);
};
