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

class FormatBarTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void bulletsKeepEachParagraphsIndents() {
        editor()->setPlainText(QStringLiteral("one\ntwo"));
        QList<ParaAttributes> own;
        for (int i : {0, 1}) {
            editor()->setSelStart(4 * i);
            editor()->setParaAttributes({Alignment::Left, 9 * i, 18 - 9 * i, 4 * i, false, 0});
            own.append(editor()->paraAttributes());
        }
        QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
        for (bool bullet : {true, false}) {
            click("BulletsButton");
            for (int i : {0, 1}) {
                own[i].bullet = bullet;
                QCOMPARE(editor()->paraAttributesAt(4 * i), own.at(i));
            }
        }
    }

    void bulletsTakeOverAPastedList_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("all");
        QTest::newRow("numbered, all") << "<ol><li>one</li><li>two</li></ol>" << true;
        QTest::newRow("numbered, second only") << "<ol><li>one</li><li>two</li></ol>" << false;
        QTest::newRow("square, all") << "<ul type=square><li>one</li><li>two</li></ul>" << true;
    }
    void bulletsTakeOverAPastedList() {
        QFETCH(QString, html);
        QFETCH(bool, all);
        auto *data = new QMimeData;
        data->setHtml(html);
        QApplication::clipboard()->setMimeData(data);
        QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(listAt(0) && listAt(1));
        const auto pasted = listAt(0)->format().style();
        editor()->setSelection(all ? 0 : 4, all ? 7 : 0);
        click("BulletsButton");
        QVERIFY(listAt(1) && editor()->paraAttributesAt(4).bullet);
        QCOMPARE(listAt(0)->format().style(), all ? QTextListFormat::ListDisc : pasted);
        click("BulletsButton"); // and off again
        QVERIFY(!listAt(1));
        QCOMPARE(listAt(0) == nullptr, all);
    }

    // Neither size is in the size box: each is shown greyed, and the saved one comes back.
    void caretFontRestoresTheSizeItSaved() {
        editor()->setPlainText(QStringLiteral("ab"));
        CharAttributes a;
        for (int at : {0, 1}) {
            a.size = 13 + 2 * at;
            editor()->setRangeAttributes(at, 1, a, CharAttributes::Size);
        }
        FontBoxes &boxes = form->fontBoxes();
        editor()->setSelStart(0);
        QTest::keyClick(editor(), Qt::Key_Right); // after "a"
        click("CaretFontButton");
        QCOMPARE(boxes.size(), 13);
        QTest::keyClick(editor(), Qt::Key_Right); // after "b"
        click("CaretFontButton");
        QCOMPARE(boxes.size(), 15);
        click("CaretFontButton"); // the same font again: what the boxes showed before
        QCOMPARE(boxes.size(), 13);
        QCOMPARE(boxes.FontSizeBox->currentIndex(), -1);
    }

private:
    void click(const char *button) {
        form->commands().ActionListUpdate(); // the idle pass sets the buttons first
        QTest::mouseClick(child<QToolButton>(button), Qt::LeftButton);
    }
    QTextList *listAt(int paragraph) {
        return editor()->document()->findBlockByNumber(paragraph).textList();
    }
};

QTEST_MAIN(FormatBarTest)
#include "tst_formatbar.moc"
