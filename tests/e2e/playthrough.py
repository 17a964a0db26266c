"""Shared by the play-through tests: whole games as a player plays them,
with the real binary, assets and window: the loading screen, the title menu, a game of at least 40 steps with
a pause and a resume, a natural end (the player boxed in), the game-over
bars, the title menu again with the score in its last-games list, and the
state file holding that score. Once with the keyboard, once with the pointer
only and once with an iCade cabinet's letters on the character stream."""

import os
import shutil
import threading
import unittest

import board
import harness

MIN_STEPS = 40
PAUSE_AT = 12

# Loaded late by the staged loader; while its read blocks, the window keeps
# showing the loading screen.
HELD_BACK = "BadgesA"
LOADING_CLEAR = (40, 40, 80)


def copy_data_with_fifos(folder, names):
    """A data folder of links to the build's files, where the named images
    (at every resolution) are FIFOs instead; returns {fifo path: real file}."""
    source = os.path.join(harness.BUILD_DIR, "data")
    target = os.path.join(folder, "data")
    os.mkdir(target)
    held = {}
    for entry in os.listdir(source):
        src = os.path.join(source, entry)
        dst = os.path.join(target, entry)
        stem = entry.split(".")[0].replace("-hd2", "").replace("-hd", "")
        if stem in names and entry.endswith(".png"):
            os.mkfifo(dst)
            held[dst] = src
        else:
            os.symlink(src, dst)
    return held


def release(fifo, real):
    """Feeds the real file through the FIFO once the game opens it."""
    def feed():
        with open(fifo, "wb") as out, open(real, "rb") as f:
            shutil.copyfileobj(f, out)

    t = threading.Thread(target=feed, daemon=True)
    t.start()
    return t


def score_panel(img):
    x0, y0, x1, y1 = board.SCORE_PANEL
    return [img.pixel(x, y) for y in range(y0, y1, 2) for x in range(x0, x1, 2)]


class PlayThrough(unittest.TestCase):

    def setUp(self):
        if not os.path.isdir(os.path.join(harness.BUILD_DIR, "data")):
            self.skipTest("no generated data folder in the build folder")

    def finish(self, p, walker, title_before):
        """From the end of the walk: bars, title menu, lists and the state."""
        game = p.game
        print("\n%s: %d steps, score %d" % (p.name, walker.count, walker.score), flush=True)
        self.assertGreaterEqual(walker.count, MIN_STEPS, walker.trail)
        p.wait_game_over(save="game-over")
        img = p.wait_title(save="title-after")
        # The menu's lists now show the finished game.
        harness.wait_for(lambda: score_panel(p.shot()) != score_panel(title_before), 10,
                         "the new score in the title menu's lists")
        fields = p.state_fields()
        self.assertEqual(int(fields[board.MODE2_LAST0]), walker.score, walker.trail)
        self.assertEqual(int(fields[board.MODE2_BEST0]), walker.score)
        self.assertGreater(walker.score, 0)
        game.close()
        self.assertEqual(game.wait_exit(), 0, game.output())
        self.assertNotIn("Runtime Error", game.output())
        return img
