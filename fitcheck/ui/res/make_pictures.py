#!/usr/bin/env python3
"""Draws the wizard's page pictures and the program icon.

    python3 fitcheck/ui/res/make_pictures.py           writes the files beside this script
    python3 fitcheck/ui/res/make_pictures.py --check   exits 1 when a committed file differs
                                                       from what this script draws
    python3 fitcheck/ui/res/make_pictures.py --out D   writes into folder D instead

Outputs (24-bit BMPs for the picture control, a 16/32/48 px icon with alpha):
    page_start.bmp    bitmap 146, start and test pages: blue
    page_problem.bmp  bitmap 147, pages that end with a problem: red
    page_ok.bmp       bitmap 148, all good: green
    page_warning.bmp  bitmap 149, warning: amber
    fitcheck.ico      icon 128

The picture control sits at the dialog's left edge 43 dialog units down; the
white texts drawn over it end with the instruction line, 182 units down, just
above the buttons at 192. With the dialog font (9 pt, base units 6 x 13
pixels at 96 dpi) that is 329 pixels across (219 units) and 70 to 309 pixels
down, so the pictures are 329 x 240. The left column (up to x = 118, where the
main text starts beside the picture) carries each page's symbol; everything
else stays calm and dark so that white text keeps a contrast of at least 4.5.

Pure Python without extra packages: shapes are signed-distance fields with a
one-pixel smooth edge, and an ordered dither keeps the gradients free of bands.
The output is the same byte for byte on every run.
"""

import math
import os
import struct
import sys

WIDTH, HEIGHT = 329, 240

# Where white text lies over the picture, in picture pixels (x0, y0, x1, y1),
# for the contrast check: main and verdict texts beside the symbol and the full
# width lines below it; on the start and test pages the main text starts at
# the left edge instead, where the other pictures have their symbol.
TEXT_AREAS = [(118, 16, 320, 154), (12, 125, 320, 226)]
LEFT_TEXT_AREA = (12, 16, 225, 68)
MIN_CONTRAST = 4.5

BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


# --- signed distance fields (negative inside, in pixels) ---------------------

def sd_circle(px, py, cx, cy, r):
    return math.hypot(px - cx, py - cy) - r


def sd_segment(px, py, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    t = clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy))
    return math.hypot(px - ax - dx * t, py - ay - dy * t) - half_width


def sd_polyline(px, py, points, half_width):
    return min(sd_segment(px, py, *points[i], *points[i + 1], half_width)
               for i in range(len(points) - 1))


def sd_round_box(px, py, x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0), max(qy, 0))
    return outside + min(max(qx, qy), 0) - radius


def sd_polygon(px, py, points):
    """Distance to a convex or concave polygon (even-odd inside test)."""
    d = float("inf")
    inside = False
    n = len(points)
    for i in range(n):
        ax, ay = points[i]
        bx, by = points[(i + 1) % n]
        d = min(d, sd_segment(px, py, ax, ay, bx, by, 0))
        if (ay > py) != (by > py) and px < (bx - ax) * (py - ay) / (by - ay) + ax:
            inside = not inside
    return -d if inside else d


def coverage(distance):
    return clamp(0.5 - distance)


class Canvas:
    """Floating-point RGB(A) pixels, composited in painter's order."""

    def __init__(self, width, height, with_alpha=False):
        self.width, self.height = width, height
        self.rgb = [[(0.0, 0.0, 0.0)] * width for _ in range(height)]
        self.alpha = [[0.0] * width for _ in range(height)] if with_alpha else None

    def fill(self, colour_at):
        for y in range(self.height):
            row = self.rgb[y]
            for x in range(self.width):
                row[x] = colour_at(x + 0.5, y + 0.5)
        if self.alpha is not None:
            for row in self.alpha:
                row[:] = [1.0] * self.width

    def draw(self, sdf, colour, opacity=1.0, box=None):
        """Paints `colour` where `sdf` is negative; `box` limits the work."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1)))
        for y in range(y0, y1):
            row = self.rgb[y]
            for x in range(x0, x1):
                a = coverage(sdf(x + 0.5, y + 0.5)) * opacity
                if a <= 0:
                    continue
                if self.alpha is None:
                    row[x] = mix(row[x], colour, a)
                else:
                    old = self.alpha[y][x]
                    out = a + old * (1 - a)
                    row[x] = mix(row[x], colour, a / out) if out > 0 else row[x]
                    self.alpha[y][x] = out

    def pixels(self):
        """Rows of 8-bit (r, g, b), ordered-dithered."""
        rows = []
        for y in range(self.height):
            out = []
            for x in range(self.width):
                d = (BAYER4[y % 4][x % 4] + 0.5) / 16 - 0.5
                out.append(tuple(int(clamp(c + d, 0, 255) + 0.5) for c in self.rgb[y][x]))
            rows.append(out)
        return rows


# --- page pictures -----------------------------------------------------------

# Top-left and bottom-right colours of each picture's diagonal gradient.
THEMES = {
    "page_start": ("#1b4a8a", "#0a1c3c"),
    "page_problem": ("#8e2626", "#3a0c0c"),
    "page_ok": ("#1e6c44", "#0a311d"),
    "page_warning": ("#8f5e0a", "#402703"),
}

SYMBOL_X, SYMBOL_Y, SYMBOL_R = 59.0, 72.0, 36.0
WHITE = (255.0, 255.0, 255.0)


def background(canvas, top, bottom):
    top, bottom = hex_colour(top), hex_colour(bottom)
    span = WIDTH * 0.35 + HEIGHT

    def colour_at(x, y):
        base = mix(top, bottom, clamp((x * 0.35 + y) / span))
        # A soft light over the upper right, where no text starts.
        glow = math.exp(-((x - 300) ** 2 + (y + 20) ** 2) / (2 * 110.0 ** 2))
        return mix(base, WHITE, 0.07 * glow)

    canvas.fill(colour_at)
    # Two wide faint arcs sweeping through the lower right.
    for radius, opacity in ((250.0, 0.06), (290.0, 0.04)):
        canvas.draw(lambda x, y, r=radius: abs(sd_circle(x, y, 380, 330, r)) - 1.2,
                    WHITE, opacity)


def symbol_disc(canvas):
    cx, cy, r = SYMBOL_X, SYMBOL_Y, SYMBOL_R
    box = (cx - r - 3, cy - r - 3, cx + r + 3, cy + r + 3)
    canvas.draw(lambda x, y: sd_circle(x, y, cx, cy, r), WHITE, 0.12, box)
    canvas.draw(lambda x, y: abs(sd_circle(x, y, cx, cy, r)) - 1.75, WHITE, 0.9, box)
    return box


def draw_cube(canvas):
    """A faint wire cube at the right, the 3D test's emblem."""
    cx, cy, s = 268.0, 78.0, 30.0
    ox, oy = s * 0.55, -s * 0.45
    front = [(cx - s, cy - s * 0.6), (cx + s * 0.6, cy - s * 0.6),
             (cx + s * 0.6, cy + s), (cx - s, cy + s), (cx - s, cy - s * 0.6)]
    back = [(x + ox, y + oy) for x, y in front]
    edges = [front, back] + [[front[i], back[i]] for i in range(4)]
    box = (cx - s - 4, cy - s - 4 + oy, cx + s * 0.6 + ox + 4, cy + s + 4)
    canvas.draw(lambda x, y: sd_polygon(x, y, front[:4]), WHITE, 0.05, box)
    canvas.draw(lambda x, y: min(sd_polyline(x, y, e, 1.1) for e in edges), WHITE, 0.22, box)


def draw_check(canvas):
    box = symbol_disc(canvas)
    pts = [(SYMBOL_X - 17, SYMBOL_Y + 1), (SYMBOL_X - 5, SYMBOL_Y + 13),
           (SYMBOL_X + 18, SYMBOL_Y - 13)]
    canvas.draw(lambda x, y: sd_polyline(x, y, pts, 4.2), WHITE, 0.95, box)


def draw_cross(canvas):
    box = symbol_disc(canvas)
    k = 14.0
    canvas.draw(lambda x, y: min(
        sd_segment(x, y, SYMBOL_X - k, SYMBOL_Y - k, SYMBOL_X + k, SYMBOL_Y + k, 4.2),
        sd_segment(x, y, SYMBOL_X - k, SYMBOL_Y + k, SYMBOL_X + k, SYMBOL_Y - k, 4.2)),
        WHITE, 0.95, box)


def draw_warning(canvas):
    cx, cy = SYMBOL_X, SYMBOL_Y + 2
    tri = [(cx, cy - 36), (cx + 38, cy + 30), (cx - 38, cy + 30)]
    box = (cx - 42, cy - 42, cx + 42, cy + 36)

    def rounded(x, y):
        return sd_polygon(x, y, tri) + 4  # shrink, then round by 4

    canvas.draw(lambda x, y: rounded(x, y) - 4, WHITE, 0.12, box)
    canvas.draw(lambda x, y: abs(rounded(x, y) - 4) - 1.75, WHITE, 0.9, box)
    canvas.draw(lambda x, y: min(sd_segment(x, y, cx, cy - 14, cx, cy + 8, 3.8),
                                 sd_circle(x, y, cx, cy + 19, 4.3)), WHITE, 0.95, box)


def draw_picture(name):
    canvas = Canvas(WIDTH, HEIGHT)
    background(canvas, *THEMES[name])
    {"page_start": draw_cube, "page_problem": draw_cross,
     "page_ok": draw_check, "page_warning": draw_warning}[name](canvas)
    return canvas.pixels()


def relative_luminance(rgb):
    def channel(c):
        c /= 255.0
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def worst_contrast(pixels, areas):
    """Lowest contrast of white text against any pixel under the texts."""
    lightest = max(relative_luminance(pixels[y][x])
                   for x0, y0, x1, y1 in areas
                   for y in range(y0, y1) for x in range(x0, x1))
    return 1.05 / (lightest + 0.05)


def bmp_bytes(pixels):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):  # bottom-up rows
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        body += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    return head + info + body


# --- icon --------------------------------------------------------------------

def draw_icon(size):
    """A monitor whose blue screen carries a white check mark."""
    s = size / 32.0
    canvas = Canvas(size, size, with_alpha=True)
    frame = (0.10, 0.13, 0.17)
    frame = tuple(c * 255 for c in frame)
    screen_top, screen_bottom = hex_colour("#3a82d8"), hex_colour("#123a78")
    # Stand and foot.
    canvas.draw(lambda x, y: sd_round_box(x, y, 13 * s, 22 * s, 19 * s, 28 * s, 0.5 * s),
                (120, 128, 138))
    canvas.draw(lambda x, y: sd_round_box(x, y, 8 * s, 27 * s, 24 * s, 30.5 * s, 1.5 * s),
                (150, 158, 168))
    # Bezel, then the screen as a gradient painted row by row.
    canvas.draw(lambda x, y: sd_round_box(x, y, 0.5 * s, 2 * s, 31.5 * s, 24 * s, 3 * s), frame)
    for row in range(size):
        t = clamp((row + 0.5 - 4 * s) / (18 * s))
        colour = mix(screen_top, screen_bottom, t)
        canvas.draw(lambda x, y: sd_round_box(x, y, 2.5 * s, 4 * s, 29.5 * s, 22 * s, 1.5 * s),
                    colour, box=(0, row, size, row + 1))
    width = max(1.1, 1.9 * s)
    pts = [(9 * s, 13 * s), (14 * s, 18 * s), (23.5 * s, 8 * s)]
    canvas.draw(lambda x, y: sd_polyline(x, y, pts, width), WHITE)
    return canvas


def ico_bytes(sizes):
    images = []
    for size in sizes:
        canvas = draw_icon(size)
        xor = bytearray()
        mask = bytearray()
        mask_stride = ((size + 31) // 32) * 4
        for y in reversed(range(size)):
            bits = 0
            line = bytearray()
            for x in range(size):
                r, g, b = (int(clamp(c, 0, 255) + 0.5) for c in canvas.rgb[y][x])
                a = int(canvas.alpha[y][x] * 255 + 0.5)
                if a == 0:
                    r = g = b = 0
                    bits |= 0x80 >> (x % 8)
                xor += bytes((b, g, r, a))
                if x % 8 == 7 or x == size - 1:
                    line.append(bits)
                    bits = 0
            mask += line + bytes(mask_stride - len(line))
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                           len(xor) + len(mask), 0, 0, 0, 0)
        images.append((size, info + xor + mask))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def outputs():
    files = {}
    for name in THEMES:
        pixels = draw_picture(name)
        areas = TEXT_AREAS + ([LEFT_TEXT_AREA] if name == "page_start" else [])
        contrast = worst_contrast(pixels, areas)
        if contrast < MIN_CONTRAST:
            sys.exit(f"{name}: white text contrast {contrast:.2f} is below {MIN_CONTRAST}")
        files[name + ".bmp"] = bmp_bytes(pixels)
    files["fitcheck.ico"] = ico_bytes([16, 32, 48])
    return files


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    check = "--check" in argv
    folder = argv[argv.index("--out") + 1] if "--out" in argv else here
    stale = []
    for name, data in outputs().items():
        path = os.path.join(folder, name)
        if check:
            try:
                with open(path, "rb") as f:
                    if f.read() == data:
                        continue
            except OSError:
                pass
            stale.append(name)
        else:
            with open(path, "wb") as f:
                f.write(data)
    if stale:
        print("not as drawn by make_pictures.py: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
