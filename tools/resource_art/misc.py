"""The single pictures the application loads by name: the missing-picture placeholder, the sample
barcode a barcode element shows before it has a picture of its own, and the promotion backdrop."""

import math

from . import canvas as cv

# EAN-13 digit patterns (left odd "L", left even "G", right "R") and the first digit's parity choice.
_L = ["0001101", "0011001", "0010011", "0111101", "0100011", "0110001", "0101111", "0111011", "0110111", "0001011"]
_G = ["0100111", "0110011", "0011011", "0100001", "0011101", "0111001", "0000101", "0010001", "0001001", "0010111"]
_R = ["1110010", "1100110", "1101100", "1000010", "1011100", "1001110", "1010000", "1000100", "1001000", "1110100"]
_PARITY = ["LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG", "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"]

# An in-store number (prefix 20-29 is never a real product), so the sample cannot be mistaken for one.
SAMPLE_DIGITS = "200123456789"


def ean13_check_digit(twelve):
    total = sum(int(d) * (3 if i % 2 else 1) for i, d in enumerate(twelve))
    return str((10 - total % 10) % 10)


def ean13_modules(digits):
    """The 95 modules of an EAN-13 symbol, '1' dark."""
    parity = _PARITY[int(digits[0])]
    bits = "101"
    for i, d in enumerate(digits[1:7]):
        bits += (_L if parity[i] == "L" else _G)[int(d)]
    bits += "01010"
    for d in digits[7:13]:
        bits += _R[int(d)]
    return bits + "101"


def draw_barcode_sample(path, scale=2):
    """A 180 x 90 point EAN-13 at `scale` pixels per point, laid out as printed on goods."""
    digits = SAMPLE_DIGITS + ean13_check_digit(SAMPLE_DIGITS)
    modules = ean13_modules(digits)
    width, height = 180 * scale, 90 * scale
    module = 3 if scale == 2 else max(1, round(1.5 * scale))
    surface, ctx = cv.new_surface(width, height)
    ctx.set_source_rgb(1, 1, 1)
    ctx.paint()

    left = (width - 95 * module) // 2
    top = 8 * scale
    bar_bottom = 70 * scale
    guard_bottom = 76 * scale
    guards = set(range(0, 3)) | set(range(45, 50)) | set(range(92, 95))
    ctx.set_source_rgb(0, 0, 0)
    for i, bit in enumerate(modules):
        if bit == "1":
            ctx.rectangle(left + i * module, top, module, (guard_bottom if i in guards else bar_bottom) - top)
    ctx.fill()

    ctx.select_font_face("DejaVu Sans Mono", 0, 0)
    ctx.set_font_size(11 * scale)
    baseline = 84 * scale

    def centred(text, x):
        ext = ctx.text_extents(text)
        ctx.move_to(x - ext.x_advance / 2, baseline)
        ctx.show_text(text)

    centred(digits[0], left - 5 * module)
    for i, d in enumerate(digits[1:7]):
        centred(d, left + (3 + 7 * i + 3.5) * module)
    for i, d in enumerate(digits[7:]):
        centred(d, left + (50 + 7 * i + 3.5) * module)
    cv.save_png(surface, path)
    return digits


def draw_placeholder(path, size=256):
    """Shown where a picture file has gone missing: a calm framed picture glyph, crossed out."""
    surface, ctx = cv.new_surface(size, size)
    s = size / 256.0
    ctx.scale(s, s)
    cv.rounded_rect(ctx, 12, 12, 232, 232, 28)
    cv.set_colour(ctx, "#EEF1F6")
    ctx.fill_preserve()
    ctx.set_dash([10, 8])
    ctx.set_line_width(4)
    cv.set_colour(ctx, "#B7C1D1")
    ctx.stroke()
    ctx.set_dash([])

    # The picture glyph: frame, sun and two hills.
    cv.rounded_rect(ctx, 60, 72, 136, 104, 12)
    cv.set_colour(ctx, "#FFFFFF")
    ctx.fill_preserve()
    ctx.set_line_width(8)
    cv.set_colour(ctx, "#8E9AB0")
    ctx.stroke()
    ctx.save()
    cv.rounded_rect(ctx, 64, 76, 128, 96, 8)
    ctx.clip()
    cv.set_colour(ctx, "#C3CBD9")
    ctx.move_to(56, 176)
    ctx.line_to(104, 122)
    ctx.line_to(136, 152)
    ctx.line_to(154, 134)
    ctx.line_to(200, 176)
    ctx.close_path()
    ctx.fill()
    ctx.restore()
    ctx.new_sub_path()
    ctx.arc(160, 104, 12, 0, 2 * math.pi)
    cv.set_colour(ctx, "#C3CBD9")
    ctx.fill()

    # The slash, with a gap cut around it so it reads at thumbnail size.
    ctx.set_line_width(22)
    cv.set_colour(ctx, "#EEF1F6")
    ctx.move_to(56, 200)
    ctx.line_to(200, 56)
    ctx.stroke()
    ctx.set_line_width(9)
    cv.set_colour(ctx, "#E0656B")
    ctx.move_to(56, 200)
    ctx.line_to(200, 56)
    ctx.stroke()
    cv.save_png(surface, path)


def draw_promotion_pattern(path, size=320):
    """A quiet seamless tile of confetti and stars on a pale ground, for behind promotion panels."""
    surface, ctx = cv.new_surface(size, size)
    ctx.set_source(cv.linear(0, 0, 0, size, (0, "#FBF7FF"), (1, "#FBF7FF")))
    ctx.paint()
    rng = cv.seeded("promotion-pattern")
    # Jittered grid rather than free scatter: even coverage without clumps or bare patches.
    cells = 7
    cell = size / cells
    pieces = []
    for i in range(cells * cells):
        x = (i % cells + rng.uniform(0.15, 0.85)) * cell
        y = (i // cells + rng.uniform(0.15, 0.85)) * cell
        pieces.append((x, y, rng.choice(cv.FESTIVE), rng.randrange(4), rng.uniform(0, math.pi),
                       rng.uniform(0.8, 1.25)))
    for dx in (-size, 0, size):
        for dy in (-size, 0, size):
            for x, y, colour, kind, angle, k in pieces:
                ctx.save()
                ctx.translate(x + dx, y + dy)
                ctx.rotate(angle)
                ctx.scale(k, k)
                cv.set_colour(ctx, cv.lighter(colour, 0.35), 0.9)
                if kind == 0:
                    cv.rounded_rect(ctx, -7, -2.5, 14, 5, 2)
                    ctx.fill()
                elif kind == 1:
                    ctx.arc(0, 0, 4, 0, 2 * math.pi)
                    ctx.fill()
                elif kind == 2:
                    cv.star(ctx, 0, 0, 7, 3, roundness=0.15)
                    ctx.fill()
                else:
                    ctx.set_line_width(2.4)
                    ctx.move_to(-8, 0)
                    ctx.curve_to(-4, -6, 0, 6, 4, 0)
                    ctx.curve_to(6, -3, 8, -2, 9, 0)
                    ctx.stroke()
                ctx.restore()
    cv.save_jpeg(surface, path, quality=90)
