#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The progress window's count line and name line tell a screen reader of
# every new text. Qt sends such notifications only while a reader listens,
# so this runs tst_accessibility's check under an X server with a private
# session bus and the accessibility bus that it starts on request, the way
# a desktop with a screen reader runs the program.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/common.sh"
source "$GLYPHORA_TESTS/e2e/xvfb.sh"

for tool in dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

# The accessibility bus keeps its socket under the runtime folder.
e2e_private_home
work=$E2E_WORK
e2e_at_exit stop_xvfb
export LSAN_OPTIONS="suppressions=$GLYPHORA_TESTS/e2e/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
start_xvfb

# Qt turns accessibility on when the session bus has an accessibility bus
# and the desktop says a reader is wanted; the variable says the latter.
# The session bus, and with it the accessibility bus, ends with the test.
dbus-run-session -- bash -c '
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null &&
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
        "$0/tests/tst_accessibility" progressLinesAnnounceChanges
' "$GLYPHORA_BUILD" >"$work/out" 2>&1 || { cat "$work/out" >&2; fail "tst_accessibility"; }
grep -q '^PASS   : tst_Accessibility::progressLinesAnnounceChanges()' "$work/out" ||
    { cat "$work/out" >&2; fail "accessibility did not come on"; }
echo "PASS: the progress lines announce their changes"
