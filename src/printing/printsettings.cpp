#include "printing/printsettings.h"

#include "platform/services.h"
#include "platform/settingsstore.h"

#include <QLineEdit>
#include <algorithm>
#include <cmath>

namespace tessary {

const QString PrintSettings::Key = QStringLiteral("Software\\Tessary\\Params");

namespace {

const char *const kPositionBoxes[2][3] = {{"LHCB", "CHCB", "RHCB"}, {"LFCB", "CFCB", "RFCB"}};
const char *const kPatternNames[6] = {"LHPT", "CHPT", "RHPT", "LFPT", "CFPT", "RFPT"};

QString flag(bool ticked) {
    return ticked ? QStringLiteral("1") : QStringLiteral("0");
}

// A missing value keeps the default; a present one is ticked only when it is exactly "1".
void readFlag(const SettingsStore &store, const char *name, bool &value) {
    const QString text = store.readString(PrintSettings::Key, QLatin1String(name), QString());
    if (!text.isNull())
        value = text == QLatin1String("1");
}

void readText(const SettingsStore &store, const char *name, QString &value) {
    value = store.readString(PrintSettings::Key, QLatin1String(name), value);
}

// The ticked box of a set; a set whose stored boxes tick none keeps the right one.
int readPosition(const SettingsStore &store, const char *const names[3], int fallback) {
    std::array<bool, 3> ticked{fallback == 0, fallback == 1, fallback == 2};
    for (int i = 0; i < 3; ++i)
        readFlag(store, names[i], ticked.at(i));
    for (int i = 0; i < 3; ++i) {
        if (ticked.at(i))
            return i;
    }
    return 2;
}

} // namespace

PrintSettings LoadPrintSettings(const SettingsStore &store) {
    PrintSettings s;
    if (!store.keyExists(PrintSettings::Key))
        return s;
    bool inches = true, centimetres = false;
    readFlag(store, "INCB", inches);
    readFlag(store, "CMCB", centimetres);
    // The two unit boxes exclude each other; only a clear "centimetres" leaves inches.
    s.inches = inches || !centimetres;
    readFlag(store, "HLCB", s.headerLine);
    readFlag(store, "FLCB", s.footerLine);
    readText(store, "HHED", s.headerHeight);
    readText(store, "FHED", s.footerHeight);
    readText(store, "LMED", s.leftMargin);
    readText(store, "RMED", s.rightMargin);
    s.headerIndex = store.readInteger(PrintSettings::Key, QStringLiteral("HCBI"), 0);
    s.footerIndex = store.readInteger(PrintSettings::Key, QStringLiteral("FCBI"), 0);
    s.headerPosition = readPosition(store, kPositionBoxes[0], s.headerPosition);
    s.footerPosition = readPosition(store, kPositionBoxes[1], s.footerPosition);
    for (int i = 0; i < 6; ++i)
        readText(store, kPatternNames[i], s.patterns.at(i));
    readText(store, "CUHPT", s.customHeader);
    readText(store, "CUFPT", s.customFooter);
    return s;
}

void SavePrintSettings(SettingsStore &store, const PrintSettings &s) {
    const QString &key = PrintSettings::Key;
    store.writeString(key, QStringLiteral("INCB"), flag(s.inches));
    store.writeString(key, QStringLiteral("CMCB"), flag(!s.inches));
    store.writeString(key, QStringLiteral("HLCB"), flag(s.headerLine));
    store.writeString(key, QStringLiteral("FLCB"), flag(s.footerLine));
    store.writeString(key, QStringLiteral("HHED"), s.headerHeight);
    store.writeString(key, QStringLiteral("FHED"), s.footerHeight);
    store.writeString(key, QStringLiteral("LMED"), s.leftMargin);
    store.writeString(key, QStringLiteral("RMED"), s.rightMargin);
    store.writeInteger(key, QStringLiteral("HCBI"), s.headerIndex);
    store.writeInteger(key, QStringLiteral("FCBI"), s.footerIndex);
    for (int set = 0; set < 2; ++set) {
        const int ticked = set == 0 ? s.headerPosition : s.footerPosition;
        for (int i = 0; i < 3; ++i)
            store.writeString(key, QLatin1String(kPositionBoxes[set][i]), flag(i == ticked));
    }
    for (int i = 0; i < 6; ++i)
        store.writeString(key, QLatin1String(kPatternNames[i]), s.patterns.at(i));
    store.writeString(key, QStringLiteral("CUHPT"), s.customHeader);
    store.writeString(key, QStringLiteral("CUFPT"), s.customFooter);
}

namespace Lengths {

std::optional<double> Parse(const QString &text, const QLocale &locale) {
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString Convert(const QString &text, double factor, const QLocale &locale) {
    const auto value = Parse(text, locale);
    if (!value)
        return text;
    const double converted = *value * factor;
    double rounded = 0;
    if (converted != 0) {
        const double scale = std::pow(10.0, 2 - int(std::floor(std::log10(std::fabs(converted)))));
        rounded = std::round(converted * scale) / scale;
    }
    return locale.toString(rounded, 'f', 2);
}

QString WithLocaleSeparator(const QString &text, const QLocale &locale) {
    const QString own = locale.decimalPoint();
    const QString other = own == QLatin1String(".") ? QStringLiteral(",") : QStringLiteral(".");
    QString result = text;
    const qsizetype at = result.indexOf(other);
    if (at >= 0)
        result.replace(at, other.size(), own);
    return result;
}

} // namespace Lengths

std::optional<int> ReadPageNumber(QLineEdit *edit, const QString &resetText) {
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok, 10);
    if (ok)
        return value;
    Services::dialogs().message(edit->window(), QStringLiteral("Tessary"),
                                edit->text() + QStringLiteral(" is not an integer."));
    edit->setText(resetText);
    edit->selectAll();
    return std::nullopt;
}

PageChoice ChoosePrintRange(const QString &fromText, int from, const QString &toText, int to,
                            int pageCount) {
    const QString typed = fromText.trimmed() + QStringLiteral(" to ") + toText.trimmed();
    if (from > to)
        return {0, 0, typed + QStringLiteral(" is not a page range.")};
    if (to < 1 || from > pageCount)
        return {0, 0, typed + QStringLiteral(" holds no page of the document.")};
    return {std::max(from, 1), std::min(to, pageCount), {}};
}

} // namespace tessary
