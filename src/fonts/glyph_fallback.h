// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fonts/fontconfig_handles.h"

#include <QString>
#include <QStringList>

class FaceSetup;
class ProcessFontState;

// Text that the program or its user writes (the names in the list, the text
// box, captions, messages, the sheet's heading and captions) draws in its
// design face, with the glyphs that face lacks borrowed from other installed
// faces. Sample lines never borrow: they draw alone (standaloneFont()).
//
// Qt 6.4 finds the faces to borrow from by asking fontconfig's current
// configuration to sort all of its faces for the family and the script, and
// then looks every face of that list up among every installed family: some
// 10^8 name comparisons, half a minute, with 20,000 families. For each face
// it borrows from it also matches the face against every face of the current
// configuration, 11 ms each.
//
// So once Qt has read its font database, the current configuration becomes
// one with the installed rules and only the faces that add coverage:
// fontconfig's trimmed sort for the design face, in which a face stays only
// where it covers a character that no face before it covers, with the other
// faces of those families: about ten families with the project's fonts,
// 160 families with the Noto fonts. Qt's lookups then cost at most that many
// name comparisons per installed family, once per script. Everything that matches names against the installed
// faces (stand-ins, the printer's names, face setup) asks installedConfig()
// instead. FontCatalogue holds the one glyph fallback.
class GlyphFallback
{
public:
    // installed: the configuration that Qt read the installed fonts from.
    explicit GlyphFallback(FcConfig *installed);
    GlyphFallback(const GlyphFallback &) = delete;
    GlyphFallback &operator=(const GlyphFallback &) = delete;

    // Has process make the drawing configuration current, its faces sorted
    // for designFamily in the user's language. Qt must have read its font
    // database, since it reads it from the current configuration. The
    // second call changes nothing.
    void install(const QString &designFamily, FaceSetup &faces, ProcessFontState &process);

    // The configuration that Qt read the installed fonts from.
    FcConfig *installedConfig() const { return m_installed.get(); }

    // The families that text borrows glyphs from, in the sorted order; empty
    // before install().
    const QStringList &families() const { return m_families; }

private:
    FcConfigHandle m_installed;
    bool m_drawingInstalled = false;
    QStringList m_families;
};
