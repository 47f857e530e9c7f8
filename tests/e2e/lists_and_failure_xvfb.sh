#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The real program on a real X server with a window manager and no printer,
# driven by xdotool:
# - Ctrl+Down, Ctrl+End and Ctrl+Home in the font list move the sample line
#   with the current entry, and a click on the entry that is selected alone
#   shows it again;
# - a Ctrl-click or Ctrl+Space on a size list's selected entry leaves it
#   selected;
# - a print that fails before its first font (the documents folder cannot
#   be made) is told of once, on stderr and in a message box; then the
#   progress window is gone, and the next print makes a whole sheet.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/common.sh"
source "$GLYPHORA_TESTS/e2e/xvfb.sh"
source "$GLYPHORA_TESTS/e2e/window_pixels.sh"

e2e_program_on_x
documents=$HOME/Documents

row_height=${main_fontListFirstRow[3]}
# The first row's offset inside its list, the same in all three lists.
first_row_top=$((main_fontListFirstRow[1] - main_fontList[1]))

# row_centre LIST ROW: "x y" of the middle of a row of a list.
row_centre() {
    local -n list=$1
    echo $((list[0] + list[2] / 2)) $((list[1] + first_row_top + $2 * row_height + row_height / 2))
}

# click_row LIST ROW [MODIFIER]
click_row() {
    local modifier=${3:-}
    # shellcheck disable=SC2046
    if [[ -n $modifier ]]; then
        xdotool mousemove --window "$main" $(row_centre "$1" "$2") keydown "$modifier" click 1 keyup "$modifier"
    else
        xdotool mousemove --window "$main" $(row_centre "$1" "$2") click 1
    fi
}

start_program
main=$(wait_for_window Glyphora 60) || fail "the main window did not appear"
# Clicks sent before the window has drawn itself can be lost.
settled_dump "$main" "$E2E_WORK/start.xwd"

# --- Keyboard moves of the font list's current entry --------------------------
click_row main_fontList 0
first=$(sample_checksum "$main" first) || exit 1
xdotool key ctrl+Down
second=$(sample_change "$main" second "$first") || fail "Ctrl+Down did not move the sample line"
xdotool key ctrl+Down
sample_change "$main" third "$second" >/dev/null || fail "a second Ctrl+Down did not move the sample line"
click_row main_fontList 0
now=$(sample_checksum "$main" again) || exit 1
[[ $now == "$first" ]] || fail "a click on the entry selected alone did not show it"
xdotool key ctrl+End
sample_change "$main" last "$first" >/dev/null || fail "Ctrl+End did not move the sample line"
xdotool key ctrl+Home
now=$(sample_checksum "$main" home) || exit 1
[[ $now == "$first" ]] || fail "Ctrl+Home did not bring the first font back"
echo "PASS: the sample line follows the font list's current entry"

# --- Size lists keep their size ------------------------------------------------
# Rows of the sizes selected at start: 12 points in the print sizes, 24 in
# the display sizes. A plain click first, so that the focus is in the list
# already when the Ctrl-click comes.
for list in main_printSizeList:1 main_displaySizeList:4; do
    name=${list%:*} row=${list#*:}
    declare -n place=$name
    click_row "$name" "$row"
    settled_dump "$main" "$E2E_WORK/size.xwd"
    shown=$(region_hash "$E2E_WORK/size.xwd" "${place[@]}")
    click_row "$name" "$row" ctrl
    settled_dump "$main" "$E2E_WORK/ctrl-click.xwd"
    [[ $(region_hash "$E2E_WORK/ctrl-click.xwd" "${place[@]}") == "$shown" ]] ||
        fail "a Ctrl-click changed $name"
    xdotool key ctrl+space
    settled_dump "$main" "$E2E_WORK/ctrl-space.xwd"
    [[ $(region_hash "$E2E_WORK/ctrl-space.xwd" "${place[@]}") == "$shown" ]] ||
        fail "Ctrl+Space changed $name"
    unset -n place
done
click_row main_fontList 0
now=$(sample_checksum "$main" size-kept) || exit 1
[[ $now == "$first" ]] || fail "the sample line lost its size"
echo "PASS: a Ctrl-click or Ctrl+Space keeps a size list's size"

# --- A print that fails before its first font ---------------------------------
# A plain file where the documents folder should be.
: >"$documents"
click_control "$main" main_printButton
box=$(wait_for_message_box "$main") || fail "no message box told of the failure"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended on the failure"
xdotool windowactivate --sync "$box" key Return
for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^Printing Fonts$' >/dev/null 2>&1 || break
    sleep 0.05
done
xdotool search --onlyvisible --name '^Printing Fonts$' >/dev/null 2>&1 &&
    fail "the progress window stayed open after the failure"
[[ $(grep -c . "$E2E_WORK/stderr") -eq 1 ]] && grep -q 'Cannot create the documents folder' "$E2E_WORK/stderr" ||
    fail "not one line about the documents folder on stderr"

# With the folder there, the next click prints a whole sheet of its own.
rm "$documents"
mkdir "$documents"
click_control "$main" main_printButton
sheet=
for _ in $(seq 400); do
    sheet=$(find "$documents" -name 'Glyphora *.pdf' | head -n 1)
    [[ -n $sheet ]] && break
    sleep 0.05
done
[[ -n $sheet ]] || fail "the print after the failure made no sheet"
text=$(pdftotext "$sheet" -)
[[ $(grep -c '^Glyphora Font Sheet' <<<"$text") -eq 1 ]] || fail "not one heading on the sheet: $text"
[[ $(grep -cE '^\(.*\)$' <<<"$text") -eq 1 ]] || fail "not one font on the sheet: $text"
[[ $(find "$documents" -type f | wc -l) -eq 1 ]] || fail "more than the sheet in the documents folder"
echo "PASS: a failed print is told of once and the next one prints a whole sheet"

click_control "$main" main_exitButton
expect_exit 0
