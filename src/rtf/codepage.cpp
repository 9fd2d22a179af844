#include "rtf/codepage.h"

#include <QHash>
#include <QMutex>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <iterator>
#include <map>
#include <memory>

namespace tessary {

namespace {

struct SymbolCode {
    unsigned char code;
    char16_t unicode;
};

// Every code the palettes, Ctrl+0..3 and the notation "_" insert, with the character it stands
// for. Codes not listed read as Windows-1252.
constexpr SymbolCode kSymbolCodes[] = {
    // Ctrl+0 .. Ctrl+3: the four symbol digits
    {0xB0, u'\u2070'},
    {0xB1, u'\u00B9'},
    {0xB2, u'\u00B2'},
    {0xB3, u'\u00B3'},
    // relations and operators
    {0xC9, u'\u2245'},
    {0xC7, u'\u2261'},
    {0xC8, u'\u2248'},
    {0xC6, u'\u2260'},
    {0xB9, u'\u2264'},
    {0xC1, u'\u2265'},
    {0xC0, u'\u00B1'},
    {0xC2, u'\u00D7'},
    {0xC5, u'\u00F7'},
    {0xCF, u'\u2297'},
    {0xD0, u'\u2295'},
    {0xBA, u'\u221E'},
    {0xC3, u'\u221D'},
    {0xC4, u'\u2202'},
    {0xB6, u'\u220B'},
    {0xB8, u'\u2234'},
    {0xBF, u'\u00B0'},
    {0xB4, u'\u2200'},
    {0xB5, u'\u2203'},
    {0xD1, u'\u2205'},
    {0xD2, u'\u2229'},
    {0xD3, u'\u222A'},
    {0xD4, u'\u2283'},
    {0xD5, u'\u2287'},
    {0xD6, u'\u2284'},
    {0xD7, u'\u2282'},
    {0xD8, u'\u2286'},
    {0xD9, u'\u2208'},
    {0xDA, u'\u2209'},
    // letter-like symbols, arrows, logic
    {0xCB, u'\u2135'},
    {0xCC, u'\u2111'},
    {0xCD, u'\u211C'},
    {0xCE, u'\u2118'},
    {0xDB, u'\u2220'},
    {0xDC, u'\u2207'},
    {0xDF, u'\u221A'},
    {0xE0, u'\u22C5'},
    {0xE1, u'\u00AC'},
    {0xE2, u'\u2227'},
    {0xE3, u'\u2228'},
    {0xBC, u'\u2190'},
    {0xBB, u'\u2191'},
    {0xBE, u'\u2192'},
    {0xBD, u'\u2193'},
    // large operators: the code a button shows, then the code it inserts
    {0xDD, u'\u03A0'},
    {0xDE, u'\u220F'},
    {0xE4, u'\u03A3'},
    {0xE5, u'\u2211'},
    {0xE6, u'\u0283'},
    {0xE7, u'\u222B'},
    // line drawing and the pieces of tall brackets and braces
    {0xCA, u'\u23AF'},
    {0xF2, u'\u23AA'},
    {0xE8, u'\u23A1'},
    {0xE9, u'\u23A3'},
    {0xED, u'\u23A4'},
    {0xEE, u'\u23A6'},
    {0xEA, u'\u23A7'},
    {0xEB, u'\u23A8'},
    {0xEC, u'\u23A9'},
    {0xEF, u'\u23AB'},
    {0xF0, u'\u23AC'},
    {0xF1, u'\u23AD'},
    // the notation underscore
    {0xF3, u'\uFF3F'},
};

// The Symbol face's encoding. Where the published table gives a private-use code, the
// character Unicode has since added is used (the bracket, brace and integral pieces, the
// arrow extenders), and the serif and sans forms of the registered, copyright and trade mark
// signs read as those signs, so that the text shows without that face. The radical extender
// has no character of its own.
constexpr char16_t kSymbolFace[256] = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, // 00
    0x0008, 0x0009, 0x000A, 0x000B, 0x000C, 0x000D, 0x000E, 0x000F, // 08
    0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015, 0x0016, 0x0017, // 10
    0x0018, 0x0019, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F, // 18
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, // 20
    0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F, // 28
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, // 30
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, // 38
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, // 40
    0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F, // 48
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, // 50
    0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F, // 58
    0xF8E5, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, // 60
    0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF, // 68
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, // 70
    0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0x0000, // 78
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, // 80
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, // 88
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, // 90
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, // 98
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, // A0
    0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193, // A8
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, // B0
    0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5, // B8
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, // C0
    0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209, // C8
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, // D0
    0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3, // D8
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, // E0
    0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA, // E8
    0x0000, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F, // F0
    0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0x0000, // F8
};

// Mac Greek (10006), which the system's iconv does not know: its upper half.
constexpr char16_t kMacGreek[128] = {
    0x00C4, 0x00B9, 0x00B2, 0x00C9, 0x00B3, 0x00D6, 0x00DC, 0x0385, // 80
    0x00E0, 0x00E2, 0x00E4, 0x0384, 0x00A8, 0x00E7, 0x00E9, 0x00E8, // 88
    0x00EA, 0x00EB, 0x00A3, 0x2122, 0x00EE, 0x00EF, 0x2022, 0x00BD, // 90
    0x2030, 0x00F4, 0x00F6, 0x00A6, 0x20AC, 0x00F9, 0x00FB, 0x00FC, // 98
    0x2020, 0x0393, 0x0394, 0x0398, 0x039B, 0x039E, 0x03A0, 0x00DF, // A0
    0x00AE, 0x00A9, 0x03A3, 0x03AA, 0x00A7, 0x2260, 0x00B0, 0x00B7, // A8
    0x0391, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x0392, 0x0395, 0x0396, // B0
    0x0397, 0x0399, 0x039A, 0x039C, 0x03A6, 0x03AB, 0x03A8, 0x03A9, // B8
    0x03AC, 0x039D, 0x00AC, 0x039F, 0x03A1, 0x2248, 0x03A4, 0x00AB, // C0
    0x00BB, 0x2026, 0x00A0, 0x03A5, 0x03A7, 0x0386, 0x0388, 0x0153, // C8
    0x2013, 0x2015, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x0389, // D0
    0x038A, 0x038C, 0x038E, 0x03AD, 0x03AE, 0x03AF, 0x03CC, 0x038F, // D8
    0x03CD, 0x03B1, 0x03B2, 0x03C8, 0x03B4, 0x03B5, 0x03C6, 0x03B3, // E0
    0x03B7, 0x03B9, 0x03BE, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF, // E8
    0x03C0, 0x03CE, 0x03C1, 0x03C3, 0x03C4, 0x03B8, 0x03C9, 0x03C2, // F0
    0x03C7, 0x03C5, 0x03B6, 0x03CA, 0x03CB, 0x0390, 0x03B0, 0x00AD, // F8
};

// The iconv name of a code page number: the Mac pages go by names, the others by "CP" and
// their number. Mac Japanese reads as the Windows page it grew into.
QByteArray iconvName(int number) {
    switch (number) {
    case 10000:
        return "MACINTOSH";
    case 10001:
        return "CP932";
    case 10007:
        return "MAC-CYRILLIC";
    case 10029:
        return "MAC-CENTRALEUROPE";
    case 10079:
        return "MAC-IS";
    default:
        return "CP" + QByteArray::number(number);
    }
}

QHash<char16_t, unsigned char> reverseTable(const char16_t (&table)[256]) {
    QHash<char16_t, unsigned char> reverse;
    for (int code = 255; code >= 0; --code) {
        if (table[code] != 0 || code == 0)
            reverse.insert(table[code], static_cast<unsigned char>(code));
    }
    return reverse;
}

} // namespace

CodePage CodePage::fromIconv(int number) {
    CodePage page(number);
    fromIconv(number, page);
    return page;
}

bool CodePage::fromIconv(int number, CodePage &page) {
    if (number == 10006) {
        for (int code = 0; code < 256; ++code)
            page.m_toUnicode[code] = code < 128 ? char16_t(code) : kMacGreek[code - 128];
        return true;
    }
    const QByteArray name = iconvName(number);
    iconv_t cd = iconv_open("UTF-16LE", name.constData());
    for (int code = 0; code < 256; ++code) {
        if (cd == reinterpret_cast<iconv_t>(-1)) {
            page.m_toUnicode[code] = code < 128 ? char16_t(code) : 0;
            continue;
        }
        char in = static_cast<char>(code);
        char out[8] = {};
        char *inPtr = &in;
        char *outPtr = out;
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) {
            if (sizeof out - outLeft == 2)
                page.m_toUnicode[code] = char16_t(static_cast<unsigned char>(out[0]) |
                                                  (static_cast<unsigned char>(out[1]) << 8));
        } else if (errno == EINVAL && code >= 0x80) { // the start of a two-byte code
            page.m_lead[code] = true;
        }
    }
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv_close(cd);
    return true;
}

const CodePage &CodePage::windows(int number) {
    static const CodePage pages[] = {fromIconv(1250), fromIconv(1251), fromIconv(1252),
                                     fromIconv(1253), fromIconv(1254), fromIconv(1257)};
    for (const CodePage &page : pages) {
        if (page.m_number == number)
            return page;
    }
    // Other pages (a DOS document's 437, say) are built once, on first use; reading their
    // text as Windows-1252 would silently turn it into other characters. A number iconv
    // does not know, or a multi-byte page iconv cannot split into lead bytes and single
    // characters, reads as Windows-1252 as before.
    static std::map<int, std::unique_ptr<const CodePage>> others;
    auto found = others.find(number);
    if (found == others.end()) {
        auto page = std::make_unique<CodePage>(CodePage(number));
        const bool known = number > 0 && number <= 65535 && fromIconv(number, *page) &&
                           (std::any_of(page->m_toUnicode + 128, page->m_toUnicode + 256,
                                        [](char16_t u) { return u != 0; }) ||
                            std::any_of(std::begin(page->m_lead), std::end(page->m_lead),
                                        [](bool b) { return b; }));
        found = others.emplace(number, known ? std::move(page) : nullptr).first;
    }
    return found->second ? *found->second : pages[2];
}

const CodePage &CodePage::notationSymbol() {
    static const CodePage page = [] {
        CodePage symbol = windows(1252);
        symbol.m_number = 0; // not a Windows code page
        for (const SymbolCode &entry : kSymbolCodes)
            symbol.m_toUnicode[entry.code] = entry.unicode;
        // A Windows-1252 code whose character now has a symbol code of its own is left
        // unassigned, so that every character converts back to exactly one code.
        for (int code = 128; code < 256; ++code) {
            const bool listed = std::any_of(std::begin(kSymbolCodes), std::end(kSymbolCodes),
                                            [code](const SymbolCode &e) { return e.code == code; });
            if (listed)
                continue;
            for (const SymbolCode &entry : kSymbolCodes) {
                if (symbol.m_toUnicode[code] == entry.unicode)
                    symbol.m_toUnicode[code] = 0;
            }
        }
        return symbol;
    }();
    return page;
}

const CodePage &CodePage::symbolFace() {
    static const CodePage page = [] {
        CodePage symbol(0);
        std::copy(std::begin(kSymbolFace), std::end(kSymbolFace), symbol.m_toUnicode);
        return symbol;
    }();
    return page;
}

QChar CodePage::toUnicode(unsigned char lead, unsigned char trail) const {
    if (!m_lead[lead])
        return QChar();
    auto found = m_pairs.find(lead);
    if (found == m_pairs.end()) {
        std::array<char16_t, 256> trails{};
        const QByteArray name = iconvName(m_number);
        iconv_t cd = iconv_open("UTF-16LE", name.constData());
        for (int code = 0; code < 256 && cd != reinterpret_cast<iconv_t>(-1); ++code) {
            char in[2] = {static_cast<char>(lead), static_cast<char>(code)};
            char out[8] = {};
            char *inPtr = in;
            char *outPtr = out;
            size_t inLeft = 2;
            size_t outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
                sizeof out - outLeft == 2)
                trails[code] = char16_t(static_cast<unsigned char>(out[0]) |
                                        (static_cast<unsigned char>(out[1]) << 8));
        }
        if (cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd);
        found = m_pairs.emplace(lead, trails).first;
    }
    return QChar(found->second[trail]);
}

const CodePage &CodePage::forCharset(int charset) {
    switch (charset) {
    case Charset::Symbol:
        return notationSymbol();
    case Charset::ShiftJis:
        return windows(932);
    case Charset::Hangul:
        return windows(949);
    case Charset::Gb2312:
        return windows(936);
    case Charset::Big5:
        return windows(950);
    case Charset::Greek:
        return windows(1253);
    case Charset::Turkish:
        return windows(1254);
    case Charset::Baltic:
        return windows(1257);
    case Charset::Cyrillic:
        return windows(1251);
    case Charset::CentralEuropean:
        return windows(1250);
    case Charset::MacRoman:
        return windows(10000);
    case Charset::MacJapanese:
        return windows(10001);
    default:
        return windows(1252);
    }
}

int CodePage::fromUnicode(QChar c) const {
    // One reverse table per code page, built on first use. Documents are also written on a
    // worker thread, so the shared cache is locked; each thread remembers its last table.
    using Table = QHash<char16_t, unsigned char>;
    thread_local const CodePage *lastPage = nullptr;
    thread_local const Table *lastTable = nullptr;
    if (lastPage != this) {
        static QMutex lock;
        static std::map<const CodePage *, Table> cache; // nodes stay put as it grows
        const QMutexLocker locker(&lock);
        auto it = cache.find(this);
        if (it == cache.end())
            it = cache.emplace(this, reverseTable(m_toUnicode)).first;
        lastPage = this;
        lastTable = &it->second;
    }
    const auto found = lastTable->constFind(c.unicode());
    return found == lastTable->constEnd() ? -1 : found.value();
}

QString CodePage::decode(const QByteArray &bytes) const {
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        QChar c(m_toUnicode[byte]);
        if (m_lead[byte] && i + 1 < bytes.size())
            c = toUnicode(byte, static_cast<unsigned char>(bytes[++i]));
        if (!c.isNull())
            text.append(c);
    }
    return text;
}

int charsetForFace(const QString &face) {
    static const QStringList greek = {"Courier New Greek Even", "Courier New Greek High",
                                      "Courier New Greek Low"};
    static const QStringList symbol = {"TessarySymbol Even", "TessarySymbol High",
                                       "TessarySymbol Low"};
    if (greek.contains(face))
        return Charset::Greek;
    if (symbol.contains(face))
        return Charset::Symbol;
    return Charset::Ansi;
}

} // namespace tessary
