#!/usr/bin/env bash
# Installs every Debian 12 package Fulgor needs to build, test and take screenshots.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite libgl-dev
  libsqlite3-dev sqlite3 mdbtools-dev zlib1g-dev
  libgtest-dev
  clang-14 libclang-rt-14-dev
  xvfb xauth x11-apps xdotool netpbm poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
