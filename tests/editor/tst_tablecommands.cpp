// Moving between cells with Tab, and adding and deleting rows, around merged cells too.
#include "editor/tablecommands.h"

#include <QTextDocument>
#include <QTextTable>
#include <QtTest>

using namespace tessary;

namespace {

// A 3x3 table: (0,1) spans two columns, (1,0) two rows; each cell holds its "rc".
QTextTable *mergedTable(QTextDocument &doc) {
    QTextCursor cursor(&doc);
    TableCommands::insertTable(cursor, 3, 3);
    QTextTable *table = cursor.currentTable();
    table->mergeCells(0, 1, 1, 2);
    table->mergeCells(1, 0, 2, 1);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() == r && cell.column() == c)
                cell.firstCursorPosition().insertText(QString::number(r * 10 + c));
        }
    }
    return table;
}

QStringList visit(QTextCursor cursor, bool forward, int steps) {
    QStringList seen;
    for (int i = 0; i < steps && TableCommands::moveToCell(cursor, forward); ++i)
        seen << cursor.selectedText();
    return seen;
}

} // namespace

class TestTableCommands : public QObject {
    Q_OBJECT

private slots:
    void tabVisitsEveryCellOnce() {
        QTextDocument doc;
        QTextTable *table = mergedTable(doc);
        QCOMPARE(visit(table->cellAt(0, 0).firstCursorPosition(), true, 6),
                 (QStringList{"1", "10", "11", "12", "21", "22"}));
        QCOMPARE(visit(table->cellAt(2, 2).firstCursorPosition(), false, 10),
                 (QStringList{"21", "12", "11", "10", "1", "0"}));
        QCOMPARE(table->rows(), 3);
    }

    void tabInTheLastCellAddsARow() {
        QTextDocument doc;
        QTextTable *table = mergedTable(doc);
        QTextCursor cursor = table->cellAt(2, 2).firstCursorPosition();
        QVERIFY(TableCommands::moveToCell(cursor, true));
        QCOMPARE(table->rows(), 4);
        QCOMPARE(table->cellAt(cursor).row(), 3);
        QCOMPARE(table->cellAt(cursor).column(), 0);
        // with the borders of the row above
        QTextTableCellFormat bordered;
        bordered.setBottomBorder(2);
        table->cellAt(3, 2).setFormat(bordered);
        cursor = table->cellAt(3, 2).firstCursorPosition();
        QVERIFY(TableCommands::moveToCell(cursor, true));
        QCOMPARE(table->cellAt(4, 2).format().toTableCellFormat().bottomBorder(), 2.0);
        QCOMPARE(table->cellAt(4, 1).format().toTableCellFormat().bottomBorder(), 0.0);
    }

    void outsideTablesNothingHappens() {
        QTextDocument doc;
        doc.setPlainText("text");
        QTextCursor cursor(&doc);
        QVERIFY(!TableCommands::moveToCell(cursor, true));
        QVERIFY(!TableCommands::insertRow(cursor));
        QVERIFY(!TableCommands::deleteRow(cursor));
        QCOMPARE(doc.toPlainText(), "text");
    }

    void rowsAreAddedBelowAndDeleted() {
        QTextDocument doc;
        QTextTable *table = mergedTable(doc);
        // Below a cell two rows tall means below its last row.
        QTextCursor cursor = table->cellAt(1, 0).firstCursorPosition();
        QVERIFY(TableCommands::insertRow(cursor));
        QCOMPARE(table->rows(), 4);
        QCOMPARE(table->cellAt(cursor).row(), 3);
        QCOMPARE(table->cellAt(2, 2).firstCursorPosition().block().text(), "22");

        cursor = table->cellAt(0, 0).firstCursorPosition();
        QVERIFY(TableCommands::deleteRow(cursor));
        QCOMPARE(table->rows(), 3);
        QCOMPARE(table->cellAt(cursor).row(), 0);
        QCOMPARE(table->cellAt(0, 0).firstCursorPosition().block().text(), "10");
    }

    void deletingTheLastRowDeletesTheTable() {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        cursor.insertText("before");
        TableCommands::insertTable(cursor, 1, 2);
        cursor.insertText("cell");
        QVERIFY(TableCommands::deleteRow(cursor));
        QVERIFY(!cursor.currentTable());
        QCOMPARE(doc.rootFrame()->childFrames().size(), 0);
        QCOMPARE(doc.toPlainText(), "before");
    }
};

QTEST_MAIN(TestTableCommands)
#include "tst_tablecommands.moc"
