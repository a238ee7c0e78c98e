#!/usr/bin/env python3
"""Draws the host's embedded pictures: the frame icon, the logo and the keyboard's key images.

Run it from this folder; it rewrites icon.png, logo.png, white_keys.bmp and black_keys.bmp.
"""
import math
import struct
import zlib


def write_png(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def write_bmp(path, width, height, pixel):
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row.extend((b, g, r))
        row.extend(b"\0" * (stride - len(row)))
        data.extend(row)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + data)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


ACCENT = (240, 160, 40)


def ring(x, y, cx, cy, radius, thickness):
    """Coverage (0..1) of an anti-aliased ring with a tail at its lower right: a "Q"."""
    d = math.hypot(x - cx, y - cy)
    cover = max(0.0, min(1.0, thickness / 2 + 0.5 - abs(d - radius)))
    # The tail: a short thick stroke from the ring's lower right outwards.
    tx, ty = cx + radius * 0.55, cy + radius * 0.55
    ux, uy = math.sqrt(0.5), math.sqrt(0.5)
    along = (x - tx) * ux + (y - ty) * uy
    across = abs(-(x - tx) * uy + (y - ty) * ux)
    if -radius * 0.25 <= along <= radius * 0.55:
        cover = max(cover, max(0.0, min(1.0, thickness / 2 + 0.5 - across)))
    return cover


def icon_pixel(x, y):
    c = ring(x + 0.5, y + 0.5, 7.5, 7.0, 5.2, 2.4)
    return (*ACCENT, int(round(255 * c)))


def logo_pixel(x, y):
    base = mix((18, 22, 34), (46, 30, 60), y / 399)
    glow = max(0.0, 1.0 - math.hypot(x - 250, y - 170) / 260)
    colour = mix(base, (70, 60, 110), glow * 0.6)
    c = ring(x + 0.5, y + 0.5, 250, 170, 90, 22)
    colour = mix(colour, ACCENT, c)
    # A row of small piano keys along the bottom.
    if 300 <= y < 360 and 70 <= x < 430:
        k = (x - 70) // 20
        edge = (x - 70) % 20 == 19
        colour = (60, 60, 70) if edge else (228, 228, 222)
        if y < 338 and k % 7 not in (2, 6) and (x - 70) % 20 >= 13 and x < 420:
            colour = (20, 20, 24)
        if y < 338 and k % 7 not in (0, 3) and (x - 70) % 20 < 7 and k > 0:
            colour = (20, 20, 24)
    return (*colour, 255)


WHITE_W, WHITE_H, BLACK_W, BLACK_H = 19, 95, 12, 62


def white_key_pixel(x, y):
    column, row = x // WHITE_W, y // WHITE_H
    kx, ky = x % WHITE_W, y % WHITE_H
    pressed = row > 0
    face = (206, 214, 230) if pressed else (246, 246, 240)
    if row == 2:
        face = (190, 200, 222)
    # Black parts of the neighbouring black keys at the upper edges.
    left_black = column in (1, 2) and kx < BLACK_W // 2 and ky < BLACK_H
    right_black = column in (0, 1) and kx >= WHITE_W - BLACK_W // 2 and ky < BLACK_H
    if left_black or right_black:
        return (24, 24, 28)
    if kx == WHITE_W - 1 or ky == WHITE_H - 1:
        return (90, 90, 96)
    # The key's lower lip: shorter while pressed.
    lip = 6 if not pressed else 3
    if ky >= WHITE_H - 1 - lip:
        return mix(face, (150, 150, 150), 0.5)
    return face


def black_key_pixel(x, y):
    row, ky = y // BLACK_H, y % BLACK_H
    pressed = row == 1
    face = (70, 56, 30) if pressed else (36, 36, 42)
    if x == 0 or x == BLACK_W - 1 or ky == BLACK_H - 1:
        return (8, 8, 10)
    lip = 8 if not pressed else 4
    if ky >= BLACK_H - 1 - lip:
        return mix(face, (110, 110, 120), 0.5)
    if x == 2:
        return mix(face, (130, 130, 140), 0.4)
    return face


write_png("icon.png", 16, 16, icon_pixel)
write_png("logo.png", 500, 400, logo_pixel)
write_bmp("white_keys.bmp", 4 * WHITE_W, 3 * WHITE_H, white_key_pixel)
write_bmp("black_keys.bmp", BLACK_W, 2 * BLACK_H, black_key_pixel)
