#!/bin/sh
# test.sh: builds and runs every test: the normal build (unit, display and
# end-to-end tests), then the tests again under AddressSanitizer +
# UndefinedBehaviorSanitizer. Tests that need a display run on a private X
# server that is started and stopped for this run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/build.sh" "$root/build"
"$root/scripts/build.sh" "$root/build-asan" -DTESSELON_SANITIZE=ON \
  -DTESSELON_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug

exec "$root/scripts/with-display.sh" "$root/scripts/run-tests.sh" \
  "$root/build" "$root/build-asan"
