"""Small writers for the picture formats the reader shows: PNG, GIF, BMP and PPM.

Standard library only. Pixels are given as rows of tuples: (r, g, b) or (r, g, b, a)
for true-colour pictures, palette indexes for paletted ones.
"""

import struct
import zlib


# ---------------------------------------------------------------- PNG

def _png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    if pb <= pc:
        return b
    return c


def _filter_rows(raw_rows, bpp):
    """Chooses a filter per row (smallest sum of absolute differences), so that the
    stored picture uses several of the five filter types, as real encoders do."""
    out = bytearray()
    previous = bytes(len(raw_rows[0]))
    for row in raw_rows:
        candidates = []
        n = len(row)
        none = bytes(row)
        sub = bytes((row[i] - (row[i - bpp] if i >= bpp else 0)) & 0xFF for i in range(n))
        up = bytes((row[i] - previous[i]) & 0xFF for i in range(n))
        avg = bytes((row[i] - (((row[i - bpp] if i >= bpp else 0) + previous[i]) >> 1)) & 0xFF
                    for i in range(n))
        paeth = bytes((row[i] - _paeth(row[i - bpp] if i >= bpp else 0, previous[i],
                                       previous[i - bpp] if i >= bpp else 0)) & 0xFF
                      for i in range(n))
        for kind, data in enumerate((none, sub, up, avg, paeth)):
            score = sum(b if b < 128 else 256 - b for b in data)
            candidates.append((score, kind, data))
        _, kind, data = min(candidates)
        out.append(kind)
        out += data
        previous = row
    return bytes(out)


def write_png(path, width, height, rows, mode, palette=None, transparent=None):
    """mode: "rgb" (colour type 2), "rgba" (6) or "palette" (3, 8 bits per index).
    For "palette", transparent is an optional list of alpha values (tRNS)."""
    if mode == "rgb":
        colour_type, bpp = 2, 3
        raw = [bytes(c for px in row for c in px[:3]) for row in rows]
    elif mode == "rgba":
        colour_type, bpp = 6, 4
        raw = [bytes(c for px in row for c in px) for row in rows]
    elif mode == "palette":
        colour_type, bpp = 3, 1
        raw = [bytes(row) for row in rows]
    else:
        raise ValueError(mode)
    data = b"\x89PNG\r\n\x1a\n"
    data += _png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
    if mode == "palette":
        data += _png_chunk(b"PLTE", bytes(c for rgb in palette for c in rgb))
        if transparent:
            data += _png_chunk(b"tRNS", bytes(transparent))
    compressed = zlib.compress(_filter_rows(raw, bpp), 9)
    # Two IDAT chunks: readers must join them before inflating.
    half = len(compressed) // 2
    data += _png_chunk(b"IDAT", compressed[:half])
    data += _png_chunk(b"IDAT", compressed[half:])
    data += _png_chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- GIF

def lzw_encode(indexes, min_code_size, clear_when_full=True):
    """GIF flavour of LZW: variable code width starting at min_code_size + 1, a clear
    code first, a fresh table whenever 4096 codes are in use (or, without
    clear_when_full, 12-bit codes of the full table from then on), an end code last.
    Codes are packed least significant bit first."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, width):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {(i,): i for i in range(clear)}

    table = fresh_table()
    next_code = end + 1
    width = min_code_size + 1
    emit(clear, width)
    current = ()
    for index in indexes:
        candidate = current + (index,)
        if candidate in table:
            current = candidate
            continue
        emit(table[current], width)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            # The decoder widens its codes one code later than we add them.
            if next_code > (1 << width) and width < 12:
                width += 1
        elif clear_when_full:
            emit(clear, width)
            table = fresh_table()
            next_code = end + 1
            width = min_code_size + 1
        current = (index,)
    if current:
        emit(table[current], width)
    emit(end, width)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def _sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        piece = data[i:i + 255]
        out.append(len(piece))
        out += piece
    out.append(0)
    return bytes(out)


def write_gif(path, width, height, frames, palette, transparent_index=None, delays=None,
              loop=False):
    """frames: list of row lists of palette indexes, each width x height.
    delays in hundredths of a second, one per frame (animated pictures)."""
    size_bits = max(1, (len(palette) - 1).bit_length())
    table_size = 1 << size_bits
    colours = list(palette) + [(0, 0, 0)] * (table_size - len(palette))
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0x80 | 0x70 | (size_bits - 1), 0, 0)
    data += bytes(c for rgb in colours for c in rgb)
    if loop:
        data += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    for number, frame in enumerate(frames):
        if transparent_index is not None or delays:
            flags = 0
            if transparent_index is not None:
                flags |= 1
            if delays:
                flags |= 2 << 2  # restore to background before the next frame
            delay = delays[number] if delays else 0
            data += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, flags, delay,
                                transparent_index or 0, 0)
        data += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
        min_code_size = max(2, size_bits)
        data.append(min_code_size)
        pixels = [i for row in frame for i in row]
        data += _sub_blocks(lzw_encode(pixels, min_code_size))
    data.append(0x3B)
    with open(path, "wb") as f:
        f.write(bytes(data))


# ---------------------------------------------------------------- BMP

def write_bmp24(path, width, height, rows):
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b, *_ in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    _write_bmp(path, width, height, 24, b"", 0, bytes(pixels))


def write_bmp8(path, width, height, rows, palette):
    stride = (width + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        pixels += bytes(row) + bytes(stride - width)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    _write_bmp(path, width, height, 8, table, len(palette), bytes(pixels))


def _write_bmp(path, width, height, bits, colour_table, colours_used, pixels):
    offset = 14 + 40 + len(colour_table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    # 2835 pixels per metre is 72 dpi.
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835,
                       colours_used, 0)
    with open(path, "wb") as f:
        f.write(header + info + colour_table + pixels)


# ---------------------------------------------------------------- PPM

def write_ppm(path, width, height, rows):
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height))
        f.write(bytes(c for row in rows for px in row for c in px[:3]))
