#!/usr/bin/python3
# Checks the desktop entry and the icon: the keys a launcher needs, desktop-file-validate when present, and a well-formed SVG.
"""Usage: check_data.py DATA_FOLDER

quorrel.desktop must hold one [Desktop Entry] group starting the program by its command name,
with the icon's name and the categories Game and CardGame, and must pass desktop-file-validate
(package desktop-file-utils) when that is installed. quorrel.svg must be an SVG document with a
square view box, as an icon in hicolor/scalable must be.
"""

import configparser
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

EXPECTED = {
    "Type": "Application",
    "Name": "Quorrel",
    "Exec": "quorrel",
    "Icon": "quorrel",
    "Terminal": "false",
}


def check_desktop(path):
    faults = []
    entry = configparser.ConfigParser(interpolation=None, strict=True)
    entry.optionxform = str  # keys are case-sensitive
    try:
        with open(path, encoding="utf-8") as source:
            entry.read_file(source)
    except (OSError, configparser.Error) as error:
        return [f"{path}: {error}"]
    if entry.sections() != ["Desktop Entry"]:
        faults.append(f"{path}: expected only the group [Desktop Entry], found {entry.sections()}")
        return faults
    group = entry["Desktop Entry"]
    for key, value in EXPECTED.items():
        if group.get(key) != value:
            faults.append(f"{path}: {key} is {group.get(key)!r}, expected {value!r}")
    categories = [c for c in group.get("Categories", "").split(";") if c]
    for category in ("Game", "CardGame"):
        if category not in categories:
            faults.append(f"{path}: Categories lacks {category}")
    for key in ("GenericName", "Comment", "Keywords"):
        if not group.get(key, "").strip():
            faults.append(f"{path}: {key} is missing")
    validator = shutil.which("desktop-file-validate")
    if validator:
        result = subprocess.run([validator, path], capture_output=True, text=True)
        if result.returncode != 0 or result.stdout.strip():
            faults.append(f"{path}: desktop-file-validate says: {(result.stdout + result.stderr).strip()}")
    else:
        print("desktop-file-validate not found (package desktop-file-utils); its check is left out")
    return faults


def check_icon(path):
    try:
        root = ElementTree.parse(path).getroot()
    except (OSError, ElementTree.ParseError) as error:
        return [f"{path}: {error}"]
    if root.tag != "{http://www.w3.org/2000/svg}svg":
        return [f"{path}: the root element is {root.tag}, not svg"]
    box = root.get("viewBox", "").replace(",", " ").split()
    if len(box) != 4 or box[2] != box[3]:
        return [f"{path}: expected a square viewBox, found {root.get('viewBox')!r}"]
    for element in root.iter():
        if element.tag.endswith("}script") or element.tag.endswith("}image"):
            return [f"{path}: an icon holds no {element.tag.split('}')[1]}"]
    return []


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    faults = check_desktop(os.path.join(argv[1], "quorrel.desktop"))
    faults += check_icon(os.path.join(argv[1], "quorrel.svg"))
    for fault in faults:
        print(fault)
    if faults:
        return 1
    print("quorrel.desktop and quorrel.svg are in order")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
