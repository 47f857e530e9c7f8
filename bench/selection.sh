#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Select All and Deselect All over 1,000, 5,000 and 20,000 entries, from no,
# a scattered (about every other entry) and a full selection, with the main
# window shown under the offscreen platform and under Xvfb with a window
# manager: the median time of the command with the real event pump, the
# time per entry and its growth from the size before, beside the same number
# of pumps alone. Prints a markdown table.
#   bench/selection.sh [RUNS]          (default 3 runs per cell)
set -euo pipefail
runs=${1:-3}
. "$(dirname "${BASH_SOURCE[0]}")/prepare.sh"
export FONTCONFIG_FILE=$build/tests/fonts.conf
bench=$build/bench/selection_bench

echo "| platform | entries | start | command | time (s) | µs per entry | growth per entry |"
echo "|---|---:|---|---|---:|---:|---:|"
for platform in offscreen xcb; do
    if [[ $platform == xcb ]]; then
        start_xvfb
    fi
    # Lines: entries start command seconds us_per_entry growth
    QT_QPA_PLATFORM=$platform "$bench" --runs "$runs" 2>/dev/null |
        grep -v '^#' |
        awk -v platform="$platform" '{
            printf "| %s | %d | %s | %s | %.3f | %.2f | %.2f |\n", platform, $1, $2, $3, $4, $5, $6
        }'
done
echo
echo "Median of $runs runs per cell, $(nproc) cores. \"pumps-only\" is the same number of event"
echo "pumps on the same shown window with no selection write; growth is the time per entry over"
echo "that of the size before, for the same start and command."
