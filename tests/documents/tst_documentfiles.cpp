#include "documents/documentfiles.h"
#include "documents/editcommands.h"
#include "documents/findreplace.h"
#include "documents/recentfiles.h"
#include "html/anchors.h"
#include "html/tanchorform.h"
#include "platform/safeoutput.h"
#include "windowtest.h"

#include "html/thtmlform.h"
#include "printing/tprintform.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QWindow>
#include <sys/stat.h>
#include <unistd.h>

using namespace tessary;

namespace {
// The desktop's own save dialog: it answers the name as the user typed it.
class DesktopSaveDialog : public test::ScriptedDialogs {
public:
    QString saveFileName(QWidget *parent, const QString &title, const QString &start,
                         const QString &filter, const QString &suffix) override {
        return DialogService::saveFileName(parent, title, start, filter, suffix);
    }
    QString saveDialog(QWidget *, const QString &, const QString &, const QString &) override {
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
};
} // namespace

class DocumentFilesTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() {
        openWindow();
        attachMenu();
    }
    void cleanup() {
        closeWindow();
        menu.reset();
    }

    void saveOfUntitledAsksForANameAndWritesRtf() {
        QTest::keyClicks(editor(), QStringLiteral("Hello"));
        QVERIFY(form->documentState().DocumentModified());
        const QString path = sandbox->dir.filePath(QStringLiteral("hello.rtf"));
        sandbox->dialogs->fileNames.enqueue(path);
        QVERIFY(docs().FileSave());
        QCOMPARE(sandbox->dialogs->dialogTitles, QStringList{QStringLiteral("Save File")});
        QVERIFY(sandbox->dialogs->startPaths.first().endsWith(QStringLiteral("/untitled.rtf")));
        QVERIFY(test::readFile(path).startsWith("{\\rtf1"));
        QCOMPARE(title(), "Tessary - hello.rtf");
        QVERIFY(!form->documentState().DocumentModified());
        // A later save goes to the same file without asking.
        QTest::keyClicks(editor(), QStringLiteral("!"));
        QVERIFY(docs().FileSave());
        QCOMPARE(sandbox->dialogs->dialogTitles.size(), 1);
    }

    // Open, Save As, the page and the print-out start in the document's folder, an untitled
    // document's in the user's documents folder, whatever the recent list holds.
    void dialogsStartInTheDocumentsFolder() {
        const QString docsFolder =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(QDir(sandbox->dir.path()).mkdir("sub") &&
                docs().OpenPath(writeFile("sub/r.rtf", "")));
        docs().FileNew();
        auto starts = [this] {
            sandbox->dialogs->startPaths.clear();
            docs().FileOpen1();
            docs().FileSaveAs();
            form->htmlForm().HtmlFileName->clear();
            whileModal([] {});
            form->FilePrintExecute();
            return sandbox->dialogs->startPaths << form->htmlForm().proposedFileName()
                                                << form->printForm().RichEditPrintJob().Title();
        };
        const QString untitled = docsFolder + "/untitled.rtf";
        QCOMPARE(starts(),
                 QStringList({docsFolder, untitled, docsFolder + "/untitled.html", untitled}));
        const QString named = writeFile(QStringLiteral("doc.rtf"), "{\\rtf1 b}");
        QVERIFY(docs().OpenPath(named));
        const QString folder = sandbox->dir.path();
        QCOMPARE(starts(), QStringList({folder, named, folder + "/doc.html", named}));
    }

    // A file dropped on the editor opens as Open opens it, after the save question; dropped
    // text is inserted.
    void droppedFileOpensAndDroppedTextIsInserted() {
        const QString path = writeFile(QStringLiteral("dropped.rtf"), "{\\rtf1 dropped}");
        QTest::keyClicks(editor(), QStringLiteral("typed"));
        auto drop = [this](const QMimeData &mime) {
            const QPoint at = editor()->cursorRect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(editor()->viewport(), &enter);
            QApplication::sendEvent(editor()->viewport(), &dropped);
            return enter.isAccepted() && dropped.isAccepted();
        };
        QMimeData file;
        file.setUrls({QUrl::fromLocalFile(path)});
        file.setText(QUrl::fromLocalFile(path).toString());
        sandbox->dialogs->answers.enqueue(QMessageBox::No);
        QVERIFY(drop(file));
        QTRY_COMPARE(editor()->document()->toPlainText(), QStringLiteral("dropped"));
        QCOMPARE(sandbox->dialogs->messages.size(), 1);
        QCOMPARE(form->recentFiles().list(), QStringList{path});
        QMimeData text;
        text.setText(QStringLiteral(" more"));
        editor()->moveCursor(QTextCursor::End);
        QVERIFY(drop(text));
        QCOMPARE(editor()->document()->toPlainText(), "dropped more");
    }

    void everyLoadTakesTheLoadedTypingStyle_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QByteArray>("rtf");
        for (const char *way : {"open", "recent file", "dropped file", "command line", "recovery"})
            QTest::newRow(way) << way << QByteArray("{\\rtf1 plain}");
        QTest::newRow("dropped file that starts bold")
            << "dropped file" << QByteArray("{\\rtf1\\b x}");
    }

    // Regression: B and I pressed in the old document stayed down after a drop, and the next
    // notation typing came out bold. Whichever way a document comes, they show its caret.
    void everyLoadTakesTheLoadedTypingStyle() {
        QFETCH(QString, way);
        QFETCH(QByteArray, rtf);
        const TypingControls &typing = form->notation().controls();
        typing.BoldButton->click();
        typing.ItalicButton->click();
        const QString path = writeFile(QStringLiteral("next.rtf"), rtf);
        sandbox->dialogs->fileNames.enqueue(path);
        if (way == "open")
            QVERIFY(trigger("FileOpen1"));
        else if (way == "recent file")
            QVERIFY(docs().OpenPath(path));
        else if (way == "dropped file")
            docs().OpenDroppedFile(path);
        else if (way == "command line")
            QVERIFY(docs().OpenChosenFile(path));
        else
            QVERIFY(docs().OpenRecovered(rtf, path));
        const bool bold = rtf.contains("\\b ");
        QCOMPARE(typing.BoldButton->isChecked(), bold);
        QVERIFY(!typing.ItalicButton->isChecked());
        form->notation().NotationButtonClick();
        QTest::keyClicks(editor(), QStringLiteral("y"));
        QCOMPARE(editor()->charAttributesAt(0).bold, bold);
        QVERIFY(!editor()->charAttributesAt(0).italic);
    }

    // A larger file, which Save may well have written, opens when the user says so.
    void sizeLimitAcceptsExactly512000BytesAndAsksAboveIt() {
        // Short lines: one 500 KB paragraph would take seconds to lay out.
        const QByteArray line = QByteArray(79, 'a') + '\n';
        const QString fits = writeFile(QStringLiteral("fits.txt"), line.repeated(6400));
        QVERIFY(docs().OpenPath(fits));
        QCOMPARE(editor()->textLength(), 512000);
        QVERIFY(sandbox->dialogs->messages.isEmpty());
        const QString larger = writeFile(QStringLiteral("larger.txt"), line.repeated(6400) + "b");
        sandbox->dialogs->answers.enqueue(QMessageBox::Yes);
        QVERIFY(docs().OpenPath(larger));
        QCOMPARE(editor()->textLength(), 512001);
        QVERIFY(sandbox->dialogs->messages.last().text.endsWith(
            "Current size is 512001 bytes.\r\n\r\nOpen it anyway?"));
    }

    void onlyRtfNamesOpenAsRtf_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("font");
        QTest::newRow("nominal: a text file in Courier New 10") << "notes.txt"
                                                                << "Courier New/10";
        QTest::newRow("regression: upper-case extension is still RTF") << "LETTER.RTF"
                                                                       << "Arial/20";
    }

    // Any other name is read as plain text, so an RTF file must be recognised by its extension
    // whatever its case. Opening reads the anchors without touching the paragraphs: the tab
    // stops reach the save.
    void onlyRtfNamesOpenAsRtf() {
        QFETCH(QString, name);
        const QString path =
            writeFile(name, "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard\\tx2880\\f0\\fs40 plain words}");
        QVERIFY(docs().OpenPath(path));
        QTEST(fontAt(3), "font");
        QCOMPARE(editor()->selStart(), 0);
        QVERIFY(docs().FileSave());
        const QByteArray saved = test::readFile(path);
        QVERIFY(saved.startsWith("{\\rtf1"));
        QVERIFY(!name.endsWith(".RTF") || saved.contains("\\tx2880"));
    }

    // The flag is the document's own: undoing back to the saved text clears it, and an
    // unmodified document closes without a question. The desktop marks unsaved work in the
    // title, whose text is otherwise as it is.
    void modifiedFollowsTheDocument() {
        QVERIFY(docs().OpenPath(writeFile("a[*].rtf", "{\\rtf1 text}")));
        QVERIFY(!editor()->document()->isUndoAvailable()); // a fresh history
        QTest::keyClicks(editor(), QStringLiteral("new "));
        QVERIFY(form->documentState().DocumentModified());
        QCOMPARE(title(), "Tessary - a[*].rtf*");
        while (editor()->document()->isUndoAvailable())
            editor()->undo();
        QVERIFY(!form->documentState().DocumentModified());
        QCOMPARE(docs().ConfirmSaveChanges(), QMessageBox::No);
        QVERIFY(sandbox->dialogs->messages.isEmpty());
        QCOMPARE(title(), "Tessary - a[*].rtf");
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
        QCOMPARE(editor()->toPlainText(), "keep me");
        QVERIFY(form->documentState().DocumentModified());
        QCOMPARE(sandbox->dialogs->messages.first().text,
                 QStringLiteral("Save changes to %1?").arg(docs().untitledName()));
        QCOMPARE(sandbox->dialogs->messages.first().icon, QMessageBox::Information);
    }

    void failedSaveKeepsNameAndModifiedState() {
        QVERIFY(QDir(sandbox->dir.path()).mkdir("gone"));
        const QString path = writeFile(QStringLiteral("gone/doc.rtf"), "{\\rtf1 old}");
        QVERIFY(docs().OpenPath(path));
        QTest::keyClicks(editor(), QStringLiteral("new "));
        QVERIFY(QDir(sandbox->dir.filePath("gone")).removeRecursively());
        QVERIFY(!docs().FileSave());
        QCOMPARE(form->documentState().CurrentFileName(), path);
        QVERIFY(form->documentState().DocumentModified());
        QVERIFY(sandbox->dialogs->messages.last().text.startsWith(QStringLiteral("Cannot save ")));
    }

    void saveWritesInPlaceWhereTheFolderRefusesNewFiles_data() {
        QTest::addColumn<bool>("realFolder");
        QTest::newRow("folder refusing new files") << false;
        QTest::newRow("read-only folder, as a user") << true;
    }

    void saveWritesInPlaceWhereTheFolderRefusesNewFiles() {
        QFETCH(bool, realFolder);
        if (realFolder && ::geteuid() == 0)
            QSKIP("the superuser writes into any folder");
        const QString folder = sandbox->dir.filePath("shared");
        QVERIFY(QDir().mkdir(folder));
        const QString path = writeFile(QStringLiteral("shared/doc.rtf"), "{\\rtf1 old}");
        QVERIFY(docs().OpenPath(path));
        QTest::keyClicks(editor(), QStringLiteral("typed "));
        const auto inode = [&path] {
            struct stat st {};
            return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
        };
        const ino_t before = inode();
        if (realFolder)
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        else
            SafeOutput::setFoldersRefuseNewFiles(true);
        const bool saved = docs().FileSave();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        SafeOutput::setFoldersRefuseNewFiles(false);
        QVERIFY(saved);
        QVERIFY(test::readFile(path).contains("typed"));
        QCOMPARE(inode(), before); // written in place, not replaced
        QVERIFY(!form->documentState().DocumentModified());
    }

    void failedOpenKeepsTheCurrentDocument_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QMessageBox::Icon>("icon");
        const QString tooBig = QStringLiteral("Unable to load %1.\r\n\r\nFile size exceeds 500KB."
                                              "\r\n\r\nCurrent size is 512001 bytes.\r\n\r\n"
                                              "Open it anyway?");
        // clang-format off
        QTest::newRow("binary junk") << "junk.rtf" << QByteArray("\x01\x00\x02junk", 7) << "Failed to Load Stream" << QMessageBox::Critical;
        QTest::newRow("missing file") << "missing.rtf" << QByteArray() << "File  %1  does not exist." << QMessageBox::NoIcon;
        QTest::newRow("read error") << "/proc/self/mem" << QByteArray() << "Failed to Load Stream" << QMessageBox::Critical;
        QTest::newRow("too big and not wanted, placeholder in the path") << "100%1 %2.rtf" << QByteArray(512001, 'a') << tooBig << QMessageBox::Warning;
        // clang-format on
    }

    void failedOpenKeepsTheCurrentDocument() {
        QFETCH(QString, name);
        QFETCH(QByteArray, data);
        QFETCH(QString, message);
        const QString path = !data.isEmpty()              ? writeFile(name, data)
                             : QDir::isAbsolutePath(name) ? name
                                                          : sandbox->dir.filePath(name);
        const QString before = writeFile("before.rtf", "{\\rtf1 text}");
        QVERIFY(docs().OpenPath(before));
        QTest::keyClicks(editor(), QStringLiteral("more "));
        sandbox->dialogs->answers.enqueue(QMessageBox::No); // keep the changes unsaved
        sandbox->dialogs->fileNames.enqueue(path);
        docs().FileOpen1();
        QCOMPARE(sandbox->dialogs->messages.last().text,
                 message.contains("%1") ? message.arg(path) : message);
        QTEST(sandbox->dialogs->messages.last().icon, "icon");
        QCOMPARE(form->documentState().CurrentFileName(), before);
        QCOMPARE(title(), "Tessary - before.rtf*");
        QCOMPARE(editor()->toPlainText(), "more text");
        QVERIFY(form->documentState().DocumentModified());
    }

    void closeWritesSettingsEvenWhenCancelled() {
        QTest::keyClicks(editor(), QStringLiteral("text"));
        sandbox->dialogs->answers.enqueue(QMessageBox::Cancel);
        QVERIFY(!form->close() && form->isVisible());
        QCOMPARE(SettingsStore::instance().readString("Software\\Tessary\\Init", "Init").size(),
                 30);
    }

    void menuCommandsReachTheDocumentCommands() {
        QTest::keyClicks(editor(), QStringLiteral("menu text"));
        const QString path = sandbox->dir.filePath(QStringLiteral("menu.rtf"));
        sandbox->dialogs->fileNames.enqueue(path);
        QVERIFY(trigger("FileSaveAs"));
        QVERIFY(QFile::exists(path));
        editor()->setSelStart(4); // without a selection Delete takes the next character
        QVERIFY(trigger("EditDelete"));
        QCOMPARE(editor()->toPlainText(), "menutext");
        QVERIFY(trigger("EditSelectAll") && trigger("EditDelete"));
        QCOMPARE(editor()->textLength(), 0);
        sandbox->dialogs->answers.enqueue(QMessageBox::No);
        QVERIFY(trigger("FileNew"));
        sandbox->dialogs->fileNames.enqueue(path);
        QVERIFY(trigger("FileOpen1"));
        QCOMPARE(editor()->toPlainText(), "menu text");
        QTest::keyClick(editor(), Qt::Key_F1);
        QCOMPARE(sandbox->shell->opened.size(), 1);
        QVERIFY(sandbox->shell->opened.first().toLocalFile().endsWith("/help/contents.html"));
    }

    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("path"); // dialog/button
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("sourceAnchor");
        // clang-format off
        QTest::newRow("date: Cancel") << "EditDateTime" << "TTodayForm/CancelButton" << "dest src" << false;
        QTest::newRow("find: Cancel") << "SearchFind" << "FindDialog/CancelButton" << "dest src" << false;
        QTest::newRow("replace: Replace") << "SearchReplace" << "ReplaceDialog/ReplaceButton" << "dest z" << false;
        QTest::newRow("anchor: OK") << "HtmlSrcAnchor" << "TAnchorForm/AnchorOkButton" << "dest src" << true;
        QTest::newRow("anchor: Cancel") << "HtmlSrcAnchor" << "TAnchorForm/AnchorCancelButton" << "dest src" << false;
        // clang-format on
    }
    // "src" is selected, "dest" is a destination anchor; a search for "s" after the selection
    // misses, which the Find Next button (the default) would report.
    void enterPressesTheFocusedButton() {
        QFETCH(QString, command);
        QFETCH(QString, path);
        editor()->setPlainText(QStringLiteral("dest src"));
        editor()->setSelection(0, 4);
        QVERIFY(trigger("HtmlDestAnchor"));
        editor()->setSelection(5, 3);
        form->findReplace().findDialog()->setFindText(QStringLiteral("s"));
        form->findReplace().replaceDialog()->setFindText(QStringLiteral("s"));
        form->findReplace().replaceDialog()->setReplaceText(QStringLiteral("z"));
        auto *dialog = form->findChild<QDialog *>(path.section('/', 0, 0));
        auto *button = dialog->findChild<QPushButton *>(path.section('/', 1));
        bool closed = false;
        auto press = [&] {
            dialog->activateWindow();
            button->setFocus();
            QTRY_VERIFY(button->hasFocus());
            QTest::keyClick(button, Qt::Key_Return);
            closed = !dialog->isVisible();
        };
        const bool modal = !path.contains(QLatin1String("Dialog/"));
        if (modal)
            whileModal(press);
        QVERIFY(trigger(command.toLatin1()));
        if (!modal)
            press();
        QTRY_VERIFY(closed);
        QTEST(editor()->toPlainText(), "text");
        QTEST(Anchors::IsSrcAnchorColor(editor()->charAttributesAt(6).color), "sourceAnchor");
        // Only the replacement's closing miss is reported.
        QCOMPARE(sandbox->dialogs->messages.size(), qsizetype(command == "SearchReplace"));
    }

    // After an OK, the next choice closed by Escape or the close box answers as Cancel does.
    void anchorDialogClosedAnyWayIsCancelled() {
        editor()->setPlainText(QStringLiteral("dest src"));
        editor()->setSelection(0, 4);
        QVERIFY(trigger("HtmlDestAnchor"));
        TAnchorForm &dialog = form->anchors().form();
        for (int way : {0, 1, 2}) {
            editor()->setSelection(way ? 0 : 5, 3); // a second source on "des" marks nothing
            whileModal([&] {
                if (way == 0)
                    QTest::mouseClick(dialog.AnchorOkButton, Qt::LeftButton);
                else if (way == 1)
                    QTest::keyClick(dialog.AnchorEditor, Qt::Key_Escape);
                else
                    dialog.close();
            });
            QVERIFY(trigger("HtmlSrcAnchor"));
            QCOMPARE(dialog.result(),
                     way ? TAnchorForm::Result::Cancelled : TAnchorForm::Result::Accepted);
        }
    }

    void saveAsAsksBeforeReplacingTheCompletedName_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("savedAs"); // empty: nothing saved
        QTest::newRow("suffix added, No") << "report" << int(QMessageBox::No) << "";
        QTest::newRow("suffix added, Yes") << "report" << int(QMessageBox::Yes) << "report.rtf";
        QTest::newRow("typed whole: asked") << "report.rtf" << -1 << "report.rtf";
        QTest::newRow("new name") << "fresh" << -1 << "fresh.rtf";
    }
    void saveAsAsksBeforeReplacingTheCompletedName() {
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QString, savedAs);
        auto desktop = std::make_unique<DesktopSaveDialog>();
        sandbox->dialogs = desktop.get();
        Services::setDialogs(std::move(desktop));
        writeFile(QStringLiteral("report.rtf"), "kept");
        sandbox->dialogs->fileNames.enqueue(sandbox->dir.filePath(typed));
        sandbox->dialogs->answers.enqueue(QMessageBox::StandardButton(answer));
        QTest::keyClicks(editor(), QStringLiteral("new"));
        QCOMPARE(form->documents().FileSaveAs(), !savedAs.isEmpty());
        QCOMPARE(sandbox->dialogs->messages.size(), qsizetype(answer >= 0));
        QCOMPARE(test::readFile(sandbox->dir.filePath("report.rtf")) == "kept",
                 savedAs != "report.rtf");
        if (!savedAs.isEmpty())
            QCOMPARE(form->documentState().CurrentFileName(), sandbox->dir.filePath(savedAs));
    }

    // Five entries, newest first; reopening one moves it to the top without a duplicate.
    void recentListKeepsFiveWithoutDuplicates() {
        const QStringList paths = openAll({"1.rtf", "2.rtf", "3.rtf", "4.rtf", "5.rtf", "6.rtf"});
        QCOMPARE(recent().list(), paths.first(5));
        auto stored = [](const char *name) {
            return SettingsStore::instance().readString(RecentFiles::kKeyPath, name);
        };
        QCOMPARE(QStringList({stored("File0"), stored("File4"), stored("File5")}),
                 QStringList({paths.at(0), paths.at(4), QString()}));
        QAction *third = recent().entryActions().at(2);
        QCOMPARE(third->data().toString(), paths.at(2));
        third->trigger();
        QCOMPARE(form->documentState().CurrentFileName(), paths.at(2));
        QCOMPARE(recent().list(),
                 QStringList({paths.at(2), paths.at(0), paths.at(1), paths.at(3), paths.at(4)}));
    }

    void menuEntriesStandBetweenTwoSeparators() {
        QCOMPARE(menu->actions().size(), 4); // Print, separator, separator, Exit
        const QStringList paths = openAll({"x.rtf", "y&z.rtf"});
        const QList<QAction *> actions = menu->actions();
        QCOMPARE(actions.size(), 6);
        QVERIFY(actions.at(1)->isSeparator() && actions.at(4)->isSeparator());
        QCOMPARE(actions.at(2)->text(), "&0  " + QString(paths.at(0)).replace("&", "&&"));
        QCOMPARE(actions.at(3)->text(), "&1  " + paths.at(1));
        QCOMPARE(actions.at(5), exitAction);
    }

    // The list survives a restart, a file gone by then left out.
    void listSurvivesARestartWithoutVanishedFiles() {
        QVERIFY(QDir(sandbox->dir.path()).mkdir("sub"));
        const QStringList paths = openAll({"vanish.rtf", "r1.rtf", "sub/r2.rtf"});
        QVERIFY(QFile::remove(paths.last()));
        form->close();
        QCOMPARE(SettingsStore::instance().valueNames(RecentFiles::kKeyPath),
                 QStringList({"File0", "File1"}));
        form = std::make_unique<TMainForm>();
        attachMenu();
        QCOMPARE(recent().list(), paths.first(2));
    }

private:
    DocumentFiles &docs() { return form->documents(); }
    QString title() const { return form->windowHandle()->title(); }
    QStringList openAll(const QStringList &names) {
        QStringList paths;
        for (const QString &name : names) {
            paths.prepend(writeFile(name, "{\\rtf1 text}"));
            sandbox->dialogs->fileNames.enqueue(paths.first());
            form->documents().FileOpen1();
        }
        return paths;
    }

    // A File menu of its own keeps these tests apart from how the window builds its menus.
    void attachMenu() {
        menu = std::make_unique<QMenu>();
        menu->addAction(QStringLiteral("Print"));
        menu->addSeparator();
        exitAction = menu->addAction(QStringLiteral("Exit"));
        recent().attachMenu(menu.get(), exitAction);
        recent().BuildRecentFilesMenu();
    }
    RecentFiles &recent() { return form->recentFiles(); }
    std::unique_ptr<QMenu> menu;
    QAction *exitAction = nullptr;
};

QTEST_MAIN(DocumentFilesTest)
#include "tst_documentfiles.moc"
