#!/usr/bin/env python3
"""Tests of the collection tools: the key rules, the generator, the check and the
picture writers.  python3 -m unittest discover -s tools/collection"""

import io
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import catalogue  # noqa: E402
import check  # noqa: E402
import generate  # noqa: E402
import imagewriters  # noqa: E402

BUNDLED = os.path.normpath(os.path.join(HERE, "..", "..", "output"))


class SearchKeyTest(unittest.TestCase):
    def test_folds_only_the_listed_letters(self):
        self.assertEqual(catalogue.search_key("Érico Veríssimo".encode("cp1252")),
                         b"ERICO VERISSIMO")
        self.assertEqual(catalogue.search_key("Conceição Gonçalves".encode("cp1252")),
                         b"CONCEICAO GONCALVES")
        # Ÿ and ý fold to Y; Å Æ Ø ß are kept (and Å Æ Ø are already upper case).
        self.assertEqual(catalogue.search_key("Ÿýÿ".encode("cp1252")), b"YYY")
        self.assertEqual(catalogue.search_key("ÅÆØåæøß".encode("cp1252")),
                         "ÅÆØÅÆØß".encode("cp1252"))

    def test_blank_sorts_before_letters(self):
        names = ["Joseane Lima", "José Silva", "Jose", "Ana Maria", "Anamaria"]
        ordered = sorted(names, key=lambda n: catalogue.sort_key(n.encode("cp1252")))
        self.assertEqual(ordered, ["Ana Maria", "Anamaria", "Jose", "José Silva",
                                   "Joseane Lima"])

    def test_refuses_shapes_it_cannot_order(self):
        for name in ["Villa-Lobos", "Ana  Maria", " Ana", "Ångström", "Pedro 2"]:
            with self.assertRaises(ValueError, msg=name):
                catalogue.sort_key(name.encode("cp1252"))

    def test_lines_split_like_the_reader(self):
        self.assertEqual(catalogue.read_lines(b"a\r\nb\rc\nd"), [b"a", b"b", b"c", b"d"])
        self.assertEqual(catalogue.read_lines(b"a\r\n\r\nb\r\n"), [b"a", b"", b"b"])
        self.assertEqual(catalogue.read_lines(b"a\r\nb\0c\r\n"), [b"a", b"b"])
        self.assertEqual(catalogue.read_lines(b""), [])


class GeneratorTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.folder)

    def run_generator(self, out, *arguments):
        subprocess.run([sys.executable, os.path.join(HERE, "generate.py"), "--out", out]
                       + list(arguments), check=True, stdout=subprocess.DEVNULL)

    def test_output_is_a_valid_collection_and_repeatable(self):
        first = os.path.join(self.folder, "a")
        second = os.path.join(self.folder, "b")
        self.run_generator(first, "--count", "2500", "--seed", "7")
        self.run_generator(second, "--count", "2500", "--seed", "7")
        self.assertEqual(check.Checker(first).run(), [])
        for folder, _, files in os.walk(first):
            if os.path.basename(folder).startswith("g"):
                self.assertLessEqual(len(files), generate.PAGES_PER_FOLDER)
            for name in files:
                path = os.path.join(folder, name)
                with open(path, "rb") as f, \
                        open(os.path.join(second, os.path.relpath(path, first)), "rb") as g:
                    self.assertEqual(f.read(), g.read(), path)

    def test_seed_changes_names_and_no_pages_writes_none(self):
        first = os.path.join(self.folder, "a")
        second = os.path.join(self.folder, "b")
        self.run_generator(first, "--count", "300", "--seed", "1", "--no-pages")
        self.run_generator(second, "--count", "300", "--seed", "2", "--no-pages")
        self.assertFalse(os.path.exists(os.path.join(first, "dados")))
        with open(os.path.join(first, "lista_nome.txt"), "rb") as f:
            names_one = f.read()
        with open(os.path.join(second, "lista_nome.txt"), "rb") as f:
            names_two = f.read()
        self.assertNotEqual(names_one, names_two)
        names = catalogue.read_lines(names_one)
        keys = [catalogue.sort_key(n) for n in names]
        self.assertEqual(len(set(keys)), 300)
        self.assertEqual(keys, sorted(keys))


class CheckTest(unittest.TestCase):
    """The check must pass the bundled collection and catch each kind of damage."""

    def setUp(self):
        self.folder = tempfile.mkdtemp()
        self.root = os.path.join(self.folder, "output")
        shutil.copytree(BUNDLED, self.root)

    def tearDown(self):
        shutil.rmtree(self.folder)

    def edit(self, relative, old, new):
        path = os.path.join(self.root, relative)
        with open(path, "rb") as f:
            data = f.read()
        self.assertIn(old, data)
        with open(path, "wb") as f:
            f.write(data.replace(old, new, 1))

    def problems(self):
        return "\n".join(check.Checker(self.root).run())

    def test_bundled_collection_passes(self):
        self.assertEqual(self.problems(), "")

    def test_each_fault_is_reported(self):
        cases = [
            ("lista_nome.txt", b"Aleijadinho\r\n", b"", "differ in length"),
            ("lista_nome.txt", b"Adhemar", b"Zz Adhemar", "does not sort after"),
            ("lista_nome.txt", b"Carlos Chagas\r\n", b"Carlos Chagas\n", "bare LF"),
            ("filemd5.txt", b"esporte\\pele.htm", b"esporte\\Pele.htm", "lower-case ASCII"),
            ("filemd5.txt", b"esporte\\pele.htm", b"esporte\\pele2.htm", "does not exist"),
            ("principal.htm", b"##HORA", b"##HORA ##HORA", "##HORA occurs 2 times"),
            ("dados/literatura/erico_verissimo.htm", b'name="obras"', b'name="livros"',
             "anchor #obras not found"),
            ("dados/musica/noel_rosa.htm", b"pixinguinha.htm#choro", b"pixinguinha.htm#samba",
             "anchor #samba not found"),
            ("dados/literatura/machado_de_assis.htm", b'href="literatura\\jose_de_alencar.htm"',
             b'href="jose_de_alencar.htm"', "leads nowhere"),
            ("dados/artes/anita_malfatti.htm", b"../literatura/monteiro_lobato.htm",
             b"../monteiro_lobato.htm", "leads nowhere"),
            ("dados/esporte/pele.htm", b"bola.bmp", b"bola.gif", "picture"),
            ("dados/artes/aleijadinho.htm", b"Ant\xf4nio", b"Ant\x81nio", "not Windows-1252"),
        ]
        for relative, old, new, expected in cases:
            with self.subTest(expected=expected):
                shutil.rmtree(self.root)
                shutil.copytree(BUNDLED, self.root)
                self.edit(relative, old, new)
                self.assertIn(expected, self.problems())

    def test_picture_content_must_match_its_extension(self):
        pictures = os.path.join(self.root, "dados", "imagens")
        shutil.copy(os.path.join(pictures, "mapa.png"), os.path.join(pictures, "bola.bmp"))
        self.assertIn("content is not a .bmp picture", self.problems())


def gif_decode(data):
    """A plain GIF reader for the test: the pixel indexes of every frame."""
    stream = io.BytesIO(data)
    assert stream.read(6) == b"GIF89a"
    width, height, flags, _, _ = struct.unpack("<HHBBB", stream.read(7))
    if flags & 0x80:
        stream.read(3 << ((flags & 7) + 1))
    frames = []
    while True:
        kind = stream.read(1)
        if kind == b";":
            return width, height, frames
        if kind == b"!":
            stream.read(1)
            while True:
                size = stream.read(1)[0]
                if not size:
                    break
                stream.read(size)
            continue
        assert kind == b","
        stream.read(9)
        min_size = stream.read(1)[0]
        raw = bytearray()
        while True:
            size = stream.read(1)[0]
            if not size:
                break
            raw += stream.read(size)
        frames.append(lzw_decode(bytes(raw), min_size))


def lzw_decode(raw, min_size):
    clear, end = 1 << min_size, (1 << min_size) + 1
    bits = int.from_bytes(raw, "little")
    position, width = 0, min_size + 1
    table, previous, out = None, None, []
    while True:
        code = (bits >> position) & ((1 << width) - 1)
        position += width
        if code == clear:
            table = [(i,) for i in range(clear)] + [None, None]
            width, previous = min_size + 1, None
            continue
        if code == end:
            return out
        if previous is None:
            entry = table[code]
        else:
            entry = table[code] if code < len(table) else previous + previous[:1]
            if len(table) < 4096:
                table.append(previous + entry[:1])
        out.extend(entry)
        previous = entry
        if len(table) == (1 << width) and width < 12:
            width += 1


class PictureWriterTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.folder)

    def test_gif_round_trip_through_table_resets(self):
        # Noise fills the 4096-entry table many times over; two colours keep the
        # smallest code size; several frames share one stream.
        state = 12345
        for colours in (2, 5, 256):
            pixels = []
            for _ in range(180 * 120):
                state = (state * 1103515245 + 12345) & 0x7FFFFFFF
                pixels.append((state >> 16) % colours)
            rows = [pixels[y * 180:(y + 1) * 180] for y in range(120)]
            flipped = [row[::-1] for row in rows]
            path = os.path.join(self.folder, "x.gif")
            imagewriters.write_gif(path, 180, 120, [rows, flipped],
                                   [(i, i, i) for i in range(colours)],
                                   transparent_index=0, delays=[10, 10], loop=True)
            with open(path, "rb") as f:
                width, height, frames = gif_decode(f.read())
            self.assertEqual((width, height), (180, 120))
            self.assertEqual(frames, [pixels, [i for row in flipped for i in row]])

    def test_png_rows_survive_every_filter(self):
        rows = [[((x * 7 + y * 3) % 256, (x * y) % 256, (255 - x) % 256, (x + y) % 256)
                 for x in range(40)] for y in range(30)]
        path = os.path.join(self.folder, "x.png")
        imagewriters.write_png(path, 40, 30, rows, "rgba")
        with open(path, "rb") as f:
            data = f.read()
        idat, position = b"", 8
        while position < len(data):
            length, kind = struct.unpack(">I4s", data[position:position + 8])
            if kind == b"IDAT":
                idat += data[position + 8:position + 8 + length]
            position += 12 + length
        raw = zlib.decompress(idat)
        stride, previous, decoded = 40 * 4, bytearray(40 * 4), []
        for y in range(30):
            kind = raw[y * (stride + 1)]
            line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
            for i in range(stride):
                a = line[i - 4] if i >= 4 else 0
                b = previous[i]
                c = previous[i - 4] if i >= 4 else 0
                predictor = [0, a, b, (a + b) // 2, imagewriters._paeth(a, b, c)][kind]
                line[i] = (line[i] + predictor) & 0xFF
            decoded.append([tuple(line[i:i + 4]) for i in range(0, stride, 4)])
            previous = line
        self.assertEqual(decoded, rows)


if __name__ == "__main__":
    unittest.main()
