#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Prints through the real printer surface into a private cupsd's cups-pdf
# queue, and breaks the server and the queue in the middle of documents.
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
"$GLYPHORA_BUILD/tests/tst_cups_printer"
