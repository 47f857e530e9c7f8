# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the benchmark scripts after prepare.sh: large collections of
# real fonts, found by fontconfig through configurations and a cache of
# their own, as an installed system's would be.
#   make_font_sets SIZE...   generates as many TrueType families as the
#                            largest SIZE (copies of one face under names
#                            of their own, one in a hundred Chinese or
#                            Arabic) and sets conf[SIZE] to a
#                            configuration with the base faces and SIZE of
#                            them, and conf[baseline] to one with the base
#                            faces alone
#   families_of SET          how many families fontconfig lists for a set
#   median COLUMN KEY        the median of a column of the lines that the
#                            associative array results holds under KEY

declare -A conf
font_face=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
base_dirs=(/usr/share/fonts/truetype/liberation /usr/share/fonts/truetype/dejavu
           /usr/share/fonts/opentype/urw-base35 /usr/share/fonts/truetype/wqy)

# font_set NAME FOLDER...: a configuration for the base faces and the
# folders given, with its cache built here.
font_set() {
    local name=$1 conf=$work/$1.conf
    shift
    {
        echo '<?xml version="1.0"?>'
        echo '<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">'
        echo '<fontconfig>'
        for dir in "${base_dirs[@]}" "$@"; do
            echo "  <dir>$dir</dir>"
        done
        echo "  <cachedir>$work/fontconfig-cache</cachedir>"
        echo '  <include ignore_missing="yes">/etc/fonts/conf.d</include>'
        echo '</fontconfig>'
    } >"$conf"
    FONTCONFIG_FILE=$conf fc-cache >/dev/null
    echo "$conf"
}

make_font_sets() {
    local sizes=("$@") largest=${!#} previous=0 parts=() part size i
    echo "Generating $largest families..." >&2
    /usr/bin/python3 "$root/bench/make_font_collection.py" "$font_face" "$work/generated" "$largest" 100
    # The sets share their folders: each smaller set is part of the next.
    find "$work/generated" -name '*.ttf' | sort >"$work/generated.list"
    for size in "${sizes[@]}"; do
        part=$work/fonts/upto-$size
        mkdir -p "$part"
        sed -n "$((previous + 1)),${size}p" "$work/generated.list" | xargs mv -t "$part"
        parts+=("$part")
        previous=$size
    done
    echo "Building the fontconfig caches..." >&2
    conf[baseline]=$(font_set baseline)
    for i in "${!sizes[@]}"; do
        conf[${sizes[$i]}]=$(font_set "families-${sizes[$i]}" "${parts[@]:0:$((i + 1))}")
    done
}

families_of() {
    FONTCONFIG_FILE=${conf[$1]} fc-list : family | sort -u | wc -l
}

median() {
    awk -v c="$1" 'NF { print $c }' <<<"${results[$2]}" | sort -g |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
