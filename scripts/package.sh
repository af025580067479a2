#!/bin/sh
# Builds Kelm in Release and makes its Debian package, build/package/kelm_<version>_<arch>.deb
# (install it with: sudo apt install ./build/package/kelm_*.deb).
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
cd build
cpack -G DEB
ls -1 "$PWD"/package/kelm_*.deb
