#!/usr/bin/env python3
"""Writes the small PNG and GIF pictures the decoder tests compare against, with the
pixels each must decode to.

Standard library only, and written apart from the program's decoders: the pictures
come from this file's own encoders (PNG rows filtered here and packed by Python's
zlib; GIF codes from the collection tools' LZW writer).

    python3 tests/image/pictures/make_pictures.py      # rewrites png/ and gif/ here

For each picture NAME it writes NAME.png or NAME.gif and NAME.ppm, the expected
picture as 8-bit RGB (for a GIF: all frames side by side, as composed). Transparent
GIFs also get NAME.pgm, the expected mask (255 where the page shows through).
The output is deterministic.
"""

import os
import random
import struct
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "tools", "collection"))
from imagewriters import _sub_blocks as sub_blocks, lzw_encode  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def write_ppm(path, width, height, rgb_rows):
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height))
        for row in rgb_rows:
            f.write(bytes(c for px in row for c in px))


def write_pgm(path, width, height, rows):
    with open(path, "wb") as f:
        f.write(b"P5\n%d %d\n255\n" % (width, height))
        for row in rows:
            f.write(bytes(row))


# ---------------------------------------------------------------- PNG

SAMPLES = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
ADAM7 = [(0, 0, 8, 8), (0, 4, 8, 8), (4, 0, 8, 4), (0, 2, 4, 4), (2, 0, 4, 2), (0, 1, 2, 2), (1, 0, 2, 1)]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def pack_row(samples, depth):
    """Samples (ints) packed high bits first at depth bits, 16-bit big-endian."""
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return bytes(samples)
    out = bytearray()
    per_byte = 8 // depth
    for i in range(0, len(samples), per_byte):
        b = 0
        group = samples[i:i + per_byte]
        for j, s in enumerate(group):
            b |= s << (8 - depth * (j + 1))
        out.append(b)
    return bytes(out)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_rows(rows, unit, rng):
    """Each row gets a filter type chosen at random, so every type is exercised."""
    out = bytearray()
    above = bytes(len(rows[0])) if rows else b""
    for row in rows:
        kind = rng.randrange(5)
        n = len(row)
        left = lambda i: row[i - unit] if i >= unit else 0  # noqa: E731
        upleft = lambda i: above[i - unit] if i >= unit else 0  # noqa: E731
        if kind == 0:
            data = row
        elif kind == 1:
            data = bytes((row[i] - left(i)) & 0xFF for i in range(n))
        elif kind == 2:
            data = bytes((row[i] - above[i]) & 0xFF for i in range(n))
        elif kind == 3:
            data = bytes((row[i] - ((left(i) + above[i]) >> 1)) & 0xFF for i in range(n))
        else:
            data = bytes((row[i] - paeth(left(i), above[i], upleft(i))) & 0xFF for i in range(n))
        out.append(kind)
        out += data
        above = row
    return bytes(out)


def png_bytes(width, height, depth, colour, pixels, palette=None, interlace=False, seed=1,
              extra_before_data=b""):
    """pixels[y][x] is a tuple of samples (one per channel)."""
    rng = random.Random(seed)
    samples = SAMPLES[colour]
    unit = max(1, samples * depth // 8)
    raw = bytearray()
    if not interlace:
        rows = [pack_row([s for px in line for s in px], depth) for line in pixels]
        raw += filter_rows(rows, unit, rng)
    else:
        for r0, c0, rs, cs in ADAM7:
            xs = range(c0, width, cs)
            ys = range(r0, height, rs)
            if not xs or not ys:
                continue
            rows = [pack_row([s for x in xs for s in pixels[y][x]], depth) for y in ys]
            raw += filter_rows(rows, unit, rng)
    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 1 if interlace else 0))
    if palette is not None:
        data += chunk(b"PLTE", bytes(c for rgb in palette for c in rgb))
    data += extra_before_data
    compressed = zlib.compress(bytes(raw), 9)
    # Three data chunks of uneven length: a reader must join them.
    a, b = len(compressed) // 3, 2 * len(compressed) // 3
    for part in (compressed[:a], compressed[a:b], compressed[b:]):
        data += chunk(b"IDAT", part)
    data += chunk(b"IEND", b"")
    return data


def expected_rgb(depth, colour, pixels, palette):
    """What the reader shows: 16-bit samples by their high byte, grey levels spread
    over 0..255, palette entries looked up, alpha dropped."""
    maxval = (1 << depth) - 1

    def level(s):
        if depth == 16:
            return s >> 8
        return (s * 255 + maxval // 2) // maxval

    out = []
    for line in pixels:
        row = []
        for px in line:
            if colour in (0, 4):
                g = level(px[0])
                row.append((g, g, g))
            elif colour == 3:
                row.append(tuple(palette[px[0]]) if px[0] < len(palette) else (0, 0, 0))
            else:
                row.append(tuple((s >> 8) if depth == 16 else s for s in px[:3]))
        out.append(row)
    return out


def png_set(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    rng = random.Random(7)
    combos = []
    for depth in (1, 2, 4, 8, 16):
        combos.append((0, depth))
    for depth in (1, 2, 4, 8):
        combos.append((3, depth))
    for depth in (8, 16):
        combos += [(2, depth), (4, depth), (6, depth)]
    for colour, depth in combos:
        for interlace in (False, True):
            for width, height in ((13, 11), (1, 1), (9, 17)):
                if (width, height) == (9, 17) and interlace:
                    continue
                maxval = (1 << depth) - 1
                palette = None
                if colour == 3:
                    # A palette of 8 bits need not fill all 256 entries.
                    count = 200 if depth == 8 else 1 << depth
                    palette = [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(count)]
                samples = SAMPLES[colour]
                pixels = []
                for y in range(height):
                    line = []
                    for x in range(width):
                        if colour == 3:
                            line.append((rng.randrange(len(palette)),))
                        else:
                            # Smooth ramps with noise: the filters have something to predict.
                            base = [(x * 37 + y * 11 + 60 * c) % (maxval + 1) for c in range(samples)]
                            line.append(tuple((b + rng.randrange(3)) % (maxval + 1) for b in base))
                    pixels.append(line)
                name = "c%d_d%d_%dx%d%s" % (colour, depth, width, height, "_i" if interlace else "")
                data = png_bytes(width, height, depth, colour, pixels, palette, interlace,
                                 seed=len(name) * 31 + depth)
                with open(os.path.join(out_dir, name + ".png"), "wb") as f:
                    f.write(data)
                write_ppm(os.path.join(out_dir, name + ".ppm"), width, height,
                          expected_rgb(depth, colour, pixels, palette or []))


# ---------------------------------------------------------------- GIF

def table_bits(count):
    return max(1, (count - 1).bit_length())


def colour_table(palette):
    bits = table_bits(len(palette))
    colours = list(palette) + [(0, 0, 0)] * ((1 << bits) - len(palette))
    return bits, bytes(c for rgb in colours for c in rgb)


def interlaced_order(height):
    order = []
    for start, step in ((0, 8), (4, 8), (2, 4), (1, 2)):
        order += list(range(start, height, step))
    return order


def gif_bytes(screen_w, screen_h, palette, frames, loop=None, signature=b"GIF89a", comment_first=False):
    """frames: dicts with left, top, w, h, rows (indexes), and optionally transparent,
    disposal, delay, interlace, local (a palette of its own), code_size."""
    bits, table = colour_table(palette)
    data = bytearray(signature)
    data += struct.pack("<HHBBB", screen_w, screen_h, 0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0)
    data += table
    if loop is not None:
        data += b"\x21\xff\x0bNETSCAPE2.0\x03\x01" + struct.pack("<H", loop) + b"\x00"
    if comment_first:
        data += b"\x21\xfe" + sub_blocks(b"drawn for the decoder tests")
    for frame in frames:
        if any(k in frame for k in ("transparent", "disposal", "delay")):
            flags = (frame.get("disposal", 0) << 2) | (1 if "transparent" in frame else 0)
            data += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, flags, frame.get("delay", 0),
                                frame.get("transparent", 0), 0)
        packed = 0
        local = frame.get("local")
        if local:
            lbits, ltable = colour_table(local)
            packed |= 0x80 | (lbits - 1)
        if frame.get("interlace"):
            packed |= 0x40
        data += struct.pack("<BHHHHB", 0x2C, frame["left"], frame["top"], frame["w"], frame["h"], packed)
        if local:
            data += ltable
        rows = frame["rows"]
        order = interlaced_order(frame["h"]) if frame.get("interlace") else range(frame["h"])
        indexes = [i for y in order for i in rows[y]]
        code_size = frame.get("code_size", max(2, table_bits(len(local or palette))))
        data.append(code_size)
        data += sub_blocks(lzw_encode(indexes, code_size, clear_when_full=not frame.get("deferred")))
    data.append(0x3B)
    return bytes(data)


def compose(screen_w, screen_h, palette, frames):
    """The strip the reader builds: each frame over the one before; a transparent pixel
    keeps what is there; disposal 2 makes the frame's area show the page in the next."""
    n = len(frames)
    transparent_gif = any("transparent" in f for f in frames)
    strip = [[(0, 0, 0)] * (screen_w * n) for _ in range(screen_h)]
    mask = [[255] * (screen_w * n) for _ in range(screen_h)]
    for i, frame in enumerate(frames):
        base = i * screen_w
        if i > 0:
            for y in range(screen_h):
                for x in range(screen_w):
                    strip[y][base + x] = strip[y][base - screen_w + x]
                    mask[y][base + x] = mask[y][base - screen_w + x]
            previous = frames[i - 1]
            if previous.get("disposal") == 2:
                for y in range(previous["top"], min(screen_h, previous["top"] + previous["h"])):
                    for x in range(previous["left"], min(screen_w, previous["left"] + previous["w"])):
                        mask[y][base + x] = 255
        table = frame.get("local") or palette
        key = frame.get("transparent")
        for fy in range(frame["h"]):
            for fx in range(frame["w"]):
                x, y = frame["left"] + fx, frame["top"] + fy
                if x >= screen_w or y >= screen_h:
                    continue
                index = frame["rows"][fy][fx]
                if index == key:
                    if i == 0:
                        mask[y][base + x] = 255
                    continue
                strip[y][base + x] = tuple(table[index]) if index < len(table) else (0, 0, 0)
                mask[y][base + x] = 0
    return strip, (mask if transparent_gif else None)


def gif_set(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    rng = random.Random(11)

    def noise_rows(w, h, colours):
        return [[rng.randrange(colours) for _ in range(w)] for _ in range(h)]

    def save(name, screen_w, screen_h, palette, frames, **options):
        data = gif_bytes(screen_w, screen_h, palette, frames, **options)
        with open(os.path.join(out_dir, name + ".gif"), "wb") as f:
            f.write(data)
        strip, mask = compose(screen_w, screen_h, palette, frames)
        write_ppm(os.path.join(out_dir, name + ".ppm"), screen_w * len(frames), screen_h, strip)
        if mask is not None:
            write_pgm(os.path.join(out_dir, name + ".pgm"), screen_w * len(frames), screen_h, mask)

    grey256 = [(i, i, i) for i in range(256)]
    cube = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    two = [(250, 240, 10), (5, 20, 200)]

    # Two colours with the smallest code size; lower-case signature.
    save("two_colours", 11, 7, two, [dict(left=0, top=0, w=11, h=7, rows=noise_rows(11, 7, 2))],
         signature=b"gif87a")
    # 256 colours of noise: the code table fills and is cleared several times.
    save("noise_256", 80, 64, grey256, [dict(left=0, top=0, w=80, h=64, rows=noise_rows(80, 64, 256))])
    # Past a full table without a clear code.
    save("deferred_clear", 90, 70, grey256, [dict(left=0, top=0, w=90, h=70, deferred=True,
                                                  rows=[[min(255, rng.randrange(40) + (x * y) % 216) for x in range(90)]
                                                        for y in range(70)])])
    # Interlaced, 10 rows and 37 rows, and a frame with a local table.
    save("interlaced_10", 6, 10, cube, [dict(left=0, top=0, w=6, h=10, interlace=True,
                                              rows=[[(y * 20 + x) % 216 for x in range(6)] for y in range(10)])])
    save("interlaced_37", 23, 37, cube, [dict(left=0, top=0, w=23, h=37, interlace=True,
                                               rows=noise_rows(23, 37, 216))])
    local = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)]
    save("local_table", 8, 8, two, [dict(left=0, top=0, w=8, h=8, local=local, rows=noise_rows(8, 8, 4))],
         comment_first=True)
    # An animation: a frame smaller than the screen and off its corner, a transparent
    # frame over the one before, disposal 2, and a frame reaching past the screen.
    frames = [
        dict(left=0, top=0, w=12, h=9, rows=noise_rows(12, 9, 6), delay=0),
        dict(left=3, top=2, w=5, h=4, transparent=1,
             rows=[[1 if (x + y) % 2 else 4 for x in range(5)] for y in range(4)], delay=2, disposal=2),
        dict(left=6, top=5, w=10, h=10, transparent=0, rows=noise_rows(10, 10, 3), delay=5, disposal=1),
        dict(left=1, top=1, w=4, h=3, rows=noise_rows(4, 3, 6), delay=100, interlace=True),
    ]
    six = [(0, 0, 0), (255, 255, 255), (200, 30, 30), (30, 200, 30), (30, 30, 200), (120, 120, 0)]
    save("animation", 12, 9, six, frames, loop=2)
    # A first frame smaller than the screen, with transparency: the rest shows the page.
    save("small_first_frame", 10, 6, six, [
        dict(left=2, top=1, w=4, h=3, transparent=2, rows=noise_rows(4, 3, 6)),
        dict(left=0, top=0, w=10, h=6, transparent=2, rows=noise_rows(10, 6, 6), disposal=2),
        dict(left=5, top=3, w=5, h=3, rows=noise_rows(5, 3, 6))])


def main():
    png_set(os.path.join(HERE, "png"))
    gif_set(os.path.join(HERE, "gif"))


if __name__ == "__main__":
    main()
