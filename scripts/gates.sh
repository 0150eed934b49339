#!/bin/sh
# The quality gates that follow the two test builds: formatting, static analysis, memcheck and
# fuzzing. scripts/test.sh runs this after it has built and tested build/dev; any finding fails
# the run. SUMVARL_DEV_BUILD points at another dev build, SUMVARL_FUZZ_SECONDS changes the fuzz
# time per target (default 30).
set -eu
cd "$(dirname "$0")/.."

DEV=${SUMVARL_DEV_BUILD:-build/dev}
FUZZ=build/fuzz
FUZZ_SECONDS=${SUMVARL_FUZZ_SECONDS:-30}
FUZZ_TARGETS="number_reader_fuzz worksheet_fuzz marking_fuzz sheet_code_fuzz"
# Directories whose sources clang-tidy covers (the fuzz targets through their replay builds in
# fuzz/replay), and those whose test binaries run under valgrind (the Qt ones would report Qt's
# own caches).
TIDY_DIRS="app batch bench core forms fuzz history print testing tests wording worksheet"
CHECKED_DIRS="core worksheet"

started=$(date +%s)
gate_started=""
gate() {
    now=$(date +%s)
    [ -z "$gate_started" ] || echo "   ($((now - gate_started)) s)"
    gate_started=$now
    echo "== gates: $1"
}
fail() {
    echo "== gates: FAILED: $1" >&2
    exit 1
}
# A CI checkout may belong to another user than the one running the script.
tracked() { git -c safe.directory="$(pwd)" ls-files "$@"; }

# A gate whose tool is missing fails the run: a skipped gate would pass unseen.
for tool in git clang-format clang-tidy valgrind clang++ cmake ninja; do
    command -v "$tool" >/dev/null || fail "$tool is not installed; run sh scripts/deps.sh --test"
done
[ -f "$DEV/compile_commands.json" ] || fail "$DEV is not configured; run scripts/test.sh first"

gate "clang-format"
sh scripts/format-check.sh || fail "clang-format"

gate "clang-tidy on $TIDY_DIRS"
tidy_files=""
for dir in $TIDY_DIRS; do
    for f in $(tracked "$dir/*.cpp"); do
        if grep -qF "\"file\": \"$(pwd)/$f\"" "$DEV/compile_commands.json"; then
            tidy_files="$tidy_files $f"
        else
            fail "clang-tidy: $f is not in $DEV/compile_commands.json"
        fi
    done
done
tidy_log=$(mktemp)
# shellcheck disable=SC2086
if ! printf '%s\n' $tidy_files | xargs -P 2 -n 1 clang-tidy -p "$DEV" --quiet >"$tidy_log" 2>&1; then
    grep -v '^[0-9]* warnings\? generated\.$' "$tidy_log" >&2 || true
    rm -f "$tidy_log"
    fail "clang-tidy"
fi
rm -f "$tidy_log"
echo "   $(echo $tidy_files | wc -w) files clean"

gate "valgrind memcheck on the $CHECKED_DIRS tests"
tests=""
for dir in $CHECKED_DIRS; do
    tests="$tests $(find "$DEV/$dir/tests" -maxdepth 1 -type f -name '*_test' -perm -u+x 2>/dev/null | sort)"
done
[ -n "$(echo $tests)" ] || fail "valgrind: no *_test binaries under $DEV/{$CHECKED_DIRS}/tests"
for t in $tests; do
    echo "   $t"
    GTEST_BRIEF=1 valgrind -q --error-exitcode=1 --leak-check=full \
        --errors-for-leak-kinds=definite,indirect --track-origins=yes "$t" >/dev/null ||
        fail "valgrind: $t"
done

gate "libFuzzer, ${FUZZ_SECONDS} s per target"
cmake -S fuzz -B "$FUZZ" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$FUZZ" -j2 >/dev/null || cmake --build "$FUZZ" -j1
for target in $FUZZ_TARGETS; do
    work="$FUZZ/run/$target"
    rm -rf "$work"
    mkdir -p "$work/corpus"
    # Long texts are part of what the number reader must survive (100 000 characters and more).
    extra=""
    [ "$target" = number_reader_fuzz ] && extra="-max_len=262144"
    # New inputs go to the scratch corpus first named; the committed seeds are only read.
    # shellcheck disable=SC2086
    if ! UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 "$FUZZ/$target" \
        -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/" $extra "$work/corpus" "fuzz/corpus/$target" >"$work/log" 2>&1; then
        tail -n 60 "$work/log" >&2
        fail "$target: the failing input is kept in $work/"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log")
    added=$(sed -n 's/^stat::new_units_added: *//p' "$work/log")
    echo "   $target: $runs executions ($rate/s), $added new inputs, no crash"
done

gate "done in $(($(date +%s) - started)) s"
