#!/usr/bin/python3
# Killed saves: kills a saving program with SIGKILL at random moments and counts what each kill left.
#
# Usage: python3 bench/kill_save.py [--runs N] [--named] [--tail BYTES] [--folder DIR] [SAVE_LOOP]
#   SAVE_LOOP   the driver, default build/bench/bench/quorrel_save_loop
#   --runs N    number of kills (default 200)
#   --named     make the driver's new files named from the start, as where the file system has no
#               unnamed files (O_TMPFILE)
#   --tail B    give the game file B bytes after its record first (default 0), so each save copies them
#   --folder D  the folder of the game file (default: a new temporary folder)
#
# Method. The driver (bench/save_loop.cpp) runs the real Save command of the game on the in-memory
# window with the real file system, again and again on one file, each time on a newly dealt table. It
# prints "saving HASH" before each save and "saved HASH" after it. Each run of the driver is killed
# after a random wait of 0 to 40 ms, measured from its first completed save. After the kill, the
# script looks at the folder before the next run starts:
# - the game file must hold the record of the last completed save or of the save under way (its hash),
#   and exactly the tail it was given; anything else counts as corrupt;
# - every other name in the folder counts as a leftover at that moment. A save removes what killed
#   saves left beside its file, so the figure that matters is what stays: after the last kill, one
#   more run is killed right after its first completed save, and what is in the folder then is
#   "left at the end".
# Nothing here is an assertion: the script prints its counts.
import argparse
import os
import random
import signal
import subprocess
import sys
import tempfile
import threading
import time

RECORD = 599


def fnv(data):
    value = 14695981039346656037
    for byte in data:
        value = ((value ^ byte) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return "%016x" % value


class Run:
    """One run of the driver, whose output is read as it comes so that it never waits on the pipe."""

    def __init__(self, driver, path, named):
        args = [driver, path] + (["named"] if named else [])
        self.process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.saved = None      # hash of the last completed save
        self.saving = None     # hash of the save under way
        self.first = threading.Event()
        self.reader = threading.Thread(target=self.read, daemon=True)
        self.reader.start()

    def read(self):
        for line in self.process.stdout:
            kind, _, value = line.strip().partition(" ")
            if kind == "saving":
                self.saving = value
            elif kind == "saved":
                self.saved = value
                self.first.set()

    def kill_after(self, seconds):
        if not self.first.wait(30):
            self.process.kill()
            raise SystemExit("the driver saved nothing in 30 s: " + self.process.stderr.read())
        time.sleep(seconds)
        self.process.send_signal(signal.SIGKILL)
        self.process.wait()
        self.reader.join()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("driver", nargs="?", default="build/bench/bench/quorrel_save_loop")
    parser.add_argument("--runs", type=int, default=200)
    parser.add_argument("--named", action="store_true")
    parser.add_argument("--tail", type=int, default=0)
    parser.add_argument("--folder")
    options = parser.parse_args()

    folder = options.folder or tempfile.mkdtemp(prefix="quorrel-kill-")
    path = os.path.join(folder, "x.qrl")
    tail = os.urandom(options.tail)
    if tail:
        # Any whole record will do as the first content: the driver's first save replaces it.
        first = Run(options.driver, path, options.named)
        first.kill_after(0)
        with open(path, "r+b") as game:
            game.truncate(RECORD)
            game.seek(RECORD)
            game.write(tail)
        for name in os.listdir(folder):
            if name != "x.qrl":
                os.unlink(os.path.join(folder, name))

    corrupt = 0
    kills_with_leftovers = 0
    most_leftovers = 0
    mid_save = 0
    for _ in range(options.runs):
        run = Run(options.driver, path, options.named)
        run.kill_after(random.uniform(0, 0.040))
        if run.saving != run.saved:
            mid_save += 1
        with open(path, "rb") as game:
            content = game.read()
        if fnv(content[:RECORD]) not in (run.saved, run.saving) or content[RECORD:] != tail:
            corrupt += 1
        leftovers = [name for name in os.listdir(folder) if name != "x.qrl"]
        if leftovers:
            kills_with_leftovers += 1
            most_leftovers = max(most_leftovers, len(leftovers))

    last = Run(options.driver, path, options.named)
    last.kill_after(0)
    left = sorted(name for name in os.listdir(folder) if name != "x.qrl")

    print("kills:                              %d (%s new files, tail %d bytes)"
          % (options.runs, "named" if options.named else "unnamed", options.tail))
    print("killed during a save:               %d" % mid_save)
    print("game file corrupt:                  %d" % corrupt)
    print("kills that left files beside it:    %d (at most %d at once)" % (kills_with_leftovers, most_leftovers))
    print("left at the end, after one save:    %d %s" % (len(left), left if left else ""))
    if not options.folder:
        for name in os.listdir(folder):
            os.unlink(os.path.join(folder, name))
        os.rmdir(folder)
    return 0


if __name__ == "__main__":
    sys.exit(main())
