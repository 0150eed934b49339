#!/bin/sh
# The whole program as a parent uses it, on a real X server with real keystrokes: type 5 into
# 题数 and 难度, Tab round to 开始, press Return, press 打印 on the worksheet window, and read
# the job back from the test printer: a heading of 5 problems, and 5 different additions whose
# sums lie below 5.
#   sh tests/e2e/typed_start_print.sh path/to/sumvarl
# Needs Xvfb, xdotool, ImageMagick's import and pdftotext (sh scripts/deps.sh --test). Run
# outside print/tests/test-printer.sh, it starts that private CUPS queue around itself; that
# script reports the run as skipped (77) when the queue cannot start.
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

name=typed_start_print
. "$here/session.sh"
start_xvfb
start_app

# type_into WINDOW LEFT TOP: a click into a combo box's text field (left part; the drop-down
# button is on the right), Ctrl+A over what is there, and "5" typed in its place.
type_into() {
    click "$1" "$2" "$3" 600 360
    sleep 0.2
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 50 5
    sleep 0.2
}

step="waiting for the settings window Sumvarl"
main=$(window 30 Sumvarl)
[ -n "$main" ] || { alive; fail "no window within 30 s"; }
# No window manager: the window is given the keyboard directly.
xdotool windowfocus --sync "$main" || fail "cannot focus the settings window"
sleep 0.5

# The frame (选择类别) lies at 240, 1080; 题数 (Combo2) at 5520, 1680 and 难度 (Combo1) at
# 1080, 1680 inside it.
step="typing 5 into 题数 and 难度"
type_into "$main" $((240 + 5520)) $((1080 + 1680))
type_into "$main" $((240 + 1080)) $((1080 + 1680))
alive

# From 难度 the focus goes to 题数 (the disabled share boxes are skipped), then wraps to 开始.
step="pressing Return on 开始 after two Tabs"
xdotool key --delay 100 Tab Tab Return
display=$(window 20 题目)
[ -n "$display" ] || { alive; fail "no worksheet window 题目 within 20 s"; }
# The first build runs 100 ms after the window opens.
sleep 1.5
alive

step="pressing 打印"
xdotool windowfocus --sync "$display" || fail "cannot focus the worksheet window"
click "$display" 1200 8160 2175 495

step="waiting for the print job"
printed_job

step="reading the printed job"
# pdftotext's spacing is approximate, its characters are not: white space removed.
pdftotext -layout "$job" - | tr -d ' \t\r\f' | grep -v '^$' >"$work/job.txt" ||
    fail "pdftotext could not read $job"
sed 's/^/  | /' "$work/job.txt"
heading=$(grep -m 1 '^题目数：' "$work/job.txt")
case $heading in
题目数：5题*) ;;
*) fail "the heading reads '$heading', not 题目数：5题" ;;
esac
# With fill-in-the-blank off every problem is printed as a＋b＝, four to a line, and nothing
# else follows the heading.
sed '1,/^题目数：/d' "$work/job.txt" >"$work/body.txt"
[ -z "$(sed -E 's/[0-9]+＋[0-9]+＝//g' "$work/body.txt" | tr -d '\n')" ] ||
    fail "the sheet holds something other than additions a＋b＝"
grep -oE '[0-9]+＋[0-9]+＝' "$work/body.txt" | sed 's/＋/ /; s/＝//' >"$work/problems.txt"
count=$(wc -l <"$work/problems.txt")
[ "$count" -eq 5 ] || fail "$count problems printed, not 5"
[ "$(sort -u "$work/problems.txt" | wc -l)" -eq 5 ] || fail "a problem is printed twice"
# The generator draws the sum below the range, then the first addend below the sum: a＋b＜5,
# and b is at least 1 unless the sum is 0.
while read -r a b; do
    [ $((a + b)) -lt 5 ] || fail "$a＋$b＝ is not within 5"
    [ "$b" -ge 1 ] || [ $((a + b)) -eq 0 ] || fail "$a＋$b＝ has a first addend as large as its sum"
done <"$work/problems.txt"
echo "typed_start_print: passed"
