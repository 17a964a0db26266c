#!/usr/bin/env python3
"""Soak: long random play of the real game, watching for crashes and growth.

    bench/soak.py [--build-dir build] [--minutes 30] [--seed 1] [--binary PATH]

Without DISPLAY it restarts itself under scripts/with-display.sh. By default
it runs build/bench/game_loop_timing in its "soak" mode, which is the game
itself in the real loop and prints the collector's counters every 10 s;
--binary runs another program (the real tesselon) and reports memory only.

The script presses random keys (arrows most of all, Enter, Escape, the
letters of the other bindings), clicks random points (which press the
title menu's buttons, the board's cells and the pause panel), quits games
from the pause panel now and then so that games end and start again, and
resizes the window once a minute. Every 10 s it samples the process's
resident memory. At the end it prints the samples and the slope of
resident memory after the first minute, and the collector's counters.
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

SIZES = [(640, 480), (800, 600), (1024, 768), (1240, 700), (600, 400), (1280, 720),
         (480, 640), (960, 540)]
KEYS = ["Up", "Down", "Left", "Right"] * 6 + ["Return", "Escape", "space", "z", "x", "w", "a"]


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def slope_per_minute(points):
    """Least-squares slope of (seconds, value) points, per minute."""
    n = len(points)
    if n < 2:
        return 0.0
    mx = sum(p[0] for p in points) / n
    my = sum(p[1] for p in points) / n
    sxx = sum((p[0] - mx) ** 2 for p in points)
    sxy = sum((p[0] - mx) * (p[1] - my) for p in points)
    return 60.0 * sxy / sxx if sxx else 0.0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build"))
    parser.add_argument("--minutes", type=float, default=30.0)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--binary")
    options = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        script = os.path.join(ROOT, "scripts", "with-display.sh")
        os.execvp(script, [script, sys.executable] + sys.argv)

    import harness
    build = os.path.abspath(options.build_dir)
    seconds = options.minutes * 60
    if options.binary:
        command = [os.path.abspath(options.binary)]
    else:
        # Runs a little longer than the soak so that the script ends it.
        command = [os.path.join(build, "bench", "game_loop_timing"), str(seconds + 3600), "soak"]
    harness.BINARY = command[0]
    harness.BUILD_DIR = build
    rnd = random.Random(options.seed)

    game = harness.Game(args=command[1:])
    samples = []
    sizes = []  # the window size asked for at each sample
    current = (640, 480)
    actions = 0
    resizes = 0
    quits = 0
    failure = None
    try:
        game.start()
        game.wait_window()
        game.activate()
        t0 = time.monotonic()
        next_sample = t0
        next_resize = t0 + 60
        next_quit = t0 + rnd.uniform(15, 40)
        while time.monotonic() - t0 < seconds:
            now = time.monotonic()
            if not game.running():
                failure = "the game ended after %.0f s with status %s" % (
                    now - t0, game.process.returncode)
                break
            if now >= next_sample:
                samples.append((now - t0, rss_kib(game.process.pid)))
                sizes.append(current)
                next_sample += 10
            try:
                if now >= next_resize:
                    w, h = rnd.choice(SIZES)
                    game.resize(w, h)
                    current = (w, h)
                    resizes += 1
                    next_resize += 60
                elif now >= next_quit:
                    # Escape opens the pause panel in a game; its quit
                    # button ends the game (elsewhere these do little).
                    game.key("Escape")
                    time.sleep(0.4)
                    width, height = game.size()
                    s = min(width / 640.0, height / 480.0)
                    game.click(int(180 * s), int(184 * s))
                    quits += 1
                    next_quit = now + rnd.uniform(15, 40)
                elif rnd.random() < 0.75:
                    key = rnd.choice(KEYS)
                    harness.run("xdotool", "keydown", "--window", game.window, key,
                                "sleep", "%.2f" % rnd.uniform(0.03, 0.3), "keyup",
                                "--window", game.window, key)
                else:
                    width, height = game.size()
                    game.click(rnd.randrange(width), rnd.randrange(height))
                if rnd.random() < 0.003:
                    game.minimize()
                    time.sleep(1)
                    game.activate()
                actions += 1
            except (RuntimeError, subprocess.SubprocessError) as e:
                if not game.running():
                    continue
                print("helper failed (the game still runs): %s" % e, file=sys.stderr)
            time.sleep(rnd.uniform(0.02, 0.15))
        if failure is None:
            samples.append((time.monotonic() - t0, rss_kib(game.process.pid)))
            game.close()
            status = game.wait_exit(timeout=30)
            if status != 0:
                failure = "exit status %d after the close request" % status
        output = game.output()
    finally:
        game.stop()

    print("# Soak: %.1f minutes, seed %d, %s" % (options.minutes, options.seed,
                                                  " ".join(command)))
    print("actions %d, resizes %d, games quit from the pause panel %d" % (actions, resizes, quits))
    print("\nresident memory (KiB) every 10 s:")
    print(" ".join("%d" % kib for _, kib in samples))
    settled = [p for p in samples if p[0] >= 60]
    if settled:
        print("\nafter the first minute: min %d KiB, max %d KiB, slope %.1f KiB/min" % (
            min(p[1] for p in settled), max(p[1] for p in settled), slope_per_minute(settled)))
    # Resident memory follows the window size (artwork level, window
    # buffers): compare samples taken at the same size early and late.
    by_size = {}
    for (t, kib), size in zip(samples, sizes):
        if t >= 60:
            by_size.setdefault(size, []).append((t, kib))
    if by_size:
        print("by window size (first and last sample after the first minute):")
        for size, points in sorted(by_size.items()):
            print("  %dx%d: %d samples, %d KiB at %.0f s, %d KiB at %.0f s" % (
                size[0], size[1], len(points), points[0][1], points[0][0], points[-1][1],
                points[-1][0]))
    gc = [dict(re.findall(r"(\w+)=([-0-9.]+)", l)) for l in output.splitlines()
          if l.startswith("gc ")]
    if gc:
        gc_bytes = [int(g["bytes"]) for g in gc]
        late = [(float(g["t"]), int(g["bytes"])) for g in gc if float(g["t"]) >= 60]
        print("collector: bytes in use min %d, max %d, high-water %s; slope after the first "
              "minute %.1f bytes/min; objects allocated %s" % (
                  min(gc_bytes), max(gc_bytes), gc[-1]["max_bytes"], slope_per_minute(late),
                  gc[-1]["objects"]))
    errors = [l for l in output.splitlines() if "Runtime Error" in l or "Sanitizer" in l]
    for line in errors[:10]:
        print("program said: " + line)
    if failure:
        print("FAILED: " + failure)
        print(output[-3000:])
        sys.exit(1)
    print("no crash")


if __name__ == "__main__":
    main()
