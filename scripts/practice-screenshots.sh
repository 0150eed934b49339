#!/bin/sh
# Starts Sumvarl under Xvfb, presses Start, saves the answer key as a PDF from the sheet menu to
# know the answers, opens the practice window with Ctrl+L and types them as a child would (a few
# wrong, one left out): docs/practice.png while the round goes on, docs/practice-ask.png when
# 交卷 asks about the empty box, docs/practice-marked.png after 交卷. Needs xvfb-run, xdotool, ImageMagick's import and pdftotext.
#   sh scripts/practice-screenshots.sh [path/to/sumvarl]
set -eu
cd "$(dirname "$0")/.."

. scripts/xvfb-start.sh
# Start, as scripts/screenshots.sh finds it.
xdotool mousemove --window "$main" 164 268 click 1
display=$(xdotool search --sync --onlyvisible --name '^题目$' | head -n 1)
sleep 2

# The sheet menu from the keys: into the sheet, Shift+F10, the third entry (答案保存为 PDF…).
xdotool mousemove --window "$display" 300 200 click 1
xdotool key shift+F10
sleep 0.5
xdotool key Down Down Down Return
sleep 1
xdotool key ctrl+a
xdotool type "$work/key.pdf"
xdotool key Return
sleep 1
answers=$(pdftotext -layout "$work/key.pdf" - | python3 -c '
import re, sys
item = re.compile(r"(\(?)(\d+)\)?\s*([＋－×÷])\s*(\(?)(\d+)\)?\s*＝\s*(\d+)")
for m in item.finditer(sys.stdin.read()):
    print(m.group(2) if m.group(1) else m.group(5) if m.group(4) else m.group(6))
')

# No window manager: a click gives the worksheet window the keyboard.
xdotool mousemove --window "$display" 300 200 click 1 key ctrl+l
practice=$(xdotool search --sync --onlyvisible --name '^练习$' | head -n 1)
sleep 1
# Mostly right; the 6th and 11th one more than right, the 15th left out.
n=0
for answer in $answers; do
    n=$((n + 1))
    case $n in
    6 | 11) xdotool type --delay 80 "$((answer + 1))" ;;
    15) ;;
    *) xdotool type --delay 80 "$answer" ;;
    esac
    xdotool key Return
    if [ "$n" -eq 9 ]; then
        sleep 2
        import -window "$practice" docs/practice.png
    fi
done
sleep 1
# The last Return went on to 交卷; this one presses it. One box is empty, so it asks first, with
# 继续做题 in focus: Tab to 交卷 and press it.
xdotool key Return
sleep 1
import -window root docs/practice-ask.png
xdotool key Tab Return
sleep 1
import -window "$practice" docs/practice-marked.png
echo "saved docs/practice.png, docs/practice-ask.png and docs/practice-marked.png"
