// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fonts/direct_faces.h"

#include "fonts/font_catalogue.h"

#include <QFile>
#include <QPaintDevice>

// Qt has no public way to open a face from its file in a way that its PDF
// writer embeds as text, nor to tell its font cache of one: this file is
// the one place that reaches into Qt's own font classes, which the package
// pins to the Qt release it was built with.
#include <QtGui/private/qfont_p.h>
#include <QtGui/private/qfontengine_p.h>
#include <QtGui/private/qfreetypefontdatabase_p.h>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformintegration.h>

#include <fontconfig/fontconfig.h>

#include <cmath>

namespace {

QFont::Style styleOf(FcPattern *face)
{
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(face, FC_SLANT, 0, &slant);
    return slant == FC_SLANT_ROMAN    ? QFont::StyleNormal
           : slant == FC_SLANT_ITALIC ? QFont::StyleItalic
                                      : QFont::StyleOblique;
}

double weightOf(FcPattern *face)
{
    double weight = FC_WEIGHT_REGULAR;
    FcPatternGetDouble(face, FC_WEIGHT, 0, &weight);
    return FcWeightToOpenTypeDouble(weight);
}

bool isPlainOutline(FcPattern *face)
{
    FcBool scalable = FcFalse;
    FcBool variable = FcFalse;
    int index = 0;
    FcPatternGetBool(face, FC_SCALABLE, 0, &scalable);
    FcPatternGetBool(face, FC_VARIABLE, 0, &variable);
    FcPatternGetInteger(face, FC_INDEX, 0, &index);
    // An index above 0xffff names an instance of a variable face.
    return scalable && !variable && index >= 0 && index <= 0xffff;
}

} // namespace

DirectFaces::Verdict DirectFaces::verdictFor(const QFont &font, const std::vector<FcPattern *> &faces)
{
    if (!(font.styleStrategy() & QFont::NoFontMerging))
        return Verdict::BorrowsGlyphs;
    // Qt tries a family's substitutes after it.
    if (faces.size() != 1 || font.families().size() != 1 || withoutFoundryTag(font.family()) != font.family()
        || !QFont::substitutes(font.family()).isEmpty())
        return Verdict::NotOneFace;
    FcPattern *face = faces.front();
    if (!isPlainOutline(face))
        return Verdict::NotPlainOutline;
    // Qt slants an upright face for a slanted font, and thickens a face
    // lighter than bold for a bold one; a face heavier, lighter or more
    // slanted than asked for it draws as it is.
    const bool slanted = font.style() != QFont::StyleNormal && styleOf(face) == QFont::StyleNormal;
    const bool thickened = font.weight() >= QFont::Bold && weightOf(face) < double(QFont::Bold);
    if (slanted || thickened)
        return Verdict::SyntheticStyle;
    return Verdict::Direct;
}

bool DirectFaces::open(const QFont &font, FcPattern *face, const QPaintDevice *device)
{
    auto *faceDatabase =
        dynamic_cast<QFreeTypeFontDatabase *>(QGuiApplicationPrivate::platformIntegration()->fontDatabase());
    FcChar8 *file = nullptr;
    int index = 0;
    if (!faceDatabase || FcPatternGetString(face, FC_FILE, 0, &file) != FcResultMatch)
        return false;
    FcPatternGetInteger(face, FC_INDEX, 0, &index);

    // The request exactly as Qt makes it of a font measured or drawn on
    // device, which is its key in the font cache.
    const int dpi = device ? device->logicalDpiY() : qt_defaultDpi();
    QFontDef request = QFontPrivate::get(font)->request;
    if (request.pixelSize == -1)
        request.pixelSize = qRound(std::floor(request.pointSize * dpi / 72 * 100 + 0.5) / 100);
    if (request.pointSize < 0)
        request.pointSize = request.pixelSize * 72.0 / dpi;
    const QFontCache::Key key(request, QChar::Script_Common, false);
    QFontCache *cache = QFontCache::instance();
    if (cache->findEngine(key))
        return true;

    FontFile handle{QFile::decodeName(reinterpret_cast<const char *>(file)), index};
    QFontEngine *engine = faceDatabase->fontEngine(request, &handle);
    if (!engine)
        return false;
    // What Qt says of a face that it found itself: the face's own family,
    // weight, slant and pitch, drawn at its natural width.
    int spacing = FC_PROPORTIONAL;
    FcPatternGetInteger(face, FC_SPACING, 0, &spacing);
    engine->isSmoothlyScalable = true;
    engine->fontDef.families = QStringList(font.family());
    engine->fontDef.weight = qRound(weightOf(face));
    engine->fontDef.style = styleOf(face);
    engine->fontDef.stretch = QFont::Unstretched;
    engine->fontDef.fixedPitch = spacing >= FC_MONO;
    engine->fontDef.ignorePitch = false;
    // A font that draws alone takes the same face for every script, so Qt
    // asks for the face of no script in particular first.
    cache->insertEngine(key, engine);
    return true;
}
