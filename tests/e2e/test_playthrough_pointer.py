"""A whole game with the pointer only, from the title menu to the score in
its lists and the state file (see playthrough.py)."""

import board
import harness
from playthrough import MIN_STEPS, PAUSE_AT, PlayThrough


@harness.needs_display
class PointerPlayThroughTest(PlayThrough):

    def test_pointer_play_through(self):
        with harness.Game() as game:
            game.wait_window()
            game.activate()
            p = board.Player(game, "play-pointer")
            title = p.wait_title()
            p.press_at(*board.START_PRESS)
            walker = board.Walker(p, board.PointerSteps(p), MIN_STEPS)

            def pause_and_resume(step):
                if step != PAUSE_AT:
                    return
                p.press_at(*board.PAUSE_BUTTON)
                p.wait_panel()
                p.press_at(*board.RESUME_BUTTON)
                p.wait_panel_gone()

            walker.play(on_step=pause_and_resume)
            self.finish(p, walker, title)


if __name__ == "__main__":
    harness.main()
