#!/bin/sh
# Installs the Debian packages Kelm needs to build, run and test; only what is missing.
set -e
PKGS="build-essential cmake ninja-build qt6-base-dev qt6-qpa-plugins libqt6sql6-sqlite libqt6sql6-psql \
postgresql libgtest-dev \
fonts-wqy-microhei python3-xlrd xvfb xauth dpkg-dev file desktop-file-utils appstream man-db qt6-translations-l10n libzint-dev zbar-tools poppler-utils"
missing=""
for p in $PKGS; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing:$missing" >&2
$SUDO apt-get update -qq || true
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
