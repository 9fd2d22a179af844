#include "rtf/rtftokenizer.h"

namespace tessary {

namespace {
bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

RtfToken RtfTokenizer::next() {
    while (m_pos < m_data.size()) {
        const char c = m_data[m_pos];
        if (c == '\r' || c == '\n') { // line ends are not text in RTF
            ++m_pos;
            continue;
        }
        if (c == '{' || c == '}') {
            ++m_pos;
            RtfToken token;
            token.type = c == '{' ? RtfToken::GroupOpen : RtfToken::GroupClose;
            return token;
        }
        if (c == '\\') {
            ++m_pos;
            return controlAfterBackslash();
        }
        return text();
    }
    return {};
}

RtfToken RtfTokenizer::controlAfterBackslash() {
    RtfToken token;
    if (m_pos >= m_data.size())
        return token; // a lone backslash at the end
    const char c = m_data[m_pos];
    if (isLetter(c))
        return controlWord();
    ++m_pos;
    if (c == '\'') {
        const int high = m_pos < m_data.size() ? hexValue(m_data[m_pos]) : -1;
        const int low = m_pos + 1 < m_data.size() ? hexValue(m_data[m_pos + 1]) : -1;
        if (high >= 0 && low >= 0) {
            m_pos += 2;
            token.type = RtfToken::Hex;
            token.param = high * 16 + low;
            return token;
        }
    }
    token.type = RtfToken::Symbol;
    token.symbol = c;
    return token;
}

RtfToken RtfTokenizer::controlWord() {
    RtfToken token;
    token.type = RtfToken::Word;
    const qsizetype start = m_pos;
    while (m_pos < m_data.size() && isLetter(m_data[m_pos]))
        ++m_pos;
    // Overlong names are kept short; no real control word comes near the limit.
    token.name = m_data.sliced(start, qMin<qsizetype>(m_pos - start, kMaxWordLength));

    bool negative = false;
    if (m_pos + 1 < m_data.size() && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < m_data.size() && isDigit(m_data[m_pos])) {
        token.hasParam = true;
        qint64 value = 0;
        while (m_pos < m_data.size() && isDigit(m_data[m_pos])) {
            value = qMin<qint64>(value * 10 + (m_data[m_pos] - '0'), kMaxParam);
            ++m_pos;
        }
        token.param = int(negative ? -value : value);
    }
    if (m_pos < m_data.size() && m_data[m_pos] == ' ')
        ++m_pos; // the delimiting space belongs to the control word

    if (token.name == "bin") {
        // Raw bytes follow; never trust the count beyond the end of the data.
        const qsizetype count = qBound(qsizetype(0), qsizetype(token.param), m_data.size() - m_pos);
        token.type = RtfToken::Binary;
        token.run = m_data.sliced(m_pos, count);
        m_pos += count;
    }
    return token;
}

RtfToken RtfTokenizer::text() {
    RtfToken token;
    token.type = RtfToken::Text;
    const qsizetype start = m_pos;
    while (m_pos < m_data.size()) {
        const char c = m_data[m_pos];
        if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n')
            break;
        ++m_pos;
    }
    token.run = m_data.sliced(start, m_pos - start);
    return token;
}

} // namespace tessary
