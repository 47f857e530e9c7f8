#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the program and starts it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${GLYPHORA_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
exec "$build/src/glyphora" "$@"
