#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, if it is missing, and any further
# packages named as arguments (package.sh names its own). Run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ lld pkg-config
  qt6-base-dev libgl-dev libudev-dev libxcb1-dev
  libgtest-dev libgmock-dev
  fonts-dejavu-core fonts-liberation2 fonts-comfortaa
  xvfb xauth xdotool x11-utils openbox
  weston qt6-wayland
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
