#include "testsupport.h"

#include <QtTest>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace tessary;

namespace {
// What `run` writes to stderr.
template <typename Run> QByteArray stderrOf(Run run) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("stderr")));
    std::fflush(stderr);
    const int saved = ::dup(2);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(fd, 2);
    run();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(fd);
    ::close(saved);
    return test::readFile(QString::fromLocal8Bit(path));
}
} // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    // Without a home nothing is written at the file system's root; the settings still work
    // for the session, and the user is told once.
    void withoutHomeSettingsLiveInMemory_data() {
        QTest::addColumn<bool>("unset");
        QTest::newRow("HOME unset") << true;
        QTest::newRow("HOME names no folder") << false;
    }
    void withoutHomeSettingsLiveInMemory() {
        QFETCH(bool, unset);
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("gone"));
        const QByteArray home = qgetenv("HOME");
        unset ? qunsetenv("HOME") : qputenv("HOME", QFile::encodeName(missing));
        std::unique_ptr<SettingsStore> store;
        const QByteArray said = stderrOf([&] {
            store = SettingsStore::forUser();
            store->writeString("Software\\Tessary\\Init", "Init", "0A0B");
            store->writeString("Software\\Tessary\\Recent Files", "File0", "/a.rtf");
            store->writeString("Software\\Tessary\\Recent Files", "File1", "/b.rtf");
            store->deleteValue("Software\\Tessary\\Recent Files", "File0");
            store->sync();
        });
        qputenv("HOME", home);
        QVERIFY(store->inMemory());
        QCOMPARE(said.count("settings are kept in memory"), 1);
        QCOMPARE(store->readString("\\Software\\Tessary\\Init", "Init"), "0A0B");
        QCOMPARE(store->valueNames("Software\\Tessary\\Recent Files"), QStringList{"File1"});
        QVERIFY(store->keyExists("Software\\Tessary") &&
                !store->keyExists("Software\\Tessary\\Params"));
        QVERIFY(!QFileInfo::exists(missing));
    }

    // A folder that cannot be written: the first failed write is said, once; the values are
    // kept for the session.
    void failedWriteIsReportedOnce() {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("config"));
        QVERIFY(test::writeBytes(blocker, {})); // a file where the folder would be
        SettingsStore store(blocker + QStringLiteral("/Tessary/tessary.ini"));
        const QByteArray said = stderrOf([&] {
            store.writeString("Software\\Tessary\\Init", "Init", "0102");
            store.sync();
            store.writeString("Software\\Tessary\\Init", "Init", "0304");
            store.sync();
        });
        QCOMPARE(said.count("cannot write the settings"), 1);
        QCOMPARE(store.readString("Software\\Tessary\\Init", "Init"), "0304");
    }

    void handWrittenValuesReadAsWritten_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("comma and blank") << QByteArray(".date, .time") << ".date, .time";
        QTest::newRow("quoted") << QByteArray("\"Page .page, .date\"") << "Page .page, .date";
    }

    // An unquoted comma in a value written by hand does not cut the value into pieces.
    void handWrittenValuesReadAsWritten() {
        QFETCH(QByteArray, line);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tessary.ini"));
        QVERIFY(test::writeBytes(
            path, "[Software]\nTessary\\Other\\RHPT=x, y\nTessary\\Params\\RHPT=" + line + "\n"));
        QTEST(SettingsStore(path).readString("Software\\Tessary\\Params", "RHPT"), "expected");
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "tst_settingsstore.moc"
