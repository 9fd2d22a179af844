#include "pipereader.h"
#include "platform/safeoutput.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tessary;

namespace {
QByteArray native(const QTemporaryDir &dir, const char *name) {
    return QFile::encodeName(dir.filePath(QString::fromLatin1(name)));
}

bool put(const QByteArray &path, const QByteArray &bytes, mode_t mode = 0644) {
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
           ::chmod(path.constData(), mode) == 0;
}

QByteArray contents(const QByteArray &path) {
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

struct stat statOf(const QByteArray &path) {
    struct stat st {};
    ::stat(path.constData(), &st);
    return st;
}

// Restores the umask and the seam whatever a test does.
struct Restore {
    mode_t mask = ::umask(022);
    ~Restore() {
        ::umask(mask);
        SafeOutput::setFoldersRefuseNewFiles(false);
    }
};
} // namespace

class SafeOutputTest : public QObject {
    Q_OBJECT
private slots:
    void replacesRegularFilesWhole_data() {
        QTest::addColumn<int>("umask");
        QTest::addColumn<int>("existing"); // the target's mode before, 0 for a new file
        QTest::addColumn<bool>("throughLink");
        QTest::addColumn<int>("mode");
        QTest::newRow("new file, umask 022") << 022 << 0 << false << 0644;
        QTest::newRow("new file, umask 077") << 077 << 0 << false << 0600;
        QTest::newRow("existing file keeps its mode") << 022 << 0640 << false << 0640;
        QTest::newRow("through a symbolic link") << 022 << 0604 << true << 0604;
    }

    void replacesRegularFilesWhole() {
        QFETCH(int, umask);
        QFETCH(int, existing);
        QFETCH(bool, throughLink);
        Restore restore;
        ::umask(mode_t(umask));
        QTemporaryDir dir;
        const QByteArray file = native(dir, "out.txt"), link = native(dir, "link.txt");
        if (existing != 0)
            QVERIFY(put(file, "old", mode_t(existing)));
        QVERIFY(!throughLink || ::symlink("out.txt", link.constData()) == 0);
        QString error;
        QVERIFY2(SafeOutput::write(throughLink ? link : file, "new", &error), qPrintable(error));
        QCOMPARE(contents(file), QByteArray("new"));
        QTEST(int(statOf(file).st_mode & 07777), "mode");
        struct stat st {};
        QVERIFY(!throughLink || (::lstat(link.constData(), &st) == 0 && S_ISLNK(st.st_mode)));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".part"),
                 QStringList());
    }

    // Mode bits decide, also for the superuser, whom access() lets write anything.
    void refusesReadOnlyFilesAndFolders() {
        QTemporaryDir dir;
        const QByteArray file = native(dir, "ro.txt");
        QVERIFY(put(file, "kept", 0444));
        QString error;
        for (const QByteArray &path : {file, QFile::encodeName(dir.path())}) {
            QVERIFY(!SafeOutput::refusal(path).isNull());
            QVERIFY(!SafeOutput::write(path, "new", &error, SafeOutput::Fallback::InPlace));
        }
        QCOMPARE(SafeOutput::refusal(file),
                 QStringLiteral("Existing file %1 is not writable").arg(QFile::decodeName(file)));
        QCOMPARE(contents(file), QByteArray("kept"));
        QCOMPARE(SafeOutput::refusal(native(dir, "none/x.txt")).isNull(), false);
    }

    void refusesTheInputThroughAnyName() {
        QTemporaryDir dir;
        const QByteArray in = native(dir, "in.rtf"), copy = native(dir, "copy.rtf");
        const QByteArray soft = native(dir, "soft.rtf"), hard = native(dir, "hard.rtf");
        QVERIFY(put(in, "doc") && put(copy, "doc"));
        QVERIFY(::symlink(in.constData(), soft.constData()) == 0);
        QVERIFY(::link(in.constData(), hard.constData()) == 0);
        for (const QByteArray &out : {in, soft, hard, native(dir, "./in.rtf")})
            QVERIFY2(SafeOutput::refusal(out, in).endsWith("is the document itself"), out);
        QVERIFY(SafeOutput::refusal(copy, in).isNull());
        QVERIFY(SafeOutput::refusal(native(dir, "new.pdf"), in).isNull());
    }

    void writesIntoPipesAndDevices() {
        QTemporaryDir dir;
        const QByteArray fifo = native(dir, "pipe");
        const QByteArray big(300000, 'x'); // more than a pipe holds at once
        QString error;
        bool written = false;
        const QByteArray received =
            test::throughPipe(fifo, [&] { written = SafeOutput::write(fifo, big, &error); });
        QVERIFY2(written, qPrintable(error));
        QCOMPARE(received, big);
        QVERIFY(S_ISFIFO(statOf(fifo).st_mode));

        QVERIFY(!SafeOutput::write(QByteArray("/dev/full"), big, &error));
        QCOMPARE(error, qt_error_string(ENOSPC));
        QVERIFY(S_ISCHR(statOf("/dev/full").st_mode));
    }

    // A folder that refuses new files: the file itself is written in place, nothing else.
    void writesInPlaceOnlyWhereTheFolderRefuses() {
        Restore restore;
        QTemporaryDir dir;
        const QByteArray file = native(dir, "doc.rtf");
        QVERIFY(put(file, "older and longer"));
        const ino_t inode = statOf(file).st_ino;
        SafeOutput::setFoldersRefuseNewFiles(true);
        QString error;
        QVERIFY(!SafeOutput::write(file, "new", &error));
        QCOMPARE(error, qt_error_string(EACCES));
        QCOMPARE(contents(file), QByteArray("older and longer"));
        QVERIFY(!SafeOutput::write(native(dir, "new.rtf"), "new", &error,
                                   SafeOutput::Fallback::InPlace));
        QVERIFY(!QFile::exists(dir.filePath("new.rtf")));
        QVERIFY2(SafeOutput::write(file, "new", &error, SafeOutput::Fallback::InPlace),
                 qPrintable(error));
        QCOMPARE(contents(file), QByteArray("new"));
        QCOMPARE(statOf(file).st_ino, inode);
    }
};

QTEST_MAIN(SafeOutputTest)
#include "tst_safeoutput.moc"
