#!/bin/sh
# A new window takes the keyboard on a bare X server, where no window manager hands it the
# focus: Return on 开始 opens 题目, whose Ctrl+L (在屏幕上练习) must then open 练习 although the
# settings window had the focus; the key would otherwise go to the window underneath.
#   sh tests/e2e/new_window_focus.sh path/to/sumvarl
# Needs Xvfb and xdotool; reports itself skipped (77) without them.
set -u
export LC_ALL=C.UTF-8 LANG=C.UTF-8
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77
bin=$1
work=$(mktemp -d /tmp/sumvarl-focus.XXXXXXXX) || exit 1
app=""
xvfb=""
unset DISPLAY
cleanup() {
    for pid in $app $xvfb; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "new_window_focus: FAILED: $*" >&2
    exit 1
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset \
    3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
n=0
until [ -s "$work/display" ]; do
    n=$((n + 1))
    [ "$n" -gt 200 ] && fail "Xvfb did not start"
    sleep 0.05
done
export DISPLAY=:$(cat "$work/display")
unset QT_QPA_PLATFORM QT_IM_MODULE XMODIFIERS
mkdir -m 700 "$work/runtime" && export XDG_RUNTIME_DIR="$work/runtime"
"$bin" >"$work/app.log" 2>&1 &
app=$!

window() {
    timeout "$1" xdotool search --sync --onlyvisible --name "^$2\$" 2>/dev/null | head -n 1
}
main=$(window 30 Sumvarl)
[ -n "$main" ] || fail "no settings window"
# The pointer away from every window: only the focus decides where keys go.
xdotool mousemove 0 0
xdotool windowfocus --sync "$main" || fail "cannot focus the settings window"
sleep 0.5
# 开始 has the focus when the program starts.
xdotool key Return
[ -n "$(window 20 题目)" ] || fail "no worksheet window after Return on 开始"
sleep 1.5
xdotool key ctrl+l
[ -n "$(window 10 练习)" ] || fail "Ctrl+L did not reach the new worksheet window"
echo "new_window_focus: the worksheet window took the keys"
