#!/bin/sh
# Starts Sumvarl under Xvfb and makes "100以内带小括号, 40 题, 填空 20%" as a parent does: 100 and
# 40 typed into 难度 and 题数, 填空 ticked, 更多设置 opened with Ctrl+M, 带小括号 picked under 题型,
# Start, then 在屏幕上练习 (Ctrl+L). Saves 更多设置 with its count, docs/chains-settings.png, the
# sheet, docs/chains-sheet.png, and 练习, docs/chains-practice.png. Needs xvfb-run, xdotool and ImageMagick's import.
#   sh scripts/chain-screenshots.sh [path/to/sumvarl]
set -eu
cd "$(dirname "$0")/.."

. scripts/xvfb-start.sh
# 难度, 题数 and 填空 as scripts/more-settings-screenshots.sh finds them, in pixels at 96 DPI.
range="$(((240 + 1080 + 367) / 15)) $(((1080 + 1680 + 180) / 15))"
count="$(((240 + 5520 + 367) / 15)) $(((1080 + 1680 + 180) / 15))"
fill="$(((240 + 6120 + 100) / 15)) $(((1080 + 480 + 127) / 15))"
# shellcheck disable=SC2086
xdotool mousemove --window "$main" $range click 1 key ctrl+a type 100
# shellcheck disable=SC2086
xdotool mousemove --window "$main" $count click 1 key ctrl+a type 40
# shellcheck disable=SC2086
xdotool mousemove --window "$main" $fill click 1
xdotool key ctrl+m
more=$(xdotool search --sync --onlyvisible --name '^更多设置$' | head -n 1)
sleep 0.5
# 题型's list (2040, 2520 twips, 3600 x 360): open it, seven entries down, 带小括号.
xdotool mousemove --window "$more" $(((2040 + 1800) / 15)) $(((2520 + 180) / 15)) click 1
sleep 0.5
xdotool key Down Down Down Down Down Down Down Return
sleep 0.5
import -window "$more" docs/chains-settings.png

# 关闭 (4800, 5580 twips, 1455 x 495), then Start on the settings window.
xdotool mousemove --window "$more" $(((4800 + 727) / 15)) $(((5580 + 247) / 15)) click 1
xdotool mousemove --window "$main" 164 268 click 1
display=$(xdotool search --sync --onlyvisible --name '^题目$' | head -n 1)
sleep 2
import -window "$display" docs/chains-sheet.png
# 在屏幕上练习 (Ctrl+L on the worksheet window): the chains with their answer boxes.
xdotool windowfocus --sync "$display"
xdotool key ctrl+l
practice=$(xdotool search --sync --onlyvisible --name '^练习$' | head -n 1)
sleep 1
import -window "$practice" docs/chains-practice.png
echo "saved docs/chains-settings.png, docs/chains-sheet.png and docs/chains-practice.png"
