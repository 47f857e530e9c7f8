#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The real program under a Chinese locale on a real X server, with the
# tests' fonts, a Chinese face, and two families named in Chinese and in
# Arabic whose faces have only Latin letters. Their names in the list, and
# the user's Chinese text in the text box, must show the glyphs of the faces
# that have them: each is looked for in a screenshot as the face that has
# it draws it alone. Printed, the Chinese name is in its caption, in the
# Chinese face, and nowhere else.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/common.sh"
source "$GLYPHORA_TESTS/e2e/xvfb.sh"
source "$GLYPHORA_TESTS/e2e/window_pixels.sh"

e2e_program_on_x
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 LANGUAGE=
fonts=$E2E_WORK/fonts
/usr/bin/python3 "$GLYPHORA_TESTS/../bench/make_font_collection.py" \
    /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf "$fonts" 2 2
cat >"$E2E_WORK/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include>$GLYPHORA_BUILD/tests/fallback_fonts.conf</include>
  <dir>$fonts</dir>
</fontconfig>
CONF
export FONTCONFIG_FILE=$E2E_WORK/fonts.conf
fc-cache "$fonts"
# The words of the names without their numbers.
chinese=$(fc-scan --format '%{family[0]}' "$fonts/family00000.ttf" | cut -d' ' -f1)
arabic=$(fc-scan --format '%{family[0]}' "$fonts/family00001.ttf" | cut -d' ' -f1)
[[ -n $chinese && -n $arabic ]] || fail "the generated families have no names"

# The list and the text box draw in Arial 9 points bold: 12 pixels at 96 DPI.
pixels=12
reference() {
    "$GLYPHORA_DRAW_TEXT" "$E2E_WORK/$1.png" "$2" "$pixels" "$3" || fail "cannot draw $3 in $2"
}
reference chinese "WenQuanYi Zen Hei" "$chinese"
reference arabic "DejaVu Sans" "$arabic"
reference typed "WenQuanYi Zen Hei" "你好世界"

# found DUMP X Y W H REFERENCE: whether the reference's pixels are in that
# part of the dump, give or take a few.
found() {
    local dump=$1 x=$2 y=$3 w=$4 h=$5 picture=$E2E_WORK/$6.png differing size
    convert "xwd:$dump" -crop "${w}x${h}+${x}+${y}" +repage "$E2E_WORK/region.png"
    differing=$(compare -metric AE -fuzz 35% -subimage-search "$E2E_WORK/region.png" "$picture" null: 2>&1 |
                cut -d' ' -f1) || true
    size=$(identify -format '%[fx:w*h]' "$picture")
    [[ $differing =~ ^[0-9]+$ ]] && ((differing * 50 <= size))
}

# The user's Chinese text, as the last Exit stored it.
mkdir -p "$XDG_CONFIG_HOME/Glyphora"
printf '[User%%20Text]\nText=你好世界\n' >"$XDG_CONFIG_HOME/Glyphora/Glyphora.conf"
start_program
id=$(wait_for_window Glyphora 60) || fail "the main window did not appear"

# The names: the list is scrolled a page at a time until both were seen.
list=("${main_fontList[@]}")
seen_chinese=0 seen_arabic=0
for page in $(seq 12); do
    settled_dump "$id" "$E2E_WORK/list.xwd"
    found "$E2E_WORK/list.xwd" "${list[@]}" chinese && seen_chinese=1
    found "$E2E_WORK/list.xwd" "${list[@]}" arabic && seen_arabic=1
    ((seen_chinese && seen_arabic)) && break
    xdotool mousemove --window "$id" $((list[0] + list[2] / 2)) $((list[1] + list[3] / 2)) click 5 click 5 click 5
done
((seen_chinese)) || fail "the Chinese name $chinese does not show in the list"
((seen_arabic)) || fail "the Arabic name $arabic does not show in the list, right to left and joined"

# The Chinese text in the text box, enabled so that it draws in black.
click_control "$id" main_userTextOption
settled_dump "$id" "$E2E_WORK/typed.xwd"
found "$E2E_WORK/typed.xwd" "${main_userTextBox[@]}" typed || fail "the user's Chinese text does not show in the text box"
# The sheet of every font, from the PDF printer: the captions carry the
# names, the Chinese one in the Chinese face; the generated family's own
# sample line has no glyph for it and borrows none, so the name is found
# once. Back to the names as samples first.
click_control "$id" main_fontNameOption
click_control "$id" main_selectAllButton
click_control "$id" main_printButton
for _ in $(seq 300); do
    sheet=$(find "$HOME/Documents" -name '*.pdf' 2>/dev/null | head -n 1)
    [[ -n $sheet ]] && break
    sleep 0.1
done
[[ -n $sheet ]] || fail "no sheet was filed"
pdffonts "$sheet" | grep -q '^[A-Z]*+\?WenQuanYiZenHei ' || fail "the sheet has no Chinese face: $(pdffonts "$sheet")"
[[ $(pdftotext "$sheet" - | grep -o "$chinese" | wc -l) == 1 ]] ||
    fail "the Chinese name is not on the sheet once: $(pdftotext "$sheet" - | grep "$chinese")"
pdftotext "$sheet" - | grep -q "($chinese " || fail "no caption of the Chinese name"
# Both names are outline entries, as their captions have them.
titles=$(qpdf --json --json-key=outlines "$sheet" | /usr/bin/python3 -c '
import json, sys
def titles(items):
    for item in items:
        print(item["title"])
        titles(item["kids"])
titles(json.load(sys.stdin)["outlines"])')
for name in "$chinese" "$arabic"; do
    grep -q "^$name " <<<"$titles" || fail "no outline entry for $name: $titles"
done
click_control "$id" main_exitButton
expect_exit 0
