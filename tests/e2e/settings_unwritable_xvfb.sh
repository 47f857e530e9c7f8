#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The real program on a real X server with a window manager, its settings
# folder unwritable: a read-only bind mount as root (modes do not stop
# root), a 0555 folder otherwise. Exit with a text of the user's own tells
# of the text it cannot store in a message box, with the same line on
# stderr naming the settings file and why; after OK the program ends, and
# the stored file is exactly as it was.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/common.sh"
source "$GLYPHORA_TESTS/e2e/xvfb.sh"

e2e_program_on_x
settings=$XDG_CONFIG_HOME/Glyphora
mkdir -p "$settings"
printf '[User%%20Text]\nText=stored before\n' >"$settings/Glyphora.conf"
cp -p "$settings/Glyphora.conf" "$E2E_WORK/stored-before"

if [[ $(id -u) -eq 0 ]]; then
    unshare -m true 2>/dev/null || { echo "SKIP: no mount namespace for a read-only folder"; exit 77; }
    reason="Read-only file system"
    # unshare and sh exec the program in turn: PROGRAM_PID is the program.
    unshare -m --propagation private sh -c 'mount --bind -o ro "$0" "$0" && exec "$@"' \
        "$settings" "$GLYPHORA_BIN" >"$E2E_WORK/stdout" 2>"$E2E_WORK/stderr" &
    PROGRAM_PID=$!
else
    reason="Permission denied"
    chmod 0555 "$settings"
    e2e_at_exit 'chmod 0755 "$settings"'
    start_program
fi

main=$(wait_for_window Glyphora 60) || fail "the main window did not appear"
click_control "$main" main_userTextOption
click_control "$main" main_userTextBox
xdotool type --delay 20 "typed here"
click_control "$main" main_exitButton

box=$(wait_for_message_box "$main") || fail "no message box told of the text that could not be stored"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended before the user was told"
xdotool windowactivate --sync "$box" key Return
expect_exit 0 20 "after OK"

[[ $(grep -c . "$E2E_WORK/stderr") -eq 1 ]] || fail "not one line on stderr"
grep -qF "$settings/Glyphora.conf" "$E2E_WORK/stderr" || fail "stderr does not name the settings file"
grep -qF "$reason" "$E2E_WORK/stderr" || fail "stderr does not say \"$reason\""
cmp -s "$settings/Glyphora.conf" "$E2E_WORK/stored-before" || fail "the stored file changed"
[[ $(ls -A "$settings") == Glyphora.conf ]] || fail "files were left in the settings folder: $(ls -A "$settings")"
echo "PASS: Exit tells of the text it cannot store, and the stored file stays as it was"
