"""Reading the playing screen of a running game from its pixels, and playing
it: where the player stands, which cells are free, where the tokens are, and
a player that keeps a game going for a number of steps and then walks into a
dead end so that the game ends by itself.

Shared by the end-to-end tests and the soak script. Positions are for a
window whose virtual screen is 640 by 480 (a 4:3 window of any size is
handled by scaling the points)."""

import os
import subprocess
import time

import harness

MOVES = {"Up": (0, -1), "Down": (0, 1), "Left": (-1, 0), "Right": (1, 0)}

# Colours at known places of the 640 by 480 screen.
PLAYER = (98, 201, 241)     # the centre of the player's face
FLOOR = (32, 48, 146)       # a free floor cell, 20 pixels up and left of its centre
TOKEN = (130, 42, 35)       # the dark middle of a number token

START_BUTTON = (256, 300)   # green body of the title menu's start button
START_PRESS = (256, 336)    # a point of the start button to press
ICADE_SWITCH = (602, 38)
SOUND_SWITCH = (32, 240)
PANEL_BAND = (420, 285)     # the pause panel's orange band once it has stopped
PAUSE_BUTTON = (16, 16)
RESUME_BUTTON = (320, 248)
QUIT_BUTTON = (180, 184)
YELLOW_BAR = (420, 216)     # right end of the game-over bar from the left, once full
ORANGE_BAR = (630, 264)
SCORE_PANEL = (505, 75, 640, 460)  # the title menu's score lists (x0, y0, x1, y1)

# Seconds a key or the mouse button is held: the game reads held state once
# per update, so a shorter press could fall between two updates of a busy
# loop; held this long a direction still stays below the 30-update repeat.
KEY_HOLD = "0.2"
POINTER_HOLD = "0.25"
SCREEN_TIMEOUT = 15.0
# How long a step may take to show before the cell is taken as not free.
STEP_TIMEOUT = 3.0

STATE = ".vantixstate"
MODE2_BEST0 = 56
MODE2_LAST0 = 57

K = 480.0 / 530.0


def cell_centre(x, y):
    return int(round(320 - 224 * K + 64 * K * x)), int(round(240 - 224 * K + 64 * K * y))


def near(pixel, colour, tolerance=16):
    return all(abs(a - b) <= tolerance for a, b in zip(pixel, colour))


def is_start_button(p):
    return p[1] > p[0] + 60 and p[1] > p[2] + 30


def is_panel_band(p):
    return p[0] > 140 and 70 < p[1] < 150 and p[2] < 60


def is_yellow_bar(p):
    return p[0] > 100 and p[1] > 100 and abs(p[0] - p[1]) < 24 and p[2] < 50


def is_orange_bar(p):
    return p[0] > 100 and 40 < p[1] < 95 and p[2] < 50


def shot_dir():
    path = os.path.join(harness.BUILD_DIR, "e2e-screenshots")
    os.makedirs(path, exist_ok=True)
    return path


class Screen:
    """What one screenshot of the playing screen shows."""

    def __init__(self, img):
        self.img = img

    def player(self):
        for y in range(8):
            for x in range(8):
                if near(self.img.pixel(*cell_centre(x, y)), PLAYER):
                    return x, y
        return None

    def free(self, x, y):
        if not (0 <= x < 8 and 0 <= y < 8):
            return False
        cx, cy = cell_centre(x, y)
        return near(self.img.pixel(cx - 20, cy - 20), FLOOR, 10)

    def tokens(self):
        found = set()
        for y in range(8):
            for x in range(8):
                cx, cy = cell_centre(x, y)
                # The figure is written over the middle: look beside it too.
                if any(near(self.img.pixel(cx + dx, cy + dy), TOKEN, 20)
                       for dx, dy in ((0, 0), (-10, 0), (0, 12), (0, -12))):
                    found.add((x, y))
        return found


class Player:
    """Drives one running game and reads its window."""

    def __init__(self, game, name):
        self.game = game
        self.name = name

    # -- reading ------------------------------------------------------------

    def shot(self, save=None):
        data = subprocess.run(["import", "-window", self.game.window, "-depth", "8", "ppm:-"],
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=harness.COMMAND_TIMEOUT, check=True).stdout
        if save:
            path = os.path.join(shot_dir(), "%s-%s.png" % (self.name, save))
            subprocess.run(["convert", "ppm:-", path], input=data, check=True,
                           timeout=harness.COMMAND_TIMEOUT)
        return harness.Image.from_ppm(data)

    def wait_pixel(self, where, test, what, save=None, timeout=SCREEN_TIMEOUT):
        def check():
            if not self.game.running():
                raise AssertionError("the game ended while waiting for %s:\n%s"
                                     % (what, self.game.output()))
            img = self.shot()
            # While the window is mapped again a capture may come back empty.
            if where[0] >= img.width or where[1] >= img.height:
                return None
            return img if test(img.pixel(*where)) else None

        img = harness.wait_for(check, timeout, what)
        if save:
            self.shot(save)
        return img

    def wait_title(self, save=None):
        return self.wait_pixel(START_BUTTON, is_start_button, "the title menu", save=save)

    def wait_panel(self):
        return self.wait_pixel(PANEL_BAND, is_panel_band, "the pause panel")

    def wait_panel_gone(self):
        return self.wait_pixel(PANEL_BAND, lambda p: not is_panel_band(p),
                               "the pause panel to leave")

    def wait_game_over(self, save=None):
        return self.wait_pixel(YELLOW_BAR, is_yellow_bar, "the game-over bars", save=save)

    def wait_still_board(self, timeout=SCREEN_TIMEOUT):
        """A screenshot of the board with the player resting on a cell."""

        def check():
            if not self.game.running():
                raise AssertionError("the game ended:\n" + self.game.output())
            s = Screen(self.shot())
            return s if s.player() else None

        return harness.wait_for(check, timeout, "the player on a cell")

    def state_fields(self):
        path = self.game.path(STATE)

        def read():
            if not os.path.exists(path):
                return None
            with open(path, encoding="utf-8") as f:
                fields = f.read().split("|")
            return fields if len(fields) >= 98 else None

        return harness.wait_for(read, SCREEN_TIMEOUT, "the saved state")

    # -- input --------------------------------------------------------------

    def key(self, name, hold=KEY_HOLD):
        w = self.game.window
        harness.run("xdotool", "keydown", "--window", w, name, "sleep", hold, "keyup",
                    "--window", w, name)

    def letter(self, ch):
        harness.run("xdotool", "type", "--window", self.game.window, ch)

    def press_at(self, x, y):
        harness.run("xdotool", "mousemove", "--window", self.game.window, str(x), str(y),
                    "mousedown", "1", "sleep", POINTER_HOLD, "mouseup", "1")
        # Away from the board, so that later frames show what lies under it.
        harness.run("xdotool", "mousemove", "--window", self.game.window, "630", "470")


class KeyboardSteps:
    """Steps with the arrow keys."""

    def __init__(self, player):
        self.p = player

    def step(self, name, x, y):
        self.p.key(name)


class PointerSteps:
    """Steps by pressing the neighbouring cell."""

    def __init__(self, player):
        self.p = player

    def step(self, name, x, y):
        dx, dy = MOVES[name]
        self.p.press_at(*cell_centre(x + dx, y + dy))


# iCade letters: the first holds a control, the second releases it.
ICADE = {"Up": "we", "Down": "xz", "Left": "aq", "Right": "dc", "Fire": "hr", "Back": "og"}


class ICadeSteps:
    """Steps with an iCade cabinet's letters on the character stream."""

    def __init__(self, player):
        self.p = player

    def step(self, name, x, y):
        self.p.icade(name)


def icade(player, name):
    press, release = ICADE[name]
    player.letter(press)
    time.sleep(float(KEY_HOLD))
    player.letter(release)


Player.icade = icade


def reachable(screen, start, blocked_extra=()):
    """Number of free cells reachable from start (start not counted)."""
    seen = {start}
    todo = [start]
    count = 0
    while todo:
        x, y = todo.pop()
        for dx, dy in MOVES.values():
            n = (x + dx, y + dy)
            if n in seen or n in blocked_extra or not screen.free(*n):
                continue
            seen.add(n)
            count += 1
            todo.append(n)
    return count


class Walker:
    """Plays a game on the board: steps while keeping room to move for at
    least `min_steps` steps, then seeks the smallest pocket so that the game
    ends by itself (boxed in). Tracks the tokens collected on the way."""

    def __init__(self, player, steps, min_steps, max_steps=160):
        self.p = player
        self.steps = steps
        self.min_steps = min_steps
        self.max_steps = max_steps
        self.count = 0
        self.score = 0
        self.token_born = {}
        self.trail = []

    def _see_tokens(self, screen):
        now = screen.tokens()
        for cell in list(self.token_born):
            if cell not in now:
                del self.token_born[cell]
        for cell in now:
            self.token_born.setdefault(cell, self.count)

    def play(self, on_step=None):
        """Plays until the player has no free neighbour; returns the step count."""
        screen = self.p.wait_still_board()
        self._see_tokens(screen)
        refused = set()
        while self.count < self.max_steps:
            x, y = screen.player()
            options = []
            for name, (dx, dy) in MOVES.items():
                n = (x + dx, y + dy)
                if screen.free(*n) and (n, self.count) not in refused:
                    options.append((reachable(screen, n, {(x, y)}), name, n))
            if not options:
                return self.count
            if self.count < self.min_steps:
                options.sort(key=lambda o: -o[0])
            else:
                options.sort(key=lambda o: o[0])
            _, name, target = options[0]
            self.steps.step(name, x, y)
            moved = self._wait_moved(target)
            if not moved:
                refused.add((target, self.count))
                screen = self.p.wait_still_board()
                continue
            self.count += 1
            self.trail.append(name)
            # A token is worth 9 in the board step after the one that placed
            # it and one less for every later step.
            if target in self.token_born:
                self.score += 10 - (self.count - self.token_born.pop(target))
            screen = moved
            self._see_tokens(screen)
            if on_step:
                on_step(self.count)
        return self.count

    def _wait_moved(self, target):
        deadline = time.monotonic() + STEP_TIMEOUT
        while time.monotonic() < deadline:
            if not self.p.game.running():
                raise AssertionError("the game ended:\n" + self.p.game.output())
            s = Screen(self.p.shot())
            if s.player() == target:
                # Let the slide finish so that the board is read at rest.
                time.sleep(0.05)
                s = Screen(self.p.shot())
                if s.player() == target:
                    return s
            time.sleep(0.03)
        return None
