#!/usr/bin/python3
# Benchmark: the time from a key press in the real program until its sound starts at the sound server.
"""Key-to-sound latency, under Xvfb with a private PulseAudio server whose null sink is recorded.

Usage: python3 bench/sound_latency.py PATH_TO_QUORREL [KEYS]   (KEYS defaults to 100 of each kind)
Installs pulseaudio and pulseaudio-utils with apt-get when they are missing (libcanberra-pulse too,
which the program needs to reach the server). With QUORREL_E2E_KEEP=1 the temporary folder is kept,
with the recording (recording-*.raw: 48 kHz mono s16le) and the server's log.

What is timed. In the program, with a dealt game and the column grid's cursor in row 1: Up, against the
grid's top edge (the edge sound, and no words), and 1 then Escape (1 picks column 1's bottom card up:
the pick-up sound beside its words, which stop the speech under way; Escape puts it back, without a
sound). Where quorrel_sound_probe was built beside the program (bench/CMakeLists.txt, where Qt Multimedia
is installed), the same Up key is timed in that bare window twice: played through Qt Multimedia's
QSoundEffect, and through the program's libcanberra player, so the two libraries are compared on equal
terms.

Method. A private PulseAudio server (no real device) has one null sink; parec records the sink's monitor
at 48 kHz with 5 ms fragments and this process reads it as it comes, stamping each read with
time.time(). The k-th sample's time is the least over all reads of (read time - samples read so far /
rate) plus k / rate: the earliest any read could have seen it, so the figure includes the sink's
render block and the monitor's fragment, up to about 5 ms, which a real device's buffer would replace.
Keys are typed through XTEST from this process, as in bench/latency.py; t0 is taken just before the
press is flushed to the X server. A key's latency is the time of the first recorded sample above 1 % of
full scale after t0, minus t0. Keys come 250 ms to 350 ms apart (at random), so that one sound has
ended before the next key.
"""

import os
import random
import shutil
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
sys.path.insert(0, HERE)
import harness  # noqa: E402
import latency  # noqa: E402
from harness import TestFailure  # noqa: E402

RATE = 48000
THRESHOLD = 328  # 1 % of full scale
FRAGMENT_MS = 2  # what the recording asks of the monitor, and so the null sink's render block
GAP = (0.5, 0.6)  # seconds between keys
latency.KEYSYMS.update({"1": 0x0031, "Escape": 0xFF1B})


def install_missing():
    packages = {"pulseaudio": "pulseaudio", "parec": "pulseaudio-utils"}
    missing = [pkg for prog, pkg in packages.items() if shutil.which(prog) is None]
    if not os.path.exists("/usr/lib/x86_64-linux-gnu/libcanberra-0.30/libcanberra-pulse.so"):
        missing.append("libcanberra-pulse")
    if missing:
        sudo = [] if os.geteuid() == 0 else ["sudo"]
        subprocess.run(sudo + ["env", "DEBIAN_FRONTEND=noninteractive", "apt-get", "install", "-y",
                               "--no-install-recommends"] + missing, check=True)


class SoundServer:
    """A private PulseAudio with a null sink, and a recording of its monitor read as it comes."""

    def __init__(self, session):
        self.root = os.path.join(session.root, "pulse")
        os.makedirs(self.root)
        self.socket = os.path.join(self.root, "native")
        script = os.path.join(self.root, "default.pa")
        with open(script, "w") as f:
            f.write("load-module module-null-sink sink_name=recorded rate=%d\n" % RATE)
            f.write("load-module module-native-protocol-unix socket=%s auth-anonymous=1\n" % self.socket)
            f.write("set-default-sink recorded\n")
        env = dict(session.env, HOME=self.root, XDG_RUNTIME_DIR=self.root, XDG_CONFIG_HOME=self.root)
        self.server = session._spawn(["pulseaudio", "-n", "-F", script, "--daemonize=no", "--exit-idle-time=-1",
                                      "--use-pid-file=no", "--disallow-exit", "--log-target=stderr", "-v"],
                                     "pulseaudio.log", env=env)
        for _ in harness._deadline_loop(20, 0.05):
            if os.path.exists(self.socket):
                break
            if self.server.poll() is not None:
                raise TestFailure("pulseaudio ended:\n" + harness._tail(os.path.join(session.root, "pulseaudio.log")))
        else:
            raise TestFailure("pulseaudio did not open its socket")
        session.env["PULSE_SERVER"] = "unix:" + self.socket
        self.env = session.env
        self.session = session

    def block_ms(self):
        """The null sink's latency as configured now (its render block), in ms."""
        out = subprocess.run(["pactl", "list", "sinks"], env=self.env, capture_output=True, text=True).stdout
        for line in out.splitlines():
            if "Latency:" in line and "configured" in line:
                return int(line.split("configured")[1].split()[0]) / 1000
        raise TestFailure("pactl gave no latency for the null sink:\n" + out)

    def record(self, name):
        return Recording(self, name)

    def close(self):
        harness._kill_group(self.server)


class Recording:
    def __init__(self, server, name):
        self.path = os.path.join(server.session.root, "recording-%s.raw" % name)
        self.proc = subprocess.Popen(["parec", "-d", "recorded.monitor", "--raw", "--format=s16le", "--rate=%d" % RATE,
                                      "--channels=1", "--latency-msec=%d" % FRAGMENT_MS], env=server.env, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        self.data = bytearray()
        self.offset = None  # the time of sample 0
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        fd = self.proc.stdout.fileno()
        while True:
            chunk = os.read(fd, 960)
            now = time.time()
            if not chunk:
                return
            self.data += chunk
            start = now - (len(self.data) // 2) / RATE
            if self.offset is None or start < self.offset:
                self.offset = start

    def wait_until_running(self):
        for _ in harness._deadline_loop(10, 0.02):
            if len(self.data) > RATE:  # half a second recorded
                return
        raise TestFailure("parec recorded nothing")

    def stop(self):
        harness._kill_group(self.proc)
        self.thread.join(5)
        with open(self.path, "wb") as f:
            f.write(self.data)

    def onset_after(self, t0, window=0.45):
        """The time of the first loud sample after t0 (None if none within window seconds)."""
        first = max(0, int((t0 - self.offset) * RATE))
        last = min(len(self.data) // 2, first + int(window * RATE))
        samples = memoryview(bytes(self.data[2 * first:2 * last])).cast("h")
        for i, value in enumerate(samples):
            if abs(value) > THRESHOLD:
                return self.offset + (first + i) / RATE
        return None


def percentile(values, p):
    return latency.percentile(sorted(values), p)


def time_keys(server, keyboard, name, keys, count):
    """Types count rounds of keys (the first of each round is timed); returns the latencies in ms."""
    recording = server.record(name)
    recording.wait_until_running()
    stamps = []
    for _ in range(count):
        for i, key in enumerate(keys):
            t0 = keyboard.press(key)
            if i == 0:
                stamps.append(t0)
            time.sleep(random.uniform(*GAP))
    time.sleep(0.5)
    block = server.block_ms()
    recording.stop()
    found = [recording.onset_after(t0) for t0 in stamps]
    # A block of the null sink reaches the monitor when the sink renders it, at the block's start, so a
    # sample's time can be early by up to one block: the whole block is added, so the figures can only
    # overstate.
    heard = [1000 * (onset - t0) + block for onset, t0 in zip(found, stamps) if onset is not None]
    if len(heard) < len(stamps):
        print("  %s: %d of %d keys had no sound within 450 ms" % (name, len(stamps) - len(heard), len(stamps)))
    if not heard:
        raise TestFailure("%s: no sound was recorded" % name)
    return heard


def report(name, values):
    print("  %-40s n=%3d  p50 %6.2f ms  p95 %6.2f ms  max %6.2f ms" % (name, len(values), percentile(values, 50),
                                                                         percentile(values, 95), max(values)))


def start_probe(session, probe, *args):
    proc = session._spawn([probe] + list(args), "probe%s.log" % "".join(args))
    for _ in harness._deadline_loop(30, 0.05):
        found = session.xdotool("search", "--onlyvisible", "--pid", str(proc.pid), check=False)
        if found.returncode == 0 and found.stdout.split():
            session.xdotool("windowactivate", "--sync", found.stdout.split()[0], check=False)
            session.xdotool("windowfocus", "--sync", found.stdout.split()[0], check=False)
            time.sleep(1.0)  # the player connects and loads its sound
            return proc
    raise TestFailure("the probe's window did not appear")


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    binary = os.path.abspath(sys.argv[1])
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 100
    install_missing()
    keep = os.environ.get("QUORREL_E2E_KEEP") == "1"
    session = harness.Session(binary)
    server = None
    try:
        session.start()
        server = SoundServer(session)
        keyboard = latency.Keyboard(session.display)
        print("Key to sound, %d keys of each kind:" % count)
        probe = os.path.join(os.path.dirname(binary), "bench", "quorrel_sound_probe")
        if os.path.exists(probe):
            for args, name in (([], "probe, QSoundEffect, Up"), (["--canberra"], "probe, libcanberra, Up")):
                proc = start_probe(session, probe, *args)
                report(name, time_keys(server, keyboard, name.replace(", ", "-").replace(" ", ""), ["Up"], count))
                harness._kill_group(proc)
        else:
            print("  (no %s: the QSoundEffect probe is skipped)" % probe)
        program = session.start_program()
        session.speech.wait_for(lambda t: harness.WELCOME_LAST in t, 30, "the welcome texts")
        program.key("ctrl+n")
        session.speech.wait_for(lambda t: " Columns " in t, 30, "the deal")
        time.sleep(1.0)
        report("quorrel, edge (Up)", time_keys(server, keyboard, "edge", ["Up"], count))
        report("quorrel, pick-up (1, then Escape)", time_keys(server, keyboard, "pick-up", ["1", "Escape"], count))
        keyboard.close()
        return 0
    except TestFailure as failure:
        print("FAILED: %s" % failure)
        return 1
    finally:
        if server:
            server.close()
        session.close(keep=keep)


if __name__ == "__main__":
    sys.exit(main())
