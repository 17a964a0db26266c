#!/usr/bin/env python3
"""All performance measurements of the game in one run:

    bench/perf.py [--build-dir build] [--seconds 60] [--cpu-seconds 20]

Run it from anywhere; without DISPLAY it restarts itself under
scripts/with-display.sh. Needs a normal (not sanitizer) build with the
benchmarks (build/bench/...). It measures, in this order:

1. update pacing in the real loop over --seconds on the title menu: mean
   updates per second, standard deviation and worst gap between updates,
   renders per second (bench/game_loop_timing);
2. whole-process CPU on the title menu and in play against a bare GLFW
   program that clears and swaps at 60 Hz, one after the other on the same
   display (bench/bare_glfw);
3. per-update and per-render CPU microseconds of each screen, with heap
   allocations and collected objects per update (bench/bench_screens);
4. start-up to the first rendered title menu, five times, from the timing
   program and, for the real binary, from the first screenshot that shows
   the title menu's start button.

The output is a Markdown report on standard output (and in --out if given).
"""

import argparse
import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))


def kv(line):
    return {k: float(v) for k, v in re.findall(r"(\w+)=([-0-9.]+)", line)}


class Runner:
    def __init__(self, build):
        self.build = build
        self.folder = tempfile.mkdtemp(prefix="tesselon-perf.")
        os.symlink(os.path.join(build, "data"), os.path.join(self.folder, "data"))
        self.env = dict(os.environ)
        self.env["ALSOFT_CONF"] = os.path.join(ROOT, "tests", "null-audio.conf")

    def run(self, *args, timeout=900):
        out = subprocess.run(args, cwd=self.folder, env=self.env, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, timeout=timeout, check=True)
        return out.stdout.decode()

    def last_kv(self, *args, **kw):
        lines = [l for l in self.run(*args, **kw).splitlines() if "=" in l]
        return kv(lines[-1])

    def close(self):
        shutil.rmtree(self.folder, ignore_errors=True)


def machine():
    cpu = "unknown"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as f:
        mem = int(f.readline().split()[1]) // 1024
    renderer = "unknown"
    try:
        info = subprocess.run(["glxinfo", "-B"], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=20).stdout.decode()
        m = re.search(r"OpenGL renderer string: (.*)", info)
        renderer = m.group(1) if m else renderer
    except (OSError, subprocess.SubprocessError):
        try:
            mesa = subprocess.run(["dpkg-query", "-W", "-f", "${Version}", "libgl1-mesa-dri"],
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                  timeout=20).stdout.decode()
            if mesa:
                renderer = "Mesa %s (software rendering, llvmpipe)" % mesa
        except (OSError, subprocess.SubprocessError):
            pass
    load = os.getloadavg()
    return ("%s, %d cores visible, %d MiB; %s %s; Xvfb + openbox; OpenGL: %s; "
            "load average at start %.2f %.2f %.2f" %
            (cpu, os.cpu_count(), mem, platform.system(), platform.release(), renderer, *load))


def startup_by_screenshots(build, runs):
    import harness
    import board
    harness.BINARY = os.path.join(build, "tesselon")
    harness.BUILD_DIR = build
    times = []
    for _ in range(runs):
        with harness.Game() as game:
            t0 = time.monotonic()
            game.wait_window()
            p = board.Player(game, "perf")
            p.wait_title()
            times.append(1000 * (time.monotonic() - t0))
            game.close()
            game.wait_exit()
    return times


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build"))
    parser.add_argument("--seconds", type=float, default=60.0)
    parser.add_argument("--cpu-seconds", type=float, default=20.0)
    parser.add_argument("--out")
    options = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        os.execvp(os.path.join(ROOT, "scripts", "with-display.sh"),
                  [os.path.join(ROOT, "scripts", "with-display.sh"), sys.executable] + sys.argv)
    build = os.path.abspath(options.build_dir)
    bench = os.path.join(build, "bench")
    r = Runner(build)
    report = []
    say = report.append
    try:
        say("# Measurements\n")
        say("Machine: " + machine() + "\n")
        say("Build: `%s` (%s)\n" % (build, cache_value(build, "CMAKE_BUILD_TYPE")))

        pacing = r.last_kv(os.path.join(bench, "game_loop_timing"), str(options.seconds))
        say("## Update pacing in the real loop, title menu, %.0f s\n" % pacing["seconds"])
        say("| updates/s | mean gap ms | std dev ms | worst gap ms | gaps > 25 ms | renders/s |")
        say("|---|---|---|---|---|---|")
        say("| %.3f | %.3f | %.3f | %.2f | %d | %.2f |\n" % (
            pacing["updates_per_s"], pacing["gap_mean_ms"], pacing["gap_sd_ms"],
            pacing["gap_worst_ms"], pacing["gaps_over_25ms"], pacing["renders_per_s"]))

        s = str(options.cpu_seconds)
        bare = r.last_kv(os.path.join(bench, "bare_glfw"), s)
        title = r.last_kv(os.path.join(bench, "game_loop_timing"), s)
        play = r.last_kv(os.path.join(bench, "game_loop_timing"), s, "play")
        bare2 = r.last_kv(os.path.join(bench, "bare_glfw"), s)
        ref = (bare["cpu_percent"] + bare2["cpu_percent"]) / 2
        say("## Whole-process CPU, %s s each, same display, one after the other\n" % s)
        say("| program | CPU % of one core | ratio to bare GLFW | frames/s |")
        say("|---|---|---|---|")
        say("| bare GLFW clear + swap at 60 Hz (mean of a run before and after) | %.2f | 1 | %.1f |"
            % (ref, bare["frames_per_s"]))
        for name, m in (("game, title menu", title), ("game, in play", play)):
            say("| %s | %.2f | %.1f | %.1f |" % (name, m["cpu_percent"], m["cpu_percent"] / ref,
                                                 m["renders_per_s"]))
        say("")

        out = r.run(os.path.join(bench, "bench_screens"), "--benchmark_min_time=0.5",
                    "--benchmark_format=console", timeout=1800)
        say("## Per-screen cost (process CPU time, all threads)\n")
        say("| benchmark | wall µs | CPU µs | counters |")
        say("|---|---|---|---|")
        for line in out.splitlines():
            m = re.match(r"(BM_\S+)\s+([\d.]+) us\s+([\d.]+) us\s+\d+\s*(.*)", line)
            if m:
                say("| %s | %s | %s | %s |" % m.groups())
        say("")

        runs = 5
        inner = [r.last_kv(os.path.join(bench, "game_loop_timing"), "0.1")["startup_to_title_ms"]
                 for _ in range(runs)]
        outer = startup_by_screenshots(build, runs)
        say("## Start-up to the first rendered title menu, %d runs\n" % runs)
        say("| measured by | median ms | min ms | max ms |")
        say("|---|---|---|---|")
        say("| the timing program (process start to the first title render) | %.0f | %.0f | %.0f |"
            % (statistics.median(inner), min(inner), max(inner)))
        say("| the real binary (spawn to the first screenshot with the start button) | %.0f | "
            "%.0f | %.0f |" % (statistics.median(outer), min(outer), max(outer)))
        say("")
    finally:
        r.close()
    text = "\n".join(report)
    print(text)
    if options.out:
        with open(options.out, "w") as f:
            f.write(text)


def cache_value(build, key):
    try:
        with open(os.path.join(build, "CMakeCache.txt")) as f:
            for line in f:
                if line.startswith(key + ":"):
                    return line.split("=", 1)[1].strip()
    except OSError:
        pass
    return "?"


if __name__ == "__main__":
    main()
