// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Compiled only by the layers test, against a library below the header it
// names: the include must not be found. LAYER_HEADER is set per target.
#include LAYER_HEADER
