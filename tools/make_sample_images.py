#!/usr/bin/env python3
"""Draws the demo install package's skin images as PNG files (RGBA, no dependencies).

usage: make_sample_images.py OUT_FOLDER

header.png  520 x 72  a blue band fading to the right with three light rings
button.png  4 x 96 x 28  the button strip: normal, hover, pressed, disabled (rounded corners)
close.png   4 x 32 x 32  the caption's close button strip: a cross on a transparent frame
maximize.png  4 x 32 x 32  the caption's maximise button strip: a square outline
progress_back.png   480 x 14  the progress bar's empty groove
progress_front.png  480 x 14  its filled part, revealed from the left
slider_track.png    10 x 48   the file list's scroll track (a vertical three-slice frame)
slider_thumb.png    4 x 10 x 24  its thumb strip: normal, hover, pressed, disabled
"""
import math
import os
import struct
import sys
import zlib


def write_png(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(bytes(pixel(x, y)))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def header(x, y):
    rgb = mix((0x1F, 0x4E, 0x8C), (0x3A, 0x8F, 0xD6), x / 519)
    for cx, cy, r in ((430, 36, 26), (470, 20, 14), (395, 58, 10)):
        d = abs(math.hypot(x - cx, y - cy) - r)
        if d < 2.5:
            rgb = mix(rgb, (0xFF, 0xFF, 0xFF), 0.55 * (1 - d / 2.5))
    return rgb + (255,)


BUTTON_COLOURS = ((0x2B, 0x6C, 0xB0), (0x3D, 0x85, 0xD0), (0x1C, 0x4F, 0x85), (0xA8, 0xA8, 0xA8))


def rounded_alpha(x, y, width, height, radius):
    cx = min(max(x + 0.5, radius), width - radius)
    cy = min(max(y + 0.5, radius), height - radius)
    d = math.hypot(x + 0.5 - cx, y + 0.5 - cy) - radius
    return max(0, min(255, round(255 * (0.5 - d))))


def button(x, y):
    frame, fx = divmod(x, 96)
    base = BUTTON_COLOURS[frame]
    rgb = mix(base, (0xFF, 0xFF, 0xFF), 0.12 * (1 - y / 27))
    return rgb + (rounded_alpha(fx, y, 96, 28, 5),)


def close(x, y):
    frame, fx = divmod(x, 32)
    background = (None, (0xE8, 0x48, 0x3C), (0xB0, 0x30, 0x28), None)[frame]
    ink = (0xFF, 0xFF, 0xFF) if frame != 3 else (0x90, 0xA8, 0xC8)
    u, v = fx - 15.5, y - 15.5
    cross = min(abs(u - v), abs(u + v)) / math.sqrt(2)
    on_cross = max(abs(u), abs(v)) <= 6.5 and cross < 1.4
    if on_cross:
        return ink + (255,)
    if background is not None:
        return background + (255,)
    return (0, 0, 0, 0)


def maximize(x, y):
    frame, fx = divmod(x, 32)
    background = (None, (0x3D, 0x6E, 0xAC), (0x16, 0x3C, 0x6C), None)[frame]
    ink = (0xFF, 0xFF, 0xFF) if frame != 3 else (0x90, 0xA8, 0xC8)
    inside = 10 <= fx <= 21 and 10 <= y <= 21
    edge = inside and (fx in (10, 21) or y in (10, 11, 21))
    if edge:
        return ink + (255,)
    if background is not None:
        return background + (255,)
    return (0, 0, 0, 0)


def progress(filled):
    def pixel(x, y):
        alpha = rounded_alpha(x, y, 480, 14, 6)
        if filled:
            return mix((0x3A, 0x8F, 0xD6), (0x1F, 0x4E, 0x8C), y / 13) + (alpha,)
        return mix((0xE4, 0xE8, 0xEE), (0xF4, 0xF6, 0xF9), y / 13) + (alpha,)
    return pixel


def slider_track(x, y):
    return (0xE4, 0xE8, 0xEE, rounded_alpha(x, y, 10, 48, 5))


THUMB_COLOURS = ((0x9A, 0xB0, 0xCC), (0x3D, 0x85, 0xD0), (0x1C, 0x4F, 0x85), (0xC8, 0xC8, 0xC8))


def slider_thumb(x, y):
    frame, fx = divmod(x, 10)
    return THUMB_COLOURS[frame] + (rounded_alpha(fx, y, 10, 24, 5),)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, "header.png"), 520, 72, header)
    write_png(os.path.join(out, "button.png"), 4 * 96, 28, button)
    write_png(os.path.join(out, "close.png"), 4 * 32, 32, close)
    write_png(os.path.join(out, "maximize.png"), 4 * 32, 32, maximize)
    write_png(os.path.join(out, "progress_back.png"), 480, 14, progress(False))
    write_png(os.path.join(out, "progress_front.png"), 480, 14, progress(True))
    write_png(os.path.join(out, "slider_track.png"), 10, 48, slider_track)
    write_png(os.path.join(out, "slider_thumb.png"), 4 * 10, 24, slider_thumb)


if __name__ == "__main__":
    main()
