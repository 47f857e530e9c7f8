// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fonts/fontconfig_handles.h"

#include <QString>

#include <fontconfig/fontconfig.h>

// Questions put to fontconfig's current configuration, as fc-match puts
// them. Each match reads every installed face: the callers keep the answers.

// The string value of a pattern's object, or an empty string.
QString stringOf(const FcPattern *pattern, const char *object);
void addString(FcPattern *pattern, const char *object, const QString &value);

// Applies the configuration's substitutions, aliases and metric twins.
void substitute(FcPattern *pattern);

// The face fontconfig picks for a substituted pattern, with the defaults
// filled in.
FcPatternHandle bestFace(FcPattern *pattern);

// The family of the face that fontconfig matches for a family name, or an
// empty string.
QString matchedFamily(const QString &family);

// fontconfig compares family and style names without regard to ASCII case;
// for names that come from fontconfig nothing else can differ.
int compareFontconfigNames(const char *a, const char *b);
