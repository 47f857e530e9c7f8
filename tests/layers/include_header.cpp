// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Compiled only by the layers tests, against one library: an include that
// the library may see must compile, one that points back up must not be
// found. LAYER_HEADER is set per target.
#include LAYER_HEADER
