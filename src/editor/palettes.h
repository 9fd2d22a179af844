#pragma once

#include "editor/palettetables.h"
#include "richtext/editorcontext.h"

#include <QObject>
#include <functional>
#include <initializer_list>

class QLayout;
class QToolBar;
class QToolButton;
class QWidget;

namespace tessary {

class NotationTyping;

// The palette and function-key bars in their fixed order, the toggles that show them, and
// the panel shown while a function key waits for its character.
struct PaletteBars {
    QToolBar *GreekToolBar = nullptr;
    QToolBar *SymbolToolBarA = nullptr;
    QToolBar *SymbolToolBarB = nullptr;
    QToolBar *FnKeyToolBar = nullptr;
    QToolButton *GreekAlphabetButton = nullptr;
    QToolButton *SymbolButton = nullptr;
    QWidget *FnHint = nullptr;
};

// A character button (palette, function-key value or definition button) carries its tag,
// the 8-bit code it shows (-1 for none) and its face as the button's own font family.
namespace CharacterButton {
int tag(const QToolButton *button);
void setTag(QToolButton *button, int tag);
int code(const QToolButton *button);
QString face(const QToolButton *button);
// Shows `code` in `face` at the notation size; a negative code leaves the caption empty.
void setCharacter(QToolButton *button, const QString &face, int code);
} // namespace CharacterButton

// A palette row: 34 buttons of 23 pixels. The screen must be at least this wide.
constexpr int kPaletteRowWidth = 782;

// Adds to `bar` a row kPaletteRowWidth pixels wide, centred in the bar as the palettes are
// on a full-width window, and returns its layout for the buttons. In a narrower bar the row
// wraps and the bar grows by a button's height for each further line.
QLayout *addPaletteRow(QToolBar *bar);

// The Greek and symbol palette bars: their buttons, the toggles that show them, and the
// insertion of a button's character, including the caret moves after bracket pieces.
class Palettes : public QObject {
    Q_OBJECT
public:
    enum class CaretMove { Left, Down };

    Palettes(EditorContext &context, const PaletteBars &bars, NotationTyping &typing,
             QObject *parent = nullptr);

    const PaletteBars &bars() const { return w; }

    // Wires every button of `window` that has a tag: definition buttons (tag 400 and above)
    // to `definitionClick`, all others to PaletteButtonClick at the notation size.
    void AssignPaletteHandlers(QWidget *window,
                               const std::function<void(QToolButton *)> &definitionClick);
    // While a function key waits for its character, a palette button (tag below 300) is
    // handed to this instead of being inserted.
    void setFunctionKeyAssigner(std::function<void(QToolButton *)> assign);

    void PaletteButtonClick(QToolButton *button);
    void GreekButtonClick();
    void SymbolButtonClick();
    void FunctionKeyButtonClick();
    void RefreshLastCharacter();
    void MoveCaretPadded(CaretMove move);

private:
    void buildBar(QToolBar *bar, const QList<PaletteEntry> &entries);
    void toggleBars(std::initializer_list<QToolBar *> inverted);
    void insertSymbol(int code);
    void padCaretLineTo(int x);

    EditorContext &m;
    PaletteBars w;
    NotationTyping &typing;
    std::function<void(QToolButton *)> m_assign;
};

} // namespace tessary
