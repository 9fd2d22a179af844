#include "editor/notationfaces.h"
#include "platform/fontregistry.h"
#include "richtext/richedit.h"
#include "rtf/codepage.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

using namespace tessary;

namespace {

constexpr int kInk = 128; // darkness (0..255) from which a pixel counts as ink

QFont notationFont(const QString &face) {
    QFont font(face);
    font.setPointSize(11);
    return font;
}

// An image at the screen's resolution, so 11 pt is as many pixels as in the editor.
QImage blankImage(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMeter =
        qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch() / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    return image;
}

bool inkInRow(const QImage &image, int y) {
    for (int x = 0; x < image.width(); ++x) {
        if (255 - qGray(image.pixel(x, y)) >= kInk)
            return true;
    }
    return false;
}

// Rows of the first and last ink of one character drawn with its base line at `baseline`.
QPair<int, int> inkRows(const QString &face, const QString &text, int baseline) {
    QImage image = blankImage(QSize(60, 2 * baseline));
    {
        QPainter painter(&image);
        painter.setFont(notationFont(face));
        painter.setPen(Qt::black);
        painter.drawText(QPoint(10, baseline), text);
    }
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y) {
        if (inkInRow(image, y)) {
            first = first < 0 ? y : first;
            last = y;
        }
    }
    return {first, last};
}

QTextCharFormat faceFormat(const QString &face) {
    QTextCharFormat format;
    format.setFontFamilies({face});
    format.setFontPointSize(11);
    return format;
}

QImage renderDocument(QTextDocument &document) {
    const QSizeF size = document.size();
    QImage image = blankImage(QSize(qCeil(size.width()), qCeil(size.height())));
    QPainter painter(&image);
    document.drawContents(&painter);
    return image;
}

// What every notation face must be able to show: the characters the palettes, Ctrl+0..3
// and "_" insert, and the ordinary text typed in notation mode. Raising or lowering keeps
// a character's family and typing puts anything in the Latin face, so each face needs all.
QString requiredCharacters() {
    QString chars;
    const CodePage &symbols = CodePage::notationSymbol();
    for (int code = 0x20; code < 0x100; ++code)
        if (!symbols.toUnicode(code).isNull() && code != 0x7F)
            chars += symbols.toUnicode(code);
    for (char16_t c = 0x391; c <= 0x3C9; ++c)
        if (c != 0x3A2) // no capital final sigma
            chars += QChar(c);
    for (char16_t c = 0xA0; c <= 0xFF; ++c)
        chars += QChar(c);
    return chars;
}

// The ink of the editor's characters [from, to) on the first line, and their width.
QPair<int, int> runInk(RichEdit &edit, const QImage &image, int from, int to) {
    QTextCursor cursor(edit.document());
    cursor.setPosition(from);
    const QRect start = edit.cursorRect(cursor);
    cursor.setPosition(to);
    const QRect line = start.united(edit.cursorRect(cursor));
    int ink = 0;
    for (int y = line.top(); y <= line.bottom(); ++y)
        for (int x = line.left(); x < line.right(); ++x)
            ink += 255 - qGray(image.pixel(x, y));
    return {line.width(), ink};
}

} // namespace

class NotationFacesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Run by hand, the test takes the font files from the source tree.
        if (qEnvironmentVariableIsEmpty("TESSARY_DATA_DIR"))
            qputenv("TESSARY_DATA_DIR", TESSARY_SOURCE_DIR);
        QTemporaryDir empty;
        for (const QString &face : notationFaces()) {
            if (QFontDatabase::hasFamily(face))
                m_installed.append(face);
        }
        m_missingFromEmptyFolder = FontRegistry::registerNotationFaces(empty.path());
        const QString fonts = FontRegistry::dataDirectory() + "/fonts";
        m_missing = FontRegistry::registerNotationFaces(fonts);
        QVERIFY2(m_missing.size() < 9, qPrintable("no notation faces in " + fonts));
    }

    void registration() {
        QCOMPARE(m_missing, QStringList());
        // A folder without the files leaves missing every face the system does not have.
        QStringList expected;
        for (const QString &face : notationFaces()) {
            if (!m_installed.contains(face))
                expected.append(face);
        }
        QCOMPARE(m_missingFromEmptyFolder, expected);
        // Registering again (a second main window, say) is harmless.
        QCOMPARE(FontRegistry::registerNotationFaces(FontRegistry::dataDirectory() + "/fonts"),
                 QStringList());
        const QRawFont markers = QRawFont::fromFont(QFont(FontRegistry::rulerMarkerFace()));
        QVERIFY(markers.supportsCharacter(FontRegistry::rulerMarkerDown()) &&
                markers.supportsCharacter(FontRegistry::rulerMarkerUp()));
    }

    void raisedAndLoweredGlyphs() {
        const int baseline = 30;
        const auto x = inkRows(Face::LatinEven, QStringLiteral("x"), baseline);
        const auto raised = inkRows(Face::LatinHigh, QStringLiteral("2"), baseline);
        const auto lowered = inkRows(Face::LatinLow, QStringLiteral("i"), baseline);
        const auto two = inkRows(Face::LatinEven, QStringLiteral("2"), baseline);
        QVERIFY(x.first >= 0 && raised.first >= 0 && lowered.first >= 0);
        const double midLine = (x.first + x.second) / 2.0;
        // Image rows grow downwards: a raised glyph ends above the mid-line of an "x", a lowered
        // one below the base line.
        QVERIFY(raised.second < midLine && lowered.second >= baseline + 1);
        // Smaller, but still big enough to read at 11 pt.
        const double ratio = double(raised.second - raised.first) / (two.second - two.first);
        QVERIFY(ratio > 0.5 && ratio < 0.8);
    }

    void everyInsertedCharacterHasAnEvenGlyph_data() {
        QTest::addColumn<QString>("face");
        for (const QString &face : notationFaces())
            QTest::newRow(qPrintable(face)) << face;
    }

    // Our own face (not a substitute), fixed pitch, with every character the program inserts,
    // all on one advance and one line height so the columns of a formula line up.
    void everyInsertedCharacterHasAnEvenGlyph() {
        QFETCH(QString, face);
        const QFont font = notationFont(face);
        const QRawFont raw = QRawFont::fromFont(font);
        QCOMPARE(raw.familyName(), face);
        QVERIFY(QFontInfo(font).fixedPitch());
        const QFontMetricsF reference(notationFont(Face::LatinEven)), metrics(font);
        QCOMPARE(reference.leading(), 0.0);
        QCOMPARE(metrics.ascent(), reference.ascent());
        QCOMPARE(metrics.descent(), reference.descent());
        QCOMPARE(metrics.lineSpacing(), reference.lineSpacing());
        const qreal advance = reference.horizontalAdvance(QLatin1Char('x'));
        for (QChar c : requiredCharacters()) {
            const qreal x = raw.advancesForGlyphIndexes(raw.glyphIndexesForString(c)).value(0).x();
            QVERIFY2(raw.supportsCharacter(c) && qAbs(x - advance) < 0.01,
                     qPrintable(QString::number(c.unicode(), 16)));
        }
    }

    // The editor emboldens the notation faces as the printers do, and a bold letter keeps the
    // column of the letter it stands for.
    // The screen's text engine emboldens a face without a bold design only below 64 px;
    // larger text, as at 400 %, is overstruck instead.
    void boldShowsAsItPrints_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("scale");
        QTest::newRow("11 pt") << 11 << 100;
        QTest::newRow("12 pt at 400 %") << 12 << 400;
    }

    void boldShowsAsItPrints() {
        QFETCH(int, size);
        QFETCH(int, scale);
        const QString face = Face::LatinEven;
        RichEdit edit;
        edit.resize(1000, 300);
        edit.setCursorWidth(0);
        edit.setViewScale(scale);
        edit.replaceRange(0, 0, "abcdhkmwxz", {.face = face, .size = size}, CharAttributes::All);
        edit.replaceRange(10, 0, "abcdhkmwxz", {.face = face, .size = size, .bold = true},
                          CharAttributes::All);
        edit.show();
        const QImage image = edit.viewport()->grab().toImage();
        const auto [regular, bold] =
            std::pair(runInk(edit, image, 0, 10), runInk(edit, image, 10, 20));
        QVERIFY(qAbs(bold.first - regular.first) <= 1); // the advances are the same
        QVERIFY2(bold.second > regular.second * 1.15,
                 qPrintable(QString::number(double(bold.second) / regular.second)));
    }

    void piecesJoinFromLineToLine_data() {
        QTest::addColumn<QByteArray>("codes"); // symbol codes, one line each
        QTest::newRow("left bracket") << QByteArray("\xE8\xF2\xE9");
        QTest::newRow("left brace") << QByteArray("\xEA\xEB\xEC");
        QTest::newRow("tall left brace") << QByteArray("\xEA\xF2\xEB\xF2\xEC");
        QTest::newRow("top piece alone") << QByteArray("\xE8");
    }

    void piecesJoinFromLineToLine() {
        QFETCH(QByteArray, codes);
        // Laid out as the editor lays out its paragraphs: one piece per line, nothing between.
        QTextDocument document;
        document.setDocumentMargin(0);
        QTextCursor cursor(&document);
        for (qsizetype i = 0; i < codes.size(); ++i) {
            if (i > 0)
                cursor.insertBlock();
            cursor.insertText(CodePage::notationSymbol().toUnicode(codes[i]),
                              faceFormat(Face::SymbolEven));
        }
        const QImage image = renderDocument(document);
        // The pieces are all there is: the ink runs from the top of the first line to the
        // bottom of the last, and a row without ink is a gap where one line meets the next.
        for (int y = 1; y < image.height() - 1; ++y)
            QVERIFY2(inkInRow(image, y), qPrintable(QString::number(y)));
    }

private:
    QStringList m_installed; // on the system, before the test registered anything
    QStringList m_missingFromEmptyFolder;
    QStringList m_missing;
};

QTEST_MAIN(NotationFacesTest)
#include "tst_notationfaces.moc"
