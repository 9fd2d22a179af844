#include "app/batchexport.h"
#include "app/commandline.h"
#include "app/tmainform.h"
#include "documents/documentfiles.h"
#include "editor/commandstate.h"
#include "html/anchors.h"
#include "html/tanchorform.h"
#include "html/thtmlform.h"
#include "platform/documentstate.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>

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
        QTest::newRow("nominal: earlier page's folder") << "/docs/new.rtf"
                                                        << "/web/old.html"
                                                        << "/web/new.html";
        QTest::newRow("edge: no extension") << "/docs/notes" << "" << "/docs/notes.html";
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
        QFile page(path("doc.html"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().contains("<TITLE>A &lt;title&gt;</TITLE>"));
        QCOMPARE(sandbox->shell->opened, QList<QUrl>{QUrl::fromLocalFile(path("doc.html"))});
        QVERIFY(!dialog().isVisible());
        QVERIFY(!form->documentState().DocumentModified());
        QCOMPARE(selection(), qMakePair(1, 2));
    }

    void reportListsIncompleteLinksByLine_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("OK opens the page") << false;
        QTest::newRow("Cancel does not") << true;
    }

    // A source anchor without destination on lines 3 and 7, another incomplete one between.
    void reportListsIncompleteLinksByLine() {
        QFETCH(bool, cancel);
        editor()->setPlainText(QStringLiteral("one\ntwo\n"));
        anchor(QStringLiteral("lost"), Anchors::kSrcAnchorColor, 5);
        anchor(QStringLiteral("alone"), Anchors::kDestAnchorColor, 6);
        editor()->replaceSelection(QStringLiteral("x\ny\n"));
        anchor(QStringLiteral("lost again"), Anchors::kSrcAnchorColor, 5);
        dialog().HtmlFileName->setText(path("page.html"));
        TAnchorForm &report = form->anchors().form();
        whileModal([&] {
            QCOMPARE(qApp->activeModalWidget(), &report);
            QCOMPARE(report.AnchorEditor->toPlainText(),
                     QStringLiteral("Line 3: lost\nLine 4: alone\nLine 7: lost again"));
            report.AnchorEditor->setSelection(8, 1);
            QCOMPARE(report.AnchorEditor->selAttributes().color, Anchors::kSrcAnchorColor);
            (cancel ? report.AnchorCancelButton : report.AnchorOkButton)->click();
        });
        dialog().HtmlOkButtonClick();
        QVERIFY(QFile::exists(path("page.html")));
        QCOMPARE(sandbox->shell->opened.size(), cancel ? 0 : 1);
    }

    void failureKeepsTheDialogOpen_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("robustness: missing folder") << "no/such/page.html"
                                                    << "Cannot create file %1\n";
        QTest::newRow("robustness: the document itself") << "doc.rtf"
                                                         << "%1 is the document itself";
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
        QVERIFY2(sandbox->dialogs->messages.first().text.startsWith(
                     message.arg(path(qPrintable(target)))),
                 qPrintable(sandbox->dialogs->messages.first().text));
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
        QFile fromDialog(path("dialog.html")), fromBatch(path("batch.html"));
        QVERIFY(fromDialog.open(QIODevice::ReadOnly) && fromBatch.open(QIODevice::ReadOnly));
        const QByteArray page = fromDialog.readAll();
        QVERIFY(page.count("<BR>") > 10);
        QCOMPARE(page, fromBatch.readAll());
    }

private:
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
