#!/bin/sh
# Builds Kelm and runs every test through CTest on Qt's offscreen platform.
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd build && ctest --output-on-failure -j2 "$@"
