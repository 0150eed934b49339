#!/bin/sh
# Start-up time and memory of the settings window against two baselines, launched in turns on
# one Xvfb server: an empty Qt window of the same size (bench/empty_window.cpp) and the floor,
# a window of that size showing the same two faces (bench/floor_window.cpp). For each program:
# exec to the window mapped, exec to its first frame sent to the server (both noted in the
# program by bench/first_frame_probe.cpp), and peak RSS with the window shown; the medians and
# Sumvarl's ratio to each baseline.
#   sh scripts/startup-bench.sh [runs]      (SUMVARL_BUILD=build/other to use another build)
set -eu
cd "$(dirname "$0")/.."
runs=${1:-15}
build=${SUMVARL_BUILD:-build/dev}
if [ "${INSIDE_XVFB:-}" != 1 ]; then
    if [ "$build" = build/dev ]; then
        cmake --build --preset dev --target sumvarl sumvarl_empty_window sumvarl_floor_window \
            sumvarl_first_frame >/dev/null
    fi
    INSIDE_XVFB=1 SUMVARL_BUILD="$build" \
        exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -noreset" sh "$0" "$runs"
fi
unset QT_QPA_PLATFORM
# A runtime folder of our own keeps Qt from warning about a missing one.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
export LANG=C.UTF-8
probe=$(pwd)/$build/bench/libsumvarl_first_frame.so
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log=$work/log

# The probe notes in the program when it maps its window and sends its first frame; the script
# only waits for the note, so nothing polls the server while a program starts.
launch() { # NAME PROGRAM TITLE: appends "mapped-ms first-frame-ms peak-rss-kB" to $work/NAME
    times=$work/times
    rm -f "$times"
    t0=$(date +%s%N)
    SUMVARL_STARTUP_TIMES_FILE="$times" LD_PRELOAD="$probe" "$2" >>"$log" 2>&1 &
    pid=$!
    n=0
    until grep -q '^frame ' "$times" 2>/dev/null; do
        n=$((n + 1))
        kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; echo "$2 ended before its first frame" >&2; exit 1; }
        [ "$n" -lt 5000 ] || { kill "$pid"; echo "no frame from $2" >&2; exit 1; }
        sleep 0.002
    done
    # Left a moment after its first frame, as a person would see it, before its peak is read.
    sleep 0.3
    xdotool search --all --onlyvisible --pid "$pid" --name "^$3\$" >/dev/null ||
        { kill "$pid"; echo "the window of $2 is not shown as \"$3\"" >&2; exit 1; }
    rss=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    awk -v t0="$t0" -v rss="$rss" '{ t[$1] = $2 }
        END { printf "%d %d %d\n", (t["map"] - t0) / 1e6, (t["frame"] - t0) / 1e6, rss }' \
        "$times" >>"$work/$1"
}
median() { # FILE COLUMN
    awk -v c="$2" '{ print $c }' "$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

i=0
while [ "$i" -lt "$runs" ]; do
    launch empty "$build/bench/sumvarl_empty_window" EmptyQt
    launch floor "$build/bench/sumvarl_floor_window" FloorQt
    launch sumvarl "$build/app/sumvarl" Sumvarl
    i=$((i + 1))
done

# Once more with a 200-problem worksheet shown: 200 typed into 题数 (frame 240, 1080 + box
# 5520, 1680, 735 x 360 twips) and 开始 clicked (centre 164, 268 pixels), as a person does.
SUMVARL_STARTUP_TIMES_FILE="$work/sheet" LD_PRELOAD="$probe" "$build/app/sumvarl" >>"$log" 2>&1 &
pid=$!
main=$(xdotool search --sync --all --onlyvisible --pid "$pid" --name '^Sumvarl$' | head -n 1)
sleep 0.3
xdotool mousemove --window "$main" $(((240 + 5520 + 300) / 15)) $(((1080 + 1680 + 180) / 15)) \
    click 1 key ctrl+a type 200
xdotool mousemove --window "$main" 164 268 click 1
xdotool search --sync --all --onlyvisible --pid "$pid" --name '^题目$' >/dev/null
# The first build runs 100 ms after the worksheet window opens; left to be drawn and seen.
sleep 1
sheet_rss=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status")
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true

echo "medians of $runs runs in turns: mapped ms, first frame ms, peak RSS kB"
for p in empty floor sumvarl; do
    printf '%-8s %5s %5s %7s   (mapped: %s)\n' "$p" "$(median "$work/$p" 1)" "$(median "$work/$p" 2)" \
        "$(median "$work/$p" 3)" "$(awk '{ printf "%s ", $1 }' "$work/$p")"
done
for base in floor empty; do
    awk -v m1="$(median "$work/sumvarl" 1)" -v f1="$(median "$work/sumvarl" 2)" \
        -v r1="$(median "$work/sumvarl" 3)" -v m0="$(median "$work/$base" 1)" \
        -v f0="$(median "$work/$base" 2)" -v r0="$(median "$work/$base" 3)" -v b="$base" \
        'BEGIN { printf "sumvarl / %-5s  mapped %.2f  first frame %.2f  peak RSS %.2f\n", b, m1 / m0, f1 / f0, r1 / r0 }'
done
echo "sumvarl peak RSS with a 200-problem worksheet shown: $sheet_rss kB"
