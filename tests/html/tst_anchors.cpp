#include "documents/documentfiles.h"
#include "editor/commandstate.h"
#include "html/anchors.h"
#include "html/tanchorform.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>

using namespace tessary;

class AnchorsTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void anchorFreeDocumentHandsOutZeroThenOne() {
        setText(QStringLiteral("alpha beta"));
        // Pitch bits set beforehand must survive the marking.
        editor()->setRangeAttributes(6, 4, {.pitchAndFamily = 2}, CharAttributes::Pitch);
        markDest({"alpha", "beta"});
        const CharAttributes beta = editor()->charAttributesAt(9);
        QCOMPARE(beta.color, Anchors::kDestAnchorColor);
        QVERIFY(beta.underline);
        QCOMPARE(beta.pitchAndFamily, 4 * 1 + 2);
        QCOMPARE(editor()->charAttributesAt(0).pitchAndFamily, 0);
        QVERIFY(!editor()->charAttributesAt(5).underline);
        QVERIFY(!anchors().FreeAnchors[0] && !anchors().FreeAnchors[1] && anchors().FreeAnchors[2]);
    }

    void removedNumberStaysTakenUntilARebuild() {
        setText(QStringLiteral("alpha beta gamma"));
        markDest({"alpha", "beta", "alpha"}); // the second time on an anchor: removes it
        QVERIFY(!editor()->charAttributesAt(2).underline);
        QCOMPARE(editor()->charAttributesAt(2).pitchAndFamily >> 2, 0); // the number stays
        runOn(QStringLiteral("gamma"), "HtmlDestAnchor");
        editor()->setSelection(11, 1);
        QCOMPARE(Anchors::AnchorNumberOf(editor()), 2);
        anchors().ScanAnchors();
        QVERIFY(anchors().FreeAnchors[0]);
        QCOMPARE(anchors().NewDestAnchorNumber(), 0);
    }

    void adjacentAnchorsCountOnceUnderTheFirstNumber() {
        setText(QStringLiteral("abcd"));
        markDest({"ab", "cd"});
        editor()->setSelection(2, 1);
        QCOMPARE(Anchors::AnchorNumberOf(editor()), 1);
        anchors().ScanAnchors();
        QVERIFY(anchors().DestAnchors[0] && !anchors().DestAnchors[1] && anchors().FreeAnchors[1]);
        anchors().GrabDestAnchors();
        QCOMPARE(dialog().AnchorEditor->toPlainText(), QStringLiteral("abcd"));
        QCOMPARE(anchors().listedCount(), 1);
    }

    void listHasOneLinePerAnchorEvenAcrossAWrap() {
        const QString longAnchor = QStringLiteral("one two three four five six seven eight");
        setText(QStringLiteral("src first\n") + longAnchor + QStringLiteral("\nthird x"));
        editor()->setLineWrapMode(QTextEdit::FixedPixelWidth);
        editor()->setLineWrapColumnOrWidth(120);
        markDest({"first", longAnchor, "third"});
        anchors().MarkAnchor(1, Anchors::kSrcAnchorColor); // "third" also links to the long one
        runOn(QStringLiteral("src"), "HtmlDestAnchor");
        QVERIFY(editor()->lineCount() > 4); // the long anchor wraps
        anchors().GrabDestAnchors();
        const QString listed = dialog().AnchorEditor->toPlainText();
        QCOMPARE(listed, QStringLiteral("src\nfirst\n") + longAnchor);
        QCOMPARE(anchors().listedCount(), 3);
        QVERIFY(anchors().SrcAnchors[1]);
        QVERIFY(!anchors().DestAnchors[2] && anchors().FreeAnchors[2]); // "third" is a source now
        // The list keeps each anchor's format, number included.
        dialog().AnchorEditor->setSelection(int(listed.indexOf(QStringLiteral("seven"))), 1);
        QCOMPARE(Anchors::AnchorNumberOf(dialog().AnchorEditor), 1);
    }

    void addressNeedsMoreThanItsPrefix_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("address");
        QTest::newRow("boundary: the prefix alone") << "http://" << false;
        QTest::newRow("boundary: one more") << "http://x" << true;
        QTest::newRow("nominal: upper case") << "HTTP://X" << true;
        QTest::newRow("nominal: not a prefix") << "news://host" << false;
    }

    void addressNeedsMoreThanItsPrefix() {
        QFETCH(QString, text);
        setText(QStringLiteral("x ") + text);
        markDest({"x", text});
        anchors().GrabDestAnchors();
        QVERIFY(!anchors().UrlAnchors[0]);
        QTEST(bool(anchors().UrlAnchors[1]), "address");
    }

    void removalTakesTheWholeAnchorAndNothingBeside() {
        setText(QStringLiteral("plain anchor\nnext"));
        const CharAttributes underlined{.color = 0, .underline = true};
        editor()->setRangeAttributes(0, 6, underlined,
                                     CharAttributes::Underline | CharAttributes::Color);
        editor()->setRangeAttributes(13, 4, underlined, CharAttributes::Underline);
        runOn(QStringLiteral("anchor"), "HtmlDestAnchor");
        editor()->setRangeAttributes(13, 4, {.color = Anchors::kDestAnchorColor},
                                     CharAttributes::Color); // an anchor next paragraph
        editor()->setSelection(9, 1);                        // inside "anchor"
        QVERIFY(trigger("HtmlDestAnchor"));
        for (int i = 6; i < 12; ++i) {
            QVERIFY(!editor()->charAttributesAt(i).underline);
            QCOMPARE(editor()->charAttributesAt(i).color, quint32(0));
        }
        for (int i : {0, 5, 13, 16})
            QVERIFY(editor()->charAttributesAt(i).underline);
        QCOMPARE(selection(), qMakePair(9, 0));
    }

    void sixtyFifthDestinationIsRefused() {
        QStringList words;
        for (int i = 0; i < 65; ++i)
            words.append(QStringLiteral("w%1").arg(i, 2, 10, QLatin1Char('0')));
        setText(words.join(QLatin1Char(' ')));
        for (int i = 0; i < 64; ++i) {
            editor()->setSelection(3 * i, 3);
            anchors().HtmlDestAnchorExecute();
        }
        QVERIFY(sandbox->dialogs->messages.isEmpty());
        runOn(QStringLiteral("w64"), "HtmlDestAnchor");
        QCOMPARE(sandbox->dialogs->messages.size(), 1);
        QCOMPARE(sandbox->dialogs->messages.first().text,
                 QStringLiteral("Too many destination anchors"));
        QVERIFY(!editor()->charAttributesAt(3 * 64).underline);
    }

    void anchorsSurviveSaveOpenAndScan() {
        setText(QStringLiteral("target and link"));
        editor()->setRangeAttributes(0, 15, {.pitchAndFamily = 1}, CharAttributes::Pitch);
        markDest({"and", "target"}); // numbers 0 and 1
        editor()->setSelection(11, 4);
        anchors().MarkAnchor(1, Anchors::kSrcAnchorColor);
        const QString path = sandbox->dir.filePath(QStringLiteral("anchors.rtf"));
        sandbox->dialogs->fileNames.enqueue(path);
        QVERIFY(form->documents().FileSaveAs());
        form->documents().FileNew();
        anchors().ResetAnchorTables();
        QVERIFY(form->documents().OpenPath(path)); // the open rebuilds the tables
        QCOMPARE(editor()->toPlainText(), QStringLiteral("target and link"));
        QCOMPARE(editor()->charAttributesAt(2).pitchAndFamily, 4 * 1 + 1);
        QCOMPARE(editor()->charAttributesAt(8).pitchAndFamily, 4 * 0 + 1);
        QCOMPARE(editor()->charAttributesAt(12).color, Anchors::kSrcAnchorColor);
        QVERIFY(anchors().DestAnchors[0] && anchors().DestAnchors[1] && anchors().SrcAnchors[1]);
        QCOMPARE(anchors().NewDestAnchorNumber(), 2);
    }

    void chosenLineGivesTheSourceItsNumber() {
        setText(QStringLiteral("first second link"));
        markDest({"first", "second"});
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        bool checked = false;
        whileModal([&] {
            RichEdit *list = dialog().AnchorEditor;
            QVERIFY(!dialog().reportMode());
            QCOMPARE(list->selText(), QStringLiteral("first"));
            QTest::keyClick(list, Qt::Key_Down);
            QCOMPARE(list->selText(), QStringLiteral("second"));
            QTest::keyClick(list, Qt::Key_Down); // already on the last line
            QTest::keyClick(list, Qt::Key_X);    // typing is discarded
            QTest::keyClick(list, Qt::Key_Up);
            QTest::keyClick(list, Qt::Key_Down);
            QCOMPARE(list->selText(), QStringLiteral("second"));
            QCOMPARE(list->toPlainText(), QStringLiteral("first\nsecond"));
            checked = true;
            QTest::keyClick(list, Qt::Key_Return);
            QVERIFY(!dialog().isVisible());
        });
        runOn(QStringLiteral("link"), "HtmlSrcAnchor");
        QVERIFY(checked);
        const CharAttributes link = editor()->charAttributesAt(14);
        QCOMPARE(link.color, Anchors::kSrcAnchorColor);
        QVERIFY(link.underline);
        QCOMPARE(link.pitchAndFamily >> 2, 1);
        QCOMPARE(dialog().cancelTag(), 0);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
    }

    // Two anchors that read alike are still two lines: the second click chooses the line it
    // hits, not the first line with the same text.
    void clickSelectsALineAndASecondClickChoosesIt() {
        setText(QStringLiteral("same\nsame\nlink"));
        editor()->setSelection(0, 4);
        QVERIFY(trigger("HtmlDestAnchor"));
        editor()->setSelection(5, 4);
        QVERIFY(trigger("HtmlDestAnchor"));
        bool checked = false;
        whileModal([&] {
            RichEdit *list = dialog().AnchorEditor;
            QTextCursor second(list->document());
            second.setPosition(list->lineStart(1) + 1);
            const QPoint point = list->cursorRect(second).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, point);
            QCOMPARE(list->selStart(), list->lineStart(1));
            QCOMPARE(list->selLength(), 4);
            QVERIFY(dialog().isVisible());
            checked = true;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, point);
            QVERIFY(!dialog().isVisible());
        });
        runOn(QStringLiteral("link"), "HtmlSrcAnchor");
        QVERIFY(checked);
        QCOMPARE(editor()->charAttributesAt(10).pitchAndFamily >> 2, 1);
    }

    void emptyListAndCancelMarkNothing() {
        setText(QStringLiteral("link dest"));
        bool checked = false;
        whileModal([&] {
            QCOMPARE(dialog().AnchorEditor->lineCount(), 0);
            checked = true;
            QTest::mouseClick(dialog().AnchorOkButton, Qt::LeftButton);
        });
        runOn(QStringLiteral("link"), "HtmlSrcAnchor");
        QVERIFY(checked);
        QVERIFY(!editor()->charAttributesAt(0).underline);

        runOn(QStringLiteral("dest"), "HtmlDestAnchor");
        checked = false;
        whileModal([&] {
            checked = true;
            QTest::mouseClick(dialog().AnchorCancelButton, Qt::LeftButton);
        });
        runOn(QStringLiteral("link"), "HtmlSrcAnchor");
        QVERIFY(checked);
        QVERIFY(!editor()->charAttributesAt(0).underline);
        QCOMPARE(dialog().result(), TAnchorForm::Result::Cancelled);
        QCOMPARE(dialog().cancelTag(), 0);
    }

    void sourceCommandOnASourceAnchorRemovesIt() {
        setText(QStringLiteral("dest link"));
        runOn(QStringLiteral("dest"), "HtmlDestAnchor");
        editor()->setSelection(5, 4);
        anchors().MarkAnchor(0, Anchors::kSrcAnchorColor);
        bool opened = false;
        QObject context;
        QTimer::singleShot(0, &context, [&opened] {
            if (QWidget *open = qApp->activeModalWidget()) { // must not happen; never hang on it
                opened = true;
                open->close();
            }
        });
        editor()->setSelection(6, 2);
        QVERIFY(trigger("HtmlSrcAnchor"));
        QVERIFY(!opened);
        for (int i = 5; i < 9; ++i)
            QVERIFY(!editor()->charAttributesAt(i).underline);
        QVERIFY(editor()->charAttributesAt(0).underline); // the destination is another anchor
    }

private:
    Anchors &anchors() { return form->anchors(); }
    TAnchorForm &dialog() { return anchors().form(); }

    void setText(const QString &text) {
        editor()->setPlainText(text);
        anchors().ScanAnchors();
    }
    void markDest(const QStringList &words) {
        for (const QString &word : words)
            runOn(word, "HtmlDestAnchor");
    }
    // Selects `word` (its first occurrence) and runs the command as the user would.
    void runOn(const QString &word, const char *command) {
        const int at = int(editor()->toPlainText().indexOf(word));
        QVERIFY(at >= 0);
        editor()->setSelection(at, int(word.size()));
        QVERIFY(trigger(command));
    }
};

QTEST_MAIN(AnchorsTest)
#include "tst_anchors.moc"
