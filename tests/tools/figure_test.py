#!/usr/bin/env python3
"""vorta-run --plot as a reader of its figures sees them. The SVG is well formed (xmllint);
its axes are read back from the tick marks and their labels, and its curve, mapped back
through them, lies on the data the tool writes as CSV, to within a pixel. The PNG has the
size asked and shows the curve where those axes put the data; so does the PDF rasterised by
pdftoppm. Misused options write nothing.

Usage: figure_test.py VORTA_RUN svg|png|pdf|polar|misuse
Exits with 77 (skipped) where a tool the check needs is not installed."""

import csv
import io
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile

from figure_reading import png_size, read_png, read_svg

VORTA_RUN = sys.argv[1]
MODE = sys.argv[2]
CATALOG = ("1\r\n0\r\n"
           "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n"
           "0.1180,0.0227,0.2523,0,0.1,0.05,2\r\n")
AXIS, CURVE = "#111111", "#ff1111"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def skip_without(tool, package):
    if shutil.which(tool) is None:
        print(f"skipped: {tool} is not installed (Debian package {package})")
        sys.exit(77)


def run(directory, *arguments, locale="C", extra_environment=None):
    environment = dict(os.environ, LC_ALL=locale, **(extra_environment or {}))
    environment.pop("LANG", None)
    return subprocess.run([VORTA_RUN, *arguments], cwd=directory, env=environment, capture_output=True)


def run_ok(directory, *arguments, **options):
    done = run(directory, *arguments, **options)
    if done.returncode != 0 or done.stderr:
        raise RuntimeError(f"vorta-run {' '.join(arguments)}: {done.returncode} {done.stderr.decode()}")
    return done.stdout


def csv_columns(directory, *arguments):
    rows = list(csv.DictReader(io.StringIO(run_ok(directory, *arguments, "--format", "csv").decode())))
    return {name: [float(row[name]) for row in rows] for name in rows[0]}


# --- The axes read back, and the curves compared with the data ------------------------------

def number_of(text, separator):
    if separator == "," and "." in text:
        return None
    try:
        return float(text.replace(separator, "."))
    except ValueError:
        return None


def axes_of(drawing, frame, separator):
    """Maps from the drawing's x and y to the data's, read from the frame's ticks and labels:
    (a, b) with value = a + b * pixel, for x and for y."""
    left, top, right, bottom = frame
    x_ticks, y_ticks = [], []
    for stroke, points in drawing["polylines"]:
        if stroke != AXIS or len(points) != 2:
            continue
        (x1, y1), (x2, y2) = points
        if abs(x1 - x2) < 1e-6 and left - 0.5 <= x1 <= right + 0.5 and abs(min(y1, y2) - bottom) < 0.01:
            x_ticks.append(x1)
        if abs(y1 - y2) < 1e-6 and top - 0.5 <= y1 <= bottom + 0.5 and abs(max(x1, x2) - left) < 0.01:
            y_ticks.append(y1)
    numbers = [(x, y, number_of(text, separator)) for x, y, text in drawing["texts"]]
    numbers = [(x, y, value) for x, y, value in numbers if value is not None]
    # The x labels are the row of numbers nearest below the frame: a y label's baseline can
    # reach below the frame too, but alone in its row.
    rows = {}
    for x, y, value in numbers:
        if y > bottom and left - 50 < x < right:
            rows.setdefault(round(y, 1), []).append((x, value))
    row = min((y for y, members in rows.items() if len(members) > 1), default=None)
    x_labels = rows.get(row, [])
    y_labels = [(y, value) for x, y, value in numbers
                if x < left and top - 20 < y < bottom + 20 and round(y, 1) != row]
    maps = []
    for ticks, labels in ((sorted(x_ticks), sorted(x_labels)), (sorted(y_ticks), sorted(y_labels))):
        if len(ticks) < 2 or len(ticks) != len(labels):
            raise RuntimeError(f"{len(ticks)} ticks and {len(labels)} labels on an axis")
        values = [value for _, value in labels]
        b = (values[-1] - values[0]) / (ticks[-1] - ticks[0])
        a = values[0] - b * ticks[0]
        step = abs(values[1] - values[0])
        check(all(abs(a + b * t - v) < 1e-3 * step for t, v in zip(ticks, values)),
              f"tick labels {values} are not evenly spaced along their ticks")
        maps.append((a, b))
    return maps


def to_pixels(axes, xs, ys):
    (ax, bx), (ay, by) = axes
    return [((x - ax) / bx, (y - ay) / by) for x, y in zip(xs, ys)]


def distance_to_segment(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    length = dx * dx + dy * dy
    t = 0 if length == 0 else max(0, min(1, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length))
    return math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy)


def check_curve_on_data(name, drawn, data):
    """Every drawn vertex is within a pixel of a data point, and every data point within a
    pixel of the drawn polyline."""
    far_vertices = [v for v in drawn if min(math.dist(v, p) for p in data) > 1]
    check(not far_vertices, f"{name}: {len(far_vertices)} drawn vertices lie off the data, first {far_vertices[:1]}")
    far_points = [p for p in data if min(distance_to_segment(p, a, b) for a, b in zip(drawn, drawn[1:])) > 1]
    check(not far_points, f"{name}: {len(far_points)} data points lie off the drawn curve, first {far_points[:1]}")


def curves_in(drawing, frame):
    left, top, right, bottom = frame
    return [points for stroke, points in drawing["polylines"]
            if stroke == CURVE and all(left - 1 <= x <= right + 1 and top - 1 <= y <= bottom + 1 for x, y in points)]


def svg_figure(directory, name, *arguments, locale="C"):
    run_ok(directory, *arguments, "--output", name, locale=locale)
    done = subprocess.run(["xmllint", "--noout", name], cwd=directory, capture_output=True)
    check(done.returncode == 0, f"{name} is not well formed: {done.stderr.decode()}")
    return read_svg(os.path.join(directory, name))


def is_red(pixel):
    r, g, b = pixel
    return r > 200 and g < 140 and b < 140


def pixels_near(curve_pixels, reach):
    """The pixels within about reach of the polyline through the points."""
    near = set()
    for (x1, y1), (x2, y2) in zip(curve_pixels, curve_pixels[1:]):
        samples = int(4 * math.hypot(x2 - x1, y2 - y1)) + 1
        for k in range(samples + 1):
            x, y = x1 + (x2 - x1) * k / samples, y1 + (y2 - y1) * k / samples
            near.update((int(x) + dx, int(y) + dy) for dx in range(-reach, reach + 1) for dy in range(-reach, reach + 1))
    return near


def check_image_shows_curve(name, image, curve_pixels, frame):
    """Red pixels lie within two pixels of the data's curve, and every data point has one."""
    width, height, rows = image
    left, top, right, bottom = frame
    red = {(x, y) for y in range(int(top), min(height, int(bottom) + 1))
           for x in range(int(left), min(width, int(right) + 1)) if is_red(rows[y][x])}
    check(len(red) > 100, f"{name}: only {len(red)} red pixels")
    strays = red - pixels_near(curve_pixels, 2)
    check(not strays, f"{name}: {len(strays)} red pixels off the curve, first {sorted(strays)[:3]}")
    missed = [p for p in curve_pixels
              if not any((int(p[0]) + dx, int(p[1]) + dy) in red for dx in range(-2, 3) for dy in range(-2, 3))]
    check(not missed, f"{name}: {len(missed)} data points without a red pixel, first {missed[:3]}")


# --- The checks, one mode each -----------------------------------------------------------------

def contour_and_cp_svg(directory):
    calculation = ("--entry", "1", "--points", "161", "--alpha", "5")
    data = csv_columns(directory, *calculation)
    for locale, separator in (("C", "."), ("de_DE.UTF-8", ",")):
        contour = svg_figure(directory, "contour.svg", *calculation, "--plot", "contour", locale=locale)
        check(len(contour["frames"]) == 1, f"contour has {len(contour['frames'])} frames")
        frame = contour["frames"][0]
        axes = axes_of(contour, frame, separator)
        check(abs(abs(axes[0][1]) / abs(axes[1][1]) - 1) < 1e-3, f"contour scales differ: {axes}")
        curves = curves_in(contour, frame)
        check(len(curves) == 1, f"contour has {len(curves)} curves")
        check_curve_on_data(f"contour ({locale})", curves[0], to_pixels(axes, data["x"], data["y"]))
        cl = run_ok(directory, *calculation, "--format", "json")
        check(re.search(r"Entry 1: 0\.1,0\.1,0\.3,18,0\.1,0\.1,1\.9 +AlfaD = 5 +CL = 1" + re.escape(separator) + r"279",
                        contour["title"]), f"contour title {contour['title']!r}, CL in {cl[:80]}")
        names = {text for _, _, text in contour["texts"]}
        check({"x/c", "y/c"} <= names, f"contour axis names among {names}")

        pressure = svg_figure(directory, "cp.svg", *calculation, "--plot", "cp", locale=locale)
        frame = pressure["frames"][0]
        axes = axes_of(pressure, frame, separator)
        curves = curves_in(pressure, frame)
        check(len(curves) == 1, f"cp has {len(curves)} curves")
        check_curve_on_data(f"cp ({locale})", curves[0], to_pixels(axes, data["x"], data["Cu"]))
        check({"x/c", "1-Cp"} <= {text for _, _, text in pressure["texts"]}, "cp axis names")


def polar_svg(directory):
    polar = ("--entry", "2", "--alpha-range", "-4:12:0.5")
    data = csv_columns(directory, *polar)
    drawing = svg_figure(directory, "polar.svg", *polar, "--plot", "polar")
    frames = sorted(drawing["frames"], key=lambda frame: frame[1])
    check(len(frames) == 2, f"polar has {len(frames)} frames")
    for frame, column in zip(frames, ("CL", "CMc/4")):
        axes = axes_of(drawing, frame, ".")
        curves = curves_in(drawing, frame)
        check(len(curves) == 1, f"polar {column} has {len(curves)} curves")
        check_curve_on_data(f"polar {column}", curves[0], to_pixels(axes, data["AlfaD"], data[column]))
    check({"AlfaD", "CL", "CMc/4"} <= {text for _, _, text in drawing["texts"]}, "polar axis names")

    # A polar of one angle shows a dot where its coefficients are.
    one = ("--entry", "2", "--alpha-range", "3:3:1")
    data = csv_columns(directory, *one)
    drawing = svg_figure(directory, "one.svg", *one, "--plot", "polar")
    frames = sorted(drawing["frames"], key=lambda frame: frame[1])
    dots = sorted((p for fill, p in drawing["dots"] if fill == CURVE), key=lambda p: p[1])
    check(len(frames) == 2 and len(dots) == 2, f"a polar of one angle has {len(frames)} frames, {len(dots)} dots")
    for frame, dot, column in zip(frames, dots, ("CL", "CMc/4")):
        [expected] = to_pixels(axes_of(drawing, frame, "."), data["AlfaD"], data[column])
        check(math.dist(dot, expected) <= 1, f"the {column} dot is at {dot}, not {expected}")


def png_images(directory):
    calculation = ("--entry", "2", "--points", "201", "--alpha", "3")
    data = csv_columns(directory, *calculation)
    run_ok(directory, *calculation, "--plot", "cp", "--output", "default.png")
    check(png_size(os.path.join(directory, "default.png")) == (1200, 800), "the default size is not 1200x800")
    for size in ((480, 320), (320, 440)):
        arguments = ("--size", f"{size[0]}x{size[1]}")
        for kind, ys in (("contour", data["y"]), ("cp", data["Cu"])):
            # QT_QPA_PLATFORM names a platform that cannot start here; the tool takes its own.
            run_ok(directory, *calculation, "--plot", kind, *arguments, "--output", "figure.png",
                   extra_environment={"QT_QPA_PLATFORM": "xcb", "DISPLAY": ":99"})
            image = read_png(os.path.join(directory, "figure.png"))
            check(image[:2] == size, f"{kind} PNG is {image[:2]}, not {size}")
            drawing = svg_figure(directory, "figure.svg", *calculation, "--plot", kind, *arguments)
            frame = drawing["frames"][0]
            curve = to_pixels(axes_of(drawing, frame, "."), data["x"], ys)
            check_image_shows_curve(f"{kind} PNG at {size}", image, curve, frame)


def pdf_pages(directory):
    skip_without("pdftoppm", "poppler-utils")
    calculation = ("--entry", "1", "--points", "121", "--alpha", "2")
    data = csv_columns(directory, *calculation)
    run_ok(directory, *calculation, "--plot", "cp", "--size", "600x400", "--output", "cp.pdf")
    with open(os.path.join(directory, "cp.pdf"), "rb") as f:
        check(f.read(5) == b"%PDF-", "cp.pdf is no PDF")
    done = subprocess.run(["pdftoppm", "-r", "96", "-png", "-singlefile", "cp.pdf", "page"], cwd=directory,
                          capture_output=True)
    check(done.returncode == 0 and not done.stderr, f"pdftoppm: {done.stderr.decode()}")
    image = read_png(os.path.join(directory, "page.png"))
    check(image[:2] == (600, 400), f"the PDF page rasterises to {image[:2]} at 96 per inch")
    drawing = svg_figure(directory, "cp.svg", *calculation, "--plot", "cp", "--size", "600x400")
    frame = drawing["frames"][0]
    check_image_shows_curve("cp PDF", image, to_pixels(axes_of(drawing, frame, "."), data["x"], data["Cu"]), frame)


def misuse(directory):
    usage = 2
    cases = [
        (("--entry", "1", "--plot", "cp"), usage,
         "vorta-run: --plot needs --output FILE.png, FILE.svg or FILE.pdf; the name's ending picks the format"),
        (("--entry", "1", "--plot", "cp", "--output", "-"), usage, "--plot needs --output FILE.png"),
        (("--entry", "1", "--plot", "cp", "--output", "a.jpg"), usage, "--plot needs --output FILE.png"),
        (("--entry", "1", "--plot", "polar", "--output", "a.png"), usage,
         "vorta-run: --plot polar needs --alpha-range FROM:TO:STEP"),
        (("--entry", "1", "--plot", "contour", "--alpha-range", "0:4:1", "--output", "a.png"), usage,
         "vorta-run: --plot contour and --plot cp take --alpha, not --alpha-range"),
        (("--entry", "all", "--alpha-range", "0:4:1", "--plot", "polar", "--output", "a.png"), usage,
         "vorta-run: --plot draws one entry: give --entry K"),
        (("--list", "--plot", "cp"), usage, "--plot draws one entry"),
        (("--entry", "1", "--plot", "cp", "--format", "csv", "--output", "a.png"), usage,
         "vorta-run: --plot writes a picture, without --format, --layout, --compare, --field, --compare-field or --grid"),
        (("--entry", "1", "--plot", "pie", "--output", "a.png"), usage, "--plot: pie not in {contour,cp,polar}"),
        (("--entry", "1", "--size", "800x600"), usage, "vorta-run: --size goes with --plot only"),
        (("--entry", "1", "--plot", "cp", "--output", "a.png", "--size", "199x600"), usage,
         'vorta-run: --size: "199x600" is not WxH, two whole numbers of pixels from 200 to 8000 such as 1200x800'),
        (("--entry", "1", "--plot", "cp", "--output", "a.png", "--size", "800X600"), usage, '"800X600" is not WxH'),
        (("--entry", "1", "--plot", "cp", "--output", "a.png", "--size", "+800x600"), usage, '"+800x600" is not WxH'),
        (("--entry", "1", "--plot", "cp", "--output", "a.png", "--points", "1"), 1,
         "--points must be a whole number from 2 to 1000000."),
        (("--entry", "3", "--plot", "cp", "--output", "a.png"), 1, "There is no entry 3"),
        (("--entry", "1", "--plot", "polar", "--alpha-range", "4:0:1", "--output", "a.png"), 1, "--alpha-range"),
    ]
    for arguments, status, message in cases:
        done = run(directory, *arguments)
        check(done.returncode == status and message in done.stderr.decode(),
              f"{' '.join(arguments)}: status {done.returncode}, said {done.stderr.decode()!r}")
    check(sorted(os.listdir(directory)) == ["VORTA_Input.txt"], f"misuse wrote {os.listdir(directory)}")
    # A file the tool cannot draw into stays as it was.
    with open(os.path.join(directory, "kept.png"), "wb") as f:
        f.write(b"earlier")
    run(directory, "--entry", "1", "--plot", "cp", "--points", "0", "--output", "kept.png")
    with open(os.path.join(directory, "kept.png"), "rb") as f:
        check(f.read() == b"earlier", "a refused figure touched the earlier file")


MODES = {"svg": contour_and_cp_svg, "polar": polar_svg, "png": png_images, "pdf": pdf_pages, "misuse": misuse}

if __name__ == "__main__":
    if MODE != "misuse":
        skip_without("xmllint", "libxml2-utils")
    with tempfile.TemporaryDirectory() as directory:
        with open(os.path.join(directory, "VORTA_Input.txt"), "w", newline="") as f:
            f.write(CATALOG)
        MODES[MODE](directory)
    for failure in failures:
        print("FAILED:", failure)
    print(f"figure_test {MODE}: {len(failures)} failures")
    sys.exit(1 if failures else 0)
