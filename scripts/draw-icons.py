#!/usr/bin/env python3
"""Draws the program's icons as XPM files: one per object type (16x16 and 32x32) and the program
icon. Each icon is a function from a point of a 16 x 16 canvas to a colour key, sampled at the
pixel centres of both sizes, so the two sizes show the same picture. The program icon is also
written as PNG files at the sizes of the desktop's hicolor icon theme, each pixel the average of
a grid of samples so that the larger sizes have smooth edges."""
import math
import os
import struct
import zlib

PALETTE = {
    '.': 'None', 'k': '#202020', 'w': '#FFFFFF', 'b': '#2060C0', 'l': '#A8C8F0', 'g': '#808080',
    's': '#D4D4D4', 'r': '#C03030', 'y': '#E8C040', 'n': '#309040', 'p': '#7A3FA0', 'o': '#E08020',
}


def inside(x, y, x0, y0, x1, y1):
    return x0 <= x < x1 and y0 <= y < y1


def frame(x, y, x0, y0, x1, y1, t=1.0):
    return inside(x, y, x0, y0, x1, y1) and not inside(x, y, x0 + t, y0 + t, x1 - t, y1 - t)


def page(x, y, fill='w'):
    """A sheet with a folded top-right corner, 3..13 x 1..15."""
    if x + (15 - y) > 26.5 and inside(x, y, 3, 1, 13, 15):
        return '.' if x - y > 9.5 else 's'
    if frame(x, y, 3, 1, 13, 15) or (inside(x, y, 3, 1, 13, 15) and abs(x - y - 8.5) < 0.5 and y < 5):
        return 'k'
    return fill if inside(x, y, 3, 1, 13, 15) else None


def table(x, y):
    if frame(x, y, 1, 2, 15, 14):
        return 'k'
    if inside(x, y, 2, 3, 14, 6):
        return 'b'
    if inside(x, y, 2, 6, 14, 13):
        if int(x) in (5, 9) or int(y) in (9,):
            return 'g'
        return 'w'
    return '.'


def form(x, y):
    if frame(x, y, 1, 2, 15, 14):
        return 'k'
    if inside(x, y, 2, 3, 14, 5):
        return 'w' if inside(x, y, 11.5, 3.5, 13, 4.5) else 'b'
    if frame(x, y, 7, 6, 13, 9):
        return 'g'
    if inside(x, y, 7, 6, 13, 9):
        return 'w'
    if frame(x, y, 9, 10, 13, 13):
        return 'k'
    if inside(x, y, 3, 7, 6, 8):
        return 'k'
    return 's' if inside(x, y, 2, 5, 14, 13) else '.'


def report(x, y):
    if inside(x, y, 5, 3, 10, 4) or inside(x, y, 5, 5, 11, 6):
        return 'g'
    for x0, top, key in ((5, 10, 'b'), (7, 8, 'n'), (9, 11, 'r')):
        if inside(x, y, x0, top, x0 + 1.5, 13):
            return key
    p = page(x, y)
    return p if p else '.'


def dataport(x, y):
    p = None
    if inside(x, y, 1, 3, 8, 14):
        p = 'k' if frame(x, y, 1, 3, 8, 14) else ('g' if int(y) in (6, 8, 10) and 2.5 < x < 6.5 else 'w')
    if p:
        return p
    if inside(x, y, 8, 4.5, 12, 6.5) or (12 <= x < 15 and abs(y - 5.5) < (15 - x) * 0.8):
        return 'n'
    if inside(x, y, 11, 9.5, 15, 11.5) or (8 <= x < 11 and abs(y - 10.5) < (x - 8) * 0.8):
        return 'o'
    return '.'


def codeunit(x, y):
    dx, dy = x - 8, y - 8
    r = math.hypot(dx, dy)
    angle = (math.degrees(math.atan2(dy, dx)) + 360) % 45
    outer = 7.2 if angle < 22.5 else 5.6
    if r < 2.3:
        return '.'
    if r < 3.3:
        return 'k'
    if r < outer - 1:
        return 'p'
    if r < outer:
        return 'k'
    return '.'


QUESTION = ["..kkk.", ".k...k", ".....k", "...kk.", "...k..", "......", "...k.."]


def no_type(x, y):
    gx, gy = int((x - 5) / 1.0), int((y - 4) / 1.2)
    if 0 <= gy < len(QUESTION) and 0 <= gx < 6 and x >= 5 and y >= 4 and QUESTION[gy][gx] == 'k':
        return 'g'
    p = page(x, y)
    return p if p else '.'


def program(x, y):
    dx, dy = x - 9.5, y - 9.5
    r = math.hypot(dx, dy)
    if 3.0 <= r < 4.5:
        return 'b'
    if r < 3.0:
        return 'l'
    if x > 11.5 and y > 11.5 and abs((x - 11.5) - (y - 11.5)) < 1.3 and x < 15.5:
        return 'o'
    p = page(x - 1.5, y, 'w')
    if p:
        return 'g' if p == 'w' and int(y) in (4, 6) and x < 9 else p
    return '.'


ICONS = [('report', report), ('form', form), ('table', table), ('dataport', dataport),
         ('codeunit', codeunit), ('notype', no_type), ('program', program)]


def render(fn, size):
    step = 16.0 / size
    rows = []
    for py in range(size):
        rows.append(''.join(fn((px + 0.5) * step, (py + 0.5) * step) or '.' for px in range(size)))
    return rows


def write_xpm(path, name, rows):
    used = sorted({c for row in rows for c in row})
    lines = ['/* XPM */', 'static const char* const %s[] = {' % name,
             '"%d %d %d 1",' % (len(rows[0]), len(rows), len(used))]
    lines += ['"%s c %s",' % (c, PALETTE[c]) for c in used]
    lines += ['"%s",' % row for row in rows]
    lines[-1] = lines[-1].rstrip(',')
    lines.append('};')
    with open(path, 'w') as out:
        out.write('\n'.join(lines) + '\n')


HICOLOR_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def rgba(key):
    colour = PALETTE[key]
    if colour == 'None':
        return (0, 0, 0, 0)
    return (int(colour[1:3], 16), int(colour[3:5], 16), int(colour[5:7], 16), 255)


def render_smooth(fn, size, grid=4):
    """Rows of RGBA pixels, each the average of grid x grid samples (colours weighted by alpha)."""
    step = 16.0 / size
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            r = g = b = a = 0
            for sy in range(grid):
                for sx in range(grid):
                    x = (px + (sx + 0.5) / grid) * step
                    y = (py + (sy + 0.5) / grid) * step
                    cr, cg, cb, ca = rgba(fn(x, y) or '.')
                    r, g, b, a = r + cr * ca, g + cg * ca, b + cb * ca, a + ca
            if a == 0:
                row += bytes(4)
            else:
                row += bytes((round(r / a), round(g / a), round(b / a), round(a / (grid * grid))))
        rows.append(bytes(row))
    return rows


def write_png(path, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

    size = len(rows)
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    raw = b''.join(b'\0' + row for row in rows)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as out:
        out.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9)) +
                  chunk(b'IEND', b''))


def main():
    folder = os.path.join(os.path.dirname(__file__), '..', 'resources', 'icons')
    for name, fn in ICONS:
        for size in (16, 32):
            write_xpm(os.path.join(folder, '%s%d.xpm' % (name, size)), '%s%d_xpm' % (name, size),
                      render(fn, size))
    for size in HICOLOR_SIZES:
        write_png(os.path.join(folder, 'hicolor', str(size), 'quellix.png'), render_smooth(program, size))


if __name__ == '__main__':
    main()
