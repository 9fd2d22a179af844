// Tables from other programs' RTF (LibreOffice, pandoc, and the nested and merged forms of the
// format's documentation), and the same tables written back by this program.
#include "rtf/rtfwriter.h"
#include "rtftesthelpers.h"

#include <QTextDocumentFragment>
#include <QTextTable>
#include <QtTest>

using namespace tessary;
using namespace tessary::test;

namespace {

QList<QTextTable *> tablesOf(QTextFrame *frame) {
    QList<QTextTable *> tables;
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child))
            tables << table;
        tables << tablesOf(child);
    }
    return tables;
}

QString cellText(const QTextTableCell &cell) {
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selection().toPlainText().simplified().replace(' ', '/');
}

// Rows split by " | ", cells by ","; a place covered by the cell above reads "^", by the cell
// to its left "<". A nested table's text is part of its cell's.
QString grid(const QTextTable *table) {
    QStringList rows;
    for (int r = 0; r < table->rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            cells << (cell.row() != r ? "^" : cell.column() != c ? "<" : cellText(cell));
        }
        rows << cells.join(',');
    }
    return rows.join(" | ");
}

QStringList grids(QTextDocument &doc) {
    QStringList out;
    for (const QTextTable *table : tablesOf(doc.rootFrame()))
        out << grid(table);
    return out;
}

QList<int> widthsInTwips(const QTextTable *table) {
    QList<int> widths;
    for (const QTextLength &length : table->format().columnWidthConstraints())
        widths << qRound(length.rawValue() * 1440 / documentDpi());
    return widths;
}

} // namespace

class TestRtfTables : public QObject {
    Q_OBJECT

private slots:
    void readsTables_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("libreoffice: merged across and down, nested")
            << "libreoffice-tables.rtf"
            << QStringList{"x,x\u00B2,\u03B1\u2099 | 1,1,\u03B1\u2081 | merged/across/two,<,end | "
                           "tall,a,b | ^,c,d",
                           "outer/one/inner/A/inner/B/inner/C/inner/D,outer/two,",
                           "inner/A,inner/B | inner/C,inner/D"};
        QTest::newRow("pandoc: cells in groups ending in \\par")
            << "pandoc-table.rtf" << QStringList{"x,square,cube | 1,1,1 | 2,4,8 | 3,9,27"};
        QTest::newRow("word: \\clmgf, \\clvmgf, \\nesttableprops")
            << "word-nested-tables.rtf"
            << QStringList{"Head,Wide,< | Tall,Outer/N1/N2/N3/N4/after/nested,Shaded | ^,x,y",
                           "N1,N2 | N3,N4"};
    }

    void readsTables() {
        QFETCH(QString, file);
        QFETCH(QStringList, expected);
        const auto doc = loadRtf(sample(file));
        QCOMPARE(grids(*doc), expected);
    }

    // Text around a table stays in the paragraphs it was in, with no empty ones added, and
    // text only the readers without nested tables should show is left out.
    void textAroundTables() {
        const auto doc = loadRtf(sample("word-nested-tables.rtf"));
        const QTextTable *table = tablesOf(doc->rootFrame()).value(0);
        QVERIFY(table);
        QCOMPARE(doc->findBlock(table->firstPosition() - 1).text(), "Before the table.");
        QCOMPARE(doc->findBlock(table->lastPosition() + 1).text(), "After the table.");
        QCOMPARE(doc->toPlainText().count("N1"), 1);
        QCOMPARE(doc->blockCount(), 2 + 12); // two outside, twelve in cells
    }

    void rowAndCellProperties() {
        const auto doc = loadRtf(sample("word-nested-tables.rtf"));
        const QList<QTextTable *> tables = tablesOf(doc->rootFrame());
        const QTextTableFormat format = tables[0]->format();
        QCOMPARE(format.headerRowCount(), 1);
        QCOMPARE(format.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(widthsInTwips(tables[0]), (QList<int>{2108, 2000, 2000}));
        QCOMPARE(widthsInTwips(tables[1]), (QList<int>{1000, 1000}));
        const QTextTableCellFormat shaded = tables[0]->cellAt(1, 2).format().toTableCellFormat();
        QCOMPARE(shaded.background().color(), QColor(255, 255, 0));
        const QTextTableCellFormat head = tables[0]->cellAt(0, 0).format().toTableCellFormat();
        QVERIFY(head.topBorder() > 0 && head.rightBorder() > 0);
        QCOMPARE(tables[0]->cellAt(1, 0).format().toTableCellFormat().topBorder(), 0.0);
    }

    void writtenTablesReadBack_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("libreoffice") << "libreoffice-tables.rtf";
        QTest::newRow("pandoc") << "pandoc-table.rtf";
        QTest::newRow("word") << "word-nested-tables.rtf";
    }

    void writtenTablesReadBack() {
        QFETCH(QString, file);
        const auto doc = loadRtf(sample(file));
        const QByteArray rtf = RtfWriter::write(doc.get());
        const auto again = loadRtf(rtf);
        QCOMPARE(grids(*again), grids(*doc));
        QCOMPARE(blockTexts(*again), blockTexts(*doc));
        const QList<QTextTable *> before = tablesOf(doc->rootFrame());
        const QList<QTextTable *> after = tablesOf(again->rootFrame());
        for (qsizetype i = 0; i < before.size(); ++i) {
            const QList<int> widths = widthsInTwips(before[i]);
            for (qsizetype c = 0; c < widths.size(); ++c) {
                if (widths[c] > 0) // a column no \cellx gave is written with a width
                    QCOMPARE(widthsInTwips(after[i]).value(c), widths[c]);
            }
            QCOMPARE(after[i]->format().headerRowCount(), before[i]->format().headerRowCount());
        }
        // Written a second time, nothing changes.
        QCOMPARE(RtfWriter::write(again.get()), rtf);
    }

    void writesRtfTableForms() {
        const auto doc = loadRtf(sample("word-nested-tables.rtf"));
        const QByteArray rtf = RtfWriter::write(doc.get());
        QCOMPARE(rtf.count("\\row"), 3);
        QCOMPARE(rtf.count("\\nestrow"), 2);
        QCOMPARE(rtf.count("\\nestcell"), 4);
        QCOMPARE(rtf.count("\\intbl\\itap2"), 4);
        QCOMPARE(rtf.count("\\clvmgf"), 2); // in the row's definition before and after it
        QCOMPARE(rtf.count("\\clvmrg"), 2);
        QVERIFY(rtf.contains("\\trhdr"));
        // The merged head cell is one cell, reaching the third column's edge.
        QVERIFY(rtf.contains("\\cellx2108\n\\clbrdrt\\brdrs\\brdrw15\\cellx6108"));
    }

    // Cells and rows out of place read as text, in order, without a crash.
    void malformed_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("cells without rows") << QByteArray("{\\rtf1 a\\cell b\\cell c}") << "a b c";
        QTest::newRow("rows without cells") << QByteArray("{\\rtf1 a\\row\\row b}") << "a b";
        QTest::newRow("nested cell at the top")
            << QByteArray("{\\rtf1 a\\nestcell b\\nestrow c}") << "a b c";
        QTest::newRow("too deep") << QByteArray("{\\rtf1\\intbl\\itap999 a\\nestcell\\pard b}")
                                  << "a b";
        QTest::newRow("more cells than defined")
            << QByteArray("{\\rtf1\\trowd\\cellx100\\intbl a\\cell b\\cell c\\cell\\row d}")
            << "a b c d";
        QTest::newRow("merge into nothing")
            << QByteArray("{\\rtf1\\trowd\\clmrg\\clvmrg\\cellx100\\intbl a\\cell\\row}") << "a";
        QTest::newRow("truncated in a cell")
            << QByteArray("{\\rtf1\\trowd\\cellx100\\intbl a\\cell b") << "a b";
    }

    void malformed() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        const auto doc = loadRtf(rtf);
        QCOMPARE(doc->toPlainText().simplified(), text);
        const auto again = loadRtf(RtfWriter::write(doc.get()));
        QCOMPARE(again->toPlainText().simplified(), text);
    }
};

QTEST_MAIN(TestRtfTables)
#include "tst_rtftables.moc"
