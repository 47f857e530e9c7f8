// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "host/font_families.h"

#include <QFontDatabase>

namespace {

const QStringList GenericAliases = {QStringLiteral("Sans Serif"), QStringLiteral("Serif"),
                                    QStringLiteral("Monospace")};

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
