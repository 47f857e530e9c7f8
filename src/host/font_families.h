// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
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

// Qt's families and the plain names of their foundry-tagged twins, less
// Qt's generic aliases: the families that a QFont can name and get drawn in
// that very family.
const FamilySet &drawableFamilies();

// The faces that stand in for family where it is not installed, best first:
// its metric-compatible twin where it has one (Arial -> Liberation Sans),
// then the face that fontconfig matches for the name. Worked out once per
// name.
QStringList standInFamilies(const QString &family);

// The family to ask Qt for to draw family: family itself when Qt has it,
// else its first stand-in that Qt has. Worked out once per name.
//
// Qt's font matching scans every installed family on each request it has
// not seen. A family it lacks, or one that has substitutes, sends it
// through fontconfig's whole fallback list on top, checking every entry
// against every family: with 20,000 families installed that is some 10^8
// name comparisons, and seconds, per face asked for.
QString installedFamily(const QString &family);

// A font of family's installed face that draws alone: a glyph that the face
// lacks is not looked for in the other faces, which would cost the same
// walk through the fallback list.
QFont standaloneFont(const QString &family);
// The same for a font as it stands: its size, weight and slant are kept.
QFont standaloneFont(QFont font);
