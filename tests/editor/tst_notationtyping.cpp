#include "rtf/codepage.h"
#include "windowtest.h"

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

    void typingFollowsTheBoxesOrTheNotationFace() {
        form->notation().controls().BoldButton->setChecked(true);
        type("a");
        form->notation().NotationButtonClick();
        form->notation().controls().ItalicButton->setChecked(true);
        type("2");
        const CharAttributes a = editor()->charAttributesAt(0), two = editor()->charAttributesAt(1);
        QCOMPARE(fontAt(0) + " " + fontAt(1), "Times New Roman/12 Courier New Even/11");
        QVERIFY(a.bold && !a.italic && !a.underline && two.italic);
        QCOMPARE(a.color, rgbColor(0, 0, 0));
        QCOMPARE(two.charset, 0);
    }

    void notationSpacesFollowTheWhitespaceDisplay() {
        form->notation().NotationButtonClick();
        type("a b");
        QCOMPARE(fontAt(1), "Courier New Even/11");
        QCOMPARE(editor()->charAttributesAt(1).color, rgbColor(0, 0, 0));
        form->notation().controls().WhitespaceButton->setChecked(true);
        // A notation space takes no bold from the button: it keeps the caret's style.
        form->notation().controls().BoldButton->setChecked(true);
        type(" ");
        QCOMPARE(editor()->toPlainText(), "a b_");
        QCOMPARE(editor()->charAttributesAt(3).color, kSilver);
        QVERIFY(!editor()->charAttributesAt(3).bold);
        // In overwrite mode a notation space is still inserted, never replacing.
        editor()->setSelStart(1);
        QTest::keyClick(editor(), Qt::Key_Insert);
        type(" ");
        QCOMPARE(editor()->toPlainText(), "a_ b_");
    }

    void spaceWithSelectionKeepsTheSelectedText() {
        type("pq");
        form->notation().NotationButtonClick();
        editor()->setSelection(0, 2);
        type(" ");
        QCOMPARE(editor()->toPlainText(), " pq");
        QCOMPARE(fontAt(2), "Courier New Even/11");
        QCOMPARE(editor()->selLength(), 0);
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
        const QString arial = QStringLiteral("Arial");
        QTest::newRow("non-notation face") << arial << arial << arial; // clang-format off
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

    // Each step moves on by one; at the start there is no character before the caret.
    void shiftBaselineStepsAcrossCharacters() {
        form->notation().NotationButtonClick();
        type("x2+");
        editor()->setSelStart(1);
        QTest::keyClick(editor(), Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(editor(), Qt::Key_Up, Qt::ControlModifier);
        editor()->setSelStart(0);
        QTest::keyClick(editor(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(fontAt(0) + " " + fontAt(1) + " " + fontAt(2), "Courier New High/11 Courier New High/11 Courier New Even/11");
        QCOMPARE(editor()->selStart(), 0);
    }

    void insertWithFontInOverwriteModeReplacesOneCharacter() {
        type("abcdef");
        QTest::keyClick(editor(), Qt::Key_Insert);
        editor()->setSelection(1, 4);
        form->notation().InsertWithFont(QStringLiteral("Courier New Greek Even"), 0xE1);
        QCOMPARE(editor()->toPlainText(), "a\u03B1cdef");
        QCOMPARE(editor()->charAttributesAt(1).face, "Courier New Greek Even");
        QCOMPARE(editor()->charAttributesAt(1).charset, 161);
        QCOMPARE(selection(), qMakePair(2, 0));
        // The whole insertion is one undo step.
        editor()->undo();
        QCOMPARE(editor()->toPlainText(), "abcdef");
        // At the end of a line the line break stays: the character is added instead.
        editor()->setPlainText(QStringLiteral("ab\ncd"));
        editor()->setSelection(2, 2);
        form->notation().InsertWithFont(QStringLiteral("TessarySymbol Even"), 0xB1);
        QCOMPARE(editor()->toPlainText(), "ab\u00B9\ncd");
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
        QCOMPARE(editor()->toPlainText(), "aydef");
        QCOMPARE(editor()->charAttributesAt(1).face, face);
        QTest::keyClick(editor(), Qt::Key_Right);
        type("z");
        QTEST(editor()->toPlainText(), "typedOverC");
        QCOMPARE(editor()->charAttributesAt(3).face, face);
        editor()->undo();
        editor()->undo();
        QCOMPARE(editor()->toPlainText(), "abcdef");
    }

    void underscoreAndComposedTextFollowTheTypingRules() {
        type("_");
        form->notation().NotationButtonClick();
        QInputMethodEvent composed;
        composed.setCommitString(QStringLiteral("\u00E9_"));
        QApplication::sendEvent(editor(), &composed);
        type("_");
        QCOMPARE(editor()->toPlainText(),
                 QStringLiteral("_\u00E9") + kSymbolUnderscore + kSymbolUnderscore);
        QCOMPARE(editor()->charAttributesAt(0).face, "Times New Roman");
        QCOMPARE(fontAt(1), "Courier New Even/11");
        QCOMPARE(fontAt(2) + fontAt(3), "TessarySymbol Even/11TessarySymbol Even/11");
        // The caret goes back to the face the boxes stand for, never the notation entry's name.
        QCOMPARE(editor()->caretAttributes().face, "Courier New Even");
    }

    void ctrlDigitFollowsThePhysicalKey_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<quint32>("scanCode");
        QTest::addColumn<int>("extra"); // modifiers besides Ctrl
        QTest::addColumn<int>("code");  // the symbol code inserted, 0 for none
        // clang-format off
        QTest::newRow("qwerty 2") << int(Qt::Key_2) << 11u << 0 << 0xB2;
        QTest::newRow("azerty 2 gives e acute") << int(Qt::Key_Eacute) << 11u << 0 << 0xB2;
        QTest::newRow("azerty 0 gives a grave") << int(Qt::Key_Agrave) << 19u << 0 << 0xB0;
        QTest::newRow("keypad 2") << int(Qt::Key_2) << 0u << int(Qt::KeypadModifier) << 0;
        QTest::newRow("top row 5") << int(Qt::Key_5) << 14u << 0 << 0;
        QTest::newRow("with shift") << int(Qt::Key_1) << 10u << int(Qt::ShiftModifier) << 0;
        // clang-format on
    }

    void ctrlDigitFollowsThePhysicalKey() {
        QFETCH(int, key);
        QFETCH(quint32, scanCode);
        QFETCH(int, extra);
        QFETCH(int, code);
        QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier | Qt::KeyboardModifiers(extra),
                        scanCode, 0, 0);
        QApplication::sendEvent(editor(), &press);
        QCOMPARE(editor()->toPlainText(),
                 code ? QString(CodePage::notationSymbol().toUnicode(code)) : QString());
        QVERIFY(!form->notation().inNotationMode());
        if (code)
            QCOMPARE(fontAt(0), "TessarySymbol Even/11");
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
        const QString second = editor()->lineText(1);
        editor()->setSelStart(editor()->lineStart(1) + 2);
        QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(!editor()->toPlainText().contains(second));
        QVERIFY(editor()->toPlainText().startsWith(QStringLiteral("word00")));
        QVERIFY(editor()->toPlainText().endsWith(QStringLiteral("\nlast line")));
        // The paragraph's last display line takes its break with it.
        editor()->setSelStart(editor()->lineStart(editor()->lineCount() - 2));
        QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier);
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
        QCOMPARE(editor()->toPlainText(), "_  _");
        editor()->selectAll();
        // Button up: the silver notation "_" becomes a black space; the Arial "_" stays.
        QTest::mouseClick(form->notation().controls().WhitespaceButton, Qt::LeftButton);
        QCOMPARE(editor()->toPlainText(), "_   ");
        QCOMPARE(editor()->charAttributesAt(3).color, rgbColor(0, 0, 0));
        QCOMPARE(selection(), qMakePair(0, 0));
        // Button down: black notation spaces become silver "_"; the Arial space stays.
        editor()->selectAll();
        QTest::mouseClick(form->notation().controls().WhitespaceButton, Qt::LeftButton);
        QCOMPARE(editor()->toPlainText(), "_ __");
        QCOMPARE(editor()->charAttributesAt(2).color, kSilver);
        QCOMPARE(editor()->charAttributesAt(0).face, "Arial");
        // One undo step restores the whole conversion.
        editor()->undo();
        QCOMPARE(editor()->toPlainText(), "_   ");
    }

private:
    void type(const QString &text) {
        for (QChar c : text)
            QTest::keyClick(editor(), c.toLatin1());
    }
};

QTEST_MAIN(NotationTypingTest)
#include "tst_notationtyping.moc"
