// RTF written by other programs: samples made with LibreOffice and pandoc (their sources sit
// beside them in rtf/), and the constructs those programs and older editors use.
#include "rtf/codepage.h"
#include "rtf/rtfwriter.h"
#include "rtftesthelpers.h"

#include <QFontDatabase>
#include <QtTest>

using namespace tessary;
using namespace tessary::test;

class TestRtfReader : public QObject {
    Q_OBJECT

private slots:
    void detectsRtf() {
        QVERIFY(RtfReader::looksLikeRtf("\xEF\xBB\xBF \r\n{\\rtf1\\ansi x}"));
        QVERIFY(!RtfReader::looksLikeRtf("plain text {\\rtf1") && !RtfReader::looksLikeRtf(""));

        QTextDocument doc;
        doc.setPlainText("kept");
        QTextCursor cursor(&doc);
        QVERIFY(!RtfReader::read("not rtf", cursor));
        QCOMPARE(doc.toPlainText(), "kept");
    }

    void libreOfficeSample() {
        const auto doc = loadRtf(sample("libreoffice-mixed.rtf"));
        QCOMPARE(describe(charOf(*doc, "Plain serif")), "Liberation Serif/12/auto/---/0/0");
        QCOMPARE(describe(charOf(*doc, "bold")), "Liberation Serif/12/auto/b--/0/0");
        QCOMPARE(describe(charOf(*doc, "italic")), "Liberation Serif/12/auto/-i-/0/0");
        QCOMPARE(describe(charOf(*doc, "Centred red")), "Liberation Sans/14/ff/---/0/0");
        QCOMPARE(describe(charOf(*doc, "Right aligned")), "Liberation Mono/10/auto/---/0/0");
        QCOMPARE(paraOf(doc->find("Centred red").block()).alignment, Alignment::Center);
        // 1in left, 0.5in right, first line 0.25in out
        QCOMPARE(paraOf(doc->find("Right aligned").block()),
                 (ParaAttributes{Alignment::Right, 54, 18, 36}));
        const QTextBlock justified = doc->find("Justified").block();
        QCOMPARE(justified.text(),
                 "Justified paragraph Greek: \u03B1\u03B2\u03B3 \u03B4 and \u20AC euro.");
        QCOMPARE(paraOf(justified).alignment, Alignment::Left);
        // Lists, tables and fields.
        const QStringList blocks = blockTexts(*doc);
        const QTextBlock first = doc->find("First bullet").block();
        QCOMPARE(first.text(), "First bullet");
        // The list holds the room the marker hangs in, so the indents shrink by it.
        QCOMPARE(paraOf(first), (ParaAttributes{Alignment::Left, 9, -4, 0, true, 1}));
        QVERIFY(first.textList() == first.next().textList());
        // A numbered item is numbered by its list, not by the marker text for old readers.
        const QTextBlock numbered = first.next().next();
        QCOMPARE(numbered.text(), "Numbered one");
        QVERIFY(numbered.textList() && !paraOf(numbered).bullet);
        QCOMPARE(numbered.textList()->itemText(numbered), "1.");
        // Cells come in reading order; the field gives its result.
        QCOMPARE(
            blocks.mid(blocks.indexOf("Cell A"), 5),
            QStringList({"Cell A", "Cell B", "Cell C", "Cell D", "Link: example line\u2028break"}));
        QVERIFY(charOf(*doc, "example").underline);
        QCOMPARE(blocks.size(), 12); // no empty paragraphs from cells or the final mark
    }

    void pandocSample() {
        const auto doc = loadRtf(sample("pandoc-mixed.rtf"));
        const QStringList blocks = blockTexts(*doc);
        QCOMPARE(describe(charOf(*doc, "A heading")), "Helvetica/18/auto/b--/0/32");
        // Formatting ends with its group.
        QCOMPARE(describe(charOf(*doc, "Plain paragraph")), "Helvetica/12/auto/---/0/32");
        QCOMPARE(describe(charOf(*doc, "code")), "Courier/12/auto/---/0/48");
        QCOMPARE(paraOf(doc->find("first item").block()),
                 (ParaAttributes{Alignment::Left, 0, 18, 0, false, 1}));
        QCOMPARE(paraOf(doc->find("quoted").block()).firstIndent, 36);
        // Cells that end in \par give one paragraph each, without empty ones between.
        QCOMPARE(blocks.mid(blocks.indexOf("\u2022\tfirst item"), 7),
                 QStringList({"\u2022\tfirst item", "\u2022\tsecond item", "1.\tnumbered",
                              "A quoted block", "A", "B", "c1"}));
        QCOMPARE(blocks.mid(blocks.size() - 2), QStringList({"", "Line one\u2028line two"}));
    }

    void charactersThroughFontCodePages_data() {
        // clang-format off
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        const QByteArray fonts = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset161 "
                                 "Greek;}{\\f2\\fcharset204 Cyr;}{\\f3\\fcharset2 TessarySymbol "
                                 "Even;}{\\f4 Courier New Greek Even;}}";
        QTest::newRow("ansi") << fonts + "caf\\'e9 \\'80}" << QStringLiteral("caf\u00E9 \u20AC");
        QTest::newRow("greek") << fonts + "\\f1 \\'e1\\'e2}" << QStringLiteral("\u03B1\u03B2");
        QTest::newRow("symbol") << fonts + "\\f3 \\'c9\\'e5}" << QStringLiteral("\u2245\u2211");
        QTest::newRow("face implies charset") << fonts + "\\f4 \\'e1}" << QStringLiteral("\u03B1");
        QTest::newRow("raw 8-bit") << fonts + "\\f1 \xe1}" << QStringLiteral("\u03B1");
        // A DOS page is not Windows-1252: 0x82 is e acute there, a low quotation mark here.
        QTest::newRow("regression: ansicpg437 is not read as 1252") << QByteArray("{\\rtf1\\ansi\\ansicpg437 \\'82\\'e1}") << QStringLiteral("\u00E9\u00DF");
        // Old documents write Greek and mathematics as bytes of a face named Symbol.
        const QByteArray symbolFace = "{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}{\\f2 Symbol;}}";
        QTest::newRow("Symbol face") << symbolFace + "{\\f1 a\\'a3b}}" << QStringLiteral("\u03B1\u2264\u03B2");
        QTest::newRow("Symbol face: private-use \\u as its byte")
            << symbolFace + "\\f1\\u-3999?\\u-3933?\\u61538?\\f0\\u-3999?}" << QStringLiteral("\u03B1\u2264\u03B2\uF061");
        QTest::newRow("Mac documents") << QByteArray("{\\rtf1\\mac \\'80\\'8a}") << QStringLiteral("\u00C4\u00E4");
        QTest::newRow("Mac Greek and Cyrillic") << QByteArray("{\\rtf1\\ansi\\ansicpg10006 \\'e1{\\ansicpg10007 \\'80}}") << QStringLiteral("\u03B1\u0410");
        QTest::newRow("DOS documents") << QByteArray("{\\rtf1\\pc \\'82{\\pca\\'d5}}") << QStringLiteral("\u00E9\u0131");
        QTest::newRow("Symbol face: ASCII bytes it remaps") << symbolFace + "{\\f1 -\"$*@}}" << QStringLiteral("\u2212\u2200\u2203\u2217\u2245");
        QTest::newRow("Symbol face: every kind of byte")
            << symbolFace + "\\f2 \\'e5\\\\\\'b6\\'ef\\'d2\\u945\\'61}"
            << QStringLiteral("\u2211\u2234\u2202\u23AA\u00AE\u03B1");
        const QByteArray cjk = "{\\rtf1{\\fonttbl{\\f1\\fcharset128 J;}{\\f2\\fcharset129 K;}"
                               "{\\f3\\fcharset134 G;}{\\f4\\fcharset136 B;}}";
        QTest::newRow("Shift-JIS") << cjk + "\\f1 \\'82\\'a0\\'b1}" << QStringLiteral("\u3042\uFF71");
        QTest::newRow("Shift-JIS: literal and escaped second bytes") << cjk + "\\f1 \\'82a\\'83\\\\}" << QStringLiteral("\uFF22\u30BD");
        QTest::newRow("Korean, GB2312, Big5") << cjk + "\\f2 \\'b0\\'a1\\f3 \\'c4\\'e3\\f4 \\'a4\\'40}" << QStringLiteral("\uAC00\u4F60\u4E00");
        QTest::newRow("ansicpg936") << QByteArray("{\\rtf1\\ansi\\ansicpg936 \\'c4\\'e3}") << QStringLiteral("\u4F60");
        QTest::newRow("two-byte code after its \\u") << cjk + "\\f1\\uc2\\u12354\\'82\\'a0x}" << QStringLiteral("\u3042x");
        QTest::newRow("robustness: a lead byte cut off") << cjk + "\\f1 \\'82\\b a\\'82}" << QStringLiteral("a");
        QTest::newRow("robustness: unknown code page reads as 1252") << QByteArray("{\\rtf1\\ansi\\ansicpg4242 \\'82}") << QStringLiteral("\u201A");
        QTest::newRow("u skips fallback") << fonts + "a\\u945?b\\uc2\\u946\\'3f\\'3fc}" << QStringLiteral("a\u03B1b\u03B2c");
        QTest::newRow("surrogate pair") << fonts + "\\u-10188?\\u-8929?}" << QStringLiteral("\U0001D11F");
        QTest::newRow("whole code point") << fonts + "\\u119071?}" << QStringLiteral("\U0001D11F");
        QTest::newRow("lone surrogate") << fonts + "\\u-10188?x}" << QStringLiteral("\uFFFDx");
        QTest::newRow("brace ends fallback") << fonts + "{\\uc3\\u945}xy}" << QStringLiteral("\u03B1xy");
        QTest::newRow("escapes") << fonts + "\\\\ \\{ \\} a\\~b\\_c\\-d}" << QStringLiteral("\\ { } a\u00A0b\u2011cd");
        QTest::newRow("symbol words") << fonts + "\\emdash\\endash\\lquote\\rdblquote\\bullet}" << QStringLiteral("\u2014\u2013\u2018\u201D\u2022");
        QTest::newRow("final par: ends the paragraph") << QByteArray("{\\rtf1 a\\par}") << "a";
        QTest::newRow("final par: after an empty one") << QByteArray("{\\rtf1 a\\par\\par}") << "a\u2029";
        QTest::newRow("final par: text after it") << QByteArray("{\\rtf1 a\\par b}") << "a\u2029b";
        QTest::newRow("line ends ignored") << fonts + "ab\r\ncd\ne}" << QStringLiteral("abcde");
        QTest::newRow("control chars dropped") << fonts + "a\\'01\\u65533?\\u64976?b\x02}" << QStringLiteral("a\uFFFDb");
        // clang-format on
    }

    void charactersThroughFontCodePages() {
        QFETCH(QByteArray, rtf);
        QTEST(loadRtf(rtf)->toRawText(), "text");
    }

    // Symbol-face text goes back as the bytes it was read from (with \\u for readers that take
    // it), two-byte text as \\u, half points as they were: the second writing is the first.
    void oldDocumentsWriteBackAsRead() {
        const auto doc = loadRtf("{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}{\\f2\\fcharset128 "
                                 "J;}}{\\f1\\fs25 a\\'a3\\\\b}{\\f2 \\'82\\'a0}}");
        QCOMPARE(doc->toPlainText(), "\u03B1\u2264\u2234\u03B2\u3042");
        QCOMPARE(describe(charAt(*doc, 0)), "Symbol/12/auto/---/2/0"); // 12.5 shows as 12
        const QByteArray written = RtfWriter::write(doc.get());
        QVERIFY(written.contains("\\fs25\\cf0\\b0\\i0\\ulnone\\u945\\'61\\u8804\\'a3\\u8756\\'5c"));
        QCOMPARE(RtfWriter::write(loadRtf(written).get()), written);
    }

    void fontTableGivesCharsetAndPitch() {
        const auto doc =
            loadRtf("{\\rtf1{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}"
                    "{\\f1\\fnil\\fcharset161\\fprq1{\\*\\tessarypitch149}Courier New Greek "
                    "Even;}{\\f2 Courier New Greek Low;}\\f3\\fswiss Unbraced;}"
                    "\\f0 a\\f1 b\\f2 c\\f3 d\\f9 e}");
        // What the writer writes comes back in its round trip; these are other writers' forms.
        QCOMPARE(describe(charAt(*doc, 2)), "Courier New Greek Low/12/auto/---/161/0");
        QCOMPARE(describe(charAt(*doc, 3)), "Unbraced/12/auto/---/0/32");
        // An unknown font number falls back to the default font.
        QCOMPARE(charAt(*doc, 4).face, "Courier New");
    }

    void groupsRestoreFormatting() {
        const auto doc =
            loadRtf("{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}}{\\colortbl;\\red255\\green0\\blue0;;}"
                    "\\fs20 a{\\b\\i\\ul\\f1\\fs40\\cf1 b{\\b0\\ulnone\\cf2 c}d}e\\b f\\plain g"
                    "\\uld h\\ul0\\cf99 i}");
        QStringList chars;
        for (int pos = 0; pos < 9; ++pos)
            chars << describe(charAt(*doc, pos));
        QCOMPARE(chars,
                 QStringList({"A/10/auto/---/0/0", "B/20/ff/biu/0/0", "B/20/auto/-i-/0/0",
                              "B/20/ff/biu/0/0", "A/10/auto/---/0/0", "A/10/auto/b--/0/0",
                              "A/12/auto/---/0/0", "A/12/auto/--u/0/0", "A/12/auto/---/0/0"}));
    }

    void paragraphProperties() {
        const auto doc =
            loadRtf("{\\rtf1\\pard\\qr\\fi-360\\li720\\ri240\\tqr\\tx1440\\tqc\\tx2880\\tx4000 "
                    "a\\par b\\par\\pard\\qc c\\par\\pard\\qj\\li-99999999 d\\par}");
        QCOMPARE(blockTexts(*doc), QStringList({"a", "b", "c", "d"}));
        const ParaAttributes a{Alignment::Right, 18, 18, 12, false, 3};
        QCOMPARE(paraOf(doc->findBlockByNumber(0)), a);
        QCOMPARE(paraOf(doc->findBlockByNumber(1)), a); // properties last until \pard
        QCOMPARE(paraOf(doc->findBlockByNumber(2)), ParaAttributes{Alignment::Center});
        // Justified reads as left; the indent is clamped to 22 inches.
        QCOMPARE(paraOf(doc->findBlockByNumber(3)), (ParaAttributes{Alignment::Left, -22 * 72}));
    }

    void oldStyleBullets() {
        const auto doc =
            loadRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}"
                    "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{"
                    "\\pntxtb\\'B7}}\\fi-360\\li360 one\\par{\\pntext\\f1\\'B7\\tab}one "
                    "more\\par\\pard two\\par\\pard{\\pntext 2.\\tab}{\\*\\pn\\pnlvlbody"
                    "\\pndec}three\\par}");
        QCOMPARE(blockTexts(*doc), QStringList({"one", "one more", "two", "three"}));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(paraOf(doc->findBlockByNumber(i)).bullet, i < 2);
        const QTextBlock three = doc->findBlockByNumber(3);
        QCOMPARE(three.textList()->format().style(), QTextListFormat::ListDecimal);
        QVERIFY(doc->findBlockByNumber(0).textList() == doc->findBlockByNumber(1).textList());
    }

    void destinationsAreSkipped() {
        const auto doc = loadRtf(
            "{\\rtf1{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}{\\*\\unknown junk}"
            "{\\header head}a{\\*\\bkmkstart x}b{\\pict\\pngblip 89504e47}"
            "{\\pict\\bin6 }}{{{x}c{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}"
            "{\\footnote note}{\\*\\listtable{\\list{\\leveltext bad;}}}d{\\object{\\result r}}}");
        // Kept parts stand in the text as object characters, which show nothing.
        QCOMPARE(doc->toPlainText().remove(QChar::ObjectReplacementCharacter), "abc7d");
    }

    // Beyond a few faces that are not installed the text is shown in installed ones, so that such
    // a document opens quickly; the names stay in the document and go back into the file.
    void manyFacesNotInstalledKeepTheirNames() {
        QByteArray table, text;
        for (const QByteArray n : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}) {
            for (const QByteArray m : {"0", "1", "2", "3"}) {
                table += "{\\f" + n + m + "\\froman Missing " + n + m + ";}";
                text += "\\f" + n + m + " x";
            }
        }
        const auto doc = loadRtf("{\\rtf1{\\fonttbl" + table + "}" + text + "}");
        for (int i = 0; i < 40; ++i)
            QCOMPARE(charAt(*doc, i).face, QStringLiteral("Missing %1%2").arg(i / 4).arg(i % 4));
        QTextCursor last(doc.get());
        last.setPosition(40);
        QVERIFY(QFontDatabase::hasFamily(last.charFormat().fontFamilies().toStringList().first()));
        QVERIFY(RtfWriter::write(doc.get()).contains("Missing 93;"));
    }

    void codePagesAreExact_data() {
        QTest::addColumn<int>("charset");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QChar>("character");
        QTest::newRow("ANSI") << 0 << 1252 << 0x80 << QChar(0x20AC);
        QTest::newRow("Greek") << 161 << 1253 << 0xE1 << QChar(0x03B1);
        QTest::newRow("Turkish") << 162 << 1254 << 0xF0 << QChar(0x011F);
        QTest::newRow("Baltic") << 186 << 1257 << 0xE0 << QChar(0x0105);
        QTest::newRow("Cyrillic") << 204 << 1251 << 0xC0 << QChar(0x0410);
        QTest::newRow("Central European") << 238 << 1250 << 0x8A << QChar(0x0160);
        QTest::newRow("Mac Roman") << 77 << 10000 << 0x80 << QChar(0x00C4);
        QTest::newRow("Mac Japanese") << 78 << 10001 << 0xB1 << QChar(0xFF71);
        QTest::newRow("unknown reads as ANSI") << 99 << 1252 << 0x81 << QChar(0); // unassigned
    }

    void codePagesAreExact() {
        QFETCH(int, charset);
        QFETCH(int, byte);
        QFETCH(QChar, character);
        const CodePage &page = CodePage::forCharset(charset);
        QTEST(page.number(), "page");
        QCOMPARE(page.toUnicode(uchar(byte)), character);
        // A character the page lacks has no code.
        QCOMPARE(page.fromUnicode(character.isNull() ? QChar(0x2245) : character),
                 character.isNull() ? -1 : byte);
    }

    void symbolPageRoundTripsEveryAssignedCode() {
        const CodePage &symbol = CodePage::forCharset(Charset::Symbol);
        int assigned = 0;
        for (int code = 1; code < 256; ++code) {
            const QChar c = symbol.toUnicode(static_cast<unsigned char>(code));
            if (c.isNull())
                continue;
            ++assigned;
            QCOMPARE(symbol.fromUnicode(c), code);
        }
        QVERIFY(assigned > 200);
        const CodePage &notation = CodePage::notationSymbol();
        for (int code = 0xE8; code <= 0xF1; ++code) // bracket and brace pieces
            QVERIFY(notation.toUnicode(code).unicode() >= 0x23A1 &&
                    notation.toUnicode(code).unicode() <= 0x23AD);
        // The shown and inserted codes of the large operators differ.
        QVERIFY(notation.toUnicode(0xDD) != notation.toUnicode(0xDE));
        QCOMPARE(notation.toUnicode(0x80), QChar(0x20AC)); // everything else as Windows-1252
        QCOMPARE(charsetForFace("TessarySymbol Low"), 2);
        QCOMPARE(charsetForFace("courier new greek even"), 0); // names compare exactly
    }

    // Malformed RTF: the reader never crashes or hangs and loads what it can.
    void malformed_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");

        // clang-format off
        QTest::newRow("truncated in \\u fallback") << QByteArray("{\\rtf1 ab\\uc4\\u945 x") << "ab\u03B1";
        QTest::newRow("extra closing braces") << QByteArray("{\\rtf1 a}b}c}") << "a";
        QTest::newRow("missing closing braces") << QByteArray("{\\rtf1 {\\b a{\\i b") << "ab";
        QTest::newRow("control bytes in a number kept as text")
            << QByteArray("{\\rtf1{\\pntext 1\\'00.\\tab}Item\\par}") << "1.\tItem";
        QTest::newRow("junk after the document") << QByteArray("{\\rtf1 a}\0\0\xff junk", 17) << "a";

        const QByteArray deep = QByteArray(10000, '{') + "x" + QByteArray(10000, '}');
        QTest::newRow("10000 deep keeps its text") << "{\\rtf1 " + deep + "y}" << "xy";
        QTest::newRow("10000 deep, never closed") << "{\\rtf1 a" + QByteArray(10000, '{') + "x" << "ax";
        QTest::newRow("deep formatting ends with its group")
            << "{\\rtf1 " + QByteArray(3000, '{') + "\\b{\\i x}y" + QByteArray(3000, '}') + "z}" << "xyz";
        QTest::newRow("900 deep still read") << "{\\rtf1 " + QByteArray(900, '{') + "x" + QByteArray(900, '}') + "y}" << "xy";

        QTest::newRow("huge numbers") << QByteArray("{\\rtf1{\\fonttbl{\\f99999999999 X;}}"
            "\\fs99999999999999999999\\li-99999999999999\\fi-2147483649\\f2147483648\\cf99999999999 a}") << "a";
        QTest::newRow("huge \\uc") << QByteArray("{\\rtf1\\uc999999999\\u945 abc}") << "\u03B1";
        QTest::newRow("huge \\u") << QByteArray("{\\rtf1\\u99999999999?a\\u-99999?b}") << "ab";
        QTest::newRow("long number") << "{\\rtf1\\fs" + QByteArray(100000, '9') + " a}" << "a";
        QTest::newRow("long word") << "{\\rtf1\\" + QByteArray(100000, 'a') + " x}" << "x";

        QTest::newRow("\\bin past the end") << QByteArray("{\\rtf1 a\\bin999999999 bcd") << "a";
        QTest::newRow("\\bin negative") << QByteArray("{\\rtf1 a\\bin-5 b}") << "ab";
        QTest::newRow("\\bin with braces") << QByteArray("{\\rtf1 a{\\pict\\bin3 }{\\}b}") << "a\uFFFCb";
        QTest::newRow("NUL and control bytes") << QByteArray("{\\rtf1 a\0\x01\x1f\x7f b}", 15) << "a b";
        QTest::newRow("bad hex") << QByteArray("{\\rtf1 a\\'zzb\\'4}") << "azzb4";
        QTest::newRow("structure characters") << QByteArray("{\\rtf1 a\\u-560?\\u-559?\\u-4?\\u-3?b}") << "a\uFFFDb";
        QTest::newRow("font table never ends") << QByteArray("{\\rtf1{\\fonttbl\\f0 A;\\f1 B;\\f2 C") << "";

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
            QVERIFY(full.startsWith(text.left(text.lastIndexOf(u'\n') + 1)));
        }
    }

    void limitsPerParagraph() {
        QByteArray rtf = "{\\rtf1\\pard";
        for (int i = 0; i < 100000; ++i)
            rtf += "\\tx" + QByteArray::number(i);
        rtf += " a\\par}";
        const auto doc = loadRtf(rtf);
        QCOMPARE(doc->toPlainText(), "a");
        QVERIFY(doc->firstBlock().blockFormat().tabPositions().size() <= 64);
    }
};

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
