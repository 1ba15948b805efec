#!/usr/bin/python3
# End-to-end test: closing the program during the two-second wait of a deal ends it cleanly.
import harness
from harness import SHUFFLING



def start_dealing(session):
    program = session.start_program_and_welcome()
    program.key("ctrl+n")
    session.speech.expect(SHUFFLING, timeout=20)
    return program


def test_second_new_game_then_close_box(session):
    program = start_dealing(session)
    program.key("ctrl+n")
    program.close_window()
    status = program.wait_exit(10)
    assert status == 0, "exit status %d" % status


def test_exit_command_during_deal(session):
    program = start_dealing(session)
    program.key("alt+g", "x")
    status = program.wait_exit(10)
    assert status == 0, "exit status %d" % status


if __name__ == "__main__":
    harness.main([test_second_new_game_then_close_box, test_exit_command_during_deal])
