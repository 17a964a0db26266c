#!/usr/bin/env python3
"""One short run of the real game under valgrind's memcheck:

    bench/memcheck.py [--build-dir build] [--log memcheck.txt]

Without DISPLAY it restarts itself under scripts/with-display.sh. The game
(normal build, not the sanitizer one) loads, shows the title menu, plays a
few steps, opens and closes the pause panel, quits the game from the panel,
goes back to the title menu and is closed with the window's close button.
The script then prints memcheck's error summary, the number of invalid
reads and writes (which must be 0) and where the leak reports come from.
"""

import argparse
import os
import re
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build"))
    parser.add_argument("--log", default=None)
    options = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        script = os.path.join(ROOT, "scripts", "with-display.sh")
        os.execvp(script, [script, sys.executable] + sys.argv)

    import board
    import harness
    build = os.path.abspath(options.build_dir)
    log = os.path.abspath(options.log or os.path.join(build, "memcheck.txt"))
    harness.BINARY = "/usr/bin/valgrind"
    harness.BUILD_DIR = build
    game = harness.Game(args=["--tool=memcheck", "--leak-check=full", "--num-callers=30",
                              "--log-file=" + log, os.path.join(build, "tesselon")])
    status = None
    try:
        game.start()
        game.wait_window(timeout=300)
        game.activate()
        p = board.Player(game, "memcheck")
        p.wait_pixel(board.START_BUTTON, board.is_start_button, "the title menu", timeout=300)
        p.key("Return", hold="1.0")
        walker = board.Walker(p, board.KeyboardSteps(p), 4, max_steps=4)
        board.STEP_TIMEOUT = 30
        walker.play()
        p.key("Escape", hold="1.0")
        p.wait_pixel(board.PANEL_BAND, board.is_panel_band, "the pause panel", timeout=300)
        p.press_at(*board.QUIT_BUTTON)
        p.wait_pixel(board.START_BUTTON, board.is_start_button, "the title menu", timeout=300)
        time.sleep(2)
        game.close()
        status = game.wait_exit(timeout=300)
    finally:
        game.stop()
    with open(log) as f:
        text = f.read()
    summary = re.findall(r"ERROR SUMMARY: .*", text)
    invalid = len(re.findall(r"Invalid (read|write|free)", text))
    uninit = len(re.findall(r"uninitialised", text))
    leaks = re.findall(r"(definitely|indirectly|possibly) lost: ([\d,]+) bytes in ([\d,]+) blocks",
                       text)
    print("exit status: %s" % status)
    print(summary[-1] if summary else "no error summary (did valgrind finish?)")
    print("invalid reads, writes and frees: %d" % invalid)
    print("uses of uninitialised values: %d" % uninit)
    for kind, size, blocks in leaks:
        print("%s lost: %s bytes in %s blocks" % (kind, size, blocks))
    # Which libraries the leak records point at (first frame outside libc).
    origins = {}
    for record in re.split(r"\n==\d+== \n", text):
        if " lost in loss record " not in record:
            continue
        frames = re.findall(r"(?:by|at) 0x[0-9A-F]+: .*? \((?:in )?([^)]*)\)", record)
        lib = next((os.path.basename(f.split(":")[0]) for f in frames
                    if "vgpreload" not in f and "libc.so" not in f), "?")
        origins[lib] = origins.get(lib, 0) + 1
    if origins:
        print("leak records by first library past the allocator: " +
              ", ".join("%s %d" % kv for kv in sorted(origins.items(), key=lambda kv: -kv[1])))
    print("full log: " + log)
    sys.exit(0 if invalid == 0 and status == 0 else 1)


if __name__ == "__main__":
    main()
