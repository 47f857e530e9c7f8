#!/usr/bin/env bash
# The progress window under a real X server and window manager: the hints
# it gives (no buttons, no menu, fixed size, no task-bar button) and a close
# request sent through the server. The checks themselves are tst_ez_fon_cnt's
# x11Frame, which skips itself without an X server.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/xvfb.sh"

start_xvfb
QT_QPA_PLATFORM=xcb "$GLYPHORA_BUILD/tests/tst_ez_fon_cnt" x11Frame
