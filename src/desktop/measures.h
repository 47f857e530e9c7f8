// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Places on paper and in the window layouts are given in twips: 1440 to the
// inch, so 20 to the point and 15 to a pixel on a screen of 96 dots per inch.
constexpr int TwipsPerInch = 1440;
