#!/usr/bin/python3
# End-to-end test: the window's keys after the menus and dialogs, before any game; a reading key held down.
import os
import stat
import time

import harness
from focus_tables import write_table
from harness import CANCEL, TestFailure

KEY_LIST_FIRST = "Use the tab key to move between the 3 grids. "
KEY_LIST_LAST = "Press control f to find a particular card. "
ABOUT_CAPTION = "About Quorrel"
DEAL_NUMBER_CAPTION = "Deal Game Number"
DEAL_NUMBER_PROMPT = "Game number, from 1 to 1000000:"


def fake_help_viewer(session):
    """Puts an xdg-open first on the program's PATH that only notes each document it is asked to open;
    returns the note's path."""
    folder = os.path.join(session.root, "bin")
    os.makedirs(folder, exist_ok=True)
    note = os.path.join(session.root, "opened.txt")
    script = os.path.join(folder, "xdg-open")
    with open(script, "w") as f:
        f.write('#!/bin/sh\necho "$1" >> "%s"\n' % note)
    os.chmod(script, os.stat(script).st_mode | stat.S_IXUSR)
    session.env["PATH"] = folder + os.pathsep + session.env.get("PATH", "")
    return note


def opened(note):
    try:
        with open(note) as f:
            return f.read().split()
    except FileNotFoundError:
        return []


def expect_key_list(session, program):
    program.key("F2")
    session.speech.expect_events(CANCEL, KEY_LIST_FIRST)
    session.speech.wait_for(lambda t: KEY_LIST_LAST in t, 15, "the end of the key list")
    session.speech.mark()


def expect_help_opened(program, note, count):
    program.key("F1")
    for _ in harness._deadline_loop(15):
        if len(opened(note)) == count:
            break
    else:
        raise TestFailure("F1 opened %r, expected %d document(s)" % (opened(note), count))
    if not opened(note)[-1].endswith("Quorr.html"):
        raise TestFailure("F1 opened %r" % opened(note))


def test_f1_and_f2_after_the_menus_before_any_game(session):
    """Before the first game, every way back from a menu or a dialog gives the window its keys back."""
    note = fake_help_viewer(session)
    program = session.start_program_and_welcome()
    session.speech.mark()
    routes = [
        ("a menu closed with Escape", ["alt+g", "Escape"], None),
        ("the menu bar left with two Escapes", ["alt+h", "Escape", "Escape"], None),
        ("About closed", ["alt+h", "a"], (ABOUT_CAPTION, None)),
        ("the Deal Game Number dialog cancelled", ["alt+p", "d"], (DEAL_NUMBER_CAPTION, DEAL_NUMBER_PROMPT)),
    ]
    helps = 0
    for what, keys, dialog in routes:
        program.key(*keys)
        if dialog:
            caption, words = dialog
            program.wait_for_active_window(caption)
            if words:
                session.speech.wait_for(lambda t: words in t, 15, repr(words))
                session.speech.mark()
            program.key("Escape")
            program.wait_for_main_window_active()
        try:
            expect_key_list(session, program)
            helps += 1
            expect_help_opened(program, note, helps)
        except TestFailure as failure:
            raise TestFailure("after %s: %s" % (what, failure)) from None
    # Still nothing dealt: the keys did not start a game.
    if "Untitled.qrl - Quorrel" in session.xdotool("getwindowname", program.window_id).stdout:
        raise TestFailure("a game began")


def test_a_menu_that_is_open_keeps_its_keys(session):
    """While a menu is open, F2 is not the window's: the key list is heard only once the menu is closed."""
    program = session.start_program_and_welcome()
    session.speech.mark()
    program.key("alt+g")
    time.sleep(0.5)
    program.key("F2")
    time.sleep(1.0)
    if KEY_LIST_FIRST in session.speech.texts()[session.speech.cursor:]:
        raise TestFailure("F2 spoke the key list while the Game menu was open")
    program.key("Escape", "Escape")
    expect_key_list(session, program)


def hold(session, key, seconds):
    """Holds a real key down: the X server repeats it, as it does for a player's finger."""
    session.xdotool("keydown", "--clearmodifiers", key)
    try:
        time.sleep(seconds)
    finally:
        session.xdotool("keyup", key)


def readings_started(session):
    """How many readings began since the event cursor: each begins by silencing what came before."""
    return sum(e.kind == "cancel" for e in session.speech.said()[session.speech.event_cursor:])


def test_a_held_reading_key_reads_once(session):
    """A reading key held down for seconds starts one reading, however the repeats come; pressed again on
    purpose, it reads again."""
    path = write_table(os.path.join(session.root, "free.qrl"), free=("KH", "QS"))
    program = session.start_program_and_welcome()
    program.key("ctrl+o")
    program.wait_for_active_window("Open")
    session.xdotool("key", "--clearmodifiers", "ctrl+a")
    session.xdotool("type", "--clearmodifiers", "--delay", "30", path)
    session.xdotool("key", "--clearmodifiers", "Return")
    program.wait_for_title("free.qrl - Quorrel")
    session.speech.wait_for(lambda t: " Columns " in t[:-1], 20, "the opened table")
    time.sleep(1)
    session.speech.mark()
    # F3 reads the free cells with pauses between them; F9, Shift+F9 and F11 are the Play menu's.
    for key, last in (("F3", " Cell  4"), ("F9", " Run of "), ("shift+F9", " Cards on the table: "),
                      ("F11", " Column  8")):
        hold(session, key, 3)
        session.speech.wait_for(lambda t: last in "".join(t), 15, repr(last))
        time.sleep(1)
        if readings_started(session) != 1:
            raise TestFailure("holding %s for 3 s started %d readings: %r"
                              % (key, readings_started(session), session.speech.said()[session.speech.event_cursor:]))
        session.speech.mark()
    # Two presses on purpose read twice.
    program.key("F11", "F11")
    session.speech.wait_for(lambda t: "".join(t).count(" Column  8") == 2, 15, "two readings of the bottom row")


if __name__ == "__main__":
    harness.main([test_f1_and_f2_after_the_menus_before_any_game, test_a_menu_that_is_open_keeps_its_keys,
                  test_a_held_reading_key_reads_once])
