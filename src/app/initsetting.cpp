#include "app/initsetting.h"

namespace tessary {

namespace {
int hexField(const QString &value, int at) {
    if (value.size() < at + 2)
        return -1;
    bool ok = false;
    const QString digits = value.mid(at, 2);
    for (QChar c : digits) {
        if (!c.isDigit() && !QStringLiteral("ABCDEFabcdef").contains(c))
            return -1;
    }
    const int index = digits.toInt(&ok, 16);
    return ok ? index : -1;
}

QString hex2(int index) {
    if (index < 0 || index > 255)
        return QStringLiteral("--");
    return QStringLiteral("%1").arg(index, 2, 16, QLatin1Char('0')).toUpper();
}
} // namespace

InitSetting::InitSetting() {
    fnKeyPieces.fill(QStringLiteral("  "));
}

InitSetting InitSetting::parse(const QString &value) {
    InitSetting s;
    s.fontNameIndex = hexField(value, 0);
    s.fontSizeIndex = hexField(value, 2);
    s.savedFontNameIndex = hexField(value, 4);
    s.savedFontSizeIndex = hexField(value, 6);
    for (int key = 0; key < kFnKeys; ++key) {
        const QString piece = value.mid(8 + 2 * key, 2);
        s.fnKeyPieces[key] = piece.leftJustified(2, QLatin1Char(' '));
    }
    return s;
}

QString InitSetting::format() const {
    QString text = hex2(fontNameIndex) + hex2(fontSizeIndex) + hex2(savedFontNameIndex) +
                   hex2(savedFontSizeIndex);
    for (const QString &piece : fnKeyPieces)
        text += piece.leftJustified(2, QLatin1Char(' '), true);
    return text;
}

} // namespace tessary
