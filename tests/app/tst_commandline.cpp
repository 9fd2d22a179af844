#include "app/appidentity.h"
#include "app/batchexport.h"
#include "app/batchpdf.h"
#include "app/commandline.h"
#include "documents/documentsize.h"
#include "pipereader.h"
#include "testsupport.h"

#include <QGuiApplication>
#include <QtTest>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace tessary;
using Mode = CommandLine::Mode;

namespace {
// Writes the batch commands' inputs into `dir`: a.rtf, a.txt, an older page old.html, a
// read-only ro.html, big.rtf over the window's size limit, huge.rtf (sparse) too large to be
// read, a.rtf's bytes as NOTE.RTF, and two more names of a.rtf.
bool writeInputs(const QDir &dir) {
    const std::pair<const char *, QByteArray> files[] = {
        {"a.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 a<b\\'e9\\par Second\\par}"},
        {"NOTE.RTF", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 a<b\\'e9\\par Second\\par}"},
        {"a.txt", "plain text"},
        {"old.html", "older"},
        {"ro.html", "older"},
        {"big.rtf", (QByteArray(79, 'a') + '\n').repeated(6401)},
        {"huge.rtf", {}}};
    for (const auto &[name, bytes] : files) {
        if (!test::writeBytes(dir.filePath(QString::fromLatin1(name)), bytes))
            return false;
    }
    const QByteArray a = QFile::encodeName(dir.filePath("a.rtf"));
    return ::truncate(QFile::encodeName(dir.filePath("huge.rtf")).constData(),
                      DocumentSize::kReadLimit + 1) == 0 &&
           ::chmod(QFile::encodeName(dir.filePath("ro.html")).constData(), 0444) == 0 &&
           ::symlink("a.rtf", QFile::encodeName(dir.filePath("link.rtf")).constData()) == 0 &&
           ::link(a.constData(), QFile::encodeName(dir.filePath("hard.rtf")).constData()) == 0;
}

// Runs a batch export on names given as the file system's bytes, as main() passes them.
bool exported(bool pdf, const QByteArray &in, const QByteArray &out) {
    if (pdf)
        return ExportPdf(in, out).isNull();
    QByteArray words[] = {"tessary", "--export-html", in, out};
    char *argv[] = {words[0].data(), words[1].data(), words[2].data(), words[3].data()};
    return ExportHtml(CommandLine::parse(4, argv)) == 0;
}

QByteArray native(const QDir &dir, const QString &name) {
    return QFile::encodeName(dir.filePath(name));
}

// Runs `run` with the file `path` in place of the descriptor `fd` (standard input or output).
bool withStream(int fd, const QByteArray &path, int flags, const std::function<bool()> &run) {
    std::fflush(stdout);
    const int saved = ::dup(fd);
    const int file = ::open(path.constData(), flags, 0644);
    if (saved < 0 || file < 0 || ::dup2(file, fd) < 0)
        return false;
    ::close(file);
    const bool done = run();
    return ::dup2(saved, fd) >= 0 && ::close(saved) == 0 && done;
}

// Restores the umask whatever a test does.
struct UmaskGuard {
    mode_t saved = ::umask(022);
    ~UmaskGuard() { ::umask(saved); }
};
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
        QCOMPARE(QGuiApplication::applicationName(), "Tessary");
        QGuiApplication::setApplicationName(QStringLiteral("probe"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), "probe");
    }

    void batchCommandWritesTheFileOrNothing_data() {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QByteArray>("expected"); // in the page, or the whole OUT after a failure
        // clang-format off
        QTest::newRow("html: rtf") << false << true << "a.rtf" << "a.html" << QByteArray("<SPAN class=s12>a&lt;b&#233;");
        QTest::newRow("html: upper-case suffix, still rtf") << false << true << "NOTE.RTF" << "a.html" << QByteArray("<SPAN class=s12>a&lt;b&#233;");
        QTest::newRow("html: plain text in Courier New 10") << false << true << "a.txt" << "old.html" << QByteArray("<SPAN class=f11><SPAN class=s10>plain");
        QTest::newRow("html: missing input") << false << false << "none.rtf" << "old.html" << QByteArray("older");
        QTest::newRow("html: folder that does not exist") << false << false << "a.rtf" << "no/such/a.html" << QByteArray();
        QTest::newRow("html: output is the input") << false << false << "a.rtf" << "a.rtf" << QByteArray("{\\rtf1");
        QTest::newRow("pdf: rtf") << true << true << "a.rtf" << "a.pdf" << QByteArray("%PDF-");
        QTest::newRow("pdf: missing input") << true << false << "none.rtf" << "old.html" << QByteArray("older");
        QTest::newRow("pdf: folder that does not exist") << true << false << "a.rtf" << "no/such/a.pdf" << QByteArray();
        QTest::newRow("pdf: output is the input") << true << false << "a.rtf" << "a.rtf" << QByteArray("{\\rtf1");
        QTest::newRow("pdf: output is a hard link to the input") << true << false << "a.rtf" << "hard.rtf" << QByteArray("{\\rtf1");
        QTest::newRow("html: output is a symbolic link to the input") << false << false << "a.rtf" << "link.rtf" << QByteArray("{\\rtf1");
        QTest::newRow("pdf: read-only output") << true << false << "a.rtf" << "ro.html" << QByteArray("older");
        QTest::newRow("html: read-only output") << false << false << "a.rtf" << "ro.html" << QByteArray("older");
        QTest::newRow("html: input over the window's size limit, named so is wanted") << false << true << "big.rtf" << "old.html" << QByteArray("aaaa");
        QTest::newRow("pdf: input too large to read") << true << false << "huge.rtf" << "old.html" << QByteArray("older");
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
        QCOMPARE(exported(pdf, native(dir, in), native(dir, out)), succeeds);
        const QByteArray bytes = test::readFile(dir.filePath(out));
        QCOMPARE(QFile::exists(dir.filePath(out)), !expected.isEmpty());
        QVERIFY(succeeds ? bytes.contains(expected) : bytes.startsWith(expected));
        QCOMPARE(dir.entryList({QStringLiteral("*.part")}, QDir::Files), QStringList());
    }

    void batchOutputHonoursNamesModesAndDevices_data() {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("pdf") << true << QByteArray("%PDF-");
        QTest::newRow("html") << false << QByteArray("\r\n<!DOCTYPE HTML");
    }

    void batchOutputHonoursNamesModesAndDevices() {
        QFETCH(bool, pdf);
        QFETCH(QByteArray, header);
        test::Sandbox sandbox;
        const QDir dir(sandbox.dir.path());
        QVERIFY(writeInputs(dir));
        UmaskGuard guard;
        // A name that is not valid UTF-8 is read and written under its own bytes.
        const QByteArray in = native(dir, "in") + "\377.rtf", out = native(dir, "out") + "\377";
        QVERIFY(::link(native(dir, "a.rtf").constData(), in.constData()) == 0);
        ::umask(027);
        QVERIFY(exported(pdf, in, out));
        struct stat st {};
        QVERIFY(::stat(out.constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
        // An existing file keeps its mode; a symbolic link to it stays a link.
        const QByteArray link = native(dir, "link.out");
        QVERIFY(::chmod(out.constData(), 0604) == 0 &&
                ::symlink(out.constData(), link.constData()) == 0);
        QVERIFY(exported(pdf, in, link));
        QVERIFY(::lstat(link.constData(), &st) == 0 && S_ISLNK(st.st_mode));
        QVERIFY(::stat(out.constData(), &st) == 0 && st.st_size > 100);
        QCOMPARE(st.st_mode & 07777, mode_t(0604));

        // A full device is a failure and stays a device.
        QVERIFY(!exported(pdf, in, "/dev/full"));
        QVERIFY(::stat("/dev/full", &st) == 0 && S_ISCHR(st.st_mode));

        // A named pipe gets the page and stays a pipe.
        const QByteArray fifo = native(dir, "pipe");
        bool piped = false;
        const QByteArray received =
            test::throughPipe(fifo, [&] { piped = exported(pdf, in, fifo); });
        QVERIFY(piped && received.startsWith(header));
        QVERIFY(::stat(fifo.constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    }

    // "-" is standard input as IN and standard output as OUT; standard input has no suffix, so
    // what is not RTF is text.
    void dashIsTheStandardStream_data() {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QString>("in");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("html from rtf") << false << "a.rtf" << QByteArray("<SPAN class=s12>a&lt;b");
        QTest::newRow("html from text")
            << false << "a.txt" << QByteArray("class=f11><SPAN class=s10>plain");
        QTest::newRow("pdf from rtf") << true << "a.rtf" << QByteArray("%PDF-");
    }

    void dashIsTheStandardStream() {
        QFETCH(bool, pdf);
        QFETCH(QString, in);
        QFETCH(QByteArray, expected);
        test::Sandbox sandbox;
        const QDir dir(sandbox.dir.path());
        QVERIFY(writeInputs(dir));
        const QByteArray page = native(dir, "page.out");
        // Through standard input into a file, then from the file through standard output.
        QVERIFY(withStream(STDIN_FILENO, native(dir, in), O_RDONLY,
                           [&] { return exported(pdf, "-", page); }));
        QVERIFY(test::readFile(dir.filePath("page.out")).contains(expected));
        if (pdf)
            return;
        const QByteArray piped = native(dir, "piped.out");
        QVERIFY(withStream(STDOUT_FILENO, piped, O_WRONLY | O_CREAT | O_TRUNC,
                           [&] { return exported(pdf, native(dir, in), "-"); }));
        QCOMPARE(test::readFile(dir.filePath("piped.out")),
                 test::readFile(dir.filePath("page.out")));
    }

    void folderAsInputIsNamedSo() {
        test::Sandbox sandbox;
        const QDir dir(sandbox.dir.path());
        QVERIFY(dir.mkdir("sub.rtf"));
        const QString said = ExportPdf(dir.filePath("sub.rtf"), dir.filePath("a.pdf"));
        QVERIFY2(said.endsWith(QLatin1String("it is a folder, not a file")), qPrintable(said));
        QVERIFY(ExportPdf(dir.filePath("none.rtf"), dir.filePath("a.pdf"))
                    .endsWith(QLatin1String("there is no such file")));
    }

    // Lengths that leave no room are refused, naming the output; a saved header is printed.
    void pdfFollowsTheSavedPrintSettings() {
        QString text;
        for (const auto &[name, value, error] :
             {std::tuple{"LMED", "100", "100 leaves no room for the text."},
              {"HHED", "20", "20 leaves no room for the text."},
              {"RMED", "-1", "-1 is less than zero."},
              {"RHPT", ".page of .numpages", ""}}) {
            test::Sandbox sandbox;
            SettingsStore::instance().writeString(QStringLiteral("Software\\Tessary\\Params"),
                                                  QLatin1String(name), QLatin1String(value));
            const QDir dir(sandbox.dir.path());
            QVERIFY(writeInputs(dir));
            const QString pdf = dir.filePath("a.pdf"), said = QLatin1String(error);
            QCOMPARE(ExportPdf(dir.filePath("a.rtf"), pdf),
                     said.isEmpty() ? said : pdf + ": the saved print settings: " + said);
            QCOMPARE(QFile::exists(pdf), said.isEmpty());
            if (said.isEmpty())
                text = test::pdfText(pdf, {"-layout"});
        }
        if (text.isNull())
            QSKIP("pdftotext is not installed");
        QVERIFY(text.indexOf(QLatin1String("1 of 1")) < text.indexOf(QLatin1String("a<b")));
        QVERIFY(text.indexOf(QLatin1String("a<b")) < text.indexOf(QLatin1String("Second")));
    }
};

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
