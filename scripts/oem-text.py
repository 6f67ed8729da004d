#!/usr/bin/env python3
"""Converts between an editable UTF-8 text with LF line ends and a Navision object text file
(OEM code page, CR LF line ends), so hand-written exports such as examples/sample-export.txt can be
edited as UTF-8.

    oem-text.py encode IN.utf8 OUT.txt [--codepage cp850]   UTF-8/LF  -> OEM/CR LF
    oem-text.py decode IN.txt OUT.utf8 [--codepage cp850]   OEM/CR LF -> UTF-8/LF
"""
import argparse
import sys


def encode(text: str, codepage: str) -> bytes:
    text = text.replace("\r\n", "\n")
    if "\r" in text:
        sys.exit("input holds a CR that is not part of a line end")
    return text.replace("\n", "\r\n").encode(codepage)


def decode(data: bytes, codepage: str) -> str:
    text = data.decode(codepage)
    bare = text.replace("\r\n", "").count("\n")
    if bare:
        print(f"warning: {bare} bare LF line end(s)", file=sys.stderr)
    return text.replace("\r\n", "\n")


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("direction", choices=["encode", "decode"])
    parser.add_argument("source")
    parser.add_argument("target")
    parser.add_argument("--codepage", default="cp850")
    args = parser.parse_args()
    if args.direction == "encode":
        with open(args.source, encoding="utf-8") as f:
            data = encode(f.read(), args.codepage)
        with open(args.target, "wb") as f:
            f.write(data)
    else:
        with open(args.source, "rb") as f:
            text = decode(f.read(), args.codepage)
        with open(args.target, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)


if __name__ == "__main__":
    main()
