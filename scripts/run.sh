#!/bin/sh
# Set up, build and start Sumvarl.
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target sumvarl
exec ./build/dev/app/sumvarl "$@"
