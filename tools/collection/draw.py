#!/usr/bin/env python3
"""Draws the pictures of the bundled collection into output/dados/imagens/.

Every picture is made here from simple shapes; nothing is copied from elsewhere.
The JPEG pictures are drawn as PPM and compressed with cjpeg (libjpeg-turbo-progs),
once; the resulting files are committed, so nothing is drawn at build time.

    python3 tools/collection/draw.py [--out DIR]
"""

import argparse
import math
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import imagewriters as iw  # noqa: E402

SAMPLES = 4  # 4 x 4 samples per pixel for smooth edges on true-colour pictures


# ---------------------------------------------------------------- shapes
# A shape is a function (x, y) -> bool in pixel coordinates (pixel centres at +0.5),
# with a bounding box so that only the pixels it may touch are sampled.

class Shape:
    def __init__(self, inside, box):
        self.inside = inside
        self.box = box  # x0, y0, x1, y1


def ellipse(cx, cy, rx, ry):
    return Shape(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def circle(cx, cy, r):
    return ellipse(cx, cy, r, r)


def rect(x0, y0, x1, y1):
    return Shape(lambda x, y: x0 <= x < x1 and y0 <= y < y1, (x0, y0, x1, y1))


def polygon(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def inside(x, y):
        # even-odd rule
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result

    return Shape(inside, (min(xs), min(ys), max(xs), max(ys)))


def ring(cx, cy, r_out, r_in):
    return Shape(lambda x, y: r_in ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out ** 2,
                 (cx - r_out, cy - r_out, cx + r_out, cy + r_out))


def thick_line(x0, y0, x1, y1, width):
    dx, dy = x1 - x0, y1 - y0
    length = math.hypot(dx, dy)
    nx, ny = -dy / length * width / 2, dx / length * width / 2
    return polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)])


def star(cx, cy, r_out, r_in, points=5, turn=-math.pi / 2):
    vertices = []
    for i in range(points * 2):
        r = r_out if i % 2 == 0 else r_in
        a = turn + i * math.pi / points
        vertices.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(vertices)


# ---------------------------------------------------------------- canvases

class TrueColourCanvas:
    """RGBA pixels; shapes are blended with their coverage (smooth edges)."""

    def __init__(self, width, height, background):
        self.width, self.height = width, height
        bg = tuple(background) + ((255,) if len(background) == 3 else ())
        self.pixels = [[list(bg) for _ in range(width)] for _ in range(height)]

    def fill(self, shape, colour, opacity=1.0):
        x0, y0, x1, y1 = shape.box
        xa, xb = max(0, int(math.floor(x0))), min(self.width, int(math.ceil(x1)) + 1)
        ya, yb = max(0, int(math.floor(y0))), min(self.height, int(math.ceil(y1)) + 1)
        step = 1.0 / SAMPLES
        offsets = [(i + 0.5) * step for i in range(SAMPLES)]
        for y in range(ya, yb):
            row = self.pixels[y]
            for x in range(xa, xb):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if shape.inside(x + ox, y + oy):
                            hits += 1
                if not hits:
                    continue
                alpha = opacity * hits / (SAMPLES * SAMPLES)
                self._blend(row[x], colour, alpha)

    @staticmethod
    def _blend(px, colour, alpha):
        # "over" compositing on a possibly transparent pixel
        a_dst = px[3] / 255.0
        a_out = alpha + a_dst * (1 - alpha)
        if a_out <= 0:
            return
        for c in range(3):
            px[c] = int(round((colour[c] * alpha + px[c] * a_dst * (1 - alpha)) / a_out))
        px[3] = int(round(a_out * 255))

    def gradient(self, top, bottom, y0=0, y1=None):
        y1 = self.height if y1 is None else y1
        for y in range(y0, y1):
            t = (y - y0) / max(1, y1 - y0 - 1)
            colour = [int(round(top[c] + (bottom[c] - top[c]) * t)) for c in range(3)]
            for px in self.pixels[y]:
                px[0], px[1], px[2], px[3] = colour[0], colour[1], colour[2], 255

    def rows(self):
        return [[tuple(px) for px in row] for row in self.pixels]


class PaletteCanvas:
    """Palette indexes; a pixel belongs to a shape when its centre does."""

    def __init__(self, width, height, background_index):
        self.width, self.height = width, height
        self.pixels = [[background_index] * width for _ in range(height)]

    def fill(self, shape, index):
        x0, y0, x1, y1 = shape.box
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)) + 1)):
            row = self.pixels[y]
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)) + 1)):
                if shape.inside(x + 0.5, y + 0.5):
                    row[x] = index

    def rows(self):
        return [list(row) for row in self.pixels]


# ---------------------------------------------------------------- the pictures

def portrait_gif(out):
    """A stylised portrait silhouette in an oval frame, sepia tones."""
    palette = [(247, 243, 239), (226, 206, 185), (111, 86, 58), (60, 45, 30),
               (180, 150, 110), (255, 255, 255)]
    c = PaletteCanvas(96, 120, 0)
    c.fill(ellipse(48, 60, 46, 58), 2)
    c.fill(ellipse(48, 60, 42, 54), 1)
    c.fill(ellipse(48, 60, 39, 51), 4)
    c.fill(ellipse(48, 60, 37, 49), 1)
    c.fill(ellipse(48, 47, 15, 19), 3)  # head
    c.fill(rect(41, 60, 56, 74), 3)  # neck
    c.fill(ellipse(48, 100, 32, 28), 3)  # shoulders
    c.fill(polygon([(40, 74), (48, 90), (56, 74), (52, 72), (48, 80), (44, 72)]), 5)  # collar
    # whatever of the shoulders spills outside the frame goes back to the frame
    frame_inner = ellipse(48, 60, 37, 49)
    frame = ellipse(48, 60, 46, 58)
    for y in range(c.height):
        for x in range(c.width):
            px, py = x + 0.5, y + 0.5
            if not frame.inside(px, py):
                c.pixels[y][x] = 0
            elif not frame_inner.inside(px, py) and c.pixels[y][x] == 3:
                c.pixels[y][x] = 1
    iw.write_gif(os.path.join(out, "retrato.gif"), 96, 120, [c.rows()], palette)


def ornament_gif(out):
    """A horizontal divider of diamonds and dots on a transparent background."""
    palette = [(255, 0, 255), (111, 86, 58), (196, 140, 60), (226, 206, 185)]
    w, h = 240, 20
    c = PaletteCanvas(w, h, 0)
    c.fill(rect(10, 9, 230, 11), 1)
    for i in range(7):
        x = 30 + i * 30
        c.fill(polygon([(x, 2), (x + 8, 10), (x, 18), (x - 8, 10)]), 1)
        c.fill(polygon([(x, 5), (x + 5, 10), (x, 15), (x - 5, 10)]), 2)
        if i < 6:
            c.fill(circle(x + 15, 10, 3), 3 if i % 2 else 2)
    c.fill(circle(8, 10, 4), 2)
    c.fill(circle(232, 10, 4), 2)
    iw.write_gif(os.path.join(out, "ornamento.gif"), w, h, [c.rows()], palette,
                 transparent_index=0)


def note_gif(out):
    """An eighth note that hops up and down: three frames, looping, transparent."""
    palette = [(255, 255, 255), (60, 45, 30), (196, 140, 60), (111, 86, 58)]
    frames = []
    for lift in (0, 4, 8):
        c = PaletteCanvas(32, 40, 0)
        base = 30 - lift
        c.fill(ellipse(11, base, 6, 4.5), 1)  # head
        c.fill(rect(15.5, base - 24, 17.5, base), 1)  # stem
        c.fill(polygon([(17.5, base - 24), (26, base - 16), (25, base - 12), (17.5, base - 18)]), 3)
        c.fill(rect(2, 37, 30, 38), 2)  # a line of the staff to hop on
        frames.append(c.rows())
    iw.write_gif(os.path.join(out, "nota.gif"), 32, 40, frames, palette, transparent_index=0,
                 delays=[25, 15, 25], loop=True)


def palette_png(out):
    """A painter's palette over a warm gradient (true colour)."""
    c = TrueColourCanvas(140, 100, (0, 0, 0))
    c.gradient((247, 226, 190), (196, 140, 60))
    board = ellipse(70, 52, 60, 40)
    c.fill(board, (222, 184, 135))
    c.fill(circle(44, 64, 9), (196, 140, 60))  # thumb hole shows the background colour
    for (x, y, colour) in [(50, 32, (200, 30, 30)), (72, 26, (240, 200, 40)),
                           (94, 32, (40, 120, 200)), (106, 52, (40, 150, 70)),
                           (92, 72, (120, 60, 150)), (70, 78, (250, 250, 250))]:
        c.fill(circle(x, y, 8), colour)
    c.fill(thick_line(20, 95, 60, 55, 4), (111, 86, 58))  # brush
    c.fill(ellipse(62, 53, 5, 3), (60, 45, 30))
    iw.write_png(os.path.join(out, "paleta.png"), c.width, c.height, c.rows(), "rgb")


def seal_png(out):
    """A round seal with a star and soft, partly transparent edges (alpha)."""
    c = TrueColourCanvas(72, 72, (0, 0, 0, 0))
    c.fill(circle(36, 36, 34), (111, 86, 58), opacity=0.35)  # soft halo
    c.fill(circle(36, 36, 30), (111, 86, 58))
    c.fill(ring(36, 36, 27, 25), (247, 226, 190))
    c.fill(star(36, 37, 18, 7.5), (240, 200, 40))
    c.fill(circle(36, 37, 4), (196, 140, 60), opacity=0.8)
    iw.write_png(os.path.join(out, "selo.png"), c.width, c.height, c.rows(), "rgba")


# A rough outline of Brazil, longitude and latitude in degrees.
BRAZIL = [(-60.2, 5.2), (-56.5, 1.9), (-54.0, 2.2), (-51.6, 4.4), (-50.0, 1.8), (-49.5, -0.5),
          (-48.0, -1.0), (-44.3, -2.5), (-41.5, -2.9), (-38.5, -3.7), (-35.2, -5.5),
          (-34.8, -7.1), (-35.7, -9.7), (-38.5, -13.0), (-39.0, -17.0), (-40.3, -20.3),
          (-42.0, -23.0), (-44.5, -23.3), (-46.3, -24.0), (-48.5, -25.5), (-48.5, -27.6),
          (-49.7, -29.3), (-53.4, -33.7), (-55.5, -30.9), (-57.1, -29.8), (-55.7, -27.4),
          (-54.6, -25.5), (-54.3, -24.0), (-55.5, -22.5), (-57.8, -22.1), (-57.7, -19.0),
          (-58.4, -16.3), (-60.2, -13.5), (-65.3, -10.8), (-69.5, -11.0), (-73.8, -7.5),
          (-70.0, -4.2), (-69.4, -1.0), (-69.8, 1.7), (-67.0, 2.0), (-64.0, 4.0)]


def map_png(out):
    """A stylised map of Brazil with a star at Brasília (paletted, 8 bits)."""
    palette = [(247, 243, 239), (58, 130, 70), (30, 80, 40), (240, 200, 40), (111, 86, 58),
               (200, 225, 240)]
    size = 120

    def project(lon, lat):
        return (4 + (lon + 75.0) * 112 / 42.0, 4 + (6.0 - lat) * 112 / 41.0)

    c = PaletteCanvas(size, size, 5)
    outline = [project(lon, lat) for lon, lat in BRAZIL]
    c.fill(polygon([(x + 1.5, y + 1.5) for x, y in outline]), 2)  # shadow
    c.fill(polygon(outline), 1)
    bx, by = project(-47.9, -15.8)
    c.fill(star(bx, by, 6, 2.5), 3)
    c.fill(rect(0, 0, size, 2), 4)
    c.fill(rect(0, size - 2, size, size), 4)
    c.fill(rect(0, 0, 2, size), 4)
    c.fill(rect(size - 2, 0, size, size), 4)
    iw.write_png(os.path.join(out, "mapa.png"), size, size, c.rows(), "palette", palette=palette)


def landscape_rows():
    """Sky, sun, sea and two rounded hills by the bay."""
    c = TrueColourCanvas(220, 130, (0, 0, 0))
    c.gradient((90, 150, 220), (250, 210, 160), 0, 90)
    c.gradient((40, 90, 140), (20, 50, 90), 90, 130)
    c.fill(circle(168, 40, 14), (255, 230, 120))
    c.fill(ellipse(60, 95, 30, 55), (60, 95, 60))
    c.fill(polygon([(88, 92), (100, 40), (112, 32), (124, 42), (132, 92)]), (50, 85, 55))
    c.fill(ellipse(110, 36, 12, 8), (50, 85, 55))
    c.fill(ellipse(20, 98, 40, 12), (70, 110, 60))
    for i in range(6):  # light on the water
        c.fill(rect(150 + i * 3, 96 + i * 5, 186 - i * 3, 97 + i * 5), (250, 220, 150))
    return c


def coffee_rows():
    """Rows of coffee bushes on a hillside, red berries, a blue sky."""
    c = TrueColourCanvas(200, 120, (0, 0, 0))
    c.gradient((120, 170, 230), (210, 230, 240), 0, 40)
    c.gradient((150, 100, 60), (110, 70, 40), 40, 120)
    c.fill(ellipse(100, 110, 140, 72), (130, 90, 50))
    for row in range(5):
        y = 50 + row * 15
        r = 5 + row * 1.5
        for i in range(-1, 12):
            x = i * (r * 2.4) + (row % 2) * r
            c.fill(circle(x, y, r), (40 + row * 8, 100 + row * 10, 40))
            c.fill(circle(x + r * 0.4, y - r * 0.3, r * 0.25), (200, 30, 30))
    return c


def write_jpegs(out):
    cjpeg = shutil.which("cjpeg")
    if not cjpeg:
        print("cjpeg not found (apt-get install libjpeg-turbo-progs); JPEG pictures kept as they are")
        return
    with tempfile.TemporaryDirectory() as tmp:
        for name, canvas, extra in [("ceu.jpg", landscape_rows(), []),
                                    ("cafe.jpg", coffee_rows(), ["-progressive"])]:
            ppm = os.path.join(tmp, name + ".ppm")
            iw.write_ppm(ppm, canvas.width, canvas.height, canvas.rows())
            subprocess.run([cjpeg, "-quality", "85", "-optimize"] + extra +
                           ["-outfile", os.path.join(out, name), ppm], check=True)


# Five by seven dots for the letter of the decorative initial.
LETTER_V = ["X...X", "X...X", "X...X", ".X.X.", ".X.X.", ".X.X.", "..X.."]


def initial_bmp(out):
    """A decorative initial V on a framed, shaded square (24 bits)."""
    size = 64
    c = TrueColourCanvas(size, size, (0, 0, 0))
    c.gradient((247, 226, 190), (226, 206, 185))
    c.fill(rect(0, 0, size, 3), (111, 86, 58))
    c.fill(rect(0, size - 3, size, size), (111, 86, 58))
    c.fill(rect(0, 0, 3, size), (111, 86, 58))
    c.fill(rect(size - 3, 0, size, size), (111, 86, 58))
    for x, y in [(9, 9), (55, 9), (9, 55), (55, 55)]:
        c.fill(circle(x, y, 3), (196, 140, 60))
    c.fill(polygon([(12, 12), (22, 12), (32, 44), (42, 12), (52, 12), (36, 54), (28, 54)]),
           (111, 40, 30))
    c.fill(polygon([(16, 14), (20, 14), (31, 48), (29, 50)]), (200, 120, 90), opacity=0.6)
    iw.write_bmp24(os.path.join(out, "capitular.bmp"), size, size, c.rows())


def ball_bmp(out):
    """A football on the grass (8-bit paletted BMP with a 16-colour table)."""
    palette = [(58, 130, 70), (250, 250, 250), (20, 20, 20), (180, 180, 180), (40, 100, 50)] + \
        [(i * 16, i * 16, i * 16) for i in range(11)]
    size = 64
    c = PaletteCanvas(size, size, 0)
    for i in range(0, size, 8):
        c.fill(rect(0, i, size, i + 4), 4)  # mown stripes
    c.fill(ellipse(34, 58, 22, 4), 2)  # shadow
    c.fill(circle(32, 30, 24), 3)
    c.fill(circle(31, 29, 23), 1)
    c.fill(star(31, 29, 8, 8 * math.cos(math.pi / 5) / math.cos(0), 5), 2)  # pentagon
    for k in range(5):
        a = -math.pi / 2 + k * 2 * math.pi / 5
        px, py = 31 + 19 * math.cos(a), 29 + 19 * math.sin(a)
        c.fill(circle(px, py, 5), 2)
    # keep only what lies on the ball
    ball = circle(31, 29, 23)
    rim = circle(32, 30, 24)
    background = PaletteCanvas(size, size, 0)
    for i in range(0, size, 8):
        background.fill(rect(0, i, size, i + 4), 4)
    background.fill(ellipse(34, 58, 22, 4), 2)
    for y in range(size):
        for x in range(size):
            if not rim.inside(x + 0.5, y + 0.5):
                c.pixels[y][x] = background.pixels[y][x]
            elif not ball.inside(x + 0.5, y + 0.5):
                c.pixels[y][x] = 3
    iw.write_bmp8(os.path.join(out, "bola.bmp"), size, size, c.rows(), palette)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default_out = os.path.normpath(os.path.join(here, "..", "..", "output", "dados", "imagens"))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=default_out)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for draw in (portrait_gif, ornament_gif, note_gif, palette_png, seal_png, map_png,
                 initial_bmp, ball_bmp, write_jpegs):
        draw(args.out)
    for name in sorted(os.listdir(args.out)):
        print("%-16s %6d bytes" % (name, os.path.getsize(os.path.join(args.out, name))))


if __name__ == "__main__":
    main()
