#!/usr/bin/env python3
"""Writes a project file (.vtc or .vncfg) with its markup text rewritten.

    rewrite_project.py SRC OUT EXPR

EXPR is a Python expression over `t`, the markup text (with `re` at hand),
whose value is the new text; the length prefix of the container is
recomputed for the new size."""
import re  # noqa: F401  (for the expressions)
import struct
import sys


def read_text(data):
    if data[0] < 0xFF:
        n, off = data[0], 1
    elif struct.unpack_from('<H', data, 1)[0] < 0xFFFF:
        n, off = struct.unpack_from('<H', data, 1)[0], 3
    else:
        n, off = struct.unpack_from('<I', data, 3)[0], 7
    return data[off:off + n].decode('gbk')


def container(text):
    b = text.encode('gbk')
    n = len(b)
    if n < 0xFF:
        head = bytes([n])
    elif n < 0xFFFE:
        head = b'\xff' + struct.pack('<H', n)
    else:
        head = b'\xff\xff\xff' + struct.pack('<I', n)
    return head + b


def main(src, out, expr):
    t = read_text(open(src, 'rb').read())
    t = eval(expr)
    open(out, 'wb').write(container(t))


if __name__ == '__main__':
    main(*sys.argv[1:4])
