"""Hatch patterns for card and shape fills: small seamless tiles, black on transparent.

The card drawing tints them with the chosen colour, so nothing here may carry colour of its own;
soft edges live in the alpha channel only. Every motif is drawn at its place and at the eight
neighbouring tile offsets, which keeps motifs crossing an edge whole when the tile repeats.
"""

import math

from . import canvas as cv

TILE = 32


def _tiled(ctx, size, draw):
    for dx in (-size, 0, size):
        for dy in (-size, 0, size):
            ctx.save()
            ctx.translate(dx, dy)
            draw(ctx)
            ctx.restore()


def _black(ctx, alpha=1.0):
    ctx.set_source_rgba(0, 0, 0, alpha)


def _slanted(ctx, width, directions):
    """Lines at 45 degrees half a tile apart; directions +1 (rising) and/or -1 (falling)."""
    _black(ctx)
    ctx.set_line_width(width)
    ctx.set_line_cap(0)
    for k in range(-4, 5):
        off = k * TILE / 2
        for d in directions:
            if d > 0:
                ctx.move_to(off - TILE, TILE * 2)
                ctx.line_to(off + TILE * 2, -TILE)
            else:
                ctx.move_to(off - TILE, -TILE)
                ctx.line_to(off + TILE * 2, TILE * 2)
    ctx.stroke()


def _diagonal(ctx):
    _slanted(ctx, 2.4, (1,))


def _back_diagonal(ctx):
    _slanted(ctx, 2.4, (-1,))


def _diagonal_cross(ctx):
    _slanted(ctx, 1.6, (1, -1))


def _cross_hatch(ctx):
    _black(ctx)
    for k in (0, TILE / 2):
        ctx.rectangle(0, k, TILE, 1.6)
        ctx.rectangle(k, 0, 1.6, TILE)
    ctx.fill()


def _horizontal(ctx):
    _black(ctx)
    for y in (4, 4 + TILE / 2):
        ctx.rectangle(0, y, TILE, 3)
    ctx.fill()


def _polka(ctx):
    def draw(c):
        _black(c)
        for x, y in ((8, 8), (24, 24)):
            c.new_sub_path()
            c.arc(x, y, 4.5, 0, 2 * math.pi)
        c.fill()
    _tiled(ctx, TILE, draw)


def _pin_dots(ctx):
    _black(ctx)
    for x in (4, 12, 20, 28):
        for y in (4, 12, 20, 28):
            shift = 4 if (y // 8) % 2 else 0
            ctx.new_sub_path()
            ctx.arc((x + shift) % TILE, y, 1.5, 0, 2 * math.pi)
    ctx.fill()


def _gingham(ctx):
    # Two half-strength bands crossing: where they meet the weave looks solid, as in real gingham.
    _black(ctx, 0.45)
    ctx.rectangle(0, 0, TILE / 2, TILE)
    ctx.fill()
    ctx.rectangle(0, 0, TILE, TILE / 2)
    ctx.fill()


def _checks(ctx):
    _black(ctx)
    ctx.rectangle(0, 0, TILE / 2, TILE / 2)
    ctx.rectangle(TILE / 2, TILE / 2, TILE / 2, TILE / 2)
    ctx.fill()


def _waves(ctx):
    def draw(c):
        _black(c)
        c.set_line_width(2.4)
        for base in (8, 24):
            c.move_to(-2, base)
            steps = 48
            for i in range(steps + 1):
                x = -2 + (TILE + 4) * i / steps
                c.line_to(x, base + 3.5 * math.sin(2 * math.pi * x / TILE))
            c.stroke()
    draw(ctx)


def _zigzag(ctx):
    def draw(c):
        _black(c)
        c.set_line_width(2.4)
        c.set_line_join(0)
        for base in (10, 26):
            c.move_to(-8, base + 4)
            for i, x in enumerate(range(0, TILE + 9, 8)):
                c.line_to(x, base - 4 if i % 2 == 0 else base + 4)
            c.stroke()
    draw(ctx)


def _bricks(ctx):
    _black(ctx)
    w = 1.8
    ctx.rectangle(0, 0, TILE, w)
    ctx.rectangle(0, TILE / 2, TILE, w)
    ctx.rectangle(0, 0, w, TILE / 2)
    ctx.rectangle(TILE / 2, TILE / 2, w, TILE / 2)
    ctx.fill()


def _stars(ctx):
    def draw(c):
        _black(c)
        cv.star(c, 8, 9, 6.5, 2.8, roundness=0.12)
        cv.star(c, 24, 25, 6.5, 2.8, rotation=-math.pi / 2 + 0.3, roundness=0.12)
        c.fill()
    _tiled(ctx, TILE, draw)


def _hearts(ctx):
    def draw(c):
        _black(c)
        cv.heart(c, 8, 8, 10)
        cv.heart(c, 24, 24, 10)
        c.fill()
    _tiled(ctx, TILE, draw)


def _confetti(ctx):
    def draw(c):
        _black(c)
        r = cv.seeded("confetti-pattern-pieces")
        for i in range(9):
            x, y = (i % 3) * 10.7 + r.uniform(2, 9), (i // 3) * 10.7 + r.uniform(2, 9)
            c.save()
            c.translate(x, y)
            c.rotate(r.uniform(0, math.pi))
            kind = (i + i // 3) % 3  # shapes mixed along rows and columns alike
            if kind == 0:
                c.rectangle(-3.8, -1.4, 7.6, 2.8)
            elif kind == 1:
                c.new_sub_path()
                c.arc(0, 0, 2.3, 0, 2 * math.pi)
            else:
                cv.polygon(c, [(0, -3.3), (3.0, 2.2), (-3.0, 2.2)])
            c.fill()
            c.restore()
    _tiled(ctx, TILE, draw)


def _diamonds(ctx):
    def draw(c):
        _black(c)
        c.set_line_width(1.6)
        cv.polygon(c, [(16, 2), (30, 16), (16, 30), (2, 16)])
        c.stroke()
        cv.polygon(c, [(16, 11), (21, 16), (16, 21), (11, 16)])
        c.fill()
    _tiled(ctx, TILE, draw)


# File base names are what users see in the pattern lists.
PATTERNS = [
    ("Diagonal", _diagonal),
    ("Back Diagonal", _back_diagonal),
    ("Diagonal Cross", _diagonal_cross),
    ("Cross Hatch", _cross_hatch),
    ("Horizontal Lines", _horizontal),
    ("Polka Dots", _polka),
    ("Pin Dots", _pin_dots),
    ("Checks", _checks),
    ("Gingham", _gingham),
    ("Waves", _waves),
    ("Zigzag", _zigzag),
    ("Bricks", _bricks),
    ("Stars", _stars),
    ("Hearts", _hearts),
    ("Confetti", _confetti),
    ("Diamonds", _diamonds),
]


def draw_all(out_dir):
    paths = []
    for name, draw in PATTERNS:
        surface, ctx = cv.new_surface(TILE, TILE)
        draw(ctx)
        path = f"{out_dir}/{name}.png"
        cv.save_png(surface, path)
        paths.append(path)
    return paths
