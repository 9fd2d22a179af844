#include "app/initsetting.h"
#include "documents/documentfiles.h"
#include "documents/recentfiles.h"
#include "editor/functionkeys.h"
#include "printing/patterns.h"
#include "printing/printsettings.h"
#include "printing/tprintform.h"
#include "windowtest.h"

using namespace tessary;

// Each setting reaches the file as soon as it changes: a program that is killed keeps it.
class KeptSettingsTest : public test::WindowTest {
    Q_OBJECT
    // What a program started now would read: a copy of the file, as the settings of this
    // process share what they hold in memory.
    SettingsStore onDisk() const {
        const QString copy = sandbox->dir.filePath(QStringLiteral("disk.ini"));
        QFile::remove(copy);
        QFile::copy(sandbox->settingsPath(), copy);
        return SettingsStore(copy);
    }
    QString initOnDisk() const {
        return onDisk().readString(InitSetting::kKeyPath, InitSetting::kValueName);
    }

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void settingIsOnDiskWhenItChanges_data() {
        QTest::addColumn<QString>("setting");
        QTest::newRow("function key") << "function key";
        QTest::newRow("font size box") << "font box";
        QTest::newRow("print dialog closed") << "print dialog";
        QTest::newRow("recent file") << "recent file";
    }
    void settingIsOnDiskWhenItChanges() {
        QFETCH(QString, setting);
        if (setting == "function key") {
            QTest::mouseClick(child<QToolButton>("FunctionKeyButton"), Qt::LeftButton);
            QTest::mouseClick(form->functionKeys().definitionButton(2), Qt::LeftButton);
            QTest::mouseClick(child<QToolButton>("PaletteButton10"), Qt::LeftButton); // alpha
            QTRY_COMPARE(initOnDisk().mid(8, 2), form->BuildInit().mid(8, 2));
            QCOMPARE(initOnDisk().mid(8, 2), "\u00E10");
        } else if (setting == "font box") {
            form->fontBoxes().FontSizeBox->setCurrentIndex(13); // 36
            QTRY_COMPARE(initOnDisk().mid(2, 2), QStringLiteral("0D"));
        } else if (setting == "print dialog") {
            QTest::keyClicks(editor(), QStringLiteral("text to print"));
            whileModal([this] {
                form->printForm().HeaderChoosers().setPattern(2, QStringLiteral(".page"));
            });
            QVERIFY(trigger("FilePrint"));
            QCOMPARE(LoadPrintSettings(onDisk()).patterns.at(2), ".page");
        } else {
            const QString path = writeFile(QStringLiteral("a.rtf"), "{\\rtf1 a\\par}");
            QVERIFY(form->documents().OpenChosenFile(path));
            QCOMPARE(onDisk().readString(RecentFiles::kKeyPath, QStringLiteral("File0")), path);
        }
    }
};

QTEST_MAIN(KeptSettingsTest)
#include "tst_keptsettings.moc"
