#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The real program on a real X server with a window manager and no printer,
# driven by xdotool at the places of the window's layout:
# - a click on a font changes the pixels of the sample line;
# - Exit writes the user's text into the settings file, and the next start
#   shows it in the text box and on the sample line;
# - the close box after editing the text ends the program and stores nothing;
# - a damaged settings file starts the program with an empty text box;
# - a settings store that cannot be written lets Exit end the program all
#   the same, with one line on stderr.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/common.sh"
source "$GLYPHORA_TESTS/e2e/xvfb.sh"
source "$GLYPHORA_TESTS/e2e/window_pixels.sh"

e2e_program_on_x
settings=$XDG_CONFIG_HOME/Glyphora/Glyphora.conf

# start: runs the program and sets id to its main window.
start() {
    start_program
    id=$(wait_for_window Glyphora 60) || fail "the main window did not appear"
}

type_user_text() {
    click_control "$id" main_userTextOption
    click_control "$id" main_userTextBox
    xdotool type --delay 20 "$1"
}

# 1. A font click redraws the sample line; Exit stores the typed text.
start
settled_dump "$id" "$E2E_WORK/start.xwd"
sample_at_start=$(region_hash "$E2E_WORK/start.xwd" "${SAMPLE[@]}")
empty_user_text=$(region_hash "$E2E_WORK/start.xwd" "${main_userTextBox[@]}")
click_control "$id" main_fontListFirstRow
settled_dump "$id" "$E2E_WORK/clicked.xwd"
[[ $(region_hash "$E2E_WORK/clicked.xwd" "${SAMPLE[@]}") != "$sample_at_start" ]] ||
    fail "the sample line did not change with a font click"
type_user_text "Hello Glyphora"
settled_dump "$id" "$E2E_WORK/typed.xwd"
[[ $(region_hash "$E2E_WORK/typed.xwd" "${main_userTextBox[@]}") != "$empty_user_text" ]] || fail "the text box shows nothing"
click_control "$id" main_exitButton
expect_exit 0
grep -qx '\[User%20Text\]' "$settings" || fail "no section in: $(cat "$settings")"
grep -qx 'Text=Hello Glyphora' "$settings" || fail "no text in: $(cat "$settings")"

# 2. The next start shows it; the close box after an edit stores nothing.
start
settled_dump "$id" "$E2E_WORK/second.xwd"
[[ $(region_hash "$E2E_WORK/second.xwd" "${main_userTextBox[@]}") != "$empty_user_text" ]] ||
    fail "the stored text is not in the text box"
[[ $(region_hash "$E2E_WORK/second.xwd" "${SAMPLE[@]}") != "$sample_at_start" ]] ||
    fail "the stored text is not on the sample line"
before=$(sha256sum <"$settings")
type_user_text " edited"
wmctrl -i -c "$id"
expect_exit 0
[[ $(sha256sum <"$settings") == "$before" ]] || fail "the close box stored the edit"

# 3. A damaged settings file: the text box starts empty, with a word on stderr.
printf '[User Text\nText=Hello\n' >"$settings"
start
settled_dump "$id" "$E2E_WORK/damaged.xwd"
[[ $(region_hash "$E2E_WORK/damaged.xwd" "${main_userTextBox[@]}") == "$empty_user_text" ]] ||
    fail "the text box is not empty after a damaged settings file"
wmctrl -i -c "$id"
expect_exit 0
grep -q 'ignoring the settings' "$E2E_WORK/stderr" || fail "nothing said about the damaged file"

# 4. A store that cannot be written: the settings folder is a plain file
# (as root, permissions would not stop the write).
export XDG_CONFIG_HOME=$E2E_WORK/not-a-folder
: >"$XDG_CONFIG_HOME"
start
# Clicks sent before the window has drawn itself can be lost.
settled_dump "$id" "$E2E_WORK/unwritable.xwd"
type_user_text "lost"
click_control "$id" main_exitButton
# The user is told, and the program ends after OK.
box=$(wait_for_message_box "$id") || fail "no message box told of the text that could not be stored"
xdotool windowactivate --sync "$box" key Return
expect_exit 0
[[ $(wc -l <"$E2E_WORK/stderr") -eq 1 ]] && grep -q 'could not be stored' "$E2E_WORK/stderr" ||
    fail "not one line about the store: $(cat "$E2E_WORK/stderr")"
echo "PASS: sample line, Exit and the stored text on X"
