#pragma once

#include <QString>
#include <array>

namespace tessary {

// The `Init` setting: four two-digit hexadecimal indexes (font name, font size, and the two
// saved across a notation toggle) followed by one two-character piece per function key
// F2..F12. Each field is read on its own; a missing or malformed index reads as -1 so the
// caller can fall back to its default for that field alone.
struct InitSetting {
    static constexpr int kFnKeys = 11;
    static constexpr const char *kKeyPath = "Software\\Tessary\\Init";
    static constexpr const char *kValueName = "Init";

    int fontNameIndex = -1;
    int fontSizeIndex = -1;
    int savedFontNameIndex = -1;
    int savedFontSizeIndex = -1;
    std::array<QString, kFnKeys> fnKeyPieces; // "  " when unassigned

    InitSetting();
    static InitSetting parse(const QString &value);
    // An index outside 0..255 does not fit two hex digits; it is written as "--", which
    // reads back as "use the default", rather than as digits that would name another item.
    QString format() const;
};

} // namespace tessary
