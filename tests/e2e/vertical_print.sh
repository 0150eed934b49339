#!/bin/sh
# A 竖式 sheet as a parent makes one, on a real X server with real clicks and keys: 10 typed into
# 题数, 更多设置 (Ctrl+M), 竖式 除数是一位数的除法 picked under 题型, 每页 8 题 and 方格 under
# 竖式的纸, 开始, 打印 to the private test printer. The job read back holds ten divisions by 2..9
# on two pages, each page with the sheet's 卷号 at its foot, and sumvarl-batch given that 卷号
# makes the very same problems.
#   sh tests/e2e/vertical_print.sh path/to/sumvarl path/to/sumvarl-batch
set -u

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${TEST_PRINTER_OUT:-}" ]; then
    exec sh "$here/../../print/tests/test-printer.sh" run printer sh "$0" "$@"
fi
if [ $# -ne 2 ] || [ ! -x "$1" ] || [ ! -x "$2" ]; then
    echo "usage: $0 path/to/sumvarl path/to/sumvarl-batch" >&2
    exit 2
fi
bin=$1
batch=$2
name=vertical_print
. "$here/session.sh"
start_xvfb
start_app

step="typing 10 into 题数"
main_window
click "$main" 5760 2760 735 360
xdotool key ctrl+a type 10

more_window

step="choosing 竖式 除数是一位数的除法, 每页 8 题 and 方格"
# 题型 opens on the first shape; the fifth 竖式 kind follows the ten shapes.
click "$more" 2040 2520 4320 360
sleep 0.7
for _ in $(seq 14); do
    xdotool key Down
done
xdotool key Return
sleep 0.3
click "$more" 2040 2940 1440 360
sleep 0.7
xdotool key Down Return
sleep 0.3
click "$more" 3660 2970 1000 300
sleep 0.3
[ -n "${SUMVARL_SHOT:-}" ] && import -window "$more" "$SUMVARL_SHOT"

start_and_print

step="checking the printed sheet"
pdftotext -layout "$job" "$work/job.txt" || fail "pdftotext could not read $job"
pages=$(pdfinfo "$job" | sed -n 's/^Pages: *//p')
[ "$pages" = 2 ] || fail "$pages pages printed, not 2 (8 a page)"
problems() { grep -oE '[0-9]+\. *[0-9]+÷[0-9]+＝' "$1" | tr -d ' '; }
problems "$work/job.txt" >"$work/printed.txt"
[ "$(wc -l <"$work/printed.txt")" -eq 10 ] || fail "not 10 divisions: $(cat "$work/printed.txt")"
[ "$(sort -u "$work/printed.txt" | wc -l)" -eq 10 ] || fail "a problem is printed twice"
first=$(sed '/卷号/q' "$work/job.txt" | problems /dev/stdin | wc -l)
[ "$first" -eq 8 ] || fail "$first problems on the first page, not 8"
grep -vqE '÷[2-9]＝$' "$work/printed.txt" && fail "a divisor is not 2..9: $(cat "$work/printed.txt")"
codes=$(grep -oE '卷号 [0-9A-Z-]+' "$work/job.txt" | sort -u)
[ "$(grep -c '卷号' "$work/job.txt")" -eq 2 ] && [ "$(echo "$codes" | wc -l)" -eq 1 ] ||
    fail "not one 卷号 on each page: $codes"

step="making the sheet again from its 卷号"
"$batch" --from-code "${codes#卷号 }" --per-page 8 -o "$work/again.pdf" >/dev/null 2>&1 ||
    fail "sumvarl-batch refused the printed 卷号 ${codes#卷号 }"
pdftotext -layout "$work/again.pdf" "$work/again.txt"
problems "$work/again.txt" | cmp -s - "$work/printed.txt" ||
    fail "the 卷号 makes other problems: $(problems "$work/again.txt" | tr '\n' ' ')"
echo "vertical_print: passed (10 divisions on 2 pages, the 卷号 makes them again)"
