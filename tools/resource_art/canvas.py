"""Surfaces, colours, file output and the small path helpers every drawing uses."""

import math
import os
import random

import cairo
import numpy as np
from PIL import Image, ImageFilter

# One palette for everything we ship, so backgrounds, library pictures and icons belong together.
PALETTE = {
    "coral": "#FF6B6B",
    "pink": "#FF8FB1",
    "rose": "#E84A7F",
    "peach": "#FFB48F",
    "gold": "#F4B93E",
    "yellow": "#FFD166",
    "mint": "#4CD6A8",
    "teal": "#22B8CF",
    "sky": "#5AA9E6",
    "blue": "#3D6DE0",
    "navy": "#1D2B53",
    "lavender": "#B59CF2",
    "purple": "#7B5CD6",
    "cream": "#FFF8EE",
    "white": "#FFFFFF",
    "ink": "#2F3B52",
    "brown": "#8A5A3C",
    "chocolate": "#5B3A29",
    "green": "#5DBB63",
    "leaf": "#3F9E5A",
}

FESTIVE = ["coral", "pink", "gold", "mint", "teal", "sky", "lavender", "purple", "yellow", "rose"]


def rgb(colour, alpha=1.0):
    """(r, g, b, a) in 0..1 from a palette name, "#RRGGBB" or an (r, g, b) tuple."""
    if isinstance(colour, tuple):
        return (colour[0], colour[1], colour[2], colour[3] if len(colour) > 3 else alpha)
    text = PALETTE.get(colour, colour).lstrip("#")
    return (int(text[0:2], 16) / 255.0, int(text[2:4], 16) / 255.0, int(text[4:6], 16) / 255.0, alpha)


def mix(a, b, t):
    ca, cb = rgb(a), rgb(b)
    return tuple(ca[i] + (cb[i] - ca[i]) * t for i in range(4))


def lighter(colour, t=0.35):
    return mix(colour, "#FFFFFF", t)


def darker(colour, t=0.25):
    return mix(colour, "#000000", t)


def set_colour(ctx, colour, alpha=None):
    r, g, b, a = rgb(colour)
    ctx.set_source_rgba(r, g, b, a if alpha is None else alpha)


def new_surface(width, height):
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, width, height)
    ctx = cairo.Context(surface)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    return surface, ctx


def to_image(surface):
    surface.flush()
    return Image.frombuffer("RGBA", (surface.get_width(), surface.get_height()), bytes(surface.get_data()),
                            "raw", "BGRa", surface.get_stride(), 1).copy()


def from_image(image):
    """A cairo surface holding a PIL picture (premultiplied, as cairo wants it)."""
    arr = np.asarray(image.convert("RGBA")).astype(np.uint32)
    alpha = arr[..., 3:4]
    premul = (arr[..., :3] * alpha + 127) // 255
    bgra = np.concatenate([premul[..., 2:3], premul[..., 1:2], premul[..., 0:1], alpha], axis=2).astype(np.uint8)
    height, width = bgra.shape[:2]
    stride = cairo.ImageSurface.format_stride_for_width(cairo.FORMAT_ARGB32, width)
    buf = np.zeros((height, stride), dtype=np.uint8)
    buf[:, :width * 4] = bgra.reshape(height, width * 4)
    return cairo.ImageSurface.create_for_data(bytearray(buf.tobytes()), cairo.FORMAT_ARGB32, width, height, stride)


def blurred(surface, radius):
    """A blurred copy of a surface: watercolour washes and bokeh need soft edges cairo cannot draw."""
    return from_image(to_image(surface).filter(ImageFilter.GaussianBlur(radius)))


def ensure_dir(path):
    os.makedirs(os.path.dirname(path), exist_ok=True)


def save_png(surface, path):
    ensure_dir(path)
    to_image(surface).save(path, "PNG", optimize=True)


def save_jpeg(surface, path, quality=88):
    ensure_dir(path)
    to_image(surface).convert("RGB").save(path, "JPEG", quality=quality, optimize=True, subsampling=0)


def seeded(name):
    """A random generator of its own for each picture, so re-running gives the same files."""
    return random.Random(sum(ord(c) * (i + 1) for i, c in enumerate(name)))


# --- paths ---------------------------------------------------------------------------------------

def rounded_rect(ctx, x, y, w, h, r):
    r = min(r, w / 2, h / 2)
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def ellipse(ctx, cx, cy, rx, ry):
    ctx.save()
    ctx.translate(cx, cy)
    ctx.scale(rx, ry)
    ctx.new_sub_path()
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()


def star(ctx, cx, cy, outer, inner, points=5, rotation=-math.pi / 2, roundness=0.0):
    """A star path; `roundness` > 0 softens the tips into a friendlier cartoon star."""
    step = math.pi / points
    verts = []
    for i in range(points * 2):
        radius = outer if i % 2 == 0 else inner
        angle = rotation + i * step
        verts.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    if roundness <= 0:
        ctx.move_to(*verts[0])
        for v in verts[1:]:
            ctx.line_to(*v)
        ctx.close_path()
        return
    n = len(verts)
    for i in range(n):
        prev, cur, nxt = verts[i - 1], verts[i], verts[(i + 1) % n]
        a = (cur[0] + (prev[0] - cur[0]) * roundness, cur[1] + (prev[1] - cur[1]) * roundness)
        b = (cur[0] + (nxt[0] - cur[0]) * roundness, cur[1] + (nxt[1] - cur[1]) * roundness)
        if i == 0:
            ctx.move_to(*a)
        else:
            ctx.line_to(*a)
        ctx.curve_to(cur[0], cur[1], cur[0], cur[1], *b)
    ctx.close_path()


def heart(ctx, cx, cy, size):
    """A heart whose width is about `size`, centred on (cx, cy)."""
    s = size / 2.0
    ctx.move_to(cx, cy + s * 0.95)
    ctx.curve_to(cx - s * 0.15, cy + s * 0.75, cx - s * 1.0, cy + s * 0.25, cx - s * 1.0, cy - s * 0.3)
    ctx.curve_to(cx - s * 1.0, cy - s * 0.85, cx - s * 0.35, cy - s * 1.05, cx, cy - s * 0.55)
    ctx.curve_to(cx + s * 0.35, cy - s * 1.05, cx + s * 1.0, cy - s * 0.85, cx + s * 1.0, cy - s * 0.3)
    ctx.curve_to(cx + s * 1.0, cy + s * 0.25, cx + s * 0.15, cy + s * 0.75, cx, cy + s * 0.95)
    ctx.close_path()


def polygon(ctx, points):
    ctx.move_to(*points[0])
    for p in points[1:]:
        ctx.line_to(*p)
    ctx.close_path()


def regular_polygon(ctx, cx, cy, r, sides, rotation=-math.pi / 2):
    polygon(ctx, [(cx + r * math.cos(rotation + 2 * math.pi * i / sides),
                   cy + r * math.sin(rotation + 2 * math.pi * i / sides)) for i in range(sides)])


def linear(x0, y0, x1, y1, *stops):
    """A linear gradient; stops are (offset, colour) pairs."""
    g = cairo.LinearGradient(x0, y0, x1, y1)
    for offset, colour in stops:
        g.add_color_stop_rgba(offset, *rgb(colour))
    return g


def radial(cx0, cy0, r0, cx1, cy1, r1, *stops):
    g = cairo.RadialGradient(cx0, cy0, r0, cx1, cy1, r1)
    for offset, colour in stops:
        g.add_color_stop_rgba(offset, *rgb(colour))
    return g


def text_path(ctx, text, family, size, x, y, slant=cairo.FONT_SLANT_NORMAL, weight=cairo.FONT_WEIGHT_NORMAL,
              align="center"):
    """Adds the outline of `text` to the path, its baseline at y, aligned around x."""
    ctx.select_font_face(family, slant, weight)
    ctx.set_font_size(size)
    ext = ctx.text_extents(text)
    if align == "center":
        x -= ext.x_advance / 2
    elif align == "right":
        x -= ext.x_advance
    ctx.move_to(x, y)
    ctx.text_path(text)
    return ext
