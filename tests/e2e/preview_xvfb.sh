#!/usr/bin/env bash
# The real program on a real X server with a window manager and no printer,
# driven by xdotool at the places of the window's layout:
# - a click on a font changes the pixels of the sample line;
# - Exit writes the user's text into the settings file, and the next start
#   shows it in Text1 and on the sample line;
# - the close box after editing Text1 ends the program and stores nothing;
# - a damaged settings file starts the program with an empty Text1;
# - a settings store that cannot be written lets Exit end the program all
#   the same, with one line on stderr.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/xvfb.sh"

# Places in the window's client area, in pixels: 15 twips to the pixel.
FIRST_FONT_X=48; FIRST_FONT_Y=88     # List1's first entry
OPTION2_X=20;    OPTION2_Y=388       # "Use User Defined Text as Sample Text"
TEXT1_X=150;     TEXT1_Y=420
EXIT_X=260;      EXIT_Y=256          # Command1
# The sample line from 120, 4320 twips, 5175 by 975, less its lowest row
# (Option1 covers it) and its right end (List3 covers it).
SAMPLE=(8 288 328 64)
# Text1 from 840, 6120 twips, 4575 by 375.
TEXT1=(56 408 305 25)

work=$(mktemp -d)
pid=
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [[ -s $work/stderr ]] && sed 's/^/glyphora: /' "$work/stderr" >&2
    exit 1
}

export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export CUPS_SERVER=$work/no-cupsd.sock
unset PRINTER LPDEST
settings=$XDG_CONFIG_HOME/Glyphora/Glyphora.conf

XVFB_NO_TRAP=1 start_xvfb
export QT_QPA_PLATFORM=xcb

# A big-endian 32-bit field of an X window dump.
field() { od -An -tu4 --endian=big -j"$2" -N4 "$1" | tr -d ' '; }

# region_hash DUMP X Y WIDTH HEIGHT: a checksum of those pixels of the dump.
region_hash() {
    local dump=$1 x=$2 y=$3 width=$4 height=$5
    local start bytes_per_line pixel_bytes
    start=$(($(field "$dump" 0) + $(field "$dump" 76) * 12))
    bytes_per_line=$(field "$dump" 48)
    pixel_bytes=$(($(field "$dump" 44) / 8))
    for ((row = y; row < y + height; ++row)); do
        dd if="$dump" iflag=skip_bytes,count_bytes status=none \
            skip=$((start + row * bytes_per_line + x * pixel_bytes)) count=$((width * pixel_bytes))
    done | sha256sum | cut -d' ' -f1
}

# settled_dump ID FILE: dumps the window once two dumps in a row agree.
settled_dump() {
    local previous=
    for _ in $(seq 60); do
        xwd -id "$1" -silent >"$2"
        local now
        now=$(sha256sum <"$2")
        [[ $now == "$previous" ]] && return 0
        previous=$now
        sleep 0.1
    done
    fail "the window does not settle"
}

# start: runs the program and prints its window's id.
start() {
    "$GLYPHORA_BIN" 2>"$work/stderr" &
    pid=$!
    id=$(wait_for_window Glyphora 60) || fail "the main window did not appear"
}

click() { xdotool mousemove --window "$id" "$1" "$2" click 1; }

# ended STATUS: waits for the program to end and checks how.
ended() {
    # An upper bound for a loaded machine; a program that ends returns at once.
    for _ in $(seq 400); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    kill -0 "$pid" 2>/dev/null && fail "still running"
    local status=0
    wait "$pid" || status=$?
    pid=
    [[ $status -eq $1 ]] || fail "ended with status $status"
}

type_into_text1() {
    click $OPTION2_X $OPTION2_Y
    click $TEXT1_X $TEXT1_Y
    xdotool type --delay 20 "$1"
}

# 1. A font click redraws the sample line; Exit stores the typed text.
start
settled_dump "$id" "$work/start.xwd"
sample_at_start=$(region_hash "$work/start.xwd" "${SAMPLE[@]}")
empty_text1=$(region_hash "$work/start.xwd" "${TEXT1[@]}")
click $FIRST_FONT_X $FIRST_FONT_Y
settled_dump "$id" "$work/clicked.xwd"
[[ $(region_hash "$work/clicked.xwd" "${SAMPLE[@]}") != "$sample_at_start" ]] ||
    fail "the sample line did not change with a font click"
type_into_text1 "Hello Glyphora"
settled_dump "$id" "$work/typed.xwd"
[[ $(region_hash "$work/typed.xwd" "${TEXT1[@]}") != "$empty_text1" ]] || fail "Text1 shows nothing"
click $EXIT_X $EXIT_Y
ended 0
grep -qx '\[User%20Text\]' "$settings" || fail "no section in: $(cat "$settings")"
grep -qx 'Text=Hello Glyphora' "$settings" || fail "no text in: $(cat "$settings")"

# 2. The next start shows it; the close box after an edit stores nothing.
start
settled_dump "$id" "$work/second.xwd"
[[ $(region_hash "$work/second.xwd" "${TEXT1[@]}") != "$empty_text1" ]] ||
    fail "the stored text is not in Text1"
[[ $(region_hash "$work/second.xwd" "${SAMPLE[@]}") != "$sample_at_start" ]] ||
    fail "the stored text is not on the sample line"
before=$(sha256sum <"$settings")
type_into_text1 " edited"
wmctrl -i -c "$id"
ended 0
[[ $(sha256sum <"$settings") == "$before" ]] || fail "the close box stored the edit"

# 3. A damaged settings file: Text1 starts empty, with a word on stderr.
printf '[User Text\nText=Hello\n' >"$settings"
start
settled_dump "$id" "$work/damaged.xwd"
[[ $(region_hash "$work/damaged.xwd" "${TEXT1[@]}") == "$empty_text1" ]] ||
    fail "Text1 is not empty after a damaged settings file"
wmctrl -i -c "$id"
ended 0
grep -q 'ignoring the settings' "$work/stderr" || fail "nothing said about the damaged file"

# 4. A store that cannot be written: the settings folder is a plain file
# (as root, permissions would not stop the write).
export XDG_CONFIG_HOME=$work/not-a-folder
: >"$XDG_CONFIG_HOME"
start
# Clicks sent before the window has drawn itself can be lost.
settled_dump "$id" "$work/unwritable.xwd"
type_into_text1 "lost"
click $EXIT_X $EXIT_Y
ended 0
[[ $(wc -l <"$work/stderr") -eq 1 ]] && grep -q 'could not store the setting' "$work/stderr" ||
    fail "not one line about the store: $(cat "$work/stderr")"
echo "PASS: sample line, Exit and the stored text on X"
