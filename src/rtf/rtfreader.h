#pragma once

#include <QByteArray>
#include <QTextCursor>

namespace tessary {

// Reads RTF as written by this program and by other editors into a QTextDocument.
class RtfReader {
public:
    enum class Mode {
        // A whole file: a final \par ends the last paragraph instead of adding an empty one,
        // and the last paragraph takes the properties in effect at the end.
        Document,
        // Pasted text: every \par is a break, and text after the last \par keeps the
        // paragraph properties of the place it is pasted into.
        Fragment
    };

    static bool looksLikeRtf(const QByteArray &data);
    // Inserts the document at the cursor (replacing its selection) as one undo step. Returns
    // false when the data is not RTF; malformed RTF loads as much as can be read.
    static bool read(const QByteArray &data, QTextCursor &cursor, Mode mode = Mode::Document);
};

} // namespace tessary
