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
        QTest::newRow("quoted") << QByteArray("\"Page .page, .date\"") << "Page .page, .date";
    }

    // An unquoted comma in a value written by hand does not cut the value into pieces.
    void handWrittenValuesReadAsWritten() {
        QFETCH(QByteArray, line);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("tessary.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Software]\nTessary\\Other\\RHPT=x, y\nTessary\\Params\\RHPT=" + line + "\n");
        file.close();
        QTEST(SettingsStore(file.fileName()).readString("Software\\Tessary\\Params", "RHPT"),
              "expected");
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "tst_settingsstore.moc"
