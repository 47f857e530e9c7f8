// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fonts/font_catalogue.h"

#include "fonts/fontconfig_query.h"
#include "fonts/process_font_state.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <fontconfig/fontconfig.h>

namespace {

const QStringList GenericAliases = {QStringLiteral("Sans Serif"), QStringLiteral("Serif"),
                                    QStringLiteral("Monospace")};

// The metric-compatible faces of the window designs' fonts: the same widths,
// so the captions fill their controls as designed.
struct MetricTwin
{
    QLatin1String family;
    QLatin1String twin;
};

constexpr MetricTwin MetricTwins[] = {
    {QLatin1String("Arial"), QLatin1String("Liberation Sans")},
    {QLatin1String("Times New Roman"), QLatin1String("Liberation Serif")},
    {QLatin1String("MS Sans Serif"), QLatin1String("Liberation Sans")},
};

// Qt's generic aliases have no face of their own: Qt finds theirs through
// the fallback list.
bool isGenericAlias(const QString &family)
{
    return GenericAliases.contains(family);
}

} // namespace

QString withoutFoundryTag(const QString &family)
{
    // Qt writes a twin as "Family [Foundry]"; the foundry may carry blanks ("URW ").
    if (!family.endsWith(QLatin1Char(']')))
        return family;
    const qsizetype open = family.lastIndexOf(QLatin1String(" ["));
    return open > 0 ? family.left(open) : family;
}

QStringList typefaceFamilies(const QStringList &qtFamilies)
{
    QStringList result;
    result.reserve(qtFamilies.size());
    QSet<QString> seen;
    for (const QString &family : qtFamilies) {
        if (isGenericAlias(family))
            continue;
        const QString plain = withoutFoundryTag(family);
        if (plain != family) {
            if (seen.contains(plain))
                continue;
            seen.insert(plain);
        }
        result.append(plain);
    }
    return result;
}

FamilySet::FamilySet(const QStringList &families)
{
    m_folded.reserve(families.size());
    for (const QString &family : families)
        m_folded.insert(family.toCaseFolded());
}

bool FamilySet::contains(const QString &family) const
{
    return m_folded.contains(family.toCaseFolded());
}

FontCatalogue::FontCatalogue()
    : FontCatalogue(nullptr)
{
}

FontCatalogue::FontCatalogue(ProcessFontState &process)
    : FontCatalogue(&process)
{
}

FontCatalogue::FontCatalogue(ProcessFontState *process)
    : m_faceWatch(process)
    , m_qtFamilies(QFontDatabase::families())
    , m_typefaces(typefaceFamilies(m_qtFamilies))
    , m_fallback(process ? process->installedConfig() : FcConfigGetCurrent())
    , m_faceSetup(m_drawable, m_fallback.installedConfig(), process)
{
    // QFont("C059") draws the face that Qt lists as "C059 [urw]".
    QStringList drawable;
    drawable.reserve(m_qtFamilies.size() + m_typefaces.size());
    for (const QString &family : m_qtFamilies) {
        if (!isGenericAlias(family))
            drawable.append(family);
    }
    drawable += m_typefaces;
    m_drawable = FamilySet(drawable);

    // Qt has read its fonts: from here on its lookups of faces to borrow
    // glyphs from see only those.
    if (process)
        m_fallback.install(installedFamily(CaptionFamily), m_faceSetup, *process);
}

bool FontCatalogue::draws(const QString &family) const
{
    return m_drawable.contains(family);
}

QStringList FontCatalogue::standInFamilies(const QString &family)
{
    // A click on a name that only the printer has asks for Arial's
    // stand-ins every time.
    auto answer = m_standIns.constFind(family);
    if (answer != m_standIns.cend())
        return *answer;
    QStringList standIns;
    for (const MetricTwin &twin : MetricTwins) {
        if (family.compare(twin.family, Qt::CaseInsensitive) == 0)
            standIns.append(twin.twin);
    }
    const QString matched = matchedFamily(installedConfig(), family);
    if (!matched.isEmpty() && !standIns.contains(matched, Qt::CaseInsensitive))
        standIns.append(matched);
    return *m_standIns.insert(family, standIns);
}

QString FontCatalogue::installedFamily(const QString &family)
{
    auto answer = m_installed.constFind(family);
    if (answer != m_installed.cend())
        return *answer;
    QString drawn = family;
    if (!draws(family)) {
        for (const QString &standIn : standInFamilies(family)) {
            if (draws(standIn)) {
                drawn = standIn;
                break;
            }
        }
    }
    return *m_installed.insert(family, drawn);
}

QFont FontCatalogue::standaloneFont(const QString &family)
{
    QFont font;
    font.setFamily(family);
    return standaloneFont(font);
}

QFont FontCatalogue::standaloneFont(QFont font)
{
    font.setFamilies({installedFamily(font.family())});
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QFont FontCatalogue::textFont(QFont font)
{
    font = standaloneFont(std::move(font));
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

void FontCatalogue::setUpFaces(const QFont &font, QStringView text, const QPaintDevice *device)
{
    m_faceSetup.setUpFaces(font, text, device);
}

bool FontCatalogue::faceAvailable(const QString &family)
{
    return m_faceWatch.isUsable(family, m_faceSetup.familyFiles(family));
}

bool FontCatalogue::drawsInOwnFace(const QFont &font, const QPaintDevice *device) const
{
    const QFontInfo drawn(device ? QFont(font, device) : font);
    return withoutFoundryTag(drawn.family()).compare(withoutFoundryTag(font.family()), Qt::CaseInsensitive) == 0;
}

void FontCatalogue::keepFacesSetUp(const QFont &font)
{
    m_faceSetup.keepFacesSetUp(font);
}
