#!/usr/bin/env python3
"""Draws the ten 32x32 toolbar images (Connect, Disconnect, Copy, Paste, New,
Rename, Delete, Properties, CHMOD, About) into one 320x32 24-bit bottom-up
BMP whose first stored pixel is the mask colour (magenta)."""

import struct
import sys

W, H = 320, 32
MASK = (255, 0, 255)
img = [[MASK for _ in range(W)] for _ in range(H)]


def px(x, y, c):
    if 0 <= x < W and 0 <= y < H:
        img[y][x] = c


def rect(x0, y0, x1, y1, c, fill=True):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            if fill or x in (x0, x1) or y in (y0, y1):
                px(x, y, c)


def line(x0, y0, x1, y1, c, w=1):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(steps + 1):
        x = x0 + (x1 - x0) * i // steps
        y = y0 + (y1 - y0) * i // steps
        for dx in range(w):
            for dy in range(w):
                px(x + dx, y + dy, c)


def disc(cx, cy, r, c):
    for y in range(cy - r, cy + r + 1):
        for x in range(cx - r, cx + r + 1):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                px(x, y, c)


def page(o, c=(250, 250, 250)):
    rect(o + 7, 3, o + 24, 28, (60, 60, 60), fill=False)
    rect(o + 8, 4, o + 23, 27, c)


GREEN, RED, BLUE, DARK, YELLOW = (40, 160, 60), (200, 40, 40), (40, 90, 200), (40, 40, 40), (230, 190, 40)

# 0 Connect: two plugs joined
o = 0
rect(o + 3, 13, o + 13, 19, GREEN); rect(o + 19, 13, o + 29, 19, GREEN); line(o + 13, 16, o + 19, 16, DARK, 2)
# 1 Disconnect: two plugs apart with a red cross
o = 32
rect(o + 2, 13, o + 10, 19, (120, 120, 120)); rect(o + 22, 13, o + 30, 19, (120, 120, 120))
line(o + 12, 10, o + 20, 22, RED, 2); line(o + 20, 10, o + 12, 22, RED, 2)
# 2 Copy: two pages
o = 64
rect(o + 4, 3, o + 19, 22, DARK, fill=False); rect(o + 5, 4, o + 18, 21, (230, 230, 230))
rect(o + 12, 9, o + 27, 28, DARK, fill=False); rect(o + 13, 10, o + 26, 27, (250, 250, 250))
# 3 Paste: clipboard
o = 96
rect(o + 6, 5, o + 25, 29, (150, 100, 50)); rect(o + 9, 9, o + 22, 26, (250, 250, 250)); rect(o + 12, 2, o + 19, 7, DARK)
# 4 New: folder with a star
o = 128
rect(o + 3, 10, o + 28, 26, YELLOW); rect(o + 3, 7, o + 13, 10, YELLOW); disc(o + 24, 8, 4, GREEN)
# 5 Rename: page with a pencil
o = 160
page(o); line(o + 10, 24, o + 24, 10, BLUE, 3)
# 6 Delete: red X
o = 192
line(o + 6, 6, o + 26, 26, RED, 4); line(o + 26, 6, o + 6, 26, RED, 4)
# 7 Properties: page with lines
o = 224
page(o)
for y in (9, 14, 19, 24):
    line(o + 11, y, o + 20, y, DARK)
# 8 CHMOD: a key
o = 256
disc(o + 10, 16, 6, YELLOW); disc(o + 10, 16, 2, MASK); rect(o + 15, 15, o + 28, 17, YELLOW)
rect(o + 24, 17, o + 25, 21, YELLOW); rect(o + 20, 17, o + 21, 20, YELLOW)
# 9 About: blue circle with an i
o = 288
disc(o + 16, 16, 13, BLUE); rect(o + 15, 13, o + 17, 24, (255, 255, 255)); rect(o + 15, 8, o + 17, 10, (255, 255, 255))

img[H - 1][0] = MASK  # the first stored pixel (bottom-left) is the mask colour

row = W * 3
data = bytearray()
for y in range(H - 1, -1, -1):  # bottom-up
    for x in range(W):
        r, g, b = img[y][x]
        data += bytes((b, g, r))
header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
with open(sys.argv[1], "wb") as f:
    f.write(header + info + data)
