// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <fontconfig/fontconfig.h>

#include <memory>

// Owning handles of fontconfig's objects, released however the scope ends.

struct FcPatternDeleter
{
    void operator()(FcPattern *pattern) const { FcPatternDestroy(pattern); }
};
using FcPatternHandle = std::unique_ptr<FcPattern, FcPatternDeleter>;

struct FcConfigDeleter
{
    void operator()(FcConfig *config) const { FcConfigDestroy(config); }
};
using FcConfigHandle = std::unique_ptr<FcConfig, FcConfigDeleter>;
