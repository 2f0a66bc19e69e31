#!/usr/bin/env python3
"""Draws Corvel's toolbar bitmaps and program icon.

Standard library only, so the artwork can be rebuilt anywhere:
    python3 ui/art/make_art.py
Every picture is drawn on a 32-unit square with signed-distance shapes,
supersampled for anti-aliasing, then written as BMP / ICO bytes.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

BG = (192, 192, 192)        # toolbar colour key: must not appear in drawings
KEY_NUDGE = (196, 196, 196)  # stands in for BG inside a drawing
SS = 4                       # supersamples per pixel side


# ---------------------------------------------------------------- shapes
# A shape is a signed distance function in units (negative inside) plus a
# bounding box, so fills, 1-px outlines and boolean ops all share one model.

class Shape:
    def __init__(self, f, box):
        self.f = f
        self.box = box

    def __or__(self, o):
        a, b = self.f, o.f
        return Shape(lambda x, y: min(a(x, y), b(x, y)),
                     (min(self.box[0], o.box[0]), min(self.box[1], o.box[1]),
                      max(self.box[2], o.box[2]), max(self.box[3], o.box[3])))

    def __sub__(self, o):
        a, b = self.f, o.f
        return Shape(lambda x, y: max(a(x, y), -b(x, y)), self.box)

    def __and__(self, o):
        a, b = self.f, o.f
        return Shape(lambda x, y: max(a(x, y), b(x, y)),
                     (max(self.box[0], o.box[0]), max(self.box[1], o.box[1]),
                      min(self.box[2], o.box[2]), min(self.box[3], o.box[3])))


def rect(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - r
    return Shape(f, (x0, y0, x1, y1))


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r,
                 (cx - r, cy - r, cx + r, cy + r))


def poly(pts):
    pts = list(pts)
    n = len(pts)

    def f(x, y):
        d = float('inf')
        inside = False
        j = n - 1
        for i in range(n):
            ax, ay = pts[i]
            bx, by = pts[j]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = (wx * ex + wy * ey) / (ex * ex + ey * ey)
            t = 0.0 if t < 0 else 1.0 if t > 1 else t
            dx, dy = wx - ex * t, wy - ey * t
            dd = dx * dx + dy * dy
            if dd < d:
                d = dd
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
            j = i
        d = math.sqrt(d)
        return -d if inside else d
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(f, (min(xs), min(ys), max(xs), max(ys)))


def seg(x0, y0, x1, y1, w):
    """Round-capped stroke of width w."""
    ex, ey = x1 - x0, y1 - y0
    ll = ex * ex + ey * ey or 1e-9
    h = w / 2

    def f(x, y):
        t = ((x - x0) * ex + (y - y0) * ey) / ll
        t = 0.0 if t < 0 else 1.0 if t > 1 else t
        return math.hypot(x - x0 - ex * t, y - y0 - ey * t) - h
    return Shape(f, (min(x0, x1) - h, min(y0, y1) - h,
                     max(x0, x1) + h, max(y0, y1) + h))


def obox(cx, cy, ang, x0, x1, y0, y1, r=0.0):
    """Box given in a frame rotated by ang degrees about (cx, cy)."""
    c, s = math.cos(math.radians(ang)), math.sin(math.radians(ang))
    local = rect(x0, y0, x1, y1, r).f

    def f(x, y):
        dx, dy = x - cx, y - cy
        return local(dx * c + dy * s, -dx * s + dy * c)
    corners = [(cx + px * c - py * s, cy + px * s + py * c)
               for px in (x0, x1) for py in (y0, y1)]
    xs = [p[0] for p in corners]
    ys = [p[1] for p in corners]
    return Shape(f, (min(xs), min(ys), max(xs), max(ys)))


def rot(pts, cx, cy, ang):
    c, s = math.cos(math.radians(ang)), math.sin(math.radians(ang))
    return [(cx + x * c - y * s, cy + x * s + y * c) for x, y in pts]


def arc(cx, cy, r, a0, a1, w, steps=28):
    """Round-capped arc from a0 to a1 degrees (y down, so clockwise)."""
    pts = [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
            cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / steps)))
           for i in range(steps + 1)]
    sh = seg(*pts[0], *pts[1], w)
    for i in range(1, steps):
        sh = sh | seg(*pts[i], *pts[i + 1], w)
    return sh


# ---------------------------------------------------------------- colour

def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def lin(c0, c1, x0, y0, x1, y1):
    """Linear gradient from c0 at (x0, y0) to c1 at (x1, y1)."""
    ex, ey = x1 - x0, y1 - y0
    ll = ex * ex + ey * ey

    def f(x, y):
        t = ((x - x0) * ex + (y - y0) * ey) / ll
        return mix(c0, c1, 0.0 if t < 0 else 1.0 if t > 1 else t)
    return f


# ---------------------------------------------------------------- canvas

class Canvas:
    """Premultiplied RGBA (0..255 colour, 0..1 alpha) at n x n pixels."""

    def __init__(self, n):
        self.n = n
        self.s = n / 32.0
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(n * n)]

    def draw(self, shape, fill=None, line=None, lw=1.0, alpha=1.0):
        """Paint fill inside shape and line within lw pixels of its edge."""
        n, s = self.n, self.s
        x0, y0, x1, y1 = shape.box
        pxa = max(0, int(math.floor(x0 * s)) - 1)
        pya = max(0, int(math.floor(y0 * s)) - 1)
        pxb = min(n, int(math.ceil(x1 * s)) + 1)
        pyb = min(n, int(math.ceil(y1 * s)) + 1)
        offs = [(i + 0.5) / SS for i in range(SS)]
        f = shape.f
        full = SS * SS
        for py in range(pya, pyb):
            row = py * n
            for px in range(pxa, pxb):
                cnt = 0
                r = g = b = 0.0
                for oy in offs:
                    v = (py + oy) / s
                    for ox in offs:
                        u = (px + ox) / s
                        d = f(u, v) * s
                        if d >= 0:
                            continue
                        if line is not None and d > -lw:
                            c = line
                        elif fill is None:
                            continue
                        else:
                            c = fill(u, v) if callable(fill) else fill
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        cnt += 1
                if cnt:
                    a = alpha * cnt / full
                    k = a / cnt
                    p = self.px[row + px]
                    p[0] = r * k + p[0] * (1 - a)
                    p[1] = g * k + p[1] * (1 - a)
                    p[2] = b * k + p[2] * (1 - a)
                    p[3] = a + p[3] * (1 - a)

    def rgba(self, x, y):
        p = self.px[y * self.n + x]
        if p[3] <= 0:
            return (0.0, 0.0, 0.0, 0.0)
        return (p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3])


# ---------------------------------------------------------------- pieces

BOX_TOP = (244, 212, 152)
BOX_LEFT = (218, 168, 98)
BOX_RIGHT = (180, 126, 62)
BOX_LINE = (92, 56, 20)
TAPE = (252, 236, 200)


def draw_box(c, ox, oy, k=1.0, detail=True):
    """Isometric cardboard box, 22 x 23 units at k = 1, top-left at (ox, oy)."""
    def P(x, y):
        return (ox + x * k, oy + y * k)
    A, B, C, D = P(11, 0), P(22, 5.5), P(11, 11), P(0, 5.5)
    BL, BC, BR = P(0, 17.5), P(11, 23), P(22, 17.5)
    top = poly([A, B, C, D])
    left = poly([D, C, BC, BL])
    right = poly([C, B, BR, BC])
    hull = poly([A, B, BR, BC, BL, D])
    c.draw(top, lin(mix(BOX_TOP, (255, 255, 255), 0.3), BOX_TOP, *A, *C))
    c.draw(left, BOX_LEFT)
    c.draw(right, BOX_RIGHT)
    if not detail:  # at 16 px the shading alone shows the faces
        c.draw(hull, None, BOX_LINE)
        return
    # tape along the lid seam, over the front edge
    t = 1.4 * k
    m1 = P(5.5, 2.75)
    m2 = P(16.5, 8.25)
    c.draw(poly([(m1[0] - t, m1[1] + t / 2), (m1[0] + t, m1[1] - t / 2),
                 (m2[0] + t, m2[1] - t / 2), (m2[0] - t, m2[1] + t / 2)]), TAPE)
    c.draw(poly([(m2[0] - t, m2[1] + t / 2), (m2[0] + t, m2[1] - t / 2),
                 (m2[0] + t, m2[1] + 5 * k - t / 2),
                 (m2[0] - t, m2[1] + 5 * k + t / 2)]), mix(TAPE, BOX_RIGHT, 0.35))
    edge = max(1.4 * k, 1.0 / c.s)
    c.draw((seg(*C, *D, edge) | seg(*C, *B, edge) | seg(*C, *BC, edge)) & hull, BOX_LINE)
    c.draw(hull, None, BOX_LINE)


def draw_disc(c, cx, cy, r, detail=True):
    """Compact disc with a see-through hole."""
    def sheen(x, y):
        ang = math.atan2(y - cy, x - cx)
        base = lin((238, 240, 246), (168, 174, 188), cx - r, cy - r, cx + r, cy + r)(x, y)
        hue = (ang * 2 / (2 * math.pi)) % 1.0
        rb = hsv(hue, 0.55, 1.0)
        w = 0.45 * max(0.0, math.cos(2 * (ang + 0.7))) ** 3
        return mix(base, rb, w)
    outer = circle(cx, cy, r)
    hole = circle(cx, cy, r * 0.18)
    c.draw(outer - hole, sheen, (70, 76, 92))
    if detail:
        c.draw(circle(cx, cy, r * 0.40) - hole, (214, 222, 232), (128, 136, 150))
    c.draw(circle(cx, cy, r * 0.18 + 1.0 / c.s), None, (70, 76, 92))


FOLDER_BACK = (232, 178, 56)
FOLDER_FRONT = (252, 212, 96)
FOLDER_LINE = (120, 80, 10)


def draw_folder(c, x0, y0, w, h):
    """A manila folder, its tab at the back, top-left at (x0, y0)."""
    tab = h * 0.22
    back = rect(x0, y0 + tab, x0 + w, y0 + h, r=w * 0.06) | rect(x0, y0, x0 + w * 0.42, y0 + tab * 1.6, r=w * 0.05)
    c.draw(back, FOLDER_BACK, FOLDER_LINE)
    front = poly([(x0 + w * 0.08, y0 + h * 0.38), (x0 + w, y0 + h * 0.38),
                  (x0 + w * 0.92, y0 + h), (x0, y0 + h)])
    c.draw(front, lin(FOLDER_FRONT, FOLDER_BACK, x0, y0 + h * 0.38, x0, y0 + h), FOLDER_LINE)


def hsv(h, s, v):
    i = int(h * 6) % 6
    f = h * 6 - int(h * 6)
    p, q, t = v * (1 - s), v * (1 - s * f), v * (1 - s * (1 - f))
    r, g, b = [(v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v), (v, p, q)][i]
    return (r * 255, g * 255, b * 255)


# ---------------------------------------------------------------- toolbar

def icon_add(c):
    draw_box(c, 1, 2)
    plus = rect(21, 16, 26, 31) | rect(16, 21, 31, 26)
    c.draw(plus, lin((120, 220, 100), (30, 150, 40), 0, 15, 0, 31), (10, 80, 10))


def icon_delete(c):
    draw_box(c, 1, 2)
    x = (obox(23.5, 23, 45, -7.5, 7.5, -2.4, 2.4)
         | obox(23.5, 23, -45, -7.5, 7.5, -2.4, 2.4))
    c.draw(x, lin((250, 110, 90), (200, 20, 20), 0, 15, 0, 31), (110, 0, 0))


def icon_edit(c):
    draw_box(c, 1, 2)
    # pencil pointing to the lower left
    cx, cy, ang = 22.5, 19.5, -45
    w = 3.2

    def part(x0, x1):
        return obox(cx, cy, ang, x0, x1, -w, w)
    body = part(-5, 8)
    tip = poly(rot([(-5, -w), (-5, w), (-12.5, 0)], cx, cy, ang))
    lead = poly(rot([(-10.0, -w * 0.33), (-10.0, w * 0.33), (-12.5, 0)], cx, cy, ang))
    ferrule = part(8, 10.5)
    eraser = obox(cx, cy, ang, 10.5, 13.5, -w, w, 0.0)
    c.draw(body, lin((255, 232, 90), (222, 150, 0), *rot([(0, -w)], cx, cy, ang)[0],
                     *rot([(0, w)], cx, cy, ang)[0]))
    c.draw(obox(cx, cy, ang, -5, 8, -0.5, 0.5), (200, 132, 0))
    c.draw(tip, (240, 208, 160))
    c.draw(lead, (50, 50, 56))
    c.draw(ferrule, (178, 184, 196))
    c.draw(eraser, (240, 128, 140))
    c.draw(body | tip | ferrule | eraser, None, (60, 40, 10))


def icon_install(c):
    draw_disc(c, 11, 11, 10)
    # drive tray
    tray = rect(2, 21, 30, 31, 1.5)
    c.draw(tray, lin((150, 156, 170), (90, 96, 110), 0, 21, 0, 31), (36, 40, 50))
    c.draw(rect(5, 23, 27, 26, 0.8), (40, 44, 56))
    c.draw(rect(24, 28, 27, 29), (90, 230, 90))
    # arrow into the slot
    arrow = poly([(19, 1), (26, 1), (26, 11), (30.5, 11), (22.5, 21), (14.5, 11), (19, 11)])
    c.draw(arrow, lin((130, 225, 110), (20, 140, 30), 0, 1, 0, 21), (10, 80, 10))


def icon_copy_code(c):
    # clipboard
    c.draw(rect(5, 3, 25, 30, 1.5), lin((206, 146, 78), (150, 92, 36), 0, 3, 0, 30), (80, 46, 14))
    c.draw(rect(7, 7, 23, 28), (252, 252, 252), (120, 120, 128))
    for y in (11, 14, 17):
        c.draw(rect(9, y, 21, y + 1), (110, 130, 170))
    c.draw(rect(10, 1, 20, 7, 1.2), lin((230, 232, 238), (130, 136, 150), 0, 1, 0, 7), (56, 60, 72))
    c.draw(rect(13, 2.5, 17, 4), (70, 74, 88))
    # key across the bottom
    gold = lin((255, 232, 120), (206, 150, 20), 0, 16, 0, 29)
    key = (circle(8.5, 22.5, 6.5)
           | rect(13, 20.5, 31, 24.5)
           | rect(23, 24, 26, 28.5)
           | rect(27.5, 24, 31, 29.5)) - circle(7, 22.5, 2.2)
    c.draw(key, gold, (110, 70, 0))


def icon_patch(c):
    draw_box(c, 0, 0, 0.78)
    cx, cy, ang = 18, 19, -40
    band = obox(cx, cy, ang, -15, 15, -5.8, 5.8, 5.5)
    c.draw(band, lin((246, 204, 164), (214, 150, 104), *rot([(0, -6)], cx, cy, ang)[0],
                     *rot([(0, 6)], cx, cy, ang)[0]), (140, 80, 40))
    pad = obox(cx, cy, ang, -5, 5, -3.8, 3.8, 0.6)
    c.draw(pad, (255, 242, 226), (176, 118, 74))
    for px in (-11, -8.3):
        for py in (-2.2, 2.2):
            (hx, hy), = rot([(px, py)], cx, cy, ang)
            c.draw(circle(hx, hy, 0.9), (176, 118, 74))
            (hx, hy), = rot([(-px, py)], cx, cy, ang)
            c.draw(circle(hx, hy, 0.9), (176, 118, 74))


def gear(cx, cy, r_out, r_in, teeth, hole):
    pts = []
    for i in range(teeth):
        base = 2 * math.pi * i / teeth
        step = 2 * math.pi / teeth
        for frac, rr in ((-0.28, r_in), (-0.17, r_out), (0.17, r_out), (0.28, r_in)):
            a = base + frac * step
            pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    return poly(pts) - circle(cx, cy, hole)


def icon_restore(c):
    # anticlockwise arrow: back to the defaults
    ax, ay, r, a0 = 22, 22, 6.6, -60
    ring = arc(ax, ay, r, a0, 195, 3.4)
    a = math.radians(a0)
    ex, ey = ax + r * math.cos(a), ay + r * math.sin(a)
    tx, ty = math.sin(a), -math.cos(a)     # tangent, anticlockwise on screen
    nx, ny = math.cos(a), math.sin(a)
    head = poly([(ex + nx * 4.8, ey + ny * 4.8), (ex + tx * 6.4, ey + ty * 6.4),
                 (ex - nx * 4.8, ey - ny * 4.8)])
    arrow = ring | head
    # a gap round the arrow keeps it apart from the gear
    halo = Shape(lambda x, y: arrow.f(x, y) - 1.3, arrow.box)
    g = gear(12, 12, 11.5, 8.5, 8, 3.4) - halo
    c.draw(g, lin((236, 238, 244), (128, 134, 150), 2, 2, 22, 22), (44, 48, 60))
    c.draw(circle(12, 12, 5.6) - circle(12, 12, 3.4) - halo, None, (96, 102, 118))
    c.draw(arrow, lin((110, 170, 255), (20, 70, 180), 16, 16, 28, 28), (10, 40, 110))


def icon_about(c):
    c.draw(circle(16, 16, 15), lin((120, 180, 255), (16, 70, 180), 6, 4, 24, 28), (10, 36, 100))
    c.draw(circle(16, 8.8, 2.6), (255, 255, 255))
    c.draw(rect(14, 13, 18.5, 24) | rect(12, 13, 18.5, 15) | rect(12, 22.5, 20.5, 25),
           (255, 255, 255))


ICONS = [icon_add, icon_delete, icon_edit, icon_install,
         icon_copy_code, icon_patch, icon_restore, icon_about]


def program_icon(c):
    if c.n <= 16:  # fewer, larger parts so they survive at 16 px
        draw_disc(c, 12, 12, 12, detail=False)
        draw_box(c, 12, 11, 20 / 22, detail=False)
    else:
        draw_disc(c, 14, 14, 13)
        draw_box(c, 16, 15.5, 0.7)


def fennick_icon(c):
    """Fennick, the test drive: a folder standing in front of a disc."""
    if c.n <= 16:
        draw_disc(c, 12, 12, 12, detail=False)
        draw_folder(c, 8, 12, 22, 16)
    else:
        draw_disc(c, 14, 14, 13)
        draw_folder(c, 13, 15, 18, 14)


# ---------------------------------------------------------------- output

def composite(rgba):
    """Colour-key version: drop weak edge pixels, blend the rest on BG."""
    r, g, b, a = rgba
    if a < 0.5:
        return BG
    out = tuple(int(round(BG[i] + (v - BG[i]) * a)) for i, v in enumerate((r, g, b)))
    return KEY_NUDGE if out == BG else out


def disabled(c):
    """Grey, lighter copy with a white emboss, as Windows draws disabled art."""
    n = c.n
    out = Canvas(n)
    for y in range(n):
        for x in range(n):
            ha = c.px[(y - 1) * n + x - 1][3] if x > 0 and y > 0 else 0.0
            r, g, b, a = c.rgba(x, y)
            lum = 0.299 * r + 0.587 * g + 0.114 * b
            v = 112 + lum * 0.5
            # white relief shows only where the shape does not cover it
            p = out.px[y * n + x]
            p[0] = p[1] = p[2] = 255 * ha
            p[3] = ha
            p[0] = v * a + p[0] * (1 - a)
            p[1] = v * a + p[1] * (1 - a)
            p[2] = v * a + p[2] * (1 - a)
            p[3] = a + ha * (1 - a)
    return out


def strip(canvases):
    n = canvases[0].n
    w = n * len(canvases)
    rows = []
    for y in range(n):
        row = []
        for c in canvases:
            row.extend(composite(c.rgba(x, y)) for x in range(n))
        rows.append(row)
    return w, rows


def median_cut(counts, k):
    boxes = [list(counts.items())]
    while len(boxes) < k:
        best, score = None, -1
        for i, bx in enumerate(boxes):
            if len(bx) < 2:
                continue
            span = max(max(c[0][ch] for c in bx) - min(c[0][ch] for c in bx) for ch in range(3))
            weight = sum(c[1] for c in bx)
            if span * math.sqrt(weight) > score:
                best, score = i, span * math.sqrt(weight)
        if best is None:
            break
        bx = boxes.pop(best)
        ch = max(range(3), key=lambda ch: max(c[0][ch] for c in bx) - min(c[0][ch] for c in bx))
        bx.sort(key=lambda c: c[0][ch])
        total = sum(c[1] for c in bx)
        acc, cut = 0, 1
        for i, c in enumerate(bx):
            acc += c[1]
            if acc * 2 >= total:
                cut = min(max(i + 1, 1), len(bx) - 1)
                break
        boxes += [bx[:cut], bx[cut:]]
    pal = []
    for bx in boxes:
        t = sum(c[1] for c in bx)
        col = tuple(int(round(sum(c[0][ch] * c[1] for c in bx) / t)) for ch in range(3))
        pal.append(KEY_NUDGE if col == BG else col)
    return pal


def write_bmp8(path, w, rows):
    counts = {}
    for row in rows:
        for p in row:
            if p != BG:
                counts[p] = counts.get(p, 0) + 1
    pal = median_cut(counts, 255)
    lookup = {BG: 0}
    for col in counts:
        lookup[col] = 1 + min(range(len(pal)), key=lambda i: sum(
            (col[ch] - pal[i][ch]) ** 2 for ch in range(3)))
    palette = [BG] + pal + [(0, 0, 0)] * (255 - len(pal))
    h = len(rows)
    stride = (w + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # BMP rows run bottom-up
        pixels += bytes(lookup[p] for p in row) + bytes(stride - w)
    off = 14 + 40 + 256 * 4
    data = struct.pack('<2sIHHI', b'BM', off + len(pixels), 0, 0, off)
    data += struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    data += b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    data += pixels
    with open(path, 'wb') as fh:
        fh.write(data)


def ico_image(c):
    n = c.n
    xor = bytearray()
    mask = bytearray()
    mstride = ((n + 31) // 32) * 4
    for y in reversed(range(n)):
        bits = bytearray(mstride)
        for x in range(n):
            r, g, b, a = c.rgba(x, y)
            ai = int(round(a * 255))
            if ai == 0:
                xor += bytes(4)
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                xor += bytes((int(round(b)), int(round(g)), int(round(r)), ai))
        mask += bits
    head = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return head + bytes(xor) + bytes(mask)


def write_ico(path, canvases):
    images = [ico_image(c) for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(images))
    off = 6 + 16 * len(images)
    for c, img in zip(canvases, images):
        out += struct.pack('<BBBBHHII', c.n % 256, c.n % 256, 0, 0, 1, 32, len(img), off)
        off += len(img)
    with open(path, 'wb') as fh:
        fh.write(out + b''.join(images))


# Toolbar images for 100 %, 125 %, 150 % and 200 % display scale; the
# program picks the largest that fits, so none is ever stretched.
TOOLBAR_SIZES = (32, 40, 48, 64)
# Small and large icons from 100 % to 200 %.
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64)


def drawn(fn, n):
    c = Canvas(n)
    fn(c)
    return c


def main():
    for n in TOOLBAR_SIZES:
        tiles = [drawn(fn, n) for fn in ICONS]
        suffix = '' if n == 32 else '_%d' % n
        write_bmp8(os.path.join(HERE, 'toolbar%s.bmp' % suffix), *strip(tiles))
        write_bmp8(os.path.join(HERE, 'toolbar_disabled%s.bmp' % suffix),
                   *strip([disabled(c) for c in tiles]))
    write_ico(os.path.join(HERE, 'corvel.ico'), [drawn(program_icon, n) for n in ICON_SIZES])
    write_ico(os.path.join(HERE, 'fennick.ico'), [drawn(fennick_icon, n) for n in ICON_SIZES])
    # The stand-in installer of the tests and the demo CD: a box, as setup
    # programs commonly show, so each demo item carries an icon of its own.
    def setup_box(c):
        draw_box(c, 1.5, 1, 29 / 23)
    write_ico(os.path.join(HERE, 'installer.ico'), [drawn(setup_box, n) for n in ICON_SIZES])


if __name__ == '__main__':
    main()
