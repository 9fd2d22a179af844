// Cutting a notation face down to the characters a page shows.
#include "html/fontsubset.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainterPath>
#include <QRawFont>
#include <QtEndian>
#include <QtTest>

using namespace tessary;

namespace {
QByteArray faceFile(const QString &file) {
    QFile f(QStringLiteral(TESSARY_SOURCE_DIR "/fonts/") + file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// At the em size a font unit is a pixel, so metrics compare exactly.
QRawFont load(const QByteArray &bytes) {
    return QRawFont(bytes, 2048, QFont::PreferNoHinting);
}

int glyphCount(const QRawFont &font) {
    const QByteArray maxp = font.fontTable("maxp");
    return maxp.size() >= 6 ? qFromBigEndian<quint16>(maxp.constData() + 4) : -1;
}

QList<char32_t> codePoints(const QString &text) {
    const QList<uint> ucs4 = text.toUcs4();
    return {ucs4.begin(), ucs4.end()};
}
} // namespace

class FontSubsetTest : public QObject {
    Q_OBJECT
private slots:
    void subsetKeepsTheUsedGlyphsWhereTheyStand_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("used");
        QTest::addColumn<QString>("kept"); // the used characters the face has
        QTest::newRow("raised digits and letters") << "CourierNewHigh.ttf"
                                                   << "2n+1"
                                                   << "2n+1";
        QTest::newRow("lowered index") << "CourierNewLow.ttf"
                                       << "ij"
                                       << "ij";
        QTest::newRow("greek letters") << "CourierNewGreekEven.ttf"
                                       << "\u03b1\u03c6\u03a3"
                                       << "\u03b1\u03c6\u03a3";
        QTest::newRow("brace pieces and a sum") << "TessarySymbolEven.ttf"
                                                << "\u23a7\u23a8\u23a9\u2211"
                                                << "\u23a7\u23a8\u23a9\u2211";
        QTest::newRow("a character the face lacks") << "CourierNewEven.ttf"
                                                    << "x\u4e00"
                                                    << "x";
        QTest::newRow("nothing used") << "CourierNewEven.ttf"
                                      << ""
                                      << "";
    }

    void subsetKeepsTheUsedGlyphsWhereTheyStand() {
        QFETCH(QString, file);
        QFETCH(QString, used);
        QFETCH(QString, kept);
        const QByteArray original = faceFile(file);
        const QRawFont full = load(original);
        QVERIFY(full.isValid());
        const QByteArray bytes = subsetFont(original, codePoints(used));
        const QRawFont subset = load(bytes);
        QVERIFY(subset.isValid());
        QVERIFY(bytes.size() < original.size());

        // Exactly the kept characters and the notdef glyph.
        QCOMPARE(glyphCount(subset), int(kept.toUcs4().size()) + 1);
        QVERIFY(!subset.supportsCharacter(U'q'));
        QCOMPARE(subset.familyName(), full.familyName());
        // One line height for every face, and raised or lowered glyphs where they were.
        QCOMPARE(subset.ascent(), full.ascent());
        QCOMPARE(subset.descent(), full.descent());
        for (const char32_t c : kept.toUcs4()) {
            QVERIFY(subset.supportsCharacter(c));
            const QString s = QString::fromUcs4(&c, 1);
            const quint32 g = subset.glyphIndexesForString(s).value(0);
            const quint32 h = full.glyphIndexesForString(s).value(0);
            QCOMPARE(subset.advancesForGlyphIndexes({g}), full.advancesForGlyphIndexes({h}));
            // Within a font unit: curve extremes are found numerically.
            const QRectF a = subset.pathForGlyph(g).boundingRect();
            const QRectF b = full.pathForGlyph(h).boundingRect();
            QVERIFY2(QLineF(a.topLeft(), b.topLeft()).length() < 0.5 &&
                         QLineF(a.bottomRight(), b.bottomRight()).length() < 0.5,
                     qPrintable(QString::fromUcs4(&c, 1)));
        }
        QVERIFY(!subset.pathForGlyph(0).isEmpty()); // the notdef box
    }

    void notAFontGivesNothing() {
        QVERIFY(subsetFont(QByteArray(), codePoints(QStringLiteral("x"))).isEmpty());
        QVERIFY(subsetFont(QByteArray(300, 'x'), codePoints(QStringLiteral("x"))).isEmpty());
    }
};

QTEST_MAIN(FontSubsetTest)
#include "tst_fontsubset.moc"
