// Parts of other programs' documents that are kept, shown where they can be, and written back.

#include "rtf/rtfkept.h"
#include "rtf/rtfwriter.h"
#include "rtftesthelpers.h"

#include <QTextFrame>
#include <QtTest>

using namespace tessary;
using namespace tessary::test;

namespace {
const QByteArray kHead = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}}"
                         "{\\colortbl;\\red255\\green0\\blue0;}";

QString shownText(const QTextDocument &doc) {
    return doc.toPlainText().remove(QChar::ObjectReplacementCharacter);
}
} // namespace

class TestRtfKept : public QObject {
    Q_OBJECT
private slots:
    void partIsWrittenBack_data();
    void partIsWrittenBack();
    void keptBytesFollowTheFontsAndColours();
    void fixturesKeepTheirParts_data();
    void fixturesKeepTheirParts();
    void typedTextNextToKeptPartsIsSaved();
    void pandocNote();
    void headerOfEachPage();
    void newDocumentDropsTheOldParts();
};

void TestRtfKept::partIsWrittenBack_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QString>("shown");
    QTest::newRow("header") << QByteArray("{\\header \\pard Top\\par}\\pard Text\\par")
                            << QByteArray("{\\header \\pard Top\\par}") << "Text";
    QTest::newRow("first footer") << QByteArray("{\\footerf \\pard Foot\\par}\\pard Text\\par")
                                  << QByteArray("{\\footerf \\pard Foot\\par}") << "Text";
    QTest::newRow("footnote") << QByteArray(
                                     "\\pard A{\\super\\chftn}{\\footnote\\pard Note.} B\\par")
                              << QByteArray("A{\\super\\chftn}{\\footnote\\pard Note.} B")
                              << "A1 B";
    QTest::newRow("comment") << QByteArray("\\pard A{\\*\\atnid X}\\chatn{\\*\\annotation "
                                           "\\pard Said.} B\\par")
                             << QByteArray("{\\*\\atnid X}\\chatn {\\*\\annotation \\pard Said.}")
                             << "A B";
    QTest::newRow("bookmark") << QByteArray("\\pard A{\\*\\bkmkstart m}B{\\*\\bkmkend m}\\par")
                              << QByteArray("A{\\*\\bkmkstart m}B{\\*\\bkmkend m}") << "AB";
    QTest::newRow("unknown starred") << QByteArray("\\pard A{\\*\\zzz keep {\\b it}}B\\par")
                                     << QByteArray("A{\\*\\zzz keep {\\b it}}B") << "AB";
    QTest::newRow("unknown unstarred keeps its text")
        << QByteArray("\\pard A{\\zzz kept}B\\par") << QByteArray("Akept") << "AkeptB";
    // Found by fuzzing: the group's text was kept inside the header and read again as text.
    QTest::newRow("destination word after the group's own text")
        << QByteArray("\\pard A{\\zzz kept\\header h}B\\par") << QByteArray("Akepth") << "AkepthB";
    QTest::newRow("hidden") << QByteArray("\\pard A{\\v secret}B\\par")
                            << QByteArray("A{\\v secret}B") << "AB";
    QTest::newRow("hidden to \\v0")
        << QByteArray("\\pard A\\v se\\u233?\\v0 B\\par") << QByteArray("A{\\v se\\u233?}") << "AB";
    QTest::newRow("date field")
        << QByteArray("\\pard On {\\field{\\*\\fldinst DATE \\\\@ \"d\"}{\\fldrslt 7}}.\\par")
        << QByteArray("{\\field{\\*\\fldinst DATE \\\\@ \"d\"}{\\fldrslt 7}}") << "On 7.";
    QTest::newRow("field without result")
        << QByteArray("\\pard A{\\field{\\*\\fldinst PAGE}{\\fldrslt }}B\\par")
        << QByteArray("A{\\field{\\*\\fldinst PAGE}{\\fldrslt }}B") << "AB";
    QTest::newRow("style sheet and style")
        << QByteArray("{\\stylesheet{\\s0 Normal;}{\\s2\\b heading 2;}}\\pard\\s2 H\\par")
        << QByteArray("{\\stylesheet{\\s0 Normal;}{\\s2\\b heading 2;}}") << "H";
    QTest::newRow("style reference")
        << QByteArray("{\\stylesheet{\\s2 h;}}\\pard\\s2 H\\par\\pard J\\par")
        << QByteArray("\\pard\\s2\\ql") << "H\nJ";
    QTest::newRow("information") << QByteArray("{\\info{\\title T}}\\pard X\\par")
                                 << QByteArray("{\\info{\\title T}}") << "X";
    QTest::newRow("page settings")
        << QByteArray("\\paperw15840\\paperh12240\\margl1134\\landscape\\sectd\\pard X\\par")
        << QByteArray("\\paperw15840\\paperh12240\\margl1134\\landscape\\sectd") << "X";
    QTest::newRow("generator before the text") << QByteArray("{\\*\\generator G;}\\pard X\\par")
                                               << QByteArray("{\\*\\generator G;}") << "X";
}

void TestRtfKept::partIsWrittenBack() {
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, written);
    QFETCH(QString, shown);
    auto doc = loadRtf(kHead + body + '}');
    QCOMPARE(shownText(*doc), shown);
    const QByteArray saved = RtfWriter::write(doc.get());
    QVERIFY2(saved.contains(written), saved.constData());
    // Read again and written again, nothing moves.
    auto again = loadRtf(saved);
    QCOMPARE(shownText(*again), shown);
    QCOMPARE(RtfWriter::write(again.get()), saved);
}

void TestRtfKept::keptBytesFollowTheFontsAndColours() {
    // The body uses only Arial (\f1), so the writer numbers it 0; the header's Times and red
    // must still be Times and red.
    auto doc = loadRtf(kHead + "{\\header \\pard\\f0\\cf1 Top\\par}\\pard\\f1 X\\par}");
    const QByteArray saved = RtfWriter::write(doc.get());
    auto again = loadRtf(saved);
    const QTextFrameFormat root = again->rootFrame()->frameFormat();
    auto header = Kept::partDocument(root, Kept::headerFor(root, false, 1));
    QCOMPARE(header->toPlainText(), QStringLiteral("Top"));
    QCOMPARE(charAt(*header, 0).face, QStringLiteral("Times New Roman"));
    QCOMPARE(charAt(*header, 0).color, rgbColor(255, 0, 0));
    QCOMPARE(charOf(*again, "X").face, QStringLiteral("Arial"));
}

void TestRtfKept::fixturesKeepTheirParts_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("word style") << "word-kept.rtf";
    QTest::newRow("libreoffice") << "libreoffice-kept.rtf";
}

void TestRtfKept::fixturesKeepTheirParts() {
    QFETCH(QString, file);
    auto doc = loadRtf(sample(file));
    // Tables and destinations before the text put nothing before its first character.
    QVERIFY(doc->toPlainText().startsWith(u"Heading"));
    const QString shown = shownText(*doc);
    QVERIFY(!shown.contains(u"secret"));
    QVERIFY(shown.contains(QRegularExpression(QStringLiteral("see (the mark|Marked)\\."))));
    const QByteArray saved = RtfWriter::write(doc.get());
    for (const char *part : {"\\headerf", "\\footerf", "\\footnote", "\\ftnalt", "\\annotation",
                             "\\bkmkstart", "\\fldinst", " DATE ", " PAGE ", " REF ",
                             "secret hidden", "\\stylesheet", "\\paperw15840", "\\landscape"})
        QVERIFY2(saved.contains(part), part);
    auto again = loadRtf(saved);
    QCOMPARE(shownText(*again), shown);
    QCOMPARE(RtfWriter::write(again.get()), saved);
}

void TestRtfKept::typedTextNextToKeptPartsIsSaved() {
    auto doc = loadRtf(kHead + "\\pard A{\\v h}{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}"
                               "{\\super\\chftn}{\\footnote N}\\par}");
    QTextCursor cursor(doc.get());
    // Typed after each kept thing, the text takes its format.
    for (int pos : {5, 4, 3, 2}) {
        cursor.setPosition(pos);
        cursor.insertText(QStringLiteral("t") + QString::number(pos));
    }
    const QByteArray saved = RtfWriter::write(doc.get());
    auto again = loadRtf(saved);
    QCOMPARE(shownText(*again), QStringLiteral("At21t31t4t5"));
    QVERIFY(saved.contains("{\\fldrslt 1t3}"));
}

void TestRtfKept::pandocNote() {
    auto doc = loadRtf(sample("pandoc-kept.rtf"));
    QCOMPARE(shownText(*doc),
             QStringLiteral("Pandoc text with a note1 and more.\nSecond paragraph."));
    const QByteArray saved = RtfWriter::write(doc.get());
    QVERIFY(saved.contains("{\\super\\chftn}{\\*\\footnote\\chftn\\~\\plain\\pard {\\pard \\ql "
                           "\\f0 \\sa180 \\li0 \\fi0 The note itself.\\par}\n}"));
}

void TestRtfKept::headerOfEachPage() {
    auto doc = loadRtf(sample("word-kept.rtf"));
    const QTextFrameFormat root = doc->rootFrame()->frameFormat();
    auto text = [&](bool footer, int page) {
        return Kept::partDocument(root, Kept::headerFor(root, footer, page))->toPlainText();
    };
    QCOMPARE(text(false, 1), QStringLiteral("First page header"));
    QCOMPARE(text(false, 2), QStringLiteral("Even header"));
    QCOMPARE(text(false, 3), QStringLiteral("Odd header page 1"));
    QCOMPARE(text(true, 1), QStringLiteral("First footer"));
    QCOMPARE(text(true, 4), QStringLiteral("Even footer"));
    const Kept::PageSettings page = Kept::pageSettings(root);
    QCOMPARE(page.width, 15840);
    QCOMPARE(page.height, 12240);
    QCOMPARE(page.left, 1134);
    QVERIFY(page.landscape);
}

void TestRtfKept::newDocumentDropsTheOldParts() {
    auto doc = loadRtf(sample("word-kept.rtf"));
    doc->clear();
    QTextCursor cursor(doc.get());
    RtfReader::read(kHead + "\\pard Plain\\par}", cursor);
    QVERIFY(!Kept::hasHeaders(doc->rootFrame()->frameFormat()));
    QVERIFY(!RtfWriter::write(doc.get()).contains("stylesheet"));
    // Pasted RTF brings no document parts.
    auto target = loadRtf(kHead + "\\pard Plain\\par}");
    QTextCursor paste(target.get());
    RtfReader::read(sample("word-kept.rtf"), paste, RtfReader::Mode::Fragment);
    QVERIFY(!Kept::hasHeaders(target->rootFrame()->frameFormat()));
}

QTEST_MAIN(TestRtfKept)
#include "tst_rtfkept.moc"
