#!/usr/bin/python3
"""Builds the nine notation faces (fonts/*.ttf) from Debian's DejaVu fonts.

Run by hand when the faces must change (needs Debian's python3-fontforge and
fonts-dejavu-core):

    /usr/bin/python3 fonts/generate.py

Every glyph of every face gets DejaVu Sans Mono's advance width, and all nine
faces share one ascent and descent, so that mixing them on a line keeps the
columns and the line height. The symbol faces' character list is read from
src/platform/codepage.cpp, where the program keeps its symbol code page.
"""

import math
import os
import re
import sys

# A fixed time stamp in the files, so that regenerating unchanged faces changes no file.
os.environ.setdefault("SOURCE_DATE_EPOCH", "1735689600")

import fontforge  # noqa: E402  (reads SOURCE_DATE_EPOCH)
import psMat  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
CODEPAGE_SOURCE = os.path.join(HERE, "..", "src", "platform", "codepage.cpp")
DEJAVU = "/usr/share/fonts/truetype/dejavu"
MONO = os.path.join(DEJAVU, "DejaVuSansMono.ttf")
SANS = os.path.join(DEJAVU, "DejaVuSans.ttf")
VERSION = "1.000"

ADVANCE = 1233  # DejaVu Sans Mono's fixed advance (em 2048)
MARGIN = 60  # side bearing kept when a wider glyph is squeezed into the cell

# Raised and lowered variants: size factor and baseline shift in font units.
# The raised shift puts the bottom of a raised digit well above the middle of a
# base-line "x" (x-height 1120); the lowered one drops an index about 2 px at 11 pt.
SCALE = 0.62
SHIFT = {"Even": 0, "High": 690, "Low": -300}

# Bracket and brace pieces reach this far past the line box at both joining ends,
# so rounding the line height to whole pixels never leaves a gap between lines.
OVERSHOOT = 160
STEM = (524, 710)  # the vertical stroke of every piece, centred in the cell
BRACKET_ARM = 576  # length of a square bracket's horizontal arm, from the stroke
BRACKET_BAR = 166  # thickness of that arm

# Pieces: code point -> (joins the line above, joins the line below).
PIECES = {
    0x23A1: (False, True), 0x23A3: (True, False),  # left square bracket top, bottom
    0x23A4: (False, True), 0x23A6: (True, False),  # right square bracket top, bottom
    0x23A7: (False, True), 0x23A8: (True, True), 0x23A9: (True, False),  # left brace
    0x23AB: (False, True), 0x23AC: (True, True), 0x23AD: (True, False),  # right brace
    0x23AA: (True, True),  # vertical extension shared by brackets and braces
}
SQUARE = {0x23A1: "left", 0x23A3: "left", 0x23A4: "right", 0x23A6: "right"}
HORIZONTAL_EXTENSION = 0x23AF
NOTATION_UNDERSCORE = 0xFF3F


def symbol_code_page_characters():
    """The characters of kSymbolCodes in codepage.cpp, as code points."""
    with open(CODEPAGE_SOURCE, encoding="utf-8") as source:
        text = source.read()
    table = re.search(r"kSymbolCodes\[\]\s*=\s*\{(.*?)\n\};", text, re.S)
    if not table:
        sys.exit("kSymbolCodes not found in " + CODEPAGE_SOURCE)
    pairs = re.findall(r"\{0x([0-9A-Fa-f]{2}),\s*u'\\u([0-9A-Fa-f]{4})'\}", table.group(1))
    if not pairs:
        sys.exit("no entries parsed from kSymbolCodes")
    return {int(u, 16) for _, u in pairs}


def code_page(name):
    """Every printable character of an 8-bit code page (0x20 and up)."""
    chars = set()
    for byte in range(0x20, 0x100):
        if byte == 0x7F:
            continue
        try:
            chars.add(ord(bytes([byte]).decode(name)))
        except UnicodeDecodeError:
            pass  # unassigned in this code page
    return chars


def mono_repertoire():
    """Every character DejaVu Sans Mono draws, from the space on."""
    font = fontforge.open(MONO)
    chars = {g.unicode for g in font.glyphs() if g.unicode >= 0x20 and g.isWorthOutputting()}
    font.close()
    return chars


def face_characters():
    """The characters of each family. Whatever the program puts in one face it may put in
    any: typing in notation mode sets any character in the Latin face, and raising or
    lowering keeps the family. So every family gets the whole repertoire: its own code page,
    the Greek letters, the notation symbols and everything DejaVu Sans Mono draws."""
    ascii_chars = set(range(0x20, 0x7F))
    greek_letters = {u for u in range(0x391, 0x3CA) if u != 0x3A2}
    every = (ascii_chars | set(range(0xA0, 0x100)) | code_page("cp1252") | greek_letters
             | code_page("cp1253") | symbol_code_page_characters() | mono_repertoire())
    return {"Courier New": every, "Courier New Greek": every, "TessarySymbol": every}


def rectangle(pen, x0, y0, x1, y1):
    pen.moveTo((x0, y0))
    pen.lineTo((x0, y1))
    pen.lineTo((x1, y1))
    pen.lineTo((x1, y0))
    pen.closePath()


def remove_layout_tables(font):
    for lookup in font.gsub_lookups + font.gpos_lookups:
        font.removeLookup(lookup)


def borrow(font, sans, code):
    """Copies a glyph DejaVu Sans Mono lacks from DejaVu Sans, squeezed into the cell."""
    source = sans[code]
    source.unlinkRef()
    glyph = font.createChar(code, source.glyphname)
    glyph.foreground = source.foreground
    x0, _, x1, _ = glyph.boundingBox()
    room = ADVANCE - 2 * MARGIN
    if x1 - x0 > room:
        # Narrow to fit, but keep more of the height than a plain shrink would.
        sx = room / (x1 - x0)
        glyph.transform(psMat.scale(sx, (1 + sx) / 2))
    x0, _, x1, _ = glyph.boundingBox()
    glyph.transform(psMat.translate((ADVANCE - (x1 - x0)) / 2 - x0, 0))
    glyph.width = ADVANCE


def construct(font, code):
    """The two characters neither DejaVu font has."""
    glyph = font.createChar(code)
    glyph.clear()
    pen = glyph.glyphPen()
    if code == HORIZONTAL_EXTENSION:
        # A line at the height of the minus sign, running through the whole cell so
        # that consecutive dashes and arrows join.
        _, y0, _, y1 = font[0x2212].boundingBox()
        rectangle(pen, 0, y0, ADVANCE, y1)
    else:
        # The notation underscore looks like an ordinary underscore.
        x0, y0, x1, y1 = font[ord("_")].boundingBox()
        rectangle(pen, x0, y0, x1, y1)
    pen = None
    glyph.width = ADVANCE


def square_bracket_piece(glyph, code, top, bottom):
    """A square bracket corner whose stroke lines up with the brace pieces and the bar."""
    glyph.clear()
    pen = glyph.glyphPen()
    x0, x1 = STEM
    rectangle(pen, x0, bottom, x1, top)
    is_top = code in (0x23A1, 0x23A4)
    arm_y0, arm_y1 = (top - BRACKET_BAR, top) if is_top else (bottom, bottom + BRACKET_BAR)
    if SQUARE[code] == "left":
        rectangle(pen, x1 - 1, arm_y0, x0 + BRACKET_ARM, arm_y1)
    else:
        rectangle(pen, x1 - BRACKET_ARM, arm_y0, x0 + 1, arm_y1)
    pen = None
    glyph.removeOverlap()
    glyph.width = ADVANCE


def fit_piece(font, code, ascent, descent):
    """Stretches a piece over the line box (and past it where it joins a neighbour)."""
    joins_above, joins_below = PIECES[code]
    top = ascent + (OVERSHOOT if joins_above else 0)
    bottom = -descent - (OVERSHOOT if joins_below else 0)
    glyph = font[code]
    if code in SQUARE:
        square_bracket_piece(glyph, code, top, bottom)
        return
    _, y0, _, y1 = glyph.boundingBox()
    stretch = psMat.compose(psMat.translate(0, -y0), psMat.scale(1, (top - bottom) / (y1 - y0)))
    glyph.transform(psMat.compose(stretch, psMat.translate(0, bottom)))
    glyph.width = ADVANCE


def base_font(sans, family, chars):
    """DejaVu Sans Mono cut down to `chars`, with the missing glyphs added."""
    font = fontforge.open(MONO)
    remove_layout_tables(font)
    for code in sorted(chars):
        if code in (HORIZONTAL_EXTENSION, NOTATION_UNDERSCORE):
            construct(font, code)
        elif code in font and font[code].isWorthOutputting():
            font[code].unlinkRef()
        elif code in sans and sans[code].isWorthOutputting():
            borrow(font, sans, code)
        else:
            sys.exit("%s: no glyph for U+%04X" % (family, code))
    keep = {font[code].glyphname for code in chars} | {".notdef"}
    for glyph in list(font.glyphs()):
        if glyph.glyphname not in keep:
            font.removeGlyph(glyph)
    for glyph in font.glyphs():
        glyph.ttinstrs = b""
        glyph.width = ADVANCE
    return font


def shift(glyph, variant):
    """Makes a glyph of the raised or lowered variant: smaller, centred in the cell, moved."""
    if variant != "Even":
        centre = ADVANCE * (1 - SCALE) / 2
        glyph.transform(psMat.compose(psMat.scale(SCALE), psMat.translate(centre, SHIFT[variant])))
    glyph.width = ADVANCE


def ink_extent(font, variant, line_top, line_bottom):
    """Highest and lowest ink of the glyphs, leaving out the joining pieces and the
    stacked accents that already stand out of the source font's own line box."""
    scale = 1 if variant == "Even" else SCALE
    top, bottom = line_top, -line_bottom
    for glyph in font.glyphs():
        if glyph.unicode in PIECES or glyph.glyphname == ".notdef":
            continue
        _, y0, _, y1 = glyph.boundingBox()
        if (y1 - SHIFT[variant]) / scale > line_top or (y0 - SHIFT[variant]) / scale < -line_bottom:
            continue
        top, bottom = max(top, y1), min(bottom, y0)
    return math.ceil(top), math.ceil(-bottom)


def set_metrics(font, ascent, descent):
    # Same ascent and descent in every table and no line gap, so every renderer
    # gives one line height for all nine faces.
    font.hhea_ascent_add = font.hhea_descent_add = False
    font.os2_typoascent_add = font.os2_typodescent_add = False
    font.os2_winascent_add = font.os2_windescent_add = False
    font.hhea_ascent, font.hhea_descent, font.hhea_linegap = ascent, -descent, 0
    font.os2_typoascent, font.os2_typodescent, font.os2_typolinegap = ascent, -descent, 0
    font.os2_winascent, font.os2_windescent = ascent, descent
    font.os2_use_typo_metrics = True


def set_names(font, licence, family):
    """Our face name throughout, with DejaVu's copyright notice and licence kept."""
    postscript = family.replace(" ", "")
    font.familyname = family
    font.fontname = postscript
    font.fullname = family
    font.weight = "Regular"
    font.version = VERSION
    font.sfnt_names = ()
    notice = "Derived from DejaVu Sans Mono and DejaVu Sans. " + licence["Copyright"]
    for key, value in (
        ("Copyright", notice),
        ("Family", family),
        ("SubFamily", "Regular"),
        ("UniqueID", family + " " + VERSION),
        ("Fullname", family),
        ("Version", "Version " + VERSION),
        ("PostScriptName", postscript),
        ("License", licence["License"]),
        ("License URL", licence["License URL"]),
    ):
        font.appendSFNTName("English (US)", key, value)


def build_face(sans, family, variant, chars):
    font = base_font(sans, family, chars)
    for glyph in font.glyphs():
        if glyph.unicode not in PIECES and glyph.glyphname != ".notdef":
            shift(glyph, variant)
    return font


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else HERE
    # fontforge hands back the already open font when a file is opened twice, so
    # each face is built, used and closed before the next one is opened.
    mono = fontforge.open(MONO)
    ascent, descent = mono.hhea_ascent, -mono.hhea_descent
    names = dict((key, value) for _, key, value in mono.sfnt_names)
    mono.close()
    sans = fontforge.open(SANS)
    faces = [(family + " " + variant, family, variant, chars)
             for family, chars in face_characters().items()
             for variant in ("Even", "High", "Low")]

    line_top, line_bottom = ascent, descent
    for name, family, variant, chars in faces:
        font = build_face(sans, family, variant, chars)
        top, bottom = ink_extent(font, variant, line_top, line_bottom)
        ascent, descent = max(ascent, top), max(descent, bottom)
        font.close()

    for name, family, variant, chars in faces:
        font = build_face(sans, family, variant, chars)
        # Pieces span the full line box; the raised and lowered faces take the
        # base-line shape and shrink and move it like any other glyph.
        for code in PIECES:
            if code in chars:
                fit_piece(font, code, ascent, descent)
                shift(font[code], variant)
        set_metrics(font, ascent, descent)
        set_names(font, names, name)
        path = os.path.join(out_dir, name.replace(" ", "") + ".ttf")
        font.generate(path, flags=("omit-instructions", "short-post", "no-hints"))
        glyphs = len(list(font.glyphs()))
        print("%-24s %6d bytes  %d glyphs" % (name, os.path.getsize(path), glyphs))
        font.close()
    print("ascent %d, descent %d (units per em 2048)" % (ascent, descent))


if __name__ == "__main__":
    main()
