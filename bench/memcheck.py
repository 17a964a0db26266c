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


SOURCE_DIRS = ("runtime", "host", "graphics", "audio", "input", "music", "game")


def our_sources():
    names = set()
    for d in SOURCE_DIRS:
        for _, _, files in os.walk(os.path.join(ROOT, d)):
            names.update(f for f in files if f.endswith((".cpp", ".h")))
    return names


def classify(text):
    """Memory errors split by where they happen: in our code (a frame of our
    sources comes before any frame of a system library) or inside a library
    the program called."""
    mine = our_sources()
    ours, theirs = [], []
    kinds = re.compile(r"Invalid (read|write|free)|uninitialised|Mismatched free")
    for record in re.split(r"\n==\d+== \n", text):
        lines = [re.sub(r"^==\d+== ", "", l) for l in record.splitlines()]
        if not lines or not kinds.search(lines[0]) or "lost in loss record" in lines[0]:
            continue
        lib_at = ours_at = None
        for i, line in enumerate(lines[1:]):
            m = re.search(r"\((?:in )?([^():]+)(?::\d+)?\)\s*$", line)
            if not m:
                continue
            where = m.group(1)
            if lib_at is None and where.startswith(("/usr/lib", "/lib")):
                lib_at = i
            if ours_at is None and os.path.basename(where) in mine:
                ours_at = i
        entry = "\n".join(lines[:8])
        if ours_at is not None and (lib_at is None or ours_at < lib_at):
            ours.append(entry)
        else:
            theirs.append(entry)
    return ours, theirs


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
    # softpipe draws without compiling shaders through LLVM, which under
    # valgrind takes many minutes.
    game = harness.Game(env={"GALLIUM_DRIVER": os.environ.get("GALLIUM_DRIVER", "softpipe")},
                        args=["--tool=memcheck", "--leak-check=full", "--num-callers=30",
                              "--log-file=" + log, os.path.join(build, "tesselon")])
    status = None
    try:
        game.start()
        game.wait_window(timeout=900)
        game.activate()
        p = board.Player(game, "memcheck")
        p.wait_still_board = lambda: board.Player.wait_still_board(p, timeout=900)
        p.wait_pixel(board.START_BUTTON, board.is_start_button, "the title menu", timeout=900)
        p.key("Return", hold="1.0")
        walker = board.Walker(p, board.KeyboardSteps(p), 4, max_steps=4)
        board.STEP_TIMEOUT = 30
        walker.play()
        p.key("Escape", hold="1.0")
        p.wait_pixel(board.PANEL_BAND, board.is_panel_band, "the pause panel", timeout=900)
        p.press_at(*board.QUIT_BUTTON)
        p.wait_pixel(board.START_BUTTON, board.is_start_button, "the title menu", timeout=900)
        time.sleep(2)
        game.close()
        status = game.wait_exit(timeout=900)
    finally:
        game.stop()
    with open(log) as f:
        text = f.read()
    summary = re.findall(r"ERROR SUMMARY: .*", text)
    ours, theirs = classify(text)
    leaks = re.findall(r"(definitely|indirectly|possibly) lost: ([\d,]+) bytes in ([\d,]+) blocks",
                       text)
    print("exit status: %s" % status)
    print(summary[-1] if summary else "no error summary (did valgrind finish?)")
    print("invalid reads, writes, frees and uses of uninitialised values:")
    print("  in the program's own code: %d" % len(ours))
    for e in ours[:5]:
        print(e)
    print("  inside system libraries (the driver, the loader): %d" % len(theirs))
    for first in sorted({e.splitlines()[1].strip() for e in theirs})[:10]:
        print("    " + first)
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
    sys.exit(0 if not ours and status == 0 else 1)


if __name__ == "__main__":
    main()
