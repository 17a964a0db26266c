"""What the window manager does to a game in progress: iconifying saves the
state and the game comes back with its pause panel open; a resize to
1280 by 720 reloads the artwork at the "-hd2" level and keeps the board in
the middle of the window; the close button ends the process at once with
status 0 and saves nothing."""

import os
import shutil
import time
import unittest

import board
import harness
from test_loading import TracedGame

BACKGROUND = (0, 0, 80)  # the playing screen's clear colour
# The close request is handled by the next update; allow for a busy machine.
CLOSE_TIME = 2.0


def not_background(p):
    return not board.near(p, BACKGROUND, 6)


def start_game(test, game, name):
    game.start()
    test.addCleanup(game.stop)
    game.wait_window()
    game.activate()
    p = board.Player(game, name)
    p.wait_title()
    p.key("Return")
    return p


def take_steps(p, count):
    walker = board.Walker(p, board.KeyboardSteps(p), count, max_steps=count)
    walker.play()
    return walker


@harness.needs_display
class WindowEventsTest(unittest.TestCase):

    def setUp(self):
        if not os.path.isdir(os.path.join(harness.BUILD_DIR, "data")):
            self.skipTest("no generated data folder in the build folder")

    def test_iconify_during_a_game_saves_and_comes_back_paused(self):
        game = harness.Game()
        p = start_game(self, game, "iconify")
        take_steps(p, 3)
        where = p.wait_still_board().player()
        self.assertFalse(os.path.exists(game.path(board.STATE)))

        game.minimize()
        fields = p.state_fields()
        self.assertEqual(len(fields), 99)
        self.assertEqual(fields[98], "")
        game.activate()
        img = p.wait_panel()
        self.assertTrue(board.is_panel_band(img.pixel(*board.PANEL_BAND)))
        # The game itself is where it was: resume and step on.
        p.key("Return")
        p.wait_panel_gone()
        self.assertEqual(p.wait_still_board().player(), where)
        take_steps(p, 1)
        self.assertTrue(game.running(), game.output())
        game.close()
        self.assertEqual(game.wait_exit(), 0, game.output())

    @unittest.skipUnless(shutil.which("strace"), "strace is not installed")
    def test_resize_to_1280_by_720_reloads_hd2_and_keeps_the_board_centred(self):
        game = TracedGame()
        p = start_game(self, game, "resize")
        self.addCleanup(lambda: game.game_pid and game.running() and
                        os.kill(int(game.game_pid), 15))
        take_steps(p, 2)
        before = len(game.opened_images("gfx"))
        game.resize(1280, 720)
        # The screen is only 1280 wide, so the window manager may keep a
        # pixel for the frame.
        harness.wait_for(lambda: abs(game.size()[0] - 1280) <= 2 and game.size()[1] == 720,
                         10, "the window at 1280x720")
        w, h = game.size()
        harness.wait_for(lambda: len(game.opened_images("gfx")) > before, 10,
                         "the artwork to be reloaded")
        self.assertEqual(game.opened_images("gfx")[-1], "gfx-hd2.png")

        # Window scale s (about 2), virtual screen 640 by h / s, board scale
        # h / s / 530.
        s = max(w / 640.0, h / 480.0)
        vw, vh = w / s, h / s
        k = min(vw, vh) / 530.0
        row4_y = int(s * (vh / 2 - 224 * k + 64 * k * 4))
        col2_x = int(s * (vw / 2 - 224 * k + 64 * k * 2))

        def centred():
            img = p.shot()
            # A window that reaches past the screen's edge is captured cut off
            # there; the board lies well inside it.
            if img.height != h or abs(img.width - w) > 2:
                return None
            xs = [x for x in range(img.width) if not_background(img.pixel(x, row4_y))]
            ys = [y for y in range(img.height) if not_background(img.pixel(col2_x, y))]
            if not xs or not ys:
                return None
            # While the artwork reloads the loading screen covers the row:
            # wait for the board itself.
            if abs((xs[-1] - xs[0]) - s * 64 * k * 8) > s * 64 * k:
                return None
            return img, (xs[0] + xs[-1]) / 2.0, (ys[0] + ys[-1]) / 2.0, xs, ys

        try:
            img, mid_x, mid_y, xs, ys = harness.wait_for(centred, 10, "the board at the new size")
        finally:
            p.shot(save="1280x720")
        self.assertAlmostEqual(mid_x, w / 2.0, delta=2.5)
        self.assertAlmostEqual(mid_y, h / 2.0, delta=2.5)
        # The board fills the height: 8 cells of 64 k virtual pixels.
        self.assertAlmostEqual(xs[-1] - xs[0], s * 64 * k * 8, delta=s * 64 * k)
        self.assertTrue(game.running(), game.output())
        self.assertNotIn("Runtime Error", game.output())
        game.close()
        self.assertEqual(game.wait_exit(), 0, game.output())

    def test_close_button_during_a_game_ends_at_once_with_status_0(self):
        game = harness.Game()
        p = start_game(self, game, "close")
        take_steps(p, 2)
        asked = time.monotonic()
        game.close()
        self.assertEqual(game.wait_exit(), 0, game.output())
        self.assertLess(time.monotonic() - asked, CLOSE_TIME)
        self.assertFalse(os.path.exists(game.path(board.STATE)), "a close must not save")
        self.assertNotIn("Runtime Error", game.output())


if __name__ == "__main__":
    harness.main()
