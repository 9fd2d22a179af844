#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QPushButton;

namespace tessary {

class FontBoxes;
class SettingsStore;

// The font of one header or footer position.
struct PositionFont {
    enum Style { Normal = 0, Bold = 1, Italic = 2, BoldItalic = 3 };
    QString name = QStringLiteral("Arial");
    int size = 10;
    int style = Normal; // bold is bit 0, italic bit 1

    static QString StyleName(int style);
    // "Normal", "Bold" and "Italic" read as themselves; any other text as bold italic.
    static int StyleFromName(const QString &name);
    bool operator==(const PositionFont &other) const = default;
};

// The six position fonts, by position tag: 1-3 left, center, right header, 4-6 footer.
class PositionFonts {
public:
    // Nothing for a tag outside 1..6.
    std::optional<PositionFont> font(int tag) const;
    void setFont(int tag, const PositionFont &font);
    // The entry of a tag, clamped into 1..6.
    PositionFont &entry(int tag);

    // Reads the eighteen values under the print settings key; a missing value (or no key)
    // keeps its default.
    void load(const SettingsStore &store);
    void save(SettingsStore &store) const;

private:
    std::array<PositionFont, 6> m_fonts;
};

// The font dialog of one header or footer position. A choice is stored at once; OK asks
// the owner to redraw.
class TFontForm : public QDialog {
    Q_OBJECT
public:
    // The lists are filled from the main window's face and size boxes as they are now.
    TFontForm(const FontBoxes &boxes, QWidget *parent = nullptr);

    PositionFonts &fonts() { return m_fonts; }
    const PositionFonts &fonts() const { return m_fonts; }
    // The position the dialog now edits.
    int tag() const { return m_tag; }

    // Runs after OK (the owner repaints its pages).
    std::function<void()> OnFontsChanged = [] {};

    // Shows the caption and the font of position `tag` (1..6); a name or size not in its
    // list leaves that list without a selection.
    void SetupFontDialog(int tag);
    void LoadFontSettings();
    void SaveFontSettings();

    void FontNameComboBoxChange();
    void FontSizeComboBoxChange();
    void FontStyleComboBoxChange();
    void FontOkButtonClick();

    QComboBox *FontNameComboBox = nullptr;
    QComboBox *FontSizeComboBox = nullptr;
    QComboBox *FontStyleComboBox = nullptr;
    QPushButton *FontOkButton = nullptr;

private:
    PositionFont &current();

    PositionFonts m_fonts;
    int m_tag = 1;
    bool m_showing = false; // while SetupFontDialog selects, changes are not choices
};

} // namespace tessary
