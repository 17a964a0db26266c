"""The installed game as a player meets it: started through the launcher
from a read-only folder, it keeps its state in the player's data folder."""

import os
import unittest

import installed
from installed import harness


@harness.needs_display
class InstalledGameTest(unittest.TestCase):

    def setUp(self):
        prefix = installed.install(installed.temp_dir(self, "prefix"))
        self.launcher = os.path.join(prefix, installed.LAUNCHER)
        self.home = installed.temp_dir(self, "home")
        self.saves = os.path.join(self.home, ".local", "share", "tesselon")

    def test_saves_in_the_home_data_folder(self):
        installed.play_twice(self, self.launcher, installed.player_env(self.home), self.saves)

    def test_relative_xdg_data_home_is_ignored(self):
        env = installed.player_env(self.home, XDG_DATA_HOME="relative/share")
        installed.play_twice(self, self.launcher, env, self.saves)


if __name__ == "__main__":
    harness.main()
