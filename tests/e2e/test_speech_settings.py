#!/usr/bin/python3
# End-to-end test: Ctrl+= makes the game speak faster, as speech-dispatcher's log records it, and the next run too;
# a variant chosen in the voice chooser among espeak-ng's thousands of voices is set, said and kept.
import re

import harness
from harness import CANCEL, TestFailure

KEY_LIST_FIRST = "Use the tab key to move between the 3 grids. "


def rate_commands(log_text):
    """The rates the game set, in order, with the offset of each command in the log."""
    return [(int(m.group(1)), m.start()) for m in re.finditer(r"SET SELF RATE (-?\d+)", log_text)]


def read_log(session):
    with open(session.speech.path, encoding="utf-8", errors="replace") as f:
        return f.read()


def test_faster_reaches_the_server_and_the_words_after_it(session):
    program = session.start_program_and_welcome()
    if rate_commands(read_log(session)):
        raise TestFailure("a rate was set before the player chose one")
    program.activate()
    program.key("ctrl+equal")
    session.speech.expect_events(CANCEL, " Faster ")
    program.key("ctrl+equal")
    session.speech.expect_events(CANCEL, " Faster ")
    program.key("F2")
    session.speech.expect_events(CANCEL, KEY_LIST_FIRST)
    log = read_log(session)
    rates = rate_commands(log)
    if [rate for rate, _ in rates] != [10, 20]:
        raise TestFailure("the server was told the rates %r, expected [10, 20]" % rates)
    # The key list was queued after the last rate, so it is spoken at that rate.
    if log.rfind("Queueing message |" + KEY_LIST_FIRST) < rates[-1][1]:
        raise TestFailure("the key list was queued before the rate 20 was set")
    # The server hands the rate to its speech module with the words: the module's settings as the log
    # records them ("rate=N" lines) end at 20 once the key list is on its way.
    for _ in harness._deadline_loop(10):
        log = read_log(session)
        module_rates = [int(m.group(1)) for m in re.finditer(r"^rate=(-?\d+)$", log[rates[-1][1]:], re.M)]
        if module_rates and module_rates[-1] == 20:
            break
    else:
        raise TestFailure("the speech module was not given the rate 20 (it was given %r)" % module_rates)
    with open(session.settings_file(), encoding="utf-8") as f:
        settings = f.read()
    if not re.search(r"\[Speech\]\s*\nRate=20\b", settings):
        raise TestFailure("the settings file does not keep the rate:\n" + settings)

    # The next run sets the rate again before its first words, and is slower at Ctrl+minus.
    program.close_window()
    program.wait_exit()
    session.speech.wait_until_no_client()
    before = len(read_log(session))
    program = session.start_program_and_welcome()
    log = read_log(session)
    rates = [(rate, at) for rate, at in rate_commands(log) if at >= before]
    welcome = log.find("Queueing message |", before)
    if not rates or rates[0][0] != 20 or rates[0][1] > welcome:
        raise TestFailure("the next run set the rates %r, its first words at %d" % (rates, welcome))
    program.activate()
    program.key("ctrl+minus")
    session.speech.expect_events(CANCEL, " Slower ")
    if rate_commands(read_log(session))[-1][0] != 10:
        raise TestFailure("Ctrl+minus did not set the rate 10")


def test_a_variant_chosen_among_the_servers_voices_is_set_said_and_kept(session):
    program = session.start_program_and_welcome()
    program.activate()
    # The first list holds each of espeak-ng's voices once; the second, after Tab, its variants.
    program.key("alt+o", "e", "v")
    program.wait_for_active_window("Voice")
    session.speech.mark()
    program.key("Down", "Tab", "Down", "Return")
    program.wait_for_active_window()
    said = session.speech.wait_for(lambda texts: any("+" in t for t in texts), 15, "the chosen variant's name")
    name = next(t for t in said if "+" in t).strip()
    log = read_log(session)
    if "SET SELF SYNTHESIS_VOICE " + name not in log:
        raise TestFailure("the server was not told the voice %r" % name)
    if log.rfind("SET SELF SYNTHESIS_VOICE " + name) > log.rfind("Queueing message | " + name + " |"):
        raise TestFailure("the voice's name was queued before the voice was set")
    with open(session.settings_file(), encoding="utf-8") as f:
        settings = f.read()
    if "Voice=" + name not in settings:
        raise TestFailure("the settings file does not keep the voice %r:\n%s" % (name, settings))


if __name__ == "__main__":
    harness.main([test_faster_reaches_the_server_and_the_words_after_it,
                  test_a_variant_chosen_among_the_servers_voices_is_set_said_and_kept])
