#!/usr/bin/python3
# Benchmark: minutes of listening a game at speech-dispatcher's default rate and at its fastest, timed by espeak-ng.
"""How long a game's speech lasts at the rate 0 (the default) and at the rate +100 (the fastest).

Usage: python3 bench/listening.py PATH_TO_QUORREL [--deals A-B] [--modes M,...]
  --deals A-B   the numbered deals (default 1-200)
  --modes M,... the ways of playing of bench/keys.py (default all eight: today, direct, safe, runs and
                each with -brief)

The words. bench/quorrel_keys plays each deal along quorrel-solve's way home through the game's own
handlers on the in-memory platform, in each way of playing, and lists every distinct text the keys
send to speech-dispatcher with the times it is sent (its --texts output, read by bench/keys.py).

The timing. speech-dispatcher's espeak-ng module turns a rate r from -100 to 100 into words a minute
for espeak-ng: EspeakNormalRate + (EspeakMaxRate - EspeakNormalRate) * r / 100 for r >= 0, with the two
values from the installed module's configuration (/etc/speech-dispatcher/modules/espeak-ng.conf:
170 and 449 on Debian 12), and hands it to espeak_SetParameter(espeakRATE), the rate `espeak-ng -s`
sets. Each distinct text is synthesised once at each rate with `espeak-ng -w FILE.wav -s WPM` (its
default voice, as the module's for English), and its time is the WAV's length, silences before and
after included; a game's listening is the sum over the texts heard, each as often as it is heard,
divided by the deals. Every text is said to its end: a player who presses the next key earlier cuts
it off, so this is an upper bound of what a player hears.
"""

import concurrent.futures
import os
import re
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from harness import TestFailure  # noqa: E402
from keys import MODES, Speech, count  # noqa: E402

MODULE_CONF = "/etc/speech-dispatcher/modules/espeak-ng.conf"


def module_rates(path=MODULE_CONF):
    """(words a minute at rate 0, at rate +100) as the module computes them from its configuration."""
    values = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = re.match(r"\s*(EspeakNormalRate|EspeakMaxRate)\s+(\d+)", line)
            if m:
                values[m.group(1)] = int(m.group(2))
    if len(values) != 2:
        raise TestFailure("%s sets no EspeakNormalRate or EspeakMaxRate" % path)

    def wpm(rate):
        return values["EspeakNormalRate"] + (values["EspeakMaxRate"] - values["EspeakNormalRate"]) * rate // 100

    return wpm(0), wpm(100)


def main():
    args = sys.argv[1:]
    if not args or args[0].startswith("-"):
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        sys.exit(2)
    options = {"--deals": "1-200", "--modes": ",".join(mode for mode, _ in MODES)}
    for name, value in zip(args[1::2], args[2::2]):
        if name not in options:
            print("unknown option: " + name, file=sys.stderr)
            sys.exit(2)
        options[name] = value
    begun = time.monotonic()
    keys_program = os.path.join(os.path.dirname(os.path.abspath(args[0])), "bench", "quorrel_keys")
    first, last = (int(n) for n in options["--deals"].split("-"))
    games = last - first + 1
    slow, fast = module_rates()
    speeches = {wpm: Speech(wpm) for wpm in (slow, fast)}
    if not speeches[slow].espeak:
        print("espeak-ng is not installed (Debian's espeak-ng): the times would be estimates")
        sys.exit(1)
    titles = dict(MODES)
    heard = {mode: count(keys_program, mode, options["--deals"])[1] for mode in options["--modes"].split(",")}
    counted = time.monotonic()
    texts = sorted({text for mode_texts in heard.values() for text in mode_texts})
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        for speech in speeches.values():
            list(pool.map(speech, texts))
    print("\nDeals %s; %d distinct texts; espeak-ng at %d words a minute (rate 0) and %d (rate +100), from %s.\n"
          % (options["--deals"], len(texts), slow, fast, MODULE_CONF))
    print("| | characters heard a game | listening a game at rate 0 (minutes) | at rate +100 (minutes) |")
    print("|---|---|---|---|")
    for mode, mode_texts in heard.items():
        chars = sum(len(text) * times for text, times in mode_texts.items()) / games
        minutes = [sum(speeches[wpm](text) * times for text, times in mode_texts.items()) / games / 60
                   for wpm in (slow, fast)]
        print("| %s | %.0f | %.1f | %.1f |" % (titles[mode], chars, minutes[0], minutes[1]))
    print("\ncounting %.0f s, synthesis %.0f s, run time %.0f s"
          % (counted - begun, time.monotonic() - counted, time.monotonic() - begun))


if __name__ == "__main__":
    main()
