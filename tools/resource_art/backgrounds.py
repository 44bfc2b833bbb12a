"""Card backgrounds for the gallery: full-bleed pictures at card proportions, busy at the edges
and calm in the middle, where the title and message go."""

import math

import cairo

from . import canvas as cv
from . import shapes

CR80 = (1011, 638)          # 85.6 x 54 mm at 300 dpi
PORTRAIT = (1050, 1500)     # 5 x 7 inch greeting card at 210 dpi
LANDSCAPE = (1500, 1050)


def _vertical(ctx, w, h, top, bottom):
    ctx.set_source(cv.linear(0, 0, 0, h, (0, top), (1, bottom)))
    ctx.paint()


def _vignette(ctx, w, h, colour, alpha):
    ctx.set_source(cv.radial(w / 2, h / 2, min(w, h) * 0.45, w / 2, h / 2, math.hypot(w, h) * 0.6,
                             (0, cv.rgb(colour, 0)), (1, cv.rgb(colour, alpha))))
    ctx.paint()


def _edge_density(w, h, calm=0.55):
    """Thin confetti out towards the centre so text placed there stays legible."""
    def density(x, y):
        d = math.hypot((x - w / 2) / (w / 2), (y - h / 2) / (h / 2))
        return min(1.0, max(0.04, (d - calm) * 2.2))
    return density


def balloon_party(w, h):
    surface, ctx = cv.new_surface(w, h)
    _vertical(ctx, w, h, "#D9EEFF", "#FFEFF4")
    rng = cv.seeded("balloon-party")
    for _ in range(14):
        shapes.bokeh(ctx, rng.uniform(0, w), rng.uniform(0, h), rng.uniform(20, 70) * w / 1011, "#FFFFFF", 0.35)
    s = w / 1011
    left = [(-10, 130, 78, "coral"), (115, 95, 70, "gold"), (60, 265, 72, "teal"), (175, 235, 60, "pink"),
            (-20, 400, 66, "lavender")]
    right = [(1015, 120, 80, "sky"), (895, 90, 66, "rose"), (955, 260, 74, "mint"), (840, 240, 58, "gold"),
             (1035, 395, 64, "coral")]
    for group, anchor in ((left, (130, 700)), (right, (890, 700))):
        for x, y, r, colour in group:
            shapes.balloon(ctx, x * s, y * h / 638, r * s, colour,
                           string_to=(anchor[0] * s, anchor[1] * h / 638))
    shapes.scatter_confetti(ctx, rng, (0, 0, w, h), 90, (4 * s, 9 * s), [cv.PALETTE[c] for c in cv.FESTIVE],
                            density=_edge_density(w, h, 0.5))
    return surface


def confetti_celebration(w, h):
    surface, ctx = cv.new_surface(w, h)
    _vertical(ctx, w, h, "#FFFDF8", "#FFF6EA")
    rng = cv.seeded("confetti-celebration")
    s = w / 1011

    def falling(x, y):
        edge = _edge_density(w, h, 0.45)(x, y)
        return min(1.0, edge * (1.25 - 0.7 * y / h))
    shapes.scatter_confetti(ctx, rng, (-10, -10, w + 20, h + 20), 420, (5 * s, 12 * s),
                            [cv.PALETTE[c] for c in cv.FESTIVE], density=falling)
    for _ in range(40):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        if rng.random() < falling(x, y):
            shapes.sparkle(ctx, x, y, rng.uniform(5, 11) * s, "gold", 0.9)
    return surface


def golden_bokeh(w, h):
    surface, ctx = cv.new_surface(w, h)
    ctx.set_source(cv.linear(0, 0, w, h, (0, "#1B1F3B"), (0.6, "#2E1D45"), (1, "#4A2046")))
    ctx.paint()
    rng = cv.seeded("golden-bokeh")
    s = w / 1011
    golds = ["#FFCF6B", "#FFE7A8", "#F5A85E", "#FFD98A"]
    far, far_ctx = cv.new_surface(w, h)
    for _ in range(45):
        shapes.bokeh(far_ctx, rng.uniform(0, w), rng.uniform(0, h), rng.uniform(25, 70) * s, rng.choice(golds),
                     rng.uniform(0.08, 0.22))
    ctx.set_source_surface(cv.blurred(far, 9 * s))
    ctx.paint()
    near, near_ctx = cv.new_surface(w, h)
    density = _edge_density(w, h, 0.35)
    for _ in range(70):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        if rng.random() < density(x, y):
            shapes.bokeh(near_ctx, x, y, rng.uniform(8, 26) * s, rng.choice(golds), rng.uniform(0.5, 0.9))
    ctx.set_source_surface(cv.blurred(near, 1.5 * s))
    ctx.paint()
    for _ in range(26):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        if rng.random() < density(x, y):
            shapes.sparkle(ctx, x, y, rng.uniform(4, 10) * s, "#FFF1C9", 0.9)
    return surface


def starry_night(w, h):
    surface, ctx = cv.new_surface(w, h)
    _vertical(ctx, w, h, "#0D1537", "#2B3F83")
    rng = cv.seeded("starry-night")
    s = w / 1011
    # A faint milky band across the sky.
    band, bctx = cv.new_surface(w, h)
    for _ in range(260):
        t = rng.random()
        x = t * w
        y = h * (0.75 - 0.55 * t) + rng.gauss(0, h * 0.08)
        bctx.arc(x, y, rng.uniform(10, 40) * s, 0, 2 * math.pi)
        bctx.set_source_rgba(0.75, 0.8, 1.0, 0.035)
        bctx.fill()
    ctx.set_source_surface(cv.blurred(band, 18 * s))
    ctx.paint()
    for _ in range(520):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        r = rng.choice([0.6, 0.8, 1.0, 1.2, 1.6, 2.2]) * s
        ctx.arc(x, y, r, 0, 2 * math.pi)
        ctx.set_source_rgba(1, 1, 1, rng.uniform(0.35, 0.95))
        ctx.fill()
    glow, gctx = cv.new_surface(w, h)
    stars = []
    density = _edge_density(w, h, 0.4)
    while len(stars) < 16:
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        if rng.random() < density(x, y):
            stars.append((x, y, rng.uniform(9, 22) * s, rng.uniform(-0.3, 0.3)))
    for x, y, r, rot in stars:
        cv.star(gctx, x, y, r * 1.6, r * 0.8, rotation=-math.pi / 2 + rot, roundness=0.2)
        gctx.set_source_rgba(1.0, 0.85, 0.45, 0.55)
        gctx.fill()
    ctx.set_source_surface(cv.blurred(glow, 8 * s))
    ctx.paint()
    for x, y, r, rot in stars:
        cv.star(ctx, x, y, r, r * 0.45, rotation=-math.pi / 2 + rot, roundness=0.15)
        ctx.set_source(cv.radial(x - r * 0.3, y - r * 0.3, 0, x, y, r, (0, "#FFF4C2"), (1, "#F2B33D")))
        ctx.fill()
    for _ in range(24):
        shapes.sparkle(ctx, rng.uniform(0, w), rng.uniform(0, h), rng.uniform(4, 9) * s, "#FFFFFF", 0.85)
    return surface


def _silk(ctx, w, h, base, amp, thick, freq, phase, twist, colour, alpha):
    """A twisting ribbon across the card: its width swells and pinches where it turns over."""
    steps = 120
    top, bottom = [], []
    for i in range(steps + 1):
        x = -0.05 * w + 1.1 * w * i / steps
        y = base + amp * math.sin(2 * math.pi * freq * x / w + phase)
        t = thick * (0.15 + 0.85 * abs(math.cos(2 * math.pi * twist * x / w + phase * 0.7)))
        top.append((x, y - t / 2))
        bottom.append((x, y + t / 2))
    cv.polygon(ctx, top + bottom[::-1])
    grad = cairo.LinearGradient(0, 0, w, 0)
    for i in range(9):
        grad.add_color_stop_rgba(i / 8, *cv.rgb(cv.lighter(colour, 0.45) if i % 2 else colour, alpha))
    ctx.set_source(grad)
    ctx.fill()


def pink_ribbons(w, h):
    surface, ctx = cv.new_surface(w, h)
    ctx.set_source(cv.linear(0, 0, w, h, (0, "#FFE1EA"), (0.55, "#FFF4F2"), (1, "#FFE6DA")))
    ctx.paint()
    rng = cv.seeded("pink-ribbons")
    s = w / 1011
    layer, lctx = cv.new_surface(w, h)
    bands = [(0.86, 40, 70, 0.9, 0.3, 1.1, "#F7A1B5", 0.55), (0.9, 34, 52, 1.2, 1.9, 0.8, "#E84A7F", 0.35),
             (0.95, 28, 60, 0.7, 3.1, 1.4, "#FFFFFF", 0.7), (0.1, 30, 56, 0.8, 2.2, 1.0, "#F7A1B5", 0.5),
             (0.06, 24, 40, 1.1, 0.6, 1.3, "#FFFFFF", 0.7), (0.13, 20, 28, 1.3, 4.0, 0.9, "#F4B93E", 0.35)]
    for base, amp, thick, freq, phase, twist, colour, alpha in bands:
        _silk(lctx, w, h, base * h, amp * s, thick * s, freq, phase, twist, colour, alpha)
    ctx.set_source_surface(cv.blurred(layer, 0.8 * s))
    ctx.paint()
    density = _edge_density(w, h, 0.5)
    for _ in range(50):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        if rng.random() < density(x, y):
            shapes.sparkle(ctx, x, y, rng.uniform(4, 9) * s, rng.choice(["#FFFFFF", "#F6C86B"]), 0.9)
    return surface


def _floral_cluster(ctx, s, rng):
    """A corner bouquet drawn around the origin, spreading into +x/+y."""
    for i in range(11):
        a = -0.25 + i * 0.2
        shapes.leaf(ctx, 10 * s, 10 * s, rng.uniform(120, 175) * s, a, rng.choice(["#7FB77E", "#5E9F6B", "#9CCB8F"]))
    for i in range(6):
        a = 0.05 + i * 0.28
        shapes.leaf(ctx, 70 * s, 70 * s, rng.uniform(70, 100) * s, a, "#A8D5A2")
    shapes.rose(ctx, 55 * s, 55 * s, 58 * s, "#F28AA8")
    shapes.rose(ctx, 140 * s, 28 * s, 40 * s, "#FFB48F")
    shapes.rose(ctx, 26 * s, 140 * s, 38 * s, "#E86A92")
    shapes.blossom(ctx, 190 * s, 70 * s, 22 * s, "#FFFFFF", "#F4B93E", rotation=0.3)
    shapes.blossom(ctx, 75 * s, 190 * s, 20 * s, "#FFFFFF", "#F4B93E", rotation=0.8)
    shapes.blossom(ctx, 115 * s, 110 * s, 24 * s, "#FFD6E0", "#E84A7F", rotation=0.1)
    for _ in range(14):
        a = rng.uniform(-0.1, math.pi / 2 + 0.1)
        d = rng.uniform(170, 240) * s
        ctx.arc(math.cos(a) * d, math.sin(a) * d, rng.uniform(2.5, 5) * s, 0, 2 * math.pi)
        cv.set_colour(ctx, rng.choice(["#F4B93E", "#F28AA8", "#B59CF2"]), 0.8)
        ctx.fill()


def floral_corners(w, h):
    surface, ctx = cv.new_surface(w, h)
    _vertical(ctx, w, h, "#FFFAF3", "#FDF3EA")
    s = w / 1011
    ctx.set_line_width(2 * s)
    cv.set_colour(ctx, "#D9B26A")
    cv.rounded_rect(ctx, 28 * s, 28 * s, w - 56 * s, h - 56 * s, 14 * s)
    ctx.stroke()
    ctx.set_line_width(1 * s)
    cv.rounded_rect(ctx, 36 * s, 36 * s, w - 72 * s, h - 72 * s, 10 * s)
    ctx.stroke()
    rng = cv.seeded("floral-corners")
    _floral_cluster(ctx, s * 1.45, rng)
    ctx.save()
    ctx.translate(w, h)
    ctx.rotate(math.pi)
    _floral_cluster(ctx, s * 1.45, rng)
    ctx.restore()
    return surface


def _deform(points, depth, variance, rng):
    """Splits every edge at a randomly pushed midpoint, again and again: an organic, ragged rim."""
    for _ in range(depth):
        out = []
        for i, a in enumerate(points):
            b = points[(i + 1) % len(points)]
            length = math.hypot(b[0] - a[0], b[1] - a[1])
            out.append(a)
            out.append(((a[0] + b[0]) / 2 + rng.gauss(0, length * variance),
                        (a[1] + b[1]) / 2 + rng.gauss(0, length * variance)))
        points = out
    return points


def _wash_blob(ctx, rng, cx, cy, r, colour, layers=22):
    """Watercolour pigment: many faint layers of one ragged shape, each deformed a little
    differently, pool into a wash with a darker, irregular edge."""
    base = [(cx + math.cos(2 * math.pi * i / 10) * r, cy + math.sin(2 * math.pi * i / 10) * r) for i in range(10)]
    base = _deform(base, 3, 0.22, rng)
    for _ in range(layers):
        cv.polygon(ctx, _deform(base, 3, 0.16, rng))
        cv.set_colour(ctx, colour, 0.045)
        ctx.fill()


def watercolour_blush(w, h):
    surface, ctx = cv.new_surface(w, h)
    ctx.set_source_rgb(1, 0.995, 0.985)
    ctx.paint()
    rng = cv.seeded("watercolour-blush")
    s = w / 1011
    wash, wctx = cv.new_surface(w, h)
    spots = [(0.02, 0.05, 260, "#F7A1B5"), (0.2, -0.05, 170, "#FFC3A0"), (-0.05, 0.45, 170, "#C9B6F2"),
             (0.98, 0.98, 270, "#F7A1B5"), (0.78, 1.05, 180, "#C9B6F2"), (1.05, 0.55, 160, "#FFC3A0"),
             (0.95, 0.05, 120, "#B8E0D2"), (0.06, 0.98, 120, "#B8E0D2")]
    for fx, fy, r, colour in spots:
        for _ in range(2):
            _wash_blob(wctx, rng, fx * w + rng.uniform(-40, 40) * s, fy * h + rng.uniform(-40, 40) * s,
                       r * s * rng.uniform(0.7, 1.0), colour)
    ctx.set_source_surface(cv.blurred(wash, 1.5 * s))
    ctx.paint()
    # Speckles of pigment flicked from the brush.
    for _ in range(120):
        fx, fy, r, colour = rng.choice(spots)
        a = rng.uniform(0, 2 * math.pi)
        d = rng.uniform(0.8, 1.6) * r * s
        ctx.arc(fx * w + math.cos(a) * d, fy * h + math.sin(a) * d, rng.uniform(1, 4) * s, 0, 2 * math.pi)
        cv.set_colour(ctx, colour, rng.uniform(0.25, 0.6))
        ctx.fill()
    for _ in range(12):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        if rng.random() < _edge_density(w, h, 0.6)(x, y):
            shapes.sparkle(ctx, x, y, rng.uniform(5, 9) * s, "#E2B65A", 0.9)
    return surface


def pastel_waves(w, h):
    surface, ctx = cv.new_surface(w, h)
    _vertical(ctx, w, h, "#FFF6EC", "#FDE8EC")
    s = w / 1011
    rng = cv.seeded("pastel-waves")
    layers = [("#B8E0D2", 0.70, 0.0), ("#95D5C8", 0.77, 1.3), ("#9BC7EE", 0.84, 2.1), ("#C3B1F0", 0.91, 3.0)]
    for colour, base, phase in layers:
        ctx.move_to(0, h)
        steps = 60
        for i in range(steps + 1):
            x = w * i / steps
            y = h * base + math.sin(x / w * 2 * math.pi * 1.3 + phase) * 22 * s + math.sin(x / w * 9 + phase) * 6 * s
            ctx.line_to(x, y)
        ctx.line_to(w, h)
        ctx.close_path()
        ctx.set_source(cv.linear(0, h * base - 30 * s, 0, h, (0, colour), (1, cv.darker(colour, 0.08))))
        ctx.fill()
    for colour, base, phase in (("#FFD6C9", 0.16, 0.5), ("#FBC4D4", 0.09, 1.7)):
        ctx.move_to(0, 0)
        for i in range(61):
            x = w * i / 60
            ctx.line_to(x, h * base + math.sin(x / w * 2 * math.pi * 1.1 + phase) * 18 * s)
        ctx.line_to(w, 0)
        ctx.close_path()
        cv.set_colour(ctx, colour, 0.9)
        ctx.fill()
    for _ in range(24):
        x, y = rng.uniform(0, w), rng.uniform(h * 0.2, h * 0.7)
        ctx.arc(x, y, rng.uniform(2, 6) * s, 0, 2 * math.pi)
        cv.set_colour(ctx, rng.choice(["#F4B93E", "#FF8FB1", "#5AA9E6", "#4CD6A8"]), 0.55)
        if rng.random() < _edge_density(w, h, 0.55)(x, y):
            ctx.fill()
        else:
            ctx.new_path()
    return surface


def polka_dot_frame(w, h):
    surface, ctx = cv.new_surface(w, h)
    s = w / 1011
    ctx.set_source(cv.linear(0, 0, w, h, (0, "#FF7E8F"), (1, "#FF9F80")))
    ctx.paint()
    step = 42 * s
    row = 0
    y = 0.0
    while y < h + step:
        x = (step / 2 if row % 2 else 0)
        while x < w + step:
            ctx.new_sub_path()
            ctx.arc(x, y, 7 * s, 0, 2 * math.pi)
            x += step
        y += step * 0.866
        row += 1
    ctx.set_source_rgba(1, 1, 1, 0.55)
    ctx.fill()
    inset = 48 * s
    # Soft shadow under the paper panel.
    shadow, sctx = cv.new_surface(w, h)
    cv.rounded_rect(sctx, inset + 4 * s, inset + 8 * s, w - 2 * inset, h - 2 * inset, 26 * s)
    sctx.set_source_rgba(0.45, 0.1, 0.15, 0.35)
    sctx.fill()
    ctx.set_source_surface(cv.blurred(shadow, 10 * s))
    ctx.paint()
    cv.rounded_rect(ctx, inset, inset, w - 2 * inset, h - 2 * inset, 26 * s)
    cv.set_colour(ctx, "#FFFBF5")
    ctx.fill()
    ctx.set_dash([10 * s, 8 * s])
    ctx.set_line_width(2.2 * s)
    cv.rounded_rect(ctx, inset + 14 * s, inset + 14 * s, w - 2 * inset - 28 * s, h - 2 * inset - 28 * s, 16 * s)
    cv.set_colour(ctx, "#FF8FA3")
    ctx.stroke()
    ctx.set_dash([])
    return surface


def birthday_bunting(w, h):
    surface, ctx = cv.new_surface(w, h)
    s = w / 1011
    _vertical(ctx, w, h, "#FFF8EA", "#FFF1E0")
    # Faint paper stripes.
    for i in range(0, int(w), int(36 * s)):
        ctx.rectangle(i, 0, 18 * s, h)
    ctx.set_source_rgba(1, 1, 1, 0.45)
    ctx.fill()
    colours = [cv.PALETTE[c] for c in ("coral", "gold", "teal", "pink", "mint", "lavender", "sky")]
    # Two swags hanging from one pin at the top centre.
    shapes.bunting(ctx, -30 * s, 10 * s, w / 2, 4 * s, 100 * s, 8, colours)
    shapes.bunting(ctx, w / 2, 4 * s, w + 30 * s, 10 * s, 100 * s, 8, colours[4:] + colours[:4])
    ctx.arc(w / 2, 6 * s, 7 * s, 0, 2 * math.pi)
    cv.set_colour(ctx, "#C9A24A")
    ctx.fill()
    rng = cv.seeded("birthday-bunting")

    def lower(x, y):
        return max(0.0, (y / h - 0.55) * 2.0) * _edge_density(w, h, 0.35)(x, y)
    shapes.scatter_confetti(ctx, rng, (0, 0, w, h), 120, (4 * s, 9 * s), colours, density=lower)
    return surface


def sunburst(w, h):
    surface, ctx = cv.new_surface(w, h)
    cx, cy = w / 2, h * 0.46
    reach = math.hypot(w, h)
    ctx.set_source_rgb(*cv.rgb("#FFD166")[:3])
    ctx.paint()
    rays = 28
    for i in range(rays):
        if i % 2:
            continue
        a0 = 2 * math.pi * i / rays
        a1 = 2 * math.pi * (i + 1) / rays
        ctx.move_to(cx, cy)
        ctx.line_to(cx + math.cos(a0) * reach, cy + math.sin(a0) * reach)
        ctx.line_to(cx + math.cos(a1) * reach, cy + math.sin(a1) * reach)
        ctx.close_path()
    cv.set_colour(ctx, "#FFC23D")
    ctx.fill()
    ctx.set_source(cv.radial(cx, cy, 0, cx, cy, reach * 0.6, (0, cv.rgb("#FFFBEA", 0.95)),
                             (0.35, cv.rgb("#FFF3C4", 0.5)), (1, cv.rgb("#FFF3C4", 0))))
    ctx.paint()
    _vignette(ctx, w, h, "#F08A3C", 0.55)
    rng = cv.seeded("sunburst")
    s = w / 1011
    shapes.scatter_confetti(ctx, rng, (0, 0, w, h), 110, (5 * s, 10 * s),
                            [cv.PALETTE[c] for c in ("coral", "teal", "purple", "rose", "sky", "mint")],
                            density=_edge_density(w, h, 0.6))
    return surface


def hanging_stars(w, h):
    surface, ctx = cv.new_surface(w, h)
    ctx.set_source(cv.linear(0, 0, 0, h, (0, "#E9E2FF"), (0.6, "#FBF8FF"), (1, "#FFF4F7")))
    ctx.paint()
    s = w / 1050
    rng = cv.seeded("hanging-stars")
    drops = [(0.08, 0.2), (0.17, 0.34), (0.27, 0.15), (0.36, 0.27), (0.64, 0.22), (0.73, 0.36), (0.83, 0.16),
             (0.92, 0.3), (0.5, 0.1)]
    for fx, fy in drops:
        x, y = fx * w, fy * h
        r = rng.uniform(42, 62) * s
        ctx.set_line_width(1.5 * s)
        ctx.set_source_rgba(0.6, 0.55, 0.45, 0.7)
        ctx.move_to(x, 0)
        ctx.line_to(x, y - r * 0.9)
        ctx.stroke()
        rot = -math.pi / 2 + rng.uniform(-0.2, 0.2)
        cv.star(ctx, x + 3 * s, y + 5 * s, r, r * 0.48, rotation=rot, roundness=0.18)
        ctx.set_source_rgba(0.4, 0.3, 0.5, 0.15)
        ctx.fill()
        cv.star(ctx, x, y, r, r * 0.48, rotation=rot, roundness=0.18)
        ctx.set_source(cv.linear(x - r, y - r, x + r, y + r, (0, "#FFE9A8"), (0.5, "#F4C04F"), (1, "#D99A2B")))
        ctx.fill()
    for _ in range(40):
        x, y = rng.uniform(0, w), rng.uniform(h * 0.35, h)
        if rng.random() < _edge_density(w, h, 0.6)(x, y):
            shapes.sparkle(ctx, x, y, rng.uniform(5, 11) * s, rng.choice(["#F4C04F", "#B59CF2"]), 0.85)
    shapes.scatter_confetti(ctx, rng, (0, h * 0.75, w, h * 0.25), 50, (5 * s, 10 * s),
                            ["#B59CF2", "#F4C04F", "#FF8FB1", "#8ED1FC"], kinds=(0, 1, 2))
    return surface


def balloon_bouquet(w, h):
    surface, ctx = cv.new_surface(w, h)
    _vertical(ctx, w, h, "#FFF9F1", "#FFEFE6")
    s = w / 1050
    rng = cv.seeded("balloon-bouquet")
    for _ in range(12):
        shapes.bokeh(ctx, rng.uniform(0, w), rng.uniform(0, h), rng.uniform(30, 90) * s, "#FFD6C9", 0.35)
    knot = (w * 0.78, h * 0.62)
    bunch = [(0.70, 0.17, 95, "gold"), (0.88, 0.13, 90, "coral"), (0.98, 0.30, 86, "pink"), (0.60, 0.31, 88, "teal"),
             (0.80, 0.32, 96, "rose"), (0.69, 0.46, 80, "lavender"), (0.91, 0.47, 82, "mint")]
    for fx, fy, r, colour in bunch:
        shapes.balloon(ctx, fx * w, fy * h, r * s, colour, string_to=knot)
    # A ribbon bow where the strings meet.
    kx, ky = knot
    for side in (-1, 1):
        ctx.move_to(kx, ky)
        ctx.curve_to(kx + side * 60 * s, ky - 50 * s, kx + side * 75 * s, ky + 20 * s, kx, ky)
        cv.set_colour(ctx, "#E84A7F")
        ctx.fill()
        ctx.move_to(kx, ky)
        ctx.curve_to(kx + side * 30 * s, ky + 60 * s, kx + side * 10 * s, ky + 110 * s, kx + side * 40 * s, ky + 160 * s)
        ctx.set_line_width(8 * s)
        ctx.stroke()
    ctx.arc(kx, ky, 10 * s, 0, 2 * math.pi)
    cv.set_colour(ctx, "#C93A6C")
    ctx.fill()
    shapes.scatter_confetti(ctx, rng, (0, 0, w, h), 80, (6 * s, 12 * s), [cv.PALETTE[c] for c in cv.FESTIVE],
                            density=lambda x, y: 0.9 if (x < w * 0.12 or y > h * 0.82 or y < h * 0.08) else 0.05)
    return surface


def garden_party(w, h):
    surface, ctx = cv.new_surface(w, h)
    ctx.set_source(cv.linear(0, 0, w, h, (0, "#F1F7EE"), (1, "#FBF8EF")))
    ctx.paint()
    s = w / 1500 * 1.5
    rng = cv.seeded("garden-party")

    def branch(x, y, angle, length, leaves):
        ex, ey = x + math.cos(angle) * length, y + math.sin(angle) * length
        ctx.set_line_width(5 * s)
        cv.set_colour(ctx, "#6E8B5A")
        ctx.move_to(x, y)
        ctx.curve_to(x + math.cos(angle + 0.2) * length * 0.4, y + math.sin(angle + 0.2) * length * 0.4,
                     x + math.cos(angle - 0.15) * length * 0.7, y + math.sin(angle - 0.15) * length * 0.7, ex, ey)
        ctx.stroke()
        for i in range(leaves):
            t = (i + 1) / (leaves + 1)
            px, py = x + (ex - x) * t, y + (ey - y) * t
            side = 1 if i % 2 else -1
            shapes.leaf(ctx, px, py, rng.uniform(55, 80) * s * (1.1 - t * 0.4), angle + side * 0.8,
                        rng.choice(["#6FAF6B", "#88C17E", "#5C9A63"]))
    for a, l in ((0.15, 420), (0.55, 380), (0.95, 300), (0.35, 520)):
        branch(-20 * s, -20 * s, a, l * s, 9)
    for a, l in ((math.pi + 0.15, 420), (math.pi + 0.55, 380), (math.pi + 0.95, 300), (math.pi + 0.35, 520)):
        branch(w + 20 * s, h + 20 * s, a, l * s, 9)
    for x, y, r, c in ((150, 110, 48, "#F7A1B5"), (260, 60, 36, "#FFFFFF"), (70, 250, 40, "#FFC3A0"),
                       (330, 190, 30, "#F7A1B5"), (200, 230, 26, "#C9B6F2")):
        shapes.blossom(ctx, x * s, y * s, r * s, c, "#F4B93E", rotation=rng.uniform(0, 1))
        shapes.blossom(ctx, w - x * s, h - y * s, r * s, c, "#F4B93E", rotation=rng.uniform(0, 1))
    ctx.set_line_width(1.5 * s)
    cv.set_colour(ctx, "#B7A36A")
    cv.rounded_rect(ctx, 40 * s, 40 * s, w - 80 * s, h - 80 * s, 14 * s)
    ctx.stroke()
    return surface


# File names are the titles shown under the thumbnails.
BACKGROUNDS = [
    ("Balloon Party", CR80, balloon_party),
    ("Confetti Celebration", CR80, confetti_celebration),
    ("Golden Bokeh", CR80, golden_bokeh),
    ("Starry Night", CR80, starry_night),
    ("Pink Ribbons", CR80, pink_ribbons),
    ("Floral Corners", CR80, floral_corners),
    ("Watercolour Blush", CR80, watercolour_blush),
    ("Pastel Waves", CR80, pastel_waves),
    ("Polka Dot Frame", CR80, polka_dot_frame),
    ("Birthday Bunting", CR80, birthday_bunting),
    ("Sunburst", CR80, sunburst),
    ("Hanging Stars", PORTRAIT, hanging_stars),
    ("Balloon Bouquet", PORTRAIT, balloon_bouquet),
    ("Garden Party", LANDSCAPE, garden_party),
]


def draw_all(out_dir, only=None):
    paths = []
    for name, (w, h), draw in BACKGROUNDS:
        if only and name not in only:
            continue
        path = f"{out_dir}/{name}.jpg"
        cv.save_jpeg(draw(w, h), path, quality=87)
        paths.append(path)
    return paths
