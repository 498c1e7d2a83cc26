#!/usr/bin/env python3
"""Tests of `morvane check` and `morvane show` through the program itself.

    view_test.py PART MORVANE DATA_DIR WORK_DIR

    figures   figures of check against the hand-worked table of DATA_DIR
    compare   show on two programs: the same path, then a difference
    svg       the SVG through rsvg-convert, pixels checked
    html      the HTML page through headless Chromium: a screenshot, no script error
Renderer checks exit 77 (skipped) when the renderer is missing, unless CI is set.
"""
import json, os, shutil, struct, subprocess, sys, zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# Two turns from Z0 to Z-4 after a plunge from Z2: every depth colour of the legend.
HELIX = os.path.join(ROOT, "tests", "tools", "data", "check", "helix.nc")
COLOURS = ["#1f3fbf", "#2b8fd6", "#1fae9b", "#6cbf3c", "#e2a81b", "#e0512a"]


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def run(*args, expect=0):
    done = subprocess.run(args, capture_output=True, text=True, timeout=120)
    if done.returncode != expect:
        fail(f"{' '.join(args)}: exit {done.returncode}\n{done.stdout}{done.stderr}")
    return done


def figures(morvane, data):
    table = os.path.join(data, "figures.txt")
    checked = 0
    reports = {}
    for row in open(table):
        row = row.split("#")[0].split()
        if not row:
            continue
        program, path, expected = row[0], row[1], float(row[2])
        if program not in reports:
            reports[program] = json.loads(run(morvane, "check", "--json",
                                              os.path.join(data, program)).stdout)
        value = reports[program]
        for key in path.split("."):
            value = value[int(key)] if key.isdigit() else value[key]
        if abs(value - expected) > 0.001 * max(abs(expected), 0.001):
            fail(f"{program} {path}: {value}, worked out by hand {expected}")
        checked += 1
    print(f"{checked} figures of {len(reports)} programs agree")


def compare(morvane, data):
    square = os.path.join(ROOT, "examples", "square.nc")
    out = os.path.join(os.environ.get("TMPDIR", "/tmp"), f"morvane-compare-{os.getpid()}.svg")
    try:
        same = run(morvane, "show", square, os.path.join(ROOT, "examples", "square.H"), "-o", out)
        if "the same path" not in same.stdout:
            fail("the Fanuc and Heidenhain squares differ:\n" + same.stdout)
        moved = os.path.join(data, "square-moved.nc")
        differ = run(morvane, "show", square, moved, "-o", out, "--tolerance", "0.01", expect=1)
        lines = [l for l in differ.stdout.splitlines() if l[:1].isdigit()]
        # Y40.02 on line 10 moves that corner and the next one (X0 keeps the Y).
        if (len(lines) != 2 or "square-moved.nc:10" not in lines[0]
                or "square-moved.nc:11" not in lines[1] or "0.02 apart" not in lines[1]):
            fail("the two moved corners are not the differences listed:\n" + differ.stdout)
        run(morvane, "show", square, moved, "-o", out, "--tolerance", "0.05")
    finally:
        if os.path.exists(out):
            os.remove(out)
    print("comparisons agree")


def add_bytes(a, b, high):
    """a + b byte by byte, modulo 256: whole rows at once, as numbers whose bytes do not carry."""
    x, y, n = int.from_bytes(a, "big"), int.from_bytes(b, "big"), len(a)
    low = high ^ ((1 << 8 * n) - 1)
    return (((x & low) + (y & low)) ^ ((x ^ y) & high)).to_bytes(n, "big")


def read_png(path):
    """Rows of an 8-bit RGB or RGBA PNG as bytes, and the bytes per pixel. The Sub and Up
    filters are undone a row at a time; only Average and Paeth go byte by byte."""
    data = open(path, "rb").read()
    pos, chunks = 8, b""
    while pos < len(data):
        size, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + size]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour not in (2, 6):
                fail(f"{path}: a PNG of depth {depth}, colour type {colour}")
            step = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            chunks += body
        pos += 12 + size
    raw, stride, rows = zlib.decompress(chunks), width * step, []
    high = int.from_bytes(b"\x80" * stride, "big")
    previous = bytes(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)]
        if kind == 1:  # each byte plus the one a pixel before: sums over doubling spans
            shift = step
            while shift < stride:
                line = add_bytes(line, bytes(shift) + line[:-shift], high)
                shift *= 2
        elif kind == 2:
            line = add_bytes(line, previous, high)
        elif kind == 4 and not any(line) and previous[step:] == previous[:-step]:
            line = previous  # nothing added to a row of one colour: the same row again
        elif kind in (3, 4):
            line = bytearray(line)
            for i in range(stride):
                a = line[i - step] if i >= step else 0
                b, c = previous[i], previous[i - step] if i >= step else 0
                if kind == 3:
                    p = (a + b) // 2
                elif b == c:
                    p = a
                else:
                    pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                    p = a if pa <= pb and pa <= pc else b if pb <= pc else c
                line[i] = (line[i] + p) & 255
            line = bytes(line)
        rows.append(line)
        previous = line
    return rows, step


def rgb(colour):
    return bytes(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def check_pixels(png, drawing, legend):
    """The path's colours inside `drawing`, the legend's swatches inside `legend` (boxes as
    x0, y0, x1, y1), white at the corners."""
    rows, step = read_png(png)
    width = len(rows[0]) // step
    for x, y in ((2, 2), (width - 20, len(rows) - 20)):
        if rows[y][x * step:x * step + 3] != b"\xff\xff\xff":
            fail(f"{png}: background at {x},{y} is {tuple(rows[y][x * step:x * step + 3])}")
    def count(box, colour):
        x0, y0, x1, y1 = box
        found = 0
        for row in rows[y0:y1]:
            at = row.find(colour, x0 * step, x1 * step)
            while at >= 0:
                found += at % step == 0
                at = row.find(colour, at + 1, x1 * step)
        return found
    for colour, least in (("#1f3fbf", 200), ("#e0512a", 10)):
        if count(drawing, rgb(colour)) < least:
            fail(f"{png}: the path's colour {colour} is missing from the drawing")
    for colour in COLOURS:
        if count(legend, rgb(colour)) < 100:
            fail(f"{png}: the legend has no swatch of {colour}")


def tool(name):
    found = shutil.which(name)
    if not found and not os.environ.get("CI"):
        print(f"{name} is not installed: skipped")
        sys.exit(77)
    if not found:
        fail(f"{name} is not installed, and CI must run this test")
    return found


def svg(morvane, work):
    rsvg = tool("rsvg-convert")
    picture, png = os.path.join(work, "helix.svg"), os.path.join(work, "helix-svg.png")
    run(morvane, "show", HELIX, "--view", "front", "-o", picture)
    run(rsvg, "--background-color=white", picture, "-o", png)
    check_pixels(png, (40, 40, 760, 580), (800, 20, 1000, 200))
    print("the SVG renders")


def html(morvane, work):
    chromium = tool("chromium")
    page, png = os.path.join(work, "helix.html"), os.path.join(work, "helix-html.png")
    run(morvane, "show", HELIX, "-o", page)
    quiet = dict(os.environ, DBUS_SESSION_BUS_ADDRESS="disabled:")
    done = subprocess.run([chromium, "--headless=new", "--no-sandbox", "--disable-gpu",
                           "--hide-scrollbars", f"--screenshot={png}", "--window-size=800,600",
                           "--enable-logging=stderr", "--v=0", "file://" + page],
                          capture_output=True, text=True, timeout=120, env=quiet)
    errors = [l for l in done.stderr.splitlines() if "CONSOLE" in l or "Uncaught" in l]
    if errors or not os.path.exists(png):
        fail("the page logged script errors or gave no screenshot:\n" + "\n".join(errors))
    check_pixels(png, (0, 0, 600, 560), (600, 0, 800, 120))
    print("the page renders")


if __name__ == "__main__":
    part, morvane, data, work = sys.argv[1:5]
    os.makedirs(work, exist_ok=True)
    if part in ("figures", "compare"):
        {"figures": figures, "compare": compare}[part](morvane, data)
    else:
        {"svg": svg, "html": html}[part](morvane, work)
