#!/bin/sh
# Builds Sumvarl for Windows on Debian 12 and tests it under Wine: the MinGW-w64 cross compiler,
# Qt 6.4.2 and SQLite from Debian's source packages, then Sumvarl, its tests under Wine and the
# NSIS installer build/windows/Sumvarl-安装.exe.
#
#   sh scripts/windows.sh [all|toolchain|build|test|installer]
#
# The cross-built Qt, SQLite, GoogleTest and Google Benchmark go to a cache folder
# ($SUMVARL_WINDOWS_CACHE, by default ~/.cache/sumvarl-windows) that later runs reuse: Qt's first
# build takes about 20 minutes of two cores, a second run skips it. Not part of scripts/test.sh.
set -eu
cd "$(dirname "$0")/.."
repo=$(pwd)
cache=${SUMVARL_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/sumvarl-windows}
jobs=${SUMVARL_WINDOWS_JOBS:-2}
build=$repo/build/windows
stage=${1:-all}
triple=x86_64-w64-mingw32
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)

if [ "$(id -u)" = 0 ]; then SUDO=""; else SUDO="sudo"; fi
# The big builds share the machine with whatever else runs there.
NICE="nice -n 10"

log() { printf '== %s\n' "$*"; }

packages() {
    need="g++-mingw-w64-x86-64-posix wine64 nsis qt6-base-dev qt6-base-dev-tools cmake ninja-build
dpkg-dev perl tcl xvfb xauth poppler-utils imagemagick xdotool fonts-wqy-zenhei g++ libgtest-dev
libbenchmark-dev"
    missing=""
    for p in $need; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing="$missing $p"
    done
    # apt-get source needs a deb-src line; Debian 12 ships only deb lines in debian.sources.
    if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        log "adding Debian's deb-src lines"
        $SUDO tee /etc/apt/sources.list.d/sumvarl-deb-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
        $SUDO apt-get update -qq
    elif [ -n "$missing" ]; then
        $SUDO apt-get update -qq
    fi
    if [ -n "$missing" ]; then
        log "installing:$missing"
        # shellcheck disable=SC2086
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
    fi
}

# Unpacks Debian's source package $1 under $cache/src and prints its folder.
source_of() {
    mkdir -p "$cache/src"
    dir=$(find "$cache/src" -mindepth 1 -maxdepth 1 -type d -name "$1-[0-9]*" | head -n 1)
    if [ -z "$dir" ]; then
        (cd "$cache/src" && apt-get source -qq "$1" >&2)
        dir=$(find "$cache/src" -mindepth 1 -maxdepth 1 -type d -name "$1-[0-9]*" | head -n 1)
    fi
    [ -n "$dir" ] || { echo "no source for $1" >&2; exit 1; }
    echo "$dir"
}

toolchain_file() {
    cat >"$cache/mingw.cmake" <<TC
# MinGW-w64 (POSIX threads) from Debian, for the libraries under $cache.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER $triple-gcc-posix)
set(CMAKE_CXX_COMPILER $triple-g++-posix)
set(CMAKE_RC_COMPILER $triple-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$triple $cache/deps)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TC
}

# SQLite is not bundled in Debian's Qt source, so its Qt driver links a Windows build of it.
sqlite() {
    [ -f "$cache/deps/lib/libsqlite3.a" ] && return 0
    log "SQLite for Windows"
    src=$(source_of sqlite3)
    b="$cache/build/sqlite3"
    mkdir -p "$b" "$cache/deps/lib" "$cache/deps/include"
    # The amalgamation is generated on the host (needs tclsh), then compiled for Windows.
    if [ ! -f "$b/sqlite3.c" ]; then
        (cd "$b" && "$src/configure" -q >/dev/null && make -s sqlite3.c)
    fi
    $triple-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_COLUMN_METADATA \
        -DSQLITE_OMIT_LOAD_EXTENSION -c "$b/sqlite3.c" -o "$b/sqlite3.o"
    $triple-ar rcs "$cache/deps/lib/libsqlite3.a" "$b/sqlite3.o"
    cp "$b/sqlite3.h" "$b/sqlite3ext.h" "$cache/deps/include/"
}

qt() {
    [ -f "$cache/qt/lib/cmake/Qt6/qt.toolchain.cmake" ] &&
        [ -f "$cache/qt/plugins/sqldrivers/qsqlite.dll" ] && return 0
    log "Qt 6.4.2 for Windows (long)"
    src=$(source_of qt6-base)
    # Only what Sumvarl uses; tablet events need the non-free wintab headers that Debian's
    # source leaves out, and 6.4.2's Windows plugin does not compile without OpenGL.
    $NICE cmake -S "$src" -B "$cache/build/qtbase" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$cache/mingw.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$cache/qt" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_tabletevent=OFF -DFEATURE_opengl=ON -DFEATURE_vulkan=OFF \
        -DFEATURE_dbus=OFF -DFEATURE_network=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF \
        -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
        -DFEATURE_sql=ON -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=ON \
        -DSQLite3_INCLUDE_DIR="$cache/deps/include" -DSQLite3_LIBRARY="$cache/deps/lib/libsqlite3.a" \
        -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=OFF -DFEATURE_sql_mysql=OFF \
        -DFEATURE_sql_ibase=OFF -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF
    $NICE cmake --build "$cache/build/qtbase" -j "$jobs"
    cmake --install "$cache/build/qtbase" >/dev/null
}

# GoogleTest and Google Benchmark from their Debian source packages, static, for the tests.
testlibs() {
    if [ ! -f "$cache/deps/lib/cmake/GTest/GTestConfig.cmake" ]; then
        log "GoogleTest for Windows"
        src=$(source_of googletest)
        $NICE cmake -S "$src" -B "$cache/build/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$cache/mingw.cmake" -DCMAKE_INSTALL_PREFIX="$cache/deps" \
            -DBUILD_GMOCK=ON >/dev/null
        $NICE cmake --build "$cache/build/googletest" -j "$jobs"
        cmake --install "$cache/build/googletest" >/dev/null
    fi
    if [ ! -f "$cache/deps/lib/cmake/benchmark/benchmarkConfig.cmake" ]; then
        log "Google Benchmark for Windows"
        src=$(source_of benchmark)
        $NICE cmake -S "$src" -B "$cache/build/benchmark" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$cache/mingw.cmake" -DCMAKE_INSTALL_PREFIX="$cache/deps" \
            -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF \
            -DBENCHMARK_ENABLE_WERROR=OFF >/dev/null
        $NICE cmake --build "$cache/build/benchmark" -j "$jobs"
        cmake --install "$cache/build/benchmark" >/dev/null
    fi
}

toolchain() {
    packages
    toolchain_file
    sqlite
    qt
    testlibs
}

case "$stage" in
toolchain) toolchain ;;
*) echo "usage: $0 [all|toolchain|build|test|installer]" >&2; exit 2 ;;
esac
