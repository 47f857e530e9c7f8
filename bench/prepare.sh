# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the benchmark scripts. Installs the packages they need, builds
# a Release tree ($build, build-bench unless GLYPHORA_BENCH_DIR says
# otherwise; GLYPHORA_BENCH_BUILD_TYPE and GLYPHORA_BENCH_CONFIGURE, a
# cmake option, build another kind), and makes a private work folder ($work) that is the home and
# runtime folder of the programs measured. The folder, and an X server that
# start_xvfb started, go when the script ends.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${GLYPHORA_BENCH_DIR:-$root/build-bench}
"$root/scripts/setup.sh" "$root/scripts/debian-packages.txt" "$root/bench/debian-packages.txt"
# shellcheck disable=SC2086
GLYPHORA_BUILD_DIR=$build CMAKE_BUILD_TYPE=${GLYPHORA_BENCH_BUILD_TYPE:-Release} \
    "$root/scripts/build.sh" ${GLYPHORA_BENCH_CONFIGURE:-} >/dev/null
. "$root/tests/e2e/xvfb.sh"

work=$(mktemp -d)
XVFB_NO_TRAP=1
trap 'stop_xvfb; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
