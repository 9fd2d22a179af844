#pragma once

#include <QByteArray>

class QTextDocument;

namespace tessary {

// Writes a document, or the character range [start, end) of it, as RTF that other editors
// open. end = -1 is the end of the document, final paragraph mark included.
class RtfWriter {
public:
    static QByteArray write(const QTextDocument *doc, int start = 0, int end = -1);
};

} // namespace tessary
