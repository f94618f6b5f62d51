#!/usr/bin/env python3
"""Draws the program's artwork into resources/: the five font strips with their "TEXT" metrics,
the toolbar strips, the splash picture, the program icon and the four particle sprites.

Glyphs are rendered with the FreeType library (Debian package libfreetype6) through ctypes, hinted
and in monochrome for the two-colour strips, from the DejaVu fonts (fonts-dejavu-core); the small
font is drawn by hand. Everything else is drawn here. The output is committed; the builds never run
this script. Usage: tools/make_artwork.py [output directory, default resources]
"""
import ctypes
import ctypes.util
import math
import os
import struct
import sys

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SANS = os.path.join(FONT_DIR, "DejaVuSans.ttf")
SANS_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")

# ---- FreeType through ctypes -------------------------------------------------------------------


class FTGeneric(ctypes.Structure):
    _fields_ = [("data", ctypes.c_void_p), ("finalizer", ctypes.c_void_p)]


class FTBBox(ctypes.Structure):
    _fields_ = [(n, ctypes.c_long) for n in ("xMin", "yMin", "xMax", "yMax")]


class FTVector(ctypes.Structure):
    _fields_ = [("x", ctypes.c_long), ("y", ctypes.c_long)]


class FTGlyphMetrics(ctypes.Structure):
    _fields_ = [(n, ctypes.c_long) for n in ("width", "height", "horiBearingX", "horiBearingY",
                                             "horiAdvance", "vertBearingX", "vertBearingY",
                                             "vertAdvance")]


class FTBitmap(ctypes.Structure):
    _fields_ = [("rows", ctypes.c_uint), ("width", ctypes.c_uint), ("pitch", ctypes.c_int),
                ("buffer", ctypes.POINTER(ctypes.c_ubyte)), ("num_grays", ctypes.c_ushort),
                ("pixel_mode", ctypes.c_ubyte), ("palette_mode", ctypes.c_ubyte),
                ("palette", ctypes.c_void_p)]


class FTGlyphSlotRec(ctypes.Structure):
    _fields_ = [("library", ctypes.c_void_p), ("face", ctypes.c_void_p), ("next", ctypes.c_void_p),
                ("glyph_index", ctypes.c_uint), ("generic", FTGeneric),
                ("metrics", FTGlyphMetrics), ("linearHoriAdvance", ctypes.c_long),
                ("linearVertAdvance", ctypes.c_long), ("advance", FTVector),
                ("format", ctypes.c_int), ("bitmap", FTBitmap), ("bitmap_left", ctypes.c_int),
                ("bitmap_top", ctypes.c_int)]


class FTFaceRec(ctypes.Structure):
    _fields_ = [("num_faces", ctypes.c_long), ("face_index", ctypes.c_long),
                ("face_flags", ctypes.c_long), ("style_flags", ctypes.c_long),
                ("num_glyphs", ctypes.c_long), ("family_name", ctypes.c_char_p),
                ("style_name", ctypes.c_char_p), ("num_fixed_sizes", ctypes.c_int),
                ("available_sizes", ctypes.c_void_p), ("num_charmaps", ctypes.c_int),
                ("charmaps", ctypes.c_void_p), ("generic", FTGeneric), ("bbox", FTBBox),
                ("units_per_EM", ctypes.c_ushort), ("ascender", ctypes.c_short),
                ("descender", ctypes.c_short), ("height", ctypes.c_short),
                ("max_advance_width", ctypes.c_short), ("max_advance_height", ctypes.c_short),
                ("underline_position", ctypes.c_short), ("underline_thickness", ctypes.c_short),
                ("glyph", ctypes.POINTER(FTGlyphSlotRec))]


FT_LOAD_RENDER = 0x4
FT_LOAD_TARGET_MONO = 2 << 16
FT_LOAD_TARGET_NORMAL = 0

_ft = ctypes.CDLL(ctypes.util.find_library("freetype") or "libfreetype.so.6")
_ft.FT_New_Face.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_long,
                            ctypes.POINTER(ctypes.POINTER(FTFaceRec))]
_ft.FT_Set_Pixel_Sizes.argtypes = [ctypes.POINTER(FTFaceRec), ctypes.c_uint, ctypes.c_uint]
_ft.FT_Load_Char.argtypes = [ctypes.POINTER(FTFaceRec), ctypes.c_ulong, ctypes.c_int32]
_ft.FT_Property_Set.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p,
                                ctypes.c_void_p]
_library = ctypes.c_void_p()
if _ft.FT_Init_FreeType(ctypes.byref(_library)):
    sys.exit("FreeType does not start")
# The classic TrueType interpreter hints both directions: crisp stems in monochrome.
_v35 = ctypes.c_uint(35)
_ft.FT_Property_Set(_library, b"truetype", b"interpreter-version", ctypes.byref(_v35))


class Glyph:
    """One rendered character: coverage 0..255 per pixel, placed relative to pen and baseline."""

    def __init__(self, advance, left, top, width, rows, coverage):
        self.advance, self.left, self.top = advance, left, top
        self.width, self.rows, self.coverage = width, rows, coverage


class Face:
    def __init__(self, path, pixels):
        self.face = ctypes.POINTER(FTFaceRec)()
        if _ft.FT_New_Face(_library, path.encode(), 0, ctypes.byref(self.face)):
            sys.exit("cannot open " + path)
        _ft.FT_Set_Pixel_Sizes(self.face, 0, pixels)

    def glyph(self, code, mono=True):
        flags = FT_LOAD_RENDER | (FT_LOAD_TARGET_MONO if mono else FT_LOAD_TARGET_NORMAL)
        if _ft.FT_Load_Char(self.face, code, flags):
            sys.exit("no glyph for U+%04X" % code)
        slot = self.face.contents.glyph.contents
        bm = slot.bitmap
        cov = []
        for y in range(bm.rows):
            row = []
            for x in range(bm.width):
                if bm.pixel_mode == 1:
                    byte = bm.buffer[y * bm.pitch + x // 8]
                    row.append(255 if byte & (0x80 >> (x % 8)) else 0)
                else:
                    row.append(bm.buffer[y * bm.pitch + x])
            cov.append(row)
        return Glyph((slot.advance.x + 32) >> 6, slot.bitmap_left, slot.bitmap_top, bm.width,
                     bm.rows, cov)


# ---- Pictures and files ------------------------------------------------------------------------


class Picture:
    """A picture of (r, g, b) tuples, row 0 at the top."""

    def __init__(self, width, height, fill=(0, 0, 0)):
        self.width, self.height = width, height
        self.px = [[fill] * width for _ in range(height)]

    def put(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = c

    def blend(self, x, y, c, a):
        if 0 <= x < self.width and 0 <= y < self.height and a > 0:
            a = min(a, 255)
            o = self.px[y][x]
            self.px[y][x] = tuple((o[i] * (255 - a) + c[i] * a + 127) // 255 for i in range(3))

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(y0, 0), min(y1, self.height)):
            for x in range(max(x0, 0), min(x1, self.width)):
                self.px[y][x] = c

    def line(self, x0, y0, x1, y1, c, width=1.0):
        """Anti-aliased thick line by distance to the segment."""
        pad = int(width) + 2
        for y in range(int(min(y0, y1)) - pad, int(max(y0, y1)) + pad + 1):
            for x in range(int(min(x0, x1)) - pad, int(max(x0, x1)) + pad + 1):
                d = _segment_distance(x + 0.5, y + 0.5, x0, y0, x1, y1)
                self.blend(x, y, c, int(255 * max(0.0, min(1.0, width / 2 + 0.5 - d))))

    def disc(self, cx, cy, r, c, alpha=255):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                self.blend(x, y, c, int(alpha * max(0.0, min(1.0, r + 0.5 - d))))

    def text(self, face, x, y, s, c, mono=False):
        """Draws s with its baseline at y; returns the advance."""
        pen = x
        for ch in s:
            g = face.glyph(ord(ch), mono)
            for gy in range(g.rows):
                for gx in range(g.width):
                    self.blend(pen + g.left + gx, y - g.top + gy, c, g.coverage[gy][gx])
            pen += g.advance
        return pen - x


def text_width(face, s):
    return sum(face.glyph(ord(ch)).advance for ch in s)


def _segment_distance(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    if dx == 0 and dy == 0:
        return math.hypot(px - x0, py - y0)
    t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - x0 - t * dx, py - y0 - t * dy)


def write_bmp(path, pic, bits, palette=None):
    """Uncompressed bottom-up BMP of 4, 8 or 24 bits; palette lists the colours of an indexed
    picture, whose pixels must all be in it."""
    index = {c: i for i, c in enumerate(palette or [])}
    stride = ((pic.width * bits + 31) // 32) * 4
    rows = []
    for y in range(pic.height - 1, -1, -1):
        row = bytearray(stride)
        for x, c in enumerate(pic.px[y]):
            if bits == 24:
                row[3 * x:3 * x + 3] = bytes((c[2], c[1], c[0]))
            elif bits == 8:
                row[x] = index[c]
            else:
                row[x // 2] |= index[c] << 4 if x % 2 == 0 else index[c]
        rows.append(bytes(row))
    pal = b"".join(bytes((c[2], c[1], c[0], 0)) for c in (palette or []))
    pixels = b"".join(rows)
    offset = 14 + 40 + len(pal)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset))
        f.write(struct.pack("<IiiHHIIiiII", 40, pic.width, pic.height, 1, bits, 0, len(pixels),
                            2835, 2835, len(palette or []), 0))
        f.write(pal + pixels)


# Palette of the 4-bit strips: index 0 black (the background and colour key), 15 white.
PALETTE16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
             (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
             (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, WHITE, MAGENTA = (0, 0, 0), (255, 255, 255), (255, 0, 255)

# ---- Font strips -------------------------------------------------------------------------------

LETTERS = [chr(c) for c in range(ord("A"), ord("Z") + 1)] + \
          [chr(c) for c in range(ord("a"), ord("z") + 1)] + [" "] + \
          [chr(c) for c in range(ord("0"), ord("9") + 1)]
BUTTON_SET = LETTERS + list(":.,%()-+#?<>/")
SMALL_SET = LETTERS + list(":.,%()-?+=")
MEDIUM_SET = LETTERS + list(":.,%()-+#?<>")


def cell(g):
    """Left shift and width of a glyph's cell: the advance, widened to hold all of its ink."""
    shift = max(0, -g.left)
    return shift, max(g.advance, g.left + g.width) + shift


def baseline_for(glyphs, height):
    ascent = max(g.top for g in glyphs)
    descent = max(g.rows - g.top for g in glyphs)
    if ascent + descent > height:
        return None
    return ascent + (height - ascent - descent) // 2


def dots_apart(face):
    """False when hinting at this size has merged the dots of "i" and "j" into their stems."""
    for ch in "ij":
        g = face.glyph(ord(ch))
        if not any(not any(row) for row in g.coverage):
            return False
    return True


def metrics_strip(path_bmp, path_txt, face_path, chars, width, height, bits, spacing=0):
    """A two-colour strip (black key, white glyphs) and its "TEXT" metrics, at the largest pixel
    size whose glyphs fit the strip."""
    for size in range(height * 2, 4, -1):
        face = Face(face_path, size)
        glyphs = [face.glyph(ord(c)) for c in chars]
        cells = [cell(g) for g in glyphs]
        total = sum(w + spacing for _, w in cells)
        base = baseline_for(glyphs, height)
        if total <= width and base is not None and dots_apart(face):
            break
    pic = Picture(width, height, BLACK)
    x = 0
    entries = []
    for ch, g, (shift, w) in zip(chars, glyphs, cells):
        for gy in range(g.rows):
            for gx in range(g.width):
                if g.coverage[gy][gx] >= 128:
                    pic.put(x + shift + g.left + gx + spacing // 2, base - g.top + gy, WHITE)
        entries.append((ord(ch), w + spacing))
        x += w + spacing
    assert pic.px[0][0] == BLACK
    write_bmp(path_bmp, pic, bits, PALETTE16 if bits == 4 else None)
    with open(path_txt, "wb") as f:
        f.write(bytes([len(entries), height]) + b"".join(bytes(e) for e in entries))
    print("%s: %d px DejaVu, %d of %d columns used" % (os.path.basename(path_bmp), size, x, width))


# The small font is drawn by hand: at 10 pixels no outline font stays legible in the strip's
# 334 columns. Cap height 7 (rows 1-7), x-height 5, descenders to row 9; "N:" starts a glyph at
# row N (default 1). One blank column follows every glyph but the space.
SMALL_GLYPHS = {
    "A": ".##./#..#/#..#/####/#..#/#..#/#..#", "B": "###./#..#/#..#/###./#..#/#..#/###.",
    "C": ".###/#.../#.../#.../#.../#.../.###", "D": "###./#..#/#..#/#..#/#..#/#..#/###.",
    "E": "###/#../#../##./#../#../###", "F": "###/#../#../##./#../#../#..",
    "G": ".###/#.../#.../#.##/#..#/#..#/.###", "H": "#..#/#..#/#..#/####/#..#/#..#/#..#",
    "I": "#/#/#/#/#/#/#", "J": "..#/..#/..#/..#/..#/#.#/.#.",
    "K": "#..#/#.#./##../##../#.#./#..#/#..#", "L": "#../#../#../#../#../#../###",
    "M": "#...#/##.##/#.#.#/#.#.#/#...#/#...#/#...#", "N": "#..#/##.#/##.#/#.##/#.##/#..#/#..#",
    "O": ".##./#..#/#..#/#..#/#..#/#..#/.##.", "P": "###./#..#/#..#/###./#.../#.../#...",
    "Q": ".##./#..#/#..#/#..#/#..#/#.#./.#.#", "R": "###./#..#/#..#/###./#.#./#..#/#..#",
    "S": ".###/#.../#.../.##./...#/...#/###.", "T": "#####/..#../..#../..#../..#../..#../..#..",
    "U": "#..#/#..#/#..#/#..#/#..#/#..#/.##.", "V": "#...#/#...#/#...#/.#.#./.#.#./.#.#./..#..",
    "W": "#...#/#...#/#...#/#.#.#/#.#.#/##.##/#...#", "X": "#...#/#...#/.#.#./..#../.#.#./#...#/#...#",
    "Y": "#...#/#...#/.#.#./..#../..#../..#../..#..", "Z": "####/...#/..#./..#./.#../#.../####",
    "a": "3:.##./...#/.###/#..#/.###", "b": "#.../#.../###./#..#/#..#/#..#/###.",
    "c": "3:.##/#../#../#../.##", "d": "...#/...#/.###/#..#/#..#/#..#/.###",
    "e": "3:.##./#..#/####/#.../.##.", "f": ".##/#../###/#../#../#../#..",
    "g": "3:.###/#..#/#..#/#..#/.###/...#/.##.", "h": "#.../#.../###./#..#/#..#/#..#/#..#",
    "i": "#/./#/#/#/#/#", "j": ".#/../.#/.#/.#/.#/.#/.#/#.",
    "k": "#../#../#.#/#.#/##./#.#/#.#", "l": "#/#/#/#/#/#/#",
    "m": "3:####./#.#.#/#.#.#/#.#.#/#.#.#", "n": "3:###./#..#/#..#/#..#/#..#",
    "o": "3:.##./#..#/#..#/#..#/.##.", "p": "3:###./#..#/#..#/#..#/###./#.../#...",
    "q": "3:.###/#..#/#..#/#..#/.###/...#/...#", "r": "3:#.#/##./#../#../#..",
    "s": "3:.##/#../.#./..#/##.", "t": ".#./.#./###/.#./.#./.#./..#",
    "u": "3:#..#/#..#/#..#/#..#/.###", "v": "3:#.#/#.#/#.#/#.#/.#.",
    "w": "3:#...#/#...#/#.#.#/#.#.#/.#.#.", "x": "3:#.#/#.#/.#./#.#/#.#",
    "y": "3:#..#/#..#/#..#/#..#/.###/...#/.##.", "z": "3:###/..#/.#./#../###",
    " ": "...", "0": ".##./#..#/#..#/#..#/#..#/#..#/.##.", "1": ".#../##../.#../.#../.#../.#../###.",
    "2": ".##./#..#/...#/..#./.#../#.../####", "3": "###./...#/...#/.##./...#/...#/###.",
    "4": "..#./.##./#.#./#.#./####/..#./..#.", "5": "####/#.../###./...#/...#/#..#/.##.",
    "6": ".##./#.../#.../###./#..#/#..#/.##.", "7": "####/...#/..#./..#./.#../.#../.#..",
    "8": ".##./#..#/#..#/.##./#..#/#..#/.##.", "9": ".##./#..#/#..#/.###/...#/...#/.##.",
    ":": "4:#/././#", ".": "7:#", ",": "7:.#/#.",
    "%": "##.../##..#/...#./..#../.#.../#..##/...##", "(": ".#/#./#./#./#./#./.#",
    ")": "#./.#/.#/.#/.#/.#/#.", "-": "5:###", "?": ".##./#..#/...#/..#./.#../..../.#..",
    "+": "4:.#./###/.#.", "=": "4:####/..../####",
}


def pixel_strip(path_bmp, path_txt, chars, width, height):
    """The hand-drawn small font as a 24-bit two-colour strip with its metrics."""
    pic = Picture(width, height, BLACK)
    x = 0
    entries = []
    for ch in chars:
        spec = SMALL_GLYPHS[ch]
        top = 1
        if spec[1:2] == ":":
            top, spec = int(spec[0]), spec[2:]
        rows = spec.split("/")
        w = len(rows[0])
        assert all(len(r) == w for r in rows) and top + len(rows) <= height, ch
        for dy, row in enumerate(rows):
            for dx, p in enumerate(row):
                if p == "#":
                    pic.put(x + dx, top + dy, WHITE)
        advance = w if ch == " " else w + 1
        entries.append((ord(ch), advance))
        x += advance
    assert x <= width, x
    write_bmp(path_bmp, pic, 24)
    with open(path_txt, "wb") as f:
        f.write(bytes([len(entries), height]) + b"".join(bytes(e) for e in entries))
    print("%s: hand-drawn, %d of %d columns used" % (os.path.basename(path_bmp), x, width))


# The marker order of the menu font (code of each cell) and the character drawn in it; 0x50 and
# 0x83 are drawn as "P" and the florin sign, the codes their cells stand for.
MARKER_ORDER = list(range(0x20, 0x7F)) + [0x5F] + [
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7, 0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5,
    0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9, 0xFF, 0xD6, 0xDC, 0xA2, 0xA3, 0xA5, 0x50, 0x83,
    0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA, 0xBF, 0xAC, 0xAC, 0xBD, 0xBC, 0xA1, 0xAB, 0xBB]
MENU_INK = (16, 24, 64)


def marked_strip(path, width=1900, height=19):
    """The menu font: marker row 0 (one key pixel, then a white and a key run per cell), row 1
    key, glyphs from row 2 in dark ink on the magenta key. Each cell is the glyph's advance plus
    three key columns; cells hidden by a later duplicate code soak up the spare columns."""
    glyph_rows = height - 2
    hidden = {i for i, c in enumerate(MARKER_ORDER) if c in MARKER_ORDER[i + 1:]}
    for size in range(glyph_rows + 4, 6, -1):
        face = Face(SANS_BOLD, size)
        glyphs = [face.glyph(0x192 if c == 0x83 else c) for c in MARKER_ORDER]
        cells = [cell(g) for g in glyphs]
        widths = [w for _, w in cells]
        widths[0], widths[1] = 5, 7  # space and "!": the cells every menu strip starts with
        if cells[1][1] > 7:
            continue
        base = baseline_for(glyphs, glyph_rows)
        if base is not None and sum(w + 3 for w in widths) <= width - 1:
            break
    spare = width - 1 - sum(w + 3 for w in widths)
    for i in sorted(hidden):
        widths[i] += spare // len(hidden)
    widths[max(hidden)] += spare % len(hidden)
    pic = Picture(width, height, MAGENTA)
    x = 1
    for i, (g, (shift, _), w) in enumerate(zip(glyphs, cells, widths)):
        span = w + 3
        white = (span + 1) // 2
        pic.rect(x, 0, x + white, 1, WHITE)
        if i not in hidden:
            pad = (w - (g.advance + shift)) // 2 if i == 1 else 0
            for gy in range(g.rows):
                for gx in range(g.width):
                    if g.coverage[gy][gx] >= 128:
                        pic.put(x + pad + shift + g.left + gx, 2 + base - g.top + gy, MENU_INK)
        x += span
    assert x == width
    write_bmp(path, pic, 8, [MAGENTA, WHITE, MENU_INK] + [BLACK] * 253)
    print("%s: %d px DejaVu Bold, %d spare columns" % (os.path.basename(path), size, spare))


# ---- Toolbar strips ----------------------------------------------------------------------------

FACE_GREY = (192, 192, 192)  # mapped to the button face by the toolbar
TOOL_COLOURS = [FACE_GREY, BLACK, WHITE, (128, 128, 128), (0, 0, 160), (0, 128, 0),
                (200, 0, 0), (255, 0, 255), (0, 0, 255), (255, 0, 0), (224, 160, 0),
                (64, 64, 64), (0, 160, 160), (255, 255, 0), (96, 96, 96), (240, 240, 240)]


def quantise(pic, colours):
    """Snaps every pixel to the nearest colour of the palette (the strips are 8-bit)."""
    for row in pic.px:
        for x, c in enumerate(row):
            row[x] = min(colours, key=lambda p: sum((p[i] - c[i]) ** 2 for i in range(3)))


def arrow(pic, ox, oy, x0, y0, x1, y1, c, w=1.6):
    pic.line(ox + x0, oy + y0, ox + x1, oy + y1, c, w)
    ang = math.atan2(y1 - y0, x1 - x0)
    for side in (-1, 1):
        a = ang + math.pi + side * 0.6
        pic.line(ox + x1, oy + y1, ox + x1 + 4 * math.cos(a), oy + y1 + 4 * math.sin(a), c, w)


def spectrum(pic, ox, oy, w, h, c, seed=0.0):
    pts = []
    for i in range(w - 4):
        v = 0.5 + 0.35 * math.sin(i * 0.9 + seed) * math.exp(-i / w) + 0.15 * math.sin(i * 2.3)
        pts.append((ox + 2 + i, oy + h - 2 - v * (h - 5)))
    for a, b in zip(pts, pts[1:]):
        pic.line(a[0], a[1], b[0], b[1], c, 1.2)


def main_toolbar(path):
    """Bitmap 14: ten 32 x 20 images."""
    pic = Picture(320, 20, FACE_GREY)
    navy, red, green = (0, 0, 160), (200, 0, 0), (0, 128, 0)
    for i in range(10):
        ox = 32 * i
        if i == 0:  # peak trace
            pic.rect(ox + 5, 2, ox + 27, 18, BLACK)
            spectrum(pic, ox + 5, 2, 22, 16, (0, 255, 0))
        elif i == 1:  # test tone: a sine
            pic.rect(ox + 5, 2, ox + 27, 18, BLACK)
            pts = [(ox + 6 + t, 10 - 5 * math.sin(t * math.pi / 5)) for t in range(21)]
            for a, b in zip(pts, pts[1:]):
                pic.line(a[0], a[1], b[0], b[1], (255, 255, 0), 1.3)
        elif i == 2:  # swap inputs
            arrow(pic, ox, 0, 6, 6, 26, 6, navy)
            arrow(pic, ox, 0, 26, 14, 6, 14, red)
        elif i == 3:  # pause
            pic.rect(ox + 10, 3, ox + 14, 17, navy)
            pic.rect(ox + 18, 3, ox + 22, 17, navy)
        elif i == 4:  # FFT settings: spectrum bars
            for k, hgt in enumerate((6, 11, 15, 9, 13, 5, 8)):
                pic.rect(ox + 5 + 3 * k, 18 - hgt, ox + 7 + 3 * k, 18, (0, 96, 192))
            pic.rect(ox + 4, 18, ox + 28, 19, BLACK)
        elif i == 5:  # save: a page with lines
            pic.rect(ox + 9, 2, ox + 23, 18, BLACK)
            pic.rect(ox + 10, 3, ox + 22, 17, WHITE)
            for k in range(5):
                pic.rect(ox + 12, 5 + 2 * k + (k > 2), ox + 20 - (k % 2) * 3, 6 + 2 * k + (k > 2),
                         navy)
        elif i == 6:  # peak hold: bars under a held line
            for k, hgt in enumerate((5, 9, 13, 8, 11, 4)):
                pic.rect(ox + 6 + 3 * k, 18 - hgt, ox + 8 + 3 * k, 18, green)
            pic.rect(ox + 5, 3, ox + 25, 4, red)
        elif i == 7:  # magnifier
            pic.disc(ox + 14, 8, 5.5, navy)
            pic.disc(ox + 14, 8, 3.8, FACE_GREY)
            pic.line(ox + 18, 12, ox + 23, 17, navy, 2.2)
        elif i == 8:  # level meter
            for k in range(6):
                pic.rect(ox + 7 + 3 * k, 14 - 2 * k, ox + 9 + 3 * k, 17,
                         green if k < 4 else (red if k == 5 else (224, 160, 0)))
        else:  # help
            pic.disc(ox + 16, 10, 7.5, navy)
            face = Face(SANS_BOLD, 12)
            pic.text(face, ox + 13, 15, "?", WHITE, mono=True)
    quantise(pic, TOOL_COLOURS)
    write_bmp(path, pic, 8, TOOL_COLOURS + [BLACK] * 240)


def small_toolbar(path):
    """Bitmap 10: twenty 16 x 15 images for the tone and navigation bars (4 play, 3 stop,
    18 scroll left, 17 zoom in, 2 zoom 1:1, 16 zoom out, 19 scroll right)."""
    pic = Picture(320, 15, FACE_GREY)
    navy, green, red = (0, 0, 160), (0, 128, 0), (200, 0, 0)
    face = Face(SANS_BOLD, 9)
    for i in range(20):
        ox = 16 * i
        if i == 4:  # play
            for y in range(3, 12):
                half = 4.5 - abs(y - 7)
                pic.rect(ox + 5, y, ox + 5 + int(half * 1.6) + 1, y + 1, green)
        elif i == 3:  # stop
            pic.rect(ox + 4, 3, ox + 12, 11, red)
        elif i in (17, 16, 2):  # zoom in, zoom out, zoom 1:1
            pic.disc(ox + 7, 6, 4.6, navy)
            pic.disc(ox + 7, 6, 3.2, WHITE)
            pic.line(ox + 10, 9, ox + 14, 13, navy, 2.0)
            if i == 2:  # "=": back to the whole range
                pic.rect(ox + 5, 4, ox + 10, 5, BLACK)
                pic.rect(ox + 5, 7, ox + 10, 8, BLACK)
            else:
                pic.rect(ox + 5, 6, ox + 10, 7, BLACK)
                if i == 17:
                    pic.rect(ox + 7, 4, ox + 8, 9, BLACK)
        elif i in (18, 19):  # scroll left, right: a triangle with a stem
            for y in range(3, 12):
                reach = 6 - abs(y - 7) * 6 // 4
                for dx in range(reach):
                    pic.put(ox + (2 + dx if i == 18 else 13 - dx), y, navy)
            if i == 18:
                pic.rect(ox + 7, 6, ox + 14, 9, navy)
            else:
                pic.rect(ox + 2, 6, ox + 9, 9, navy)
        else:  # the images no button uses: a numbered tile
            pic.rect(ox + 2, 2, ox + 14, 13, (128, 128, 128))
            pic.rect(ox + 3, 3, ox + 13, 12, (240, 240, 240))
            label = str(i)
            pic.text(face, ox + 8 - text_width(face, label) // 2, 11, label, navy, mono=True)
    quantise(pic, TOOL_COLOURS)
    write_bmp(path, pic, 8, TOOL_COLOURS + [BLACK] * 240)


def trace_toolbar(path):
    """Bitmap 13: three 16 x 15 images, Traces A, B and C in their trace colours."""
    pic = Picture(48, 15, FACE_GREY)
    face = Face(SANS_BOLD, 13)
    for i, (letter, colour) in enumerate((("A", (255, 0, 255)), ("B", (0, 0, 255)),
                                          ("C", (255, 0, 0)))):
        ox = 16 * i
        pic.rect(ox + 1, 12, ox + 15, 14, colour)
        pic.text(face, ox + 8 - text_width(face, letter) // 2, 11, letter, BLACK, mono=True)
    quantise(pic, TOOL_COLOURS)
    write_bmp(path, pic, 8, TOOL_COLOURS + [BLACK] * 240)


# ---- Splash, icon, particles -------------------------------------------------------------------


def splash(path):
    """268 x 211, 24-bit: a rounded panel on the magenta key with the product name, version and
    a spectrum. The panel's outline is hard-edged, so no pink fringe survives the cut-out."""
    w, h = 268, 211
    pic = Picture(w, h, MAGENTA)
    r = 18
    for y in range(h):
        for x in range(w):
            cx = min(max(x + 0.5, r), w - r)
            cy = min(max(y + 0.5, r), h - r)
            if math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= r:
                t = y / (h - 1)
                pic.px[y][x] = (int(14 + 20 * t), int(22 + 34 * t), int(48 + 60 * t))
    for x in range(w):  # a thin light rim just inside the outline
        for y in range(h):
            if pic.px[y][x] != MAGENTA and any(
                    pic.px[min(max(y + dy, 0), h - 1)][min(max(x + dx, 0), w - 1)] == MAGENTA
                    or not (0 <= y + dy < h and 0 <= x + dx < w)
                    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                pic.px[y][x] = (120, 170, 230)
    # a spectrum with bars
    for k in range(30):
        level = 0.25 + 0.6 * math.exp(-((k - 9) / 7.0) ** 2) + 0.18 * math.sin(k * 1.7) ** 2
        top = int(180 - level * 70)
        for y in range(top, 180):
            t = (180 - y) / 70
            pic.put(34 + 7 * k, y, (int(40 + 200 * t), int(220 - 80 * t), 90))
            for dx in range(1, 5):
                pic.put(34 + 7 * k + dx, y, (int(40 + 200 * t), int(220 - 80 * t), 90))
    pic.rect(30, 181, 238, 182, (160, 190, 230))
    title = Face(SANS_BOLD, 44)
    tw = text_width(title, "Tonalyx")
    pic.text(title, (w - tw) // 2, 62, "Tonalyx", WHITE)
    sub = Face(SANS, 14)
    line = "Real-time audio analyzer"
    pic.text(sub, (w - text_width(sub, line)) // 2, 86, line, (200, 220, 255))
    ver = Face(SANS_BOLD, 13)
    line = "Version 1.2"
    pic.text(ver, (w - text_width(ver, line)) // 2, 104, line, (255, 220, 120))
    assert pic.px[0][0] == MAGENTA
    write_bmp(path, pic, 24)


def icon_image(size):
    pic = Picture(size, size, (0, 0, 0))
    s = size / 32.0
    pic.rect(int(2 * s), int(2 * s), size - int(2 * s), size - int(2 * s), (20, 34, 80))
    heights = (9, 15, 22, 26, 18, 12, 20, 8)
    for k, hgt in enumerate(heights):
        x0 = int((4 + 3 * k) * s)
        for y in range(int((28 - hgt) * s), int(28 * s)):
            t = (28 * s - y) / (26 * s)
            for x in range(x0, x0 + max(1, int(2 * s))):
                pic.put(x, y, (int(60 + 195 * t), int(230 - 90 * t), 80))
    return pic


def write_icon(path):
    """PROGRAMICON: 32 x 32 and 16 x 16, 24-bit with an all-opaque mask."""
    images = []
    for size in (32, 16):
        pic = icon_image(size)
        stride = ((size * 24 + 31) // 32) * 4
        xor = b"".join(
            bytes(b for c in pic.px[y] for b in (c[2], c[1], c[0])).ljust(stride, b"\0")
            for y in range(size - 1, -1, -1))
        mask = bytes(((size + 31) // 32) * 4 * size)
        header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 24, 0, len(xor) + len(mask),
                             0, 0, 0, 0)
        images.append((size, header + xor + mask))
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 24, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(d for _, d in images))


def particle(path, kind):
    """64 x 64, 24-bit, black key: soft grey smoke, a star-shaped spark, a ringed bubble, a rayed
    flare."""
    pic = Picture(64, 64, BLACK)
    for y in range(64):
        for x in range(64):
            dx, dy = x - 31.5, y - 31.5
            d = math.hypot(dx, dy) / 31.5
            ang = math.atan2(dy, dx)
            if kind == "smoke":
                v = max(0.0, 1 - d) ** 1.5 * (0.8 + 0.2 * math.sin(5 * ang + 3 * d))
                c = (v * 200, v * 200, v * 210)
            elif kind == "spark":
                star = max(0.0, 1 - d * (1.6 + 1.4 * abs(math.cos(2 * ang))))
                v = star ** 2 + max(0.0, 1 - 4 * d)
                c = (v * 255, v * 230, v * 140)
            elif kind == "bubble":
                ring = math.exp(-((d - 0.85) / 0.07) ** 2)
                glint = max(0.0, 1 - math.hypot(dx + 12, dy + 12) / 7)
                v = ring + glint
                c = (v * 150, v * 210, v * 255)
            else:
                rays = max(0.0, math.cos(6 * ang)) ** 8 * max(0.0, 1 - d)
                v = max(0.0, 1 - d) ** 3 + 0.6 * rays
                c = (v * 255, v * 190, v * 90)
            pic.px[y][x] = tuple(min(255, int(ch)) for ch in c)
    assert pic.px[0][0] == BLACK
    write_bmp(path, pic, 24)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..",
                                                            "resources")
    fonts = os.path.join(out, "fonts")
    os.makedirs(fonts, exist_ok=True)
    os.makedirs(os.path.join(out, "particles"), exist_ok=True)
    metrics_strip(os.path.join(fonts, "buttonfont.bmp"), os.path.join(fonts, "buttonfont.metrics"),
                  SANS_BOLD, BUTTON_SET, 567, 14, 4)
    pixel_strip(os.path.join(fonts, "font1.bmp"), os.path.join(fonts, "font1.metrics"),
                SMALL_SET, 334, 10)
    metrics_strip(os.path.join(fonts, "font2.bmp"), os.path.join(fonts, "font2.metrics"),
                  SANS, MEDIUM_SET, 751, 16, 4)
    metrics_strip(os.path.join(fonts, "font3.bmp"), os.path.join(fonts, "font3.metrics"),
                  SANS_BOLD, MEDIUM_SET, 1186, 33, 4)
    marked_strip(os.path.join(fonts, "menufont.bmp"))
    main_toolbar(os.path.join(out, "toolbar_main.bmp"))
    small_toolbar(os.path.join(out, "toolbar_small.bmp"))
    trace_toolbar(os.path.join(out, "toolbar_traces.bmp"))
    splash(os.path.join(out, "splash.bmp"))
    write_icon(os.path.join(out, "programicon.ico"))
    for kind in ("smoke", "spark", "bubble", "flare"):
        particle(os.path.join(out, "particles", kind + ".bmp"), kind)


if __name__ == "__main__":
    main()
