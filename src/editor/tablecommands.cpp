#include "editor/tablecommands.h"

#include "editor/commandstate.h"
#include "richtext/richedit.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QSpinBox>
#include <QTextTable>

namespace tessary {

namespace {
// A new row takes the borders and shading of the row it was added after.
void formatLikeRowAbove(QTextTable *table, int row) {
    if (row <= 0)
        return;
    for (int c = 0; c < table->columns(); ++c) {
        QTextTableCell cell = table->cellAt(row, c);
        if (cell.row() == row)
            cell.setFormat(table->cellAt(row - 1, c).format().toTableCellFormat());
    }
}
} // namespace

TableCommands::TableCommands(EditorContext &context, CommandState &commands, QWidget *window)
    : QObject(window)
    , m(context)
    , m_commands(commands)
    , m_window(window) {
    m.Editor->installEventFilter(this);
    connect(commands.action(QStringLiteral("TableInsert")), &QAction::triggered, this,
            &TableCommands::TableInsert);
    connect(commands.action(QStringLiteral("TableInsertRow")), &QAction::triggered, this,
            [this] { apply(&TableCommands::insertRow); });
    connect(commands.action(QStringLiteral("TableDeleteRow")), &QAction::triggered, this,
            [this] { apply(&TableCommands::deleteRow); });
}

QList<QAction *> TableCommands::actions() const {
    QList<QAction *> list;
    for (const char *name : {"TableInsert", "TableInsertRow", "TableDeleteRow"})
        list << m_commands.action(QLatin1String(name));
    return list;
}

void TableCommands::apply(bool (*edit)(QTextCursor &)) {
    QTextCursor cursor = m.Editor->textCursor();
    if (edit(cursor))
        m.Editor->setTextCursor(cursor);
}

void TableCommands::insertTable(QTextCursor &cursor, int rows, int columns) {
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderBrush(QBrush(Qt::black));
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(4);
    format.setColumnWidthConstraints(
        QList<QTextLength>(columns, QTextLength(QTextLength::PercentageLength, 100.0 / columns)));
    cursor.insertTable(qBound(1, rows, 500), qBound(1, columns, 63), format);
}

bool TableCommands::insertRow(QTextCursor &cursor) {
    QTextTable *table = cursor.currentTable();
    if (!table)
        return false;
    const QTextTableCell cell = table->cellAt(cursor);
    const int below = cell.row() + cell.rowSpan();
    table->insertRows(below, 1);
    formatLikeRowAbove(table, below);
    cursor = table->cellAt(below, 0).firstCursorPosition();
    return true;
}

bool TableCommands::deleteRow(QTextCursor &cursor) {
    QTextTable *table = cursor.currentTable();
    if (!table)
        return false;
    const int row = table->cellAt(cursor).row();
    if (table->rows() == 1) { // the last row takes its table with it
        const int before = table->firstPosition() - 1;
        cursor.setPosition(before);
        cursor.setPosition(table->lastPosition() + 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        return true;
    }
    table->removeRows(row, 1);
    cursor = table->cellAt(qMin(row, table->rows() - 1), 0).firstCursorPosition();
    return true;
}

bool TableCommands::moveToCell(QTextCursor &cursor, bool forward) {
    QTextTable *table = cursor.currentTable();
    if (!table)
        return false;
    const QTextTableCell cell = table->cellAt(cursor);
    int row = cell.row(), column = cell.column();
    // Row-major order over the cells' top-left places, skipping places merged cells cover.
    for (;;) {
        if (forward) {
            if (++column >= table->columns()) {
                column = 0;
                if (++row >= table->rows()) {
                    table->appendRows(1);
                    formatLikeRowAbove(table, row);
                    break;
                }
            }
        } else if (--column < 0) {
            column = table->columns() - 1;
            if (--row < 0)
                return false;
        }
        const QTextTableCell next = table->cellAt(row, column);
        if (next.row() == row && next.column() == column)
            break;
    }
    const QTextTableCell next = table->cellAt(row, column);
    cursor = next.firstCursorPosition();
    cursor.setPosition(next.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return true;
}

void TableCommands::TableInsert() {
    QDialog dialog(m_window);
    dialog.setObjectName(QStringLiteral("InsertTableDialog"));
    dialog.setWindowTitle(QStringLiteral("Insert Table"));
    auto *rows = new QSpinBox(&dialog);
    rows->setObjectName(QStringLiteral("TableRows"));
    rows->setRange(1, 500);
    rows->setValue(3);
    auto *columns = new QSpinBox(&dialog);
    columns->setObjectName(QStringLiteral("TableColumns"));
    columns->setRange(1, 63);
    columns->setValue(3);
    auto *layout = new QFormLayout(&dialog);
    layout->addRow(QStringLiteral("&Rows:"), rows);
    layout->addRow(QStringLiteral("&Columns:"), columns);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QTextCursor cursor = m.Editor->textCursor();
    insertTable(cursor, rows->value(), columns->value());
    m.Editor->setTextCursor(cursor);
}

bool TableCommands::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m.Editor && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        const bool tab = key->key() == Qt::Key_Tab && mods == Qt::NoModifier;
        const bool backTab = key->key() == Qt::Key_Backtab ||
                             (key->key() == Qt::Key_Tab && mods == Qt::ShiftModifier);
        if ((tab || backTab) && !m.Editor->isReadOnly()) {
            QTextCursor cursor = m.Editor->textCursor();
            if (cursor.currentTable()) {
                m.HideFnHint();
                if (moveToCell(cursor, tab))
                    m.Editor->setTextCursor(cursor);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tessary
