#include "rtf/rtftablewriter.h"

#include "rtf/rtftables.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace tessary::rtf {

namespace {

using Snapshot = RtfWriter::Snapshot;

constexpr int kTextWidthTwips = 9360; // what widths given as shares of the page are shares of

int toTwips(double units) {
    return qRound(units * 1440.0 / documentDpi());
}

// The right edge of each column, in twips from the table's left.
QList<int> columnEdges(const QTextTable *table) {
    const QList<QTextLength> constraints = table->format().columnWidthConstraints();
    const int columns = table->columns();
    QList<int> widths(columns, 0);
    int fixed = 0, open = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength length = constraints.value(c);
        if (length.type() == QTextLength::FixedLength)
            widths[c] = qMax(1, toTwips(length.rawValue()));
        else if (length.type() == QTextLength::PercentageLength)
            widths[c] = qMax(1, qRound(kTextWidthTwips * length.rawValue() / 100));
        else
            ++open;
        fixed += widths[c];
    }
    const int share = open ? qMax(360, (kTextWidthTwips - fixed) / open) : 0;
    QList<int> edges;
    int edge = 0;
    for (int c = 0; c < columns; ++c)
        edges.append(edge += widths[c] > 0 ? widths[c] : share);
    return edges;
}

Snapshot::TableRow rowOf(const QTextTable *table, int r, const QList<int> &edges) {
    const QTextTableFormat format = table->format();
    Snapshot::TableRow row;
    row.alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    row.header = r < format.headerRowCount();
    const QTextTableCellFormat first = table->cellAt(r, 0).format().toTableCellFormat();
    row.gap = qMax(0, toTwips(first.hasProperty(QTextFormat::TableCellLeftPadding)
                                  ? first.leftPadding()
                                  : format.cellPadding()));
    row.left = toTwips(format.leftMargin());
    for (int c = 0; c < table->columns();) {
        const QTextTableCell cell = table->cellAt(r, c);
        const QTextTableCellFormat cf = cell.format().toTableCellFormat();
        Snapshot::TableCell out;
        c = cell.column() + cell.columnSpan();
        out.right = row.left + edges.value(c - 1);
        out.vMergeFirst = cell.row() == r && cell.rowSpan() > 1;
        out.vMerged = cell.row() < r;
        const double tableBorder = format.border();
        const QTextFormat::Property sides[4] = {
            QTextFormat::TableCellTopBorder, QTextFormat::TableCellLeftBorder,
            QTextFormat::TableCellBottomBorder, QTextFormat::TableCellRightBorder};
        for (int s = 0; s < 4; ++s) {
            const double width =
                cf.hasProperty(sides[s]) ? cf.doubleProperty(sides[s]) : tableBorder;
            out.borders[s] = width > 0 ? qMax(1, toTwips(width)) : 0;
        }
        if (cf.background().style() != Qt::NoBrush)
            out.shading = cf.background().color();
        row.cells.append(out);
    }
    return row;
}

class Walker {
public:
    Walker(int start, int end, Snapshot &shot)
        : m_start(start)
        , m_end(end)
        , m_shot(shot) {}

    void items(QTextFrame::iterator it, int depth) {
        for (; !it.atEnd(); ++it) {
            if (QTextFrame *child = it.currentFrame()) {
                auto *table = qobject_cast<QTextTable *>(child);
                if (table && depth < kMaxTableDepth && table->firstPosition() > m_start &&
                    table->lastPosition() < m_end)
                    this->table(table, depth + 1);
                else
                    items(child->begin(), depth);
                continue;
            }
            const QTextBlock block = it.currentBlock();
            if (block.position() + block.length() <= m_start || block.position() >= m_end)
                continue;
            appendParagraph(m_shot, block, m_start, m_end);
            m_shot.paragraphs.last().depth = depth;
        }
    }

private:
    void mark(Snapshot::TableMark::Kind kind, int depth, int row, bool bare = false) {
        Snapshot::TableMark mark;
        mark.kind = kind;
        mark.before = int(m_shot.paragraphs.size());
        mark.depth = depth;
        mark.row = row;
        mark.bare = bare;
        m_shot.marks.append(mark);
    }

    void table(QTextTable *table, int depth) {
        const QList<int> edges = columnEdges(table);
        for (int r = 0; r < table->rows(); ++r) {
            const int row = int(m_shot.rows.size());
            m_shot.rows.append(rowOf(table, r, edges));
            if (depth == 1)
                mark(Snapshot::TableMark::RowStart, depth, row);
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.column() != c)
                    continue;
                const qsizetype before = m_shot.paragraphs.size();
                if (cell.row() == r)
                    items(cell.begin(), depth);
                const bool bare =
                    m_shot.paragraphs.size() == before || m_shot.paragraphs.last().depth != depth;
                if (!bare)
                    m_shot.paragraphs.last().cellEnd = true;
                mark(Snapshot::TableMark::CellEnd, depth, row, bare);
            }
            mark(Snapshot::TableMark::RowEnd, depth, row);
        }
    }

    int m_start, m_end;
    Snapshot &m_shot;
};

} // namespace

void snapshotParagraphs(const QTextDocument *doc, int start, int end, Snapshot &shot) {
    Walker(start, end, shot).items(doc->rootFrame()->begin(), 0);
}

QByteArray rowDefinition(const Snapshot::TableRow &row,
                         const std::function<int(const QColor &)> &colorIndex) {
    QByteArray out =
        "\\trowd\\trgaph" + QByteArray::number(row.gap) + "\\trleft" + QByteArray::number(row.left);
    if (row.alignment & Qt::AlignHCenter)
        out += "\\trqc";
    else if (row.alignment & Qt::AlignRight)
        out += "\\trqr";
    if (row.header)
        out += "\\trhdr";
    static const char *const sides[4] = {"\\clbrdrt", "\\clbrdrl", "\\clbrdrb", "\\clbrdrr"};
    for (const Snapshot::TableCell &cell : row.cells) {
        out += '\n';
        if (cell.vMergeFirst)
            out += "\\clvmgf";
        if (cell.vMerged)
            out += "\\clvmrg";
        for (int s = 0; s < 4; ++s) {
            if (cell.borders[s] > 0)
                out += QByteArray(sides[s]) + "\\brdrs\\brdrw" +
                       QByteArray::number(qMin(cell.borders[s], 255));
        }
        if (cell.shading.isValid())
            out += "\\clcbpat" + QByteArray::number(colorIndex(cell.shading));
        out += "\\cellx" + QByteArray::number(cell.right);
    }
    return out;
}

} // namespace tessary::rtf
