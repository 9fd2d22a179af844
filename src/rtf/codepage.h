#pragma once

#include <QChar>
#include <QString>
#include <array>
#include <map>

namespace tessary {

// RTF \fcharset numbers used by the program.
namespace Charset {
constexpr int Ansi = 0;
constexpr int Symbol = 2;
constexpr int MacRoman = 77;
constexpr int MacJapanese = 78;
constexpr int ShiftJis = 128;
constexpr int Hangul = 129;
constexpr int Gb2312 = 134;
constexpr int Big5 = 136;
constexpr int Greek = 161;
constexpr int Turkish = 162;
constexpr int Baltic = 186;
constexpr int Cyrillic = 204;
constexpr int CentralEuropean = 238;
} // namespace Charset

// An 8-bit code page: 256 codes to Unicode, and the way back. Unassigned codes map to 0.
// A double-byte page (932, 936, 949, 950) also has lead bytes, each starting a two-byte code.
class CodePage {
public:
    // The table for an RTF character set number; unknown sets fall back to Windows-1252.
    static const CodePage &forCharset(int charset);
    // Code pages by number: the Windows ones (1250..1254, 1257) and any other the system's
    // iconv knows (437, 850, ...) and the Mac ones (10000 Roman, 10001 Japanese, 10006 Greek,
    // 10007 Cyrillic, 10029 Central European). Only a number iconv does not know gives
    // Windows-1252.
    static const CodePage &windows(int number);
    // The notation symbol faces' code page: mathematical symbols over Windows-1252.
    static const CodePage &notationSymbol();
    // Text in a face named "Symbol": the characters that face's glyphs show.
    static const CodePage &symbolFace();

    QChar toUnicode(unsigned char code) const { return QChar(m_toUnicode[code]); }
    // The 8-bit code of a character, or -1 when this code page cannot hold it.
    int fromUnicode(QChar c) const;
    QString decode(const QByteArray &bytes) const;

    bool isLeadByte(unsigned char code) const { return m_lead[code]; }
    // The character of a lead byte and the byte after it; null when the pair is not a code.
    QChar toUnicode(unsigned char lead, unsigned char trail) const;

    int number() const { return m_number; }

private:
    explicit CodePage(int number)
        : m_number(number) {}
    // False when iconv does not know the code page; the table then holds ASCII alone.
    static bool fromIconv(int number, CodePage &page);
    static CodePage fromIconv(int number);

    char16_t m_toUnicode[256] = {};
    bool m_lead[256] = {};
    // Two-byte codes by lead byte, converted a lead byte at a time on first use.
    mutable std::map<unsigned char, std::array<char16_t, 256>> m_pairs;
    int m_number;
};

// The character set a face carries unless a document says otherwise.
int charsetForFace(const QString &face);

} // namespace tessary
