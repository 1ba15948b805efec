#!/usr/bin/python3
# End-to-end test: a move taken back with Ctrl+Z and made again with Ctrl+Y, and a deal by its number typed
# into the Ctrl+G dialog, with real keys, and the exact words queued.
import harness
from harness import CANCEL, CARD, SHUFFLING

WELCOME = ["Press control n to start a new game! ",
           "Press F1 for help! ",
           "Press F2 to hear a list of keyboard commands! "]
EMPTY = " Empty "
DEAL_DIALOG = "Deal Game Number"
DEAL_LABEL = "Game number, from 1 to 1000000:"
YES_OR_NO = " Yes or No. "


def press(session, program, key, *expected):
    """Types one key and checks the texts and cancels it queued; returns the texts."""
    program.key(key)
    return [e.text for e in session.speech.expect_events(*expected) if e.kind == "speak"]


def test_undo_and_redo_a_move(session):
    program = session.start_program()
    session.speech.expect(*WELCOME, timeout=30)
    program.key("ctrl+n")
    session.speech.expect(SHUFFLING, " Columns ", CARD, timeout=20)
    session.speech.mark()

    # Column 1 holds seven cards: down to the bottom one, then to the first free cell.
    bottom = press(session, program, "Down", CANCEL, " Column  1", CARD)[-1]
    for _ in range(5):
        bottom = press(session, program, "Down", CANCEL, CARD)[-1]
    press(session, program, "Return", CANCEL, bottom, " selected ")
    press(session, program, "Tab", CANCEL, " Free Cells ", EMPTY)
    press(session, program, "Return", bottom, " was moved ")

    # Back to column 1, whose cursor goes to the card without a word of its own; the focus stays in the
    # free cells, whose cursor the redo puts back on the card.
    press(session, program, "ctrl+z", CANCEL, bottom, " back to ", " Column  1")
    press(session, program, "Right", CANCEL, EMPTY)
    press(session, program, "ctrl+y", CANCEL, bottom, " moved again to ", " a Free Cell ")
    press(session, program, "ctrl+y", CANCEL, " Nothing to redo. ")
    press(session, program, "Right", CANCEL, EMPTY)
    press(session, program, "Left", CANCEL, bottom)
    press(session, program, "ctrl+z", CANCEL, bottom, " back to ", " Column  1")
    press(session, program, "ctrl+shift+z", CANCEL, bottom, " moved again to ", " a Free Cell ")

    # Deal 617 by its number: the dialog says its field's label, the changed game asks the save question
    # (Escape answers No), and the number is said after the new table's column grid.
    press(session, program, "ctrl+g", CANCEL, DEAL_LABEL)
    program.wait_for_active_window(DEAL_DIALOG)
    session.speech.mark()
    program.key("6", "1", "7", "Return")
    session.speech.wait_for(lambda t: YES_OR_NO in t, 20, "the save question")
    program.key("Escape")
    deal = [SHUFFLING, " Columns ", " septs  de  Carreaux ", " Game number  617"]
    session.speech.know(*deal)
    texts = session.speech.wait_for(lambda t: deal[-1] in t, 30, "the game's number")
    if texts[-len(deal):] != deal:
        raise harness.TestFailure("after the deal: %r, expected %r" % (texts, deal))
    program.wait_for_title("Untitled.qrl - Quorrel")

if __name__ == "__main__":
    harness.main([test_undo_and_redo_a_move])
