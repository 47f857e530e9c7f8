#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# A Wayland session, from a headless weston. Where XWayland is offered (here
# an X server beside the compositor) the program runs on X11, where its
# windows keep their places and the progress window its frame; where it is
# not, it runs on Wayland, where the compositor places the windows. A
# platform the user names wins.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/common.sh"
source "$GLYPHORA_TESTS/e2e/xvfb.sh"

for tool in weston Xvfb; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
plugins=$(qtpaths6 --plugin-dir 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
if [[ ! -e $plugins/platforms/libqwayland-generic.so ]]; then
    echo "SKIP: Qt's Wayland platform is not installed"
    exit 77
fi

e2e_private_home
export CUPS_SERVER=$E2E_WORK/no-cupsd.sock
unset QT_QPA_PLATFORM
weston_pid=
e2e_at_exit '[[ -n $weston_pid ]] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null'
e2e_at_exit stop_xvfb

weston --backend=headless-backend.so --socket=glyphora-test --idle-time=0 \
    >"$E2E_WORK/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 200); do
    [[ -S $XDG_RUNTIME_DIR/glyphora-test ]] && break
    kill -0 "$weston_pid" 2>/dev/null || { cat "$E2E_WORK/weston.log" >&2; fail "weston did not start"; }
    sleep 0.05
done
[[ -S $XDG_RUNTIME_DIR/glyphora-test ]] || fail "weston made no socket"
export WAYLAND_DISPLAY=glyphora-test XDG_SESSION_TYPE=wayland
start_xvfb

# Which platform Qt loaded, from its own log of the plugin it took.
platform_loaded() {
    sed -n 's/^qt.qpa.plugin: Successfully loaded Qt platform plugin "\(.*\)"$/\1/p' "$E2E_WORK/stderr"
}
export QT_LOGGING_RULES="qt.qpa.plugin=true"
# Waits until the program has taken Qt's Wayland platform, and fails if it
# ends.
wait_for_wayland_window() {
    for _ in $(seq 400); do
        kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended on Wayland"
        [[ $(platform_loaded) == wayland ]] && return 0
        sleep 0.05
    done
    fail "the program did not take Qt's Wayland platform"
}

# XWayland is there: the program is an X11 client, its main window at its
# size and place.
start_program
id=$(wait_for_window Glyphora 30) || fail "the main window did not appear on the X server"
[[ $(platform_loaded) == xcb ]] || fail "platform $(platform_loaded), not xcb"
geometry=$(xwininfo -id "$id")
grep -q 'Width: 379$' <<<"$geometry" && grep -q 'Height: 444$' <<<"$geometry" ||
    fail "main window size: $geometry"
e2e_kill_program || true

# A platform the user names is taken, on the command line or in the
# environment.
start_program -platform wayland
wait_for_wayland_window
e2e_kill_program || true
QT_QPA_PLATFORM=wayland start_program
wait_for_wayland_window
e2e_kill_program || true

# No XWayland: the program runs on Wayland, and stays up.
DISPLAY= start_program
wait_for_wayland_window
sleep 2
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended on Wayland"
xdotool search --onlyvisible --name '^Glyphora$' >/dev/null 2>&1 && fail "a window appeared on the X server"
e2e_kill_program || true

echo "PASS: XWayland chosen beside Wayland; Wayland alone, or when named, taken"
