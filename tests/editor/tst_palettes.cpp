#include "editor/palettes.h"
#include "rtf/codepage.h"
#include "windowtest.h"

#include <QTextCursor>
#include <QToolBar>

using namespace tessary;

namespace {
QChar symbol(int code) {
    return CodePage::notationSymbol().toUnicode(uchar(code));
}
} // namespace

class PalettesTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void initTestCase() { test::registerNotationFaces(); }

    void init() {
        openWindow(QSize(1000, 600));
        QTest::mouseClick(form->palettes().bars().GreekAlphabetButton, Qt::LeftButton);
        QTest::mouseClick(form->palettes().bars().SymbolButton, Qt::LeftButton);
        editor()->setFocus();
    }
    void cleanup() { closeWindow(); }

    void toggledBarsStackInTheirFixedOrder() {
        auto top = [this](QToolBar *bar) { return bar->mapTo(form.get(), QPoint()).y(); };
        QTest::mouseClick(form->findChild<QToolButton *>("FunctionKeyButton"), Qt::LeftButton);
        // Each bar's offset from the first row, -1 when hidden.
        const PaletteBars &bars = form->palettes().bars();
        const int greek = top(bars.GreekToolBar);
        auto tops = [&] {
            QList<int> offsets;
            for (QToolBar *bar :
                 {bars.GreekToolBar, bars.SymbolToolBarA, bars.SymbolToolBarB, bars.FnKeyToolBar})
                offsets << (bar->isHidden() ? -1 : top(bar) - greek);
            return offsets;
        };
        QCOMPARE(tops(), (QList<int>{0, 25, 50, 75}));
        // Hiding the Greek bar moves the others up; the symbol toggle takes both symbol bars.
        QTest::mouseClick(bars.GreekAlphabetButton, Qt::LeftButton);
        QCOMPARE(tops(), (QList<int>{-1, 0, 25, 50}));
        QTest::mouseClick(bars.SymbolButton, Qt::LeftButton);
        QCOMPARE(tops(), (QList<int>{-1, -1, -1, 0}));
        QTest::mouseClick(bars.GreekAlphabetButton, Qt::LeftButton);
        QCOMPARE(tops(), (QList<int>{0, -1, -1, 25}));
    }

    void alphaOutsideNotationModeEntersItAndInsertsGreek() {
        QTest::keyClicks(editor(), QStringLiteral("a"));
        click(10);
        QCOMPARE(boxes(), "Tessary Notation/11");
        QCOMPARE(editor()->toPlainText(), "a\u03B1");
        QCOMPARE(fontAt(1), "Courier New Greek Even/11");
        QCOMPARE(editor()->charAttributesAt(1).charset, 161);
        QVERIFY(editor()->hasFocus());
        // The entry is no face: a paragraph begun after the click does not carry its name.
        QTest::keyClick(editor(), Qt::Key_Return);
        QVERIFY(!editor()->rtfData().contains("Tessary Notation"));
        // The boxes were saved, so Esc returns to them.
        QTest::keyClick(editor(), Qt::Key_Escape);
        QCOMPARE(boxes(), "Times New Roman/12");
    }

    void textSymbolsLeaveTheModeAloneAndUseTheBoxFace() {
        click(133);
        QVERIFY(!form->notation().inNotationMode());
        QCOMPARE(editor()->toPlainText(), "\u20AC");
        QCOMPARE(fontAt(0), "Times New Roman/12");
        // In notation mode the boxes name no real face; the symbol is set in Courier New.
        QTest::keyClick(editor(), Qt::Key_Escape);
        click(131);
        QVERIFY(form->notation().inNotationMode());
        QCOMPARE(editor()->toPlainText(), "\u20AC\u00A9");
        QCOMPARE(fontAt(1), "Courier New/11");
    }

    void emptyButtonsEnterNotationAndInsertNothing_data() {
        QTest::addColumn<int>("tag");
        for (int tag : {43, 129, 210, 211, 216, 221})
            QTest::newRow(qPrintable(QStringLiteral("empty %1").arg(tag))) << tag;
        QTest::newRow("unassigned F2 key") << 0;
    }

    void emptyButtonsEnterNotationAndInsertNothing() {
        QFETCH(int, tag);
        auto press = [&] {
            if (tag)
                click(tag);
            else
                QTest::keyClick(editor(), Qt::Key_F2);
        };
        QTest::keyClicks(editor(), QStringLiteral("abc"));
        editor()->setSelStart(1);
        press();
        QVERIFY(form->notation().inNotationMode());
        QCOMPARE(editor()->toPlainText(), "abc");
        // Overwriting with nothing deletes nothing either.
        QTest::keyClick(editor(), Qt::Key_Insert);
        press();
        QCOMPARE(editor()->toPlainText(), "abc");
        QCOMPARE(editor()->selStart(), 1);
    }

    // The root is no large operator: it keeps its own form (the sum is in the function key test).
    void rootIsInsertedAsShown() {
        click(208);
        QCOMPARE(editor()->toPlainText(), "\u221A");
        QCOMPARE(fontAt(0), "TessarySymbol Even/11");
        QCOMPARE(editor()->charAttributesAt(0).charset, 2);
    }

    void bracketTopOnTheLastLineAppendsAPaddedLine() {
        QTest::keyClicks(editor(), QStringLiteral("x = "));
        click(224); // bracket left top
        const QString text = editor()->toPlainText();
        QVERIFY(text.startsWith(QStringLiteral("x = ") + symbol(0xE8) + QLatin1Char('\n')));
        QVERIFY(text.size() > 6 && text.mid(6).trimmed().isEmpty());
        QCOMPARE(editor()->caretPos().y(), 1);
        const int pieceX = xOf(4);
        for (int i = 6; i < text.size(); ++i)
            QCOMPARE(editor()->charAttributesAt(i).face, "Courier New Even");
        QVERIFY(qAbs(editor()->caretPixelPos().x() - pieceX) <= 6);
        // The bottom piece lands right under the top one and the caret stays on its line.
        click(225);
        const int bottom = editor()->selStart() - 1;
        QCOMPARE(editor()->charAt(bottom), symbol(0xE9));
        QVERIFY(qAbs(xOf(bottom) - pieceX) <= 6);
        QCOMPARE(editor()->caretPos().y(), 1);
    }

    void bracketTopPadsAShorterNextLineAndKeepsIt_data() {
        QTest::addColumn<bool>("overwrite");
        QTest::newRow("insert mode") << false;
        QTest::newRow("overwrite mode") << true;
    }

    void bracketTopPadsAShorterNextLineAndKeepsIt() {
        QFETCH(bool, overwrite);
        editor()->setPlainText(QStringLiteral("a long first line\nab\nthird"));
        editor()->setSelStart(12);
        if (overwrite)
            QTest::keyClick(editor(), Qt::Key_Insert);
        click(224);
        const QStringList lines = editor()->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        const QString first = QStringLiteral("a long first line");
        const QString piece(symbol(0xE8));
        QCOMPARE(lines.at(0), overwrite ? QString(first).replace(12, 1, piece)
                                        : QString(first).insert(12, piece));
        QVERIFY(lines.at(1).startsWith(QStringLiteral("ab ")) && lines.at(1).trimmed() == "ab");
        QCOMPARE(lines.at(2), "third");
        QCOMPARE(editor()->caretPos().y(), 1);
        QVERIFY(qAbs(editor()->caretPixelPos().x() - xOf(12)) <= 6);
    }

    void bracketTopNeverPadsInsideALongerNextLine() {
        editor()->setPlainText(QStringLiteral("iiii\nWWWWWWWWWW\nend"));
        editor()->setSelStart(2);
        click(223); // the bar piece moves down like a top piece
        const QStringList lines = editor()->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.mid(1), QStringList({"WWWWWWWWWW", "end"}));
        QCOMPARE(editor()->caretPos().y(), 1);
    }

private:
    QToolButton *button(int tag) const {
        return form->findChild<QToolButton *>(QStringLiteral("PaletteButton%1").arg(tag));
    }
    void click(int tag) const { QTest::mouseClick(button(tag), Qt::LeftButton); }

    int xOf(int position) const {
        QTextCursor c(editor()->document());
        c.setPosition(position);
        return editor()->cursorRect(c).x();
    }
};

QTEST_MAIN(PalettesTest)
#include "tst_palettes.moc"
