# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by end-to-end tests that read a window's pixels (after common.sh,
# whose fail it uses):
#   settled_dump ID FILE     dumps the X window ID into FILE once two dumps
#                            in a row agree
#   region_hash DUMP X Y W H a checksum of those pixels of a dump
#   sample_checksum ID NAME  dumps the settled window ID into
#                            $E2E_WORK/NAME.xwd and prints the checksum of
#                            its sample line (SAMPLE)
#   sample_change ID NAME BEFORE
#                            sample_checksum once the sample line no longer
#                            has the checksum BEFORE, what it showed before
#                            an action: a picture taken before the program
#                            reacted cannot stand for its answer. Fails if
#                            it never changes, or never settles (as a
#                            command substitution, only its exit status
#                            says so: assign it, under set -e).
#   SAMPLE                   the main window's sample line less its lowest
#                            row (the font-name option covers it) and its
#                            right end (the display size list covers it)

SAMPLE=("${main_sampleLine[0]}" "${main_sampleLine[1]}"
        $((main_displaySizeList[0] - main_sampleLine[0])) $((main_sampleLine[3] - 1)))

# A big-endian 32-bit field of an X window dump.
xwd_field() { od -An -tu4 --endian=big -j"$2" -N4 "$1" | tr -d ' '; }

region_hash() {
    local dump=$1 x=$2 y=$3 width=$4 height=$5
    local start bytes_per_line pixel_bytes
    start=$(($(xwd_field "$dump" 0) + $(xwd_field "$dump" 76) * 12))
    bytes_per_line=$(xwd_field "$dump" 48)
    pixel_bytes=$(($(xwd_field "$dump" 44) / 8))
    for ((row = y; row < y + height; ++row)); do
        dd if="$dump" iflag=skip_bytes,count_bytes status=none \
            skip=$((start + row * bytes_per_line + x * pixel_bytes)) count=$((width * pixel_bytes))
    done | sha256sum | cut -d' ' -f1
}

settled_dump() {
    local previous= now
    for _ in $(seq 60); do
        xwd -id "$1" -silent >"$2"
        now=$(sha256sum <"$2")
        [[ $now == "$previous" ]] && return 0
        previous=$now
        sleep 0.1
    done
    fail "the window does not settle"
}

sample_checksum() {
    settled_dump "$1" "$E2E_WORK/$2.xwd"
    region_hash "$E2E_WORK/$2.xwd" "${SAMPLE[@]}"
}

sample_change() {
    local now deadline=$((SECONDS + 20))
    while ((SECONDS < deadline)); do
        now=$(sample_checksum "$1" "$2") || exit 1
        if [[ $now != "$3" ]]; then
            echo "$now"
            return 0
        fi
        sleep 0.1
    done
    fail "the sample line does not change ($2)"
}
