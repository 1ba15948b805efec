#!/usr/bin/python3
# Checks the help document Quorr.html: well formed and accessible, and naming every key, menu command, card word and refusal the program has.
"""Usage: check_help.py QUORR_HTML TEXTS_H

Structure: a doctype, <html lang>, one non-empty <title>, one <h1> that comes first, no heading
level skipped on the way down, every element other than the void ones closed in order, no
scripts or event attributes, images only with alt text, tables only as data tables (a caption,
header cells that all carry a scope, no nesting), unique ids and in-page links that resolve.

Content, read from the program's own texts: every key the F2 key list names, and the other keys
of the game, as <kbd> text; every menu caption without its "&" and trailing blanks; the rank and
suit words in the cells of the card-word tables; and every sentence the game says when it refuses
or asks something.
"""

import html.parser
import os
import re
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import texts_h  # noqa: E402

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}
SCOPES = {"row", "col", "rowgroup", "colgroup"}

# Keys the document must name beyond those of the F2 key list.
OTHER_KEYS = ["F1", "F2", "Shift+Tab", "Ctrl+N", "Ctrl+O", "Ctrl+S",
              "Ctrl+Z", "Ctrl+Y", "Ctrl+Shift+Z", "Ctrl+R", "Ctrl+G", "Ctrl+H", "Ctrl+Shift+H",
              "F9", "Shift+F9", "F11", "Ctrl+T",
              "1", "8", "Shift+1", "Shift+8", "Alt+1", "Alt+4", "F", "H", "Space",
              "Ctrl+=", "Ctrl+-"]

# What the game says when it refuses, asks or reports, and the start-up lines.
SPOKEN_SENTENCES = [
    "WelcomeNewGame", "WelcomeHelp", "WelcomeKeys", "Shuffling",
    "GameInProgress", "SaveBeforeNewGame", "SaveBeforeExiting", "SaveBeforeOpening",
    "CannotMoveEmptyCell", "OnlyBottomCard", "ColumnCellMustBeEmpty", "AlternatingColors", "DescendingOrder",
    "FreeCellEmpty", "FreeCellMustBeEmpty", "HomeCardsStay", "FirstHomeCardAce", "HomeSameSuit",
    "AllFreeCellsEmpty", "AllHomeCellsEmpty", "MustBeInColumns", "MustBeOnACard", "AlreadyPlayed",
    "GameOver", "PlayAgain", "WasSaved", "NeedsExtension", "ExtensionExample", "NotAGame",
    "Selected", "Unselected", "WasMoved", "Empty",
    "BackTo", "MovedAgainTo", "AFreeCell", "TheHomeCells", "NothingToUndo", "NothingToRedo",
    "DealRestarted", "RestartUndone", "NothingToRestart", "GameNumber",
    "DealNumberCaption", "DealNumberLabel", "NotADealNumber",
    "HintPlay", "HintTo", "TheEmptyColumn", "CanBeWonIn", "MovesOrFewer", "OneMove", "CannotBeWon",
    "NoHintInTime", "NoVerdictInTime", "Thinking",
    "UpTo", "NoneHome", "EmptyFreeCells", "EmptyColumns", "CardsOnTable", "RunOf",
    "ResetStatistics", "StatisticsWereReset", "StatisticsDamaged", "StatisticsNotSaved", "StatisticsNotSavedFix",
    "WentTo", "NowhereToGo", "NotNextHome", "CardsFrom", "NoRun", "RunAlreadyThere", "RunDoesNotFit", "RunTooLong",
    "CanMoveNow", "WentHome", "BackFromHome",
    "SpeechFaster", "SpeechSlower", "SpeechLouder", "SpeechSofter", "SpeechHigher", "SpeechLower",
    "SpeechFastest", "SpeechSlowest", "SpeechLoudest", "SpeechSoftest", "SpeechHighest", "SpeechLowest",
    "SpeechDefaults", "VoiceListLabel", "VoiceVariantsLabel", "NoVoices",
    "BriefMoved", "BriefAgainTo", "BriefCards", "BriefHome", "BriefBackFromHome",
    "SoundsLouder", "SoundsSofter", "SoundsLoudest", "SoundsSoftest",
]


def normal(text):
    return " ".join(text.split())


class Document(html.parser.HTMLParser):
    """Collects the facts the checks need, and the structural faults met on the way."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.faults = []
        self.doctype = None
        self.stack = []           # open elements: (tag, attrs)
        self.open_text = []       # text collectors of the open elements that want their text
        self.headings = []        # (level, text)
        self.titles = []
        self.kbd = []             # text of every <kbd>, nested ones included
        self.cells = []           # text of every <td>
        self.ids = []
        self.links = []
        self.tables = []          # per table: {"caption": bool, "th": int}
        self.lang = None
        self.body_text = []

    def fault(self, message):
        line, column = self.getpos()
        self.faults.append(f"line {line}, column {column + 1}: {message}")

    def handle_decl(self, decl):
        self.doctype = decl

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        if tag == "html":
            self.lang = attributes.get("lang")
        for name in attributes:
            if name.startswith("on"):
                self.fault(f"<{tag}> has the event attribute {name}")
        if "id" in attributes:
            self.ids.append(attributes["id"])
        href = attributes.get("href")
        if tag == "a" and href and href.startswith("#"):
            self.links.append(href[1:])
        if tag in ("script", "iframe", "object", "embed", "applet"):
            self.fault(f"<{tag}> has no place in the help")
        if tag == "img" and not (attributes.get("alt") or "").strip():
            self.fault("<img> without alt text")
        if attributes.get("role") in ("presentation", "none") and tag == "table":
            self.fault("a layout table")
        if tag == "table":
            if any(open_tag == "table" for open_tag, _ in self.stack):
                self.fault("a table inside a table")
            self.tables.append({"caption": False, "th": 0, "line": self.getpos()[0]})
        if tag == "caption" and self.tables:
            self.tables[-1]["caption"] = True
        if tag == "th":
            if self.tables:
                self.tables[-1]["th"] += 1
            if attributes.get("scope") not in SCOPES:
                self.fault("<th> without a scope")
        if tag in VOID:
            return
        self.stack.append((tag, attributes))
        self.open_text.append([])

    def handle_startendtag(self, tag, attrs):
        if tag not in VOID:
            self.fault(f"<{tag}/> is not an element that may be left empty")
        self.handle_starttag(tag, attrs)

    def handle_endtag(self, tag):
        if tag in VOID:
            self.fault(f"</{tag}> closes a void element")
            return
        if not self.stack:
            self.fault(f"</{tag}> with no open element")
            return
        open_tag, _ = self.stack[-1]
        if open_tag != tag:
            self.fault(f"</{tag}> closes <{open_tag}>")
            if tag not in (t for t, _ in self.stack):
                return
            while self.stack and self.stack[-1][0] != tag:
                self.stack.pop()
                self.open_text.pop()
        self.stack.pop()
        text = normal("".join(self.open_text.pop()))
        if re.fullmatch(r"h[1-6]", tag):
            self.headings.append((int(tag[1]), text))
        elif tag == "title":
            self.titles.append(text)
        elif tag == "kbd":
            self.kbd.append(text)
            if not text:
                self.fault("an empty <kbd>")
        elif tag == "td":
            self.cells.append(text)

    def handle_data(self, data):
        # Text belongs to every open element, so that <kbd><kbd>Ctrl</kbd>+<kbd>F</kbd></kbd> reads "Ctrl+F".
        for collector in self.open_text:
            collector.append(data)
        if any(tag == "body" for tag, _ in self.stack):
            self.body_text.append(data)

    def finish(self):
        self.close()
        for tag, _ in reversed(self.stack):
            self.fault(f"<{tag}> is never closed")


def check_structure(doc):
    faults = list(doc.faults)
    if not doc.doctype or doc.doctype.strip().lower() != "doctype html":
        faults.append("the document does not begin with <!DOCTYPE html>")
    if not (doc.lang or "").strip():
        faults.append("<html> has no lang attribute")
    if len(doc.titles) != 1 or not doc.titles[0]:
        faults.append(f"expected one non-empty <title>, found {doc.titles}")
    ones = [text for level, text in doc.headings if level == 1]
    if len(ones) != 1:
        faults.append(f"expected one <h1>, found {len(ones)}")
    if doc.headings and doc.headings[0][0] != 1:
        faults.append("the first heading is not the <h1>")
    for (before, _), (level, text) in zip(doc.headings, doc.headings[1:]):
        if level > before + 1:
            faults.append(f"heading '{text}' skips from h{before} to h{level}")
    for level, text in doc.headings:
        if not text:
            faults.append(f"an empty h{level}")
    for table in doc.tables:
        if not table["th"]:
            faults.append(f"the table on line {table['line']} has no header cells")
        if not table["caption"]:
            faults.append(f"the table on line {table['line']} has no caption")
    seen = set()
    for element_id in doc.ids:
        if element_id in seen:
            faults.append(f"the id '{element_id}' is used twice")
        seen.add(element_id)
    for target in doc.links:
        if target not in seen:
            faults.append(f"the link to #{target} leads nowhere")
    return faults


def keys_of_key_list(key_list):
    """The <kbd> texts that name the keys of each F2 text; a text that names no key we know is a fault."""
    keys, faults = [], []
    for entry in key_list:
        found = []
        found += [word.capitalize() for word in re.findall(r"\bthe (\w+) key\b", entry, re.I)]
        if re.search(r"\barrow keys\b", entry, re.I):
            found += [f"{d.capitalize()} Arrow" for d in re.findall(r"\b(up|down|left|right)\b", entry, re.I)]
        found += [f"F{n}" for n in re.findall(r"\b[Ff]([0-9]{1,2})\b", entry)]
        found += [f"Ctrl+{k.upper()}" for k in re.findall(r"\bcontrol (\w)\b", entry, re.I)]
        if not found:
            faults.append(f"the key list text {entry!r} names no key this check knows")
        keys += found
    return keys, faults


def check_content(doc, texts):
    faults = []
    body = normal("".join(doc.body_text))
    kbd = set(doc.kbd)

    key_list = texts.get("KeyList", [])
    if len(key_list) != 11:
        faults.append(f"expected the eleven texts of the key list in Texts.h, read {len(key_list)}")
    keys, key_faults = keys_of_key_list(key_list)
    faults += key_faults
    for key in keys + OTHER_KEYS:
        if key not in kbd:
            faults.append(f"the key {key} is not named in a <kbd>")

    menus = {name: value for name, value in texts.items() if name.startswith("Menu")}
    if len(menus) < 10:
        faults.append(f"expected the menu captions in Texts.h, read {len(menus)}")
    for name, caption in menus.items():
        words = normal(caption.replace("&", ""))
        if words not in body:
            faults.append(f"the menu command '{words}' ({name}) is not in the document")

    words = [w.strip() for w in texts.get("RankWords", [])]
    words += [texts[name].strip() for name in ("SuitSpades", "SuitClubs", "SuitHearts", "SuitDiamonds") if name in texts]
    words += texts.get("FindCardEntries", []) + texts.get("FindSuiteEntries", [])
    if len(words) != 13 + 4 + 13 + 4:
        faults.append(f"expected 13 rank words, 4 suit words and the Find lists in Texts.h, read {len(words)}")
    cells = set(doc.cells)
    for word in words:
        if word not in cells:
            faults.append(f"the card word '{word}' is not in the card-word tables")

    for name in SPOKEN_SENTENCES:
        if name not in texts:
            faults.append(f"Texts.h has no text {name}")
        elif normal(texts[name]) not in body:
            faults.append(f"the document does not quote {name}: '{normal(texts[name])}'")
    return faults


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    with open(argv[1], encoding="utf-8") as source:
        markup = source.read()
    doc = Document()
    doc.feed(markup)
    doc.finish()
    faults = check_structure(doc) + check_content(doc, texts_h.read(argv[2]))
    for fault in faults:
        print(f"{argv[1]}: {fault}")
    if faults:
        print(f"{len(faults)} fault(s)")
        return 1
    print(f"{argv[1]}: well formed; {len(doc.headings)} headings, {len(doc.kbd)} keys, {len(doc.tables)} tables")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
