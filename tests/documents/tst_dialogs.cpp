#include "documents/documentfiles.h"
#include "documents/findreplace.h"
#include "html/anchors.h"
#include "html/tanchorform.h"
#include "platform/documentstate.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QPushButton>
#include <QtTest>

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

class DialogsTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("path"); // dialog/button
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("sourceAnchor");
        QTest::newRow("date: Cancel") << "EditDateTime"
                                      << "TTodayForm/CancelButton"
                                      << "dest src" << false;
        QTest::newRow("find: Cancel") << "SearchFind"
                                      << "FindDialog/CancelButton"
                                      << "dest src" << false;
        QTest::newRow("replace: Replace") << "SearchReplace"
                                          << "ReplaceDialog/ReplaceButton"
                                          << "dest z" << false;
        QTest::newRow("anchor: OK") << "HtmlSrcAnchor"
                                    << "TAnchorForm/AnchorOkButton"
                                    << "dest src" << true;
        QTest::newRow("anchor: Cancel") << "HtmlSrcAnchor"
                                        << "TAnchorForm/AnchorCancelButton"
                                        << "dest src" << false;
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
        QFile report(sandbox->dir.filePath(QStringLiteral("report.rtf")));
        QVERIFY(report.open(QIODevice::ReadOnly));
        QCOMPARE(report.readAll() == "kept", savedAs != "report.rtf");
        if (!savedAs.isEmpty())
            QCOMPARE(form->documentState().CurrentFileName(), sandbox->dir.filePath(savedAs));
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
