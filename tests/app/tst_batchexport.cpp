#include "app/batchexport.h"
#include "app/commandline.h"
#include "testsupport.h"

#include <QFile>
#include <QtTest>

using namespace tessary;

class BatchExportTest : public QObject {
    Q_OBJECT
private slots:
    // Each row names IN and OUT inside a temporary folder; "old.html" holds an older page.
    void exportWritesThePageOrNothing_data() {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("expected"); // in the page, or the whole OUT after a failure
        QTest::newRow("nominal: rtf")
            << "a.rtf"
            << "a.html" << 0 << QByteArray("<SPAN class=s12>a&lt;b&#233;");
        QTest::newRow("nominal: plain text in Courier New 10")
            << "a.txt"
            << "old.html" << 0 << QByteArray("<SPAN class=f11><SPAN class=s10>plain");
        QTest::newRow("robustness: missing input") << "none.rtf"
                                                   << "old.html" << 1 << QByteArray("older");
        QTest::newRow("robustness: folder that does not exist")
            << "a.rtf"
            << "no/such/a.html" << 1 << QByteArray();
        QTest::newRow("robustness: output is the input") << "a.rtf"
                                                         << "a.rtf" << 1 << QByteArray("{\\rtf1");
    }

    void exportWritesThePageOrNothing() {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QFETCH(QByteArray, expected);
        test::Sandbox sandbox;
        const QDir dir(sandbox.dir.path());
        auto write = [&dir](const char *name, const QByteArray &bytes) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        QVERIFY(write("a.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 a<b\\'e9\\par}"));
        QVERIFY(write("a.txt", "plain text"));
        QVERIFY(write("old.html", "older"));

        const auto line = CommandLine::parse(
            {QStringLiteral("--export-html"), dir.filePath(in), dir.filePath(out)});
        QFETCH(int, exitCode);
        QCOMPARE(ExportHtml(line), exitCode);
        QFile result(dir.filePath(out));
        if (expected.isEmpty()) {
            QVERIFY(!result.exists());
            return;
        }
        QVERIFY(result.open(QIODevice::ReadOnly));
        const QByteArray bytes = result.readAll();
        QVERIFY2(exitCode == 0 ? bytes.contains(expected) : bytes.startsWith(expected), bytes);
    }
};

QTEST_MAIN(BatchExportTest)
#include "tst_batchexport.moc"
