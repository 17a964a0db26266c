"""The real window: its title and size, closing it, iconifying and restoring
it, and starting without a display."""

import os
import time
import unittest

import harness

# How long the game is left alone between steps, in seconds.
SETTLE = 1.0


@harness.needs_display
class WindowTest(unittest.TestCase):

    def test_window_is_titled_tesselon_and_measures_640_by_480(self):
        with harness.Game() as game:
            game.wait_window()
            self.assertEqual(game.title(), "Tesselon")
            self.assertEqual(game.size(), (640, 480))
            # Resizable: the window manager may give it another size.
            game.resize(800, 600)
            harness.wait_for(lambda: game.size() == (800, 600), 5, "the resize")
            self.assertTrue(game.running())

    def test_close_request_ends_with_status_0_and_saves_nothing(self):
        with harness.Game() as game:
            game.wait_window()
            time.sleep(SETTLE)
            game.close()
            self.assertEqual(game.wait_exit(), 0, game.output())
            self.assertFalse(os.path.exists(game.path(".vantixstate")))

    def test_iconify_then_restore_keeps_running(self):
        with harness.Game() as game:
            game.wait_window()
            time.sleep(SETTLE)
            game.minimize()
            harness.wait_for(game.iconified, 5, "the window to be iconified")
            time.sleep(SETTLE)
            self.assertTrue(game.running(), game.output())
            game.activate()
            harness.wait_for(lambda: not game.iconified(), 5, "the window to be restored")
            time.sleep(SETTLE)
            self.assertTrue(game.running(), game.output())
            game.close()
            self.assertEqual(game.wait_exit(), 0, game.output())


class NoDisplayTest(unittest.TestCase):

    def test_without_a_display_glfw_init_fails_with_status_255(self):
        with harness.Game(env={"DISPLAY": None, "WAYLAND_DISPLAY": None}) as game:
            self.assertEqual(game.wait_exit(), 255)
            self.assertIn("glfwInit failed\n", game.output())


if __name__ == "__main__":
    harness.main()
