#!/usr/bin/python3
# Benchmark: the keys a player needs and the words heard for each move of whole games, in four ways of playing,
# each also with Brief Speech on.
"""Keys and listening a move, over whole games played by quorrel-solve's way home.

Usage: python3 bench/keys.py PATH_TO_QUORREL [--deals A-B] [--play N,...] [--play-direct N,...]
                             [--play-safe N,...] [--play-today N,...] [--play-brief N,...]
                             [--play-today-brief N,...] [--no-play]
  --deals A-B      the numbered deals counted (default 1-200)
  --play N,...     the deals typed into the real program with the direct keys, runs and safe cards home
                   (default 1,2); --play-direct the deals typed with the direct keys alone (default 1),
                   --play-safe with the direct keys and safe cards home, without runs (default 1);
                   --play-today the deals typed with today's keys (default none: some 800 keys a game);
                   --play-brief the deals typed with the direct keys, runs, safe cards home and Brief
                   Speech (default 1); --play-today-brief with today's keys and Brief Speech
                   (default none)
  --no-play        only the count, without the real program
quorrel_keys is taken from the build folder of PATH_TO_QUORREL (bench/quorrel_keys), and espeak-ng
(Debian's espeak-ng) measures the speech when it is installed.

The count. For each deal, quorrel_keys deals it by its number on the in-memory platform, takes the
solver's way home (the moves `quorrel-solve --deal N` prints, one card at a time) and plays it through
the game's own key and menu handlers, planning each move's keys from the table and cursors the game
really has, with the fewest keys the commands allow:
  today    Tab and Shift+Tab between the grids, the arrow keys, F5 and F6 (the bottom row's previous
           and next card, which put the column cursor on a column's bottom card), Enter to pick up and
           Enter to drop;
  direct   a column's digit, Alt and a free cell's number, F (to a free cell), H (home), Space (the
           card's best place), one card at a time, with Move Safe Cards Home off;
  safe     the same with Move Safe Cards Home on (see runs);
  runs     the same with Shift and a column's digit for a run, and Move Safe Cards Home on: a solver's
           move of a card already home is left out, a stretch of the solver's moves that only carries
           a run from one column to another is one Shift+digit, and when a move is no longer legal (its
           column's bottom card went home by itself) the solver searches again from the game's table;
and each of the four again with the option Brief Speech on (the same keys, fewer words).
After each command the table must be the one planned (the home cells compared as a set: any ace may
start any home cell), and the game must end with 52 cards home. Every figure is divided by the
solver's moves for the deals (about 127 a game), the same in every way. The characters are those of
every text the keys send to speech-dispatcher, blanks included, from the first key to the last: what a
key says after its own last stop (what it says before that is dropped unsent, as the F5 and F6 keys'
first cell); the box at the end of the game, the same in every way, is not counted. The listening time
is what espeak-ng, at its default voice and rate (175 words a minute), takes to say each text on its
own, silences before and after included, so it is an upper bound of what a player at that rate hears;
without espeak-ng it is estimated from the rate (six characters a word).

The real program. For the deals of --play, --play-direct, --play-safe and --play-today, the keys that quorrel_keys pressed are typed into the real program under Xvfb with a
private speech-dispatcher (tests/e2e/harness.py), one at a time, each after the words of the one
before have been queued; the texts queued must be those quorrel_keys heard, in the same order, and
the game must end with the box "The game is over!", answered No.

Exit status: 0 when every game was won as planned and the real program said the same words; 1 if not.
"""

import os
import subprocess
import sys
import tempfile
import time
import wave

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402
from harness import TestFailure  # noqa: E402

_IN_DBUS = "QUORREL_E2E_IN_DBUS"
MODES = [("today", "today's keys"), ("direct", "direct keys"), ("safe", "direct keys, safe cards home"),
         ("runs", "direct keys, runs, safe cards home")]
MODES += [(mode + "-brief", title + ", brief") for mode, title in MODES]
DEAL_DIALOG = "Deal Game Number"
DEAL_LABEL = "Game number, from 1 to 1000000:"
GAME_OVER = "The game is over!"
# Targets of the direct keys: keys a move, and characters heard a move (half of today's measured by the
# first model of the keys, 116).
TARGETS = {"direct": 2.0, "runs": 1.0}
CHARS_TARGET = 58


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"t": "\t", "n": "\n", "r": "\r"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def count(keys_program, mode, deals):
    """The totals of one way of playing over the deals, and {text: times heard}; raises on a failure."""
    done = subprocess.run([keys_program, "--mode", mode, "--deals", deals, "--texts"],
                          capture_output=True, text=True)
    if done.returncode != 0:
        raise TestFailure(done.stderr.strip() or "quorrel_keys ended with status %d" % done.returncode)
    totals, texts = None, {}
    for line in done.stdout.splitlines():
        if line.startswith("mode "):
            words = line.split()
            totals = {words[i]: words[i + 1] for i in range(0, len(words), 2)}
        elif line.startswith("text "):
            _, _, times, escaped = line.split(" ", 3)
            texts[unescape(escaped)] = int(times)
    return totals, texts


class Speech:
    """Seconds espeak-ng takes to say a text, each text synthesised once, at its default rate (175 words
    a minute) or at wpm words a minute."""

    def __init__(self, wpm=None):
        self.espeak = subprocess.run(["which", "espeak-ng"], capture_output=True).returncode == 0
        self.rate = ["-s", str(wpm)] if wpm else []
        self.wpm = wpm or 175
        self.seconds = {}

    def __call__(self, text):
        if text not in self.seconds:
            if self.espeak:
                with tempfile.NamedTemporaryFile(suffix=".wav") as wav:
                    subprocess.run(["espeak-ng", "-w", wav.name] + self.rate + ["--", text], check=True)
                    with wave.open(wav.name) as w:
                        self.seconds[text] = w.getnframes() / w.getframerate()
            else:
                self.seconds[text] = len(text) / 6 / self.wpm * 60
        return self.seconds[text]


def script(keys_program, mode, deal):
    """[(xdotool key, [texts])] of one game."""
    out = subprocess.run([keys_program, "--mode", mode, "--deal", str(deal), "--script"],
                         capture_output=True, text=True)
    if out.returncode != 0:
        raise TestFailure(out.stderr.strip())
    keys = []
    for line in out.stdout.splitlines():
        if line.startswith("key "):
            fields = line[4:].split("\t")
            keys.append((fields[0], [unescape(f) for f in fields[1:]]))
    return keys


def play(binary, keys_program, mode, deal):
    """Types one game into the real program; returns the number of keys typed. Raises TestFailure when
    the words differ or the game is not won."""
    keys = script(keys_program, mode, deal)
    session = harness.Session(binary)
    try:
        program = session.start_program_and_welcome()
        speech = session.speech
        keys_mode = mode.removesuffix("-brief")
        if keys_mode in ("safe", "runs"):
            # Options, Move Safe Cards Home.
            program.key("alt+o")
            time.sleep(0.5)
            program.key("h")
            time.sleep(0.5)
        if mode != keys_mode:
            # Options, Brief Speech.
            program.key("alt+o")
            time.sleep(0.5)
            program.key("r")
            time.sleep(0.5)
        speech.mark()
        program.key("ctrl+g")
        speech.wait_for(lambda t: DEAL_LABEL in t, 15, "the deal dialog")
        program.wait_for_active_window(DEAL_DIALOG)
        program.key(*list(str(deal)), "Return")
        number = " Game number  %d" % deal
        speech.know(number)
        speech.wait_for(lambda t: number in t, 30, "the game's number")
        program.wait_for_title("Untitled.qrl - Quorrel")
        time.sleep(0.3)
        speech.know(*{text for _, texts in keys for text in texts})
        speech.mark()
        for n, (key, texts) in enumerate(keys, 1):
            program.key(key)
            want = "".join(texts)
            got = []

            def said(new):
                # Enough texts to hold the key's words, or more words than it should say.
                got[:] = new
                return len("".join(new)) >= len(want)
            if want:
                speech.wait_for(said, 15, "the words of key %d (%s): %r" % (n, key, texts))
            else:
                time.sleep(0.3)
                got = speech.texts()[speech.cursor:]
            joined, used = "", 0
            while used < len(got) and len(joined) < len(want):
                joined += got[used]
                used += 1
            if joined != want:
                raise TestFailure("key %d (%s): the program said %r, the count heard %r" % (n, key, got, texts))
            if got[:used] != texts:
                print("  key %d (%s): the same words split otherwise: %r, counted %r" % (n, key, got[:used], texts))
            speech.cursor += used
        speech.wait_for(lambda t: any(GAME_OVER in x for x in t), 15, "the box at the end of the game")
        extra = speech.texts()[speech.cursor:]
        if not extra or GAME_OVER not in extra[0]:
            raise TestFailure("after the last key and before the box: %r" % extra)
        program.wait_for_box()
        program.key("alt+n")
        if program.wait_exit() != 0:
            raise TestFailure("the program ended badly after No")
        return len(keys)
    except Exception:
        if session.speech:
            print(session.speech.transcript()[-3000:])
        raise
    finally:
        session.close(keep=os.environ.get("QUORREL_E2E_KEEP") == "1")


def main():
    args = sys.argv[1:]
    if not args or args[0].startswith("-"):
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        sys.exit(2)
    binary = os.path.abspath(args[0])
    options = {"--deals": "1-200", "--play": "1,2", "--play-direct": "1", "--play-safe": "1", "--play-today": "",
               "--play-brief": "1", "--play-today-brief": ""}
    played = True
    i = 1
    while i < len(args):
        if args[i] == "--no-play":
            played = False
            i += 1
        elif args[i] in options and i + 1 < len(args):
            options[args[i]] = args[i + 1]
            i += 2
        else:
            print("unknown option: " + args[i], file=sys.stderr)
            sys.exit(2)
    keys_program = os.path.join(os.path.dirname(binary), "bench", "quorrel_keys")
    if played and os.environ.get(_IN_DBUS) != "1" and not harness.missing_prerequisites():
        sys.stdout.flush()
        env = dict(os.environ, **{_IN_DBUS: "1"})
        os.execvpe("dbus-run-session", ["dbus-run-session", "--", sys.executable, os.path.abspath(sys.argv[0])]
                   + sys.argv[1:], env)

    failed = False
    speech = Speech()
    first, last = (int(n) for n in options["--deals"].split("-"))
    games = last - first + 1
    rows = []
    for mode, title in MODES:
        try:
            totals, texts = count(keys_program, mode, options["--deals"])
        except TestFailure as error:
            print("%s: %s" % (title, error))
            failed = True
            rows.append((mode, title, None))
            continue
        moves = int(totals["moves"])
        minutes = sum(times * speech(text) for text, times in texts.items()) / games / 60
        rows.append((mode, title, (int(totals["keys"]) / moves, int(totals["keys"]) / games,
                                   int(totals["chars"]) / moves, minutes, int(totals["resolved"]), moves,
                                   int(totals["skipped"]), int(totals["runs"]), int(totals["run_moves"]))))
    print("\nDeals %s, %s solver moves a game; listening %s.\n"
          % (options["--deals"], next(("%.1f" % (r[2][5] / games) for r in rows if r[2]), "?"),
             "measured with espeak-ng at its default rate" if speech.espeak else "estimated at 175 words a minute"))
    print("| | keys a move | keys a game | characters heard a move | listening a game (minutes) |")
    print("|---|---|---|---|---|")
    for mode, title, figures in rows:
        if figures is None:
            print("| %s | failed | | | |" % title)
        else:
            print("| %s | %.2f | %.0f | %.0f | %.1f |" % ((title,) + figures[:4]))
    for mode, title, figures in rows:
        if figures and (figures[4] or figures[6] or figures[7]):
            print("%s: %d of the solver's %d moves left out (their card already home), %d Shift+digit moves in "
                  "place of %d, %d new searches (a move no longer legal)."
                  % (title, figures[6], figures[5], figures[7], figures[8], figures[4]))
    for mode, target in TARGETS.items():
        figures = next((r[2] for r in rows if r[0] == mode), None)
        if figures:
            print("%s: %.2f keys a move (target %.1f: %s), %.0f characters a move (target %d: %s)"
                  % (mode, figures[0], target, "met" if figures[0] <= target else "NOT met",
                     figures[2], CHARS_TARGET, "met" if figures[2] <= CHARS_TARGET else "NOT met"))

    if played:
        missing = harness.missing_prerequisites()
        if missing:
            print("the games in the real program were skipped: they need " + ", ".join(missing))
        else:
            games_to_play = [("runs", int(n)) for n in options["--play"].split(",") if n]
            games_to_play += [("direct", int(n)) for n in options["--play-direct"].split(",") if n]
            games_to_play += [("safe", int(n)) for n in options["--play-safe"].split(",") if n]
            games_to_play += [("today", int(n)) for n in options["--play-today"].split(",") if n]
            games_to_play += [("runs-brief", int(n)) for n in options["--play-brief"].split(",") if n]
            games_to_play += [("today-brief", int(n)) for n in options["--play-today-brief"].split(",") if n]
            for mode, deal in games_to_play:
                start = time.monotonic()
                try:
                    typed = play(binary, keys_program, mode, deal)
                    print("real program, deal %d, %s: won, %d keys, the same words (%.0f s)"
                          % (deal, mode, typed, time.monotonic() - start))
                except Exception as error:  # noqa: BLE001 -- reported, and the run fails
                    print("real program, deal %d, %s: FAILED: %s" % (deal, mode, error))
                    failed = True
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
