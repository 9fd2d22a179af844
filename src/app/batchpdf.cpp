#include "app/batchpdf.h"

#include "app/appidentity.h"
#include "app/batchfiles.h"
#include "editor/fontboxes.h"
#include "platform/fontregistry.h"
#include "platform/printerservice.h"
#include "platform/services.h"
#include "printing/tprintform.h"
#include "richtext/richedit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <memory>

namespace tessary {

namespace {

// Answers the PDF printer's file question with the work file and keeps the first message
// the print-out raised (a refused margin, a failed save) as the error to report.
class BatchDialogs : public DialogService {
public:
    explicit BatchDialogs(const QString &pdfPath)
        : m_pdfPath(pdfPath) {}
    QString error;
    void message(QWidget *, const QString &, const QString &text, QMessageBox::Icon) override {
        if (error.isEmpty())
            error = text.simplified();
    }
    QMessageBox::StandardButton ask(QWidget *, const QString &, const QString &,
                                    QMessageBox::StandardButtons, QMessageBox::Icon) override {
        return QMessageBox::Yes;
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &,
                         const QString &) override {
        return m_pdfPath;
    }

private:
    QString m_pdfPath;
};

} // namespace

int RunBatchPdf(int &argc, char **argv, const QString &in, const QString &out) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    AppIdentity::apply();
    FontRegistry::registerNotationFaces(FontRegistry::dataDirectory() + QStringLiteral("/fonts"));
    const QString error = ExportPdf(in, out);
    if (error.isNull())
        return 0;
    std::fprintf(stderr, "tessary: %s\n", qPrintable(error));
    return 1;
}

QString ExportPdf(const QString &in, const QString &out) {
    return ExportPdf(QFile::encodeName(in), QFile::encodeName(out));
}

QString ExportPdf(const QByteArray &in, const QByteArray &out) {
    if (const QString refused = BatchFiles::checkOutput(out, in); !refused.isNull())
        return refused;
    QWidget host;
    RichEdit editor(&host);
    if (const QString error = BatchFiles::load(editor, in); !error.isNull())
        return error;
    QByteArray pdf;
    // Standard input has no name for the headers to show.
    const QString title =
        BatchFiles::isStandardStream(in) ? QString() : QFileInfo(QFile::decodeName(in)).fileName();
    if (const QString error = PrintPdf(editor, title, pdf); !error.isNull())
        return QStringLiteral("%1: %2").arg(QFile::decodeName(out), error);
    return BatchFiles::write(out, pdf);
}

QString PrintPdf(RichEdit &editor, const QString &title, QByteArray &pdf) {
    // The PDF printer writes a file by name; a private work file holds it until it is whole.
    QTemporaryFile work(QDir::temp().filePath(QStringLiteral("tessary-XXXXXX.pdf")));
    if (!work.open())
        return work.errorString();
    work.close();

    auto dialogs = std::make_unique<BatchDialogs>(work.fileName());
    BatchDialogs *answers = dialogs.get();
    Services::setDialogs(std::move(dialogs));
    Services::setPrinter(std::make_unique<SystemPrinter>(SystemPrinter::Kind::Pdf));

    QWidget host;
    FontBoxes boxes(&host);
    TPrintForm form(&editor, boxes, &host);
    if (const QString refused = form.CheckLengths(); !refused.isNull())
        return QStringLiteral("the saved print settings: %1").arg(refused);
    TRichEditPrintJob &job = form.RichEditPrintJob();
    job.SetTitle(title);
    job.Refresh();
    job.PrintPages(1, job.PageCount(), {});
    if (!answers->error.isEmpty())
        return answers->error;
    QFile written(work.fileName());
    if (!written.open(QIODevice::ReadOnly))
        return written.errorString();
    pdf = written.readAll();
    if (written.error() != QFileDevice::NoError)
        return written.errorString();
    if (pdf.isEmpty())
        return QStringLiteral("the PDF printer wrote nothing");
    return {};
}

} // namespace tessary
