#!/usr/bin/python3
# End-to-end test: a game of the real program played by hints alone (Ctrl+H, Enter, Ctrl+H, Enter...)
# to the question at its end, from a saved game a few moves before the end of deal 80.
import os
import subprocess

import harness
from harness import TestFailure
from test_files import OPEN_DIALOG, RECORD_SIZE, FREE_CELLS_AT, HOME_CELLS_AT, HOME_COUNT_AT, column_offset, \
    enter_file_name
from test_undo import PLACE, hint

DEAL = 80
# From this many moves before the end of the way quorrel-solve finds for the deal, a fresh search from
# every table leads a card back and forth; the hints must lead home all the same.
MOVES_LEFT = 19
# More moves than that would mean the hints lead round in a circle.
MOST_MOVES = 40
GAME_OVER = "The game is over!"
SUITS = "SDCH"  # the game numbers spades 1 to 13, diamonds 14 to 26, clubs 27 to 39, hearts 40 to 52
RANKS = ["A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"]


def numbered_deal(number):
    """The classic numbered deal: {(row, column): card code}, rows from 1, columns from 0."""
    remaining = list(range(52))  # the generator's deck: by rank, then clubs, diamonds, hearts, spades
    seed, table = number, {}
    for i in range(52):
        seed = (seed * 214013 + 2531011) % (1 << 31)
        drawn = (seed >> 16) % len(remaining)
        card = remaining[drawn]
        remaining[drawn] = remaining[-1]
        remaining.pop()
        table[(i // 8 + 1, i % 8)] = RANKS[card // 4] + "CDHS"[card % 4]
    return table


def write_game(path, columns, free, home):
    """A game file: {(row, column): code}, the free cells' and the home cells' codes (empty for none)."""
    record = bytearray(RECORD_SIZE)
    slot = lambda code: code.ljust(3).encode("ascii")
    for row in range(1, 20):
        for col in range(8):
            record[column_offset(row, col):column_offset(row, col) + 3] = slot(columns.get((row, col), ""))
    for k in range(4):
        record[FREE_CELLS_AT + 3 * k:FREE_CELLS_AT + 3 * k + 3] = slot(free[k])
        record[HOME_CELLS_AT + 3 * k:HOME_CELLS_AT + 3 * k + 3] = slot(home[k])
    count = sum(RANKS.index(code[:-1]) + 1 for code in home if code)
    record[HOME_COUNT_AT:HOME_COUNT_AT + 2] = count.to_bytes(2, "little")
    with open(path, "wb") as f:
        f.write(bytes(record))
    return count


def solve(session, *args):
    solver = os.path.join(os.path.dirname(session.binary), "quorrel-solve")
    out = subprocess.run([solver, *args], capture_output=True, text=True, timeout=120, check=True)
    return out.stdout.splitlines()


def game_near_the_end(session):
    """Writes deal DEAL with all but MOVES_LEFT of quorrel-solve's moves made; returns its path and the
    count of cards home."""
    columns, free, home = numbered_deal(DEAL), [""] * 4, [""] * 4
    start = os.path.join(session.root, "deal.qrl")
    write_game(start, columns, free, home)
    moves = solve(session, start)
    if moves != solve(session, "--deal", str(DEAL)):
        raise TestFailure("the table written is not deal %d" % DEAL)
    for line in moves[:len(moves) - MOVES_LEFT]:  # "7H column 3 -> freecell 1"
        card, kind, number, _, to_kind, to_number = line.split()
        if kind == "column":
            col = int(number) - 1
            row = max(r for (r, c) in columns if c == col)
            if columns.pop((row, col)) != card:
                raise TestFailure("%s is not at the bottom of column %s" % (card, number))
        else:
            free[int(number) - 1] = ""
        if to_kind == "column":
            col = int(to_number) - 1
            columns[(max([r for (r, c) in columns if c == col], default=0) + 1, col)] = card
        elif to_kind == "freecell":
            free[int(to_number) - 1] = card
        else:
            home[int(to_number) - 1] = card
    path = os.path.join(session.root, "near the end.qrl")
    return path, write_game(path, columns, free, home)


def test_hints_alone_win_the_game(session):
    path, home = game_near_the_end(session)
    program = session.start_program_and_welcome()
    program.key("ctrl+o")
    program.wait_for_active_window(OPEN_DIALOG)
    enter_file_name(session, path)
    program.wait_for_title("near the end.qrl - Quorrel")
    program.wait_for_main_window_active()
    session.speech.wait_for(lambda t: " Columns " in t, 15, "the column grid")
    session.speech.know(*PLACE.texts)
    session.speech.mark()

    for moves in range(1, MOST_MOVES + 1):
        # The hint puts the cursor on its card; with the card in hand, on where it goes.
        card, place = hint(session, program)
        program.key("Return")
        session.speech.wait_for(lambda t: " selected " in t, 15, "the card picked up")
        if hint(session, program) != (card, place):
            raise TestFailure("move %d: the hint changed once its card was picked up" % moves)
        program.key("Return")
        if place == " the Home Cells ":
            home += 1
        if home == 52:
            break
        session.speech.wait_for(lambda t: " was moved " in t, 15, "the card moved")
    else:
        raise TestFailure("the game was not won after %d hinted moves" % MOST_MOVES)

    session.speech.wait_for(lambda t: GAME_OVER in t, 15, "the question at the end of the game")
    program.wait_for_box()
    program.key("alt+n")
    if program.wait_exit() != 0:
        raise TestFailure("the program ended badly after No")


if __name__ == "__main__":
    harness.main([test_hints_alone_win_the_game])
