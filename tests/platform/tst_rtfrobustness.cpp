// Malformed RTF: the reader never crashes or hangs and loads what it can.
#include "rtftesthelpers.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace tessary;
using namespace tessary::test;

class TestRtfRobustness : public QObject {
    Q_OBJECT

private slots:
    void malformed_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");

        // clang-format off
        QTest::newRow("truncated in a word") << QByteArray("{\\rtf1 abc\\pa") << "abc";
        QTest::newRow("truncated in the font table")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ari") << "";
        QTest::newRow("truncated after a backslash") << QByteArray("{\\rtf1 ab\\") << "ab";
        QTest::newRow("truncated in \\u fallback")
            << QByteArray("{\\rtf1 ab\\uc4\\u945 x") << "ab\u03B1";
        QTest::newRow("only the start") << QByteArray("{\\rtf") << "";
        QTest::newRow("extra closing braces") << QByteArray("{\\rtf1 a}b}c}") << "a";
        QTest::newRow("missing closing braces") << QByteArray("{\\rtf1 {\\b a{\\i b") << "ab";
        QTest::newRow("junk after the document")
            << QByteArray("{\\rtf1 a}\0\0\xff junk", 17) << "a";

        const QByteArray deep = QByteArray(10000, '{') + "x" + QByteArray(10000, '}');
        QTest::newRow("10000 deep") << "{\\rtf1 " + deep + "y}" << "y";
        QTest::newRow("10000 deep, never closed") << "{\\rtf1 a" + QByteArray(10000, '{') + "x"
                                                  << "a";
        QTest::newRow("900 deep still read")
            << "{\\rtf1 " + QByteArray(900, '{') + "x" + QByteArray(900, '}') + "y}"
            << "xy";

        QTest::newRow("huge size") << QByteArray("{\\rtf1\\fs99999999999999999999 a}") << "a";
        QTest::newRow("huge negative")
            << QByteArray("{\\rtf1\\li-99999999999999\\fi-2147483649 a}") << "a";
        QTest::newRow("huge font and colour numbers")
            << QByteArray("{\\rtf1{\\fonttbl{\\f99999999999 X;}}\\f2147483648\\cf99999999999 a}")
            << "a";
        QTest::newRow("huge \\uc") << QByteArray("{\\rtf1\\uc999999999\\u945 abc}") << "\u03B1";
        QTest::newRow("huge \\u") << QByteArray("{\\rtf1\\u99999999999?a\\u-99999?b}") << "ab";
        QTest::newRow("long number") << "{\\rtf1\\fs" + QByteArray(100000, '9') + " a}" << "a";
        QTest::newRow("long word") << "{\\rtf1\\" + QByteArray(100000, 'a') + " x}" << "x";

        QTest::newRow("\\bin past the end") << QByteArray("{\\rtf1 a\\bin999999999 bcd") << "a";
        QTest::newRow("\\bin negative") << QByteArray("{\\rtf1 a\\bin-5 b}") << "ab";
        QTest::newRow("\\bin with braces") << QByteArray("{\\rtf1 a{\\pict\\bin3 }{\\}b}") << "ab";
        QTest::newRow("NUL and control bytes")
            << QByteArray("{\\rtf1 a\0\x01\x1f\x7f b}", 15) << "a b";
        QTest::newRow("bad hex") << QByteArray("{\\rtf1 a\\'zzb\\'4}") << "azzb4";
        QTest::newRow("structure characters")
            << QByteArray("{\\rtf1 a\\u-560?\\u-559?\\u-4?\\u-3?b}") << "a\uFFFDb";
        QTest::newRow("font table never ends")
            << QByteArray("{\\rtf1{\\fonttbl\\f0 A;\\f1 B;\\f2 C") << "";

        QByteArray junk("{\\rtf1 ");
        QRandomGenerator random(4);
        for (int i = 0; i < 20000; ++i)
            junk.append(char(random.bounded(256)));
        QTest::newRow("binary junk") << junk << QString();
        // clang-format on
    }

    void malformed() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QTextDocument doc;
        QTextCursor cursor(&doc);
        QVERIFY(RtfReader::read(rtf, cursor));
        if (!text.isNull())
            QCOMPARE(doc.toPlainText(), text);
        // Whatever was read is a sound document that can be edited and undone.
        cursor.insertText("z");
        QVERIFY(doc.toPlainText().contains(u'z'));
        doc.undo();
        doc.undo();
        QVERIFY(doc.isEmpty());
    }

    void everyTruncation() {
        const QByteArray whole = sample("libreoffice-mixed.rtf");
        QVERIFY(!whole.isEmpty());
        const QString full = loadRtf(whole)->toPlainText();
        for (qsizetype length = 5; length < whole.size(); length += 13) {
            const auto doc = loadRtf(whole.left(length));
            // A cut file gives the start of the text, less at most the paragraph being cut.
            const QString text = doc->toPlainText();
            QVERIFY2(full.startsWith(text.left(text.lastIndexOf(u'\n') + 1)),
                     qPrintable(QString::number(length)));
        }
    }

    void limitsPerParagraph() {
        QByteArray rtf = "{\\rtf1\\pard";
        for (int i = 0; i < 100000; ++i)
            rtf += "\\tx" + QByteArray::number(i);
        rtf += " a\\par}";
        const auto doc = loadRtf(rtf);
        QCOMPARE(doc->toPlainText(), QStringLiteral("a"));
        QVERIFY(doc->firstBlock().blockFormat().tabPositions().size() <= 64);
    }
};

QTEST_MAIN(TestRtfRobustness)
#include "tst_rtfrobustness.moc"
