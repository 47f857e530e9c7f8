#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The progress window under a real X server and window manager: the hints
# it gives (no buttons, no menu, fixed size, no task-bar button), a close
# request sent through the server, and an opening that returns with the
# window mapped, so that the drivers' first repaints are seen. The checks
# themselves are tst_progress_window's x11Frame, which skips itself without
# an X server, and repaintRightAfterOpenReachesTheScreen.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/xvfb.sh"

# Qt's X11 platform loads libdbus, which keeps an allocation to the end.
export LSAN_OPTIONS="suppressions=$GLYPHORA_TESTS/e2e/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
start_xvfb
QT_QPA_PLATFORM=xcb "$GLYPHORA_BUILD/tests/tst_progress_window" x11Frame repaintRightAfterOpenReachesTheScreen
