#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The real program on a real X server with a window manager: the main
# window's size, place and frame hints, and that closing it ends the program.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/common.sh"
source "$GLYPHORA_TESTS/e2e/xvfb.sh"

e2e_private_home
# No printer: the program must still come up.
export CUPS_SERVER=$E2E_WORK/no-cupsd.sock

# Without any display the program says so in one line instead of aborting.
set +e
message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$GLYPHORA_BIN" 2>&1)
status=$?
set -e
[[ $status -ne 0 ]] || fail "started without a display"
[[ $(wc -l <<<"$message") -eq 1 && $message == *"no display"* ]] || fail "no-display message: $message"

e2e_at_exit stop_xvfb
start_xvfb
QT_QPA_PLATFORM=xcb start_program
id=$(wait_for_window Glyphora 20) || fail "the main window did not appear"

geometry=$(xwininfo -id "$id")
grep -q 'Width: 379$' <<<"$geometry" || fail "client width: $geometry"
grep -q 'Height: 444$' <<<"$geometry" || fail "client height: $geometry"
grep -q 'Absolute upper-left X:  78$' <<<"$geometry" || fail "client left: $geometry"
grep -q 'Absolute upper-left Y:  30$' <<<"$geometry" || fail "client top: $geometry"

hints=$(xprop -id "$id" WM_NORMAL_HINTS)
grep -q 'minimum size: 379 by 444' <<<"$hints" || fail "minimum size: $hints"
grep -q 'maximum size: 379 by 444' <<<"$hints" || fail "maximum size: $hints"

# Motif hints: functions and decorations without minimise or maximise.
read -r _ _ flags functions decorations _ < <(xprop -id "$id" _MOTIF_WM_HINTS | tr -d ',' )
(( (functions & (8 | 16)) == 0 )) || fail "minimise/maximise allowed: $functions"
(( (decorations & (32 | 64)) == 0 )) || fail "minimise/maximise buttons: $decorations"
(( (decorations & 8) != 0 )) || fail "no title bar: $decorations"

# The window manager's close ends the program, with status 0.
wmctrl -i -c "$id"
expect_exit 0 5 "after the close box"
echo "PASS: main window on X"
