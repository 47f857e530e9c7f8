# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by end-to-end tests: a private CUPS server with a PDF queue.
#
#   start_private_cupsd      starts cupsd with its own configuration, spool,
#                            logs and socket in a fresh folder, adds the
#                            cups-pdf queue $PRIVATE_CUPSD_QUEUE as the
#                            default and exports CUPS_SERVER; installs
#                            stop_private_cupsd as an EXIT trap unless
#                            CUPSD_NO_TRAP is set
#   add_pdf_queue NAME [PPD] adds a cups-pdf queue writing into the same
#                            folder (the default PPD is cups-pdf's own)
#   add_pdf_queue_with_fonts NAME COUNT
#                            the same with a PPD that lists COUNT more
#                            resident fonts, "GlyphoraTest-1" ... after the
#                            35 of cups-pdf's PPD
#   wait_for_jobs [SECONDS]  waits until every job has left the queues
#   skip_without_private_cupsd
#                            exits 77, saying why, where the server cannot
#                            run
#   stop_private_cupsd       stops the server and removes what it made
#
# After start_private_cupsd:
#   PRIVATE_CUPSD_DIR        the server's folder
#   PRIVATE_CUPSD_OUT        where cups-pdf writes the PDFs (mode 0600 files)
#   PRIVATE_CUPSD_PID        the server's process
#   PRIVATE_CUPSD_LOG        its error log, worth showing when a test fails
#
# cupsd runs as root, because cups-pdf's backend is root's alone; the
# filters run as lp. Never run cupsctl against this server: it rewrites the
# configuration with the system's defaults.

PRIVATE_CUPSD_QUEUE=${PRIVATE_CUPSD_QUEUE:-glyphora-test-pdf}
PRIVATE_CUPSD_PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
PRIVATE_CUPSD_DIR=${PRIVATE_CUPSD_DIR:-}
PRIVATE_CUPSD_PID=${PRIVATE_CUPSD_PID:-}

# Why a test cannot run here, or nothing when it can.
private_cupsd_missing() {
    if [[ $(id -u) -ne 0 ]]; then
        echo "the cups-pdf backend runs only for root, and this is $(id -un)"
        return
    fi
    local tool
    for tool in cupsd lpadmin lpstat /usr/lib/cups/backend/cups-pdf "$PRIVATE_CUPSD_PPD"; do
        if [[ ! -e $tool ]] && ! command -v "$tool" >/dev/null; then
            echo "$tool is not installed"
            return
        fi
    done
}

start_private_cupsd() {
    local missing
    missing=$(private_cupsd_missing)
    if [[ -n $missing ]]; then
        echo "private cupsd: $missing" >&2
        return 1
    fi

    PRIVATE_CUPSD_DIR=$(mktemp -d /tmp/glyphora-cupsd.XXXXXX)
    local dir=$PRIVATE_CUPSD_DIR
    # The filters run as lp: they must reach the spool through every parent.
    chmod 755 "$dir"
    mkdir -p "$dir"/{spool,cache,state,log,ppd,ssl,out}
    mkdir -p "$dir/spool/tmp"
    chmod 1777 "$dir/spool/tmp"
    PRIVATE_CUPSD_OUT=$dir/out
    PRIVATE_CUPSD_LOG=$dir/log/error_log
    # cups-pdf reads its settings from /etc/cups whatever the server's root;
    # the URI's suffix picks this file.
    PRIVATE_CUPSD_URI_SUFFIX=glyphora-$(basename "$dir" | tr -cd 'a-zA-Z0-9')
    PRIVATE_CUPSD_PDF_CONF=/etc/cups/cups-pdf-$PRIVATE_CUPSD_URI_SUFFIX.conf
    printf 'Out %s\n' "$PRIVATE_CUPSD_OUT" >"$PRIVATE_CUPSD_PDF_CONF"

    cat >"$dir/cups-files.conf" <<EOF
ServerRoot $dir
RequestRoot $dir/spool
TempDir $dir/spool/tmp
StateDir $dir/state
CacheDir $dir/cache
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
Printcap $dir/printcap
ServerBin /usr/lib/cups
DataDir /usr/share/cups
EOF
    # Only this socket, no network; anyone on the machine may do anything,
    # which is what a throwaway test server wants.
    cat >"$dir/cupsd.conf" <<EOF
Listen $dir/cups.sock
LogLevel info
Browsing No
WebInterface No
DefaultAuthType None
ErrorPolicy abort-job
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF

    cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" &
    PRIVATE_CUPSD_PID=$!
    export CUPS_SERVER=$dir/cups.sock
    [[ -n ${CUPSD_NO_TRAP:-} ]] || trap stop_private_cupsd EXIT
    export PRIVATE_CUPSD_DIR PRIVATE_CUPSD_OUT PRIVATE_CUPSD_LOG PRIVATE_CUPSD_PID \
        PRIVATE_CUPSD_URI_SUFFIX PRIVATE_CUPSD_QUEUE

    local waited
    for waited in $(seq 100); do
        lpstat -r 2>/dev/null | grep -q 'is running' && break
        if ! kill -0 "$PRIVATE_CUPSD_PID" 2>/dev/null || [[ $waited -eq 100 ]]; then
            # An unknown directive makes cupsd leave without a word.
            echo "private cupsd: the server did not start" >&2
            cat "$PRIVATE_CUPSD_LOG" >&2 2>/dev/null
            return 1
        fi
        sleep 0.05
    done

    add_pdf_queue "$PRIVATE_CUPSD_QUEUE" || return 1
    lpadmin -d "$PRIVATE_CUPSD_QUEUE"
}

add_pdf_queue() {
    local name=$1 ppd=${2:-$PRIVATE_CUPSD_PPD}
    # Without pdftocairo, poppler's pdftops turns every glyph into a Type 3
    # font, which no text extraction can read back.
    lpadmin -p "$name" -E -v "cups-pdf:/$PRIVATE_CUPSD_URI_SUFFIX" -P "$ppd" \
        -o pdftops-renderer-default=pdftocairo 2> >(grep -v 'Printer drivers are deprecated' >&2)
}

add_pdf_queue_with_fonts() {
    local name=$1 count=$2
    local ppd=$PRIVATE_CUPSD_DIR/$name-fonts.ppd
    {
        cat "$PRIVATE_CUPSD_PPD"
        seq 1 "$count" | sed 's/.*/*Font GlyphoraTest-&: Standard "(001.000)" Standard ROM/'
    } >"$ppd"
    add_pdf_queue "$name" "$ppd"
}

wait_for_jobs() {
    local seconds=${1:-60} tick
    for tick in $(seq $((seconds * 10))); do
        [[ -z $(lpstat -W not-completed -o 2>/dev/null) ]] && return 0
        sleep 0.1
    done
    echo "private cupsd: jobs still waiting after $seconds s" >&2
    lpstat -W not-completed -o >&2
    tail -20 "$PRIVATE_CUPSD_LOG" >&2
    return 1
}

skip_without_private_cupsd() {
    local missing
    missing=$(private_cupsd_missing)
    if [[ -n $missing ]]; then
        echo "SKIP: $missing"
        exit 77
    fi
}

stop_private_cupsd() {
    if [[ -n $PRIVATE_CUPSD_PID ]]; then
        # A test may have stopped it already.
        kill "$PRIVATE_CUPSD_PID" 2>/dev/null || true
        wait "$PRIVATE_CUPSD_PID" 2>/dev/null || true
    fi
    if [[ -n ${PRIVATE_CUPSD_PDF_CONF:-} ]]; then
        rm -f "$PRIVATE_CUPSD_PDF_CONF"
    fi
    if [[ -n $PRIVATE_CUPSD_DIR && -d $PRIVATE_CUPSD_DIR ]]; then
        rm -rf "$PRIVATE_CUPSD_DIR"
    fi
    PRIVATE_CUPSD_PID=
    PRIVATE_CUPSD_DIR=
    return 0
}
