#!/usr/bin/env bash
# Installs the Debian 12 packages Orbquest needs. "scripts/install-deps.sh game" installs only
# what building and playing the game takes (scripts/play.sh: a player need not wait for the test
# tools); without an argument it adds what the tests take (CI, the test command); "deb" adds
# the Debian package's checker as well (scripts/build-deb.sh).
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

game=(
  build-essential cmake pkg-config
  libglfw3-dev libglew-dev libglm-dev libassimp-dev libfreeimage-dev
  libgl1-mesa-dri  # Mesa's OpenGL drivers, llvmpipe included
  libopenal-dev libsndfile1-dev  # sound: OpenAL Soft plays and mixes, libsndfile reads and writes WAV
  libtomlplusplus-dev  # the level files' TOML parser, compiled into the game from its headers
)
everything=(
  "${game[@]}"
  libgtest-dev libgmock-dev libx11-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core libinih-dev  # the display, records
  # tests: a virtual X server, Mesa's software OpenGL, key presses and screenshots
  xvfb xauth mesa-utils xdotool imagemagick x11-utils
  valgrind  # the leak check
  desktop-file-utils  # desktop-file-validate checks the installed menu entry
  appstream  # appstreamcli validates the installed metainfo
  man-db groff-base  # man --warnings renders the installed manual page
  clang-format-14  # scripts/check-format.sh
  glslang-tools  # glslangValidator checks each shader source on its own
  clang-14 libclang-rt-14-dev  # scripts/fuzz.sh: libFuzzer and the sanitizers
)
# scripts/build-deb.sh: dpkg-shlibdeps, dpkg-buildflags and the package check; lintian alone
# brings some hundred packages, which the test command does not need.
deb=(
  "${everything[@]}"
  dpkg-dev lintian
)

case "${1:-}" in
  game) packages=("${game[@]}") ;;
  "") packages=("${everything[@]}") ;;
  deb) packages=("${deb[@]}") ;;
  *) echo "usage: $0 [game|deb]"; exit 2 ;;
esac

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
