// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fonts/face_setup.h"

#include "fonts/font_catalogue.h"
#include "fonts/fontconfig_query.h"
#include "fonts/process_font_state.h"

#include <QByteArray>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

namespace {

// The faces that tie for a font's style are the same design from more than
// one file: a Type 1 and an OpenType twin, or a family installed twice. Qt
// takes one of them; all are read, up to this many files.
constexpr qsizetype MaxFaceFiles = 4;

} // namespace

// The installed faces under each of their family names, as one
// configuration lists them. The faces are the configuration's own, which
// it keeps for as long as it lives: the index holds a reference to it.
class FaceSetup::FaceIndex
{
public:
    explicit FaceIndex(FcConfig *config)
        : m_config(FcConfigReference(config))
    {
        for (const FcSetName set : {FcSetSystem, FcSetApplication}) {
            const FcFontSet *faces = FcConfigGetFonts(config, set);
            for (int i = 0; faces && i < faces->nfont; ++i) {
                FcChar8 *family = nullptr;
                for (int n = 0; FcPatternGetString(faces->fonts[i], FC_FAMILY, n, &family) == FcResultMatch; ++n)
                    m_entries.push_back({reinterpret_cast<const char *>(family), faces->fonts[i]});
            }
        }
        std::stable_sort(m_entries.begin(), m_entries.end(), familyOrder);
    }

    const FcConfig *config() const { return m_config.get(); }

    // The faces listed under family, in the configuration's order.
    std::vector<FcPattern *> faces(const QByteArray &family) const
    {
        const auto [first, last] =
            std::equal_range(m_entries.begin(), m_entries.end(), Entry{family.constData(), nullptr}, familyOrder);
        std::vector<FcPattern *> found;
        for (auto entry = first; entry != last; ++entry) {
            if (std::find(found.begin(), found.end(), entry->face) == found.end())
                found.push_back(entry->face);
        }
        return found;
    }

private:
    struct Entry
    {
        const char *family;
        FcPattern *face;
    };
    static bool familyOrder(const Entry &a, const Entry &b) { return compareFontconfigNames(a.family, b.family) < 0; }

    FcConfigHandle m_config;
    std::vector<Entry> m_entries;
};

namespace {

// How far a face's value (a number, or a range for a variable face) is from
// the wanted one; a face that does not say counts as the default.
double distanceTo(FcPattern *face, const char *object, double wanted, double fallback)
{
    FcValue value;
    if (FcPatternGet(face, object, 0, &value) != FcResultMatch)
        return std::abs(fallback - wanted);
    switch (value.type) {
    case FcTypeInteger:
        return std::abs(value.u.i - wanted);
    case FcTypeDouble:
        return std::abs(value.u.d - wanted);
    case FcTypeRange: {
        double begin = 0;
        double end = 0;
        if (!FcRangeGetDouble(value.u.r, &begin, &end))
            return 0;
        return wanted < begin ? begin - wanted : wanted > end ? wanted - end : 0;
    }
    default:
        return std::abs(fallback - wanted);
    }
}

bool hasStyleName(FcPattern *face, const QByteArray &styleName)
{
    FcChar8 *style = nullptr;
    for (int n = 0; FcPatternGetString(face, FC_STYLE, n, &style) == FcResultMatch; ++n) {
        if (compareFontconfigNames(reinterpret_cast<const char *>(style), styleName.constData()) == 0)
            return true;
    }
    return false;
}

} // namespace

FaceSetup::FaceSetup(const FamilySet &drawable, FcConfig *installed, ProcessFontState *process)
    : m_drawable(drawable)
    , m_installed(installed)
    , m_process(process)
{
}

FaceSetup::~FaceSetup() = default;

FcConfig *FaceSetup::rulesOnlyConfig()
{
    if (!m_rulesRead) {
        m_rulesRead = true;
        m_rules = newRulesOnlyConfig();
    }
    return m_rules.get();
}

const FaceSetup::FaceIndex &FaceSetup::installedFaces()
{
    // The configuration that Qt read its fonts from, indexed once.
    if (!m_index)
        m_index = std::make_unique<FaceIndex>(m_installed);
    return *m_index;
}

QList<QByteArray> FaceSetup::familyFiles(const QString &family)
{
    QList<QByteArray> files;
    for (FcPattern *face : installedFaces().faces(withoutFoundryTag(family).toUtf8())) {
        FcChar8 *file = nullptr;
        if (FcPatternGetString(face, FC_FILE, 0, &file) != FcResultMatch)
            continue;
        const QByteArray path(reinterpret_cast<const char *>(file));
        if (!files.contains(path))
            files.append(path);
    }
    return files;
}

std::vector<FcPattern *> FaceSetup::installedFacesOf(const QByteArray &family)
{
    return installedFaces().faces(family);
}

// The faces of font's family that are nearest to its style, one for each
// file, in the order that Qt weighs a style: the style name where the font
// names one, then upright or slanted, then weight, then width. Like Qt, a
// font that asks for no width takes any.
FaceSetup::NearestFaces FaceSetup::nearestFaces(const QFont &font)
{
    const std::vector<FcPattern *> faces = installedFaces().faces(withoutFoundryTag(font.family()).toUtf8());
    const QByteArray styleName = font.styleName().toUtf8();
    const bool italic = font.style() != QFont::StyleNormal;
    const double weight = FcWeightFromOpenTypeDouble(font.weight());
    const bool anyWidth = font.stretch() == QFont::AnyStretch;

    const auto distance = [&](FcPattern *face) {
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(face, FC_SLANT, 0, &slant);
        return std::tuple(!styleName.isEmpty() && !hasStyleName(face, styleName),
                          italic != (slant != FC_SLANT_ROMAN),
                          distanceTo(face, FC_WEIGHT, weight, FC_WEIGHT_REGULAR),
                          anyWidth ? 0.0 : distanceTo(face, FC_WIDTH, font.stretch(), FC_WIDTH_NORMAL));
    };
    NearestFaces nearest;
    std::optional<decltype(distance(nullptr))> shortest;
    for (FcPattern *face : faces) {
        FcChar8 *file = nullptr;
        if (FcPatternGetString(face, FC_FILE, 0, &file) != FcResultMatch)
            continue;
        const auto d = distance(face);
        if (shortest && d > *shortest)
            continue;
        if (!shortest || d < *shortest)
            nearest = {};
        shortest = d;
        const QByteArray path(reinterpret_cast<const char *>(file));
        if (!nearest.files.contains(path) && nearest.files.size() < MaxFaceFiles) {
            nearest.files.append(path);
            nearest.faces.push_back(face);
        }
    }
    return nearest;
}

DirectFaces::Verdict FaceSetup::verdictFor(const QFont &font)
{
    return DirectFaces::verdictFor(font, nearestFaces(font).faces);
}

// Puts the faces of files, and only those, into the configuration. Reading
// a face file costs a fraction of a millisecond; the last files read stay.
bool FaceSetup::holdOnly(FcConfig *config, const QList<QByteArray> &files)
{
    if (files == m_held)
        return true;
    m_held.clear();
    FcConfigAppFontClear(config);
    for (const QByteArray &file : files) {
        if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8 *>(file.constData()))) {
            FcConfigAppFontClear(config);
            return false;
        }
    }
    m_held = files;
    return true;
}

void FaceSetup::keepFacesSetUp(const QFont &font)
{
    const QString key = font.key();
    if (m_kept.contains(key))
        return;
    setUpFaces(font, QStringView());
    // Where setUpFaces() left the font to Qt, Qt sets it up here.
    static_cast<void>(QFontMetricsF(font).height());
    m_kept.insert(key, font);
}

void FaceSetup::setUpFaces(const QFont &font, QStringView text, const QPaintDevice *device)
{
    // A font that Qt lacks would have Qt list fallbacks, and keep the list,
    // from whatever configuration is current.
    if (!m_process || !m_drawable.contains(font.family()))
        return;
    FcConfig *rules = rulesOnlyConfig();
    if (!rules)
        return;
    const NearestFaces nearest = nearestFaces(font);
    if (nearest.files.isEmpty() || !holdOnly(rules, nearest.files))
        return;

    const ProcessFontState::TemporaryConfig current(*m_process, rules);
    // Opened while the rules that Qt reads its settings from are current.
    if (m_openDirectly && DirectFaces::verdictFor(font, nearest.faces) == DirectFaces::Verdict::Direct
        && DirectFaces::open(font, nearest.faces.front(), device))
        ++m_directOpenings;
    // Measuring the text sets up a face for each script in it, and the
    // height one for the text that has none.
    const QFontMetricsF metrics(font, device);
    static_cast<void>(metrics.height());
    // A font that borrows glyphs would list the faces to borrow from out of
    // this configuration, and keep the list, if it met a glyph that its face
    // lacks here: it measures no text. Qt draws the other scripts of a face
    // that has Latin with the face set up for the height.
    if (font.styleStrategy() & QFont::NoFontMerging)
        static_cast<void>(metrics.horizontalAdvance(text.left(ScriptSampleLength).toString()));
}
