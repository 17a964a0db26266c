"""Sound proven by the mix itself: OpenAL Soft's wave backend writes the real
output of the game to a WAV file in real time. The menu clicks and the
board-step ticks must start in it within 100 ms of the key presses that
caused them, and with the sound switched off nothing at all may play."""

import os
import struct
import threading
import time
import unittest

import board
import harness

# An onset is the first sample louder than this (full scale 1.0), and the
# mix must be quieter than it just before a press.
LOUD = 0.01
# A sound may start this long after its key press. The press happened while
# xdotool ran, so it is known to lie between two times; and the backend
# mixes a block of about 23 ms at once when its time is up, which can place a
# sound up to one block before the moment it was started.
LATE = 0.100
EARLY = 0.030
QUIET_BEFORE = 0.15
GAP = 0.6  # seconds between presses, longer than any effect


def write_conf(folder, wav):
    conf = os.path.join(folder, "wave-audio.conf")
    with open(conf, "w") as f:
        f.write("[general]\ndrivers=wave\nfrequency=44100\nchannels=stereo\n"
                "sample-type=float32\n[wave]\nfile=%s\n" % wav)
    return conf


def parse_header(data):
    """(channels, rate, bits, format, offset of the samples) of a WAV head."""
    if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        return None
    pos = 12
    fmt = None
    while pos + 8 <= len(data):
        tag, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        if tag == b"fmt ":
            if pos + 24 > len(data):
                return None
            code, channels, rate = struct.unpack("<HHI", data[pos + 8:pos + 16])
            bits = struct.unpack("<H", data[pos + 22:pos + 24])[0]
            if code == 0xFFFE and pos + 34 <= len(data):
                code = struct.unpack("<H", data[pos + 32:pos + 34])[0]
            fmt = (channels, rate, bits, code)
        elif tag == b"data":
            return fmt + (pos + 8,) if fmt else None
        pos += 8 + size + (size & 1)
    return None


def read_mix(path):
    """Rate and per-frame peak amplitude (0 to 1) of the whole written mix."""
    with open(path, "rb") as f:
        data = f.read()
    channels, rate, bits, code, offset = parse_header(data)
    body = data[offset:]
    width = bits // 8
    n = len(body) // (width * channels) * channels
    if code == 3 and bits == 32:
        samples = struct.unpack("<%df" % n, body[:n * 4])
        scale = 1.0
    elif bits == 16:
        samples = struct.unpack("<%dh" % n, body[:n * 2])
        scale = 1.0 / 32768
    else:
        raise AssertionError("unexpected WAV format %r" % ((code, bits),))
    peaks = [max(abs(s) for s in samples[i:i + channels]) * scale
             for i in range(0, n, channels)]
    return rate, peaks


class MixClock:
    """Watches the WAV file grow to find the moment its first frame was due:
    the backend writes each block once its time has come, so the earliest of
    (now - frames written / rate) over many looks is that moment."""

    def __init__(self, path):
        self.path = path
        self.start = None
        self._stop = False
        self._thread = threading.Thread(target=self._watch, daemon=True)
        self._thread.start()

    def _watch(self):
        head = None
        while not self._stop:
            try:
                size = os.path.getsize(self.path)
                now = time.monotonic()
                if head is None:
                    with open(self.path, "rb") as f:
                        head = parse_header(f.read(4096))
                if head:
                    channels, rate, bits, _, offset = head
                    frames = (size - offset) // (channels * bits // 8)
                    if frames > 0:
                        t = now - frames / rate
                        self.start = t if self.start is None else min(self.start, t)
            except OSError:
                pass
            time.sleep(0.002)

    def stop(self):
        self._stop = True
        self._thread.join()


def onset_after(rate, peaks, t, until):
    for i in range(max(0, int(t * rate)), min(len(peaks), int(until * rate))):
        if peaks[i] > LOUD:
            return i / rate
    return None


def loudest(rate, peaks, t0, t1):
    part = peaks[max(0, int(t0 * rate)):max(0, int(t1 * rate))]
    return max(part) if part else 0.0


@harness.needs_display
class SoundTest(unittest.TestCase):

    def setUp(self):
        if not os.path.isdir(os.path.join(harness.BUILD_DIR, "data")):
            self.skipTest("no generated data folder in the build folder")

    def start(self):
        game = harness.Game()
        self.addCleanup(game.stop)
        wav = game.path("mix.wav")
        game.env["ALSOFT_CONF"] = write_conf(game.folder, wav)
        game.start()
        clock = MixClock(wav)
        self.addCleanup(clock.stop)
        game.wait_window()
        game.activate()
        p = board.Player(game, "sound")
        p.wait_title()
        time.sleep(0.5)  # the title menu's own slide-in is silent; let it finish
        return game, p, wav, clock

    def press(self, p, key):
        """Holds a key; returns the times (monotonic seconds) between which
        it went down."""
        w = p.game.window
        before = time.monotonic()
        harness.run("xdotool", "keydown", "--window", w, key)
        at = (before, time.monotonic())
        time.sleep(float(board.KEY_HOLD))
        harness.run("xdotool", "keyup", "--window", w, key)
        return at

    def steps(self, p, count):
        """Takes count steps onto free cells; returns the press times."""
        times = []
        screen = p.wait_still_board()
        for _ in range(count):
            x, y = screen.player()
            name = next(n for n, (dx, dy) in board.MOVES.items() if screen.free(x + dx, y + dy))
            time.sleep(GAP)
            times.append(self.press(p, name))
            target = (x + board.MOVES[name][0], y + board.MOVES[name][1])
            screen = harness.wait_for(
                lambda: (lambda s: s if s.player() == target else None)(
                    board.Screen(p.shot())), 5, "the step")
        return times

    def end(self, game, wav, clock):
        time.sleep(GAP)
        game.close()
        self.assertEqual(game.wait_exit(), 0, game.output())
        clock.stop()
        self.assertIsNotNone(clock.start, "the wave backend wrote nothing")
        rate, peaks = read_mix(wav)
        return rate, peaks, clock.start

    def test_clicks_and_ticks_start_with_their_key_presses(self):
        game, p, wav, clock = self.start()
        presses = [("start click", self.press(p, "Return"))]
        presses += [("step tick %d" % i, t) for i, t in enumerate(self.steps(p, 5))]
        time.sleep(GAP)
        presses.append(("pause click", self.press(p, "Escape")))
        p.wait_panel()
        rate, peaks, start = self.end(game, wav, clock)

        for what, (before, after) in presses:
            t0, t1 = before - start, after - start
            with self.subTest(what=what):
                self.assertLess(loudest(rate, peaks, t0 - QUIET_BEFORE, t0 - EARLY), LOUD,
                                "sound before the press")
                onset = onset_after(rate, peaks, t0 - EARLY, t1 + 1.0)
                self.assertIsNotNone(onset, "nothing played")
                self.assertLessEqual(onset - t1, LATE, "%.0f ms late" % (1000 * (onset - t1)))

    def test_nothing_plays_with_the_sound_switched_off(self):
        game, p, wav, clock = self.start()
        # The iCade switch clicks while the sound is still on: on and off.
        p.press_at(*board.ICADE_SWITCH)
        clicked = time.monotonic()
        time.sleep(GAP)
        p.press_at(*board.ICADE_SWITCH)
        time.sleep(GAP)
        p.press_at(*board.SOUND_SWITCH)
        off = time.monotonic()
        time.sleep(GAP)
        self.press(p, "Return")
        self.steps(p, 3)
        time.sleep(GAP)
        self.press(p, "Escape")
        p.wait_panel()
        rate, peaks, start = self.end(game, wav, clock)
        # Anything the switch's own press let out has ended by then.
        self.assertGreater(len(peaks) / rate, off - start + 2)
        self.assertGreater(loudest(rate, peaks, clicked - start - 0.5, clicked - start + 0.5),
                           LOUD, "the click before the switch did not play")
        self.assertEqual(loudest(rate, peaks, off - start + 0.3, len(peaks) / rate), 0.0)


if __name__ == "__main__":
    harness.main()
