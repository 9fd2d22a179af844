#pragma once

#include <QTextCursor>

class QMimeData;

namespace tessary {

// Clipboard data for the selection: RTF under the names other programs look for, and plain
// text. The caller owns the result.
QMimeData *mimeFromSelection(const QTextCursor &cursor);

// Inserts clipboard data at the cursor, replacing its selection: RTF from any program first,
// else HTML, else plain text. Returns false when none of them is present.
bool insertMime(const QMimeData *mime, QTextCursor &cursor);

} // namespace tessary
