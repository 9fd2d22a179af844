// Numbered, lettered, bulleted and nested lists as other programs write them, and as this
// program writes them back.
#include "rtf/rtflistwriter.h"
#include "rtf/rtfwriter.h"
#include "rtftesthelpers.h"

#include <QtTest>

using namespace tessary;
using namespace tessary::test;

namespace {

// "indent style marker" of a paragraph, or "-" outside a list.
QString listOf(const QTextBlock &block) {
    const QTextList *list = block.textList();
    if (!list)
        return QStringLiteral("-");
    return QStringLiteral("%1 %2 %3")
        .arg(list->format().indent())
        .arg(int(list->format().style()))
        .arg(listMarkerText(list, block));
}

QStringList lists(const QTextDocument &doc) {
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        out << b.text() + ": " + listOf(b);
    return out;
}

const QByteArray kHead = "{\\rtf1{\\fonttbl{\\f0 Arial;}}";

} // namespace

class TestRtfLists : public QObject {
    Q_OBJECT

private slots:
    void libreOfficeLists() {
        const auto doc = loadRtf(sample("libreoffice-lists.rtf"));
        // Styles: -1 disc, -4 decimal, -5 lower-case letters.
        QCOMPARE(lists(*doc),
                 QStringList({"Intro paragraph.: -", "First : 1 -4 1.", "First inner : 2 -4 1.",
                              "Deepest one: 3 -4 1.", "Deepest two: 3 -4 2.",
                              "Second inner : 2 -4 2.", "Second : 1 -4 2.", "Third : 1 -4 3.",
                              "Between lists.: -", "Alpha: 1 -5 a.", "Beta: 1 -5 b.",
                              "Dot one: 1 -1 \u2022", "Dot two: 1 -1 \u2022", "End.: -"}));
    }

    void oldNumbering_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("decimal with text after")
            << kHead + "{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}a\\par"
                       "{\\pntext 2.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}b\\par}"
            << "a: 1 -4 1.|b: 1 -4 2.";
        QTest::newRow("letters, text before and after")
            << kHead + "{\\*\\pn\\pnlvlbody\\pnlcltr{\\pntxtb (}{\\pntxta )}}a\\par}" << "a: 1 -5 (a)";
        QTest::newRow("roman from a start value")
            << kHead + "{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart4{\\pntxta .}}a\\par}" << "a: 1 -8 IV.";
        QTest::newRow("level from the section's numbering")
            << kHead + "{\\*\\pnseclvl2\\pnlcrm{\\pntxta )}}{\\*\\pn\\pnlvl2}a\\par}" << "a: 2 -7 i)";
        QTest::newRow("restarts after a plain paragraph")
            << kHead + "{\\*\\pn\\pnlvlbody\\pndec}a\\par\\pard b\\par{\\*\\pn\\pnlvlbody\\pndec}c\\par}"
            << "a: 1 -4 1|b: -|c: 1 -4 1";
        QTest::newRow("number without a list stays text")
            << kHead + "{\\listtext 3.\\tab}a\\par}" << "3.\ta: -";
        QTest::newRow("unknown list table: the marker's bullet")
            << kHead + "\\ls5{\\listtext \\u8226 ?\\tab}a\\par}" << "a: 1 -1 \u2022";
        // clang-format on
    }

    void oldNumbering() {
        QFETCH(QByteArray, rtf);
        QTEST(lists(*loadRtf(rtf)).join(u'|'), "expected");
    }

    // What is saved reads back as the same lists, with markers for readers without lists.
    void listsRoundTrip() {
        const auto doc = loadRtf(sample("libreoffice-lists.rtf"));
        const QByteArray written = RtfWriter::write(doc.get());
        QVERIFY(written.contains("{\\listtext 2.\\tab}"));
        QVERIFY(written.contains("\\ls1\\ilvl2"));
        const auto again = loadRtf(written);
        QCOMPARE(lists(*again), lists(*doc));
        for (QTextBlock a = doc->begin(), b = again->begin(); a.isValid();
             a = a.next(), b = b.next()) {
            QCOMPARE(b.blockFormat().leftMargin(), a.blockFormat().leftMargin());
            QCOMPARE(b.blockFormat().textIndent(), a.blockFormat().textIndent());
        }
        QCOMPARE(RtfWriter::write(again.get()), written);
    }

    // A list that starts again at a level whose last list is still open gets a number of its own.
    void secondListStartsAgain() {
        const auto doc = loadRtf(kHead + "{\\*\\pn\\pnlvlbody\\pndec}a\\par\\pard b\\par"
                                         "{\\*\\pn\\pnlvlbody\\pndec}c\\par}");
        const QByteArray written = RtfWriter::write(doc.get());
        QVERIFY(written.contains("\\ls1\\ilvl0") && written.contains("\\ls2\\ilvl0"));
        QCOMPARE(lists(*loadRtf(written)), lists(*doc));
    }

    void plainBulletsStayOldStyle() {
        const auto doc = loadRtf(kHead + "{\\*\\pn\\pnlvlblt{\\pntxtb\\bullet}}a\\par}");
        const QByteArray written = RtfWriter::write(doc.get());
        QVERIFY(written.contains("\\pnlvlblt") && !written.contains("listtable"));
    }
};

QTEST_MAIN(TestRtfLists)
#include "tst_rtflists.moc"
