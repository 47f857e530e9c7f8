#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The real program under an X server and a window manager, printing into a
# private cupsd's cups-pdf queue:
# - three fonts picked with Ctrl-clicks and Print Fonts: the queue's PDF
#   holds exactly those three;
# - a long run over thousands of fonts, stopped with the progress window's
#   Stop: no PDF, no spool file, and the program goes on;
# - another long run ended with the main window's close box: the program
#   ends, and leaves no PDF or spool file either.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/common.sh"
. "$here/xvfb.sh"
. "$here/private_cupsd.sh"

skip_without_private_cupsd

# Resident fonts of the queue for the long runs, on top of cups-pdf's 35:
# a run over all of them takes several seconds here, far longer than the
# test waits before it ends one.
EXTRA_FONTS=12000

# The top of the font list with the tests' fonts and cups-pdf's PPD: only
# the PPD's names begin with A or B, and C059 is the first family. Rows 0, 6
# and 8.
PICKED_ROWS=(0 6 8)
PICKED_FONTS=(AvantGarde-Book Bookman-Light C059)
row_height=${main_fontListFirstRow[3]}

e2e_private_home
e2e_at_exit stop_private_cupsd
e2e_at_exit stop_xvfb
start_private_cupsd
add_pdf_queue_with_fonts glyphora-many-fonts "$EXTRA_FONTS"
start_xvfb
export QT_QPA_PLATFORM=xcb

# Starts the program and sets main to its main window once it shows.
start_glyphora() {
    start_program
    main=$(wait_for_window Glyphora 60) || fail "the main window did not appear"
}

# Ends the program through its main window's close box.
close_glyphora() {
    wmctrl -i -c "$1"
    expect_exit 0 10 "after its close box was clicked"
}

# What printing left behind: PDFs from the queue, files in the documents
# folder, spool files.
leftovers() {
    find "$PRIVATE_CUPSD_OUT" "$HOME/Documents" "$TMPDIR" -type f 2>/dev/null
}

# Waits for the progress window of a run to show and sets progress to it;
# then lets the run go on for a moment.
wait_for_run() {
    progress=$(wait_for_window "Printing Fonts" 20) || fail "the progress window did not appear"
    sleep 0.5
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended during the run"
    xdotool search --onlyvisible --name '^Printing Fonts$' >/dev/null || fail "the run ended too soon"
}

# --- Three fonts picked with Ctrl-clicks -------------------------------------
start_glyphora
for row in "${PICKED_ROWS[@]}"; do
    # shellcheck disable=SC2046
    xdotool mousemove --window "$main" $(centre_of main_fontListFirstRow 0 $((row * row_height))) \
        keydown ctrl click 1 keyup ctrl
done
click_control "$main" main_printButton

for _ in $(seq 300); do
    [[ -n $(find "$PRIVATE_CUPSD_OUT" -name '*.pdf') ]] && break
    sleep 0.1
done
wait_for_jobs 60 || fail "the job did not leave the queue"
pdfs=("$PRIVATE_CUPSD_OUT"/*.pdf)
[[ -f ${pdfs[0]} && ${#pdfs[@]} -eq 1 ]] || fail "no sheet came out of the queue"
captions=$(pdftotext "${pdfs[0]}" - | grep -E '^\(.*\)$' || true)
expected=$(printf '(%s)\n' "${PICKED_FONTS[@]}")
[[ $captions == "$expected" ]] || fail "the sheet holds $(echo $captions), not $(echo $expected)"
rm -f "${pdfs[@]}"
close_glyphora "$main"
echo "PASS: three fonts picked with Ctrl-clicks came out of the queue"

# --- A long run stopped ------------------------------------------------------
lpadmin -d glyphora-many-fonts
start_glyphora
# Every font, as a range: the first row clicked, then Shift+End.
click_control "$main" main_fontListFirstRow
xdotool key --window "$main" shift+End
click_control "$main" main_printButton
wait_for_run
click_control "$progress" progress_stopButton

for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^Printing Fonts$' >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --onlyvisible --name '^Printing Fonts$' >/dev/null 2>&1 && fail "Stop did not end the run"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended on Stop"
wait_for_jobs 60 || fail "a job is still in the queue"
sleep 1
[[ -z $(leftovers) ]] || fail "the stopped run left $(leftovers)"
echo "PASS: a long run stopped left nothing"

# --- A long run ended with the close box -------------------------------------
click_control "$main" main_printButton
wait_for_run
close_glyphora "$main"
wait_for_jobs 60 || fail "a job is still in the queue"
[[ -z $(leftovers) ]] || fail "the run ended with the program left $(leftovers)"
echo "PASS: a long run ended with the program left nothing"
