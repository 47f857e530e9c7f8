// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fonts/face_setup.h"
#include "fonts/face_watch.h"
#include "fonts/glyph_fallback.h"

#include <QFont>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

class ProcessFontState;
class QPaintDevice;

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

// Everything the program knows about the installed fonts: Qt's families,
// the names that stand in for families that are not installed, and the
// faces set up for drawing, and the faces that the program's text borrows
// glyphs from. It is read from the current fontconfig configuration when it
// is made, which is where the start-up reads the fonts; one is made by
// main(), with the process's font state, and handed to everything that
// draws or prints. One made without that state changes nothing outside
// itself: its text borrows glyphs through fontconfig's whole fallback list,
// Qt sets up its faces the slow way, and it hears of no face faults.
//
// Qt's font matching scans every installed family for each request it has
// not seen. A family it lacks, or one with substitutes, sends it through
// fontconfig's whole fallback list on top, checking every entry against
// every family: with 20,000 families installed some 10^8 name comparisons,
// and seconds, per face asked for. So every font the program asks Qt for
// names a family that Qt has, the fallback list is a short one (see
// GlyphFallback), and the answers that cost a fontconfig match are kept
// here.
class FontCatalogue
{
public:
    // The face of the program's own lines in its windows and on paper: the
    // headings, the captions and the sample line's notes.
    static inline const QString CaptionFamily = QStringLiteral("Arial");

    FontCatalogue();
    // process must outlive the catalogue.
    explicit FontCatalogue(ProcessFontState &process);
    FontCatalogue(const FontCatalogue &) = delete;
    FontCatalogue &operator=(const FontCatalogue &) = delete;

    // Qt's font families as its font database lists them. Qt rebuilds the
    // list on every QFontDatabase::families() call, which costs
    // milliseconds each time.
    const QStringList &qtFamilies() const { return m_qtFamilies; }
    // typefaceFamilies() of Qt's families.
    const QStringList &typefaces() const { return m_typefaces; }

    // Whether a QFont that names family gets drawn in that very family: Qt's
    // families and the plain names of their foundry-tagged twins, any case,
    // less Qt's generic aliases.
    bool draws(const QString &family) const;

    // The faces that stand in for family where it is not installed, best
    // first: its metric-compatible twin where it has one (Arial -> Liberation
    // Sans), then the face that fontconfig matches for the name. fontconfig's
    // match reads every installed face, so each name is asked about once.
    QStringList standInFamilies(const QString &family);

    // The family to ask Qt for to draw family: family itself when Qt has
    // it, else its first stand-in that Qt has.
    QString installedFamily(const QString &family);

    // A font of family's installed face that draws alone: a glyph that the
    // face lacks shows as the face's own missing-glyph mark. For samples.
    QFont standaloneFont(const QString &family);
    // The same for a font as it stands: its size, weight and slant are kept.
    QFont standaloneFont(QFont font);

    // A font of the installed face of font's family for the program's own
    // text and the user's: a glyph that the face lacks is borrowed from
    // another installed face. Its size, weight and slant are kept.
    QFont textFont(QFont font);

    // The configuration that Qt read the installed fonts from: the one to
    // match names and faces against, since the current one holds only the
    // faces that text borrows from.
    FcConfig *installedConfig() const { return m_fallback.installedConfig(); }
    // The families that text borrows glyphs from, best first.
    const QStringList &fallbackFamilies() const { return m_fallback.families(); }

    // See FaceSetup.
    FaceSetup &faceSetup() { return m_faceSetup; }
    void setUpFaces(const QFont &font, QStringView text, const QPaintDevice *device = nullptr);
    void keepFacesSetUp(const QFont &font);

    // Whether family can still be drawn in its own face, its files being
    // removed, updated and damaged while the program runs (see FaceWatch);
    // the list itself stays as it was read. Once not, never again.
    bool faceAvailable(const QString &family);
    // Whether Qt draws font on device (the screen when null) in the face of
    // its own family: Qt draws a face whose file it cannot read in the next
    // best one, under the same name.
    bool drawsInOwnFace(const QFont &font, const QPaintDevice *device = nullptr) const;
    // For a family that Qt, asked for it, draws in another face.
    void setFaceUnavailable(const QString &family) { m_faceWatch.setUnusable(family); }
    // Tells when a face file faulted while it was drawn.
    FaceWatch &faceWatch() { return m_faceWatch; }

private:
    explicit FontCatalogue(ProcessFontState *process);

    // First: files that change from the moment the list is read on have
    // changed under the program.
    FaceWatch m_faceWatch;
    QStringList m_qtFamilies;
    QStringList m_typefaces;
    FamilySet m_drawable;
    QHash<QString, QStringList> m_standIns;
    QHash<QString, QString> m_installed;
    // Before the face setup, which reads the installed configuration that
    // it holds.
    GlyphFallback m_fallback;
    FaceSetup m_faceSetup;
};
