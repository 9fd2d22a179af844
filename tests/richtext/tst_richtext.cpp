// The rich-text control, and writing RTF: every attribute survives save then open, and the
// clipboard carries it. Paste takes RTF, else HTML, else plain text.
#include "richtext/richedit.h"
#include "richtext/richmime.h"
#include "rtf/rtftesthelpers.h"
#include "rtf/rtfwriter.h"

#include <QClipboard>
#include <QtTest>

using namespace tessary;
using namespace tessary::test;

namespace {

CharAttributes attrs(const QString &face, int size, int charset = 0, int pitch = 0) {
    return {face, size, kAutomaticColor, false, false, false, charset, pitch};
}

void insert(QTextCursor &cursor, const QString &text, const CharAttributes &a) {
    cursor.insertText(text, a.toFormat());
}

void newParagraph(QTextCursor &cursor, Alignment align, int first, int left, int right) {
    QTextBlockFormat f;
    f.setAlignment(align == Alignment::Center  ? Qt::AlignHCenter
                   : align == Alignment::Right ? Qt::AlignRight
                                               : Qt::AlignLeft);
    f.setLeftMargin(pointsToDocUnits(first + left));
    f.setTextIndent(pointsToDocUnits(-left));
    f.setRightMargin(pointsToDocUnits(right));
    cursor.insertBlock(f);
}

// A document using every attribute the program reads or writes.
std::unique_ptr<QTextDocument> everyAttribute() {
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor c(doc.get());
    CharAttributes body = attrs("Liberation Serif", 12, 0, 0x12);
    insert(c, "Plain\ttext", body);
    const CharAttributes styled{
        "Liberation Sans", 20, rgbColor(200, 10, 30), true, true, true, 0, 0x22};
    insert(c, " styled {\\}", styled);
    insert(c, "\u2028after a soft break", body);

    newParagraph(c, Alignment::Center, 36, -18, 12);
    insert(c, "\u03B1\u03B2\u03B3 \u0436", attrs("Courier New Greek Even", 14, 161, 4 * 37 + 1));
    insert(c, "\u2245\u2211\u23A1 x", attrs("TessarySymbol Even", 14, 2, 4 * 5 + 2));
    insert(c, "even", attrs("Courier New Even", 10, 0, 4 * 63 + 1));
    insert(c, "\u20AC\u00E9\u00A0\U0001D11E", body);

    newParagraph(c, Alignment::Right, 0, 0, 0);
    QTextBlockFormat tabs = c.blockFormat();
    tabs.setTabPositions({QTextOption::Tab(pointsToDocUnits(72), QTextOption::LeftTab),
                          QTextOption::Tab(pointsToDocUnits(144), QTextOption::RightTab),
                          QTextOption::Tab(pointsToDocUnits(200), QTextOption::CenterTab)});
    c.setBlockFormat(tabs);
    insert(c, "a\tb\tc", body);

    QTextListFormat disc;
    disc.setStyle(QTextListFormat::ListDisc);
    newParagraph(c, Alignment::Left, 18, 18, 0);
    QTextList *list = c.createList(disc);
    insert(c, "first bullet", body);
    newParagraph(c, Alignment::Left, 18, 18, 0);
    list->add(c.block());
    insert(c, "second bullet", body);

    newParagraph(c, Alignment::Left, 0, 0, 0);
    c.setBlockCharFormat(attrs("Courier New Even", 30).toFormat());
    newParagraph(c, Alignment::Left, 0, 0, 0);
    insert(c, "last", body);
    return doc;
}

void compareDocuments(const QTextDocument &actual, const QTextDocument &expected) {
    QCOMPARE(blockTexts(actual), blockTexts(expected));
    for (QTextBlock a = actual.begin(), e = expected.begin(); e.isValid();
         a = a.next(), e = e.next()) {
        QCOMPARE(paraOf(a), paraOf(e));
        const QList<QTextOption::Tab> tabs = a.blockFormat().tabPositions();
        for (qsizetype i = 0; i < tabs.size(); ++i) {
            QCOMPARE(tabs[i].type, e.blockFormat().tabPositions()[i].type);
            QCOMPARE(qRound(tabs[i].position), qRound(e.blockFormat().tabPositions()[i].position));
        }
        if (e.length() == 1) // an empty paragraph's own font
            QCOMPARE(describe(CharAttributes::fromFormat(a.charFormat())),
                     describe(CharAttributes::fromFormat(e.charFormat())));
    }
    for (int pos = 0; pos < expected.characterCount() - 1; ++pos)
        QCOMPARE(describe(charAt(actual, pos)), describe(charAt(expected, pos)));
}

std::unique_ptr<QMimeData> copyAll(QTextDocument &doc) {
    QTextCursor cursor(&doc);
    cursor.select(QTextCursor::Document);
    return std::unique_ptr<QMimeData>(mimeFromSelection(cursor));
}

std::unique_ptr<QTextDocument> pasted(const QMimeData &mime, bool *inserted = nullptr) {
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor cursor(doc.get());
    const bool ok = insertMime(&mime, cursor);
    if (inserted)
        *inserted = ok;
    return doc;
}

// "=x|^2|_n": text in the Even, High and Low notation faces, each character in the family
// that holds it (Latin, Greek, else symbols).
std::unique_ptr<QTextDocument> notation(const QString &markup) {
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor c(doc.get());
    for (const QString &segment : markup.split(u'|')) {
        const QString level = segment[0] == u'^' ? "High" : segment[0] == u'_' ? "Low" : "Even";
        for (QChar ch : segment.mid(1)) {
            const QString family = ch.script() == QChar::Script_Greek ? "Courier New Greek "
                                   : ch.unicode() < 0x80              ? "Courier New "
                                                                      : "TessarySymbol ";
            insert(c, ch, attrs(family + level, 11));
        }
    }
    return doc;
}

} // namespace

class RichTextTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        edit = new RichEdit;
        edit->resize(300, 400);
        edit->show();
    }

    void cleanup() { delete edit; }

    void selectionAttributesTellWhatIsConsistent() {
        edit->setPlainText(QStringLiteral("abcd"));
        const CharAttributes bold{.face = QStringLiteral("Arial"), .bold = true};
        edit->setRangeAttributes(0, 4, bold, CharAttributes::Face);
        edit->setRangeAttributes(2, 2, bold, CharAttributes::Bold);
        edit->setSelection(0, 4);
        QCOMPARE(edit->selAttributes().consistent, CharAttributes::All & ~CharAttributes::Bold);
        edit->setSelection(2, 2);
        QVERIFY(edit->selAttributes().bold);
        QCOMPARE(edit->selAttributes().consistent, unsigned(CharAttributes::All));
        // Setting the selection's attributes does not touch characters outside it.
        edit->setSelection(1, 1);
        edit->setSelAttributes({.color = rgbColor(255, 0, 0)}, CharAttributes::Color);
        QCOMPARE(edit->charAttributesAt(1).color, 0x000000FFu);
        QCOMPARE(edit->charAttributesAt(0).color, kAutomaticColor);
        QCOMPARE(edit->charAttributesAt(2).color, kAutomaticColor);
        // The automatic colour is written back over explicit ones.
        edit->setRangeAttributes(0, 3, {.color = rgbColor(0, 0, 255)}, CharAttributes::Color);
        edit->setRangeAttributes(1, 1, {.bold = true}, CharAttributes::Bold);
        edit->setRangeAttributes(0, 3, {.color = kAutomaticColor}, CharAttributes::Color);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(edit->charAttributesAt(i).color, kAutomaticColor);
        QVERIFY(edit->charAttributesAt(1).bold); // other fields stay
    }

    void lineCountIgnoresALastEmptyLine_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::newRow("empty document") << QString() << 0;
        QTest::newRow("one line and a break") << QStringLiteral("a\n") << 1;
        QTest::newRow("an empty line between") << QStringLiteral("a\n\nb") << 3;
    }

    void lineCountIgnoresALastEmptyLine() {
        QFETCH(QString, text);
        edit->setPlainText(text);
        QTEST(edit->lineCount(), "lines");
    }

    void displayLinesAgreeWithPositionsOnWrappedText() {
        QString text;
        for (int i = 0; i < 40; ++i)
            text += QStringLiteral("alpha%1 ").arg(i);
        edit->setPlainText(text + QStringLiteral("\nshort\n") + text);
        const int lines = edit->lineCount();
        QVERIFY(lines > 6);
        int expectedStart = 0;
        QString rebuilt;
        for (int line = 0; line < lines; ++line) {
            const int start = edit->lineStart(line);
            QCOMPARE(edit->lineFromChar(start), line);
            if (line > 0)
                QVERIFY(start >= expectedStart);
            expectedStart = start + edit->lineLength(line);
            rebuilt += edit->lineText(line);
        }
        rebuilt.remove(QChar(' '));
        QString plain = edit->toPlainText();
        plain.remove(QChar(' ')).remove(QChar('\n'));
        QCOMPARE(rebuilt, plain);
        edit->setSelStart(edit->lineStart(3) + 2);
        QCOMPARE(edit->caretPos(), QPoint(2, 3));
        // A narrower control wraps into more lines: the index follows the layout.
        edit->resize(150, 400);
        QTRY_VERIFY(edit->lineCount() > lines);
    }

    void groupedEditsAreOneUndoStep() {
        edit->setPlainText(QStringLiteral("abcdef"));
        edit->document()->clearUndoRedoStacks();
        {
            const RichEdit::UpdateGroup outer(*edit);
            {
                const RichEdit::UpdateGroup inner(*edit); // a nested group joins the outer one
                for (int i = 0; i < 6; ++i)
                    edit->setRangeAttributes(i, 1, {.bold = true}, CharAttributes::Bold);
            }
            QVERIFY(edit->updating());
            edit->replaceRange(0, 1, QStringLiteral("X"), CharAttributes(), 0);
        }
        QVERIFY(!edit->updating());
        QCOMPARE(edit->toPlainText(), "Xbcdef");
        edit->undo();
        QCOMPARE(edit->toPlainText(), "abcdef");
        QVERIFY(!edit->charAttributesAt(3).bold);
        QVERIFY(!edit->document()->isUndoAvailable());
    }

    void paragraphIndentsRoundTripInPoints() {
        edit->setPlainText(QStringLiteral("para"));
        ParaAttributes p{Alignment::Center, 36, -18, 72};
        edit->setParaAttributes(p);
        QCOMPARE(edit->paraAttributes(), p);
        p.bullet = true;
        edit->setParaAttributes(p);
        QVERIFY(edit->paraAttributes().bullet);
        p.bullet = false;
        edit->setParaAttributes(p);
        QCOMPARE(edit->paraAttributes(), p); // bullets off keep the indents

        // Alignment over paragraphs keeps each one's indents.
        edit->setPlainText(QStringLiteral("one\ntwo"));
        edit->setSelection(4, 0);
        edit->setParaAttributes({.firstIndent = 36});
        edit->selectAll();
        ParaAttributes centred = edit->paraAttributes(); // the first paragraph's, indent 0
        centred.alignment = Alignment::Center;
        edit->setParaAttributes(centred, ParaAttributes::AlignmentField);
        edit->setSelection(5, 0);
        QCOMPARE(edit->paraAttributes(), (ParaAttributes{Alignment::Center, 36}));
        edit->setSelection(0, 0);
        QCOMPARE(edit->paraAttributes(), (ParaAttributes{Alignment::Center, 0}));
    }

    void roundTripsEveryAttribute() {
        const auto doc = everyAttribute();
        const QByteArray rtf = RtfWriter::write(doc.get());
        const auto back = loadRtf(rtf);
        compareDocuments(*back, *doc);
        QVERIFY(paraOf(back->findBlockByNumber(3)).bullet);
        QVERIFY(back->findBlockByNumber(3).textList() == back->findBlockByNumber(4).textList());
        QCOMPARE(charOf(*back, "\u03B1").pitchAndFamily, 4 * 37 + 1);
        // Written again, it is the same file.
        QCOMPARE(RtfWriter::write(back.get()), rtf);
        QTextDocument empty;
        QVERIFY(loadRtf(RtfWriter::write(&empty))->isEmpty());
    }

    void writesStandardSevenBitRtf() {
        const QByteArray rtf = RtfWriter::write(everyAttribute().get());
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
        // Every byte is 7-bit: other programs need no guess at the file's encoding.
        QVERIFY(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; }));
        // Bytes the family and pitch words can express need no private word; Greek goes through
        // Windows-1253, a character no code page of the face holds as \u; symbol codes also
        // carry their character for readers that take the code as a glyph.
        for (const char *word :
             {"{\\colortbl;\\red200\\green10\\blue30;}", "\\fi-360", "\\li360", "\\ri240",
              "\\tqr\\tx2880", "\\line", "\\pnlvlblt", "\\'80\\'e9\\~", " styled \\{\\\\\\}",
              "\\u-10188?\\u-8930?",
              "\\fcharset161\\fprq1{\\*\\tessarypitch149}Courier New Greek Even;}",
              "{\\f0\\froman\\fcharset0\\fprq2 Liberation Serif;}", "\\'e1\\'e2\\'e3 \\u1078?",
              "\\u8773\\'c9\\u8721\\'e5\\u9121\\'e8\\u32  \\u120 x"})
            QVERIFY2(rtf.contains(word), word);
    }

    void writesRanges() {
        const auto doc = everyAttribute();
        const int start = int(doc->toPlainText().indexOf("text"));
        const int greek = int(doc->toPlainText().indexOf("\u03B2"));
        auto paste = [](const QByteArray &rtf) {
            auto target = std::make_unique<QTextDocument>();
            QTextCursor cursor(target.get());
            RtfReader::read(rtf, cursor, RtfReader::Mode::Fragment);
            return target;
        };
        // Inside one paragraph there is no paragraph mark; across one, exactly one.
        const QByteArray inside = RtfWriter::write(doc.get(), start, start + 10);
        QCOMPARE(inside.count("\\par\n"), 0);
        QCOMPARE(paste(inside)->toPlainText(), "text style");
        QCOMPARE(describe(charOf(*paste(inside), "style")), describe(charOf(*doc, "style")));
        const QByteArray across = RtfWriter::write(doc.get(), start, greek);
        QCOMPARE(across.count("\\par\n"), 1);
        QCOMPARE(blockTexts(*paste(across)),
                 QStringList({"text styled {\\}\u2028after a soft break", "\u03B1"}));
        QCOMPARE(charOf(*paste(across), "\u03B1").pitchAndFamily, 4 * 37 + 1);
        QVERIFY(RtfWriter::write(nullptr).isEmpty());
    }

    void copyThenPasteKeepsEveryAttribute() {
        const auto source = everyAttribute();
        const auto mime = copyAll(*source);
        QCOMPARE(mime->data("application/rtf"), mime->data("text/rtf"));
        // Soft breaks become line ends; a no-break space stays one.
        QCOMPARE(mime->text(),
                 blockTexts(*source).join(u'\n').replace(QChar::LineSeparator, u'\n'));
        QTextDocument target;
        QTextCursor cursor(&target);
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        cursor.setBlockFormat(right);
        cursor.insertText("[]");
        cursor.setPosition(1);
        QVERIFY(insertMime(mime.get(), cursor));
        const QString copied = blockTexts(*source).join(QChar::ParagraphSeparator);
        const QString once = "[" + copied + "]";
        QCOMPARE(blockTexts(target), once.split(QChar::ParagraphSeparator));
        for (int pos = 0; pos < source->characterCount() - 1; ++pos) {
            if (source->characterAt(pos) != QChar::ParagraphSeparator)
                QCOMPARE(describe(charAt(target, pos + 1)), describe(charAt(*source, pos)));
        }
        // The first paragraph mark came from the clipboard; the last paragraph keeps the target's.
        QCOMPARE(paraOf(target.firstBlock()), paraOf(source->firstBlock()));
        QCOMPARE(paraOf(target.lastBlock()).alignment, Alignment::Right);

        // Pasting over a selection replaces it, as one undo step.
        cursor.setPosition(0);
        cursor.setPosition(3, QTextCursor::KeepAnchor);
        QVERIFY(insertMime(mime.get(), cursor));
        QCOMPARE(blockTexts(target), (copied + once.mid(3)).split(QChar::ParagraphSeparator));
        target.undo();
        QCOMPARE(blockTexts(target), once.split(QChar::ParagraphSeparator));
    }

    void plainTextKeepsExponentsAndIndices_data() {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("square") << "=x|^2" << "x\u00B2";
        QTest::newRow("index sum") << "=a|_n+1" << "a\u2099\u208A\u2081";
        QTest::newRow("letter exponent") << "=e|^i" << "e\u2071";
        QTest::newRow("sum bounds") << "=\u03A3|_k=1" << "\u03A3\u2096\u208C\u2081";
        QTest::newRow("Greek in the exponent") << "=e|^i\u03C6" << "e^(i\u03C6)";
        QTest::newRow("no subscript j") << "=a|_ij" << "a_(ij)";
        QTest::newRow("single character") << "=x|^\u03C6|_j" << "x^\u03C6_j";
        QTest::newRow("single character outside the basic plane") << "=x|^\U0001D465" << "x^\U0001D465";
        QTest::newRow("symbols stay") << "=\u2211|_n|=\u2264\u221E" << "\u2211\u2099\u2264\u221E";
        QTest::newRow("spaces stay outside") << "=x|^ -1 |=+ y|^2" << "x \u207B\u00B9 + y\u00B2";
        QTest::newRow("paragraph ends a run") << "=x|^2\nj" << "x\u00B2\n^j";
        // clang-format on
    }

    void plainTextKeepsExponentsAndIndices() {
        QFETCH(QString, markup);
        QTEST(copyAll(*notation(markup))->text(), "text");
    }

    // Through the system clipboard: other programs get exponents in plain text and <sup> in
    // the base face in HTML; a paste back in the editor keeps the faces.
    void copyToOtherProgramsKeepsStructure() {
        edit->document()->setHtml({});
        QTextCursor c(edit->document());
        insert(c, "x", attrs("Courier New Even", 11));
        insert(c, "2", attrs("Courier New High", 11));
        insert(c, "\u03B2", attrs("Courier New Greek Low", 11));
        edit->selectAll();
        edit->copy();
        const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(mime->text(), "x\u00B2_\u03B2");
        QVERIFY(mime->html().contains(
            "<sup><span style=\"font-family:'Courier New Even'\">2</span></sup>"
            "<sub><span style=\"font-family:'Courier New Greek Even'\">\u03B2</span></sub>"));
        const auto page = pasted(*mime);
        QCOMPARE(page->toPlainText(), "x2\u03B2"); // the RTF flavour still comes first
        QCOMPARE(charAt(*page, 1).face, "Courier New High");
    }

    void pasteTakesRtfElseHtmlElseText() {
        for (const char *type : {"text/rtf", "application/rtf", "text/richtext"}) {
            QMimeData rtf;
            rtf.setData(type, sample("libreoffice-mixed.rtf"));
            rtf.setText("plain fallback");
            QCOMPARE(charOf(*pasted(rtf), "Centred red sans 14").color, rgbColor(255, 0, 0));
        }
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

private:
    RichEdit *edit = nullptr;
};

QTEST_MAIN(RichTextTest)
#include "tst_richtext.moc"
