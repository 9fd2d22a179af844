#include "rtf/rtftables.h"

#include "rtf/rtfparser.h"

#include <QTextDocumentFragment>
#include <QTextTable>

namespace tessary::rtf {

void TableBuilder::open() {
    QTextTableFormat format;
    format.setBorder(0);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(pointsToDocUnits(5.4)); // \trgaph108, what writers use when not told
    Level level;
    level.table = m_cursor.insertTable(1, 1, format);
    level.cellCounts.append(0);
    level.rows.append(RowDef{});
    m_levels.append(level);
}

void TableBuilder::moveToCell(const Level &level) {
    m_cursor = level.table->cellAt(level.row, level.column).firstCursorPosition();
}

void TableBuilder::nextCell() {
    Level &level = m_levels.last();
    if (level.rowEnded) {
        newRow();
        return;
    }
    if (level.column + 1 < kMaxCells) {
        ++level.column;
        if (level.column >= level.table->columns())
            level.table->appendColumns(1);
        moveToCell(level);
    }
    level.cellOpen = true;
}

void TableBuilder::newRow() {
    Level &level = m_levels.last();
    ++level.row;
    level.table->appendRows(1);
    level.column = 0;
    level.cellOpen = true;
    level.rowEnded = false;
    level.cellCounts.append(0);
    level.rows.append(RowDef{});
    moveToCell(level);
}

void TableBuilder::endCell() {
    Level &level = m_levels.last();
    level.cellOpen = false;
    level.cellCounts[level.row] = level.column + 1;
}

void TableBuilder::endRow(const RowDef &def) {
    Level &level = m_levels.last();
    if (level.cellOpen)
        endCell();
    level.rowEnded = true;
    level.rows[level.row] = def;
}

void TableBuilder::close() {
    Level level = m_levels.takeLast();
    layOut(level);
    QTextCursor after(m_cursor.document());
    after.setPosition(level.table->lastPosition() + 1);
    m_cursor = after;
}

namespace {

QTextLength widthOf(int twips) {
    return twips > 0 ? QTextLength(QTextLength::FixedLength, twipsToUnits(twips))
                     : QTextLength(QTextLength::VariableLength, 0);
}

// The grid column whose right edge lies nearest to `right`.
int nearestColumn(const RowDef &reference, int right) {
    int best = 0;
    for (int c = 1; c < reference.cells.size(); ++c) {
        if (qAbs(reference.cells[c].right - right) < qAbs(reference.cells[best].right - right))
            best = c;
    }
    return best;
}

void moveCellText(QTextTable *table, int row, int from, int to) {
    QTextCursor source = table->cellAt(row, from).firstCursorPosition();
    source.setPosition(table->cellAt(row, from).lastCursorPosition().position(),
                       QTextCursor::KeepAnchor);
    const QTextDocumentFragment text = source.selection();
    source.removeSelectedText();
    QTextCursor target = table->cellAt(row, to).firstCursorPosition();
    target.insertFragment(text);
}

QTextTableCellFormat cellFormat(const CellDef &def, int gap) {
    QTextTableCellFormat format;
    const double widths[4] = {def.borders[0] < 0 ? 0 : qMax(1.0, twipsToUnits(def.borders[0])),
                              def.borders[1] < 0 ? 0 : qMax(1.0, twipsToUnits(def.borders[1])),
                              def.borders[2] < 0 ? 0 : qMax(1.0, twipsToUnits(def.borders[2])),
                              def.borders[3] < 0 ? 0 : qMax(1.0, twipsToUnits(def.borders[3]))};
    format.setTopBorder(widths[0]);
    format.setLeftBorder(widths[1]);
    format.setBottomBorder(widths[2]);
    format.setRightBorder(widths[3]);
    format.setBorderBrush(QBrush(Qt::black));
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    if (gap >= 0) {
        format.setLeftPadding(twipsToUnits(gap));
        format.setRightPadding(twipsToUnits(gap));
    }
    if (def.shading.isValid())
        format.setBackground(def.shading);
    return format;
}

} // namespace

void TableBuilder::layOut(Level &level) {
    QTextTable *table = level.table;
    // The row with most cells gives the columns their widths.
    RowDef reference;
    for (const RowDef &row : level.rows) {
        if (row.cells.size() > reference.cells.size())
            reference = row;
    }
    const RowDef &first = level.rows.first();
    QTextTableFormat format = table->format();
    QList<QTextLength> widths;
    for (int c = 0; c < table->columns(); ++c) {
        const int left = c == 0 ? reference.left : reference.cells.value(c - 1).right;
        widths.append(c < reference.cells.size() ? widthOf(reference.cells[c].right - left)
                                                 : widthOf(0));
    }
    format.setColumnWidthConstraints(widths);
    format.setAlignment(first.alignment == Alignment::Center  ? Qt::AlignHCenter
                        : first.alignment == Alignment::Right ? Qt::AlignRight
                                                              : Qt::AlignLeft);
    if (first.alignment == Alignment::Left)
        format.setLeftMargin(qMax(0.0, twipsToUnits(first.left)));
    int headers = 0;
    while (headers < level.rows.size() && level.rows[headers].header)
        ++headers;
    format.setHeaderRowCount(headers);
    table->setFormat(format);
    for (int r = 0; r < table->rows(); ++r)
        layOutRow(level, r, reference);
    // Vertical merges, once every row has its cells where they belong.
    for (int r = 0; r < table->rows(); ++r) {
        const RowDef &row = level.rows[r];
        for (const CellDef &cell : row.cells) {
            if (!cell.vMergeFirst)
                continue;
            const int column = nearestColumn(reference, cell.right);
            int span = 1;
            while (r + span < table->rows()) {
                const RowDef &below = level.rows[r + span];
                const auto same =
                    std::find_if(below.cells.begin(), below.cells.end(), [&](const CellDef &other) {
                        return nearestColumn(reference, other.right) == column;
                    });
                if (same == below.cells.end() || !same->vMerged)
                    break;
                ++span;
            }
            const QTextTableCell top = table->cellAt(r, column);
            if (span > 1 && top.row() == r)
                table->mergeCells(r, top.column(), span, top.columnSpan());
        }
    }
}

// Places the row's cells on the grid: a row with fewer cells than the table has columns spans
// them by its cells' right edges, and \clmrg cells join the cell before them.
void TableBuilder::layOutRow(Level &level, int r, const RowDef &reference) {
    QTextTable *table = level.table;
    const RowDef &row = level.rows[r];
    const int count = qMax(1, level.cellCounts[r]);
    const int columns = table->columns();
    QList<int> starts(count), ends(count);
    for (int i = 0; i < count; ++i) {
        starts[i] = i;
        ends[i] = i == count - 1 ? columns - 1 : i;
    }
    if (count < columns && row.cells.size() == count && reference.cells.size() == columns) {
        bool fits = true;
        for (int i = 0; i < count && fits; ++i) {
            starts[i] = i == 0 ? 0 : ends[i - 1] + 1;
            ends[i] = i == count - 1 ? columns - 1 : nearestColumn(reference, row.cells[i].right);
            fits = ends[i] >= starts[i] && ends[i] - starts[i] <= columns - count;
        }
        if (!fits) {
            for (int i = 0; i < count; ++i) {
                starts[i] = i;
                ends[i] = i == count - 1 ? columns - 1 : i;
            }
        }
    }
    for (int i = count - 1; i >= 0; --i) {
        if (starts[i] != i)
            moveCellText(table, r, i, starts[i]);
    }
    for (int i = 0; i < count; ++i) {
        const int start = starts[i];
        table->cellAt(r, start).setFormat(cellFormat(row.cells.value(i), row.gap));
        int end = ends[i];
        while (i + 1 < count && row.cells.value(i + 1).merged)
            end = ends[++i];
        if (end > start)
            table->mergeCells(r, start, 1, end - start + 1);
    }
}

// The text of a paragraph `depth` tables deep goes into a cell of the innermost one: tables
// open, rows and cells begin, and tables whose last row has ended close, as it needs. Below
// an unfinished row the text stays in the open cell unless `force`.
void Parser::enterTable(int depth, bool force) {
    depth = qMin(depth, kMaxTableDepth);
    if (depth == m_tables.depth() && (depth == 0 || m_tables.cellOpen()))
        return;
    auto structural = [this] {
        flushRun();
        m_pendingBreak = false; // the table's own frame ends the paragraph before it
        m_paraHasContent = false;
    };
    while (m_tables.depth() > depth && (force || m_tables.rowEnded())) {
        structural();
        m_tables.close();
    }
    if (m_tables.depth() > 0 && !m_tables.cellOpen()) {
        structural();
        m_tables.nextCell();
    }
    while (m_tables.depth() < depth) {
        structural();
        m_tables.open();
    }
}

int Parser::tableDepth() const {
    const ParaState &para = m_groups.peek().para;
    return para.itap > 0 ? para.itap : para.inTable ? 1 : 0;
}

void Parser::endCell(bool nested) {
    enterTable(nested ? qMax(2, tableDepth()) : 1, true);
    if (m_pendingBreak) { // a cell's last \par ends the cell, not one more paragraph
        m_pendingBreak = false;
    } else {
        flushRun();
        if (m_cursor.block().length() == 1)
            m_cursor.setBlockCharFormat(charFormat(top().chr));
        applyParagraph(top().para);
    }
    m_paraHasContent = false;
    m_tables.endCell();
}

void Parser::endRow(bool nested) {
    if (!nested) {
        while (m_tables.depth() > 1) {
            flushRun();
            m_tables.close();
        }
    }
    if (m_tables.depth() == 0 || (nested && m_tables.depth() < 2)) {
        if (m_paraHasContent) // a row of no table ends a paragraph
            paragraphBreak();
        return;
    }
    if (m_tables.cellOpen() && (m_paraHasContent || !m_run.isEmpty()))
        endCell(nested);
    m_pendingBreak = false;
    m_tables.endRow(nested ? m_nestedRow : m_row);
}

void Parser::tableWord(Keyword keyword, int param, bool hasParam) {
    RowDef &row = top().nestedProps ? m_nestedRow : m_row;
    const int twips = qBound(-kMaxTwips, param, kMaxTwips);
    switch (keyword) {
    case Keyword::Trowd:
        row = RowDef{};
        break;
    case Keyword::Trgaph:
        row.gap = qMax(0, twips);
        break;
    case Keyword::Trleft:
        row.left = twips;
        break;
    case Keyword::Trqc:
        row.alignment = Alignment::Center;
        break;
    case Keyword::Trqr:
        row.alignment = Alignment::Right;
        break;
    case Keyword::Trql:
        row.alignment = Alignment::Left;
        break;
    case Keyword::Trhdr:
        row.header = true;
        break;
    case Keyword::Clmgf:
        row.next.mergeFirst = true;
        break;
    case Keyword::Clmrg:
        row.next.merged = true;
        break;
    case Keyword::Clvmgf:
        row.next.vMergeFirst = true;
        break;
    case Keyword::Clvmrg:
        row.next.vMerged = true;
        break;
    case Keyword::Clbrdrt:
    case Keyword::Clbrdrl:
    case Keyword::Clbrdrb:
    case Keyword::Clbrdrr:
        row.borderSide = int(keyword) - int(Keyword::Clbrdrt);
        break;
    case Keyword::BorderStyle:
        if (row.borderSide >= 0 && row.next.borders[row.borderSide] < 0)
            row.next.borders[row.borderSide] = 10;
        break;
    case Keyword::Brdrw:
        if (row.borderSide >= 0)
            row.next.borders[row.borderSide] = qBound(1, twips, 255);
        break;
    case Keyword::Brdrnone:
        if (row.borderSide >= 0)
            row.next.borders[row.borderSide] = -1;
        break;
    case Keyword::Clcbpat:
        if (hasParam && param >= 0 && param < m_colors.size() && m_colors[param] >= 0)
            row.next.shading = QColor::fromRgb(QRgb(m_colors[param]));
        break;
    case Keyword::Cellx:
        row.next.right = twips;
        if (row.cells.size() < kMaxCells)
            row.cells.append(row.next);
        row.next = CellDef{};
        row.borderSide = -1;
        break;
    default:
        break;
    }
}

} // namespace tessary::rtf
