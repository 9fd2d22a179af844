#include "rtf/rtfkept.h"

#include "rtf/rtfreader.h"
#include "rtf/rtftokenizer.h"

#include <QSet>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

namespace tessary::Kept {

namespace {

bool isFontWord(QByteArrayView name) {
    return name == "f" || name == "af";
}

bool isColorWord(QByteArrayView name) {
    static const QSet<QByteArray> words = {"cf",      "cb",      "highlight", "chcbpat", "chcfpat",
                                           "cbpat",   "cfpat",   "ulc",       "brdrcf",  "clcbpat",
                                           "clcfpat", "trcbpat", "trcfpat",   "shdcf",   "chshdcf"};
    return words.contains(QByteArray::fromRawData(name.data(), name.size()));
}

// The top-level groups of kept bytes with the destination word that opens each.
QList<std::pair<QByteArray, QByteArrayView>> groupsOf(QByteArrayView raw) {
    QList<std::pair<QByteArray, QByteArrayView>> groups;
    RtfTokenizer tokenizer(raw);
    int depth = 0;
    qsizetype start = 0;
    QByteArray name;
    for (RtfToken token = tokenizer.next(); token.type != RtfToken::End; token = tokenizer.next()) {
        if (token.type == RtfToken::GroupOpen) {
            if (depth++ == 0) {
                start = tokenizer.position() - 1;
                name.clear();
            }
        } else if (token.type == RtfToken::GroupClose && depth > 0) {
            if (--depth == 0)
                groups.append({name, raw.sliced(start, tokenizer.position() - start)});
        } else if (token.type == RtfToken::Word && depth == 1 && name.isEmpty()) {
            name = token.name.toByteArray();
        }
    }
    return groups;
}

QSet<QByteArray> wordsOf(QByteArrayView raw) {
    QSet<QByteArray> words;
    RtfTokenizer tokenizer(raw);
    for (RtfToken token = tokenizer.next(); token.type != RtfToken::End; token = tokenizer.next())
        if (token.type == RtfToken::Word)
            words.insert(token.name.toByteArray());
    return words;
}

void appendEscaped(QByteArray &out, const QString &text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\t') {
            out += "\\tab ";
        } else if (u >= 0x20 && u < 0x7F) {
            if (u == '\\' || u == '{' || u == '}')
                out += '\\';
            out += char(u);
        } else {
            out += "\\u" + QByteArray::number(u > 0x7FFF ? int(u) - 0x10000 : int(u)) + '?';
        }
    }
}

} // namespace

QList<KeptFont> fonts(const QTextFrameFormat &root) {
    QList<KeptFont> list;
    for (const QVariant &entry : root.property(TextProperty::KeptFonts).toList()) {
        const QVariantList f = entry.toList();
        if (f.size() == 4)
            list.append({f[0].toInt(), f[1].toString(), f[2].toInt(), f[3].toInt()});
    }
    return list;
}

QList<int> colors(const QTextFrameFormat &root) {
    QList<int> list;
    for (const QVariant &entry : root.property(TextProperty::KeptColors).toList())
        list.append(entry.toInt());
    return list;
}

QByteArray remap(QByteArrayView raw, const KeptMaps &maps) {
    if (maps.fonts.isEmpty() && maps.colors.isEmpty())
        return raw.toByteArray();
    QByteArray out;
    out.reserve(raw.size() + 16);
    RtfTokenizer tokenizer(raw);
    qsizetype from = 0;
    for (RtfToken token = tokenizer.next(); token.type != RtfToken::End; token = tokenizer.next()) {
        const qsizetype to = tokenizer.position();
        const QByteArrayView span = raw.sliced(from, to - from);
        from = to;
        const QHash<int, int> *map = nullptr;
        if (token.type == RtfToken::Word && token.hasParam)
            map = isFontWord(token.name)    ? &maps.fonts
                  : isColorWord(token.name) ? &maps.colors
                                            : nullptr;
        if (!map || !map->contains(token.param)) {
            out += span;
            continue;
        }
        // "\name", the number, then whatever ended the word (a space) as it came.
        qsizetype end = 1 + token.name.size();
        if (end < span.size() && span[end] == '-')
            ++end;
        while (end < span.size() && span[end] >= '0' && span[end] <= '9')
            ++end;
        out += span.first(1 + token.name.size());
        out += QByteArray::number(map->value(token.param));
        out += span.sliced(end);
    }
    out += raw.sliced(from);
    return out;
}

QByteArray documentParts(const QTextFrameFormat &root, const KeptMaps &maps) {
    QByteArray out = remap(root.property(TextProperty::KeptProlog).toByteArray(), maps);
    const QByteArray section = root.property(TextProperty::KeptSection).toByteArray();
    if (!section.isEmpty())
        out += section + '\n';
    out += remap(root.property(TextProperty::KeptHeaders).toByteArray(), maps);
    return out;
}

QByteArray hiddenGroup(const QString &text) {
    QByteArray out = "{\\v ";
    appendEscaped(out, text);
    out += '}';
    return out;
}

bool hasHeaders(const QTextFrameFormat &root) {
    return !root.property(TextProperty::KeptHeaders).toByteArray().isEmpty();
}

QByteArray headerFor(const QTextFrameFormat &root, bool footer, int page) {
    const QByteArray headers = root.property(TextProperty::KeptHeaders).toByteArray();
    if (headers.isEmpty())
        return {};
    const QSet<QByteArray> section =
        wordsOf(root.property(TextProperty::KeptSection).toByteArray());
    QHash<QByteArray, QByteArray> byName;
    for (const auto &[name, group] : groupsOf(headers))
        byName.insert(name, group.toByteArray());
    const QByteArray base = footer ? "footer" : "header";
    if (page == 1 && section.contains("titlepg"))
        return byName.value(base + 'f'); // a first page without one has none
    if (section.contains("facingp") && page % 2 == 0 && byName.contains(base + 'l'))
        return byName.value(base + 'l');
    if (byName.contains(base))
        return byName.value(base);
    return byName.value(base + 'r');
}

std::unique_ptr<QTextDocument> partDocument(const QTextFrameFormat &root, QByteArrayView group) {
    auto doc = std::make_unique<QTextDocument>();
    // The group's body: past its opening brace, \* and destination word.
    RtfTokenizer tokenizer(group);
    qsizetype bodyStart = 0;
    for (RtfToken token = tokenizer.next(); token.type != RtfToken::End; token = tokenizer.next()) {
        bodyStart = tokenizer.position();
        if (token.type == RtfToken::Word)
            break;
    }
    if (group.size() < 2 || bodyStart >= group.size())
        return doc;
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl";
    for (const KeptFont &font : fonts(root)) {
        rtf += "{\\f" + QByteArray::number(font.number) + "\\fcharset" +
               QByteArray::number(font.charset) + ' ';
        appendEscaped(rtf, font.face);
        rtf += ";}";
    }
    rtf += "}{\\colortbl";
    for (int rgb : colors(root)) {
        if (rgb >= 0)
            rtf += "\\red" + QByteArray::number((rgb >> 16) & 0xFF) + "\\green" +
                   QByteArray::number((rgb >> 8) & 0xFF) + "\\blue" +
                   QByteArray::number(rgb & 0xFF);
        rtf += ';';
    }
    rtf += "}\n";
    rtf += group.sliced(bodyStart, group.size() - 1 - bodyStart);
    rtf += '}';
    QTextCursor cursor(doc.get());
    RtfReader::read(rtf, cursor);
    return doc;
}

QString fieldType(const QByteArray &instruction) {
    QString text;
    RtfTokenizer tokenizer(instruction);
    for (RtfToken token = tokenizer.next(); token.type != RtfToken::End; token = tokenizer.next()) {
        if (token.type == RtfToken::Text)
            text += QString::fromLatin1(token.run);
    }
    return text.trimmed().section(u' ', 0, 0).toUpper();
}

bool isNote(QByteArrayView raw) {
    RtfTokenizer tokenizer(raw);
    for (RtfToken token = tokenizer.next(); token.type != RtfToken::End; token = tokenizer.next()) {
        if (token.type == RtfToken::Word)
            return token.name == "footnote";
        if (token.type == RtfToken::Text)
            return false;
    }
    return false;
}

QStringList losses(const QTextDocument *doc) {
    if (!doc)
        return {};
    return doc->rootFrame()->frameFormat().property(TextProperty::KeptLosses).toStringList();
}

PageSettings pageSettings(const QTextFrameFormat &root) {
    PageSettings page;
    const QByteArray section = root.property(TextProperty::KeptSection).toByteArray();
    RtfTokenizer tokenizer(section);
    for (RtfToken token = tokenizer.next(); token.type != RtfToken::End; token = tokenizer.next()) {
        if (token.type != RtfToken::Word)
            continue;
        const int v = qBound(0, token.param, 31680 * 2);
        const QByteArrayView n = token.name;
        if (n == "paperw" || n == "pgwsxn")
            page.width = v;
        else if (n == "paperh" || n == "pghsxn")
            page.height = v;
        else if (n == "margl" || n == "marglsxn")
            page.left = v;
        else if (n == "margr" || n == "margrsxn")
            page.right = v;
        else if (n == "margt" || n == "margtsxn")
            page.top = v;
        else if (n == "margb" || n == "margbsxn")
            page.bottom = v;
        else if (n == "landscape" || n == "lndscpsxn")
            page.landscape = true;
    }
    return page;
}

} // namespace tessary::Kept
