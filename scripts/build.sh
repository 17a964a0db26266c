#!/bin/sh
# build.sh [BUILD_DIR] [cmake options...]
# Installs missing packages, configures and builds Tesselon.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
dir=${1:-"$root/build"}
[ $# -gt 0 ] && shift
cmake -S "$root" -B "$dir" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
