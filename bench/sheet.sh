#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Font sheet printing at scale: Print Fonts through the real printer surface
# (the PDF printer) against a bare QPdfWriter loop drawing the same lines,
# run alternately in the same session; then the print loop over long lists
# with 10 fonts selected. Prints a markdown table.
#   bench/sheet.sh [RUNS]
set -euo pipefail
runs=${1:-5}
. "$(dirname "${BASH_SOURCE[0]}")/prepare.sh"
export QT_QPA_PLATFORM=offscreen
export CUPS_SERVER=$work/no-cupsd.sock   # no printer: the PDF printer files the sheet
bench=$build/bench/sheet_bench

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One run: prints "seconds peak-KiB".
measure() {
    /usr/bin/time -f '%M' -o "$work/mem" "$@" >"$work/out" 2>/dev/null
    echo "$(awk '{ print $3 }' "$work/out") $(cat "$work/mem")"
}

: >"$work/bare"
: >"$work/sheet"
for _ in $(seq "$runs"); do
    measure "$bench" bare "$work/bare.pdf" >>"$work/bare"
    rm -rf "$work/Documents"
    measure "$bench" sheet >>"$work/sheet"
done
sheet_pdf=$(ls "$work"/Documents/*.pdf)
families=$(awk '{ print $2 }' "$work/out")

bare_s=$(awk '{ print $1 }' "$work/bare" | median)
bare_m=$(awk '{ print $2 }' "$work/bare" | median)
sheet_s=$(awk '{ print $1 }' "$work/sheet" | median)
sheet_m=$(awk '{ print $2 }' "$work/sheet" | median)
size=$(stat -c %s "$sheet_pdf")
embedded=$(pdffonts "$sheet_pdf" | awk 'NR > 2 && $(NF-4) == "yes"' | wc -l)
faces=$(pdffonts "$sheet_pdf" | awk 'NR > 2' | wc -l)
type3=$(pdffonts "$sheet_pdf" | awk 'NR > 2' | grep -c 'Type 3' || true)

echo "Font sheet of $families families, median of $runs runs each:"
echo
echo "| | time (s) | peak memory (MiB) |"
echo "|---|---|---|"
awk -v s="$bare_s" -v m="$bare_m" 'BEGIN { printf "| bare QPdfWriter loop | %.2f | %.0f |\n", s, m / 1024 }'
awk -v s="$sheet_s" -v m="$sheet_m" 'BEGIN { printf "| Print Fonts (PDF printer) | %.2f | %.0f |\n", s, m / 1024 }'
awk -v a="$sheet_s" -v b="$bare_s" -v c="$sheet_m" -v d="$bare_m" \
    'BEGIN { printf "| ratio | %.2f | %.2f |\n", a / b, c / d }'
echo
awk -v z="$size" -v n="$families" 'BEGIN { printf "PDF: %.1f MiB, %.0f bytes per font; ", z / 1048576, z / n }'
echo "pdffonts: $faces faces, $embedded embedded, $type3 drawn as Type 3."
echo
echo "Print loop with 10 of N entries selected (recording printer, real event pump), median of $runs runs:"
echo
echo "| entries | time (ms) | per entry (µs) |"
echo "|---|---|---|"
for n in 1000 5000 20000; do
    for _ in $(seq "$runs"); do "$bench" sparse "$n" 2>/dev/null | awk '{ print $3 }'; done >"$work/sparse"
    t=$(median <"$work/sparse")
    awk -v t="$t" -v n="$n" 'BEGIN { printf "| %d | %.1f | %.2f |\n", n, t * 1000, t * 1e6 / n }'
done
