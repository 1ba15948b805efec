#!/usr/bin/python3
# Benchmark: the time from Ctrl+= (Faster) in the real program to the rate command speech-dispatcher receives,
# and the rate sent again on the connection to a restarted server.
"""The rate setting on its way to speech-dispatcher, under Xvfb with a private speech-dispatcher.

Usage: python3 bench/rate.py PATH_TO_QUORREL [RESTARTS]   (RESTARTS defaults to 10)
With QUORREL_E2E_KEEP=1 the temporary folder is kept, with speech-dispatcher's last log.

The keys are typed through XTEST as bench/latency.py types them, and t0 is taken the same way, just
before the key press is flushed to the X server. speech-dispatcher runs at log level 5, which logs
every SSIP command it reads ("SET SELF RATE 10" among them) and every queued text, each with a stamp
of the same clock in microseconds.
  1. Ctrl+= ten times (rates 10 to 100), then Ctrl+minus ten times (back to 0): for each key, the time
     to the "SET SELF RATE N" the server read, and to its sample (" Faster " or " Slower ") queued.
     A further Ctrl+= at the top says " This is the fastest speech. " and must send no rate.
  2. Ctrl+= three times (rate 30), then RESTARTS times: the server is stopped and a new one started on
     the same socket with a new log; F2 (the key list) then reaches the new server on a new
     connection, which must be told "SET SELF RATE 30" before the key list is queued. The time is
     from F2 to that command; it includes the program's finding that the old connection is gone and
     its new connection. The restarts are RETRY apart: the program looks for a server again at most
     once every two seconds (main.cpp), and a restart within two seconds of its last connection is
     reported to the player as a lost server, in a message box, by design.
Each rate command must carry the rate expected, in the order expected. A stamp in the first
milliseconds of a second may be a second early (speech-dispatcher takes the second from time() and
the microseconds from gettimeofday()); such a stamp, before the key, is moved on by one second.
"""

import os
import re
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
sys.path.insert(0, HERE)
import harness  # noqa: E402
from harness import TestFailure  # noqa: E402
from latency import main_in_session, percentile  # noqa: E402

_IN_DBUS = "QUORREL_RATE_IN_DBUS"
_RATE = re.compile(rb"SET SELF RATE (-?\d+)")
RETRY = 2.1  # the program's retry interval (main.cpp) and a little more
KEY_LIST_FIRST = "Use the tab key to move between the 3 grids. "


def rate_commands(path, start):
    """[(rate, stamp)] of the rate commands in speech-dispatcher's log after byte offset start."""
    with open(path, "rb") as f:
        f.seek(start)
        data = f.read()
    found = []
    for line in data.split(b"\n"):
        m = _RATE.search(line)
        stamp = harness._entry_stamp(line) if m else None
        if m and stamp is not None:
            found.append((int(m.group(1)), stamp))
    return found


def log_size(session):
    return os.path.getsize(session.speech.path)


def mended(stamp, t0):
    return stamp + 1.0 if t0 - 1.0 <= stamp < t0 else stamp


def press_and_wait(session, keyboard, name, said, ctrl=False, timeout=10):
    """Types the key; returns (t0, the stamp of the text said queued, the log's size before the key)."""
    start, offset = len(session.speech.said()), log_size(session)
    t0 = keyboard.press(name, ctrl=ctrl)
    for _ in harness._deadline_loop(timeout, 0.02):
        new = [e for e in session.speech.said()[start:] if e.kind == "speak" and e.text == said]
        if new:
            return t0, new[0].stamp, offset
    raise TestFailure("%s: %r was not queued within %d s" % (name, said, timeout))


def one_rate(session, offset, t0, expected, what):
    commands = rate_commands(session.speech.path, offset)
    if [rate for rate, _ in commands] != [expected]:
        raise TestFailure("%s: the server was told the rates %r, expected [%d]" % (what, commands, expected))
    return mended(commands[0][1], t0) - t0


def step(session, keyboard, ctrl_key, said, rate):
    t0, queued, offset = press_and_wait(session, keyboard, ctrl_key, said, ctrl=True)
    to_rate = one_rate(session, offset, t0, rate, "Ctrl+" + ctrl_key)
    time.sleep(0.1)
    return to_rate, queued - t0


def report(title, values):
    ms = sorted(v * 1000 for v in values)
    print("%-44s %3d  p50 %7.2f  p90 %7.2f  max %7.2f ms"
          % (title, len(ms), percentile(ms, 50), percentile(ms, 90), ms[-1]))


def run(session, keyboard, restarts):
    begun = time.monotonic()
    program = session.start_program_and_welcome()
    program.activate()
    to_rate, to_sample = [], []
    for key, said, rates in (("equal", " Faster ", range(10, 101, 10)), ("minus", " Slower ", range(90, -1, -10))):
        if key == "minus":
            offset = log_size(session)
            press_and_wait(session, keyboard, "equal", " This is the fastest speech. ", ctrl=True)
            if rate_commands(session.speech.path, offset):
                raise TestFailure("Ctrl+= at the fastest sent a rate")
        for rate in rates:
            a, b = step(session, keyboard, key, said, rate)
            to_rate.append(a)
            to_sample.append(b)
    report("Ctrl+= / Ctrl+minus to SET SELF RATE", to_rate)
    report("Ctrl+= / Ctrl+minus to its sample queued", to_sample)
    for rate in (10, 20, 30):
        step(session, keyboard, "equal", " Faster ", rate)
    again, first_words = [], []
    for _ in range(restarts):
        session.restart_speech()
        t0, queued, _ = press_and_wait(session, keyboard, "F2", KEY_LIST_FIRST)
        to_rate = one_rate(session, 0, t0, 30, "F2 after a restart")
        if mended(queued, t0) - t0 < to_rate:
            raise TestFailure("the key list was queued before the rate was set again")
        again.append(to_rate)
        first_words.append(mended(queued, t0) - t0)
        time.sleep(RETRY)
    report("F2 after a restart to SET SELF RATE 30", again)
    report("F2 after a restart to the key list queued", first_words)
    print("run time %.0f s" % (time.monotonic() - begun))


def main():
    main_in_session("rate benchmark", "[RESTARTS]", _IN_DBUS, 10, run)


if __name__ == "__main__":
    main()
