#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The real program under Xvfb with a font folder of its own, whose files
# change while it runs. A face file cut short after its sample was drawn (as
# a copy of a new version over it does in its first moment) is read no
# more: typing and a click on it again leave the program running, the
# sample line saying that the font is not available, as for a file deleted
# before its first use; other fonts show as ever, and Exit stores the
# typed text.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/common.sh"
source "$GLYPHORA_TESTS/e2e/xvfb.sh"
source "$GLYPHORA_TESTS/e2e/window_pixels.sh"

e2e_program_on_x
fonts=$E2E_WORK/fonts
mkdir -p "$fonts"
# The list reads: DejaVu Sans Mono, DejaVu Serif, Liberation Mono, Liberation Sans.
cp /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf /usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf \
   /usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf \
   /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf "$fonts"
cat >"$E2E_WORK/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>$fonts</dir>
  <cachedir>$E2E_WORK/fontconfig-cache</cachedir>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
</fontconfig>
EOF
export FONTCONFIG_FILE=$E2E_WORK/fonts.conf
typed='QWERTYUIOPasdfghjkl@#%&*()_+{}|:<>?~'

row_height=${main_fontListFirstRow[3]}
click_row() {
    xdotool mousemove --window "$main" "$((main_fontListFirstRow[0] + 20))" \
        "$((main_fontListFirstRow[1] + $1 * row_height + row_height / 2))" click 1
}
start_program
main=$(wait_for_window Glyphora 60) || fail "the main window did not appear"
settled_dump "$main" "$E2E_WORK/start.xwd"
before=$(region_hash "$E2E_WORK/start.xwd" "${SAMPLE[@]}")

# Every check below waits for the sample line to change from what it showed
# before the action, so that it cannot pass on a picture taken before the
# program reacted.
#
# What the note looks like: it is drawn in the caption face (Arial, here
# Liberation Sans) at the display size, as the same words typed as the
# user's text are in a click on Liberation Sans.
click_control "$main" main_userTextOption
click_control "$main" main_userTextBox
xdotool type --delay 20 "Font Not Available"
before=$(sample_change "$main" typed-note "$before")
click_row 3
not_available=$(sample_change "$main" not-available "$before")
click_control "$main" main_fontNameOption
before=$(sample_change "$main" named "$not_available")

click_row 0
shown=$(sample_change "$main" shown "$before")
truncate -s 2000 "$fonts/DejaVuSansMono.ttf"
click_control "$main" main_userTextOption
click_control "$main" main_userTextBox
xdotool key ctrl+a
xdotool type --delay 20 "$typed"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program died when its font file was cut short"
typed_lost=$(sample_change "$main" typed-lost "$shown")
[[ $typed_lost == "$not_available" ]] || fail "the typed text shows in the font cut short"
# A font whose file is whole shows the typed text.
click_row 3
before=$(sample_change "$main" whole-font "$typed_lost")
click_row 0
lost=$(sample_change "$main" lost "$before")
[[ $lost == "$not_available" ]] || fail "the sample line still shows the font cut short"

rm "$fonts/DejaVuSerif.ttf"
click_row 2
before=$(sample_change "$main" other-whole-font "$lost")
click_row 1
gone=$(sample_change "$main" gone "$before")
[[ $gone == "$not_available" ]] || fail "a font deleted does not show as not available"

click_control "$main" main_exitButton
expect_exit 0
grep -qF 'QWERTYUIOPasdfghjkl' "$XDG_CONFIG_HOME/Glyphora/Glyphora.conf" || fail "the typed text was not stored"
echo "PASS: a font file cut short while drawn, and one deleted, on X"
