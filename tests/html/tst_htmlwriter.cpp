#include "html/anchors.h"
#include "html/fontsubset.h"
#include "html/htmlwriter.h"
#include "richtext/richedit.h"
#include "testsupport.h"

#include <QPainterPath>
#include <QRawFont>
#include <QScrollBar>
#include <QtTest>
#include <functional>

using namespace tessary;
using tessary::test::readFile;

// Builds a document paragraph by paragraph: text pieces in a face and size, with extra
// attributes where a case needs them.
class Doc {
public:
    explicit Doc(RichEdit &editor)
        : m_editor(editor) {
        m_editor.clear();
    }
    Doc &text(const QString &text, const QString &face = QStringLiteral("Arial"), int size = 12,
              std::function<void(CharAttributes &)> more = {}) {
        CharAttributes a;
        a.face = face;
        a.size = size;
        a.color = rgbColor(0, 0, 0);
        if (more)
            more(a);
        m_editor.setSelection(m_editor.textLength(), 0);
        m_editor.replaceSelection(text, a, CharAttributes::All);
        return *this;
    }
    Doc &anchor(const QString &text, quint32 color, int number) {
        return this->text(text, QStringLiteral("Arial"), 12, [=](CharAttributes &a) {
            a.color = color;
            a.underline = true;
            a.pitchAndFamily = 4 * number;
        });
    }
    Doc &paragraph() { return text(QStringLiteral("\n")); }
    // Sets the paragraph that holds the end of the text.
    Doc &format(const ParaAttributes &p) {
        m_editor.setSelection(m_editor.textLength(), 0);
        m_editor.setParaAttributes(p);
        return *this;
    }

private:
    RichEdit &m_editor;
};

ParaAttributes indents(int first, int left, Alignment alignment = Alignment::Left,
                       bool bullet = false) {
    return {.alignment = alignment, .firstIndent = first, .leftIndent = left, .bullet = bullet};
}

auto bold = [](CharAttributes &a) { a.bold = true; };

// At the em size a font unit is a pixel, so metrics compare exactly.
QRawFont loadFont(const QByteArray &bytes) {
    return QRawFont(bytes, 2048, QFont::PreferNoHinting);
}
int glyphCount(const QRawFont &font) {
    const QByteArray maxp = font.fontTable("maxp");
    return maxp.size() >= 6 ? qFromBigEndian<quint16>(maxp.constData() + 4) : -1;
}

// a_(n+1) = x^2 + phi^k, in raised, lowered and Greek faces.
void buildFormula(Doc &d) {
    const QString latin = QStringLiteral("Courier New "), greek = latin + "Greek ";
    d.text("a", latin + "Even", 11).text("n+1", latin + "Low", 11).text(" = x", latin + "Even", 11);
    d.text("2", latin + "High", 11).text(" +  ", latin + "Even", 11);
    d.text("\u03c6", greek + "Even", 11).text("k", greek + "High", 11);
}
auto underlined = [](CharAttributes &a) { a.underline = true; };
using Shown = QHash<QString, QString>; // the characters shown in each face

Q_DECLARE_METATYPE(tessary::HtmlWriter::Page)

class HtmlWriterTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        FontRegistry::registerNotationFaces(QStringLiteral(TESSARY_SOURCE_DIR "/fonts"));
        window = std::make_unique<QWidget>();
        editor = new RichEdit(window.get());
        editor->setGeometry(0, 0, 420, 300);
        anchors = std::make_unique<Anchors>(editor, window.get());
        window->resize(420, 300);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void init() { editor->clear(); }

    void pageMatchesItsGoldenFile_data() {
        QTest::addColumn<std::function<void(Doc &)>>("build");
        QTest::addColumn<HtmlWriter::Page>("page");
        using Build = std::function<void(Doc &)>;
        const HtmlWriter::Page plain; // no title or keywords, 1280 pixels wide
        const QString greekHigh = "Courier New Greek High", even = "Courier New Even";
        const QString symbol = "TessarySymbol Even";
        // clang-format off
        QTest::newRow("empty-document") << Build([](Doc &) {}) << plain;
        QTest::newRow("one-line") << Build([](Doc &d) { d.text("a<b"); }) << plain;
        QTest::newRow("narrow-screen-title-keywords") << Build([](Doc &d) { d.text("x"); }) << HtmlWriter::Page{"a<b & \u00e9", "say \"hi\"", 800};
        QTest::newRow("spaces-and-entities") << Build([](Doc &d) {
            d.text("a  b   c \"q\" & 'p' > o").paragraph().text(" starts with a space"); }) << plain;
        QTest::newRow("notation-faces") << Build([=](Doc &d) {
            d.text("x", even, 11).text("\u03b1", greekHigh, 12).text("\u2264\u2211", symbol, 11).text("\u0431").text("\U0001D400"); }) << plain;
        QTest::newRow("raised-lowered-greek") << Build(buildFormula) << plain;
        QTest::newRow("font-outside-the-list") << Build([](Doc &d) {
            d.text("d", "DejaVu Sans", 10).text("q", "O'Neil \"Sans\" \\ <b>", 13); }) << plain;
        QTest::newRow("indents-div-and-br") << Build([](Doc &d) {
            d.text("first").paragraph().text("same offset");
            d.paragraph().text("indented").format(indents(36, 0)).paragraph();
            d.text("centred").format(indents(0, 0, Alignment::Center));
            d.paragraph().text(QString("wrapped words ").repeated(8)).format(indents(0, 0));
            d.paragraph().text(QString("hanging words ").repeated(8)).format(indents(0, 24)); }) << plain;
        QTest::newRow("empty-lines") << Build([](Doc &d) {
            d.paragraph().text("after an empty first line").paragraph().paragraph();
            d.text("at 0 after an empty line").paragraph().paragraph();
            d.text("at 18 after an empty line").format(indents(18, 0)).paragraph(); }) << plain;
        QTest::newRow("bullet") << Build([](Doc &d) { d.text("bulleted").format(indents(0, 18, Alignment::Left, true)); }) << plain;
        QTest::newRow("bold-italic-underline") << Build([](Doc &d) {
            d.text("plain ").text("bold end", "Arial", 12, bold).paragraph().text("u", "Arial", 12, underlined);
            d.text("i", "Arial", 12, [](CharAttributes &a) { a.italic = true; }); }) << plain;
        QTest::newRow("anchors") << Build([](Doc &d) {
            d.text("see ").anchor("here", Anchors::kSrcAnchorColor, 10).text(" and ").anchor("target", Anchors::kDestAnchorColor, 10);
            d.paragraph().anchor("http://example.org/a?b&c", Anchors::kDestAnchorColor, 1);
            d.paragraph().text("go ").anchor("http://example.org/x", Anchors::kDestAnchorColor, 2);
            d.paragraph().text("open ").anchor("file:///tmp/a b.html", Anchors::kDestAnchorColor, 3);
            d.paragraph().text("x ").anchor("to", Anchors::kSrcAnchorColor, 3); }) << plain;
        QTest::newRow("link-after-underline-and-neighbouring-anchors") << Build([](Doc &d) {
            d.anchor("d0", Anchors::kDestAnchorColor, 0).anchor("d1", Anchors::kDestAnchorColor, 1).paragraph();
            d.text("under", "Arial", 12, underlined).anchor("s0", Anchors::kSrcAnchorColor, 0).anchor("s1", Anchors::kSrcAnchorColor, 1); }) << plain;
        QTest::newRow("tabs") << Build([](Doc &d) { d.text("a\tb\t\tc"); }) << plain;
        // clang-format on
    }

    void pageMatchesItsGoldenFile() {
        QFETCH(std::function<void(Doc &)>, build);
        QFETCH(HtmlWriter::Page, page);
        Doc doc(*editor);
        build(doc);
        const QByteArray html = exportPage(page);
        QVERIFY(std::all_of(html.begin(), html.end(),
                            [](char c) { return uchar(c) - 1u < 127u; })); // ASCII, no NUL

        const QString golden = QStringLiteral(TESSARY_TEST_DATA "/html/golden/%1.html")
                                   .arg(QString::fromLatin1(QTest::currentDataTag()));
        if (qEnvironmentVariableIsSet("TESSARY_REGENERATE_GOLDEN")) {
            QFile file(golden);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(html) == html.size());
            return;
        }
        QCOMPARE(html, readFile(golden));
    }

    void subsetKeepsTheUsedGlyphsWhereTheyStand_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("used");
        QTest::addColumn<QString>("kept"); // the used characters the face has
        // clang-format off
        QTest::newRow("raised") << "CourierNewHigh" << "2n+1" << "2n+1";
        QTest::newRow("lowered") << "CourierNewLow" << "ij" << "ij";
        QTest::newRow("greek") << "CourierNewGreekEven" << "\u03b1\u03c6" << "\u03b1\u03c6";
        QTest::newRow("brace pieces") << "TessarySymbolEven" << "\u23a7\u23a8\u23a9" << "\u23a7\u23a8\u23a9";
        QTest::newRow("a character the face lacks") << "CourierNewEven" << "x\u4e00" << "x";
        QTest::newRow("nothing used") << "CourierNewEven" << "" << "";
        // clang-format on
    }

    void subsetKeepsTheUsedGlyphsWhereTheyStand() {
        QFETCH(QString, file);
        QFETCH(QString, used);
        QFETCH(QString, kept);
        const QByteArray original =
            readFile(QStringLiteral(TESSARY_SOURCE_DIR "/fonts/%1.ttf").arg(file));
        const QList<uint> ucs4 = used.toUcs4();
        const QByteArray bytes = subsetFont(original, {ucs4.begin(), ucs4.end()});
        const QRawFont full = loadFont(original), subset = loadFont(bytes);
        QVERIFY(subset.isValid() && bytes.size() < original.size());
        QCOMPARE(glyphCount(subset), int(kept.toUcs4().size()) + 1); // and the notdef box
        QVERIFY(!subset.pathForGlyph(0).isEmpty() && !subset.supportsCharacter(U'q'));
        // One line height for every face, and raised or lowered glyphs where they were.
        QCOMPARE(qMakePair(subset.ascent(), subset.descent()),
                 qMakePair(full.ascent(), full.descent()));
        for (const char32_t c : kept.toUcs4()) {
            const quint32 g = subset.glyphIndexesForString(QString::fromUcs4(&c, 1)).value(0);
            const quint32 h = full.glyphIndexesForString(QString::fromUcs4(&c, 1)).value(0);
            QCOMPARE(subset.advancesForGlyphIndexes({g}), full.advancesForGlyphIndexes({h}));
            QCOMPARE(subset.pathForGlyph(g).boundingRect().toRect(),
                     full.pathForGlyph(h).boundingRect().toRect());
        }
    }

    // Each face the page uses travels in it, cut down to the characters shown in that face.
    void pageCarriesTheSubsetsOfItsFaces_data() {
        QTest::addColumn<bool>("formula");
        QTest::addColumn<Shown>("shown");
        QTest::newRow("formula") << true
                                 << Shown{
                                        {"Courier New Even", "a =x+\u00a0"},
                                        {"Courier New Low", "n+1"},
                                        {"Courier New High", "2"},
                                        {"Courier New Greek Even", "\u03c6"},
                                        {"Courier New Greek High", "k"},
                                    };
        QTest::newRow("the last faces alone") << false
                                              << Shown{{"Courier New Greek Low", "b"},
                                                       {"TessarySymbol High", "+"},
                                                       {"TessarySymbol Low", "="}};
    }

    void pageCarriesTheSubsetsOfItsFaces() {
        QFETCH(bool, formula);
        QFETCH(Shown, shown);
        Doc doc(*editor);
        if (formula)
            buildFormula(doc);
        else
            doc.text("b", "Courier New Greek Low", 11)
                .text("+", "TessarySymbol High", 11)
                .text("=", "TessarySymbol Low", 11);
        const QByteArray html = exportPage({});
        static const QRegularExpression rule(
            QStringLiteral("@font-face \\{font-family:\"([^\"]+)\".*base64,([^)]+)\\)"));
        int rules = 0;
        for (const auto &match : rule.globalMatch(QString::fromLatin1(html))) {
            const QRawFont font = loadFont(QByteArray::fromBase64(match.captured(2).toLatin1()));
            QCOMPARE(font.familyName(), match.captured(1));
            const QList<uint> used = shown.value(match.captured(1)).toUcs4();
            QCOMPARE(glyphCount(font), used.size() + 1); // and the notdef glyph
            for (const uint c : used)
                QVERIFY(font.supportsCharacter(c));
            ++rules;
        }
        QCOMPARE(rules, shown.size());
    }

    void exportLeavesTheEditorAsItWas() {
        Doc doc(*editor);
        for (int i = 0; i < 60; ++i)
            doc.text(QStringLiteral("line %1 ").arg(i)).paragraph();
        anchors->GrabDestAnchors();
        editor->document()->setModified(false);
        editor->setSelection(120, 7);
        editor->verticalScrollBar()->setValue(editor->verticalScrollBar()->maximum() / 2);
        const int scroll = editor->verticalScrollBar()->value();
        QVERIFY(
            HtmlWriter(*editor, HtmlLinks::fromAnchors(*anchors), {}).page().contains("line 59"));
        QCOMPARE(qMakePair(editor->selStart(), editor->selLength()), qMakePair(120, 7));
        QCOMPARE(editor->verticalScrollBar()->value(), scroll);
        QVERIFY(!editor->document()->isModified());
    }

    // An address from a destination anchor becomes an href only when following it can do no
    // more than open a page, a mail or a file; otherwise both ends are text and reported.
    void linksOnlyToPagesMailAndFiles_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("href"); // empty: no link at all
        // clang-format off
        QTest::newRow("web page") << "http://example.org/x" << "http://example.org/x";
        QTest::newRow("mail") << "mailto:me@example.org" << "mailto:me@example.org";
        QTest::newRow("relative file") << "file://docs/a.html" << "docs/a.html";
        QTest::newRow("file on a drive") << "file://C:/docs/a.html" << "C:/docs/a.html";
        QTest::newRow("script") << "file://javascript:document.title='x'" << "";
        QTest::newRow("script, spaced and capitalised") << "file:// JavaScript:x()" << "";
        QTest::newRow("data after a web address") << "http://a.org/ file://data:text/html,x" << "";
        // clang-format on
    }

    void linksOnlyToPagesMailAndFiles() {
        QFETCH(QString, address);
        QFETCH(QString, href);
        Doc d(*editor);
        d.text("go ").anchor(address, Anchors::kDestAnchorColor, 2);
        d.paragraph().text("x ").anchor("to", Anchors::kSrcAnchorColor, 2);
        anchors->ScanAnchors();
        anchors->GrabDestAnchors();
        const HtmlLinks links = HtmlLinks::fromAnchors(*anchors);
        HtmlWriter writer(*editor, links, {});
        QList<HtmlWriter::IncompleteLink> reported;
        writer.onIncompleteLink = [&](const HtmlWriter::IncompleteLink &l) { reported += l; };
        const QByteArray html = writer.page();
        QCOMPARE(html.count("<A href=\"" + href.toLatin1() + "\">"), href.isEmpty() ? 0 : 2);
        QCOMPARE(html.count("<A "), href.isEmpty() ? 0 : 2);
        QCOMPARE(html.count("</A>"), html.count("<A "));
        QVERIFY(html.contains(href.isEmpty() ? "x to" : "x <A href="));
        QCOMPARE(reported.size(), href.isEmpty() ? 2 : 0);
        for (const auto &link : reported)
            QVERIFY(link.asText && link.line == 2 - link.kind && link.length > 0);
    }

    void failedExportKeepsTheOlderPage() {
        Doc(*editor).text(QStringLiteral("new"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.html"));
        QVERIFY(test::writeBytes(path, "older"));
        HtmlLinks links;
        HtmlWriter writer(*editor, links, {});
        QString error;
        const QString missing = dir.filePath(QStringLiteral("no/such/folder/page.html"));
        QVERIFY(!writer.writeFile(missing, &error));
        QVERIFY(!QFile::exists(missing));
        QVERIFY(writer.writeFile(path, &error));
        QVERIFY(readFile(path).endsWith("</HTML>"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("page.html")});
    }

    // Hidden text stays out of the page; notes are listed at its end, numbered as their marks.
    void hiddenTextIsLeftOutAndNotesListed() {
        editor->loadData("{\\rtf1\\ansi\\pard Seen{\\v secret}"
                         "{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} First & <note>.}"
                         " and{\\super\\chftn}{\\footnote\\pard Second.}\\par}");
        const QByteArray html = exportPage({});
        QVERIFY(!html.contains("secret"));
        QVERIFY(html.contains("Seen"));
        const qsizetype first =
            html.indexOf("<A NAME=\"note1\"><SUP>1</SUP></A> First &amp; &lt;note&gt;.");
        const qsizetype second = html.indexOf("<A NAME=\"note2\"><SUP>2</SUP></A> Second.");
        QVERIFY2(first > html.indexOf("</TABLE>") && second > first, html.constData());
    }

private:
    QByteArray exportPage(const HtmlWriter::Page &page) {
        anchors->ScanAnchors();
        anchors->GrabDestAnchors();
        return HtmlWriter(*editor, HtmlLinks::fromAnchors(*anchors), page).page();
    }
    std::unique_ptr<QWidget> window;
    RichEdit *editor = nullptr;
    std::unique_ptr<Anchors> anchors;
};

QTEST_MAIN(HtmlWriterTest)
#include "tst_htmlwriter.moc"
