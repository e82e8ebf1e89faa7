#!/usr/bin/env python3
"""Writes the golden data files of the radio tests (run once; the files are committed).

new_document.pgm  a new document for band entry "60134017" after Save (bookkeeping recomputed)
full_radio.pgm    a two-band radio with 100 channels, names, tones, settings, FM presets
odd_bytes.pgm     the full radio with odd bytes in every region and bit the tool does not interpret

Each image is built here independently of the program, so the tests cross-check the program's
defaults and bookkeeping against this description of the memory map.
"""
import os
import random

SIGNATURE = b"ZQ708 Radio Program data v1.06"
HERE = os.path.dirname(os.path.abspath(__file__))


def bcd(value):
    """Eight digits, least significant pair first."""
    digits = "%08d" % value
    return bytes(int(digits[i:i + 2], 16) for i in (6, 4, 2, 0))


def set_record(img, r, rx, offset, flags=0, rxtone=0, txtone=0, mode=0x08, step=0, tail=None):
    at = 16 * r
    img[at:at + 4] = bcd(rx)
    img[at + 4:at + 8] = bcd(offset)
    img[at + 8] = flags
    img[at + 9] = rxtone
    img[at + 10] = txtone
    img[at + 11] = mode
    img[at + 12] = step
    if tail is not None:
        img[at + 13:at + 16] = tail


def word_be(img, at, value):
    img[at] = value >> 8
    img[at + 1] = value & 0xFF


NAME_CODE = "0123456789- ABCDEFGHIJKLMNOPQRSTUVWXYZ_+*"


def set_name(img, n, text):
    codes = [NAME_CODE.index(c) for c in text] + [0xFF] * (5 - len(text))
    img[0x9FB + 5 * n:0x9FB + 5 * n + 5] = bytes(codes)


def prepare(img):
    img[0xD40:0xD46] = b"HZQ708"
    first = None
    for n in range(1, 129):
        byte, bit = 0xD30 + (n - 1) // 8, (n - 1) % 8
        if img[16 * n + 3] > 0x99:
            img[byte] |= 1 << bit
        else:
            img[byte] &= ~(1 << bit) & 0xFF
            if first is None:
                first = n
    img[0xD08] = img[0xD0D] = first or 0
    for k in range(16):
        if (img[0x9A0 + 2 * k] << 8 | img[0x9A1 + 2 * k]) <= 430:
            img[0xD07] = k
            break
    img[0xD09:0xD0B] = img[0xD0B:0xD0D]


def defaults(img, low):
    for r in (0, 1, 130):
        img[16 * r:16 * r + 8] = bcd(low) + bcd(0)
    for r in range(0, 129):
        for b in (8, 9, 10, 12):
            img[16 * r + b] = 0
        img[16 * r + 11] = 0x08
    for n in range(1, 129):
        set_name(img, n, "")
    for b in (8, 9, 10, 12):
        img[16 * 130 + b] = 0
    img[16 * 130 + 11] = 0x48
    img[11] = 0x48
    word_be(img, 0x9A0, 0)
    for k in range(1, 16):
        word_be(img, 0x9A0 + 2 * k, 431)
    word_be(img, 0xD0B, 0)
    img[0xD00:0xD07] = bytes([0x04, 0x78, 0x08, 0x01, 0x00, 0x00, 0x00])
    img[0xD20:0xD26] = b"\xff" * 6


def write(name, header, img):
    assert len(header) == 48 and len(img) == 4096
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(bytes(header) + bytes(img))


def new_document():
    img = bytearray(b"\xff" * 4096)
    img[0xF00:0xF04] = bytes([0x60, 0x13, 0x40, 0x17])
    defaults(img, 13600000)
    prepare(img)
    return SIGNATURE + bytes(18), img


def full_radio(rnd):
    img = bytearray(b"\xff" * 4096)
    img[0xF00:0xF08] = bytes([0x60, 0x13, 0x40, 0x17, 0x00, 0x40, 0x00, 0x52])
    names = ["RPT", "CALL", "PMR1", "MARIN", "AIR-1", "SAR", "WX 1", "NET_A", "DX+", "CH*9"]
    for n in range(1, 101):
        if n % 17 == 0:
            continue  # a few gaps, as a real radio has
        if rnd.random() < 0.5:
            rx = 14400000 + 1250 * rnd.randrange(0, 1600)  # 144-146 MHz on 12.5 kHz
            offset = rnd.choice([0, 60000])
        else:
            rx = 43000000 + 625 * rnd.randrange(0, 16000)  # 430-440 MHz on 6.25 kHz
            offset = rnd.choice([0, 500000, 760000])
        direction = 0 if offset == 0 else rnd.choice([1, 2])
        rxtone = rnd.choice([0, 0, rnd.randrange(1, 51), rnd.randrange(51, 155)])
        txtone = rnd.choice([0, rxtone, rnd.randrange(1, 155)])
        flags = (rnd.randrange(2) << 3) | ((rxtone > 50 and rnd.randrange(2)) << 4) | \
                ((txtone > 50 and rnd.randrange(2)) << 5)
        mode = direction | rnd.randrange(0, 64) << 2
        set_record(img, n, rx, offset, flags, rxtone, txtone, mode, 0)
        set_name(img, n, rnd.choice(names) if rnd.random() < 0.7 else "")
    for n in range(101, 129):
        set_name(img, n, "")
    # One channel without transmit: offset equal to the receive frequency, shift minus.
    set_record(img, 3, 14652500, 14652500, 0, 0, 0, 0x49, 0)
    set_record(img, 0, 14550000, 60000, 0, 12, 12, 0x4A, 2)
    set_record(img, 130, 43950000, 760000, 0x10, 100, 100, 0x49, 3)
    for k, value in enumerate([0, 35, 100, 210, 300, 430] + [431] * 10):
        word_be(img, 0x9A0 + 2 * k, value)
    word_be(img, 0xD0B, 210)
    img[0xD00:0xD07] = bytes([0x03, 0x69, 0x2D, 0x04, 0x62, 0x01, 0x05])
    img[0xD20:0xD26] = bytes([0x01, 0x02, 0x0A, 0x0D, 0xFF, 0xFF])
    img[0xFF0:0xFFD] = bytes(rnd.randrange(60, 200) for _ in range(12)) + b"\x03"
    prepare(img)
    return SIGNATURE + bytes(18), img


UNINTERPRETED = [(0x810, 0x820), (0x830, 0x9A0), (0x9C0, 0xA00), (0xC80, 0xD00), (0xD0E, 0xD20),
                 (0xD26, 0xD30), (0xD46, 0xF00), (0xF08, 0xFF0), (0xFFD, 0x1000)]


def odd_bytes(rnd, header, img):
    img = bytearray(img)
    for start, end in UNINTERPRETED:
        img[start:end] = bytes(rnd.randrange(256) for _ in range(end - start))
    for r in list(range(0, 129)) + [130]:
        img[16 * r + 8] |= 0b11000111 & rnd.randrange(256)
        img[16 * r + 13:16 * r + 16] = bytes(rnd.randrange(256) for _ in range(3))
    img[0xD04] |= 0x04
    header = SIGNATURE + bytes(rnd.randrange(256) for _ in range(18))
    return header, img


def main():
    rnd = random.Random(708)
    write("new_document.pgm", *new_document())
    header, img = full_radio(rnd)
    write("full_radio.pgm", header, img)
    write("odd_bytes.pgm", *odd_bytes(rnd, header, img))


if __name__ == "__main__":
    main()
