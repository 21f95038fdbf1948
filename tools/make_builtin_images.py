#!/usr/bin/env python3
"""Draws the built-in images (check boxes as 72 x 13 strips of four 18 x 13 frames, the static
default 90 x 90, all 8-bit RGBA PNG) and writes graphics/builtin_images.cpp."""
import os
import struct
import zlib


def png(w, h, pixels):
    raw = b''.join(b'\x00' + bytes(pixels[y * w * 4:(y + 1) * w * 4]) for y in range(h))

    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def checkbox(checked):
    w, h = 72, 13
    px = [0] * (w * h * 4)
    # Four 18 x 13 frames like a button's (normal, hover, pressed, disabled), the box at the left.
    shades = [(255, 255, 255), (229, 241, 251), (204, 228, 247), (240, 240, 240)]
    for frame in range(4):
        fill = shades[frame]
        ink = (160, 160, 160) if frame == 3 else (51, 51, 51)
        for y in range(13):
            for x in range(13):
                i = (y * w + frame * 18 + x) * 4
                edge = y in (0, 12) or x in (0, 12)
                r, g, b = ink if edge else fill
                tick = (x - 3 == y - 6 and 3 <= x <= 5) or (x - 5 == 8 - y and 5 <= x <= 9)
                if checked and not edge and tick:
                    r, g, b = ink
                px[i:i + 4] = [r, g, b, 255]
    return png(w, h, px)


def static():
    w = h = 90
    px = []
    for y in range(h):
        for x in range(w):
            edge = x in (0, w - 1) or y in (0, h - 1)
            px += [160, 160, 160, 255] if edge else [240, 240, 240, 255]
    return png(w, h, px)


def main():
    images = [('kCheckboxOn', checkbox(True)), ('kCheckboxOff', checkbox(False)), ('kStaticDefault', static())]
    out = ['// Built-in images, written by tools/make_builtin_images.py: edit the drawing there.',
           '#include "builtin_images.h"', '', 'namespace qorin {', '']
    for name, data in images:
        out.append('const uint8_t %s[%d] = {' % (name, len(data)))
        for i in range(0, len(data), 16):
            out.append('    ' + ', '.join('0x%02X' % b for b in data[i:i + 16]) + ',')
        out.append('};')
        out.append('const size_t %sSize = sizeof %s;' % (name, name))
        out.append('')
    out.append('}  // namespace qorin')
    target = os.path.join(os.path.dirname(__file__), '..', 'graphics', 'builtin_images.cpp')
    with open(target, 'w') as f:
        f.write('\n'.join(out) + '\n')


if __name__ == '__main__':
    main()
