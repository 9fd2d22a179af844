#pragma once

#include <QByteArray>
#include <QString>

namespace tessary {

class RichEdit;

// What every batch command does with its files, whatever it writes: the input is read as the
// Open command reads it, the output is checked before the work and written whole at the end.
// Names are the file system's own bytes (QFile::encodeName), so any name the shell passes works.
// Each function returns a null string, or the command's one error line.
namespace BatchFiles {

// "-" names standard input as IN and standard output as OUT.
inline bool isStandardStream(const QByteArray &name) {
    return name == "-";
}

// The document into `editor`: RTF, else plain text in Courier New 10. A file that is not a
// regular file, or too large to be read, is refused with the window's message.
// Standard input is read to its end and is text when it is not RTF.
QString load(RichEdit &editor, const QByteArray &in);

// Before any work: OUT must not be IN (also through a link), nor a folder or a read-only file.
// Standard output is always taken.
QString checkOutput(const QByteArray &out, const QByteArray &in);

// The whole output, through SafeOutput; to standard output as it comes.
QString write(const QByteArray &out, const QByteArray &bytes);

// A message box text as one line of stderr.
QString oneLine(const QString &text);

} // namespace BatchFiles

} // namespace tessary
