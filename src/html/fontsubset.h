#pragma once

#include <QByteArray>
#include <QList>

namespace tessary {

// The TrueType font `font` cut down to the glyphs of `codePoints` (code points the font
// lacks are left out) and the .notdef glyph, which keeps its outline. Glyph metrics, the
// outlines' positions and the font's ascent and descent stay as they are, so a raised or
// lowered face still stands where it does in the full font. Empty when `font` is no font.
QByteArray subsetFont(const QByteArray &font, const QList<char32_t> &codePoints);

} // namespace tessary
