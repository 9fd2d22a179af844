#include "app/tmainform.h"
#include "editor/fontboxes.h"
#include "editor/formatting.h"
#include "editor/notationtyping.h"
#include "editor/ruler.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QComboBox>
#include <QToolButton>
#include <QtTest>
#include <memory>

using namespace tessary;

class FormattingTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(QSize(1000, 600)); }
    void cleanup() { closeWindow(); }

    void effectsInvertEachCharacterByItself() {
        // Without a selection the caret's attribute is inverted.
        QTest::mouseClick(form->notation().controls().BoldButton, Qt::LeftButton);
        QVERIFY(editor()->caretAttributes().bold);
        QTest::mouseClick(form->notation().controls().BoldButton, Qt::LeftButton);
        insert("Arial", "ab");
        insert("Courier New Even", "x2");
        editor()->setRangeAttributes(0, 1, {.bold = true}, CharAttributes::Bold);
        editor()->setRangeAttributes(2, 1, {.bold = true}, CharAttributes::Bold);
        editor()->setSelection(0, 4);
        QTest::mouseClick(form->notation().controls().BoldButton, Qt::LeftButton);
        QCOMPARE(QList<bool>({at(0).bold, at(1).bold, at(2).bold, at(3).bold}),
                 QList<bool>({false, true, false, true}));
        QCOMPARE(fontAt(2), QStringLiteral("Courier New Even/11"));
        QCOMPARE(editor()->selLength(), 4);
        QTest::mouseClick(form->notation().controls().ItalicButton, Qt::LeftButton);
        QTRY_VERIFY(form->findChild<QToolButton *>("UnderlineButton")->isEnabled());
        QTest::mouseClick(form->findChild<QToolButton *>("UnderlineButton"), Qt::LeftButton);
        QVERIFY(at(0).italic && at(3).italic && at(0).underline && at(3).underline);
        // Each command is one undo step.
        editor()->undo();
        QVERIFY(at(0).italic && !at(0).underline && !at(3).underline);
        editor()->undo();
        QVERIFY(!at(0).italic && !at(3).italic && !at(0).bold);
        editor()->undo();
        QVERIFY(at(0).bold && !at(1).bold && at(2).bold);
    }

    void faceChangeSkipsNotationCharactersAndSetsTheSize() {
        insert("Courier New Even", "x");
        insert("Arial", "ab", 9);
        insert("aRIAL", "y", 9);
        editor()->insertPlainText(QStringLiteral("\n"));
        insert("Courier New Greek High", QStringLiteral("\u03B1"));
        editor()->selectAll();
        choose(form->fontBoxes().FontSizeBox, "14");
        choose(form->fontBoxes().FontNameBox, "Times New Roman");
        for (int i : {1, 2, 3})
            QCOMPARE(at(i).size, 14);
        QCOMPARE(at(1).face, QStringLiteral("Times New Roman"));
        QCOMPARE(at(3).face, QStringLiteral("tIMES New Roman"));
        QCOMPARE(at(0).face, QStringLiteral("Courier New Even"));
        QCOMPARE(fontAt(5), QStringLiteral("Courier New Greek High/11"));
        QCOMPARE(editor()->selLength(), 6);
    }

    void faceTakesTheLetterCaseOfTheOldFace_data() {
        QTest::addColumn<QString>("oldFace");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("boundary: old name shorter") << "aB" << "Times" << "tImes";
        QTest::newRow("boundary: new name shorter") << "courier new" << "Arial" << "arial";
        QTest::newRow("robustness: digits and blanks count as lower") << "1 2 3"
                                                                      << "ARIAL"
                                                                      << "arial";
        // clang-format on
    }

    void faceTakesTheLetterCaseOfTheOldFace() {
        QFETCH(QString, oldFace);
        QFETCH(QString, chosen);
        QTEST(Formatting::caseAdjustedFace(chosen, oldFace), "expected");
    }

    void notationToggleAppliesNothingToTheText() {
        // Regression: the toggle selects entries in both boxes; that must not reach the text.
        insert("Arial", "ab", 9);
        editor()->selectAll();
        QTest::keyClick(editor(), Qt::Key_Escape);
        QCOMPARE(form->fontBoxes().FontNameBox->currentText(), QStringLiteral("Tessary Notation"));
        QCOMPARE(form->fontBoxes().FontSizeBox->currentText(), QStringLiteral("11"));
        QCOMPARE(fontAt(1), QStringLiteral("Arial/9"));
    }

    void caretFontToggleGoesBothWays() {
        QComboBox *names = form->fontBoxes().FontNameBox;
        QComboBox *sizes = form->fontBoxes().FontSizeBox;
        insert("Courier New Greek High", QStringLiteral("\u03B1"));
        insert("Arial", "b", 14);
        editor()->setSelStart(1);
        QTest::mouseClick(form->findChild<QToolButton *>("CaretFontButton"), Qt::LeftButton);
        QCOMPARE(names->currentText() + sizes->currentText(), QStringLiteral("Tessary Notation11"));
        QTest::mouseClick(form->findChild<QToolButton *>("CaretFontButton"), Qt::LeftButton);
        QCOMPARE(names->currentText() + sizes->currentText(), QStringLiteral("Times New Roman12"));
        editor()->setSelStart(2);
        QTest::mouseClick(form->findChild<QToolButton *>("CaretFontButton"), Qt::LeftButton);
        QCOMPARE(names->currentText() + sizes->currentText(), QStringLiteral("Arial14"));
        // The toggle shares its memory with the notation toggle.
        QTest::keyClick(editor(), Qt::Key_Escape);
        QTest::keyClick(editor(), Qt::Key_Escape);
        QTest::mouseClick(form->findChild<QToolButton *>("CaretFontButton"), Qt::LeftButton);
        QCOMPARE(names->currentText() + sizes->currentText(), QStringLiteral("Arial14"));
    }

    void caretSizeOutsideTheListStaysInUse() {
        insert("Arial", "a", 13);
        QTest::keyClick(editor(), Qt::Key_Left);
        QTest::keyClick(editor(), Qt::Key_Right);
        QTest::mouseClick(form->findChild<QToolButton *>("CaretFontButton"), Qt::LeftButton);
        QCOMPARE(form->fontBoxes().FontSizeBox->currentIndex(), -1);
        QCOMPARE(form->fontBoxes().FontSizeBox->placeholderText(), QStringLiteral("13"));
        // Typing, an insertion in a face and the face box all go on at 13 points.
        QTest::keyClick(editor(), Qt::Key_B);
        form->notation().InsertWithFont(QStringLiteral("Arial"), QStringLiteral("c"));
        editor()->selectAll();
        choose(form->fontBoxes().FontNameBox, "Times New Roman");
        QCOMPARE(editor()->toPlainText(), QStringLiteral("abc"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(at(i).size, 13);
    }

    void notationModeInTheBoxes() {
        const int savedName = form->fontBoxes().SavedFontNameIndex();
        const int savedSize = form->fontBoxes().SavedFontSizeIndex();
        choose(form->fontBoxes().FontNameBox, "Arial");
        choose(form->fontBoxes().FontSizeBox, "16");
        QCOMPARE(editor()->caretAttributes().size, 16);
        // Choosing the notation entry enters notation mode without touching the saved indexes.
        choose(form->fontBoxes().FontNameBox, "Tessary Notation");
        QCOMPARE(form->fontBoxes().FontSizeBox->currentText(), QStringLiteral("11"));
        QCOMPARE(editor()->caretAttributes().face, QStringLiteral("Tessary Notation"));
        QCOMPARE(form->fontBoxes().SavedFontNameIndex(), savedName);
        QCOMPARE(form->fontBoxes().SavedFontSizeIndex(), savedSize);
        // There the size cannot change.
        choose(form->fontBoxes().FontSizeBox, "14");
        QCOMPARE(form->fontBoxes().FontSizeBox->currentText(), QStringLiteral("11"));
        QCOMPARE(editor()->caretAttributes().size, 11);
        // Esc returns to what the last toggle remembered: the first start's choice.
        QTest::keyClick(editor(), Qt::Key_Escape);
        QCOMPARE(form->fontBoxes().FontNameBox->currentText(), QStringLiteral("Times New Roman"));
        QCOMPARE(form->fontBoxes().FontSizeBox->currentText(), QStringLiteral("12"));
    }

    void paragraphButtonsKeepTheIndents() {
        insert("Arial", "one");
        ParaAttributes p = editor()->paraAttributes();
        p.firstIndent = 18;
        p.leftIndent = 36;
        editor()->setParaAttributes(p);
        QTest::mouseClick(form->ruler().widgets().BulletsButton, Qt::LeftButton);
        QVERIFY(editor()->paraAttributes().bullet);
        QCOMPARE(editor()->paraAttributes().leftIndent, 36);
        QTest::mouseClick(form->ruler().widgets().BulletsButton, Qt::LeftButton);
        QVERIFY(!editor()->paraAttributes().bullet);
        QCOMPARE(editor()->paraAttributes().leftIndent, 36);
        QTest::mouseClick(form->ruler().widgets().CenterAlignButton, Qt::LeftButton);
        QCOMPARE(editor()->paraAttributes().alignment, Alignment::Center);
        QCOMPARE(editor()->paraAttributes().firstIndent, 18);
        // The buttons follow the caret paragraph, and do nothing while a marker is dragged.
        editor()->insertPlainText(QStringLiteral("\ntwo"));
        QTest::mouseClick(form->ruler().widgets().RightAlignButton, Qt::LeftButton);
        editor()->setSelStart(0);
        QTRY_VERIFY(form->ruler().widgets().CenterAlignButton->isChecked());
        form->context().RulerDragging = true;
        QTest::mouseClick(form->ruler().widgets().LeftAlignButton, Qt::LeftButton);
        QCOMPARE(editor()->paraAttributes().alignment, Alignment::Center);
    }

private:
    // Chooses an entry as the user does, so the box reports it as activated.

    void choose(QComboBox *box, const QString &text) {
        const int index = box->findText(text);
        QVERIFY2(index >= 0 && box->count() > 1, qPrintable(text));
        // Step onto the entry from a neighbour; the handler may then select another one.
        box->setCurrentIndex(index > 0 ? index - 1 : 1);
        QTest::keyClick(box, index > 0 ? Qt::Key_Down : Qt::Key_Up);
    }

    void insert(const QString &face, const QString &text, int size = 0) {
        const int start = editor()->textLength();
        editor()->setSelStart(start);
        form->notation().InsertWithFont(face, text);
        if (size > 0)
            editor()->setRangeAttributes(start, int(text.size()), {.size = size},
                                         CharAttributes::Size);
    }
    CharAttributes at(int position) { return editor()->charAttributesAt(position); }
};

QTEST_MAIN(FormattingTest)
#include "tst_formatting.moc"
