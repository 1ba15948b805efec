#!/usr/bin/python3
# End-to-end test: the focus after the Find dialog and the message boxes, and the boxes said through speech.
import os
import time

import harness
from focus_tables import last_card_record, write_table
from harness import CANCEL, CANCELS, CARD, SHUFFLING, TestFailure

COLUMNS = " Columns "
FREE_CELLS = " Free Cells "
HOME_CELLS = " Home Cells "
EMPTY = " Empty "
PLAYED = " Has already been played. "
FIND_CAPTION = "Find A Card"
OPEN_DIALOG = "Open"
YES_OR_NO = " Yes or No. "
OK = " OK. "




def choose_file(session, program, path):
    program.wait_for_active_window(OPEN_DIALOG)
    session.xdotool("key", "--clearmodifiers", "ctrl+a")
    session.xdotool("type", "--clearmodifiers", "--delay", "30", path)
    session.xdotool("key", "--clearmodifiers", "Return")


def open_game(session, program, path):
    """Opens the game file on a table with nothing to save; returns once the opened table's column grid
    has announced itself, the event cursor after it."""
    program.key("ctrl+o")
    choose_file(session, program, path)
    program.wait_for_title(os.path.basename(path) + " - Quorrel")
    texts = session.speech.wait_for(lambda t: COLUMNS in t[:-1], 20, "the opened table's column grid")
    session.speech.cursor += len(texts)
    session.speech.mark()
    return os.path.basename(path) + " - Quorrel"


def press(session, program, key, *expected):
    program.key(key)
    return session.speech.expect_events(*expected)


def answer_is_last(session, answer):
    """Waits for the answer's texts; checks that since the last cancel before them nothing else was said
    and leaves the event cursor after them. A later key's speech must then follow at once."""
    session.speech.wait_for(lambda t: answer[-1] in t, 15, repr(answer[-1]))
    said = session.speech.said()[session.speech.event_cursor:]
    end = next(i for i, e in enumerate(said) if e.kind == "speak" and e.text == answer[-1]) + 1
    start = max((i for i, e in enumerate(said[:end]) if e.kind == "cancel"), default=-1) + 1
    got = [e.text for e in said[start:end]]
    if got != list(answer):
        raise TestFailure("since the last cancel: %r, expected %r; events: %r" % (got, list(answer), said[:end]))
    session.speech.event_cursor += end


# --- tests --------------------------------------------------------------------------------------

def test_find_a_played_card_from_the_free_cells(session):
    """The Find dialog gives the focus back to the free-cell grid before the search: its announcement
    never cuts off or follows the answer."""
    path = write_table(os.path.join(session.root, "played.qrl"), home=("AC",))
    program = session.start_program_and_welcome()
    caption = open_game(session, program, path)
    press(session, program, "Tab", CANCEL, FREE_CELLS, EMPTY)
    for attempt in range(3):
        program.key("ctrl+f")
        program.wait_for_active_window(FIND_CAPTION)
        program.key("Return")  # "Ace" and "Trèfl": the ace of clubs, in a home cell
        answer_is_last(session, [" ace  de  Trèfl ", PLAYED])
        program.wait_for_active_window(caption)
        # The cursor stayed in the free cells; nothing came after the answer.
        press(session, program, "Right" if attempt % 2 == 0 else "Left", CANCEL, EMPTY)


def test_find_from_the_columns_of_a_card_in_a_free_cell(session):
    """Closing the Find dialog gives the column grid its focus back, silently: the flag that silences it
    is spent, so the next Tab into the columns is announced."""
    path = write_table(os.path.join(session.root, "free.qrl"), free=("KH",))
    program = session.start_program_and_welcome()
    caption = open_game(session, program, path)
    program.key("ctrl+f")
    program.wait_for_active_window(FIND_CAPTION)
    program.key("End", "Tab", "Down", "Down", "Return")  # "Rois", "Coeurs": the king of hearts
    session.speech.expect_events(CANCELS, FREE_CELLS, " rois  de  Coeurs ")
    program.wait_for_active_window(caption)
    press(session, program, "Tab", CANCEL, HOME_CELLS, EMPTY)
    press(session, program, "Tab", CANCEL, COLUMNS, CARD)
    press(session, program, "shift+Tab", CANCEL, HOME_CELLS, EMPTY)


def test_message_boxes_are_said(session):
    """Without a screen reader the program says each box, text and buttons, while it is open."""
    program = session.start_program_and_welcome()
    program.key("ctrl+n")
    session.speech.wait_for(lambda t: SHUFFLING in t and COLUMNS in t, 20, "the deal")
    program.wait_for_title("Untitled.qrl - Quorrel")
    session.speech.mark()

    # The save question of New Game; Escape answers No and the deal follows.
    program.key("ctrl+n")
    program.wait_for_box()
    session.speech.expect_events(
        CANCEL, "There is a game in progress.\r\nDo you want to save this game before you start a new game?\r\n",
        YES_OR_NO)
    program.key("Escape")
    session.speech.wait_for(lambda t: SHUFFLING in t and COLUMNS in t[t.index(SHUFFLING):], 20, "the new deal")
    program.wait_for_active_window("Untitled.qrl - Quorrel")
    session.speech.mark()

    # Open: the question, then a file without the extension, then a file that is no game.
    notes = os.path.join(session.root, "notes.txt")
    bad = os.path.join(session.root, "bad.qrl")
    for name in (notes, bad):
        with open(name, "wb") as f:
            f.write(b"no game")
    program.key("ctrl+o")
    program.wait_for_box()
    session.speech.expect_events(
        CANCEL, "There is a game in progress. \r\nDo you want to save this game before you open a new game? \r\n",
        YES_OR_NO)
    program.key("Escape")
    choose_file(session, program, notes)
    program.wait_for_box()
    texts = session.speech.wait_for(lambda t: "".join(t).endswith(OK), 15, "the extension message")
    # One message to the server; the harness may split it again at the texts it knows.
    if not "".join(texts).endswith("A game file must have the .qrl extension.  \r\nFor example, Game1.qrl" + OK):
        raise TestFailure("the extension message was said as %r" % texts)
    session.speech.mark()
    program.key("Return")
    choose_file(session, program, bad)
    program.wait_for_box()
    texts = session.speech.wait_for(lambda t: "".join(t).endswith(OK), 15, "the refusal of the file")
    refusal = "".join(texts).rsplit("bad.qrl is not a Quorrel game: ", 1)
    if len(refusal) != 2 or not refusal[1].endswith(" in OpenGame()" + OK):
        raise TestFailure("the refusal was said as %r" % texts)
    program.key("Return")
    program.wait_for_active_window("Untitled.qrl - Quorrel")


def test_the_winning_move_is_heard_before_the_question(session):
    """The last card home, from a column and from a free cell: its words, then the question, whole."""
    king = " rois  de  Coeurs "
    question = "The game is over!\r\nDo you want to play again?\r\n"
    for in_free_cell in (False, True):
        path = os.path.join(session.root, "last%d.qrl" % in_free_cell)
        with open(path, "wb") as f:
            f.write(last_card_record(in_free_cell))
        program = session.start_program_and_welcome()
        open_game(session, program, path)
        if in_free_cell:
            press(session, program, "Tab", CANCEL, FREE_CELLS, king)
        # A free cell's card is picked up without a stop, a column's after one.
        press(session, program, "Return", *([king] if in_free_cell else [CANCEL, king]), " selected ")
        if not in_free_cell:
            press(session, program, "Tab", CANCEL, FREE_CELLS, EMPTY)
        press(session, program, "Tab", CANCEL, HOME_CELLS, " dames  de  Coeurs ")
        program.key("Return")
        program.wait_for_box()
        session.speech.expect_events(CANCEL, king, " was moved ", question, YES_OR_NO)
        time.sleep(0.5)
        extra = session.speech.said()[session.speech.event_cursor:]
        if extra:
            raise TestFailure("after the question: %r" % extra)
        program.key("Escape")  # No: the program ends
        program.wait_exit()
        session.speech.mark()


def quiet_until_the_dialog_is_gone(session, program, key, dialog):
    """Closes a box with `key`; the dialog that follows it gets the keyboard, and the table says nothing
    until the dialog is cancelled and the table has the keyboard again."""
    session.speech.mark()
    program.key(key)
    program.wait_for_active_window(dialog)
    time.sleep(1.5)
    said = session.speech.texts()[session.speech.cursor:]
    if any(t in (COLUMNS, FREE_CELLS, HOME_CELLS) or CARD.matches(t) for t in said):
        raise TestFailure("the table spoke behind the %s dialog: %r" % (dialog, said))
    program.key("Escape")
    program.wait_for_main_window_active()
    session.speech.wait_for(lambda t: COLUMNS in t, 15, "the table's focus")
    session.speech.mark()


def test_no_table_words_while_a_dialog_has_the_keyboard(session):
    """Between a box and the dialog that follows it, the table says nothing; it speaks once the dialog
    is gone and the table has the keyboard again."""
    program = session.start_program_and_welcome()
    program.key("ctrl+n")
    session.speech.wait_for(lambda t: SHUFFLING in t and COLUMNS in t, 20, "the deal")
    program.wait_for_title("Untitled.qrl - Quorrel")
    session.speech.mark()
    # Save As with a name that has no ".qrl": refused, and the dialog comes back.
    program.key("alt+g", "a")
    program.wait_for_active_window("Save As")
    session.xdotool("key", "--clearmodifiers", "ctrl+a")
    session.xdotool("type", "--clearmodifiers", "--delay", "30", os.path.join(session.root, "Partie"))
    session.xdotool("key", "--clearmodifiers", "Return")
    program.wait_for_box()
    session.speech.wait_for(lambda t: "".join(t).endswith(OK), 15, "the refusal")
    quiet_until_the_dialog_is_gone(session, program, "Return", "Save As")
    # The save question of Open, answered No: the Open dialog follows.
    program.key("ctrl+o")
    program.wait_for_box()
    session.speech.wait_for(lambda t: YES_OR_NO in t, 15, "the question")
    quiet_until_the_dialog_is_gone(session, program, "Escape", OPEN_DIALOG)


if __name__ == "__main__":
    harness.main([test_find_a_played_card_from_the_free_cells, test_find_from_the_columns_of_a_card_in_a_free_cell,
                  test_message_boxes_are_said, test_the_winning_move_is_heard_before_the_question,
                  test_no_table_words_while_a_dialog_has_the_keyboard])
