"""Library pictures: transparent, flat-shaded illustrations in category folders.

Each picture is drawn on a 512-unit square (text art on a wider canvas) inside a generous
transparent border, then cropped to what was drawn plus a small margin: nothing is cut off at the
edge, and a picture dropped on a card is no bigger than it looks.
"""

import math

import cairo

from . import canvas as cv
from . import shapes

SIZE = 512


def _shadow(ctx, cx, cy, rx, ry, alpha=0.14):
    ctx.set_source(cv.radial(cx, cy, 0, cx, cy, rx, (0, cv.rgb("#2F3B52", alpha)), (1, cv.rgb("#2F3B52", 0))))
    ctx.save()
    ctx.translate(cx, cy)
    ctx.scale(1, ry / rx)
    ctx.arc(0, 0, rx, 0, 2 * math.pi)
    ctx.restore()
    ctx.fill()


def _flame(ctx, x, y, size):
    """A candle flame whose base sits at (x, y)."""
    ctx.move_to(x, y)
    ctx.curve_to(x - size * 0.55, y - size * 0.2, x - size * 0.2, y - size * 0.8, x, y - size * 1.25)
    ctx.curve_to(x + size * 0.2, y - size * 0.8, x + size * 0.55, y - size * 0.2, x, y)
    ctx.close_path()
    ctx.set_source(cv.linear(x, y, x, y - size * 1.25, (0, "#FF8A3D"), (0.5, "#FFC145"), (1, "#FFE9A6")))
    ctx.fill()
    cv.ellipse(ctx, x, y - size * 0.3, size * 0.14, size * 0.28)
    ctx.set_source_rgba(1, 1, 1, 0.7)
    ctx.fill()


def _candle(ctx, x, y_bottom, height, width, colour):
    cv.rounded_rect(ctx, x - width / 2, y_bottom - height, width, height, width * 0.25)
    ctx.set_source(cv.linear(x - width / 2, 0, x + width / 2, 0, (0, cv.lighter(colour, 0.25)), (1, colour)))
    ctx.fill()
    ctx.save()
    cv.rounded_rect(ctx, x - width / 2, y_bottom - height, width, height, width * 0.25)
    ctx.clip()
    ctx.set_source_rgba(1, 1, 1, 0.6)
    ctx.set_line_width(width * 0.28)
    for i in range(-2, int(height / width) + 3):
        ctx.move_to(x - width, y_bottom - height + i * width * 0.9)
        ctx.line_to(x + width, y_bottom - height + i * width * 0.9 - width * 0.9)
    ctx.stroke()
    ctx.restore()
    ctx.set_line_width(2.5)
    cv.set_colour(ctx, "#4A4A4A")
    ctx.move_to(x, y_bottom - height)
    ctx.line_to(x, y_bottom - height - width * 0.35)
    ctx.stroke()
    _flame(ctx, x, y_bottom - height - width * 0.25, width * 1.25)


def _sprinkles(ctx, rng, box, count, clip_path=None):
    x0, y0, w, h = box
    for _ in range(count):
        x, y = x0 + rng.uniform(0, w), y0 + rng.uniform(0, h)
        ctx.save()
        ctx.translate(x, y)
        ctx.rotate(rng.uniform(0, math.pi))
        cv.rounded_rect(ctx, -7, -2.2, 14, 4.4, 2.2)
        cv.set_colour(ctx, rng.choice(["#FF6B6B", "#FFD166", "#4CD6A8", "#5AA9E6", "#B59CF2", "#FFFFFF"]))
        ctx.fill()
        ctx.restore()


# --- Balloons ------------------------------------------------------------------------------------

def red_balloon(ctx):
    shapes.balloon(ctx, 256, 170, 120, "coral", string_to=(250, 505))


def balloon_trio(ctx):
    knot = (256, 430)
    shapes.balloon(ctx, 150, 170, 88, "gold", string_to=knot)
    shapes.balloon(ctx, 362, 165, 88, "teal", string_to=knot)
    shapes.balloon(ctx, 256, 125, 95, "pink", string_to=knot)
    _bow(ctx, knot[0], knot[1], 38, "#E84A7F")


def _foil(ctx, path, colour, x0, y0, x1, y1):
    """Metallic foil: banded light across the shape and a bright rim."""
    path()
    ctx.set_source(cv.linear(x0, y0, x1, y1, (0, cv.lighter(colour, 0.35)), (0.35, colour),
                             (0.55, cv.lighter(colour, 0.5)), (0.75, colour), (1, cv.darker(colour, 0.25))))
    ctx.fill_preserve()
    ctx.set_line_width(6)
    cv.set_colour(ctx, cv.darker(colour, 0.18))
    ctx.stroke()


def heart_balloon(ctx):
    ctx.set_line_width(3)
    ctx.set_source_rgba(0.45, 0.45, 0.5, 0.8)
    ctx.move_to(256, 360)
    ctx.curve_to(290, 410, 220, 450, 256, 505)
    ctx.stroke()
    _foil(ctx, lambda: cv.heart(ctx, 256, 200, 330), "#FF4F7B", 90, 40, 420, 360)
    ctx.save()
    ctx.translate(170, 130)
    ctx.rotate(-0.7)
    cv.ellipse(ctx, 0, 0, 24, 50)
    ctx.set_source_rgba(1, 1, 1, 0.55)
    ctx.fill()
    ctx.restore()
    cv.polygon(ctx, [(256, 352), (244, 368), (268, 368)])
    cv.set_colour(ctx, "#C9335A")
    ctx.fill()


def star_balloon(ctx):
    ctx.set_line_width(3)
    ctx.set_source_rgba(0.45, 0.45, 0.5, 0.8)
    ctx.move_to(256, 355)
    ctx.curve_to(225, 400, 290, 450, 256, 505)
    ctx.stroke()
    _foil(ctx, lambda: cv.star(ctx, 256, 200, 175, 85, roundness=0.22), "#F4B93E", 100, 40, 410, 360)
    cv.star(ctx, 256, 200, 110, 52, roundness=0.22)
    ctx.set_source_rgba(1, 1, 1, 0.22)
    ctx.fill()
    shapes.sparkle(ctx, 175, 120, 22, "#FFFFFF", 0.9)


def balloon_bunch(ctx):
    knot = (256, 440)
    bunch = [(160, 210, 70, "lavender"), (352, 210, 70, "mint"), (200, 120, 72, "gold"), (312, 118, 72, "coral"),
             (256, 200, 76, "sky"), (120, 110, 60, "pink"), (392, 110, 60, "rose")]
    for x, y, r, c in bunch:
        shapes.balloon(ctx, x, y, r, c, string_to=knot)
    _bow(ctx, knot[0], knot[1], 34, "#7B5CD6")


def hot_air_balloon(ctx):
    cx, cy, r = 256, 190, 160
    # Envelope: alternating gores clipped to the balloon's outline.
    ctx.save()
    shapes.balloon_body(ctx, cx, cy, r, r * 1.1)
    ctx.clip()
    colours = ["#FF6B6B", "#FFD166", "#4CD6A8", "#5AA9E6", "#FF6B6B", "#FFD166", "#4CD6A8"]
    for i, c in enumerate(colours):
        x0 = cx - r + i * (2 * r / len(colours))
        x1 = x0 + 2 * r / len(colours)
        ctx.move_to(cx, cy - r * 1.2)
        ctx.curve_to(x0 - (cx - x0) * 0.35, cy - r * 0.6, x0 - (cx - x0) * 0.35, cy + r * 0.4, cx + (x0 - cx) * 0.15,
                     cy + r * 1.2)
        ctx.line_to(cx + (x1 - cx) * 0.15, cy + r * 1.2)
        ctx.curve_to(x1 + (x1 - cx) * 0.35, cy + r * 0.4, x1 + (x1 - cx) * 0.35, cy - r * 0.6, cx, cy - r * 1.2)
        ctx.close_path()
        cv.set_colour(ctx, c)
        ctx.fill()
    ctx.set_source(cv.radial(cx - r * 0.4, cy - r * 0.5, 0, cx, cy, r * 1.4, (0, cv.rgb("#FFFFFF", 0.35)),
                             (0.5, cv.rgb("#FFFFFF", 0)), (1, cv.rgb("#000000", 0.18))))
    ctx.paint()
    ctx.restore()
    ctx.set_line_width(3)
    cv.set_colour(ctx, "#8A5A3C")
    for dx in (-36, 36):
        ctx.move_to(cx + dx * 1.3, cy + r * 1.08)
        ctx.line_to(cx + dx, 420)
    ctx.stroke()
    cv.rounded_rect(ctx, cx - 44, 410, 88, 62, 10)
    ctx.set_source(cv.linear(0, 410, 0, 472, (0, "#C68B59"), (1, "#8A5A3C")))
    ctx.fill()
    ctx.set_line_width(2)
    cv.set_colour(ctx, "#6E4529")
    for y in (430, 450):
        ctx.move_to(cx - 44, y)
        ctx.line_to(cx + 44, y)
    ctx.stroke()


# --- Cakes ---------------------------------------------------------------------------------------

def _drip_top(ctx, x, y, w, depth, rng, colour):
    """Icing poured over the top edge of a tier, running down in rounded drips."""
    ctx.move_to(x, y - 6)
    ctx.line_to(x + w, y - 6)
    ctx.line_to(x + w, y + depth * 0.4)
    n = 9
    step = w / n
    for i in range(n, 0, -1):
        xr = x + i * step
        xl = xr - step
        d = depth * rng.uniform(0.6, 1.25)
        ctx.curve_to(xr, y + depth * 0.4, xr - step * 0.1, y + d, xr - step * 0.5, y + d)
        ctx.curve_to(xl + step * 0.1, y + d, xl, y + depth * 0.4, xl, y + depth * 0.4)
    ctx.close_path()
    cv.set_colour(ctx, colour)
    ctx.fill()


def birthday_cake(ctx):
    rng = cv.seeded("birthday-cake")
    _shadow(ctx, 256, 470, 210, 22)
    # Stand
    cv.ellipse(ctx, 256, 440, 200, 22)
    cv.set_colour(ctx, "#E7E9F0")
    ctx.fill()
    cv.rounded_rect(ctx, 236, 440, 40, 28, 6)
    cv.set_colour(ctx, "#D5D9E4")
    ctx.fill()
    # Bottom tier
    cv.rounded_rect(ctx, 86, 300, 340, 140, 16)
    ctx.set_source(cv.linear(86, 0, 426, 0, (0, "#FF9BB5"), (0.5, "#FFB3C6"), (1, "#F27C9C")))
    ctx.fill()
    _drip_top(ctx, 86, 306, 340, 42, rng, "#FFFFFF")
    for i in range(9):
        ctx.arc(110 + i * 36.5, 432, 14, math.pi, 2 * math.pi)
        cv.set_colour(ctx, "#FFF2F5")
        ctx.fill()
    # Top tier
    cv.rounded_rect(ctx, 146, 200, 220, 108, 14)
    ctx.set_source(cv.linear(146, 0, 366, 0, (0, "#8FD9C8"), (0.5, "#A8E6D7"), (1, "#6CC7B3")))
    ctx.fill()
    _drip_top(ctx, 146, 206, 220, 34, rng, "#FFFFFF")
    _sprinkles(ctx, rng, (160, 250, 190, 40), 16)
    _sprinkles(ctx, rng, (104, 360, 300, 50), 26)
    for i, c in enumerate(["#FFD166", "#5AA9E6", "#FF6B6B", "#B59CF2", "#4CD6A8"]):
        _candle(ctx, 186 + i * 35, 204, 70, 18, c)


def cupcake(ctx):
    _shadow(ctx, 256, 478, 130, 16)
    # Wrapper with pleats
    cv.polygon(ctx, [(140, 300), (372, 300), (340, 470), (172, 470)])
    ctx.set_source(cv.linear(140, 0, 372, 0, (0, "#5AA9E6"), (0.5, "#7EC0F0"), (1, "#3D8CD0")))
    ctx.fill()
    ctx.set_line_width(5)
    ctx.set_source_rgba(1, 1, 1, 0.35)
    for i in range(1, 8):
        t = i / 8
        ctx.move_to(140 + 232 * t, 300)
        ctx.line_to(172 + 168 * t, 470)
    ctx.stroke()
    # Frosting swirl: stacked rounded rings narrowing to a peak.
    rings = [(256, 300, 135, 40), (256, 262, 112, 36), (256, 228, 86, 32), (256, 198, 58, 28)]
    for i, (x, y, rx, ry) in enumerate(rings):
        cv.ellipse(ctx, x, y, rx, ry)
        ctx.set_source(cv.linear(0, y - ry, 0, y + ry, (0, "#FFE3EC"), (1, "#FF9BB5")))
        ctx.fill()
    ctx.move_to(226, 190)
    ctx.curve_to(236, 150, 266, 140, 276, 120)
    ctx.curve_to(290, 150, 300, 175, 286, 192)
    ctx.close_path()
    ctx.set_source(cv.linear(0, 120, 0, 195, (0, "#FFE3EC"), (1, "#FFB3C6")))
    ctx.fill()
    rng = cv.seeded("cupcake")
    _sprinkles(ctx, rng, (150, 215, 210, 90), 22)
    # Cherry
    ctx.set_line_width(4)
    cv.set_colour(ctx, "#5B8C3A")
    ctx.move_to(282, 104)
    ctx.curve_to(290, 80, 305, 70, 318, 62)
    ctx.stroke()
    ctx.arc(278, 112, 22, 0, 2 * math.pi)
    ctx.set_source(cv.radial(270, 104, 2, 278, 112, 22, (0, "#FF8A8A"), (1, "#D62839")))
    ctx.fill()


def cake_slice(ctx):
    _shadow(ctx, 250, 440, 200, 24)
    # Plate
    cv.ellipse(ctx, 250, 430, 210, 38)
    cv.set_colour(ctx, "#F1F3F8")
    ctx.fill()
    cv.ellipse(ctx, 250, 426, 170, 28)
    cv.set_colour(ctx, "#E3E7EF")
    ctx.fill()
    # Side face with layers
    layers = ["#F6D7A7", "#FF9BB5", "#F6D7A7", "#FF9BB5", "#F6D7A7"]
    for i, c in enumerate(layers):
        t0, t1 = i / len(layers), (i + 1) / len(layers)
        cv.polygon(ctx, [(110, 250 + 130 * t0), (400, 290 + 130 * t0), (400, 290 + 130 * t1), (110, 250 + 130 * t1)])
        cv.set_colour(ctx, c)
        ctx.fill()
    # Top face
    cv.polygon(ctx, [(110, 250), (400, 290), (440, 230), (230, 170)])
    cv.set_colour(ctx, "#FFF3F6")
    ctx.fill()
    cv.polygon(ctx, [(110, 250), (400, 290), (400, 306), (110, 266)])
    cv.set_colour(ctx, "#FFFFFF")
    ctx.fill()
    # Back side in shade
    cv.polygon(ctx, [(400, 290), (440, 230), (440, 360), (400, 420)])
    cv.set_colour(ctx, "#E7B9C5")
    ctx.fill()
    # Whipped cream and strawberry
    for x, y in ((250, 200), (330, 220), (180, 215)):
        cv.ellipse(ctx, x, y, 30, 18)
        cv.set_colour(ctx, "#FFFFFF")
        ctx.fill()
    ctx.move_to(280, 200)
    ctx.curve_to(240, 150, 270, 110, 300, 120)
    ctx.curve_to(330, 110, 350, 150, 280, 200)
    ctx.set_source(cv.radial(290, 140, 4, 290, 150, 60, (0, "#FF6F7D"), (1, "#D62839")))
    ctx.fill()
    for x, y in ((285, 140), (300, 155), (310, 135), (292, 170)):
        cv.ellipse(ctx, x, y, 2.5, 4)
        cv.set_colour(ctx, "#FFE08A")
        ctx.fill()
    for a in (-0.9, -0.3, 0.3):
        shapes.leaf(ctx, 300, 122, 28, -math.pi / 2 + a, "#5DBB63", vein=False)


def chocolate_cake(ctx):
    rng = cv.seeded("chocolate-cake")
    _shadow(ctx, 256, 455, 200, 20)
    cv.ellipse(ctx, 256, 430, 190, 24)
    cv.set_colour(ctx, "#E9ECF2")
    ctx.fill()
    cv.rounded_rect(ctx, 96, 250, 320, 180, 18)
    ctx.set_source(cv.linear(96, 0, 416, 0, (0, "#7A4B32"), (0.5, "#8E5A3C"), (1, "#5B3A29")))
    ctx.fill()
    _drip_top(ctx, 96, 256, 320, 60, rng, "#4A2C1E")
    ctx.set_line_width(6)
    ctx.set_source_rgba(1, 1, 1, 0.25)
    ctx.move_to(112, 340)
    ctx.line_to(112, 410)
    ctx.stroke()
    for x in (150, 220, 292, 362):
        ctx.move_to(x, 262)
        ctx.curve_to(x - 30, 215, x - 5, 180, x + 5, 190)
        ctx.curve_to(x + 15, 180, x + 40, 215, x, 262)
        ctx.set_source(cv.radial(x, 215, 4, x, 225, 45, (0, "#FF6F7D"), (1, "#D62839")))
        ctx.fill()
        for a in (-0.7, 0, 0.7):
            shapes.leaf(ctx, x + 5, 192, 20, -math.pi / 2 + a, "#5DBB63", vein=False)
    _candle(ctx, 256, 236, 96, 22, "#FFD166")


def candles(ctx):
    _shadow(ctx, 256, 470, 150, 16)
    for x, h, c in ((166, 250, "#FF8FB1"), (256, 320, "#5AA9E6"), (346, 220, "#4CD6A8")):
        _candle(ctx, x, 460, h, 46, c)
    shapes.sparkle(ctx, 110, 150, 20, "#F4B93E")
    shapes.sparkle(ctx, 410, 120, 16, "#F4B93E")
    shapes.sparkle(ctx, 400, 230, 10, "#F4B93E")


def donut(ctx):
    rng = cv.seeded("donut")
    _shadow(ctx, 256, 420, 190, 26)
    cv.ellipse(ctx, 256, 270, 200, 150)
    ctx.set_source(cv.radial(230, 230, 20, 256, 270, 220, (0, "#F2C48D"), (1, "#C98B4E")))
    ctx.fill()
    # Glaze with wavy edge
    ctx.move_to(256 + 180, 260)
    for i in range(1, 121):
        a = 2 * math.pi * i / 120
        r = 178 + 10 * math.sin(a * 9) + 6 * math.sin(a * 4)
        ctx.line_to(256 + math.cos(a) * r, 260 + math.sin(a) * r * 0.72)
    ctx.close_path()
    ctx.set_source(cv.radial(220, 210, 10, 256, 260, 200, (0, "#FFC2D6"), (1, "#FF7FA6")))
    ctx.fill()
    _sprinkles(ctx, rng, (110, 150, 300, 200), 40)
    cv.ellipse(ctx, 256, 262, 62, 40)
    ctx.set_source(cv.radial(256, 250, 10, 256, 262, 70, (0, "#B87A45"), (1, "#8A5A3C")))
    ctx.fill()
    cv.ellipse(ctx, 256, 266, 52, 32)
    ctx.set_operator(cairo.OPERATOR_CLEAR)
    ctx.fill()
    ctx.set_operator(cairo.OPERATOR_OVER)


# --- Gifts ---------------------------------------------------------------------------------------

def _bow(ctx, cx, cy, size, colour):
    for side in (-1, 1):
        ctx.move_to(cx, cy)
        ctx.curve_to(cx + side * size * 1.6, cy - size * 1.4, cx + side * size * 1.9, cy + size * 0.5, cx, cy)
        ctx.set_source(cv.linear(cx, cy - size, cx + side * size * 1.8, cy, (0, colour), (1, cv.darker(colour, 0.2))))
        ctx.fill()
        ctx.move_to(cx, cy)
        ctx.curve_to(cx + side * size * 0.4, cy + size * 0.8, cx + side * size * 0.6, cy + size * 1.2,
                     cx + side * size * 0.9, cy + size * 1.7)
        ctx.line_to(cx + side * size * 0.55, cy + size * 1.75)
        ctx.curve_to(cx + side * size * 0.35, cy + size * 1.2, cx + side * size * 0.15, cy + size * 0.8, cx, cy)
        cv.set_colour(ctx, cv.darker(colour, 0.1))
        ctx.fill()
    ctx.arc(cx, cy, size * 0.32, 0, 2 * math.pi)
    cv.set_colour(ctx, cv.darker(colour, 0.25))
    ctx.fill()


def _gift_box(ctx, x, y, w, h, box, ribbon, lid_h=None, pattern=None):
    lid_h = lid_h or h * 0.22
    cv.rounded_rect(ctx, x + w * 0.04, y + lid_h * 0.6, w * 0.92, h - lid_h * 0.6, 8)
    ctx.set_source(cv.linear(x, 0, x + w, 0, (0, cv.lighter(box, 0.12)), (1, cv.darker(box, 0.12))))
    ctx.fill()
    if pattern:
        ctx.save()
        cv.rounded_rect(ctx, x + w * 0.04, y + lid_h * 0.6, w * 0.92, h - lid_h * 0.6, 8)
        ctx.clip()
        pattern(x, y, w, h)
        ctx.restore()
    # Lid with its shadow on the box
    ctx.rectangle(x + w * 0.04, y + lid_h, w * 0.92, lid_h * 0.25)
    ctx.set_source_rgba(0, 0, 0, 0.12)
    ctx.fill()
    cv.rounded_rect(ctx, x, y, w, lid_h, 8)
    ctx.set_source(cv.linear(x, 0, x + w, 0, (0, cv.lighter(box, 0.22)), (1, box)))
    ctx.fill()
    rw = w * 0.14
    ctx.rectangle(x + w / 2 - rw / 2, y + lid_h, rw, h - lid_h)
    ctx.set_source(cv.linear(x + w / 2 - rw / 2, 0, x + w / 2 + rw / 2, 0, (0, cv.lighter(ribbon, 0.2)),
                             (1, cv.darker(ribbon, 0.1))))
    ctx.fill()
    ctx.rectangle(x + w / 2 - rw / 2 - 4, y, rw + 8, lid_h)
    cv.set_colour(ctx, ribbon)
    ctx.fill()
    _bow(ctx, x + w / 2, y, min(w, 260) * 0.2, ribbon)


def red_gift(ctx):
    _shadow(ctx, 256, 468, 190, 20)
    _gift_box(ctx, 96, 200, 320, 270, "#FF5A6E", "#FFD166")


def polka_gift(ctx):
    _shadow(ctx, 256, 470, 160, 18)

    def dots(x, y, w, h):
        for row in range(12):
            for col in range(10):
                ctx.new_sub_path()
                ctx.arc(x + col * 34 + (17 if row % 2 else 0), y + row * 30, 7, 0, 2 * math.pi)
        ctx.set_source_rgba(1, 1, 1, 0.7)
        ctx.fill()
    _gift_box(ctx, 126, 150, 260, 320, "#5AA9E6", "#FF6B6B", lid_h=60, pattern=dots)


def striped_gift(ctx):
    _shadow(ctx, 256, 468, 190, 20)

    def stripes(x, y, w, h):
        ctx.set_line_width(18)
        ctx.set_source_rgba(1, 1, 1, 0.45)
        for i in range(-10, 20):
            ctx.move_to(x + i * 40, y + h)
            ctx.line_to(x + i * 40 + h, y)
        ctx.stroke()
    _gift_box(ctx, 100, 220, 312, 250, "#7B5CD6", "#F4B93E", pattern=stripes)


def gift_stack(ctx):
    _shadow(ctx, 256, 480, 220, 20)
    _gift_box(ctx, 60, 320, 250, 160, "#4CD6A8", "#FF6B6B", lid_h=40)
    _gift_box(ctx, 290, 300, 170, 180, "#FF8FB1", "#5AA9E6", lid_h=42)
    _gift_box(ctx, 140, 150, 190, 150, "#FFD166", "#7B5CD6", lid_h=38)


def gift_bag(ctx):
    _shadow(ctx, 256, 476, 170, 18)
    # Tissue paper
    for x, a, c in ((200, -0.5, "#FFB3C6"), (256, 0, "#B8E0D2"), (310, 0.5, "#FFE08A")):
        ctx.save()
        ctx.translate(x, 170)
        ctx.rotate(a)
        cv.polygon(ctx, [(-50, 40), (0, -90), (50, 40)])
        cv.set_colour(ctx, c)
        ctx.fill()
        ctx.restore()
    cv.polygon(ctx, [(110, 180), (402, 180), (426, 470), (86, 470)])
    ctx.set_source(cv.linear(86, 0, 426, 0, (0, "#FF7A8A"), (0.6, "#FF5A6E"), (1, "#E04459")))
    ctx.fill()
    cv.polygon(ctx, [(110, 180), (402, 180), (404, 206), (108, 206)])
    ctx.set_source_rgba(0, 0, 0, 0.1)
    ctx.fill()
    ctx.set_line_width(10)
    cv.set_colour(ctx, "#8A2F3C")
    for x in (190, 322):
        ctx.move_to(x - 30, 200)
        ctx.curve_to(x - 30, 120, x + 30, 120, x + 30, 200)
        ctx.stroke()
    cv.heart(ctx, 256, 330, 110)
    ctx.set_source_rgba(1, 1, 1, 0.9)
    ctx.fill()


def round_gift_box(ctx):
    _shadow(ctx, 256, 462, 190, 20)
    cv.ellipse(ctx, 256, 400, 170, 50)
    cv.set_colour(ctx, "#E88AA9")
    ctx.fill()
    ctx.rectangle(86, 230, 340, 170)
    ctx.set_source(cv.linear(86, 0, 426, 0, (0, "#FFB3C6"), (0.5, "#FFC9D7"), (1, "#E88AA9")))
    ctx.fill()
    ctx.rectangle(236, 230, 40, 220)
    cv.set_colour(ctx, "#FFFFFF")
    ctx.fill()
    cv.ellipse(ctx, 256, 230, 180, 52)
    cv.set_colour(ctx, "#FF9BB5")
    ctx.fill()
    cv.ellipse(ctx, 256, 216, 180, 52)
    ctx.set_source(cv.linear(0, 164, 0, 268, (0, "#FFD6E0"), (1, "#FFB3C6")))
    ctx.fill()
    ctx.save()
    cv.ellipse(ctx, 256, 216, 180, 52)
    ctx.clip()
    ctx.rectangle(236, 160, 40, 120)
    cv.set_colour(ctx, "#FFFFFF")
    ctx.fill()
    ctx.restore()
    _bow(ctx, 256, 206, 50, "#FFFFFF")
    ctx.arc(256, 206, 16, 0, 2 * math.pi)
    cv.set_colour(ctx, "#F2C9D5")
    ctx.fill()


# --- Flowers -------------------------------------------------------------------------------------

def _stem(ctx, points, width=8, colour="#4E9A58"):
    ctx.set_line_width(width)
    cv.set_colour(ctx, colour)
    ctx.move_to(*points[0])
    ctx.curve_to(*points[1], *points[2], *points[3])
    ctx.stroke()


def pink_rose(ctx):
    _stem(ctx, [(256, 500), (250, 420), (266, 330), (256, 250)])
    shapes.leaf(ctx, 256, 400, 110, -2.6, "#5DBB63")
    shapes.leaf(ctx, 258, 340, 100, -0.5, "#5DBB63")
    shapes.rose(ctx, 256, 170, 130, "#FF7FA6")


def tulip(ctx):
    _stem(ctx, [(256, 500), (262, 420), (246, 330), (256, 250)], width=10)
    shapes.leaf(ctx, 256, 480, 190, -1.95, "#5DBB63", vein=False)
    shapes.leaf(ctx, 258, 470, 170, -1.15, "#4E9A58", vein=False)
    # Three cupped petals, the front one last.
    petals = [
        [(256, 275), (160, 260), (150, 150), (180, 90), (210, 130), (230, 170), (256, 275)],
        [(256, 275), (352, 260), (362, 150), (332, 90), (302, 130), (282, 170), (256, 275)],
        [(256, 280), (190, 250), (200, 120), (256, 70), (312, 120), (322, 250), (256, 280)],
    ]
    for pts, c in zip(petals, ("#E8505B", "#E8505B", "#FF6B6B")):
        ctx.move_to(*pts[0])
        ctx.curve_to(*pts[1], *pts[2], *pts[3])
        ctx.curve_to(*pts[4], *pts[5], *pts[6])
        ctx.close_path()
        ctx.set_source(cv.linear(0, 70, 0, 280, (0, cv.lighter(c, 0.25)), (1, cv.darker(c, 0.15))))
        ctx.fill()


def daisy(ctx):
    _stem(ctx, [(256, 500), (246, 430), (266, 360), (256, 280)])
    shapes.leaf(ctx, 254, 430, 100, -2.5, "#5DBB63")
    for i in range(18):
        a = 2 * math.pi * i / 18
        ctx.save()
        ctx.translate(256, 200)
        ctx.rotate(a)
        cv.ellipse(ctx, 88, 0, 70, 20)
        ctx.set_source(cv.linear(20, 0, 160, 0, (0, "#F1F1F6"), (1, "#FFFFFF")))
        ctx.fill_preserve()
        ctx.set_line_width(2)
        ctx.set_source_rgba(0.8, 0.8, 0.86, 1)
        ctx.stroke()
        ctx.restore()
    ctx.arc(256, 200, 48, 0, 2 * math.pi)
    ctx.set_source(cv.radial(245, 190, 4, 256, 200, 50, (0, "#FFE08A"), (1, "#F4A31E")))
    ctx.fill()


def sunflower(ctx):
    _stem(ctx, [(256, 505), (262, 440), (248, 380), (256, 300)], width=12)
    shapes.leaf(ctx, 256, 430, 120, -2.7, "#5DBB63")
    shapes.leaf(ctx, 256, 400, 110, -0.4, "#4E9A58")
    for ring, (n, length, c) in enumerate(((22, 92, "#F4B000"), (22, 80, "#FFC933"))):
        for i in range(n):
            a = 2 * math.pi * (i + ring * 0.5) / n
            ctx.save()
            ctx.translate(256, 200)
            ctx.rotate(a)
            ctx.move_to(56, -14)
            ctx.curve_to(90, -22, 56 + length * 0.9, -6, 56 + length, 0)
            ctx.curve_to(56 + length * 0.9, 6, 90, 22, 56, 14)
            ctx.close_path()
            cv.set_colour(ctx, c)
            ctx.fill()
            ctx.restore()
    ctx.arc(256, 200, 72, 0, 2 * math.pi)
    ctx.set_source(cv.radial(250, 195, 5, 256, 200, 74, (0, "#8A5A3C"), (1, "#4A2C1E")))
    ctx.fill()
    for i in range(70):
        a = i * 2.399963
        r = 6.5 * math.sqrt(i)
        ctx.arc(256 + math.cos(a) * r, 200 + math.sin(a) * r, 2.6, 0, 2 * math.pi)
        cv.set_colour(ctx, "#A87448")
        ctx.fill()


def bouquet(ctx):
    # Wrapping paper cone
    cv.polygon(ctx, [(110, 220), (402, 220), (280, 500), (232, 500)])
    ctx.set_source(cv.linear(110, 0, 402, 0, (0, "#FFE1C9"), (0.5, "#FFF1E4"), (1, "#F5CBA7")))
    ctx.fill()
    for a, l in ((-2.3, 120), (-1.9, 140), (-1.3, 140), (-0.9, 120), (-1.6, 130)):
        shapes.leaf(ctx, 256, 250, l, a, "#5DBB63")
    shapes.rose(ctx, 256, 170, 70, "#FF7FA6")
    shapes.rose(ctx, 160, 210, 58, "#FFB48F")
    shapes.rose(ctx, 352, 210, 58, "#E8505B")
    shapes.blossom(ctx, 190, 120, 40, "#FFFFFF", "#F4B93E", rotation=0.4)
    shapes.blossom(ctx, 330, 118, 40, "#C9B6F2", "#F4B93E", rotation=0.2)
    shapes.blossom(ctx, 256, 260, 36, "#FFFFFF", "#FF8FB1", rotation=0.1)
    # Front fold of the paper
    cv.polygon(ctx, [(130, 250), (256, 300), (382, 250), (280, 500), (232, 500)])
    ctx.set_source(cv.linear(130, 0, 382, 0, (0, "#FFD4B3"), (0.5, "#FFE6D2"), (1, "#F0BC95")))
    ctx.fill()
    _bow(ctx, 256, 400, 40, "#E84A7F")


def flower_wreath(ctx):
    cx, cy, r = 256, 256, 190
    rng = cv.seeded("flower-wreath")
    for i in range(36):
        a = 2 * math.pi * i / 36
        x, y = cx + math.cos(a) * r, cy + math.sin(a) * r
        shapes.leaf(ctx, x, y, rng.uniform(50, 70), a + math.pi / 2 + rng.uniform(-0.5, 0.5),
                    rng.choice(["#5DBB63", "#7FB77E", "#4E9A58"]), vein=False)
    for a, kind in ((-2.3, "rose"), (-1.6, "bl"), (-0.9, "rose"), (0.6, "bl"), (1.3, "rose"), (2.0, "bl"), (2.8, "rose"),
                    (-3.0, "bl")):
        x, y = cx + math.cos(a) * r, cy + math.sin(a) * r
        if kind == "rose":
            shapes.rose(ctx, x, y, 42, rng.choice(["#FF7FA6", "#FFB48F", "#E8505B"]))
        else:
            shapes.blossom(ctx, x, y, 32, "#FFFFFF", "#F4B93E", rotation=a)


# --- Party ---------------------------------------------------------------------------------------

def party_hat(ctx):
    _shadow(ctx, 256, 470, 160, 18)
    ctx.save()
    cv.polygon(ctx, [(256, 70), (400, 450), (112, 450)])
    ctx.clip()
    ctx.set_source(cv.linear(112, 0, 400, 0, (0, "#8B6FE0"), (1, "#6A4BCB")))
    ctx.paint()
    ctx.set_line_width(30)
    for i, c in enumerate(["#FFD166", "#FF6B6B", "#4CD6A8", "#FFD166", "#FF6B6B", "#4CD6A8"]):
        y = 130 + i * 62
        ctx.move_to(80, y + 40)
        ctx.line_to(440, y - 40)
        cv.set_colour(ctx, c)
        ctx.stroke()
    ctx.set_source(cv.linear(112, 0, 400, 0, (0, cv.rgb("#FFFFFF", 0.18)), (0.5, cv.rgb("#FFFFFF", 0)),
                             (1, cv.rgb("#000000", 0.15))))
    ctx.paint()
    ctx.restore()
    # Fringed brim
    for i in range(13):
        x = 112 + i * 24
        ctx.new_sub_path()
        ctx.arc(x, 452, 16, 0, 2 * math.pi)
    cv.set_colour(ctx, "#FF8FB1")
    ctx.fill()
    for i in range(10):
        a = 2 * math.pi * i / 10
        ctx.save()
        ctx.translate(256, 66)
        ctx.rotate(a)
        cv.ellipse(ctx, 18, 0, 26, 11)
        cv.set_colour(ctx, "#FFD166" if i % 2 else "#FFC145")
        ctx.fill()
        ctx.restore()


def party_popper(ctx):
    rng = cv.seeded("party-popper")
    # Burst of confetti and streamers out of the mouth.
    mouth = (250, 250)
    for i in range(40):
        a = rng.uniform(-2.2, 0.2)
        d = rng.uniform(70, 240)
        shapes.confetti_piece(ctx, mouth[0] + math.cos(a) * d, mouth[1] + math.sin(a) * d,
                              rng.uniform(8, 14), rng.choice([cv.PALETTE[c] for c in cv.FESTIVE]), rng.randrange(5),
                              rng.uniform(0, 6.3))
    ctx.set_line_width(8)
    for a, c in ((-1.6, "#FF6B6B"), (-0.95, "#4CD6A8"), (-0.3, "#5AA9E6")):
        ctx.move_to(*mouth)
        ex, ey = mouth[0] + math.cos(a) * 200, mouth[1] + math.sin(a) * 170
        ctx.curve_to(mouth[0] + math.cos(a - 0.5) * 80, mouth[1] + math.sin(a - 0.5) * 80,
                     ex - math.cos(a + 0.6) * 70, ey - math.sin(a + 0.6) * 70, ex, ey)
        cv.set_colour(ctx, c)
        ctx.stroke()
    # The cone, its mouth on the burst and its tip down to the left.
    ctx.save()
    ctx.translate(236, 264)
    ctx.rotate(0.8)
    cv.polygon(ctx, [(0, 190), (-80, -20), (80, -20)])
    ctx.set_source(cv.linear(-80, 0, 80, 0, (0, "#FFD166"), (1, "#F4A31E")))
    ctx.fill()
    ctx.save()
    cv.polygon(ctx, [(0, 190), (-80, -20), (80, -20)])
    ctx.clip()
    ctx.set_line_width(18)
    cv.set_colour(ctx, "#FF6B6B")
    for y in (30, 90, 150):
        ctx.move_to(-100, y)
        ctx.line_to(100, y - 40)
    ctx.stroke()
    ctx.restore()
    cv.ellipse(ctx, 0, -20, 80, 22)
    cv.set_colour(ctx, "#E8505B")
    ctx.fill()
    cv.ellipse(ctx, 0, -22, 64, 14)
    cv.set_colour(ctx, "#7A2630")
    ctx.fill()
    ctx.restore()


def bunting_garland(ctx):
    colours = [cv.PALETTE[c] for c in ("coral", "gold", "teal", "pink", "mint", "lavender", "sky")]
    shapes.bunting(ctx, 20, 150, 492, 150, 110, 7, colours, flag_h=120)
    for x in (20, 492):
        ctx.arc(x, 150, 9, 0, 2 * math.pi)
        cv.set_colour(ctx, "#6B6F80")
        ctx.fill()


def champagne_toast(ctx):
    rng = cv.seeded("champagne")

    def glass(angle, x, y):
        ctx.save()
        ctx.translate(x, y)
        ctx.rotate(angle)
        # Bowl
        ctx.move_to(-55, -210)
        ctx.curve_to(-60, -110, -30, -60, 0, -55)
        ctx.curve_to(30, -60, 60, -110, 55, -210)
        ctx.close_path()
        ctx.set_source_rgba(0.85, 0.93, 1.0, 0.55)
        ctx.fill_preserve()
        ctx.set_line_width(4)
        ctx.set_source_rgba(0.55, 0.66, 0.8, 0.9)
        ctx.stroke()
        ctx.move_to(-53, -170)
        ctx.curve_to(-55, -110, -28, -64, 0, -60)
        ctx.curve_to(28, -64, 55, -110, 53, -170)
        ctx.close_path()
        ctx.set_source(cv.linear(0, -170, 0, -60, (0, "#FFE08A"), (1, "#F4B93E")))
        ctx.fill()
        for _ in range(9):
            ctx.arc(rng.uniform(-35, 35), rng.uniform(-160, -80), rng.uniform(2, 5), 0, 2 * math.pi)
            ctx.set_source_rgba(1, 1, 1, 0.75)
            ctx.fill()
        # Stem and foot
        ctx.rectangle(-5, -56, 10, 150)
        ctx.set_source_rgba(0.7, 0.8, 0.92, 0.9)
        ctx.fill()
        cv.ellipse(ctx, 0, 96, 50, 12)
        ctx.set_source_rgba(0.7, 0.8, 0.92, 0.9)
        ctx.fill()
        ctx.move_to(-40, -200)
        ctx.curve_to(-44, -150, -36, -120, -22, -100)
        ctx.set_line_width(6)
        ctx.set_source_rgba(1, 1, 1, 0.7)
        ctx.stroke()
        ctx.restore()
    # Tilted towards each other so the rims meet above the stems.
    glass(0.28, 150, 400)
    glass(-0.28, 362, 400)
    for x, y, r in ((256, 90, 26), (200, 60, 14), (316, 70, 16), (160, 120, 10), (350, 124, 10)):
        shapes.sparkle(ctx, x, y, r, "#F4B93E")


def disco_ball(ctx):
    cx, cy, r = 256, 280, 180
    ctx.set_line_width(4)
    cv.set_colour(ctx, "#8A93A6")
    ctx.move_to(cx, 10)
    ctx.line_to(cx, cy - r)
    ctx.stroke()
    ctx.save()
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.clip()
    ctx.set_source(cv.radial(cx - 60, cy - 60, 10, cx, cy, r, (0, "#FFFFFF"), (0.4, "#C9D2E3"), (1, "#5E6A82")))
    ctx.paint()
    rng = cv.seeded("disco")
    rows = 14
    for row in range(rows):
        lat0 = -math.pi / 2 + math.pi * row / rows
        lat1 = lat0 + math.pi / rows
        y0, y1 = cy + math.sin(lat0) * r, cy + math.sin(lat1) * r
        width = math.cos((lat0 + lat1) / 2) * r
        n = max(4, int(width / 14))
        for col in range(n):
            x0 = cx - width + 2 * width * col / n
            ctx.rectangle(x0 + 1.5, y0 + 1.5, 2 * width / n - 3, y1 - y0 - 3)
            shade = rng.uniform(-0.18, 0.25)
            ctx.set_source_rgba(1, 1, 1, max(0.0, shade))
            ctx.fill()
    ctx.set_source(cv.radial(cx - 60, cy - 70, 0, cx - 60, cy - 70, 120, (0, cv.rgb("#FFFFFF", 0.5)),
                             (1, cv.rgb("#FFFFFF", 0))))
    ctx.paint()
    ctx.restore()
    for x, y, s in ((130, 170, 26), (360, 380, 20), (390, 160, 14)):
        shapes.sparkle(ctx, x, y, s, "#FFFFFF")
        shapes.sparkle(ctx, x, y, s * 0.6, "#B59CF2")


def crown(ctx):
    _shadow(ctx, 256, 430, 190, 18)
    pts = [(86, 400), (70, 170), (170, 280), (256, 120), (342, 280), (442, 170), (426, 400)]
    cv.polygon(ctx, pts)
    ctx.set_source(cv.linear(70, 120, 442, 400, (0, "#FFE9A8"), (0.45, "#F4C04F"), (1, "#D99A2B")))
    ctx.fill()
    cv.rounded_rect(ctx, 80, 360, 352, 50, 10)
    ctx.set_source(cv.linear(0, 360, 0, 410, (0, "#F4C04F"), (1, "#C98A22")))
    ctx.fill()
    for x, y, r in ((70, 160, 20), (256, 108, 24), (442, 160, 20)):
        ctx.arc(x, y, r, 0, 2 * math.pi)
        ctx.set_source(cv.radial(x - 5, y - 5, 1, x, y, r, (0, "#FFF4C2"), (1, "#F4B93E")))
        ctx.fill()
    for x, c in ((150, "#E8505B"), (256, "#5AA9E6"), (362, "#4CD6A8")):
        cv.polygon(ctx, [(x, 366), (x + 20, 385), (x, 404), (x - 20, 385)])
        cv.set_colour(ctx, c)
        ctx.fill()
    ctx.arc(256, 250, 26, 0, 2 * math.pi)
    ctx.set_source(cv.radial(248, 242, 2, 256, 250, 26, (0, "#FFB3C6"), (1, "#E84A7F")))
    ctx.fill()


# --- Frames --------------------------------------------------------------------------------------

def gold_frame(ctx):
    ctx.set_line_width(10)
    gold = cv.linear(0, 0, 512, 512, (0, "#FFE9A8"), (0.5, "#E2B04A"), (1, "#B8862B"))
    cv.rounded_rect(ctx, 40, 70, 432, 372, 28)
    ctx.set_source(gold)
    ctx.stroke()
    ctx.set_line_width(3)
    cv.rounded_rect(ctx, 58, 88, 396, 336, 18)
    ctx.stroke()
    for x, y in ((40, 70), (472, 70), (40, 442), (472, 442)):
        cv.polygon(ctx, [(x, y - 22), (x + 22, y), (x, y + 22), (x - 22, y)])
        ctx.set_source(gold)
        ctx.fill()
        ctx.arc(x, y, 7, 0, 2 * math.pi)
        cv.set_colour(ctx, "#FFF4C2")
        ctx.fill()
    for x in (180, 256, 332):
        for y in (70, 442):
            ctx.arc(x, y, 6 if x != 256 else 9, 0, 2 * math.pi)
            ctx.set_source(gold)
            ctx.fill()


def wreath_frame(ctx):
    cx, cy, r = 256, 256, 200
    rng = cv.seeded("wreath-frame")
    ctx.set_line_width(4)
    cv.set_colour(ctx, "#7A9A63")
    ctx.arc(cx, cy, r, 0.1 * math.pi, 0.9 * math.pi)
    ctx.stroke()
    ctx.arc(cx, cy, r, 1.1 * math.pi, 1.9 * math.pi)
    ctx.stroke()
    for i in range(40):
        a = (0.1 if i < 20 else 1.1) * math.pi + 0.8 * math.pi * (i % 20) / 19
        x, y = cx + math.cos(a) * r, cy + math.sin(a) * r
        side = 1 if i % 2 else -1
        shapes.leaf(ctx, x, y, rng.uniform(34, 48), a + math.pi / 2 + side * 0.7, rng.choice(["#5DBB63", "#7FB77E"]),
                    vein=False)
    for a in (0, math.pi):
        x, y = cx + math.cos(a) * r, cy + math.sin(a) * r
        shapes.rose(ctx, x, y - 18, 30, "#FF7FA6")
        shapes.rose(ctx, x, y + 20, 26, "#FFB48F")
        shapes.blossom(ctx, x + (22 if a == 0 else -22), y, 18, "#FFFFFF", "#F4B93E")


def ribbon_banner(ctx):
    # Tails behind, then the folds, then the face.
    for side in (-1, 1):
        tail_x = 256 + side * 190
        cv.polygon(ctx, [(tail_x - side * 60, 250), (tail_x + side * 70, 250), (tail_x + side * 40, 300),
                         (tail_x + side * 70, 350), (tail_x - side * 60, 350)])
        cv.set_colour(ctx, "#C93A5A")
        ctx.fill()
        cv.polygon(ctx, [(256 + side * 180, 220), (256 + side * 130, 250), (256 + side * 130, 320)])
        cv.set_colour(ctx, "#8E2640")
        ctx.fill()
    ctx.move_to(76, 190)
    ctx.curve_to(180, 170, 332, 170, 436, 190)
    ctx.line_to(436, 290)
    ctx.curve_to(332, 270, 180, 270, 76, 290)
    ctx.close_path()
    ctx.set_source(cv.linear(0, 180, 0, 290, (0, "#FF6F8B"), (1, "#E84A6F")))
    ctx.fill()
    ctx.set_line_width(3)
    ctx.set_dash([8, 6])
    ctx.set_source_rgba(1, 1, 1, 0.7)
    ctx.move_to(86, 204)
    ctx.curve_to(180, 186, 332, 186, 426, 204)
    ctx.move_to(86, 276)
    ctx.curve_to(180, 258, 332, 258, 426, 276)
    ctx.stroke()
    ctx.set_dash([])


def scalloped_label(ctx):
    cx, cy = 256, 256
    n = 28
    ctx.move_to(cx + 220, cy)
    for i in range(n):
        a0 = 2 * math.pi * i / n
        a1 = 2 * math.pi * (i + 1) / n
        am = (a0 + a1) / 2
        ctx.curve_to(cx + math.cos(a0) * 235, cy + math.sin(a0) * 235, cx + math.cos(am) * 250, cy + math.sin(am) * 250,
                     cx + math.cos(a1) * 220, cy + math.sin(a1) * 220)
    ctx.close_path()
    ctx.set_source(cv.linear(0, 0, 512, 512, (0, "#FFB3C6"), (1, "#F27C9C")))
    ctx.fill()
    ctx.arc(cx, cy, 196, 0, 2 * math.pi)
    cv.set_colour(ctx, "#FFFBF5")
    ctx.fill()
    ctx.set_line_width(3)
    ctx.set_dash([9, 7])
    ctx.arc(cx, cy, 180, 0, 2 * math.pi)
    cv.set_colour(ctx, "#F27C9C")
    ctx.stroke()
    ctx.set_dash([])


def confetti_frame(ctx):
    rng = cv.seeded("confetti-frame")
    colours = [cv.PALETTE[c] for c in cv.FESTIVE]
    for _ in range(260):
        x, y = rng.uniform(20, 492), rng.uniform(40, 472)
        inside = 70 < x < 442 and 90 < y < 422
        if inside:
            continue
        shapes.confetti_piece(ctx, x, y, rng.uniform(7, 12), rng.choice(colours), rng.randrange(5), rng.uniform(0, 6.3))
    ctx.set_line_width(3)
    cv.set_colour(ctx, "#F4B93E")
    cv.rounded_rect(ctx, 80, 100, 352, 312, 16)
    ctx.stroke()


def balloon_frame(ctx):
    ctx.set_line_width(6)
    cv.set_colour(ctx, "#5AA9E6")
    cv.rounded_rect(ctx, 60, 120, 392, 330, 24)
    ctx.stroke()
    ctx.set_line_width(2)
    cv.rounded_rect(ctx, 74, 134, 364, 302, 16)
    ctx.stroke()
    for x, y, c, k in ((70, 90, "coral", (110, 160)), (120, 66, "gold", (110, 160)), (442, 90, "teal", (402, 160)),
                       (392, 66, "pink", (402, 160))):
        shapes.balloon(ctx, x, y, 48, c, string_to=k)
    for x in (80, 432):
        cv.star(ctx, x, 450, 22, 10, roundness=0.15)
        cv.set_colour(ctx, "#F4B93E")
        ctx.fill()


def star_badge(ctx):
    cx, cy = 256, 220
    for side in (-1, 1):
        cv.polygon(ctx, [(cx + side * 30, 300), (cx + side * 100, 300), (cx + side * 130, 480), (cx + side * 85, 450),
                         (cx + side * 50, 490)])
        cv.set_colour(ctx, "#3D6DE0" if side < 0 else "#2F57B8")
        ctx.fill()
    cv.star(ctx, cx, cy, 190, 160, points=18, roundness=0.3)
    ctx.set_source(cv.linear(cx - 190, cy - 190, cx + 190, cy + 190, (0, "#FFE9A8"), (0.5, "#F4C04F"),
                             (1, "#D99A2B")))
    ctx.fill()
    ctx.arc(cx, cy, 130, 0, 2 * math.pi)
    cv.set_colour(ctx, "#FFFBF0")
    ctx.fill()
    ctx.set_line_width(4)
    ctx.arc(cx, cy, 116, 0, 2 * math.pi)
    cv.set_colour(ctx, "#E2B04A")
    ctx.stroke()


# --- Animals -------------------------------------------------------------------------------------

def _eyes(ctx, cx, cy, gap, size):
    for side in (-1, 1):
        x = cx + side * gap
        cv.ellipse(ctx, x, cy, size, size * 1.15)
        cv.set_colour(ctx, "#2B2B35")
        ctx.fill()
        ctx.arc(x - size * 0.3, cy - size * 0.4, size * 0.35, 0, 2 * math.pi)
        cv.set_colour(ctx, "#FFFFFF")
        ctx.fill()


def _cheeks(ctx, cx, cy, gap, size):
    for side in (-1, 1):
        cv.ellipse(ctx, cx + side * gap, cy, size, size * 0.6)
        ctx.set_source_rgba(1.0, 0.5, 0.6, 0.45)
        ctx.fill()


def _smile(ctx, cx, cy, w, colour="#2B2B35"):
    ctx.set_line_width(max(3, w * 0.18))
    cv.set_colour(ctx, colour)
    ctx.move_to(cx - w, cy)
    ctx.curve_to(cx - w * 0.9, cy + w * 0.6, cx - w * 0.1, cy + w * 0.6, cx, cy)
    ctx.curve_to(cx + w * 0.1, cy + w * 0.6, cx + w * 0.9, cy + w * 0.6, cx + w, cy)
    ctx.stroke()


def _little_hat(ctx, x, y, h, angle, colour="#7B5CD6"):
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(angle)
    cv.polygon(ctx, [(0, -h), (h * 0.4, 0), (-h * 0.4, 0)])
    ctx.set_source(cv.linear(-h * 0.4, 0, h * 0.4, 0, (0, cv.lighter(colour, 0.15)), (1, cv.darker(colour, 0.1))))
    ctx.fill()
    for t in (0.3, 0.6):
        ctx.arc(-h * 0.08 + h * 0.18 * t, -h * (1 - t) + h * 0.05, h * 0.06, 0, 2 * math.pi)
        cv.set_colour(ctx, "#FFD166")
        ctx.fill()
    ctx.arc(0, -h, h * 0.11, 0, 2 * math.pi)
    cv.set_colour(ctx, "#FFD166")
    ctx.fill()
    ctx.restore()


def teddy_bear(ctx):
    fur, light = "#B9855A", "#E6C29B"
    _shadow(ctx, 256, 480, 160, 16)
    cv.ellipse(ctx, 256, 380, 130, 110)
    cv.set_colour(ctx, fur)
    ctx.fill()
    cv.ellipse(ctx, 256, 395, 80, 72)
    cv.set_colour(ctx, light)
    ctx.fill()
    for side in (-1, 1):
        cv.ellipse(ctx, 256 + side * 95, 455, 52, 36)
        cv.set_colour(ctx, fur)
        ctx.fill()
        cv.ellipse(ctx, 256 + side * 98, 458, 30, 22)
        cv.set_colour(ctx, light)
        ctx.fill()
        cv.ellipse(ctx, 256 + side * 125, 350, 36, 58)
        cv.set_colour(ctx, cv.darker(fur, 0.08))
        ctx.fill()
        ctx.arc(256 + side * 100, 110, 46, 0, 2 * math.pi)
        cv.set_colour(ctx, fur)
        ctx.fill()
        ctx.arc(256 + side * 100, 110, 26, 0, 2 * math.pi)
        cv.set_colour(ctx, light)
        ctx.fill()
    cv.ellipse(ctx, 256, 200, 135, 118)
    ctx.set_source(cv.radial(230, 170, 20, 256, 200, 150, (0, cv.lighter(fur, 0.12)), (1, fur)))
    ctx.fill()
    cv.ellipse(ctx, 256, 240, 58, 44)
    cv.set_colour(ctx, light)
    ctx.fill()
    cv.ellipse(ctx, 256, 224, 18, 13)
    cv.set_colour(ctx, "#3A2A22")
    ctx.fill()
    _smile(ctx, 256, 244, 16, "#3A2A22")
    _eyes(ctx, 256, 180, 52, 13)
    _cheeks(ctx, 256, 226, 88, 18)
    _bow(ctx, 256, 296, 30, "#E84A7F")


def kitten(ctx):
    fur = "#F2A65A"
    _shadow(ctx, 256, 470, 160, 16)
    # Tail
    ctx.set_line_width(30)
    cv.set_colour(ctx, fur)
    ctx.move_to(360, 440)
    ctx.curve_to(460, 430, 470, 320, 420, 300)
    ctx.stroke()
    cv.ellipse(ctx, 256, 390, 120, 90)
    cv.set_colour(ctx, fur)
    ctx.fill()
    cv.ellipse(ctx, 256, 410, 60, 62)
    cv.set_colour(ctx, "#FFE8D1")
    ctx.fill()
    for side in (-1, 1):
        cv.polygon(ctx, [(256 + side * 150, 60), (256 + side * 60, 120), (256 + side * 150, 180)])
        cv.set_colour(ctx, fur)
        ctx.fill()
        cv.polygon(ctx, [(256 + side * 138, 88), (256 + side * 90, 122), (256 + side * 138, 156)])
        cv.set_colour(ctx, "#FFB3C6")
        ctx.fill()
    cv.ellipse(ctx, 256, 210, 150, 120)
    ctx.set_source(cv.radial(230, 180, 20, 256, 210, 160, (0, cv.lighter(fur, 0.15)), (1, fur)))
    ctx.fill()
    # Tabby stripes
    ctx.set_line_width(10)
    cv.set_colour(ctx, cv.darker(fur, 0.18))
    for dx in (-24, 0, 24):
        ctx.move_to(256 + dx, 96)
        ctx.line_to(256 + dx * 0.8, 130)
    ctx.stroke()
    _eyes(ctx, 256, 200, 58, 14)
    cv.polygon(ctx, [(244, 232), (268, 232), (256, 244)])
    cv.set_colour(ctx, "#E86A7F")
    ctx.fill()
    _smile(ctx, 256, 246, 14)
    _cheeks(ctx, 256, 240, 96, 18)
    ctx.set_line_width(3)
    cv.set_colour(ctx, "#7A5A48")
    for side in (-1, 1):
        for dy in (-8, 6):
            ctx.move_to(256 + side * 40, 240 + dy / 2)
            ctx.line_to(256 + side * 120, 232 + dy * 2)
    ctx.stroke()
    _bow(ctx, 256, 318, 26, "#5AA9E6")


def bunny(ctx):
    fur = "#F4F1F6"
    edge = "#D9D3E2"
    _shadow(ctx, 256, 480, 150, 16)
    cv.ellipse(ctx, 256, 400, 120, 90)
    cv.set_colour(ctx, fur)
    ctx.fill_preserve()
    ctx.set_line_width(3)
    cv.set_colour(ctx, edge)
    ctx.stroke()
    for side in (-1, 1):
        ctx.save()
        ctx.translate(256 + side * 55, 120)
        ctx.rotate(side * 0.18)
        cv.ellipse(ctx, 0, -20, 34, 100)
        cv.set_colour(ctx, fur)
        ctx.fill_preserve()
        cv.set_colour(ctx, edge)
        ctx.stroke()
        cv.ellipse(ctx, 0, -14, 18, 76)
        cv.set_colour(ctx, "#FFC2D1")
        ctx.fill()
        ctx.restore()
    cv.ellipse(ctx, 256, 250, 128, 108)
    ctx.set_source(cv.radial(236, 220, 20, 256, 250, 140, (0, "#FFFFFF"), (1, fur)))
    ctx.fill_preserve()
    cv.set_colour(ctx, edge)
    ctx.stroke()
    _eyes(ctx, 256, 240, 50, 13)
    cv.ellipse(ctx, 256, 272, 12, 8)
    cv.set_colour(ctx, "#FF8FB1")
    ctx.fill()
    _smile(ctx, 256, 284, 12)
    _cheeks(ctx, 256, 280, 84, 18)
    # Carrot held in its paws
    ctx.save()
    ctx.translate(256, 390)
    ctx.rotate(0.5)
    cv.polygon(ctx, [(-22, -50), (22, -50), (0, 70)])
    ctx.set_source(cv.linear(-22, 0, 22, 0, (0, "#FFA24C"), (1, "#F07F1F")))
    ctx.fill()
    for a in (-0.4, 0, 0.4):
        shapes.leaf(ctx, 0, -50, 34, -math.pi / 2 + a, "#5DBB63", vein=False)
    ctx.restore()
    for side in (-1, 1):
        cv.ellipse(ctx, 256 + side * 36, 372, 26, 20)
        cv.set_colour(ctx, fur)
        ctx.fill_preserve()
        cv.set_colour(ctx, edge)
        ctx.stroke()


def puppy(ctx):
    fur, patch = "#F7E3C8", "#B9855A"
    _shadow(ctx, 256, 480, 160, 16)
    cv.ellipse(ctx, 256, 400, 120, 86)
    cv.set_colour(ctx, fur)
    ctx.fill()
    cv.ellipse(ctx, 256, 324, 110, 14)
    cv.set_colour(ctx, "#E84A7F")
    ctx.fill()
    ctx.arc(256, 346, 16, 0, 2 * math.pi)
    cv.set_colour(ctx, "#F4B93E")
    ctx.fill()
    cv.ellipse(ctx, 256, 220, 140, 120)
    ctx.set_source(cv.radial(236, 190, 20, 256, 220, 150, (0, "#FFF3E2"), (1, fur)))
    ctx.fill()
    ctx.save()
    cv.ellipse(ctx, 256, 220, 140, 120)
    ctx.clip()
    cv.ellipse(ctx, 316, 170, 60, 54)
    cv.set_colour(ctx, patch)
    ctx.fill()
    ctx.restore()
    for side in (-1, 1):
        ctx.save()
        ctx.translate(256 + side * 130, 170)
        ctx.rotate(side * -0.35)
        cv.ellipse(ctx, 0, 60, 42, 92)
        cv.set_colour(ctx, patch)
        ctx.fill()
        ctx.restore()
    _eyes(ctx, 256, 200, 52, 14)
    cv.ellipse(ctx, 256, 262, 60, 40)
    cv.set_colour(ctx, "#FFFFFF")
    ctx.fill()
    cv.ellipse(ctx, 256, 246, 22, 15)
    cv.set_colour(ctx, "#2B2B35")
    ctx.fill()
    _smile(ctx, 256, 268, 16)
    cv.ellipse(ctx, 262, 290, 10, 14)
    cv.set_colour(ctx, "#FF7F96")
    ctx.fill()
    _cheeks(ctx, 256, 262, 92, 18)


def owl(ctx):
    body = "#8E7CC3"
    _shadow(ctx, 256, 488, 150, 16)
    ctx.set_line_width(14)
    cv.set_colour(ctx, "#8A5A3C")
    ctx.move_to(80, 470)
    ctx.line_to(432, 470)
    ctx.stroke()
    cv.ellipse(ctx, 256, 300, 160, 180)
    ctx.set_source(cv.radial(230, 250, 20, 256, 300, 190, (0, cv.lighter(body, 0.15)), (1, body)))
    ctx.fill()
    for side in (-1, 1):
        cv.polygon(ctx, [(256 + side * 150, 110), (256 + side * 80, 150), (256 + side * 140, 190)])
        cv.set_colour(ctx, body)
        ctx.fill()
        ctx.save()
        ctx.translate(256 + side * 150, 320)
        ctx.rotate(side * 0.25)
        cv.ellipse(ctx, 0, 0, 40, 100)
        cv.set_colour(ctx, cv.darker(body, 0.15))
        ctx.fill()
        ctx.restore()
    cv.ellipse(ctx, 256, 350, 100, 110)
    cv.set_colour(ctx, "#E6DEF7")
    ctx.fill()
    for row in range(3):
        for col in range(-2, 3):
            ctx.arc(256 + col * 34 + (17 if row % 2 else 0), 320 + row * 40, 12, 0, math.pi)
            ctx.set_line_width(3)
            cv.set_colour(ctx, "#B9AEDB")
            ctx.stroke()
    for side in (-1, 1):
        ctx.arc(256 + side * 62, 210, 52, 0, 2 * math.pi)
        cv.set_colour(ctx, "#FFFFFF")
        ctx.fill()
    _eyes(ctx, 256, 212, 62, 24)
    cv.polygon(ctx, [(240, 252), (272, 252), (256, 280)])
    cv.set_colour(ctx, "#F4A31E")
    ctx.fill()
    for dx in (-40, -20, 20, 40):
        cv.ellipse(ctx, 256 + dx, 474, 10, 8)
        cv.set_colour(ctx, "#F4A31E")
        ctx.fill()


def penguin(ctx):
    _shadow(ctx, 256, 488, 130, 14)
    cv.ellipse(ctx, 256, 300, 140, 180)
    ctx.set_source(cv.radial(230, 250, 20, 256, 300, 190, (0, "#3E4A66"), (1, "#232B3E")))
    ctx.fill()
    for side in (-1, 1):
        ctx.save()
        ctx.translate(256 + side * 132, 320)
        ctx.rotate(side * -0.35)
        cv.ellipse(ctx, 0, 0, 30, 90)
        cv.set_colour(ctx, "#232B3E")
        ctx.fill()
        ctx.restore()
        cv.ellipse(ctx, 256 + side * 50, 474, 40, 16)
        cv.set_colour(ctx, "#F4A31E")
        ctx.fill()
    ctx.move_to(256, 160)
    ctx.curve_to(150, 150, 150, 260, 170, 300)
    ctx.curve_to(140, 380, 180, 460, 256, 464)
    ctx.curve_to(332, 460, 372, 380, 342, 300)
    ctx.curve_to(362, 260, 362, 150, 256, 160)
    ctx.close_path()
    cv.set_colour(ctx, "#FFFFFF")
    ctx.fill()
    _eyes(ctx, 256, 220, 44, 14)
    cv.polygon(ctx, [(236, 250), (276, 250), (256, 274)])
    cv.set_colour(ctx, "#F4A31E")
    ctx.fill()
    _cheeks(ctx, 256, 262, 72, 16)
    _little_hat(ctx, 256, 128, 110, 0.15, "#FF6B6B")
    _bow(ctx, 256, 320, 24, "#5AA9E6")


# --- Celebration text ----------------------------------------------------------------------------

def _text_art(ctx, lines, family, slant, weight, fill_stops, outline="#FFFFFF", shadow="#2F3B52", width=1024,
              decorate=None):
    """Lettering with a white keyline and a soft drop shadow, lines centred on the canvas."""
    y = 0
    placed = []
    for text, size in lines:
        y += size * 1.02
        placed.append((text, size, y))
    top = (420 - y) / 2 + 14
    ctx.save()
    ctx.translate(0, top)
    ctx.new_path()
    for text, size, baseline in placed:
        cv.text_path(ctx, text, family, size, width / 2 + 6, baseline + 8, slant, weight)
    cv.set_colour(ctx, shadow, 0.22)
    ctx.fill()
    for text, size, baseline in placed:
        cv.text_path(ctx, text, family, size, width / 2, baseline, slant, weight)
    ctx.set_line_width(18)
    cv.set_colour(ctx, outline)
    ctx.stroke_preserve()
    grad = cv.linear(0, placed[0][2] - placed[0][1], 0, placed[-1][2], *fill_stops)
    ctx.set_source(grad)
    ctx.fill()
    ctx.restore()
    if decorate:
        decorate(top, y)


def happy_birthday_text(ctx):
    def deco(top, h):
        rng = cv.seeded("happy-birthday")
        for _ in range(40):
            x, y = rng.uniform(40, 984), rng.uniform(20, 400)
            if 140 < x < 884 and 60 < y < 360:
                continue
            shapes.confetti_piece(ctx, x, y, rng.uniform(8, 13), rng.choice([cv.PALETTE[c] for c in cv.FESTIVE]),
                                  rng.randrange(5), rng.uniform(0, 6.3))
    _text_art(ctx, [("Happy", 150), ("Birthday!", 150)], "Lobster Two", cairo.FONT_SLANT_ITALIC,
              cairo.FONT_WEIGHT_BOLD, [(0, "#FF6B6B"), (0.5, "#E84A7F"), (1, "#7B5CD6")], decorate=deco)


def lets_party_text(ctx):
    def deco(top, h):
        for x, y, r in ((120, 80, 26), (900, 90, 30), (930, 320, 18), (90, 330, 18)):
            shapes.sparkle(ctx, x, y, r, "#F4B93E")
    _text_art(ctx, [("Let’s Party!", 170)], "Lobster Two", cairo.FONT_SLANT_ITALIC, cairo.FONT_WEIGHT_BOLD,
              [(0, "#FFD166"), (1, "#F08A3C")], outline="#2F3B52", shadow="#000000", decorate=deco)


def youre_invited_text(ctx):
    def deco(top, h):
        ctx.set_line_width(4)
        cv.set_colour(ctx, "#D9A441")
        for side in (-1, 1):
            x0 = 512 + side * 140
            ctx.move_to(x0, 350)
            ctx.curve_to(x0 + side * 120, 330, x0 + side * 180, 390, x0 + side * 320, 350)
            ctx.stroke()
            ctx.arc(x0 + side * 320, 350, 7, 0, 2 * math.pi)
            ctx.fill()
        cv.heart(ctx, 512, 362, 34)
        cv.set_colour(ctx, "#E84A7F")
        ctx.fill()
    _text_art(ctx, [("You’re Invited", 150)], "Dancing Script", cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD,
              [(0, "#E2B04A"), (1, "#B8862B")], decorate=deco)


def hooray_text(ctx):
    def deco(top, h):
        rng = cv.seeded("hooray")
        for i in range(14):
            a = -math.pi + math.pi * i / 13
            x, y = 512 + math.cos(a) * 470, 300 + math.sin(a) * 250
            shapes.confetti_piece(ctx, x, y, 12, cv.PALETTE[cv.FESTIVE[i % len(cv.FESTIVE)]], i % 5, rng.uniform(0, 6))
    _text_art(ctx, [("Hooray!", 190)], "Lobster Two", cairo.FONT_SLANT_ITALIC, cairo.FONT_WEIGHT_BOLD,
              [(0, "#4CD6A8"), (1, "#22B8CF")], decorate=deco)


def congratulations_text(ctx):
    def deco(top, h):
        for x in (70, 954):
            cv.star(ctx, x, 210, 36, 16, roundness=0.15)
            cv.set_colour(ctx, "#F4B93E")
            ctx.fill()
    _text_art(ctx, [("Congratulations", 128)], "Dancing Script", cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD,
              [(0, "#7B5CD6"), (1, "#3D6DE0")], decorate=deco)


def cheers_text(ctx):
    def deco(top, h):
        rng = cv.seeded("cheers")
        for _ in range(18):
            x, y = rng.uniform(120, 904), rng.uniform(20, 90)
            ctx.arc(x, y, rng.uniform(4, 10), 0, 2 * math.pi)
            ctx.set_source_rgba(0.96, 0.73, 0.24, rng.uniform(0.5, 0.9))
            ctx.fill()
    _text_art(ctx, [("Cheers!", 190)], "Lobster Two", cairo.FONT_SLANT_ITALIC, cairo.FONT_WEIGHT_BOLD,
              [(0, "#FFE08A"), (0.5, "#F4B93E"), (1, "#C98A22")], outline="#FFFFFF", decorate=deco)


def best_wishes_text(ctx):
    def deco(top, h):
        for x, y in ((150, 120), (880, 300)):
            shapes.blossom(ctx, x, y, 34, "#FFB3C6", "#F4B93E")
            shapes.leaf(ctx, x + 20, y + 20, 50, 0.6, "#5DBB63")
            shapes.leaf(ctx, x - 20, y + 20, 50, 2.5, "#5DBB63")
    _text_art(ctx, [("Best Wishes", 150)], "Dancing Script", cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD,
              [(0, "#FF7FA6"), (1, "#E84A7F")], decorate=deco)


CATEGORIES = {
    "Balloons": [("Red Balloon", red_balloon), ("Balloon Trio", balloon_trio), ("Heart Balloon", heart_balloon),
                 ("Star Balloon", star_balloon), ("Balloon Bunch", balloon_bunch),
                 ("Hot Air Balloon", hot_air_balloon)],
    "Cakes": [("Birthday Cake", birthday_cake), ("Cupcake", cupcake), ("Cake Slice", cake_slice),
              ("Chocolate Cake", chocolate_cake), ("Candles", candles), ("Donut", donut)],
    "Gifts": [("Red Gift", red_gift), ("Polka Dot Gift", polka_gift), ("Striped Gift", striped_gift),
              ("Gift Stack", gift_stack), ("Gift Bag", gift_bag), ("Round Gift Box", round_gift_box)],
    "Flowers": [("Pink Rose", pink_rose), ("Tulip", tulip), ("Daisy", daisy), ("Sunflower", sunflower),
                ("Bouquet", bouquet), ("Flower Wreath", flower_wreath)],
    "Party": [("Party Hat", party_hat), ("Party Popper", party_popper), ("Bunting", bunting_garland),
              ("Champagne Toast", champagne_toast), ("Disco Ball", disco_ball), ("Crown", crown)],
    "Frames": [("Gold Frame", gold_frame), ("Leaf Wreath", wreath_frame), ("Ribbon Banner", ribbon_banner),
               ("Scalloped Label", scalloped_label), ("Confetti Frame", confetti_frame),
               ("Balloon Frame", balloon_frame), ("Star Badge", star_badge)],
    "Animals": [("Teddy Bear", teddy_bear), ("Kitten", kitten), ("Bunny", bunny), ("Puppy", puppy), ("Owl", owl),
                ("Penguin", penguin)],
    "Celebration Text": [("Happy Birthday", happy_birthday_text), ("Lets Party", lets_party_text),
                         ("Youre Invited", youre_invited_text), ("Hooray", hooray_text),
                         ("Congratulations", congratulations_text), ("Cheers", cheers_text),
                         ("Best Wishes", best_wishes_text)],
}

TEXT_SIZE = (1024, 420)
MARGIN = 8
BLEED = 64


def _cropped(surface):
    image = cv.to_image(surface)
    box = image.getchannel("A").getbbox()
    if not box:
        raise ValueError("a library picture drew nothing")
    x0, y0, x1, y1 = box
    return image.crop((max(0, x0 - MARGIN), max(0, y0 - MARGIN), min(image.width, x1 + MARGIN),
                       min(image.height, y1 + MARGIN)))


def draw_all(out_dir):
    paths = []
    for category, items in CATEGORIES.items():
        for name, draw in items:
            w, h = TEXT_SIZE if category == "Celebration Text" else (SIZE, SIZE)
            surface, ctx = cv.new_surface(w + 2 * BLEED, h + 2 * BLEED)
            ctx.translate(BLEED, BLEED)
            draw(ctx)
            path = f"{out_dir}/{category}/{name}.png"
            cv.ensure_dir(path)
            _cropped(surface).save(path, "PNG", optimize=True)
            paths.append(path)
    return paths
