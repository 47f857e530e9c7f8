#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// The printer's font list and the face each name prints in.
//
// A name prints when it is
// - a family of the print path (Qt's font database, any case), or
// - a printer-resident name from the list (a PPD name such as
//   "AvantGarde-Book"), which prints in the face fontconfig matches for it,
//   as fc-match shows it, or
// - a name that fontconfig binds strongly to an installed family, as it binds
//   the metric twins "Arial" to Liberation Sans.
// fontconfig's closest match for any other name is a guess, and printing a
// guess would pass one font off as another, so such names are refused; so is
// every face that Qt would draw in a fallback instead.
class PrinterFonts
{
public:
    // families: the print path's families in Qt's order, as
    // typefaceFamilies() gives them; residentNames: the PPD's names.
    PrinterFonts(const QStringList &families, const QStringList &residentNames);

    // The families followed by the resident names, exactly as given.
    const QStringList &names() const { return m_names; }

    // The family that name prints in. Throws PrinterError for a name the
    // printer cannot print. Answers are kept: the printing loop asks for the
    // same few names over and over.
    QString familyFor(const QString &name);

private:
    QString resolve(const QString &name) const;

    QStringList m_names;
    // Case-folded family -> the family as Qt spells it.
    QHash<QString, QString> m_families;
    QSet<QString> m_resident;
    // An empty family marks a refused name.
    QHash<QString, QString> m_answers;
};
