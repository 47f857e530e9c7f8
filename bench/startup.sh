#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The start-up routine at 1,000, 5,000 and 20,000 printer fonts, under the
# offscreen platform and under Xvfb with a window manager: the median time
# from the start of the routine until the main window is shown, the time
# per font and its growth from the size before, beside a baseline measured
# in the same runs (the same names added to the list with no event pump and
# no repaint). Prints a markdown table.
#   bench/startup.sh [RUNS]          (default 5 runs per size)
set -euo pipefail
runs=${1:-5}
. "$(dirname "${BASH_SOURCE[0]}")/prepare.sh"
export FONTCONFIG_FILE=$build/tests/fonts.conf
bench=$build/bench/startup_bench
sizes=(1000 5000 20000)

echo "| platform | fonts | start-up (median s) | µs per font | growth per font | baseline (median s) | baseline µs per font | baseline growth |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|"
for platform in offscreen xcb; do
    if [[ $platform == xcb ]]; then
        start_xvfb
    fi
    # Lines: fonts startup_s baseline_s startup_us baseline_us startup_growth
    QT_QPA_PLATFORM=$platform "$bench" --runs "$runs" "${sizes[@]}" 2>/dev/null |
        grep -v '^#' |
        awk -v platform="$platform" '{
            baseline_growth = previous ? $5 / previous : 1
            previous = $5
            printf "| %s | %d | %.3f | %.1f | %.2f | %.3f | %.2f | %.2f |\n",
                   platform, $1, $2, $4, $6, $3, $5, baseline_growth
        }'
done
echo
echo "$runs runs per size, $(nproc) cores; growth is the time per font over that of the size before."
echo "Under Xvfb the progress window reaches the screen a few tens of milliseconds after it"
echo "opens, and a repaint before then has nothing to paint: a short list is read almost"
echo "entirely in that time, so its time per font is no guide to the longer ones."
