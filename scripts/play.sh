#!/bin/sh
# play.sh: builds Tesselon and runs it from the build folder, where the
# generated ./data folder lives.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" "$root/build"
cd "$root/build"
exec ./tesselon
