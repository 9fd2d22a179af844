#include "platform/codepage.h"

#include <QtTest>

using namespace tessary;

class CodePageTest : public QObject {
    Q_OBJECT
private slots:
    void windowsPagesComeFromIconv() {
        const CodePage &cp1252 = CodePage::windows(1252);
        QCOMPARE(cp1252.toUnicode(0x80), QChar(0x20AC));
        QCOMPARE(cp1252.toUnicode(0x81), QChar(0)); // unassigned
        QCOMPARE(cp1252.toUnicode(0x41), QChar('A'));
        QCOMPARE(cp1252.fromUnicode(QChar(0x20AC)), 0x80);
        QCOMPARE(cp1252.fromUnicode(QChar(0x03B1)), -1);
        QCOMPARE(CodePage::windows(1253).toUnicode(0xE1), QChar(0x03B1));
        QCOMPARE(CodePage::windows(1251).toUnicode(0xC0), QChar(0x0410));
        QCOMPARE(CodePage::windows(1250).toUnicode(0x8A), QChar(0x0160));
        QCOMPARE(CodePage::windows(1254).toUnicode(0xF0), QChar(0x011F));
        QCOMPARE(CodePage::windows(1257).toUnicode(0xE0), QChar(0x0105));
        QCOMPARE(CodePage::windows(1253).decode(QByteArray("\xe1\x81z", 3)),
                 QStringLiteral("\u03B1z"));
    }

    void charsetsPickTheirPages_data() {
        QTest::addColumn<int>("charset");
        QTest::addColumn<int>("page");
        QTest::newRow("ANSI") << 0 << 1252;
        QTest::newRow("Greek") << 161 << 1253;
        QTest::newRow("Turkish") << 162 << 1254;
        QTest::newRow("Baltic") << 186 << 1257;
        QTest::newRow("Cyrillic") << 204 << 1251;
        QTest::newRow("Central European") << 238 << 1250;
        QTest::newRow("unknown reads as ANSI") << 77 << 1252;
    }

    void charsetsPickTheirPages() {
        QFETCH(int, charset);
        QTEST(CodePage::forCharset(charset).number(), "page");
    }

    void symbolPageRoundTripsEveryAssignedCode() {
        const CodePage &symbol = CodePage::forCharset(Charset::Symbol);
        int assigned = 0;
        for (int code = 1; code < 256; ++code) {
            const QChar c = symbol.toUnicode(static_cast<unsigned char>(code));
            if (c.isNull())
                continue;
            ++assigned;
            QVERIFY2(symbol.fromUnicode(c) == code, qPrintable(QString::number(code, 16)));
        }
        QVERIFY(assigned > 200);
    }

    void symbolPageGivesMathematicalCharacters() {
        const CodePage &symbol = CodePage::notationSymbol();
        QCOMPARE(symbol.toUnicode(0xC9), QChar(0x2245));
        QCOMPARE(symbol.toUnicode(0xE5), QChar(0x2211));
        for (int code = 0xE8; code <= 0xF1; ++code) // bracket and brace pieces
            QVERIFY(symbol.toUnicode(code).unicode() >= 0x23A1 &&
                    symbol.toUnicode(code).unicode() <= 0x23AD);
        // The shown and inserted codes of the large operators differ.
        QVERIFY(symbol.toUnicode(0xDD) != symbol.toUnicode(0xDE));
        QCOMPARE(symbol.toUnicode(0x41), QChar('A')); // everything else as Windows-1252
        QCOMPARE(symbol.toUnicode(0x80), QChar(0x20AC));
    }

    void facesCarryTheirCharsets() {
        QCOMPARE(charsetForFace("Courier New Greek High"), 161);
        QCOMPARE(charsetForFace("TessarySymbol Low"), 2);
        QCOMPARE(charsetForFace("Courier New Even"), 0);
        QCOMPARE(charsetForFace("courier new greek even"), 0); // names compare exactly
    }
};

QTEST_MAIN(CodePageTest)
#include "tst_codepage.moc"
