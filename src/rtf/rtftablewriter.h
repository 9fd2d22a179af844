#pragma once

// What the RTF writer needs to write the text document's tables as RTF rows and cells.

#include "rtf/rtfwriter.h"

#include <QTextBlock>
#include <functional>

namespace tessary::rtf {

// Appends the paragraphs of [start, end) to the snapshot, with the rows and cell ends of the
// tables wholly inside the range; text of a table cut by the range comes as plain paragraphs.
void snapshotParagraphs(const QTextDocument *doc, int start, int end, RtfWriter::Snapshot &shot);
// One block's paragraph and runs (in rtfwriter.cpp).
void appendParagraph(RtfWriter::Snapshot &shot, const QTextBlock &block, int start, int end);
// \trowd … \cellx of a row; `colorIndex` gives a shading colour's \clcbpat number.
QByteArray rowDefinition(const RtfWriter::Snapshot::TableRow &row,
                         const std::function<int(const QColor &)> &colorIndex);

} // namespace tessary::rtf
