#include "platform/settingsstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tessary;

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void handWrittenValuesReadAsWritten_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("comma and blank") << QByteArray(".date, .time") << ".date, .time";
        QTest::newRow("comma alone") << QByteArray(".date,.time") << ".date,.time";
        QTest::newRow("blanks around commas") << QByteArray("a , b ,c") << "a , b ,c";
        QTest::newRow("quoted") << QByteArray("\"Page .page, .date\"") << "Page .page, .date";
        QTest::newRow("no comma") << QByteArray("Page .page") << "Page .page";
    }

    void handWrittenValuesReadAsWritten() {
        QFETCH(QByteArray, line);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tessary.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Software]\nTessary\\Other\\RHPT=wrong, group\nTessary\\Params\\RHPT=" + line +
                   "\nTessary\\Params\\LHPT=x\n");
        file.close();
        SettingsStore store(path);
        QTEST(store.readString(QStringLiteral("Software\\Tessary\\Params"), "RHPT"), "expected");
        // Written back by the program, the value reads the same.
        store.writeString(QStringLiteral("Software\\Tessary\\Params"), "CHPT",
                          store.readString(QStringLiteral("Software\\Tessary\\Params"), "RHPT"));
        store.sync();
        QTEST(SettingsStore(path).readString(QStringLiteral("Software\\Tessary\\Params"), "CHPT"),
              "expected");
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "tst_settingsstore.moc"
