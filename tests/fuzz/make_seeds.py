#!/usr/bin/env python3
"""Writes the byte-level seed inputs of the painters, dispatch, clipboard and
scan targets (the model's seeds come from lx_fuzz_make_seeds):
    python3 tests/fuzz/make_seeds.py tests/fuzz/seeds"""
import os
import struct
import sys
import zlib

SEEDS = sys.argv[1]


def write(target, name, data):
    os.makedirs(os.path.join(SEEDS, target), exist_ok=True)
    with open(os.path.join(SEEDS, target, name), "wb") as f:
        f.write(data)


def painter(family, size, matrix, pitch=10, factor=1, option=0, extent=(0, 0), text=0):
    """The painters target reads big-endian fields."""
    head = struct.pack(">BiHhhBBBBihhB", family, size, 4, pitch, 0, factor + 8, 2, 2, 0, option,
                       extent[0], extent[1], text)
    return head + bytes(matrix)


def checker(rows, row_bytes):
    return [(0x55 if (r % 2) else 0xAA) for r in range(rows) for _ in range(row_bytes)]


def painters():
    write("fuzz_painters", "qr21", painter(0, 21, checker(21, 3)))
    write("fuzz_painters", "datamatrix10", painter(1, 10 | 10 << 16, checker(10, 2)))
    write("fuzz_painters", "maxicode", painter(2, 0, checker(33, 4)))
    write("fuzz_painters", "pdf417", painter(3, 69 | 3 << 16, checker(3, 9), factor=3))
    bars = [0x81, 0x01, 0x82, 0x02, 0x81, 0x01, 0x81, 0x02, 0x82, 0x01, 0x81]
    write("fuzz_painters", "linear", painter(4, len(bars), bars, extent=(300, 100), text=1))


def text(s):
    return struct.pack("<B", len(s)) + s


def call(member, flags, *args):
    return struct.pack("<BBB", member, flags, len(args)) + b"".join(args)


def i16(v):
    return b"\x01" + struct.pack("<h", v)


def i32(v):
    return b"\x02" + struct.pack("<i", v)


def cp932(s):
    return b"\x05" + text(s)


HANDLE = b"\x09"
GET, PUT, METHOD = 2, 4, 1


def dispatch():
    write("fuzz_control_dispatch", "qr_outputs", b"".join([
        call(26, PUT, i16(0)), call(3, PUT, cp932(b"HELLO")), call(8, GET), call(46, GET),
        call(51, METHOD, i16(1)), call(50, METHOD, HANDLE, i32(0), i32(0)),
        call(49, METHOD, i32(0), cp932(b"x"), i16(3)), call(34, GET)]))
    write("fuzz_control_dispatch", "bad_values_throw", b"".join([
        call(2, PUT, i16(1)), call(17, PUT, i16(9)), call(26, PUT, i16(16)),
        call(3, PUT, cp932(b"PDF")), call(27, PUT, b"\x03" + struct.pack("<f", 2.2)), call(14, GET)]))
    write("fuzz_control_dispatch", "linear_text", b"".join([
        call(26, PUT, i16(10)), call(24, PUT, i16(1)), call(47, PUT, b"\x06" + text(b"\x00AB\xff")),
        call(0xF1, PUT, cp932(b"Arial")), call(0xF3, METHOD), call(46, GET)]))


def bmp_file():
    width, height = 2, 2
    rows = b"".join(b"\x00\x00\xff" + b"\xff\xff\xff" + b"\x00\x00" for _ in range(height))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 54) + info + rows


def png_file():
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\x00" + b"\xff\x00\x00\x00\xff\x00" for _ in range(2))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 2, 2, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def clipboard():
    write("fuzz_clipboard", "bmp", b"\x00" + bmp_file())
    write("fuzz_clipboard", "png", b"\x01" + png_file())
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "seeds", "fuzz_metafile", "symbol.emf"), "rb") as f:
        write("fuzz_clipboard", "emf", b"\x02" + f.read())
    with open(os.path.join(here, "seeds", "fuzz_metafile", "symbol.wmf"), "rb") as f:
        write("fuzz_clipboard", "wmf", b"\x03" + struct.pack("<iii", 8, 2540, 2540) + f.read())


def frame(kind, bytes_per_line, pixels, lines, depth_index, data, last=True):
    head = struct.pack("<BiihB", kind | (0 if last else 0x80), bytes_per_line, pixels, lines, depth_index)
    return head + struct.pack("<H", len(data)) + data + b"\xff\xff"


def sane():
    write("fuzz_sane_scan", "gray8", frame(0, 4, 4, 3, 1, bytes(range(0, 240, 20))))
    write("fuzz_sane_scan", "rgb8", frame(1, 6, 2, 2, 1, bytes(range(12))))
    write("fuzz_sane_scan", "lineart", frame(0, 2, 16, 2, 0, b"\xf0\x0f\x55\xaa"))
    write("fuzz_sane_scan", "gray16", frame(0, 4, 2, -1, 2, b"\x00\x10\x00\x80\xff\xff\x00\x00"))
    write("fuzz_sane_scan", "three_pass", frame(2, 2, 2, 2, 1, b"\x10\x20\x30\x40", last=False) +
          frame(3, 2, 2, 2, 1, b"\x50\x60\x70\x80", last=False) + frame(4, 2, 2, 2, 1, b"\x90\xa0\xb0\xc0"))


painters()
dispatch()
clipboard()
sane()
