#include "platform/richedit.h"

#include <QTextDocument>
#include <QtTest>

using namespace tessary;

class RichEditTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        edit = new RichEdit;
        edit->resize(300, 400);
        edit->show();
    }

    void cleanup() { delete edit; }

    void selectionAttributesTellWhatIsConsistent() {
        edit->setPlainText(QStringLiteral("abcd"));
        const CharAttributes bold{.face = QStringLiteral("Arial"), .bold = true};
        edit->setRangeAttributes(0, 4, bold, CharAttributes::Face);
        edit->setRangeAttributes(2, 2, bold, CharAttributes::Bold);
        edit->setSelection(0, 4);
        QCOMPARE(edit->selAttributes().consistent, CharAttributes::All & ~CharAttributes::Bold);
        edit->setSelection(2, 2);
        QVERIFY(edit->selAttributes().bold);
        QCOMPARE(edit->selAttributes().consistent, unsigned(CharAttributes::All));
        // Setting the selection's attributes does not touch characters outside it.
        edit->setSelection(1, 1);
        edit->setSelAttributes({.color = rgbColor(255, 0, 0)}, CharAttributes::Color);
        QCOMPARE(edit->charAttributesAt(1).color, 0x000000FFu);
        QCOMPARE(edit->charAttributesAt(0).color, kAutomaticColor);
        QCOMPARE(edit->charAttributesAt(2).color, kAutomaticColor);
    }

    void automaticColourIsWrittenBackOverExplicitColours() {
        edit->setPlainText(QStringLiteral("abc"));
        edit->setRangeAttributes(0, 3, {.color = rgbColor(0, 0, 255)}, CharAttributes::Color);
        edit->setRangeAttributes(1, 1, {.bold = true}, CharAttributes::Bold);
        edit->setRangeAttributes(0, 3, {.color = kAutomaticColor}, CharAttributes::Color);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(edit->charAttributesAt(i).color, kAutomaticColor);
        QVERIFY(edit->charAttributesAt(1).bold); // other fields stay
    }

    void lineCountIgnoresALastEmptyLine_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::newRow("empty document") << QString() << 0;
        QTest::newRow("one line") << QStringLiteral("a") << 1;
        QTest::newRow("one line and a break") << QStringLiteral("a\n") << 1;
        QTest::newRow("an empty line between") << QStringLiteral("a\n\nb") << 3;
    }

    void lineCountIgnoresALastEmptyLine() {
        QFETCH(QString, text);
        edit->setPlainText(text);
        QTEST(edit->lineCount(), "lines");
    }

    void displayLinesAgreeWithPositionsOnWrappedText() {
        QString text;
        for (int i = 0; i < 40; ++i)
            text += QStringLiteral("alpha%1 ").arg(i);
        edit->setPlainText(text + QStringLiteral("\nshort\n") + text);
        const int lines = edit->lineCount();
        QVERIFY(lines > 6);
        int expectedStart = 0;
        QString rebuilt;
        for (int line = 0; line < lines; ++line) {
            const int start = edit->lineStart(line);
            QCOMPARE(edit->lineFromChar(start), line);
            if (line > 0)
                QVERIFY(start >= expectedStart);
            expectedStart = start + edit->lineLength(line);
            rebuilt += edit->lineText(line);
        }
        rebuilt.remove(QChar(' '));
        QString plain = edit->toPlainText();
        plain.remove(QChar(' ')).remove(QChar('\n'));
        QCOMPARE(rebuilt, plain);
        edit->setSelStart(edit->lineStart(3) + 2);
        QCOMPARE(edit->caretPos(), QPoint(2, 3));
        // A narrower control wraps into more lines: the index follows the layout.
        edit->resize(150, 400);
        QTRY_VERIFY(edit->lineCount() > lines);
    }

    void groupedEditsAreOneUndoStep() {
        edit->setPlainText(QStringLiteral("abcdef"));
        edit->document()->clearUndoRedoStacks();
        {
            const RichEdit::UpdateGroup outer(*edit);
            {
                const RichEdit::UpdateGroup inner(*edit); // a nested group joins the outer one
                for (int i = 0; i < 6; ++i)
                    edit->setRangeAttributes(i, 1, {.bold = true}, CharAttributes::Bold);
            }
            QVERIFY(edit->updating());
            edit->replaceRange(0, 1, QStringLiteral("X"), CharAttributes(), 0);
        }
        QVERIFY(!edit->updating());
        QCOMPARE(edit->toPlainText(), QStringLiteral("Xbcdef"));
        edit->undo();
        QCOMPARE(edit->toPlainText(), QStringLiteral("abcdef"));
        QVERIFY(!edit->charAttributesAt(3).bold);
        QVERIFY(!edit->document()->isUndoAvailable());
    }

    void textLimitStopsTypingAndReplacing() {
        edit->setTextLimit(3);
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("abcde"));
        QCOMPARE(edit->toPlainText(), QStringLiteral("abc"));
        edit->setSelection(1, 1);
        edit->replaceSelection(QStringLiteral("XY"));
        QCOMPARE(edit->toPlainText(), QStringLiteral("abc"));
        edit->replaceSelection(QStringLiteral("Z"));
        QCOMPARE(edit->toPlainText(), QStringLiteral("aZc"));
    }

    void paragraphIndentsRoundTripInPoints() {
        edit->setPlainText(QStringLiteral("para"));
        ParaAttributes p{Alignment::Center, 36, -18, 72};
        edit->setParaAttributes(p);
        QCOMPARE(edit->paraAttributes(), p);
        p.bullet = true;
        edit->setParaAttributes(p);
        QVERIFY(edit->paraAttributes().bullet);
        p.bullet = false;
        edit->setParaAttributes(p);
        QCOMPARE(edit->paraAttributes(), p); // bullets off keep the indents
    }

    void alignmentOverParagraphsKeepsEachOnesIndents() {
        edit->setPlainText(QStringLiteral("one\ntwo"));
        edit->setSelection(4, 0);
        edit->setParaAttributes({.firstIndent = 36});
        edit->selectAll();
        ParaAttributes centred = edit->paraAttributes(); // the first paragraph's, indent 0
        centred.alignment = Alignment::Center;
        edit->setParaAttributes(centred, ParaAttributes::AlignmentField);
        edit->setSelection(5, 0);
        QCOMPARE(edit->paraAttributes(), (ParaAttributes{Alignment::Center, 36}));
        edit->setSelection(0, 0);
        QCOMPARE(edit->paraAttributes(), (ParaAttributes{Alignment::Center, 0}));
    }

private:
    RichEdit *edit = nullptr;
};

QTEST_MAIN(RichEditTest)
#include "tst_richedit.moc"
