#!/bin/sh
# run-tests.sh BUILD_DIR... : runs the CTest suite of each build folder on the
# current display. Called by test.sh inside with-display.sh.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

# No test may reach a real sound card; tests that want sound name their own
# OpenAL Soft configuration.
ALSOFT_CONF="$root/tests/null-audio.conf"
ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ALSOFT_CONF ASAN_OPTIONS UBSAN_OPTIONS

# Every folder runs even when an earlier one fails, so one run shows all
# failures.
status=0
for dir in "$@"; do
  echo "== tests in $dir"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 900 || status=1
done
if [ "$status" -ne 0 ]; then
  echo "Some tests failed." >&2
  exit 1
fi
echo "All tests passed."
