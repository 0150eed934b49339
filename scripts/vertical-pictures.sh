#!/bin/sh
# Makes one 竖式 page of each kind with sumvarl-batch and puts it beside the first page of its
# worked key, as docs/vertical-<kind>.png (60 dpi). Needs pdftoppm and ImageMagick's convert.
#   sh scripts/vertical-pictures.sh [path/to/sumvarl-batch]
set -eu
cd "$(dirname "$0")/.."
batch=${1:-build/dev/batch/sumvarl-batch}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# kind, its options, the file name's part
picture() {
    kind=$1
    name=$2
    shift 2
    "$batch" --vertical "$kind" --seed 3 --answers-file "$work/key.pdf" -o "$work/sheet.pdf" "$@" >/dev/null
    pdftoppm -r 60 -f 1 -l 1 -png -singlefile "$work/sheet.pdf" "$work/sheet"
    pdftoppm -r 60 -f 1 -l 1 -png -singlefile "$work/key.pdf" "$work/key"
    convert "$work/sheet.png" "$work/key.png" -bordercolor '#888' -border 1 +append \
        -colors 16 -strip "docs/vertical-$name.png"
}

picture add-sub-2 add-sub-2 --carry always --borrow always --grid
picture add-sub-3 add-sub-3 --check
picture multiply-1 multiply-1 --grid --per-page 8
picture multiply-2 multiply-2 --per-page 4 --check
picture divide-1 divide-1 --grid --check
picture divide-1 divide-1-remainder --remainder --per-page 8
picture divide-2 divide-2 --remainder-zero --grid --per-page 4
