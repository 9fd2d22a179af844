#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTextFormat>

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
            bool empty = false;
            bool mark = false; // the paragraph mark lies in the range
            int firstRun = 0;
            int runCount = 0;
        };
        QString defaultFace;
        double defaultPoints = 12;
        QString text;
        QList<Run> runs;
        QList<Paragraph> paragraphs;
        // The root frame's format, with the document's kept parts; written when `whole`.
        QTextFrameFormat root;
        bool whole = false;
    };

    static Snapshot snapshot(const QTextDocument *doc, int start = 0, int end = -1);
    static QByteArray write(const Snapshot &snapshot);
    static QByteArray write(const QTextDocument *doc, int start = 0, int end = -1);
};

} // namespace tessary
