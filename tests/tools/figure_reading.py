"""Reading the figures vorta-run draws, for figure_test.py: an SVG's lines, dots, frames and
texts with every group's transform applied, and the pixels of an 8-bit PNG, with nothing but
Python's own modules."""

import re
import struct
import xml.etree.ElementTree as ElementTree
import zlib

SVG = "{http://www.w3.org/2000/svg}"


def matrix_of(transform):
    if not transform:
        return (1, 0, 0, 1, 0, 0)
    return tuple(float(v) for v in re.fullmatch(r"matrix\(([^)]*)\)", transform.strip()).group(1).split(","))


def apply(m, x, y):
    return (m[0] * x + m[2] * y + m[4], m[1] * x + m[3] * y + m[5])


def compose(outer, inner):
    a, b, c, d, e, f = outer
    p, q, r, s, t, u = inner
    return (a * p + c * q, b * p + d * q, a * r + c * s, b * r + d * s, a * t + c * u + e, b * t + d * u + f)


def read_svg(path):
    """The polylines (stroke colour, points), frames (rects that are not the ground) and
    texts (x, y, text) of an SVG, with every group's transform applied."""
    drawing = {"polylines": [], "dots": [], "frames": [], "texts": [], "title": ""}
    root = ElementTree.parse(path).getroot()
    drawing["title"] = root.findtext(SVG + "title") or ""
    width = float(root.get("viewBox").split()[2])

    def walk(element, m, stroke, fill):
        m = compose(m, matrix_of(element.get("transform")))
        stroke, fill = element.get("stroke", stroke), element.get("fill", fill)
        tag = element.tag.replace(SVG, "")
        if tag == "circle":
            drawing["dots"].append((fill, apply(m, float(element.get("cx")), float(element.get("cy")))))
        elif tag == "polyline":
            points = [tuple(float(v) for v in p.split(",")) for p in element.get("points").split()]
            drawing["polylines"].append((stroke, [apply(m, x, y) for x, y in points]))
        elif tag == "rect" and float(element.get("width")) < width:
            x, y = apply(m, float(element.get("x")), float(element.get("y")))
            drawing["frames"].append((x, y, x + float(element.get("width")), y + float(element.get("height"))))
        elif tag == "text":
            drawing["texts"].append((*apply(m, float(element.get("x")), float(element.get("y"))), element.text or ""))
        for child in element:
            walk(child, m, stroke, fill)

    walk(root, (1, 0, 0, 1, 0, 0), None, None)
    return drawing


def read_png(path):
    """Width, height and rows of (r, g, b) of an 8-bit RGB or RGBA PNG without interlace."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise RuntimeError(f"{path} is no PNG")
    position, idat, header = 8, b"", None
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        body = data[position + 8:position + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        position += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise RuntimeError(f"{path}: depth {depth}, colour type {colour}, interlace {interlace}")
    channels = 3 if colour == 2 else 4
    raw, stride, rows, previous = zlib.decompress(idat), width * channels, [], bytearray(width * channels)
    for row in range(height):
        kind = raw[row * (stride + 1)]
        line = bytearray(raw[row * (stride + 1) + 1:(row + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up, corner = previous[i], previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                best = min((abs(p - left), 0, left), (abs(p - up), 1, up), (abs(p - corner), 2, corner))[2]
                line[i] = (line[i] + best) & 255
        rows.append([tuple(line[i:i + 3]) for i in range(0, stride, channels)])
        previous = line
    return width, height, rows


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        raise RuntimeError(f"{path} is no PNG")
    return struct.unpack(">II", header[16:24])
