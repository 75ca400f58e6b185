#!/usr/bin/env bash
# Installs the Debian 12 packages Orbquest needs to build, run and test.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config
  libglfw3-dev libglew-dev libglm-dev libassimp-dev libfreeimage-dev
  libgtest-dev libgmock-dev libx11-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core libinih-dev  # the display, records
  # tests: a virtual X server, Mesa's software OpenGL, key presses and screenshots
  xvfb xauth libgl1-mesa-dri mesa-utils xdotool imagemagick x11-utils
  valgrind  # the leak check
  desktop-file-utils  # desktop-file-validate checks the installed menu entry
  clang-format-14  # scripts/check-format.sh
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
