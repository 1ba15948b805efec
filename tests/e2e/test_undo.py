#!/usr/bin/python3
# End-to-end test: a move taken back with Ctrl+Z and made again with Ctrl+Y, a deal by its number typed
# into the Ctrl+G dialog, and a hint on it that Enter, Ctrl+H and Enter carry out, with real keys, and the
# exact words queued.
import harness
import os
import subprocess

from harness import CANCEL, CARD, RANK_WORDS, SHUFFLING, SUIT_WORDS, OneOf, press

WELCOME = ["Press control n to start a new game! ",
           "Press F1 for help! ",
           "Press F2 to hear a list of keyboard commands! "]
EMPTY = " Empty "
DEAL_DIALOG = "Deal Game Number"
DEAL_LABEL = "Game number, from 1 to 1000000:"
YES_OR_NO = " Yes or No. "
THINKING = " Thinking. "
PLACE = OneOf([" Column  %d" % n for n in range(1, 9)] + [" the empty Column  %d" % n for n in range(1, 9)]
              + [" a Free Cell ", " the Home Cells "], "where a hinted card goes")


def first_move_of_deal_617(session):
    """The card's words and the place's of the first move quorrel-solve, beside the program, finds for
    deal 617 (whose table has no empty column): the hint the program must give."""
    solver = os.path.join(os.path.dirname(session.binary), "quorrel-solve")
    out = subprocess.run([solver, "--deal", "617"], capture_output=True, text=True, timeout=120, check=True)
    card, _, where = out.stdout.splitlines()[0].partition(" -> ")
    code = card.split()[0]
    ranks = ["A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"]
    words = RANK_WORDS[ranks.index(code[:-1])] + " de " + SUIT_WORDS["SCHD".index(code[-1])]
    kind, _, number = where.partition(" ")
    place = {"column": " Column  " + number, "freecell": " a Free Cell ", "home": " the Home Cells "}[kind]
    return words, place


def hint(session, program):
    """Ctrl+H: " Play ", the card, " to " and where it goes, after " Thinking. " when the search takes a
    while; returns the card's words and the place."""
    session.speech.mark()
    program.key("ctrl+h")
    texts = session.speech.wait_for(lambda t: len(t) >= 4 and PLACE.matches(t[-1]), 30, "the hint")
    if texts[:1] == [THINKING]:
        texts = texts[1:]
    if len(texts) != 4 or texts[0] != " Play " or not CARD.matches(texts[1]) or texts[2] != " to ":
        raise harness.TestFailure("hint: %r" % texts)
    session.speech.mark()
    return texts[1], texts[3]


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

    # The hint's card is under the cursor, so Enter picks it up; with it in hand, the hint is the same and
    # the cursor goes to where the card goes, so Enter puts it there.
    session.speech.know(*PLACE.texts)
    card, place = hint(session, program)
    if (card, place) != first_move_of_deal_617(session):
        raise harness.TestFailure("hint %r, expected the solver's first move %r"
                                  % ((card, place), first_move_of_deal_617(session)))
    press(session, program, "Return", CANCEL, card, " selected ")
    if hint(session, program) != (card, place):
        raise harness.TestFailure("the hint changed once its card was picked up")
    if place.startswith(" Column "):
        # Within the columns the cursor goes to the emptied cell and back, and says where it is.
        press(session, program, "Return", CANCEL, place, EMPTY, card, " was moved ")
    else:
        press(session, program, "Return", card, " was moved ")
    session.speech.mark()
    program.key("ctrl+z")
    session.speech.expect(card, " back to ", timeout=15)


if __name__ == "__main__":
    harness.main([test_undo_and_redo_a_move])
