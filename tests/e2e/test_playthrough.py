"""Whole games as a player plays them, with the real binary, assets and
window: the loading screen, the title menu, a game of at least 40 steps with
a pause and a resume, a natural end (the player boxed in), the game-over
bars, the title menu again with the score in its last-games list, and the
state file holding that score. Once with the keyboard, once with the pointer
only and once with an iCade cabinet's letters on the character stream."""

import os
import shutil
import threading
import time
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


@harness.needs_display
class PlayThroughTest(unittest.TestCase):

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

    def test_keyboard_play_through(self):
        game = harness.Game(with_data=False)
        self.addCleanup(game.stop)
        held = copy_data_with_fifos(game.folder, {HELD_BACK})
        game.start()
        game.wait_window()
        game.activate()
        p = board.Player(game, "play-keyboard")

        # The loader stops at the held-back image: the loading screen stays.
        def loading():
            img = p.shot()
            return img if board.near(img.pixel(20, 20), LOADING_CLEAR, 4) else None

        harness.wait_for(loading, 20, "the loading screen")
        p.shot(save="loading")
        feeders = [release(fifo, real) for fifo, real in held.items()]
        title = p.wait_title(save="title")
        for t in feeders:
            t.join(timeout=0.1)

        p.key("Return")
        walker = board.Walker(p, board.KeyboardSteps(p), MIN_STEPS)

        def pause_and_resume(step):
            if step != PAUSE_AT:
                return
            p.key("Escape")
            p.wait_panel()
            p.shot(save="paused")
            p.key("Return")
            p.wait_panel_gone()

        walker.play(on_step=pause_and_resume)
        self.finish(p, walker, title)

    def test_pointer_play_through(self):
        with harness.Game() as game:
            game.wait_window()
            game.activate()
            p = board.Player(game, "play-pointer")
            title = p.wait_title()
            p.press_at(*board.START_PRESS)
            walker = board.Walker(p, board.PointerSteps(p), MIN_STEPS)

            def pause_and_resume(step):
                if step != PAUSE_AT:
                    return
                p.press_at(*board.PAUSE_BUTTON)
                p.wait_panel()
                p.press_at(*board.RESUME_BUTTON)
                p.wait_panel_gone()

            walker.play(on_step=pause_and_resume)
            self.finish(p, walker, title)

    def test_icade_play_through(self):
        with harness.Game() as game:
            game.wait_window()
            game.activate()
            p = board.Player(game, "play-icade")
            p.wait_title()
            p.press_at(*board.ICADE_SWITCH)
            time.sleep(0.3)
            title = p.shot(save="title-icade")
            p.icade("Fire")
            walker = board.Walker(p, board.ICadeSteps(p), MIN_STEPS)

            def pause_and_resume(step):
                if step != PAUSE_AT:
                    return
                p.icade("Back")
                p.wait_panel()
                p.icade("Fire")
                p.wait_panel_gone()

            walker.play(on_step=pause_and_resume)
            self.finish(p, walker, title)


if __name__ == "__main__":
    harness.main()
