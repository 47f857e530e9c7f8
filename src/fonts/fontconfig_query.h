// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fonts/fontconfig_handles.h"

#include <QString>

#include <fontconfig/fontconfig.h>

// Questions put to a fontconfig configuration, as fc-match puts them; the
// installed one is FontCatalogue::installedConfig(), which is not the
// current one once the catalogue is made (see glyph_fallback.h). Each match
// reads every face of the configuration: the callers keep the answers.

// The string value of a pattern's object, or an empty string.
QString stringOf(const FcPattern *pattern, const char *object);
void addString(FcPattern *pattern, const char *object, const QString &value);

// Applies the configuration's substitutions, aliases and metric twins.
void substitute(FcConfig *config, FcPattern *pattern);

// The face fontconfig picks for a substituted pattern, with the defaults
// filled in.
FcPatternHandle bestFace(FcConfig *config, FcPattern *pattern);

// The family of the face that fontconfig matches for a family name, or an
// empty string.
QString matchedFamily(FcConfig *config, const QString &family);

// A configuration with the installed configuration's rules, read again as
// fontconfig reads them (FONTCONFIG_FILE included), and no faces but those
// put into it; null where the rules cannot be read.
FcConfigHandle newRulesOnlyConfig();

// fontconfig compares family and style names without regard to ASCII case;
// for names that come from fontconfig nothing else can differ.
int compareFontconfigNames(const char *a, const char *b);
