#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes a valid zip of a livery with one stored texture of SIZE zero bytes (default 5 GiB) and
its [fltsim.X] snippet, in a second and without the disk space: the texture's bytes are a hole in
a sparse file, and their CRC is combined from one 64 MiB block's by zlib. It measures how
install-livery treats an archive far larger than memory:

    scripts/huge-zip.py /tmp/huge.zip
    (ulimit -v 3000000; /usr/bin/time -v livrano-cli install-livery --program-folder ... \\
        --aircraft "Corvane C-310 Skylark" /tmp/huge.zip)

    huge-zip.py OUT.zip [SIZE]
"""

import ctypes
import ctypes.util
import struct
import sys
import zlib

BLOCK = 64 << 20


def crc_of_zeros(size):
    """The CRC-32 of `size` zero bytes, from whole blocks combined by doubling, then the rest."""
    libz = ctypes.CDLL(ctypes.util.find_library("z"))
    libz.crc32_combine64.restype = ctypes.c_ulong
    libz.crc32_combine64.argtypes = [ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int64]
    crc, block, length = 0, zlib.crc32(bytes(BLOCK)), BLOCK
    blocks = size // BLOCK
    while blocks:
        if blocks & 1:
            crc = libz.crc32_combine64(crc, block, length)
        block = libz.crc32_combine64(block, block, length)
        length *= 2
        blocks >>= 1
    return zlib.crc32(bytes(size % BLOCK), crc)


def local_header(name, crc, size):
    # Sizes in the zip64 extra field; the header's own say 0xFFFFFFFF.
    extra = struct.pack("<HHQQ", 1, 16, size, size)
    return struct.pack("<IHHHHHIIIHH", 0x04034B50, 45, 0x800, 0, 0, 0x21, crc, 0xFFFFFFFF, 0xFFFFFFFF,
                       len(name), len(extra)) + name + extra


def central_header(name, crc, size, offset):
    extra = struct.pack("<HHQQQ", 1, 24, size, size, offset)
    return struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 0x031E, 45, 0x800, 0, 0, 0x21, crc, 0xFFFFFFFF,
                       0xFFFFFFFF, len(name), len(extra), 0, 0, 0, 0o100644 << 16, 0xFFFFFFFF) + name + extra


def main():
    out = sys.argv[1]
    size = int(sys.argv[2]) if len(sys.argv) > 2 else 5 << 30
    snippet = b"[fltsim.X]\r\ntitle=Corvane C-310 Skylark Huge\r\ntexture=HUG\r\n"
    members = [(b"texture.HUG/C310_FUSE.bmp", crc_of_zeros(size), size, None),
               (b"fltsim.cfg", zlib.crc32(snippet), len(snippet), snippet)]
    central = b""
    with open(out, "wb") as f:
        for name, crc, length, data in members:
            offset = f.tell()
            f.write(local_header(name, crc, length))
            if data is None:
                f.seek(length, 1)  # a hole: zeros that take no disk
            else:
                f.write(data)
            central += central_header(name, crc, length, offset)
        start = f.tell()
        f.write(central)
        end = f.tell()
        count = len(members)
        f.write(struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 0x031E, 45, 0, 0, count, count, len(central), start))
        f.write(struct.pack("<IIQI", 0x07064B50, 0, end, 1))
        f.write(struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 0xFFFF, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0))


if __name__ == "__main__":
    main()
