#include "app/appidentity.h"
#include "app/commandline.h"

#include <QGuiApplication>
#include <QtTest>

using namespace tessary;
using Mode = CommandLine::Mode;

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QStringList>("operands");
        QTest::newRow("nominal: no file") << QStringList{} << Mode::Edit << QStringList{};
        QTest::newRow("nominal: files")
            << QStringList{"a.rtf", "b.rtf"} << Mode::Edit << QStringList{"a.rtf", "b.rtf"};
        QTest::newRow("nominal: help") << QStringList{"--help"} << Mode::Help << QStringList{};
        QTest::newRow("nominal: version") << QStringList{"-v"} << Mode::Version << QStringList{};
        QTest::newRow("toolkit: single-dash options are left alone")
            << QStringList{"-style", "x.rtf"} << Mode::Edit << QStringList{"x.rtf"};
        QTest::newRow("file after --")
            << QStringList{"--", "--help"} << Mode::Edit << QStringList{"--help"};
        QTest::newRow("nominal: export-html with its options")
            << QStringList{"--export-html", "a.rtf", "--title", "T", "a.html"} << Mode::ExportHtml
            << QStringList{"a.rtf", "a.html"};
        QTest::newRow("robustness: export-html without its page")
            << QStringList{"--export-html", "a.rtf"} << Mode::Invalid << QStringList{};
        QTest::newRow("robustness: unknown option")
            << QStringList{"--bogus"} << Mode::Invalid << QStringList{};
        QTest::newRow("robustness: help with a file")
            << QStringList{"--help", "a.rtf"} << Mode::Invalid << QStringList{};
        QTest::newRow("nominal: export pdf") << QStringList{"--export-pdf", "a.rtf", "a.pdf"}
                                             << Mode::ExportPdf << QStringList{"a.rtf", "a.pdf"};
        QTest::newRow("robustness: export pdf without its output")
            << QStringList{"--export-pdf", "a.rtf"} << Mode::Invalid << QStringList{};
        QTest::newRow("robustness: two commands")
            << QStringList{"--help", "--version"} << Mode::Invalid << QStringList{};
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
};

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
