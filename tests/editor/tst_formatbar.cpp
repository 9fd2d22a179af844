#include "editor/commandstate.h"
#include "editor/fontboxes.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QClipboard>
#include <QComboBox>
#include <QMimeData>
#include <QTextBlock>
#include <QTextList>
#include <QToolButton>
#include <QtTest>

using namespace tessary;

// The paragraph and font buttons of the format bar, pressed as a user presses them.
class FormatBarTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void bulletsKeepEachParagraphsIndents();
    void bulletsTakeOverAPastedList_data();
    void bulletsTakeOverAPastedList();
    void caretFontRestoresTheSizeItSaved();

private:
    void click(const char *button) {
        form->commands().ActionListUpdate(); // the idle pass sets the buttons first
        QTest::mouseClick(child<QToolButton>(button), Qt::LeftButton);
    }
    QTextList *listAt(int paragraph) {
        return editor()->document()->findBlockByNumber(paragraph).textList();
    }
};

void FormatBarTest::bulletsKeepEachParagraphsIndents() {
    editor()->setPlainText(QStringLiteral("one\ntwo\nthree"));
    QList<ParaAttributes> own;
    for (int i = 0; i < 3; ++i) {
        editor()->setSelStart(editor()->document()->findBlockByNumber(i).position());
        ParaAttributes p;
        p.firstIndent = 9 * i;
        p.leftIndent = 18 - 9 * i;
        p.rightIndent = 4 * i;
        editor()->setParaAttributes(p);
        own.append(editor()->paraAttributes());
    }
    QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
    for (bool bullet : {true, false}) {
        click("BulletsButton");
        for (int i = 0; i < 3; ++i) {
            ParaAttributes expected = own.at(i);
            expected.bullet = bullet;
            const int at = editor()->document()->findBlockByNumber(i).position();
            QCOMPARE(editor()->paraAttributesAt(at), expected);
        }
    }
}

void FormatBarTest::bulletsTakeOverAPastedList_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<bool>("selectAll");
    QTest::newRow("numbered, all selected") << "<ol><li>one</li><li>two</li></ol>" << true;
    QTest::newRow("numbered, caret in the second item")
        << "<ol><li>one</li><li>two</li></ol>" << false;
    QTest::newRow("square bullets, all selected")
        << "<ul type=square><li>one</li><li>two</li></ul>" << true;
}

void FormatBarTest::bulletsTakeOverAPastedList() {
    QFETCH(QString, html);
    QFETCH(bool, selectAll);
    auto *data = new QMimeData;
    data->setHtml(html);
    QApplication::clipboard()->setMimeData(data);
    QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
    QVERIFY(listAt(0) && listAt(1));
    const QTextListFormat::Style pasted = listAt(0)->format().style();
    if (selectAll)
        QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
    else
        editor()->setSelStart(editor()->document()->findBlockByNumber(1).position());
    click("BulletsButton");
    QVERIFY(listAt(1) && editor()->paraAttributesAt(editor()->textLength()).bullet);
    QCOMPARE(listAt(0)->format().style(), selectAll ? QTextListFormat::ListDisc : pasted);
    click("BulletsButton"); // and off again
    QVERIFY(!listAt(1));
    QCOMPARE(listAt(0) == nullptr, selectAll);
    QCOMPARE(editor()->toPlainText(), QStringLiteral("one\ntwo"));
}

// Neither size is in the size box: each is shown greyed, and the one saved comes back.
void FormatBarTest::caretFontRestoresTheSizeItSaved() {
    editor()->setPlainText(QStringLiteral("ab"));
    CharAttributes size;
    for (int at : {0, 1}) {
        size.size = at == 0 ? 13 : 15;
        editor()->setRangeAttributes(at, 1, size, CharAttributes::Size);
    }
    FontBoxes &boxes = form->fontBoxes();
    editor()->setSelStart(0);
    QTest::keyClick(editor(), Qt::Key_Right); // after "a"
    click("CaretFontButton");
    QCOMPARE(boxes.size(), 13);
    QTest::keyClick(editor(), Qt::Key_Right); // after "b"
    click("CaretFontButton");
    QCOMPARE(boxes.size(), 15);
    click("CaretFontButton"); // the same font again: back to what the boxes showed
    QCOMPARE(boxes.size(), 13);
    QCOMPARE(boxes.FontSizeBox->currentIndex(), -1);
}

QTEST_MAIN(FormatBarTest)
#include "tst_formatbar.moc"
