#pragma once

#include "rtf/textformat.h"

#include <QString>

class QComboBox;
class QWidget;

namespace tessary {

// The face and size boxes of the format tool bar, with the selection saved across the
// notation and caret-font toggles. A size the list lacks is shown greyed, with no entry
// selected, and stays the size in use.
class FontBoxes {
public:
    // The indexes the `Init` setting keeps; -1 (or any index naming no item) stands for
    // the default of that box.
    struct Indexes {
        int name = -1;
        int size = -1;
        int savedName = -1;
        int savedSize = -1;
    };

    // Creates both boxes as children of `parent`; the caller places them.
    explicit FontBoxes(QWidget *parent);

    // The scalable faces of this machine, the common document faces under the names
    // documents use, the notation entry; and the size list.
    void fill();

    QString face() const;
    // The number the size box shows: its entry, else the greyed placeholder; 12 with none.
    int size() const;
    bool inNotationMode() const;

    // The notation toggle: notation at its fixed size, or, pressed again, what the boxes
    // showed before.
    void EnterNotationMode();
    void toggleNotation();
    // Notation keeps its size: the size box goes back to it.
    void selectNotationSize();
    // The caret-font toggle: shows `caret`'s face and size, or, when they are already
    // shown, what the boxes showed before.
    void toggleCaretFont(const CharAttributes &caret);

    Indexes indexes() const;
    // Each index falls back on its box's default by itself.
    void setIndexes(const Indexes &indexes);
    int SavedFontNameIndex() const { return m_savedName; }
    int SavedFontSizeIndex() const { return m_savedSize; }

    QComboBox *const FontNameBox;
    QComboBox *const FontSizeBox;

private:
    // `sizeShown` is the greyed size shown when `sizeIndex` names no entry.
    void select(int nameIndex, int sizeIndex, const QString &sizeShown = QString());
    void saveSelection();
    void restoreSelection();

    int m_savedName = -1;
    int m_savedSize = -1;
    QString m_savedSizeShown; // the greyed size saved with no size entry selected
};

} // namespace tessary
