#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace tessary {

// One lexical element of an RTF stream.
struct RtfToken {
    enum Type { End, GroupOpen, GroupClose, Word, Symbol, Hex, Text, Binary };
    Type type = End;
    QByteArrayView name; // Word: the control word's letters
    bool hasParam = false;
    int param = 0;      // Word: the numeric parameter, clamped to +-kMaxParam
    char symbol = 0;    // Symbol: the character after the backslash
    QByteArrayView run; // Text: plain bytes without CR/LF; Binary: the \bin data
};

// Splits RTF into tokens without recursion or allocation. Every call consumes at least one
// byte until the end, so a caller looping to End always terminates.
class RtfTokenizer {
public:
    static constexpr int kMaxParam = 1'000'000'000;
    static constexpr int kMaxWordLength = 32;

    explicit RtfTokenizer(QByteArrayView data)
        : m_data(data) {}
    RtfToken next();
    qsizetype position() const { return m_pos; }

private:
    RtfToken controlAfterBackslash();
    RtfToken controlWord();
    RtfToken text();

    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

} // namespace tessary
