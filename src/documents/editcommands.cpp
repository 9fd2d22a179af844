#include "documents/editcommands.h"

#include "richtext/richedit.h"

#include <QApplication>
#include <QClipboard>

namespace tessary {

EditCommands::EditCommands(RichEdit *editor, QObject *parent)
    : QObject(parent)
    , m_editor(editor) {}

void EditCommands::EditUndo() {
    m_editor->undo();
}

void EditCommands::EditRedo() {
    m_editor->redo();
}

void EditCommands::EditCut() {
    m_editor->cut();
}

void EditCommands::EditCopy() {
    QApplication::clipboard()->clear();
    m_editor->copy();
}

void EditCommands::EditPaste() {
    m_editor->paste();
}

void EditCommands::EditDelete() {
    if (m_editor->selLength() == 0)
        m_editor->setSelLength(1);
    m_editor->replaceSelection(QString());
}

void EditCommands::EditSelectAll() {
    m_editor->selectAll();
}

} // namespace tessary
