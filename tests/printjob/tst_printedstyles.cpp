#include "printjob/pagetests.h"
#include "printjob/tricheditprintjob.h"
#include "testsupport.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace tessary;

// Bold notation prints bold, as the editor shows it, and stays text in the PDF.
class PrintedStylesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        test::registerNotationFaces();
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
    }

    void boldNotationPrintsBoldInThePdf() {
        const auto [regular, regularText] = printedPage(false);
        const auto [bold, boldText] = printedPage(true);
        QVERIFY(regular > 0);
        QVERIFY2(bold > regular * 1.25,
                 qPrintable(QString("%1 against %2").arg(bold).arg(regular)));
        QVERIFY(boldText.contains(QStringLiteral("abcdhkmwxz = xyz")));
        QCOMPARE(boldText, regularText);
    }

private:
    // Forty lines of notation letters, bold or not, printed to a PDF file: the ink of its page
    // rasterised at 96 ppi, and its text.
    QPair<int, QString> printedPage(bool bold) {
        test::Sandbox sandbox;
        Services::setPrinter(std::make_unique<SystemPrinter>(SystemPrinter::Kind::Pdf));
        RichEdit edit;
        for (int line = 0; line < 40; ++line)
            edit.replaceRange(
                edit.textLength(), 0, QStringLiteral("abcdhkmwxz = xyz\n"),
                {.face = QStringLiteral("Courier New Even"), .size = 11, .bold = bold},
                CharAttributes::All);
        TRichEditPrintJob job;
        job.SetRichEdit(&edit);
        const QString file = sandbox.dir.filePath(QStringLiteral("page.pdf"));
        sandbox.dialogs->fileNames.enqueue(file);
        job.PrintPages(1, 1);
        const auto run = [](const QString &program, const QStringList &arguments) {
            QProcess process;
            process.start(program, arguments);
            process.waitForFinished();
            return QString::fromUtf8(process.readAllStandardOutput());
        };
        run(QStringLiteral("pdftoppm"), {"-r", "96", "-gray", "-singlefile", file,
                                         sandbox.dir.filePath(QStringLiteral("page"))});
        const QImage page(sandbox.dir.filePath(QStringLiteral("page.pgm")));
        return {page.isNull() ? -1 : test::inkPixels(page),
                run(QStringLiteral("pdftotext"), {file, "-"}).simplified()};
    }
};

QTEST_MAIN(PrintedStylesTest)
#include "tst_printedstyles.moc"
