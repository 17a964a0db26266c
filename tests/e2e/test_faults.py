"""The game keeps running when its surroundings are wrong: no data folder,
single files missing, damaged PNG and WAV files (one of them Ogg data cut
short, as the game's sounds are all WAV files), and no sound device. Pictures that could not be loaded are simply
not drawn; the game still plays."""

import os
import random
import time
import unittest

import board
import harness

SETTLE = 1.5


def data_copy(folder, change):
    """A data folder in `folder` of links to the build's files; change(rel)
    returns None to link a file, b"" or bytes to write instead, or False to
    leave it out."""
    source = os.path.join(harness.BUILD_DIR, "data")
    for root, dirs, files in os.walk(source):
        rel_root = os.path.relpath(root, source)
        os.makedirs(os.path.join(folder, "data", rel_root), exist_ok=True)
        for name in files:
            rel = os.path.normpath(os.path.join(rel_root, name))
            what = change(rel)
            dst = os.path.join(folder, "data", rel)
            if what is None:
                os.symlink(os.path.join(root, name), dst)
            elif what is not False:
                with open(dst, "wb") as f:
                    f.write(what)


def real(rel):
    with open(os.path.join(harness.BUILD_DIR, "data", rel), "rb") as f:
        return f.read()


def noise(n, seed):
    rnd = random.Random(seed)
    return bytes(rnd.randrange(256) for _ in range(n))


def ogg_cut_short():
    """The first page of an Ogg Vorbis stream, cut inside its identification
    packet, followed by garbage."""
    head = b"OggS\x00\x02" + b"\x00" * 8 + b"\x01\x00\x00\x00" + b"\x00" * 8 + b"\x01\x1e"
    return head + b"\x01vorbis\x00\x00\x00\x00\x02\x44\xac" + noise(40, 3)


def survives(test, game, keys=("Return", "Down", "Left", "Escape", "Return", "Up")):
    """Starts a game by key and presses a few more; the game must go on."""
    game.wait_window()
    game.activate()
    time.sleep(SETTLE)
    p = board.Player(game, "faults")
    for k in keys:
        p.key(k)
        time.sleep(0.2)
        test.assertTrue(game.running(), game.output())
    # A resize reloads every picture and sound again.
    game.resize(800, 600)
    time.sleep(SETTLE)
    test.assertTrue(game.running(), game.output())
    test.assertNotIn("Runtime Error", game.output())
    game.close()
    test.assertEqual(game.wait_exit(), 0, game.output())
    return p


@harness.needs_display
class DataFaultsTest(unittest.TestCase):

    def setUp(self):
        if not os.path.isdir(os.path.join(harness.BUILD_DIR, "data")):
            self.skipTest("no generated data folder in the build folder")

    def test_no_data_folder(self):
        with harness.Game(with_data=False) as game:
            survives(self, game)

    def test_missing_single_files(self):
        gone = {"gfx.png", "gfx-hd.png", "gfx-hd2.png", "sfx/099.wav", "sfx/098.wav",
                "common/Buttons-hd.png", "fonts/editundo-hd.png"}
        game = harness.Game(with_data=False)
        self.addCleanup(game.stop)
        data_copy(game.folder, lambda rel: False if rel in gone else None)
        game.start()
        game.wait_window()
        game.activate()
        p = board.Player(game, "missing")
        time.sleep(SETTLE)
        # No board pictures: the playing screen is its clear colour where
        # the cells would be, and the game still runs and reacts.
        p.key("Return")
        time.sleep(SETTLE)
        img = p.shot(save="no-board")
        self.assertEqual(img.pixel(*board.cell_centre(2, 2)), (0, 0, 80))
        survives(self, game, keys=("Down", "Escape", "Return", "Left"))

    def test_damaged_pictures_and_sounds(self):
        def change(rel):
            if rel == "gfx-hd.png":
                return real(rel)[:len(real(rel)) // 2]     # cut in the middle
            if rel == "menu-hd.png":
                return b""                                # empty
            if rel == "BadgesA-hd.png":
                return real(rel)[:8] + noise(4000, 1)      # signature, then noise
            if rel == "common/icons-hd.png":
                return b"\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x7f\xff\xff\xff\x7f\xff\xff\xff"
            if rel == "sfx/099.wav":
                return ogg_cut_short()                    # Ogg data in a WAV's place
            if rel == "sfx/098.wav":
                return real(rel)[:30]                     # cut inside the header
            if rel == "sfx/001.wav":
                data = bytearray(real(rel))
                data[40:44] = b"\xff\xff\xff\x7f"          # data chunk far too long
                return bytes(data)
            if rel == "sfx/002.wav":
                return noise(3000, 2)
            return None

        game = harness.Game(with_data=False)
        self.addCleanup(game.stop)
        data_copy(game.folder, change)
        game.start()
        survives(self, game)


@harness.needs_display
class NoSoundDeviceTest(unittest.TestCase):

    def test_without_a_sound_device_the_game_says_so_and_plays_silently(self):
        if not os.path.isdir(os.path.join(harness.BUILD_DIR, "data")):
            self.skipTest("no generated data folder in the build folder")
        game = harness.Game()
        self.addCleanup(game.stop)
        conf = game.path("no-device.conf")
        with open(conf, "w") as f:
            f.write("[general]\ndrivers=no-such-driver\n")
        game.env["ALSOFT_CONF"] = conf
        game.start()
        game.wait_window()
        game.activate()
        p = board.Player(game, "silent")
        p.wait_title()
        self.assertIn("OpenAl error: alcOpenDevice failed", game.output().splitlines())
        p.key("Return")
        walker = board.Walker(p, board.KeyboardSteps(p), 4, max_steps=4)
        self.assertEqual(walker.play(), 4)
        self.assertTrue(game.running(), game.output())
        game.close()
        self.assertEqual(game.wait_exit(), 0, game.output())


if __name__ == "__main__":
    harness.main()
