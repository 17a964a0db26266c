"""Loading the real asset pack: the staged loader runs without an error and
the title menu follows; a resize reloads the artwork at the resolution that
suits the new size."""

import os
import re
import shutil
import subprocess
import time
import unittest

import harness

# The loader takes 17 updates (under 0.3 s at 60 Hz); leave it ample time.
LOAD_TIME = 2.0
# The loading screen clears to this colour (red, green, blue).
LOADING_CLEAR = (40, 40, 80)


def level_for(width, height):
    """Artwork level the loader picks for a window size."""
    if width >= 1231 or height >= 1231:
        return 4
    if width > 630 or height > 630:
        return 2
    return 1


SUFFIX = {1: "", 2: "-hd", 4: "-hd2"}


def screenshot(game):
    """The window's pixels at 8 bits per component."""
    data = subprocess.run(["import", "-window", game.window, "-depth", "8", "ppm:-"],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          timeout=harness.COMMAND_TIMEOUT, check=True).stdout
    return harness.Image.from_ppm(data)


class TracedGame(harness.Game):
    """The game run under strace, which logs every file it opens."""

    def __init__(self):
        super().__init__()
        self.trace = self.path("opens.txt")
        self.game_pid = None

    def start(self):
        self._output = open(self.path("stdout.txt"), "wb")
        self.process = subprocess.Popen(
            ["strace", "-f", "-qq", "-e", "trace=openat", "-o", self.trace, harness.BINARY],
            cwd=self.folder, env=self.env, stdin=subprocess.DEVNULL, stdout=self._output,
            stderr=subprocess.STDOUT)
        return self

    def wait_window(self, timeout=harness.WINDOW_TIMEOUT):
        def child():
            out = harness.run("pgrep", "-P", str(self.process.pid), check=False).split()
            return out[0] if out else None

        self.game_pid = harness.wait_for(child, timeout, "the game process")

        def find():
            if not self.running():
                raise AssertionError("the game ended early:\n" + self.output())
            out = harness.run("xdotool", "search", "--all", "--pid", self.game_pid, "--name",
                              "^%s$" % harness.WINDOW_TITLE, check=False)
            ids = out.split()
            return ids[0] if ids else None

        self.window = harness.wait_for(find, timeout, "the game window")
        harness.wait_for(self.viewable, timeout, "the window to be mapped")
        return self.window

    def opened_images(self, name):
        """Image files of the given base name opened so far, in order."""
        with open(self.trace, errors="replace") as f:
            text = f.read()
        pattern = re.compile(r'openat\([^"]*"(?:\./)?data/%s(-hd2?)?\.png"' % re.escape(name))
        return ["%s%s.png" % (name, m.group(1) or "") for m in pattern.finditer(text)]


@harness.needs_display
class LoadingTest(unittest.TestCase):

    def test_real_assets_load_and_the_title_menu_follows(self):
        with harness.Game() as game:
            game.wait_window()
            time.sleep(LOAD_TIME)
            self.assertTrue(game.running(), game.output())
            shot = screenshot(game)
            self.assertEqual((shot.width, shot.height), (640, 480))
            counts = {}
            for y in range(0, shot.height, 4):
                for x in range(0, shot.width, 4):
                    p = shot.pixel(x, y)
                    counts[p] = counts.get(p, 0) + 1
            # The title menu clears to dark blue and draws its artwork over
            # it: a blue picture of many colours, neither the black of the
            # start nor the loading screen's flat clear colour.
            r, g, b = max(counts, key=counts.get)
            self.assertGreater(b, 2 * r, counts)
            self.assertGreater(b, 2 * g, counts)
            self.assertGreater(len(counts), 50)
            self.assertNotIn(LOADING_CLEAR, counts)
            game.close()
            self.assertEqual(game.wait_exit(), 0, game.output())
            # Nothing of the game's on the console (OpenAL Soft may note at
            # exit that its device was left open).
            lines = [l for l in game.output().splitlines() if not l.startswith("AL lib:")]
            self.assertEqual(lines, [])

    @unittest.skipUnless(shutil.which("strace"), "strace is not installed")
    def test_resize_reloads_the_artwork_at_the_new_resolution(self):
        game = TracedGame()
        try:
            game.start()
            game.wait_window()
            time.sleep(LOAD_TIME)
            first = game.opened_images("gfx")
            self.assertEqual(first, ["gfx-hd.png"], game.output())

            for width, height in ((1240, 700), (600, 400)):
                game.resize(width, height)
                harness.wait_for(lambda: game.size() != (0, 0), 5, "the resize")
                time.sleep(LOAD_TIME)
                w, h = game.size()
                expected = "gfx%s.png" % SUFFIX[level_for(w, h)]
                opened = game.opened_images("gfx")
                self.assertGreater(len(opened), len(first), "no reload after %dx%d" % (w, h))
                self.assertEqual(opened[-1], expected, "window %dx%d" % (w, h))
                first = opened
            self.assertTrue(game.running(), game.output())
            self.assertNotIn("Runtime Error", game.output())
            game.close()
            self.assertEqual(game.wait_exit(), 0, game.output())
        finally:
            if game.game_pid and game.running():
                try:
                    os.kill(int(game.game_pid), 15)
                except OSError:
                    pass
            game.stop()


if __name__ == "__main__":
    harness.main()
