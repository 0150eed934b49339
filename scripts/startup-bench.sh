#!/bin/sh
# Start-up time: from exec to the settings window visible on an X display, against an empty Qt
# window of the same size, launched in turns on one Xvfb server. Prints the median of each and
# their ratio.   sh scripts/startup-bench.sh [runs]
set -eu
cd "$(dirname "$0")/.."
runs=${1:-9}
if [ "${INSIDE_XVFB:-}" != 1 ]; then
    cmake --build --preset dev --target sumvarl sumvarl_empty_window >/dev/null
    INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -noreset" sh "$0" "$runs"
fi
unset QT_QPA_PLATFORM
# A runtime folder of our own keeps Qt from warning about a missing one.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
export LANG=C.UTF-8

launch() { # PROGRAM TITLE: milliseconds until a visible window with that title
    t0=$(date +%s%N)
    "$1" >>"$log" 2>&1 &
    pid=$!
    n=0
    until xdotool search --onlyvisible --pid "$pid" --name "^$2\$" >/dev/null 2>&1; do
        n=$((n + 1))
        kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; echo "$1 ended before its window showed" >&2; exit 1; }
        [ "$n" -lt 5000 ] || { kill "$pid"; echo "no window from $1" >&2; exit 1; }
        sleep 0.002
    done
    t1=$(date +%s%N)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo $(((t1 - t0) / 1000000))
}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

ours=""
empty=""
i=0
while [ "$i" -lt "$runs" ]; do
    ours="$ours $(launch build/dev/app/sumvarl Sumvarl)"
    empty="$empty $(launch build/dev/bench/sumvarl_empty_window EmptyQt)"
    i=$((i + 1))
done
a=$(printf '%s\n' $ours | median)
b=$(printf '%s\n' $empty | median)
echo "sumvarl:      $ours ms (median $a)"
echo "empty window: $empty ms (median $b)"
awk -v a="$a" -v b="$b" 'BEGIN { printf "ratio: %.2f\n", a / b }'
