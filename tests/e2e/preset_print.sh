#!/bin/sh
# A lesson chosen by grade, as a parent does it, on a real X server with real clicks and keys:
# 更多设置 (Ctrl+M), 年级与单元 "二年级上 · 100以内连加连减" picked from its list, 开始, 打印 to the
# private test printer; the job read back holds 50 different chains a ± b ± c whose every step
# stays within 0..99.
#   sh tests/e2e/preset_print.sh path/to/sumvarl
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
name=preset_print
. "$here/session.sh"
start_xvfb
start_app

main_window
more_window

step="choosing 二年级上 · 100以内连加连减 from 年级与单元"
# The list at 2040, 3420, 4320 × 360 twips; the lesson is the eighth below （自己设置）.
click "$more" 2040 3420 4320 360
sleep 0.7
for _ in 1 2 3 4 5 6 7 8; do
    xdotool key Down
done
xdotool key Return
sleep 0.5
[ -n "${SUMVARL_SHOT:-}" ] && import -window root "$SUMVARL_SHOT"

start_and_print

step="checking every printed problem"
pdftotext -layout "$job" - | tr -d ' \t\r\f' >"$work/job.txt" || fail "pdftotext could not read $job"
grep -q '^题目数：50题' "$work/job.txt" || fail "the heading is not 题目数：50题: $(head -5 "$work/job.txt")"
grep -oE '[0-9]+[＋－][0-9]+[＋－][0-9]+＝' "$work/job.txt" >"$work/chains.txt"
count=$(wc -l <"$work/chains.txt")
[ "$count" -eq 50 ] || fail "$count chains printed, not 50"
[ "$(sort -u "$work/chains.txt" | wc -l)" -eq 50 ] || fail "a chain is printed twice"
sed 's/＋/ + /g; s/－/ - /g; s/＝//' "$work/chains.txt" | while read -r a op1 b op2 c; do
    first=$((a $op1 b))
    last=$((first $op2 c))
    for v in "$a" "$b" "$c" "$first" "$last"; do
        [ "$v" -ge 0 ] && [ "$v" -le 99 ] || { echo "$a $op1 $b $op2 $c"; exit 1; }
    done
done >"$work/bad.txt" || fail "a step leaves 0..99: $(cat "$work/bad.txt")"
echo "preset_print: passed (50 chains within 100)"
