# Reads the program's texts out of src/texts/Texts.h, so that the checks follow the texts the program really uses.
"""The constants of Texts.h as Python values.

read(path) returns a dict: name -> str for each `std::string_view NAME = "..." ...;` and
name -> list of str for each `std::array<...> NAME = { ... };`. Adjacent string literals are joined,
as the compiler joins them; the escapes \\uXXXX, \\", \\\\, \\n, \\r and \\t are decoded.
"""

import re

_DECLARATION = re.compile(
    r"inline\s+constexpr\s+(?P<type>std::string_view|std::array<[^>]*>)\s+(?P<name>\w+)\s*=\s*(?P<value>.*?);",
    re.S)
_TOKEN = re.compile(r'"((?:[^"\\]|\\.)*)"|(,)|(//[^\n]*)')
_ESCAPE = re.compile(r"\\(u[0-9A-Fa-f]{4}|.)")


def _decode(literal):
    def one(match):
        code = match.group(1)
        if code[0] == "u":
            return chr(int(code[1:], 16))
        return {"n": "\n", "r": "\r", "t": "\t"}.get(code, code)
    return _ESCAPE.sub(one, literal)


def _strings(value):
    """The comma-separated entries of a value, each the join of its adjacent literals."""
    entries, current = [], None
    for match in _TOKEN.finditer(value):
        literal, comma, _comment = match.groups()
        if literal is not None:
            current = (current or "") + _decode(literal)
        elif comma is not None and current is not None:
            entries.append(current)
            current = None
    if current is not None:
        entries.append(current)
    return entries


def read(path):
    with open(path, encoding="utf-8") as source:
        text = source.read()
    texts = {}
    for match in _DECLARATION.finditer(text):
        entries = _strings(match.group("value"))
        if match.group("type").startswith("std::array"):
            texts[match.group("name")] = entries
        elif len(entries) == 1:
            texts[match.group("name")] = entries[0]
    return texts
