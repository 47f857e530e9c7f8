// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// Qt's font families, read from the font database once. Qt rebuilds the list
// on every QFontDatabase::families() call, which costs milliseconds each time.
const QStringList &installedFontFamilies();

// The installed families as a typographer names them, in Qt's order:
// - Qt's generic aliases ("Sans Serif", "Serif", "Monospace") are dropped,
//   since they are no faces of their own but stand for one of the others;
// - foundry-tagged twins ("C059 [urw]", "C059 [UKWN]": the same design from
//   a Type 1 and an OpenType file) are folded into one plain family name.
QStringList typefaceFamilies(const QStringList &qtFamilies);

// "C059 [urw]" -> "C059"; a name without a foundry tag is returned as is.
QString withoutFoundryTag(const QString &family);

// A case-insensitive set of family names.
class FamilySet
{
public:
    FamilySet() = default;
    explicit FamilySet(const QStringList &families);
    bool contains(const QString &family) const;

private:
    QSet<QString> m_folded;
};
