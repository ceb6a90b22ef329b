"""The sweep program's lines, read by the formats it prints them with (protocol.h)."""

import os
import re

CONVERSIONS = {"%u": r"(-?\d+)", "%ld": r"(-?\d+)", "%.0f": r"(\S+)", "%s": r"(.*)"}


def _pattern(format):
    parts = re.split(r"(%u|%ld|%\.0f|%s)", format.rstrip("\n"))
    return re.compile("".join(CONVERSIONS.get(p, re.escape(p)) for p in parts) + "$")


def _read():
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "protocol.h")) as f:
        found = re.findall(r'#define LINE_(\w+)\s+"((?:[^"\\]|\\.)*)"', f.read())
    return {name: format.replace("\\n", "\n") for name, format in found}


LINES = _read()
# Whole lines, by their fields; and words followed by free text.
FIELDED = {name: _pattern(format) for name, format in LINES.items() if format.endswith("\n")}
TEXT = {name: format for name, format in LINES.items() if not format.endswith("\n")}


def parse(line):
    """(NAME, fields) of one line, NAME as protocol.h has it (BEGIN for LINE_BEGIN); a line of
    free text has its text as its one field; (None, ()) for any other line."""
    for name, prefix in TEXT.items():
        if line.startswith(prefix):
            return name, (line[len(prefix):],)
    for name, pattern in FIELDED.items():
        match = pattern.match(line)
        if match:
            return name, match.groups()
    return None, ()
