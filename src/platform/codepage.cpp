#include "platform/codepage.h"

#include <QHash>
#include <QMutex>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <iconv.h>
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
    const QByteArray name = "CP" + QByteArray::number(number);
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
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
            sizeof out - outLeft == 2) {
            page.m_toUnicode[code] = char16_t(static_cast<unsigned char>(out[0]) |
                                              (static_cast<unsigned char>(out[1]) << 8));
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
    // does not know, or a multi-byte page whose upper half holds no single characters,
    // reads as Windows-1252 as before.
    static std::map<int, std::unique_ptr<const CodePage>> others;
    auto found = others.find(number);
    if (found == others.end()) {
        auto page = std::make_unique<CodePage>(CodePage(number));
        const bool known = number > 0 && number <= 65535 && fromIconv(number, *page) &&
                           std::any_of(page->m_toUnicode + 128, page->m_toUnicode + 256,
                                       [](char16_t u) { return u != 0; });
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

const CodePage &CodePage::forCharset(int charset) {
    switch (charset) {
    case Charset::Symbol:
        return notationSymbol();
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
    for (char byte : bytes) {
        const char16_t u = m_toUnicode[static_cast<unsigned char>(byte)];
        if (u != 0)
            text.append(QChar(u));
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
