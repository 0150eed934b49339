#!/bin/sh
# Starts Sumvarl under Xvfb as a new user (an empty history), presses Start, opens 练习 (Ctrl+L),
# adds three children under 孩子… (docs/children.png), lets 小明 answer the first sixteen problems
# (ten of them wrong) and hands in. Then every date in the history is moved one day back with
# sqlite3, as if a day had passed, and the 错题本 (docs/book.png) and 今日练习 (docs/today.png, a
# few answers typed) are shown. Needs xvfb-run, xdotool, ImageMagick's import and sqlite3.
#   sh scripts/memory-screenshots.sh [path/to/sumvarl]
set -eu
cd "$(dirname "$0")/.."

. scripts/xvfb-start.sh
db="$work/.local/share/sumvarl/history.sqlite3"
click() { # window x y
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.3
}
# Start, as scripts/screenshots.sh finds it.
click "$main" 164 268
display=$(xdotool search --sync --onlyvisible --name '^题目$' | head -n 1)
sleep 2
click "$display" 300 200
xdotool key ctrl+l
practice=$(xdotool search --sync --onlyvisible --name '^练习$' | head -n 1)
sleep 1

# 孩子…: name, 年级 (Down from 一年级 as many times as given), 添加.
click "$practice" 976 25
children=$(xdotool search --sync --onlyvisible --name '^孩子$' | head -n 1)
sleep 1
for child in 小明:1 小红:1 小刚:2; do
    click "$children" 525 25
    xdotool key ctrl+a BackSpace
    xdotool type --delay 100 "${child%%:*}"
    click "$children" 525 59
    n=0
    while [ "$n" -lt "${child##*:}" ]; do
        xdotool key Down
        n=$((n + 1))
    done
    xdotool key Return
    click "$children" 397 129
done
click "$children" 100 30
sleep 0.5
import -window "$children" docs/children.png
click "$children" 569 334

# 小明 in the chooser, then the round from the first box.
click "$practice" 880 25
xdotool key Down Return
click "$practice" 160 73
for answer in 48 79 6 86 27 98 8 54 5 51 15 24 25 52 8 62; do
    xdotool type --delay 50 "$answer"
    xdotool key Return
done
click "$practice" 51 734
sleep 1

sqlite3 "$db" "UPDATE child_fact SET due = due - 1, last_seen = last_seen - 86400000;
               UPDATE answer SET at = at - 86400000;"
click "$practice" 1062 25
book=$(xdotool search --sync --onlyvisible --name '^错题本$' | head -n 1)
sleep 1
import -window "$book" docs/book.png
click "$book" 848 534

click "$practice" 1147 25
today=$(xdotool search --sync --onlyvisible --name '^今日练习$' | head -n 1)
sleep 1
click "$today" 150 73
for answer in 71 44 31; do
    xdotool type --delay 60 "$answer"
    xdotool key Return
done
xdotool type --delay 60 "6"
sleep 1
import -window "$today" docs/today.png
echo "saved docs/children.png, docs/book.png and docs/today.png"
