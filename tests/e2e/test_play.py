"""Playing whole games with the real binary, assets and window: one with the
keyboard (Enter, arrows, Escape, Up to quit, Enter) and one with the pointer
only (start button, neighbouring cells, pause button, quit button). Each
checks the screens by pixels at known places and the finished game's score in
the state file. Screenshots are kept in the build folder's
e2e-screenshots/ folder."""

import os
import subprocess
import time
import unittest

import harness

# Virtual screen = window at 640 by 480: board scale k = 480 / 530, cell
# pitch 64 k, cell (0, 0) centred at (320 - 224 k, 240 - 224 k).
K = 480.0 / 530.0

# Seconds to hold a key or the mouse button. The game reads both as held
# in an update, so a press shorter than a stall of the loop could be missed;
# a key held this long still stays below the 30-update key repeat, and a
# held pointer does not step again (it then rests on the player's own cell).
KEY_HOLD = "0.25"
POINTER_HOLD = "0.3"
SCREEN_TIMEOUT = 10.0

# Fields of the state file holding the ten best and ten last scores of game
# mode 2, in pairs: best 0, last 0, best 1, ...
MODE2_BEST0 = 56
MODE2_LAST0 = 57


def cell_centre(x, y):
    return int(round(320 - 224 * K + 64 * K * x)), int(round(240 - 224 * K + 64 * K * y))


def near(pixel, colour, tolerance=16):
    return all(abs(a - b) <= tolerance for a, b in zip(pixel, colour))


# Colours read at known places.
PLAYER = (98, 201, 241)  # the centre of the player's face


def is_start_button(p):  # green body of the title menu's start button
    return p[1] > p[0] + 60 and p[1] > p[2] + 30


def is_panel_band(p):  # the orange middle band of the pause panel once it has stopped
    return p[0] > 140 and 70 < p[1] < 150 and p[2] < 60


def is_yellow_bar(p):  # the game-over bar from the left
    return p[0] > 100 and p[1] > 100 and abs(p[0] - p[1]) < 24 and p[2] < 50


def is_orange_bar(p):  # the game-over bar from the right
    return p[0] > 100 and 40 < p[1] < 95 and p[2] < 50


def is_highscore_panel(p):  # the blue "New Highscore" panel
    return p[2] > 110 and p[0] < 40


START_BUTTON = (256, 300)
PANEL_BAND = (420, 285)
# Near the right end of the yellow bar: it is there once the bars are full.
YELLOW_BAR = (420, 216)
ORANGE_BAR = (630, 264)
HIGHSCORE_PANEL = (400, 346)
PAUSE_BUTTON = (16, 16)
QUIT_BUTTON = (180, 184)


def shot_dir():
    path = os.path.join(harness.BUILD_DIR, "e2e-screenshots")
    os.makedirs(path, exist_ok=True)
    return path


class Player:
    """Drives one running game and reads its window."""

    def __init__(self, game, name):
        self.game = game
        self.name = name

    def shot(self, save=None):
        data = subprocess.run(["import", "-window", self.game.window, "-depth", "8", "ppm:-"],
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=harness.COMMAND_TIMEOUT, check=True).stdout
        if save:
            path = os.path.join(shot_dir(), "%s-%s.png" % (self.name, save))
            subprocess.run(["convert", "ppm:-", path], input=data, check=True,
                           timeout=harness.COMMAND_TIMEOUT)
        return harness.Image.from_ppm(data)

    def wait_pixel(self, where, test, what, save=None):
        def check():
            img = self.shot()
            return img if test(img.pixel(*where)) else None

        harness.wait_for(check, SCREEN_TIMEOUT, what)
        if save:
            self.shot(save)

    def wait_player_at(self, x, y):
        self.wait_pixel(cell_centre(x, y), lambda p: near(p, PLAYER),
                        "the player on cell (%d, %d)" % (x, y))

    def key(self, name):
        w = self.game.window
        harness.run("xdotool", "keydown", "--window", w, name, "sleep", KEY_HOLD, "keyup",
                    "--window", w, name)

    def press_at(self, x, y):
        harness.run("xdotool", "mousemove", "--window", self.game.window, str(x), str(y),
                    "mousedown", "1", "sleep", POINTER_HOLD, "mouseup", "1")
        # Move away so that a later frame shows what is under the pointer.
        harness.run("xdotool", "mousemove", "--window", self.game.window, "630", "470")

    def state_fields(self):
        path = self.game.path(".vantixstate")

        def read():
            if not os.path.exists(path):
                return None
            with open(path, encoding="utf-8") as f:
                fields = f.read().split("|")
            return fields if len(fields) >= 98 else None

        return harness.wait_for(read, SCREEN_TIMEOUT, "the saved state")


MOVES = {"Up": (0, -1), "Down": (0, 1), "Left": (-1, 0), "Right": (1, 0)}


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
