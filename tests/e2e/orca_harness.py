# End-to-end harness additions for the Orca screen reader: the accessibility bus, Orca, what it said, and the accessibility tree.
"""Runs the Orca screen reader beside the program in a harness.Session.

A test function decorated with @with_orca takes (session, orca). Before it runs, the wrapper starts the
session (Xvfb, openbox, speech-dispatcher), the accessibility bus and Orca; afterwards, also when the test
fails, it ends Orca and the bus and prints what Orca logged about the failure.

Orca and the program speak through the same private speech-dispatcher. Orca sends SSML ("<speak>...</speak>")
and the program plain text, so the one log splits into:
  - session.speech: a GameSpeech, the program's texts only (harness.SpeechLog's expect(), mark() and
    wait_for() work on them as in the other end-to-end tests);
  - orca.speech: an OrcaSpeech, Orca's texts with the markup taken off ("New Game  Ctrl+N." and the like).
Orca's own debug file is written through a block buffer, so it lags behind; it is kept for the report only.

orca.start(): starts the accessibility bus (at-spi-bus-launcher) and the program with its accessibility
on, then Orca, and waits until Orca has presented the program's window (start_program() and start_orca()
do the two halves). Orca's key echo is off in its settings: what Orca says about the keys typed is the
player's choice and not the program's doing. Orca runs without --replace, which would end every Orca of
this user, also a screen reader someone works with.

orca.tree(): the program's accessibility tree as pyatspi (python3-pyatspi) shows it, one dict per object.

missing_prerequisites() names the Debian packages that are missing; main() exits 77 (skipped) with a
message when a package is missing or when another Orca of this user runs (Orca refuses to start beside
one, and replacing it would end a screen reader that is not ours).
"""

import functools
import html
import json
import os
import re
import shutil
import subprocess
import sys

import harness
from harness import TestFailure

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
SYSTEM_PYTHON = "/usr/bin/python3"

# How long Orca may take to start and present the program's window, and to present one change.
ORCA_START_TIMEOUT = 60.0
ORCA_TIMEOUT = 15.0


def missing_prerequisites():
    missing = harness.missing_prerequisites()
    if shutil.which("orca") is None:
        missing.append("orca (package orca)")
    if not os.access(BUS_LAUNCHER, os.X_OK):
        missing.append("at-spi-bus-launcher (package at-spi2-core)")
    if not os.access(SYSTEM_PYTHON, os.X_OK) or subprocess.run(
            [SYSTEM_PYTHON, "-c", "import importlib.util, sys; sys.exit(importlib.util.find_spec('pyatspi') is None)"],
            stdin=subprocess.DEVNULL, capture_output=True).returncode != 0:
        missing.append("pyatspi for /usr/bin/python3 (package python3-pyatspi)")
    return missing


def other_orcas():
    """The process ids of the Orca screen readers this user runs (Orca names its process "orca")."""
    found = subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"], stdin=subprocess.DEVNULL,
                           capture_output=True, text=True)
    return [int(pid) for pid in found.stdout.split()]


def main(tests):
    """harness.main(), skipping (exit 77) where Orca cannot run."""
    if os.environ.get(harness._IN_DBUS) != "1":
        missing = missing_prerequisites()
        if missing:
            print("SKIPPED: the screen-reader tests need " + ", ".join(missing) + ".")
            sys.exit(77)
        running = other_orcas()
        if running:
            print("SKIPPED: another Orca screen reader of this user is running (process %s); Orca refuses to "
                  "start beside it." % ", ".join(map(str, running)))
            sys.exit(77)
    harness.main(tests)


_ORCA_TEXT = re.compile(r"^<speak>(.*)</speak>$", re.S)
_TAG = re.compile(r"<[^>]*>")


def orca_text(text):
    """The plain text of an SSML text Orca sent, or None for a text that is not Orca's."""
    match = _ORCA_TEXT.match(text)
    if not match:
        return None
    return html.unescape(_TAG.sub("", match.group(1))).strip()


class GameSpeech(harness.SpeechLog):
    """The program's texts, without Orca's."""

    def _is_text(self, event):
        return event.kind == "speak" and orca_text(event.text) is None


class OrcaSpeech(harness.SpeechLog):
    """Orca's texts, plain."""

    def _is_text(self, event):
        return event.kind == "speak" and orca_text(event.text) is not None

    def texts(self):
        return [orca_text(e.text) for e in self.events() if self._is_text(e)]

    def wait_for_text(self, pattern, timeout=ORCA_TIMEOUT):
        """Waits until a text after the cursor matches the regular expression (re.search); returns the texts
        after the cursor up to that one, and moves the cursor past it."""
        regex = re.compile(pattern)
        texts = self.wait_for(lambda t: any(regex.search(x) for x in t), timeout,
                              "Orca to say something matching %r" % pattern)
        end = next(i for i, x in enumerate(texts) if regex.search(x)) + 1
        self.cursor += end
        return texts[:end]


# The program's accessibility tree, printed as JSON by /usr/bin/python3 with pyatspi; argv[1] is the
# program's process id.
_TREE_SCRIPT = r"""
import json, sys
import pyatspi

def keybinding(obj):
    try:
        action = obj.queryAction()
    except NotImplementedError:
        return ""
    return action.getKeyBinding(0) if action.nActions else ""

def walk(obj, depth, path, out):
    try:
        role = obj.getRoleName()
        entry = {"path": path, "depth": depth, "role": role, "name": obj.name or "",
                 "description": obj.description or "", "keybinding": keybinding(obj),
                 "states": sorted(pyatspi.stateToString(s) for s in obj.getState().getStates())}
    except Exception as error:
        out.append({"path": path, "depth": depth, "error": str(error)})
        return
    out.append(entry)
    if depth > 25:
        return
    for i in range(obj.childCount):
        child = obj.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, path + [i], out)

pid = int(sys.argv[1])
desktop = pyatspi.Registry.getDesktop(0)
out = []
for app in desktop:
    if app is not None and app.get_process_id() == pid:
        walk(app, 0, [], out)
print(json.dumps(out))
"""


class Orca:
    """Orca and the accessibility bus for one Session."""

    def __init__(self, session):
        self.session = session
        self.debug_path = os.path.join(session.root, "orca.debug")
        self.speech = None
        self.program = None
        self._bus = None
        self._orca = None

    def start_bus(self):
        """Starts the accessibility bus of the session's D-Bus and turns the program's accessibility on."""
        if self._bus is not None:
            return
        self.session.start()
        self.session.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self._bus = self.session._spawn([BUS_LAUNCHER, "--launch-immediately"], "at-spi-bus.log")
        # Asking the bus itself would have D-Bus start another launcher while ours is not there yet.
        for _ in harness._deadline_loop(20, 0.1):
            asked = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                                    "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"],
                                   env=self.session.env, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                                   timeout=10)
            if asked.returncode == 0 and "boolean true" in asked.stdout:
                return
            if self._bus.poll() is not None:
                break
        raise TestFailure("the accessibility bus did not start:\n"
                          + harness._tail(os.path.join(self.session.root, "at-spi-bus.log")))

    def _write_settings(self):
        # Orca reads its settings from XDG_DATA_HOME/orca; without them it would speak every key typed.
        folder = os.path.join(self.session.data_home, "orca")
        os.makedirs(folder, exist_ok=True)
        profile = {"profile": ["Default", "default"], "pronunciations": {}, "keybindings": {}}
        settings = {"general": {"enableKeyEcho": False, "firstStart": False},
                    "profiles": {"default": profile}, "pronunciations": {}, "keybindings": {}}
        with open(os.path.join(folder, "user-settings.conf"), "w") as f:
            json.dump(settings, f, indent=4)

    def start_program(self, *args):
        """Starts the bus and the program (with args) with its accessibility on; returns the Program.
        session.speech then holds the program's texts only."""
        self.start_bus()
        if not isinstance(self.session.speech, GameSpeech):
            self.session.speech = GameSpeech(self.session.speech.path)
        self.program = self.session.start_program(*args)
        return self.program

    def start_orca(self):
        """Starts Orca and waits until it has presented the program's window; self.speech then holds
        Orca's texts, the cursor after that presentation."""
        self.speech = OrcaSpeech(self.session.speech.path)
        self._write_settings()
        # Orca's words are matched in English.
        env = dict(self.session.env, LANG="C.UTF-8", LC_ALL="C.UTF-8")
        env.pop("LANGUAGE", None)
        self._orca = self.session._spawn(["orca", "--disable", "braille", "--debug-file", self.debug_path],
                                         "orca.out", env=env)
        try:
            self.speech.wait_for_text(r"\b" + re.escape(harness.WINDOW_NAME) + r"\b", ORCA_START_TIMEOUT)
        except TestFailure:
            if self._orca.poll() is not None:
                raise TestFailure("Orca ended with status %s:\n%s" % (
                    self._orca.returncode, harness._tail(os.path.join(self.session.root, "orca.out")))) from None
            raise

    def start(self, *args):
        """start_program(*args), then start_orca(); returns the Program."""
        program = self.start_program(*args)
        self.start_orca()
        return program

    def tree(self, timeout=60):
        """The program's accessibility tree: a list of dicts (path, depth, role, name, description,
        keybinding, states) in document order."""
        try:
            done = subprocess.run([SYSTEM_PYTHON, "-c", _TREE_SCRIPT, str(self.program.proc.pid)],
                                  env=self.session.env, stdin=subprocess.DEVNULL, capture_output=True,
                                  text=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TestFailure("reading the accessibility tree took more than %d s" % timeout) from None
        if done.returncode != 0:
            raise TestFailure("reading the accessibility tree failed:\n" + done.stderr)
        return json.loads(done.stdout)

    def report(self):
        return ("Orca said (in order):\n" + "\n".join("  %3d  %r" % (i, t) for i, t in enumerate(self.speech.texts()))
                if self.speech else "Orca was not started") + \
               "\nOrca's debug file (the end):\n" + harness._tail(self.debug_path, 3000) + \
               "\nOrca's output:\n" + harness._tail(os.path.join(self.session.root, "orca.out"), 2000)

    def close(self):
        harness._kill_group(self._orca)
        harness._kill_group(self._bus)


def with_orca(test):
    """Turns test(session, orca) into a harness test(session) that runs beside Orca."""

    @functools.wraps(test)
    def run(session):
        orca = Orca(session)
        try:
            test(session, orca)
        except BaseException:
            print(orca.report())
            raise
        finally:
            # The program goes before the bus it talks to.
            for program in session._programs:
                program.stop()
            orca.close()

    return run
