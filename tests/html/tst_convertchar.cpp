#include "html/convertchar.h"

#include <QtTest>

using namespace tessary;

class ConvertCharTest : public QObject {
    Q_OBJECT
private slots:
    // A line converted from k = 1, after the previous line ended in `before`.
    void lineConvertsCharacterByCharacter_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<uint>("before");
        QTest::addColumn<QByteArray>("html");
        QTest::newRow("spaces:first plain, the rest hard")
            << "a  b   c" << 0u << QByteArray("a &nbsp;b &nbsp;&nbsp;c");
        QTest::newRow("spaces:a line's first is hard")
            << " a" << uint('x') << QByteArray("&nbsp;a");
        QTest::newRow("markup:entities, apostrophe kept")
            << "<\"&'>" << 0u << QByteArray("&lt;&quot;&amp;'&gt;");
        QTest::newRow("above 127:greek") << QStringLiteral("\u03b1") << 0u << QByteArray("&#945;");
        QTest::newRow("above 127:cyrillic")
            << QStringLiteral("\u0431") << 0u << QByteArray("&#1073;");
        QTest::newRow("departure:notation symbol is its own character")
            << QStringLiteral("\u2264") << 0u << QByteArray("&#8804;");
        QTest::newRow("departure:beyond the basic plane")
            << QStringLiteral("\U0001D400") << 0u << QByteArray("&#119808;");
        QTest::newRow("tab:40 pixels wide")
            << "\t" << 0u << QByteArray("<SPAN style=\"margin-left: 42px\"></SPAN>");
    }

    void lineConvertsCharacterByCharacter() {
        QFETCH(QString, line);
        QFETCH(uint, before);
        char32_t previous = before;
        QByteArray out;
        int k = 1;
        for (const char32_t c : line.toUcs4())
            out += ConvertChar(c, k++, previous, 40);
        QTEST(out, "html");
        QCOMPARE(uint(previous), line.toUcs4().last());
    }

    void userTextIsEscapedForWhereItStands_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("attribute");
        QTest::addColumn<QByteArray>("fontName");
        QTest::newRow("markup") << "a<b&\"c\">" << QByteArray("a&lt;b&amp;\"c\"&gt;")
                                << QByteArray("a&lt;b&amp;&quot;c&quot;&gt;")
                                << QByteArray("a&lt;b&amp;&quot;c&quot;&gt;");
        QTest::newRow("quote and backslash")
            << "O'N\\" << QByteArray("O'N\\") << QByteArray("O'N\\") << QByteArray("O\\'N\\\\");
        QTest::newRow("non-ascii") << QStringLiteral("\u00e9\u03a9") << QByteArray("&#233;&#937;")
                                   << QByteArray("&#233;&#937;") << QByteArray("&#233;&#937;");
    }

    void userTextIsEscapedForWhereItStands() {
        QFETCH(QString, text);
        QTEST(htmlText(text), "content");
        QTEST(htmlAttribute(text), "attribute");
        QTEST(htmlFontName(text), "fontName");
    }
};

QTEST_MAIN(ConvertCharTest)
#include "tst_convertchar.moc"
