#include "app/appidentity.h"
#include "app/batchexport.h"
#include "app/batchpdf.h"
#include "app/commandline.h"
#include "platform/settingsstore.h"
#include "testsupport.h"

#include <QGuiApplication>
#include <QtTest>

using namespace tessary;
using Mode = CommandLine::Mode;

namespace {
// Writes the batch commands' inputs into `dir`: a.rtf, a.txt and an older page old.html.
bool writeInputs(const QDir &dir) {
    const std::pair<const char *, QByteArray> files[] = {
        {"a.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 a<b\\'e9\\par Second\\par}"},
        {"a.txt", "plain text"},
        {"old.html", "older"}};
    for (const auto &[name, bytes] : files) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
    }
    return true;
}
} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QStringList>("operands");
        using L = QStringList;
        // clang-format off
        QTest::newRow("files") << L{"a.rtf", "b.rtf"} << Mode::Edit << L{"a.rtf", "b.rtf"};
        QTest::newRow("version") << L{"-v"} << Mode::Version << L{};
        QTest::newRow("toolkit's single-dash options") << L{"-style", "x.rtf"} << Mode::Edit << L{"x.rtf"};
        QTest::newRow("file after --") << L{"--", "--help"} << Mode::Edit << L{"--help"};
        QTest::newRow("export-html with options") << L{"--export-html", "a.rtf", "--title", "T", "a.html"} << Mode::ExportHtml << L{"a.rtf", "a.html"};
        QTest::newRow("export-html without its page") << L{"--export-html", "a.rtf"} << Mode::Invalid << L{};
        QTest::newRow("unknown option") << L{"--bogus"} << Mode::Invalid << L{};
        QTest::newRow("help with a file") << L{"--help", "a.rtf"} << Mode::Invalid << L{};
        QTest::newRow("export pdf") << L{"--export-pdf", "a.rtf", "a.pdf"} << Mode::ExportPdf << L{"a.rtf", "a.pdf"};
        QTest::newRow("two commands") << L{"--help", "--version"} << Mode::Invalid << L{};
        // clang-format on
    }

    void parse() {
        QFETCH(QStringList, arguments);
        QFETCH(Mode, mode);
        const CommandLine line = CommandLine::parse(arguments);
        QCOMPARE(line.mode(), mode);
        QTEST(line.operands(), "operands");
        QCOMPARE(line.error().isEmpty(), mode != Mode::Invalid);
        QCOMPARE(line.needsDisplay(), mode == Mode::Edit);
    }

    // The desktop shows a window title with the display name appended unless none was set.
    void windowTitlesAreLeftAsSet() {
        AppIdentity::apply();
        QCOMPARE(QGuiApplication::applicationName(), QStringLiteral("Tessary"));
        QGuiApplication::setApplicationName(QStringLiteral("probe"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
    }

    void batchCommandWritesTheFileOrNothing_data() {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QByteArray>("expected"); // in the page, or the whole OUT after a failure
        // clang-format off
        QTest::newRow("html: rtf") << false << true << "a.rtf" << "a.html" << QByteArray("<SPAN class=s12>a&lt;b&#233;");
        QTest::newRow("html: plain text in Courier New 10") << false << true << "a.txt" << "old.html" << QByteArray("<SPAN class=f11><SPAN class=s10>plain");
        QTest::newRow("html: missing input") << false << false << "none.rtf" << "old.html" << QByteArray("older");
        QTest::newRow("html: folder that does not exist") << false << false << "a.rtf" << "no/such/a.html" << QByteArray();
        QTest::newRow("html: output is the input") << false << false << "a.rtf" << "a.rtf" << QByteArray("{\\rtf1");
        QTest::newRow("pdf: rtf") << true << true << "a.rtf" << "a.pdf" << QByteArray("%PDF-");
        QTest::newRow("pdf: missing input") << true << false << "none.rtf" << "old.html" << QByteArray("older");
        QTest::newRow("pdf: folder that does not exist") << true << false << "a.rtf" << "no/such/a.pdf" << QByteArray();
        // clang-format on
    }

    void batchCommandWritesTheFileOrNothing() {
        QFETCH(bool, pdf);
        QFETCH(bool, succeeds);
        QFETCH(QString, in);
        QFETCH(QString, out);
        QFETCH(QByteArray, expected);
        test::Sandbox sandbox;
        const QDir dir(sandbox.dir.path());
        QVERIFY(writeInputs(dir));
        if (pdf) {
            QCOMPARE(ExportPdf(dir.filePath(in), dir.filePath(out)).isEmpty(), succeeds);
        } else {
            const auto line = CommandLine::parse(
                {QStringLiteral("--export-html"), dir.filePath(in), dir.filePath(out)});
            QCOMPARE(ExportHtml(line), succeeds ? 0 : 1);
        }
        QFile result(dir.filePath(out));
        QCOMPARE(result.exists(), !expected.isEmpty());
        if (result.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = result.readAll();
            QVERIFY2(succeeds ? bytes.contains(expected) : bytes.startsWith(expected), bytes);
        }
        QCOMPARE(dir.entryList({QStringLiteral("*.part")}, QDir::Files), QStringList());
    }

    void pdfRefusesSavedLengthsThatLeaveNoRoom() {
        for (const auto &[name, value, error] :
             {std::tuple{"LMED", "100", "100 leaves no room for the text."},
              {"HHED", "20", "20 leaves no room for the text."},
              {"RMED", "-1", "-1 is less than zero."}}) {
            test::Sandbox sandbox;
            SettingsStore::instance().writeString(QStringLiteral("Software\\Tessary\\Params"),
                                                  QLatin1String(name), QLatin1String(value));
            const QDir dir(sandbox.dir.path());
            QVERIFY(writeInputs(dir));
            QCOMPARE(ExportPdf(dir.filePath("a.rtf"), dir.filePath("a.pdf")),
                     QStringLiteral("the saved print settings: ") + QLatin1String(error));
            QVERIFY(!dir.exists(QStringLiteral("a.pdf")));
        }
    }

    void pdfCarriesTheSavedHeaders() {
        test::Sandbox sandbox;
        SettingsStore::instance().writeString(QStringLiteral("Software\\Tessary\\Params"),
                                              QStringLiteral("RHPT"),
                                              QStringLiteral(".page of .numpages"));
        const QDir dir(sandbox.dir.path());
        QVERIFY(writeInputs(dir));
        QCOMPARE(ExportPdf(dir.filePath("a.rtf"), dir.filePath("a.pdf")), QString());
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed");
        QProcess run;
        run.start(pdftotext, {QStringLiteral("-layout"), dir.filePath("a.pdf"), "-"});
        QVERIFY(run.waitForFinished(60000));
        const QString text = QString::fromUtf8(run.readAllStandardOutput());
        QVERIFY2(text.indexOf(QLatin1String("1 of 1")) < text.indexOf(QLatin1String("a<b")),
                 qPrintable(text));
        QVERIFY(text.indexOf(QLatin1String("a<b")) < text.indexOf(QLatin1String("Second")));
    }
};

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
