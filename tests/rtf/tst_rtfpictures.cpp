// Pictures from other writers: shown at the size the document gives, kept byte for byte, and
// pictures that came without RTF written as PNG.
#include "rtf/rtfpictures.h"
#include "rtf/rtfwriter.h"
#include "rtftesthelpers.h"

#include <QImage>
#include <QtTest>

using namespace tessary;
using namespace tessary::test;

namespace {

struct Shown {
    QTextImageFormat format;
    QImage image;
    QByteArray kept() const { return format.property(TextProperty::KeptRtf).toByteArray(); }
};

QList<Shown> pictures(QTextDocument &doc) {
    QList<Shown> found;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
            const QVariant r = doc.resource(QTextDocument::ImageResource, QUrl(f.name()));
            const QImage image = r.userType() == QMetaType::QByteArray
                                     ? QImage::fromData(r.toByteArray())
                                     : r.value<QImage>();
            for (int i = 0; f.isValid() && i < it.fragment().length(); ++i)
                found.append({f, image});
        }
    return found;
}

int twipsOf(qreal units) {
    return qRound(units * 1440 / documentDpi());
}

} // namespace

class RtfPicturesTest : public QObject {
    Q_OBJECT
private slots:
    // Rows: a fixture or RTF, how many pictures it holds, the one looked at, its size in twips,
    // the pixel width drawn (0 when a box stands for it) and the box's name.
    void readAndWrittenBack_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("index");
        QTest::addColumn<QSize>("twips");
        QTest::addColumn<int>("pixelWidth");
        QTest::addColumn<QString>("box");
        const QByteArray office = sample("libreoffice-pictures.rtf");
        const QByteArray pandoc = sample("pandoc-pictures.rtf");
        const QByteArray word = sample("word-pictures.rtf");
        // clang-format off
        QTest::newRow("office png") << office << 2 << 0 << QSize(600, 450) << 40 << "";
        QTest::newRow("office jpeg scaled") << office << 2 << 1 << QSize(540, 405) << 24 << "";
        QTest::newRow("pandoc jpeg") << pandoc << 2 << 1 << QSize(480, 360) << 24 << "";
        QTest::newRow("shape beside metafile") << word << 5 << 0 << QSize(300, 225) << 40 << "";
        QTest::newRow("metafile only") << word << 5 << 1 << QSize(1200, 900) << 0 << "WMF picture";
        QTest::newRow("object") << word << 5 << 2 << QSize(1200, 600) << 0 << "Object Equation.3";
        QTest::newRow("cropped") << word << 5 << 3 << QSize(300, 450) << 20 << "";
        QTest::newRow("enhanced metafile") << word << 5 << 4 << QSize(720, 720) << 0 << "EMF picture";
        QTest::newRow("truncated png") << QByteArray("{\\rtf1 {\\pict\\pngblip 89504e470d0a}}") << 1 << 0 << QSize(1440, 1440) << 0 << "Picture";
        QTest::newRow("huge goal") << QByteArray("{\\rtf1 {\\pict\\wmetafile8\\picwgoal999999999\\pichgoal-5 01}}") << 1 << 0 << QSize(31680, 1440) << 0 << "WMF picture";
        QTest::newRow("zero scale, bin") << QByteArray("{\\rtf1 {\\pict\\emfblip\\picwgoal720\\pichgoal360\\picscalex0\\bin3 abc}}") << 1 << 0 << QSize(720, 360) << 0 << "EMF picture";
        // clang-format on
    }
    void readAndWrittenBack() {
        QFETCH(QByteArray, rtf);
        QFETCH(int, index);
        QFETCH(int, pixelWidth);
        auto doc = loadRtf(rtf);
        const QList<Shown> shown = pictures(*doc);
        QTEST(int(shown.size()), "count");
        const Shown &picture = shown.at(index);
        QTEST(QSize(twipsOf(picture.format.width()), twipsOf(picture.format.height())), "twips");
        QTEST(picture.format.stringProperty(PictureProperty::FormatName), "box");
        QVERIFY(!picture.image.isNull());
        if (pixelWidth > 0)
            QCOMPARE(picture.image.width(), pixelWidth);
        QVERIFY(rtf.contains(picture.kept()));
        // Saved and read again: the same groups, byte for byte, and the same text.
        auto again = loadRtf(RtfWriter::write(doc.get()));
        QCOMPARE(pictures(*again).at(index).kept(), picture.kept());
        QCOMPARE(again->toPlainText(), doc->toPlainText());
    }

    // The metafile for older readers stays with the picture it stands beside.
    void shapeAndMetafileStayTogether() {
        const QByteArray rtf = sample("word-pictures.rtf");
        const qsizetype start = rtf.indexOf("{\\*\\shppict");
        QCOMPARE(pictures(*loadRtf(rtf)).first().kept(),
                 rtf.mid(start, rtf.indexOf(" after.") - start));
    }

    void pastedImageWrittenAsPng() {
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.setPixel(3, 2, qRgb(0, 0, 255));
        QTextDocument doc;
        QTextCursor cursor(&doc);
        cursor.insertText(QStringLiteral("plot "));
        QVERIFY(RtfPictures::insert(cursor, image));
        // Text typed after the picture takes its format, and must still be saved as text.
        cursor.insertText(QStringLiteral(" after"));
        const QByteArray saved = RtfWriter::write(&doc);
        QVERIFY(saved.contains("\\pngblip\\picw30\\pich20\\picwgoal450\\pichgoal300"));
        auto again = loadRtf(saved);
        QCOMPARE(again->toPlainText(), QStringLiteral("plot \uFFFC after"));
        const QList<Shown> shown = pictures(*again);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().image.convertToFormat(QImage::Format_RGB32), image);
    }
};

QTEST_MAIN(RtfPicturesTest)
#include "tst_rtfpictures.moc"
