#!/usr/bin/python3
# End-to-end test: the one-key moves with real keys and the exact words queued: a column's digit to
# another's (one from the keypad), a free cell's key, a quick move home, a run with Shift and a digit, and Move Safe Cards
# Home turned on in the Options menu, whose cards going home by themselves end the game; and Brief Speech
# turned on there, with the shorter words of a move and the grid name left out going back to the grid just left.
import os

import harness
from harness import CANCEL, CARD, TestFailure, press
from test_files import OPEN_DIALOG, enter_file_name
from test_hints import GAME_OVER, write_game

# Everything up to the nines of spades and hearts and the eights of clubs and diamonds is home.
COLUMNS = [["KS", "QH", "JC"], ["KH", "10D"], ["QD", "JS"], ["KD", "9D"], ["KC"], ["10S", "9C"], ["JH", "10C"],
           ["QC", "JD", "10H"]]
FREE = ["QS", "", "", ""]
HOME = ["9S", "9H", "8C", "8D"]

DIX_CARREAUX = " dix  de  Carreaux "
NEUF_CARREAUX = " neuf  de  Carreaux "
NEUF_TREFL = " neuf  de  Tr\u00e8fl "


def open_table(session):
    columns = {(row + 1, col): card for col, cards in enumerate(COLUMNS) for row, card in enumerate(cards)}
    path = os.path.join(session.root, "direct.qrl")
    home = write_game(path, columns, FREE, HOME)
    program = session.start_program_and_welcome()
    program.key("ctrl+o")
    program.wait_for_active_window(OPEN_DIALOG)
    enter_file_name(session, path)
    program.wait_for_title("direct.qrl - Quorrel")
    program.wait_for_main_window_active()
    session.speech.wait_for(lambda t: " Columns " in t, 15, "the column grid")
    session.speech.mark()
    return program, home


def test_direct_moves(session):
    program, home = open_table(session)
    session.speech.know(" 3", " cards from ", " to ", " went home ")

    # A digit picks the bottom card up, the keypad's digit drops it: Enter's words, no cursor's.
    press(session, program, "2", CANCEL, DIX_CARREAUX, " selected ")
    press(session, program, "KP_1", DIX_CARREAUX, " was moved ")
    # A quick move of the picked-up card: home first.
    press(session, program, "4", CANCEL, NEUF_CARREAUX, " selected ")
    press(session, program, "space", CANCEL, NEUF_CARREAUX, " to ", " the Home Cells ")
    # Three of column 1's run go onto the king of clubs in column 5, one free cell enough.
    press(session, program, "1", CANCEL, DIX_CARREAUX, " selected ")
    press(session, program, "shift+5", CANCEL, " 3", " cards from ", " dames  de  Coeurs ", " to ", " Column  5")
    # Undo and redo take the run as one step.
    press(session, program, "ctrl+z", CANCEL, " 3", " cards from ", " dames  de  Coeurs ", " back to ", " Column  1")
    press(session, program, "ctrl+y", CANCEL, " 3", " cards from ", " dames  de  Coeurs ", " moved again to ",
          " Column  5")

    # Alt with a free cell's number picks its card up, and again puts it back.
    press(session, program, "alt+1", " dames  de  Piques ", " selected ")
    press(session, program, "alt+1", CANCEL, " dames  de  Piques ", " unselected ")

    # The option, from the Options menu by its access key.
    program.key("alt+o", "h")
    session.speech.mark()
    # The nine of clubs home: every card left is then safe, one after the other, and the last ends the game.
    press(session, program, "6", CANCEL, NEUF_TREFL, " selected ")
    session.speech.mark()
    program.key("h")
    texts = session.speech.wait_for(lambda t: any(GAME_OVER in x for x in t), 30, "the end of the game")
    if texts[:2] != [NEUF_TREFL, " was moved "]:
        raise TestFailure("the move's words: %r" % texts[:2])
    went = texts.index(" went home ")
    sent = texts[2:went]
    cards_left = 52 - home - 2  # the nines of diamonds and clubs went home by the keys
    if len(sent) != cards_left or not all(CARD.matches(t) for t in sent):
        raise TestFailure("the cards said once as gone home: %r" % sent)
    program.wait_for_box()
    program.key("alt+n")
    program.wait_exit()


def test_brief_speech(session):
    program, _ = open_table(session)
    program.key("alt+o", "r")
    session.speech.mark()
    press(session, program, "2", CANCEL, " dix  Carreaux ")
    press(session, program, "KP_1", " moved ")
    press(session, program, "Tab", CANCEL, " Free Cells ", " dames  Piques ")
    press(session, program, "shift+Tab", CANCEL, " dix  Carreaux ")
    # The refusal keeps its reason.
    press(session, program, "3", CANCEL, " val\u00e9  Piques ")
    press(session, program, "2", CANCEL, " Cards placed in columns must be in descending order.  Choose another cell. ",
          " Empty ")


if __name__ == "__main__":
    harness.main([test_direct_moves, test_brief_speech])
