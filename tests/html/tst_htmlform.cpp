// Anchors and their dialog, and the export dialog with its report of incomplete links.
#include "app/batchexport.h"
#include "app/commandline.h"
#include "documents/documentfiles.h"
#include "html/anchors.h"
#include "html/tanchorform.h"
#include "html/thtmlform.h"
#include "windowtest.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>

using namespace tessary;

class HtmlFormTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(QSize(1280, 1024)); }
    void cleanup() { closeWindow(); }

    void proposalTakesTheDocumentsName_data() {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("earlier");
        QTest::addColumn<QString>("proposal");
        // clang-format off
        QTest::newRow("nominal: first use") << "/docs/notes.rtf" << "" << "/docs/notes.html";
        QTest::newRow("nominal: earlier page's folder") << "/docs/new.rtf" << "/web/old.html" << "/web/new.html";
        QTest::newRow("edge: dot in a folder name") << "/a.b/notes" << "" << "/a.b/notes.html";
        QTest::newRow("edge: several dots") << "/d/x.y.rtf" << "" << "/d/x.y.html";
        // clang-format on
    }

    void proposalTakesTheDocumentsName() {
        QFETCH(QString, document);
        QFETCH(QString, earlier);
        form->documentState().setSaved(document);
        dialog().HtmlFileName->setText(earlier);
        QTEST(dialog().proposedFileName(), "proposal");
    }

    void okWritesThePageAndOpensIt() {
        editor()->setPlainText(QStringLiteral("text"));
        form->documentState().setSaved(path("doc.rtf"));
        editor()->setSelection(1, 2);
        whileModal([this] {
            QCOMPARE(qApp->activeModalWidget(), &dialog());
            QCOMPARE(dialog().HtmlFileName->text(), path("doc.html"));
            QCOMPARE(dialog().focusWidget(), dialog().HtmlFileName);
            QTest::keyClicks(dialog().HtmlTitle, QStringLiteral("A <title>"));
            QTest::keyClick(dialog().HtmlTitle, Qt::Key_Return);
        });
        QVERIFY(trigger("HtmlGenerate"));
        QVERIFY(test::readFile(path("doc.html")).contains("<TITLE>A &lt;title&gt;</TITLE>"));
        QCOMPARE(sandbox->shell->opened, QList<QUrl>{QUrl::fromLocalFile(path("doc.html"))});
        QVERIFY(!dialog().isVisible());
        QVERIFY(!form->documentState().DocumentModified());
        QCOMPARE(selection(), qMakePair(1, 2));
    }

    void enterPressesTheFocusedButtonAndNothingFromTheKeywords() {
        editor()->setPlainText(QStringLiteral("text"));
        form->documentState().setSaved(path("doc.rtf"));
        bool stayed = false, closed = false;
        whileModal([&] {
            QTest::keyClick(dialog().HtmlKeywords, Qt::Key_Return);
            stayed = dialog().isVisible();
            dialog().HtmlCancelButton->setFocus();
            QTest::keyClick(dialog().HtmlCancelButton, Qt::Key_Return);
            closed = !dialog().isVisible();
        });
        QVERIFY(trigger("HtmlGenerate"));
        QVERIFY(stayed && closed);
        QVERIFY(!QFile::exists(path("doc.html")));
    }

    void reportListsIncompleteLinksByLine_data() {
        QTest::addColumn<std::function<void(TAnchorForm &)>>("answer");
        QTest::addColumn<bool>("opened");
        using Answer = std::function<void(TAnchorForm &)>;
        QTest::newRow("OK opens the page")
            << Answer([](TAnchorForm &r) { r.AnchorOkButton->click(); }) << true;
        QTest::newRow("Cancel does not")
            << Answer([](TAnchorForm &r) { r.AnchorCancelButton->click(); }) << false;
        QTest::newRow("the close box opens it")
            << Answer([](TAnchorForm &r) { QVERIFY(r.close()); }) << true;
        QTest::newRow("Escape and other keys do nothing, Enter is OK")
            << Answer([](TAnchorForm &r) {
                   QTest::keyClick(r.AnchorEditor, Qt::Key_Escape);
                   QTest::keyClick(r.AnchorEditor, Qt::Key_X);
                   QTest::keyClick(&r, Qt::Key_Escape);
                   QTest::keyClick(r.AnchorEditor, Qt::Key_Return);
               })
            << true;
    }

    // A source anchor without destination on lines 3 and 7, another incomplete one between.
    void reportListsIncompleteLinksByLine() {
        QFETCH(std::function<void(TAnchorForm &)>, answer);
        QFETCH(bool, opened);
        editor()->setPlainText(QStringLiteral("one\ntwo\n"));
        anchor(QStringLiteral("lost"), Anchors::kSrcAnchorColor, 5);
        anchor(QStringLiteral("alone"), Anchors::kDestAnchorColor, 6);
        editor()->replaceSelection(QStringLiteral("x\ny\n"));
        anchor(QStringLiteral("lost again"), Anchors::kSrcAnchorColor, 5);
        dialog().HtmlFileName->setText(path("page.html"));
        TAnchorForm &report = anchorForm();
        whileModal([&] {
            QCOMPARE(qApp->activeModalWidget(), &report);
            QCOMPARE(report.AnchorEditor->toPlainText(),
                     "Line 3: lost\nLine 4: alone\nLine 7: lost again");
            report.AnchorEditor->setSelection(8, 1);
            QCOMPARE(report.AnchorEditor->selAttributes().color, Anchors::kSrcAnchorColor);
            answer(report);
        });
        dialog().HtmlOkButtonClick();
        QVERIFY(QFile::exists(path("page.html")));
        QCOMPARE(sandbox->shell->opened.size(), opened ? 1 : 0);
        QCOMPARE(report.cancelTag(), opened ? 0 : 1);
    }

    void failureKeepsTheDialogOpen_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("robustness: missing folder") << "no/such/page.html" << "Cannot create file %1\n";
        QTest::newRow("robustness: the document itself") << "doc.rtf" << "%1 is the document itself";
        // clang-format on
    }

    void failureKeepsTheDialogOpen() {
        QFETCH(QString, target);
        QFETCH(QString, message);
        form->documentState().setSaved(writeFile("doc.rtf", ""));
        editor()->setPlainText(QStringLiteral("text"));
        dialog().show();
        dialog().HtmlFileName->setText(path(qPrintable(target)));
        dialog().HtmlOkButtonClick();
        QVERIFY(dialog().isVisible());
        QCOMPARE(sandbox->dialogs->messages.size(), 1);
        QVERIFY(sandbox->dialogs->messages.first().text.startsWith(
            message.arg(path(qPrintable(target)))));
        QVERIFY(sandbox->shell->opened.isEmpty());
        dialog().hide();
    }

    // The window fills a 1280x1024 screen as the batch command assumes; long paragraphs wrap.
    void dialogAndBatchCommandWriteTheSameBytes() {
        QByteArray body;
        for (int i = 0; i < 40; ++i)
            body += "Words that wrap somewhere on the line, {\\i italic} {\\b bold} \\tab tab " +
                    QByteArray::number(i) + (i % 5 ? " " : "\\par ");
        QVERIFY(form->documents().OpenChosenFile(
            writeFile("doc.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 " +
                                     body + "\\par\\qc centred\\par}")));
        dialog().HtmlFileName->setText(path("dialog.html"));
        dialog().HtmlOkButtonClick();
        QCOMPARE(ExportHtml(CommandLine::parse(
                     {QStringLiteral("--export-html"), path("doc.rtf"), path("batch.html")})),
                 0);
        const QByteArray page = test::readFile(path("dialog.html"));
        QVERIFY(page.count("<BR>") > 10);
        QCOMPARE(page, test::readFile(path("batch.html")));
    }

    void anchorFreeDocumentHandsOutZeroThenOne() {
        setText(QStringLiteral("alpha beta"));
        // Pitch bits set beforehand must survive the marking.
        editor()->setRangeAttributes(6, 4, {.pitchAndFamily = 2}, CharAttributes::Pitch);
        markDest({"alpha", "beta"});
        const CharAttributes beta = editor()->charAttributesAt(9);
        QVERIFY(beta.color == Anchors::kDestAnchorColor && beta.underline);
        QCOMPARE(beta.pitchAndFamily, 4 * 1 + 2);
        QCOMPARE(editor()->charAttributesAt(0).pitchAndFamily, 0);
        QVERIFY(!editor()->charAttributesAt(5).underline);
        QVERIFY(!anchors().FreeAnchors[0] && !anchors().FreeAnchors[1] && anchors().FreeAnchors[2]);
    }

    // Anchors side by side are two anchors in the page, so the tables, the list and the
    // report tell them apart: the link to the second works and only the first is reported.
    void neighbouringAnchorsKeepTheirOwnNumbers() {
        setText(QStringLiteral("threefour, see it"));
        markDest({"three", "four"});
        editor()->setSelection(15, 2);
        anchors().MarkAnchor(1, Anchors::kSrcAnchorColor);
        anchors().ScanAnchors();
        QVERIFY(anchors().DestAnchors[0] && anchors().DestAnchors[1] && anchors().SrcAnchors[1]);
        QVERIFY(!anchors().FreeAnchors[1]);
        anchors().GrabDestAnchors();
        QCOMPARE(anchorForm().AnchorEditor->toPlainText(), "three\nfour");
        QCOMPARE(anchors().listedCount(), 2);

        dialog().HtmlFileName->setText(path("page.html"));
        QString report;
        whileModal([&] {
            report = anchorForm().AnchorEditor->toPlainText();
            anchorForm().AnchorOkButton->click();
        });
        dialog().HtmlOkButtonClick();
        QCOMPARE(report, "Line 1: three");
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
        const QString listed = anchorForm().AnchorEditor->toPlainText();
        QCOMPARE(listed, QStringLiteral("src\nfirst\n") + longAnchor);
        QCOMPARE(anchors().listedCount(), 3);
        QVERIFY(anchors().SrcAnchors[1]);
        QVERIFY(!anchors().DestAnchors[2] && anchors().FreeAnchors[2]); // "third" is a source now
        // The list keeps each anchor's format, number included.
        anchorForm().AnchorEditor->setSelection(int(listed.indexOf(QStringLiteral("seven"))), 1);
        QCOMPARE(Anchors::AnchorNumberOf(anchorForm().AnchorEditor), 1);
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
        QString words;
        for (int i = 0; i < 65; ++i)
            words += QStringLiteral("w%1 ").arg(i, 2, 10, QLatin1Char('0'));
        setText(words);
        for (int i = 0; i < 64; ++i) {
            editor()->setSelection(3 * i, 3);
            anchors().HtmlDestAnchorExecute();
        }
        runOn(QStringLiteral("w64"), "HtmlDestAnchor");
        QCOMPARE(sandbox->dialogs->messages.size(), 1);
        QCOMPARE(sandbox->dialogs->messages.first().text, "Too many destination anchors");
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
        QCOMPARE(editor()->toPlainText(), "target and link");
        QCOMPARE(editor()->charAttributesAt(2).pitchAndFamily, 4 * 1 + 1);
        QCOMPARE(editor()->charAttributesAt(8).pitchAndFamily, 4 * 0 + 1);
        QCOMPARE(editor()->charAttributesAt(12).color, Anchors::kSrcAnchorColor);
        QVERIFY(anchors().DestAnchors[0] && anchors().DestAnchors[1] && anchors().SrcAnchors[1]);
        QCOMPARE(anchors().NewDestAnchorNumber(), 2);
    }

    // Two anchors that read alike are still two lines: the chosen line gives its own number.
    void chosenLineGivesTheSourceItsNumber() {
        setText(QStringLiteral("same same link"));
        for (int at : {0, 5}) {
            editor()->setSelection(at, 4);
            QVERIFY(trigger("HtmlDestAnchor"));
        }
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        bool checked = false;
        whileModal([&] {
            RichEdit *list = anchorForm().AnchorEditor;
            QVERIFY(!anchorForm().reportMode());
            QCOMPARE(list->selStart(), 0);
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Down); // already on the last line
            QTest::keyClick(list, Qt::Key_X);    // typing is discarded
            QCOMPARE(list->toPlainText(), "same\nsame");
            QCOMPARE(list->selStart(), list->lineStart(1));
            checked = true;
            QTest::keyClick(list, Qt::Key_Return);
        });
        runOn(QStringLiteral("link"), "HtmlSrcAnchor");
        QVERIFY(checked);
        QCOMPARE(editor()->charAttributesAt(11).color, Anchors::kSrcAnchorColor);
        QCOMPARE(editor()->charAttributesAt(11).pitchAndFamily >> 2, 1);
        QCOMPARE(anchorForm().cancelTag(), 0);
        QCOMPARE(QApplication::clipboard()->text(), "kept");
    }

private:
    Anchors &anchors() { return form->anchors(); }
    TAnchorForm &anchorForm() { return anchors().form(); }

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
    THtmlForm &dialog() { return form->htmlForm(); }
    QString path(const char *name) { return sandbox->dir.filePath(QString::fromLatin1(name)); }

    void anchor(const QString &text, quint32 color, int number) {
        CharAttributes a{.color = color, .underline = true, .pitchAndFamily = 4 * number};
        editor()->setSelection(editor()->textLength(), 0);
        editor()->replaceSelection(
            text, a, CharAttributes::Color | CharAttributes::Underline | CharAttributes::Pitch);
        a.color = 0;
        a.underline = false;
        editor()->replaceSelection(QStringLiteral("\n"), a,
                                   CharAttributes::Color | CharAttributes::Underline);
    }
};

QTEST_MAIN(HtmlFormTest)
#include "tst_htmlform.moc"
