#!/bin/sh
# A new window takes the keyboard on a bare X server, where no window manager hands it the
# focus: Return on 开始 opens 题目, whose Ctrl+L (在屏幕上练习) must then open 练习 although the
# settings window had the focus; the key would otherwise go to the window underneath.
#   sh tests/e2e/new_window_focus.sh path/to/sumvarl
# Needs Xvfb and xdotool; reports itself skipped (77) without them.
set -u
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77
here=$(cd "$(dirname "$0")" && pwd)
bin=$1
name=new_window_focus
. "$here/session.sh"
start_xvfb
start_app

step="waiting for the settings window"
main=$(window 30 Sumvarl)
[ -n "$main" ] || fail "no settings window"
# The pointer away from every window: only the focus decides where keys go.
xdotool mousemove 0 0
xdotool windowfocus --sync "$main" || fail "cannot focus the settings window"
sleep 0.5
# 开始 has the focus when the program starts.
step="pressing Return on 开始"
xdotool key Return
[ -n "$(window 20 题目)" ] || fail "no worksheet window after Return on 开始"
sleep 1.5
step="pressing Ctrl+L"
xdotool key ctrl+l
[ -n "$(window 10 练习)" ] || fail "Ctrl+L did not reach the new worksheet window"
echo "new_window_focus: the worksheet window took the keys"
