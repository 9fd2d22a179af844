#include "documents/findreplace.h"
#include "html/anchors.h"
#include "html/tanchorform.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest>

using namespace tessary;


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

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
