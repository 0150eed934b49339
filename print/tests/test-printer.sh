#!/bin/sh
# A private CUPS server for the print tests: its own folder, its own socket, nothing in /etc.
#
#   test-printer.sh run MODE COMMAND [ARG...]
#       Starts a server in a new folder /tmp/sumvarl-cups.XXXXXXXX, runs COMMAND with CUPS_SERVER and TEST_PRINTER_OUT set, stops the
#       server (also when COMMAND fails or the script is interrupted) and exits with COMMAND's
#       status. MODE is one of
#         printer    a default queue "SumvarlTest" that keeps every document as OUT/job-NNNNN.pdf
#         none       no queue at all
#         rejecting  a default queue that refuses every job
#   test-printer.sh start MODE DIR   prints the export lines for CUPS_SERVER and TEST_PRINTER_OUT
#   test-printer.sh stop DIR
#
# A queue only hands documents to a filter when it is not raw, so the queue's PPD names one
# filter that copies the PDF into OUT. CUPS runs that filter as user lp, so DIR must lie where lp
# can reach it (under /tmp, not /root). Needs root and the cupsd, lpadmin and lpstat programs
# (Debian cups-daemon and cups-client). Exits 77 (skipped) when those are missing.
set -u
PATH=$PATH:/usr/sbin:/sbin
QUEUE=SumvarlTest
SKIP=77

fail() {
    echo "test-printer: $*" >&2
    exit 1
}

# live PID DIR: PID is still a cupsd started on DIR's configuration.
live() {
    tr '\0' ' ' <"/proc/$1/cmdline" 2>/dev/null | grep -qF -- "-c $2/etc/cupsd.conf"
}

stop_daemon() { # DIR
    [ -f "$1/cupsd.pid" ] || return 0
    pid=$(cat "$1/cupsd.pid")
    if live "$pid" "$1"; then
        kill -TERM "$pid"
        n=0
        while live "$pid" "$1"; do
            n=$((n + 1))
            [ "$n" -eq 100 ] && kill -KILL "$pid"
            [ "$n" -gt 200 ] && fail "cupsd $pid does not exit"
            sleep 0.05
        done
    fi
    rm -f "$1/cupsd.pid"
}

absolute() { # DIR: its physical path, refused if it holds characters unsafe in a config file
    d=$(cd "$1" && pwd -P) || return 1
    case $d in *[!A-Za-z0-9._/+-]*) fail "unsupported characters in '$d'" ;; esac
    echo "$d"
}

write_configs() { # DIR
    cat >"$1/etc/cups-files.conf" <<EOF
ServerRoot $1/etc
RequestRoot $1/spool
TempDir $1/spool/tmp
CacheDir $1/cache
StateDir $1/state
ServerKeychain $1/etc/ssl
ErrorLog $1/log/error_log
AccessLog $1/log/access_log
PageLog $1/log/page_log
Printcap $1/printcap
SystemGroup root
EOF
    cat >"$1/etc/cupsd.conf" <<EOF
LogLevel info
Listen $1/run/cups.sock
Browsing No
WebInterface No
ErrorPolicy abort-job
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
    # Run by cupsd as user lp with: job-id user title copies options [file].
    cat >"$1/bin/keepjob" <<EOF
#!/bin/sh
umask 022
out=$1/out/job-\$(printf %05d "\$1")
if [ -n "\${6:-}" ]; then cat -- "\$6"; else cat; fi >"\$out.part" || exit 1
mv -f "\$out.part" "\$out.pdf"
EOF
    chmod 755 "$1/bin/keepjob"
    cat >"$1/keeper.ppd" <<EOF
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "KEEPER.PPD"
*Manufacturer: "Sumvarl"
*Product: "(Document keeper)"
*ModelName: "Document keeper"
*ShortNickName: "Document keeper"
*NickName: "Document keeper"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*FileSystem: False
*cupsFilter: "application/pdf 0 $1/bin/keepjob"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "12 12 583 830"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
EOF
}

start() { # MODE DIR
    case $1 in printer | none | rejecting) ;; *) fail "unknown mode '$1'" ;; esac
    if [ "$(id -u)" != 0 ]; then
        echo "test-printer: needs root to run cupsd" >&2
        exit $SKIP
    fi
    for tool in cupsd lpadmin lpstat cupsreject; do
        if ! command -v "$tool" >/dev/null; then
            echo "test-printer: $tool is missing (Debian cups-daemon, cups-client)" >&2
            exit $SKIP
        fi
    done
    mkdir -p "$2" || exit 1
    D=$(absolute "$2") || exit 1
    if [ -f "$D/.sumvarl-test-printer" ]; then
        stop_daemon "$D"
        rm -rf "${D:?}"/* "$D/.sumvarl-test-printer"
    elif [ -n "$(ls -A "$D")" ]; then
        fail "$D is not empty and was not made by this script"
    fi
    [ ${#D} -le 80 ] || fail "$D is too long for a Unix socket path"
    : >"$D/.sumvarl-test-printer"
    mkdir -p "$D/etc" "$D/spool/tmp" "$D/cache" "$D/state" "$D/log" "$D/run" "$D/bin" "$D/out" &&
        chmod 755 "$D" "$D/bin" && chown lp:lp "$D/out" || exit 1
    write_configs "$D"
    runuser -u lp -- sh -c 'test -x "$1/bin/keepjob" && test -w "$1/out"' sh "$D" ||
        fail "user lp cannot reach $D"

    cupsd -f -c "$D/etc/cupsd.conf" -s "$D/etc/cups-files.conf" </dev/null \
        >"$D/log/cupsd.out" 2>&1 &
    echo $! >"$D/cupsd.pid"
    CUPS_SERVER=$D/run/cups.sock
    export CUPS_SERVER
    n=0
    until lpstat -r 2>/dev/null | grep -qx 'scheduler is running'; do
        n=$((n + 1))
        if [ "$n" -gt 200 ] || ! live "$(cat "$D/cupsd.pid")" "$D"; then
            cat "$D/log/cupsd.out" "$D/log/error_log" >&2 2>/dev/null
            stop_daemon "$D"
            fail "cupsd did not start"
        fi
        sleep 0.05
    done
    if [ "$1" != none ]; then
        {
            lpadmin -p "$QUEUE" -E -v file:///dev/null -P "$D/keeper.ppd" &&
                lpadmin -d "$QUEUE" &&
                if [ "$1" = rejecting ]; then cupsreject "$QUEUE"; fi
        } >"$D/log/lpadmin.out" 2>&1 || {
            cat "$D/log/lpadmin.out" >&2
            stop_daemon "$D"
            fail "lpadmin failed"
        }
    fi
    echo "export CUPS_SERVER=$CUPS_SERVER"
    echo "export TEST_PRINTER_OUT=$D/out"
}

stop() { # DIR
    [ -e "$1" ] || return 0
    D=$(absolute "$1") || exit 1
    [ -f "$D/.sumvarl-test-printer" ] || fail "$D was not made by this script"
    stop_daemon "$D"
    rm -rf "$D"
}

run() { # MODE COMMAND...
    mode=$1
    shift
    # A fresh folder per run, so that parallel tests and build trees never share a server.
    dir=$(mktemp -d /tmp/sumvarl-cups.XXXXXXXX) || exit 1
    exports=$(start "$mode" "$dir")
    status=$?
    if [ "$status" -ne 0 ]; then
        rmdir "$dir" 2>/dev/null || stop "$dir"
        exit "$status"
    fi
    eval "$exports"
    trap 'stop "$dir"' EXIT
    # The command runs in the background so that a signal (a test timeout) reaches this shell at
    # once; it is passed on to the command and the server is stopped on the way out.
    "$@" &
    child=$!
    trap 'kill -TERM "$child" 2>/dev/null; wait "$child"; exit 143' TERM
    trap 'kill -INT "$child" 2>/dev/null; wait "$child"; exit 130' INT
    wait "$child"
    status=$?
    if [ "$status" -ne 0 ] && [ -f "$dir/log/error_log" ]; then
        echo "--- cupsd error_log" >&2
        cat "$dir/log/error_log" >&2
    fi
    exit "$status"
}

case ${1:-} in
start) [ $# -eq 3 ] || fail "usage: $0 start MODE DIR"; start "$2" "$3" ;;
stop) [ $# -eq 2 ] || fail "usage: $0 stop DIR"; stop "$2" ;;
run) [ $# -ge 3 ] || fail "usage: $0 run MODE COMMAND [ARG...]"; shift; run "$@" ;;
*) fail "usage: $0 run|start|stop ..." ;;
esac
