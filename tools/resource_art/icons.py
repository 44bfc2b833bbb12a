"""Application icon and tool-bar icons.

Tool-bar icons share one style: drawn on a 24-unit grid, dark ink outlines of 2 units with round
ends, soft accent fills from the card palette. Each is written at 24 and 48 pixels
(icons/24/<name>.png, icons/48/<name>.png); the drawing tools carry their tool number in the name.
The print window's placement buttons are in icons/align/ under the names it asks for.
"""

import math

import cairo

from . import canvas as cv

INK = "#34405A"
WHITE = "#FFFFFF"
SIZES = (24, 48)
APP_SIZES = (16, 24, 32, 48, 64, 128, 256)


def _outline(ctx, fill=None, width=2.0, colour=INK):
    if fill:
        cv.set_colour(ctx, fill)
        ctx.fill_preserve()
    ctx.set_line_width(width)
    cv.set_colour(ctx, colour)
    ctx.stroke()


def _line(ctx, *points, width=2.0, colour=INK):
    ctx.move_to(*points[0])
    for p in points[1:]:
        ctx.line_to(*p)
    _outline(ctx, width=width, colour=colour)


def _dot(ctx, x, y, r, colour):
    ctx.new_sub_path()
    ctx.arc(x, y, r, 0, 2 * math.pi)
    cv.set_colour(ctx, colour)
    ctx.fill()


def _picture(ctx, x, y, w, h, fill="#DDEEFF"):
    """A small framed landscape: the picture glyph used by several icons."""
    cv.rounded_rect(ctx, x, y, w, h, 1.5)
    _outline(ctx, fill)
    ctx.save()
    cv.rounded_rect(ctx, x + 1, y + 1, w - 2, h - 2, 1)
    ctx.clip()
    cv.polygon(ctx, [(x, y + h), (x + w * 0.38, y + h * 0.45), (x + w * 0.62, y + h * 0.75), (x + w * 0.75, y + h * 0.6),
                     (x + w, y + h)])
    cv.set_colour(ctx, "#4CD6A8")
    ctx.fill()
    ctx.restore()
    _dot(ctx, x + w * 0.72, y + h * 0.3, min(w, h) * 0.11, "#F4B93E")


# --- drawing tools -------------------------------------------------------------------------------

def arrow(ctx):
    cv.polygon(ctx, [(6, 3), (6, 19), (10, 15.2), (12.8, 21), (15.6, 19.8), (12.8, 14), (18, 14)])
    _outline(ctx, WHITE, width=1.8)


def line(ctx):
    _line(ctx, (6, 18), (18, 6))
    for x, y in ((5, 19), (19, 5)):
        ctx.rectangle(x - 2.2, y - 2.2, 4.4, 4.4)
        _outline(ctx, "#FF6B6B", width=1.2)


def text(ctx):
    cv.polygon(ctx, [(4, 4), (18, 4), (18, 8), (16.2, 8), (15.6, 6.4), (12.6, 6.4), (12.6, 18), (14.6, 18.6),
                     (14.6, 20), (7.4, 20), (7.4, 18.6), (9.4, 18), (9.4, 6.4), (6.4, 6.4), (5.8, 8), (4, 8)])
    cv.set_colour(ctx, INK)
    ctx.fill()
    _line(ctx, (20.5, 11), (20.5, 21), width=1.6, colour="#FF6B6B")


def rectangle(ctx):
    ctx.rectangle(3, 6, 18, 12)
    _outline(ctx, "#CFE6FA")


def circle(ctx):
    ctx.arc(12, 12, 8.5, 0, 2 * math.pi)
    _outline(ctx, "#C8F2E4")


def rounded_rectangle(ctx):
    cv.rounded_rect(ctx, 3, 6, 18, 12, 4)
    _outline(ctx, "#FFE3B0")


def triangle(ctx):
    cv.polygon(ctx, [(12, 3.5), (21, 19.5), (3, 19.5)])
    _outline(ctx, "#FFD2D2")


def diamond(ctx):
    cv.polygon(ctx, [(12, 2.5), (21.5, 12), (12, 21.5), (2.5, 12)])
    _outline(ctx, "#E4DAFB")


def picture_file(ctx):
    cv.polygon(ctx, [(5, 3), (14, 3), (19, 8), (19, 21), (5, 21)])
    _outline(ctx, WHITE)
    _line(ctx, (14, 3), (14, 8), (19, 8), width=1.6)
    ctx.save()
    cv.polygon(ctx, [(6, 10), (18, 10), (18, 20), (6, 20)])
    ctx.clip()
    cv.polygon(ctx, [(6, 20), (10, 13.5), (13, 17), (15, 15), (18, 20)])
    cv.set_colour(ctx, "#4CD6A8")
    ctx.fill()
    ctx.restore()
    _dot(ctx, 15, 12.5, 1.4, "#F4B93E")


def picture_library(ctx):
    ctx.save()
    ctx.translate(12, 12)
    ctx.rotate(-0.2)
    cv.rounded_rect(ctx, -8, -8, 14, 11, 1.5)
    _outline(ctx, "#FFE3B0", width=1.6)
    ctx.restore()
    _picture(ctx, 7, 9, 14, 11)


def barcode(ctx):
    x = 5.0
    for w in (1.2, 0.6, 1.8, 0.6, 1.2, 0.6, 0.6, 1.8, 1.2, 0.6, 1.2):
        ctx.rectangle(x, 6.5, w, 11)
        x += w + 0.75
    cv.set_colour(ctx, INK)
    ctx.fill()
    for sx, sy in ((1, 1), (-1, 1), (1, -1), (-1, -1)):
        cx, cy = 12 - sx * 9.5, 12 - sy * 8.5
        _line(ctx, (cx, cy + sy * 3.5), (cx, cy), (cx + sx * 3.5, cy), width=1.6, colour="#FF6B6B")


def signature(ctx):
    ctx.move_to(3, 15)
    ctx.curve_to(5, 8, 8, 5, 8.5, 8)
    ctx.curve_to(9, 11, 6, 17, 8, 16.5)
    ctx.curve_to(10, 16, 11, 11, 12.5, 11.5)
    ctx.curve_to(14, 12, 12.5, 16, 14.5, 15.5)
    ctx.curve_to(16.5, 15, 17, 12, 18.5, 12.5)
    ctx.curve_to(19.5, 13, 19, 15, 21, 14.5)
    _outline(ctx, width=1.7)
    _line(ctx, (3, 19.5), (21, 19.5), width=1.4, colour="#FF6B6B")


def fingerprint(ctx):
    ctx.set_line_width(1.5)
    cv.set_colour(ctx, INK)
    for i, (r, a0, a1) in enumerate(((2.2, 0.4, 2.6), (4.6, -3.6, 0.5), (7.0, -3.5, -0.6), (9.4, -3.4, -0.8))):
        ctx.new_sub_path()
        ctx.arc(12, 13.5, r, a0 if i else math.pi * 1.05, a1 if i else math.pi * 2.1)
        ctx.stroke()
    ctx.move_to(12, 13.5)
    ctx.curve_to(12, 17, 11, 19, 9.5, 21)
    ctx.stroke()
    ctx.move_to(16.6, 14)
    ctx.curve_to(16.6, 17, 16, 19, 15, 21)
    ctx.stroke()
    ctx.move_to(7.4, 14.5)
    ctx.curve_to(7.6, 17, 6.6, 18.6, 5.4, 19.6)
    ctx.stroke()


def star(ctx):
    cv.star(ctx, 12, 12.8, 10, 4.4, roundness=0.08)
    _outline(ctx, "#FFD166", width=1.8)


def multi_star(ctx):
    cv.star(ctx, 12, 12, 10, 6, points=10, roundness=0.05)
    _outline(ctx, "#FFB3B3", width=1.6)


def polygon(ctx):
    cv.regular_polygon(ctx, 12, 12.5, 9, 6, rotation=-math.pi / 2)
    _outline(ctx, "#E4DAFB")
    for i in range(6):
        a = -math.pi / 2 + 2 * math.pi * i / 6
        _dot(ctx, 12 + 9 * math.cos(a), 12.5 + 9 * math.sin(a), 1.7, "#7B5CD6")


TOOLS = [arrow, line, text, rectangle, circle, rounded_rectangle, triangle, diamond, picture_file, picture_library,
         barcode, signature, fingerprint, star, multi_star, polygon]
TOOL_NAMES = ["arrow", "line", "text", "rectangle", "circle", "rounded-rectangle", "triangle", "diamond",
              "picture-file", "picture-library", "barcode", "signature", "fingerprint", "star", "multi-point-star",
              "polygon"]


# --- commands ------------------------------------------------------------------------------------

def _page(ctx, fill=WHITE):
    cv.polygon(ctx, [(5, 2.5), (14, 2.5), (19, 7.5), (19, 21.5), (5, 21.5)])
    _outline(ctx, fill)
    _line(ctx, (14, 2.5), (14, 7.5), (19, 7.5), width=1.6)


def new(ctx):
    _page(ctx)
    ctx.arc(17, 17, 5, 0, 2 * math.pi)
    cv.set_colour(ctx, "#FF6B6B")
    ctx.fill()
    _line(ctx, (17, 14.5), (17, 19.5), width=1.8, colour=WHITE)
    _line(ctx, (14.5, 17), (19.5, 17), width=1.8, colour=WHITE)


def open_(ctx):
    cv.polygon(ctx, [(2.5, 5), (9, 5), (11, 7.5), (19.5, 7.5), (19.5, 19.5), (2.5, 19.5)])
    _outline(ctx, "#FFD98A")
    cv.polygon(ctx, [(2.5, 19.5), (5.5, 11), (22, 11), (19.5, 19.5)])
    _outline(ctx, "#F4B93E")


def save(ctx):
    cv.polygon(ctx, [(3.5, 3.5), (17, 3.5), (20.5, 7), (20.5, 20.5), (3.5, 20.5)])
    _outline(ctx, "#CFE6FA")
    ctx.rectangle(7.5, 3.5, 8, 5.5)
    _outline(ctx, WHITE, width=1.6)
    cv.rounded_rect(ctx, 6.5, 12.5, 11, 8, 1)
    _outline(ctx, WHITE, width=1.6)
    _line(ctx, (9, 15.5), (15, 15.5), width=1.2, colour="#5AA9E6")
    _line(ctx, (9, 18), (13, 18), width=1.2, colour="#5AA9E6")


def export(ctx):
    ctx.move_to(3.5, 12)
    ctx.line_to(3.5, 20.5)
    ctx.line_to(17.5, 20.5)
    ctx.line_to(17.5, 16)
    _outline(ctx)
    _line(ctx, (8.5, 15.5), (20, 4), colour="#FF6B6B", width=2.2)
    _line(ctx, (13, 4), (20, 4), (20, 11), colour="#FF6B6B", width=2.2)


def print_(ctx):
    ctx.rectangle(6.5, 2.5, 11, 7)
    _outline(ctx, WHITE)
    cv.rounded_rect(ctx, 2.5, 8.5, 19, 9, 2)
    _outline(ctx, "#CFD6E4")
    ctx.rectangle(6.5, 14, 11, 7.5)
    _outline(ctx, WHITE)
    _line(ctx, (9, 17), (15, 17), width=1.2, colour="#5AA9E6")
    _line(ctx, (9, 19.3), (13, 19.3), width=1.2, colour="#5AA9E6")
    _dot(ctx, 18.5, 11.5, 1.1, "#4CD6A8")


def mail(ctx):
    cv.rounded_rect(ctx, 2.5, 5.5, 19, 13, 1.5)
    _outline(ctx, WHITE)
    _line(ctx, (3, 6.5), (12, 13), (21, 6.5), width=1.8)
    cv.heart(ctx, 17.5, 16, 5.5)
    cv.set_colour(ctx, "#FF6B6B")
    ctx.fill()


def _curved_arrow(ctx, mirror):
    ctx.save()
    if mirror:
        ctx.translate(24, 0)
        ctx.scale(-1, 1)
    ctx.move_to(7, 9.5)
    ctx.line_to(14, 9.5)
    ctx.curve_to(18.5, 9.5, 20.5, 12.5, 20.5, 14.5)
    ctx.curve_to(20.5, 17.5, 18, 19.5, 14.5, 19.5)
    ctx.line_to(10, 19.5)
    _outline(ctx, width=2.2)
    cv.polygon(ctx, [(3, 9.5), (8.5, 4.8), (8.5, 14.2)])
    _outline(ctx, "#FF6B6B", width=1.6, colour="#FF6B6B")
    ctx.restore()


def undo(ctx):
    _curved_arrow(ctx, False)


def redo(ctx):
    _curved_arrow(ctx, True)


def front_side(ctx):
    cv.rounded_rect(ctx, 6, 3, 15, 11, 2)
    _outline(ctx, "#E6E9F0", width=1.4, colour="#8C95A8")
    cv.rounded_rect(ctx, 2.5, 8, 16, 12, 2)
    _outline(ctx, "#FFE0E6")
    cv.heart(ctx, 10.5, 14.2, 7)
    cv.set_colour(ctx, "#FF6B6B")
    ctx.fill()


def back_side(ctx):
    cv.rounded_rect(ctx, 6, 3, 15, 11, 2)
    _outline(ctx, "#E6E9F0", width=1.4, colour="#8C95A8")
    cv.rounded_rect(ctx, 2.5, 8, 16, 12, 2)
    _outline(ctx, "#DDF3FB")
    for y, w in ((12.5, 7), (15, 9), (17.5, 6)):
        _line(ctx, (5.5, y), (5.5 + w, y), width=1.2, colour="#22B8CF")
    ctx.rectangle(13.5, 10.5, 3, 3.5)
    cv.set_colour(ctx, "#F4B93E")
    ctx.fill()


def data_series(ctx):
    cv.rounded_rect(ctx, 3, 4, 18, 16, 2)
    _outline(ctx, WHITE)
    ctx.save()
    cv.rounded_rect(ctx, 3, 4, 18, 16, 2)
    ctx.clip()
    ctx.rectangle(3, 4, 18, 4.5)
    cv.set_colour(ctx, "#4CD6A8")
    ctx.fill()
    ctx.restore()
    cv.rounded_rect(ctx, 3, 4, 18, 16, 2)
    _outline(ctx)
    _line(ctx, (3, 8.5), (21, 8.5), width=1.4)
    _line(ctx, (3, 12.5), (21, 12.5), width=1.2)
    _line(ctx, (3, 16.3), (21, 16.3), width=1.2)
    _line(ctx, (9.5, 4), (9.5, 20), width=1.2)


def profile(ctx):
    ctx.arc(12, 8.5, 4.5, 0, 2 * math.pi)
    _outline(ctx, "#E4DAFB")
    ctx.move_to(3.5, 21)
    ctx.curve_to(3.5, 15.5, 7.5, 14, 12, 14)
    ctx.curve_to(16.5, 14, 20.5, 15.5, 20.5, 21)
    ctx.close_path()
    _outline(ctx, "#B59CF2")


def help_(ctx):
    ctx.arc(12, 12, 9.5, 0, 2 * math.pi)
    _outline(ctx, "#CFE6FA")
    ctx.move_to(8.8, 9.4)
    ctx.curve_to(8.8, 7, 10.4, 6, 12.1, 6)
    ctx.curve_to(14, 6, 15.4, 7.3, 15.4, 9)
    ctx.curve_to(15.4, 11.2, 12.2, 11.6, 12.2, 14.2)
    _outline(ctx, width=2.2)
    _dot(ctx, 12.2, 17.4, 1.4, INK)


COMMANDS = [("new", new), ("open", open_), ("save", save), ("export", export), ("print", print_), ("mail", mail),
            ("undo", undo), ("redo", redo), ("front-side", front_side), ("back-side", back_side),
            ("data-series", data_series), ("profile", profile), ("help", help_)]


# --- placement of the block of cards on a printed sheet ------------------------------------------

# Row-major from top left; the print window loads them by these names, misspellings included.
ALIGN_NAMES = [("top_left", "top_left - sel"), ("top_center", "top_center - sel"), ("top_right", "top_right - sel"),
               ("middle_left", "middle_left - sel"), ("middle_center", "middle_center_sel"),
               ("middle_right", "middle_right - sel"), ("bootom_left", "bootom_left - sel"),
               ("bootom_center", "bootom_center - sel"), ("boottom_right", "boottom_right - sel")]
ALIGN_SIZE = 32


def _sheet_position(ctx, column, row, selected):
    """A sheet with a 2 x 2 block of cards placed at (column, row) of a 3 x 3 grid."""
    accent = "#FF6B6B"
    cv.rounded_rect(ctx, 2.5, 2.5, 19, 19, 2)
    _outline(ctx, "#FFF1F1" if selected else WHITE, width=1.4, colour=accent if selected else "#8C95A8")
    card_w, card_h, gap = 3.4, 2.4, 0.8
    block_w, block_h = 2 * card_w + gap, 2 * card_h + gap
    x = 4.6 + column * (14.8 - block_w) / 2
    y = 4.6 + row * (14.8 - block_h) / 2
    for i in range(4):
        cv.rounded_rect(ctx, x + (i % 2) * (card_w + gap), y + (i // 2) * (card_h + gap), card_w, card_h, 0.5)
    cv.set_colour(ctx, accent if selected else INK)
    ctx.fill()


# --- application icon ----------------------------------------------------------------------------

def app_icon(ctx):
    """On a 256-unit square: a tilted birthday card with a balloon on a warm rounded tile."""
    cv.rounded_rect(ctx, 12, 12, 232, 232, 52)
    ctx.set_source(cv.linear(12, 12, 244, 244, (0, "#FF8A7A"), (0.55, "#F0588A"), (1, "#8B5CF0")))
    ctx.fill()
    cv.rounded_rect(ctx, 12, 12, 232, 116, 52)
    ctx.set_source(cv.linear(0, 12, 0, 128, (0, cv.rgb("#FFFFFF", 0.18)), (1, cv.rgb("#FFFFFF", 0))))
    ctx.fill()
    ctx.save()
    ctx.translate(128, 134)
    ctx.rotate(-0.14)
    cv.rounded_rect(ctx, -66, -78, 140, 170, 14)
    ctx.set_source_rgba(0.25, 0.05, 0.2, 0.25)
    ctx.fill()
    cv.rounded_rect(ctx, -72, -88, 140, 170, 14)
    cv.set_colour(ctx, "#FFFDF8")
    ctx.fill()
    # Balloon on the card
    ctx.set_line_width(3)
    cv.set_colour(ctx, "#9AA3B5")
    ctx.move_to(-2, 12)
    ctx.curve_to(10, 30, -14, 44, 0, 62)
    ctx.stroke()
    ctx.move_to(-2, 14)
    ctx.curve_to(-30, 8, -44, -18, -44, -36)
    ctx.curve_to(-44, -60, -25, -72, -2, -72)
    ctx.curve_to(21, -72, 40, -60, 40, -36)
    ctx.curve_to(40, -18, 26, 8, -2, 14)
    ctx.close_path()
    ctx.set_source(cv.radial(-16, -48, 2, -2, -30, 60, (0, "#FFB3A6"), (0.5, "#FF6B6B"), (1, "#E04459")))
    ctx.fill()
    cv.polygon(ctx, [(-2, 10), (-9, 20), (5, 20)])
    cv.set_colour(ctx, "#E04459")
    ctx.fill()
    ctx.save()
    ctx.translate(-20, -50)
    ctx.rotate(-0.6)
    cv.ellipse(ctx, 0, 0, 6, 12)
    ctx.set_source_rgba(1, 1, 1, 0.6)
    ctx.fill()
    ctx.restore()
    for x, y, c, a in ((-52, 52, "#F4B93E", 0.5), (40, 40, "#22B8CF", -0.4), (30, 62, "#7B5CD6", 0.9),
                       (-40, 70, "#4CD6A8", -0.8)):
        ctx.save()
        ctx.translate(x, y)
        ctx.rotate(a)
        cv.rounded_rect(ctx, -8, -3, 16, 6, 2)
        cv.set_colour(ctx, c)
        ctx.fill()
        ctx.restore()
    ctx.restore()
    cv.star(ctx, 206, 58, 24, 10, roundness=0.15)
    cv.set_colour(ctx, "#FFD166")
    ctx.fill()


def _draw_scaled(draw, size, units):
    surface, ctx = cv.new_surface(size, size)
    ctx.scale(size / units, size / units)
    draw(ctx)
    return surface


def draw_all(out_dir):
    paths = []
    for size in SIZES:
        for number, (name, draw) in enumerate(zip(TOOL_NAMES, TOOLS)):
            path = f"{out_dir}/{size}/tool-{number:02d}-{name}.png"
            cv.save_png(_draw_scaled(draw, size, 24), path)
            paths.append(path)
        for name, draw in COMMANDS:
            path = f"{out_dir}/{size}/{name}.png"
            cv.save_png(_draw_scaled(draw, size, 24), path)
            paths.append(path)
    for index, names in enumerate(ALIGN_NAMES):
        for selected, name in enumerate(names):
            def draw(ctx, column=index % 3, row=index // 3, selected=bool(selected)):
                _sheet_position(ctx, column, row, selected)
            path = f"{out_dir}/align/{name}.png"
            cv.save_png(_draw_scaled(draw, ALIGN_SIZE, 24), path)
            paths.append(path)
    for size in APP_SIZES:
        path = f"{out_dir}/app/festiloom-{size}.png"
        cv.save_png(_draw_scaled(app_icon, size, 256), path)
        paths.append(path)
    svg_path = f"{out_dir}/app/festiloom.svg"
    svg = cairo.SVGSurface(svg_path, 256, 256)
    if hasattr(svg, "set_document_unit"):
        svg.set_document_unit(cairo.SVG_UNIT_PX)
    ctx = cairo.Context(svg)
    app_icon(ctx)
    svg.finish()
    paths.append(svg_path)
    return paths
