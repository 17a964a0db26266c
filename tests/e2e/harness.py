"""End-to-end harness: runs the real tesselon binary on the current X display.

Each Game runs the binary from a fresh temporary working folder (with a
`data` link to the build folder's data/ when there is one), finds its window
with xdotool, drives it with xdotool and wmctrl, reads its pixels through
ImageMagick's `import`, and stops exactly the process it started.

A test file is a plain unittest module that ends with `harness.main()`; CTest
runs it as

    python3 test_x.py --binary PATH/tesselon --build-dir PATH/build

Without DISPLAY the display-dependent tests are skipped (exit status 77 when
nothing could run). Only the standard library is used.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

# Seconds to wait for the window to appear, for the process to end, and for
# one helper command.
WINDOW_TIMEOUT = 20.0
EXIT_TIMEOUT = 15.0
COMMAND_TIMEOUT = 10.0
POLL_INTERVAL = 0.1

WINDOW_TITLE = "Tesselon"

# Set by main() from the command line.
BINARY = None
BUILD_DIR = None

# CTest's "skipped" exit status.
SKIP_STATUS = 77


def run(*args, check=True, timeout=COMMAND_TIMEOUT):
    """Runs a helper command; returns its standard output as text."""
    result = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            timeout=timeout, check=False)
    if check and result.returncode != 0:
        raise RuntimeError("%s failed (%d): %s" % (" ".join(args), result.returncode,
                                                   result.stderr.decode(errors="replace")))
    return result.stdout.decode(errors="replace")


def wait_for(predicate, timeout, what):
    """Polls predicate until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(POLL_INTERVAL)


def needs_display(test):
    """Decorator: skips a test (or class) when there is no X display."""
    return unittest.skipUnless(os.environ.get("DISPLAY"), "no X display")(test)


class Image:
    """A captured window: width, height and rows of (r, g, b) tuples."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self._rgb = rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self._rgb[i:i + 3])

    def colours(self):
        """The set of distinct colours in the image."""
        data = self._rgb
        return {bytes(data[i:i + 3]) for i in range(0, len(data), 3)}

    @staticmethod
    def from_ppm(data):
        """Parses a binary PPM (P6, maxval 255)."""
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos) + 1
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        pos += 1  # the single whitespace after maxval
        if fields[0] != b"P6" or int(fields[3]) != 255:
            raise ValueError("not an 8-bit binary PPM")
        width, height = int(fields[1]), int(fields[2])
        return Image(width, height, data[pos:pos + width * height * 3])


class Game:
    """One run of the real binary. Use as a context manager."""

    def __init__(self, env=None, with_data=True, args=()):
        self.folder = tempfile.mkdtemp(prefix="tesselon-e2e.")
        self.env = dict(os.environ)
        self.env.setdefault("ALSOFT_CONF", os.path.join(os.path.dirname(__file__), "..",
                                                        "null-audio.conf"))
        if env:
            for key, value in env.items():
                if value is None:
                    self.env.pop(key, None)
                else:
                    self.env[key] = value
        self.args = list(args)
        self.process = None
        self.window = None
        self._output = None
        data = os.path.join(BUILD_DIR or "", "data")
        if with_data and BUILD_DIR and os.path.isdir(data):
            os.symlink(os.path.abspath(data), os.path.join(self.folder, "data"))

    # -- life cycle ---------------------------------------------------------

    def start(self):
        self._output = open(os.path.join(self.folder, "stdout.txt"), "wb")
        self.process = subprocess.Popen([BINARY] + self.args, cwd=self.folder, env=self.env,
                                        stdin=subprocess.DEVNULL, stdout=self._output,
                                        stderr=subprocess.STDOUT)
        return self

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        """Waits for the process to end; returns its exit status (0 to 255)."""
        status = self.process.wait(timeout=timeout)
        return status & 0xFF if status >= 0 else status

    def output(self):
        """Everything the program wrote so far (standard output and error)."""
        if self._output:
            self._output.flush()
        with open(os.path.join(self.folder, "stdout.txt"), "rb") as f:
            return f.read().decode(errors="replace")

    def path(self, name):
        """A path inside the game's working folder."""
        return os.path.join(self.folder, name)

    def stop(self):
        """Ends the process this Game started (if still running), removes the folder."""
        if self.process is not None and self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self._output:
            self._output.close()
            self._output = None
        shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
        return False

    # -- the window ---------------------------------------------------------

    def wait_window(self, timeout=WINDOW_TIMEOUT):
        """Finds the process's window by its title and process id."""

        def find():
            if not self.running():
                raise AssertionError("the game ended before its window appeared:\n" +
                                     self.output())
            out = run("xdotool", "search", "--all", "--pid", str(self.process.pid), "--name",
                      "^%s$" % WINDOW_TITLE, check=False)
            ids = [line for line in out.split() if line.strip()]
            return ids[0] if ids else None

        self.window = wait_for(find, timeout, "the game window")
        wait_for(self.viewable, timeout, "the window to be mapped")
        return self.window

    def _info(self):
        out = run("xwininfo", "-id", self.window)
        info = {}
        for line in out.splitlines():
            if ":" in line:
                key, _, value = line.partition(":")
                info[key.strip()] = value.strip()
        return info

    def viewable(self):
        return self._info().get("Map State") == "IsViewable"

    def title(self):
        return run("xdotool", "getwindowname", self.window).strip()

    def size(self):
        info = self._info()
        return int(info["Width"]), int(info["Height"])

    def position(self):
        info = self._info()
        return int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])

    def iconified(self):
        out = run("xprop", "-id", self.window, "_NET_WM_STATE", check=False)
        return "_NET_WM_STATE_HIDDEN" in out

    # -- driving it ---------------------------------------------------------

    def close(self):
        """The window manager's close request for this window."""
        run("wmctrl", "-i", "-c", self.window)

    def minimize(self):
        run("xdotool", "windowminimize", self.window)

    def activate(self):
        """Restores the window and gives it the focus."""
        run("wmctrl", "-i", "-a", self.window)

    def resize(self, width, height):
        run("xdotool", "windowsize", self.window, str(width), str(height))

    def key(self, *keys):
        run("xdotool", "key", "--window", self.window, *keys)

    def type(self, text):
        run("xdotool", "type", "--window", self.window, text)

    def click(self, x, y, button=1):
        run("xdotool", "mousemove", "--window", self.window, str(x), str(y), "click", str(button))

    def screenshot(self):
        """The window's pixels as the program rendered them."""
        data = subprocess.run(["import", "-window", self.window, "-depth", "8", "ppm:-"],
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=COMMAND_TIMEOUT, check=True).stdout
        return Image.from_ppm(data)

    # -- measuring ----------------------------------------------------------

    def cpu_seconds(self):
        """User plus system CPU time the process has used so far."""
        with open("/proc/%d/stat" % self.process.pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        ticks = int(fields[11]) + int(fields[12])  # utime, stime
        return ticks / os.sysconf("SC_CLK_TCK")


def main():
    """Parses --binary and --build-dir, then runs the calling module's tests."""
    global BINARY, BUILD_DIR
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--build-dir", required=True)
    options, rest = parser.parse_known_args()
    BINARY = os.path.abspath(options.binary)
    BUILD_DIR = os.path.abspath(options.build_dir)
    program = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2)
    result = program.result
    if not result.wasSuccessful():
        sys.exit(1)
    if result.testsRun and len(result.skipped) == result.testsRun:
        sys.exit(SKIP_STATUS)
    sys.exit(0)
