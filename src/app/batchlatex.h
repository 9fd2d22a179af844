#pragma once

#include <QByteArray>
#include <QString>

namespace tessary {

class RichEdit;

// `tessary --export-latex IN OUT`: the document IN as the LaTeX file OUT, without a display.
// IN is read and OUT checked and written as every batch command does (BatchFiles): a null
// string, or the command's one error line.
QString ExportLatex(const QByteArray &in, const QByteArray &out);

// The LaTeX file of the document in `editor`, as UTF-8.
QByteArray LatexFile(const RichEdit &editor);

} // namespace tessary
