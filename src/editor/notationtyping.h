#pragma once

#include "editor/notationfaces.h"
#include "richtext/editorcontext.h"
#include "rtf/textformat.h"

#include <QObject>

class QInputMethodEvent;
class QKeyEvent;
class QLabel;
class QToolButton;

namespace tessary {

class FontBoxes;

// The controls typing reads or shows its state in.
struct TypingControls {
    QToolButton *BoldButton = nullptr;
    QToolButton *ItalicButton = nullptr;
    QToolButton *WhitespaceButton = nullptr;
    QLabel *InsStateLabel = nullptr;
};

// What typing does in the editor: notation mode, the insertion of characters in a given
// face, the editor's keyboard commands and the whitespace display of notation spaces.
class NotationTyping : public QObject {
    Q_OBJECT
public:
    NotationTyping(EditorContext &context, FontBoxes &fonts, const TypingControls &controls,
                   QObject *parent = nullptr);

    FontBoxes &fonts() { return m_fonts; }
    const TypingControls &controls() const { return m_controls; }

    // Inserts `text` at the caret in `face`; in overwrite mode it replaces one character. An
    // empty text changes nothing.
    void InsertWithFont(const QString &face, const QString &text);
    // The same for an 8-bit code, turned into Unicode through the face's code page.
    void InsertWithFont(const QString &face, unsigned char code);
    static QChar characterFor(const QString &face, unsigned char code);

    bool inNotationMode() const;

    void NotationButtonClick();
    void ToggleInsertMode();
    void DeleteCaretLine();
    void ShiftBaseline(Shift direction);
    void WhitespaceButtonClick();

signals:
    void helpRequested();                // F1
    void functionKeyPressed(int number); // F2 .. F12, without modifiers

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool EditorKeyDown(QKeyEvent *event);
    bool EditorKeyPress(QKeyEvent *event);
    bool EditorInputMethod(QInputMethodEvent *event);
    void typeCharacters(const QString &text);
    void selectOverwritten();
    void typeNotationSpace();
    CharAttributes typingAttributes(const QString &face, int size) const;

    EditorContext &m;
    FontBoxes &m_fonts;
    TypingControls m_controls;
};

} // namespace tessary
