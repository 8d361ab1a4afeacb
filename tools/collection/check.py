#!/usr/bin/env python3
"""Checks a collection folder against the rules the reader relies on.

    python3 tools/collection/check.py [COLLECTION_DIR]     (default: output/ of the repository)

- the three catalogues have the same number of entries, none of them empty;
- the names are strictly ascending by search key (the reader finds them by binary search);
- every page path of filemd5.txt exists (backslashes read as folder separators), written
  in lower-case ASCII, and every biography page under dados/ is listed;
- every text file is Windows-1252 with CR LF line ends (a page may instead be UTF-8
  with a byte-order mark when it says so in its meta tag); catalogues carry no mark;
- principal.htm holds ##DATA and ##HORA once each;
- every link and picture a page refers to exists, with the reader's rules: a plain link
  is looked up under dados/, a link with "#" or starting with ".." is followed relative
  to the page's own folder, and so are pictures and style sheets; anchors must exist;
- every picture file is in the format its extension says.

Exits with status 1 and a list of problems when anything is wrong.
"""

import html.parser
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue  # noqa: E402

TEXT_EXTENSIONS = (".txt", ".htm", ".html", ".css")
PAGE_EXTENSIONS = (".htm", ".html")
UNDEFINED_1252 = {0x81, 0x8D, 0x8F, 0x90, 0x9D}
UTF8_BOM = b"\xef\xbb\xbf"
PICTURE_MAGIC = {
    ".gif": (b"GIF87a", b"GIF89a"),
    ".png": (b"\x89PNG\r\n\x1a\n",),
    ".jpg": (b"\xff\xd8\xff",),
    ".jpeg": (b"\xff\xd8\xff",),
    ".bmp": (b"BM",),
}


class PageScanner(html.parser.HTMLParser):
    """Collects link targets, picture and style-sheet sources, and anchor names."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links = []
        self.pictures = []
        self.sheets = []
        self.anchors = set()
        self.meta_charset = None

    def handle_starttag(self, tag, attrs):
        attributes = {name.lower(): (value or "") for name, value in attrs}
        if "id" in attributes:
            self.anchors.add(attributes["id"].lstrip("#").upper())
        if tag == "a":
            if "name" in attributes:
                self.anchors.add(attributes["name"].lstrip("#").upper())
            if "href" in attributes:
                self.links.append(attributes["href"])
        elif tag == "img" and "src" in attributes:
            self.pictures.append(attributes["src"])
        elif tag == "link" and attributes.get("rel", "").lower() == "stylesheet":
            self.sheets.append(attributes.get("href", ""))
        elif tag == "meta" and attributes.get("http-equiv", "").lower() == "content-type":
            match = re.search(r"charset=([\w-]+)", attributes.get("content", ""), re.I)
            if match:
                self.meta_charset = match.group(1).lower()


class Checker:
    def __init__(self, root):
        self.root = os.path.abspath(root)
        self.dados = os.path.join(self.root, "dados")
        self.problems = []
        self.pages = {}  # absolute path -> PageScanner
        self.external_links = 0

    def problem(self, where, text):
        self.problems.append("%s: %s" % (os.path.relpath(where, self.root), text))

    # ------------------------------------------------------------ files

    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def check_line_ends(self, path, data):
        if re.search(rb"\r(?!\n)", data):
            self.problem(path, "a CR without LF")
        if re.search(rb"(?<!\r)\n", data):
            self.problem(path, "a line ends with a bare LF")

    def check_text_file(self, path):
        data = self.read(path)
        self.check_line_ends(path, data)
        if data.startswith(UTF8_BOM):
            if not path.endswith(PAGE_EXTENSIONS):
                self.problem(path, "byte-order mark in a file that must be Windows-1252")
                return None
            try:
                return data[3:].decode("utf-8"), "utf-8"
            except UnicodeDecodeError as error:
                self.problem(path, "marked UTF-8 but is not: %s" % error)
                return None
        for offset, byte in enumerate(data):
            if byte in UNDEFINED_1252 or (byte < 0x20 and byte not in (0x09, 0x0A, 0x0D)):
                self.problem(path, "byte 0x%02X at offset %d is not Windows-1252 text"
                             % (byte, offset))
                return None
        return data.decode("cp1252"), "windows-1252"

    # ------------------------------------------------------------ catalogues

    def check_catalogues(self):
        lists = {}
        for name in ("lista_nome.txt", "filemd5.txt", "lista_atuacao.txt"):
            path = os.path.join(self.root, name)
            if not os.path.isfile(path):
                self.problem(path, "missing")
                return
            lists[name] = catalogue.read_lines(self.read(path))
        names, files, activities = (lists["lista_nome.txt"], lists["filemd5.txt"],
                                    lists["lista_atuacao.txt"])
        if not len(names) == len(files) == len(activities):
            self.problem(self.root, "catalogues differ in length: %d names, %d pages, "
                         "%d activities" % (len(names), len(files), len(activities)))
        if not names:
            self.problem(self.root, "no biographies")
        for number, (values, name) in enumerate([(names, "lista_nome.txt"),
                                                 (files, "filemd5.txt"),
                                                 (activities, "lista_atuacao.txt")]):
            for i, value in enumerate(values):
                if not value.strip():
                    self.problem(os.path.join(self.root, name), "line %d is empty" % (i + 1))

        previous = None
        for i, name in enumerate(names):
            try:
                key = catalogue.sort_key(name)
            except ValueError as error:
                self.problem(os.path.join(self.root, "lista_nome.txt"),
                             "line %d: %s" % (i + 1, error))
                previous = None
                continue
            if previous is not None and not previous < key:
                self.problem(os.path.join(self.root, "lista_nome.txt"),
                             "line %d %r does not sort after line %d %r"
                             % (i + 1, key.decode(), i, previous.decode()))
            previous = key

        listed = set()
        for i, relative in enumerate(files):
            text = relative.decode("cp1252")
            if not re.fullmatch(r"[a-z0-9_.\\/-]+", text):
                self.problem(os.path.join(self.root, "filemd5.txt"),
                             "line %d: %r is not a lower-case ASCII path" % (i + 1, text))
            path = os.path.normpath(os.path.join(self.dados, *re.split(r"[\\/]", text)))
            listed.add(path)
            if not os.path.isfile(path):
                self.problem(os.path.join(self.root, "filemd5.txt"),
                             "line %d: page %s does not exist" % (i + 1, text))
        for folder, _, entries in os.walk(self.dados):
            for entry in entries:
                path = os.path.join(folder, entry)
                if entry.lower().endswith(PAGE_EXTENSIONS) and path not in listed:
                    self.problem(path, "page not listed in filemd5.txt")

    # ------------------------------------------------------------ pages

    def scan(self, path):
        if path in self.pages:
            return self.pages[path]
        scanner = PageScanner()
        decoded = self.check_text_file(path)
        if decoded is not None:
            text, encoding = decoded
            scanner.feed(text)
            scanner.close()
            if encoding == "utf-8" and scanner.meta_charset != "utf-8":
                self.problem(path, "UTF-8 page without a utf-8 charset in its meta tag")
            if encoding != "utf-8" and scanner.meta_charset not in (None, "windows-1252"):
                self.problem(path, "page declares charset %s" % scanner.meta_charset)
        self.pages[path] = scanner
        return scanner

    @staticmethod
    def local(base_folder, target):
        parts = re.split(r"[\\/]", target)
        return os.path.normpath(os.path.join(base_folder, *parts))

    def check_anchor(self, page, target_file, anchor):
        if not anchor:
            return
        scanner = self.scan(target_file)
        if anchor.upper() not in scanner.anchors:
            self.problem(page, "anchor #%s not found in %s"
                         % (anchor, os.path.relpath(target_file, self.root)))

    def check_page(self, path):
        scanner = self.scan(path)
        folder = os.path.dirname(path)
        for sheet in scanner.sheets:
            if not os.path.isfile(self.local(folder, sheet)):
                self.problem(path, "style sheet %s does not exist" % sheet)
        for picture in scanner.pictures:
            picture_path = self.local(folder, picture)
            if not os.path.isfile(picture_path):
                self.problem(path, "picture %s does not exist" % picture)
            else:
                self.check_picture(picture_path)
        for link in scanner.links:
            if re.match(r"[a-z]+://|mailto:", link, re.I):
                self.external_links += 1
                continue
            if "#" in link:
                # Followed by the viewer itself, relative to this page.
                name, anchor = link.split("#", 1)
                target = self.local(folder, name) if name else path
            elif link.startswith(".."):
                target, anchor = self.local(folder, link), ""
            else:
                # Resolved by the main window against the page folder.
                target, anchor = self.local(self.dados, link), ""
            if not os.path.isfile(target):
                self.problem(path, "link %s leads nowhere" % link)
                continue
            if target.lower().endswith(PAGE_EXTENSIONS):
                self.check_anchor(path, target, anchor)

    def check_picture(self, path):
        extension = os.path.splitext(path)[1].lower()
        magic = PICTURE_MAGIC.get(extension)
        if magic is None:
            self.problem(path, "picture of a kind the reader does not show")
            return
        head = self.read(path)[:8]
        if not any(head.startswith(m) for m in magic):
            self.problem(path, "content is not a %s picture" % extension)

    def check_home_page(self):
        path = os.path.join(self.root, "principal.htm")
        if not os.path.isfile(path):
            self.problem(path, "missing")
            return
        text = self.read(path)
        for marker in (b"##DATA", b"##HORA"):
            if text.count(marker) != 1:
                self.problem(path, "%s occurs %d times, expected once"
                             % (marker.decode(), text.count(marker)))

    def run(self):
        self.check_catalogues()
        self.check_home_page()
        for name in ("creditos.html", "main.css"):
            if not os.path.isfile(os.path.join(self.root, name)):
                self.problem(os.path.join(self.root, name), "missing")
        for folder, _, entries in os.walk(self.root):
            for entry in sorted(entries):
                path = os.path.join(folder, entry)
                if entry.lower().endswith(PAGE_EXTENSIONS):
                    self.check_page(path)
                elif entry.lower().endswith(TEXT_EXTENSIONS):
                    self.check_text_file(path)
        return self.problems


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "output")
    checker = Checker(root)
    problems = checker.run()
    for line in problems:
        print(line)
    print("%s: %d pages, %d external links, %d problems"
          % (os.path.normpath(root), len(checker.pages), checker.external_links, len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
