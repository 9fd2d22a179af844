// Save and Save As ask before writing a document that holds what the file will not keep.

#include "app/tmainform.h"
#include "documents/documentfiles.h"
#include "windowtest.h"

#include <QtTest>

using namespace tessary;

namespace {
// A second section's page settings and headers are what the reader cannot keep.
const QByteArray kSections = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\paperw12240\\pard One\\sect"
                             "\\sectd\\paperw15840{\\header \\pard H2\\par}\\pard Two\\par}";
} // namespace

class SaveCheckTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void saveAsksWhatWouldBeLost_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QStringList>("mentions");
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("dialogShown");
        const QStringList both = {"the page settings of a second section",
                                  "the headers and footers of a second section"};
        QTest::newRow("save anyway") << kSections << 0 << both << true << false;
        QTest::newRow("save as") << kSections << 1 << both << false << true;
        QTest::newRow("cancel") << kSections << 2 << both << false << false;
        QTest::newRow("closed") << kSections << -1 << both << false << false;
        QTest::newRow("settings only")
            << QByteArray("{\\rtf1\\ansi\\pard One\\sect\\sectd\\landscape\\pard Two\\par}") << 2
            << QStringList{"the page settings of a second section"} << false << false;
    }
    void saveAsksWhatWouldBeLost() {
        QFETCH(QByteArray, rtf);
        QFETCH(int, choice);
        QFETCH(QStringList, mentions);
        QFETCH(bool, written);
        QFETCH(bool, dialogShown);
        const QString path = writeFile("sections.rtf", rtf);
        QVERIFY(form->documents().OpenPath(path));
        sandbox->dialogs->choices.enqueue(choice);
        form->documents().FileSave();
        QCOMPARE(sandbox->dialogs->choiceButtons.size(), 1);
        QCOMPARE(sandbox->dialogs->choiceButtons.first(),
                 (QStringList{"Save anyway", "Save As", "Cancel"}));
        const QString asked = sandbox->dialogs->messages.last().text;
        for (const QString &part : mentions)
            QVERIFY2(asked.contains(part), qPrintable(asked));
        QCOMPARE(test::readFile(path) != rtf, written);
        QCOMPARE(sandbox->dialogs->dialogTitles.contains("Save File"), dialogShown);
    }

    void nothingToLoseNothingAsked() {
        const QByteArray rtf = "{\\rtf1\\ansi\\paperw15840{\\header \\pard H\\par}"
                               "{\\*\\generator G;}\\pard One{\\footnote N}\\par}";
        const QString path = writeFile("kept.rtf", rtf);
        QVERIFY(form->documents().OpenPath(path));
        QVERIFY(form->documents().FileSave());
        QVERIFY(sandbox->dialogs->choiceButtons.isEmpty());
        QVERIFY(test::readFile(path).contains("{\\header \\pard H\\par}"));
        // Save As asks nothing either.
        sandbox->dialogs->fileNames.enqueue(sandbox->dir.filePath("copy.rtf"));
        QVERIFY(form->documents().FileSaveAs());
        QVERIFY(sandbox->dialogs->choiceButtons.isEmpty());
    }

    void saveAsAsksBeforeItsDialog() {
        QVERIFY(form->documents().OpenPath(writeFile("sections.rtf", kSections)));
        sandbox->dialogs->choices.enqueue(2);
        QVERIFY(!form->documents().FileSaveAs());
        QVERIFY(sandbox->dialogs->dialogTitles.isEmpty());
    }
};

QTEST_MAIN(SaveCheckTest)
#include "tst_savecheck.moc"
