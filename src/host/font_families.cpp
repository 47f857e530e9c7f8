// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "host/font_families.h"

#include "host/fontconfig_handles.h"

#include <QFontDatabase>
#include <QHash>

#include <fontconfig/fontconfig.h>

#include <memory>

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

// The family of the face that fontconfig matches for a family name, with
// its aliases and defaults applied as fc-match applies them.
QString fontconfigFamily(const QString &family)
{
    const FcPatternHandle pattern(FcPatternCreate());
    const QByteArray utf8 = family.toUtf8();
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8 *>(utf8.constData()));
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const FcPatternHandle face(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8 *matched = nullptr;
    if (!face || FcPatternGetString(face.get(), FC_FAMILY, 0, &matched) != FcResultMatch)
        return QString();
    return QString::fromUtf8(reinterpret_cast<const char *>(matched));
}

} // namespace

const QStringList &installedFontFamilies()
{
    static const QStringList families = QFontDatabase::families();
    return families;
}

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
        if (GenericAliases.contains(family))
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

const FamilySet &drawableFamilies()
{
    // QFont("C059") draws the face that Qt lists as "C059 [urw]". Qt's
    // generic aliases have no face of their own: Qt finds theirs through
    // the fallback list.
    static const FamilySet families = [] {
        QStringList names;
        for (const QString &family : installedFontFamilies()) {
            if (GenericAliases.contains(family))
                continue;
            names.append(family);
            names.append(withoutFoundryTag(family));
        }
        return FamilySet(names);
    }();
    return families;
}

QStringList standInFamilies(const QString &family)
{
    // fontconfig's match reads every installed face: a click on a name that
    // only the printer has asks for Arial's stand-ins every time.
    static QHash<QString, QStringList> answers;
    auto answer = answers.constFind(family);
    if (answer != answers.cend())
        return *answer;
    QStringList standIns;
    for (const MetricTwin &twin : MetricTwins) {
        if (family.compare(twin.family, Qt::CaseInsensitive) == 0)
            standIns.append(twin.twin);
    }
    const QString matched = fontconfigFamily(family);
    if (!matched.isEmpty() && !standIns.contains(matched, Qt::CaseInsensitive))
        standIns.append(matched);
    return *answers.insert(family, standIns);
}

QString installedFamily(const QString &family)
{
    static QHash<QString, QString> answers;
    auto answer = answers.constFind(family);
    if (answer != answers.cend())
        return *answer;
    QString drawn = family;
    if (!drawableFamilies().contains(family)) {
        for (const QString &standIn : standInFamilies(family)) {
            if (drawableFamilies().contains(standIn)) {
                drawn = standIn;
                break;
            }
        }
    }
    return *answers.insert(family, drawn);
}

QFont standaloneFont(const QString &family)
{
    QFont font;
    font.setFamily(family);
    return standaloneFont(font);
}

QFont standaloneFont(QFont font)
{
    font.setFamilies({installedFamily(font.family())});
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}
