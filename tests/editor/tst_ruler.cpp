#include "documents/documentfiles.h"
#include "editor/ruler.h"
#include "platform/documentstate.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QLabel>
#include <QToolButton>
#include <QtTest>
#include <memory>

using namespace tessary;

class RulerTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void cleanup() { closeWindow(); }
    void pixelsSnapToHalfSteps_data();
    void pixelsSnapToHalfSteps();
    void scaleFollowsTheScreenDpi_data();
    void scaleFollowsTheScreenDpi();
    void markersFollowTheCaretParagraph();
    void draggedMarkersStopAtTheLimits();
    void releasingTheFirstLineMarkerKeepsTheOtherLines();
    void leftAndRightMarkersSetTheirIndents();
    void rightClickShiftsTheParagraph();
    void resetParagraphFormatLeavesNoUndoStep();
    void clicksThatMoveNothingChangeNothing_data();
    void clicksThatMoveNothingChangeNothing();

private:
    void start(int dpi = 96);
    void setIndents(int first, int left, int right = 0);
    QWidget *marker(const char *name) { return form->findChild<QWidget *>(name); }
    // Drags a marker with the left button so that its left edge ends at `left` (ruler
    // pixels), passing through `via` first.
    void drag(QWidget *marker, int left, int via = -1);
};

void RulerTest::start(int dpi) {
    openWindow(QSize(1000, 600), dpi);
    editor()->setPlainText(QStringLiteral("first paragraph\nsecond paragraph"));
    editor()->setSelStart(0);
}

void RulerTest::setIndents(int first, int left, int right) {
    ParaAttributes p = editor()->paraAttributes();
    p.firstIndent = first;
    p.leftIndent = left;
    p.rightIndent = right;
    editor()->setParaAttributes(p);
    form->ruler().SyncRuler();
}

void RulerTest::drag(QWidget *m, int left, int via) {
    QTest::mousePress(m, Qt::LeftButton, {}, QPoint(5, 3));
    for (int target : {via, left}) {
        if (target < 0)
            continue;
        // The marker's left edge jumps to where the mouse is.
        QTest::mouseMove(m, QPoint(target - m->x(), 3));
    }
}

void RulerTest::pixelsSnapToHalfSteps_data() {
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("points");
    QTest::newRow("nominal: one inch at 96") << 96 << 96 << 72;
    QTest::newRow("nominal: 75 pt snaps up to 76.5, cut to 76") << 96 << 100 << 76;
    QTest::newRow("boundary: zero") << 96 << 0 << 0;
    QTest::newRow("boundary: 4.5 pt truncated to 4 first, snaps to 4.5") << 96 << 6 << 4;
    QTest::newRow("boundary: 3 pt snaps up to 4.5") << 96 << 4 << 4;
    QTest::newRow("nominal: one inch at 120") << 120 << 120 << 72;
    QTest::newRow("nominal: 60 pt at 120 snaps to 58.5") << 120 << 100 << 58;
    QTest::newRow("nominal: 30 pt at 120 snaps to 31.5") << 120 << 50 << 31;
}

void RulerTest::pixelsSnapToHalfSteps() {
    QFETCH(int, dpi);
    QFETCH(int, pixels);
    QFETCH(int, points);
    QCOMPARE(Ruler::RulerPixelsToPoints(pixels, 72.0f / float(dpi)), points);
}

void RulerTest::scaleFollowsTheScreenDpi_data() {
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("tickExtra"); // tab ticks sit one pixel further right at 120
    QTest::newRow("96 pixels per inch") << 96 << 0;
    QTest::newRow("120 pixels per inch") << 120 << 1;
}

void RulerTest::scaleFollowsTheScreenDpi() {
    QFETCH(int, dpi);
    QFETCH(int, tickExtra);
    start(dpi);
    // Label positions less the gutter's offset: i on the scale; a null caption: any label.
    auto positions = [](QWidget *panel, int offset, const QString &caption) {
        QList<int> found;
        for (const QLabel *l : panel->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
            if (caption.isNull() || l->text() == caption)
                found.append(l->x() - offset);
        }
        std::sort(found.begin(), found.end());
        return found;
    };
    const QList<int> bars =
        positions(form->ruler().widgets().UpperRulerPanel, 2, QStringLiteral("|"));
    const QList<int> dots =
        positions(form->ruler().widgets().UpperRulerPanel, 2, QStringLiteral("\u00B7"));
    const QList<int> ticks = positions(form->ruler().widgets().ImplicitTabsPanel, 5, QString());
    QCOMPARE(bars.mid(0, 3), QList<int>({dpi, 2 * dpi, 3 * dpi}));
    QCOMPARE(bars.size() + dots.size(), (1280 + dpi / 4 - 1) / (dpi / 4));
    // The first label and tick sit one pixel further right.
    QCOMPARE(dots.mid(0, 4), QList<int>({1, dpi / 4, dpi / 2, 3 * dpi / 4}));
    QCOMPARE(ticks.mid(0, 3), QList<int>({1, dpi / 2 + tickExtra, dpi + tickExtra}));
    QCOMPARE(ticks.size(), (1280 + dpi / 2 - 1) / (dpi / 2));
}

void RulerTest::markersFollowTheCaretParagraph() {
    start();
    setIndents(36, -18, 9);
    editor()->setSelStart(editor()->textLength());
    QTRY_COMPARE(marker("RulerFirstIndent")->x(), 0);
    // 36 pt = 48 px, less one; the other lines at 18 pt = 24 px, less one.
    editor()->setSelStart(0);
    QTRY_COMPARE(marker("RulerFirstIndent")->x(), 47);
    QCOMPARE(marker("RulerLeftIndent")->x(), 23);
    const int width = form->ruler().widgets().UpperRulerPanel->width();
    QCOMPARE(marker("RulerRightIndent")->x(), width - 12 - 20 - 1);
}

void RulerTest::draggedMarkersStopAtTheLimits() {
    start();
    setIndents(10, 0);
    sandbox->dialogs->fileNames.enqueue(sandbox->dir.filePath("ruler.rtf"));
    QVERIFY(form->documents().FileSaveAs()); // saved: only the drag modifies it
    QWidget *first = marker("RulerFirstIndent");
    // A click without a drag writes nothing (it would only snap the indent to the grid).
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(5, 3));
    QCOMPARE(editor()->paraAttributes().firstIndent, 10);
    const int limit = form->ruler().widgets().UpperRulerPanel->width() - 20;
    drag(first, 300);
    QVERIFY(form->context().RulerDragging);
    QVERIFY(form->documentState().DocumentModified());
    QCOMPARE(first->x(), 300);
    // The guide runs over the editor from the marker's tip.
    QWidget *guide = form->ruler().widgets().RulerGuidePanel;
    QVERIFY(guide->isVisible());
    QCOMPARE(
        guide->x(),
        form->ruler().widgets().UpperRulerPanel->mapTo(form.get(), QPoint(300 + 5 + 1, 0)).x());
    QTest::mouseMove(first, QPoint(4 - first->x(), 3));
    QCOMPARE(first->x(), 0);
    QTest::mouseMove(first, QPoint(limit + 50 - first->x(), 3));
    // While dragging, the idle update leaves the markers alone.
    form->ruler().SyncRuler();
    QCOMPARE(first->x(), limit);
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(5, 3));
    QVERIFY(!form->context().RulerDragging);
    QVERIFY(!guide->isVisible());
}

void RulerTest::releasingTheFirstLineMarkerKeepsTheOtherLines() {
    start();
    setIndents(0, 36);
    QWidget *first = marker("RulerFirstIndent");
    drag(first, 100);
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(5, 3));
    const ParaAttributes p = editor()->paraAttributes();
    QCOMPARE(p.firstIndent, 76);
    QCOMPARE(p.firstIndent + p.leftIndent, 36);
    // The markers settle on the written indents.
    QCOMPARE(first->x(), 100);
    QCOMPARE(marker("RulerLeftIndent")->x(), 47);
}

void RulerTest::leftAndRightMarkersSetTheirIndents() {
    start();
    // A first-line indent off the 4.5-point grid (as a loaded document may have): the other
    // lines still land exactly where the left marker shows them.
    setIndents(10, 0);
    QWidget *left = marker("RulerLeftIndent");
    drag(left, 100, 40);
    QTest::mouseRelease(left, Qt::LeftButton, {}, QPoint(5, 3));
    ParaAttributes p = editor()->paraAttributes();
    QCOMPARE(p.firstIndent, 10);
    QCOMPARE(p.firstIndent + p.leftIndent, 76);

    QWidget *right = marker("RulerRightIndent");
    const int width = form->ruler().widgets().UpperRulerPanel->width();
    drag(right, width - 20 - 100 + 1);
    QTest::mouseRelease(right, Qt::LeftButton, {}, QPoint(5, 3));
    p = editor()->paraAttributes();
    QCOMPARE(p.rightIndent, 76);
    QCOMPARE(p.firstIndent + p.leftIndent, 76);
    // One undo step per release.
    editor()->undo();
    editor()->setSelStart(0);
    QCOMPARE(editor()->paraAttributes().rightIndent, 0);
    QCOMPARE(editor()->paraAttributes().leftIndent, 66);
}

void RulerTest::rightClickShiftsTheParagraph() {
    start();
    setIndents(18, 36); // markers at 23 and 71
    QWidget *upper = form->ruler().widgets().UpperRulerPanel;
    QWidget *lower = form->ruler().widgets().LowerRulerPanel;
    QTest::mouseClick(upper, Qt::RightButton, {}, QPoint(200, 2));
    QCOMPARE(editor()->paraAttributes().firstIndent, 54);
    QCOMPARE(editor()->paraAttributes().leftIndent, 36);
    QCOMPARE(marker("RulerFirstIndent")->x(), 71);
    // Between the markers nothing happens; left of both, on the lower panel, it shifts back.
    QTest::mouseClick(lower, Qt::RightButton, {}, QPoint(90, 2));
    QCOMPARE(editor()->paraAttributes().firstIndent, 54);
    QTest::mouseClick(lower, Qt::RightButton, {}, QPoint(30, 2));
    QCOMPARE(editor()->paraAttributes().firstIndent, 18);
    // No line is pushed past the left edge: the shift stops at 0.
    QTest::mouseClick(upper, Qt::RightButton, {}, QPoint(5, 2));
    QCOMPARE(editor()->paraAttributes().firstIndent, 0);
    QCOMPARE(editor()->paraAttributes().leftIndent, 36);
    // With no distance between the lines, nothing moves.
    setIndents(36, 0);
    QTest::mouseClick(upper, Qt::RightButton, {}, QPoint(400, 2));
    QCOMPARE(editor()->paraAttributes().firstIndent, 36);
}

void RulerTest::resetParagraphFormatLeavesNoUndoStep() {
    start();
    editor()->clear();
    form->ruler().ResetParagraphFormat();
    QVERIFY(!editor()->document()->isUndoAvailable());
    editor()->setPlainText(QStringLiteral("x"));
    setIndents(20, -10, 30);
    form->context().RulerDragging = true;
    form->ruler().ResetParagraphFormat();
    QCOMPARE(editor()->paraAttributes(), ParaAttributes());
    QVERIFY(!form->context().RulerDragging);
    QCOMPARE(marker("RulerFirstIndent")->x(), 0);
}

void RulerTest::clicksThatMoveNothingChangeNothing_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("right-click without distance")
        << "UpperRulerPanel" << Qt::RightButton << QPoint(200, 2);
    QTest::newRow("alignment button already down")
        << "LeftAlignButton" << Qt::LeftButton << QPoint();
}

void RulerTest::clicksThatMoveNothingChangeNothing() {
    QFETCH(QString, target);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, at);
    start();
    editor()->document()->clearUndoRedoStacks();
    editor()->document()->setModified(false);
    QTest::mouseClick(form->findChild<QWidget *>(target), button, {}, at);
    QVERIFY(!editor()->document()->isUndoAvailable());
    QVERIFY(!form->documentState().DocumentModified());
}

QTEST_MAIN(RulerTest)
#include "tst_ruler.moc"
