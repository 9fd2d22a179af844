// File > Export PDF: the batch print-out of the document as it stands, into a file the user
// names, with the notation faces embedded; the window's services are back afterwards.
#include "app/batchpdf.h"
#include "documents/documentfiles.h"
#include "windowtest.h"

#include <QProcess>

using namespace tessary;

namespace {
QString run(const QString &tool, const QStringList &arguments) {
    QProcess p;
    p.start(QStandardPaths::findExecutable(tool), arguments);
    return p.waitForFinished(60000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}
} // namespace

class PdfExportTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty())
            QSKIP("pdftotext and pdffonts (poppler-utils) are not installed");
        test::registerNotationFaces();
    }
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void exportWritesTheBatchPrintOut() {
        const QString document = sandbox->dir.filePath(QStringLiteral("formula.rtf"));
        QTextCursor c(editor()->document());
        CharAttributes even{.face = "Courier New Even", .size = 11};
        CharAttributes high{.face = "Courier New High", .size = 11};
        c.insertText(QStringLiteral("Energy x"), even.toFormat());
        c.insertText(QStringLiteral("2"), high.toFormat());
        sandbox->dialogs->fileNames.enqueue(document);
        QVERIFY(form->documents().FileSaveAs());
        c.insertText(QStringLiteral(" unsaved"), even.toFormat());

        const QString pdf = sandbox->dir.filePath(QStringLiteral("sent.pdf"));
        sandbox->dialogs->fileNames.enqueue(pdf);
        QVERIFY(trigger("FileExportPdf"));
        QCOMPARE(sandbox->dialogs->dialogTitles.last(), QStringLiteral("Export PDF"));
        QCOMPARE(sandbox->dialogs->startPaths.last(), sandbox->dir.filePath("formula.pdf"));
        QVERIFY(sandbox->dialogs->messages.isEmpty());
        const QString text = run("pdftotext", {pdf, "-"});
        QVERIFY2(text.contains("Energy x2 unsaved"), qPrintable(text));
        const QStringList fonts = run("pdffonts", {pdf}).split(u'\n');
        const auto embedded = [&fonts](const QString &face) {
            return std::any_of(fonts.begin(), fonts.end(), [&face](const QString &line) {
                return line.startsWith(QString(face).remove(u' ')) &&
                       line.contains(QRegularExpression(" yes +(yes|no) +yes "));
            });
        };
        QVERIFY2(embedded("Courier New Even") && embedded("Courier New High"),
                 qPrintable(fonts.join(u'\n')));
        // Only the glyphs used go in: the whole page is smaller than one of the faces.
        QVERIFY(QFileInfo(pdf).size() <
                QFileInfo(TESSARY_SOURCE_DIR "/fonts/CourierNewEven.ttf").size());

        // The same print-out as the batch one of the same document; the window's dialogs
        // answer again.
        QVERIFY(form->documents().FileSave());
        const QString batch = sandbox->dir.filePath(QStringLiteral("batch.pdf"));
        auto dialogs = Services::takeDialogs();
        auto printer = Services::takePrinter();
        const QString error = ExportPdf(document, batch);
        Services::setDialogs(std::move(dialogs));
        Services::setPrinter(std::move(printer));
        QVERIFY2(error.isNull(), qPrintable(error));
        QCOMPARE(text, run("pdftotext", {batch, "-"}));
        QVERIFY(trigger("FileExportPdf")); // cancelled in the window's own dialog
        QCOMPARE(sandbox->dialogs->dialogTitles.size(), 3);
    }
};

QTEST_MAIN(PdfExportTest)
#include "tst_pdfexport.moc"
