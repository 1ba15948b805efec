#!/usr/bin/python3
# Save benchmark: time from the Ctrl+S key press in the real program until its " was saved! " reaches speech-dispatcher.
#
# Usage: python3 bench/save_latency.py [QUORREL]     (default build/bench/quorrel)
#   QUORREL_BENCH_SAVES=N   number of timed saves (default 50), after 3 untimed ones
#   QUORREL_BENCH_PAUSE=S   idle seconds between saves (default 0.3)
#   QUORREL_BENCH_FOLDER=D  folder that holds the saved game (default: the run's temporary folder)
#
# Method. The program runs in the end-to-end tests' private desktop (tests/e2e/harness.py: Xvfb,
# openbox, D-Bus, a private speech-dispatcher logging at level 5). After a deal, one Save As through
# the real file dialog gives the game a name; the dialog is not timed. Then each timed Save is:
# this script presses Ctrl+S through the XTest extension on its own X connection: Xlib buffers the
# requests and the XFlush that follows writes them to the X server. The clock is read just before
# that flush. The end is the time stamp of speech-dispatcher's log line "Queueing message |NAME was
# saved! |". The latency is that stamp minus the clock read. It covers the X server, Qt's key
# handling and menu shortcut, copying the table into the record, the crash-safe write (temporary
# file, fsync, rename, fsync of the folder), the speech worker and speech-dispatcher's reading of the
# text. The next Save starts only once the previous one has been logged, and after a pause, so that
# espeak-ng's synthesis of the last text does not compete for the processor.
#
# Error. Both ends are read from the system's real-time clock. The start is early by the time XFlush
# takes to reach its write(), a few microseconds. speech-dispatcher stamps its log line with
# gettimeofday() to the microsecond once it has read the whole command: late by at most some tens of
# microseconds. The table also shows how long the flush call took in all ("flush call"): a long one
# means this script was descheduled after the write, which does not delay the measured end. The
# machine is shared (2 cores), so the upper percentiles show other work too; the percentiles are
# nearest-rank, so with 50 saves the p99 is the largest. Nothing here is an assertion: the script
# only prints the table.
import ctypes
import os
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import harness  # noqa: E402
import test_files  # noqa: E402
from harness import CARD  # noqa: E402

GAME_NAME = "Partie été.qrl"
WAS_SAVED = " was saved! "
UNTIMED = 3


class XTestKeyboard:
    """Presses keys through XTest on a connection of its own, with the send time of each press."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(display.encode())
        if not self.display:
            raise harness.TestFailure("cannot open the X display " + display)

    def keycode(self, name):
        code = self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(name.encode()))
        if not code:
            raise harness.TestFailure("no key for " + name)
        return code

    def chord(self, modifier, key):
        """Presses modifier+key; returns the clock just before and just after the flush that sends the press."""
        mod, code = self.keycode(modifier), self.keycode(key)
        self.xtst.XTestFakeKeyEvent(self.display, mod, True, 0)
        self.xtst.XTestFakeKeyEvent(self.display, code, True, 0)
        before = time.time()
        self.x11.XFlush(self.display)
        after = time.time()
        self.xtst.XTestFakeKeyEvent(self.display, code, False, 0)
        self.xtst.XTestFakeKeyEvent(self.display, mod, False, 0)
        self.x11.XSync(self.display, False)
        return before, after

    def close(self):
        self.x11.XCloseDisplay(self.display)


def percentile(values, p):
    """Nearest-rank percentile."""
    ordered = sorted(values)
    rank = max(1, -(-len(ordered) * p // 100))
    return ordered[int(rank) - 1]


def saved_events(session, line):
    return [e for e in session.speech.events() if e.kind == "speak" and e.text == line]


def wait_for_saved(session, line, count, timeout=10.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = saved_events(session, line)
        if len(found) >= count:
            return found[count - 1]
        time.sleep(0.002)
    raise harness.TestFailure("save %d: %r was not queued within %.0f s" % (count, line, timeout))


def measure_save_latency(session):
    saves = int(os.environ.get("QUORREL_BENCH_SAVES", "50"))
    pause = float(os.environ.get("QUORREL_BENCH_PAUSE", "0.3"))
    folder = os.environ.get("QUORREL_BENCH_FOLDER") or os.path.join(session.root, "saved")
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, GAME_NAME)
    if os.path.exists(path):
        raise harness.TestFailure(path + " exists already; choose another folder")

    program = test_files.start(session)
    test_files.deal(session, program)
    program.key("ctrl+s")
    program.wait_for_active_window("Save As")
    test_files.enter_file_name(session, path)
    program.wait_for_title(GAME_NAME + " - Quorrel")
    test_files.wait_for_main_window_active(session, program)
    session.speech.mark()

    line = GAME_NAME + WAS_SAVED
    keyboard = XTestKeyboard(session.display)
    latencies, flushes = [], []
    try:
        for n in range(1, UNTIMED + saves + 1):
            time.sleep(pause)
            before, after = keyboard.chord("Control_L", "s")
            event = wait_for_saved(session, line, n)
            if n > UNTIMED:
                latencies.append((event.stamp - before) * 1000)
                flushes.append((after - before) * 1000)
    finally:
        keyboard.close()
        try:
            os.remove(path)
        except FileNotFoundError:
            pass
    # Besides the save lines, only the grid announcing itself again as the dialog closed.
    stray = [t for t in session.speech.texts()[session.speech.cursor:]
             if t not in (line, test_files.COLUMNS) and not CARD.matches(t)]
    if stray:
        raise harness.TestFailure("unexpected speech during the run: %r" % stray)

    print()
    print("Save (Ctrl+S to \"%s\" queued at speech-dispatcher), %d saves, %.1f s apart"
          % (line, saves, pause))
    print("  %-22s %8s %8s %8s %8s %8s" % ("", "min", "p50", "p90", "p99", "max"))
    for name, values in (("latency (ms)", latencies), ("flush call (ms)", flushes)):
        print("  %-22s %8.2f %8.2f %8.2f %8.2f %8.2f"
              % (name, min(values), percentile(values, 50), percentile(values, 90), percentile(values, 99),
                 max(values)))
    print("  mean %.2f ms, standard deviation %.2f ms; game file in %s" %
          (statistics.mean(latencies), statistics.stdev(latencies) if len(latencies) > 1 else 0.0, folder))


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.argv.append(os.path.join(HERE, "..", "build", "dev", "quorrel"))
    harness.main([measure_save_latency])
