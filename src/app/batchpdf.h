#pragma once

#include <QByteArray>
#include <QString>

namespace tessary {

class RichEdit;

// `tessary --export-pdf IN OUT`: prints the document IN into the PDF file OUT as the print
// dialog would with the saved print settings (margins, patterns, fonts), without a display.
// Returns 0, or 1 after one line on stderr; OUT is only ever the whole print-out.
int RunBatchPdf(int &argc, char **argv, const QString &in, const QString &out);

// The print-out itself, inside a running application: a null string, or what went wrong.
// It installs the PDF printer and answering dialogs as the program's services. OUT is checked
// and written as BatchFiles does for every batch command.
QString ExportPdf(const QString &in, const QString &out);
// The same with the file system's own bytes for the names.
QString ExportPdf(const QByteArray &in, const QByteArray &out);

// Prints the document of `editor` with the saved print settings into `pdf`, in memory, headed
// by `title`: a null string, or what went wrong. Installs the same services as ExportPdf.
QString PrintPdf(RichEdit &editor, const QString &title, QByteArray &pdf);

} // namespace tessary
