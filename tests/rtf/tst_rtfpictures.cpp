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
};

QList<Shown> pictures(QTextDocument &doc) {
    QList<Shown> found;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
            for (int i = 0; f.isValid() && i < it.fragment().length(); ++i) {
                const QVariant r = doc.resource(QTextDocument::ImageResource, QUrl(f.name()));
                const QImage image = r.userType() == QMetaType::QByteArray
                                         ? QImage::fromData(r.toByteArray())
                                         : r.value<QImage>();
                found.append({f, image});
            }
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
    // Rows: fixture, picture index, shown size in twips, pixels of the picture drawn (0 when a
    // box stands for it), the box's name.
    void readsPictures_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("index");
        QTest::addColumn<QSize>("twips");
        QTest::addColumn<int>("pixelWidth");
        QTest::addColumn<QString>("box");
        QTest::newRow("office png")
            << "libreoffice-pictures.rtf" << 2 << 0 << QSize(600, 450) << 40 << "";
        QTest::newRow("office jpeg scaled")
            << "libreoffice-pictures.rtf" << 2 << 1 << QSize(540, 405) << 24 << "";
        QTest::newRow("pandoc png")
            << "pandoc-pictures.rtf" << 2 << 0 << QSize(600, 450) << 40 << "";
        QTest::newRow("pandoc jpeg")
            << "pandoc-pictures.rtf" << 2 << 1 << QSize(480, 360) << 24 << "";
        QTest::newRow("shape beside metafile")
            << "word-pictures.rtf" << 5 << 0 << QSize(300, 225) << 40 << "";
        QTest::newRow("metafile only")
            << "word-pictures.rtf" << 5 << 1 << QSize(1200, 900) << 0 << "WMF picture";
        QTest::newRow("object") << "word-pictures.rtf" << 5 << 2 << QSize(1200, 600) << 0
                                << "Object Equation.3";
        QTest::newRow("cropped") << "word-pictures.rtf" << 5 << 3 << QSize(300, 450) << 20 << "";
        QTest::newRow("enhanced metafile")
            << "word-pictures.rtf" << 5 << 4 << QSize(720, 720) << 0 << "EMF picture";
    }
    void readsPictures() {
        QFETCH(QString, file);
        QFETCH(int, index);
        QFETCH(QSize, twips);
        QFETCH(int, pixelWidth);
        QFETCH(QString, box);
        const QByteArray rtf = sample(file);
        auto doc = loadRtf(rtf);
        const QList<Shown> shown = pictures(*doc);
        QTEST(int(shown.size()), "count");
        const Shown &picture = shown.at(index);
        QCOMPARE(QSize(twipsOf(picture.format.width()), twipsOf(picture.format.height())), twips);
        QCOMPARE(picture.format.stringProperty(PictureProperty::FormatName), box);
        QVERIFY(!picture.image.isNull());
        if (pixelWidth > 0)
            QCOMPARE(picture.image.width(), pixelWidth);
        QVERIFY(rtf.contains(picture.format.property(TextProperty::KeptRtf).toByteArray()));
        QVERIFY(!doc->toPlainText().contains(u"89504e47")); // no picture data as text
    }

    void writtenBackByteForByte_data() {
        QTest::addColumn<QString>("file");
        for (const char *file :
             {"libreoffice-pictures.rtf", "pandoc-pictures.rtf", "word-pictures.rtf"})
            QTest::newRow(file) << file;
    }
    void writtenBackByteForByte() {
        QFETCH(QString, file);
        const QByteArray rtf = sample(file);
        auto doc = loadRtf(rtf);
        const QByteArray saved = RtfWriter::write(doc.get());
        QList<QByteArray> kept;
        for (const Shown &picture : pictures(*doc)) {
            kept << picture.format.property(TextProperty::KeptRtf).toByteArray();
            QVERIFY(saved.contains(kept.last()));
        }
        auto again = loadRtf(saved);
        QList<QByteArray> keptAgain;
        for (const Shown &picture : pictures(*again))
            keptAgain << picture.format.property(TextProperty::KeptRtf).toByteArray();
        QCOMPARE(keptAgain, kept);
        QCOMPARE(again->toPlainText(), doc->toPlainText());
    }

    // The metafile for older readers stays with the picture it stands beside.
    void shapeAndMetafileStayTogether() {
        const QByteArray rtf = sample("word-pictures.rtf");
        const QByteArray raw =
            pictures(*loadRtf(rtf)).first().format.property(TextProperty::KeptRtf).toByteArray();
        const qsizetype start = rtf.indexOf("{\\*\\shppict");
        const qsizetype end = rtf.indexOf(" after.");
        QCOMPARE(raw, rtf.mid(start, end - start));
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

    // Damaged pictures show a box or nothing, never more than the document's size allows.
    void damaged_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("maxTwips");
        QTest::newRow("truncated png")
            << QByteArray("{\\rtf1 {\\pict\\pngblip 89504e470d0a}}") << 1440;
        QTest::newRow("huge goal")
            << QByteArray("{\\rtf1 {\\pict\\wmetafile8\\picwgoal999999999\\pichgoal-5 01}}")
            << 31680;
        QTest::newRow("bin of junk") << QByteArray("{\\rtf1 {\\pict\\pngblip\\bin3 abc}}") << 1440;
        QTest::newRow("zero scale")
            << QByteArray("{\\rtf1 {\\pict\\emfblip\\picwgoal720\\pichgoal720\\picscalex0 01}}")
            << 720;
    }
    void damaged() {
        QFETCH(QByteArray, rtf);
        QFETCH(int, maxTwips);
        auto doc = loadRtf(rtf);
        const QList<Shown> shown = pictures(*doc);
        QCOMPARE(shown.size(), 1);
        QVERIFY(twipsOf(shown.first().format.width()) <= maxTwips);
        QVERIFY(twipsOf(shown.first().format.height()) > 0);
        QVERIFY(!shown.first().format.stringProperty(PictureProperty::FormatName).isEmpty());
    }
};

QTEST_MAIN(RtfPicturesTest)
#include "tst_rtfpictures.moc"
