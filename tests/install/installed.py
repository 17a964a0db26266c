"""Helpers for the installation tests: installing the build into a temporary
prefix, running the installed launcher the way a player does (from some
folder, with HOME pointing at a temporary home), and playing one game to
its end so that the game saves its state.

The end-to-end harness (tests/e2e/harness.py) finds and drives the window;
the launcher replaces itself with the game (exec), so the process started
here is the game's own and its window is found by process id.
"""

import os
import re
import shutil
import stat
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import harness  # noqa: E402  (the path above makes it importable)

APP_ID = "org.tesselon.Tesselon"
ICON_SIZES = (48, 64, 128, 256)
STATE = ".vantixstate"
ALL_LOADED = ["Settings Loaded", "Badges Loaded", "Highscore 0 Loaded",
              "Highscore 1 Loaded", "Highscore 2 Loaded"]

# Paths below the prefix.
LAUNCHER = "bin/tesselon"
GAME = "libexec/tesselon/tesselon"
DATA = "share/tesselon/data"
DESKTOP = "share/applications/%s.desktop" % APP_ID


def icon_path(size):
    return "share/icons/hicolor/%dx%d/apps/%s.png" % (size, size, APP_ID)


# How long a key is held: the game reads held state once per update, so a
# press shorter than a stall of its loop could be missed.
KEY_HOLD = 0.25
# Seconds to wait for a screen, and for one input to show its effect
# before it is sent again (a busy display may drop one).
SCREEN_TIMEOUT = 60.0
RETRY_AFTER = 15.0

# Places and colours in the window at 640 by 480 (window and virtual pixels
# agree): the title menu's start button, the player's face on the start
# cell (4, 4) of the board and on the cell right of it, the pause panel's
# middle band.
START_BUTTON = (256, 300)
BOARD_SCALE = 480.0 / 530.0
START_CELL = (int(round(320 + 32 * BOARD_SCALE)), int(round(240 + 32 * BOARD_SCALE)))
RIGHT_OF_START = (int(round(320 + 96 * BOARD_SCALE)), START_CELL[1])
PLAYER = (98, 201, 241)
PANEL_BAND = (420, 285)


def is_start_button(p):  # green body
    return p[1] > p[0] + 60 and p[1] > p[2] + 30


def is_player(p):
    return all(abs(a - b) <= 16 for a, b in zip(p, PLAYER))


def is_panel_band(p):  # orange, once the panel has stopped
    return p[0] > 140 and 70 < p[1] < 150 and p[2] < 60


def temp_dir(test, prefix):
    """A temporary folder removed when the test ends (read-only or not).
    `test` is a test case, or a test class for a folder kept for the class."""
    path = tempfile.mkdtemp(prefix="tesselon-install-%s." % prefix)

    def remove():
        if not os.path.isdir(path):
            return
        for root, dirs, _ in os.walk(path):
            for d in dirs:
                full = os.path.join(root, d)
                if not os.path.islink(full):
                    os.chmod(full, 0o755)
        os.chmod(path, 0o755)
        shutil.rmtree(path, ignore_errors=True)

    if isinstance(test, type):
        test.addClassCleanup(remove)
    else:
        test.addCleanup(remove)
    return path


def read_only_dir(test):
    """An empty folder without write permission, to start the game from."""
    path = temp_dir(test, "start")
    os.chmod(path, stat.S_IRUSR | stat.S_IXUSR | stat.S_IRGRP | stat.S_IXGRP)
    return path


def install(prefix):
    """cmake --install of the build folder into prefix; returns prefix."""
    result = subprocess.run(["cmake", "--install", harness.BUILD_DIR, "--prefix", prefix],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
    if result.returncode != 0:
        raise AssertionError("cmake --install failed:\n" + result.stdout.decode(errors="replace"))
    return prefix


def player_env(home, **extra):
    """The environment of a player whose home is `home`: XDG_DATA_HOME unset
    unless given, sound through OpenAL's null device."""
    env = {"HOME": home, "XDG_DATA_HOME": None}
    env.update(extra)
    return env


class LauncherGame(harness.Game):
    """A harness game started through an installed launcher from `cwd`."""

    def __init__(self, launcher, cwd, env):
        super().__init__(env=env, with_data=False)
        self.launcher = launcher
        self.cwd = cwd
        self.saves = None

    def start(self):
        self._output = open(os.path.join(self.folder, "stdout.txt"), "wb")
        self.process = subprocess.Popen([self.launcher], cwd=self.cwd, env=self.env,
                                        stdin=subprocess.DEVNULL, stdout=self._output,
                                        stderr=subprocess.STDOUT)
        return self


def run_launcher(launcher, cwd, env, timeout=30):
    """Runs the launcher to its end without a display; returns (status, output)."""
    full = dict(os.environ)
    full.pop("DISPLAY", None)
    full.pop("WAYLAND_DISPLAY", None)
    for key, value in env.items():
        if value is None:
            full.pop(key, None)
        else:
            full[key] = value
    result = subprocess.run([launcher], cwd=cwd, env=full, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)
    return result.returncode, result.stdout.decode(errors="replace"), \
        result.stderr.decode(errors="replace")


def window_icon_sizes(window):
    """The sizes in the window's _NET_WM_ICON property, e.g. [(48, 48), ...]."""
    out = harness.run("xprop", "-len", "4000000", "-id", window, "_NET_WM_ICON", check=False)
    return [(int(w), int(h)) for w, h in re.findall(r"Icon \((\d+) x (\d+)\):", out)]


def screenshot(game):
    data = subprocess.run(["import", "-window", game.window, "-depth", "8", "ppm:-"],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          timeout=harness.COMMAND_TIMEOUT, check=True).stdout
    return harness.Image.from_ppm(data)


def shows(game, where, test):
    return test(screenshot(game).pixel(*where))


def wait_screen(game, where, test, what, timeout=SCREEN_TIMEOUT):
    """Waits for the pixel at where to pass test. With TESSELON_DEBUG_SHOTS
    naming a folder, a screenshot of a screen that did not come is kept
    there."""
    try:
        harness.wait_for(lambda: shows(game, where, test), timeout, what)
    except AssertionError:
        if os.environ.get("TESSELON_DEBUG_SHOTS"):
            subprocess.run(["import", "-window", game.window,
                            os.path.join(os.environ["TESSELON_DEBUG_SHOTS"],
                                         "%s-%d.png" % (what.replace(" ", "-"), time.time()))])
        raise


def act_until(game, action, where, test, what):
    """Runs action until the pixel at where passes test; the action is sent
    again when its effect has not shown after RETRY_AFTER seconds."""
    deadline = time.monotonic() + SCREEN_TIMEOUT
    while True:
        action()
        try:
            wait_screen(game, where, test, what, timeout=RETRY_AFTER)
            return
        except AssertionError:
            if time.monotonic() > deadline:
                raise


def hold_key(game, key):
    harness.run("xdotool", "keydown", "--window", game.window, key, "sleep", str(KEY_HOLD),
                "keyup", "--window", game.window, key)


def read_file(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def finish_a_game(game, state_path):
    """From the title menu: starts a game, ends it with the pause panel's quit
    choice, and waits until the state saved on the way back to the title
    menu is in state_path; returns it. Only keys are used: they are sent to
    the window itself, so another window on the display cannot take them."""
    before = read_file(state_path)
    act_until(game, lambda: hold_key(game, "Return"), START_CELL, is_player, "the game")
    # One step right, so that the cell to the left is trail.
    act_until(game, lambda: hold_key(game, "Right"), RIGHT_OF_START, is_player, "a step")
    act_until(game, lambda: hold_key(game, "Escape"), PANEL_BAND, is_panel_band,
              "the pause panel")
    # Left, towards the trail, moves the panel's choice from resume to quit
    # (towards a free cell the player would step); Return takes it.
    hold_key(game, "Left")
    time.sleep(KEY_HOLD)
    hold_key(game, "Return")
    return harness.wait_for(lambda: read_file(state_path) not in (None, before) and
                            read_file(state_path), SCREEN_TIMEOUT, "the state to be saved")


def load_messages(game):
    known = ("Settings ", "Badge", "Highscore ")
    return [line for line in game.output().splitlines() if line.startswith(known)]


def start_game(test, launcher, cwd, env):
    """Starts the game through the launcher and waits for its title menu."""
    game = LauncherGame(launcher, cwd, env)
    game.start()
    test.addCleanup(game.stop)
    game.wait_window()
    game.activate()
    wait_screen(game, START_BUTTON, is_start_button, "the title menu")
    return game


def close_game(test, game):
    game.close()
    test.assertEqual(game.wait_exit(), 0, game.output())


def play_twice(test, launcher, env, saves):
    """The player's round trip through an installed launcher, started from a
    read-only folder: the window appears with its icons; a finished game
    leaves the state in `saves` and nothing in the start folder; a second
    start loads it. Returns the saved state."""
    start = read_only_dir(test)
    state_path = os.path.join(saves, STATE)

    game = start_game(test, launcher, start, env)
    test.assertEqual(sorted(window_icon_sizes(game.window)),
                     [(s, s) for s in ICON_SIZES], "window icons")
    saved = finish_a_game(game, state_path)
    close_game(test, game)

    test.assertEqual(os.listdir(start), [], "the start folder stays empty")
    test.assertTrue(os.path.islink(os.path.join(saves, "data")))

    again = start_game(test, launcher, start, env)
    test.assertEqual(load_messages(again), ALL_LOADED, again.output())
    close_game(test, again)
    test.assertEqual(os.listdir(start), [], "the start folder stays empty")
    return saved
