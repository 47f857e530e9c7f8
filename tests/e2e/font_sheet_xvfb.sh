#!/usr/bin/env bash
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
. "$here/xvfb.sh"
. "$here/private_cupsd.sh"

skip_without_private_cupsd

# Resident fonts of the queue for the long runs, on top of cups-pdf's 35:
# a run over all of them takes several seconds here, far longer than the
# test waits before it ends one.
EXTRA_FONTS=12000

# Places in the main window's client area, at 15 twips to the pixel. List1
# starts at 120,1200 twips inside its one-pixel frame; a row of Arial 9 pt
# bold (Liberation Sans Bold at 96 dpi) is 14 pixels high.
LIST1_X=60
LIST1_FIRST_ROW_Y=88
LIST1_ROW_HEIGHT=14
# Print Fonts: 3240,2400 twips, 1335 by 495.
COMMAND2_X=260
COMMAND2_Y=176
# The progress window's Stop: 2760,2160 twips, 1335 by 495.
STOP_X=228
STOP_Y=160

# The top of List1 with the tests' fonts and cups-pdf's PPD: only the PPD's
# names begin with A or B, and C059 is the first family. Rows 0, 6 and 8.
PICKED_ROWS=(0 6 8)
PICKED_FONTS=(AvantGarde-Book Bookman-Light C059)

home=$(mktemp -d)
pid=
XVFB_NO_TRAP=1
CUPSD_NO_TRAP=1
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null
    stop_xvfb
    stop_private_cupsd
    rm -rf "$home"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -s $home/stderr ]] && sed 's/^/glyphora: /' "$home/stderr" >&2
    exit 1
}

use_private_home "$home"

start_private_cupsd
add_pdf_queue_with_fonts glyphora-many-fonts "$EXTRA_FONTS"
start_xvfb
export QT_QPA_PLATFORM=xcb

# Starts the program and sets main to its main window once it shows.
start_glyphora() {
    "$GLYPHORA_BIN" >>"$home/stdout" 2>>"$home/stderr" &
    pid=$!
    main=$(wait_for_window Glyphora 60) || fail "the main window did not appear"
}

# Ends the program through its main window's close box.
close_glyphora() {
    local window=$1 status=
    wmctrl -i -c "$window"
    for _ in $(seq 200); do
        if ! kill -0 "$pid" 2>/dev/null; then
            status=0
            wait "$pid" || status=$?
            break
        fi
        sleep 0.05
    done
    [[ -n $status ]] || fail "the program still runs 10 s after its close box was clicked"
    pid=
    [[ $status -eq 0 ]] || fail "the program ended with status $status"
}

# What printing left behind: PDFs from the queue, files in the documents
# folder, spool files.
leftovers() {
    find "$PRIVATE_CUPSD_OUT" "$home/Documents" "$TMPDIR" -type f 2>/dev/null
}

# Waits for the progress window of a run to show and sets progress to it;
# then lets the run go on for a moment.
wait_for_run() {
    progress=$(wait_for_window "Printing Fonts" 20) || fail "the progress window did not appear"
    sleep 0.5
    kill -0 "$pid" 2>/dev/null || fail "the program ended during the run"
    xdotool search --onlyvisible --name '^Printing Fonts$' >/dev/null || fail "the run ended too soon"
}

# --- Three fonts picked with Ctrl-clicks -------------------------------------
start_glyphora
for row in "${PICKED_ROWS[@]}"; do
    xdotool mousemove --window "$main" "$LIST1_X" $((LIST1_FIRST_ROW_Y + row * LIST1_ROW_HEIGHT)) \
        keydown ctrl click 1 keyup ctrl
done
xdotool mousemove --window "$main" "$COMMAND2_X" "$COMMAND2_Y" click 1

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
xdotool mousemove --window "$main" "$LIST1_X" "$LIST1_FIRST_ROW_Y" click 1
xdotool key --window "$main" shift+End
xdotool mousemove --window "$main" "$COMMAND2_X" "$COMMAND2_Y" click 1
wait_for_run
xdotool mousemove --window "$progress" "$STOP_X" "$STOP_Y" click 1

for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^Printing Fonts$' >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --onlyvisible --name '^Printing Fonts$' >/dev/null 2>&1 && fail "Stop did not end the run"
kill -0 "$pid" 2>/dev/null || fail "the program ended on Stop"
wait_for_jobs 60 || fail "a job is still in the queue"
sleep 1
[[ -z $(leftovers) ]] || fail "the stopped run left $(leftovers)"
echo "PASS: a long run stopped left nothing"

# --- A long run ended with the close box -------------------------------------
xdotool mousemove --window "$main" "$COMMAND2_X" "$COMMAND2_Y" click 1
wait_for_run
close_glyphora "$main"
wait_for_jobs 60 || fail "a job is still in the queue"
[[ -z $(leftovers) ]] || fail "the run ended with the program left $(leftovers)"
echo "PASS: a long run ended with the program left nothing"
