#!/bin/sh
# sumvarl-batch against paths that must not be written over: device nodes and FIFOs, links to
# the names file or between the outputs, bytes that are no UTF-8, a names "file" that never ends
# and a full disk. Each run must fail with a message and leave every file as it was. Everything
# happens inside one temporary folder; the device nodes are our own (mknod, as root), never the
# system's. Usage: hostile_paths.sh path/to/sumvarl-batch
set -eu
batch=$1
work=$(mktemp -d)
full="$work/full"
cleanup() {
    mountpoint -q "$full" 2>/dev/null && umount "$full"
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
export QT_QPA_PLATFORM=offscreen

failures=0
fail() {
    echo "FAIL: $1" >&2
    failures=$((failures + 1))
}

# refused WORDS ARGS...: the run exits non-zero and its message holds WORDS.
refused() {
    words=$1
    shift
    status=0
    timeout 60 "$batch" --count 5 "$@" >out.log 2>err.log || status=$?
    if [ "$status" -eq 0 ] || [ "$status" -eq 124 ]; then
        fail "$* exited $status"
    elif ! grep -qF "$words" err.log; then
        fail "$*: no \"$words\" in: $(cat err.log)"
    fi
}

printf '张三\n李四\n' >names.txt
cp names.txt names.orig

# Device nodes and FIFOs stay what they are.
mkfifo pipe
refused "不是普通文件" -o pipe
refused "不是普通文件" --answers-file pipe -o sheet.pdf
[ -p pipe ] || fail "the FIFO was replaced"
if mknod myfull c 1 7 2>/dev/null; then
    refused "不是普通文件" -o myfull
    [ -c myfull ] || fail "the device node was replaced"
else
    echo "not root: no device node of our own, skipped"
fi

# The same file reached by another path.
ln -s names.txt linked-names.pdf
refused "不能覆盖名单文件" --names names.txt -o linked-names.pdf
ln -s . linked
refused "不能覆盖名单文件" --names linked/names.txt -o names.txt
ln -s s.pdf k.pdf
refused "不能是同一个文件" --answers-file k.pdf -o s.pdf
cmp -s names.txt names.orig || fail "the names file was overwritten"
[ ! -e s.pdf ] || fail "s.pdf was written"

# A byte that is no UTF-8 must not become U+FFFD and name another file.
printf 'keep' >"$(printf 'rep\357\277\275.pdf')"
refused "不是当前编码的字节" -o "$(printf 'rep\377.pdf')"
[ "$(cat "$(printf 'rep\357\277\275.pdf')")" = keep ] || fail "rep\\uFFFD.pdf was overwritten"
[ ! -e "$(printf 'rep\377.pdf')" ] || fail "rep\\xff.pdf was written"

# A names file without end is refused after a megabyte, not read until memory runs out.
if mknod zero c 1 5 2>/dev/null; then
    refused "超过 1024 KB" --names zero -o zero.pdf
fi

# A full disk is said to be full; the older file stays.
mkdir "$full"
if mount -t tmpfs -o size=12k tmpfs "$full" 2>/dev/null; then
    printf 'older' >"$full/sheet.pdf"
    refused "磁盘已满" --count 100 -o "$full/sheet.pdf"
    [ "$(cat "$full/sheet.pdf")" = older ] || fail "the older file on the full disk changed"
    [ "$(ls -A "$full")" = sheet.pdf ] || fail "a partial file was left: $(ls -A "$full")"
else
    echo "cannot mount a tmpfs: the full disk was skipped"
fi

[ "$failures" -eq 0 ] || exit 1
echo "all hostile paths refused, every file kept"
