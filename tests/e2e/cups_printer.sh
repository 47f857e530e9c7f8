#!/usr/bin/env bash
# Prints through the real printer surface into a private cupsd's cups-pdf
# queue, and breaks the server and the queue in the middle of documents.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/private_cupsd.sh"
run_against_private_cupsd "$GLYPHORA_BUILD/tests/tst_cups_printer"
