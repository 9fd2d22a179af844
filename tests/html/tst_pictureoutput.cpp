// Pictures on their way out of the editor: copied and pasted, pasted from an image on the
// clipboard, printed at their size and carried by the HTML page.
#include "html/htmlwriter.h"
#include "richtext/formatrange.h"
#include "richtext/richedit.h"
#include "richtext/richmime.h"
#include "rtf/rtfpictures.h"
#include "rtf/rtftesthelpers.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QtTest>

using namespace tessary;

namespace {

QList<QByteArray> keptPictures(const QTextDocument *doc) {
    QList<QByteArray> kept;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                kept << it.fragment().charFormat().property(TextProperty::KeptRtf).toByteArray();
    return kept;
}

} // namespace

class PictureOutputTest : public QObject {
    Q_OBJECT
private slots:
    void copiedAndPastedInsideTheEditor() {
        RichEdit from, to;
        QVERIFY(from.loadData(test::sample("word-pictures.rtf")) == RichEdit::LoadResult::Rtf);
        QTextCursor all(from.document());
        all.select(QTextCursor::Document);
        std::unique_ptr<QMimeData> mime(mimeFromSelection(all));
        QTextCursor at(to.document());
        QVERIFY(insertMime(mime.get(), at));
        QCOMPARE(keptPictures(to.document()), keptPictures(from.document()));
        QCOMPARE(keptPictures(to.document()).size(), 5);
    }

    void imageOnTheClipboardPastes() {
        RichEdit editor;
        QImage image(12, 8, QImage::Format_RGB32);
        image.fill(Qt::green);
        auto *mime = new QMimeData;
        mime->setImageData(image);
        mime->setHtml(QStringLiteral("<img src=\"https://example.org/a.png\">"));
        QGuiApplication::clipboard()->setMimeData(mime);
        QVERIFY(editor.canPaste());
        editor.paste();
        const QList<QByteArray> kept = keptPictures(editor.document());
        QCOMPARE(kept.size(), 1);
        QVERIFY(kept.first().startsWith("{\\pict\\pngblip\\picw12\\pich8"));
    }

    // Each picture is an IMG of its shown size in CSS pixels, carrying what it shows.
    void pageCarriesPictures() {
        RichEdit editor;
        editor.resize(800, 600);
        editor.show(); // the page follows the display lines
        QVERIFY(editor.loadData(test::sample("word-pictures.rtf")) == RichEdit::LoadResult::Rtf);
        const QString page = QString::fromUtf8(HtmlWriter(editor, {}, {}).page());
        static const QRegularExpression img(
            QStringLiteral("<IMG src=\"data:image/png;base64,([^\"]+)\" WIDTH=(\\d+) "
                           "HEIGHT=(\\d+) alt=\"([^\"]*)\">"));
        QStringList found;
        QByteArray first;
        for (const QRegularExpressionMatch &m : img.globalMatch(page)) {
            found << m.captured(2) + u'x' + m.captured(3) + u' ' + m.captured(4);
            if (first.isEmpty())
                first = QByteArray::fromBase64(m.captured(1).toLatin1());
        }
        QCOMPARE(found,
                 QStringList({"20x15 Picture", "80x60 WMF picture", "80x40 Object Equation.3",
                              "20x30 Picture", "48x48 EMF picture"}));
        QCOMPARE(first, test::sample("pictures-figure.png"));
        QVERIFY(!page.contains(QChar::ObjectReplacementCharacter));
    }

    // On a 288-dpi printer a 30 by 20 pixel picture (96 an inch) covers 90 by 60 dots.
    void printedAtItsSize() {
        RichEdit editor;
        QImage red(30, 20, QImage::Format_RGB32);
        red.fill(Qt::red);
        QTextCursor at(editor.document());
        QVERIFY(RtfPictures::insert(at, red));
        QImage printer(600, 400, QImage::Format_RGB32);
        printer.setDotsPerMeterX(qRound(288 / 0.0254));
        printer.setDotsPerMeterY(qRound(288 / 0.0254));
        printer.fill(Qt::white);
        FormatRange range(&editor);
        QPainter painter(&printer);
        range.render(painter, {&printer, QRect(0, 0, 600, 400), 0, -1});
        painter.end();
        QRect inked;
        for (int y = 0; y < printer.height(); ++y)
            for (int x = 0; x < printer.width(); ++x)
                if (printer.pixel(x, y) == qRgb(255, 0, 0))
                    inked |= QRect(x, y, 1, 1);
        QCOMPARE(inked.size(), QSize(90, 60));
    }
};

QTEST_MAIN(PictureOutputTest)
#include "tst_pictureoutput.moc"
