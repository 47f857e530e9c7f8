# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the end-to-end scripts: a private home, clean-up at exit,
# failing with the program's own words, waiting for a program to end, and
# the places of the windows' controls.
#
#   e2e_private_home        makes E2E_WORK, a temporary folder removed at
#                           exit, and points HOME, XDG_CONFIG_HOME,
#                           XDG_RUNTIME_DIR and TMPDIR into it; forgets the
#                           user's printer choices (PRINTER, LPDEST)
#   e2e_at_exit COMMAND     runs COMMAND when the script ends, the last
#                           registered first
#   e2e_program_on_x [WxHxD]
#                           e2e_private_home, no print server (the PDF
#                           printer files sheets in ~/Documents), and a
#                           private X server with a window manager that the
#                           program runs on (xvfb.sh must be sourced)
#   fail MESSAGE            "FAIL: MESSAGE", then what the program said on
#                           stderr, and exit 1
#   start_program [ARGS]    starts the program in the background, its output
#                           in $E2E_WORK/stdout and stderr (this run's alone);
#                           PROGRAM_PID is its process, killed at exit if it
#                           still runs
#   wait_for_exit PID [S]   waits up to S seconds (20) for PID, a child of
#                           this shell, to end; sets EXIT_STATUS; returns 1
#                           if it still runs
#   expect_exit STATUS [S] [WHAT]
#                           the program ends within S seconds with STATUS,
#                           or the test fails
#   click_control WINDOW NAME [X-OFFSET Y-OFFSET]
#                           clicks the middle of a control (main_exitButton,
#                           progress_stopButton ...) in the X window WINDOW
#
# Waits are upper bounds for a loaded machine, not a pace: a program that
# ends, or a window that shows, is seen at once.

E2E_AT_EXIT=()
E2E_WORK=
PROGRAM_PID=
EXIT_STATUS=

e2e_run_at_exit() {
    local i
    for ((i = ${#E2E_AT_EXIT[@]} - 1; i >= 0; --i)); do
        eval "${E2E_AT_EXIT[i]}" || true
    done
}
trap e2e_run_at_exit EXIT

e2e_at_exit() {
    E2E_AT_EXIT+=("$*")
}

# Servers started through xvfb.sh and private_cupsd.sh are stopped here,
# with everything else, not through traps of their own.
XVFB_NO_TRAP=1
CUPSD_NO_TRAP=1

e2e_private_home() {
    E2E_WORK=$(mktemp -d)
    e2e_at_exit 'rm -rf "$E2E_WORK"'
    export HOME=$E2E_WORK XDG_CONFIG_HOME=$E2E_WORK/.config XDG_RUNTIME_DIR=$E2E_WORK/runtime
    export TMPDIR=$E2E_WORK/tmp
    mkdir -p "$TMPDIR" "$XDG_CONFIG_HOME"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    unset PRINTER LPDEST XDG_DOCUMENTS_DIR
}

e2e_program_on_x() {
    e2e_private_home
    export CUPS_SERVER=$E2E_WORK/no-cupsd.sock
    e2e_at_exit stop_xvfb
    start_xvfb "$@"
    export QT_QPA_PLATFORM=xcb
}

fail() {
    echo "FAIL: $*" >&2
    if [[ -n $E2E_WORK && -s $E2E_WORK/stderr ]]; then
        sed 's/^/glyphora: /' "$E2E_WORK/stderr" >&2
    fi
    exit 1
}

e2e_kill_program() {
    if [[ -n $PROGRAM_PID ]]; then
        kill -CONT "$PROGRAM_PID" 2>/dev/null
        kill "$PROGRAM_PID" 2>/dev/null
        wait "$PROGRAM_PID" 2>/dev/null
    fi
    PROGRAM_PID=
}
e2e_at_exit e2e_kill_program

start_program() {
    "$GLYPHORA_BIN" "$@" >"$E2E_WORK/stdout" 2>"$E2E_WORK/stderr" &
    PROGRAM_PID=$!
}

wait_for_exit() {
    local pid=$1 seconds=${2:-20}
    EXIT_STATUS=
    for _ in $(seq $((seconds * 20))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            EXIT_STATUS=0
            wait "$pid" || EXIT_STATUS=$?
            return 0
        fi
        sleep 0.05
    done
    return 1
}

expect_exit() {
    local status=$1 seconds=${2:-20} what=${3:-}
    wait_for_exit "$PROGRAM_PID" "$seconds" ||
        fail "the program still runs $seconds s ${what:-later}"
    PROGRAM_PID=
    [[ $EXIT_STATUS -eq $status ]] || fail "the program ended with status $EXIT_STATUS, not $status"
}

# The control places come from the windows' design tables, written at build
# time.
# shellcheck source=/dev/null
source "$GLYPHORA_BUILD/tests/e2e/control_places.sh"

# centre_of NAME [X-OFFSET Y-OFFSET]: "x y" of the middle of a control.
centre_of() {
    local -n place=$1
    echo $((place[0] + place[2] / 2 + ${2:-0})) $((place[1] + place[3] / 2 + ${3:-0}))
}

click_control() {
    local window=$1 name=$2
    # shellcheck disable=SC2046
    xdotool mousemove --window "$window" $(centre_of "$name" "${3:-0}" "${4:-0}") click 1
}
