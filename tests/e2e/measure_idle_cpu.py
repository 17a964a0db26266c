"""Measures the real game's CPU use while it idles on the title menu.

Not a test (CTest runs only test_*.py): run it on a display, for example

    scripts/with-display.sh python3 tests/e2e/measure_idle_cpu.py \
        --binary build/tesselon --build-dir build

It starts the game from a temporary folder with the build's data, waits for
the loading screen to finish, then reports the process's CPU time over the
measuring interval as a percentage of one core.
"""

import argparse
import os
import sys
import time

import harness

LOADING_SECONDS = 5.0
MEASURE_SECONDS = 10.0


def measure():
    with harness.Game() as game:
        game.wait_window()
        time.sleep(LOADING_SECONDS)
        before_cpu, before_wall = game.cpu_seconds(), time.monotonic()
        time.sleep(MEASURE_SECONDS)
        cpu = game.cpu_seconds() - before_cpu
        wall = time.monotonic() - before_wall
        running = game.running()
        game.close()
        status = game.wait_exit()
    print("idle on the title menu: %.1f%% of one core (%.2f s CPU in %.1f s); "
          "still running: %s; exit status %d" % (100 * cpu / wall, cpu, wall, running, status))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--build-dir", required=True)
    options = parser.parse_args()
    harness.BINARY = os.path.abspath(options.binary)
    harness.BUILD_DIR = os.path.abspath(options.build_dir)
    sys.exit(measure())
