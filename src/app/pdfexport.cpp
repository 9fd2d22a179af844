#include "app/pdfexport.h"

#include "app/batchpdf.h"
#include "platform/printerservice.h"
#include "platform/services.h"
#include "printing/tfontform.h"
#include "printing/tprintform.h"
#include "richtext/documentstate.h"
#include "richtext/editorcontext.h"
#include "richtext/richedit.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QWidget>

namespace tessary {

PdfExport::PdfExport(EditorContext &context, TPrintForm &printForm, QWidget *window)
    : QObject(window)
    , m(context)
    , m_printForm(printForm)
    , m_window(window) {}

void PdfExport::FileExportPdfExecute() {
    m.HideFnHint();
    const QString out = Services::dialogs().saveFileName(
        m_window, QStringLiteral("Export PDF"), m.Document->proposedName(QStringLiteral(".pdf")),
        QStringLiteral("PDF files (*.pdf)"), QStringLiteral("pdf"));
    if (out.isEmpty())
        return;
    // The print-out reads the print dialog's settings from where the dialog keeps them.
    m_printForm.SavePrintSettings();
    m_printForm.FontForm().SaveFontSettings();

    // The document as it stands, under its own name, which the PDF carries as its title.
    const QString document = m.Document->CurrentFileName();
    QTemporaryDir work;
    const QString in = work.filePath(QFileInfo(document).fileName());
    QSaveFile file(in);
    QString error;
    if (!work.isValid() || !file.open(QIODevice::WriteOnly) ||
        file.write(m.Editor->rtfData()) < 0 || !file.commit()) {
        error = QStringLiteral("Cannot write a work copy of %1.").arg(document);
    } else {
        // The print-out installs a PDF printer and answering dialogs of its own; the
        // window's come back afterwards.
        std::unique_ptr<DialogService> dialogs = Services::takeDialogs();
        std::unique_ptr<PrinterService> printer = Services::takePrinter();
        error = ExportPdf(in, out);
        Services::setDialogs(std::move(dialogs));
        Services::setPrinter(std::move(printer));
        error.replace(in, document);
    }
    if (!error.isEmpty())
        Services::dialogs().message(m_window, QStringLiteral("Tessary"), error,
                                    QMessageBox::Critical);
}

} // namespace tessary
