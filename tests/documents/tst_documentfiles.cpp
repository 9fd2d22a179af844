#include "documents/documentfiles.h"
#include "documents/editcommands.h"
#include "editor/notationtyping.h"
#include "platform/documentstate.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QtTest>
#include <memory>

using namespace tessary;

class DocumentFilesTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void saveOfUntitledAsksForANameAndWritesRtf() {
        QTest::keyClicks(editor(), QStringLiteral("Hello"));
        QVERIFY(form->documentState().DocumentModified());
        const QString path = sandbox->dir.filePath(QStringLiteral("hello.rtf"));
        sandbox->dialogs->fileNames.enqueue(path);
        QVERIFY(docs().FileSave());
        QCOMPARE(sandbox->dialogs->dialogTitles, QStringList{QStringLiteral("Save File")});
        QVERIFY(sandbox->dialogs->startPaths.first().endsWith(QStringLiteral("/untitled.rtf")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray rtf = file.readAll();
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.contains("Hello"));
        QCOMPARE(form->documentState().CurrentFileName(), path);
        QCOMPARE(form->windowTitle(), QStringLiteral("Tessary - hello.rtf"));
        QVERIFY(!form->documentState().DocumentModified());
        // A later save goes to the same file without asking.
        QTest::keyClicks(editor(), QStringLiteral("!"));
        QVERIFY(docs().FileSave());
        QCOMPARE(sandbox->dialogs->dialogTitles.size(), 1);
    }

    void savedDocumentOpensWithItsFaces() {
        form->notation().NotationButtonClick();
        QTest::keyClicks(editor(), QStringLiteral("x2"));
        QTest::keyClick(editor(), Qt::Key_Up, Qt::ControlModifier);
        form->notation().InsertWithFont(QStringLiteral("Courier New Greek Even"), 0xE1);
        const QString path = sandbox->dir.filePath(QStringLiteral("formula.rtf"));
        sandbox->dialogs->fileNames.enqueue(path);
        QVERIFY(docs().FileSaveAs());
        docs().FileNew();
        QCOMPARE(editor()->textLength(), 0);
        QCOMPARE(form->windowTitle(), QStringLiteral("Tessary - [untitled.rtf]"));
        sandbox->dialogs->fileNames.enqueue(path);
        docs().FileOpen1();
        QCOMPARE(editor()->toPlainText(), QStringLiteral("x2\u03B1"));
        QCOMPARE(editor()->charAttributesAt(1).face, QStringLiteral("Courier New High"));
        QCOMPARE(fontAt(2), QStringLiteral("Courier New Greek Even/11"));
        QVERIFY(!form->documentState().DocumentModified());
        QCOMPARE(docs().dialogFolder(), sandbox->dir.path());
        // Nothing to undo: undoing the set-up after a load would mark an unchanged file modified.
        QVERIFY(!editor()->document()->isUndoAvailable());
    }

    void sizeLimitAcceptsExactly512000Bytes() {
        // Short lines: one 500 KB paragraph would take seconds to lay out.
        const QByteArray line = QByteArray(79, 'a') + '\n';
        const QString fits = writeFile(QStringLiteral("fits.txt"), line.repeated(6400));
        const QString big = writeFile(QStringLiteral("big.txt"), line.repeated(6400) + 'a');
        QVERIFY(docs().OpenPath(fits));
        QCOMPARE(editor()->textLength(), 512000);
        QVERIFY(!docs().OpenPath(big));
        QCOMPARE(sandbox->dialogs->messages.size(), 1);
        QCOMPARE(sandbox->dialogs->messages.first().text,
                 QStringLiteral("Unable to load %1.\r\n\r\nFile size exceeds 500KB.\r\n\r\n"
                                "Current size is 512001 bytes.")
                     .arg(big));
        QCOMPARE(editor()->textLength(), 0);
        QCOMPARE(form->documentState().CurrentFileName(), docs().untitledName());
        QCOMPARE(form->windowTitle(), QStringLiteral("Tessary - [untitled.rtf]"));
    }

    void onlyRtfNamesOpenAsRtf_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("font");
        QTest::newRow("nominal: a text file in Courier New 10") << "notes.txt"
                                                                << "Courier New/10";
        QTest::newRow("regression: upper-case extension is still RTF") << "LETTER.RTF"
                                                                       << "Arial/20";
        QTest::newRow("nominal: mixed case") << "a.Rtf"
                                             << "Arial/20";
    }

    // Any other name is read as plain text, so an RTF file must be recognised by its extension
    // whatever its case.
    void onlyRtfNamesOpenAsRtf() {
        QFETCH(QString, name);
        QFETCH(QString, font);
        const QString path =
            writeFile(name, "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 plain words}");
        QVERIFY(docs().OpenPath(path));
        QCOMPARE(fontAt(3), font);
        QCOMPARE(editor()->selStart(), 0);
        QVERIFY(docs().FileSave());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("{\\rtf1"));
    }

    // The flag is the document's own: undoing back to the saved text clears it, and an
    // unmodified document closes without a question.
    void modifiedFollowsTheDocument() {
        QVERIFY(docs().OpenPath(writeFile("a.rtf", "{\\rtf1 text}")));
        QVERIFY(!editor()->document()->isUndoAvailable()); // a fresh history
        QTest::keyClicks(editor(), QStringLiteral("new "));
        QVERIFY(form->documentState().DocumentModified());
        while (editor()->document()->isUndoAvailable())
            editor()->undo();
        QVERIFY(!form->documentState().DocumentModified());
        QCOMPARE(docs().ConfirmSaveChanges(), QMessageBox::No);
        QVERIFY(sandbox->dialogs->messages.isEmpty());
        QCOMPARE(form->windowTitle(), QStringLiteral("Tessary - a.rtf"));
    }

    void cancelledStepKeepsTheDocument_data() {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::newRow("No, then the open dialog is cancelled") << true << QMessageBox::No;
        QTest::newRow("Yes, then the Save As dialog is cancelled") << false << QMessageBox::Yes;
    }

    void cancelledStepKeepsTheDocument() {
        QFETCH(bool, open);
        QFETCH(QMessageBox::StandardButton, answer);
        QTest::keyClicks(editor(), QStringLiteral("keep me"));
        sandbox->dialogs->answers.enqueue(answer);
        open ? docs().FileOpen1() : docs().FileNew(); // no file name queued for either dialog
        QCOMPARE(editor()->toPlainText(), QStringLiteral("keep me"));
        QVERIFY(form->documentState().DocumentModified());
        QCOMPARE(sandbox->dialogs->messages.first().text,
                 QStringLiteral("Save changes to %1?").arg(docs().untitledName()));
        QCOMPARE(sandbox->dialogs->messages.first().icon, QMessageBox::Information);
    }

    void failedSaveKeepsNameAndModifiedState() {
        QDir(sandbox->dir.path()).mkdir(QStringLiteral("gone"));
        const QString path = writeFile(QStringLiteral("gone/doc.rtf"), "{\\rtf1 old}");
        QVERIFY(docs().OpenPath(path));
        QTest::keyClicks(editor(), QStringLiteral("new "));
        QVERIFY(QDir(sandbox->dir.filePath(QStringLiteral("gone"))).removeRecursively());
        QVERIFY(!docs().FileSave());
        QCOMPARE(form->documentState().CurrentFileName(), path);
        QVERIFY(form->documentState().DocumentModified());
        QVERIFY(sandbox->dialogs->messages.last().text.startsWith(QStringLiteral("Cannot save ")));
    }

    void unreadableFilesLeaveAnUntitledDocument_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::newRow("robustness: binary junk")
            << "junk.rtf" << QByteArray("\x01\x00\x02junk", 7)
            << QStringLiteral("Failed to Load Stream") << QMessageBox::Critical;
        QTest::newRow("robustness: missing file")
            << "missing.rtf" << QByteArray() << QStringLiteral("File  %1  does not exist.")
            << QMessageBox::NoIcon;
        QTest::newRow("robustness: read error")
            << "/proc/self/mem" << QByteArray() << QStringLiteral("Failed to Load Stream")
            << QMessageBox::Critical;
        QTest::newRow("robustness: placeholder in a path")
            << "100%1 %2.rtf" << QByteArray(512001, 'a')
            << QStringLiteral("Unable to load %1.\r\n\r\nFile size exceeds 500KB.\r\n\r\n"
                              "Current size is 512001 bytes.")
            << QMessageBox::Critical;
    }

    void unreadableFilesLeaveAnUntitledDocument() {
        QFETCH(QString, name);
        QFETCH(QByteArray, data);
        QFETCH(QString, message);
        const QString path = !data.isEmpty()              ? writeFile(name, data)
                             : QDir::isAbsolutePath(name) ? name
                                                          : sandbox->dir.filePath(name);
        QVERIFY(docs().OpenPath(writeFile("before.rtf", "{\\rtf1 text}")));
        sandbox->dialogs->fileNames.enqueue(path);
        docs().FileOpen1();
        QCOMPARE(sandbox->dialogs->messages.last().text,
                 message.contains("%1") ? message.arg(path) : message);
        QTEST(sandbox->dialogs->messages.last().icon, "icon");
        QCOMPARE(form->documentState().CurrentFileName(), docs().untitledName());
        QCOMPARE(form->windowTitle(), QStringLiteral("Tessary - [untitled.rtf]"));
        QCOMPARE(editor()->textLength(), 0);
    }

    void longPathIsShortenedInTheStatusPanel() {
        const QString folder =
            QStringLiteral("a-very-long-folder-name-that-goes-on/").repeated(8).chopped(1);
        QVERIFY(QDir(sandbox->dir.path()).mkpath(folder));
        const QString path = writeFile(folder + QStringLiteral("/x.rtf"), "{\\rtf1 x}");
        QVERIFY(docs().OpenPath(path));
        QLabel *label = form->findChild<QLabel *>("CurrentFileLabel");
        QVERIFY(label->text().endsWith(QStringLiteral(" ...")));
        QVERIFY(path.startsWith(label->text().chopped(4)));
        QCOMPARE(label->toolTip(), path);
    }

    void closeWritesSettingsEvenWhenCancelled() {
        QTest::keyClicks(editor(), QStringLiteral("text"));
        sandbox->dialogs->answers.enqueue(QMessageBox::Cancel);
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        QCOMPARE(SettingsStore::instance().readString("Software\\Tessary\\Init", "Init").size(),
                 30);
    }

    void menuCommandsReachTheDocumentCommands() {
        QTest::keyClicks(editor(), QStringLiteral("menu text"));
        const QString path = sandbox->dir.filePath(QStringLiteral("menu.rtf"));
        sandbox->dialogs->fileNames.enqueue(path);
        QTRY_VERIFY(form->action(QStringLiteral("FileSaveAs"))->isEnabled()); // the idle pass ran
        form->action(QStringLiteral("FileSaveAs"))->trigger();
        QVERIFY(QFile::exists(path));
        editor()->setSelStart(4); // without a selection Delete takes the next character
        form->action(QStringLiteral("EditDelete"))->trigger();
        QCOMPARE(editor()->toPlainText(), QStringLiteral("menutext"));
        form->action(QStringLiteral("EditSelectAll"))->trigger();
        QCOMPARE(editor()->selLength(), 8);
        form->action(QStringLiteral("EditDelete"))->trigger();
        QCOMPARE(editor()->textLength(), 0);
        sandbox->dialogs->answers.enqueue(QMessageBox::No);
        form->action(QStringLiteral("FileNew"))->trigger();
        QCOMPARE(form->windowTitle(), QStringLiteral("Tessary - [untitled.rtf]"));
        sandbox->dialogs->fileNames.enqueue(path);
        form->action(QStringLiteral("FileOpen1"))->trigger();
        QCOMPARE(editor()->toPlainText(), QStringLiteral("menu text"));
        QTest::keyClick(editor(), Qt::Key_F1);
        QCOMPARE(sandbox->shell->opened.size(), 1);
        QVERIFY(sandbox->shell->opened.first().toLocalFile().endsWith("/help/contents.html"));
    }

private:
    DocumentFiles &docs() { return form->documents(); }
};

QTEST_MAIN(DocumentFilesTest)
#include "tst_documentfiles.moc"
