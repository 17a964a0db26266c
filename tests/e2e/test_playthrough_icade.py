"""A whole game with an iCade cabinet: its switch pressed on the title menu,
then only the cabinet's letters on the character stream (see playthrough.py)."""

import time

import board
import harness
from playthrough import MIN_STEPS, PAUSE_AT, PlayThrough


@harness.needs_display
class ICadePlayThroughTest(PlayThrough):

    def test_icade_play_through(self):
        with harness.Game() as game:
            game.wait_window()
            game.activate()
            p = board.Player(game, "play-icade")
            p.wait_title()
            p.press_at(*board.ICADE_SWITCH)
            time.sleep(0.3)
            title = p.shot(save="title-icade")
            p.icade("Fire")
            walker = board.Walker(p, board.ICadeSteps(p), MIN_STEPS)

            def pause_and_resume(step):
                if step != PAUSE_AT:
                    return
                p.icade("Back")
                p.wait_panel()
                p.icade("Fire")
                p.wait_panel_gone()

            walker.play(on_step=pause_and_resume)
            self.finish(p, walker, title)


if __name__ == "__main__":
    harness.main()
