# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by end-to-end tests: a private X server with a window manager.
#   start_xvfb [WxHxD]   starts Xvfb on a free display, exports DISPLAY, and
#                        starts openbox so that frames and hints are real
#   stop_xvfb            stops both (start_xvfb installs it as an EXIT trap
#                        unless XVFB_NO_TRAP is set)
# The tests run under QT_QPA_PLATFORM=offscreen; code that talks to this
# server must unset it (or set it to xcb).

XVFB_PID=
WM_PID=

start_xvfb() {
    local geometry=${1:-1024x768x24}
    local fdfile
    fdfile=$(mktemp)
    # -displayfd lets the server pick a free display number and tell us.
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp -dpi 96 3>"$fdfile" 2>/dev/null &
    XVFB_PID=$!
    local waited=0
    while [[ ! -s $fdfile ]]; do
        sleep 0.05
        waited=$((waited + 1))
        if [[ $waited -gt 200 ]] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
            echo "xvfb: the X server did not start" >&2
            rm -f "$fdfile"
            return 1
        fi
    done
    export DISPLAY=":$(tr -d '\n' <"$fdfile")"
    rm -f "$fdfile"
    [[ -n ${XVFB_NO_TRAP:-} ]] || trap stop_xvfb EXIT
    if [[ -z ${XVFB_NO_WM:-} ]] && command -v openbox >/dev/null; then
        openbox --sm-disable >/dev/null 2>&1 &
        WM_PID=$!
        # Wait until the window manager owns the screen.
        for _ in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
            sleep 0.05
        done
    fi
}

stop_xvfb() {
    [[ -n $WM_PID ]] && kill "$WM_PID" 2>/dev/null && wait "$WM_PID" 2>/dev/null
    [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    WM_PID=
    XVFB_PID=
    return 0
}

# wait_for_window NAME [SECONDS]: prints the id of the first mapped window
# whose title is NAME, waiting for it to appear.
wait_for_window() {
    local name=$1 seconds=${2:-10} id
    local tries=$((seconds * 20))
    for _ in $(seq "$tries"); do
        id=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -n 1)
        [[ -n $id ]] && { echo "$id"; return 0; }
        sleep 0.05
    done
    return 1
}

# wait_for_message_box WINDOW [SECONDS]: prints the id of the first mapped
# window titled like WINDOW but other than it (the program's message box,
# which carries the program's title), waiting for it to appear.
wait_for_message_box() {
    local window=$1 seconds=${2:-10} id
    local name
    name=$(xdotool getwindowname "$window")
    for _ in $(seq $((seconds * 20))); do
        id=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | grep -vx "$window" | head -n 1) || true
        [[ -n $id ]] && { echo "$id"; return 0; }
        sleep 0.05
    done
    return 1
}
