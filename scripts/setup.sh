#!/usr/bin/env bash
# Installs every Debian package the engine, its tests and its tools need.
# Quick and silent when everything is already present.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config python3
  libsdl2-dev libsdl2-mixer-dev libopenal-dev timgm6mb-soundfont
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libfontconfig-dev libfreetype-dev fonts-dejavu-core libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libenet-dev
  dpkg-dev desktop-file-utils
  xvfb xauth xdotool x11-utils imagemagick
  clang
  espeak-ng sox libsox-fmt-base
)

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
updated=false

install_missing() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if ! $updated; then $SUDO apt-get update -qq; updated=true; fi
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

install_missing "${PACKAGES[@]}"
# The fuzzers' runtime comes in a package named after the installed clang's
# major version (libclang-rt-14-dev for clang 14, ...).
clang_major="$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)"
install_missing "libclang-rt-${clang_major}-dev"
