#!/bin/sh
# Builds Kelm and starts it.
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
exec ./build/src/app/kelm "$@"
