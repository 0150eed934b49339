#!/bin/sh
# Builds the Debian package with CPack and checks what apt will see: the control fields, the
# dependencies (the runtime libraries and fonts, nothing from the build tools), and exactly the
# files the package ships, with the icons at the sizes their folders claim.
#
# Usage: check-deb.sh CPackConfig.cmake WORK_DIR VERSION APP_ID
set -eu
config=$1 work=$2 version=$3 app_id=$4

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

rm -rf "$work"
mkdir -p "$work"
if ! cpack --config "$config" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack -G DEB" >&2
    exit 1
fi

arch=$(dpkg --print-architecture)
deb=$work/sumvarl_${version}_${arch}.deb
if [ ! -f "$deb" ]; then
    echo "FAIL: no $deb; cpack made:" >&2
    ls "$work" >&2
    exit 1
fi
echo "== dpkg-deb -I $deb"
dpkg-deb -I "$deb"

# --- control fields
field() { dpkg-deb -f "$deb" "$1"; }
expect_field() {
    actual=$(field "$1")
    [ "$actual" = "$2" ] || fail "$1 is '$actual', expected '$2'"
}
expect_field Package sumvarl
expect_field Version "$version"
expect_field Architecture "$arch"
expect_field Section education
field Maintainer | grep -Eq '^[^<]+ <[^@ ]+@[^> ]+>$' || fail "Maintainer '$(field Maintainer)' is not 'Name <address>'"
description=$(field Description)
summary=$(printf '%s\n' "$description" | sed -n 1p)
[ -n "$summary" ] || fail "Description has no summary line"
[ "$(printf '%s\n' "$description" | wc -l)" -ge 2 ] || fail "Description has no long description"

# --- Depends: one package name per entry, version constraints kept for the checks below
depends=$(field Depends)
names=$(printf '%s\n' "$depends" | tr '|' ',' | tr ',' '\n' | sed 's/^ *//; s/[ (].*//' | sort -u)
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
    qt6-qpa-plugins qt6-translations-l10n libqt6sql6-sqlite libqt6sql6 fonts-arphic-uming \
    fonts-arphic-ukai fonts-wqy-zenhei; do
    printf '%s\n' "$names" | grep -qxF "$needed" || fail "Depends lacks $needed: $depends"
done
# Versions come from dpkg-shlibdeps; without them it did not run on the binary.
for versioned in libc6 libqt6core6; do
    printf '%s\n' "$depends" | grep -Eq "(^|, )$versioned \(>= [^)]+\)" ||
        fail "Depends has no minimum version for $versioned: $depends"
done
for name in $names; do
    case $name in
    *-dev | cmake | ninja-build | g++* | gcc* | cpp* | clang* | pkg-config | libgtest* | libgmock* | \
        libbenchmark* | libasan* | libubsan* | qt6-base-dev-tools)
        fail "Depends names the build tool or test library $name" ;;
    esac
done

# --- contents: exactly these files, the binary executable, all owned by root
echo "== dpkg-deb -c $deb"
dpkg-deb -c "$deb" | tee "$work/contents"
expected=$(cat <<EOF
./usr/bin/sumvarl
./usr/bin/sumvarl-batch
./usr/lib/sumvarl/sumvarl-printer.so
./usr/share/applications/$app_id.desktop
./usr/share/icons/hicolor/16x16/apps/sumvarl.png
./usr/share/icons/hicolor/32x32/apps/sumvarl.png
./usr/share/icons/hicolor/48x48/apps/sumvarl.png
./usr/share/icons/hicolor/scalable/apps/sumvarl.svg
./usr/share/metainfo/$app_id.metainfo.xml
EOF
)
actual=$(awk '$1 !~ /^d/ { print $6 }' "$work/contents" | sort)
if [ "$actual" != "$expected" ]; then
    fail "file list differs from the expected one:"
    printf '%s\n' "$expected" >"$work/expected-files"
    printf '%s\n' "$actual" >"$work/actual-files"
    diff -u "$work/expected-files" "$work/actual-files" >&2 || true
fi
awk '$6 == "./usr/bin/sumvarl" { print $1 }' "$work/contents" | grep -qx -- '-rwxr-xr-x' ||
    fail "/usr/bin/sumvarl is not mode 0755"
awk '$2 != "root/root" { print $6 }' "$work/contents" | grep . >&2 && fail "files not owned by root"

# --- the unpacked tree: stripped program, icon sizes, metainfo and launcher together
root=$work/root
dpkg-deb -x "$deb" "$root"
file -b "$root/usr/bin/sumvarl" | grep -q 'ELF.*executable.*, stripped' ||
    fail "/usr/bin/sumvarl is not a stripped executable: $(file -b "$root/usr/bin/sumvarl")"
file -b "$root/usr/lib/sumvarl/sumvarl-printer.so" | grep -q 'ELF.*shared object.*, stripped' ||
    fail "the printing module is not a stripped shared object"
for size in 16 32 48; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/sumvarl.png
    [ -f "$icon" ] || continue # already reported by the file list
    file -b "$icon" | grep -q "PNG image data, $size x $size," ||
        fail "${size}x${size} icon is $(file -b "$icon")"
done
if ! appstreamcli validate-tree --no-net --strict "$root"; then
    fail "appstreamcli validate-tree on the unpacked package"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "package $deb: all checks passed"
