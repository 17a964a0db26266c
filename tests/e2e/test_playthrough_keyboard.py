"""A whole game with the keyboard, from the loading screen to the score in
the title menu's lists and the state file (see playthrough.py)."""

import board
import harness
from playthrough import HELD_BACK, LOADING_CLEAR, copy_data_with_fifos, release
from playthrough import MIN_STEPS, PAUSE_AT, PlayThrough


@harness.needs_display
class KeyboardPlayThroughTest(PlayThrough):

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


if __name__ == "__main__":
    harness.main()
