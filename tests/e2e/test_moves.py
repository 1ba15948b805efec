#!/usr/bin/python3
# End-to-end test: picking up, dropping and refused drops with real keys, and the exact words queued.
import harness
from harness import CANCEL, CARD, SHUFFLING, TestFailure, press

WELCOME = ["Press control n to start a new game! ",
           "Press F1 for help! ",
           "Press F2 to hear a list of keyboard commands! "]
EMPTY = " Empty "
FIRST_HOME_CARD_ACE = " The first card in a home cell must be an Ace.  "
ONLY_BOTTOM_CARD = " Only the bottom card in a column can be moved! "
CANNOT_MOVE_EMPTY = " Can not move an empty cell! "


def new_game(session):
    """Starts the program and a game; returns (program, the card in row 1 of column 1). The event
    cursor is left after the deal's speech, with the column grid's cursor on row 1 of column 1."""
    program = session.start_program()
    session.speech.expect(*WELCOME, timeout=30)
    program.key("ctrl+n")
    _, _, top = session.speech.expect(SHUFFLING, " Columns ", CARD, timeout=20)
    session.speech.mark()
    return program, top


def walk_to_bottom_of_column_1(session, program):
    """From row 1 of column 1, goes down until the cell below is empty and back up to the bottom card;
    returns its words and the number of cards in the column."""
    said = press(session, program, "Down", CANCEL, " Column  1", CARD)
    last, rows = said[-1], 2
    while True:
        said = press(session, program, "Down", CANCEL, harness.OneOf(harness.CARD_TEXTS | {EMPTY}, "a cell"))
        if said[-1] == EMPTY:
            break
        last, rows = said[-1], rows + 1
        if rows > 19:
            raise TestFailure("column 1 seems to have more than 19 cards")
    press(session, program, "Up", CANCEL, last)
    return last, rows


def test_pick_up_and_drop(session):
    program, top = new_game(session)
    bottom, rows = walk_to_bottom_of_column_1(session, program)
    assert rows == 7, "column 1 was dealt %d cards" % rows

    # Column to free cell: a column pick-up stops the speech first; the move itself does not.
    press(session, program, "Return", CANCEL, bottom, " selected ")
    press(session, program, "Tab", CANCEL, " Free Cells ", EMPTY)
    press(session, program, "Return", bottom, " was moved ")

    # With nothing picked up, Escape says nothing: the next key's speech follows at once.
    program.key("Escape")
    press(session, program, "Right", CANCEL, EMPTY)
    press(session, program, "Left", CANCEL, bottom)

    # A free-cell pick-up does not stop the speech.
    press(session, program, "Return", bottom, " selected ")
    press(session, program, "Tab", CANCEL, " Home Cells ", EMPTY)
    if bottom.startswith(" ace "):
        press(session, program, "Return", bottom, " was moved ")
        free_cell = EMPTY
    else:
        press(session, program, "Return", CANCEL, FIRST_HOME_CARD_ACE, EMPTY)
        # The cursor of the free cells never left the card, so Escape only unmarks it.
        press(session, program, "Escape", bottom, " unselected ")
        free_cell = bottom

    # Back to the columns, whose cursor stayed on the emptied cell.
    press(session, program, "shift+Tab", CANCEL, " Free Cells ", free_cell)
    press(session, program, "shift+Tab", CANCEL, " Columns ", EMPTY)
    press(session, program, "Return", CANCEL, CANNOT_MOVE_EMPTY)
    for _ in range(rows - 2):
        press(session, program, "Up", CANCEL, CARD)
    press(session, program, "Up", CANCEL, top)
    press(session, program, "Return", CANCEL, ONLY_BOTTOM_CARD, top)


if __name__ == "__main__":
    harness.main([test_pick_up_and_drop])
