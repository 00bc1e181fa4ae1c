#!/usr/bin/env python3
"""Writes the small font programs that the font tests read and the font program fuzzer starts
from, into fuzz/fonts/corpus/program/:

- type1.pfa: a Type 1 program whose encoding vector holds Euro at 65, f_i at 66, uni00E9 at
  67 and g3 at 68;
- symbol-3-0.ttf: a TrueType program whose one character map, (3,0), sends 0xF041 to a
  glyph named Euro (post table format 2);
- mac-1-0.ttf: the same with a (1,0) map that sends 0x41 to it.

Every glyph is an empty shape 500 units wide. The output is the same on every run.
Usage: tools/make_test_fonts.py [--check]   (--check: exit 1 if the files are out of date)
"""
import os
import struct
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fuzz", "fonts", "corpus",
                   "program")


def encrypt(plain, key):
    """The eexec (key 55665) and charstring (key 4330) encryption of Type 1 programs."""
    cipher = bytearray()
    for byte in plain:
        c = byte ^ (key >> 8)
        key = ((c + key) * 52845 + 22719) & 0xFFFF
        cipher.append(c)
    return bytes(cipher)


def type1(glyphs):
    clear = (b"%!PS-AdobeFont-1.0: Test 001\n12 dict begin\n/FontName /Test def\n/FontType 1 def\n"
             b"/PaintType 0 def\n/FontMatrix [0.001 0 0 0.001 0 0] readonly def\n"
             b"/FontBBox {0 0 500 700} readonly def\n"
             b"/Encoding 256 array\n0 1 255 {1 index exch /.notdef put} for\n")
    # "0 500 hsbw endchar" behind the four bytes every charstring starts with.
    shape = encrypt(b"\0\0\0\0\x8B\xF8\x88\x0D\x0E", 4330)
    charstrings = b"/.notdef 9 RD " + shape + b" ND\n"
    for code, name in glyphs:
        clear += b"dup %d /%s put\n" % (code, name.encode())
        charstrings += b"/" + name.encode() + b" 9 RD " + shape + b" ND\n"
    clear += b"readonly def\ncurrentdict end\ncurrentfile eexec\n"
    private = (b"\0\0\0\0dup /Private 8 dict dup begin\n"
               b"/RD{string currentfile exch readstring pop}executeonly def\n"
               b"/ND{noaccess def}executeonly def\n/NP{noaccess put}executeonly def\n"
               b"/lenIV 4 def\n/password 5839 def\n/MinFeature{16 16}def\n/BlueValues [] def\n"
               b"end\n2 index /CharStrings %d dict dup begin\n" % (len(glyphs) + 1) + charstrings +
               b"end\nend\nreadonly put\nnoaccess put\ndup /FontName get exch definefont pop\n"
               b"mark currentfile closefile\n")
    return clear + encrypt(private, 55665) + b"\n" + b"0" * 512 + b"\ncleartomark\n"


def truetype(glyphs, microsoft_symbol):
    count = len(glyphs) + 1
    tables = {
        "head": struct.pack(">IIIIHH24xHHhhh", 0x10000, 0x10000, 0, 0x5F0F3CF5, 0, 1000, 0, 8, 2,
                            0, 0),
        "hhea": struct.pack(">IhhhH22xH", 0x10000, 800, -200, 0, 500, count),
        "maxp": struct.pack(">IH26x", 0x10000, count),
        "hmtx": struct.pack(">I", 500 << 16) * count,
        "loca": bytes(2 * (count + 1)),
        "glyf": b"",
    }
    # Format 4: one segment per code, and the closing one.
    codes = [code + (0xF000 if microsoft_symbol else 0) for code, _ in glyphs]
    ends = b"".join(struct.pack(">H", c) for c in codes) + b"\xFF\xFF"
    deltas = b"".join(struct.pack(">H", (glyph - c) & 0xFFFF) for glyph, c in
                      enumerate(codes, 1)) + struct.pack(">H", 1)
    segments = 2 * count
    tables["cmap"] = (struct.pack(">HHHHIHHHHHHH", 0, 1, 3 if microsoft_symbol else 1, 0, 12, 4,
                                  16 + 8 * count, 0, segments, 2, 0, 0) +
                      ends + b"\0\0" + ends + deltas + bytes(segments))
    tables["post"] = (struct.pack(">I28xHH", 0x20000, count, 0) +
                      b"".join(struct.pack(">H", 258 + i) for i in range(len(glyphs))) +
                      b"".join(bytes([len(name)]) + name.encode() for _, name in glyphs))
    font = struct.pack(">IHHHH", 0x10000, len(tables), 128, 3, 0)
    offset = 12 + 16 * len(tables)
    data = b""
    for tag in sorted(tables):
        table = tables[tag]
        font += tag.encode() + struct.pack(">III", 0, offset + len(data), len(table))
        data += table + bytes(-len(table) % 4)
    return font + data


FILES = {
    "type1.pfa": type1([(65, "Euro"), (66, "f_i"), (67, "uni00E9"), (68, "g3")]),
    "symbol-3-0.ttf": truetype([(65, "Euro")], True),
    "mac-1-0.ttf": truetype([(65, "Euro")], False),
}


def main():
    check = "--check" in sys.argv[1:]
    stale = []
    for name, content in FILES.items():
        path = os.path.join(OUT, name)
        if check:
            if not os.path.exists(path) or open(path, "rb").read() != content:
                stale.append(name)
        else:
            os.makedirs(OUT, exist_ok=True)
            with open(path, "wb") as f:
                f.write(content)
    if stale:
        print("out of date:", ", ".join(stale))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
