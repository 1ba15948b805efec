#!/usr/bin/python3
# End-to-end test: reading a column (F9), the table (Shift+F9) and the bottom row (F11) of deal 617, then a
# move and the statistics box (Ctrl+T), with real keys, the exact words queued and the statistics file.
import os

import harness
from harness import CANCEL, CARD, SHUFFLING, press

WELCOME = ["Press control n to start a new game! ",
           "Press F1 for help! ",
           "Press F2 to hear a list of keyboard commands! "]
EMPTY = " Empty "
YES_OR_NO = " Yes or No. "
# Deal 617, column 1 from the top: 7D 10D 10H KD 4C 4S JD.
COLUMN_1 = (" Column  1 septs  de  Carreaux  dix  de  Carreaux  dix  de  Coeurs  rois  de  Carreaux "
            " qat\u2e72  de  Tr\u00e8fl  qat\u2e72  de  Piques  val\u00e9  de  Carreaux  Cards  7 Run of  1")
BOTTOM_ROW = (" Column  1 val\u00e9  de  Carreaux  Column  2 rois  de  Piques  Column  3 rois  de  Tr\u00e8fl "
              " Column  4 qat\u2e72  de  Coeurs  Column  5 val\u00e9  de  Tr\u00e8fl  Column  6 six  de  Tr\u00e8fl "
              " Column  7 val\u00e9  de  Coeurs  Column  8 dames  de  Coeurs ")
TABLE_AFTER_MOVE = (" Piques  none home  Carreaux  none home  Tr\u00e8fl  none home  Coeurs  none home "
                    " Empty free cells:  3 Empty columns:  none  Cards on the table:  52")
STATISTICS = ("Games played: 1. Games won: 0, 0 percent. Current streak of wins: 0. Longest streak of wins: 0. "
              "Numbered deals won: none. ")


def test_readings_and_statistics(session):
    program = session.start_program()
    session.speech.expect(*WELCOME, timeout=30)
    program.key("ctrl+g")
    program.wait_for_active_window("Deal Game Number")
    program.key("6", "1", "7", "Return")
    session.speech.know(" Game number  617")
    session.speech.wait_for(lambda t: " Game number  617" in t, 30, "the game's number")
    program.wait_for_title("Untitled.qrl - Quorrel")
    session.speech.mark()

    press(session, program, "F9", CANCEL, COLUMN_1)
    press(session, program, "F11", CANCEL, BOTTOM_ROW)

    # The first move counts the game; the table then has one free cell taken.
    press(session, program, "Down", CANCEL, " Column  1", CARD)
    for _ in range(5):
        press(session, program, "Down", CANCEL, CARD)
    press(session, program, "Return", CANCEL, " val\u00e9  de  Carreaux ", " selected ")
    press(session, program, "Tab", CANCEL, " Free Cells ", EMPTY)
    press(session, program, "Return", " val\u00e9  de  Carreaux ", " was moved ")
    press(session, program, "shift+F9", CANCEL, TABLE_AFTER_MOVE)

    # Without a screen reader the box says itself: its text, then its buttons.
    press(session, program, "ctrl+t", CANCEL, STATISTICS + "\r\nDo you want to reset the statistics?\r\n", YES_OR_NO)
    program.wait_for_box()
    program.key("Escape")  # No: they stay
    program.wait_for_main_window_active()
    with open(os.path.join(session.data_home, "Quorrel", "Statistics.txt"), encoding="utf-8") as f:
        lines = f.read().splitlines()
    if "Played 1" not in lines or "Won 0" not in lines:
        raise harness.TestFailure("the statistics file holds %r" % lines)


if __name__ == "__main__":
    harness.main([test_readings_and_statistics])
