"""Product pictures of the promotion window: the maker's three other products, each a rounded
tile with a simple emblem on a transparent ground (the window's pattern shows around it)."""

import math

from . import canvas as cv

SIZE = 160


def _tile(ctx, top, bottom):
    ctx.set_source(cv.linear(0, 0, 0, SIZE, (0, top), (1, bottom)))
    cv.rounded_rect(ctx, 12, 12, SIZE - 24, SIZE - 24, 26)
    ctx.fill()


def draw_partyline(path):
    """Partyline Messenger: a speech bubble with three dots."""
    surface, ctx = cv.new_surface(SIZE, SIZE)
    _tile(ctx, cv.rgb("sky")[:3], cv.rgb(cv.darker("teal", 0.2))[:3])
    cv.set_colour(ctx, "#FFFFFF")
    cv.rounded_rect(ctx, 38, 44, 84, 56, 18)
    ctx.fill()
    cv.polygon(ctx, [(58, 96), (52, 118), (76, 98)])
    ctx.fill()
    cv.set_colour(ctx, "teal")
    for i in range(3):
        ctx.arc(60 + i * 20, 72, 6, 0, 2 * math.pi)
        ctx.fill()
    cv.save_png(surface, path)


def draw_rsvp_keeper(path):
    """RSVP Keeper: a guest list with ticks."""
    surface, ctx = cv.new_surface(SIZE, SIZE)
    _tile(ctx, cv.rgb("coral")[:3], cv.rgb(cv.darker("rose", 0.2))[:3])
    cv.set_colour(ctx, "#FFFFFF")
    cv.rounded_rect(ctx, 44, 36, 72, 90, 8)
    ctx.fill()
    for i in range(4):
        y = 54 + i * 18
        cv.set_colour(ctx, "mint" if i != 2 else "#D0D0D0")
        ctx.set_line_width(4)
        ctx.move_to(52, y)
        ctx.line_to(57, y + 5)
        ctx.line_to(66, y - 5)
        ctx.stroke()
        cv.set_colour(ctx, "#B8B8C8")
        ctx.rectangle(72, y - 2, 36, 4)
        ctx.fill()
    cv.save_png(surface, path)


def draw_labelwright(path):
    """Labelwright Barcode Studio: a label with bars."""
    surface, ctx = cv.new_surface(SIZE, SIZE)
    _tile(ctx, cv.rgb("lavender")[:3], cv.rgb(cv.darker("purple", 0.2))[:3])
    cv.set_colour(ctx, "#FFFFFF")
    cv.rounded_rect(ctx, 32, 48, 96, 64, 10)
    ctx.fill()
    rng = cv.seeded("labelwright-bars")
    x = 42
    cv.set_colour(ctx, "#202030")
    while x < 116:
        w = rng.choice([2, 2, 3, 4])
        ctx.rectangle(x, 58, w, 44)
        ctx.fill()
        x += w + rng.choice([2, 3, 4])
    cv.save_png(surface, path)


def draw_all(folder):
    import os
    draw_partyline(os.path.join(folder, "partyline.png"))
    draw_rsvp_keeper(os.path.join(folder, "rsvp-keeper.png"))
    draw_labelwright(os.path.join(folder, "labelwright.png"))
