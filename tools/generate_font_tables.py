#!/usr/bin/env python3
"""Writes the built-in font tables of src/fonts/generated from Debian's data files.

Sources (see tools/README.md for the packages):
  - the Adobe Glyph List 2.0 (September 2002): the text block of fontTools/agl.py
    headed "Table version: 2.0", cross-checked against pdfbox's glyphlist.txt;
  - the four base encodings as glyph names per code: reportlab's
    pdfbase/_fontdata_enc_{standard,winansi,macroman,macexpert}.py;
  - the widths of six core fonts: the AFM files inside the pdfbox jar.

Every table is checked against the values the program relies on; any mismatch stops
the generator with a message and writes nothing. Only the standard library is used:
the Python sources are read as text, the jar with zipfile.

Usage: tools/generate_font_tables.py [--check] [--out-dir DIR] [source options]
  --check   compare the committed files with what would be written; exit 1 if they differ.
"""

import argparse
import ast
import re
import sys
import zipfile
from pathlib import Path

REPO_ROOT = Path(__file__).resolve().parent.parent
DEFAULT_OUT_DIR = REPO_ROOT / "src" / "fonts" / "generated"
DEFAULT_AGL_PY = Path("/usr/lib/python3/dist-packages/fontTools/agl.py")
DEFAULT_REPORTLAB_DIR = Path("/usr/lib/python3/dist-packages/reportlab/pdfbase")
DEFAULT_PDFBOX_JAR = Path("/usr/share/java/pdfbox2.jar")

PDFBOX_GLYPHLIST = "org/apache/pdfbox/resources/glyphlist/glyphlist.txt"
PDFBOX_AFM_DIR = "org/apache/pdfbox/resources/afm/"

GLYPH_LIST_SIZE = 4281
METRICS_FONTS = [
    # (AFM file name, C++ table name)
    ("Helvetica", "HelveticaMetrics"),
    ("Helvetica-Bold", "HelveticaBoldMetrics"),
    ("Times-Roman", "TimesRomanMetrics"),
    ("Times-Bold", "TimesBoldMetrics"),
    ("Times-Italic", "TimesItalicMetrics"),
    ("Times-BoldItalic", "TimesBoldItalicMetrics"),
]
ENCODINGS = [
    # (reportlab module suffix, variable inside it, C++ table name)
    ("standard", "StandardEncoding", "StandardEncodingTable"),
    ("winansi", "WinAnsiEncoding", "WinAnsiEncodingTable"),
    ("macroman", "MacRomanEncoding", "MacRomanEncodingTable"),
    ("macexpert", "MacExpertEncoding", "MacExpertEncodingTable"),
]


class DataError(Exception):
    pass


def require(condition, message):
    if not condition:
        raise DataError(message)


# ---------------------------------------------------------------- glyph list


def parse_glyph_list_lines(text, source):
    """Returns [(name, [code points])] in file order from 'name;XXXX[ XXXX...]' lines."""
    pairs = []
    for line_number, line in enumerate(text.splitlines(), 1):
        if not line or line.startswith("#"):
            continue
        fields = line.split(";")
        require(len(fields) == 2, f"{source}:{line_number}: not 'name;values': {line!r}")
        name, values = fields
        require(re.fullmatch(r"[A-Za-z0-9]+", name) is not None,
                f"{source}:{line_number}: odd glyph name {name!r}")
        codes = values.split(" ")
        require(all(re.fullmatch(r"[0-9A-F]{4}", c) for c in codes),
                f"{source}:{line_number}: odd code points {values!r}")
        pairs.append((name, [int(c, 16) for c in codes]))
    return pairs


def read_glyph_list(agl_py, pdfbox_jar):
    source = agl_py.read_text(encoding="utf-8")
    # agl.py holds two texts; the glyph list is the one whose header says version 2.0.
    blocks = re.findall(r'= """\\\n(.*?)"""', source, re.S)
    versions = [b for b in blocks if re.search(r"^# Table version: 2\.0$", b, re.M)
                and re.search(r"^# Date:\s+September 20, 2002$", b, re.M)]
    require(len(versions) == 1, f"{agl_py}: expected one glyph list block of version 2.0")
    pairs = parse_glyph_list_lines(versions[0], str(agl_py))

    with zipfile.ZipFile(pdfbox_jar) as jar:
        pdfbox_text = jar.read(PDFBOX_GLYPHLIST).decode("ascii")
    pdfbox_pairs = parse_glyph_list_lines(pdfbox_text, PDFBOX_GLYPHLIST)
    require(pairs == pdfbox_pairs,
            f"the glyph lists of {agl_py} and {pdfbox_jar}:{PDFBOX_GLYPHLIST} differ")

    require(len(pairs) == GLYPH_LIST_SIZE,
            f"glyph list has {len(pairs)} pairs, expected {GLYPH_LIST_SIZE}")
    names = [name for name, _ in pairs]
    # The lookup is a binary search in plain byte order; names are ASCII, so Python's
    # string order is that order.
    require(names == sorted(names), "glyph list is not sorted by name in byte order")
    require(len(set(names)) == len(names), "glyph list repeats a name")
    return pairs


def glyph_values(pairs):
    """Name -> 16-bit value. A name given several code points keeps the last of them."""
    return {name: codes[-1] for name, codes in pairs}


# ----------------------------------------------------------------- encodings


def read_encoding(reportlab_dir, suffix, variable, glyphs):
    path = reportlab_dir / f"_fontdata_enc_{suffix}.py"
    tree = ast.parse(path.read_text(encoding="utf-8"), str(path))
    names = None
    for node in tree.body:
        if (isinstance(node, ast.Assign) and len(node.targets) == 1
                and isinstance(node.targets[0], ast.Name) and node.targets[0].id == variable):
            names = ast.literal_eval(node.value)
    require(names is not None, f"{path}: no assignment to {variable}")
    require(len(names) == 256, f"{path}: {variable} has {len(names)} codes, expected 256")
    values = []
    for code, name in enumerate(names):
        if name is None:
            values.append(0)
            continue
        require(name in glyphs, f"{path}: code 0x{code:02X} names {name!r}, not in the glyph list")
        values.append(glyphs[name])
    return list(names), values


def check_row(table, values, code, expected):
    require(values[code] == expected,
            f"{table} 0x{code:02X} holds U+{values[code]:04X}, expected U+{expected:04X}")


def check_encodings(encodings):
    for table, (_, values) in encodings.items():
        for code in range(0x20):
            check_row(table, values, code, 0)

    # WinAnsi: the code points Windows-1252 leaves undefined and 0x7F show a bullet, the
    # no-break space and soft hyphen read as space and hyphen; every other code is
    # Windows-1252.
    names, values = encodings["WinAnsiEncodingTable"]
    bullets = [0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D]
    for code in bullets:
        check_row("WinAnsiEncodingTable", values, code, 0x2022)
    check_row("WinAnsiEncodingTable", values, 0x80, 0x20AC)
    check_row("WinAnsiEncodingTable", values, 0xA0, 0x0020)
    check_row("WinAnsiEncodingTable", values, 0xAD, 0x002D)
    for code in range(0x20, 0x100):
        if code in bullets or code in (0xA0, 0xAD):
            continue
        check_row("WinAnsiEncodingTable", values, code, ord(bytes([code]).decode("cp1252")))

    # MacRoman: the Macintosh character set, less the glyphs the PDF encoding lacks.
    names, values = encodings["MacRomanEncodingTable"]
    lacking = [0x7F, 0xAD, 0xB0, 0xB2, 0xB3, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xBD, 0xC3,
               0xC5, 0xC6, 0xD7, 0xF0]
    for code in lacking:
        check_row("MacRomanEncodingTable", values, code, 0)
    check_row("MacRomanEncodingTable", values, 0xCA, 0x0020)
    check_row("MacRomanEncodingTable", values, 0xDB, 0x00A4)
    check_row("MacRomanEncodingTable", values, 0xC1, 0x00A1)
    check_row("MacRomanEncodingTable", values, 0xA3, 0x00A3)
    for code in range(0x20, 0x100):
        if code in lacking or code in (0xCA, 0xDB):
            continue
        check_row("MacRomanEncodingTable", values, code, ord(bytes([code]).decode("mac_roman")))

    # Standard: ASCII, except the curly quotes at 0x27 and 0x60.
    names, values = encodings["StandardEncodingTable"]
    check_row("StandardEncodingTable", values, 0x27, 0x2019)
    check_row("StandardEncodingTable", values, 0x60, 0x2018)
    check_row("StandardEncodingTable", values, 0xC8, 0x00A8)
    for code in range(0x20, 0x7F):
        if code not in (0x27, 0x60):
            check_row("StandardEncodingTable", values, code, code)

    # MacExpert: small capitals and old-style figures have only private-use values.
    names, values = encodings["MacExpertEncodingTable"]
    for code, expected in [(0x21, 0xF721), (0x30, 0xF730), (0xAF, 0xF6F0), (0xC2, 0xF6F9),
                           (0xE6, 0xF6F3)]:
        check_row("MacExpertEncodingTable", values, code, expected)
    for code, name in enumerate(names):
        if name and (name.endswith("small") or name.endswith("oldstyle")):
            require(0xF600 <= values[code] <= 0xF7FF,
                    f"MacExpertEncodingTable 0x{code:02X} {name} is not private-use")


# ------------------------------------------------------------------- metrics


def latin_character_set():
    """The 228 characters of the standard Latin character set, sorted."""
    chars = list(range(0x20, 0x7F)) + list(range(0xA1, 0xAD)) + list(range(0xAE, 0x100))
    chars += [0x0131, 0x0141, 0x0142, 0x0152, 0x0153, 0x0160, 0x0161, 0x0178, 0x017D,
              0x017E, 0x0192, 0x02C6, 0x02C7]
    chars += list(range(0x02D8, 0x02DE))
    chars += [0x2013, 0x2014, 0x2018, 0x2019, 0x201A, 0x201C, 0x201D, 0x201E, 0x2020,
              0x2021, 0x2022, 0x2026, 0x2030, 0x2039, 0x203A, 0x2044, 0x2122, 0x2212,
              0xFB01, 0xFB02]
    require(len(chars) == 228 and chars == sorted(set(chars)), "Latin character set is not 228")
    return chars


def read_afm_widths(jar, font):
    """Glyph name -> advance width from the CharMetrics section of an AFM file."""
    entry = f"{PDFBOX_AFM_DIR}{font}.afm"
    lines = jar.read(entry).decode("latin-1").splitlines()
    widths = {}
    expected_count = None
    in_metrics = False
    for line in lines:
        words = line.split()
        if not words:
            continue
        if words[0] == "FontName":
            require(words[1] == font, f"{entry}: FontName {words[1]}")
        elif words[0] == "StartCharMetrics":
            expected_count = int(words[1])
            in_metrics = True
        elif words[0] == "EndCharMetrics":
            in_metrics = False
        elif in_metrics:
            fields = dict(part.strip().split(" ", 1) for part in line.split(";") if part.strip())
            require("WX" in fields and "N" in fields, f"{entry}: odd metrics line {line!r}")
            name = fields["N"].strip()
            require(name not in widths, f"{entry}: {name} appears twice")
            widths[name] = int(fields["WX"])
    require(expected_count is not None and len(widths) == expected_count,
            f"{entry}: read {len(widths)} characters, StartCharMetrics says {expected_count}")
    return widths


def build_metrics(jar, font, glyphs, characters):
    """Sorted [(unicode, width, glyph name)] for exactly the given characters."""
    by_unicode = {}
    for name, width in read_afm_widths(jar, font).items():
        unicode = glyphs.get(name)
        if unicode is None or unicode not in characters:
            continue
        require(unicode not in by_unicode,
                f"{font}: {name} and {by_unicode.get(unicode, ('', '', '?'))[2]} "
                f"both give U+{unicode:04X}")
        by_unicode[unicode] = (unicode, width, name)
    absent = [f"U+{u:04X}" for u in characters if u not in by_unicode]
    require(not absent, f"{font}: no width for {', '.join(absent)}")
    return [by_unicode[u] for u in sorted(by_unicode)]


def check_metrics(metrics):
    examples = {
        # Helvetica 0xD8 is the O slash that Standard code 0xE9 stands for.
        "Helvetica": {0x20: 278, 0x41: 667, 0x61: 556, 0x57: 944, 0xD8: 778},
        "Helvetica-Bold": {0x41: 722, 0x6D: 889},
        "Times-Roman": {0x20: 250, 0x41: 722, 0x61: 444},
        "Times-Italic": {0x41: 611, 0x2014: 889},
        "Times-Bold": {0x57: 1000},
    }
    for font, expected in examples.items():
        widths = {u: w for u, w, _ in metrics[font]}
        for unicode, width in expected.items():
            require(widths[unicode] == width,
                    f"{font} U+{unicode:04X} is {widths[unicode]} wide, expected {width}")


# -------------------------------------------------------------------- output


def header(sources):
    lines = ["// Generated by tools/generate_font_tables.py from"]
    lines += [f"//   {s}" for s in sources]
    lines += ["// Do not edit.", "// clang-format off", ""]
    return "\n".join(lines) + "\n"


def write_glyph_list(pairs, agl_py, pdfbox_jar):
    out = header([f"{agl_py} (python3-fonttools, the \"Table version: 2.0\" block),",
                  f"checked against {pdfbox_jar}:{PDFBOX_GLYPHLIST} (libpdfbox2-java)."])
    out += '#include "fonts/GlyphList.h"\n\nnamespace tessary {\n\n'
    out += ("// The Adobe Glyph List 2.0 (September 2002), sorted by name in byte order. A name\n"
            "// that the list gives several code points holds the last of them.\n")
    out += "constinit const std::array<GlyphListEntry, GlyphListSize> GlyphList = {{\n"
    for name, codes in pairs:
        line = f'    {{"{name}", 0x{codes[-1]:04X}}},'
        if len(codes) > 1:
            line += "  // " + " ".join(f"{c:04X}" for c in codes)
        out += line + "\n"
    out += "}};\n\n}  // namespace tessary\n"
    return out


def write_encodings(encodings, reportlab_dir):
    sources = [f"{reportlab_dir}/_fontdata_enc_{suffix}.py (python3-reportlab),"
               for suffix, _, _ in ENCODINGS]
    out = header(sources + ["each glyph name mapped through the glyph list."])
    out += '#include "fonts/BaseEncoding.h"\n\nnamespace tessary {\n'
    for _, _, table in ENCODINGS:
        names, values = encodings[table]
        out += f"\nconstinit const std::array<std::uint16_t, 256> {table} = {{\n"
        for code, (name, value) in enumerate(zip(names, values)):
            out += f"    0x{value:04X},  // 0x{code:02X}" + (f" {name}" if name else "") + "\n"
        out += "};\n"
    out += "\n}  // namespace tessary\n"
    return out


def write_metrics(metrics, pdfbox_jar):
    out = header([f"{pdfbox_jar}:{PDFBOX_AFM_DIR}*.afm (libpdfbox2-java),",
                  "each glyph name mapped through the glyph list."])
    out += '#include "fonts/StandardFontTable.h"\n\nnamespace tessary {\n'
    for font, table in METRICS_FONTS:
        out += f"\n// {font}.afm: the widths of the standard Latin character set, by Unicode.\n"
        out += f"constinit const std::array<CharWidth, MetricsTableSize> {table} = {{{{\n"
        for unicode, width, name in metrics[font]:
            out += f"    {{0x{unicode:04X}, {width}}},  // {name}\n"
        out += "}};\n"
    out += "\n}  // namespace tessary\n"
    return out


def generate(args):
    pairs = read_glyph_list(args.agl_py, args.pdfbox_jar)
    glyphs = glyph_values(pairs)

    encodings = {}
    for suffix, variable, table in ENCODINGS:
        encodings[table] = read_encoding(args.reportlab_dir, suffix, variable, glyphs)
    check_encodings(encodings)

    characters = latin_character_set()
    with zipfile.ZipFile(args.pdfbox_jar) as jar:
        metrics = {font: build_metrics(jar, font, glyphs, set(characters))
                   for font, _ in METRICS_FONTS}
    check_metrics(metrics)

    return {
        "GlyphListData.cpp": write_glyph_list(pairs, args.agl_py, args.pdfbox_jar),
        "BaseEncodingData.cpp": write_encodings(encodings, args.reportlab_dir),
        "StandardFontMetricsData.cpp": write_metrics(metrics, args.pdfbox_jar),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--agl-py", type=Path, default=DEFAULT_AGL_PY)
    parser.add_argument("--reportlab-dir", type=Path, default=DEFAULT_REPORTLAB_DIR)
    parser.add_argument("--pdfbox-jar", type=Path, default=DEFAULT_PDFBOX_JAR)
    parser.add_argument("--out-dir", type=Path, default=DEFAULT_OUT_DIR)
    parser.add_argument("--check", action="store_true",
                        help="compare with the files in --out-dir instead of writing them")
    args = parser.parse_args()

    try:
        files = generate(args)
    except (DataError, OSError, KeyError, ValueError, SyntaxError) as error:
        print(f"generate_font_tables: {error}", file=sys.stderr)
        return 2

    if args.check:
        stale = [name for name, text in files.items()
                 if not (args.out_dir / name).is_file()
                 or (args.out_dir / name).read_text(encoding="utf-8") != text]
        for name in stale:
            print(f"generate_font_tables: {args.out_dir / name} is out of date", file=sys.stderr)
        return 1 if stale else 0

    args.out_dir.mkdir(parents=True, exist_ok=True)
    for name, text in files.items():
        (args.out_dir / name).write_text(text, encoding="utf-8")
        print(f"wrote {args.out_dir / name}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
