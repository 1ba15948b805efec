#!/usr/bin/python3
# End-to-end test: start-up speech, the deal, cell announcements and the remembered Speak Column Numbers option.
import re

import harness
from harness import CARD, SHUFFLING, TestFailure

WELCOME = ["Press control n to start a new game! ",
           "Press F1 for help! ",
           "Press F2 to hear a list of keyboard commands! "]
COLUMN_NUMBER = re.compile(r"^ Column  \d+$")


def deal(session, program):
    """Starts a game with Ctrl+N; returns the text of the cell that the column grid announced."""
    program.key("ctrl+n")
    _, _, card = session.speech.expect(SHUFFLING, " Columns ", CARD, timeout=20)
    return card


def end_program(program):
    """Closes the window; a program that stays (a question box, say) is ended by the harness."""
    program.close_window()
    try:
        program.wait_exit(5)
    except TestFailure:
        program.stop()


def test_start_deal_and_move(session):
    program = session.start_program()
    session.speech.expect(*WELCOME, timeout=30)

    first = deal(session, program)
    program.wait_for_title("Untitled.qrl - Quorrel")

    program.key("Right")
    _, second = session.speech.expect(" Column  2", CARD)
    assert second != first, "columns 1 and 2 both announced %r" % first

    program.key("Left")
    session.speech.expect(" Column  1", first)


def test_speak_column_numbers_is_remembered(session):
    program = session.start_program()
    session.speech.expect(*WELCOME, timeout=30)
    first = deal(session, program)

    # Options menu, access key S: Speak Column Numbers goes off.
    program.key("alt+o", "s")
    program.key("Right")
    # The menu closing may announce the current cell again; the next new card is column 2's.
    texts = session.speech.wait_for(lambda t: any(CARD.matches(x) and x != first for x in t), 15,
                                    "the card of column 2")
    spoken_numbers = [t for t in texts if COLUMN_NUMBER.match(t)]
    assert not spoken_numbers, "column numbers spoken with the option off: %r" % spoken_numbers

    end_program(program)
    session.speech.wait_until_no_client()
    with open(session.settings_file(), encoding="utf-8") as f:
        settings = f.read()
    assert re.search(r"^\[StartUp\]\n(?:[^\[].*\n)*Columns=Unchecked$", settings, re.M), \
        "settings file %s:\n%s" % (session.settings_file(), settings)

    # A second run starts with the option still off.
    session.speech.mark()
    program = session.start_program()
    session.speech.expect(*WELCOME, timeout=30)
    first = deal(session, program)
    program.key("Right")
    second, = session.speech.expect(CARD)
    assert second != first, "columns 1 and 2 both announced %r" % first


def test_speech_server_missing_at_start(session):
    # The outage is reported once, in a box over the window, and the game goes on without speech.
    session.without_speech_server()
    program = session.start_program()
    main_window = program.window_id
    box = [w for w in program.wait_for_windows(2) if w != main_window]
    for _ in harness._deadline_loop(20, 0.2):
        if session.xdotool("getactivewindow", check=False).stdout.strip() == box[0]:
            break
        session.xdotool("windowactivate", box[0], check=False)
    else:
        raise TestFailure("the report box did not get the focus")
    program.key("Return")
    program.wait_for_windows(1)
    # A deal speaks again and again, long after the server was first looked for; none of that is
    # reported again.
    program.activate()
    program.key("ctrl+n")
    program.wait_for_title("Untitled.qrl - Quorrel", timeout=30)
    program.key("Right", "Down", "F2")
    end_program(program)
    reports = [line for line in program.stderr().splitlines() if "Speech server unavailable" in line]
    assert len(reports) == 1 and reports[0].startswith("quorrel: Speech server unavailable: ") \
        and reports[0].endswith(" (error 429)"), "reports of the outage on stderr: %r" % reports


def test_command_line(session):
    bogus = session.run_program("--bogus")
    assert bogus.returncode == 2, "--bogus: status %d, stderr %r" % (bogus.returncode, bogus.stderr)
    assert "usage" in bogus.stderr.lower(), "--bogus: no usage text on stderr: %r" % bogus.stderr

    version = session.run_program("--version")
    assert version.returncode == 0, "--version: status %d, stderr %r" % (version.returncode, version.stderr)
    assert any("1.0.0" in line for line in version.stdout.splitlines()), "--version printed %r" % version.stdout


if __name__ == "__main__":
    harness.main([test_start_deal_and_move, test_speak_column_numbers_is_remembered,
                  test_speech_server_missing_at_start, test_command_line])
