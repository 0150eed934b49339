#!/bin/sh
# A paper sheet marked later by its 卷号, as a parent does it, with real keystrokes on a real X
# server: 今日练习's 错题卷 printed (Ctrl+P) to the private test printer, its 卷号 read off the
# printed page and typed into 批改纸质练习, the first problem answered wrong and the second
# clicked wrong. The history file, read back with sqlite3, holds the paper round without times,
# the kept sheet marked, and both facts in the 错题本.
#   sh tests/e2e/paper_marking.sh path/to/sumvarl
# Needs Xvfb, xdotool, ImageMagick's import, sqlite3, poppler-utils and CUPS (scripts/deps.sh --test).
set -u

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${TEST_PRINTER_OUT:-}" ]; then
    exec sh "$here/../../print/tests/test-printer.sh" run printer sh "$0" "$@"
fi
if [ $# -ne 1 ] || [ ! -x "$1" ]; then
    echo "usage: $0 path/to/sumvarl" >&2
    exit 2
fi
bin=$1
name=paper_marking
. "$here/session.sh"
export XDG_DATA_HOME="$work/data"
db="$XDG_DATA_HOME/sumvarl/history.sqlite3"
start_xvfb

sql() {
    sqlite3 -batch "$db" "$1" 2>&1 || fail "sqlite3: $1"
}
# sheet_menu N: the worksheet window's right-click menu, then the Nth entry from its end.
sheet_menu() {
    xdotool windowraise "$display"
    xdotool windowfocus --sync "$display" || fail "cannot focus the worksheet window"
    xdotool mousemove --window "$display" 200 200 click 3
    sleep 0.7
    i=0
    while [ "$i" -lt "$1" ]; do
        xdotool key Up
        i=$((i + 1))
    done
    xdotool key Return
}

start_app
step="starting a sheet"
main=$(window 30 Sumvarl)
[ -n "$main" ] || { alive; fail "no settings window within 30 s"; }
xdotool windowfocus --sync "$main" || fail "cannot focus the settings window"
click "$main" 1440 3720 2055 615
display=$(window 20 题目)
[ -n "$display" ] || { alive; fail "no worksheet window within 20 s"; }
sleep 1.5

step="opening the history through 今日练习, before there is a child"
sheet_menu 2
# The message that there is no child yet, titled 今日练习 like the window to come: answered,
# and gone before that window is looked for.
message=$(window 30 今日练习)
[ -n "$message" ] || { alive; fail "no message about the missing child within 30 s"; }
xdotool windowfocus --sync "$message" && xdotool key Return
n=0
while [ -n "$(xdotool search --onlyvisible --name '^今日练习$' 2>/dev/null)" ] || [ ! -f "$db" ]; do
    n=$((n + 1))
    [ "$n" -gt 300 ] && { alive; fail "the message stayed, or 今日练习 made no history file at $db"; }
    sleep 0.1
done
# A child as 孩子… would add one, and chosen last time.
sql "INSERT INTO child(name, grade, created) VALUES ('小红', 2, 0);
     INSERT OR REPLACE INTO setting(key, value) VALUES ('last_child', 1);" >/dev/null

step="printing 今日练习's 错题卷 with Ctrl+P"
sheet_menu 2
today=$(window 20 今日练习)
[ -n "$today" ] || { alive; fail "no 今日练习 window within 20 s"; }
xdotool windowfocus --sync "$today" || fail "cannot focus 今日练习"
sleep 0.5
xdotool key ctrl+p
printed_job
code=$(pdftotext "$job" - | tr -d ' ' | sed -n 's/^卷号\(U[0-9A-Z-]*\)$/\1/p' | head -n 1)
[ -n "$code" ] || fail "no 卷号 on the printed 错题卷: $(pdftotext "$job" - | tr '\n' ' ')"
problems=$(sql "SELECT count(*) FROM paper_fact")
[ "$problems" -ge 3 ] || fail "the kept sheet holds $problems problems"

step="typing the 卷号 $code into 批改纸质练习"
sheet_menu 1
marking=$(window 20 批改纸质练习)
[ -n "$marking" ] || { alive; fail "no 批改纸质练习 window within 20 s"; }
xdotool windowfocus --sync "$marking" || fail "cannot focus 批改纸质练习"
sleep 0.5
xdotool type --delay 60 "$code"
xdotool key Return
sleep 0.7
# The first answer as the child wrote it, wrong; the second problem clicked wrong (Shift+Tab
# from its answer box reaches it, Space presses it); Return through the rest to 记录批改结果.
xdotool type --delay 60 999
xdotool key Return
sleep 0.2
for key in shift+Tab space Tab; do
    xdotool key "$key"
    sleep 0.3
done
i=2
while [ "$i" -le "$problems" ]; do
    xdotool key Return
    i=$((i + 1))
done
sleep 0.3
shot=${SUMVARL_SHOT:-}
[ -n "$shot" ] && import -window "$marking" "$shot"
xdotool key space
sleep 0.7
alive

step="reading the history back"
[ "$(sql 'SELECT count(*) FROM round WHERE kind = 2')" = 1 ] || fail "no paper round was kept"
marks=$(sql "SELECT group_concat(right, '') FROM (SELECT a.right FROM answer a JOIN round r
             ON r.id = a.round_id WHERE r.kind = 2 ORDER BY a.id)")
expected="00$(printf '%*s' $((problems - 2)) '' | tr ' ' 1)"
[ "$marks" = "$expected" ] || fail "the marks kept are '$marks', not '$expected'"
[ "$(sql "SELECT given FROM answer ORDER BY id LIMIT 1")" = 999 ] || fail "the typed answer was not kept"
[ "$(sql 'SELECT count(*) FROM answer WHERE ms IS NOT NULL')" = 0 ] || fail "a paper answer has a time"
[ "$(sql 'SELECT count(*) FROM paper WHERE round_id IS NOT NULL')" = 1 ] || fail "the sheet is not marked as done"
[ "$(sql 'SELECT count(*) FROM child_fact WHERE in_book = 1')" = 2 ] || fail "the 错题本 does not hold the two"
[ "$(sql 'PRAGMA integrity_check')" = ok ] || fail "integrity check failed"
echo "paper_marking: passed ($problems problems, 卷号 $code)"
