#!/bin/sh
# Starts Sumvarl under Xvfb and saves the settings window with "12.5" typed as the addition's
# share, Start's message for 201 problems, and the worksheet window after Start:
# docs/frmMain.png, docs/message-box.png and docs/frmDisplay.png. Needs xvfb-run, xdotool and
# ImageMagick's import (sh scripts/deps.sh --test installs them).
#   sh scripts/screenshots.sh [path/to/sumvarl]
set -eu
cd "$(dirname "$0")/.."

. scripts/xvfb-start.sh
# Centres of the addition's share box (frame 240, 1080 + box 600, 1080, 495 x 360 twips) and
# of 题数 (frame + 5520, 1680, 735 x 360), in pixels at 96 DPI.
share="$(((240 + 600 + 247) / 15)) $(((1080 + 1080 + 180) / 15))"
count="$(((240 + 5520 + 300) / 15)) $(((1080 + 1680 + 180) / 15))"
# shellcheck disable=SC2086
xdotool mousemove --window "$main" $share click 1 key ctrl+a type 12.5
# Start's place: the focus frame on 开始, as when the window opens.
xdotool key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
sleep 0.5
import -window "$main" docs/frmMain.png

# 201 problems is more than a worksheet holds: Start refuses with a message.
# shellcheck disable=SC2086
xdotool mousemove --window "$main" $count click 1 key ctrl+a type 201
xdotool key Tab Return
box=$(xdotool search --sync --onlyvisible --name '^Sumvarl$' | grep -vx "$main" | head -n 1)
sleep 0.5
import -window "$box" docs/message-box.png
xdotool key Return
# shellcheck disable=SC2086
xdotool mousemove --window "$main" $count click 1 key ctrl+a type 100

# Tick subtraction, multiplication, division and fill-in-the-blank as well, so that the
# worksheet shows every operation: their boxes stand 1980, 3360, 4740 and 6120 twips into the
# frame (240, 1080), 480 twips down; the click lands on each tick mark.
for left in 1980 3360 4740 6120; do
    xdotool mousemove --window "$main" $(((240 + left) / 15 + 6)) $(((1080 + 480) / 15 + 8)) click 1
done
# Start is 1440 twips from the left and 3720 from the top, 2055 x 615 twips: at 96 DPI its
# centre is 164, 268 pixels inside the window.
xdotool mousemove --window "$main" 164 268 click 1
display=$(xdotool search --sync --onlyvisible --name '^题目$' | head -n 1)
# The first build runs 100 ms after the window opens; leave it time to be drawn.
sleep 2
import -window "$display" docs/frmDisplay.png
echo "saved docs/frmMain.png, docs/message-box.png and docs/frmDisplay.png"
