#include "app/batchpdf.h"
#include "platform/settingsstore.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

using namespace tessary;

class BatchPdfTest : public QObject {
    Q_OBJECT
private slots:
    void init() { sandbox = std::make_unique<test::Sandbox>(); }
    void cleanup() { sandbox.reset(); }

    void documentIsPrintedWithTheSavedHeaders() {
        SettingsStore::instance().writeString(QStringLiteral("Software\\Tessary\\Params"),
                                              QStringLiteral("RHPT"),
                                              QStringLiteral(".page of .numpages"));
        const QString in = writeDocument("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 "
                                         "First paragraph\\par Second paragraph\\par}");
        const QString out = sandbox->dir.filePath(QStringLiteral("out.pdf"));
        QCOMPARE(ExportPdf(in, out), QString());
        QFile pdf(out);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        QVERIFY(leftovers().isEmpty());
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed");
        QProcess run;
        run.start(pdftotext, {QStringLiteral("-layout"), out, QStringLiteral("-")});
        QVERIFY(run.waitForFinished(60000));
        const QString text = QString::fromUtf8(run.readAllStandardOutput());
        QVERIFY2(text.indexOf(QLatin1String("1 of 1")) < text.indexOf(QLatin1String("First")),
                 qPrintable(text));
        QVERIFY(text.indexOf(QLatin1String("First")) < text.indexOf(QLatin1String("Second")));
    }

    void failureLeavesNoOutput_data() {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("robustness: no such document") << "missing.rtf"
                                                      << "out.pdf";
        QTest::newRow("robustness: no such folder") << "in.rtf"
                                                    << "nowhere/out.pdf";
    }

    void failureLeavesNoOutput() {
        QFETCH(QString, in);
        QFETCH(QString, out);
        writeDocument("{\\rtf1 text\\par}");
        const QString target = sandbox->dir.filePath(out);
        const QString error = ExportPdf(sandbox->dir.filePath(in), target);
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(target));
        QVERIFY(leftovers().isEmpty());
    }

private:
    QString writeDocument(const QByteArray &rtf) {
        const QString path = sandbox->dir.filePath(QStringLiteral("in.rtf"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(rtf);
        return path;
    }
    QStringList leftovers() const {
        return QDir(sandbox->dir.path()).entryList({QStringLiteral("*.part")}, QDir::Files);
    }
    std::unique_ptr<test::Sandbox> sandbox;
};

QTEST_MAIN(BatchPdfTest)
#include "tst_batchpdf.moc"
