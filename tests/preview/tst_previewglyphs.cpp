#include "preview/previewglyphs.h"
#include "preview/previewzoom.h"

#include <QPainter>
#include <QtTest>

using namespace tessary;

namespace {
// Pixels of the glyph drawn on `face` that differ clearly from the face itself.
int visiblePixels(const QPixmap &glyph, const QColor &face) {
    QImage img(glyph.size(), QImage::Format_RGB32);
    img.fill(face);
    QPainter(&img).drawPixmap(0, 0, glyph);
    int count = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            count += qAbs(qGray(img.pixel(x, y)) - qGray(face.rgb())) > 80;
    return count;
}
} // namespace

class PreviewPartsTest : public QObject {
    Q_OBJECT
private slots:
    void everyGlyphStandsOutOnDarkAndLightFaces() {
        QCOMPARE(SmallGlyphStrip().size(), QSize(208, 16));
        QVERIFY(ButtonGlyph(btnUser).isNull());
        for (int k = btnPrint; k < btnUser; ++k) {
            const QPixmap glyph = ButtonGlyph(TButtonKind(k));
            QCOMPARE(glyph.size(), QSize(16, 16));
            for (const QColor face : {QColor(32, 33, 36), QColor(240, 240, 240)})
                QVERIFY2(visiblePixels(glyph, face) >= 12,
                         qPrintable(QStringLiteral("glyph %1 on %2").arg(k).arg(face.name())));
        }
    }

    void zoomStepsAndLimits_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("clamped");
        QTest::addColumn<int>("above");
        QTest::addColumn<int>("below");
        QTest::newRow("between steps") << 120 << 120 << 150 << 100;
        QTest::newRow("on a step") << 100 << 100 << 150 << 75;
        QTest::newRow("at the top") << 1000 << 1000 << 1000 << 700;
        QTest::newRow("at the bottom") << 10 << 10 << 25 << 10;
        QTest::newRow("below the range") << 5 << 10 << 10 << 5;
        QTest::newRow("above the range") << 5000 << 1000 << 5000 << 1000;
    }

    void zoomStepsAndLimits() {
        QFETCH(int, scale);
        QTEST(ClampViewScale(scale), "clamped");
        QTEST(ZoomStepAbove(scale), "above");
        QTEST(ZoomStepBelow(scale), "below");
    }
};

QTEST_MAIN(PreviewPartsTest)
#include "tst_previewglyphs.moc"
