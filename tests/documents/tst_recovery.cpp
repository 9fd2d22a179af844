#include "documents/documentfiles.h"
#include "documents/recoverycopy.h"
#include "platform/savejournal.h"
#include "richtext/documentstate.h"
#include "richtext/richedit.h"
#include "testsupport.h"

using tessary::test::readFile;

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

using namespace tessary;

namespace {
// One program's document and its recovery copy, with its data folder in `appDir`.
struct Program {
    QWidget window;
    QLabel *label = new QLabel(&window);
    RichEdit *editor = new RichEdit(&window);
    EditorContext context;
    std::unique_ptr<DocumentFiles> files;
    std::unique_ptr<RecoveryCopy> recovery;

    explicit Program(const QString &appDir) {
        context.Editor = editor;
        context.Document = new DocumentState(editor->document(), &window);
        context.AppDir = appDir;
        files = std::make_unique<DocumentFiles>(context, label, &window);
        files->ShowUntitled();
        recovery = std::make_unique<RecoveryCopy>(context, *files, &window);
        recovery->setIntervals(10, 50);
    }
    ~Program() { recovery.reset(); } // before the editor it watches
    bool typeAndWaitForCopy(const QString &text) {
        QSignalSpy written(recovery.get(), &RecoveryCopy::copyWritten);
        QTest::keyClicks(editor, text);
        return written.wait(5000) && QFile::exists(recovery->copyPath());
    }
};
} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
    std::unique_ptr<test::Sandbox> sandbox;
    QString appDir() const { return sandbox->dir.path() + QStringLiteral("/data/"); }
    test::ScriptedDialogs &dialogs() const { return *sandbox->dialogs; }

    // A copy left by a program that was killed: its files, and no one holding its lock.
    QString leaveCopy(const QByteArray &rtf, const QString &document) {
        const QString base = appDir() + QStringLiteral("recovery/4242-1-1");
        QDir().mkpath(appDir() + QStringLiteral("recovery"));
        const QJsonObject fields{{"document", document}, {"pid", 4242}};
        return test::writeBytes(base + ".json", QJsonDocument(fields).toJson()) &&
                       test::writeBytes(base + ".rtf", rtf)
                   ? base + ".rtf"
                   : QString();
    }

private slots:
    void init() { sandbox = std::make_unique<test::Sandbox>(); }
    void cleanup() { sandbox.reset(); }

    void copyFollowsUnsavedWork_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("save") << "save";
        QTest::newRow("new") << "new";
        QTest::newRow("open") << "open";
        QTest::newRow("undo back to the file") << "undo";
    }
    void copyFollowsUnsavedWork() {
        QFETCH(QString, action);
        Program program(appDir());
        const QString named = sandbox->dir.filePath(QStringLiteral("named.rtf"));
        QVERIFY(program.typeAndWaitForCopy(QStringLiteral("first words")));
        const QString copy = program.recovery->copyPath();
        QVERIFY(readFile(copy).startsWith("{\\rtf1") && readFile(copy).contains("first words"));
        const QString json = QString(copy).replace(".rtf", ".json");
        const QJsonObject info = QJsonDocument::fromJson(readFile(json)).object();
        QCOMPARE(info.value("document").toString(), QString()); // untitled
        QCOMPARE(info.value("pid").toInteger(), QCoreApplication::applicationPid());

        dialogs().answers.enqueue(QMessageBox::No);
        if (action == "save") {
            dialogs().fileNames.enqueue(named);
            QVERIFY(program.files->FileSave());
        } else if (action == "new") {
            program.files->FileNew();
        } else if (action == "open") {
            QVERIFY(test::writeBytes(named, {}));
            dialogs().fileNames.enqueue(named);
            program.files->FileOpen1();
        } else {
            program.editor->document()->undo();
            QVERIFY(!program.context.Document->DocumentModified());
        }
        QVERIFY(!QFile::exists(copy) && !QFile::exists(json));
    }

    // Typing that never pauses for the idle interval is still copied, and a save that does
    // not complete (killed, or failing) finds the copy holding the last keystrokes.
    void copyKeepsUpWithTypingAndSaving() {
        Program program(appDir());
        program.recovery->setIntervals(3600000, 50);
        QSignalSpy written(program.recovery.get(), &RecoveryCopy::copyWritten);
        QTimer typist;
        QObject::connect(&typist, &QTimer::timeout, program.editor,
                         [&] { QTest::keyClicks(program.editor, QStringLiteral("a")); });
        typist.start(5);
        QVERIFY(written.wait(5000));
        typist.stop();
        program.recovery->setIntervals(3600000, 3600000);
        QTest::keyClicks(program.editor, QStringLiteral("last words"));
        dialogs().fileNames.enqueue(sandbox->dir.filePath(QStringLiteral("gone/doc.rtf")));
        QVERIFY(!program.files->FileSave());
        QVERIFY(readFile(program.recovery->copyPath()).contains("last words"));
    }

    // Temporary files of saves that a killed program left are removed at the next start,
    // and only they: not those of a save under way, nor a file a record names that is not ours.
    void staleTemporaryFilesGoAtTheNextStart() {
        Program running(appDir());
        const QString doc = sandbox->dir.filePath(QStringLiteral("doc.rtf"));
        const QByteArray stale = QFile::encodeName(doc) + ".k1lled.part";
        const QByteArray live = QFile::encodeName(doc) + ".a11ve.part";
        const QString records = appDir() + QStringLiteral("saving/");
        QVERIFY(test::writeBytes(records + "dead.save", stale) &&
                test::writeBytes(records + "odd.save", QFile::encodeName(doc)));
        for (const QByteArray &file : {stale, live, QFile::encodeName(doc)})
            QVERIFY(test::writeBytes(QFile::decodeName(file), "{\\rtf1 part}"));
        SaveJournal::Record underWay = SaveJournal::begin(live);
        running.recovery->OfferLeftCopies();
        QVERIFY(!QFile::exists(QFile::decodeName(stale)));
        QVERIFY(QFile::exists(QFile::decodeName(live)) && QFile::exists(doc));
        QCOMPARE(QDir(records).entryList(QDir::Files).size(), 1);
        SaveJournal::end(underWay);
    }

    void leftCopyIsOfferedOnce_data() {
        QTest::addColumn<bool>("named");
        QTest::addColumn<int>("answer");
        QTest::newRow("recover untitled") << false << 0;
        QTest::newRow("recover a named document") << true << 0;
        QTest::newRow("discard") << true << 1;
        QTest::newRow("no answer keeps it") << false << -1;
    }
    void leftCopyIsOfferedOnce() {
        QFETCH(bool, named);
        QFETCH(int, answer);
        const QString path = sandbox->dir.filePath(QStringLiteral("report.rtf"));
        QVERIFY(test::writeBytes(path, "{\\rtf1 old text\\par}"));
        const QString left =
            leaveCopy("{\\rtf1 old text\\par new paragraph\\par}", named ? path : QString());

        Program next(appDir());
        dialogs().choices.enqueue(answer);
        next.recovery->OfferLeftCopies();
        QCOMPARE(dialogs().messages.size(), 1);
        QVERIFY(dialogs().messages.first().text.contains(named ? path : "untitled.rtf"));
        QCOMPARE(dialogs().choiceButtons.first(), QStringList({"Recover", "Discard"}));
        QCOMPARE(dialogs().choiceDefaults.first(), 0);
        const QString shownName = named ? path : next.files->untitledName();
        QCOMPARE(QFile::exists(left), answer == -1);
        QCOMPARE(next.context.Document->DocumentModified(), answer == 0);
        if (answer == 0) {
            QVERIFY(next.editor->toPlainText().contains("new paragraph"));
            QCOMPARE(next.context.Document->CurrentFileName(), shownName);
            QVERIFY(next.window.windowTitle().contains(QFileInfo(shownName).fileName()));
            QCOMPARE(readFile(path), QByteArray("{\\rtf1 old text\\par}"));
            // The recovered work is kept at once under the new program's name.
            QVERIFY(readFile(next.recovery->copyPath()).contains("new paragraph"));
        } else {
            QCOMPARE(next.editor->textLength(), 0);
        }
        // Answered once, never again; kept unanswered, asked again.
        Program third(appDir());
        third.recovery->OfferLeftCopies();
        QCOMPARE(dialogs().messages.size(), answer == -1 ? 2 : 1);
    }

    void copiesOfRunningOrCleanlyClosedProgramsAreNotOffered() {
        auto running = std::make_unique<Program>(appDir());
        QVERIFY(running->typeAndWaitForCopy(QStringLiteral("still typing")));
        {
            Program closed(appDir());
            QVERIFY(closed.typeAndWaitForCopy(QStringLiteral("closed cleanly")));
        }
        Program starting(appDir());
        starting.recovery->OfferLeftCopies();
        QVERIFY(dialogs().messages.isEmpty());
        QVERIFY(QFile::exists(running->recovery->copyPath()));
        // Its own files are gone with a clean close: the folder is empty again.
        const QString folder = running->recovery->folder();
        running.reset();
        starting.recovery.reset();
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"
