"""The state file when things go wrong around a save or a load: a state that
cannot be read, a working folder the game may not write to, system calls of
the save failing (no space, a failed sync, a rename across devices) or the
process killed in the middle of it. The old state is never lost or mixed
with the new one, and the game goes on."""

import glob
import os
import random
import shutil
import signal
import subprocess
import time
import unittest

import board
import harness
from test_saved import ALL_LOADED, first_run_settings, load_messages, make_state, parse_state

STATE = board.STATE
SETTLE = 1.0


def old_state():
    """A state unlike a first run's in every record."""
    settings = first_run_settings()
    settings[3] = 7
    badges = [False] * 256
    badges[40] = True
    scores = [0] * 60
    scores[10:13] = [321, 123, 12]
    scores[40:43] = [12, 321, 123]
    return make_state(settings, badges, scores).encode("ascii")


def leftovers(game):
    return glob.glob(game.path(STATE + ".tmp*"))


class TracedGame(harness.Game):
    """The game under strace with one injected fault."""

    def __init__(self, inject, trace):
        super().__init__()
        self.log = self.path("strace.txt")
        self.strace = ["strace", "-f", "-qq", "-y", "-o", self.log, "-e", "trace=" + trace,
                       "-e", "inject=" + inject]

    def start(self):
        self._output = open(self.path("stdout.txt"), "wb")
        self.process = subprocess.Popen(self.strace + [harness.BINARY], cwd=self.folder,
                                        env=self.env, stdin=subprocess.DEVNULL,
                                        stdout=self._output, stderr=subprocess.STDOUT)
        return self

    def wait_window(self, timeout=harness.WINDOW_TIMEOUT):
        def find():
            if not self.running():
                raise AssertionError("the game ended early:\n" + self.output())
            out = harness.run("xdotool", "search", "--all", "--name",
                              "^%s$" % harness.WINDOW_TITLE, check=False)
            mine = [w for w in out.split() if self._ours(w)]
            return mine[0] if mine else None

        self.window = harness.wait_for(find, timeout, "the game window")
        harness.wait_for(self.viewable, timeout, "the window to be mapped")
        return self.window

    def _ours(self, window):
        pid = harness.run("xdotool", "getwindowpid", window, check=False).strip()
        if not pid:
            return False
        try:
            with open("/proc/%s/status" % pid) as f:
                ppid = [l.split()[1] for l in f if l.startswith("PPid:")][0]
        except OSError:
            return False
        return ppid == str(self.process.pid)

    def injected(self):
        """Whether a call on the state file met the fault (-y names the
        file of every descriptor)."""
        try:
            with open(self.log, errors="replace") as f:
                lines = f.read().splitlines()
        except OSError:
            return False
        if any("INJECTED" in l and STATE in l for l in lines):
            return True
        # An injected signal shows as the call that never returned.
        # (on one line, or split around other threads' output).
        whole = any("rename(" in l and STATE in l and l.rstrip().endswith("= ?") for l in lines)
        split = (any("rename(" in l and STATE in l and "<unfinished" in l for l in lines) and
                 any("rename resumed>" in l and l.rstrip().endswith("= ?") for l in lines))
        return (whole or split) and any("killed by SIGKILL" in l for l in lines)

    def stop(self):
        # strace passes SIGTERM on to the game, then ends with it.
        super().stop()


def start_game(test, game):
    test.addCleanup(game.stop)
    game.start()
    game.wait_window()
    game.activate()
    board.Player(game, "state").wait_title()
    return game


def sanitized():
    with open(harness.BINARY, "rb") as f:
        return b"__asan_init" in f.read()


def flip_sound(game):
    """The title menu's sound switch: the next save differs from the last."""
    board.Player(game, "state").press_at(*board.SOUND_SWITCH)


def read(path):
    with open(path, "rb") as f:
        return f.read()


@harness.needs_display
class StateFaultsTest(unittest.TestCase):

    def setUp(self):
        if not os.path.isdir(os.path.join(harness.BUILD_DIR, "data")):
            self.skipTest("no generated data folder in the build folder")

    def test_state_file_that_cannot_be_read_is_no_saved_state(self):
        # A folder where the file should be cannot be read as a file, even
        # by root; saving then cannot replace it either.
        game = harness.Game()
        os.mkdir(game.path(STATE))
        start_game(self, game)
        self.assertEqual(load_messages(game), [])
        game.minimize()
        time.sleep(SETTLE)
        game.activate()
        time.sleep(SETTLE)
        self.assertTrue(game.running(), game.output())
        self.assertTrue(os.path.isdir(game.path(STATE)))
        self.assertEqual(leftovers(game), [])
        game.close()
        self.assertEqual(game.wait_exit(), 0, game.output())

    @unittest.skipUnless(os.geteuid() == 0 and shutil.which("setpriv"),
                         "needs root to run the game as another user")
    def test_read_only_working_folder_keeps_the_old_state(self):
        # Root may write anywhere, so the game runs as "nobody" in a folder
        # that belongs to root.
        game = harness.Game()
        self.addCleanup(game.stop)
        os.chmod(game.folder, 0o755)
        reach = subprocess.run(
            ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--", "sh", "-c",
             'test -x "$0" && test -r "$1"', harness.BINARY,
             os.path.join(game.folder, "data", "gfx.png")], check=False)
        if reach.returncode != 0:
            self.skipTest("user nobody cannot reach the binary, its data or the temporary folder")
        with open(game.path(STATE), "wb") as f:
            f.write(old_state())
        os.chmod(game.path(STATE), 0o644)
        game.start = lambda: self._start_as_nobody(game)
        start_game(self, game)
        self.assertEqual(load_messages(game), ALL_LOADED)
        flip_sound(game)
        game.minimize()
        time.sleep(2 * SETTLE)
        game.activate()
        time.sleep(SETTLE)
        self.assertTrue(game.running(), game.output())
        self.assertEqual(read(game.path(STATE)), old_state())
        self.assertEqual(leftovers(game), [])
        game.close()
        self.assertEqual(game.wait_exit(), 0, game.output())

    def _start_as_nobody(self, game):
        game._output = open(game.path("stdout.txt"), "wb")
        game.process = subprocess.Popen(
            ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--",
             harness.BINARY], cwd=game.folder, env=game.env, stdin=subprocess.DEVNULL,
            stdout=game._output, stderr=subprocess.STDOUT)
        return game

    @unittest.skipUnless(shutil.which("strace"), "strace is not installed")
    def test_failing_save_system_calls_keep_the_old_file(self):
        cases = [("write:error=ENOSPC", "write"), ("fsync:error=EIO", "fsync"),
                 ("rename:error=EXDEV", "rename")]
        for inject, trace in cases:
            with self.subTest(inject=inject):
                if trace == "write" and sanitized():
                    # AddressSanitizer's own probes write to a pipe and abort
                    # when that fails, so every write cannot fail there.
                    self.skipTest("failing writes stop the sanitizer runtime itself")
                game = TracedGame(inject, trace)
                with open(game.path(STATE), "wb") as f:
                    f.write(old_state())
                start_game(self, game)
                if trace != "write":  # failing writes also swallow what it prints
                    self.assertEqual(load_messages(game), ALL_LOADED)
                # A changed setting, so that the new state differs.
                flip_sound(game)
                time.sleep(0.3)
                game.minimize()
                harness.wait_for(game.injected, 10, "the save to meet the fault")
                time.sleep(0.3)
                self.assertEqual(read(game.path(STATE)), old_state())
                self.assertEqual(leftovers(game), [])
                game.activate()
                time.sleep(SETTLE)
                self.assertTrue(game.running(), game.output())
                game.close()
                self.assertEqual(game.wait_exit(), 0, game.output())

    @unittest.skipUnless(shutil.which("strace"), "strace is not installed")
    def test_killed_at_the_rename_the_next_start_loads_the_old_state(self):
        game = TracedGame("rename:signal=SIGKILL", "rename")
        folder = game.folder
        with open(game.path(STATE), "wb") as f:
            f.write(old_state())
        start_game(self, game)
        flip_sound(game)
        time.sleep(0.3)
        game.minimize()
        game.process.wait(timeout=15)
        self.assertTrue(game.injected())
        self.assertEqual(read(game.path(STATE)), old_state())
        temps = leftovers(game)
        self.assertEqual(len(temps), 1, temps)  # the whole new state, never renamed
        self.assertNotEqual(read(temps[0]), old_state())

        # The next run in the same folder: the old state, the leftover ignored.
        again = harness.Game(with_data=False)
        shutil.rmtree(again.folder)
        again.folder = folder
        again.start()
        self.addCleanup(again.stop)
        again.wait_window()
        again.activate()
        board.Player(again, "state").wait_title()
        self.assertEqual(load_messages(again), ALL_LOADED)
        again.minimize()
        harness.wait_for(lambda: read(again.path(STATE)) != b"" and
                         os.path.getmtime(again.path(STATE)) > os.path.getmtime(temps[0]),
                         10, "the save on iconify")
        self.assertEqual(read(again.path(STATE)), old_state())
        again.activate()
        time.sleep(SETTLE)
        again.close()
        self.assertEqual(again.wait_exit(), 0, again.output())

    def test_killed_around_saves_the_file_is_always_old_or_new(self):
        """Each run flips the sound setting and saves by iconifying; SIGKILL
        comes at a random moment around that save."""
        a = old_state()
        settings, badges, scores = parse_state(a.decode())
        settings[5] = 0
        b = make_state(settings, badges, scores).encode()
        rnd = random.Random(12)
        game = harness.Game()
        self.addCleanup(game.stop)
        with open(game.path(STATE), "wb") as f:
            f.write(a)
        runs = 8
        saved = 0
        for i in range(runs):
            before = read(game.path(STATE))
            game.start()
            game.wait_window()
            game.activate()
            board.Player(game, "kill").wait_title()
            flip_sound(game)
            time.sleep(0.3)
            game.minimize()
            time.sleep(rnd.uniform(0.0, 0.08))
            game.process.send_signal(signal.SIGKILL)
            game.process.wait(timeout=10)
            game._output.close()
            game._output = None
            now = read(game.path(STATE))
            expected_new = b if before == a else a
            self.assertIn(now, (before, expected_new), "run %d left a mixed state" % i)
            saved += now != before
        # Not every kill may have come before its save.
        print("\n%d of %d killed runs had saved" % (saved, runs), flush=True)


if __name__ == "__main__":
    harness.main()
