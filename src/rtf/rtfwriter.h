#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QTextFormat>
#include <QTextListFormat>

class QTextDocument;

namespace tessary {

// Writes a document, or the character range [start, end) of it, as RTF that other editors
// open. end = -1 is the end of the document, final paragraph mark included.
class RtfWriter {
public:
    // What the writer reads of a document, copied so that it can be written later or on
    // another thread while the document goes on changing.
    struct Snapshot {
        struct Run {
            QTextCharFormat format;
            int offset = 0; // into text, the whole document's
            int length = 0;
        };
        struct Paragraph {
            QTextBlockFormat format;
            QTextCharFormat markFormat; // the mark's format, kept for an empty paragraph
            bool bullet = false;
            // A numbered or nested list's item: its list (only told apart, never read), the
            // list's format, the marker it shows and the room the list takes left of it.
            quintptr list = 0;
            QTextListFormat listFormat;
            QString listMarker;
            double listRoom = 0;
            bool empty = false;
            bool mark = false; // the paragraph mark lies in the range
            int firstRun = 0;
            int runCount = 0;
            int depth = 0;        // how many tables deep
            bool cellEnd = false; // the last paragraph of a cell: \cell ends it, not \par
        };
        // A row of a table as RTF describes it: the grid's covered places are cells too.
        struct TableCell {
            int right = 0; // twips from the margin
            bool vMergeFirst = false, vMerged = false;
            int borders[4] = {0, 0, 0, 0}; // top, left, bottom, right in twips
            QColor shading;
        };
        struct TableRow {
            int left = 0; // twips
            int gap = 108;
            Qt::Alignment alignment = Qt::AlignLeft;
            bool header = false;
            QList<TableCell> cells;
        };
        // Table structure written before paragraph `before`.
        struct TableMark {
            enum Kind { RowStart, CellEnd, RowEnd } kind = CellEnd;
            int before = 0;
            int depth = 1;
            int row = 0;       // into rows
            bool bare = false; // a cell with no paragraph of its own, such as a merged one
        };
        QString defaultFace;
        double defaultPoints = 12;
        QString text;
        QList<Run> runs;
        QList<Paragraph> paragraphs;
        // The root frame's format, with the document's kept parts; written when `whole`.
        QTextFrameFormat root;
        bool whole = false;
        QList<TableRow> rows;
        QList<TableMark> marks;
    };

    static Snapshot snapshot(const QTextDocument *doc, int start = 0, int end = -1);
    static QByteArray write(const Snapshot &snapshot);
    static QByteArray write(const QTextDocument *doc, int start = 0, int end = -1);
};

} // namespace tessary
