#!/bin/sh
# Builds Sumvarl for Windows on Debian 12 and tests it under Wine: the MinGW-w64 cross compiler,
# Qt 6.4.2 and SQLite from Debian's source packages, then Sumvarl, its tests under Wine and the
# NSIS installer build/windows/Sumvarl-安装.exe.
#
#   sh scripts/windows.sh [all|toolchain|build|test|installer|install-check]
#
# The cross-built Qt, SQLite, GoogleTest and Google Benchmark go to a cache folder
# ($SUMVARL_WINDOWS_CACHE, by default ~/.cache/sumvarl-windows) that later runs reuse: Qt's first
# build takes about 35 minutes of two cores, a second run skips it. Not part of scripts/test.sh.
set -eu
cd "$(dirname "$0")/.."
repo=$(pwd)
cache=${SUMVARL_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/sumvarl-windows}
jobs=${SUMVARL_WINDOWS_JOBS:-2}
build=$repo/build/windows
step=${1:-all}
triple=x86_64-w64-mingw32
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)

if [ "$(id -u)" = 0 ]; then SUDO=""; else SUDO="sudo"; fi
# The big builds share the machine with whatever else runs there.
NICE="nice -n 10"

log() { printf '== %s\n' "$*"; }

packages() {
    need="g++-mingw-w64-x86-64-posix wine64 nsis qt6-base-dev qt6-base-dev-tools cmake ninja-build
dpkg-dev perl tcl xvfb xauth poppler-utils imagemagick xdotool g++ libgtest-dev libgmock-dev
fonts-arphic-uming fonts-arphic-ukai fonts-wqy-zenhei
libbenchmark-dev qt6-translations-l10n"
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
            -DGIT_VERSION="$(basename "$src" | sed 's/^benchmark-//')" \
            -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF \
            -DBENCHMARK_ENABLE_WERROR=OFF >/dev/null
        $NICE cmake --build "$cache/build/benchmark" -j "$jobs"
        cmake --install "$cache/build/benchmark" >/dev/null
    fi
}

# Qt's Chinese texts (its buttons and dialogs) where the cross-built Qt looks for translations:
# Debian's .qm files, which are the same on every system.
translations() {
    mkdir -p "$cache/qt/translations"
    cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$cache/qt/translations/"
}

toolchain() {
    packages
    toolchain_file
    sqlite
    qt
    translations
    testlibs
}

wine=/usr/lib/wine/wine64 # Debian's wine64 keeps it off PATH
# The tests' Wine prefix; the installer is tried in a prefix of its own, like a fresh machine.
prefix=$cache/wine
wineserver() { WINEPREFIX="$prefix" /usr/lib/wine/wineserver64 "$@"; }
mingw_dlls="/usr/lib/gcc/$triple/12-posix /usr/$triple/lib"

# Z:\... for a Unix path, as Wine sees it.
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# build/windows/wine-run starts a program of this build under Wine, with Qt's and MinGW's DLLs
# on its path; CMake runs the tests through it (wine-test).
wine_env() {
    winepath_list="$(windows_path "$cache/qt/bin")"
    for d in $mingw_dlls; do winepath_list="$winepath_list;$(windows_path "$d")"; done
    # Qt's offscreen platform on Windows reads the font files of one folder (QT_QPA_FONTDIR),
    # not the system's fonts: there, the Linux machine's fonts, which the tests expect.
    rm -rf "$build/wine-fonts"
    mkdir -p "$build/wine-fonts"
    find /usr/share/fonts -type f \( -name '*.ttf' -o -name '*.ttc' -o -name '*.otf' \) \
        -exec ln -sf {} "$build/wine-fonts/" \;
    # Wine hands a Windows program no Unix variable named QT_*, only WINEQT_* as QT_*.
    cat >"$build/wine-run" <<RUN
#!/bin/sh
for name in \$(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    eval "export WINE\$name=\"\\\$\$name\""
done
export WINEQT_QPA_FONTDIR='$(windows_path "$build/wine-fonts")'
export WINEPREFIX="\${SUMVARL_WINEPREFIX:-$cache/wine}" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="\${SUMVARL_WINEPATH-$winepath_list}"
exec $wine "\$@"
RUN
    # What CMake runs the tests with: their output with Unix line ends, which GoogleTest's test
    # discovery reads (a Windows program's text output ends its lines with CR LF).
    cat >"$build/wine-test" <<TEST
#!/bin/sh
status=\$(mktemp)
{ "$build/wine-run" "\$@"; echo \$? >"\$status"; } | tr -d '\r'
code=\$(cat "\$status"); rm -f "\$status"; exit "\$code"
TEST
    chmod +x "$build/wine-run" "$build/wine-test"
    if [ ! -f "$cache/wine/system.reg" ]; then
        log "a Wine prefix in $cache/wine"
        "$build/wine-run" wineboot --init >/dev/null 2>&1 || true
    fi
}

sumvarl() {
    log "Sumvarl for Windows"
    wine_env
    # Benchmarks too, so that they keep building; they are not run under Wine.
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$cache/qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$build/wine-test" >/dev/null
    # The programs first: the installer can be made from them while the tests still build.
    $NICE cmake --build "$build" -j "$jobs" --target sumvarl sumvarl-batch sumvarl_printer
    $NICE cmake --build "$build" -j "$jobs"
}

# The tests under Wine, on Qt's offscreen platform, inside Xvfb for what Wine itself shows.
test_windows() {
    wine_env
    log "tests under Wine"
    status=0
    # One Wine server for all the tests, rather than one started and stopped for each. Now and
    # then a Windows program under Wine finishes its work but never exits; such a test is run
    # once more rather than counted as failed (its own failures still count).
    wineserver -p 2>/dev/null || true
    # The first programs of a Wine session start Wine's own services; started alongside them, a
    # test has been seen to hang at its end. Those services are up before the first test.
    timeout 120 "$build/wine-run" wineboot >/dev/null 2>&1 || true
    (cd "$build" && xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --output-on-failure -j "$jobs" --timeout 300 --repeat after-timeout:2) || status=1
    log "sumvarl-batch.exe against the Linux build, seed 42"
    compare_pdf || status=1
    wineserver -k 2>/dev/null || true
    return $status
}

# The same seed and options make a PDF that pdftotext reads back exactly as the Linux one.
compare_pdf() {
    linux=$repo/build/dev/batch/sumvarl-batch
    if [ ! -x "$linux" ]; then
        cmake --preset dev >/dev/null
        $NICE cmake --build --preset dev --target sumvarl-batch
    fi
    work=$(mktemp -d)
    set -- --add 25 --sub 25 --mul 25 --div 25 --fill 30 --copies 2 --answers --seed 42
    QT_QPA_PLATFORM=offscreen "$linux" "$@" -o "$work/linux.pdf"
    QT_QPA_PLATFORM=offscreen "$build/wine-run" "$build/batch/sumvarl-batch.exe" "$@" \
        -o "$(windows_path "$work/windows.pdf")"
    pdftotext -layout "$work/linux.pdf" "$work/linux.txt"
    pdftotext -layout "$work/windows.pdf" "$work/windows.txt"
    if cmp -s "$work/linux.txt" "$work/windows.txt"; then
        echo "same text: $(wc -l <"$work/linux.txt") lines, $(pdfinfo "$work/windows.pdf" | sed -n 's/^Pages: *//p') pages"
        rm -rf "$work"
    else
        diff -u "$work/linux.txt" "$work/windows.txt" | head -n 40
        echo "the texts differ; both PDFs are in $work"
        return 1
    fi
}

# The DLLs a Windows file names that are found in Qt's or MinGW's folders (the rest are the
# system's own).
dlls_of() {
    $triple-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | while read -r dll; do
        for d in "$cache/qt/bin" $mingw_dlls; do
            if [ -f "$d/$dll" ]; then echo "$d/$dll"; break; fi
        done
    done
}

# windeployqt's layout, which windeployqt (a Windows program) would make: the programs, the Qt
# DLLs they need, Qt's plugins in their folders, the Chinese translation of Qt's own dialogs and
# MinGW's runtime DLLs.
deploy() {
    log "the programs in windeployqt's layout"
    stage=$build/installer/Sumvarl
    rm -rf "$build/installer"
    cmake --install "$build" --prefix "$build/installer/prefix" --component sumvarl >/dev/null
    mkdir -p "$stage"
    cp "$build/installer/prefix/bin/"*.exe "$build/installer/prefix/bin/"*.dll "$stage/"
    plugins=$cache/qt/plugins
    for p in platforms/qwindows styles/qwindowsvistastyle sqldrivers/qsqlite \
        imageformats/qico imageformats/qjpeg imageformats/qgif; do
        if [ -f "$plugins/$p.dll" ]; then
            mkdir -p "$stage/$(dirname "$p")"
            cp "$plugins/$p.dll" "$stage/$p.dll"
        fi
    done
    mkdir -p "$stage/translations"
    cp "$cache/qt/translations/qtbase_zh_CN.qm" "$stage/translations/"
    # Every DLL the programs and plugins need, and what those need, until nothing is new.
    while :; do
        new=0
        for f in $(find "$stage" -name '*.exe' -o -name '*.dll'); do
            for dll in $(dlls_of "$f"); do
                if [ ! -f "$stage/$(basename "$dll")" ]; then
                    cp "$dll" "$stage/"
                    new=1
                fi
            done
        done
        [ "$new" = 0 ] && break
    done
    $triple-strip --strip-unneeded $(find "$stage" -name '*.exe' -o -name '*.dll')
}

installer() {
    deploy
    log "the installer"
    sed 's/$/\r/' "$repo/LICENSE" >"$build/installer/LICENSE.txt"
    # The uninstaller's list: every file, then the folders deepest first.
    files=$build/installer/files.nsh
    (cd "$stage" && find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|'
        cd "$stage" && find . -mindepth 1 -type d | sort -r |
            sed 's|^\./||; s|/|\\|g; s|.*|    RMDir "$INSTDIR\\&"|') >"$files"
    version=$(sed -n 's/^project(Sumvarl VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
    makensis -V2 -INPUTCHARSET UTF8 -DSTAGE="$stage" -DVERSION="$version" -DFILES="$files" \
        -DICON="$repo/forms/icons/sumvarl.ico" -DLICENSE="$build/installer/LICENSE.txt" \
        -DOUTFILE="$build/Sumvarl-安装.exe" "$repo/packaging/windows/sumvarl.nsi"
    ls -l "$build/Sumvarl-安装.exe"
}

# The installer run under Wine (silently, /S), the installed program started where the Start
# menu's entry points and its settings window photographed for the README
# (docs/windows-settings.png), then the uninstaller, which must leave nothing behind.
install_check() {
    wine_env
    [ -f "$build/Sumvarl-安装.exe" ] || installer
    log "the installer under Wine"
    prefix=$cache/wine-install
    # Nothing on Wine's PATH: the installed program must find every DLL in its own folder.
    export SUMVARL_WINEPREFIX="$prefix" SUMVARL_WINEPATH=""
    rm -rf "$prefix"
    "$build/wine-run" wineboot --init >/dev/null 2>&1 || true
    display=:$((50 + $$ % 40))
    Xvfb "$display" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT
    export DISPLAY="$display"
    sleep 1
    programs="$prefix/drive_c/Program Files/Sumvarl"
    menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Sumvarl出题系统"
    "$build/wine-run" "$build/Sumvarl-安装.exe" /S
    [ -f "$programs/sumvarl.exe" ] && [ -f "$menu/Sumvarl出题系统.lnk" ] ||
        { echo "the installer left no program or no Start menu entry" >&2; return 1; }
    echo "installed $(find "$programs" -type f | wc -l) files; Start menu: $(ls "$menu" | tr '\n' ' ')"

    "$build/wine-run" 'C:\Program Files\Sumvarl\sumvarl.exe' &
    window=$(timeout 90 xdotool search --sync --onlyvisible --name '^Sumvarl$' | head -n 1)
    [ -n "$window" ] || { echo "the installed program showed no window" >&2; return 1; }
    sleep 3 # the first paint
    import -window "$window" "$repo/docs/windows-settings.png"
    echo "the installed program's settings window: docs/windows-settings.png"
    wineserver -k 2>/dev/null || true

    # The uninstaller copies itself elsewhere and returns at once; its work takes a moment.
    "$build/wine-run" 'C:\Program Files\Sumvarl\卸载.exe' /S
    for _ in $(seq 60); do [ -d "$programs" ] || [ -d "$menu" ] || break; sleep 1; done
    if [ -d "$programs" ] || [ -d "$menu" ]; then
        echo "the uninstaller left files behind:" >&2
        find "$programs" "$menu" 2>/dev/null | head >&2
        return 1
    fi
    echo "uninstalled: no program folder, no Start menu entry"
}

case "$step" in
toolchain) toolchain ;;
testlibs) toolchain_file && testlibs ;;
translations) translations ;;
build) sumvarl ;;
test) test_windows ;;
installer) installer ;;
install-check) install_check ;;
all)
    toolchain
    sumvarl
    # The installer is made and tried even when a test failed; the run still fails at the end.
    tests=0
    test_windows || tests=1
    installer
    install_check
    exit $tests
    ;;
*)
    echo "usage: $0 [all|toolchain|build|test|installer|install-check]" >&2
    exit 2
    ;;
esac
