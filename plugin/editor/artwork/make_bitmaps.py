#!/usr/bin/env python3
"""Draws the editor's twelve pictures and writes them as Windows bitmaps.

usage: make_bitmaps.py OUTPUT_FOLDER

Every picture is drawn here from code (standard library only) and written as an uncompressed
device-independent bitmap: 24 bits per pixel, the two knob handles with 8-bit palettes. The
positions below are those of the controls that the editor places over the panel.
"""

import math
import os
import struct
import sys

# Colours of the panel.
BACKDROP = (27, 30, 35)
PANEL = (42, 47, 55)
PANEL_EDGE = (62, 69, 80)
PANEL_SHADOW = (18, 20, 24)
LABEL = (150, 160, 172)
HEADER = (232, 140, 62)
ACCENT = (240, 150, 70)
SCREW = (88, 96, 108)
KEY_GREEN = (0, 255, 0)
KEY_BLACK = (0, 0, 0)
KEY_WHITE = (255, 255, 255)

# A 5 x 7 pixel font: seven rows per glyph, the leftmost pixel in bit 4.
FONT = {
    "A": "0E 11 11 1F 11 11 11", "B": "1E 11 11 1E 11 11 1E", "C": "0E 11 10 10 10 11 0E",
    "D": "1E 11 11 11 11 11 1E", "E": "1F 10 10 1E 10 10 1F", "F": "1F 10 10 1E 10 10 10",
    "G": "0E 11 10 17 11 11 0F", "H": "11 11 11 1F 11 11 11", "I": "0E 04 04 04 04 04 0E",
    "J": "07 02 02 02 02 12 0C", "K": "11 12 14 18 14 12 11", "L": "10 10 10 10 10 10 1F",
    "M": "11 1B 15 15 11 11 11", "N": "11 11 19 15 13 11 11", "O": "0E 11 11 11 11 11 0E",
    "P": "1E 11 11 1E 10 10 10", "Q": "0E 11 11 11 15 12 0D", "R": "1E 11 11 1E 14 12 11",
    "S": "0F 10 10 0E 01 01 1E", "T": "1F 04 04 04 04 04 04", "U": "11 11 11 11 11 11 0E",
    "V": "11 11 11 11 11 0A 04", "W": "11 11 11 15 15 15 0A", "X": "11 11 0A 04 0A 11 11",
    "Y": "11 11 11 0A 04 04 04", "Z": "1F 01 02 04 08 10 1F", "0": "0E 11 13 15 19 11 0E",
    "1": "04 0C 04 04 04 04 0E", "2": "0E 11 01 02 04 08 1F", "3": "1F 02 04 02 01 11 0E",
    "4": "02 06 0A 12 1F 02 02", "5": "1F 10 1E 01 01 11 0E", "6": "06 08 10 1E 11 11 0E",
    "7": "1F 01 02 04 08 08 08", "8": "0E 11 11 0E 11 11 0E", "9": "0E 11 11 0F 01 02 0C",
    "/": "01 01 02 04 08 10 10", "-": "00 00 00 1F 00 00 00", "+": "00 04 04 1F 04 04 00",
    ".": "00 00 00 00 00 0C 0C", " ": "00 00 00 00 00 00 00", ">": "08 04 02 01 02 04 08",
    "&": "0C 12 14 08 15 12 0D", ":": "00 0C 0C 00 0C 0C 00",
}


class Image:
    """An RGB picture with the drawing operations the artwork needs."""

    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.pixels = [list(colour) for _ in range(width * height)]

    def get(self, x, y):
        return tuple(self.pixels[y * self.width + x])

    def put(self, x, y, colour, cover=1.0):
        if 0 <= x < self.width and 0 <= y < self.height and cover > 0.0:
            pixel = self.pixels[y * self.width + x]
            for channel in range(3):
                pixel[channel] = round(pixel[channel] * (1.0 - cover) + colour[channel] * cover)

    def fill(self, left, top, right, bottom, colour):
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, colour)

    def gradient(self, left, top, right, bottom, upper, lower):
        for y in range(top, bottom):
            t = (y - top) / max(1, bottom - top - 1)
            self.fill(left, y, right, y + 1, mix(upper, lower, t))

    def frame(self, left, top, right, bottom, colour):
        self.fill(left, top, right, top + 1, colour)
        self.fill(left, bottom - 1, right, bottom, colour)
        self.fill(left, top, left + 1, bottom, colour)
        self.fill(right - 1, top, right, bottom, colour)

    def panel(self, left, top, right, bottom):
        """A raised plate with rounded corners, a lit upper edge and a shadow."""
        self.rounded(left + 1, top + 2, right + 1, bottom + 2, 4, PANEL_SHADOW)
        self.rounded(left, top, right, bottom, 4, PANEL_EDGE)
        self.rounded(left + 1, top + 1, right - 1, bottom - 1, 3, PANEL)
        self.gradient(left + 4, top + 1, right - 4, top + 3, mix(PANEL, PANEL_EDGE, 0.6), PANEL)

    def rounded(self, left, top, right, bottom, radius, colour):
        for y in range(top, bottom):
            for x in range(left, right):
                dx = max(left + radius - x - 0.5, x + 0.5 - (right - radius), 0.0)
                dy = max(top + radius - y - 0.5, y + 0.5 - (bottom - radius), 0.0)
                cover = min(1.0, max(0.0, radius - math.hypot(dx, dy) + 0.5))
                self.put(x, y, colour, cover)

    def disc(self, cx, cy, radius, colour, lit=None):
        """A smooth filled circle; with lit, shaded from lit at the top to colour at the bottom."""
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                cover = coverage(x, y, cx, cy, radius)
                if lit is not None:
                    t = min(1.0, max(0.0, (y + 0.5 - (cy - radius)) / (2 * radius)))
                    self.put(x, y, mix(lit, colour, t), cover)
                else:
                    self.put(x, y, colour, cover)

    def ring(self, cx, cy, radius, width, colour):
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                cover = coverage(x, y, cx, cy, radius) - coverage(x, y, cx, cy, radius - width)
                self.put(x, y, colour, cover)

    def text(self, x, y, words, colour, scale=1):
        for character in words.upper():
            rows = [int(row, 16) for row in FONT[character].split()]
            for row, bits in enumerate(rows):
                for column in range(5):
                    if bits & (0x10 >> column):
                        self.fill(x + column * scale, y + row * scale, x + (column + 1) * scale,
                                  y + (row + 1) * scale, colour)
            x += 6 * scale

    def centred_text(self, centre_x, y, words, colour, scale=1):
        self.text(centre_x - text_width(words, scale) // 2, y, words, colour, scale)

    def triangle(self, cx, top, size, colour, pointing_up):
        for row in range(size):
            half = row if pointing_up else size - 1 - row
            self.fill(cx - half, top + row, cx + half + 1, top + row + 1, colour)

    def paste(self, other, left, top):
        for y in range(other.height):
            for x in range(other.width):
                self.put(left + x, top + y, other.get(x, y))


def keyed(image, shape, key):
    """The picture with every pixel that the shape does not touch set to the transparent key colour."""
    for y in range(image.height):
        for x in range(image.width):
            if shape.get(x, y) == KEY_BLACK:
                image.pixels[y * image.width + x] = list(key)
            elif image.get(x, y) == key:
                # A drawn pixel must never read as transparent.
                image.pixels[y * image.width + x] = [max(0, c - 1) if c else 1 for c in key]
    return image


def text_width(words, scale=1):
    return (6 * len(words) - 1) * scale


def mix(a, b, t):
    return tuple(round(a[i] * (1.0 - t) + b[i] * t) for i in range(3))


def coverage(x, y, cx, cy, radius):
    """The share of pixel (x, y) inside the circle, sampled on a 4 x 4 grid."""
    inside = 0
    for sy in range(4):
        for sx in range(4):
            if math.hypot(x + (sx + 0.5) / 4 - cx, y + (sy + 0.5) / 4 - cy) <= radius:
                inside += 1
    return inside / 16.0


# ---------------------------------------------------------------- controls drawn into the panel

def knob_face(image, left, top, size):
    """The fixed part of a knob: a scale of dots over 270 degrees and a shaded cap."""
    cx = left + size / 2
    cy = top + size / 2
    radius = size / 2
    for step in range(11):
        angle = math.radians(225 - 27 * step)
        dot_x = cx + math.cos(angle) * (radius - 1.2)
        dot_y = cy - math.sin(angle) * (radius - 1.2)
        image.disc(dot_x, dot_y, 0.9, LABEL if step in (0, 5, 10) else mix(LABEL, PANEL, 0.45))
    cap = radius - 3.0
    image.disc(cx + 0.6, cy + 1.2, cap, PANEL_SHADOW)
    image.disc(cx, cy, cap, (36, 40, 47), lit=(92, 100, 112))
    image.disc(cx, cy, cap - 2.0, (44, 49, 57), lit=(70, 77, 88))


def led_socket(image, left, top):
    image.disc(left + 4.5, top + 4.5, 4.5, (30, 20, 16))


def menu_well(image, left, top, width, height):
    image.frame(left - 1, top - 1, left + width + 1, top + height + 1, PANEL_SHADOW)


def preset_button(image, left, top, words):
    image.rounded(left, top, left + 32, top + 12, 2, PANEL_EDGE)
    image.rounded(left + 1, top + 1, left + 31, top + 11, 2, (54, 60, 70))
    image.centred_text(left + 16, top + 3, words, LABEL)


def screw(image, cx, cy):
    image.disc(cx, cy, 2.5, SCREW, lit=(130, 138, 150))
    image.fill(int(cx) - 1, int(cy), int(cx) + 2, int(cy) + 1, PANEL_SHADOW)


def logo(image, left, top):
    """The emblem in the splash area, 60 x 60."""
    image.rounded(left + 2, top + 2, left + 58, top + 58, 8, PANEL_SHADOW)
    image.rounded(left + 3, top + 3, left + 57, top + 57, 7, (58, 40, 28))
    image.rounded(left + 5, top + 5, left + 55, top + 55, 6, ACCENT)
    image.rounded(left + 7, top + 7, left + 53, top + 53, 5, (40, 30, 24))
    image.centred_text(left + 30, top + 14, "Z3", ACCENT, 3)
    image.centred_text(left + 30, top + 40, "OMBIX", LABEL)


# The controls' places (left, top), as the editor lays them out.
BIG_KNOBS = [(122, 11), (122, 76)]
SMALL_KNOBS = [(463, 80), (556, 21), (556, 80), (46, 148), (236, 148), (46, 207), (236, 207),
               (385, 148), (431, 148), (503, 148), (189, 19), (189, 83), (492, 266)]
MENUS = [(56, 29, 53, 11), (56, 92, 53, 11), (446, 29, 53, 11), (217, 59, 53, 11), (537, 156, 53, 11),
         (392, 218, 53, 11), (275, 155, 53, 11), (275, 213, 53, 11), (174, 155, 53, 11),
         (174, 213, 53, 11), (110, 155, 53, 11), (110, 213, 53, 11), (537, 213, 53, 11),
         (362, 272, 53, 11), (528, 272, 53, 11), (426, 272, 53, 11), (80, 331, 123, 13)]
STEP_LED_LEFTS = [62 + int(i * 15.8) for i in range(16)]
STEP_BUTTON_LEFTS = [59 + int(i * 15.85) for i in range(16)]


def draw_panel():
    image = Image(632, 373, BACKDROP)
    for y in range(373):
        image.fill(0, y, 632, y + 1, mix((34, 38, 44), BACKDROP, y / 372))

    # Plates of the sections.
    image.panel(6, 5, 272, 129)       # filters
    image.panel(424, 5, 626, 129)     # distortion and output
    image.panel(6, 136, 360, 242)     # LFOs
    image.panel(366, 136, 482, 242)   # envelope follower
    image.panel(488, 136, 626, 242)   # delay
    image.panel(6, 249, 626, 305)     # step sequencer
    image.panel(6, 312, 508, 368)     # programs and presets

    # The scope's bezel.
    image.rounded(275, 7, 419, 123, 3, PANEL_SHADOW)
    image.rounded(276, 8, 418, 122, 3, PANEL_EDGE)
    image.fill(279, 11, 415, 119, (10, 12, 14))

    for left, top in BIG_KNOBS:
        knob_face(image, left, top, 40)
    for left, top in SMALL_KNOBS:
        knob_face(image, left, top, 26)
    for left, top, width, height in MENUS:
        menu_well(image, left, top, width, height)
    for left in STEP_LED_LEFTS:
        led_socket(image, left, 259)
    for left in (338,):
        led_socket(image, left, 155)
        led_socket(image, left, 214)
    for left in STEP_BUTTON_LEFTS:
        image.rounded(left - 1, 274, left + 15, 291, 2, PANEL_SHADOW)

    # Section titles.
    image.text(12, 9, "FILTER 1", HEADER)
    image.text(12, 74, "FILTER 2", HEADER)
    image.text(430, 9, "DISTORTION", HEADER)
    image.text(548, 9, "OUTPUT", HEADER)
    image.text(12, 140, "LFO 1", HEADER)
    image.text(12, 199, "LFO 2", HEADER)
    image.text(372, 140, "ENVELOPE", HEADER)
    image.text(494, 140, "DELAY", HEADER)
    image.text(12, 262, "STEP", HEADER)
    image.text(12, 276, "SEQ", HEADER)
    image.text(14, 333, "PROG", HEADER)

    # Labels of the controls.
    labels = [
        (56, 20, "TYPE"), (56, 83, "TYPE"), (142, 53, "CUTOFF"), (142, 118, "CUTOFF"),
        (202, 47, "RESO"), (202, 111, "RESO"), (217, 50, "ROUTING"),
        (446, 20, "TYPE"), (476, 108, "DRIVE"), (569, 49, "VOLUME"), (569, 108, "DRY/WET"),
        (59, 176, "RATE"), (59, 235, "RATE"), (110, 146, "SYNC"), (110, 204, "SYNC"),
        (174, 146, "SHAPE"), (174, 204, "SHAPE"), (249, 176, "SEND"), (249, 235, "SEND"),
        (275, 146, "DEST"), (275, 204, "DEST"), (338, 146, "LFO"), (338, 205, "LFO"),
        (398, 176, "TIME"), (444, 176, "SEND"), (392, 209, "DEST"),
        (516, 176, "SEND"), (537, 147, "TYPE"), (537, 204, "SYNC"),
        (362, 263, "SYNC"), (426, 263, "SHAPE"), (505, 294, "SEND"), (528, 263, "DEST"),
        (80, 322, "PATCH"),
    ]
    for x, y, words in labels:
        centred = words in ("CUTOFF", "RESO", "DRIVE", "VOLUME", "DRY/WET", "RATE", "SEND", "TIME")
        if centred:
            image.centred_text(x, y, words, LABEL)
        else:
            image.text(x, y, words, LABEL)
    for number, left in enumerate(STEP_BUTTON_LEFTS):
        if number % 4 == 0:
            image.text(left + 4, 294, str(number // 4 + 1), mix(LABEL, PANEL, 0.3))

    # Preset files.
    image.text(224, 325, "PRG", LABEL)
    image.text(224, 343, "BANK", LABEL)
    preset_button(image, 264, 322, "LOAD")
    preset_button(image, 264, 340, "LOAD")
    preset_button(image, 299, 322, "SAVE")
    preset_button(image, 299, 340, "SAVE")
    image.text(80, 353, "OMBIX LABS", mix(LABEL, PANEL, 0.3))
    image.text(348, 345, "ZINTARA 3", ACCENT, 2)

    logo(image, 520, 312)
    for cx, cy in ((10, 9), (622, 9), (10, 364), (622, 364)):
        screw(image, cx, cy)
    return image


# ---------------------------------------------------------------- the small pictures

def draw_led_strip():
    """Two lights, 11 rows apart, on green (transparent): lit first, dark second."""
    image = Image(9, 20, PANEL)
    shape = Image(9, 20, KEY_BLACK)
    for centre in (4.5, 15.5):
        shape.disc(4.5, centre, 4.5, KEY_WHITE)
    image.disc(4.5, 4.5, 4.5, (120, 40, 10))
    image.disc(4.5, 4.5, 3.6, (255, 140, 40), lit=(255, 230, 170))
    image.disc(4.5, 15.5, 4.5, (30, 20, 16))
    image.disc(4.5, 15.5, 3.6, (72, 40, 28), lit=(110, 70, 50))
    return keyed(image, shape, KEY_GREEN)


def draw_rocker_strip():
    """A vertical rocker: upper half pressed, at rest, lower half pressed; on green."""
    image = Image(20, 105, PANEL)
    shape = Image(20, 105, KEY_BLACK)
    for frame in range(3):
        top = frame * 35
        shape.rounded(1, top + 1, 19, top + 34, 4, KEY_WHITE)
        image.rounded(1, top + 1, 19, top + 34, 4, PANEL_SHADOW)
        image.rounded(2, top + 2, 18, top + 33, 3, (70, 78, 90))
        for half in range(2):
            pressed = frame == 0 and half == 0 or frame == 2 and half == 1
            upper = top + 3 + half * 15
            face = (52, 58, 68) if pressed else (96, 104, 118)
            image.gradient(3, upper, 17, upper + 14, mix(face, (255, 255, 255), 0.1), face)
            arrow = ACCENT if pressed else (210, 214, 220)
            image.triangle(10, upper + 4 + (1 if pressed else 0), 5, arrow, half == 0)
    return keyed(image, shape, KEY_GREEN)


def draw_handle(size, radius):
    """A knob's pointer dot on white, which the knob leaves out."""
    image = Image(size, size, (44, 49, 57))
    shape = Image(size, size, KEY_BLACK)
    centre = size / 2
    shape.disc(centre, centre, radius, KEY_WHITE)
    image.disc(centre, centre, radius, (120, 50, 12))
    image.disc(centre, centre, radius - 0.9, ACCENT, lit=(255, 210, 150))
    return keyed(image, shape, KEY_WHITE)


def draw_step_strip():
    """A step key off and on, on black (transparent)."""
    image = Image(14, 30, PANEL_SHADOW)
    shape = Image(14, 30, KEY_BLACK)
    for frame, face in enumerate(((84, 92, 104), (240, 150, 70))):
        top = frame * 15
        shape.rounded(0, top, 14, top + 15, 2, KEY_WHITE)
        image.rounded(0, top, 14, top + 15, 2, (24, 26, 30))
        image.gradient(1, top + 1, 13, top + 14, mix(face, (255, 255, 255), 0.25), face)
        image.fill(3, top + 11, 11, top + 12, mix(face, (0, 0, 0), 0.35))
    return keyed(image, shape, KEY_BLACK)


def draw_kick_button(words):
    """A 33 x 16 key, released above and pressed below."""
    image = Image(33, 32, PANEL)
    for frame in range(2):
        top = frame * 16
        image.rounded(0, top, 33, top + 16, 3, PANEL_SHADOW)
        face = (78, 86, 98) if frame == 0 else (52, 57, 66)
        image.rounded(1, top + 1, 32, top + 15, 3, mix(face, (255, 255, 255), 0.12))
        image.gradient(2, top + 2, 31, top + 14, mix(face, (255, 255, 255), 0.08), face)
        image.centred_text(17, top + 5 + frame, words, (230, 232, 236) if frame == 0 else ACCENT)
    return image


def draw_scope_background():
    """The display: a dark glass with a logarithmic frequency grid (column c at 187.5 x 1.037^c Hz)."""
    image = Image(134, 106, (10, 16, 14))
    for y in range(106):
        image.fill(0, y, 134, y + 1, mix((16, 26, 22), (8, 12, 11), y / 105))
    grid = (28, 44, 38)
    for frequency in (250, 500, 1000, 2000, 4000, 8000, 16000):
        column = round(math.log(frequency / 187.5) / math.log(1.037))
        if 0 <= column < 134:
            image.fill(column, 0, column + 1, 106, grid if frequency in (1000, 8000) else mix(grid, (8, 12, 11), 0.4))
    for y in range(26, 106, 20):
        image.fill(0, y, 134, y + 1, mix(grid, (8, 12, 11), 0.4))
    image.frame(0, 0, 134, 106, (40, 56, 50))
    return image


def draw_splash(panel):
    """The credits, drawn over a darkened copy of the panel."""
    image = Image(632, 373, BACKDROP)
    for y in range(373):
        for x in range(632):
            image.pixels[y * 632 + x] = list(mix(panel.get(x, y), (8, 9, 11), 0.82))
    image.panel(136, 70, 496, 300)
    image.centred_text(316, 96, "ZINTARA 3", ACCENT, 4)
    image.centred_text(316, 140, "DUAL MULTI-MODE FILTER SYNTHESIZER", LABEL)
    lines = ["58 FILTER TYPES  8 ROUTINGS", "DISTORTION  DELAY  TWO LFOS", "ENVELOPE FOLLOWER  STEP SEQUENCER",
             "", "OMBIX LABS", "VERSION 3.4"]
    for row, words in enumerate(lines):
        image.centred_text(316, 170 + row * 14, words, (205, 210, 216) if row != 4 else HEADER)
    image.centred_text(316, 282, "CLICK TO CLOSE", mix(LABEL, PANEL, 0.4))
    return image


# ---------------------------------------------------------------- writing the files

def write_bmp24(path, image):
    stride = (image.width * 3 + 3) & ~3
    rows = bytearray()
    for y in range(image.height - 1, -1, -1):
        row = bytearray()
        for x in range(image.width):
            r, g, b = image.get(x, y)
            row += bytes((b, g, r))
        rows += row + bytes(stride - len(row))
    write_file(path, image, 24, b"", 0, rows)


def write_bmp8(path, image):
    palette = []
    index = {}
    for y in range(image.height):
        for x in range(image.width):
            colour = image.get(x, y)
            if colour not in index:
                index[colour] = len(palette)
                palette.append(colour)
    if len(palette) > 256:
        raise ValueError(f"{path}: {len(palette)} colours do not fit a palette")
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    stride = (image.width + 3) & ~3
    rows = bytearray()
    for y in range(image.height - 1, -1, -1):
        row = bytes(index[image.get(x, y)] for x in range(image.width))
        rows += row + bytes(stride - len(row))
    write_file(path, image, 8, table, len(palette), rows)


def write_file(path, image, bits, table, colours, rows):
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, image.width, image.height, 1, bits, 0, len(rows), 2835, 2835,
                       colours, 0)
    with open(path, "wb") as file:
        file.write(header + info + table + rows)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_bitmaps.py OUTPUT_FOLDER")
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    panel = draw_panel()
    pictures24 = {
        "panel.bmp": panel,
        "led.bmp": draw_led_strip(),
        "rocker.bmp": draw_rocker_strip(),
        "splash.bmp": draw_splash(panel),
        "scope.bmp": draw_scope_background(),
        "step.bmp": draw_step_strip(),
        "random.bmp": draw_kick_button("RAND"),
        "default.bmp": draw_kick_button("INIT"),
        "paste.bmp": draw_kick_button("PASTE"),
        "copy.bmp": draw_kick_button("COPY"),
    }
    pictures8 = {"handle_big.bmp": draw_handle(9, 3.6), "handle_small.bmp": draw_handle(7, 2.8)}
    for name, image in pictures24.items():
        write_bmp24(os.path.join(folder, name), image)
    for name, image in pictures8.items():
        write_bmp8(os.path.join(folder, name), image)


if __name__ == "__main__":
    main()
