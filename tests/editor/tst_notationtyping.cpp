#include "app/tmainform.h"
#include "editor/fontboxes.h"
#include "editor/notationtyping.h"
#include "platform/codepage.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <QtTest>
#include <memory>

using namespace tessary;

namespace {
constexpr quint32 kSilver = rgbColor(192, 192, 192);
const QChar kSymbolUnderscore = CodePage::notationSymbol().toUnicode(0xF3);
} // namespace

class NotationTypingTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(QSize(900, 600)); }
    void cleanup() { closeWindow(); }

    void typingOutsideNotationUsesTheFontBoxes() {
        form->notation().controls().BoldButton->setChecked(true);
        type("ab");
        QCOMPARE(editor()->toPlainText(), QStringLiteral("ab"));
        for (int i = 0; i < 2; ++i) {
            const CharAttributes a = editor()->charAttributesAt(i);
            QCOMPARE(fontAt(i), QStringLiteral("Times New Roman/12"));
            QCOMPARE(a.color, rgbColor(0, 0, 0));
            QVERIFY(a.bold && !a.italic && !a.underline);
        }
    }

    void typingInNotationModeUsesCourierNewEven() {
        form->notation().NotationButtonClick();
        form->notation().controls().ItalicButton->setChecked(true);
        type("x2");
        QCOMPARE(fontAt(1), QStringLiteral("Courier New Even/11"));
        QVERIFY(editor()->charAttributesAt(1).italic);
        QCOMPARE(editor()->charAttributesAt(1).charset, 0);
    }

    void notationSpacesFollowTheWhitespaceDisplay() {
        form->notation().NotationButtonClick();
        type("a b");
        QCOMPARE(editor()->toPlainText(), QStringLiteral("a b"));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(fontAt(i), QStringLiteral("Courier New Even/11"));
            QCOMPARE(editor()->charAttributesAt(i).color, rgbColor(0, 0, 0));
        }
        form->notation().controls().WhitespaceButton->setChecked(true);
        // A notation space takes no bold from the button: it keeps the caret's style.
        form->notation().controls().BoldButton->setChecked(true);
        type(" ");
        QCOMPARE(editor()->toPlainText(), QStringLiteral("a b_"));
        const CharAttributes space = editor()->charAttributesAt(3);
        QCOMPARE(space.color, kSilver);
        QCOMPARE(space.face, QStringLiteral("Courier New Even"));
        QVERIFY(!space.bold);
        // In overwrite mode a notation space is still inserted, never replacing.
        editor()->setSelStart(1);
        QTest::keyClick(editor(), Qt::Key_Insert);
        type(" ");
        QCOMPARE(editor()->toPlainText(), QStringLiteral("a_ b_"));
    }

    void spaceWithSelectionKeepsTheSelectedText() {
        type("pq");
        form->notation().NotationButtonClick();
        editor()->setSelection(0, 2);
        type(" ");
        QCOMPARE(editor()->toPlainText(), QStringLiteral(" pq"));
        QCOMPARE(fontAt(2), QStringLiteral("Courier New Even/11"));
        QCOMPARE(editor()->selLength(), 0);
    }

    void underscoreInNotationModeIsTheSymbol() {
        type("_");
        form->notation().NotationButtonClick();
        type("_");
        QCOMPARE(editor()->toPlainText(), QString(QStringLiteral("_") + kSymbolUnderscore));
        QCOMPARE(editor()->charAttributesAt(0).face, QStringLiteral("Times New Roman"));
        QCOMPARE(fontAt(1), QStringLiteral("TessarySymbol Even/11"));
        QCOMPARE(editor()->charAttributesAt(1).charset, 2);
        // The caret goes back to the box face so the next character sets a real face again.
        QCOMPARE(editor()->caretAttributes().face, QStringLiteral("Tessary Notation"));
    }

    void ctrlDigitsInsertSymbolDigitsWithoutEnteringNotation() {
        for (int key = Qt::Key_0; key <= Qt::Key_3; ++key)
            QTest::keyClick(editor(), Qt::Key(key), Qt::ControlModifier);
        const QString text = editor()->toPlainText();
        QCOMPARE(text.size(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(CodePage::notationSymbol().fromUnicode(text.at(i)), 0xB0 + i);
            QCOMPARE(fontAt(i), QStringLiteral("TessarySymbol Even/11"));
        }
        QVERIFY(!form->notation().inNotationMode());
        // With Shift held it is no command.
        QTest::keyClick(editor(), Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(editor()->toPlainText().size(), 4);
    }

    void shiftBaselineFollowsTheFaceTable_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("up");
        QTest::addColumn<QString>("down");
        const QString families[] = {"Courier New ", "Courier New Greek ", "TessarySymbol "};
        for (const QString &f : families) {
            QTest::newRow(qPrintable(f + "Low")) << f + "Low" << f + "Even" << f + "Low";
            QTest::newRow(qPrintable(f + "Even")) << f + "Even" << f + "High" << f + "Low";
            QTest::newRow(qPrintable(f + "High")) << f + "High" << f + "High" << f + "Even";
        }
        QTest::newRow("non-notation face") << "Arial"
                                           << "Arial"
                                           << "Arial";
    }

    void shiftBaselineFollowsTheFaceTable() {
        QFETCH(QString, face);
        QFETCH(QString, up);
        QFETCH(QString, down);
        for (int key : {int(Qt::Key_Up), int(Qt::Key_Down)}) {
            editor()->clear();
            form->notation().InsertWithFont(face, QStringLiteral("xy"));
            editor()->setSelStart(1);
            QTest::keyClick(editor(), Qt::Key(key), Qt::ControlModifier);
            QCOMPARE(editor()->charAttributesAt(0).face, key == Qt::Key_Up ? up : down);
            QCOMPARE(editor()->charAttributesAt(1).face, face);
            QCOMPARE(editor()->selStart(), 2); // one to the right, whatever the face
        }
    }

    void shiftBaselineStepsAcrossCharacters() {
        form->notation().NotationButtonClick();
        type("x2+");
        editor()->setSelStart(1);
        QTest::keyClick(editor(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(editor()->selStart(), 2);
        QTest::keyClick(editor(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(editor()->charAttributesAt(0).face, QStringLiteral("Courier New High"));
        QCOMPARE(editor()->charAttributesAt(1).face, QStringLiteral("Courier New High"));
        QCOMPARE(editor()->charAttributesAt(2).face, QStringLiteral("Courier New Even"));
        QCOMPARE(editor()->charAttributesAt(0).size, 11);
        // At the start there is no character before the caret: nothing changes.
        editor()->setSelStart(0);
        QTest::keyClick(editor(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(editor()->charAttributesAt(0).face, QStringLiteral("Courier New High"));
        QCOMPARE(editor()->selStart(), 0);
    }

    void insertWithFontInOverwriteModeReplacesOneCharacter() {
        type("abcdef");
        QTest::keyClick(editor(), Qt::Key_Insert);
        QVERIFY(!form->context().InsertMode);
        editor()->setSelection(1, 4);
        form->notation().InsertWithFont(QStringLiteral("Courier New Greek Even"), 0xE1);
        QCOMPARE(editor()->toPlainText(), QStringLiteral("a\u03B1cdef"));
        QCOMPARE(editor()->charAttributesAt(1).face, QStringLiteral("Courier New Greek Even"));
        QCOMPARE(editor()->charAttributesAt(1).charset, 161);
        QCOMPARE(selection(), qMakePair(2, 0));
        // The whole insertion is one undo step.
        editor()->undo();
        QCOMPARE(editor()->toPlainText(), QStringLiteral("abcdef"));
        // At the end of a line the line break stays: the character is added instead.
        editor()->setPlainText(QStringLiteral("ab\ncd"));
        editor()->setSelection(2, 2);
        form->notation().InsertWithFont(QStringLiteral("TessarySymbol Even"), 0xB1);
        QCOMPARE(editor()->toPlainText(), QStringLiteral("ab\u00B9\ncd"));
    }

    void insertKeyTogglesBothModes_data() {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("main keyboard") << Qt::KeyboardModifiers();
        QTest::newRow("keypad") << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }

    void insertKeyTogglesBothModes() {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        for (bool overwrite : {true, false}) {
            QTest::keyClick(editor(), Qt::Key_Insert, modifiers);
            QCOMPARE(form->notation().controls().InsStateLabel->text(),
                     overwrite ? QStringLiteral("Overwrite") : QStringLiteral("    Insert"));
            QCOMPARE(editor()->overwriteMode(), overwrite);
            QCOMPARE(form->context().InsertMode, !overwrite);
        }
    }

    void typedCharacterReplacesTheSelectionAndNothingMore_data() {
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<bool>("notation");
        QTest::addColumn<QString>("typedOverC");
        QTest::addColumn<QString>("face");
        // clang-format off
        QTest::newRow("insert mode") << false << false << "aydzef" << "Times New Roman";
        QTest::newRow("overwrite") << true << false << "aydzf" << "Times New Roman";
        QTest::newRow("overwrite in notation") << true << true << "aydzf" << "Courier New Even";
        // clang-format on
    }

    // Neighbours in another face show that a typed character takes the typing face.
    void typedCharacterReplacesTheSelectionAndNothingMore() {
        QFETCH(bool, overwrite);
        QFETCH(bool, notation);
        QFETCH(QString, face);
        type("abcdef");
        editor()->setRangeAttributes(0, 6, {.face = "DejaVu Sans"}, CharAttributes::Face);
        if (notation)
            form->notation().NotationButtonClick();
        QTest::keyClick(editor(), Qt::Key_Home);
        QTest::keyClick(editor(), Qt::Key_Right);
        QTest::keyClick(editor(), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(editor(), Qt::Key_Right, Qt::ShiftModifier);
        if (overwrite)
            QTest::keyClick(editor(), Qt::Key_Insert);
        type("y");
        QCOMPARE(editor()->toPlainText(), QStringLiteral("aydef"));
        QCOMPARE(editor()->charAttributesAt(1).face, face);
        QTest::keyClick(editor(), Qt::Key_Right);
        type("z");
        QTEST(editor()->toPlainText(), "typedOverC");
        QCOMPARE(editor()->charAttributesAt(3).face, face);
        editor()->undo();
        editor()->undo();
        QCOMPARE(editor()->toPlainText(), QStringLiteral("abcdef"));
    }

    void inputMethodTextFollowsTheTypingRules() {
        form->notation().NotationButtonClick();
        QInputMethodEvent composed;
        composed.setCommitString(QStringLiteral("\u00E9_"));
        QApplication::sendEvent(editor(), &composed);
        QCOMPARE(editor()->toPlainText(), QStringLiteral("\u00E9") + kSymbolUnderscore);
        QCOMPARE(fontAt(0), QStringLiteral("Courier New Even/11"));
    }

    void ctrlDigitFollowsThePhysicalKey_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<quint32>("scanCode");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("typed");
        const QString two = CodePage::notationSymbol().toUnicode(0xB2);
        QTest::newRow("qwerty 2") << int(Qt::Key_2) << 11u << int(Qt::ControlModifier) << two;
        QTest::newRow("azerty 2 gives e acute")
            << int(Qt::Key_Eacute) << 11u << int(Qt::ControlModifier) << two;
        QTest::newRow("azerty 0 gives a grave")
            << int(Qt::Key_Agrave) << 19u << int(Qt::ControlModifier)
            << QString(CodePage::notationSymbol().toUnicode(0xB0));
        QTest::newRow("keypad 2") << int(Qt::Key_2) << 0u
                                  << int(Qt::ControlModifier | Qt::KeypadModifier) << QString();
        QTest::newRow("top row 5")
            << int(Qt::Key_5) << 14u << int(Qt::ControlModifier) << QString();
    }

    void ctrlDigitFollowsThePhysicalKey() {
        QFETCH(int, key);
        QFETCH(quint32, scanCode);
        QFETCH(int, modifiers);
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), scanCode, 0, 0);
        QApplication::sendEvent(editor(), &press);
        QTEST(editor()->toPlainText(), "typed");
    }

    void ctrlYDeletesOneDisplayLineOfAWrappedParagraph() {
        QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier); // on an empty document
        QVERIFY(!editor()->document()->isUndoAvailable());
        editor()->setFixedWidth(200);
        QString words;
        for (int i = 0; i < 30; ++i)
            words += QStringLiteral("word%1 ").arg(i, 2, 10, QChar('0'));
        editor()->setPlainText(words.trimmed() + QStringLiteral("\nlast line"));
        QTRY_VERIFY(editor()->lineCount() > 3);
        const int lines = editor()->lineCount();
        const QString second = editor()->lineText(1);
        QVERIFY(second.startsWith(QStringLiteral("word")));
        editor()->setSelStart(editor()->lineStart(1) + 2);
        QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(!editor()->toPlainText().contains(second));
        QVERIFY(editor()->toPlainText().contains(QStringLiteral("word00")));
        QVERIFY(editor()->toPlainText().endsWith(QStringLiteral("\nlast line")));
        QCOMPARE(editor()->selLength(), 0);
        // The paragraph's last display line takes its break with it.
        editor()->setSelStart(editor()->lineStart(editor()->lineCount() - 2));
        const int before = editor()->lineCount();
        QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(editor()->lineCount() < before);
        QVERIFY(lines > before);
        QVERIFY(editor()->toPlainText().endsWith(QStringLiteral("last line")));
        QVERIFY(!editor()->toPlainText().contains(QChar('\n')));
    }

    void whitespaceToggleConvertsOnlyNotationSpaces() {
        // Arial "_" and " ", then notation " " (black) and a visible notation space.
        form->notation().InsertWithFont(QStringLiteral("Arial"), QStringLiteral("_ "));
        form->notation().NotationButtonClick();
        type(" ");
        form->notation().controls().WhitespaceButton->setChecked(true);
        type(" ");
        QCOMPARE(editor()->toPlainText(), QStringLiteral("_  _"));
        editor()->selectAll();
        // Button up: the silver notation "_" becomes a black space; the Arial "_" stays.
        QTest::mouseClick(form->notation().controls().WhitespaceButton, Qt::LeftButton);
        QVERIFY(!form->notation().controls().WhitespaceButton->isChecked());
        QCOMPARE(editor()->toPlainText(), QStringLiteral("_   "));
        QCOMPARE(editor()->charAttributesAt(3).color, rgbColor(0, 0, 0));
        QCOMPARE(selection(), qMakePair(0, 0));
        // Button down: black notation spaces become silver "_"; the Arial space stays.
        editor()->selectAll();
        QTest::mouseClick(form->notation().controls().WhitespaceButton, Qt::LeftButton);
        QCOMPARE(editor()->toPlainText(), QStringLiteral("_ __"));
        QCOMPARE(editor()->charAttributesAt(2).color, kSilver);
        QCOMPARE(editor()->charAttributesAt(0).face, QStringLiteral("Arial"));
        // One undo step restores the whole conversion.
        editor()->undo();
        QCOMPARE(editor()->toPlainText(), QStringLiteral("_   "));
    }

private:
    void type(const QString &text) {
        for (QChar c : text)
            QTest::keyClick(editor(), c.toLatin1());
    }
};

QTEST_MAIN(NotationTypingTest)
#include "tst_notationtyping.moc"
