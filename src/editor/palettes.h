#pragma once

#include "editor/mainparts.h"
#include "editor/palettetables.h"

#include <QObject>
#include <functional>
#include <initializer_list>

class QHBoxLayout;
class QToolButton;
class QWidget;

namespace tessary {

class NotationTyping;

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

// Adds to `bar` a row 782 pixels wide (34 buttons of 23 pixels), centred in the bar as the
// palettes are on a full-width window, and returns its layout for the buttons.
QHBoxLayout *addPaletteRow(QToolBar *bar);

// The Greek and symbol palette bars: their buttons, the toggles that show them, and the
// insertion of a button's character, including the caret moves after bracket pieces.
class Palettes : public QObject {
    Q_OBJECT
public:
    enum class CaretMove { Left, Down };

    Palettes(MainParts &parts, NotationTyping &typing, QObject *parent = nullptr);

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

    MainParts &m;
    NotationTyping &typing;
    std::function<void(QToolButton *)> m_assign;
};

} // namespace tessary
