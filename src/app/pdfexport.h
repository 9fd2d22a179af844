#pragma once

#include <QObject>

class QWidget;

namespace tessary {

struct EditorContext;
class TPrintForm;

// File > Export PDF...: the document as it stands, printed into a PDF file the user names,
// the same print-out that `tessary --export-pdf` makes of the saved file, with the print
// dialog's margins, headers and fonts and the notation faces embedded.
class PdfExport : public QObject {
    Q_OBJECT
public:
    PdfExport(EditorContext &context, TPrintForm &printForm, QWidget *window);

    void FileExportPdfExecute();

private:
    EditorContext &m;
    TPrintForm &m_printForm;
    QWidget *m_window;
};

} // namespace tessary
