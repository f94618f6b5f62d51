#!/usr/bin/env python3
"""Helpers of tools/make-guide-pictures.sh (Python 3 standard library only).

  guide_pictures.py signals DIR      writes the guide's test signals as 16-bit WAV files into DIR
  guide_pictures.py pack IN.png OUT  rewrites a picture of tonalyx-cli (stored, unfiltered RGB)
                                     as a small PNG: a palette when it has at most 256 colours

The signals are made from fixed seeds, so the pictures come out the same on every run.
"""
import math
import random
import struct
import sys
import wave
import zlib

RATE = 44100


def write_wav(path, channels):
    """channels: one or two lists of floats in -1..1, of equal length."""
    frames = bytearray()
    for samples in zip(*channels):
        for s in samples:
            frames += struct.pack("<h", max(-32767, min(32767, round(s * 32767))))
    with wave.open(path, "wb") as w:
        w.setnchannels(len(channels))
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


def db(level):
    return 10.0 ** (level / 20.0)


def sine(hz, seconds, level_db, phase=0.0):
    a = db(level_db)
    return [a * math.sin(2 * math.pi * hz * i / RATE + phase) for i in range(int(seconds * RATE))]


def mix(*signals):
    return [sum(values) for values in zip(*signals)]


def white(seconds, level_db, seed):
    rng = random.Random(seed)
    a = db(level_db) * math.sqrt(3.0)  # uniform noise of that RMS level
    return [a * (2.0 * rng.random() - 1.0) for _ in range(int(seconds * RATE))]


def pink(seconds, level_db, seed):
    """White noise through a sum of first-order low passes: -3 dB per octave over 20 Hz-20 kHz."""
    poles = [(0.99886, 0.0555179), (0.99332, 0.0750759), (0.96900, 0.1538520),
             (0.86650, 0.3104856), (0.55000, 0.5329522), (-0.7616, -0.0168980)]
    state = [0.0] * len(poles)
    out = []
    for w in white(seconds, 0.0, seed):
        for k, (p, g) in enumerate(poles):
            state[k] = p * state[k] + g * w
        out.append(sum(state) + 0.5362 * w)
    rms = math.sqrt(sum(v * v for v in out) / len(out))
    return [v * db(level_db) / rms for v in out]


def biquad(x, b, a):
    b0, b1, b2 = (v / a[0] for v in b)
    a1, a2 = a[1] / a[0], a[2] / a[0]
    x1 = x2 = y1 = y2 = 0.0
    y = []
    for v in x:
        out = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2
        x2, x1, y2, y1 = x1, v, y1, out
        y.append(out)
    return y


def peaking(x, hz, gain_db, q):
    a = 10.0 ** (gain_db / 40.0)
    w = 2 * math.pi * hz / RATE
    alpha = math.sin(w) / (2 * q)
    c = math.cos(w)
    return biquad(x, (1 + alpha * a, -2 * c, 1 - alpha * a), (1 + alpha / a, -2 * c, 1 - alpha / a))


def low_pass(x, hz, q):
    w = 2 * math.pi * hz / RATE
    alpha = math.sin(w) / (2 * q)
    c = math.cos(w)
    return biquad(x, ((1 - c) / 2, 1 - c, (1 - c) / 2), (1 + alpha, -2 * c, 1 - alpha))


def high_pass(x, hz, q):
    w = 2 * math.pi * hz / RATE
    alpha = math.sin(w) / (2 * q)
    c = math.cos(w)
    return biquad(x, ((1 + c) / 2, -(1 + c), (1 + c) / 2), (1 + alpha, -2 * c, 1 - alpha))


def delayed(x, ms):
    n = round(RATE * ms / 1000.0)
    return [0.0] * n + x[: len(x) - n]


def note(hz, seconds, level_db):
    """A tone with harmonics falling 6 dB each, like a plucked string held."""
    return mix(*(sine(hz * k, seconds, level_db - 6.0 * (k - 1)) for k in range(1, 6)))


def make_signals(folder):
    # A 1 kHz test tone with the 2nd and 3rd harmonics of a slightly distorting amplifier.
    write_wav(f"{folder}/harmonics.wav",
              [mix(sine(1000, 2, -6), sine(2000, 2, -52), sine(3000, 2, -60),
                   white(2, -95, 1))])
    write_wav(f"{folder}/pink.wav", [pink(4, -20, 2)])
    # Pink noise through a loudspeaker-like response: a 60 Hz roll-off, a 2.5 kHz peak.
    write_wav(f"{folder}/speaker.wav",
              [peaking(high_pass(pink(4, -20, 3), 60, 0.7), 2500, 9, 2.0)])
    # A C major chord: C4, E4, G4.
    write_wav(f"{folder}/chord.wav",
              [mix(note(261.63, 3, -20), note(329.63, 3, -20), note(392.00, 3, -20))])
    # A logarithmic sweep 100 Hz to 16 kHz over 6 s, then 3 s of a 3 kHz tone, over white noise.
    sweep_s = 6.0
    k = math.log(16000 / 100)
    sweep = [0.3 * math.sin(2 * math.pi * 100 * sweep_s / k * (math.exp(k * i / RATE / sweep_s) - 1))
             for i in range(int(sweep_s * RATE))]
    write_wav(f"{folder}/sweep.wav",
              [mix(sweep + sine(3000, 3, -12), white(9, -45, 4))])
    # A device under test: the reference (right input) through a 1 kHz low pass and 1 ms later.
    reference = white(4, -12, 5)
    device = delayed(low_pass(peaking(reference, 150, -8, 1.5), 5000, 0.9), 1.0)
    write_wav(f"{folder}/device.wav", [device, reference])
    # A clean sine on the left, the same driven into clipping on the right.
    clean = sine(1000, 1, -6)
    write_wav(f"{folder}/clipping.wav", [clean, [max(-0.35, min(0.35, 1.6 * v)) for v in clean]])


def read_stored_png(path):
    with open(path, "rb") as f:
        data = f.read()
    at, idat = 8, b""
    while at < len(data):
        (length,) = struct.unpack(">I", data[at : at + 4])
        kind = data[at + 4 : at + 8]
        body = data[at + 8 : at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour != 2:
                raise SystemExit(f"{path}: not an 8-bit RGB picture")
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    raw = zlib.decompress(idat)
    stride = 3 * width + 1
    rows = []
    for y in range(height):
        if raw[y * stride] != 0:
            raise SystemExit(f"{path}: filtered rows are not expected")
        rows.append(raw[y * stride + 1 : (y + 1) * stride])
    return width, height, rows


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def pack_png(source, target):
    width, height, rows = read_stored_png(source)
    colours = {}
    for row in rows:
        for x in range(0, len(row), 3):
            colours.setdefault(row[x : x + 3], len(colours))
            if len(colours) > 256:
                break
    if len(colours) <= 256:
        header = struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)
        palette = b"".join(colours)
        scan = b"".join(b"\0" + bytes(colours[r[x : x + 3]] for x in range(0, len(r), 3))
                        for r in rows)
        extra = chunk(b"PLTE", palette)
    else:
        header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
        scan = b"".join(b"\0" + r for r in rows)
        extra = b""
    with open(target, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra +
                chunk(b"IDAT", zlib.compress(scan, 9)) + chunk(b"IEND", b""))


def main(argv):
    if len(argv) == 3 and argv[1] == "signals":
        make_signals(argv[2])
    elif len(argv) == 4 and argv[1] == "pack":
        pack_png(argv[2], argv[3])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
