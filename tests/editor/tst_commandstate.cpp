#include "app/tmainform.h"
#include "editor/notationtyping.h"
#include "editor/palettes.h"
#include "platform/documentstate.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <memory>

using namespace tessary;

class CommandStateTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(QSize(1000, 600)); }
    void cleanup() { closeWindow(); }

    void emptyDocumentDisablesTheDocumentCommands() {
        QTRY_VERIFY(!enabled("FileSave"));
        for (const char *name :
             {"FileSaveAs", "FilePrint", "HtmlGenerate", "SearchFind", "Replace1", "EditCut",
              "EditCopy", "HtmlSrcAnchor", "HtmlDestAnchor", "EditUndo"})
            QVERIFY2(!enabled(name), name);
        for (const char *name : {"EditDelete", "FileNew", "FileOpen1", "FileExit", "EditSelectAll",
                                 "EditDateTime", "SearchReplace", "HelpContents", "HelpAbout"})
            QVERIFY2(enabled(name), name);
        QVERIFY(!form->findChild<QToolButton *>("UnderlineButton")->isEnabled());
        // A lone paragraph break is no content either: the last empty line does not count.
        QTest::keyClick(editor(), Qt::Key_Return);
        QTRY_VERIFY(enabled("EditUndo"));
        QVERIFY(enabled("FileSave"));
        QTest::keyClick(editor(), Qt::Key_Backspace);
        QTRY_VERIFY(!enabled("FileSave"));
        QVERIFY(!enabled("SearchFind"));
    }

    void oneSelectedCharacterEnablesTheSelectionCommands() {
        QTest::keyClicks(editor(), QStringLiteral("ab"));
        QTRY_VERIFY(enabled("FileSave"));
        for (const char *name :
             {"FileSaveAs", "FilePrint", "HtmlGenerate", "SearchFind", "Replace1", "EditUndo"})
            QVERIFY2(enabled(name), name);
        QVERIFY(!enabled("EditCut"));
        QTest::keyClick(editor(), Qt::Key_Left, Qt::ShiftModifier);
        QTRY_VERIFY(enabled("EditCut"));
        for (const char *name : {"EditCopy", "HtmlSrcAnchor", "HtmlDestAnchor"})
            QVERIFY2(enabled(name), name);
        QVERIFY(form->findChild<QToolButton *>("UnderlineButton")->isEnabled());
        QTest::keyClick(editor(), Qt::Key_Right);
        QTRY_VERIFY(!enabled("EditCut"));
        QVERIFY(!form->findChild<QToolButton *>("UnderlineButton")->isEnabled());
    }

    void pasteFollowsTheClipboard() {
        QGuiApplication::clipboard()->setText(QStringLiteral("text"));
        QTRY_VERIFY(enabled("EditPaste"));
        QGuiApplication::clipboard()->clear();
        QTRY_VERIFY(!enabled("EditPaste"));
    }

    void lineLabelShowsTheCaretLine() {
        QTRY_COMPARE(form->findChild<QLabel *>("LineCountLabel")->text(), QStringLiteral("1"));
        QTest::keyClicks(editor(), QStringLiteral("one"));
        QVERIFY(form->documentState().DocumentModified());
        QTest::keyClick(editor(), Qt::Key_Return);
        QTest::keyClick(editor(), Qt::Key_Return);
        QTRY_COMPARE(form->findChild<QLabel *>("LineCountLabel")->text(), QStringLiteral("3"));
        QTest::keyClick(editor(), Qt::Key_Up);
        QTRY_COMPARE(form->findChild<QLabel *>("LineCountLabel")->text(), QStringLiteral("2"));
        // A narrower window rewraps the text: the label follows the caret to its new line.
        editor()->setPlainText(QStringLiteral("word ").repeated(60));
        editor()->moveCursor(QTextCursor::End);
        const QLabel *label = form->findChild<QLabel *>("LineCountLabel");
        QTRY_COMPARE(label->text(), QString::number(editor()->caretPos().y() + 1));
        const int wide = label->text().toInt();
        form->resize(500, 600);
        QTRY_VERIFY(editor()->caretPos().y() + 1 > wide);
        QTRY_COMPARE(label->text(), QString::number(editor()->caretPos().y() + 1));
    }

    void menuItemsRunTheCommandsTheyStandFor() {
        QSignalSpy about(form->action("HelpAbout"), &QAction::triggered);
        // The about box is modal: look at it and close it from inside its loop.
        QString shown;
        QTimer::singleShot(0, form.get(), [&shown] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                shown = box->objectName();
                box->close();
            }
        });
        form->action("AboutTessary1")->trigger();
        QCOMPARE(shown, QStringLiteral("TAboutBox"));
        QCOMPARE(about.count(), 1);
    }

    void altLetterOpensItsMenu_data() {
        QTest::addColumn<char>("letter");
        QTest::addColumn<QString>("menu");
        QTest::newRow("file") << 'f' << "FileMenu";
        QTest::newRow("edit") << 'e' << "EditMenu";
        QTest::newRow("html") << 't' << "HtmlMenu";
        QTest::newRow("search") << 's' << "SearchMenu";
        QTest::newRow("help") << 'h' << "HelpMenu";
    }

    void altLetterOpensItsMenu() {
        QFETCH(char, letter);
        QFETCH(QString, menu);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(editor(), letter, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), form->findChild<QMenu *>(menu));
        QApplication::activePopupWidget()->close();
        QCOMPARE(editor()->toPlainText(), QString());
    }

    void openingAMenuOrClickingTheEditorCancelsTheFunctionKeyHint() {
        form->palettes().bars().FnHint->show();
        auto *edit = form->findChild<QMenu *>("EditMenu");
        edit->popup(form->mapToGlobal(QPoint(40, 40)));
        QVERIFY(!form->palettes().bars().FnHint->isVisible());
        edit->close();
        form->palettes().bars().FnHint->show();
        QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QVERIFY(!form->palettes().bars().FnHint->isVisible());
    }

    void shortcutsRunEnabledCommandsOnly() {
        QSignalSpy find(form->action("SearchFind"), &QAction::triggered);
        QSignalSpy replace(form->action("SearchReplace"), &QAction::triggered);
        QTRY_VERIFY(!enabled("SearchFind"));
        QTest::keyClick(editor(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(editor(), Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(find.count(), 0);
        QCOMPARE(replace.count(), 0);
        QTest::keyClicks(editor(), QStringLiteral("x"));
        QTRY_VERIFY(enabled("SearchFind"));
        QTest::keyClick(editor(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(editor(), Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(find.count(), 1);
        QCOMPARE(replace.count(), 1);
    }

private:
    bool enabled(const char *name) { return form->action(QString::fromLatin1(name))->isEnabled(); }
};

QTEST_MAIN(CommandStateTest)
#include "tst_commandstate.moc"
