#!/usr/bin/python3
"""Writes a Windows icon file that holds the given PNG pictures as they are.

    makeicon.py OUT.ico PICTURE.png...

An icon file may carry PNG data for each of its sizes; Windows reads them since Vista.
"""

import struct
import sys


def size_of(png):
    """The width and height a PNG's header gives."""
    if png[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG picture")
    return struct.unpack(">II", png[16:24])


def main():
    pictures = []
    for path in sys.argv[2:]:
        with open(path, "rb") as file:
            pictures.append(file.read())
    offset = 6 + 16 * len(pictures)
    entries = b""
    for png in pictures:
        width, height = size_of(png)
        # A side of 256 is written as 0.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png),
                               offset)
        offset += len(png)
    with open(sys.argv[1], "wb") as file:
        file.write(struct.pack("<HHH", 0, 1, len(pictures)) + entries + b"".join(pictures))


if __name__ == "__main__":
    main()
