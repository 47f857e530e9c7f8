// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fonts/fontconfig_query.h"

#include <QByteArray>

QString stringOf(const FcPattern *pattern, const char *object)
{
    FcChar8 *value = nullptr;
    if (!pattern || FcPatternGetString(pattern, object, 0, &value) != FcResultMatch)
        return QString();
    return QString::fromUtf8(reinterpret_cast<const char *>(value));
}

void addString(FcPattern *pattern, const char *object, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    FcPatternAddString(pattern, object, reinterpret_cast<const FcChar8 *>(utf8.constData()));
}

void substitute(FcConfig *config, FcPattern *pattern)
{
    FcConfigSubstitute(config, pattern, FcMatchPattern);
}

FcPatternHandle bestFace(FcConfig *config, FcPattern *pattern)
{
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    return FcPatternHandle(FcFontMatch(config, pattern, &result));
}

QString matchedFamily(FcConfig *config, const QString &family)
{
    const FcPatternHandle pattern(FcPatternCreate());
    addString(pattern.get(), FC_FAMILY, family);
    substitute(config, pattern.get());
    return stringOf(bestFace(config, pattern.get()).get(), FC_FAMILY);
}

FcConfigHandle newRulesOnlyConfig()
{
    // Read after the installed configuration: its rules stay, its font
    // folders go.
    static constexpr char WithoutFontFolders[] = "<fontconfig><reset-dirs/></fontconfig>";
    FcConfigHandle config(FcConfigCreate());
    if (!config || !FcConfigParseAndLoad(config.get(), nullptr, FcFalse)
        || !FcConfigParseAndLoadFromMemory(config.get(), reinterpret_cast<const FcChar8 *>(WithoutFontFolders),
                                           FcFalse)
        || !FcConfigBuildFonts(config.get()))
        return FcConfigHandle();
    return config;
}

int compareFontconfigNames(const char *a, const char *b)
{
    const auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    for (;; ++a, ++b) {
        const int difference = fold(static_cast<unsigned char>(*a)) - fold(static_cast<unsigned char>(*b));
        if (difference != 0 || *a == '\0')
            return difference;
    }
}
