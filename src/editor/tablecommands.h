#pragma once

#include "richtext/editorcontext.h"

#include <QObject>

class QAction;
class QTextCursor;
class QWidget;

namespace tessary {

class CommandState;

// Tables in the editor: Tab and Shift+Tab go to the next and previous cell (Tab in the last
// cell adds a row), and the commands TableInsert (asks for rows and columns), TableInsertRow
// (below the caret's row) and TableDeleteRow.
class TableCommands : public QObject {
    Q_OBJECT
public:
    TableCommands(EditorContext &context, CommandState &commands, QWidget *window);

    // The commands that act on the caret's place, for a context menu.
    QList<QAction *> actions() const;

    static void insertTable(QTextCursor &cursor, int rows, int columns);
    // false where the cursor is in no table.
    static bool insertRow(QTextCursor &cursor);
    static bool deleteRow(QTextCursor &cursor);
    // Moves to the next or previous cell and selects its text; false outside tables or
    // before the first cell. Past the last cell a new row begins.
    static bool moveToCell(QTextCursor &cursor, bool forward);

    void TableInsert();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply(bool (*edit)(QTextCursor &));

    EditorContext &m;
    CommandState &m_commands;
    QWidget *m_window;
};

} // namespace tessary
