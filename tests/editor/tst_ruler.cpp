#include "editor/ruler.h"
#include "windowtest.h"

using namespace tessary;

class RulerTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void cleanup() { closeWindow(); }

    void pixelsSnapToHalfSteps_data() {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("points");
        QTest::newRow("nominal: 75 pt snaps up to 76.5, cut to 76") << 96 << 100 << 76;
        QTest::newRow("boundary: zero") << 96 << 0 << 0;
        QTest::newRow("boundary: 4.5 pt truncated to 4 first, snaps to 4.5") << 96 << 6 << 4;
        QTest::newRow("nominal: 60 pt at 120 snaps to 58.5") << 120 << 100 << 58;
        QTest::newRow("nominal: 30 pt at 120 snaps to 31.5") << 120 << 50 << 31;
    }

    void pixelsSnapToHalfSteps() {
        QFETCH(int, dpi);
        QFETCH(int, pixels);
        QTEST(Ruler::RulerPixelsToPoints(pixels, 72.0f / float(dpi)), "points");
    }

    void markersStandOnTheParagraphsOwnIndents_data() {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("bullet");
        QTest::newRow("nominal: plain paragraph") << 96 << false;
        QTest::newRow("nominal: bulleted paragraph") << 96 << true;
        QTest::newRow("large fonts: bulleted paragraph") << 120 << true;
    }

    // The tips stand where the indents put the text; a drag by 60 pixels (45 or 36 points, on
    // the grid at either resolution) moves the text to where the guide line ran. A bullet
    // moves the text, never the markers (regression: they moved with it, 18 pixels), and its
    // room is drawn as a band from the first-line marker.
    void markersStandOnTheParagraphsOwnIndents() {
        QFETCH(int, dpi);
        QFETCH(bool, bullet);
        start(dpi);
        editor()->setPlainText(QStringLiteral("wrapping words ").repeated(30) + "\nright");
        const int second = editor()->textLength() - 5;
        auto format = [&](bool bulleted) {
            for (int at : {0, second}) {
                editor()->setSelStart(at);
                editor()->setParaAttributes(
                    {at ? Alignment::Right : Alignment::Left, 36, -18, 9, bulleted, 0});
            }
        };
        const QStringList names = {"RulerFirstIndent", "RulerLeftIndent", "RulerRightIndent"};
        auto edgeOf = [&](const QString &name) {
            return name == "RulerLeftIndent"    ? editor()->lineStart(1)
                   : name == "RulerFirstIndent" ? 0
                                                : second + 5;
        };
        auto sync = [&](const QString &name) {
            editor()->setSelStart(name == "RulerRightIndent" ? second : 0);
            form->ruler().SyncRuler();
            return tipOf(name.toLatin1());
        };
        format(false);
        QHash<QString, int> plainTips;
        for (const QString &name : names)
            plainTips[name] = sync(name);
        const int plainText = textX(0);
        format(bullet);
        const int room = textX(0) - plainText;
        QCOMPARE(room > 10, bullet);
        auto near = [](int actual, int expected) { return qAbs(actual - expected) <= 1; };
        QWidget *band = form->findChild<QWidget *>("RulerListRoom");
        for (const QString &name : names) {
            const QByteArray id = name.toLatin1();
            const int shift = name == "RulerRightIndent" ? 0 : room;
            QCOMPARE(sync(name), plainTips[name]);
            QVERIFY2(near(textX(edgeOf(name)), tipOf(id) + shift), id);
            QCOMPARE(band && band->isVisible(), bullet);
            if (bullet && name == "RulerFirstIndent")
                QVERIFY(near(band->mapTo(form.get(), QPoint()).x(), tipOf(id)) &&
                        near(band->width(), room));
            const int firstLine = textX(0);
            QWidget *m = marker(id);
            drag(m, m->x() + (name == "RulerRightIndent" ? -60 : 60));
            const int guide = form->ruler().widgets().RulerGuidePanel->x();
            QTest::mouseRelease(m, Qt::LeftButton, {}, QPoint(5, 3));
            QVERIFY2(near(textX(edgeOf(name)), guide + shift), id);
            QVERIFY2(near(tipOf(id), guide), id);
            if (name == "RulerLeftIndent") // the other lines move alone
                QCOMPARE(textX(0), firstLine);
        }
    }

    void draggedMarkersStopAtTheLimits() {
        start();
        setIndents(10, 0);
        editor()->document()->setModified(false); // only the drag modifies it
        QWidget *first = marker("RulerFirstIndent");
        // A click without a drag writes nothing (it would only snap the indent to the grid).
        QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(5, 3));
        QCOMPARE(editor()->paraAttributes().firstIndent, 10);
        const int rightmost = marker("RulerRightIndent")->x(); // no right indent
        editor()->setSelStart(editor()->textLength());         // a paragraph with no indents
        form->ruler().SyncRuler();
        const int leftmost = first->x();
        editor()->setSelStart(0);
        form->ruler().SyncRuler();
        drag(first, 300);
        QVERIFY(form->context().RulerDragging && form->documentState().DocumentModified());
        QCOMPARE(first->x(), 300);
        QWidget *guide = form->ruler().widgets().RulerGuidePanel;
        QVERIFY(guide->isVisible());
        QCOMPARE(guide->x(), tipOf("RulerFirstIndent"));
        QTest::mouseMove(first, QPoint(leftmost + 4 - first->x(), 3));
        QCOMPARE(first->x(), leftmost);
        QTest::mouseMove(first, QPoint(rightmost + 50 - first->x(), 3));
        // While dragging, the idle update leaves the markers alone.
        form->ruler().SyncRuler();
        QCOMPARE(first->x(), rightmost);
        QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(5, 3));
        QVERIFY(!form->context().RulerDragging && !guide->isVisible());
    }

    void leftMarkerMeasuresFromTheParagraphsOwnFirstLine() {
        start();
        // A first-line indent off the 4.5-point grid (as a loaded document may have): the other
        // lines still land exactly where the left marker shows them.
        setIndents(10, 0);
        QWidget *left = marker("RulerLeftIndent");
        drag(left, left->x() + 88, left->x() + 30);
        QTest::mouseRelease(left, Qt::LeftButton, {}, QPoint(5, 3));
        const ParaAttributes p = editor()->paraAttributes();
        QCOMPARE(p.firstIndent, 10);
        QCOMPARE(p.firstIndent + p.leftIndent, 76); // 13.3 + 88 pixels, snapped
    }

    void rightClickShiftsTheParagraph() {
        start();
        setIndents(18, 36); // marker tips 24 and 72 pixels into the text
        QWidget *upper = form->ruler().widgets().UpperRulerPanel;
        QWidget *lower = form->ruler().widgets().LowerRulerPanel;
        QTest::mouseClick(upper, Qt::RightButton, {}, QPoint(200, 2));
        QCOMPARE(editor()->paraAttributes().firstIndent, 54);
        QCOMPARE(editor()->paraAttributes().leftIndent, 36);
        QCOMPARE(tipOf("RulerFirstIndent"), textX(0));
        // Between the markers nothing happens; left of both, on the lower panel, it shifts back.
        QTest::mouseClick(lower, Qt::RightButton, {}, QPoint(90, 2));
        QCOMPARE(editor()->paraAttributes().firstIndent, 54);
        QTest::mouseClick(lower, Qt::RightButton, {}, QPoint(30, 2));
        QCOMPARE(editor()->paraAttributes().firstIndent, 18);
        // No line is pushed past the left edge: the shift stops at 0.
        QTest::mouseClick(upper, Qt::RightButton, {}, QPoint(5, 2));
        QCOMPARE(editor()->paraAttributes().firstIndent, 0);
        QCOMPARE(editor()->paraAttributes().leftIndent, 36);
    }

private:
    QWidget *marker(const char *name) { return form->findChild<QWidget *>(name); }
    void start(int dpi = 96) {
        openWindow(QSize(1000, 600), dpi);
        editor()->setPlainText(QStringLiteral("first paragraph\nsecond paragraph"));
        editor()->setSelStart(0);
    }

    void setIndents(int first, int left) {
        ParaAttributes p = editor()->paraAttributes();
        p.firstIndent = first;
        p.leftIndent = left;
        editor()->setParaAttributes(p);
        form->ruler().SyncRuler();
    }

    // Where the guide line runs for a marker, and where the text at `position` starts (or
    // ends), in window pixels; drag() moves a marker with the left button so that its left
    // edge ends at `left` (ruler pixels), passing through `via` first.
    int tipOf(const char *name) {
        QWidget *m = marker(name);
        return m->mapTo(form.get(), QPoint(m->width() / 4 + 1, 0)).x();
    }

    int textX(int position) {
        QTextCursor at(editor()->document());
        at.setPosition(position);
        return editor()->viewport()->mapTo(form.get(), editor()->cursorRect(at).topLeft()).x();
    }

    void drag(QWidget *m, int left, int via = -1) {
        QTest::mousePress(m, Qt::LeftButton, {}, QPoint(5, 3));
        for (int target : {via, left}) {
            if (target < 0)
                continue;
            // The marker's left edge jumps to where the mouse is.
            QTest::mouseMove(m, QPoint(target - m->x(), 3));
        }
    }
};

QTEST_MAIN(RulerTest)
#include "tst_ruler.moc"
