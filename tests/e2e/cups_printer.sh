#!/usr/bin/env bash
# Prints through the real printer surface into a private cupsd's cups-pdf
# queue, and breaks the server and the queue in the middle of documents.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/private_cupsd.sh"

missing=$(private_cupsd_missing)
if [[ -n $missing ]]; then
    echo "SKIP: $missing"
    exit 77
fi

# A home of its own: ~/.cups/lpoptions, PRINTER and LPDEST would otherwise
# choose another destination than the server's default.
home=$(mktemp -d)
CUPSD_NO_TRAP=1
trap 'stop_private_cupsd; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config
unset PRINTER LPDEST XDG_DOCUMENTS_DIR

start_private_cupsd
"$GLYPHORA_BUILD/tests/tst_cups_printer"
