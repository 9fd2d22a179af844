#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <optional>

class QLineEdit;
class QWidget;

namespace tessary {

class SettingsStore;

// The print dialog's values as they are kept under "Software\Tessary\Params". Each field
// starts at its first-start default; loading replaces only the values the key holds.
struct PrintSettings {
    static const QString Key;

    bool inches = true;
    bool headerLine = false;
    bool footerLine = false;
    // Written in the user's decimal notation, so that they read back as numbers.
    QString headerHeight = QLocale().toString(0.5);
    QString footerHeight = QLocale().toString(0.5);
    QString leftMargin = QStringLiteral("1");
    QString rightMargin = QStringLiteral("1");
    int headerIndex = 0;
    int footerIndex = 0;
    // Which position box of each set is ticked: 0 left, 1 center, 2 right.
    int headerPosition = 2;
    int footerPosition = 2;
    // Left, center, right header, then left, center, right footer.
    std::array<QString, 6> patterns{".empty", ".empty", ".empty", ".empty", ".empty", ".empty"};
    QString customHeader;
    QString customFooter;
};

PrintSettings LoadPrintSettings(const SettingsStore &store);
void SavePrintSettings(SettingsStore &store, const PrintSettings &settings);

// Lengths the user types, in the user's decimal notation.
namespace Lengths {

constexpr double CentimetresToInches = 0.394;
constexpr double InchesToCentimetres = 2.54;

// The text as a number, or nothing; group separators are not accepted ("1,5" is no 15).
std::optional<double> Parse(const QString &text, const QLocale &locale = QLocale());
// The text multiplied by `factor`, rounded to 3 significant digits and shown with 2
// decimals; a text that is no number stays as it is.
QString Convert(const QString &text, double factor, const QLocale &locale = QLocale());
// The text with the first decimal separator that is not the locale's replaced by it.
QString WithLocaleSeparator(const QString &text, const QLocale &locale = QLocale());

} // namespace Lengths

// Reads a page number or copy count from `edit`. A text that is no integer is reported
// ("x is not an integer."), the edit is reset to `resetText` with its text selected, and
// the result is nothing.
std::optional<int> ReadPageNumber(QLineEdit *edit, const QString &resetText);

// The pages to print for the range `from`..`to` of a document of `pageCount` pages: the part
// of the range that the document has. A range that runs backwards, or that holds no page of
// the document, is refused: `refusal` is then the range as typed followed by a fixed phrase.
struct PageChoice {
    int from = 0;
    int to = 0;
    QString refusal;
};
PageChoice ChoosePrintRange(const QString &fromText, int from, const QString &toText, int to,
                            int pageCount);

} // namespace tessary
