#pragma once

#include <QString>

class QTextDocument;

namespace tessary {

// A whole document as a LaTeX file for pdflatex: its paragraphs with their alignment and
// indents, prose in its sizes, bold and italic, the notation as math, destination anchors as
// hyperref targets and source anchors as links to them.
namespace LatexDocument {
QString write(const QTextDocument *document);
} // namespace LatexDocument

} // namespace tessary
