#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# A long run of the real program, as a user who prints all day makes it:
# SHEETS sheets (200) of the first 100 fonts, one after the other, through
# the PDF printer under Xvfb with a window manager. After the 10th and the
# last sheet it reads the program's peak RSS and its open descriptors; at
# the end, the files left in the spool folders (the documents folder,
# beside the sheets, and the temporary folder) and the joiners left
# running. With --sanitize the program is built with AddressSanitizer and
# UndefinedBehaviorSanitizer, in build-asan, the tree that the test suite
# runs under them, and their reports are counted; its memory figures then
# are the sanitizers' as much as its own.
#   bench/long_run.sh [--sanitize] [SHEETS]
set -euo pipefail
sanitize=
if [[ ${1:-} == --sanitize ]]; then
    sanitize=1
    shift
fi
sheets=${1:-200}
fonts=100
if [[ -n $sanitize ]]; then
    export GLYPHORA_BENCH_DIR=${GLYPHORA_BENCH_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build-asan}
    export GLYPHORA_BENCH_BUILD_TYPE=RelWithDebInfo GLYPHORA_BENCH_CONFIGURE=-DGLYPHORA_SANITIZE=ON
fi
. "$(dirname "${BASH_SOURCE[0]}")/prepare.sh"
. "$root/bench/font_sets.sh"

make_font_sets "$fonts"
export FONTCONFIG_FILE=${conf[$fonts]}
export CUPS_SERVER=$work/no-print-server.sock TMPDIR=$work/tmp
unset PRINTER LPDEST
mkdir -p "$TMPDIR"
documents=$work/Documents
start_xvfb
export QT_QPA_PLATFORM=xcb
reports=$work/sanitizer
export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1"
export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/e2e/lsan.supp"
mkdir -p "$reports"

# shellcheck source=/dev/null
source "$build/tests/e2e/control_places.sh"
centre() {
    local -n place=$1
    echo "$((place[0] + place[2] / 2)) $((place[1] + place[3] / 2))"
}
first_row=$(centre main_fontListFirstRow)

"$build/src/glyphora" >"$work/stdout" 2>"$work/stderr" &
pid=$!
main=
for _ in $(seq 1200); do
    main=$(xdotool search --onlyvisible --name '^Glyphora$' 2>/dev/null | head -n 1) && [[ -n $main ]] && break
    sleep 0.05
done
[[ -n $main ]] || { echo "long_run: no main window" >&2; exit 1; }
sleep 1
# The first font, then the next 99 with Shift+Down.
# shellcheck disable=SC2086
xdotool mousemove --window "$main" $first_row click 1
xdotool key --repeat $((fonts - 1)) --delay 5 shift+Down

peak_rss_mb() { awk '/^VmHWM:/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status"; }
descriptors() { find "/proc/$pid/fd" -mindepth 1 | wc -l; }

started=$(date +%s.%N)
for sheet in $(seq "$sheets"); do
    # shellcheck disable=SC2046
    xdotool mousemove --window "$main" $(centre main_printButton) click 1
    filed=
    for _ in $(seq 1200); do
        filed=$(find "$documents" -maxdepth 1 -name 'Glyphora *.pdf' 2>/dev/null | head -n 1)
        [[ -n $filed ]] && break
        kill -0 "$pid" 2>/dev/null || { echo "long_run: the program ended at sheet $sheet" >&2; exit 1; }
        sleep 0.05
    done
    [[ -n $filed ]] || { echo "long_run: sheet $sheet was not filed" >&2; exit 1; }
    # The progress window goes once the sheet is out; the next click comes
    # when the program is idle again.
    while xdotool search --onlyvisible --name '^Printing Fonts$' >/dev/null 2>&1; do sleep 0.02; done
    rm -f "$filed"
    if [[ $sheet -eq 10 ]]; then
        rss10=$(peak_rss_mb) fds10=$(descriptors)
    fi
done
took=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
rss_last=$(peak_rss_mb) fds_last=$(descriptors)
left_documents=$(find "$documents" -mindepth 1 | wc -l)
left_tmp=$(find "$TMPDIR" -mindepth 1 | wc -l)
joiners=$(pgrep -c -P "$pid" || true)
kill "$pid"
wait "$pid" || true

echo
echo "| sheets of $fonts fonts | time (s) | peak RSS after 10 / $sheets (MB) | descriptors after 10 / $sheets | files left in Documents / TMPDIR | processes left | sanitizer reports |"
echo "|---:|---:|---:|---:|---:|---:|---:|"
echo "| $sheets | $took | $rss10 / $rss_last | $fds10 / $fds_last | $left_documents / $left_tmp | $joiners |" \
     "$(if [[ -n $sanitize ]]; then cat "$reports"/* 2>/dev/null | grep -c -E '^(==[0-9]+==ERROR|.*runtime error)' || true; else echo "not built"; fi) |"
echo
echo "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)."
if [[ -n $sanitize ]] && ls "$reports"/* >/dev/null 2>&1; then
    echo "Sanitizer reports:" >&2
    cat "$reports"/* >&2
fi
