#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The real program's command line: --help and --version as in other Qt
# programs, with or without a display; Qt's own options still taken; an
# unknown option or an argument it does not take is one line on stderr and
# status 2, before any window.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/common.sh"

e2e_private_home
export CUPS_SERVER=$E2E_WORK/no-cupsd.sock
work=$E2E_WORK

# run EXPECTED_STATUS ARGS...: runs the program, leaves its output in
# $work/out and $work/err. A program that opened its window would not end:
# the time limit catches it.
run() {
    local expected=$1 status=0
    shift
    timeout 60 "$GLYPHORA_BIN" "$@" >"$work/out" 2>"$work/err" || status=$?
    [[ $status -eq $expected ]] || fail "glyphora $* ended with $status, not $expected: $(cat "$work/err")"
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$GLYPHORA_BUILD/CMakeCache.txt")
[[ -n $version ]] || fail "no project version in the build"

for display in offscreen none; do
    if [[ $display == none ]]; then
        unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
    fi
    for option in --help -h; do
        run 0 "$option"
        grep -q '^Usage: .*glyphora \[options\]$' "$work/out" || fail "$option ($display): $(cat "$work/out")"
        grep -qE '^ +-v, --version ' "$work/out" || fail "$option ($display) lists no --version"
        [[ ! -s $work/err ]] || fail "$option ($display) wrote to stderr: $(cat "$work/err")"
    done
    for option in --version -v; do
        run 0 "$option"
        [[ $(cat "$work/out") == "Glyphora $version" ]] || fail "$option ($display): $(cat "$work/out")"
    done
done
export QT_QPA_PLATFORM=offscreen

# Qt's own options are Qt's: the program neither refuses nor repeats them.
unset QT_QPA_PLATFORM
run 0 -platform offscreen --version
[[ $(cat "$work/out") == "Glyphora $version" ]] || fail "-platform offscreen --version: $(cat "$work/out")"
run 0 --platform offscreen --version
export QT_QPA_PLATFORM=offscreen
run 0 -style fusion --version

# A command line the program does not understand: one line, status 2,
# nothing on stdout.
check_refused() {
    local expected=$1
    shift
    run 2 "$@"
    [[ ! -s $work/out ]] || fail "glyphora $* wrote to stdout: $(cat "$work/out")"
    # Qt's platform may warn about the environment first; the program's own
    # complaint is one line.
    mapfile -t lines < <(grep '^glyphora: ' "$work/err")
    [[ ${#lines[@]} -eq 1 && ${lines[0]} == "glyphora: $expected" ]] ||
        fail "glyphora $*: $(cat "$work/err")"
}
check_refused "Unknown option 'bogus'." --bogus
check_refused "Unknown options: bogus, x." --bogus -x
check_refused "unexpected argument 'extra'" extra
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
check_refused "Unknown option 'bogus'." --bogus

echo "PASS: --help, --version, Qt's options, and unknown ones refused"
