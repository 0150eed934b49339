#!/bin/sh
# The parent's windows on five years of made-up history: 孩子 with its buttons
# (docs/children-parent.png), 掌握情况 with a cell's answers (docs/grid.png) and 进步 over 30 days (Down in its first box)
# with one practice-free day a week (docs/progress.png). The history is the memory benchmark's
# (made once by sumvarl_history_bench); the first child is called 小明 here. Needs xvfb-run,
# xdotool, ImageMagick's import and sqlite3.
#   sh scripts/parent-screenshots.sh [path/to/sumvarl]
set -eu
cd "$(dirname "$0")/.."
if [ "${1:-}" != "--inside-xvfb" ]; then
    history=${TMPDIR:-/tmp}/sumvarl-bench-history.sqlite3
    [ -f "$history" ] ||
        build/dev/bench/sumvarl_history_bench --benchmark_filter=BM_FactGrids --benchmark_min_time=0.01
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -noreset" sh "$0" --inside-xvfb \
        "${1:-build/dev/app/sumvarl}" "$history"
fi
work=$(mktemp -d)
export LANG=C.UTF-8 HOME="$work" XDG_DATA_HOME="$work/data"
unset QT_QPA_PLATFORM
db="$XDG_DATA_HOME/sumvarl/history.sqlite3"
mkdir -p "$(dirname "$db")"
cp "$3" "$db"
sqlite3 "$db" "UPDATE child SET name = '小明' WHERE id = 1;
               INSERT OR REPLACE INTO setting VALUES ('last_child', 1);
               DELETE FROM day_total WHERE day % 7 = 3;"
"$2" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
find_window() { xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

main=$(find_window Sumvarl)
sleep 1
click "$main" 164 268
display=$(find_window 题目)
sleep 2
click "$display" 300 200
xdotool key ctrl+l
practice=$(find_window 练习)
sleep 1.5
click "$practice" 976 25
children=$(find_window 孩子)
sleep 1
import -window "$children" docs/children-parent.png
click "$children" 385 191
grid=$(find_window 掌握情况)
sleep 1
click "$grid" 120 170
sleep 0.5
import -window "$grid" docs/grid.png
xdotool key Escape
sleep 0.5
click "$children" 475 191
progress=$(find_window 进步)
sleep 1
xdotool key Down
sleep 0.5
import -window "$progress" docs/progress.png
echo "saved docs/children-parent.png, docs/grid.png and docs/progress.png"
