"""The reader's rules for the catalogues, shared by the generator and the check.

Search key of a name: accent folding byte by byte over Windows-1252, then upper-casing.
Order of the name list: the reader compares keys with a case-insensitive Brazilian
Portuguese collation. For keys made only of the upper-case ASCII letters and blanks
that collation agrees with plain character order in which the blank comes before every
letter ("JOSE SILVA" < "JOSEANE"), so sort_key() returns that plain order for such keys
and refuses anything else rather than guess.
"""

import re

# Accented letters of Windows-1252 and their base letters. Nothing else is folded:
# Å Æ Ð Ø Þ ß å æ ð ø þ stay as they are.
_FOLD = {}
for first, last, base in [(0xC0, 0xC4, "A"), (0xC7, 0xC7, "C"), (0xC8, 0xCB, "E"),
                          (0xCC, 0xCF, "I"), (0xD1, 0xD1, "N"), (0xD2, 0xD6, "O"),
                          (0xD9, 0xDC, "U"), (0xDD, 0xDD, "Y"), (0x9F, 0x9F, "Y"),
                          (0xE0, 0xE4, "a"), (0xE7, 0xE7, "c"), (0xE8, 0xEB, "e"),
                          (0xEC, 0xEF, "i"), (0xF1, 0xF1, "n"), (0xF2, 0xF6, "o"),
                          (0xF9, 0xFC, "u"), (0xFD, 0xFD, "y"), (0xFF, 0xFF, "y")]:
    for byte in range(first, last + 1):
        _FOLD[byte] = ord(base)
FOLD_TABLE = bytes(_FOLD.get(b, b) for b in range(256))

# Windows-1252 upper-casing: a-z, the accented small letters (not ÷, not ß) and
# š œ ž ÿ.
_UPPER = list(range(256))
for b in range(ord("a"), ord("z") + 1):
    _UPPER[b] = b - 0x20
for b in range(0xE0, 0xFF):
    if b != 0xF7:
        _UPPER[b] = b - 0x20
_UPPER[0x9A], _UPPER[0x9C], _UPPER[0x9E], _UPPER[0xFF] = 0x8A, 0x8C, 0x8E, 0x9F
UPPER_TABLE = bytes(_UPPER)


def remove_acentos(name_bytes):
    return name_bytes.translate(FOLD_TABLE)


def search_key(name_bytes):
    """The reader's search key of a name given as Windows-1252 bytes."""
    return remove_acentos(name_bytes).translate(UPPER_TABLE)


_PLAIN_KEY = re.compile(rb"[A-Z]+( [A-Z]+)*")


def sort_key(name_bytes):
    """Sort key matching the reader's comparison, for names whose search key is words of
    upper-case ASCII letters separated by single blanks. Raises ValueError otherwise."""
    key = search_key(name_bytes)
    if not _PLAIN_KEY.fullmatch(key):
        raise ValueError("name outside the shapes the plain order is known to match: %r"
                         % name_bytes)
    return key


def read_lines(data):
    """Splits a catalogue the way the reader does: at CR, LF or CR LF; a final line
    without a line end still counts; nothing after a NUL is read."""
    data = data.split(b"\0", 1)[0]
    lines = re.split(rb"\r\n|\r|\n", data)
    if lines and lines[-1] == b"":
        lines.pop()
    return lines
