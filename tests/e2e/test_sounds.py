#!/usr/bin/python3
# End-to-end test: without a sound server the game starts, plays and speaks as ever, with no box and no
# report; the Sounds option is reached by its access key and kept in its own section.
import os

import harness
from harness import CARD, SHUFFLING, TestFailure

WELCOME = ["Press control n to start a new game! ",
           "Press F1 for help! ",
           "Press F2 to hear a list of keyboard commands! "]


def test_no_sound_server_changes_nothing(session):
    session.env["PULSE_SERVER"] = "unix:" + os.path.join(session.root, "no-sound-server", "native")
    program = session.start_program()
    session.speech.expect(*WELCOME, timeout=30)
    program.key("ctrl+n")
    _, _, first = session.speech.expect(SHUFFLING, " Columns ", CARD, timeout=20)
    # Against the top and left edges: a sound each, and no words.
    program.key("Up", "Left", "Right")
    session.speech.expect(" Column  2", CARD)
    program.key("Left")
    session.speech.expect(" Column  1", first)
    if program.visible_windows() != [program.window_id]:
        raise TestFailure("windows besides the main window: %r" % program.visible_windows())

    # Options, access key O: Sounds goes off, and is kept.
    program.key("alt+o", "o")
    for _ in harness._deadline_loop(10, 0.05):
        if os.path.exists(session.settings_file()):
            with open(session.settings_file()) as f:
                if "[Sounds]\nOn=Unchecked" in f.read():
                    break
    else:
        raise TestFailure("the settings file does not keep Sounds off")
    if program.stderr().strip():
        raise TestFailure("the program wrote to stderr: %r" % program.stderr())


if __name__ == "__main__":
    harness.main([test_no_sound_server_changes_nothing])
