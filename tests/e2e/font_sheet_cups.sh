#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Print Fonts through a private cupsd's cups-pdf queue: the sheet read back
# from the queue's PDF, a Stop and the failures in the middle of a run.
# The program gets a home and a temporary folder of its own, where the test
# looks for spool files left behind.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/common.sh"
. "$here/private_cupsd.sh"

skip_without_private_cupsd
e2e_private_home
e2e_at_exit stop_private_cupsd
start_private_cupsd
"$GLYPHORA_BUILD/tests/tst_font_sheet_print"
