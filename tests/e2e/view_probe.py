#!/usr/bin/env python3
# Reads the analyzer view out of a screenshot of the real program, for the end-to-end checks in
# tests/e2e. Usage: view_probe.py IMAGE [RATE FFTSIZE [AXIS]]; prints one line per reading,
# "none" when absent:
#   view=left top width plotBottom   meters=row0 row1 (13 marks each, "x" lit, "." dark)
#   peak=hz db (AXIS "linear" or "log")   bands=count tallest db (AXIS "bands:N")
#   stripe=hz width   line=share position   text=pixels   menu=left top right bottom
import re
import subprocess
import sys

# Surface geometry of the program's views.
PLOT_LEFT = 30
PLOT_TOP = 65
SPECTROGRAM_LEFT = 20
STRIP_GREY = (192, 192, 192)
METER_ROWS = (5, 16)
SEGMENTS = [(0, 255, 0), (64, 255, 0), (128, 255, 0), (192, 255, 0), (255, 255, 0),
            (255, 255, 0), (255, 255, 0), (255, 255, 0), (255, 255, 0), (255, 192, 0),
            (255, 128, 0), (255, 64, 0), (255, 0, 0)]
# The program draws in 5 bits per channel; the screen widens them, so colours match loosely.
TOLERANCE = 12
WHITE = b"\xff\xff\xff"
BLUE = b"\x00\x00\xff"
CYAN = b"\x00\xff\xff"
# Every menu panel is at least its 160-pixel items and margins wide.
MENU_MIN_WIDTH = 170


class Screen:
    def __init__(self, path):
        ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                             stdout=subprocess.PIPE).stdout
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+\d+\s", ppm)
        self.width, self.height = int(header[1]), int(header[2])
        self.pixels = ppm[header.end():]

    def row(self, y, left=0, right=None):
        right = self.width if right is None else right
        return self.pixels[3 * (y * self.width + left):3 * (y * self.width + right)]

    def rgb(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])


def find_pixel(row, pattern, start=0):
    """Index of the first pixel at or after pixel start whose bytes are pattern, or -1."""
    at = row.find(pattern, 3 * start)
    while at != -1 and at % 3 != 0:
        at = row.find(pattern, at + 1)
    return at // 3 if at != -1 else -1


def near(colour, expected):
    return all(abs(a - b) <= TOLERANCE for a, b in zip(colour, expected))


def is_trace(colour):
    """A pixel of a live channel's trace or of the peak trace: bright green or cyan, not white."""
    r, g, b = colour
    return g >= 200 and not (r >= 200 and b >= 200)


def find_view(screen):
    """The view's left, top and width from its meter strip (a white line of at least 400 pixels
    between grey ones, 28 rows below the view's top; the program's white comes out exactly), and
    the row of the plot's bottom edge: the lowest line across the plot, white or covered by a
    trace lying at the floor, while the view's left column stays dark."""
    for y in range(1, screen.height - 1):
        row = screen.row(y)
        start = find_pixel(row, WHITE * 400)
        if start == -1 or not (near(screen.rgb(start, y - 1), STRIP_GREY) and
                               near(screen.rgb(start, y + 1), STRIP_GREY)):
            continue
        x = start
        while x < screen.width and row[3 * x:3 * x + 3] == WHITE:
            x += 1
        left, top, width = start, y - 28, x - start
        bottom = None
        for y in range(top + PLOT_TOP + 1, screen.height):
            if max(screen.rgb(left + 1, y)) > 40:
                break
            # Every fourth pixel is enough to tell the edge from a row inside the plot.
            line = [screen.rgb(left + PLOT_LEFT + i, y) for i in range(0, width - 50, 4)]
            if sum(1 for c in line if near(c, (255, 255, 255)) or is_trace(c)) >= 0.9 * len(line):
                bottom = y
        return None if bottom is None else (left, top, width, bottom)
    return None


def meters(screen, view):
    left, top = view[0], view[1]
    rows = []
    for row_y in METER_ROWS:
        marks = ""
        for i, lit in enumerate(SEGMENTS):
            colour = screen.rgb(left + 17 + 15 * i, top + row_y + 3)
            marks += "x" if near(colour, lit) else \
                "." if near(colour, tuple(c // 2 for c in lit)) else "?"
        rows.append(marks)
    return rows


def linear_hz(p, plot_w, rate, fft_size):
    """The frequency of plot column p on the linear axis: x = trunc(bin * W / binCount)."""
    return p * (fft_size // 2 + 1) / plot_w * rate / fft_size


def db_at(view, y):
    """The level of row y: the plot spans 100 dB down from its top."""
    top = view[1] + PLOT_TOP
    return -(y - top) * 100.0 / (view[3] - top)


def peak(screen, view, rate, fft_size, axis):
    """The highest trace point, as a frequency on the linear axis or on the logarithmic one,
    where column p shows 2 ** (15 p / W) Hz."""
    left, top, width, bottom = view
    plot_w = width - 50
    for y in range(top + PLOT_TOP + 1, bottom):
        columns = [p for p in range(1, plot_w) if is_trace(screen.rgb(left + PLOT_LEFT + p, y))]
        if columns:
            p = sum(columns) / len(columns)
            hz = 2 ** (15.0 * p / plot_w) if axis == "log" else linear_hz(p, plot_w, rate,
                                                                           fft_size)
            return hz, db_at(view, y)
    return None


def bands(screen, view, count):
    """The bars of a band view of count bands, each trunc(W / count) wide: how many stand above
    the floor (a peak mark at the floor is three pixels high), the tallest, and its top."""
    left, top, width, bottom = view
    bar_w = (width - 50) // count
    standing, tallest, best = 0, None, bottom
    for j in range(count):
        x = left + PLOT_LEFT + j * bar_w + bar_w // 2
        y = bottom
        while y > top + PLOT_TOP and is_trace(screen.rgb(x, y - 1)):
            y -= 1
        if y < bottom - 3:
            standing += 1
            if y < best:
                tallest, best = j, y
    return None if tallest is None else (standing, tallest, db_at(view, best))


def stripe(screen, view, rate, fft_size):
    """The spectrogram's columns lit (a fully saturated hue, not the grid's dim green nor white)
    in at least half of the plot's rows: their centre on the linear axis and their number."""
    left, top, width, bottom = view
    plot_w = width - 50
    rows = range(top + PLOT_TOP + 1, bottom, 2)

    def lit(c):
        return max(c) >= 200 and min(c) <= 60

    columns = [p for p in range(plot_w)
               if sum(1 for y in rows if lit(screen.rgb(left + SPECTROGRAM_LEFT + p, y)))
               >= len(rows) / 2]
    if not columns:
        return None
    return linear_hz(sum(columns) / len(columns), plot_w, rate, fft_size), len(columns)


def line(screen, view):
    """The trace of a transfer view: the share of its columns whose trace pixels all lie within
    one row of the most common row, and that row's place from the plot's top (0) to bottom (1)."""
    left, top, width, bottom = view
    plot_top = top + PLOT_TOP
    columns = []
    for p in range(1, width - 50):
        ys = [y for y in range(plot_top + 1, bottom) if is_trace(screen.rgb(left + PLOT_LEFT + p, y))]
        if ys:
            columns.append(ys)
    if not columns:
        return None
    counts = {}
    for ys in columns:
        for y in ys:
            counts[y] = counts.get(y, 0) + 1
    row = max(counts, key=counts.get)
    on_row = sum(1 for ys in columns if min(ys) >= row - 1 and max(ys) <= row + 1)
    return on_row / len(columns), (row - plot_top) / (bottom - plot_top)


def text(screen, view):
    """White pixels of the centred text above the plot in the SPL layout (its reading and
    calibration level), in the middle half of the view."""
    left, top, width, _ = view
    return sum(1 for y in range(top + 53, top + PLOT_TOP + 20)
               for x in range(left + width // 4, left + 3 * width // 4)
               if screen.rgb(x, y) == (255, 255, 255))


def menu(screen):
    """The menu panel's outer frame: a blue rectangle with a cyan one just inside it, looked for
    over the whole screen, so that neither the view's contents nor a view the probe cannot find
    hide it."""
    for y in range(screen.height - 1):
        row = screen.row(y)
        x = find_pixel(row, BLUE * MENU_MIN_WIDTH)
        while x != -1:
            if screen.row(y + 1, x + 1, x + MENU_MIN_WIDTH - 1) == CYAN * (MENU_MIN_WIDTH - 2):
                right, bottom = x, y
                while right + 1 < screen.width and screen.rgb(right + 1, y) == (0, 0, 255):
                    right += 1
                while bottom + 1 < screen.height and screen.rgb(x, bottom + 1) == (0, 0, 255):
                    bottom += 1
                return x, y, right, bottom
            x = find_pixel(row, BLUE * MENU_MIN_WIDTH, x + 1)
    return None


def main():
    screen = Screen(sys.argv[1])
    box = menu(screen)
    print("menu=%d %d %d %d" % box if box else "menu=none")
    view = find_view(screen)
    if view is None:
        print("view=none")
        return 0
    print("view=%d %d %d %d" % view)
    print("meters=%s %s" % tuple(meters(screen, view)))
    if len(sys.argv) > 3:
        rate, fft_size = int(sys.argv[2]), int(sys.argv[3])
        axis = sys.argv[4] if len(sys.argv) > 4 else "linear"
        if axis.startswith("bands:"):
            found = bands(screen, view, int(axis[6:]))
            print("bands=%d %d %.1f" % found if found else "bands=none")
        else:
            found = peak(screen, view, rate, fft_size, axis)
            print("peak=%.1f %.1f" % found if found else "peak=none")
        found = stripe(screen, view, rate, fft_size)
        print("stripe=%.1f %d" % found if found else "stripe=none")
    found = line(screen, view)
    print("line=%.3f %.3f" % found if found else "line=none")
    print("text=%d" % text(screen, view))
    return 0


if __name__ == "__main__":
    sys.exit(main())
