#!/bin/sh
# Starts Sumvarl under Xvfb, saves the settings window, presses Start and saves the worksheet
# window: docs/frmMain.png and docs/frmDisplay.png. Needs xvfb-run, xdotool and ImageMagick's
# import (sh scripts/deps.sh --test installs them).
#   sh scripts/screenshots.sh [path/to/sumvarl]
set -eu
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--inside-xvfb" ]; then
    bin=${1:-build/dev/app/sumvarl}
    if [ ! -x "$bin" ]; then
        cmake --preset dev >/dev/null
        cmake --build --preset dev --target sumvarl
        bin=build/dev/app/sumvarl
    fi
    # 96 DPI, so that the pictures show the windows at their designed pixel sizes.
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -noreset" sh "$0" --inside-xvfb "$bin"
fi

bin=$2
export LANG=C.UTF-8
unset QT_QPA_PLATFORM
"$bin" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

main=$(xdotool search --sync --onlyvisible --name '^Sumvarl$' | head -n 1)
sleep 1
import -window "$main" docs/frmMain.png

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
echo "saved docs/frmMain.png and docs/frmDisplay.png"
