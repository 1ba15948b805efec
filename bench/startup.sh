#!/usr/bin/env bash
# Start-up benchmark: time from exec until the main window is mapped, and peak RSS, under Xvfb and openbox.
#
# Usage: bench/startup.sh [QUORREL [MINIMAL_WINDOW [RUNS]]]
#   defaults: build/bench/quorrel build/bench/bench/bench_minimal_qt_window 20
#
# Method. One Python process owns an X connection that listens to the root window's
# SubstructureNotify events. It reads the clock, starts the program, and stops the clock at the
# MapNotify of the program's top-level window, or of the openbox frame it was reparented into
# (openbox reparents before it maps, so the ReparentNotify tells which frame holds which window).
# The window is recognised by its title. Nothing polls: the time is when the X server reported the map.
# Each run then lets the program idle for a second, ends it with SIGTERM, and reads its peak RSS
# (ru_maxrss) from wait4(), the figure GNU time's %M reports. Quorrel runs with
# --speech=log:/dev/null, so no speech server takes part. The programs alternate, after one
# uncounted warm-up run each (fontconfig builds its cache then), in a private HOME under
# dbus-run-session. The table gives the median and 90th percentile over the runs.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
quorrel=$(realpath "${1:-$root/build/bench/quorrel}")
minimal=$(realpath "${2:-$root/build/bench/bench/bench_minimal_qt_window}")
runs=${3:-20}

for program in "$quorrel" "$minimal"; do
    [[ -x $program ]] || { echo "not built: $program (run scripts/dev bench)" >&2; exit 1; }
done
for tool in Xvfb openbox dbus-run-session /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool (scripts/dev bench installs it)" >&2; exit 1; }
done

exec dbus-run-session -- /usr/bin/python3 - "$root/tests/e2e" "$quorrel" "$minimal" "$runs" <<'PY'
import ctypes
import math
import os
import select
import signal
import statistics
import subprocess
import sys
import time

harness_dir, quorrel, minimal, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
sys.path.insert(0, harness_dir)
import harness

CREATE_NOTIFY, MAP_NOTIFY, REPARENT_NOTIFY = 16, 19, 21
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class EventHead(ctypes.Structure):
    # The fields every structure-notify event starts with; "parent" is the new parent of a
    # ReparentNotify.
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("parent", ctypes.c_ulong)]


class XEvent(ctypes.Union):
    _fields_ = [("head", EventHead), ("pad", ctypes.c_long * 24)]


xlib = ctypes.CDLL("libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
xlib.XConnectionNumber.argtypes = [ctypes.c_void_p]
xlib.XPending.argtypes = [ctypes.c_void_p]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XInternAtom.restype = ctypes.c_ulong
xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
xlib.XGetWindowProperty.argtypes = [
    ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long, ctypes.c_int,
    ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int),
    ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
xlib.XFree.argtypes = [ctypes.c_void_p]
# A window can vanish between its event and our look at it; Xlib's default handler would exit.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda display, error: 0)
xlib.XSetErrorHandler(ERROR_HANDLER)


class MapWatcher:
    def __init__(self, display):
        self.dpy = xlib.XOpenDisplay(display.encode())
        if not self.dpy:
            raise SystemExit("cannot open display " + display)
        self.root = xlib.XDefaultRootWindow(self.dpy)
        self.name_atoms = [xlib.XInternAtom(self.dpy, name, 0) for name in (b"_NET_WM_NAME", b"WM_NAME")]
        xlib.XSelectInput(self.dpy, self.root, SUBSTRUCTURE_NOTIFY_MASK)
        xlib.XSync(self.dpy, 0)
        self.fd = xlib.XConnectionNumber(self.dpy)

    def name(self, window):
        for atom in self.name_atoms:
            kind, fmt, count, after = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong()
            data = ctypes.c_void_p()
            xlib.XGetWindowProperty(self.dpy, window, atom, 0, 256, 0, 0, ctypes.byref(kind), ctypes.byref(fmt),
                                    ctypes.byref(count), ctypes.byref(after), ctypes.byref(data))
            if data.value:
                text = ctypes.string_at(data.value, count.value).decode("utf-8", "replace")
                xlib.XFree(data)
                if text:
                    return text
        return ""

    def drain(self):
        while xlib.XPending(self.dpy):
            xlib.XNextEvent(self.dpy, ctypes.byref(XEvent()))

    def wait_mapped(self, title, proc, timeout=30.0):
        """Returns the clock time of the MapNotify of the window titled `title`."""
        frames = {}
        event = XEvent()
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if not xlib.XPending(self.dpy):
                if proc.poll() is not None:
                    raise SystemExit("%s ended with status %s before mapping its window" % (proc.args[0], proc.returncode))
                select.select([self.fd], [], [], 0.05)
                continue
            xlib.XNextEvent(self.dpy, ctypes.byref(event))
            head = event.head
            if head.type == REPARENT_NOTIFY:
                frames[head.parent] = head.window
            elif head.type == MAP_NOTIFY and head.event == self.root:
                now = time.monotonic()
                client = frames.get(head.window, head.window)
                if self.name(client) == title:
                    return now
        raise SystemExit("no window titled %r mapped within %.0f s" % (title, timeout))


def measure(watcher, env, argv, title):
    watcher.drain()
    start = time.monotonic()
    proc = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        mapped = watcher.wait_mapped(title, proc)
        time.sleep(1.0)
    finally:
        if proc.poll() is None:
            proc.send_signal(signal.SIGTERM)
    _, status, usage = os.wait4(proc.pid, 0)
    proc.returncode = status
    return (mapped - start) * 1000.0, usage.ru_maxrss / 1024.0


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[max(0, math.ceil(fraction * len(ordered)) - 1)]   # nearest rank


session = harness.Session(quorrel)
try:
    session.start_display()
    watcher = MapWatcher(session.display)
    programs = [("minimal Qt window", [minimal], "Minimal Qt window"),
                ("quorrel", [quorrel, "--speech=log:/dev/null"], harness.WINDOW_NAME)]
    results = {label: ([], []) for label, _, _ in programs}
    for label, argv, title in programs:
        measure(watcher, session.env, argv, title)
    for _ in range(runs):
        for label, argv, title in programs:
            ms, mib = measure(watcher, session.env, argv, title)
            results[label][0].append(ms)
            results[label][1].append(mib)
finally:
    session.close()

base_ms = statistics.median(results["minimal Qt window"][0])
base_mib = statistics.median(results["minimal Qt window"][1])
print("Start-up under Xvfb + openbox, %d runs each (time from exec to the main window's MapNotify)" % runs)
print("%-18s %10s %8s %13s %11s %11s" % ("program", "median ms", "p90 ms", "peak RSS MiB", "time ratio", "RSS ratio"))
for label, _, _ in programs:
    times, rss = results[label]
    print("%-18s %10.1f %8.1f %13.1f %11.2f %11.2f" % (
        label, statistics.median(times), percentile(times, 0.9), statistics.median(rss),
        statistics.median(times) / base_ms, statistics.median(rss) / base_mib))
PY
