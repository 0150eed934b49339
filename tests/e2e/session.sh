# Sourced by the end-to-end scripts: a private Xvfb and the program on it, with what they share
# to find windows and report a failure. The sourcing script sets $name (for its messages) and
# $bin, then calls start_xvfb and start_app; everything goes when it exits.
export LC_ALL=C.UTF-8 LANG=C.UTF-8

work=$(mktemp -d /tmp/sumvarl-e2e.XXXXXXXX) || exit 1
# The children's history of the run's own, never the user's (which a newer build may have made).
export XDG_DATA_HOME="$work/data"
app=""
xvfb=""
# Only the private server below; never a display this was started from.
unset DISPLAY
cleanup() {
    for pid in $app $xvfb; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

step="starting"
fail() {
    echo "$name: FAILED while $step: $*" >&2
    if [ -n "${DISPLAY:-}" ]; then
        echo "visible windows:" >&2
        for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
            echo "  '$(xdotool getwindowname "$w")'" >&2
        done
        shot=${TMPDIR:-/tmp}/$name-failure-$$.png
        import -window root "$shot" 2>/dev/null && echo "screen saved to $shot" >&2
    fi
    [ -s "$work/app.log" ] && sed 's/^/  sumvarl: /' "$work/app.log" >&2
    exit 1
}

# A private server on a display number it picks itself, so parallel runs never collide; 96 DPI,
# so that one pixel is 15 twips and the controls lie where the forms place them.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset \
        3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    n=0
    until [ -s "$work/display" ]; do
        n=$((n + 1))
        if [ "$n" -gt 200 ] || ! kill -0 "$xvfb" 2>/dev/null; then
            cat "$work/xvfb.log" >&2
            fail "Xvfb did not start"
        fi
        sleep 0.05
    done
    DISPLAY=:$(cat "$work/display")
    export DISPLAY
    # The real X11 platform, with no input method in the way of the keystrokes.
    unset QT_QPA_PLATFORM QT_IM_MODULE XMODIFIERS
    mkdir -m 700 "$work/runtime" && export XDG_RUNTIME_DIR="$work/runtime"
}

# The program, its output kept for a failure; $app is its process.
start_app() {
    "$bin" >>"$work/app.log" 2>&1 &
    app=$!
}

# window SECONDS TITLE: the newest visible window with that exact title, once there is one.
# Polled rather than `search --sync`: xdotool exits on an X error when a window it is looking at
# goes away mid-search (a message box closing while the next window opens), and --sync would
# then report nothing long before the time is up.
window() {
    deadline=$(($(date +%s) + $1))
    while :; do
        found=$(xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | tail -n 1)
        [ -n "$found" ] && { echo "$found"; return 0; }
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}
alive() {
    kill -0 "$app" 2>/dev/null || fail "the program has exited"
}
# click WINDOW LEFT TOP WIDTH HEIGHT: the centre of a control placed in twips inside WINDOW.
click() {
    xdotool mousemove --window "$1" $((($2 + $4 / 2) / 15)) $((($3 + $5 / 2) / 15)) click 1
}

# main_window: waits for the settings window and gives it the keyboard; sets $main.
main_window() {
    main=$(window 30 Sumvarl)
    [ -n "$main" ] || { alive; fail "no settings window within 30 s"; }
    xdotool windowfocus --sync "$main" || fail "cannot focus the settings window"
    sleep 0.5
}

# more_window: 更多设置 opened with Ctrl+M from the settings window; sets $more.
more_window() {
    step="opening 更多设置 with Ctrl+M"
    xdotool key ctrl+m
    more=$(window 20 更多设置)
    [ -n "$more" ] || { alive; fail "no 更多设置 within 20 s"; }
    sleep 0.5
}

# start_and_print: 开始 on the settings window $main, then 打印 on the worksheet window; sets
# $display, and $job to the printed PDF.
start_and_print() {
    step="pressing 开始 and 打印"
    xdotool windowfocus --sync "$main" || fail "cannot focus the settings window"
    click "$main" 1440 3720 2055 615
    display=$(window 20 题目)
    [ -n "$display" ] || { alive; fail "no worksheet window within 20 s"; }
    sleep 1.5
    xdotool windowraise "$display"
    xdotool windowfocus --sync "$display" || fail "cannot focus the worksheet window"
    click "$display" 1200 8160 2175 495
    step="waiting for the print job"
    printed_job
}

# printed_job: waits for the one job the test printer keeps and sets $job to its PDF.
printed_job() {
    n=0
    until [ -n "$(ls "$TEST_PRINTER_OUT")" ] && [ -z "$(lpstat -o 2>/dev/null)" ]; do
        n=$((n + 1))
        [ "$n" -gt 300 ] && { alive; fail "no job reached the test printer within 30 s"; }
        sleep 0.1
    done
    set -- "$TEST_PRINTER_OUT"/job-*.pdf
    [ $# -eq 1 ] && [ -f "$1" ] || fail "expected one kept PDF, found: $(ls "$TEST_PRINTER_OUT")"
    job=$1
}
