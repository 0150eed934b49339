# Sourced by the screenshot scripts after they cd to the repository, with their own arguments
# ([path/to/sumvarl]). Runs the calling script again on a private Xvfb at 96 DPI, so that the
# pictures show the windows at their designed pixel sizes; there it starts Sumvarl with a
# throwaway HOME ($work) and sets $main to the settings window. The program and $work go when
# the script ends.
if [ "${1:-}" != "--inside-xvfb" ]; then
    bin=${1:-build/dev/app/sumvarl}
    if [ ! -x "$bin" ]; then
        cmake --preset dev >/dev/null
        cmake --build --preset dev --target sumvarl
        bin=build/dev/app/sumvarl
    fi
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -noreset" sh "$0" --inside-xvfb "$bin"
fi

work=$(mktemp -d)
export LANG=C.UTF-8 HOME="$work"
unset QT_QPA_PLATFORM
"$2" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

main=$(xdotool search --sync --onlyvisible --name '^Sumvarl$' | head -n 1)
sleep 1
