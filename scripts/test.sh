#!/bin/sh
# Set up, build and run every test: the normal build, the sanitizer build, then the other
# quality gates (formatting, static analysis, fuzzing, memcheck).
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh --test
# Formatting first: it needs no build and fails in seconds.
sh scripts/format-check.sh
export QT_QPA_PLATFORM=offscreen

for preset in dev asan; do
    echo "== $preset: build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "== $preset: test"
    ctest --preset "$preset"
done

sh scripts/gates.sh
SUMVARL_PACKAGE_BUILD=build/dev sh scripts/package-check.sh
echo "== all tests passed"
