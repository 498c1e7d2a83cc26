#!/usr/bin/env python3
"""Writes the benchmark programs. Every program is the same on every run (fixed seed), so the
NCI produced from it can be compared with a checksum taken once.

    bench/generate.py WORKLOAD OUTPUT [SIZE]
    bench/generate.py all DIRECTORY [--lines N]

Workloads (SIZE is the number of lines, or of drill positions for `cycles`, or of moves for
`subprograms`):

  fanuc        Fanuc milling program, 1,000,000 lines: N numbers, 80 % G1, 15 % G2/G3 with I J
               from the start point (geometrically consistent), rapid moves and comment lines,
               a trailing comment on some blocks; ends with M30.
  heidenhain   Heidenhain conversational program, 1,000,000 lines: L moves (absolute,
               incremental, FMAX), C arcs with their CC centre and DR+/DR-, Q parameter
               assignments and Q references in words.
  cycles       Heidenhain program that defines drilling cycle 200, calls it at half of 100,000
               positions, then defines cycle 203 (pecking) and calls it at the other half; meant
               to be converted with every cycle expanded (longhand).
  subprograms  Fanuc program whose M98 P.. L.. calls run one subprogram of ten moves often
               enough to write 1,000,000 moves.

`all` writes fanuc.nc, heidenhain.H, cycles.H and subprograms.nc into DIRECTORY; --lines scales
the two line-based programs (the 10-million-line memory check uses it).
"""
import math
import os
import random
import sys

SEED = 20240611


def fmt(v):
    """A coordinate as NC programs write it: three decimals at most, no trailing zeros."""
    text = f"{v:.3f}".rstrip("0")
    return text + "0" if text.endswith(".") else text


def signed(v):
    """A Heidenhain coordinate: explicit sign, three decimals."""
    return f"{v:+.3f}"


def fanuc(out, lines=1_000_000):
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
    for _ in range(lines - len(header) - 1):
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


def write_numbered(out, blocks):
    """Heidenhain block numbers in front of every line."""
    for number, text in enumerate(blocks):
        out.write(f"{number} {text}\n")


def heidenhain(out, lines=1_000_000):
    rng = random.Random(SEED)

    def coordinate():
        return signed(rng.uniform(-500.0, 500.0))

    blocks = [
        "BEGIN PGM BENCH MM",
        "BLK FORM 0.1 Z X-500 Y-500 Z-50",
        "BLK FORM 0.2 X+500 Y+500 Z+0",
        "TOOL CALL 1 Z S4000",
        "Q1 = +800 ; FEED",
        "Q2 = -2.5 ; DEPTH",
        "L Z+50 R0 FMAX M3",
    ]
    while len(blocks) < lines - 1:
        kind = rng.random()
        if kind < 0.35:
            blocks.append(f"L X{coordinate()} Y{coordinate()} Z{signed(rng.uniform(-5, 5))} "
                          f"F{rng.randrange(100, 2000)}")
        elif kind < 0.45:
            blocks.append(f"L X{coordinate()} Y{coordinate()} R0 FMAX")
        elif kind < 0.55:
            blocks.append(f"L IX{signed(rng.uniform(-5, 5))} IY{signed(rng.uniform(-5, 5))} FQ1")
        elif kind < 0.75:
            blocks.append(f"CC X{coordinate()} Y{coordinate()}")
            blocks.append(f"C X{coordinate()} Y{coordinate()} "
                          f"DR{rng.choice('+-')} F{rng.randrange(100, 2000)}")
        elif kind < 0.85:
            q = rng.randrange(3, 60)
            blocks.append(f"Q{q} = {signed(rng.uniform(-100, 100))} ; PARAMETER {q}")
        else:
            blocks.append(f"L X+Q{rng.randrange(3, 60)} Y-Q{rng.randrange(3, 60)} Z+Q2 FQ1")
    blocks = blocks[: lines - 1]
    blocks.append("END PGM BENCH MM")
    write_numbered(out, blocks)


CYCLE_200 = [
    "CYCL DEF 200 DRILLING",
    "  Q200=2 ;SET-UP CLEARANCE",
    "  Q201=-12.5 ;DEPTH",
    "  Q206=150 ;FEED RATE FOR PLNGNG",
    "  Q202=12.5 ;PLUNGING DEPTH",
    "  Q210=0 ;DWELL TIME AT TOP",
    "  Q203=+0 ;SURFACE COORDINATE",
    "  Q204=10 ;2ND SET-UP CLEARANCE",
    "  Q211=0.2 ;DWELL TIME AT DEPTH",
]

CYCLE_203 = [
    "CYCL DEF 203 UNIVERSAL DRILLING",
    "  Q200=2 ;SET-UP CLEARANCE",
    "  Q201=-30 ;DEPTH",
    "  Q206=100 ;FEED RATE FOR PLNGNG",
    "  Q202=6 ;PLUNGING DEPTH",
    "  Q210=0 ;DWELL TIME AT TOP",
    "  Q203=-24 ;SURFACE COORDINATE",
    "  Q204=40 ;2ND SET-UP CLEARANCE",
    "  Q212=0.5 ;DECREMENT",
    "  Q213=2 ;NR OF BREAKS",
    "  Q205=2 ;MIN. PLUNGING DEPTH",
    "  Q211=0 ;DWELL TIME AT DEPTH",
    "  Q208=800 ;RETRACTION FEED RATE",
    "  Q256=0.5 ;DIST FOR CHIP BRKNG",
]


def cycles(out, positions=100_000):
    """Holes on a grid, one call block each: the first half drilled with 200, the rest pecked
    with 203. The pecking cycle's infeed is Q203 - Q201 = 6 on a depth of 30: four pecks with
    their chip-breaking moves, then the bottom."""
    rng = random.Random(SEED)
    blocks = [
        "BEGIN PGM HOLES MM",
        "TOOL CALL 3 Z S2500",
        "L X+0 Y+0 Z+50 R0 FMAX",
    ]
    per_row = 400
    for hole in range(positions):
        if hole == 0:
            blocks += CYCLE_200
        elif hole == positions // 2:
            blocks += CYCLE_203
        row, column = divmod(hole, per_row)
        x = column * 2.5 + rng.uniform(-0.4, 0.4)
        y = (row % 400) * 2.5 + rng.uniform(-0.4, 0.4)
        blocks.append(f"L X{signed(x)} Y{signed(y)} FMAX M99")
    blocks.append("END PGM HOLES MM")
    write_numbered(out, blocks)


# One pass of the subprogram: ten incremental moves (lines and arcs whose centre lies half way
# along the chord, so the radius is exact) that end 0.5 further in X and 0.25 further in Y.
SUBPROGRAM_PASS = [
    "G91 G1 X2. Y1. F800",
    "G1 X1.5 Y-0.5",
    "G2 X2. Y0 I1. J0",
    "G1 Y-1.5",
    "G3 X-2. Y0 I-1. J0",
    "G1 X-1.5 Y0.75",
    "G1 X-1. Y0.5 F600",
    "G2 X0 Y1. I0 J0.5",
    "G1 X1. Y-0.5",
    "G1 X-1.5 Y-0.5 F800",
]


def subprograms(out, moves=1_000_000):
    """The main program positions the tool for each row of passes, then calls the subprogram
    with a pass count; the subprogram works relative to where it starts."""
    passes_per_call = 1000
    calls = max(1, moves // (len(SUBPROGRAM_PASS) * passes_per_call))
    lines = ["%", "O2000 (GENERATED SUBPROGRAM BENCHMARK)", "G21 G17 G40 G90",
             "T2 M6", "S6000 M3"]
    for call in range(calls):
        lines.append(f"G90 G0 X{fmt(-250.0 + (call % 10) * 0.5)} Y{fmt(-250.0 + call * 2.5)} Z2.")
        lines.append("G1 Z-0.5 F200")
        lines.append(f"M98 P100 L{passes_per_call}")
        lines.append("G90 G0 Z5.")
    lines.append("M30")
    lines.append("O100 (ONE PASS)")
    lines += SUBPROGRAM_PASS
    lines.append("G90")
    lines.append("M99")
    for line in lines:
        out.write(line + "\n")


WORKLOADS = {
    "fanuc": (fanuc, "fanuc.nc"),
    "heidenhain": (heidenhain, "heidenhain.H"),
    "cycles": (cycles, "cycles.H"),
    "subprograms": (subprograms, "subprograms.nc"),
}


def write(workload, path, size=None):
    function = WORKLOADS[workload][0]
    with open(path, "w", encoding="ascii", newline="\n") as out:
        if size is None:
            function(out)
        else:
            function(out, size)


def main(argv):
    if len(argv) >= 3 and argv[1] == "all":
        directory = argv[2]
        lines = None
        if len(argv) == 5 and argv[3] == "--lines":
            lines = int(argv[4])
        elif len(argv) != 3:
            sys.exit(__doc__)
        os.makedirs(directory, exist_ok=True)
        for name, (_, file_name) in WORKLOADS.items():
            size = lines if name in ("fanuc", "heidenhain") else None
            write(name, os.path.join(directory, file_name), size)
        return
    if len(argv) not in (3, 4) or argv[1] not in WORKLOADS:
        sys.exit(__doc__)
    write(argv[1], argv[2], int(argv[3]) if len(argv) == 4 else None)


if __name__ == "__main__":
    main(sys.argv)
