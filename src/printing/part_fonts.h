// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fonts/printer_fonts.h"

#include <QCoreApplication>
#include <QFont>
#include <QHash>
#include <QString>

class FontCatalogue;
class PdfDocument;

// A font as the surface holds it.
struct FontKey
{
    PrinterFace face;
    double points;
    bool bold;
    bool italic;
    bool borrowGlyphs;

    bool operator==(const FontKey &) const = default;
};

size_t qHash(const FontKey &key, size_t seed = 0);

// A font ready to draw with on one part, with the measures each line needs.
struct DeviceFont
{
    QFont font;
    double ascentDots;
    double lineHeightTwips;
    // False where Qt draws the font in another face than its own: the
    // face's file could not be read.
    bool ownFace;
};

// The face of lines printed before any FontName write: Courier New's
// metric twin where there is one, else the desktop's fixed-pitch face.
PrinterFace initialFace(PrinterFonts &printerFonts, FontCatalogue &catalogue);

// The fonts that the part being drawn draws with, each set up once on the
// part's paint device.
//
// Qt's PDF engine keeps every face it drew with until the part ends, so a
// part's fonts are let go of together, with the part.
class PartFonts
{
    Q_DECLARE_TR_FUNCTIONS(PartFonts)

public:
    // All three must outlive this object.
    PartFonts(FontCatalogue &catalogue, PrinterFonts &printerFonts, PdfDocument &pdf, double dotsPerTwip);

    // The font that a line in font draws in on the part: its own, or where
    // that font's face is gone or changed, the caption face, and then text
    // says so.
    const DeviceFont &lineFont(FontKey font, QString &text);

    // Whether a face drawn with in the part has gone or changed since.
    bool facesChanged();

    qsizetype count() const { return m_fonts.size(); }

    // For a fresh part: the fonts set up on the one before are no use there.
    void clear() { m_fonts.clear(); }

private:
    // text: the first line drawn in the font.
    const DeviceFont &deviceFont(const FontKey &key, const QString &text);
    // The face of a line saying that a face is not available.
    PrinterFace captionFace();

    FontCatalogue &m_catalogue;
    PrinterFonts &m_printerFonts;
    PdfDocument &m_pdf;
    double m_dotsPerTwip;
    QHash<FontKey, DeviceFont> m_fonts;
};
