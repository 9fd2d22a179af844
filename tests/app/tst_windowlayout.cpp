#include "app/tauxform.h"
#include "documents/findreplace.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QLabel>
#include <QToolButton>
#include <QtTest>

using namespace tessary;

// Geometry that depends on the laid-out window and on the screen's pixels per inch.
class WindowLayoutTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void cleanup() { closeWindow(); }

    void findOffsetAndScratchWidthFollowTheLaidOutEditor() {
        openWindow(QSize(900, 600));
        QCOMPARE(form->findReplace().dialogOffset(),
                 editor()->geometry().top() + 6 * child<QWidget>("LowerRulerPanel")->height() +
                     child<QWidget>("ImplicitTabsPanel")->height());
        TAuxForm aux(editor());
        for (const int width : {700, 1200}) {
            form->resize(width, 600);
            QTRY_COMPARE(editor()->width(), width - child<QWidget>("Gutter")->width());
            QCOMPARE(aux.AuxEditor->document()->textWidth(), editor()->document()->textWidth());
        }
    }

    void functionKeyHintShowsItsLabelsWhole_data() {
        QTest::addColumn<int>("dpi");
        QTest::newRow("96 pixels per inch") << 96;
        QTest::newRow("large fonts") << 120;
    }
    void functionKeyHintShowsItsLabelsWhole() {
        QFETCH(int, dpi);
        openWindow(QSize(1280, 900), dpi);
        QTest::mouseClick(child<QToolButton>("FunctionKeyButton"), Qt::LeftButton);
        QTest::mouseClick(child<QToolButton>("F12DefButton"), Qt::LeftButton);
        auto *hint = child<QWidget>("FnHint");
        QTRY_VERIFY(hint->isVisible());
        for (const QLabel *label : hint->findChildren<QLabel *>()) {
            QVERIFY2(hint->rect().contains(label->geometry()), qPrintable(label->text()));
            QVERIFY(label->width() >= label->sizeHint().width());
        }
        // "... to F12," and "F12 becomes ...": the key's name stands clear of its neighbour.
        for (auto [before, after] : {std::pair{"FnLabel0", "FnLabel1"}, {"FnLabel2", "FnLabel3"}})
            QVERIFY(child<QLabel>(before)->geometry().right() < child<QLabel>(after)->x());
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "tst_windowlayout.moc"
