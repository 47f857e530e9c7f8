#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${GLYPHORA_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
exec "$build/src/glyphora" "$@"
