#!/usr/bin/python3
# End-to-end test: the key list (F2), reading the free cells (F3), the bottom row (F5, F6) and Find a card (Ctrl+F).
import harness
from harness import CANCEL, CANCELS, CARD, SHUFFLING, TestFailure

WELCOME = ["Press control n to start a new game! ",
           "Press F1 for help! ",
           "Press F2 to hear a list of keyboard commands! "]
EMPTY = " Empty "
KEY_LIST = [
    "Use the tab key to move between the 3 grids. ",
    "To move a card, press the enter key on the card to select it, then move to the destination and press the "
    "enter key to drop it. ",
    "Press the Escape key to unselect a card you have selected to move. ",
    "Use the up, down, left, and right arrow keys to move around inside the 3 grids. ",
    "Press F3 to read the contents of the Free Cells.",
    "Press F4 to read the contents of the Home Cells.",
    "Press F5 to move to the previous card in the bottom row of the columns. ",
    "Press F6 to move to the next card in the bottom row of the columns. ",
    "Press f7 to move to the previous card in the same suit. ",
    "Press f8 to move to the next card in the same suit. ",
    "Press control f to find a particular card. ",
]
GAME_CAPTION = "Untitled.qrl - Quorrel"
FIND_CAPTION = "Find A Card"
# The Find dialog's lists, by position.
FIND_SUITES = [" Trèfl ", " Carreaux ", " Coeurs ", " Piques "]
# The pause before each cell of a reading is 700 ms; the log's stamps are taken when speech-dispatcher
# queues a text, so a little is allowed for.
READING_PAUSE = 0.6


def start(session):
    """Starts the program and waits for its welcome; the event cursor is left after it."""
    program = session.start_program()
    session.speech.expect(*WELCOME, timeout=30)
    session.speech.mark()
    return program


def deal(session, program):
    """Starts a game; returns the card in row 1 of column 1, where the cursor is."""
    session.speech.mark()
    program.key("ctrl+n")
    _, _, top = session.speech.expect(SHUFFLING, " Columns ", CARD, timeout=20)
    program.wait_for_title(GAME_CAPTION)
    session.speech.mark()
    return top


def press(session, program, key, *expected, timeout=15.0):
    """Types one key and checks the texts and cancels it queued; returns the events."""
    program.key(key)
    return session.speech.expect_events(*expected, timeout=timeout)


def card_parts(text):
    """A card's words as (rank 1 to 13, position of its suit in the Find dialog's list)."""
    for rank, word in enumerate(harness.RANK_WORDS, 1):
        for suite, suit_word in enumerate(FIND_SUITES):
            if text == word + " de " + suit_word:
                return rank, suite
    raise TestFailure("not the words of a card: %r" % text)


def next_bottom_card(session, program, column):
    """Presses F6, which goes to the bottom card of `column` (1 to 8); returns that card's words. A
    move across rows announces a cell on the way, whose words a later cancel may drop."""
    program.key("F6")
    wanted = " Column  %d" % column

    def cards_after_column(texts):
        return [b for a, b in zip(texts, texts[1:]) if a == wanted and CARD.matches(b)]

    texts = session.speech.wait_for(cards_after_column, 15, "%r and a card" % wanted)
    session.speech.mark()
    return cards_after_column(texts)[-1]


def test_key_list(session):
    program = start(session)
    press(session, program, "F2", CANCEL, *KEY_LIST)
    deal(session, program)
    press(session, program, "F2", CANCEL, *KEY_LIST)


def test_free_cell_reading(session):
    program = start(session)
    # Before a game F3 does nothing: the next key's speech follows at once.
    program.key("F3")
    press(session, program, "F2", CANCEL, *KEY_LIST)
    deal(session, program)
    press(session, program, "F3", CANCEL, " All Free Cells are empty. ")
    press(session, program, "F4", CANCEL, " All Home Cells are empty. ")
    # With a modifier held, F3 does nothing either.
    program.key("shift+F3")
    press(session, program, "F4", CANCEL, " All Home Cells are empty. ")

    # The bottom card of column 1 (seven cards) goes to free cell 1.
    press(session, program, "Down", CANCEL, " Column  1", CARD)
    for _ in range(5):
        card = press(session, program, "Down", CANCEL, CARD)[-1].text
    press(session, program, "Return", CANCEL, card, " selected ")
    press(session, program, "Tab", CANCEL, " Free Cells ", EMPTY)
    press(session, program, "Return", card, " was moved ")

    said = press(session, program, "F3", CANCEL, " Free Cells ", " Cell  1", card, " Cell  2", EMPTY,
                 " Cell  3", EMPTY, " Cell  4", EMPTY, timeout=20)
    # Each cell's number comes after its pause.
    for before, after in ((1, 2), (3, 4), (5, 6), (7, 8)):
        gap = said[after].stamp - said[before].stamp
        assert gap >= READING_PAUSE, "only %.3f s between %r and %r" % (gap, said[before].text, said[after].text)


def test_bottom_row(session):
    program = start(session)
    deal(session, program)
    # The first F6 of a game goes to the bottom card of column 1: below it the cell is empty.
    press(session, program, "F6", CANCEL, " Column  1", CARD)
    press(session, program, "Down", CANCEL, EMPTY)
    # F5 from column 1 wraps round to the bottom card of column 8.
    program.key("F5")
    session.speech.wait_for(lambda t: len(t) >= 2 and t[-2] == " Column  8" and CARD.matches(t[-1]), 15,
                            "' Column  8' and a card")
    session.speech.mark()
    press(session, program, "Down", CANCEL, EMPTY)
    # Outside the column grid the bottom row is refused.
    press(session, program, "Tab", CANCEL, " Free Cells ", EMPTY)
    press(session, program, "F6", CANCEL, "You must be in the Columns grid to use this function.  ")


def test_find_a_card(session):
    program = start(session)
    deal(session, program)
    bottom = [next_bottom_card(session, program, column) for column in range(1, 9)]
    # Columns 5 to 8 have six cards each: the cursor, on the bottom card of column 8, stays in its row
    # when the bottom card of column 5 is found, so the one cell-change announcement is heard whole.
    target = bottom[4]
    rank, suite = card_parts(target)

    program.key("ctrl+f")
    program.wait_for_active_window(FIND_CAPTION)
    # The Cards list has the focus on "Ace"; the Suites list starts on "Trèfl"; Enter presses Find.
    keys = ["Down"] * (rank - 1) + ["Tab"] + ["Down"] * suite + ["Return"]
    program.key(*keys)
    session.speech.expect_events(CANCELS, " Column  5", target)

    # The column grid got the focus back without its announcement (" Columns "): once the window is
    # active again, the next key's speech follows at once.
    program.wait_for_active_window(GAME_CAPTION)
    press(session, program, "Down", CANCEL, EMPTY)
    press(session, program, "Up", CANCEL, target)


if __name__ == "__main__":
    harness.main([test_key_list, test_free_cell_reading, test_bottom_row, test_find_a_card])
