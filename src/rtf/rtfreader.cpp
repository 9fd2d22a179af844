#include "rtf/rtfreader.h"

#include "rtf/codepage.h"
#include "rtf/rtfparser.h"

namespace tessary {

namespace rtf {

void Parser::run(QByteArrayView data) {
    m_data = data;
    m_kept.start = m_cursor.position();
    RtfTokenizer tokenizer(data);
    for (RtfToken token = tokenizer.next(); token.type != RtfToken::End && !m_done;
         token = tokenizer.next()) {
        if (token.type == RtfToken::GroupOpen) {
            openGroup(tokenizer.position() - 1);
            m_groupFresh = true;
            continue;
        }
        // Only a group's first control word, after an optional \*, can make it a destination.
        m_firstWord = m_groupFresh;
        m_groupFresh = m_groupFresh && token.type == RtfToken::Symbol && token.symbol == '*';
        if (token.type == RtfToken::GroupClose) {
            closeGroup(tokenizer.position());
            continue;
        }
        // The two bytes of a code come as consecutive \'hh, literal or escaped bytes.
        const bool escapedByte =
            token.type == RtfToken::Symbol &&
            (token.symbol == '\\' || token.symbol == '{' || token.symbol == '}');
        if (token.type != RtfToken::Text && token.type != RtfToken::Hex && !escapedByte)
            m_lead = -1;
        if (token.type == RtfToken::Text) {
            text(token.run);
            continue;
        }
        if (m_skip > 0) { // any other token is one fallback character
            --m_skip;
            continue;
        }
        switch (token.type) {
        case RtfToken::Word:
            word(token);
            break;
        case RtfToken::Symbol:
            symbol(token.symbol);
            break;
        case RtfToken::Hex:
            byte(codePage(), static_cast<unsigned char>(token.param));
            break;
        default: // \bin data is never text
            break;
        }
    }
    finish();
}

void Parser::openGroup(qsizetype start) {
    m_skip = 0;
    m_lead = -1;
    if (m_groups.isEmpty())
        m_groups.openFirst(Group{});
    else
        m_groups.open(start);
}

void Parser::keepGroup(KeepKind kind) {
    if (top().dest == Dest::Keep)
        return; // already inside a kept group, which keeps these bytes too
    // A destination word after text of the group's own would keep that text a second time.
    if (!m_firstWord)
        return;
    top().dest = Dest::Keep;
    top().keep = kind;
}

void Parser::keptGroup(KeepKind kind, QByteArrayView raw) {
    switch (kind) {
    case KeepKind::Unknown:
        insertKept(raw);
        break;
    case KeepKind::NonShapePicture:
        if (!joinShapePicture(raw))
            insertPicture(raw, false);
        break;
    case KeepKind::Picture:
    case KeepKind::ShapePicture:
    case KeepKind::Object:
        insertPicture(raw, kind == KeepKind::ShapePicture);
        break;
    case KeepKind::ListTable:
        m_lists.readListTable(raw);
        break;
    case KeepKind::ListOverrides:
        m_lists.readOverrideTable(raw);
        break;
    case KeepKind::Numbering:
        top().para.list.pn = m_lists.readNumbering(raw);
        break;
    case KeepKind::SectionNumbering:
        m_lists.readSectionLevel(raw);
        break;
    case KeepKind::None:
        break;
    default:
        keptPart(kind, raw);
        break;
    }
}

void Parser::closeGroup(qsizetype end) {
    m_skip = 0;
    m_lead = -1;
    if (m_groups.depth() <= 1) { // the closing brace of the whole document; later bytes are junk
        m_done = true;
        return;
    }
    const Group closed = m_groups.close();
    const Dest parentDest = m_groups.peek().dest; // top() may copy the parent out below
    if (closed.dest == Dest::Keep && parentDest != Dest::Keep)
        keptGroup(closed.keep, m_data.sliced(closed.start, end - closed.start));
    if (m_kept.fieldDepth > m_groups.depth())
        fieldClosed(end);
    if (closed.dest == Dest::FontTable)
        finishFont();
    if (closed.dest == Dest::ListText && parentDest != Dest::ListText)
        m_lists.setMarker(m_listText);
}

void Parser::word(const RtfToken &token) {
    const Keyword keyword = rtfKeyword(token.name);
    const bool starred = top().starred;
    top().starred = false;
    if (top().dest == Dest::Skip || top().dest == Dest::Keep)
        return;
    const int param = token.param;
    if (keptWord(keyword, token, starred))
        return;
    if (destinationWord(keyword, param))
        return;
    if (starred) { // a destination this reader does not interpret
        top().dest = Dest::Skip;
        return;
    }
    switch (keywordClass(keyword)) {
    case KeywordClass::Character:
        charWord(keyword, token);
        return;
    case KeywordClass::Paragraph:
        paraWord(keyword, param);
        return;
    case KeywordClass::Table:
        tableWord(keyword, param, token.hasParam);
        return;
    default:
        break;
    }
    switch (keyword) {
    case Keyword::Par:
    case Keyword::Sect:
        if (top().dest == Dest::Text)
            paragraphBreak();
        break;
    case Keyword::Cell:
    case Keyword::NestCell:
        if (top().dest == Dest::Text)
            endCell(keyword == Keyword::NestCell);
        break;
    case Keyword::Row:
    case Keyword::NestRow:
        if (top().dest == Dest::Text)
            endRow(keyword == Keyword::NestRow);
        break;
    case Keyword::Line:
        character(QChar::LineSeparator);
        break;
    case Keyword::Tab:
        character(u'\t');
        break;
    case Keyword::U:
        unicode(param);
        m_skip = top().fallback;
        break;
    case Keyword::Uc:
        top().fallback = qBound(0, param, kMaxFallback);
        break;
    case Keyword::Deff:
        m_defaultFont = param;
        break;
    case Keyword::AnsiCpg:
        m_ansiPage = &CodePage::windows(param);
        break;
    case Keyword::Red:
    case Keyword::Green:
    case Keyword::Blue:
        if (top().dest == Dest::ColorTable) {
            int &component = keyword == Keyword::Red     ? m_red
                             : keyword == Keyword::Green ? m_green
                                                         : m_blue;
            component = qBound(0, param, 255);
            m_colorGiven = true;
        }
        break;
    case Keyword::Mac:
    case Keyword::Pc:
    case Keyword::Pca:
        m_ansiPage = &CodePage::windows(keyword == Keyword::Mac  ? 10000
                                        : keyword == Keyword::Pc ? 437
                                                                 : 850);
        break;
    case Keyword::ChDate:
    case Keyword::ChTime:
    case Keyword::ChPgn:
        for (QChar c : placeholderText(keyword))
            character(c);
        break;
    default:
        if (const QChar special = keywordCharacter(keyword); !special.isNull())
            character(special);
        break;
    }
}

// Destinations and font-table words; true when the keyword was one of them.
bool Parser::destinationWord(Keyword keyword, int param) {
    if (pictureWord(keyword))
        return true;
    Group &group = top();
    switch (keyword) {
    case Keyword::FontTable:
        group.dest = Dest::FontTable;
        return true;
    case Keyword::ColorTable:
        group.dest = Dest::ColorTable;
        m_colorGiven = false;
        return true;
    case Keyword::ListText:
        group.dest = Dest::ListText;
        m_listText.clear();
        return true;
    case Keyword::Pn:
        keepGroup(KeepKind::Numbering);
        return true;
    case Keyword::PnSecLvl:
        keepGroup(KeepKind::SectionNumbering);
        return true;
    case Keyword::ListTable:
        keepGroup(KeepKind::ListTable);
        return true;
    case Keyword::ListOverrideTable:
        keepGroup(KeepKind::ListOverrides);
        return true;
    case Keyword::SkippedDestination:
        group.dest = Dest::Skip;
        return true;
    case Keyword::NestTableProps:
        group.nestedProps = true;
        return true;
    case Keyword::TessaryPitch:
        if (group.dest == Dest::FontTable)
            m_font.exactPitch = qBound(0, param, 255);
        group.dest = Dest::Skip;
        return true;
    default:
        break;
    }
    if (group.dest != Dest::FontTable)
        return false;
    switch (keyword) {
    case Keyword::F:
        startFont(param);
        return true;
    case Keyword::FCharset:
        m_font.charset = qBound(0, param, 255);
        return true;
    case Keyword::FPrq:
        m_font.pitch = qBound(0, param, 3);
        return true;
    case Keyword::Cpg:
        m_font.codePage = param;
        return true;
    default:
        if (const int family = fontFamily(keyword); family >= 0) {
            m_font.family = family;
            return true;
        }
        return false;
    }
}

void Parser::charWord(Keyword keyword, const RtfToken &token) {
    CharState &chr = top().chr;
    const bool on = !token.hasParam || token.param != 0;
    switch (keyword) {
    case Keyword::Plain:
        chr = CharState{};
        break;
    case Keyword::F:
        chr.font = token.param;
        break;
    case Keyword::Fs:
        chr.halfPoints = token.param > 0 ? qMin(token.param, kMaxHalfPoints) : 24;
        break;
    case Keyword::Cf:
        chr.color = qMax(0, token.param);
        break;
    case Keyword::B:
        chr.bold = on;
        break;
    case Keyword::I:
        chr.italic = on;
        break;
    case Keyword::Ul:
        chr.underline = on;
        break;
    case Keyword::UlNone:
        chr.underline = false;
        break;
    default:
        break;
    }
}

void Parser::paraWord(Keyword keyword, int param) {
    ParaState &para = top().para;
    const int twips = qBound(-kMaxTwips, param, kMaxTwips);
    switch (keyword) {
    case Keyword::Pard:
        para = ParaState{};
        break;
    case Keyword::Fi:
        para.first = twips;
        break;
    case Keyword::Li:
        para.left = twips;
        break;
    case Keyword::Ri:
        para.right = twips;
        break;
    case Keyword::Ql:
    case Keyword::Qj: // justified text reads as left aligned
        para.alignment = Alignment::Left;
        break;
    case Keyword::Qc:
        para.alignment = Alignment::Center;
        break;
    case Keyword::Qr:
        para.alignment = Alignment::Right;
        break;
    case Keyword::Tqr:
        para.nextTabType = QTextOption::RightTab;
        break;
    case Keyword::Tqc:
        para.nextTabType = QTextOption::CenterTab;
        break;
    case Keyword::Tqdec:
        para.nextTabType = QTextOption::DelimiterTab;
        break;
    case Keyword::Tb: // bar tabs are not kept
        para.nextTabType = QTextOption::LeftTab;
        break;
    case Keyword::Tx:
        if (para.tabs.size() < kMaxTabs) {
            const QChar delimiter = para.nextTabType == QTextOption::DelimiterTab ? u'.' : QChar();
            para.tabs.append(
                QTextOption::Tab(twipsToUnits(qMax(0, twips)), para.nextTabType, delimiter));
        }
        para.nextTabType = QTextOption::LeftTab;
        break;
    case Keyword::Ls:
        para.list.ls = qMax(0, param);
        break;
    case Keyword::Ilvl:
        para.list.level = param;
        break;
    case Keyword::InTable:
        para.inTable = true;
        break;
    case Keyword::Itap:
        para.itap = qBound(0, param, kMaxTableDepth);
        break;
    default:
        break;
    }
}

void Parser::symbol(char c) {
    switch (c) {
    case '\\':
    case '{':
    case '}':
        byte(codePage(), static_cast<unsigned char>(c));
        break;
    case '~':
        character(QChar::Nbsp);
        break;
    case '_':
        character(QChar(0x2011));
        break;
    case '*':
        top().starred = true;
        break;
    case '\r':
    case '\n':
        if (top().dest == Dest::Text)
            paragraphBreak();
        break;
    default: // \- optional hyphen, \| \: and anything unknown
        break;
    }
}

void Parser::text(QByteArrayView run) {
    const qsizetype skipped = qMin<qsizetype>(m_skip, run.size());
    m_skip -= int(skipped);
    if (top().dest == Dest::Skip || top().dest == Dest::Keep)
        return;
    const CodePage &page = codePage();
    for (qsizetype i = skipped; i < run.size(); ++i)
        byte(page, static_cast<unsigned char>(run[i]));
}

// A byte of text in the current font's code page; a lead byte waits for the next byte.
void Parser::byte(const CodePage &page, unsigned char code) {
    if (m_lead >= 0) {
        const QChar pair = page.toUnicode(static_cast<unsigned char>(m_lead), code);
        m_lead = -1;
        if (!pair.isNull()) {
            character(pair);
            return;
        }
        // Not a pair: the lead byte is dropped and this byte read on its own.
    }
    if (page.isLeadByte(code))
        m_lead = code;
    else
        character(page.toUnicode(code));
}

void Parser::unicode(int value) {
    if (value < 0 && value >= -32768)
        value += 65536; // \u takes a signed 16-bit number
    // A face named Symbol, given as Unicode, comes as its byte in the private-use area.
    if (value >= 0xF020 && value <= 0xF0FF && top().dest == Dest::Text) {
        if (const Font *font = fontOf(top().chr); font && isSymbolFace(*font)) {
            character(CodePage::symbolFace().toUnicode(static_cast<unsigned char>(value - 0xF000)));
            return;
        }
    }
    if (value >= 0x10000 && value <= 0x10FFFF) { // some writers give the code point whole
        character(QChar(QChar::highSurrogate(uint(value))));
        character(QChar(QChar::lowSurrogate(uint(value))));
    } else if (value > 0 && value < 0x10000) {
        character(QChar(char16_t(value)));
    }
}

void Parser::character(QChar c) {
    switch (top().dest) {
    case Dest::Text:
        textCharacter(c);
        break;
    case Dest::FontTable:
        if (c == u';')
            finishFont();
        else if (m_font.name.size() < kMaxNameLength && isRtfTextCharacter(c.unicode()))
            m_font.name.append(c);
        break;
    case Dest::ColorTable:
        if (c == u';') {
            m_colors.append(m_colorGiven ? (m_red << 16) | (m_green << 8) | m_blue : -1);
            m_red = m_green = m_blue = 0;
            m_colorGiven = false;
        }
        break;
    case Dest::ListText:
        // A marker kept as text must hold only what text may hold, as the writer drops the rest.
        if (m_listText.size() < kMaxNameLength && isRtfTextCharacter(c.unicode()))
            m_listText.append(c);
        break;
    default:
        break;
    }
}

} // namespace rtf

bool RtfReader::looksLikeRtf(const QByteArray &data) {
    qsizetype start = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < data.size() && QChar::isSpace(uchar(data[start])))
        ++start;
    return QByteArrayView(data).sliced(start).startsWith("{\\rtf");
}

bool RtfReader::read(const QByteArray &data, QTextCursor &cursor, Mode mode) {
    if (!looksLikeRtf(data) || cursor.isNull())
        return false;
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    rtf::Parser parser(cursor, mode);
    parser.run(QByteArrayView(data).sliced(data.indexOf('{')));
    cursor.endEditBlock();
    return true;
}

} // namespace tessary
