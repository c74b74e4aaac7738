#!/usr/bin/env python3
"""Draws Tavrel's pictures and writes them to pictures/ and embedded_pictures.cpp.

The outputs are committed, so the build never runs this; rerun it after a change:
    python3 resources/generate_pictures.py
Only the standard library is used and the output is the same on every run. The accessors it
writes consult the hand-written test-only override table of picture_overrides.cpp.
"""

import math
import struct
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent
PICTURES = HERE / "pictures"

SUBSAMPLES = 8  # per axis; sample centres never fall on pixel edges, so straight edges stay crisp


# ---------------------------------------------------------------- canvas

class Canvas:
    """RGBA pixels kept premultiplied as floats 0..1, so blends of partial coverage add up cleanly."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def over(self, x, y, rgb, alpha):
        """Composites a colour (0..255 channels) with alpha 0..1 over pixel (x, y)."""
        if alpha <= 0.0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        p = self.px[y * self.width + x]
        keep = 1.0 - alpha
        for i in range(3):
            p[i] = rgb[i] / 255.0 * alpha + p[i] * keep
        p[3] = alpha + p[3] * keep

    def put(self, x, y, rgb, alpha):
        self.px[y * self.width + x] = [c / 255.0 * alpha for c in rgb] + [alpha]

    def put_premultiplied(self, x, y, pixel):
        self.px[y * self.width + x] = list(pixel)

    def rgba_rows(self):
        """Straight (not premultiplied) 8-bit RGBA, top row first."""
        rows = []
        for y in range(self.height):
            row = bytearray()
            for x in range(self.width):
                r, g, b, a = self.px[y * self.width + x]
                a8 = round(min(max(a, 0.0), 1.0) * 255)
                if a8 == 0:
                    row += b"\0\0\0\0"
                    continue
                row += bytes(min(255, max(0, round(c / a * 255))) for c in (r, g, b))
                row.append(a8)
            rows.append(bytes(row))
        return rows


def coverage(inside, x, y, n=SUBSAMPLES):
    """Fraction of pixel (x, y) for which inside(px, py) holds."""
    hits = 0
    for j in range(n):
        sy = y + (j + 0.5) / n
        for i in range(n):
            if inside(x + (i + 0.5) / n, sy):
                hits += 1
    return hits / (n * n)


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    return tuple(lerp(a, b, t) for a, b in zip(c0, c1))


def hex_rgb(value):
    return ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)


def ramp(stops, pos):
    """Piecewise linear over (position, value) stops; values are numbers or colour tuples."""
    if pos <= stops[0][0]:
        return stops[0][1]
    for (p0, v0), (p1, v1) in zip(stops, stops[1:]):
        if pos <= p1:
            t = (pos - p0) / (p1 - p0)
            return mix(v0, v1, t) if isinstance(v0, tuple) else lerp(v0, v1, t)
    return stops[-1][1]


def round_rect_distance(px, py, x0, y0, x1, y1, r):
    """Signed distance to a rounded rectangle, negative inside."""
    qx = abs(px - (x0 + x1) / 2) - ((x1 - x0) / 2 - r)
    qy = abs(py - (y0 + y1) / 2) - ((y1 - y0) / 2 - r)
    return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r


def round_rect(x0, y0, x1, y1, r):
    return lambda px, py: round_rect_distance(px, py, x0, y0, x1, y1, r) <= 0.0


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def polygon_distance(px, py, points):
    """Signed distance to a closed polygon, negative inside (even-odd rule)."""
    best = float("inf")
    inside = False
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        best = min(best, segment_distance(px, py, ax, ay, bx, by))
        if (ay > py) != (by > py) and px < ax + (py - ay) * (bx - ax) / (by - ay):
            inside = not inside
    return -best if inside else best


def blur(values, width, height, passes=2):
    """Repeated [1 2 1] box blur, a cheap Gaussian for soft shadows."""
    for _ in range(passes):
        for horizontal in (True, False):
            out = [0.0] * len(values)
            for y in range(height):
                for x in range(width):
                    total = 0.0
                    for offset, weight in ((-1, 1), (0, 2), (1, 1)):
                        sx, sy = (x + offset, y) if horizontal else (x, y + offset)
                        if 0 <= sx < width and 0 <= sy < height:
                            total += weight * values[sy * width + sx]
                    out[y * width + x] = total / 4
            values = out
    return values


def shift(values, width, height, dx, dy):
    out = [0.0] * len(values)
    for y in range(height):
        for x in range(width):
            sx, sy = x - dx, y - dy
            if 0 <= sx < width and 0 <= sy < height:
                out[y * width + x] = values[sy * width + sx]
    return out


# ---------------------------------------------------------------- file formats

def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def encode_png(canvas, text=None):
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    raw = b"".join(b"\0" + row for row in canvas.rgba_rows())
    chunks = [png_chunk(b"IHDR", header)]
    if text is not None:
        chunks.append(png_chunk(b"tEXt", text[0].encode("latin-1") + b"\0" + text[1].encode("latin-1")))
    chunks.append(png_chunk(b"IDAT", zlib.compress(raw, 9)))
    chunks.append(png_chunk(b"IEND", b""))
    return b"\x89PNG\r\n\x1a\n" + b"".join(chunks)


def encode_icon_file(canvas, resource_type, field4, field6):
    """One 32-bit BMP image in an ICO (type 1) or CUR (type 2) file.

    field4 and field6 are the entry's planes and bit count for an icon, the hot spot for a cursor.
    """
    w, h = canvas.width, canvas.height
    rows = canvas.rgba_rows()
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((w + 31) // 32) * 4
    for row in reversed(rows):  # DIBs are stored bottom-up
        bits = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = row[4 * x:4 * x + 4]
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = info + bytes(pixels) + bytes(mask)
    directory = struct.pack("<HHH", 0, resource_type, 1)
    entry = struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, field4, field6, len(image), 6 + 16)
    return directory + entry + image


# ---------------------------------------------------------------- program icon

def draw_icon():
    size = 48
    c = Canvas(size, size)
    centre = size / 2
    outline = round_rect(1, 1, 47, 47, 7)
    frame = round_rect(2, 2, 46, 46, 6)
    tile_edge = round_rect(7, 7, 41, 41, 3)
    tile = round_rect(8, 8, 40, 40, 2)

    def swirl(px, py):
        # Four arms that wind inwards: the phase grows with the angle and the radius.
        dx, dy = px - centre, py - centre
        r = math.hypot(dx, dy) / 16.0
        if r < 0.16:
            return True
        return math.sin(4.0 * math.atan2(dy, dx) + 7.5 * r) > 0.15 - 0.35 * r

    for y in range(size):
        for x in range(size):
            cx, cy = x + 0.5, y + 0.5
            c_outline = coverage(outline, x, y)
            if c_outline == 0.0:
                continue
            c_frame = coverage(frame, x, y)
            c_edge = coverage(tile_edge, x, y)
            c_tile = coverage(tile, x, y)
            c_swirl = coverage(lambda px, py: tile(px, py) and swirl(px, py), x, y)
            # Bevel: lit from the top left.
            bevel = mix((0xEC, 0xD9, 0xFA), (0x7A, 0x48, 0xA6), ((cx - 2) + (cy - 2)) / 88.0)
            glow = min(1.0, math.hypot(cx - centre + 3, cy - centre + 3) / 22.0)
            purple = mix((0xC0, 0x7C, 0xF0), (0x5A, 0x1C, 0x8E), glow)
            parts = [
                (c_outline - c_frame, (0x24, 0x0A, 0x36)),
                (c_frame - c_edge, bevel),
                (c_edge - c_tile, (0x2E, 0x0C, 0x48)),
                (c_tile - c_swirl, purple),
                (c_swirl, (0x05, 0x00, 0x0A)),
            ]
            pixel = [0.0, 0.0, 0.0, 0.0]
            for weight, rgb in parts:
                for i in range(3):
                    pixel[i] += weight * rgb[i] / 255.0
                pixel[3] += weight
            c.put_premultiplied(x, y, pixel)
    return c


# ---------------------------------------------------------------- arrow cursor

def draw_cursor():
    size = 32
    c = Canvas(size, size)
    # The tip's outline pixel is the hot spot (1, 2).
    tip_x, tip_y = 2.0, 3.0
    # Straight edges on pixel lines keep the outline crisp; only the diagonals are smoothed.
    shape = [(0.0, 0.0), (0.0, 16.0), (3.9, 12.6), (6.8, 19.0), (9.4, 17.9),
             (6.9, 12.0), (12.0, 12.0)]
    shape = [(tip_x + x, tip_y + y) for x, y in shape]
    border = 1.0

    def white(px, py):
        return polygon_distance(px, py, shape) <= 0.0

    def dark(px, py):
        return polygon_distance(px, py, shape) <= border

    body = [0.0] * (size * size)
    fills = []
    for y in range(size):
        for x in range(size):
            c_dark = coverage(dark, x, y)
            c_white = coverage(white, x, y) if c_dark > 0.0 else 0.0
            body[y * size + x] = c_dark
            fills.append((c_dark, c_white))
    # A faint drop shadow lifts the arrow off light backgrounds.
    shadow = blur(shift(body, size, size, 1, 1), size, size, passes=2)
    for y in range(size):
        for x in range(size):
            c.over(x, y, (0, 0, 0), 0.28 * shadow[y * size + x])
            c_dark, c_white = fills[y * size + x]
            c.over(x, y, (0, 0, 0), c_dark)
            c.over(x, y, (255, 255, 255), c_white / c_dark if c_dark else 0.0)
    return c


# ---------------------------------------------------------------- frame border

def draw_frame_border():
    w, h = 32, 72
    c = Canvas(w, h)
    box = (8, 8, 24, 64)  # only this box is ever drawn, cut into corners and edges
    outer = round_rect(*box, 3)
    line = round_rect(box[0] + 1, box[1] + 1, box[2] - 1, box[3] - 1, 2)
    inner = round_rect(box[0] + 2, box[1] + 2, box[2] - 2, box[3] - 2, 1)
    for y in range(h):
        for x in range(w):
            if box[0] <= x < box[2] and box[1] <= y < box[3]:
                c_outer, c_line, c_inner = coverage(outer, x, y), coverage(line, x, y), coverage(inner, x, y)
                c.over(x, y, (0, 0, 0), (c_outer - c_line) * 204 / 255)
                c.over(x, y, (255, 255, 255), (c_line - c_inner) * 97 / 255)
            else:
                d = round_rect_distance(x + 0.5, y + 0.5, *box, 3)
                if d <= 8.0:
                    c.over(x, y, (0, 0, 0), 75 / 255 * (13 / 75) ** ((max(d, 0.5) - 0.5) / 7))
    return c


# ---------------------------------------------------------------- caption buttons

CLOSE_WIDTH, SMALL_WIDTH, CAPTION_HEIGHT = 39, 28, 20

# Ground colours of the lit states: (row 2 colour, row 10 colour).
CAPTION_GROUNDS = {
    "close": {"hover": ((255, 114, 81), (244, 55, 11)), "pressed": ((216, 74, 43), (204, 42, 1))},
    "small": {"hover": ((111, 215, 255), (10, 178, 240)), "pressed": ((29, 178, 235), (0, 146, 205))},
}


def close_glyph(px, py):
    # Two 3-pixel strokes crossing in the 9 x 8 box columns 15..23, rows 7..14.
    if not (15.0 <= px <= 24.0 and 7.0 <= py <= 15.0):
        return False
    centre = 16.5 + (py - 7.5) * 6.0 / 7.0
    return abs(px - centre) <= 1.5 or abs((CLOSE_WIDTH - px) - centre) <= 1.5


def maximize_glyph(px, py):
    # A 10 x 8 window outline in columns 9..18, rows 7..14, with a two-row title bar.
    if not (9.0 <= px <= 19.0 and 7.0 <= py <= 15.0):
        return False
    return py < 9.0 or py >= 14.0 or px < 10.0 or px >= 18.0


def minimize_glyph(px, py):
    return 9.0 <= px <= 19.0 and 13.0 <= py <= 15.0


def draw_caption(width, glyph, ground):
    c = Canvas(width, CAPTION_HEIGHT)
    for y in range(CAPTION_HEIGHT):
        for x in range(width):
            if ground is None:
                if y == 1:
                    c.over(x, y, (0, 0, 0), 30 / 255)
                elif 2 <= y <= 18:
                    c.over(x, y, (255, 255, 255), ramp([(2, 80.0), (18, 2.0)], y) / 255)
            else:
                top, middle = ground
                if y == 1:
                    # The same faint dark top line as the normal state, over the ground colour.
                    c.over(x, y, top, 1.0)
                    c.over(x, y, (0, 0, 0), 30 / 255)
                elif y >= 2:
                    rgb = ramp([(2, top), (10, middle)], y)
                    c.over(x, y, rgb, ramp([(2, 255.0), (10, 128.0), (19, 7.0)], y) / 255)
    mask = [coverage(glyph, x, y) for y in range(CAPTION_HEIGHT) for x in range(width)]
    shadow = blur(shift(mask, width, CAPTION_HEIGHT, 0, 1), width, CAPTION_HEIGHT, passes=1)
    for y in range(CAPTION_HEIGHT):
        for x in range(width):
            i = y * width + x
            c.over(x, y, (0, 0, 0), min(1.0, 0.75 * shadow[i]))
            c.over(x, y, (255, 255, 255), mask[i])
    return c


# ---------------------------------------------------------------- push-button strip

TILE_WIDTH, TILE_HEIGHT, TILE_PITCH = 17, 28, 18
SEPARATOR = (0x7F, 0x00, 0x7F)
MARKER = (0xFF, 0x00, 0xFF)


def band_rows(*bands):
    """Interior colour per row from (first row, last row, top colour, bottom colour) bands."""
    def colour(y):
        for first, last, top, bottom in bands:
            if first <= y <= last:
                return mix(hex_rgb(top), hex_rgb(bottom), (y - first) / max(1, last - first))
        if y < bands[0][0]:
            return hex_rgb(bands[0][2])
        return hex_rgb(bands[-1][3])
    return colour


TILE_STYLES = [
    {   # normal
        "halo": (0x001F51, (0x34, 0x10)),
        "frame": (0x2D6AAE, 0x05379C),
        "interior": band_rows((4, 13, 0xF5F8FC, 0xE4ECF8), (14, 22, 0xD1DEF3, 0xD0DDF3)),
        "highlights": {3: 0.85},
    },
    {   # hover
        "halo": (0x028BFF, (0x70, 0x2C)),
        "frame": (0x006BFF, 0x0037FF),
        "interior": band_rows((4, 13, 0xF5F8FC, 0xE4ECF8), (14, 22, 0xD1DEF3, 0xD0DDF3)),
        "highlights": {3: 0.85, 24: 0.8},
    },
    {   # pressed
        "halo": (0x001F51, (0x34, 0x10)),
        "frame": (0x2D6AAE, 0x05379C),
        "interior": band_rows((4, 13, 0xD0DDF3, 0xD1DEF3), (14, 22, 0xE4ECF8, 0xF2F6FB)),
        "highlights": {3: 0.5},
    },
    {   # disabled
        "halo": (0x000000, (0x1C, 0x08)),
        "frame": (0xA6A6A6, 0x949494),
        "interior": band_rows((4, 24, 0xE5E5E5, 0xE2E2E2)),
        "highlights": {3: 0.85},
    },
]


def draw_tile(style):
    """One 17 x 28 state tile. Rows and columns between the rounded corners are uniform,
    because the button stretches single columns and the middle rows of the tile."""
    c = Canvas(TILE_WIDTH, TILE_HEIGHT)
    box = (2, 2, 15, 26)  # frame at columns 2 and 14, rows 2 and 25
    outer = round_rect(*box, 3)
    inner = round_rect(box[0] + 1, box[1] + 1, box[2] - 1, box[3] - 1, 2)
    halo_rgb = hex_rgb(style["halo"][0])
    near, far = style["halo"][1]
    frame_top, frame_bottom = hex_rgb(style["frame"][0]), hex_rgb(style["frame"][1])
    for y in range(TILE_HEIGHT):
        frame_rgb = mix(frame_top, frame_bottom, (y - 2) / 23)
        inside_rgb = style["interior"](y)
        if y in style["highlights"]:
            inside_rgb = mix(inside_rgb, (255, 255, 255), style["highlights"][y])
        for x in range(TILE_WIDTH):
            c_outer, c_inner = coverage(outer, x, y), coverage(inner, x, y)
            d = round_rect_distance(x + 0.5, y + 0.5, *box, 3)
            halo_alpha = ramp([(0.5, near / 255), (1.5, far / 255), (2.5, 0.0)], max(d, 0.5))
            pixel = [0.0, 0.0, 0.0, 0.0]
            for weight, rgb, alpha in ((1.0 - c_outer, halo_rgb, halo_alpha),
                                       (c_outer - c_inner, frame_rgb, 0x99 / 255),
                                       (c_inner, inside_rgb, 0xDC / 255)):
                for i in range(3):
                    pixel[i] += weight * alpha * rgb[i] / 255
                pixel[3] += weight * alpha
            c.put_premultiplied(x, y, pixel)
    return c


def draw_button_strip():
    strip = Canvas(4 * TILE_PITCH - 1, TILE_HEIGHT)
    for t, style in enumerate(TILE_STYLES):
        tile = draw_tile(style)
        x0 = t * TILE_PITCH
        for y in range(TILE_HEIGHT):
            for x in range(TILE_WIDTH):
                strip.put_premultiplied(x0 + x, y, tile.px[y * TILE_WIDTH + x])
            # Markers the button code never samples, kept as the strip's landmarks.
            strip.put(x0 + 7, y, MARKER, 1.0)
            strip.put(x0 + 9, y, MARKER, 1.0)
            if t < 3:
                strip.put(x0 + TILE_WIDTH, y, SEPARATOR, 1.0)
    return strip


# ---------------------------------------------------------------- C++ source

def cpp_array(name, data):
    lines = [f"// {len(data)} bytes.", f"static const std::uint8_t {name}[] = {{"]
    for i in range(0, len(data), 16):
        lines.append("    " + ", ".join(f"0x{b:02X}" for b in data[i:i + 16]) + ",")
    lines.append("};")
    return "\n".join(lines)


def picture_id(file_name):
    """The PictureId enumerator (embedded_pictures.h) of a picture file."""
    fixed = {"tavrel.ico": "ProgramIcon", "tavrel.cur": "ArrowCursor", "frame_border.png": "FrameBorder",
             "button_strip.png": "ButtonStrip"}
    if file_name in fixed:
        return "PictureId::" + fixed[file_name]
    _, button, state = file_name[:-len(".png")].split("_")
    return f"PictureId::Caption{button.title()}{state.title()}"


def write_cpp(files):
    names = {
        "tavrel.ico": "kProgramIcon",
        "tavrel.cur": "kArrowCursor",
        "frame_border.png": "kFrameBorder",
        "button_strip.png": "kButtonStrip",
    }
    buttons = ["close", "maximize", "minimize"]
    states = ["normal", "hover", "pressed"]
    for button in buttons:
        for state in states:
            names[f"caption_{button}_{state}.png"] = f"kCaption{button.title()}{state.title()}"
    # clang-format would reflow the rows; 16 bytes a line keeps offsets easy to read.
    arrays = "// clang-format off\n" + "\n\n".join(cpp_array(names[f], files[f]) for f in names) + "\n// clang-format on"
    # One entry a line, as clang-format lays the table out.
    table = ",\n".join(
        "      {" + ",\n       ".join(f"{{{picture_id(f'caption_{b}_{s}.png')}, {names[f'caption_{b}_{s}.png']}}}"
                                     for s in states) + "}"
        for b in buttons)
    # Every accessor goes through OverriddenOr (picture_overrides.cpp, written by hand), which
    # returns a test's replacement bytes while one is set and the embedded bytes otherwise.
    source = f"""\
// Generated by generate_pictures.py: the bytes of the files in pictures/. Do not edit.
#include "resources/embedded_pictures.h"
#include "resources/picture_overrides.h"

namespace tavrel::resources {{

{arrays}

Bytes ProgramIcon() {{ return OverriddenOr({picture_id("tavrel.ico")}, kProgramIcon); }}

Bytes FrameBorder() {{ return OverriddenOr({picture_id("frame_border.png")}, kFrameBorder); }}

Bytes CaptionPicture(int button, int state) {{
  struct Entry {{
    PictureId id;
    Bytes bytes;
  }};
  static const Entry pictures[3][3] = {{
{table},
  }};
  if (button < 1 || button > 3 || state < 1 || state > 3) return {{}};
  const Entry& entry = pictures[button - 1][state - 1];
  return OverriddenOr(entry.id, entry.bytes);
}}

Bytes ButtonStrip() {{ return OverriddenOr({picture_id("button_strip.png")}, kButtonStrip); }}

Bytes ArrowCursor() {{ return OverriddenOr({picture_id("tavrel.cur")}, kArrowCursor); }}

}}  // namespace tavrel::resources
"""
    (HERE / "embedded_pictures.cpp").write_text(source, newline="\n")


# ---------------------------------------------------------------- main

def main():
    files = {
        "tavrel.ico": encode_icon_file(draw_icon(), 1, 1, 32),
        "tavrel.cur": encode_icon_file(draw_cursor(), 2, 1, 2),
        "frame_border.png": encode_png(draw_frame_border()),
        "button_strip.png": encode_png(draw_button_strip(), ("Software", "Tavrel generate_pictures.py")),
    }
    glyphs = {"close": (CLOSE_WIDTH, close_glyph, "close"),
              "maximize": (SMALL_WIDTH, maximize_glyph, "small"),
              "minimize": (SMALL_WIDTH, minimize_glyph, "small")}
    for button, (width, glyph, grounds) in glyphs.items():
        files[f"caption_{button}_normal.png"] = encode_png(draw_caption(width, glyph, None))
        for state in ("hover", "pressed"):
            ground = CAPTION_GROUNDS[grounds][state]
            files[f"caption_{button}_{state}.png"] = encode_png(draw_caption(width, glyph, ground))
    PICTURES.mkdir(exist_ok=True)
    for name, data in files.items():
        (PICTURES / name).write_bytes(data)
    write_cpp(files)


if __name__ == "__main__":
    main()
