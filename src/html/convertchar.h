#pragma once

#include <QByteArray>
#include <QString>

namespace tessary {

// The HTML text of one character of a display line. `k` is its 1-based place in the line and
// `previous` the character converted before it, which this call updates. A character above
// 127 becomes a reference to its own code point, so the page stays ASCII and shows what the
// document shows, whatever the face. A tab becomes an empty span as wide as the tab on
// screen (`tabWidth` pixels) plus 2 pixels.
QByteArray ConvertChar(char32_t c, int k, char32_t &previous, int tabWidth = 0);

// Text escaped for where it stands in the page, with everything above 127 as &#N;.
QByteArray htmlText(const QString &text);      // element content
QByteArray htmlAttribute(const QString &text); // a double-quoted attribute value
// A font name inside the single-quoted font-family of a double-quoted style attribute.
QByteArray htmlFontName(const QString &face);

} // namespace tessary
