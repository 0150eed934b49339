#!/bin/sh
# Starts Sumvarl under Xvfb as a parent of a 四年级 child: 更多设置 (Ctrl+M), 年级与单元
# "四年级下 · 带中括号的四则运算" (the list's last entry), 各部分的题混在一起 ticked, then
# 保存为我的设置… with the name "周末复习". Saves 更多设置 with the own preset, docs/preset-settings.png,
# the list with its group 我的设置, docs/preset-own-list.png, the sheet after Start,
# docs/chains-three-steps-sheet.png, and 练习 (Ctrl+L), docs/chains-three-steps-practice.png.
# Needs xvfb-run, xdotool and ImageMagick's import.
#   sh scripts/three-steps-screenshots.sh [path/to/sumvarl]
set -eu
cd "$(dirname "$0")/.."

. scripts/xvfb-start.sh
# 题数 (as scripts/more-settings-screenshots.sh finds it) takes the keyboard, then Ctrl+M.
xdotool mousemove --window "$main" $(((240 + 5520 + 367) / 15)) $(((1080 + 1680 + 180) / 15)) click 1
xdotool key ctrl+m
more=$(xdotool search --sync --onlyvisible --name '^更多设置$' | head -n 1)
sleep 0.5
# 年级与单元's list (2040, 3000 twips, 4320 x 360): open it, End, Return.
xdotool mousemove --window "$more" $(((2040 + 2160) / 15)) $(((3000 + 180) / 15)) click 1
sleep 0.5
xdotool key End Return
sleep 0.3
# 各部分的题混在一起 (480, 4020 twips), then 保存为我的设置… (240, 4360 twips, 2100 x 400).
xdotool mousemove --window "$more" $(((480 + 120) / 15)) $(((4020 + 150) / 15)) click 1
xdotool mousemove --window "$more" $(((240 + 1050) / 15)) $(((4360 + 200) / 15)) click 1
ask=$(xdotool search --sync --onlyvisible --name '^保存为我的设置$' | head -n 1)
sleep 0.5
xdotool windowfocus --sync "$ask" key ctrl+a type '周末复习'
xdotool key Return
sleep 0.5
import -window "$more" docs/preset-settings.png
xdotool mousemove --window "$more" $(((2040 + 2160) / 15)) $(((3000 + 180) / 15)) click 1
sleep 0.5
import -window root /tmp/sumvarl-own-list.png
eval "$(xdotool getwindowgeometry --shell "$more")"
convert /tmp/sumvarl-own-list.png -crop "$((WIDTH + 40))x$((Y + HEIGHT + 10))+$((X - 20))+0" \
    +repage docs/preset-own-list.png
xdotool key Escape
sleep 0.3

# 关闭 (4800, 5580 twips, 1455 x 495), then Start on the settings window.
xdotool mousemove --window "$more" $(((4800 + 727) / 15)) $(((5580 + 247) / 15)) click 1
xdotool mousemove --window "$main" 164 268 click 1
display=$(xdotool search --sync --onlyvisible --name '^题目$' | head -n 1)
sleep 2
import -window "$display" docs/chains-three-steps-sheet.png
xdotool windowfocus --sync "$display"
xdotool key ctrl+l
practice=$(xdotool search --sync --onlyvisible --name '^练习$' | head -n 1)
sleep 1
import -window "$practice" docs/chains-three-steps-practice.png
echo "saved docs/preset-settings.png, docs/preset-own-list.png," \
    "docs/chains-three-steps-sheet.png and docs/chains-three-steps-practice.png"
