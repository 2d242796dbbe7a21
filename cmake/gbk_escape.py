#!/usr/bin/env python3
"""Rewrites a UTF-8 C++ source so that every non-ASCII character becomes octal
escapes of its GBK bytes. Only string and character literals may hold such
characters; octal escapes are used because a hex escape would swallow a hex
digit that follows it."""
import sys


def main() -> int:
    src, dst = sys.argv[1], sys.argv[2]
    text = open(src, encoding="utf-8").read()
    out = []
    for ch in text:
        if ord(ch) < 0x80:
            out.append(ch)
        else:
            out.extend("\\%03o" % b for b in ch.encode("gbk"))
    import os
    os.makedirs(os.path.dirname(dst), exist_ok=True)
    with open(dst, "w", encoding="ascii", newline="") as f:
        f.write("".join(out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
