#!/bin/sh
# A round killed with SIGKILL as a child types it, on a real X server with real keystrokes: every
# answer given before the kill is in the history file, read back with sqlite3, and the file
# passes its integrity check, before and after the program has opened it again.
#   sh tests/e2e/memory_crash.sh path/to/sumvarl
# Needs Xvfb, xdotool, ImageMagick's import and sqlite3 (sh scripts/deps.sh --test).
set -u

here=$(cd "$(dirname "$0")" && pwd)
if [ $# -ne 1 ] || [ ! -x "$1" ]; then
    echo "usage: $0 path/to/sumvarl" >&2
    exit 2
fi
bin=$1
name=memory_crash
. "$here/session.sh"
export XDG_DATA_HOME="$work/data"
db="$XDG_DATA_HOME/sumvarl/history.sqlite3"
start_xvfb

sql() {
    sqlite3 -batch "$db" "$1" 2>&1 || fail "sqlite3: $1"
}
# open_practice: the settings window's 开始, then 练习 (Ctrl+L) on the worksheet window; sets
# $practice to the newest practice window.
open_practice() {
    step="opening 练习"
    main=$(window 30 Sumvarl)
    [ -n "$main" ] || { alive; fail "no settings window within 30 s"; }
    xdotool windowfocus --sync "$main" || fail "cannot focus the settings window"
    # 开始 (Command1) at 1440, 3720, 2055 × 615 twips.
    click "$main" 1440 3720 2055 615
    display=$(window 20 题目)
    [ -n "$display" ] || { alive; fail "no worksheet window within 20 s"; }
    sleep 1.5
    open_another_practice
}
open_another_practice() {
    xdotool windowfocus --sync "$display" && xdotool key ctrl+l
    sleep 1
    practice=$(window 20 练习)
    [ -n "$practice" ] || { alive; fail "no practice window within 20 s"; }
    xdotool windowfocus --sync "$practice" || fail "cannot focus the practice window"
    sleep 0.5
}

start_app
open_practice
[ -f "$db" ] || fail "the practice window made no history file at $db"
# A child as 孩子… would add one, and chosen last time: the next practice window is hers.
sql "INSERT INTO child(name, grade, created) VALUES ('小红', 2, 0);
     INSERT OR REPLACE INTO setting(key, value) VALUES ('last_child', 1);" >/dev/null
open_another_practice

step="typing six answers, and a seventh without leaving it"
for answer in 11 22 33 44 55 66; do
    xdotool type --delay 60 "$answer"
    xdotool key Return
    sleep 0.2
done
xdotool type --delay 60 77
sleep 0.5
alive
kill -9 "$app"
wait "$app" 2>/dev/null
app=""

check() {
    [ "$(sql 'PRAGMA integrity_check')" = ok ] || fail "integrity check: $(sql 'PRAGMA integrity_check')"
    given=$(sql "SELECT group_concat(given, ' ') FROM (SELECT given FROM answer ORDER BY id)")
    [ "$given" = "11 22 33 44 55 66" ] || fail "the answers kept are '$given'"
    [ "$(sql 'SELECT count(*) FROM answer WHERE ms IS NOT NULL AND child_id = 1')" = 6 ] ||
        fail "not every answer is kept with its child and time"
    [ "$(sql 'SELECT count(*) FROM child_fact')" = 6 ] || fail "the facts' standing was not kept"
}
step="reading the history after the kill"
check

step="opening the history again in the program"
start_app
open_practice
alive
kill "$app"
wait "$app" 2>/dev/null
app=""
step="reading the history after the restart"
check
echo "memory_crash: passed"
