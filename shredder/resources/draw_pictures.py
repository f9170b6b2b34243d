#!/usr/bin/env python3
"""Redraws the button bitmaps and icons in pictures/.

Standard library only, so anyone can regenerate the artwork without extra
packages:  python3 shredder/resources/draw_pictures.py

Everything is drawn at SS x resolution with hard edges and box-filtered down,
which gives anti-aliased edges without a real rasteriser.
"""
import math
import os
import struct
import zlib

SS = 4  # supersampling factor per axis

# Palette shared by all pictures so the buttons look like one family.
FACE = (240, 240, 240)          # button face; 24-bit bitmaps have no alpha
NAVY = (26, 44, 86)             # outline of the bin
BIN_DARK, BIN_LIGHT = (38, 78, 142), (128, 170, 222)
RIM, INSIDE = (170, 204, 240), (18, 28, 52)
RED_EDGE = (118, 30, 16)
ORANGE_TOP, ORANGE_BOT = (252, 150, 70), (212, 70, 34)
SLOT = (52, 16, 10)
PAPER, PAPER_EDGE, INK = (253, 253, 250), (140, 146, 160), (170, 182, 204)
STEEL_EDGE, STEEL_LIGHT, STEEL_DARK = (52, 58, 74), (196, 204, 218), (104, 114, 136)
BLUE_EDGE, BLUE_LIGHT, BLUE_DARK = (20, 58, 128), (96, 160, 238), (30, 92, 196)
GREEN, GREEN_EDGE = (64, 170, 72), (22, 84, 30)
WHITE, TEXT_BLUE = (255, 255, 255), (28, 50, 108)


def mix(c0, c1, t):
    t = min(1.0, max(0.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def vgrad(y0, c0, y1, c1):
    return lambda x, y: mix(c0, c1, (y - y0) / (y1 - y0))


def cylinder(x0, x1, dark, light):
    """Horizontal shading of a round body lit from the upper left."""
    def paint(x, y):
        t = (x - x0) / (x1 - x0)
        return mix(dark, light, 1.0 - abs(t - 0.35) / 0.65)
    return paint


class Mask:
    """A coverage set on the supersampled grid; shapes are added or cut."""

    def __init__(self, canvas):
        self.w, self.h = canvas.w * SS, canvas.h * SS
        self.bits = bytearray(self.w * self.h)
        self.box = [self.w, self.h, -1, -1]

    def _rows(self, y0, y1):
        j0 = max(0, math.ceil(y0 * SS - 0.5))
        j1 = min(self.h, math.ceil(y1 * SS - 0.5))
        return ((j, (j + 0.5) / SS) for j in range(j0, j1))

    def _span(self, j, a, b, on):
        i0 = max(0, math.ceil(a * SS - 0.5))
        i1 = min(self.w, math.ceil(b * SS - 0.5))
        if i1 <= i0:
            return
        self.bits[j * self.w + i0:j * self.w + i1] = (b'\1' if on else b'\0') * (i1 - i0)
        if on:
            bx = self.box
            bx[:] = [min(bx[0], i0), min(bx[1], j), max(bx[2], i1 - 1), max(bx[3], j)]

    def rect(self, x0, y0, x1, y1, r=0.0, on=True):
        for j, y in self._rows(y0, y1):
            d = max(y0 + r - y, y - (y1 - r), 0.0)
            dx = r - math.sqrt(max(0.0, r * r - d * d)) if d else 0.0
            self._span(j, x0 + dx, x1 - dx, on)
        return self

    def ellipse(self, cx, cy, rx, ry=None, on=True):
        ry = rx if ry is None else ry
        for j, y in self._rows(cy - ry, cy + ry):
            dx = rx * math.sqrt(max(0.0, 1.0 - ((y - cy) / ry) ** 2))
            self._span(j, cx - dx, cx + dx, on)
        return self

    def poly(self, pts, on=True):
        ys = [p[1] for p in pts]
        edges = list(zip(pts, pts[1:] + pts[:1]))
        for j, y in self._rows(min(ys), max(ys)):
            xs = sorted(xa + (y - ya) * (xb - xa) / (yb - ya)
                        for (xa, ya), (xb, yb) in edges
                        if (ya <= y < yb) or (yb <= y < ya))
            for a, b in zip(xs[0::2], xs[1::2]):
                self._span(j, a, b, on)
        return self

    def line(self, x0, y0, x1, y1, width, caps=True, on=True):
        dx, dy = x1 - x0, y1 - y0
        n = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / n * width / 2, dx / n * width / 2
        self.poly([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                   (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], on)
        if caps:
            self.ellipse(x0, y0, width / 2, on=on)
            self.ellipse(x1, y1, width / 2, on=on)
        return self

    def polyline(self, pts, width, on=True):
        for a, b in zip(pts, pts[1:]):
            self.line(a[0], a[1], b[0], b[1], width, True, on)
        return self

    def intersect(self, other):
        a = int.from_bytes(self.bits, 'little') & int.from_bytes(other.bits, 'little')
        self.bits = bytearray(a.to_bytes(len(self.bits), 'little'))
        return self


class Canvas:
    """Premultiplied RGBA float buffer at SS x the final size."""

    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        n = w * h * SS * SS
        col, a = (bg, 1.0) if bg else ((0, 0, 0), 0.0)
        self.px = [[c * a for c in col] + [a] for _ in range(n)]

    def mask(self):
        return Mask(self)

    def fill(self, mask, paint, alpha=1.0):
        x0, y0, x1, y1 = mask.box
        W = self.w * SS
        for j in range(y0, y1 + 1):
            y = (j + 0.5) / SS
            row = mask.bits[j * W:(j + 1) * W]
            i = row.find(1, x0, x1 + 1)
            while i >= 0:
                col = paint((i + 0.5) / SS, y) if callable(paint) else paint
                p = self.px[j * W + i]
                k = 1.0 - alpha
                p[0] = col[0] * alpha + p[0] * k
                p[1] = col[1] * alpha + p[1] * k
                p[2] = col[2] * alpha + p[2] * k
                p[3] = alpha + p[3] * k
                i = row.find(1, i + 1, x1 + 1)

    # Shorthands for the common "one shape, one paint" case.
    def rect(self, x0, y0, x1, y1, paint, r=0.0, alpha=1.0):
        self.fill(self.mask().rect(x0, y0, x1, y1, r), paint, alpha)

    def ellipse(self, cx, cy, rx, ry, paint, alpha=1.0):
        self.fill(self.mask().ellipse(cx, cy, rx, ry), paint, alpha)

    def poly(self, pts, paint, alpha=1.0):
        self.fill(self.mask().poly(pts), paint, alpha)

    def line(self, x0, y0, x1, y1, width, paint, caps=True, alpha=1.0):
        self.fill(self.mask().line(x0, y0, x1, y1, width, caps), paint, alpha)

    def image(self):
        """Box-filters down to a list of rows of (r, g, b, a) byte tuples."""
        W, out = self.w * SS, []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                acc = [0.0] * 4
                for j in range(y * SS, y * SS + SS):
                    for p in self.px[j * W + x * SS:j * W + x * SS + SS]:
                        for c in range(4):
                            acc[c] += p[c]
                a = acc[3] / (SS * SS)
                rgb = [round(min(255.0, v / acc[3])) if a else 0 for v in acc[:3]]
                row.append(tuple(rgb) + (round(a * 255),))
            out.append(row)
        return out


def inset(pts, d):
    """Moves every edge of a convex polygon inwards by d (for outlines)."""
    n = len(pts)
    area = sum(pts[i][0] * pts[(i + 1) % n][1] - pts[(i + 1) % n][0] * pts[i][1]
               for i in range(n))
    sgn = 1 if area > 0 else -1
    lines = []
    for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
        dx, dy = x1 - x0, y1 - y0
        ln = math.hypot(dx, dy)
        nx, ny = -dy / ln * sgn * d, dx / ln * sgn * d
        lines.append((x0 + nx, y0 + ny, dx, dy))
    out = []
    for (ax, ay, adx, ady), (bx, by, bdx, bdy) in zip(lines[-1:] + lines[:-1], lines):
        t = ((bx - ax) * bdy - (by - ay) * bdx) / (adx * bdy - ady * bdx)
        out.append((ax + adx * t, ay + ady * t))
    return out


def arc(cx, cy, rx, ry, a0, a1):
    """Points along an elliptical arc; angles in degrees, y axis down."""
    n = max(4, int(abs(a1 - a0) / 8))
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * k / n)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * k / n)))
            for k in range(n + 1)]


# --- Small pixel font (5x7 cells, blank columns trimmed) -------------------

PIXEL_FONT = {
    'M': "10001 11011 10101 10101 10001 10001 10001",
    'O': "01110 10001 10001 10001 10001 10001 01110",
    'R': "11110 10001 10001 11110 10100 10010 10001",
    'V': "10001 10001 10001 10001 10001 01010 00100",
    'A': "01110 10001 10001 11111 10001 10001 10001",
    'N': "10001 11001 10101 10011 10001 10001 10001",
    'E': "11111 10000 10000 11110 10000 10000 11111",
    'W': "10001 10001 10001 10101 10101 10101 01010",
    'b': "10000 10000 10110 11001 10001 10001 11110",
    'e': "00000 00000 01110 10001 11111 10000 01110",
    'i': "00100 00000 01100 00100 00100 00100 01110",
    'n': "00000 00000 10110 11001 10001 10001 10001",
    'o': "00000 00000 01110 10001 10001 10001 01110",
    'r': "00000 00000 10110 11001 10000 10000 10000",
    's': "00000 00000 01111 10000 01110 00001 11110",
    'v': "00000 00000 10001 10001 10001 01010 00100",
    '1': "00100 01100 00100 00100 00100 00100 01110",
    '.': "00000 00000 00000 00000 00000 01100 01100",
}


def pixel_glyph(ch):
    rows = PIXEL_FONT[ch].split()
    cols = [c for c in range(5) if any(r[c] == '1' for r in rows)]
    return [r[cols[0]:cols[-1] + 1] for r in rows]


def pixel_width(text):
    return sum(3 if ch == ' ' else len(pixel_glyph(ch)[0]) + 1 for ch in text) - 1


def pixel_text(cv, x, y, text, paint):
    """Draws on whole pixels so the letters stay crisp; returns the end x."""
    m = cv.mask()
    for ch in text:
        if ch == ' ':
            x += 3
            continue
        rows = pixel_glyph(ch)
        for j, r in enumerate(rows):
            for i, bit in enumerate(r):
                if bit == '1':
                    m.rect(x + i, y + j, x + i + 1, y + j + 1)
        x += len(rows[0]) + 1
    cv.fill(m, paint)
    return x - 1


# --- Stroke font for the logo: cap height 10 units, baseline at y = 10 ------

STROKE_FONT = {
    'M': (8.0, [[(0, 10), (0, 0), (4, 6.5), (8, 0), (8, 10)]]),
    'O': (8.4, [arc(4.2, 5, 4.2, 5, 0, 360)]),
    'R': (6.6, [[(0, 10), (0, 0), (3.4, 0)] + arc(3.4, 2.75, 2.9, 2.75, -90, 90) + [(0, 5.5)],
                [(3.4, 5.5), (6.4, 10)]]),
    'V': (8.0, [[(0, 0), (4, 10), (8, 0)]]),
    'A': (8.4, [[(0, 10), (4.2, 0), (8.4, 10)], [(1.7, 6.6), (6.7, 6.6)]]),
    'N': (7.0, [[(0, 10), (0, 0), (7, 10), (7, 0)]]),
    'E': (6.0, [[(6, 0), (0, 0), (0, 10), (6, 10)], [(0, 5), (5.2, 5)]]),
    'S': (6.4, [arc(3.2, 2.55, 3.0, 2.55, -25, -270) + arc(3.2, 7.55, 3.2, 2.45, -90, 155)]),
    'h': (6.0, [[(0, 0), (0, 10)], arc(3, 6, 3, 3, 180, 360) + [(6, 10)]]),
    'r': (4.6, [[(0, 3), (0, 10)], arc(3.3, 6.3, 3.3, 3.3, 180, 285)]),
    'e': (6.4, [[(0.2, 6.6), (6.3, 6.6)] + arc(3.2, 6.5, 3.1, 3.5, 0, -320)]),
    'd': (6.4, [[(6.4, 0), (6.4, 10)], arc(3.2, 6.5, 3.2, 3.5, 0, 360)]),
    ' ': (2.6, []),
}


GAP = 1.1  # space between letters, in font units


def text_width(text, weight):
    """Advance of text in font units (scale 1), including the trailing gap."""
    return sum(STROKE_FONT[ch][0] + weight + GAP for ch in text)


def stroke_text(cv, x, baseline, text, scale, weight, paint):
    """Draws text of cap height 10 * scale; returns where the next letter goes."""
    m = cv.mask()
    for ch in text:
        width, strokes = STROKE_FONT[ch]
        for s in strokes:
            m.polyline([(x + px * scale, baseline + (py - 10) * scale) for px, py in s],
                       weight * scale)
        x += (width + weight + GAP) * scale
    if paint:
        cv.fill(m, paint)
    return x


# --- The product mark: a waste basket with a shredder head on it ----------

def draw_mark(cv, ox=0.0, oy=0.0, s=1.0, snap=False):
    """Drawn on a 41 x 41 grid, placed at (ox, oy) and scaled by s.

    With snap, scaled coordinates are rounded to whole pixels so the edges of
    the icon sizes stay sharp instead of landing between pixels.
    """
    def X(v): return round(ox + v * s) if snap else ox + v * s
    def Y(v): return round(oy + v * s) if snap else oy + v * s

    def P(*xy):
        return [(X(x), Y(y)) for x, y in zip(xy[0::2], xy[1::2])]

    # Basket body, rounded at the bottom; outline first, then the inset fill.
    body = P(5.5, 21, 35.5, 21, 31.5, 37.5, 9.5, 37.5)
    m = cv.mask().poly(body).ellipse(X(20.5), Y(37.5), 11 * s, 1.8 * s)
    cv.fill(m, NAVY)
    m = cv.mask().poly(inset(body, s)).ellipse(X(20.5), Y(37.5), 10 * s, 0.9 * s)
    cv.fill(m, cylinder(X(6), X(35), BIN_DARK, BIN_LIGHT))
    for k in range(1, 5):  # ribs, following the taper of the basket
        t = k / 5
        xt, xb = 5.5 + 30 * t, 9.5 + 22 * t
        cv.line(X(xt), Y(25), X(xb + (xt - xb) * 0.1), Y(35), 1.1 * s, NAVY, alpha=0.55)
        cv.line(X(xt + 1), Y(25), X(xb + 1), Y(35), 0.9 * s, BIN_LIGHT, alpha=0.5)

    # Rim and the dark opening the shreds fall into.
    cv.ellipse(X(20.5), Y(21), 15.5 * s, 4.5 * s, NAVY)
    cv.ellipse(X(20.5), Y(21), 14.5 * s, 3.6 * s, vgrad(Y(17), RIM, Y(25), BIN_LIGHT))
    inside = cv.mask().ellipse(X(20.5), Y(21), 12.6 * s, 2.6 * s)
    cv.fill(inside, INSIDE)
    # Seven shreds; width and pitch are whole pixels so they stay even when scaled.
    width, pitch = max(1, round(2 * s)), max(round(2 * s) + 1, round(3 * s))
    left = ox + 20.5 * s - (6 * pitch + width) / 2
    left = round(left) if snap else left
    strips = cv.mask()
    for k, end in enumerate((22.5, 24, 23, 24.5, 22.5, 24, 23)):
        strips.rect(left + k * pitch, Y(16), left + k * pitch + width, Y(end))
    cv.fill(strips.intersect(inside), vgrad(Y(18), PAPER, Y(24), INK))

    # Shredder head sitting on the back of the rim.
    cv.rect(X(5), Y(8), X(36), Y(18.5), RED_EDGE, r=2 * s)
    cv.rect(X(6), Y(9), X(35), Y(17.5), vgrad(Y(9), ORANGE_TOP, Y(17.5), ORANGE_BOT), r=1.2 * s)
    cv.rect(X(6), Y(13.5), X(35), Y(14.5), RED_EDGE, alpha=0.35)  # seam of the front panel
    cv.rect(X(9), Y(10), X(32), Y(12), SLOT, r=0.8 * s)
    led = max(0.8 * s, 0.9)  # a lamp smaller than a pixel would just look dirty
    cv.ellipse(X(31.5), Y(16), led + 0.6, led + 0.6, RED_EDGE)
    cv.ellipse(X(31.5), Y(16), led, led, (150, 255, 120))

    # The sheet going into the slot.
    cv.rect(X(12), Y(1), X(29), Y(11), PAPER_EDGE)
    cv.rect(X(13), Y(2), X(28), Y(11), PAPER)
    pitch, thick = max(2, round(2 * s)), max(1, round(s))
    for k in range(3):
        y = Y(4) + k * pitch
        cv.rect(X(15), y, X(26 - (k == 2) * 4), y + thick, INK)


def draw_mark16(cv):
    """Hand-placed 16 px version: the same motif on whole pixels."""
    cv.rect(1, 3, 15, 8, RED_EDGE, r=1)
    cv.rect(2, 4, 14, 7, vgrad(4, ORANGE_TOP, 7, ORANGE_BOT))
    cv.rect(3, 4, 13, 5, SLOT)
    cv.rect(4, 0, 12, 4, PAPER_EDGE)
    cv.rect(5, 1, 11, 4, PAPER)
    cv.rect(6, 2, 10, 3, INK)
    body = [(1, 8), (15, 8), (13, 16), (3, 16)]
    cv.poly(body, NAVY)
    cv.poly(inset(body, 1), cylinder(2, 14, BIN_DARK, BIN_LIGHT))
    cv.rect(2, 8, 14, 10, INSIDE)
    for x in (4, 6, 9, 11):
        cv.rect(x, 8, x + 1, 10, PAPER)
    cv.rect(2, 10, 14, 11, RIM)
    cv.rect(6, 12, 7, 15, NAVY, alpha=0.5)
    cv.rect(9, 12, 10, 15, NAVY, alpha=0.5)


# --- The pictures -----------------------------------------------------------

def picture_erase():
    cv = Canvas(41, 41, FACE)
    draw_mark(cv)
    return cv.image()


def gear_points(cx, cy, r_out, r_root, teeth=8, top=8.0, base=13.0, phase=0.0):
    pts, step = [], 360.0 / teeth
    for k in range(teeth):
        a = phase + k * step
        for r, da in ((r_root, -base), (r_out, -top), (r_out, top), (r_root, base)):
            t = math.radians(a + da)
            pts.append((cx + r * math.cos(t), cy + r * math.sin(t)))
        for f in (0.33, 0.67):  # follow the root circle between teeth
            t = math.radians(a + base + (step - 2 * base) * f)
            pts.append((cx + r_root * math.cos(t), cy + r_root * math.sin(t)))
    return pts


def draw_options(cv):
    # Checklist sheet.
    cv.rect(3, 2, 27, 37, PAPER_EDGE, r=1.5)
    cv.rect(4, 3, 26, 36, vgrad(3, PAPER, 36, (230, 234, 242)), r=0.8)
    for k, y in enumerate((7, 15, 23)):
        cv.rect(7, y, 13, y + 6, PAPER_EDGE)
        cv.rect(8, y + 1, 12, y + 5, PAPER)
        cv.rect(15, y + 2, 24 - 3 * (k == 1), y + 4, INK)
        if k < 2:
            cv.fill(cv.mask().polyline([(8.2, y + 2.6), (10, y + 4.6), (14.2, y - 0.6)], 1.9), GREEN)
    # Gear over the lower right corner, with the paper showing through its hole.
    cx, cy = 28.5, 28.5
    outer = cv.mask().poly(gear_points(cx, cy, 11.5, 8.8, phase=22.5)).ellipse(cx, cy, 3.6, on=False)
    cv.fill(outer, STEEL_EDGE)
    inner = cv.mask().poly(gear_points(cx, cy, 10.5, 7.8, top=6.5, base=12.0, phase=22.5))
    inner.ellipse(cx, cy, 4.6, on=False)
    cv.fill(inner, vgrad(cy - 10, STEEL_LIGHT, cy + 10, STEEL_DARK))
    ring = cv.mask().ellipse(cx, cy, 6.6).ellipse(cx, cy, 5.6, on=False)
    cv.fill(ring, STEEL_EDGE, alpha=0.35)


def picture_option():
    cv = Canvas(41, 41, FACE)
    draw_options(cv)
    return cv.image()


# Grey ramp for the disabled options button; it contains the exact button face.
DISABLED_PALETTE = [(v, v, v) for v in
                    (0, 96, 112, 128, 140, 152, 164, 176, 188, 200, 212, 222, 230, 240, 248, 255)]


def picture_option_disabled(img):
    """Flattened grey version with a white emboss, like standard disabled buttons."""
    h, w = len(img), len(img[0])
    lum = [[0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2] for p in row] for row in img]
    out = []
    for y in range(h):
        row = []
        for x in range(w):
            v = 240 - (240 - lum[y][x]) * 0.42
            if v > 236 and x and y and lum[y - 1][x - 1] < 200:
                v = 255  # light edge below-right of the shape, as if pressed into the face
            row.append((v, v, v, 255))
        out.append(row)
    return out


def picture_hide():
    cv = Canvas(41, 41, FACE)
    # Taskbar with the notification area on the right.
    cv.rect(1, 31, 40, 40, (40, 58, 96), r=1.5)
    cv.rect(2, 32, 39, 39, vgrad(32, (92, 122, 172), 39, (52, 76, 122)), r=1)
    cv.rect(25, 33, 38, 38, (34, 50, 86), r=1)
    cv.rect(26, 34, 37, 37, (70, 96, 146))
    cv.rect(4, 33.5, 12, 37.5, GREEN, r=1)
    cv.rect(34, 34.5, 36, 36.5, (250, 190, 80))
    # Window being put away.
    cv.rect(3, 3, 26, 22, BLUE_EDGE, r=1.5)
    cv.rect(4, 4, 25, 9, vgrad(4, BLUE_LIGHT, 9, BLUE_DARK))
    cv.rect(4, 9, 25, 21, PAPER)
    cv.rect(20, 5, 24, 8, (226, 82, 60))
    for y in (12, 15, 18):
        cv.rect(6, y, 22 - (y == 18) * 6, y + 1, INK)
    # Arrow from the window down into the tray.
    path = arc(26, 27, 5.5, 15.5, -90, 0)
    cv.fill(cv.mask().polyline(path, 4.6).poly([(25.5, 24.5), (37.5, 24.5), (31.5, 32)]), GREEN_EDGE)
    cv.fill(cv.mask().polyline(path[:-1], 2.8).poly(inset([(25.5, 24.5), (37.5, 24.5), (31.5, 32)], 1.1)),
            vgrad(10, (120, 214, 110), 31, GREEN))
    return cv.image()


def picture_help():
    cv = Canvas(41, 41, FACE)
    cv.ellipse(20.5, 20.5, 18, 18, BLUE_EDGE)
    cv.ellipse(20.5, 20.5, 17, 17, vgrad(4, BLUE_LIGHT, 37, BLUE_DARK))
    cv.ellipse(20.5, 12, 12, 7.5, WHITE, alpha=0.22)
    mark = arc(20.5, 14.5, 5.8, 5.6, -165, 55) + [(20.5, 22.5), (20.5, 24.5)]
    cv.fill(cv.mask().polyline([(x + 0.8, y + 0.8) for x, y in mark], 4.2)
            .ellipse(21.3, 30.3, 2.5, 2.5), BLUE_EDGE, alpha=0.45)
    cv.fill(cv.mask().polyline(mark, 4.2).ellipse(20.5, 29.5, 2.5, 2.5), WHITE)
    return cv.image()


def picture_web():
    cv = Canvas(88, 14, FACE)
    cv.rect(0, 0, 88, 14, (132, 146, 172), r=2)
    cv.rect(1, 1, 87, 13, vgrad(1, WHITE, 13, (212, 222, 238)), r=1.2)
    # Globe: blue sea, a few green land masses and a shine at the top left.
    cv.ellipse(8, 7, 5.6, 5.6, BLUE_EDGE)
    sea = cv.mask().ellipse(8, 7, 4.7, 4.7)
    cv.fill(sea, vgrad(2, BLUE_LIGHT, 12, BLUE_DARK))
    land = cv.mask().ellipse(6.3, 5.2, 2.4, 1.7).ellipse(5.6, 7.4, 1.2, 1.8)
    land.ellipse(10.4, 9.2, 1.8, 2.4).ellipse(10.8, 4.2, 1.3, 0.9)
    cv.fill(land.intersect(sea), (96, 184, 76))
    cv.ellipse(6.2, 4.6, 1.8, 1.2, WHITE, alpha=0.45)
    width = pixel_width("MORVANE") + 4 + pixel_width("Web")
    x = pixel_text(cv, 15 + (71 - width) // 2, 4, "MORVANE", TEXT_BLUE)
    pixel_text(cv, x + 4, 4, "Web", (214, 84, 30))
    return cv.image()


def picture_logo():
    cv = Canvas(257, 45, FACE)
    draw_mark(cv, 2, 2)
    # Fit the title into the space right of the mark.
    title = [("MORVANE", 1.9), (" ", 1.5), ("Shredder", 1.5)]
    units = sum(text_width(t, w) for t, w in title)
    scale = min(1.6, (252 - 52) / units)
    baseline = 26
    x = stroke_text(cv, 52, baseline, "MORVANE", scale, 1.9, vgrad(10, (56, 92, 164), baseline, TEXT_BLUE))
    x = stroke_text(cv, x, baseline, " ", scale, 1.5, None)
    stroke_text(cv, x, baseline, "Shredder", scale, 1.5,
                vgrad(baseline - 10 * scale, (240, 124, 52), baseline, (200, 62, 28)))
    cv.rect(52, 32, 252, 33, (196, 202, 214))
    pixel_text(cv, 252 - pixel_width("version 1.11"), 36, "version 1.11", (110, 118, 134))
    return cv.image()


def icon_image(size):
    cv = Canvas(size, size)
    if size <= 16:
        draw_mark16(cv)
    else:
        s = size / 40.0  # the mark itself is about 40 units tall
        draw_mark(cv, size / 2 - 20.5 * s, size / 2 - 20.5 * s, s, snap=True)
    return cv.image()


# --- File writers -----------------------------------------------------------

def bmp_header(w, h, bits, data_len, colours):
    offset = 14 + 40 + 4 * colours
    return (b'BM' + struct.pack('<IHHI', offset + data_len, 0, 0, offset) +
            struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, data_len, 2835, 2835, colours, 0))


def flatten(p, bg=FACE):
    a = p[3] / 255.0
    return tuple(round(c * a + b * (1 - a)) for c, b in zip(p[:3], bg))


def write_bmp24(path, img):
    w = len(img[0])
    pad = b'\0' * (-3 * w % 4)
    data = b''.join(b''.join(bytes(flatten(p)[::-1]) for p in row) + pad for row in reversed(img))
    with open(path, 'wb') as f:
        f.write(bmp_header(w, len(img), 24, len(data), 0) + data)


def write_bmp4(path, img, palette):
    w = len(img[0])

    def nearest(p):
        c = flatten(p)
        return min(range(len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(c, palette[i])))
    rows = []
    for row in reversed(img):
        idx = [nearest(p) for p in row] + [0]
        packed = bytes(idx[i] << 4 | idx[i + 1] for i in range(0, w, 2))
        rows.append(packed + b'\0' * (-len(packed) % 4))
    data = b''.join(rows)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    with open(path, 'wb') as f:
        f.write(bmp_header(w, len(img), 4, len(data), 16) + table + data)


def write_ico(path, images):
    blobs = []
    for img in images:
        n = len(img)
        xor = b''.join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(img) for p in row)
        stride = (n + 31) // 32 * 4
        andmask = b''
        for row in reversed(img):
            bits = bytearray(stride)
            for x, p in enumerate(row):
                if p[3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            andmask += bytes(bits)
        hdr = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
        blobs.append((n, hdr + xor + andmask))
    out = struct.pack('<HHH', 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for n, blob in blobs:
        out += struct.pack('<BBBBHHII', n % 256, n % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(out + b''.join(b for _, b in blobs))


def write_png(path, img):
    """RGBA, 8 bits per channel, no filter: the logo of the Windows 11 menu's package."""
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    raw = b''.join(b'\0' + bytes(c for p in row for c in p) for row in img)
    header = struct.pack('>IIBBBBB', len(img[0]), len(img), 8, 6, 0, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9)) +
                chunk(b'IEND', b''))


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'pictures')
    os.makedirs(out, exist_ok=True)

    def name(n): return os.path.join(out, n)
    option = picture_option()
    write_bmp24(name('erase.bmp'), picture_erase())
    write_bmp24(name('option.bmp'), option)
    write_bmp4(name('option_disabled.bmp'), picture_option_disabled(option), DISABLED_PALETTE)
    write_bmp24(name('hide.bmp'), picture_hide())
    write_bmp24(name('help.bmp'), picture_help())
    write_bmp24(name('web.bmp'), picture_web())
    write_bmp24(name('logo.bmp'), picture_logo())
    small = icon_image(16)
    write_ico(name('app.ico'), [small, icon_image(32), icon_image(48)])
    write_ico(name('tray.ico'), [small])
    write_png(name('package_logo.png'), icon_image(50))


if __name__ == '__main__':
    main()
