#!/bin/sh
# Renders the window icon from sumvarl.svg: PNGs at 16, 32 and 48 pixels for Qt, and a .ico
# for Windows builds holding each size in 256 and in 16 colours.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
set -eu
cd "$(dirname "$0")"
for size in 16 32 48; do
    rsvg-convert -w "$size" -h "$size" sumvarl.svg -o "sumvarl-$size.png"
done
convert \
    \( sumvarl-48.png -colors 255 \) \( sumvarl-32.png -colors 255 \) \( sumvarl-16.png -colors 255 \) \
    \( sumvarl-48.png -colors 16 \) \( sumvarl-32.png -colors 16 \) \( sumvarl-16.png -colors 16 \) \
    sumvarl.ico
