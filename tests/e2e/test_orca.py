#!/usr/bin/python3
# End-to-end test beside the Orca screen reader: Orca stays silent on the grids and reads the menus and dialogs.
import re

import orca_harness
from harness import CARD, SHUFFLING, TestFailure
from orca_harness import with_orca

WELCOME = ["Press control n to start a new game! ",
           "Press F1 for help! ",
           "Press F2 to hear a list of keyboard commands! "]
WINDOW_TITLE = r"^Untitled\.qrl - Quorrel frame\.?$"
# Orca reads "..." as it is or as "dot dot dot", after its punctuation setting.
DOTS = r"(?:\.\.\.| dot dot dot)"
NEW_GAME_ITEM = r"^New Game\s+Ctrl\+N\.?$"
# The Game menu's first item however Orca reads it, for the menu opened to see what Orca said before.
NEW_GAME = r"^New Game\b"


def deal(session, program):
    """Waits for the welcome, starts a game with Ctrl+N; returns the card the column grid announced."""
    session.speech.expect(*WELCOME, timeout=30)
    program.key("ctrl+n")
    _, _, card = session.speech.expect(SHUFFLING, " Columns ", CARD, timeout=30)
    return card


def heard(session, what, predicate):
    """Waits until the program has said something after the cursor that satisfies predicate(texts), and
    moves the cursor past everything said."""
    session.speech.wait_for(predicate, 15, what)
    session.speech.mark()


def close_menus(program):
    """Escape out of a menu and the menu bar; the keys typed next go to the window, in order. An open
    menu is a window of its own: the second Escape waits until it has gone, for typed while the menu
    is still closing it may never reach the menu bar, which would then keep the keys that follow."""
    windows = len(program.visible_windows())
    program.key("Escape")
    if windows > 1:
        program.wait_for_windows(windows - 1)
    program.key("Escape")


def orca_said_before_menu(orca, program):
    """Opens the Game menu, waits for Orca to read its first item, closes the menu and returns what Orca
    said before that item. Orca handles the program's events in the order they came, so anything it had
    to say about the keys typed before has been said by then."""
    program.key("alt+g")
    said = orca.speech.wait_for_text(NEW_GAME)[:-1]
    close_menus(program)
    # Closing the menu, Orca mostly names the menu bar's item ("Game."), which may come late: it is then
    # the first thing said before the next menu. Coming from the window, Orca may name the menu bar.
    while said and re.match(r"^Game\.?$", said[0]):
        said.pop(0)
    if said and re.match(r"^menu bar\.?$", said[-1]):
        said.pop()
    return said


def expect_orca_silent(orca, program, doing):
    said = orca_said_before_menu(orca, program)
    if said:
        raise TestFailure("Orca spoke while %s: %r" % (doing, said))


@with_orca
def test_grids_are_silent(session, orca):
    program = orca.start()
    first = deal(session, program)

    program.key("Right")
    session.speech.expect(" Column  2", CARD)
    program.key("Left")
    session.speech.expect(" Column  1", first)
    for key in ("Down", "Up", "F8", "F7"):
        program.key(key)
        heard(session, "the program's answer to " + key, lambda t: len(t) > 0)

    # Picking up a bottom card and dropping it into a free cell; Tab and Shift+Tab between the grids.
    program.key("F5")
    heard(session, "a bottom card", lambda t: any(CARD.matches(x) for x in t))
    program.key("Return")
    session.speech.expect(CARD, " selected ")
    program.key("Tab")
    session.speech.expect(" Free Cells ", " Empty ")
    program.key("Return")
    session.speech.expect(CARD, " was moved ")
    program.key("Tab")
    session.speech.expect(" Home Cells ", " Empty ")
    program.key("shift+Tab")
    session.speech.expect(" Free Cells ", CARD)
    program.key("shift+Tab")
    session.speech.expect(" Columns ", " Empty ")
    program.key("F6")
    heard(session, "a bottom card", lambda t: any(CARD.matches(x) for x in t))
    # The reading commands; the program reads on for a while.
    program.key("F3", "F4")
    heard(session, "the reading of the home cells", lambda t: " All Home Cells are empty. " in t)

    expect_orca_silent(orca, program, "the game was dealt and played with the grid keys")

    # Finding a card: Orca reads the dialog and the entry Enter takes, then only the window it returns to.
    program.key("ctrl+f")
    orca.speech.wait_for_text(r"^List with 13 items\.?$")
    orca.speech.wait_for_text(r"^Ace\.?$")
    session.speech.mark()
    program.key("Return")
    heard(session, "the card found", lambda t: " ace  de  Trèfl " in t)
    said = orca.speech.wait_for_text(WINDOW_TITLE)
    if len(said) != 1:
        raise TestFailure("Orca said more than the window's title as the Find dialog closed: %r" % said)
    expect_orca_silent(orca, program, "the Find command moved the focus and the cursor to the card")

    # Going on playing after a dialog. The ace of clubs may be the card played to a free cell above, so
    # Tab goes on from the columns or from the free cells.
    program.key("Right", "Left", "Tab")
    heard(session, "the next grid", lambda t: " Free Cells " in t or " Home Cells " in t)
    expect_orca_silent(orca, program, "playing on after the Find dialog")


@with_orca
def test_orca_started_during_a_game_says_only_the_window(session, orca):
    program = orca.start_program()
    deal(session, program)
    # start_orca() waits until Orca has said the window's title; the focused grid must not follow.
    orca.start_orca()
    expect_orca_silent(orca, program, "it started beside a dealt game")
    program.key("Right")
    session.speech.expect(" Column  2", CARD)
    expect_orca_silent(orca, program, "the cursor moved")


# (caption, access-key path, shortcut) of every menu item, as the accessibility tree gives them; the check
# items are check boxes.
CHECK_ITEMS = ["Speak Column Numbers ", "Move Safe Cards Home", "Brief Speech", "Sounds"]
MENU_ITEMS = [
    ("Game", "<Alt>g", ""),
    ("New Game ", "<Alt>g:n", "<Control>n"),
    ("Open Game... ", "<Alt>g:o", "<Control>o"),
    ("Save Game ", "<Alt>g:s", "<Control>s"),
    ("Save Game As... ", "<Alt>g:a", ""),
    ("Exit Program", "<Alt>g:x", ""),
    ("Options", "<Alt>o", ""),
    ("Find A Card... ", "<Alt>o:f", "<Control>f"),
    ("Previous Card In Suite ", "<Alt>o:p", "F7"),
    ("Next Card In Suite ", "<Alt>o:n", "F8"),
    ("Previous Card In Bottom Row ", "<Alt>o:b", "F5"),
    ("Next Card In Bottom Row ", "<Alt>o:c", "F6"),
    ("Speak Column Numbers ", "<Alt>o:s", ""),  # a check box: see CHECK_ITEMS
    ("Move Safe Cards Home", "<Alt>o:h", ""),  # a check box too
    ("Brief Speech", "<Alt>o:r", ""),  # and a third
    ("Sounds", "<Alt>o:o", ""),  # and a fourth
    ("Louder Sounds", "<Alt>o:u", ""),
    ("Softer Sounds", "<Alt>o:t", ""),
    ("Speech", "<Alt>o:e", ""),
    ("Faster", "<Alt>o:e:f", "<Control>="),
    ("Slower", "<Alt>o:e:s", "<Control>-"),
    ("Louder", "<Alt>o:e:l", ""),
    ("Softer", "<Alt>o:e:o", ""),
    ("Higher Pitch", "<Alt>o:e:h", ""),
    ("Lower Pitch", "<Alt>o:e:w", ""),
    ("Voice... ", "<Alt>o:e:v", ""),
    ("Default Speech", "<Alt>o:e:d", ""),
    ("Play", "<Alt>p", ""),
    ("Undo Move", "<Alt>p:u", "<Control>z"),
    ("Redo Move", "<Alt>p:r", "<Control>y"),
    ("Restart This Deal", "<Alt>p:s", "<Control>r"),
    ("Deal Game Number... ", "<Alt>p:d", "<Control>g"),
    ("Hint", "<Alt>p:h", "<Control>h"),
    ("Can This Game Be Won?", "<Alt>p:w", "<Control><Shift>h"),
    ("Read This Column", "<Alt>p:c", "F9"),
    ("Read The Table", "<Alt>p:t", "<Shift>F9"),
    ("Read The Bottom Row", "<Alt>p:b", "F11"),
    ("Statistics", "<Alt>p:a", "<Control>t"),
    ("Quick Move", "<Alt>p:q", "Space"),
    ("Move To A Free Cell", "<Alt>p:f", "f"),
    ("Move To The Home Cells", "<Alt>p:o", "h"),
    ("Column Keys", "<Alt>p:l", ""),
    *[("Column %d" % n, "<Alt>p:l:%d" % n, "%d" % n) for n in range(1, 9)],
    ("Move Run To Column", "<Alt>p:n", ""),
    *[("Column %d" % n, "<Alt>p:n:%d" % n, "<Shift>%d" % n) for n in range(1, 9)],
    ("Free Cell Keys", "<Alt>p:e", ""),
    *[("Free Cell %d" % n, "<Alt>p:e:%d" % n, "<Alt>%d" % n) for n in range(1, 5)],
    ("Help", "<Alt>h", ""),
    ("Help Topics F1", "<Alt>h:h", ""),
    ("About Quorrel", "<Alt>h:a", ""),
]


def check_accessibility_tree(orca):
    tree = orca.tree()
    items = [(e["name"], e["keybinding"]) for e in tree if e.get("role") in ("menu item", "check box")]
    checks = [e["name"] for e in tree if e.get("role") == "check box"]
    if checks != CHECK_ITEMS:
        raise TestFailure("check boxes in the accessibility tree: %r, expected %r" % (checks, CHECK_ITEMS))
    got = []
    for name, binding in items:
        parts = binding.split(";")
        if len(parts) != 3:
            raise TestFailure("menu item %r: key binding %r is not \"mnemonic;path;shortcut\"" % (name, binding))
        got.append((name, parts[1], parts[2]))
    if got != MENU_ITEMS:
        raise TestFailure("menu items in the accessibility tree:\n  got:      %r\n  expected: %r" % (got, MENU_ITEMS))

    # The grids: three focusable objects without name, description or children, the focus in one of them.
    grids = [e for e in tree if e.get("role") == "filler" and "focusable" in e["states"]]
    if len(grids) != 3:
        raise TestFailure("expected 3 focusable grids in the accessibility tree, found %r" % grids)
    for grid in grids:
        children = [e for e in tree if e["path"][:len(grid["path"])] == grid["path"] and e is not grid]
        if grid["name"] or grid["description"] or children:
            raise TestFailure("grid %r has text or children: %r" % (grid, children))
    if sum("focused" in grid["states"] for grid in grids) != 1:
        raise TestFailure("the focus is not in exactly one grid: %r" % grids)
    tables = [e for e in tree if e.get("role") in ("table", "table cell", "column header")]
    if tables:
        raise TestFailure("table objects in the main window: %r" % tables[:5])


@with_orca
def test_orca_reads_menus_and_dialogs(session, orca):
    program = orca.start()
    deal(session, program)
    check_accessibility_tree(orca)

    # The menu bar (Alt alone) and the menu items, with their shortcuts and check marks.
    program.key("alt")
    orca.speech.wait_for_text(r"^Game\.?$")
    program.key("Right")
    orca.speech.wait_for_text(r"^Options\.?$")
    program.key("Right")
    orca.speech.wait_for_text(r"^Play\.?$")
    program.key("Right")
    orca.speech.wait_for_text(r"^Help\.?$")
    close_menus(program)
    program.key("alt+g")
    orca.speech.wait_for_text(NEW_GAME_ITEM)
    program.key("Down")
    orca.speech.wait_for_text(r"^Open Game" + DOTS + r"\s+Ctrl\+O\.?$")
    close_menus(program)
    program.key("alt+o")
    orca.speech.wait_for_text(r"^Find A Card" + DOTS + r"\s+Ctrl\+F\.?$")
    # Up from the first item goes round to the Speech submenu, then the sounds' items.
    program.key("Up", "Up")
    orca.speech.wait_for_text(r"^Softer Sounds\.?$")
    program.key("Up", "Up")
    orca.speech.wait_for_text(r"^Sounds\s+(?:check box\s+)?checked\.?$")
    program.key("Up")
    orca.speech.wait_for_text(r"^Brief Speech\s+(?:check box\s+)?not checked\.?$")
    program.key("Up")
    orca.speech.wait_for_text(r"^Move Safe Cards Home\s+(?:check box\s+)?not checked\.?$")
    program.key("Up")
    orca.speech.wait_for_text(r"^Speak Column Numbers\s+(?:check box\s+)?checked\.?$")
    program.key("Return")
    # The focus never left the grid, yet Orca reads the menu again when it comes back.
    program.key("alt+o")
    orca.speech.wait_for_text(r"^Find A Card" + DOTS + r"\s+Ctrl\+F\.?$")
    program.key("Up", "Up", "Up", "Up", "Up", "Up", "Up")
    orca.speech.wait_for_text(r"^Speak Column Numbers\s+(?:check box\s+)?not checked\.?$")
    program.key("Return")

    # The Find dialog: its two lists with the entry chosen in each, and its buttons; Escape cancels.
    program.key("ctrl+f")
    for pattern in (r"^Find A Card dialog", r"^Cards\.?$", r"^List with 13 items\.?$", r"^Ace\.?$"):
        orca.speech.wait_for_text(pattern)
    program.key("Down")
    orca.speech.wait_for_text(r"^2\.?$")
    program.key("Tab")
    for pattern in (r"^Suites\.?$", r"^List with 4 items\.?$", r"^Trèfl\.?$"):
        orca.speech.wait_for_text(pattern)
    program.key("Down")
    orca.speech.wait_for_text(r"^Carreaux\.?$")
    program.key("Tab")
    orca.speech.wait_for_text(r"^Find push button\.?$")
    program.key("Tab")
    orca.speech.wait_for_text(r"^Cancel push button\.?$")
    program.key("Escape")
    orca.speech.wait_for_text(WINDOW_TITLE)

    # The About dialog.
    program.key("alt+h")
    orca.speech.wait_for_text(r"^Help Topics F1\.?$")
    program.key("a")
    orca.speech.wait_for_text(r"^About Quorrel dialog .*Quorrel is FreeCell")
    orca.speech.wait_for_text(r"^Version 1\.0\.0\.?$")
    orca.speech.wait_for_text(r"^OK push button\.?$")
    program.key("Return")
    orca.speech.wait_for_text(WINDOW_TITLE)

    # The Play menu's items with their shortcuts.
    program.key("alt+p")
    orca.speech.wait_for_text(r"^Undo Move\s+Ctrl\+Z\.?$")
    # Down goes from item to item, passing over the separator.
    for item in (r"^Redo Move\s+Ctrl\+Y\.?$", r"^Restart This Deal\s+Ctrl\+R\.?$", r"^Deal Game Number",
                 r"^Hint\s+Ctrl\+H\.?$", r"^Can This Game Be Won\?\s+(Ctrl\+Shift|Shift\+Ctrl)\+H\.?$",
                 r"^Read This Column\s+F9\.?$", r"^Read The Table\s+Shift\+F9\.?$"):
        program.key("Down")
        orca.speech.wait_for_text(item)
    close_menus(program)

    # A message box: the question and its buttons; Escape answers No and a new game is dealt.
    session.speech.mark()
    program.key("ctrl+n")
    orca.speech.wait_for_text(r"^alert Untitled\.qrl - Quorrel\.?$")
    orca.speech.wait_for_text(r"^There is a game in progress\.\s+Do you want to save this game before you start a new game\?")
    orca.speech.wait_for_text(r"^Yes push button\.?$")
    program.key("Tab")
    orca.speech.wait_for_text(r"^No push button\.?$")
    program.key("Escape")
    heard(session, "the new deal",
          lambda t: SHUFFLING in t and any(CARD.matches(x) for x in t[t.index(SHUFFLING):]))

    # The file dialog, after the question Ctrl+O asks.
    program.key("ctrl+o")
    orca.speech.wait_for_text(r"before you open a new game\?")
    program.key("Escape")
    orca.speech.wait_for_text(r"^Open dialog")
    orca.speech.wait_for_text(r"^File name: text\.?$")
    program.key("Tab")
    orca.speech.wait_for_text(r"\(\*\.qrl\) combo box\.?$")
    program.key("Escape")
    orca.speech.wait_for_text(WINDOW_TITLE)

    # Exit Program asks its question; No ends the program.
    program.key("alt+g")
    orca.speech.wait_for_text(NEW_GAME_ITEM)
    program.key("x")
    orca.speech.wait_for_text(r"^There is a game in progress\.\s+Do you want to save this game before exiting\?")
    program.key("Escape")
    status = program.wait_exit(15)
    if status != 0:
        raise TestFailure("the program ended with status %s" % status)


@with_orca
def test_f2_after_a_menu_before_any_game(session, orca):
    """Beside Orca too, the window has its keys back once a menu is closed, before any game."""
    program = orca.start()
    session.speech.expect(*WELCOME, timeout=30)
    for menu, first_item in (("alt+g", NEW_GAME_ITEM), ("alt+h", r"^Help Topics F1\.?$")):
        program.key(menu)
        orca.speech.wait_for_text(first_item)
        windows = len(program.visible_windows())
        program.key("Escape")
        program.wait_for_windows(windows - 1)
        session.speech.mark()
        program.key("F2")
        heard(session, "the key list after %s and Escape" % menu, lambda t: WELCOME[0] not in t and
              "Press control f to find a particular card. " in t)


if __name__ == "__main__":
    orca_harness.main([test_grids_are_silent, test_orca_started_during_a_game_says_only_the_window,
                       test_orca_reads_menus_and_dialogs, test_f2_after_a_menu_before_any_game])
