#pragma once

#include <QChar>
#include <QString>

namespace tessary {

// RTF \fcharset numbers used by the program.
namespace Charset {
constexpr int Ansi = 0;
constexpr int Symbol = 2;
constexpr int Greek = 161;
constexpr int Turkish = 162;
constexpr int Baltic = 186;
constexpr int Cyrillic = 204;
constexpr int CentralEuropean = 238;
} // namespace Charset

// An 8-bit code page: 256 codes to Unicode, and the way back. Unassigned codes map to 0.
class CodePage {
public:
    // The table for an RTF character set number; unknown sets fall back to Windows-1252.
    static const CodePage &forCharset(int charset);
    // Code pages by number: the Windows ones (1250..1254, 1257) and any other the system's
    // iconv knows (437, 850, ...). Only a number iconv does not know gives Windows-1252.
    static const CodePage &windows(int number);
    // The notation symbol faces' code page: mathematical symbols over Windows-1252.
    static const CodePage &notationSymbol();

    QChar toUnicode(unsigned char code) const { return QChar(m_toUnicode[code]); }
    // The 8-bit code of a character, or -1 when this code page cannot hold it.
    int fromUnicode(QChar c) const;
    QString decode(const QByteArray &bytes) const;

    int number() const { return m_number; }

private:
    explicit CodePage(int number)
        : m_number(number) {}
    // False when iconv does not know the code page; the table then holds ASCII alone.
    static bool fromIconv(int number, CodePage &page);
    static CodePage fromIconv(int number);

    char16_t m_toUnicode[256] = {};
    int m_number;
};

// The character set a face carries unless a document says otherwise.
int charsetForFace(const QString &face);

} // namespace tessary
