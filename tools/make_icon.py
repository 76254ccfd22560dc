#!/usr/bin/env python3
"""Draws the launcher's application icon and writes src/res/launcher.ico.

The picture is a grey game cartridge with a red label carrying a white play arrow. Each of the
three sizes (48, 32 and 16 pixels) has geometry of its own, laid on whole pixels so straight
edges stay crisp; the 16-pixel one drops the small details that would only blur. Every size is
stored at 32 bpp (alpha, anti-aliased), 8 bpp (a palette made from the picture) and 4 bpp (the
standard 16-colour palette), as classic BMP-in-ICO images with an AND mask.

Only the standard library, and no clocks or random numbers: the same Python writes the same
bytes, so the committed file can be checked by running this again and comparing.

Usage: tools/make_icon.py [OUTPUT]   (default: src/res/launcher.ico beside this folder)
"""

import math
import os
import struct
import sys

# Samples per pixel along each axis. Power of two, so the sample positions are exact in binary
# and the coverage sums come out the same on every machine.
SUPERSAMPLE = 8

# The standard Windows 16-colour palette, in its usual index order.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# Below half coverage a pixel is transparent in the images that only have the AND mask.
MASK_ALPHA = 128


# ---- shapes: signed distance in pixels, negative inside ----

def length(x, y):
    # math.hypot's result changed between Python versions; sqrt is correctly rounded everywhere.
    return math.sqrt(x * x + y * y)


def rounded_box(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return length(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - radius

    return sdf


def cartridge(x0, y0, x1, y1, radius, chamfer):
    """A rounded box whose top-right corner is cut at 45 degrees, the cartridge's key."""
    box = rounded_box(x0, y0, x1, y1, radius)
    # Inside where x - y <= (x1 - chamfer) - y0.
    limit = (x1 - chamfer) - y0
    inv_sqrt2 = 1 / math.sqrt(2.0)

    def sdf(x, y):
        return max(box(x, y), ((x - y) - limit) * inv_sqrt2)

    return sdf


def convex_polygon(points, radius=0.0):
    """A convex polygon (clockwise on screen) grown by radius, which rounds its corners."""
    edges = []
    for i, (ax, ay) in enumerate(points):
        bx, by = points[(i + 1) % len(points)]
        ex, ey = bx - ax, by - ay
        edges.append((ax, ay, ex, ey, ex * ex + ey * ey, length(ex, ey)))

    def sdf(x, y):
        inside = True
        nearest = math.inf
        deepest = -math.inf
        for ax, ay, ex, ey, len2, elen in edges:
            px, py = x - ax, y - ay
            # With y pointing down, a clockwise polygon has its inside where the cross is >= 0.
            side = (ex * py - ey * px) / elen
            if side < 0:
                inside = False
            deepest = max(deepest, -side)
            t = min(max((px * ex + py * ey) / len2, 0.0), 1.0)
            nearest = min(nearest, length(px - t * ex, py - t * ey))
        return (deepest if inside else nearest) - radius

    return sdf


def union(shapes):
    return lambda x, y: min(shape(x, y) for shape in shapes)


def inset(shape, amount):
    return lambda x, y: shape(x, y) + amount


def shifted(shape, dx, dy):
    return lambda x, y: shape(x - dx, y - dy)


# ---- paints: colour at a point ----

def solid(rgb):
    return lambda x, y: rgb


def vertical(y0, top, y1, bottom):
    def paint(x, y):
        t = min(max((y - y0) / (y1 - y0), 0.0), 1.0)
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    return paint


def hexrgb(text):
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16))


# ---- the picture ----

OUTLINE = hexrgb("26262e")
BODY_TOP, BODY_BOTTOM = hexrgb("dedee4"), hexrgb("a4a4ae")
RIM = hexrgb("f4f4f8")
GROOVE = hexrgb("7e7e88")
SLOT = hexrgb("5c5c66")
LABEL_EDGE = hexrgb("6e0a0a")
LABEL_TOP, LABEL_BOTTOM = hexrgb("f04848"), hexrgb("c81a1a")
CONTACT = hexrgb("d8aa30")
ARROW = hexrgb("ffffff")
ARROW_SHADE = hexrgb("5a0606")


def layers_for(size):
    """Back-to-front list of (shape, paint, opacity) for one icon size."""
    if size == 48:
        g = dict(body=(8, 2, 40, 46), radius=3.5, chamfer=7, grooves=[(13, 5), (13, 8)],
                 groove_x1=29, slot=(14, 40, 34, 44), label=(12, 14, 36, 37),
                 arrow=[(20, 19.5), (31, 25.5), (20, 31.5)], arrow_r=1.0, line=1.5)
    elif size == 32:
        g = dict(body=(5, 1, 27, 31), radius=2.5, chamfer=5, grooves=[(9, 3.5)],
                 groove_x1=19, slot=(9, 27, 23, 29.5), label=(8, 9, 24, 25),
                 arrow=[(13.5, 12.5), (20.5, 17), (13.5, 21.5)], arrow_r=0.6, line=1.0)
    else:
        # Body, label and arrow only: anything finer is noise at this size.
        g = dict(body=(2, 0, 14, 16), radius=1.5, chamfer=3, grooves=[], groove_x1=0,
                 slot=(5, 13, 11, 14), label=(4, 3, 12, 12), arrow=None, line=1.0)

    bx0, by0, bx1, by1 = g["body"]
    body = cartridge(bx0, by0, bx1, by1, g["radius"], g["chamfer"])
    line = g["line"]
    layers = []
    if size > 16:
        layers.append((shifted(body, 1.0, 1.0), solid((0, 0, 0)), 0.28))
    layers.append((body, solid(OUTLINE), 1.0))
    if size > 16:
        layers.append((inset(body, line), solid(RIM), 1.0))
        layers.append((inset(body, line + 1), vertical(by0, BODY_TOP, by1, BODY_BOTTOM), 1.0))
    else:
        layers.append((inset(body, line), vertical(by0, BODY_TOP, by1, BODY_BOTTOM), 1.0))
    for gx, gy in g["grooves"]:
        layers.append((rounded_box(gx, gy, g["groove_x1"], gy + 1.5, 0.5), solid(GROOVE), 1.0))
    sx0, sy0, sx1, sy1 = g["slot"]
    layers.append((rounded_box(sx0, sy0, sx1, sy1, 1.0 if size > 16 else 0.0), solid(SLOT), 1.0))
    # The edge connector's contacts: what makes it read as a cartridge rather than a card.
    if size > 16:
        for cx in range(int(sx0) + 2, int(sx1) - 1, 2):
            layers.append((rounded_box(cx, sy0 + 1, cx + 1, sy1, 0.0), solid(CONTACT), 1.0))
    lx0, ly0, lx1, ly1 = g["label"]
    if size > 16:
        label = rounded_box(lx0, ly0, lx1, ly1, 1.5)
        layers.append((label, solid(LABEL_EDGE), 1.0))
        label = inset(label, 1.0)
    else:
        label = rounded_box(lx0, ly0, lx1, ly1, 0.0)
    layers.append((label, vertical(ly0, LABEL_TOP, ly1, LABEL_BOTTOM), 1.0))
    if g["arrow"]:
        arrow = convex_polygon(g["arrow"], g["arrow_r"])
    else:
        # At 16 pixels any slanted edge smears; a stepped arrow on whole pixels stays sharp.
        arrow = union([rounded_box(6 + i, 4 + i, 7 + i, 11 - i, 0.0) for i in range(4)])
    if size > 16:
        layers.append((shifted(arrow, 0.75, 0.75), solid(ARROW_SHADE), 0.6))
    layers.append((arrow, solid(ARROW), 1.0))
    return layers


def render(size):
    """Returns rows top to bottom of straight-alpha (r, g, b, a) pixels, 0..255."""
    layers = layers_for(size)
    n = SUPERSAMPLE
    offsets = [(i + 0.5) / n for i in range(n)]
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            sr = sg = sb = sa = 0.0
            for oy in offsets:
                y = py + oy
                for ox in offsets:
                    x = px + ox
                    # Premultiplied "over", one sample at a time.
                    r = g = b = a = 0.0
                    for shape, paint, opacity in layers:
                        if shape(x, y) <= 0.0:
                            cr, cg, cb = paint(x, y)
                            keep = 1.0 - opacity
                            r = cr * opacity + r * keep
                            g = cg * opacity + g * keep
                            b = cb * opacity + b * keep
                            a = opacity + a * keep
                    sr += r
                    sg += g
                    sb += b
                    sa += a
            count = n * n
            alpha = sa / count
            if alpha <= 0.0:
                row.append((0, 0, 0, 0))
                continue
            row.append((clamp_byte(sr / count / alpha), clamp_byte(sg / count / alpha),
                        clamp_byte(sb / count / alpha), clamp_byte(alpha * 255.0)))
        rows.append(row)
    return rows


def clamp_byte(v):
    return min(max(int(v + 0.5), 0), 255)


# ---- palettes ----

def distance2(c1, c2):
    # Green weighs most, blue least, roughly as the eye does.
    dr, dg, db = c1[0] - c2[0], c1[1] - c2[1], c1[2] - c2[2]
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db


def nearest(palette, colour, cache):
    found = cache.get(colour)
    if found is None:
        found = min(range(len(palette)), key=lambda i: (distance2(palette[i], colour), i))
        cache[colour] = found
    return found


def median_cut(histogram, limit):
    """Up to limit colours for a {colour: count} histogram; exact when it has few enough.

    Today's picture has fewer than 255 colours at every size, so its 8-bpp images are exact;
    the cut keeps them valid if a richer picture outgrows the palette.
    """
    colours = sorted(histogram)
    if len(colours) <= limit:
        return colours
    boxes = [colours]
    while len(boxes) < limit:
        best, best_range, best_channel = -1, 0, 0
        for i, box in enumerate(boxes):
            for ch in range(3):
                values = [c[ch] for c in box]
                spread = max(values) - min(values)
                if spread > best_range:
                    best, best_range, best_channel = i, spread, ch
        if best < 0:
            break
        box = sorted(boxes[best], key=lambda c: (c[best_channel], c))
        total = sum(histogram[c] for c in box)
        running, cut = 0, 1
        for j, c in enumerate(box[:-1]):
            running += histogram[c]
            cut = j + 1
            if running * 2 >= total:
                break
        boxes[best:best + 1] = [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        weight = sum(histogram[c] for c in box)
        palette.append(tuple((sum(c[ch] * histogram[c] for c in box) + weight // 2) // weight
                             for ch in range(3)))
    return palette


# ---- the ICO file ----

def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def and_mask(rows, size):
    """1-bit rows bottom-up; a set bit leaves the screen showing through."""
    out = bytearray()
    for row in reversed(rows):
        bits = bytearray(row_bytes(size))
        for x, (_, _, _, a) in enumerate(row):
            if a < MASK_ALPHA:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def bitmap_header(size, bpp, image_bytes, colours):
    # The height counts the XOR bitmap and the AND mask together.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, image_bytes, 0, 0,
                       colours, 0)


def image_32(rows, size):
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a)) if a else bytes(4)
    mask = and_mask(rows, size)
    return bitmap_header(size, 32, len(xor) + len(mask), 0) + bytes(xor) + mask


def indexed(rows, size, palette, bpp):
    """An indexed image; transparent pixels take index 0, which is black in both palettes."""
    cache = {}
    xor = bytearray()
    for row in reversed(rows):
        indices = [nearest(palette, (r, g, b), cache) if a >= MASK_ALPHA else 0
                   for r, g, b, a in row]
        line = bytearray(row_bytes(size * bpp))
        for x, index in enumerate(indices):
            if bpp == 8:
                line[x] = index
            else:
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        xor += line
    mask = and_mask(rows, size)
    quads = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return (bitmap_header(size, bpp, len(xor) + len(mask), len(palette)) + quads + bytes(xor)
            + mask)


def image_8(rows, size):
    histogram = {}
    for row in rows:
        for r, g, b, a in row:
            if a >= MASK_ALPHA:
                histogram[(r, g, b)] = histogram.get((r, g, b), 0) + 1
    palette = [(0, 0, 0)] + [c for c in median_cut(histogram, 255) if c != (0, 0, 0)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    return indexed(rows, size, palette, 8)


def image_4(rows, size):
    return indexed(rows, size, VGA16, 4)


def build_icon():
    entries = []
    for size in (48, 32, 16):
        rows = render(size)
        entries.append((size, 32, 0, image_32(rows, size)))
        entries.append((size, 8, 0, image_8(rows, size)))
        entries.append((size, 4, 16, image_4(rows, size)))
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for size, bpp, colour_count, data in entries:
        out += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bpp, len(data), offset)
        offset += len(data)
    for _, _, _, data in entries:
        out += data
    return bytes(out)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    target = argv[1] if len(argv) > 1 else os.path.join(here, "..", "src", "res", "launcher.ico")
    data = build_icon()
    with open(target, "wb") as f:
        f.write(data)
    print(f"{os.path.normpath(target)}: {len(data)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
