"""Festive motifs shared by the backgrounds and the library pictures: balloons, confetti, bunting,
flowers, leaves, sparkles and soft bokeh lights. Each draws at a given place and size."""

import math

from . import canvas as cv


def balloon_body(ctx, cx, cy, rx, ry=None):
    """The balloon's teardrop outline, its widest point a little above the centre."""
    ry = ry or rx * 1.22
    ctx.move_to(cx, cy + ry)
    ctx.curve_to(cx - rx * 0.5, cy + ry * 0.92, cx - rx, cy + ry * 0.42, cx - rx, cy - ry * 0.08)
    ctx.curve_to(cx - rx, cy - ry * 0.66, cx - rx * 0.56, cy - ry, cx, cy - ry)
    ctx.curve_to(cx + rx * 0.56, cy - ry, cx + rx, cy - ry * 0.66, cx + rx, cy - ry * 0.08)
    ctx.curve_to(cx + rx, cy + ry * 0.42, cx + rx * 0.5, cy + ry * 0.92, cx, cy + ry)
    ctx.close_path()
    return ry


def balloon(ctx, cx, cy, rx, colour, string_to=None, string_colour=(0.45, 0.45, 0.5, 0.8), shine=True):
    """A glossy latex balloon with knot and a gently waving string ending at `string_to`;
    (cx, cy) is the body's centre."""
    ry = rx * 1.22
    if string_to:
        top = (cx, cy + ry + rx * 0.16)
        ex, ey = string_to
        ctx.set_line_width(max(1.0, rx * 0.035))
        ctx.set_source_rgba(*string_colour)
        ctx.move_to(*top)
        ctx.curve_to(top[0] + (ex - top[0]) * 0.2 + rx * 0.3, top[1] + (ey - top[1]) * 0.33,
                     top[0] + (ex - top[0]) * 0.6 - rx * 0.3, top[1] + (ey - top[1]) * 0.66, ex, ey)
        ctx.stroke()
    # Knot
    cv.polygon(ctx, [(cx, cy + ry - rx * 0.04), (cx - rx * 0.13, cy + ry + rx * 0.16),
                     (cx + rx * 0.13, cy + ry + rx * 0.16)])
    cv.set_colour(ctx, cv.darker(colour, 0.15))
    ctx.fill()
    balloon_body(ctx, cx, cy, rx, ry)
    ctx.set_source(cv.radial(cx - rx * 0.35, cy - ry * 0.4, rx * 0.05, cx, cy, rx * 1.45,
                             (0, cv.lighter(colour, 0.42)), (0.45, colour), (1, cv.darker(colour, 0.22))))
    ctx.fill()
    if shine:
        ctx.save()
        ctx.translate(cx - rx * 0.42, cy - ry * 0.42)
        ctx.rotate(-0.65)
        cv.ellipse(ctx, 0, 0, rx * 0.13, rx * 0.27)
        ctx.set_source_rgba(1, 1, 1, 0.55)
        ctx.fill()
        ctx.restore()
        ctx.new_sub_path()
        ctx.arc(cx - rx * 0.2, cy - ry * 0.72, rx * 0.05, 0, 2 * math.pi)
        ctx.set_source_rgba(1, 1, 1, 0.5)
        ctx.fill()


def confetti_piece(ctx, x, y, size, colour, kind, angle, alpha=1.0):
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(angle)
    cv.set_colour(ctx, colour, alpha)
    if kind == 0:  # paper strip
        cv.rounded_rect(ctx, -size, -size * 0.32, size * 2, size * 0.64, size * 0.15)
        ctx.fill()
    elif kind == 1:  # dot
        ctx.arc(0, 0, size * 0.55, 0, 2 * math.pi)
        ctx.fill()
    elif kind == 2:  # triangle
        cv.polygon(ctx, [(0, -size * 0.75), (size * 0.7, size * 0.5), (-size * 0.7, size * 0.5)])
        ctx.fill()
    elif kind == 3:  # curl of streamer
        ctx.set_line_width(size * 0.35)
        ctx.move_to(-size * 1.2, 0)
        ctx.curve_to(-size * 0.6, -size * 0.9, 0, size * 0.9, size * 0.6, 0)
        ctx.curve_to(size * 0.9, -size * 0.45, size * 1.1, -size * 0.3, size * 1.3, 0)
        ctx.stroke()
    else:  # little star
        cv.star(ctx, 0, 0, size * 0.85, size * 0.38, roundness=0.15)
        ctx.fill()
    ctx.restore()


def scatter_confetti(ctx, rng, box, count, size_range, colours, kinds=(0, 1, 2, 3, 4), density=None, alpha=1.0):
    """Confetti over box = (x, y, w, h). `density(x, y)` in 0..1 thins it out where it returns low."""
    x0, y0, w, h = box
    placed = 0
    tries = 0
    while placed < count and tries < count * 20:
        tries += 1
        x, y = x0 + rng.uniform(0, w), y0 + rng.uniform(0, h)
        if density and rng.random() > density(x, y):
            continue
        confetti_piece(ctx, x, y, rng.uniform(*size_range), rng.choice(colours), rng.choice(kinds),
                       rng.uniform(0, math.pi * 2), alpha)
        placed += 1


def sparkle(ctx, x, y, r, colour, alpha=1.0):
    """A four-pointed twinkle."""
    k = 0.18
    ctx.move_to(x, y - r)
    ctx.curve_to(x + r * k, y - r * k, x + r * k, y - r * k, x + r, y)
    ctx.curve_to(x + r * k, y + r * k, x + r * k, y + r * k, x, y + r)
    ctx.curve_to(x - r * k, y + r * k, x - r * k, y + r * k, x - r, y)
    ctx.curve_to(x - r * k, y - r * k, x - r * k, y - r * k, x, y - r)
    ctx.close_path()
    cv.set_colour(ctx, colour, alpha)
    ctx.fill()


def bokeh(ctx, x, y, r, colour, alpha):
    """A soft out-of-focus light: bright rim, gentle centre, fading edge."""
    ctx.set_source(cv.radial(x, y, 0, x, y, r,
                             (0, cv.rgb(colour, alpha * 0.55)), (0.8, cv.rgb(colour, alpha * 0.75)),
                             (0.93, cv.rgb(colour, alpha)), (1, cv.rgb(colour, 0))))
    ctx.arc(x, y, r, 0, 2 * math.pi)
    ctx.fill()


def bunting(ctx, x0, y0, x1, y1, sag, flags, colours, flag_h=None, string_colour="#6B6F80"):
    """A garland of pennants hanging from a sagging cord between two points."""
    cx, cy = (x0 + x1) / 2, max(y0, y1) + sag

    def point(t):
        return ((1 - t) ** 2 * x0 + 2 * (1 - t) * t * cx + t * t * x1,
                (1 - t) ** 2 * y0 + 2 * (1 - t) * t * cy + t * t * y1)

    length = math.hypot(x1 - x0, y1 - y0)
    flag_w = length / flags * 0.82
    flag_h = flag_h or flag_w * 1.15
    for i in range(flags):
        ta, tb = (i + 0.09) / flags, (i + 0.91) / flags
        a, b = point(ta), point(tb)
        mid = ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2)
        angle = math.atan2(b[1] - a[1], b[0] - a[0])
        tip = (mid[0] - math.sin(angle) * flag_h, mid[1] + math.cos(angle) * flag_h)
        colour = colours[i % len(colours)]
        cv.polygon(ctx, [a, b, tip])
        ctx.set_source(cv.linear(mid[0], mid[1], tip[0], tip[1], (0, colour), (1, cv.darker(colour, 0.12))))
        ctx.fill()
        # A folded-over hem along the cord gives the pennant some body.
        hem = 0.14
        cv.polygon(ctx, [a, b, (b[0] + (tip[0] - b[0]) * hem, b[1] + (tip[1] - b[1]) * hem),
                         (a[0] + (tip[0] - a[0]) * hem, a[1] + (tip[1] - a[1]) * hem)])
        cv.set_colour(ctx, cv.darker(colour, 0.2), 0.55)
        ctx.fill()
    ctx.set_line_width(max(1.5, flag_w * 0.035))
    cv.set_colour(ctx, string_colour)
    ctx.move_to(x0, y0)
    ctx.curve_to(x0 + (cx - x0) * 2 / 3, y0 + (cy - y0) * 2 / 3, x1 + (cx - x1) * 2 / 3, y1 + (cy - y1) * 2 / 3, x1, y1)
    ctx.stroke()


def leaf(ctx, x, y, length, angle, colour, vein=True):
    """An almond leaf growing from (x, y) in the direction `angle`."""
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(angle)
    w = length * 0.36
    ctx.move_to(0, 0)
    ctx.curve_to(length * 0.3, -w, length * 0.75, -w * 0.8, length, 0)
    ctx.curve_to(length * 0.75, w * 0.8, length * 0.3, w, 0, 0)
    ctx.close_path()
    ctx.set_source(cv.linear(0, -w, 0, w, (0, cv.lighter(colour, 0.15)), (1, cv.darker(colour, 0.12))))
    ctx.fill()
    if vein:
        ctx.set_line_width(max(0.8, length * 0.03))
        cv.set_colour(ctx, cv.lighter(colour, 0.35), 0.8)
        ctx.move_to(length * 0.05, 0)
        ctx.curve_to(length * 0.4, -w * 0.08, length * 0.7, -w * 0.05, length * 0.9, 0)
        ctx.stroke()
    ctx.restore()


def blossom(ctx, cx, cy, r, colour, centre="#FFD166", petals=5, rotation=0.0, petal_ratio=0.62):
    """A round-petalled flower seen from the front."""
    for i in range(petals):
        a = rotation + 2 * math.pi * i / petals
        px, py = cx + math.cos(a) * r * 0.52, cy + math.sin(a) * r * 0.52
        ctx.save()
        ctx.translate(px, py)
        ctx.rotate(a)
        cv.ellipse(ctx, 0, 0, r * 0.5, r * 0.5 * petal_ratio / 0.62 * 0.85)
        ctx.restore()
        ctx.set_source(cv.radial(cx, cy, r * 0.1, cx, cy, r * 1.05,
                                 (0, cv.darker(colour, 0.12)), (0.55, colour), (1, cv.lighter(colour, 0.25))))
        ctx.fill()
    ctx.arc(cx, cy, r * 0.26, 0, 2 * math.pi)
    ctx.set_source(cv.radial(cx - r * 0.08, cy - r * 0.08, 0, cx, cy, r * 0.28,
                             (0, cv.lighter(centre, 0.3)), (1, cv.darker(centre, 0.15))))
    ctx.fill()


def rose(ctx, cx, cy, r, colour):
    """A rose seen from above: overlapping rings of petals closing into a swirl."""
    rings = [(1.0, 7, 0.0), (0.74, 6, 0.35), (0.5, 5, 0.8)]
    for scale, count, rot in rings:
        for i in range(count):
            a = rot + 2 * math.pi * i / count
            ctx.new_sub_path()
            ctx.arc(cx + math.cos(a) * r * scale * 0.42, cy + math.sin(a) * r * scale * 0.42, r * scale * 0.52,
                    0, 2 * math.pi)
        ctx.set_source(cv.radial(cx, cy, 0, cx, cy, r * scale,
                                 (0, cv.darker(colour, 0.25)), (1, cv.lighter(colour, 0.12 * (2 - scale)))))
        ctx.fill()
    ctx.set_line_width(r * 0.06)
    cv.set_colour(ctx, cv.darker(colour, 0.35), 0.7)
    for i in range(3):
        ctx.new_sub_path()
        ctx.arc(cx, cy, r * (0.1 + i * 0.09), i * 1.9, i * 1.9 + 4.2)
        ctx.stroke()
