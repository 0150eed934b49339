#!/bin/sh
# End-to-end check of the Debian package: build it from a Release build, install it with apt on
# this machine, start `sumvarl` from PATH on a virtual X display and wait for the settings
# window to appear, then end it and remove the package again. Root, or sudo otherwise.
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh --test

# SUMVARL_PACKAGE_BUILD reuses a configured build (scripts/test.sh passes build/dev, which it
# has just built and tested) instead of a Release build of its own.
build=${SUMVARL_PACKAGE_BUILD:-build/pkg}
if [ "$(id -u)" = 0 ]; then SUDO=""; else SUDO="sudo"; fi

echo "== package: build ($build)"
if [ -z "${SUMVARL_PACKAGE_BUILD:-}" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSUMVARL_BUILD_TESTS=ON >/dev/null
fi
cmake --build "$build" -j2 --target sumvarl sumvarl-batch
echo "== package: validators and package contents"
ctest --test-dir "$build" -L packaging --output-on-failure

echo "== package: cpack"
# A package of an earlier version left in the folder must not be the one installed.
rm -f "$build"/sumvarl_*.deb
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$build" >"$build/cpack.log" 2>&1 ||
    { cat "$build/cpack.log" >&2; exit 1; }
set -- "$build"/sumvarl_*_"$(dpkg --print-architecture)".deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "FAIL: expected one package, found: $*" >&2
    exit 1
fi
deb=$1

echo "== package: apt-get install ./$deb"
remove() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get remove -y -qq sumvarl >/dev/null || true; }
trap remove EXIT
# --reinstall: the same version may already be installed from an earlier run, and apt would
# otherwise keep that one.
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --reinstall "./$deb"

program=$(command -v sumvarl) || { echo "FAIL: sumvarl is not on PATH after installing" >&2; exit 1; }
owner=$(dpkg-query -S "$program" 2>/dev/null | cut -d: -f1) || owner=""
[ "$owner" = sumvarl ] || { echo "FAIL: $program on PATH is not from the package" >&2; exit 1; }

# The batch tool from the package makes a sheet without a display.
sheet=$(mktemp -u --suffix=.pdf)
sumvarl-batch --count 10 --seed 1 -o "$sheet" >/dev/null 2>&1 && [ -s "$sheet" ] ||
    { echo "FAIL: sumvarl-batch from the package made no PDF" >&2; exit 1; }
rm -f "$sheet"

echo "== package: start $program under Xvfb"
log=$(mktemp)
# The tests run Qt on the offscreen platform; here it must be xcb, which also proves that the
# platform plugin came with the package's dependencies.
# shellcheck disable=SC2016 # the script runs in the inner shell, with the log as $1
if ! QT_QPA_PLATFORM=xcb timeout 120 xvfb-run -a sh -c '
    log=$1
    sumvarl >"$log" 2>&1 &
    pid=$!
    if ! window=$(timeout 30 xdotool search --sync --all --onlyvisible --pid "$pid" --name "^Sumvarl\$"); then
        if kill -0 "$pid" 2>/dev/null; then
            echo "FAIL: no window named Sumvarl within 30 s" >&2
            kill "$pid"
        else
            wait "$pid" && status=0 || status=$?
            echo "FAIL: sumvarl ended with status $status before showing its window" >&2
        fi
        exit 1
    fi
    window=$(printf "%s\n" "$window" | head -n 1)
    echo "settings window found: $window \"$(xdotool getwindowname "$window")\""
    kill "$pid"
    wait "$pid" 2>/dev/null || true # the shell would report "Terminated"
' sh "$log"; then
    echo "== sumvarl output:" >&2
    cat "$log" >&2
    rm -f "$log"
    exit 1
fi
rm -f "$log"
echo "== package: installed, started and ended"
