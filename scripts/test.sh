#!/bin/sh
# Set up, build and run every test: the normal build, the sanitizer build, then the other
# quality gates (formatting, static analysis, fuzzing, memcheck).
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh --test
export QT_QPA_PLATFORM=offscreen

for preset in dev asan; do
    echo "== $preset: build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "== $preset: test"
    ctest --preset "$preset"
done

if [ -f scripts/gates.sh ]; then
    sh scripts/gates.sh
fi
SUMVARL_PACKAGE_BUILD=build/dev sh scripts/package-check.sh
echo "== all tests passed"
