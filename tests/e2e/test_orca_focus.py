#!/usr/bin/python3
# End-to-end test beside Orca: opening games through the file dialog again and again leaves the main window active
# with the focus in the column grid, and Orca alone reads the message boxes.
import os
import re

import orca_harness
from focus_tables import last_card_record, write_table
from harness import CARD, TestFailure, WELCOME_LAST
from orca_harness import with_orca

OPENS = 8






@with_orca
def test_open_again_and_again(session, orca):
    path = write_table(os.path.join(session.root, "game.qrl"), free=("KH",))
    caption = "game.qrl - Quorrel"
    program = orca.start()
    session.speech.wait_for(lambda t: WELCOME_LAST in t, 30, "the welcome texts")
    for n in range(OPENS):
        print("  open %d" % (n + 1), flush=True)
        session.speech.mark()
        if n > 0:
            # A move: the bottom card of column 1 goes to free cell 2.
            program.key(*["Down"] * 6, "Return", "Tab", "Right", "Return")
            session.speech.wait_for(lambda t: " was moved " in t, 60, "the move")
            session.speech.mark()
        program.key("ctrl+o")
        if n > 0:
            # The changed table: the question comes first, read by Orca with its text; No brings the
            # Open dialog at once, and Orca goes from the box to the dialog, not by the main window.
            program.wait_for_box()
            orca.speech.wait_for_text(r"Do you want to save this game before you open a new game\?", 30)
            program.key("Escape")
        program.wait_for_active_window("Open")
        # As a player would, the test lets Orca read the dialog before typing into it.
        said = orca.speech.wait_for_text(r"^File name: text\.?$", 30)
        if any(re.search(r"Quorrel frame", t) for t in said):
            raise TestFailure("Orca read the main window between the question and the Open dialog: %r" % said)
        session.xdotool("key", "--clearmodifiers", "ctrl+a")
        session.xdotool("type", "--clearmodifiers", "--delay", "30", path)
        session.xdotool("key", "--clearmodifiers", "Return")
        program.wait_for_title(caption)
        program.wait_for_main_window_active()
        # Orca, too, is back in the main window.
        orca.speech.wait_for_text(r"^game\.qrl - Quorrel frame\.?$", 30)
        # The keyboard is in the column grid, and the program knows it: Tab goes on to the free cells.
        # Before that, the column grid may have announced itself after the question and after the
        # dialog; nothing else. (Orca's cancels share the speech log, so only the program's texts
        # are checked; Orca, on a busy machine, may hold each key a while before the program gets it.)
        program.key("Tab")
        texts = session.speech.wait_for(lambda t: " Free Cells " in t[:-1], 60, "the free cells after Tab")
        at = texts.index(" Free Cells ")
        if texts[at + 1] != " rois  de  Coeurs " or not all(t == " Columns " or CARD.matches(t) for t in texts[:at]):
            raise TestFailure("after the open and Tab the program said %r" % texts)
        if any("game in progress" in t or t == " Yes or No. " for t in texts):
            raise TestFailure("the program said the box Orca reads: %r" % texts)
        session.speech.cursor += at + 2
        program.key("shift+Tab")
        session.speech.expect(" Columns ", CARD, timeout=60)


@with_orca
def test_the_winning_move_is_heard(session, orca):
    """Beside Orca, the last card home is said by the program, whole, and Orca reads the question."""
    path = os.path.join(session.root, "last.qrl")
    with open(path, "wb") as f:
        f.write(last_card_record(False))
    program = orca.start()
    session.speech.wait_for(lambda t: WELCOME_LAST in t, 30, "the welcome texts")
    program.key("ctrl+o")
    program.wait_for_active_window("Open")
    orca.speech.wait_for_text(r"^File name: text\.?$", 30)
    session.xdotool("key", "--clearmodifiers", "ctrl+a")
    session.xdotool("type", "--clearmodifiers", "--delay", "30", path)
    session.xdotool("key", "--clearmodifiers", "Return")
    program.wait_for_title("last.qrl - Quorrel")
    program.wait_for_main_window_active()
    session.speech.wait_for(lambda t: " rois  de  Coeurs " in t, 60, "the opened table")
    session.speech.mark()
    program.key("Return")
    session.speech.wait_for(lambda t: " selected " in t, 60, "the king picked up")
    program.key("Tab", "Tab")
    session.speech.wait_for(lambda t: " dames  de  Coeurs " in t, 60, "the home cells")
    session.speech.mark()
    program.key("Return")
    orca.speech.wait_for_text(r"The game is over!\s+Do you want to play again\?", 60)
    said = session.speech.wait_for(lambda t: " was moved " in t, 30, "the winning move")
    if said != [" rois  de  Coeurs ", " was moved "]:
        raise TestFailure("the winning move was said as %r" % said)
    program.key("Escape")
    program.wait_exit(30)


if __name__ == "__main__":
    orca_harness.main([test_open_again_and_again, test_the_winning_move_is_heard])
