#pragma once

#include <QString>

namespace tessary {

// `tessary --export-pdf IN OUT`: prints the document IN into the PDF file OUT as the print
// dialog would with the saved print settings (margins, patterns, fonts), without a display.
// Returns 0, or 1 after one line on stderr; OUT is only ever the whole print-out.
int RunBatchPdf(int &argc, char **argv, const QString &in, const QString &out);

// The print-out itself, inside a running application: a null string, or what went wrong.
// It installs the PDF printer and answering dialogs as the program's services.
QString ExportPdf(const QString &in, const QString &out);

} // namespace tessary
