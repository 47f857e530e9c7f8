// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fonts/printer_fonts.h"

#include "fonts/font_catalogue.h"
#include "fonts/fontconfig_query.h"

#include <QFont>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace {

using Pattern = FcPatternHandle;

// What fontconfig makes of a name, as fc-match does it.
struct FontconfigMatch
{
    // The family of the face it matches.
    QString family;
    // The name's own family and the aliases configured to stand for it
    // (metric twins and the like), as opposed to the generic fallbacks that
    // every name gets.
    QStringList strongFamilies;
};

FontconfigMatch matchName(FcConfig *config, const QString &name)
{
    const QByteArray utf8 = name.toUtf8();

    // FcNameParse reads "Arial:bold" as fc-match does; a name it cannot
    // parse is taken as a plain family.
    Pattern pattern(FcNameParse(reinterpret_cast<const FcChar8 *>(utf8.constData())));
    if (!pattern) {
        pattern.reset(FcPatternCreate());
        addString(pattern.get(), FC_FAMILY, name);
    }
    substitute(config, pattern.get());

    FontconfigMatch match;
    FcValue value;
    FcValueBinding binding;
    for (int i = 0; FcPatternGetWithBinding(pattern.get(), FC_FAMILY, i, &value, &binding) == FcResultMatch;
         ++i) {
        if (binding == FcValueBindingStrong && value.type == FcTypeString)
            match.strongFamilies.append(QString::fromUtf8(reinterpret_cast<const char *>(value.u.s)));
    }
    match.family = stringOf(bestFace(config, pattern.get()).get(), FC_FAMILY);
    return match;
}

// PostScript family parts that fontconfig knows only under the typeface's
// full name, and that name. fontconfig takes everything after a '-' for a
// size, so the family part has to be given to it on its own.
struct FamilyAbbreviation
{
    QLatin1String postScript;
    QLatin1String family;
};

constexpr FamilyAbbreviation FamilyAbbreviations[] = {
    {QLatin1String("AvantGarde"), QLatin1String("ITC Avant Garde Gothic")},
    {QLatin1String("Bookman"), QLatin1String("ITC Bookman")},
    {QLatin1String("Helvetica-Narrow"), QLatin1String("Helvetica Narrow")},
    {QLatin1String("NewCenturySchlbk"), QLatin1String("New Century Schoolbook")},
    {QLatin1String("ZapfChancery"), QLatin1String("ITC Zapf Chancery")},
    {QLatin1String("ZapfDingbats"), QLatin1String("ITC Zapf Dingbats")},
};

QString expandedFamily(const QString &postScriptFamily)
{
    for (const FamilyAbbreviation &abbreviation : FamilyAbbreviations) {
        if (postScriptFamily == abbreviation.postScript)
            return abbreviation.family;
    }
    return postScriptFamily;
}

// What a word of a PostScript style part ("Demi", "BoldOblique") asks of a
// face; NotAsked leaves that property to fontconfig's default.
constexpr int NotAsked = -1;

struct StyleWord
{
    QLatin1String word;
    int weight = NotAsked;
    int slant = NotAsked;
    int width = NotAsked;
};

constexpr StyleWord StyleWords[] = {
    {QLatin1String("Thin"), FC_WEIGHT_THIN},
    {QLatin1String("ExtraLight"), FC_WEIGHT_EXTRALIGHT},
    {QLatin1String("UltraLight"), FC_WEIGHT_ULTRALIGHT},
    {QLatin1String("Light"), FC_WEIGHT_LIGHT},
    {QLatin1String("Book"), FC_WEIGHT_BOOK},
    {QLatin1String("Regular"), FC_WEIGHT_REGULAR},
    {QLatin1String("Normal"), FC_WEIGHT_NORMAL},
    {QLatin1String("Roman"), FC_WEIGHT_REGULAR, FC_SLANT_ROMAN},
    {QLatin1String("Medium"), FC_WEIGHT_MEDIUM},
    {QLatin1String("Demi"), FC_WEIGHT_DEMIBOLD},
    {QLatin1String("DemiBold"), FC_WEIGHT_DEMIBOLD},
    {QLatin1String("SemiBold"), FC_WEIGHT_SEMIBOLD},
    {QLatin1String("Bold"), FC_WEIGHT_BOLD},
    {QLatin1String("ExtraBold"), FC_WEIGHT_EXTRABOLD},
    {QLatin1String("UltraBold"), FC_WEIGHT_ULTRABOLD},
    {QLatin1String("Black"), FC_WEIGHT_BLACK},
    {QLatin1String("Heavy"), FC_WEIGHT_HEAVY},
    {QLatin1String("Italic"), NotAsked, FC_SLANT_ITALIC},
    {QLatin1String("Oblique"), NotAsked, FC_SLANT_OBLIQUE},
    {QLatin1String("Narrow"), NotAsked, NotAsked, FC_WIDTH_CONDENSED},
    {QLatin1String("Condensed"), NotAsked, NotAsked, FC_WIDTH_CONDENSED},
};

// A PostScript font name taken apart: "Times-BoldItalic" is the family
// "Times" in its bold italic face.
struct PostScriptName
{
    QString family;
    int weight = NotAsked;
    int slant = NotAsked;
    int width = NotAsked;
};

// Reads a style part made of style words only, the longest word first where
// one starts another ("DemiBold", not "Demi" and "Bold"). Anything else is
// no style part, and the name stays whole.
std::optional<PostScriptName> styleOf(QStringView part)
{
    if (part.isEmpty())
        return std::nullopt;
    PostScriptName style;
    while (!part.isEmpty()) {
        const StyleWord *found = nullptr;
        for (const StyleWord &word : StyleWords) {
            if (part.startsWith(word.word) && (!found || word.word.size() > found->word.size()))
                found = &word;
        }
        if (!found)
            return std::nullopt;
        for (auto [asked, into] : {std::pair{found->weight, &style.weight}, std::pair{found->slant, &style.slant},
                                   std::pair{found->width, &style.width}}) {
            if (asked != NotAsked)
                *into = asked;
        }
        part = part.mid(found->word.size());
    }
    return style;
}

PostScriptName parsePostScriptName(const QString &name)
{
    PostScriptName parsed{name};
    // "Helvetica-Narrow" is a family in itself, not Helvetica's narrow face.
    if (expandedFamily(name) == name) {
        const qsizetype dash = name.lastIndexOf(QLatin1Char('-'));
        if (dash > 0) {
            if (const std::optional<PostScriptName> style = styleOf(QStringView(name).mid(dash + 1))) {
                parsed = *style;
                parsed.family = name.left(dash);
            }
        }
    }
    parsed.family = expandedFamily(parsed.family);
    return parsed;
}

// The face fontconfig matches for a resident name: its family part, with the
// weight, slant and width its style part asks for.
PrinterFace matchResidentName(FcConfig *config, const QString &name)
{
    const PostScriptName parsed = parsePostScriptName(name);
    const Pattern pattern(FcPatternCreate());
    addString(pattern.get(), FC_FAMILY, parsed.family);
    for (auto [object, value] : {std::pair{FC_WEIGHT, parsed.weight}, std::pair{FC_SLANT, parsed.slant},
                                 std::pair{FC_WIDTH, parsed.width}}) {
        if (value != NotAsked)
            FcPatternAddInteger(pattern.get(), object, value);
    }
    substitute(config, pattern.get());
    const Pattern font = bestFace(config, pattern.get());

    PrinterFace face;
    face.family = stringOf(font.get(), FC_FAMILY);
    face.style = stringOf(font.get(), FC_STYLE);
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    if (font) {
        FcPatternGetInteger(font.get(), FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(font.get(), FC_SLANT, 0, &slant);
    }
    face.weight = std::clamp(FcWeightToOpenType(weight), 1, 1000);
    face.italic = slant != FC_SLANT_ROMAN;
    return face;
}

} // namespace

QFont PrinterFonts::font(const PrinterFace &face, double points, bool addBold, bool addItalic)
{
    // Each sample shows the face itself: a glyph that it lacks is not
    // borrowed from another face. The surface lets the program's own lines
    // borrow on top of this.
    QFont font = m_catalogue.standaloneFont(face.family);
    font.setPointSizeF(points);
    // The face is the font: FontBold and FontItalic can make it bolder or
    // slanted, never lighter or upright.
    const int drawnWeight = addBold ? std::max(face.weight, static_cast<int>(QFont::Bold)) : face.weight;
    const bool drawnItalic = face.italic || addItalic;
    font.setWeight(static_cast<QFont::Weight>(drawnWeight));
    font.setItalic(drawnItalic);
    // The style name pins the very face that was matched, where a weight
    // alone could pick a neighbour of it; with something added, the weight
    // and slant choose.
    if (drawnWeight == face.weight && drawnItalic == face.italic)
        font.setStyleName(face.style);
    return font;
}

PrinterFonts::PrinterFonts(FontCatalogue &catalogue, const QStringList &residentNames)
    : m_catalogue(catalogue)
    , m_names(catalogue.typefaces() + residentNames)
{
    const QStringList &families = catalogue.typefaces();
    m_families.reserve(families.size());
    for (const QString &family : families)
        m_families.insert(family.toCaseFolded(), family);
    m_resident = QSet<QString>(residentNames.cbegin(), residentNames.cend());
}

std::optional<PrinterFace> PrinterFonts::faceFor(const QString &name)
{
    auto answer = m_answers.constFind(name);
    if (answer == m_answers.cend())
        answer = m_answers.insert(name, resolve(name));
    if (answer->family.isEmpty())
        return std::nullopt;
    return *answer;
}

PrinterFace PrinterFonts::resolve(const QString &name) const
{
    PrinterFace face;
    face.family = m_families.value(name.toCaseFolded());
    if (face.family.isEmpty()) {
        if (m_resident.contains(name)) {
            face = matchResidentName(m_catalogue.installedConfig(), name);
        } else {
            const FontconfigMatch match = matchName(m_catalogue.installedConfig(), name);
            if (match.strongFamilies.contains(match.family, Qt::CaseInsensitive))
                face.family = match.family;
        }
    }
    // Qt finds every family that it lists, foundry-tagged twins under their
    // plain name too; any other would be drawn in a fallback.
    return !face.family.isEmpty() && m_catalogue.draws(face.family) ? face : PrinterFace();
}
