#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# A sheet of every installed font, as a user makes one: the real program
# under Xvfb with a window manager and no print server, Select All, then
# Print Fonts, timed from the click until the PDF printer has filed the
# sheet. With 1,000, 5,000 and 20,000 generated families installed, each
# in turn with this tree's program and with the code before a change: the
# Release build tree in GLYPHORA_BENCH_BEFORE, or else main built into
# build-bench-before. Then each size's sheet against the one before:
# qpdf --check, pages, text and size. Prints markdown tables of medians.
#   bench/sheet_sizes.sh [RUNS]               (default 3 runs)
# GLYPHORA_BENCH_SIZES="100 200" measures other numbers of families.
# Then one more run of each program at the largest size with pings sent to
# its main window (bench/ping_probe.cpp) and its progress window watched:
# the longest time that its main thread stays away from its event loop, and
# the time without progress at the end of the sheet.
set -euo pipefail
runs=${1:-3}
. "$(dirname "${BASH_SOURCE[0]}")/prepare.sh"
. "$root/bench/font_sets.sh"
read -r -a sizes <<<"${GLYPHORA_BENCH_SIZES:-1000 5000 20000}"
# The old program took over three minutes for 20,000.
timeout_s=600

before=${GLYPHORA_BENCH_BEFORE:-}
if [[ -z $before ]]; then
    # main's sources are laid out again only when it has moved on, so that
    # its build is incremental.
    before=$root/build-bench-before
    commit=$(git -C "$root" rev-parse main)
    if [[ $(cat "$before-source/.commit" 2>/dev/null) != "$commit" ]]; then
        rm -rf "$before-source"
        mkdir -p "$before-source"
        git -C "$root" archive "$commit" | tar -x -C "$before-source"
        echo "$commit" >"$before-source/.commit"
    fi
    echo "Building main ($commit)..." >&2
    GLYPHORA_BUILD_DIR=$before CMAKE_BUILD_TYPE=Release "$before-source/scripts/build.sh" >/dev/null
fi

make_font_sets "${sizes[@]}"
export CUPS_SERVER=$work/no-print-server.sock
unset PRINTER LPDEST
start_xvfb

# The buttons' centres, from this tree's design tables.
# shellcheck source=/dev/null
source "$build/tests/e2e/control_places.sh"
centre() {
    local -n place=$1
    echo "$((place[0] + place[2] / 2)),$((place[1] + place[3] / 2))"
}
select_all=$(centre main_selectAllButton)
print_fonts=$(centre main_printButton)

declare -A programs=([new]=$build/src/glyphora [old]=$before/src/glyphora)
mkdir -p "$work/sheets"

# measure PROGRAM SIZE: one sheet; prints "seconds peak_mb cpu_s largest_mb all_cpu_s".
measure() {
    rm -rf "$work/Documents"
    FONTCONFIG_FILE=${conf[$2]} /usr/bin/python3 "$root/bench/time_to_sheet.py" "$timeout_s" "$work/Documents" \
        "$select_all" "$print_fonts" "${programs[$1]}" || echo "nan nan nan nan nan"
    mv "$work"/Documents/*.pdf "$work/sheets/$1-$2.pdf" 2>/dev/null || true
}

declare -A results
for run in $(seq "$runs"); do
    # The two programs take turns at going first: run second every time,
    # the same program measured some 4% dearer at 1,000 families.
    order=(old new)
    ((run % 2)) || order=(new old)
    for size in "${sizes[@]}"; do
        for program in "${order[@]}"; do
            results[$program-$size]+="$(measure "$program" "$size")"$'\n'
            echo "run $run, $program, $size: $(tail -n 2 <<<"${results[$program-$size]}" | head -n 1)" >&2
        done
    done
done

# The probed runs, apart: the probes cost the program time of their own.
largest=${sizes[-1]}
declare -A probed
for program in old new; do
    probed[$program]=$(GLYPHORA_PING_PROBE=$build/bench/ping_probe measure "$program" "$largest")
    echo "probed, $program, $largest: ${probed[$program]}" >&2
done

pages_of() {
    pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ { print $2 }'
}

echo
echo "| installed and selected | program | time (s) | per font (ms) | per font vs. the fewest | processor per font (ms) | vs. the fewest | pages | PDF (MB) | peak RSS (MB) | largest process (MB) |"
echo "|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
declare -A per_fewest cpu_fewest
for size in "${sizes[@]}"; do
    for program in old new; do
        key=$program-$size
        families=$(families_of "$size")
        t=$(median 1 "$key")
        per=$(awk -v t="$t" -v n="$families" 'BEGIN { printf "%.2f", t * 1000 / n }')
        cpu=$(awk -v t="$(median 5 "$key")" -v n="$families" 'BEGIN { printf "%.2f", t * 1000 / n }')
        [[ $size == "${sizes[0]}" ]] && per_fewest[$program]=$per && cpu_fewest[$program]=$cpu
        sheet=$work/sheets/$key.pdf
        echo "| $families | $program | $t | $per | $(awk -v p="$per" -v q="${per_fewest[$program]}" 'BEGIN { printf "%.2f", p / q }') |" \
             "$cpu | $(awk -v p="$cpu" -v q="${cpu_fewest[$program]}" 'BEGIN { printf "%.2f", p / q }') |" \
             "$(pages_of "$sheet") | $(stat -c %s "$sheet" 2>/dev/null | awk '{ printf "%.1f", $1 / 1048576 }') |" \
             "$(median 2 "$key") | $(median 4 "$key") |"
    done
done
echo
echo "$runs runs, $(nproc) cores; time from the click on Print Fonts until the sheet is filed. Processor time is"
echo "the program's and the join's, which a busy machine does not stretch. Peak RSS is the program's own from"
echo "launch; the largest process is the program or one that it started, the join among them."

echo
echo "| installed and selected | new vs. old time | qpdf --check | pages | text | size vs. old |"
echo "|---:|---:|---|---|---|---:|"
for size in "${sizes[@]}"; do
    old=$work/sheets/old-$size.pdf new=$work/sheets/new-$size.pdf
    check=$(qpdf --check "$new" >/dev/null 2>&1 && echo passes || echo fails)
    pages=$([[ $(pages_of "$new") == "$(pages_of "$old")" ]] && echo same || echo differ)
    text=$(cmp -s <(pdftotext "$new" -) <(pdftotext "$old" -) && echo same || echo differs)
    echo "| $(families_of "$size") | $(awk -v a="$(median 1 "new-$size")" -v b="$(median 1 "old-$size")" 'BEGIN { printf "%.2f", a / b }') |" \
         "$check | $pages | $text | $(awk -v a="$(stat -c %s "$new")" -v b="$(stat -c %s "$old")" 'BEGIN { printf "%.3f", a / b }') |"
done

echo
echo "| installed and selected | program | longest time away from the event loop (ms) | without progress at the end (s) |"
echo "|---:|---|---:|---:|"
for program in old new; do
    read -r -a fields <<<"${probed[$program]}"
    echo "| $(families_of "$largest") | $program | ${fields[5]:-nan} | ${fields[6]:-nan} |"
done
echo
echo "One run each, from the click on Print Fonts until the sheet is filed; load average $(cut -d' ' -f1-3 /proc/loadavg)."
