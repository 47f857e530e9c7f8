#!/usr/bin/env bash
# Print Fonts through a private cupsd's cups-pdf queue: the sheet read back
# from the queue's PDF, a Stop and the failures in the middle of a run.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/private_cupsd.sh"
run_against_private_cupsd "$GLYPHORA_BUILD/tests/tst_font_sheet_print"
