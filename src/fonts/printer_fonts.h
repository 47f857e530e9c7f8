// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

class FontCatalogue;

// The face a name prints in. A family prints in its regular face; a resident
// name in its own weight and slant, which FontBold and FontItalic can only
// add to.
struct PrinterFace
{
    QString family;
    // The face's style as the font database names it ("Bold Italic"), or
    // empty for the family's regular face.
    QString style;
    // On QFont's scale, 1 to 1000.
    int weight = QFont::Normal;
    bool italic = false;

    bool operator==(const PrinterFace &) const = default;
};

// The printer's font list and the face each name prints in.
//
// A name prints when it is
// - a family of the print path (Qt's font database, any case), or
// - a printer-resident name from the list (a PostScript name such as
//   "AvantGarde-Book" or "Times-BoldItalic" from the PPD), which prints in
//   the face fontconfig matches for its family and style, or
// - a name that fontconfig binds strongly to an installed family, as it binds
//   the metric twins "Arial" to Liberation Sans.
// fontconfig's closest match for any other name is a guess, and printing a
// guess would pass one font off as another, so such names are refused; so is
// every face that Qt would draw in a fallback instead.
class PrinterFonts
{
public:
    // The catalogue's typeface families, then residentNames, the PPD's
    // names. The catalogue must outlive this object.
    PrinterFonts(FontCatalogue &catalogue, const QStringList &residentNames);

    // The families followed by the resident names, exactly as given.
    const QStringList &names() const { return m_names; }

    // The face that name prints in, or nothing for a name the printer
    // cannot print. Answers are kept: the printing loop asks for the same
    // few names over and over.
    std::optional<PrinterFace> faceFor(const QString &name);

    // The font to draw face in at a size, with FontBold and FontItalic on top.
    QFont font(const PrinterFace &face, double points, bool addBold, bool addItalic);

private:
    PrinterFace resolve(const QString &name) const;

    FontCatalogue &m_catalogue;
    QStringList m_names;
    // Case-folded family -> the family as Qt spells it.
    QHash<QString, QString> m_families;
    QSet<QString> m_resident;
    // An empty family marks a refused name.
    QHash<QString, PrinterFace> m_answers;
};
