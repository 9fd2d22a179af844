// A document's own header and footer on its printed pages, with their fields filled in.

#include "printjob/keptheaders.h"
#include "rtf/rtfreader.h"
#include "rtf/textformat.h"

#include <QImage>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

using namespace tessary;

namespace {
std::unique_ptr<QTextDocument> load(const QByteArray &rtf) {
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor cursor(doc.get());
    RtfReader::read(rtf, cursor);
    return doc;
}

const QByteArray kDoc = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\titlepg"
                        "{\\headerf \\pard F\\par}"
                        "{\\header \\pard Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} of "
                        "{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}}\\par}"
                        "\\pard Body\\par}";

// Rows of the image with any dark pixel.
QList<int> inkedRows(const QImage &image) {
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                rows << y;
                break;
            }
    return rows;
}
} // namespace

class KeptHeadersTest : public QObject {
    Q_OBJECT
private slots:
    void fieldsTakeThePage() {
        auto doc = load("{\\rtf1\\ansi\\pard {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} / "
                        "{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}} "
                        "{\\field{\\*\\fldinst REF x}{\\fldrslt kept}}\\par}");
        KeptHeaders::updateFields(*doc, 12, 345);
        QCOMPARE(doc->toPlainText(), QStringLiteral("12 / 345 kept"));
    }

    void headerStandsAboveAndFooterBelowTheBody_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("footer");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("first page header") << 1 << false << true;
        QTest::newRow("later page header") << 2 << false << true;
        QTest::newRow("no footer") << 2 << true << false;
    }
    void headerStandsAboveAndFooterBelowTheBody() {
        QFETCH(int, page);
        QFETCH(bool, footer);
        QFETCH(bool, drawn);
        auto doc = load(kDoc);
        QImage image(600, 600, QImage::Format_RGB32);
        image.fill(Qt::white);
        const QRect body(50, 200, 500, 200);
        {
            QPainter painter(&image);
            QCOMPARE(KeptHeaders::draw(painter, *doc, page, 3, body, footer, 96), drawn);
        }
        const QList<int> rows = inkedRows(image);
        QCOMPARE(!rows.isEmpty(), drawn);
        if (drawn) {
            QVERIFY(rows.last() < body.top());
            QVERIFY(rows.first() > body.top() - 60);
        }
    }
};

QTEST_MAIN(KeptHeadersTest)
#include "tst_keptheaders.moc"
