#!/usr/bin/env python3
"""Writes a Heidenhain conversational program of a given number of lines for timing the
converter: straight moves (absolute, incremental, FMAX), circles with CC and DR+/DR-, Q
parameter assignments and Q references in words. The seed is fixed, so every run writes the
same program.

    gen_heidenhain.py OUTPUT [LINES]    (LINES defaults to 1000000)
"""
import random
import sys


def coordinate(rng):
    return f"{rng.uniform(-500.0, 500.0):+.3f}"


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    path = sys.argv[1]
    total = int(sys.argv[2]) if len(sys.argv) == 3 else 1_000_000
    rng = random.Random(20240611)
    lines = [
        "BEGIN PGM BENCH MM",
        "BLK FORM 0.1 Z X-500 Y-500 Z-50",
        "BLK FORM 0.2 X+500 Y+500 Z+0",
        "TOOL CALL 1 Z S4000",
        "Q1 = +800 ; FEED",
        "Q2 = -2.5 ; DEPTH",
        "L Z+50 R0 FMAX M3",
    ]
    while len(lines) < total - 1:
        kind = rng.random()
        if kind < 0.35:
            lines.append(f"L X{coordinate(rng)} Y{coordinate(rng)} Z{rng.uniform(-5, 5):+.3f} "
                         f"F{rng.randrange(100, 2000)}")
        elif kind < 0.45:
            lines.append(f"L X{coordinate(rng)} Y{coordinate(rng)} R0 FMAX")
        elif kind < 0.55:
            lines.append(f"L IX{rng.uniform(-5, 5):+.3f} IY{rng.uniform(-5, 5):+.3f} FQ1")
        elif kind < 0.75:
            lines.append(f"CC X{coordinate(rng)} Y{coordinate(rng)}")
            lines.append(f"C X{coordinate(rng)} Y{coordinate(rng)} "
                         f"DR{rng.choice('+-')} F{rng.randrange(100, 2000)}")
        elif kind < 0.85:
            q = rng.randrange(3, 60)
            lines.append(f"Q{q} = {rng.uniform(-100, 100):+.3f} ; PARAMETER {q}")
        else:
            lines.append(f"L X+Q{rng.randrange(3, 60)} Y-Q{rng.randrange(3, 60)} Z+Q2 FQ1")
    lines = lines[: total - 1]
    lines.append("END PGM BENCH MM")
    with open(path, "w", encoding="ascii", newline="\n") as out:
        for number, text in enumerate(lines):
            out.write(f"{number} {text}\n")


if __name__ == "__main__":
    main()
