#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Click-to-sample latency: a mouse click on a List1 entry until the sample
# line has been repainted, once for every font family installed on this
# machine (fonts-noto-core and fonts-noto-extra bring some 1,500) and for the
# 35 standard PostScript names that only a printer has, after the real
# start-up routine, under the offscreen platform and under Xvfb with a window
# manager. Then the sample line's repaint with captions up to 1 MB beside a
# plain QLabel's. Prints markdown tables.
#   bench/preview.sh
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/prepare.sh"
# Every font of the machine, not the tests' own set; no stored sample text.
unset FONTCONFIG_FILE
bench=$build/bench/preview_bench

for platform in offscreen xcb; do
    if [[ $platform == xcb ]]; then
        start_xvfb
    fi
    QT_QPA_PLATFORM=$platform "$bench" 2>/dev/null >"$work/$platform"
done

echo "Click to repainted sample line, in ms (wall clock; processor time of the program's thread beside it):"
echo
echo "| platform | clicked | count | first | median | 99th percentile | max | processor median | processor 99th | processor max |"
echo "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|"
for platform in offscreen xcb; do
    awk -v platform="$platform" '$1 == "clicks" {
        printf "| %s | %s | %d | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f |\n",
               platform, $2, $3, $4, $5, $6, $7, $8, $9, $10
    }' "$work/$platform"
done
echo
echo "\"first\" is the first click of its kind; the first click of \"all\" is the program's first"
echo "question to the screen about a face. Clicks slower than 16 ms:"
grep -h '^# slow click' "$work/offscreen" "$work/xcb" | sed 's/^# /- /' || echo "- none"
echo
echo "Sample line repaint with a long caption, in ms (median of 5):"
echo
echo "| platform | caption characters | sample line | plain QLabel |"
echo "|---|---:|---:|---:|"
for platform in offscreen xcb; do
    awk -v platform="$platform" '$1 == "caption" {
        printf "| %s | %d | %.2f | %.2f |\n", platform, $2, $3, $4
    }' "$work/$platform"
done
echo
grep -h '^# platform' "$work/offscreen" | sed 's/^# platform offscreen, //'
