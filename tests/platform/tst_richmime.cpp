// The clipboard: copy offers RTF and plain text; paste takes RTF, else HTML, else plain text.
#include "platform/richmime.h"
#include "rtftesthelpers.h"

#include <QMimeData>
#include <QtTest>

using namespace tessary;
using namespace tessary::test;

namespace {

CharAttributes notation(const QString &face, int charset, int pitch) {
    return {face, 14, kAutomaticColor, false, false, false, charset, pitch};
}

// Two paragraphs of mixed faces; the second is a centred bullet.
void fill(QTextDocument &doc) {
    QTextCursor c(&doc);
    CharAttributes body{"Liberation Serif", 12, rgbColor(0, 128, 0), false, false, true, 0, 0x12};
    c.insertText("x = ", body.toFormat());
    c.insertText("\u03B1", notation("Courier New Greek High", 161, 4 * 37 + 1).toFormat());
    c.insertText("\u2245", notation("TessarySymbol Low", 2, 4 * 2 + 1).toFormat());
    c.insertText("\u2028y\tz", body.toFormat());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setLeftMargin(pointsToDocUnits(36));
    c.insertBlock(centred);
    QTextListFormat disc;
    disc.setStyle(QTextListFormat::ListDisc);
    c.createList(disc);
    body.bold = true;
    c.insertText("second", body.toFormat());
}

// Fills `doc` and copies all of it.
std::unique_ptr<QMimeData> copyAll(QTextDocument &doc) {
    fill(doc);
    QTextCursor cursor(&doc);
    cursor.select(QTextCursor::Document);
    return std::unique_ptr<QMimeData>(mimeFromSelection(cursor));
}

} // namespace

std::unique_ptr<QTextDocument> pasted(const QMimeData &mime, bool *inserted = nullptr) {
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor cursor(doc.get());
    const bool ok = insertMime(&mime, cursor);
    if (inserted)
        *inserted = ok;
    return doc;
}

class TestRichMime : public QObject {
    Q_OBJECT

private slots:
    void copyOffersRtfAndText() {
        QTextDocument doc;
        const auto mime = copyAll(doc);
        QVERIFY(RtfReader::looksLikeRtf(mime->data("text/rtf")));
        QCOMPARE(mime->data("application/rtf"), mime->data("text/rtf"));
        QCOMPARE(mime->text(), "x = \u03B1\u2245\ny\tz\nsecond");
    }

    void copyThenPasteKeepsEveryAttribute() {
        QTextDocument source;
        const auto mime = copyAll(source);

        QTextDocument target;
        QTextCursor cursor(&target);
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        cursor.setBlockFormat(right);
        cursor.insertText("[]");
        cursor.setPosition(1);
        QVERIFY(insertMime(mime.get(), cursor));
        QCOMPARE(blockTexts(target), QStringList({"[x = \u03B1\u2245\u2028y\tz", "second]"}));
        for (int pos = 0; pos < source.characterCount() - 1; ++pos) {
            if (source.characterAt(pos) != QChar::ParagraphSeparator)
                QCOMPARE(describe(charAt(target, pos + 1)), describe(charAt(source, pos)));
        }
        // The first paragraph mark came from the clipboard; the last paragraph keeps the target's.
        QCOMPARE(paraOf(target.firstBlock()), paraOf(source.firstBlock()));
        QCOMPARE(paraOf(target.lastBlock()).alignment, Alignment::Right);

        // Pasting over a selection replaces it, as one undo step.
        cursor.setPosition(0);
        cursor.setPosition(3, QTextCursor::KeepAnchor);
        QVERIFY(insertMime(mime.get(), cursor));
        QCOMPARE(blockTexts(target), QStringList({"x = \u03B1\u2245\u2028y\tz",
                                                  "second= \u03B1\u2245\u2028y\tz", "second]"}));
        target.undo();
        QCOMPARE(blockTexts(target), QStringList({"[x = \u03B1\u2245\u2028y\tz", "second]"}));
    }

    void pastesRtfFromOtherPrograms() {
        for (const char *type : {"text/rtf", "application/rtf", "text/richtext"}) {
            QMimeData mime;
            mime.setData(type, sample("libreoffice-mixed.rtf"));
            mime.setText("plain fallback");
            QCOMPARE(charOf(*pasted(mime), "Centred red sans 14").color, rgbColor(255, 0, 0));
        }
    }

    void fallsBackToHtmlThenText() {
        QMimeData mime;
        mime.setData("text/rtf", "not really rtf");
        mime.setHtml("<p><b>bold</b> plain</p>");
        mime.setText("one\r\ntwo");
        const auto html = pasted(mime);
        QCOMPARE(html->toPlainText(), "bold plain");
        QVERIFY(charOf(*html, "bold").bold && !charOf(*html, "plain").bold);
        mime.removeFormat("text/html");
        QCOMPARE(blockTexts(*pasted(mime)), QStringList({"one", "two"}));

        bool inserted = true;
        mime.clear();
        mime.setData("image/png", "png");
        pasted(mime, &inserted);
        QVERIFY(!inserted);
    }
};

QTEST_MAIN(TestRichMime)
#include "tst_richmime.moc"
