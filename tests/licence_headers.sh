#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Every source file of the project (C++, shell, CMake) names its licence in
# an SPDX header, within its first lines.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "SKIP: not a git checkout"
    exit 77
fi
missing=()
while IFS= read -r file; do
    head -n 5 "$file" | grep -q '^\(//\|#\) SPDX-License-Identifier: GPL-3.0-or-later$' || missing+=("$file")
done < <(git ls-files -- '*.cpp' '*.h' '*.sh' '*.cmake' 'CMakeLists.txt' '*/CMakeLists.txt' .ci/run)
if [[ ${#missing[@]} -gt 0 ]]; then
    printf 'FAIL: no SPDX licence header: %s\n' "${missing[@]}" >&2
    exit 1
fi
echo "PASS: every source file names its licence"
