#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package: CPack builds it from this build, its dependencies name
# the Debian packages the program needs, and the program unpacked from it
# into a temporary root shows its main window on an X server, with no
# printer set up.
set -euo pipefail
source "$GLYPHORA_TESTS/e2e/common.sh"
source "$GLYPHORA_TESTS/e2e/xvfb.sh"

for tool in cpack dpkg-deb dpkg-shlibdeps; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

e2e_private_home
work=$E2E_WORK
e2e_at_exit stop_xvfb

# The maintainer is whoever builds the package; here, a test address.
maintainer="Glyphora Test <test@example.org>"
(cd "$GLYPHORA_BUILD" && cpack -G DEB -B "$work/cpack" -D CPACK_PACKAGE_CONTACT="$maintainer") \
    >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
debs=("$work"/cpack/*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "not one package: ${debs[*]}"
deb=${debs[0]}
# The joining program takes only what it uses of MuPDF: no built-in fonts.
max_bytes=$((3 * 1000 * 1000))
size=$(stat -c %s "$deb")
((size <= max_bytes)) || fail "the package is $size bytes, more than $max_bytes"

# The Qt libraries, CUPS and fontconfig from the program's links, the
# libraries under MuPDF from the joining program's, Qt's X11 platform
# plugin that the program loads, and the faces its layouts are drawn in.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libcups2 \
    libfontconfig1 libmujs2 libopenjp2-7 qt6-qpa-plugins fonts-liberation qt6-base-abi; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done
# Each of them is a real Debian package, or one that an installed package
# provides at the version named (qt6-base-abi): this machine has them all.
provided=$(dpkg-query -W -f='${Provides}\n' | tr ',' '\n' | sed 's/^ *//')
while read -r package version; do
    [[ $(dpkg-query -W -f='${Status}' "${package%%:*}" 2>/dev/null) == "install ok installed" ]] && continue
    grep -qxF "$package${version:+ $version}" <<<"$provided" ||
        fail "Depends names $package $version, which is not installed here"
done < <(tr ',' '\n' <<<"$depends" | sed 's/^ *//')
[[ $(dpkg-deb -f "$deb" Package) == glyphora ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Maintainer) == "$maintainer" ]] || fail "Maintainer: $(dpkg-deb -f "$deb" Maintainer)"

# Debian's own checks, the pedantic ones too: not one error, warning or
# remark. (Its notes on running as root are not about the package.)
if command -v lintian >/dev/null; then
    lintian --pedantic --display-experimental --info "$deb" >"$work/lintian.log" 2>&1 || true
    if grep -E '^[EWIPX]: ' "$work/lintian.log"; then
        fail "lintian: $(cat "$work/lintian.log")"
    fi
else
    echo "lintian is not installed: the package's Debian checks are skipped"
fi

root=$work/root
dpkg -x "$deb" "$root"
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[[ -z $outside ]] || fail "files outside /usr: $outside"
app_id=$(basename "$root"/usr/share/applications/*.desktop .desktop)
for file in usr/bin/glyphora "usr/share/metainfo/$app_id.metainfo.xml" \
    usr/share/doc/glyphora/copyright usr/share/doc/glyphora/changelog.gz \
    usr/share/man/man1/glyphora.1.gz usr/libexec/glyphora/glyphora-join-pdf \
    "usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    "usr/share/icons/hicolor/48x48/apps/$app_id.png"; do
    [[ -e $root/$file ]] || fail "the package lacks /$file"
done
# The changelog is signed by the package's maintainer, and the manual page
# reads without a complaint from man.
zcat "$root/usr/share/doc/glyphora/changelog.gz" | grep -q "^ -- $maintainer  " ||
    fail "changelog not signed by $maintainer"
grep -q '^License: GPL-3+$' "$root/usr/share/doc/glyphora/copyright" || fail "copyright: no GPL-3+ licence"
if command -v man >/dev/null; then
    warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$root/usr/share/man/man1/glyphora.1.gz" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "the manual page: $warnings"
fi

# Nothing of the build tree is needed to run it.
dynamic=$(readelf -d "$root/usr/bin/glyphora")
if grep -E 'R(UN)?PATH' <<<"$dynamic"; then
    fail "the installed program has a run path"
fi

# Run it: its own home, no print server, the tests' fonts.
export CUPS_SERVER=$work/no-cupsd.sock
# Qt's X11 platform loads libdbus, which keeps an allocation to the end.
export LSAN_OPTIONS="suppressions=$GLYPHORA_TESTS/e2e/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
start_xvfb
QT_QPA_PLATFORM=xcb GLYPHORA_BIN=$root/usr/bin/glyphora start_program
id=$(wait_for_window Glyphora 30) || fail "the main window did not appear"
geometry=$(xwininfo -id "$id")
grep -q 'Width: 379$' <<<"$geometry" && grep -q 'Height: 444$' <<<"$geometry" ||
    fail "main window size: $geometry"
icon=$(xprop -id "$id" _NET_WM_ICON)
grep -q 'Icon (16 x 16)' <<<"$icon" || fail "the window has no icon"
# The desktop ties the window to its menu entry by the window's class.
class=$(xprop -id "$id" WM_CLASS | sed -n 's/.*, "\(.*\)"$/\1/p')
wm_class=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/$app_id.desktop")
[[ -n $class && $class == "$wm_class" ]] || fail "window class $class, the entry expects $wm_class"

wmctrl -i -c "$id"
expect_exit 0 5 "after the close box"
echo "PASS: $(basename "$deb") unpacked and run"
