#pragma once

#include "editor/notationfaces.h"

#include <QList>
#include <QString>
#include <QTextCharFormat>

class QTextCursor;

namespace tessary {

// LaTeX read as notation: the math of $...$, \(...\), \[...\] (or the whole text when it has
// none of them) in the notation faces, raised and lowered as ^ and _ say, Greek letters and
// the symbols of the palettes as their characters; the text around it as prose.
class LatexReader {
public:
    struct Piece {
        QString text;
        bool prose = false;
        FaceFamily family = FaceFamily::Latin;
        int level = 0; // -1 lowered, 0 base line, 1 raised
        bool bold = false;
        bool italic = false;
        // The notation face of the piece; empty for prose.
        QString face() const;
    };
    struct Reading {
        QList<Piece> pieces;
        int unconverted = 0; // commands kept as their own text
        QString text() const;
    };

    static Reading read(const QString &latex);
    // Inserts a reading at the cursor, replacing its selection, as one undo step: prose in
    // `prose` (with the reading's bold and italic), notation at the notation size.
    static void insert(QTextCursor &cursor, const Reading &reading, const QTextCharFormat &prose);
    // Whether a text has a LaTeX command or math in it, worth reading as LaTeX when dropped.
    static bool looksLikeLatex(const QString &text);
};

} // namespace tessary
