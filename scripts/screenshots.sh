#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Takes screenshots of both windows of the real program on a private X
# server with a window manager, with no printer set up and only the fonts
# that the project installs, so that the pictures do not depend on the
# machine. (Where the progress window's count stands when it is taken
# differs from run to run.)
#
#   scripts/screenshots.sh [FOLDER]
#
# Writes FOLDER/main-window.png and FOLDER/progress-window.png (FOLDER is
# docs/screenshots unless given). The program is built first unless
# GLYPHORA_BIN names one. Qt's own variables pass through, so
# QT_SCALE_FACTOR=1.5 scripts/screenshots.sh /tmp/x shows the windows at
# 144 DPI.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$root/docs/screenshots}

GLYPHORA_BUILD=${GLYPHORA_BUILD_DIR:-$root/build}
if [[ -z ${GLYPHORA_BIN:-} ]]; then
    "$root/scripts/build.sh" >/dev/null
    GLYPHORA_BIN=$GLYPHORA_BUILD/src/glyphora
fi
. "$root/tests/e2e/common.sh"
. "$root/tests/e2e/xvfb.sh"

# No printer: the font list is the installed families alone.
e2e_program_on_x 1280x1024x24
work=$E2E_WORK
export LC_ALL=C.UTF-8 LANG=C.UTF-8
sed "s#@FONTCONFIG_CACHE_DIR@#$work/fontconfig-cache#" "$root/tests/fontconfig/fonts.conf.in" \
    >"$work/fonts.conf"
export FONTCONFIG_FILE=$work/fonts.conf
mkdir -p "$out"

# The window with its frame, without the dates that would make every run's
# file differ.
capture() {
    local id=$1 file=$2
    import -silent -frame -window "$id" +set date:create +set date:modify -strip "$file"
}

# The progress window is up for a fraction of a second while the fonts are
# read. The program is slowed down by stopping it most of the time, until
# the window shows a count, and is held stopped while it is photographed.
# Should the window come and go between two looks, the program starts again.
shoot_progress_window() {
    local id seen=
    start_program
    pid=$PROGRAM_PID
    while kill -0 "$pid" 2>/dev/null; do
        kill -STOP "$pid"
        id=$(xdotool search --onlyvisible --name '^Reading Fonts$' 2>/dev/null | head -n 1) || true
        if [[ -n $id ]]; then
            seen=1
            # Painted: the count line's blue is on the window.
            xwd -silent -id "$id" -out "$work/progress.xwd"
            if [[ $(convert "$work/progress.xwd" -fill black +opaque '#0000ff' \
                        -format '%[fx:maxima.b]' info:) == 1 ]]; then
                capture "$id" "$out/progress-window.png"
                kill -CONT "$pid"
                return 0
            fi
        elif [[ -n $seen ]] || xdotool search --onlyvisible --name '^Glyphora$' >/dev/null 2>&1; then
            break
        fi
        kill -CONT "$pid"
        sleep 0.002
    done
    e2e_kill_program
    return 1
}
shot=
for _ in 1 2 3 4 5; do
    shoot_progress_window && { shot=1; break; }
done
[[ -n $shot ]] || fail "missed the progress window five times"

id=$(wait_for_window Glyphora 30) || fail "the main window did not appear"
# A font clicked, so that the sample line shows it, and a second one added
# to the selection for printing.
sleep 0.5
row_height=${main_fontListFirstRow[3]}
click_control "$id" main_fontListFirstRow 0 "$row_height"
# shellcheck disable=SC2046
xdotool keydown ctrl mousemove --window "$id" $(centre_of main_fontListFirstRow 0 $((4 * row_height))) \
    click 1 keyup ctrl
sleep 0.5
capture "$id" "$out/main-window.png"

e2e_kill_program
echo "screenshots: $out/main-window.png $out/progress-window.png"
