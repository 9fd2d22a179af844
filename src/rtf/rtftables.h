#pragma once

// Tables as RTF gives them: rows of cells, each row ended by \row and described by the \trowd
// ... \cellx words before or inside it; tables in cells one \itap deeper. The reader builds
// them as the text document's own tables, cell by cell as the text arrives, and gives them
// their widths, borders and merged cells when each table ends.

#include "rtf/textformat.h"

#include <QColor>
#include <QList>
#include <QTextCursor>

class QTextTable;

namespace tessary::rtf {

constexpr int kMaxTableDepth = 16; // tables nested deeper are read as text of the deepest cell
constexpr int kMaxCells = 63;      // cells of a row beyond this join the row's last cell

struct CellDef {
    int right = 0; // \cellx: the cell's right edge, twips from the page margin
    bool mergeFirst = false, merged = false;   // \clmgf, \clmrg
    bool vMergeFirst = false, vMerged = false; // \clvmgf, \clvmrg
    int borders[4] = {-1, -1, -1, -1};         // top, left, bottom, right in twips; -1 none
    QColor shading;                            // \clcbpat
};

struct RowDef {
    int left = 0; // \trleft
    int gap = -1; // \trgaph: half the space between cells
    Alignment alignment = Alignment::Left;
    bool header = false; // \trhdr
    QList<CellDef> cells;
    CellDef next;        // the properties of the cell whose \cellx comes next
    int borderSide = -1; // the side a following \brdr… word describes
};

class TableBuilder {
public:
    explicit TableBuilder(QTextCursor &cursor)
        : m_cursor(cursor) {}

    int depth() const { return int(m_levels.size()); }
    bool rowEnded() const { return !m_levels.isEmpty() && m_levels.last().rowEnded; }
    bool cellOpen() const { return !m_levels.isEmpty() && m_levels.last().cellOpen; }

    // Inserts a table at the cursor, which goes into its first cell.
    void open();
    // The next cell of the innermost table's row, or the first cell of its next row.
    void nextCell();
    void newRow();
    void endCell();
    void endRow(const RowDef &def);
    // Gives the innermost table its widths, borders and merges; the cursor goes after it.
    void close();

private:
    struct Level {
        QTextTable *table = nullptr;
        int row = 0;
        int column = 0;
        bool cellOpen = true;
        bool rowEnded = false;
        QList<RowDef> rows;
        QList<int> cellCounts;
    };
    void moveToCell(const Level &level);
    void layOut(Level &level);
    void layOutRow(Level &level, int row, const RowDef &reference);

    QTextCursor &m_cursor;
    QList<Level> m_levels;
};

} // namespace tessary::rtf
