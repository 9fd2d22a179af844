#include "app/tmainform.h"
#include "documents/findreplace.h"
#include "editor/commandstate.h"
#include "platform/documentstate.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace tessary;

class FindReplaceTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void findStartsAtTheTopThenGoesOnToTheEnd() {
        editor()->setPlainText(QStringLiteral("ab ab"));
        editor()->setSelection(4, 0); // the caret further down does not count
        QVERIFY(trigger("SearchFind"));
        FindDialog *dialog = search().findDialog();
        QVERIFY(dialog->isVisible());
        QTest::keyClicks(dialog->FindTextEdit, QStringLiteral("ab"));
        QTest::mouseClick(dialog->FindNextButton, Qt::LeftButton);
        QCOMPARE(selection(), qMakePair(0, 2));
        QTest::mouseClick(dialog->FindNextButton, Qt::LeftButton);
        QCOMPARE(selection(), qMakePair(3, 2));
        QVERIFY(messages().isEmpty());
        QTest::mouseClick(dialog->FindNextButton, Qt::LeftButton);
        QCOMPARE(messages(), QStringList{QStringLiteral("End of search for 'ab'")});
        QVERIFY(!dialog->isVisible());
        QCOMPARE(selection(), qMakePair(3, 0));
    }

    void emptyFindTextEndsTheSearchAndChangesNothing() {
        editor()->setPlainText(QStringLiteral("some text"));
        QVERIFY(trigger("SearchReplace"));
        ReplaceDialog *dialog = search().replaceDialog();
        QVERIFY(dialog->isVisible());
        QCOMPARE(search().searchMode(), FindReplace::Mode::Replace);
        dialog->setReplaceText(QStringLiteral("x"));
        QTest::mouseClick(dialog->ReplaceAllButton, Qt::LeftButton);
        QCOMPARE(messages(), QStringList{QStringLiteral("End of search for ''")});
        QVERIFY(!dialog->isVisible());
        QCOMPARE(editor()->toPlainText(), QStringLiteral("some text"));
    }

    void replaceAllResumesAfterEachInsertedText() {
        editor()->setPlainText(QStringLiteral("aaa"));
        QVERIFY(trigger("Replace1")); // the menu item runs the Replace command
        ReplaceDialog *dialog = search().replaceDialog();
        QVERIFY(dialog->isVisible());
        dialog->setFindText(QStringLiteral("a"));
        dialog->setReplaceText(QStringLiteral("aa"));
        QTest::mouseClick(dialog->ReplaceAllButton, Qt::LeftButton);
        QCOMPARE(editor()->toPlainText(), QStringLiteral("aaaaaa"));
        QCOMPARE(messages().size(), 1);
        editor()->undo(); // one command, one undo step
        QCOMPARE(editor()->toPlainText(), QStringLiteral("aaa"));
    }

    void replaceTakesAnySelectionThenFindsTheNext() {
        editor()->setPlainText(QStringLiteral("xyz ab"));
        editor()->setSelection(0, 2);
        QVERIFY(trigger("SearchReplace"));
        ReplaceDialog *dialog = search().replaceDialog();
        dialog->setFindText(QStringLiteral("ab"));
        dialog->setReplaceText(QStringLiteral("Q"));
        QTest::mouseClick(dialog->ReplaceButton, Qt::LeftButton);
        QCOMPARE(editor()->toPlainText(), QStringLiteral("Qz ab"));
        QCOMPARE(selection(), qMakePair(3, 2));
        QVERIFY(dialog->isVisible());
        QCOMPARE(search().findDialog()->findText(), QStringLiteral("ab"));
    }

    // Replacing by nothing leaves no selection; the next search must go on from there rather
    // than start again at the top.
    void emptyReplacementSearchesOnFromTheReplacedPlace() {
        editor()->setPlainText(QStringLiteral("a1 a2 a3"));
        editor()->setSelection(3, 1);
        QVERIFY(trigger("SearchReplace"));
        ReplaceDialog *dialog = search().replaceDialog();
        dialog->setFindText(QStringLiteral("a"));
        QTest::mouseClick(dialog->ReplaceButton, Qt::LeftButton);
        QCOMPARE(editor()->toPlainText(), QStringLiteral("a1 2 a3"));
        QCOMPARE(selection(), qMakePair(5, 1));
    }

    void replaceDialogOptionsApplyToItsFindNext_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<int>("hit");
        QTest::newRow("nominal: neither option") << "AB abc ab" << false << false << 0;
        QTest::newRow("nominal: match case") << "AB abc ab" << true << false << 3;
        QTest::newRow("nominal: whole word") << "abc AB ab" << false << true << 4;
        QTest::newRow("nominal: both") << "abc AB ab" << true << true << 7;
    }

    void replaceDialogOptionsApplyToItsFindNext() {
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(int, hit);
        editor()->setPlainText(text);
        QVERIFY(trigger("SearchReplace"));
        ReplaceDialog *dialog = search().replaceDialog();
        dialog->setFindText(QStringLiteral("ab"));
        if (matchCase)
            QTest::keyClick(dialog->MatchCaseBox, Qt::Key_Space);
        if (wholeWord)
            QTest::keyClick(dialog->WholeWordBox, Qt::Key_Space);
        QTest::mouseClick(dialog->FindNextButton, Qt::LeftButton);
        QCOMPARE(selection(), qMakePair(hit, 2));
        QCOMPARE(editor()->toPlainText(), text);
    }

    // The HTML export searches a control on a hidden form: no message, and the dialogs the user
    // last used stay closed.
    void hiddenControlSearchesSilently() {
        RichEdit aux;
        aux.setObjectName(QStringLiteral("AuxEditor"));
        aux.setPlainText(QStringLiteral("x\\f1 y\\f1"));
        editor()->setPlainText(QStringLiteral("y"));
        QVERIFY(trigger("SearchFind"));
        search().findDialog()->close();
        search().replaceDialog()->setFindText(QStringLiteral("\\f1"));
        search().replaceDialog()->setReplaceText(QStringLiteral("\\f2 "));
        search().replaceDialog()->setRequest(ReplaceDialog::Request::ReplaceAll);
        search().ReplaceInEditor(&aux);
        QCOMPARE(aux.toPlainText(), QStringLiteral("x\\f2  y\\f2 "));
        search().findDialog()->setFindText(QStringLiteral("y"));
        aux.setSelection(0, 0);
        search().FindInEditor(&aux);
        QCOMPARE(aux.selStart(), 6);
        QVERIFY(!search().findDialog()->isVisible());
        search().FindInEditor(&aux);
        QVERIFY(messages().isEmpty());
        QCOMPARE(aux.selLength(), 0);
    }

    void dialogMovesOffTheHit() {
        editor()->setPlainText(QStringLiteral("needle"));
        QVERIFY(trigger("SearchFind"));
        FindDialog *dialog = search().findDialog();
        const QRect first = editor()->cursorRect(QTextCursor(editor()->document()));
        const QPoint onText = editor()->viewport()->mapToGlobal(first.topLeft());
        dialog->move(onText - QPoint(10, 10));
        QVERIFY(dialog->frameGeometry().contains(onText));
        dialog->setFindText(QStringLiteral("needle"));
        QTest::mouseClick(dialog->FindNextButton, Qt::LeftButton);
        QCOMPARE(editor()->selLength(), 6);
        QTextCursor end(editor()->document());
        end.setPosition(6);
        QRect hit = first.united(editor()->cursorRect(end));
        hit.moveTopLeft(editor()->viewport()->mapToGlobal(hit.topLeft()));
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->frameGeometry().intersects(hit));
    }

private:
    FindReplace &search() { return form->findReplace(); }

    QStringList messages() const {
        QStringList texts;
        for (const auto &shown : sandbox->dialogs->messages)
            texts.append(shown.text);
        return texts;
    }
};

QTEST_MAIN(FindReplaceTest)
#include "tst_findreplace.moc"
