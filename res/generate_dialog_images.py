#!/usr/bin/env python3
"""Draws the main dialog's pictures into res/ as PNG files:

132_Background.png        the dialog's background: a soft light gradient under the controls.
134_AppIcon.png           the window icon: a servo with its output horn.
145..152_Trace*.png       the trace boxes' swatches, one per trace colour.
160_Pause.png             the pause button.
161_Resume.png            the pause button while paused: a play triangle.
168_FirmwareUpdate.png    Firmware Update: a chip with a download arrow.
169_FirmwareAvailable.png the same with a badge: newer firmware is available.
170_HelpOnline.png        Help, with the update server reachable.
171_HelpOffline.png       Help, off line.

Shapes are tested at 4 x 4 sub-samples per pixel. Run it from anywhere; it needs only the Python
standard library."""
import math
import sys
import os

sys.dont_write_bytecode = True
from generate_images import render, write_png  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def over(layers):
    """Composites (rgb, inside) pairs, first at the bottom."""
    def paint(x, y):
        colour, alpha = (0, 0, 0), 0.0
        for rgb, inside in layers:
            if inside(x, y):
                colour, alpha = rgb, 1.0
        return colour + (alpha,)
    return paint


def disc(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) <= r


def ring(cx, cy, r1, r2, a1, a2):
    """Ring between radii r1 and r2 over angles a1..a2 in degrees (0 = east, counter-clockwise on
    screen means negative y)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if not r1 <= d <= r2:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        lo, hi = a1 % 360, a2 % 360
        return lo <= a <= hi if lo <= hi else a >= lo or a <= hi
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return math.hypot(x - cx, y - cy) <= r
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def sine(x0, x1, middle, height, half_width):
    """One period of a sine stroke from x0 to x1 about the line y = middle."""
    def inside(x, y):
        if not x0 <= x <= x1:
            return False
        t = (x - x0) / (x1 - x0) * 2 * math.pi
        centre = middle - height * math.sin(t)
        slope = height * math.cos(t) * 2 * math.pi / (x1 - x0)
        return abs(y - centre) <= half_width * math.sqrt(1 + slope * slope)
    return inside


def shade(rgb, f):
    return tuple(max(0, min(255, int(c * f))) for c in rgb)


def background(path):
    width, height = 1200, 800
    top, bottom = (246, 248, 251), (228, 233, 240)
    rows = []
    for y in range(height):
        t = y / (height - 1)
        c = tuple(int(round(a + (b - a) * t)) for a, b in zip(top, bottom))
        rows.append([c] * width)
    write_png(path, width, height, rows, alpha=False)


def app_icon(path, size=32):
    s = size / 32
    body = (40, 52, 72)
    layers = [
        (body, rounded(3 * s, 9 * s, 29 * s, 29 * s, 4 * s)),
        (shade(body, 1.5), rect(3 * s, 17 * s, 29 * s, 18 * s)),
        ((235, 120, 30), disc(16 * s, 9 * s, 7 * s)),
        ((235, 120, 30), rounded(3 * s, 6.5 * s, 29 * s, 11.5 * s, 2.5 * s)),
        ((255, 255, 255), disc(16 * s, 9 * s, 2.2 * s)),
        ((120, 200, 255), disc(8 * s, 24 * s, 1.6 * s)),
    ]
    render(path, size, size, over(layers))


def trace_swatch(path, rgb):
    edge = shade(rgb, 0.55)
    luminance = 0.3 * rgb[0] + 0.59 * rgb[1] + 0.11 * rgb[2]
    stroke = shade(rgb, 0.45) if luminance > 110 else (255, 255, 255)
    layers = [
        (edge, rounded(1, 1, 15, 15, 3)),
        (rgb, rounded(2.2, 2.2, 13.8, 13.8, 2)),
        (stroke, sine(3.5, 12.5, 8, 3, 0.75)),
    ]
    render(path, 16, 16, over(layers))


def pause(path):
    grey = (60, 66, 76)
    render(path, 16, 16, over([(grey, rounded(3.5, 2.5, 6.8, 13.5, 1)), (grey, rounded(9.2, 2.5, 12.5, 13.5, 1))]))


def resume(path):
    grey = (60, 66, 76)
    render(path, 16, 16, over([(grey, polygon([(4.0, 2.5), (13.0, 8.0), (4.0, 13.5)]))]))


def chip_layers(colour):
    layers = []
    for i in range(4):
        y = 4.5 + i * 2.6
        layers.append(((110, 116, 126), rect(1, y, 3.5, y + 1.2)))
        layers.append(((110, 116, 126), rect(12.5, y, 15, y + 1.2)))
    layers.append(((50, 56, 66), rounded(3, 3, 13, 15, 1.5)))
    layers.append((colour, rect(7, 4.5, 9, 10)))
    layers.append((colour, polygon([(4.8, 9.2), (11.2, 9.2), (8, 13.2)])))
    return layers


def firmware(path, badge):
    layers = chip_layers((120, 220, 120))
    if badge:
        layers += [((255, 255, 255), disc(12.5, 3.5, 3.6)), ((240, 130, 20), disc(12.5, 3.5, 2.8))]
    render(path, 16, 16, over(layers))


def help_icon(path, rgb):
    white = (255, 255, 255)
    layers = [
        (shade(rgb, 0.7), disc(10, 10, 9.5)),
        (rgb, disc(10, 10, 8.5)),
        (white, ring(10, 7.5, 2.2, 4.0, -60, 180)),
        (white, polygon([(11.2, 9.3), (12.9, 10.3), (11.4, 12.4), (9.3, 12.4)])),
        (white, rect(9.2, 11.2, 11.2, 12.8)),
        (white, disc(10.2, 15.4, 1.35)),
    ]
    render(path, 20, 20, over(layers))


def colour(colorref):
    """The Windows colour value 0x00BBGGRR as (r, g, b)."""
    return (colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF)


if __name__ == "__main__":
    background(os.path.join(HERE, "132_Background.png"))
    app_icon(os.path.join(HERE, "134_AppIcon.png"))
    # Trace n's picture and colour: boxes 1 to 8 show pictures 152, 145, 151, 147, 149, 150, 148, 146.
    traces = [
        (152, 0x00FFFF), (145, 0xFF0000), (151, 0x0000FF), (147, 0x00FF00),
        (149, 0xFF00FF), (150, 0xFFFF00), (148, 0x969696), (146, 0xFFFF00),
    ]
    for n, (image, value) in enumerate(traces, start=1):
        trace_swatch(os.path.join(HERE, "%d_Trace%d.png" % (image, n)), colour(value))
    pause(os.path.join(HERE, "160_Pause.png"))
    resume(os.path.join(HERE, "161_Resume.png"))
    firmware(os.path.join(HERE, "168_FirmwareUpdate.png"), badge=False)
    firmware(os.path.join(HERE, "169_FirmwareAvailable.png"), badge=True)
    help_icon(os.path.join(HERE, "170_HelpOnline.png"), (40, 110, 210))
    help_icon(os.path.join(HERE, "171_HelpOffline.png"), (140, 146, 156))
