#include "documents/documentfiles.h"
#include "documents/findreplace.h"
#include "html/anchors.h"
#include "html/tanchorform.h"
#include "platform/documentstate.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest>

using namespace tessary;

namespace {
// The desktop's own save dialog, typed into by the user: it answers the name as typed.
class DesktopSaveDialog : public test::ScriptedDialogs {
public:
    QString saveFileName(QWidget *parent, const QString &title, const QString &startPath,
                         const QString &filter, const QString &defaultSuffix) override {
        return DialogService::saveFileName(parent, title, startPath, filter, defaultSuffix);
    }
    QString saveDialog(QWidget *, const QString &, const QString &startPath,
                       const QString &) override {
        startPaths.append(startPath);
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
};
} // namespace

// The keyboard in the program's dialogs, as a user drives them.
class DialogsTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void everyWayOutOfTheAnchorDialogAnswers_data();
    void everyWayOutOfTheAnchorDialogAnswers();
    void saveAsAsksBeforeReplacingTheCompletedName_data();
    void saveAsAsksBeforeReplacingTheCompletedName();

private:
    // "dest src" with "dest" a destination anchor and "src" selected.
    void prepareAnchors();
    void pressEnterOn(const QString &dialogName, const QString &buttonName);
};

void DialogsTest::prepareAnchors() {
    editor()->setPlainText(QStringLiteral("dest src"));
    editor()->setSelection(0, 4);
    QVERIFY(trigger("HtmlDestAnchor"));
    editor()->setSelection(5, 3);
}

void DialogsTest::pressEnterOn(const QString &dialogName, const QString &buttonName) {
    auto *dialog = form->findChild<QDialog *>(dialogName);
    QVERIFY(dialog && dialog->isVisible());
    auto *button = dialog->findChild<QPushButton *>(buttonName);
    QVERIFY(button);
    dialog->activateWindow();
    button->setFocus();
    QTRY_VERIFY(button->hasFocus());
    QTest::keyClick(button, Qt::Key_Return);
}

void DialogsTest::enterPressesTheFocusedButton_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("dialogName");
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("sourceAnchor");
    QTest::addColumn<int>("messages");
    QTest::newRow("date: Cancel types nothing") << "EditDateTime"
                                                << "TTodayForm"
                                                << "CancelButton"
                                                << "dest src" << false << 0;
    QTest::newRow("find: Cancel searches nothing") << "SearchFind"
                                                   << "FindDialog"
                                                   << "CancelButton"
                                                   << "dest src" << false << 0;
    QTest::newRow("replace: Replace replaces the selection") << "SearchReplace"
                                                             << "ReplaceDialog"
                                                             << "ReplaceButton"
                                                             << "dest z" << false << 1;
    QTest::newRow("anchor: OK marks the source") << "HtmlSrcAnchor"
                                                 << "TAnchorForm"
                                                 << "AnchorOkButton"
                                                 << "dest src" << true << 0;
    QTest::newRow("anchor: Cancel closes") << "HtmlSrcAnchor"
                                           << "TAnchorForm"
                                           << "AnchorCancelButton"
                                           << "dest src" << false << 0;
}

void DialogsTest::enterPressesTheFocusedButton() {
    QFETCH(QString, command);
    QFETCH(QString, dialogName);
    QFETCH(QString, buttonName);
    prepareAnchors();
    for (FindDialog *search : {form->findReplace().findDialog(),
                               static_cast<FindDialog *>(form->findReplace().replaceDialog())})
        search->setFindText(QStringLiteral("s"));
    form->findReplace().replaceDialog()->setReplaceText(QStringLiteral("z"));
    auto *dialog = form->findChild<QDialog *>(dialogName);
    QVERIFY(dialog);
    bool pressed = false;
    auto press = [&] {
        pressEnterOn(dialogName, buttonName);
        pressed = !dialog->isVisible();
    };
    const bool modal = !dialogName.endsWith(QLatin1String("Dialog")); // find and replace are not
    if (modal)
        whileModal(press);
    QVERIFY(trigger(command.toLatin1()));
    if (!modal)
        press();
    QTRY_VERIFY(pressed);
    QTEST(editor()->toPlainText(), "text");
    QTEST(Anchors::IsSrcAnchorColor(editor()->charAttributesAt(6).color), "sourceAnchor");
    QTEST(int(sandbox->dialogs->messages.size()), "messages");
}

void DialogsTest::everyWayOutOfTheAnchorDialogAnswers_data() {
    QTest::addColumn<bool>("report");
    QTest::addColumn<int>("way");
    QTest::addColumn<int>("tag");
    enum { CancelButton, Escape, CloseBox };
    QTest::newRow("choose: Cancel button") << false << int(CancelButton) << 0;
    QTest::newRow("choose: Escape") << false << int(Escape) << 0;
    QTest::newRow("choose: close box") << false << int(CloseBox) << 0;
    QTest::newRow("report: Escape") << true << int(Escape) << 1;
    QTest::newRow("report: close box") << true << int(CloseBox) << 1;
}

// A previous OK must not be read as the answer of a dialog that was closed another way.
void DialogsTest::everyWayOutOfTheAnchorDialogAnswers() {
    QFETCH(bool, report);
    QFETCH(int, way);
    TAnchorForm &anchorForm = form->anchors().form();
    prepareAnchors();
    whileModal([&] { QTest::mouseClick(anchorForm.AnchorOkButton, Qt::LeftButton); });
    QVERIFY(trigger("HtmlSrcAnchor"));
    QCOMPARE(anchorForm.result(), TAnchorForm::Result::Accepted);
    editor()->setSelection(0, 4); // marks nothing new whichever way it ends

    bool closed = false;
    whileModal([&] {
        if (way == 0)
            QTest::mouseClick(anchorForm.AnchorCancelButton, Qt::LeftButton);
        else if (way == 1)
            QTest::keyClick(anchorForm.AnchorEditor, Qt::Key_Escape);
        else
            anchorForm.close();
        closed = !anchorForm.isVisible();
    });
    if (report)
        anchorForm.ShowReport({{QStringLiteral("Source anchor without destination"), Qt::blue,
                                QTextDocumentFragment()}});
    else
        QVERIFY(trigger("HtmlSrcAnchor"));
    QTRY_VERIFY(closed);
    QCOMPARE(anchorForm.result(), TAnchorForm::Result::Cancelled);
    QTEST(anchorForm.cancelTag(), "tag");
}

void DialogsTest::saveAsAsksBeforeReplacingTheCompletedName_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("savedAs");
    QTest::newRow("suffix added, No keeps the file") << "report" << int(QMessageBox::No) << 1 << "";
    QTest::newRow("suffix added, Yes replaces it")
        << "report" << int(QMessageBox::Yes) << 1 << "report.rtf";
    QTest::newRow("typed in full: the dialog asked already")
        << "report.rtf" << int(QMessageBox::No) << 0 << "report.rtf";
    QTest::newRow("new name: nothing to ask")
        << "fresh" << int(QMessageBox::No) << 0 << "fresh.rtf";
}

void DialogsTest::saveAsAsksBeforeReplacingTheCompletedName() {
    QFETCH(QString, typed);
    QFETCH(QString, savedAs);
    QFETCH(int, answer);
    auto desktop = std::make_unique<DesktopSaveDialog>();
    sandbox->dialogs = desktop.get();
    Services::setDialogs(std::move(desktop));
    const QString report = writeFile(QStringLiteral("report.rtf"), "kept");
    sandbox->dialogs->fileNames.enqueue(sandbox->dir.filePath(typed));
    sandbox->dialogs->answers.enqueue(QMessageBox::StandardButton(answer));
    QTest::keyClicks(editor(), QStringLiteral("new text"));
    form->documents().FileSaveAs();
    QTEST(int(sandbox->dialogs->messages.size()), "questions");
    if (savedAs.isEmpty()) {
        QFile kept(report);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("kept"));
        QCOMPARE(form->documentState().CurrentFileName(), form->documents().untitledName());
        return;
    }
    const QString path = sandbox->dir.filePath(savedAs);
    QCOMPARE(form->documentState().CurrentFileName(), path);
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("new text"));
}

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
