#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program from launch until its main window is shown, under Xvfb
# with a window manager, with large collections of real fonts:
# - 1,000, 5,000 and 20,000 generated TrueType families, found by fontconfig
#   through a configuration and cache of their own, and no print server, so
#   that the list is the installed families; one in a hundred is named in
#   Chinese and one in Arabic, drawn with glyphs borrowed from the base
#   faces, among which is a Chinese one;
# - 20,000 resident fonts of a printer (a private cupsd whose default queue's
#   PPD lists them), where the server can run here.
# Beside them, in the same runs, the baseline: the same program with only
# the tests' few dozen families (and the printer's 35 standard fonts).
# Every run starts every set in turn, so that a busy moment of the machine
# falls on all of them. Then, with 1,000 and with 20,000 families
# installed: clicks on 500 random families and on the printer-only names
# under Xvfb, scrolling to every Chinese and Arabic name and clicking it,
# and a sheet of 100 families through the PDF printer. Prints markdown
# tables of medians.
#   bench/font_collections.sh [RUNS]          (default 3 runs per set)
# With GLYPHORA_BENCH_BEFORE set to the Release build tree of other code
# (for instance the code before a change, with its glyphora, preview_bench
# and sheet_bench built), every measurement runs with that code too, in
# turn with this one, and the tables have a row for each and their ratio.
set -euo pipefail
runs=${1:-3}
. "$(dirname "${BASH_SOURCE[0]}")/prepare.sh"
. "$root/bench/font_sets.sh"
. "$root/tests/e2e/private_cupsd.sh"
python=/usr/bin/python3
sizes=(1000 5000 20000)
largest=${sizes[-1]}
# Long enough for the old quadratic start-up at 5,000 families, not at 20,000.
timeout_s=60

make_font_sets "${sizes[@]}"

# No print server answers here, unless a set brings its own.
export CUPS_SERVER=$work/no-print-server.sock
unset PRINTER LPDEST
printer_sets=()
if [[ -z $(private_cupsd_missing) ]]; then
    CUPSD_NO_TRAP=1
    trap 'stop_xvfb; stop_private_cupsd; rm -rf "$work"' EXIT
    # start_private_cupsd exports its own CUPS_SERVER.
    no_server=$CUPS_SERVER
    start_private_cupsd
    add_pdf_queue_with_fonts glyphora-bench-fonts "$largest"
    printer_server=$CUPS_SERVER
    export CUPS_SERVER=$no_server
    printer_sets=(printer-baseline printer-$largest)
else
    echo "No private print server here ($(private_cupsd_missing)): no printer rows." >&2
fi

start_xvfb

# The builds measured: this tree's, and the other code's when given.
builds=("$build")
labels=(this)
if [[ -n ${GLYPHORA_BENCH_BEFORE:-} ]]; then
    builds+=("$GLYPHORA_BENCH_BEFORE")
    labels+=(before)
fi

# measure SET BUILD: one launch; prints "start_s progress_s peak_mb cpu_s progress_cpu_s".
measure() {
    local set=$1 bin=$2/src/glyphora fonts=baseline
    local env=(FONTCONFIG_FILE=${conf[$fonts]})
    case $set in
        printer-baseline) env+=(CUPS_SERVER=$printer_server PRINTER=$PRIVATE_CUPSD_QUEUE) ;;
        printer-*) env+=(CUPS_SERVER=$printer_server PRINTER=glyphora-bench-fonts) ;;
        baseline) ;;
        *) env=(FONTCONFIG_FILE=${conf[$set]}) ;;
    esac
    env "${env[@]}" "$python" "$root/bench/time_to_window.py" Glyphora "$timeout_s" "$bin" ||
        echo "nan nan nan nan nan"
}

sets=(baseline "${sizes[@]}" "${printer_sets[@]}")
declare -A results
for run in $(seq "$runs"); do
    for set in "${sets[@]}"; do
        for b in "${!builds[@]}"; do
            key=$set@${labels[$b]}
            results[$key]+="$(measure "$set" "${builds[$b]}")"$'\n'
            echo "run $run, $key: $(tail -n 2 <<<"${results[$key]}" | head -n 1)" >&2
        done
    done
done


startup_table() {
local label=$1
base_s=$(median 1 baseline@$label)
base_cpu=$(median 4 baseline@$label)
echo
echo "Code: $label"
echo "| set | families | launch to main window (median s) | progress window first up (s) | peak RSS (MB) | processor time (s) | ms per family over the baseline | per family vs. 1,000 | processor ms per family | vs. 1,000 |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
per_1000=
cpu_per_1000=
for set in "${sets[@]}"; do
    start=$(median 1 "$set@$label")
    progress=$(median 2 "$set@$label")
    peak=$(median 3 "$set@$label")
    cpu=$(median 4 "$set@$label")
    cpu_per=-
    cpu_ratio=-
    case $set in
        baseline) families=$(families_of baseline); per=-; ratio=- ;;
        printer-baseline) families="$(families_of baseline) + 35 printer"; per=-; ratio=- ;;
        printer-*) families="$(families_of baseline) + $largest printer"
                   per=$(awk -v s="$start" -v b="$(median 1 printer-baseline@$label)" -v n="$largest" 'BEGIN { printf "%.4f", (s - b) * 1000 / n }')
                   ratio=- ;;
        *) families=$(families_of "$set")
           per=$(awk -v s="$start" -v b="$base_s" -v n="$set" 'BEGIN { printf "%.4f", (s - b) * 1000 / n }')
           cpu_per=$(awk -v s="$cpu" -v b="$base_cpu" -v n="$set" 'BEGIN { printf "%.4f", (s - b) * 1000 / n }')
           [[ $set == "${sizes[0]}" ]] && per_1000=$per && cpu_per_1000=$cpu_per
           ratio=$(awk -v p="$per" -v q="$per_1000" 'BEGIN { printf "%.2f", p / q }')
           cpu_ratio=$(awk -v p="$cpu_per" -v q="$cpu_per_1000" 'BEGIN { printf "%.2f", p / q }') ;;
    esac
    echo "| $set | $families | $start | $progress | $peak | $cpu | $per | $ratio | $cpu_per | $cpu_ratio |"
done
}
for label in "${labels[@]}"; do
    startup_table "$label"
done
if [[ ${#labels[@]} -gt 1 ]]; then
    echo
    echo "| set | launch, this / before | peak RSS, this / before |"
    echo "|---|---:|---:|"
    for set in "${sets[@]}"; do
        awk -v a="$(median 1 "$set@this")" -v b="$(median 1 "$set@before")" \
            -v c="$(median 3 "$set@this")" -v d="$(median 3 "$set@before")" -v set="$set" \
            'BEGIN { printf "| %s | %.3f | %.3f |\n", set, a / b, c / d }'
    done
fi
echo
echo "$runs runs per set, $(nproc) cores. The baseline has only the base faces and no printer."
echo "Processor time is the program's own when the window came up, which a busy machine does not stretch."

echo
echo "| code | families installed | clicks | click median (ms) | 99th percentile | max | printer-only 99th | sheet of 100 (median s) | ms per printed font | vs. 1,000 |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for set in "${sizes[0]}" "$largest"; do
    for b in "${!builds[@]}"; do
        out=$work/${labels[$b]}-$set
        FONTCONFIG_FILE=${conf[$set]} QT_QPA_PLATFORM=xcb "${builds[$b]}/bench/preview_bench" --clicks 500 \
            --repaints 1 2>/dev/null >"$out.clicks"
        : >"$out.sheet"
    done
    # The sheets of both codes in turn, so that a busy moment falls on both.
    for _ in $(seq "$runs"); do
        for b in "${!builds[@]}"; do
            rm -rf "$work/Documents"
            FONTCONFIG_FILE=${conf[$set]} QT_QPA_PLATFORM=offscreen "${builds[$b]}/bench/sheet_bench" sheet 100 \
                2>/dev/null | awk '{ print $3 }' >>"$work/${labels[$b]}-$set.sheet"
        done
    done
    for label in "${labels[@]}"; do
        out=$work/$label-$set
        sheet_s=$(sort -g "$out.sheet" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
        [[ $set == "${sizes[0]}" ]] && declare "sheet_1000_$label=$sheet_s"
        first=sheet_1000_$label
        awk -v code="$label" -v set="$set" -v s="$sheet_s" -v s1="${!first}" '
            $1 == "clicks" && $2 == "all" { n = $3; med = $5; p99 = $6; max = $7 }
            $1 == "clicks" && $2 == "printer-only" { pp99 = $6 }
            END { printf "| %s | %d | %d | %.2f | %.2f | %.2f | %.2f | %.2f | %.1f | %.2f |\n",
                         code, set, n, med, p99, max, pp99, s, s * 10, s / s1 }' "$out.clicks"
    done
done

# This tree's program only: the other code need not know the option.
echo
echo "| families installed | Chinese and Arabic names scrolled to and clicked | median (ms) | 99th percentile | max |"
echo "|---:|---:|---:|---:|---:|"
for set in "${sizes[0]}" "$largest"; do
    FONTCONFIG_FILE=${conf[$set]} QT_QPA_PLATFORM=xcb "$build/bench/preview_bench" --non-latin --repaints 1 \
        2>/dev/null | awk -v set="$set" '$1 == "clicks" && $2 == "all" {
            printf "| %d | %d | %.2f | %.2f | %.2f |\n", set, $3, $5, $6, $7 }'
done
