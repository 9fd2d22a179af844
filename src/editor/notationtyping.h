#pragma once

#include "editor/mainparts.h"
#include "editor/notationfaces.h"
#include "platform/textformat.h"

#include <QObject>

class QKeyEvent;

namespace tessary {

// What typing does in the editor: notation mode, the insertion of characters in a given
// face, the editor's keyboard commands and the whitespace display of notation spaces.
class NotationTyping : public QObject {
    Q_OBJECT
public:
    explicit NotationTyping(MainParts &parts, QObject *parent = nullptr);

    // Inserts `text` at the caret in `face`; in overwrite mode it replaces one character.
    void InsertWithFont(const QString &face, const QString &text);
    // The same for an 8-bit code, turned into Unicode through the face's code page.
    void InsertWithFont(const QString &face, unsigned char code);
    static QChar characterFor(const QString &face, unsigned char code);

    bool inNotationMode() const;
    // The number the size box shows: its entry, else a size outside its list shown as the
    // placeholder; 12 when it shows none.
    int fontBoxSize() const;

    void NotationButtonClick();
    void EnterNotationMode();
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
    void typeNotationSpace();
    CharAttributes typingAttributes(const QString &face, int size) const;
    void selectFontBoxes(int nameIndex, int sizeIndex);

    MainParts &m;
};

} // namespace tessary
