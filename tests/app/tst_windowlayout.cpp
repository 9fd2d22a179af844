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
    void findDialogsOpenLevelWithTheFirstTextLine();
    void scratchEditorWrapsAtTheEditorsWidth();
    void functionKeyHintShowsItsLabelsWhole_data();
    void functionKeyHintShowsItsLabelsWhole();
};

void WindowLayoutTest::findDialogsOpenLevelWithTheFirstTextLine() {
    openWindow();
    const int expected = editor()->geometry().top() +
                         6 * child<QWidget>("LowerRulerPanel")->height() +
                         child<QWidget>("ImplicitTabsPanel")->height();
    QCOMPARE(form->findReplace().dialogOffset(), expected);
}

void WindowLayoutTest::scratchEditorWrapsAtTheEditorsWidth() {
    openWindow(QSize(900, 600));
    TAuxForm aux(editor());
    for (const QSize size : {QSize(700, 500), QSize(1200, 700)}) {
        form->resize(size);
        QTRY_COMPARE(editor()->width(), size.width() - child<QWidget>("Gutter")->width());
        QCOMPARE(aux.AuxEditor->document()->textWidth(), editor()->document()->textWidth());
        QCOMPARE(aux.AuxEditor->width(), editor()->width());
    }
}

void WindowLayoutTest::functionKeyHintShowsItsLabelsWhole_data() {
    QTest::addColumn<int>("dpi");
    QTest::newRow("nominal: 96 pixels per inch") << 96;
    QTest::newRow("large fonts: 120 pixels per inch") << 120;
}

void WindowLayoutTest::functionKeyHintShowsItsLabelsWhole() {
    QFETCH(int, dpi);
    openWindow(QSize(1280, 900), dpi);
    QTest::mouseClick(child<QToolButton>("FunctionKeyButton"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>("F12DefButton"), Qt::LeftButton);
    auto *hint = child<QWidget>("FnHint");
    QTRY_VERIFY(hint->isVisible());
    const QList<QLabel *> labels = hint->findChildren<QLabel *>();
    QCOMPARE(labels.size(), 5);
    for (const QLabel *label : labels) {
        QVERIFY2(hint->rect().contains(label->geometry()), qPrintable(label->text()));
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    }
    // "... to F12," and "F12 becomes ...": the key's name stands clear of the text before it
    // and after it.
    for (auto [before, after] : {std::pair{"FnLabel0", "FnLabel1"}, {"FnLabel2", "FnLabel3"}}) {
        const QLabel *first = hint->findChild<QLabel *>(before);
        const QLabel *second = hint->findChild<QLabel *>(after);
        QVERIFY(first && second);
        QVERIFY(first->geometry().right() < second->x());
        QCOMPARE(first->y(), second->y());
    }
}

QTEST_MAIN(WindowLayoutTest)
#include "tst_windowlayout.moc"
