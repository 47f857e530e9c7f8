// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "printing/part_fonts.h"

#include "fonts/font_catalogue.h"
#include "printing/pdf_document.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPdfWriter>

#include <optional>

namespace {

const QString InitialFontName = QStringLiteral("Courier New");

// What a line says on paper in place of a face whose files were removed,
// updated or damaged since the list was read.
constexpr const char *NotAvailableText = QT_TRANSLATE_NOOP("PartFonts", "Font Not Available");

} // namespace

size_t qHash(const FontKey &key, size_t seed)
{
    return qHashMulti(seed, key.face.family, key.face.style, key.face.weight, key.face.italic, key.points, key.bold,
                      key.italic, key.borrowGlyphs);
}

PrinterFace initialFace(PrinterFonts &printerFonts, FontCatalogue &catalogue)
{
    if (const std::optional<PrinterFace> face = printerFonts.faceFor(InitialFontName))
        return *face;
    PrinterFace fixedPitch;
    fixedPitch.family =
        QFontInfo(catalogue.standaloneFont(QFontDatabase::systemFont(QFontDatabase::FixedFont))).family();
    return fixedPitch;
}

PartFonts::PartFonts(FontCatalogue &catalogue, PrinterFonts &printerFonts, PdfDocument &pdf, double dotsPerTwip)
    : m_catalogue(catalogue), m_printerFonts(printerFonts), m_pdf(pdf), m_dotsPerTwip(dotsPerTwip)
{
}

const DeviceFont &PartFonts::lineFont(FontKey font, QString &text)
{
    if (m_catalogue.faceAvailable(font.face.family)) {
        const DeviceFont &own = deviceFont(font, text);
        if (own.ownFace)
            return own;
        m_catalogue.setFaceUnavailable(font.face.family);
    }
    font.face = captionFace();
    // The program's own note, in the user's language.
    font.borrowGlyphs = true;
    text = tr(NotAvailableText);
    return deviceFont(font, text);
}

bool PartFonts::facesChanged()
{
    for (auto font = m_fonts.cbegin(); font != m_fonts.cend(); ++font) {
        if (font->ownFace && !m_catalogue.faceAvailable(font.key().face.family))
            return true;
    }
    return false;
}

const DeviceFont &PartFonts::deviceFont(const FontKey &key, const QString &text)
{
    auto found = m_fonts.constFind(key);
    if (found != m_fonts.cend())
        return *found;
    QFont font = m_printerFonts.font(key.face, key.points, key.bold, key.italic);
    if (key.borrowGlyphs)
        font = m_catalogue.textFont(font);
    QPdfWriter &device = m_pdf.device();
    m_catalogue.setUpFaces(font, text, &device);
    const QFontMetricsF metrics(font, &device);
    const bool ownFace = m_catalogue.drawsInOwnFace(font, &device);
    return *m_fonts.insert(key, {font, metrics.ascent(), metrics.lineSpacing() / m_dotsPerTwip, ownFace});
}

PrinterFace PartFonts::captionFace()
{
    if (const std::optional<PrinterFace> face = m_printerFonts.faceFor(FontCatalogue::CaptionFamily))
        return *face;
    return initialFace(m_printerFonts, m_catalogue);
}
