#!/usr/bin/env python3
# Reads the analyzer view out of a screenshot of the real program, for the end-to-end checks:
# where the view lies, which level-meter segments are lit, the frequency of the spectrum's
# highest point, and the panel of an open in-view menu. Run by the checks in tests/e2e.
#
#   view_probe.py IMAGE [RATE FFTSIZE]   prints one line per reading ("none" when absent):
#     view=left top width plotBottom     the view, in screen pixels
#     meters=row0 row1                   13 marks per meter row, "x" lit and "." dark
#     peak=hz db                         the highest trace point (with RATE and FFTSIZE)
#     menu=left top right bottom         the outer frame of an open menu panel
import subprocess
import sys

# Surface geometry of the program's views (the plot's left and top, the meter strip, the
# meter segments).
PLOT_LEFT = 30
PLOT_TOP = 65
STRIP_ROWS = {27: (192, 192, 192), 28: (255, 255, 255), 29: (192, 192, 192)}
METER_ROWS = (5, 16)
SEGMENTS = [(0, 255, 0), (64, 255, 0), (128, 255, 0), (192, 255, 0), (255, 255, 0),
            (255, 255, 0), (255, 255, 0), (255, 255, 0), (255, 255, 0), (255, 192, 0),
            (255, 128, 0), (255, 64, 0), (255, 0, 0)]
# The program draws in 5 bits per channel; the screen widens them, so colours match loosely.
TOLERANCE = 12


class Screen:
    def __init__(self, path):
        ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                             stdout=subprocess.PIPE).stdout
        fields = []
        at = 0
        while len(fields) < 4:
            while ppm[at:at + 1].isspace():
                at += 1
            start = at
            while not ppm[at:at + 1].isspace():
                at += 1
            fields.append(ppm[start:at])
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = ppm[at + 1:]

    def row(self, y, left=0, right=None):
        right = self.width if right is None else right
        return self.pixels[3 * (y * self.width + left):3 * (y * self.width + right)]

    def rgb(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])


WHITE = b"\xff\xff\xff"
BLUE = b"\x00\x00\xff"


def find_pixel(row, pattern, start=0):
    """Index of the first pixel at or after pixel start whose bytes are pattern, or -1."""
    at = row.find(pattern, 3 * start)
    while at != -1 and at % 3 != 0:
        at = row.find(pattern, at + 1)
    return at // 3 if at != -1 else -1


def near(colour, expected):
    return all(abs(a - b) <= TOLERANCE for a, b in zip(colour, expected))


def find_view(screen):
    """The view's left, top and width from its meter strip (three full-width lines), and the row
    of the plot's bottom edge: a line of W = width - 50 pixels, white or covered by a trace lying
    at the floor. The program's white comes out of the screen as exactly 255."""
    best = None
    for y in range(1, screen.height - 1):
        row = screen.row(y)
        start = find_pixel(row, WHITE * 400)
        if start == -1:
            continue
        x = start
        while x < screen.width and row[3 * x:3 * x + 3] == WHITE:
            x += 1
        if near(screen.rgb(start, y - 1), STRIP_ROWS[27]) and \
                near(screen.rgb(start, y + 1), STRIP_ROWS[29]):
            best = (start, y - 28, x - start)
            break
    if best is None:
        return None
    left, top, width = best
    plot_w = width - 50
    for y in range(top + PLOT_TOP + 1, screen.height):
        # Every fourth pixel is enough to tell the edge from a row inside the plot.
        line = [screen.rgb(left + PLOT_LEFT + i, y) for i in range(0, plot_w, 4)]
        if sum(1 for c in line if near(c, (255, 255, 255)) or is_trace(c)) >= 0.9 * len(line):
            return left, top, width, y
    return None


def is_trace(colour):
    """A pixel of a live channel's trace or of the peak trace: bright green or cyan, not white."""
    r, g, b = colour
    return g >= 200 and not (r >= 200 and b >= 200)


def meters(screen, view):
    left, top = view[0], view[1]
    rows = []
    for row_y in METER_ROWS:
        marks = ""
        for i, lit in enumerate(SEGMENTS):
            colour = screen.rgb(left + 17 + 15 * i, top + row_y + 3)
            dark = tuple(c // 2 for c in lit)
            if near(colour, lit):
                marks += "x"
            elif near(colour, dark):
                marks += "."
            else:
                marks += "?"
        rows.append(marks)
    return rows


def peak(screen, view, rate, fft_size):
    """The highest point of the live or peak trace in the linear spectrum, as a frequency by the
    linear axis mapping x = left + trunc(bin * W / binCount)."""
    left, top, width, bottom = view
    plot_w = width - 50
    x0 = left + PLOT_LEFT
    for y in range(top + PLOT_TOP + 1, bottom):
        columns = []
        for p in range(1, plot_w):
            if is_trace(screen.rgb(x0 + p, y)):
                columns.append(p)
        if columns:
            p = sum(columns) / len(columns)
            bin_count = fft_size // 2 + 1
            hz = p * bin_count / plot_w * rate / fft_size
            height = bottom - (top + PLOT_TOP)
            db = -(y - (top + PLOT_TOP)) * 100.0 / height
            return hz, db
    return None


def menu(screen, view):
    """The menu panel's outer blue frame, in screen pixels."""
    left, top, width, bottom = view
    xs, ys = [], []
    for y in range(top, bottom):
        row = screen.row(y, left, left + width)
        x = find_pixel(row, BLUE)
        while x != -1:
            xs.append(left + x)
            ys.append(y)
            x = find_pixel(row, BLUE, x + 1)
    if len(xs) < 100:
        return None
    return min(xs), min(ys), max(xs), max(ys)


def main():
    screen = Screen(sys.argv[1])
    view = find_view(screen)
    if view is None:
        print("view=none")
        return 0
    print("view=%d %d %d %d" % view)
    print("meters=%s %s" % tuple(meters(screen, view)))
    if len(sys.argv) > 3:
        found = peak(screen, view, int(sys.argv[2]), int(sys.argv[3]))
        print("peak=%.1f %.1f" % found if found else "peak=none")
    box = menu(screen, view)
    print("menu=%d %d %d %d" % box if box else "menu=none")
    return 0


if __name__ == "__main__":
    sys.exit(main())
