// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QList>
#include <QStringView>

#include "fonts/direct_faces.h"
#include "fonts/fontconfig_handles.h"

#include <memory>
#include <vector>

class FamilySet;
class ProcessFontState;
class QPaintDevice;

// Sets up the faces that fonts draw text in, at a cost that does not grow
// with the number of installed fonts.
//
// Qt sets up each new face, that is each family at each size on each
// device, with a fontconfig match of the face's own file against every
// installed face, only to read the face's rendering settings (hinting,
// antialiasing, subpixel order, LCD filter): 11 ms a face with 20,000
// families installed, on every click on a family and for every face that a
// sheet prints. Here the match runs against a fontconfig configuration
// with the same rules and only the faces of the font's family in its style.
// The rules and the face being the same, so are the settings.
class FaceSetup
{
public:
    // drawable: the families that Qt draws as themselves; installed: the
    // configuration that Qt read them from; process: what may switch
    // fontconfig's current configuration for a moment, without which every
    // face is left to Qt. All must outlive this object.
    FaceSetup(const FamilySet &drawable, FcConfig *installed, ProcessFontState *process);
    ~FaceSetup();
    FaceSetup(const FaceSetup &) = delete;
    FaceSetup &operator=(const FaceSetup &) = delete;

    // Has Qt set up the faces that font draws text in on device (the screen
    // when device is null) now.
    //
    // The faces of a font that draws alone (QFont::NoFontMerging) are set
    // up for the scripts in the first ScriptSampleLength characters of text;
    // Qt sets up any other the usual way when it is drawn. A font that
    // borrows glyphs has its own face set up, never the faces it borrows
    // from (see GlyphFallback). Fonts in a family that Qt lacks, and fonts
    // whose faces fontconfig cannot read again, are left to Qt. A font that
    // draws alone in exactly one installed face has it opened directly
    // (see DirectFaces), sparing Qt's search through every family.
    void setUpFaces(const QFont &font, QStringView text, const QPaintDevice *device = nullptr);

    // setUpFaces() for font, with the setup held for the rest of the run.
    // Qt lets go of a face's setup once no font holds it, and sets it up
    // again at the next paint with a fontconfig match that reads every
    // installed face. While a sheet prints, its large printer faces overflow
    // Qt's font cache, which then lets go of the windows' faces between two
    // repaints. For the few faces that the windows draw in all the time: the
    // design faces and the sample line's stand-in for names that only the
    // printer has.
    void keepFacesSetUp(const QFont &font);

    // The files of every installed face of family, as fontconfig listed
    // them when the font list was read.
    QList<QByteArray> familyFiles(const QString &family);

    // The installed faces listed under family.
    std::vector<FcPattern *> installedFacesOf(const QByteArray &family);

    // Whether setUpFaces() opens the face of font directly, and if not, why.
    DirectFaces::Verdict verdictFor(const QFont &font);

    // Whether setUpFaces() opens faces directly, as it does unless told
    // otherwise; off leaves every face to Qt, to compare with.
    void setOpenDirectly(bool on) { m_openDirectly = on; }
    // How many fonts setUpFaces() has left in a face opened directly
    // (now or by an earlier call).
    int directOpenings() const { return m_directOpenings; }

private:
    class FaceIndex;

    FcConfig *rulesOnlyConfig();
    const FaceIndex &installedFaces();
    // The faces nearest to a font's style, one for each file, and their files.
    struct NearestFaces
    {
        std::vector<FcPattern *> faces;
        QList<QByteArray> files;
    };
    NearestFaces nearestFaces(const QFont &font);
    bool holdOnly(FcConfig *config, const QList<QByteArray> &files);

    const FamilySet &m_drawable;
    FcConfig *m_installed;
    ProcessFontState *m_process;
    // fontconfig's rules without its fonts; made at the first setup.
    FcConfigHandle m_rules;
    bool m_rulesRead = false;
    std::unique_ptr<FaceIndex> m_index;
    // The files whose faces m_rules holds now.
    QList<QByteArray> m_held;
    // The fonts whose setup is held, by QFont::key().
    QHash<QString, QFont> m_kept;
    bool m_openDirectly = true;
    int m_directOpenings = 0;
};

// How much of the text setUpFaces() reads for its scripts.
inline constexpr qsizetype ScriptSampleLength = 1024;
