#include "rtf/rtflists.h"

#include "rtf/rtfparser.h"
#include "rtf/rtftokenizer.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace tessary::rtf {

namespace {

constexpr int kMaxLevel = 8;    // \ilvl 0..8
constexpr int kHangTwips = 360; // as the writer hangs a marker

enum Source { Numbered = -1, OldBullets = -2 };

bool hasNumber(const QString &marker) {
    return std::any_of(marker.begin(), marker.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

QTextListFormat::Style bulletStyle(QStringView text) {
    for (QChar c : text) {
        if (c == u'o' || c == QChar(0x25CB) || c == QChar(0x25E6))
            return QTextListFormat::ListCircle;
        if (c == u'\u00A7' || c == QChar(0x25AA) || c == QChar(0x25A0))
            return QTextListFormat::ListSquare;
    }
    return QTextListFormat::ListDisc;
}

bool isBullet(QTextListFormat::Style style) {
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

// A level's text: its length, then characters with the level numbers as codes 0..8. Qt shows
// one number with a prefix and suffix, so the text around this level's own number is kept.
void readLevelText(const QString &text, int own, ListLevel &level) {
    if (text.isEmpty())
        return;
    const QString body = text.mid(1, text.at(0).unicode()).section(u';', 0, 0);
    if (isBullet(level.style)) {
        level.style = bulletStyle(body);
        return;
    }
    qsizetype at = -1;
    qsizetype first = -1;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i].unicode() > kMaxLevel)
            continue;
        if (first < 0)
            first = i;
        if (body[i].unicode() == own || at < 0)
            at = i;
    }
    if (at < 0)
        return;
    if (at == first)
        level.prefix = body.left(at);
    qsizetype end = at + 1;
    while (end < body.size() && body[end].unicode() > kMaxLevel)
        ++end;
    level.suffix = body.mid(at + 1, end - at - 1);
}

// Text of a group's bytes, \uN and \'hh included; `skip` counts \uc fallback still to drop.
void appendText(QString &text, const RtfToken &token, int &skip, int uc) {
    auto add = [&](QChar c) {
        if (skip > 0)
            --skip;
        else
            text.append(c);
    };
    if (token.type == RtfToken::Hex) {
        add(QChar(token.param));
    } else if (token.type == RtfToken::Text) {
        for (char c : token.run)
            add(QChar::fromLatin1(c));
    } else if (token.type == RtfToken::Word && token.name == "u") {
        text.append(QChar(char16_t(token.param < 0 ? token.param + 65536 : token.param)));
        skip = uc;
    }
}

} // namespace

QTextListFormat::Style styleOfNumberFormat(int nfc) {
    switch (nfc) {
    case 1:
        return QTextListFormat::ListUpperRoman;
    case 2:
        return QTextListFormat::ListLowerRoman;
    case 3:
        return QTextListFormat::ListUpperAlpha;
    case 4:
        return QTextListFormat::ListLowerAlpha;
    case 23:
        return QTextListFormat::ListDisc;
    case 255:
        return QTextListFormat::ListStyleUndefined; // no number at all
    default:
        return QTextListFormat::ListDecimal;
    }
}

int numberFormatOfStyle(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    case QTextListFormat::ListDecimal:
        return 0;
    default:
        return 23;
    }
}

void ListReader::readListTable(QByteArrayView raw) {
    RtfTokenizer tokens(raw);
    int depth = 0, listDepth = -1, levelDepth = -1, textDepth = -1, skipDepth = -1;
    int listId = 0, uc = 1, skip = 0;
    QList<ListLevel> levels;
    ListLevel level;
    QString text;
    for (RtfToken t = tokens.next(); t.type != RtfToken::End; t = tokens.next()) {
        if (t.type == RtfToken::GroupOpen) {
            ++depth;
            continue;
        }
        if (t.type == RtfToken::GroupClose) {
            if (depth == textDepth) {
                readLevelText(text, int(levels.size()), level);
                textDepth = -1;
            }
            if (depth == skipDepth)
                skipDepth = -1;
            if (depth == levelDepth && levels.size() <= kMaxLevel)
                levels.append(level);
            if (depth == levelDepth)
                levelDepth = -1;
            if (depth == listDepth) {
                m_lists.insert(listId, levels);
                listDepth = -1;
            }
            --depth;
            continue;
        }
        if (skipDepth >= 0)
            continue;
        if (textDepth >= 0 && t.type != RtfToken::Word) {
            appendText(text, t, skip, uc);
            continue;
        }
        if (t.type != RtfToken::Word)
            continue;
        if (t.name == "list") {
            listDepth = depth;
            levels.clear();
            listId = 0;
        } else if (t.name == "listid" && levelDepth < 0) {
            listId = t.param;
        } else if (t.name == "listlevel") {
            levelDepth = depth;
            level = ListLevel{};
        } else if (t.name == "levelnfc" || t.name == "levelnfcn") {
            level.style = styleOfNumberFormat(t.param);
            level.given = true;
        } else if (t.name == "levelstartat") {
            level.start = t.param;
        } else if (t.name == "leveltext") {
            textDepth = depth;
            text.clear();
            skip = 0;
        } else if (t.name == "levelnumbers" || t.name == "listname") {
            skipDepth = depth;
        } else if (t.name == "uc") {
            uc = qBound(0, t.param, 16);
        } else if (textDepth >= 0) {
            appendText(text, t, skip, uc);
        }
    }
}

void ListReader::readOverrideTable(QByteArrayView raw) {
    RtfTokenizer tokens(raw);
    int listId = 0;
    for (RtfToken t = tokens.next(); t.type != RtfToken::End; t = tokens.next()) {
        if (t.type != RtfToken::Word)
            continue;
        if (t.name == "listoverride")
            listId = 0;
        else if (t.name == "listid")
            listId = t.param;
        else if (t.name == "ls" && t.param > 0)
            m_overrides.insert(t.param, listId);
    }
}

ListReader::Numbering ListReader::numbering(QByteArrayView raw) {
    Numbering n;
    RtfTokenizer tokens(raw);
    int depth = 0, textDepth = -1, skip = 0;
    bool after = false;
    QString text;
    for (RtfToken t = tokens.next(); t.type != RtfToken::End; t = tokens.next()) {
        if (t.type == RtfToken::GroupOpen) {
            ++depth;
            continue;
        }
        if (t.type == RtfToken::GroupClose) {
            if (depth == textDepth) {
                (after ? n.level.suffix : n.level.prefix) = text.trimmed();
                textDepth = -1;
            }
            --depth;
            continue;
        }
        if (textDepth >= 0 && t.type != RtfToken::Word) {
            appendText(text, t, skip, 1);
            continue;
        }
        if (t.type != RtfToken::Word)
            continue;
        const QByteArrayView w = t.name;
        auto style = [&n](QTextListFormat::Style s) {
            n.level.style = s;
            n.level.given = true;
        };
        if (w == "pnlvlblt") {
            n.bullet = true;
        } else if (w == "pnlvl" || w == "pnseclvl") {
            n.depth = qBound(0, t.param - 1, kMaxLevel);
            n.sectionLevel = t.param;
        } else if (w == "pndec" || w == "pnord" || w == "pncard") {
            style(QTextListFormat::ListDecimal);
        } else if (w == "pnucltr") {
            style(QTextListFormat::ListUpperAlpha);
        } else if (w == "pnlcltr") {
            style(QTextListFormat::ListLowerAlpha);
        } else if (w == "pnucrm") {
            style(QTextListFormat::ListUpperRoman);
        } else if (w == "pnlcrm") {
            style(QTextListFormat::ListLowerRoman);
        } else if (w == "pnstart") {
            n.level.start = t.param;
        } else if (w == "pntxtb" || w == "pntxta") {
            textDepth = depth;
            after = w == "pntxta";
            text.clear();
        } else if (textDepth >= 0) {
            appendText(text, t, skip, 1);
        }
    }
    return n;
}

int ListReader::readNumbering(QByteArrayView raw) {
    m_numberings.append(numbering(raw));
    return int(m_numberings.size() - 1);
}

void ListReader::readSectionLevel(QByteArrayView raw) {
    const Numbering n = numbering(raw);
    m_sectionLevels.insert(n.sectionLevel, n.level);
}

bool ListReader::formatOf(const ParaList &para, QTextListFormat &format, int &source) const {
    ListLevel level;
    int depth = 0;
    if (para.ls > 0) {
        depth = qBound(0, para.level, kMaxLevel);
        const QList<ListLevel> levels = m_lists.value(m_overrides.value(para.ls, -1));
        if (depth < levels.size())
            level = levels[depth];
        else if (!hasNumber(m_marker)) // a list table this reader did not get: the marker tells
            level.style = bulletStyle(m_marker);
        source = para.ls;
        format.setProperty(kTableListProperty, true);
    } else if (para.pn >= 0 && para.pn < m_numberings.size()) {
        const Numbering &n = m_numberings[para.pn];
        if (n.bullet) {
            source = OldBullets;
            level.style = QTextListFormat::ListDisc;
        } else {
            source = Numbered;
            depth = n.depth;
            level = !n.level.given && m_sectionLevels.contains(n.sectionLevel)
                        ? m_sectionLevels.value(n.sectionLevel)
                        : n.level;
        }
    } else {
        return false;
    }
    if (level.style == QTextListFormat::ListStyleUndefined)
        return false;
    format.setStyle(level.style);
    format.setIndent(depth + 1); // room for the marker, one step per level
    if (!isBullet(level.style)) {
        if (level.start != 1)
            format.setProperty(kListStartProperty, level.start);
        format.setNumberPrefix(level.prefix);
        format.setNumberSuffix(level.suffix);
    }
    return true;
}

QTextList *ListReader::listFor(QTextCursor &cursor, int source, const QTextListFormat &format) {
    QList<QTextList *> &open = m_open[source];
    // Old numbering restarts after a paragraph outside it; a list table's numbers go on.
    if (source < 0 && (!m_lastWasList || m_lastSource != source))
        open.clear();
    const int depth = format.indent() - 1;
    open.resize(depth + 1); // deeper levels start again after this item
    QTextList *list = open[depth];
    if (list && list->format() == format) {
        list->add(cursor.block());
        return list;
    }
    list = cursor.createList(format);
    open[depth] = list;
    return list;
}

void ListReader::place(QTextCursor &cursor, const QTextBlockFormat &format, const ParaList &para) {
    QTextListFormat listFormat;
    int source = 0;
    bool inList = formatOf(para, listFormat, source);
    if (!inList && !m_marker.isEmpty()) {
        if (hasNumber(m_marker)) { // a number without a list to give it: kept as text
            QTextCursor start(cursor.block());
            start.insertText(m_marker + u'\t', cursor.block().charFormat());
        } else {
            inList = true;
            source = OldBullets;
            listFormat.setStyle(QTextListFormat::ListDisc);
            listFormat.setIndent(1);
        }
    }
    m_marker.clear();
    const QTextBlock block = cursor.block();
    if (QTextList *current = block.textList())
        current->remove(block);
    QTextBlockFormat shown = format;
    if (inList && source != OldBullets) {
        // The list's own room holds the marker that the indents hang left of the text.
        const double room = listFormat.indent() * cursor.document()->indentWidth();
        shown.setLeftMargin(qMax(0.0, format.leftMargin() - room));
        shown.setTextIndent(format.textIndent() + twipsToUnits(kHangTwips));
    }
    cursor.setBlockFormat(shown);
    if (inList)
        listFor(cursor, source, listFormat);
    m_lastWasList = inList;
    m_lastSource = source;
}

} // namespace tessary::rtf
