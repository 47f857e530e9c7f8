#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# What `cmake --install` puts into a fresh prefix: the program, the menu
# entry, the icons and the software-centre metainfo, each where a desktop
# looks for it, naming each other consistently, and accepted without an
# error or a warning by the freedesktop.org and AppStream validators.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/common.sh"

e2e_private_home
work=$E2E_WORK
prefix=$work/prefix
cmake --install "$GLYPHORA_BUILD" --prefix "$prefix" >"$work/install.log" ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }

[[ -x $prefix/bin/glyphora ]] || fail "no program in bin/"

desktop_files=("$prefix"/share/applications/*.desktop)
[[ ${#desktop_files[@]} -eq 1 && -f ${desktop_files[0]} ]] || fail "not one desktop entry: ${desktop_files[*]}"
desktop=${desktop_files[0]}
app_id=$(basename "$desktop" .desktop)

# A key of the [Desktop Entry] group.
entry() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }

# The validators: hints are advice (two main categories are meant), but
# errors and warnings fail.
output=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $output"
grep -qE '(error|warning):' <<<"$output" && fail "desktop-file-validate: $output"

[[ $(entry Type) == Application ]] || fail "Type=$(entry Type)"
[[ $(entry Exec) == glyphora ]] || fail "Exec=$(entry Exec) does not start the installed program"
[[ $(entry Icon) == "$app_id" ]] || fail "Icon=$(entry Icon), the entry is $app_id"
[[ -n $(entry Comment) ]] || fail "no Comment"
[[ ";$(entry Categories)" == *";Graphics;"* && ";$(entry Categories)" == *";Utility;"* ]] ||
    fail "Categories=$(entry Categories)"

# The PNG icons are the size their folder says (the width and height in a
# PNG file's header), and the scalable one is there.
for size in 16 32 48 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [[ -f $png ]] || fail "no ${size} px icon"
    header=$(od -An -tx1 -j12 -N12 "$png" | tr -d ' \n')
    [[ ${header:0:8} == 49484452 ]] || fail "$png is not a PNG file"
    [[ $((16#${header:8:8})) -eq $size && $((16#${header:16:8})) -eq $size ]] ||
        fail "$png is $((16#${header:8:8})) x $((16#${header:16:8}))"
done
[[ -f $prefix/share/icons/hicolor/scalable/apps/$app_id.svg ]] || fail "no scalable icon"

metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
[[ -f $metainfo ]] || fail "no metainfo for $app_id"
# Pedantic: not even a remark.
output=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $output"
grep -qE '^(E|W|I|P):' <<<"$output" && fail "appstreamcli validate --pedantic: $output"
# The whole tree: the metainfo finds its desktop entry and icon.
output=$(appstreamcli validate-tree --no-net "$prefix" 2>&1) || fail "appstreamcli validate-tree: $output"
grep -qE '^(E|W):' <<<"$output" && fail "appstreamcli validate-tree: $output"

grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $app_id.desktop"
grep -q '<binary>glyphora</binary>' "$metainfo" || fail "metainfo does not name the program"

grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" || fail "metainfo: no project licence"

# Addresses come only from the build's options, whose defaults are empty;
# none is made up.
cache() { sed -n "s/^$1:[A-Z]*=//p" "$GLYPHORA_BUILD/CMakeCache.txt"; }
homepage=$(cache GLYPHORA_HOMEPAGE)
screenshot_url=$(cache GLYPHORA_SCREENSHOT_URL)
mapfile -t urls < <(grep -oE 'https?://[^<"]*' "$metainfo")
for url in "${urls[@]}"; do
    [[ ( -n $homepage && $url == "$homepage" ) || ( -n $screenshot_url && $url == "$screenshot_url"/* ) ]] ||
        fail "metainfo names $url, which the build was not given"
done

# Every screenshot it names is one that the project's script made and keeps.
screenshots=$GLYPHORA_TESTS/../docs/screenshots
mapfile -t images < <(sed -n 's|.*<image[^>]*>\(.*\)</image>.*|\1|p' "$metainfo")
[[ -z $screenshot_url || ${#images[@]} -ge 1 ]] || fail "no screenshot"
for url in "${images[@]}"; do
    file=$screenshots/$(basename "$url")
    [[ $(od -An -tx1 -N4 "$file" 2>/dev/null | tr -d ' ') == 89504e47 ]] ||
        fail "$url: no PNG $file in docs/screenshots"
done

echo "PASS: installed $app_id into a fresh prefix"
