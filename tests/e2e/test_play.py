"""Playing whole games with the real binary, assets and window: one with the
keyboard (Enter, arrows, Escape, Up to quit, Enter) and one with the pointer
only (start button, neighbouring cells, pause button, quit button). Each
checks the screens by pixels at known places and the finished game's score in
the state file. Screenshots are kept in the build folder's
e2e-screenshots/ folder."""

import os
import time
import unittest

import harness
from board import (MODE2_BEST0, MODE2_LAST0, MOVES, ORANGE_BAR,
                   PANEL_BAND, PAUSE_BUTTON, PLAYER, QUIT_BUTTON, START_BUTTON, YELLOW_BAR,
                   cell_centre, is_orange_bar, is_panel_band, is_start_button, is_yellow_bar,
                   near)
import board

# Seconds to hold a key or the mouse button in these games. A key held this
# long still stays below the 30-update key repeat, and a held pointer does
# not step again (it then rests on the player's own cell).
KEY_HOLD = "0.25"
POINTER_HOLD = "0.3"
SCREEN_TIMEOUT = 10.0

HIGHSCORE_PANEL = (400, 346)


def is_highscore_panel(p):  # the blue "New Highscore" panel
    return p[2] > 110 and p[0] < 40


class Player(board.Player):
    """The shared player with this file's longer presses."""

    def key(self, name, hold=KEY_HOLD):
        super().key(name, hold)

    def press_at(self, x, y):
        harness.run("xdotool", "mousemove", "--window", self.game.window, str(x), str(y),
                    "mousedown", "1", "sleep", POINTER_HOLD, "mouseup", "1")
        # Move away so that a later frame shows what is under the pointer.
        harness.run("xdotool", "mousemove", "--window", self.game.window, "630", "470")

    def wait_pixel(self, where, test, what, save=None, timeout=SCREEN_TIMEOUT):
        super().wait_pixel(where, test, what, save, timeout)

    def wait_player_at(self, x, y):
        self.wait_pixel(cell_centre(x, y), lambda p: near(p, PLAYER),
                        "the player on cell (%d, %d)" % (x, y))


@harness.needs_display
class PlayTest(unittest.TestCase):

    def setUp(self):
        if not os.path.isdir(os.path.join(harness.BUILD_DIR, "data")):
            self.skipTest("no generated data folder in the build folder")

    def test_keyboard_game(self):
        with harness.Game() as game:
            game.wait_window()
            game.activate()
            p = Player(game, "keyboard")
            p.wait_pixel(START_BUTTON, is_start_button, "the title menu", save="title")

            p.key("Return")
            x, y = 4, 4
            p.wait_player_at(x, y)
            # From the start-up seed the first tokens lie at (1, 5) and (2, 6);
            # this walk collects the one at (2, 6) worth 6 and the one at
            # (1, 5) worth 4, and ends below its own trail.
            for name in ["Down", "Down", "Left", "Left", "Up", "Left", "Down"]:
                p.key(name)
                dx, dy = MOVES[name]
                x, y = x + dx, y + dy
                p.wait_player_at(x, y)
            self.assertEqual((x, y), (1, 6))
            img = p.shot("game")
            self.assertFalse(near(img.pixel(*cell_centre(4, 4)), PLAYER))

            p.key("Escape")
            p.wait_pixel(PANEL_BAND, is_panel_band, "the pause panel", save="panel")
            # Up points at the trail cell above, so the panel takes it: quit.
            p.key("Up")
            time.sleep(0.2)
            p.key("Return")
            p.wait_pixel(YELLOW_BAR, is_yellow_bar, "the game-over bars")
            img = p.shot("game-over")
            self.assertTrue(is_orange_bar(img.pixel(*ORANGE_BAR)), img.pixel(*ORANGE_BAR))
            self.assertTrue(is_highscore_panel(img.pixel(*HIGHSCORE_PANEL)))

            p.wait_pixel(START_BUTTON, is_start_button, "the title menu again",
                         save="title-after")
            fields = p.state_fields()
            self.assertEqual(int(fields[MODE2_LAST0]), 10)
            self.assertEqual(int(fields[MODE2_BEST0]), 10)

            game.close()
            self.assertEqual(game.wait_exit(), 0)

    def test_pointer_game(self):
        with harness.Game() as game:
            game.wait_window()
            game.activate()
            p = Player(game, "pointer")
            p.wait_pixel(START_BUTTON, is_start_button, "the title menu")
            p.press_at(256, 336)
            x, y = 4, 4
            p.wait_player_at(x, y)
            # Down, left, down, left by pressing the neighbouring cells; the
            # token at (2, 6) is worth 6 when reached.
            for name in ["Down", "Left", "Down", "Left"]:
                dx, dy = MOVES[name]
                x, y = x + dx, y + dy
                p.press_at(*cell_centre(x, y))
                p.wait_player_at(x, y)
            img = p.shot("game")
            self.assertFalse(near(img.pixel(*cell_centre(4, 4)), PLAYER))

            p.press_at(*PAUSE_BUTTON)
            p.wait_pixel(PANEL_BAND, is_panel_band, "the pause panel")
            p.press_at(*QUIT_BUTTON)
            p.wait_pixel(YELLOW_BAR, is_yellow_bar, "the game-over bars", save="game-over")
            p.wait_pixel(START_BUTTON, is_start_button, "the title menu again")
            fields = p.state_fields()
            self.assertEqual(int(fields[MODE2_LAST0]), 6)
            self.assertEqual(int(fields[MODE2_BEST0]), 6)

            game.close()
            self.assertEqual(game.wait_exit(), 0)


if __name__ == "__main__":
    harness.main()
