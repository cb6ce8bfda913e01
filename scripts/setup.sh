#!/usr/bin/env bash
# Installs every Debian package the engine, its tests and its tools need.
# Quick and silent when everything is already present.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config python3
  libsdl2-dev libsdl2-mixer-dev libopenal-dev
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libfontconfig-dev libfreetype-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick
  clang libclang-rt-14-dev
  python3 espeak-ng sox libsox-fmt-base
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
