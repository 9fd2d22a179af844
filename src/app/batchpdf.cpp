#include "app/batchpdf.h"

#include "app/appidentity.h"
#include "documents/documentfiles.h"
#include "editor/fontboxes.h"
#include "platform/fontregistry.h"
#include "platform/printerservice.h"
#include "platform/richedit.h"
#include "platform/services.h"
#include "printing/tprintform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <filesystem>
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

QString loadError(RichEdit &editor, const QString &in) {
    const QFileInfo info(in);
    if (!info.isFile())
        return QStringLiteral("%1: no such file").arg(in);
    if (info.size() > DocumentFiles::kMaxFileSize)
        return QStringLiteral("%1: larger than %2 bytes").arg(in).arg(DocumentFiles::kMaxFileSize);
    QFile file(in);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: %2").arg(in, file.errorString());
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("%1: %2").arg(in, file.errorString());
    if (editor.loadData(data) == RichEdit::LoadResult::Failed)
        return QStringLiteral("%1: not a document Tessary can read").arg(in);
    return {};
}

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
    const QFileInfo target(out);
    if (!target.absoluteDir().exists())
        return QStringLiteral("%1: the folder does not exist").arg(out);
    // The print-out goes to a work file beside OUT, renamed over it once it is whole.
    QTemporaryFile work(target.absoluteFilePath() + QStringLiteral(".XXXXXX.part"));
    if (!work.open())
        return QStringLiteral("%1: %2").arg(out, work.errorString());
    work.close();

    auto dialogs = std::make_unique<BatchDialogs>(work.fileName());
    BatchDialogs *answers = dialogs.get();
    Services::setDialogs(std::move(dialogs));
    Services::setPrinter(std::make_unique<SystemPrinter>(SystemPrinter::Kind::Pdf));

    QWidget host;
    RichEdit editor(&host);
    if (const QString error = loadError(editor, in); !error.isEmpty())
        return error;
    FontBoxes boxes(&host);
    TPrintForm form(&editor, boxes, &host);
    if (const QString refused = form.CheckLengths(); !refused.isNull())
        return QStringLiteral("the saved print settings: %1").arg(refused);
    TRichEditPrintJob &job = form.RichEditPrintJob();
    job.SetTitle(QFileInfo(in).fileName());
    job.Refresh();
    job.PrintPages(1, job.PageCount(), {});
    if (!answers->error.isEmpty())
        return QStringLiteral("%1: %2").arg(out, answers->error);
    if (QFileInfo(work.fileName()).size() == 0)
        return QStringLiteral("%1: the PDF printer wrote nothing").arg(out);
    std::error_code renamed;
    std::filesystem::rename(work.fileName().toStdString(), out.toStdString(), renamed);
    if (renamed)
        return QStringLiteral("%1: %2").arg(out, QString::fromStdString(renamed.message()));
    work.setAutoRemove(false);
    return {};
}

} // namespace tessary
