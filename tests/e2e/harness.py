# End-to-end harness: runs the real program in a private X display, D-Bus session and speech-dispatcher.
"""Harness for Quorrel's end-to-end tests.

A test script calls main(TESTS) with a list of test functions; each takes a Session.
The script is run as `python3 SCRIPT PATH_TO_QUORREL [TEST_NAME ...]`.

main():
  - exits 77 with a message naming the package when Xvfb, xdotool, openbox, dbus-run-session or
    speech-dispatcher (with its espeak-ng module) is missing;
  - re-executes the script under dbus-run-session, so no D-Bus service outlives the run;
  - runs each test with a fresh Session, prints the speech transcript and the program's output when
    a test fails, closes with an "N passed, N failed" line and exits 0 only when every test passed;
  - with QUORREL_E2E_KEEP=1 in the environment, keeps each session's temporary folder.

Session (started lazily, torn down completely at the end, also when the test fails):
  - a temporary HOME holding XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME and XDG_RUNTIME_DIR;
  - Xvfb on a free display (-displayfd) with openbox as window manager, QT_QPA_PLATFORM=xcb;
  - a headless speech-dispatcher on a private socket (SPEECHD_ADDRESS), logging at level 5;
  - session.start_program(*args) starts the program under test and returns a Program;
  - session.run_program(*args) runs it to completion (for --help, --version, bad options);
  - session.speech is the SpeechLog of the private speech-dispatcher;
  - start_display() alone gives an X display with a window manager (self.env) without speech;
  - without_speech_server() makes the programs of the session find no speech server at all (and
    start none), as on a machine where speech-dispatcher is missing or broken.

SpeechLog reads what speech-dispatcher recorded, in order: every queued text (its log line
"Queueing message |TEXT| with priority N", blanks kept), every cancel ("Cancel received from fd N.")
and stop, and every client connection. expect() checks the next texts after a cursor, waiting for
them with a deadline; expect_events() does the same for texts and cancels (CANCEL, CANCELS) together.
Each event carries the stamp of its log entry (SpeechEvent.stamp, comparable with time.time()).

The program sends the texts that one key (one event handler) speaks after its last stop as one
message, joined as they are. SpeechLog splits each message back into the program's texts, so that
texts(), said(), expect() and the predicates of wait_for() see one entry per text, as the program
spoke them; the pieces of one message share its stamp and its SpeechEvent.message number. A message
is split only where it is wholly made of known texts: those in src/texts/Texts.h, the card words,
" Column " and " Cell " with their numbers, every exact text passed to expect() or expect_events()
(also before they are called: what is after both cursors is split again), and every text given to
know(). Where several splits are possible, the one with the fewest texts wins. A message that is not
made of known texts stays one text, as a text composed at run time (a file name and " was saved! ")
is. A test that waits with wait_for() for a text composed at run time inside a longer announcement
calls know() with it first.
"""

import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

_IN_DBUS = "QUORREL_E2E_IN_DBUS"

# Program -> Debian package that provides it.
_REQUIRED_PROGRAMS = {
    "Xvfb": "xvfb",
    "xdotool": "xdotool",
    "openbox": "openbox",
    "dbus-run-session": "dbus",
    "speech-dispatcher": "speech-dispatcher",
}
_ESPEAK_MODULE = "/usr/lib/speech-dispatcher-modules/sd_espeak-ng"
_ESPEAK_MODULE_CONF = "/etc/speech-dispatcher/modules/espeak-ng.conf"

WINDOW_NAME = "Quorrel"

# The texts the program speaks for cards: a rank word, " de ", a suit word.
RANK_WORDS = [" ace ", " dhe ", " trois ", " qat\u2e72 ", " cinq ", " six ", " septs ",
              " huits ", " neuf ", " dix ", " valé ", " dames ", " rois "]
SUIT_WORDS = [" Piques ", " Trèfl ", " Coeurs ", " Carreaux "]
CARD_TEXTS = frozenset(rank + " de " + suit for rank in RANK_WORDS for suit in SUIT_WORDS)


class OneOf:
    """Matches any text of a set; used in SpeechLog.expect() where the exact text is not known."""

    def __init__(self, texts, name):
        self.texts = frozenset(texts)
        self.name = name

    def matches(self, text):
        return text in self.texts

    def __repr__(self):
        return "<" + self.name + ">"


CARD = OneOf(CARD_TEXTS, "any card text")

# The program's own texts that many tests wait for.
WELCOME_LAST = "Press F2 to hear a list of keyboard commands! "
SHUFFLING = "Shuffeling cards, please wait!"


class _Cancels:
    """In SpeechLog.expect_events(): one cancel (CANCEL), or a run of one or more cancels (CANCELS). The
    program's speech worker drops texts not yet sent when a new cancel comes, and two cancels in a row
    may reach speech-dispatcher as one or as two."""

    def __init__(self, run):
        self.run = run

    def __repr__(self):
        return "<cancel, once or more>" if self.run else "<cancel>"


CANCEL = _Cancels(False)
CANCELS = _Cancels(True)


class TestFailure(AssertionError):
    pass


def _deadline_loop(timeout, interval=0.02):
    """Yields until the timeout has passed, sleeping briefly between turns."""
    end = time.monotonic() + timeout
    while True:
        yield
        if time.monotonic() >= end:
            return
        time.sleep(interval)


class SpeechEvent:
    def __init__(self, kind, text=None, priority=None, stamp=None, message=None):
        self.kind = kind          # "speak", "cancel", "stop", "connect" or "disconnect"
        self.text = text          # for "speak": one of the program's texts, taken out of its message
        self.priority = priority
        self.stamp = stamp        # when speech-dispatcher logged it: seconds since the epoch, to the microsecond
        self.message = message    # for "speak": the number of the message, counted from 0 in the log

    def __repr__(self):
        if self.kind == "speak":
            return "speak %r (priority %s)" % (self.text, self.priority)
        return self.kind


# --- the program's texts, to split joined messages ----------------------------------------------

_TEXTS_H = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "texts", "Texts.h")
_CPP_TOKEN = re.compile(r'''//[^\n]*|/\*.*?\*/|"(?:[^"\\\n]|\\.)*"|'(?:[^'\\\n]|\\.)*'|[A-Za-z_]\w*|\S''', re.S)
_CPP_ESCAPE = re.compile(r'''\\(u[0-9A-Fa-f]{4}|U[0-9A-Fa-f]{8}|x[0-9A-Fa-f]+|[0-7]{1,3}|.)''', re.S)
_SIMPLE_ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "0": "\0", "\\": "\\", '"': '"', "'": "'", "?": "?"}


def _cpp_string(literal):
    """The text of a C++ string literal (quotes included) as Python text."""
    def unescape(m):
        e = m.group(1)
        if e[0] in "uUx":
            return chr(int(e[1:], 16))
        if e[0].isdigit() and e not in _SIMPLE_ESCAPES:
            return chr(int(e, 8))
        return _SIMPLE_ESCAPES.get(e, e)
    return _CPP_ESCAPE.sub(unescape, literal[1:-1])


def _texts_header():
    """(name -> texts, every text) of Texts.h: each named constant or array with its string literals
    (adjacent literals joined, as the compiler joins them)."""
    try:
        with open(_TEXTS_H, encoding="utf-8") as f:
            source = f.read()
    except OSError:
        return {}, []
    named, every, name, current, pending = {}, [], None, None, None
    for token in _CPP_TOKEN.findall(source):
        if token.startswith(("//", "/*")):
            continue
        if token.startswith('"'):
            pending = (pending or "") + _cpp_string(token)
            continue
        if pending is not None:
            every.append(pending)
            if current is not None:
                current.append(pending)
            pending = None
        if token == "=":
            current = named.setdefault(name, []) if name else None
        elif token == ";":
            current = None
        elif re.match(r"[A-Za-z_]", token):
            name = token
    return named, every


def _program_texts():
    """The texts the program speaks: every text of Texts.h that reads as one (it has a blank or ends
    as a sentence does; not the file names, list entries and single words the program only shows),
    and the texts it composes from them: the card words, " Column " and " Cell " with a number, and
    " Column " with a number and " is empty! "."""
    named, every = _texts_header()
    texts = {t for t in every if t.strip() and (" " in t or t.endswith((".", "!", "?", ":")))}
    texts.add("\r\n")
    texts |= CARD_TEXTS

    def one(name, default):
        return named.get(name, [default])[0]
    column, cell, is_empty = one("Column", " Column "), one("Cell", " Cell "), one("IsEmpty", " is empty! ")
    for n in range(1, 20):
        number = " %d" % n
        texts |= {column + number, cell + number, column + number + is_empty}
    texts.discard("")
    return frozenset(texts)


_PROGRAM_TEXTS = _program_texts()


def split_message(message, known):
    """The program's texts in one message: its split into texts of `known` with the fewest texts
    (the longest first text among equals), or [message] when it is not made of known texts."""
    by_first = {}
    for text in known:
        by_first.setdefault(text[0], []).append(text)
    n = len(message)
    best = [None] * (n + 1)  # best[i]: (texts in message[i:], first text) or None
    best[n] = (0, "")
    for i in range(n - 1, -1, -1):
        for text in by_first.get(message[i], ()):
            rest = best[i + len(text)] if message.startswith(text, i) else None
            if rest is None:
                continue
            if best[i] is None or rest[0] + 1 < best[i][0] or (rest[0] + 1 == best[i][0] and len(text) > len(best[i][1])):
                best[i] = (rest[0] + 1, text)
    if best[0] is None:
        return [message]
    texts, i = [], 0
    while i < n:
        texts.append(best[i][1])
        i += len(best[i][1])
    return texts


# Each log entry starts a line with "[Tue Dec  8 01:34:23 2026 : 303626] speechd: ", then an indent
# that grows with the entry's log level. A queued text may span lines, so the log is cut at entry
# headers, not at newlines.
_ENTRY_HEADER = re.compile(rb"^\[[^\]\n]* : \d+\] speechd: ", re.M)
_QUEUED = re.compile(r"Queueing message \|(.*)\| with priority (\d+)\n", re.S)
_SIMPLE_EVENTS = {"Cancel received from fd ": "cancel", "Stop received from fd ": "stop",
                  "Adding client on fd ": "connect", "Removing client on fd ": "disconnect"}


def _parse_entry(entry, complete):
    """Returns the SpeechEvent of one log entry (header included), or None. Returns False when the
    entry may still be partly written and must be read again later."""
    body = entry[_ENTRY_HEADER.match(entry).end():].decode("utf-8", "replace").lstrip(" ")
    if not complete and not body.endswith("\n"):
        return False
    queued = _QUEUED.fullmatch(body)
    if queued:
        return SpeechEvent("speak", queued.group(1), int(queued.group(2)))
    if body.startswith("Queueing message |"):
        return None if complete else False
    for prefix, kind in _SIMPLE_EVENTS.items():
        if body.startswith(prefix):
            return SpeechEvent(kind)
    return None


_STAMP = re.compile(rb"^\[\w+ (\w+) +(\d+) (\d+):(\d+):(\d+) (\d+) : (\d+)\]")
_MONTHS = {m: i + 1 for i, m in enumerate(b"Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split())}


def _entry_stamp(entry):
    """The time in an entry's header (local time, as ctime() writes it, and microseconds) as seconds
    since the epoch, comparable with time.time(); None if the header has another form. speech-dispatcher
    takes the seconds from time() and the microseconds from gettimeofday(); time() may still show the
    last second for a few milliseconds after gettimeofday() has passed it, and then the stamp is a
    second early. SpeechLog.events() mends that from the entries before."""
    m = _STAMP.match(entry)
    if not m or m.group(1) not in _MONTHS:
        return None
    day, hour, minute, second, year, micro = (int(g) for g in m.group(2, 3, 4, 5, 6, 7))
    whole = time.mktime((year, _MONTHS[m.group(1)], day, hour, minute, second, 0, 0, -1))
    return whole + micro / 1e6


def _matches(want, event):
    if isinstance(want, _Cancels):
        return event.kind == "cancel"
    if event.kind != "speak":
        return False
    return want.matches(event.text) if isinstance(want, OneOf) else event.text == want


def _match_events(expected, events):
    """How many of `events` match `expected` in full; None while more events are needed; raises
    TestFailure on a mismatch, which no later event can mend."""
    at = 0
    for i, want in enumerate(expected):
        if at >= len(events):
            return None
        if not _matches(want, events[at]):
            raise TestFailure("event %d after the cursor: expected %r, got %r\n  expected: %r\n  got:      %r"
                              % (at, want, events[at], list(expected), events[:at + 1]))
        at += 1
        if isinstance(want, _Cancels) and want.run:
            while at < len(events) and events[at].kind == "cancel":
                at += 1
            # A run of cancels at the end may still grow; the next expected event settles it.
            if at == len(events) and i + 1 < len(expected):
                return None
    return at


class SpeechLog:
    """What the private speech-dispatcher recorded, read from its level-5 log."""

    def __init__(self, path):
        self.path = path
        self.cursor = 0   # index into texts(): expect() checks the texts after it
        self.event_cursor = 0  # index into said(): expect_events() checks the events after it
        self._offset = 0  # bytes of the log already turned into self._events
        self._events = []  # a message's texts one after another, each an event of its own
        self._messages = 0  # messages read so far
        self._last_stamp = None  # the latest stamp of the entries read so far
        self._known = set(_PROGRAM_TEXTS)  # the texts messages are split into

    def _is_text(self, event):
        """Whether the event is one of texts()."""
        return event.kind == "speak"

    def _split(self, message, event):
        """One message's event as the events of the program's texts in it."""
        texts = [message] if message.startswith("<speak>") else split_message(message, self._known)
        return [SpeechEvent("speak", text, event.priority, event.stamp, event.message) for text in texts]

    def know(self, *texts):
        """Adds texts that messages are split into (texts the program composes at run time). The
        messages after both cursors are split again."""
        new = {t for t in texts if t and t not in self._known}
        if not new:
            return
        self._known |= new
        events = self.events()

        def after(count, counts):
            # The index of the first event after the count-th event that counts.
            if count <= 0:
                return 0
            for i, e in enumerate(events):
                if counts(e):
                    count -= 1
                    if count == 0:
                        return i + 1
            return len(events)
        start = max(after(self.cursor, self._is_text), after(self.event_cursor, lambda e: e.kind in ("speak", "cancel")))
        # A message a cursor stands inside of is left as it is.
        while 0 < start < len(events) and events[start].kind == "speak" and events[start - 1].kind == "speak" \
                and events[start].message == events[start - 1].message:
            start += 1
        out, i = events[:start], start
        while i < len(events):
            j = i + 1
            if events[i].kind == "speak":
                while j < len(events) and events[j].kind == "speak" and events[j].message == events[i].message:
                    j += 1
                out += self._split("".join(e.text for e in events[i:j]), events[i])
            else:
                out.append(events[i])
            i = j
        self._events = out

    def _know_expected(self, expected):
        texts = []
        for want in expected:
            if isinstance(want, str):
                texts.append(want)
            elif isinstance(want, OneOf):
                texts += want.texts
        self.know(*texts)

    def events(self):
        """Every event logged so far, in order. The log is read on from where the last call stopped."""
        try:
            with open(self.path, "rb") as f:
                f.seek(self._offset)
                new = f.read()
        except FileNotFoundError:
            return []
        starts = [m.start() for m in _ENTRY_HEADER.finditer(new)] + [len(new)]
        consumed = 0
        for begin, end in zip(starts, starts[1:]):
            # Only the last entry can be incomplete: the next header has not been written yet.
            event = _parse_entry(new[begin:end], complete=end < len(new))
            if event is False:
                break
            stamp = _entry_stamp(new[begin:end])
            if stamp is not None:
                # Entries are logged in order, so a stamp behind the one before is a second early (see
                # _entry_stamp); after a pause of 700 ms it falls only 300 ms behind.
                if self._last_stamp is not None and stamp < self._last_stamp - 0.01:
                    stamp += 1.0
                self._last_stamp = stamp if self._last_stamp is None else max(self._last_stamp, stamp)
            if event is not None:
                event.stamp = stamp
                if event.kind == "speak":
                    event.message = self._messages
                    self._messages += 1
                    self._events += self._split(event.text, event)
                else:
                    self._events.append(event)
            consumed = end
        self._offset += consumed
        return list(self._events)

    def texts(self):
        return [e.text for e in self.events() if self._is_text(e)]

    def transcript(self):
        """Every event, one line each; a text that came in the same message as the one before it is
        marked with "+"."""
        lines = []
        n = 0
        message = None
        for e in self.events():
            if e.kind == "speak":
                lines.append("  %3d %s %r" % (n, "+" if e.message == message else " ", e.text))
                n += 1
                message = e.message
            else:
                lines.append("       [%s]" % e.kind)
                message = None
        return "\n".join(lines) if lines else "  (nothing)"

    def mark(self):
        """Moves the cursor (and the event cursor) past everything queued so far."""
        self.cursor = len(self.texts())
        self.event_cursor = len(self.said())

    def said(self):
        """The texts queued and the cancels, in order (the events that expect_events() checks)."""
        return [e for e in self.events() if e.kind in ("speak", "cancel")]

    def expect_events(self, *expected, timeout=15.0):
        """Checks that the next texts and cancels after the event cursor are `expected`: exact strings,
        OneOf, CANCEL or CANCELS. Waits up to `timeout` for them; fails at once on a mismatch. Moves the
        event cursor past them and returns the events matched. expect() and expect_events() keep cursors of
        their own: call mark() to line both up after everything checked so far.
        Texts or cancels that come after them are left for the next call, which is how a test checks
        that a key said nothing: the next key's speech must follow at once."""
        self._know_expected(expected)
        for _ in _deadline_loop(timeout):
            new = self.said()[self.event_cursor:]
            used = _match_events(expected, new)
            if used is not None:
                self.event_cursor += used
                return new[:used]
        raise TestFailure("timed out after %.0f s waiting for %r; events after the cursor: %r"
                          % (timeout, list(expected), self.said()[self.event_cursor:]))

    def wait_for(self, predicate, timeout, what):
        """Waits until predicate(texts after the cursor) is true; returns those texts."""
        for _ in _deadline_loop(timeout):
            new = self.texts()[self.cursor:]
            if predicate(new):
                return new
        raise TestFailure("timed out after %.0f s waiting for %s; texts after the cursor: %r"
                          % (timeout, what, self.texts()[self.cursor:]))

    def expect(self, *expected, timeout=15.0):
        """Checks that the next texts after the cursor are `expected` (exact strings or OneOf),
        waiting up to `timeout` for them to be queued; moves the cursor past them and returns them."""
        self._know_expected(expected)
        new = self.wait_for(lambda t: len(t) >= len(expected), timeout,
                            "%d more text(s): %r" % (len(expected), list(expected)))
        got = new[:len(expected)]
        for i, (want, text) in enumerate(zip(expected, got)):
            ok = want.matches(text) if isinstance(want, OneOf) else text == want
            if not ok:
                raise TestFailure("text %d after the cursor: expected %r, got %r\n  expected: %r\n  got:      %r"
                                  % (i, want, text, list(expected), got))
        self.cursor += len(expected)
        return got

    def wait_until_no_client(self, timeout=10.0):
        """Waits until every client that connected has disconnected, so that everything a program
        sent before it ended has been logged."""
        for _ in _deadline_loop(timeout):
            events = self.events()
            if sum(e.kind == "connect" for e in events) == sum(e.kind == "disconnect" for e in events):
                return
        raise TestFailure("a client stayed connected to speech-dispatcher for %.0f s" % timeout)


def _kill_group(proc, grace=3.0):
    """Ends a process started in its own session, and its children, by its process group id."""
    if proc is None:
        return
    if proc.poll() is None:
        try:
            os.killpg(proc.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        try:
            proc.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            pass
    # The group may hold children (speech-dispatcher's output module) even after the leader ended.
    try:
        os.killpg(proc.pid, signal.SIGKILL)
    except (ProcessLookupError, PermissionError):
        pass
    try:
        proc.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        pass


def _tail(path, limit=4000):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read()
    except FileNotFoundError:
        return "(no file)"
    if len(text) > limit:
        text = "...\n" + text[-limit:]
    return text if text else "(empty)"


def press(session, program, key, *expected, timeout=15.0):
    """Types one key and checks the texts and cancels it queued (SpeechLog.expect_events); returns the
    texts."""
    program.key(key)
    return [e.text for e in session.speech.expect_events(*expected, timeout=timeout) if e.kind == "speak"]


class Program:
    """One run of the program under test, with its own window."""

    def __init__(self, session, args, number):
        self.session = session
        self.args = list(args)
        self.stdout_path = os.path.join(session.root, "program-%d.stdout" % number)
        self.stderr_path = os.path.join(session.root, "program-%d.stderr" % number)
        self.number = number
        self.window_id = None
        with open(self.stdout_path, "wb") as out, open(self.stderr_path, "wb") as err:
            self.proc = subprocess.Popen([session.binary] + self.args, env=session.env,
                                         stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                         start_new_session=True)

    def _check_running(self, doing):
        code = self.proc.poll()
        if code is not None:
            raise TestFailure("the program ended with status %s while %s" % (code, doing))

    def wait_for_window(self, timeout=30.0):
        """Waits until the program's main window is visible, then gives it the focus."""
        pattern = "^" + re.escape(WINDOW_NAME) + "$"
        for _ in _deadline_loop(timeout, 0.05):
            self._check_running("waiting for its window")
            found = self.session.xdotool("search", "--onlyvisible", "--pid", str(self.proc.pid),
                                         "--name", pattern, check=False)
            ids = found.stdout.split()
            if found.returncode == 0 and ids:
                self.window_id = ids[0]
                self.activate()
                return self.window_id
        raise TestFailure("no visible window named %r within %.0f s" % (WINDOW_NAME, timeout))

    def wait_for_title(self, title, timeout=10.0):
        """Waits until the main window's caption is `title`."""
        name = None
        for _ in _deadline_loop(timeout, 0.05):
            name = self.session.xdotool("getwindowname", self.window_id, check=False).stdout.rstrip("\n")
            if name == title:
                return
        raise TestFailure("window caption %r, expected %r" % (name, title))

    def wait_for_active_window(self, name=WINDOW_NAME, timeout=10.0):
        """Waits until the window that has the focus is named `name` (a dialog's caption, say: keys
        typed before it has the focus would go elsewhere); returns its id."""
        seen = None
        for _ in _deadline_loop(timeout, 0.05):
            self._check_running("waiting for the window %r to get the focus" % name)
            active = self.session.xdotool("getactivewindow", check=False).stdout.strip()
            if active:
                seen = self.session.xdotool("getwindowname", active, check=False).stdout.rstrip("\n")
                if seen == name:
                    return active
        raise TestFailure("the window %r did not get the focus within %.0f s (last active: %r)"
                          % (name, timeout, seen))

    def wait_for_box(self, timeout=15.0):
        """Waits until a window of the program other than the main one has the focus (a box is named
        after the main window's caption, so only its id tells it apart); returns its id."""
        for _ in _deadline_loop(timeout, 0.05):
            self._check_running("waiting for a box of the program to get the focus")
            active = self.session.xdotool("getactivewindow", check=False).stdout.strip()
            if active and active != self.window_id:
                return active
        raise TestFailure("no box of the program got the focus within %.0f s" % timeout)

    def wait_for_main_window_active(self, timeout=15.0):
        """Waits until the main window has the focus again, after a dialog or a box."""
        for _ in _deadline_loop(timeout, 0.05):
            self._check_running("waiting for the main window to get the focus back")
            if self.session.xdotool("getactivewindow", check=False).stdout.strip() == self.window_id:
                return
        raise TestFailure("the main window did not get the focus back within %.0f s; windows: %r"
                          % (timeout, self.visible_windows()))

    def visible_windows(self):
        """The ids of the program's visible windows: the main window, dialogs, message boxes."""
        found = self.session.xdotool("search", "--onlyvisible", "--pid", str(self.proc.pid), check=False)
        return found.stdout.split()

    def wait_for_windows(self, count, timeout=30.0):
        """Waits until the program shows `count` visible windows; returns their ids."""
        ids = []
        for _ in _deadline_loop(timeout, 0.05):
            self._check_running("waiting for %d visible windows" % count)
            ids = self.visible_windows()
            if len(ids) == count:
                return ids
        raise TestFailure("the program showed %d visible window(s) for %.0f s, expected %d"
                          % (len(ids), timeout, count))

    def activate(self, timeout=20.0):
        """Raises the main window and gives it the keyboard focus (through openbox). While a modal
        window of the program is open, openbox gives the focus to that one instead, which is as good."""
        self._check_running("activating its window")
        self.session.xdotool("windowactivate", self.window_id, check=False)
        active = None
        for _ in _deadline_loop(timeout, 0.05):
            active = self.session.xdotool("getactivewindow", check=False).stdout.strip()
            if active == self.window_id or (active and active in self.visible_windows()):
                return
        raise TestFailure("the program's window did not get the focus within %.0f s (active: %r, the program's: %r)"
                          % (timeout, active, self.visible_windows()))

    def key(self, *keys):
        """Types keys (xdotool key names, e.g. "ctrl+n", "Right", "alt+o") into the focused window."""
        self._check_running("typing %r" % (keys,))
        self.session.xdotool("key", "--clearmodifiers", "--delay", "60", *keys)

    def close_window(self):
        """Presses the window's close box: openbox's Alt+F4 sends the window WM_DELETE_WINDOW."""
        self.activate()
        self.session.xdotool("key", "--clearmodifiers", "alt+F4")

    def wait_exit(self, timeout=10.0):
        """Returns the exit status (negative: the signal that ended it); fails if still running."""
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TestFailure("the program was still running %.0f s later" % timeout) from None

    def stderr(self):
        with open(self.stderr_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def stop(self):
        _kill_group(self.proc)

    def report(self):
        state = self.proc.poll()
        return ("program %d %r: %s\n  stdout:\n%s\n  stderr:\n%s"
                % (self.number, self.args, "running" if state is None else "status %s" % state,
                   _tail(self.stdout_path), _tail(self.stderr_path)))


class Session:
    """A private desktop for one test: temporary HOME, Xvfb, openbox, speech-dispatcher."""

    def __init__(self, binary):
        self.binary = binary
        self.root = tempfile.mkdtemp(prefix="quorrel-e2e-")
        self.home = os.path.join(self.root, "home")
        self.config_home = os.path.join(self.home, ".config")
        self.data_home = os.path.join(self.home, ".local", "share")
        runtime = os.path.join(self.root, "runtime")
        for d in (self.config_home, self.data_home, os.path.join(self.home, ".cache")):
            os.makedirs(d)
        os.makedirs(runtime, mode=0o700)
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "SPEECHD_", "WAYLAND_", "XDG_")) and k not in ("DISPLAY", "SESSION_MANAGER")}
        env.update(HOME=self.home, XDG_CONFIG_HOME=self.config_home, XDG_DATA_HOME=self.data_home,
                   XDG_CACHE_HOME=os.path.join(self.home, ".cache"), XDG_RUNTIME_DIR=runtime,
                   QT_QPA_PLATFORM="xcb")
        self.env = env
        self.display = None
        self.speech = None
        self._no_speech_server = False
        self._xvfb = None
        self._openbox = None
        self._speechd = None
        self._programs = []

    # --- set-up ---------------------------------------------------------------------------------

    def _spawn(self, argv, log_name, env=None, **kwargs):
        with open(os.path.join(self.root, log_name), "wb") as log:
            return subprocess.Popen(argv, env=env or self.env, stdin=subprocess.DEVNULL, stdout=log,
                                    stderr=subprocess.STDOUT, start_new_session=True, **kwargs)

    def start_display(self):
        """Starts Xvfb on a free display and openbox on it; sets DISPLAY in self.env."""
        if self.display is not None:
            return
        read_end, write_end = os.pipe()
        try:
            self._xvfb = self._spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp", "-noreset"], "xvfb.log", pass_fds=(write_end,))
            os.close(write_end)
            write_end = None
            number = b""
            end = time.monotonic() + 20
            while not number.endswith(b"\n"):
                left = end - time.monotonic()
                if left <= 0 or not select.select([read_end], [], [], left)[0]:
                    raise TestFailure("Xvfb did not report its display:\n" + _tail(os.path.join(self.root, "xvfb.log")))
                chunk = os.read(read_end, 64)
                if not chunk:
                    raise TestFailure("Xvfb ended:\n" + _tail(os.path.join(self.root, "xvfb.log")))
                number += chunk
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        self.display = ":" + number.decode().strip()
        self.env["DISPLAY"] = self.display

        self._openbox = self._spawn(["openbox", "--sm-disable"], "openbox.log")
        # openbox is ready once it announces itself as an EWMH window manager.
        for _ in _deadline_loop(20, 0.05):
            if self.xdotool("get_desktop", check=False).returncode == 0:
                return
            if self._openbox.poll() is not None:
                break
        raise TestFailure("openbox did not start:\n" + _tail(os.path.join(self.root, "openbox.log")))

    def without_speech_server(self):
        """From now on the session's programs find no speech server, as where speech-dispatcher is
        not installed: SPEECHD_ADDRESS names a socket that does not exist, and the server libspeechd
        would start in its place (SPEECHD_CMD) is a program that does not exist either.
        start_speech() then does nothing."""
        if self._speechd is not None:
            raise TestFailure("without_speech_server() after the speech server was started")
        self._no_speech_server = True
        self.env["SPEECHD_ADDRESS"] = "unix_socket:" + os.path.join(self.root, "no-speechd.sock")
        self.env["SPEECHD_CMD"] = os.path.join(self.root, "no-speech-dispatcher")

    def start_speech(self):
        """Starts the private speech-dispatcher; sets SPEECHD_ADDRESS in self.env and self.speech."""
        if self._speechd is not None or self._no_speech_server:
            return
        base = os.path.join(self.root, "speechd")
        conf = os.path.join(base, "conf")
        logs = os.path.join(base, "log")
        os.makedirs(os.path.join(conf, "modules"))
        os.makedirs(logs)
        with open(os.path.join(conf, "speechd.conf"), "w") as f:
            f.write('AudioOutputMethod "alsa"\n'
                    'AudioALSADevice "null"\n'
                    'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n'
                    'DefaultModule espeak-ng\n')
        # Module configurations are looked up in CONFDIR/modules/.
        shutil.copy(_ESPEAK_MODULE_CONF, os.path.join(conf, "modules", "espeak-ng.conf"))
        socket_path = os.path.join(base, "speechd.sock")
        # Until it opens its log file, speech-dispatcher writes its start-up chatter to stdout.
        self._speechd = self._spawn(["speech-dispatcher", "-s", "-t", "0", "-C", conf, "-l", "5", "-L", logs,
                                     "-S", socket_path, "-P", os.path.join(base, "speechd.pid")],
                                    "speechd.out")
        self.speech = SpeechLog(os.path.join(logs, "speech-dispatcher.log"))
        for _ in _deadline_loop(20, 0.05):
            if os.path.exists(socket_path) and "waiting for clients" in _tail(self.speech.path, 100000):
                self.env["SPEECHD_ADDRESS"] = "unix_socket:" + socket_path
                return
            if self._speechd.poll() is not None:
                break
        raise TestFailure("speech-dispatcher did not start:\n" + _tail(os.path.join(self.root, "speechd.out")))

    def restart_speech(self):
        """Stops the private speech-dispatcher and starts a new one on the same socket, with a new log,
        as when the server is restarted under a running program."""
        _kill_group(self._speechd)
        self._speechd = None
        shutil.rmtree(os.path.join(self.root, "speechd"))
        self.start_speech()

    def start(self):
        self.start_display()
        self.start_speech()
        return self

    # --- use ------------------------------------------------------------------------------------

    def xdotool(self, *args, check=True, timeout=20):
        try:
            done = subprocess.run(["xdotool"] + list(args), env=self.env, stdin=subprocess.DEVNULL,
                                  capture_output=True, text=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TestFailure("xdotool %s hung for %d s" % (" ".join(args), timeout)) from None
        if check and done.returncode != 0:
            raise TestFailure("xdotool %s failed (%d): %s" % (" ".join(args), done.returncode, done.stderr.strip()))
        return done

    def start_program(self, *args):
        """Starts the program (default speech back end: the private speech-dispatcher) and waits for
        its main window."""
        self.start()
        program = Program(self, args, len(self._programs) + 1)
        self._programs.append(program)
        program.wait_for_window()
        return program

    def start_program_and_welcome(self, *args):
        """Starts the program and waits for the last of its welcome texts; the text cursor is left after
        it."""
        program = self.start_program(*args)
        self.speech.wait_for(lambda t: WELCOME_LAST in t, 30, "the welcome texts")
        self.speech.mark()
        return program

    def run_program(self, *args, timeout=30):
        """Runs the program to completion in this session's environment; returns CompletedProcess."""
        self.start()
        try:
            return subprocess.run([self.binary] + list(args), env=self.env, stdin=subprocess.DEVNULL,
                                  capture_output=True, text=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TestFailure("%s %s did not end within %d s" % (self.binary, " ".join(args), timeout)) from None

    def settings_file(self):
        return os.path.join(self.config_home, "Quorrel", "Quorrel.conf")

    # --- tear-down ------------------------------------------------------------------------------

    def report(self):
        parts = ["speech-dispatcher queued (in order):\n" + (self.speech.transcript() if self.speech else "  (not started)")]
        parts += [p.report() for p in self._programs]
        return "\n".join(parts)

    def close(self, keep=False):
        for program in self._programs:
            program.stop()
        _kill_group(self._speechd)
        _kill_group(self._openbox)
        _kill_group(self._xvfb)
        if keep:
            print("  files kept in " + self.root)
        else:
            shutil.rmtree(self.root, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False


def missing_prerequisites():
    missing = ["%s (package %s)" % (prog, pkg) for prog, pkg in _REQUIRED_PROGRAMS.items() if shutil.which(prog) is None]
    if not os.path.exists(_ESPEAK_MODULE) or not os.path.exists(_ESPEAK_MODULE_CONF):
        missing.append("speech-dispatcher's espeak-ng module (package speech-dispatcher-espeak-ng)")
    return missing


def main(tests):
    """Runs the test functions given (each takes a Session); see the module's description."""
    if len(sys.argv) < 2:
        print("usage: %s PATH_TO_QUORREL [TEST_NAME ...]" % sys.argv[0], file=sys.stderr)
        sys.exit(2)
    missing = missing_prerequisites()
    if missing:
        print("SKIPPED: end-to-end tests need " + ", ".join(missing) + "; `scripts/dev test` installs them.")
        sys.exit(77)
    if os.environ.get(_IN_DBUS) != "1":
        sys.stdout.flush()
        env = dict(os.environ)
        env[_IN_DBUS] = "1"
        os.execvpe("dbus-run-session", ["dbus-run-session", "--", sys.executable,
                                        os.path.abspath(sys.argv[0])] + sys.argv[1:], env)

    # Turn a polite kill into an exception, so that the session is still torn down.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
    signal.signal(signal.SIGHUP, lambda *_: sys.exit(128 + signal.SIGHUP))
    binary = os.path.abspath(sys.argv[1])
    if not os.access(binary, os.X_OK):
        print("not an executable program: " + binary, file=sys.stderr)
        sys.exit(2)
    chosen = sys.argv[2:]
    selected = [t for t in tests if not chosen or t.__name__ in chosen]
    keep = os.environ.get("QUORREL_E2E_KEEP") == "1"
    passed = failed = 0
    for test in selected:
        print("--- " + test.__name__, flush=True)
        session = Session(binary)
        ok = False
        try:
            test(session)
            ok = True
        except Exception:
            traceback.print_exc(file=sys.stdout)
            print(session.report())
        finally:
            session.close(keep=keep)
        print(("PASSED " if ok else "FAILED ") + test.__name__, flush=True)
        passed += ok
        failed += not ok
    print("%d passed, %d failed" % (passed, failed))
    sys.exit(0 if failed == 0 and passed > 0 else 1)
