// File > Export PDF: the print-out of the document as it stands, the notation faces embedded
// (only their used glyphs), into the file the user names; the window's dialogs answer again.
#include "windowtest.h"

using namespace tessary;

class PdfExportTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void exportWritesThePrintOutWithItsFaces() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty())
            QSKIP("pdftotext and pdffonts (poppler-utils) are not installed");
        test::registerNotationFaces();
        QTextCursor c(editor()->document());
        c.insertText("Energy x", CharAttributes{.face = "Courier New Even", .size = 11}.toFormat());
        c.insertText("2", CharAttributes{.face = "Courier New High", .size = 11}.toFormat());
        form->documentState().setSaved(sandbox->dir.filePath("formula.rtf"));
        const QString pdf = sandbox->dir.filePath(QStringLiteral("sent.pdf"));
        sandbox->dialogs->fileNames.enqueue(pdf);
        QVERIFY(trigger("FileExportPdf"));
        QCOMPARE(sandbox->dialogs->startPaths, QStringList{sandbox->dir.filePath("formula.pdf")});
        QVERIFY(sandbox->dialogs->messages.isEmpty());
        auto run = [&pdf](const char *tool, QStringList arguments) {
            QProcess p;
            p.start(QString::fromLatin1(tool), QStringList{pdf} + arguments);
            return p.waitForFinished() ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
        };
        QCOMPARE(run("pdftotext", {"-"}).trimmed(), "Energy x2");
        const QString fonts = run("pdffonts", {});
        for (const char *face : {"CourierNewEven", "CourierNewHigh"})
            QVERIFY2(
                fonts.contains(QRegularExpression(QString("\\n%1 .* yes +\\w+ +yes ").arg(face))),
                qPrintable(fonts));
        QVERIFY(QFileInfo(pdf).size() <
                QFileInfo(TESSARY_SOURCE_DIR "/fonts/CourierNewEven.ttf").size());
        QVERIFY(trigger("FileExportPdf")); // cancelled in the window's own dialog service
        QCOMPARE(sandbox->dialogs->startPaths.size(), 2);
    }
};

QTEST_MAIN(PdfExportTest)
#include "tst_pdfexport.moc"
