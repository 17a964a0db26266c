"""Progress that lasts, with the real binary: a finished game's score and a
changed setting survive a restart, a damaged state file is reset record by
record and the game still plays, and the credits box opens from the title
menu and closes with the mouse and with Escape."""

import os
import shutil
import time
import unittest

import harness

# Seconds between screenshots, and how many in a row must match for the
# picture to count as still; a pause that lets a few updates run.
STILL_GAP = 0.4
STILL_SHOTS = 5
SETTLE = 1.0

STATE = ".vantixstate"
ALL_LOADED = ["Settings Loaded", "Badges Loaded", "Highscore 0 Loaded",
              "Highscore 1 Loaded", "Highscore 2 Loaded"]

# Window positions at 640 by 480 (virtual and window pixels agree).
START_KEY = "Return"
SOUND_SWITCH = (32, 240)
BRAND_LOGO = (570, 440)
PAUSE_QUIT = (180, 184)
# A grey tile field of the credits box, clear of its dials and pictures.
TESTCARD_GREY_AT = (160, 320)
# The title menu's score panel starts here (its lists are drawn right of it).
SCORE_PANEL_X = 500


# How long a key or button is held: the game reads held state once per
# update, so a press and release between two updates would go unseen.
HOLD = 0.3


def press(game, x, y):
    harness.run("xdotool", "mousemove", "--window", game.window, str(x), str(y),
                "mousedown", "1", "sleep", str(HOLD), "mouseup", "1")


def hold_key(game, key):
    harness.run("xdotool", "keydown", "--window", game.window, key, "sleep", str(HOLD),
                "keyup", "--window", game.window, key)


def screenshot(game):
    """The window's pixels, 8 bits per channel."""
    data = harness.subprocess.run(["import", "-window", game.window, "-depth", "8", "ppm:-"],
                                  stdout=harness.subprocess.PIPE,
                                  stderr=harness.subprocess.PIPE,
                                  timeout=harness.COMMAND_TIMEOUT, check=True).stdout
    return harness.Image.from_ppm(data)


def s32(v):
    v &= 0xFFFFFFFF
    return v - (1 << 32) if v >= 1 << 31 else v


def make_state(settings, badges, scores):
    """The state text: 98 numbers, each followed by "|"."""
    numbers = list(settings) + [s32(sum(i * v for i, v in enumerate(settings)))]
    words = [s32(sum(1 << j for j in range(32) if badges[32 * q + j])) for q in range(8)]
    numbers += words + [s32(sum(words))]
    for lst in range(3):
        total = 0
        for k in range(10):
            best, last = scores[10 * lst + k], scores[10 * lst + 30 + k]
            numbers += [best, last]
            total += (k + 4) * best + (lst + k + 3) * last
        numbers.append(s32(total))
    return "".join("%d|" % n for n in numbers)


def parse_state(text):
    """Settings, badge flags and scores of a state whose checksums all hold."""
    fields = text.split("|")
    assert len(fields) == 99 and fields[98] == "", text
    n = [int(f) for f in fields[:98]]
    settings, badge_words, scores = n[:25], n[26:34], [0] * 60
    for lst in range(3):
        record = n[35 + 21 * lst:56 + 21 * lst]
        for k in range(10):
            scores[10 * lst + k], scores[10 * lst + 30 + k] = record[2 * k], record[2 * k + 1]
    badges = [bool((badge_words[b // 32] >> (b % 32)) & 1) for b in range(256)]
    assert make_state(settings, badges, scores) == text, "checksums do not hold: " + text
    return settings, badges, scores


def first_run_settings():
    settings = [0] * 25
    settings[5], settings[10], settings[11], settings[12] = 1, 64, 64, 10
    return settings


def load_messages(game):
    known = ("Settings ", "Badge", "Highscore ")
    return [line for line in game.output().splitlines() if line.startswith(known)]


def wait_still(game, timeout=60.0):
    """Waits until the picture has not changed for STILL_SHOTS screenshots in
    a row (loading done, slides finished; one long loading step alone does
    not count as still)."""
    shots = [screenshot(game)]

    def still():
        time.sleep(STILL_GAP)
        now = screenshot(game)
        if now._rgb != shots[-1]._rgb:
            shots.clear()
        shots.append(now)
        return len(shots) >= STILL_SHOTS

    harness.wait_for(still, timeout, "the picture to settle")
    return shots[-1]


def read_state(game):
    try:
        with open(game.path(STATE), "rb") as f:
            return f.read().decode("latin-1")
    except FileNotFoundError:
        return None


def wait_saved(game, before, timeout=20.0):
    """Waits until the state file holds something other than before."""
    return harness.wait_for(lambda: (read_state(game) or before) != before and read_state(game),
                            timeout, "the state to be saved")


def play_and_quit(game):
    """Starts a game from the title menu and ends it from the pause panel;
    returns the state saved on the way back to the title menu."""
    before = read_state(game) or ""
    hold_key(game, START_KEY)
    wait_still(game)
    hold_key(game, "Escape")
    wait_still(game)
    press(game, *PAUSE_QUIT)
    return wait_saved(game, before)


def changed_columns(a, b):
    """x positions of the columns in which two same-size images differ."""
    return {x for y in range(a.height) for x in range(a.width) if a.pixel(x, y) != b.pixel(x, y)}


def close_and_wait(test, game):
    game.close()
    test.assertEqual(game.wait_exit(), 0, game.output())


@harness.needs_display
class SavedStateTest(unittest.TestCase):

    def start_with_state(self, text):
        game = harness.Game()
        if text is not None:
            with open(game.path(STATE), "wb") as f:
                f.write(text.encode("latin-1") if isinstance(text, str) else text)
        game.start()
        self.addCleanup(game.stop)
        game.wait_window()
        game.activate()
        wait_still(game)
        return game

    def test_finished_game_survives_close_and_restart(self):
        badges = [False] * 256
        badges[31] = True
        scores = [0] * 60
        scores[10:13] = [900, 800, 700]  # best of mode 2 (the game's mode)
        scores[40:43] = [900, 800, 700]  # its last games
        seeded = make_state(first_run_settings(), badges, scores)

        game = self.start_with_state(seeded)
        self.assertEqual(load_messages(game), ALL_LOADED)
        saved = play_and_quit(game)
        close_and_wait(self, game)

        # The finished game (score 0) is the newest of the last games; it is
        # not above any best entry; badge 31 and the settings are kept.
        settings, got_badges, got_scores = parse_state(saved)
        self.assertEqual(settings, first_run_settings())
        self.assertEqual(got_badges, badges)
        self.assertEqual(got_scores[10:20], [900, 800, 700] + [0] * 7)
        self.assertEqual(got_scores[40:50], [0, 900, 800, 700] + [0] * 6)

        # Start again with what was saved: five records loaded, the lists
        # show the scores (the title menu differs from an empty-table run
        # only in the score panel).
        again = self.start_with_state(saved)
        self.assertEqual(load_messages(again), ALL_LOADED)
        with_scores = screenshot(again)
        close_and_wait(self, again)

        empty = self.start_with_state(make_state(first_run_settings(), [False] * 256, [0] * 60))
        without_scores = screenshot(empty)
        close_and_wait(self, empty)
        columns = changed_columns(with_scores, without_scores)
        self.assertTrue(columns, "the saved scores do not show")
        self.assertGreaterEqual(min(columns), SCORE_PANEL_X)

    def test_sound_setting_is_saved_when_iconified(self):
        game = self.start_with_state(None)
        self.assertEqual(load_messages(game), [])  # no state yet: nothing loaded
        press(game, *SOUND_SWITCH)
        time.sleep(SETTLE)
        self.assertFalse(os.path.exists(game.path(STATE)))  # nothing saved yet
        game.minimize()
        harness.wait_for(lambda: os.path.exists(game.path(STATE)), 15, "the save on iconify")
        with open(game.path(STATE), "rb") as f:
            saved = f.read().decode("ascii")
        settings = parse_state(saved)[0]
        self.assertEqual(settings[5], 0)
        game.activate()
        time.sleep(SETTLE)
        close_and_wait(self, game)

        again = self.start_with_state(saved)
        self.assertEqual(load_messages(again), ALL_LOADED)
        again.minimize()
        time.sleep(SETTLE)
        with open(again.path(STATE), "rb") as f:
            self.assertEqual(parse_state(f.read().decode("ascii"))[0][5], 0)
        again.activate()
        time.sleep(SETTLE)
        close_and_wait(self, again)

    def test_damaged_state_is_reset_record_by_record_and_the_game_plays(self):
        scores = list(range(100, 160))
        settings = first_run_settings()
        settings[3] = 7
        fields = make_state(settings, [False] * 256, scores).split("|")
        fields[3] = "8"  # a setting edited by hand
        fields[56] = "99999"  # the best score of mode 2 edited by hand
        damaged = "|".join(fields)

        game = self.start_with_state(damaged)
        self.assertEqual(load_messages(game), [
            "Settings Checksum Invalid", "Badges Loaded", "Highscore 0 Loaded",
            "Highscore 1 Checksum Invalid", "Highscore 2 Loaded"])
        menu = screenshot(game)
        before = read_state(game)
        hold_key(game, START_KEY)
        playing = wait_still(game)
        self.assertTrue(game.running(), game.output())
        self.assertNotEqual(changed_columns(menu, playing), set(),
                            "no game screen after the start key")
        hold_key(game, "Escape")
        wait_still(game)
        press(game, *PAUSE_QUIT)
        saved = wait_saved(game, before)
        close_and_wait(self, game)

        settings, _, got = parse_state(saved)
        self.assertEqual(settings, first_run_settings())
        self.assertEqual(got[0:10], scores[0:10])      # mode 1 kept
        self.assertEqual(got[30:40], scores[30:40])
        self.assertEqual(got[10:20], [0] * 10)         # mode 2 reset, then one game
        self.assertEqual(got[40:50], [0] * 10)
        self.assertEqual(got[20:30], scores[20:30])    # mode 3 kept

    def test_garbage_state_file_does_not_stop_the_game(self):
        for garbage in (b"\x80\x81\xfe|||-|99999999999999999999|\x00|", b"|" * 5000,
                        b"12345"):
            with self.subTest(garbage=garbage[:20]):
                game = self.start_with_state(garbage)
                hold_key(game, START_KEY)
                time.sleep(SETTLE)
                self.assertTrue(game.running(), game.output())
                close_and_wait(self, game)

    def test_credits_box_opens_and_closes_with_mouse_and_escape(self):
        game = self.start_with_state(None)

        def grey():
            r, g, b = screenshot(game).pixel(*TESTCARD_GREY_AT)
            return all(abs(c - 128) <= 2 for c in (r, g, b))

        self.assertFalse(grey())
        press(game, *BRAND_LOGO)
        harness.wait_for(grey, 15, "the credits box to open")
        # A press anywhere closes it.
        time.sleep(SETTLE)
        press(game, 100, 100)
        harness.wait_for(lambda: not grey(), 15, "the credits box to close")
        self.assertTrue(game.running(), game.output())

        time.sleep(SETTLE)
        press(game, *BRAND_LOGO)
        harness.wait_for(grey, 15, "the credits box to open again")
        time.sleep(SETTLE)
        hold_key(game, "Escape")
        harness.wait_for(lambda: not grey(), 15, "Escape to close the credits box")
        self.assertTrue(game.running(), game.output())
        close_and_wait(self, game)


if __name__ == "__main__":
    harness.main()
