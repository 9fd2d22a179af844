#include "html/convertchar.h"

#include <QList>

namespace tessary {

namespace {
void appendReference(QByteArray &out, char32_t c) {
    out += "&#";
    out += QByteArray::number(uint(c));
    out += ';';
}

// Walks `text` by code points, so a character beyond the basic plane is one reference.
template <typename Escape> QByteArray escaped(const QString &text, Escape escape) {
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (c > 127)
            appendReference(out, c);
        else if (const char *entity = escape(c))
            out += entity;
        else
            out += char(c);
    }
    return out;
}

const char *markup(char32_t c) {
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    default:
        return nullptr;
    }
}

const char *attribute(char32_t c) {
    return c == '"' ? "&quot;" : markup(c);
}

const char *cssString(char32_t c) {
    switch (c) {
    case '\'':
        return "\\'";
    case '\\':
        return "\\\\";
    default:
        return attribute(c);
    }
}
} // namespace

QByteArray ConvertChar(char32_t c, int k, char32_t &previous, int tabWidth) {
    const char32_t before = previous;
    previous = c;
    QByteArray out;
    if (c == '\t') {
        out = "<SPAN style=\"margin-left: ";
        out += QByteArray::number(tabWidth + 2);
        out += "px\"></SPAN>";
    } else if (c > 127) {
        appendReference(out, c);
    } else if (c == ' ') {
        // The first space after other text may wrap; the rest of a run, and a space that
        // starts a line, must keep their width.
        out = before != ' ' && k > 1 ? " " : "&nbsp;";
    } else if (const char *entity = attribute(c)) {
        out = entity;
    } else {
        out += char(c);
    }
    return out;
}

QByteArray htmlText(const QString &text) {
    return escaped(text, markup);
}

QByteArray htmlAttribute(const QString &text) {
    return escaped(text, attribute);
}

QByteArray htmlFontName(const QString &face) {
    return escaped(face, cssString);
}

} // namespace tessary
