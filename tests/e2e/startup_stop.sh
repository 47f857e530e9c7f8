#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The real program under an X server and a window manager, reading the fonts
# of a printer whose PPD lists 20,000 of them: the progress window comes up
# with its caption and a running count, and a click on its Stop button ends
# the program with status 0 before the main window ever appears, leaving the
# settings file as it was.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/common.sh"
. "$here/xvfb.sh"
. "$here/private_cupsd.sh"

skip_without_private_cupsd

FONTS=20000

watcher=
e2e_private_home
e2e_at_exit stop_private_cupsd
e2e_at_exit stop_xvfb
e2e_at_exit '[[ -n $watcher ]] && kill "$watcher" 2>/dev/null'

start_private_cupsd
add_pdf_queue_with_fonts glyphora-many-fonts "$FONTS"
lpadmin -d glyphora-many-fonts
start_xvfb
export QT_QPA_PLATFORM=xcb

settings=$XDG_CONFIG_HOME/Glyphora/Glyphora.conf
mkdir -p "$(dirname "$settings")"
printf '[User%%20Text]\nText=kept as it was\n' >"$settings"
settings_before=$(stat -c '%y %s' "$settings"; sha256sum <"$settings")

# The number of pure blue pixels (the count line's colour) in an X window
# dump: 32-bit pixels (the top byte unused), after the header and the
# colour map.
blue_pixels() {
    local dump=$1 header colours
    header=$((16#$(od -An -tx1 -N4 "$dump" | tr -d ' ')))
    colours=$((16#$(od -An -tx1 -j76 -N4 "$dump" | tr -d ' ')))
    tail -c +$((header + colours * 12 + 1)) "$dump" | od -An -v -tx4 -w4 | grep -cE ' ..0000ff$' || true
}

start_program
pid=$PROGRAM_PID

# Anything that maps the main window while the fonts are read is recorded.
(
    while kill -0 "$pid" 2>/dev/null; do
        xdotool search --onlyvisible --name '^Glyphora$' >>"$E2E_WORK/main-window" 2>/dev/null || true
        sleep 0.02
    done
) &
watcher=$!

id=$(wait_for_window "Reading Fonts" 30) || fail "the progress window did not appear"
[[ $(xdotool getwindowname "$id") == "Reading Fonts" ]] || fail "wrong caption"

# The window paints once the printer's font list is read, then the count
# line, in blue, changes with every font. Waits TRIES tenths of a second at
# the most for the window to look different from the dump in FILE.
changes_from() {
    local file=$1 tries=$2
    for _ in $(seq "$tries"); do
        sleep 0.1
        xwd -silent -id "$id" -out "$E2E_WORK/now.xwd"
        cmp -s "$file" "$E2E_WORK/now.xwd" || return 0
    done
    return 1
}
xwd -silent -id "$id" -out "$E2E_WORK/first.xwd"
# Reading a 20,000-font PPD takes a second or two, many more in a sanitizer
# build on a loaded machine: the wait is an upper bound, not a pace.
changes_from "$E2E_WORK/first.xwd" 600 || fail "the progress window was never painted"
mv "$E2E_WORK/now.xwd" "$E2E_WORK/painted.xwd"
changes_from "$E2E_WORK/painted.xwd" 20 || fail "the progress window did not change while the fonts were read"
[[ $(blue_pixels "$E2E_WORK/now.xwd") -gt 20 ]] || fail "no count line on the progress window"
kill -0 "$pid" 2>/dev/null || fail "the program ended before Stop was clicked"

click_control "$id" progress_stopButton

expect_exit 0 10 "after Stop"
wait "$watcher" 2>/dev/null || true
watcher=

[[ ! -s $E2E_WORK/main-window ]] || fail "the main window was shown"
[[ $(stat -c '%y %s' "$settings"; sha256sum <"$settings") == "$settings_before" ]] ||
    fail "the settings file changed"
echo "PASS: Stop ended the program while it read $FONTS fonts"
