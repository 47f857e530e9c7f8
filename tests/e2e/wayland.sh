#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# A Wayland session, from a headless weston. Where XWayland is offered (here
# an X server beside the compositor) the program runs on X11, where its
# windows keep their places and the progress window its frame; where it is
# not, it runs on Wayland, where the compositor places the windows. A
# platform the user names wins.
set -euo pipefail
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

fail() {
    echo "FAIL: $*" >&2
    [[ -s $work/stderr ]] && sed 's/^/glyphora: /' "$work/stderr" >&2
    exit 1
}

work=$(mktemp -d)
pid=
weston_pid=
XVFB_NO_TRAP=1
stop_program() {
    if [[ -n $pid ]]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        pid=
    fi
}
cleanup() {
    stop_program
    if [[ -n $weston_pid ]]; then
        kill "$weston_pid" 2>/dev/null || true
        wait "$weston_pid" 2>/dev/null || true
    fi
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export CUPS_SERVER=$work/no-cupsd.sock
unset PRINTER LPDEST QT_QPA_PLATFORM

weston --backend=headless-backend.so --socket=glyphora-test --idle-time=0 \
    >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 200); do
    [[ -S $XDG_RUNTIME_DIR/glyphora-test ]] && break
    kill -0 "$weston_pid" 2>/dev/null || { cat "$work/weston.log" >&2; fail "weston did not start"; }
    sleep 0.05
done
[[ -S $XDG_RUNTIME_DIR/glyphora-test ]] || fail "weston made no socket"
export WAYLAND_DISPLAY=glyphora-test XDG_SESSION_TYPE=wayland
start_xvfb

# Which platform Qt loaded, from its own log of the plugin it took.
platform_loaded() {
    sed -n 's/^qt.qpa.plugin: Successfully loaded Qt platform plugin "\(.*\)"$/\1/p' "$work/stderr"
}
start_program() {
    QT_LOGGING_RULES="qt.qpa.plugin=true" "$GLYPHORA_BIN" "$@" 2>"$work/stderr" &
    pid=$!
}
# Waits until the program has taken a platform and shown its main window
# there (Qt's Wayland backing store asks for its first frame), and is still
# running.
wait_for_wayland_window() {
    for _ in $(seq 400); do
        kill -0 "$pid" 2>/dev/null || fail "the program ended on Wayland"
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
stop_program

# A platform the user names is taken, on the command line or in the
# environment.
start_program -platform wayland
wait_for_wayland_window
stop_program
QT_QPA_PLATFORM=wayland start_program
wait_for_wayland_window
stop_program

# No XWayland: the program runs on Wayland, and stays up.
DISPLAY= start_program
wait_for_wayland_window
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the program ended on Wayland"
xdotool search --onlyvisible --name '^Glyphora$' >/dev/null 2>&1 && fail "a window appeared on the X server"
stop_program

echo "PASS: XWayland chosen beside Wayland; Wayland alone, or when named, taken"
