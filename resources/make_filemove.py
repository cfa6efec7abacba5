#!/usr/bin/env python3
"""Writes Filemove.avi: a sheet flying from one folder to another, in a loop.

A plain RIFF AVI with one 8-bit run-length coded video stream, small enough to
keep in the repository. Run from anywhere: python3 make_filemove.py [out.avi]
"""
import math
import os
import struct
import sys

W, H = 256, 56
FRAMES = 16
FRAME_US = 80000

# palette index -> (r, g, b)
PALETTE = {
    0: (255, 255, 255),  # background
    1: (0, 0, 0),        # outline
    2: (240, 200, 64),   # folder
    3: (200, 150, 40),   # folder shade
    4: (255, 255, 255),  # sheet
    5: (96, 96, 160),    # text lines on the sheet
    6: (128, 128, 128),  # shadow
}


def blank():
    return [[0] * W for _ in range(H)]


def rect(img, x0, y0, x1, y1, c):
    for y in range(max(0, y0), min(H, y1)):
        row = img[y]
        for x in range(max(0, x0), min(W, x1)):
            row[x] = c


def frame_rect(img, x0, y0, x1, y1, fill):
    rect(img, x0, y0, x1, y1, 1)
    rect(img, x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill)


def folder(img, x, y):
    frame_rect(img, x, y, x + 14, y + 6, 3)          # tab
    frame_rect(img, x, y + 5, x + 44, y + 36, 2)      # body
    rect(img, x + 2, y + 30, x + 42, y + 32, 3)


def sheet(img, x, y):
    rect(img, x + 2, y + 2, x + 18, y + 24, 6)        # shadow
    frame_rect(img, x, y, x + 16, y + 22, 4)
    for k in range(4):
        rect(img, x + 3, y + 5 + 4 * k, x + 13, y + 6 + 4 * k, 5)


def frame(n):
    img = blank()
    folder(img, 8, 14)
    folder(img, W - 52, 14)
    t = n / FRAMES
    x0, x1 = 22, W - 38
    x = int(x0 + (x1 - x0) * t)
    y = int(16 - 14 * math.sin(math.pi * t))
    sheet(img, x, y)
    return img


def rle8(img):
    """Rows bottom-up, runs of up to 255 equal pixels, end of line, end of bitmap."""
    out = bytearray()
    for row in reversed(img):
        x = 0
        while x < W:
            v = row[x]
            n = 1
            while x + n < W and row[x + n] == v and n < 255:
                n += 1
            out += bytes((n, v))
            x += n
        out += b"\x00\x00"
    out[-2:] = b"\x00\x01"
    return bytes(out)


def chunk(fourcc, data):
    pad = b"\x00" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def lst(kind, payload):
    return chunk(b"LIST", kind + payload)


def build():
    frames = [rle8(frame(n)) for n in range(FRAMES)]
    biggest = max(len(f) for f in frames)
    avih = struct.pack("<10I4I", FRAME_US, 0, 0, 0x10, FRAMES, 0, 1, biggest, W, H, 0, 0, 0, 0)
    strh = b"vids" + b"mrle" + struct.pack("<IHHIIIIIIiI4h", 0, 0, 0, 0, FRAME_US, 1000000, 0,
                                              FRAMES, biggest, -1, 0, 0, 0, W, H)
    pal = bytearray()
    for i in range(256):
        r, g, b = PALETTE.get(i, (0, 0, 0))
        pal += bytes((b, g, r, 0))
    strf = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 8, 1, biggest, 2835, 2835, 256, 0) + bytes(pal)
    hdrl = lst(b"hdrl", chunk(b"avih", avih) + lst(b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))
    movi_body = b""
    index = b""
    for f in frames:
        offset = 4 + len(movi_body)  # from the "movi" fourcc
        movi_body += chunk(b"00dc", f)
        index += b"00dc" + struct.pack("<III", 0x10, offset, len(f))
    movi = lst(b"movi", movi_body)
    body = b"AVI " + hdrl + movi + chunk(b"idx1", index)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "Filemove.avi")
    data = build()
    with open(out + ".tmp", "wb") as fh:
        fh.write(data)
    os.replace(out + ".tmp", out)
    print(f"{out}: {len(data)} bytes, {FRAMES} frames of {W}x{H}")


if __name__ == "__main__":
    main()
