#!/bin/sh
# Installs the Debian 12 packages Sumvarl needs to build, run and test, skipping any that are
# already there so that a second run costs nothing. Root, or sudo otherwise.
set -eu

PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev
libgtest-dev libgmock-dev libbenchmark-dev libcups2-dev
fonts-arphic-uming fonts-arphic-ukai fonts-wqy-zenhei qt6-translations-l10n libqt6sql6-sqlite"

if [ "${1:-}" = "--test" ]; then
    PACKAGES="$PACKAGES poppler-utils cups-daemon cups-client xvfb xauth xdotool imagemagick
clang clang-format clang-tidy libclang-rt-14-dev valgrind git desktop-file-utils appstream
dpkg-dev file python3 sqlite3"
fi

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" = 0 ]; then SUDO=""; else SUDO="sudo"; fi
echo "Installing:$missing"
$SUDO apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
