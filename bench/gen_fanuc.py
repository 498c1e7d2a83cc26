#!/usr/bin/env python3
"""Generates a large Fanuc milling program for timing the ISO conversion path.

The program is the same on every run (fixed seed): a short set-up, then blocks with N numbers,
about 80 % linear moves (G1), 15 % arcs (G2/G3 with I J from the start point, geometrically
consistent so the arc centre reads the same way throughout), and the rest rapid moves and
comment lines; some moves carry a trailing comment. It ends with M30.

    bench/gen_fanuc.py OUTPUT [LINES]     (LINES defaults to 1000000)
"""
import math
import random
import sys

SEED = 20240611


def fmt(v):
    text = f"{v:.3f}".rstrip("0")
    return text + "0" if text.endswith(".") else text


def generate(out, lines):
    rng = random.Random(SEED)
    header = [
        "%",
        "O1000 (GENERATED BENCHMARK PROGRAM)",
        "N10 G21 G17 G40 G49 G80 G90",
        "N20 G54",
        "N30 T1 M6 (D10 END MILL)",
        "N40 S8000 M3",
        "N50 G0 X0 Y0 Z5.",
        "N60 G1 Z-1. F300",
    ]
    for line in header:
        out.write(line + "\n")
    x, y = 0.0, 0.0
    n = 70
    body = lines - len(header) - 1
    for _ in range(body):
        roll = rng.random()
        words = f"N{n}"
        n += 10
        if roll < 0.80:
            x = round(max(-200.0, min(200.0, x + rng.uniform(-5.0, 5.0))), 3)
            y = round(max(-200.0, min(200.0, y + rng.uniform(-5.0, 5.0))), 3)
            words += f" G1 X{fmt(x)} Y{fmt(y)}"
            if rng.random() < 0.2:
                words += f" F{rng.choice((200, 300, 450, 600))}"
        elif roll < 0.95:
            radius = rng.uniform(1.0, 8.0)
            start_angle = rng.uniform(0.0, 2.0 * math.pi)
            cx = x - radius * math.cos(start_angle)
            cy = y - radius * math.sin(start_angle)
            clockwise = rng.random() < 0.5
            sweep = rng.uniform(0.3, 2.5) * (-1.0 if clockwise else 1.0)
            ex = cx + radius * math.cos(start_angle + sweep)
            ey = cy + radius * math.sin(start_angle + sweep)
            words += (f" G{2 if clockwise else 3} X{fmt(ex)} Y{fmt(ey)}"
                      f" I{fmt(cx - x)} J{fmt(cy - y)}")
            x, y = round(ex, 3), round(ey, 3)
        elif roll < 0.98:
            x = round(max(-200.0, min(200.0, x + rng.uniform(-20.0, 20.0))), 3)
            y = round(max(-200.0, min(200.0, y + rng.uniform(-20.0, 20.0))), 3)
            words += f" G0 X{fmt(x)} Y{fmt(y)}"
        else:
            words = f"(PASS {n // 10})"
        if words.startswith("N") and rng.random() < 0.05:
            words += " (CHECK)"
        out.write(words + "\n")
    out.write(f"N{n} M30\n")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    lines = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000
    with open(sys.argv[1], "w", newline="\n") as out:
        generate(out, lines)


if __name__ == "__main__":
    main()
