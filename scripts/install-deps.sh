#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tarnwick need,
# skipping those already present.
set -euo pipefail
packages=(
    build-essential cmake clang-format
    qt6-base-dev qt6-base-dev-tools libgl-dev libqt6svg6 libxcb1-dev
    libsqlite3-dev sqlite3
    libpq-dev postgresql-15 openssl
    pkg-config libxlsxwriter-dev libminizip-dev libqpdf-dev python3-openpyxl
    fonts-liberation
    poppler-utils xvfb xauth imagemagick desktop-file-utils
    dbus-daemon libglib2.0-bin at-spi2-core
    openbox wmctrl xdotool x11-utils
    clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
