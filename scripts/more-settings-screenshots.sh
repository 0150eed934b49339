#!/bin/sh
# Starts Sumvarl under Xvfb and makes "20以内进位加法, 40 题" as a parent does: 20 and 40 typed
# into 难度 and 题数, 更多设置 opened with Ctrl+M, 必须进位 picked, Start. Saves the window
# with its count of different problems, docs/more-settings.png, and the sheet made with it,
# docs/more-settings-sheet.png. Needs xvfb-run, xdotool and ImageMagick's import.
#   sh scripts/more-settings-screenshots.sh [path/to/sumvarl]
set -eu
cd "$(dirname "$0")/.."

. scripts/xvfb-start.sh
# 难度 and 题数 as scripts/screenshots.sh finds them (frame 240, 1080; boxes 1080 and 5520
# twips into it, 1680 down, 735 x 360), in pixels at 96 DPI.
range="$(((240 + 1080 + 367) / 15)) $(((1080 + 1680 + 180) / 15))"
count="$(((240 + 5520 + 367) / 15)) $(((1080 + 1680 + 180) / 15))"
# shellcheck disable=SC2086
xdotool mousemove --window "$main" $range click 1 key ctrl+a type 20
# shellcheck disable=SC2086
xdotool mousemove --window "$main" $count click 1 key ctrl+a type 40
xdotool key ctrl+m
more=$(xdotool search --sync --onlyvisible --name '^更多设置$' | head -n 1)
sleep 0.5
# 加法进位's list (2040, 240 twips, 1695 x 360): open it, one entry down, 必须进位.
xdotool mousemove --window "$more" $(((2040 + 847) / 15)) $(((240 + 180) / 15)) click 1
sleep 0.5
xdotool key Down Return
sleep 0.5
import -window "$more" docs/more-settings.png

# 关闭 (4800, 5580 twips, 1455 x 495), then Start on the settings window.
xdotool mousemove --window "$more" $(((4800 + 727) / 15)) $(((5580 + 247) / 15)) click 1
xdotool mousemove --window "$main" 164 268 click 1
display=$(xdotool search --sync --onlyvisible --name '^题目$' | head -n 1)
sleep 2
import -window "$display" docs/more-settings-sheet.png
echo "saved docs/more-settings.png and docs/more-settings-sheet.png"
