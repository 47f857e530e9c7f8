// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fonts/glyph_fallback.h"

#include "fonts/face_setup.h"
#include "fonts/fontconfig_query.h"
#include "fonts/process_font_state.h"

#include <QByteArray>
#include <QSet>

#include <algorithm>
#include <vector>

namespace {

// The faces that the trimmed sort keeps, with every other face of their
// families, so that a bold or italic borrowed glyph is set up against its
// own face's rules.
std::vector<FcPattern *> fallbackFaces(FcFontSet *sorted, FaceSetup &installed)
{
    std::vector<FcPattern *> faces;
    QSet<QByteArray> families;
    for (int i = 0; i < sorted->nfont; ++i) {
        FcChar8 *family = nullptr;
        if (FcPatternGetString(sorted->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch)
            continue;
        const QByteArray name(reinterpret_cast<const char *>(family));
        if (families.contains(name))
            continue;
        families.insert(name);
        std::vector<FcPattern *> ofFamily = installed.installedFacesOf(name);
        // A face that the index does not list under that name still goes in.
        if (std::find(ofFamily.begin(), ofFamily.end(), sorted->fonts[i]) == ofFamily.end())
            ofFamily.push_back(sorted->fonts[i]);
        for (FcPattern *face : ofFamily) {
            if (std::find(faces.begin(), faces.end(), face) == faces.end())
                faces.push_back(face);
        }
    }
    return faces;
}

// Puts faces into config. fontconfig adds faces to a configuration only by
// reading their files again, some 50 ms for the Noto fonts; here the first
// file is read, which gives the configuration its set of added faces, and
// the other faces are copied into that set as the installed configuration
// holds them.
bool addFaces(FcConfig *config, const std::vector<FcPattern *> &faces)
{
    FcChar8 *firstFile = nullptr;
    if (faces.empty() || FcPatternGetString(faces.front(), FC_FILE, 0, &firstFile) != FcResultMatch
        || !FcConfigAppFontAddFile(config, firstFile))
        return false;
    FcFontSet *added = FcConfigGetFonts(config, FcSetApplication);
    if (!added)
        return false;
    const QByteArray first(reinterpret_cast<const char *>(firstFile));
    for (FcPattern *face : faces) {
        FcChar8 *file = nullptr;
        if (FcPatternGetString(face, FC_FILE, 0, &file) == FcResultMatch
            && first == reinterpret_cast<const char *>(file))
            continue;
        FcPattern *copy = FcPatternDuplicate(face);
        if (copy && !FcFontSetAdd(added, copy))
            FcPatternDestroy(copy);
    }
    return true;
}

} // namespace

GlyphFallback::GlyphFallback(FcConfig *installed)
    : m_installed(installed ? FcConfigReference(installed) : nullptr)
{
}

void GlyphFallback::install(const QString &designFamily, FaceSetup &faces, ProcessFontState &process)
{
    if (m_drawingInstalled || !m_installed)
        return;
    FcConfig *installed = m_installed.get();
    const FcPatternHandle pattern(FcPatternCreate());
    addString(pattern.get(), FC_FAMILY, designFamily);
    // The user's language comes in here: under zh_CN a Chinese face comes
    // before a Japanese one for the characters that both have.
    substitute(installed, pattern.get());
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> sorted(
        FcFontSort(installed, pattern.get(), FcTrue, nullptr, &result), &FcFontSetDestroy);
    if (!sorted)
        return;
    FcConfigHandle drawing = newRulesOnlyConfig();
    if (!drawing || !addFaces(drawing.get(), fallbackFaces(sorted.get(), faces))
        || !process.setDrawingConfig(std::move(drawing)))
        return;
    m_drawingInstalled = true;
    for (int i = 0; i < sorted->nfont; ++i) {
        const QString name = stringOf(sorted->fonts[i], FC_FAMILY);
        if (!name.isEmpty() && !m_families.contains(name))
            m_families.append(name);
    }
}
