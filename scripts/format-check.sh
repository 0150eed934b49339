#!/bin/sh
# Fails when a tracked C++ file differs from what clang-format makes of it. scripts/test.sh runs
# this before any build so that a formatting slip costs seconds, and scripts/gates.sh again.
set -eu
cd "$(dirname "$0")/.."

command -v clang-format >/dev/null ||
    { echo "== format: FAILED: clang-format is not installed; run sh scripts/deps.sh --test" >&2; exit 1; }
# A CI checkout may belong to another user than the one running the script.
git -c safe.directory="$(pwd)" ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror ||
    { echo "== format: FAILED: run clang-format -i on the files above" >&2; exit 1; }
echo "== format: clean"
