#!/usr/bin/python3
# End-to-end test: Save As, Save and Open through the real file dialog, checked against the spoken table and the bytes.
import os
import shutil
import subprocess
import sys
import time

import harness
from harness import CARD, SHUFFLING, TestFailure

COLUMNS = " Columns "
WAS_SAVED = " was saved! "
UNTITLED_CAPTION = "Untitled.qrl - Quorrel"
SAVE_DIALOG = "Save As"
OPEN_DIALOG = "Open"
MESSAGE_BOX = "Quorrel"
# A name that is not plain ASCII, in a folder whose name has a blank.
GAME_NAME = "Partie été.qrl"

RANK_CODES = dict(zip(harness.RANK_WORDS, ["A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"]))
SUIT_CODES = dict(zip(harness.SUIT_WORDS, ["S", "C", "H", "D"]))

# After a deal, columns 1 to 4 hold seven cards and columns 5 to 8 six.
COLUMN_HEIGHTS = [7, 7, 7, 7, 6, 6, 6, 6]

# The record's layout: 21 rows by 9 columns of 3-byte slots, then 5 free cells, 5 home cells and the
# 16-bit count of cards played home. The program stores rows 1 to 19 of columns 0 to 7 and cells 0 to 3.
RECORD_SIZE = 599
FREE_CELLS_AT = 567
HOME_CELLS_AT = 582
HOME_COUNT_AT = 597

# xdotool types a character the keyboard map lacks by binding it to a spare key for a moment, and the
# program may read the map after the binding is gone: "été" then arrives as "ét". A map with é on a key
# of its own (the key left of Z on 105-key keyboards, never used here) makes the typing reliable.
KEYMAP_WITH_E_ACUTE = """xkb_keymap {
    xkb_keycodes { include "evdev+aliases(qwerty)" };
    xkb_types { include "complete" };
    xkb_compat { include "complete" };
    xkb_symbols {
        include "pc+us+inet(evdev)"
        key <LSGT> { [ eacute, Eacute ] };
    };
    xkb_geometry { include "pc(pc105)" };
};
"""


# --- what the program says ----------------------------------------------------------------------

def card_code(text):
    """The card code ("7H", "10S") of a card's spoken words (" septs  de  Coeurs ")."""
    for rank, code in RANK_CODES.items():
        if text.startswith(rank + " de "):
            suit = text[len(rank) + len(" de "):]
            if suit in SUIT_CODES:
                return code + SUIT_CODES[suit]
    raise TestFailure("not a card's words: %r" % text)


def wait_for_text(session, text, timeout=15.0):
    """Waits for `text` after the speech cursor; moves the cursor past it and returns the texts before it."""
    texts = session.speech.wait_for(lambda t: text in t, timeout, repr(text))
    at = texts.index(text)
    session.speech.cursor += at + 1
    return texts[:at]


def next_cell_card(session, column, column_changed):
    """The card announced after one arrow key in the column grid (column counted from 1). The column
    number comes first when the column changed; on the same column it may come or not."""
    texts = session.speech.wait_for(lambda t: any(CARD.matches(x) for x in t), 10, "the next cell's card")
    at = next(i for i, x in enumerate(texts) if CARD.matches(x))
    number = " Column  %d" % column
    allowed = [[number]] if column_changed else [[], [number]]
    if texts[:at] not in allowed:
        raise TestFailure("before the card of column %d: %r, expected one of %r" % (column, texts[:at], allowed))
    session.speech.cursor += at + 1
    return texts[at]


def read_table(session, program, first_card):
    """Walks every dealt card of the column grid, starting on row 1 of column 1 (whose card,
    `first_card`, was just announced), down the odd columns and up the even ones. Returns
    {(row, column from 0): card code}."""
    table = {(1, 0): card_code(first_card)}
    row = 1
    for col, height in enumerate(COLUMN_HEIGHTS):
        down = col % 2 == 0
        rows = list(range(1, height + 1)) if down else list(range(height, 0, -1))
        if col > 0:
            if rows[0] != row:
                raise AssertionError("the walk cannot step right from row %d into column %d" % (row, col + 1))
            program.key("Right")
            table[(row, col)] = card_code(next_cell_card(session, col + 1, True))
        for row in rows[1:]:
            program.key("Down" if down else "Up")
            table[(row, col)] = card_code(next_cell_card(session, col + 1, False))
    if len(set(table.values())) != 52:
        raise TestFailure("the walk heard %d different cards: %r" % (len(set(table.values())), table))
    return table


# --- the game file ------------------------------------------------------------------------------

def column_offset(row, col):
    return 3 * (row + 21 * col)


def expected_record(table):
    """The 599 bytes of a game whose columns hold `table` and whose free and home cells are empty."""
    record = bytearray(RECORD_SIZE)  # never-stored slots stay code-0 bytes
    for row in range(1, 20):
        for col in range(8):
            record[column_offset(row, col):column_offset(row, col) + 3] = \
                table.get((row, col), "").ljust(3).encode("ascii")
    for k in range(4):
        record[FREE_CELLS_AT + 3 * k:FREE_CELLS_AT + 3 * k + 3] = b"   "
        record[HOME_CELLS_AT + 3 * k:HOME_CELLS_AT + 3 * k + 3] = b"   "
    record[HOME_COUNT_AT:HOME_COUNT_AT + 2] = (0).to_bytes(2, "little")
    return bytes(record)


def slot_name(offset):
    if offset >= HOME_COUNT_AT:
        return "HomeCount"
    if offset >= HOME_CELLS_AT:
        return "home cell %d" % ((offset - HOME_CELLS_AT) // 3)
    if offset >= FREE_CELLS_AT:
        return "free cell %d" % ((offset - FREE_CELLS_AT) // 3)
    slot = offset // 3
    return "row %d column %d" % (slot % 21, slot // 21)


def check_game_file(path, want):
    with open(path, "rb") as f:
        got = f.read()
    if got == want:
        return
    if len(got) != len(want):
        raise TestFailure("%s holds %d bytes, expected %d" % (path, len(got), len(want)))
    wrong = []
    for offset in range(0, len(want), 3):
        if got[offset:offset + 3] != want[offset:offset + 3]:
            wrong.append("%s at %d: %r, expected %r" % (slot_name(offset), offset, got[offset:offset + 3],
                                                       want[offset:offset + 3]))
    raise TestFailure("%s differs from the spoken table in %d slot(s):\n  %s"
                      % (path, len(wrong), "\n  ".join(wrong[:20])))


# --- windows and dialogs ------------------------------------------------------------------------

def use_keymap_with_e_acute(session):
    session.start_display()
    done = subprocess.run(["xkbcomp", "-w", "0", "-", session.display], input=KEYMAP_WITH_E_ACUTE.encode(),
                          env=session.env, capture_output=True, timeout=30)
    if done.returncode != 0:
        raise TestFailure("xkbcomp could not load the keyboard map: %s" % done.stderr.decode(errors="replace"))


def start(session):
    """Starts the program with a keyboard that types é; returns it once the welcome has been spoken."""
    use_keymap_with_e_acute(session)
    return session.start_program_and_welcome()


def deal(session, program):
    """Ctrl+N on a table with nothing to save; returns the words of row 1, column 1."""
    program.key("ctrl+n")
    wait_for_text(session, SHUFFLING, timeout=20)
    # Laying out the grid moves its cursor to row 1 of column 1, which may begin to be announced
    # before the grid, taking the focus, announces itself.
    before = wait_for_text(session, COLUMNS, timeout=20)
    assert all(t == " Column  1" or CARD.matches(t) for t in before), "spoken during the deal: %r" % before
    card, = session.speech.expect(CARD)
    program.wait_for_title(UNTITLED_CAPTION)
    return card


def visible_windows(session, program):
    """(id, name) of each visible window of the program; a completer's popup counts too."""
    found = session.xdotool("search", "--onlyvisible", "--pid", str(program.proc.pid), check=False)
    return [(w, session.xdotool("getwindowname", w, check=False).stdout.rstrip("\n")) for w in found.stdout.split()]


def wait_for_other_window(session, program, name, timeout=10.0):
    """Waits until a window other than the main one, named `name`, has the focus; returns its id.
    (A question box is named after the main window's caption, so the name alone cannot tell.)"""
    seen = None
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        active = session.xdotool("getactivewindow", check=False).stdout.strip()
        if active and active != program.window_id:
            seen = session.xdotool("getwindowname", active, check=False).stdout.rstrip("\n")
            if seen == name:
                return active
        time.sleep(0.05)
    raise TestFailure("no window %r besides the main one got the focus (last seen: %r; windows: %r)"
                      % (name, seen, visible_windows(session, program)))




def enter_file_name(session, text, replace=True):
    """Types into the focused file dialog's name field (replacing its text, or before it) and presses Enter."""
    if replace:
        session.xdotool("key", "--clearmodifiers", "ctrl+a")
    else:
        session.xdotool("key", "--clearmodifiers", "Home")
    session.xdotool("type", "--clearmodifiers", "--delay", "30", text)
    session.xdotool("key", "--clearmodifiers", "Return")


def games_folder_files(session):
    folder = os.path.join(os.path.dirname(session.binary), "Games")
    return set(os.listdir(folder)) if os.path.isdir(folder) else set()


def check_games_folder_untouched(session, before, names):
    """The test types full paths into the dialogs: none of its names may turn up in the program's own folder."""
    new = (games_folder_files(session) - before) & set(names)
    assert not new, "the test left files in the program's Games folder: %r" % sorted(new)


# --- tests --------------------------------------------------------------------------------------

def test_save_as_save_and_open(session):
    folder = os.path.join(session.root, "saved games")
    os.makedirs(folder)
    path = os.path.join(folder, GAME_NAME)
    games_before = games_folder_files(session)
    program = start(session)
    table = read_table(session, program, deal(session, program))
    want = expected_record(table)

    # An untitled game's Save is Save As.
    session.speech.mark()
    program.key("ctrl+s")
    program.wait_for_active_window(SAVE_DIALOG)
    enter_file_name(session, path)
    program.wait_for_title(GAME_NAME + " - Quorrel")
    program.wait_for_main_window_active()
    check_game_file(path, want)
    assert os.listdir(folder) == [GAME_NAME], "the folder holds %r" % os.listdir(folder)

    # Now Save writes without a dialog and says so. Save As said nothing: before the line there is
    # at most the grid announcing itself again as the dialog closed.
    program.key("ctrl+s")
    before = wait_for_text(session, GAME_NAME + WAS_SAVED)
    assert all(t == COLUMNS or CARD.matches(t) for t in before), "spoken around Save As: %r" % before
    assert visible_windows(session, program) == [(program.window_id, GAME_NAME + " - Quorrel")], \
        "windows after Save: %r" % visible_windows(session, program)
    check_game_file(path, want)
    assert os.listdir(folder) == [GAME_NAME], "the folder holds %r after Save" % os.listdir(folder)

    # The game was saved, so New Game deals at once.
    session.speech.mark()
    deal(session, program)

    # The new deal is unsaved: Open asks first; No goes on to the open dialog.
    program.key("ctrl+o")
    wait_for_other_window(session, program, UNTITLED_CAPTION)
    program.key("alt+n")
    program.wait_for_active_window(OPEN_DIALOG)
    session.speech.mark()
    enter_file_name(session, path)
    program.wait_for_title(GAME_NAME + " - Quorrel")
    program.wait_for_main_window_active()
    texts = session.speech.wait_for(lambda t: COLUMNS in t and t.index(COLUMNS) + 1 < len(t), 15,
                                    "the column grid announcing itself")
    assert SHUFFLING not in texts, "opening a file dealt: %r" % texts
    session.speech.cursor += texts.index(COLUMNS) + 1
    first, = session.speech.expect(CARD)
    assert card_code(first) == table[(1, 0)], "row 1 of column 1 after Open: %r, saved %s" % (first, table[(1, 0)])
    reopened = read_table(session, program, first)
    assert reopened == table, "the table after Open differs: %r" % {
        cell: (table.get(cell), reopened.get(cell)) for cell in table if table.get(cell) != reopened.get(cell)}

    # Saving the opened game writes the same bytes again.
    program.key("ctrl+s")
    wait_for_text(session, GAME_NAME + WAS_SAVED)
    check_game_file(path, want)
    check_games_folder_untouched(session, games_before, [GAME_NAME])


def test_name_without_extension_and_the_untitled_name(session):
    folder = os.path.join(session.root, "saved games")
    os.makedirs(folder)
    games_before = games_folder_files(session)
    program = start(session)
    table = read_table(session, program, deal(session, program))

    # Game menu, access key A: Save Game As. A name without an extension comes back from the dialog
    # ending in ".QRL" and is refused with a message box; the dialog then comes back.
    program.key("alt+g", "a")
    program.wait_for_active_window(SAVE_DIALOG)
    enter_file_name(session, os.path.join(folder, "Partie"))
    wait_for_other_window(session, program, MESSAGE_BOX)
    program.key("Return")
    program.wait_for_active_window(SAVE_DIALOG)
    program.key("Escape")
    program.wait_for_main_window_active()
    program.wait_for_title(UNTITLED_CAPTION)
    assert os.listdir(folder) == [], "a refused or cancelled Save As wrote %r" % os.listdir(folder)

    # The save dialog comes preset to "Untitled.qrl": typing only a folder before it saves there.
    program.key("ctrl+s")
    program.wait_for_active_window(SAVE_DIALOG)
    enter_file_name(session, folder + "/", replace=False)
    program.wait_for_main_window_active()
    untitled = os.path.join(folder, "Untitled.qrl")
    end = time.monotonic() + 10
    while not os.path.exists(untitled) and time.monotonic() < end:
        time.sleep(0.05)
    assert os.listdir(folder) == ["Untitled.qrl"], "the folder holds %r" % os.listdir(folder)
    check_game_file(untitled, expected_record(table))
    program.wait_for_title(UNTITLED_CAPTION)

    # A game saved as "Untitled.qrl" still counts as untitled: Save asks for a name again.
    session.speech.mark()
    program.key("ctrl+s")
    program.wait_for_active_window(SAVE_DIALOG)
    program.key("Escape")
    program.wait_for_main_window_active()
    # Cancel is silent: before the next cell's card there is at most the grid announcing itself again.
    program.key("Down")
    below = table[(2, 7)]
    texts = session.speech.wait_for(lambda t: any(CARD.matches(x) and card_code(x) == below for x in t), 10,
                                    "the card of row 2, column 8")
    assert all(t in (COLUMNS, " Column  8") or CARD.matches(t) for t in texts), "spoken after Cancel: %r" % texts
    assert os.listdir(folder) == ["Untitled.qrl"], "the folder holds %r after Cancel" % os.listdir(folder)
    check_games_folder_untouched(session, games_before, ["Partie.QRL", "Partie", "Untitled.qrl"])


if __name__ == "__main__":
    if shutil.which("xkbcomp") is None:
        print("SKIPPED: this end-to-end test needs xkbcomp (package x11-xkb-utils).")
        sys.exit(77)
    harness.main([test_save_as_save_and_open, test_name_without_extension_and_the_untitled_name])
