"""The installed tree and the launcher's folder rules, without a display.

Without a display the game stops at once with "glfwInit failed" and status
255, after the launcher has prepared its folder; that status coming back
shows the launcher hands over with exec.
"""

import os
import struct
import subprocess
import unittest

import installed
from installed import harness

NO_DISPLAY_STATUS = 255
NO_DISPLAY_MESSAGE = "glfwInit failed"


def png_size(path):
    """(width, height, colour type) from a PNG's header chunk."""
    with open(path, "rb") as f:
        head = f.read(26)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        raise AssertionError("not a PNG: " + path)
    width, height = struct.unpack(">II", head[16:24])
    return width, height, head[25]


def desktop_entry(path):
    """The keys of the [Desktop Entry] group."""
    keys = {}
    group = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("["):
                group = line
            elif "=" in line and group == "[Desktop Entry]":
                key, _, value = line.partition("=")
                keys[key] = value
    return keys


class InstalledTreeTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.prefix = installed.temp_dir(cls, "prefix")
        installed.install(cls.prefix)

    def path(self, rel):
        return os.path.join(self.prefix, rel)

    def test_programs_and_data(self):
        for rel in (installed.LAUNCHER, installed.GAME):
            self.assertTrue(os.access(self.path(rel), os.X_OK), rel)
        with open(self.path(installed.LAUNCHER), "rb") as f:
            self.assertEqual(f.readline(), b"#!/bin/sh\n")
        data = self.path(installed.DATA)
        for rel in ("gfx.png", "menu-hd2.png", "zuno_font.png"):
            self.assertTrue(os.path.isfile(os.path.join(data, rel)), rel)
        self.assertTrue(os.listdir(os.path.join(data, "sfx")))
        self.assertFalse(os.path.exists(os.path.join(data, ".stamp")))
        # The window icon files the game reads from its data folder.
        for size in installed.ICON_SIZES:
            path = os.path.join(data, "icons", "tesselon-%d.png" % size)
            self.assertEqual(png_size(path)[:2], (size, size), path)

    def test_desktop_entry_is_valid_and_names_the_launcher_and_icon(self):
        path = self.path(installed.DESKTOP)
        result = subprocess.run(["desktop-file-validate", path], stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, timeout=30)
        # It reports hints and errors on its output; a clean entry prints nothing.
        self.assertEqual((result.returncode, result.stdout.decode()), (0, ""))
        entry = desktop_entry(path)
        self.assertEqual(entry["Type"], "Application")
        self.assertEqual(entry["Name"], "Tesselon")
        self.assertTrue(entry["Comment"])
        self.assertEqual(entry["Exec"].split()[0], os.path.basename(installed.LAUNCHER))
        self.assertEqual(entry["Icon"], installed.APP_ID)
        categories = entry["Categories"].rstrip(";").split(";")
        self.assertIn("Game", categories)
        self.assertIn("LogicGame", categories)

    def test_every_icon_at_its_size(self):
        for size in installed.ICON_SIZES:
            width, height, colour_type = png_size(self.path(installed.icon_path(size)))
            self.assertEqual((width, height), (size, size))
            self.assertEqual(colour_type, 6, "RGBA")  # transparent corners


class LauncherFolderTest(unittest.TestCase):
    """Where the launcher puts the player's folder, and its data link."""

    def setUp(self):
        self.prefix = installed.install(installed.temp_dir(self, "prefix"))
        self.launcher = os.path.join(self.prefix, installed.LAUNCHER)
        self.data = os.path.realpath(os.path.join(self.prefix, installed.DATA))
        self.home = installed.temp_dir(self, "home")
        self.start = installed.read_only_dir(self)

    def run_it(self, launcher=None, **env):
        return installed.run_launcher(launcher or self.launcher, self.start,
                                      installed.player_env(self.home, **env))

    def assert_game_ran_in(self, result, folder):
        status, out, err = result
        self.assertEqual(status, NO_DISPLAY_STATUS, out + err)
        self.assertIn(NO_DISPLAY_MESSAGE, out)
        link = os.path.join(folder, "tesselon", "data")
        self.assertEqual(os.readlink(link), self.data)
        self.assertEqual(os.listdir(self.start), [])

    def test_folder_from_xdg_data_home_or_home(self):
        default = os.path.join(self.home, ".local", "share")
        other = installed.temp_dir(self, "xdg")
        cases = [
            ("unset", {}, default),
            ("empty", {"XDG_DATA_HOME": ""}, default),
            ("relative", {"XDG_DATA_HOME": "games/share"}, default),
            ("dot", {"XDG_DATA_HOME": "."}, default),
            ("absolute", {"XDG_DATA_HOME": other}, other),
            ("absolute, not made yet", {"XDG_DATA_HOME": os.path.join(other, "a", "b")},
             os.path.join(other, "a", "b")),
        ]
        for name, env, folder in cases:
            with self.subTest(name):
                self.assert_game_ran_in(self.run_it(**env), folder)

    def test_folder_that_cannot_be_made(self):
        blocker = os.path.join(self.home, "file")
        with open(blocker, "w") as f:
            f.write("not a folder")
        cases = [
            ("below a file", {"XDG_DATA_HOME": os.path.join(blocker, "share")},
             os.path.join(blocker, "share", "tesselon")),
            ("no home", {"HOME": None}, "HOME"),
            ("relative home", {"HOME": "home"}, "HOME"),
        ]
        for name, env, mentioned in cases:
            with self.subTest(name):
                status, out, err = self.run_it(**env)
                self.assertEqual(status, 1, out + err)
                self.assertIn(mentioned, err)
                self.assertNotIn(NO_DISPLAY_MESSAGE, out, "the game must not start")
                self.assertEqual(os.listdir(self.start), [])

    def test_link_follows_a_moved_installation(self):
        folder = os.path.join(self.home, ".local", "share")
        self.assert_game_ran_in(self.run_it(), folder)
        # Move the whole installation: the old link now dangles.
        moved = os.path.join(installed.temp_dir(self, "moved"), "usr")
        os.rename(self.prefix, moved)
        self.prefix, self.data = moved, os.path.realpath(os.path.join(moved, installed.DATA))
        self.assert_game_ran_in(self.run_it(os.path.join(moved, installed.LAUNCHER)), folder)
        # A link elsewhere is replaced; the saved state next to it is kept.
        saves = os.path.join(folder, "tesselon")
        with open(os.path.join(saves, installed.STATE), "w") as f:
            f.write("kept")
        os.remove(os.path.join(saves, "data"))
        os.symlink(self.home, os.path.join(saves, "data"))
        self.assert_game_ran_in(self.run_it(os.path.join(moved, installed.LAUNCHER)), folder)
        with open(os.path.join(saves, installed.STATE)) as f:
            self.assertEqual(f.read(), "kept")

    def test_started_through_a_link_to_the_launcher(self):
        bin_dir = installed.temp_dir(self, "bin")
        link = os.path.join(bin_dir, "tesselon")
        os.symlink(self.launcher, link)
        self.assert_game_ran_in(self.run_it(link), os.path.join(self.home, ".local", "share"))

    def test_own_data_folder_is_left_alone(self):
        own = os.path.join(self.home, ".local", "share", "tesselon", "data")
        os.makedirs(own)
        with open(os.path.join(own, "mine.txt"), "w") as f:
            f.write("mine")
        status, out, err = self.run_it()
        self.assertEqual(status, NO_DISPLAY_STATUS, out + err)
        self.assertIn(own, err)
        self.assertEqual(os.listdir(own), ["mine.txt"])


if __name__ == "__main__":
    harness.main()
