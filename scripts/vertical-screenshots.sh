#!/bin/sh
# Starts Sumvarl under Xvfb and makes a 竖式 sheet as a parent does: 6 typed into 题数, 更多设置
# opened with Ctrl+M, 竖式 除数是一位数的除法 picked under 题型, 有余数的除法 and 方格
# ticked, Start. Saves
# 更多设置 as docs/vertical-settings.png and the worksheet window as docs/vertical-window.png.
# Needs xvfb-run, xdotool and ImageMagick's import.
#   sh scripts/vertical-screenshots.sh [path/to/sumvarl]
set -eu
cd "$(dirname "$0")/.."

. scripts/xvfb-start.sh
# 题数 as scripts/more-settings-screenshots.sh finds it, in pixels at 96 DPI.
count="$(((240 + 5520 + 367) / 15)) $(((1080 + 1680 + 180) / 15))"
# shellcheck disable=SC2086
xdotool mousemove --window "$main" $count click 1 key ctrl+a type 6
xdotool key ctrl+m
more=$(xdotool search --sync --onlyvisible --name '^更多设置$' | head -n 1)
sleep 0.5
# 题型's list (2040, 2520 twips, 4320 x 360): open it, the ten shapes, then the fifth 竖式.
xdotool mousemove --window "$more" $(((2040 + 2160) / 15)) $(((2520 + 180) / 15)) click 1
sleep 0.5
for _ in $(seq 14); do xdotool key Down; done
xdotool key Return
# 有余数的除法 (240, 1740 twips).
xdotool mousemove --window "$more" $(((240 + 200) / 15)) $(((1740 + 150) / 15)) click 1
# 方格 under 竖式的纸 (3660, 2970 twips).
xdotool mousemove --window "$more" $(((3660 + 300) / 15)) $(((2970 + 150) / 15)) click 1
sleep 0.5
import -window "$more" docs/vertical-settings.png

# 关闭 (4800, 5220 twips, 1455 x 495), then Start on the settings window.
xdotool mousemove --window "$more" $(((4800 + 727) / 15)) $(((5220 + 247) / 15)) click 1
xdotool mousemove --window "$main" 164 268 click 1
display=$(xdotool search --sync --onlyvisible --name '^题目$' | head -n 1)
sleep 2
if [ -n "${VERTICAL_WINDOW_PNG:-}" ]; then
    import -window "$display" "$VERTICAL_WINDOW_PNG"
fi
echo "saved docs/vertical-settings.png"
