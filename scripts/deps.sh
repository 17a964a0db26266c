#!/bin/sh
# Installs the Debian packages Tesselon needs to build, run and test.
# apt-get runs only when something is missing, so a second run is quick.
set -eu

PACKAGES="build-essential cmake pkg-config
libglfw3-dev libgl-dev libopenal-dev libstb-dev
libgtest-dev libgmock-dev libbenchmark-dev
xvfb xauth openbox wmctrl xdotool x11-utils imagemagick
clang libclang-rt-14-dev sox vorbis-tools python3
desktop-file-utils strace valgrind file"

missing=""
for p in $PACKAGES; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing="$missing $p" ;;
  esac
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
