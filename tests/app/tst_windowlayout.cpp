#include "app/tauxform.h"
#include "documents/findreplace.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QtTest>

using namespace tessary;

// Geometry that depends on the laid-out window and on the screen's pixels per inch.
class WindowLayoutTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void cleanup() { closeWindow(); }
    void findDialogsOpenLevelWithTheFirstTextLine();
    void scratchEditorWrapsAtTheEditorsWidth();
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

QTEST_MAIN(WindowLayoutTest)
#include "tst_windowlayout.moc"
