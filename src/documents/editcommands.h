#pragma once

#include <QObject>

namespace tessary {

class RichEdit;

// The Edit menu's commands that act on the editor itself.
class EditCommands : public QObject {
    Q_OBJECT
public:
    explicit EditCommands(RichEdit *editor, QObject *parent = nullptr);

    void EditUndo();
    void EditRedo();
    void EditCut();
    // The clipboard is emptied first, so a failed copy never leaves older content to paste.
    void EditCopy();
    void EditPaste();
    // Without a selection it removes the character after the caret.
    void EditDelete();
    void EditSelectAll();

private:
    RichEdit *m_editor;
};

} // namespace tessary
