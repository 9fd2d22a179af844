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
#include "testsupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>

using namespace tessary;

class HtmlFormTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        sandbox = std::make_unique<test::Sandbox>();
        form = std::make_unique<TMainForm>();
        form->setGeometry(0, 0, 1280, 1024);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void cleanup() {
        modalContext.reset();
        form->documentState().setDocumentModified(false);
        form.reset();
        sandbox.reset();
    }

    void proposalTakesTheDocumentsName_data() {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("earlier");
        QTest::addColumn<QString>("proposal");
        QTest::newRow("nominal: first use") << "/docs/notes.rtf"
                                            << ""
                                            << "/docs/notes.html";
        QTest::newRow("nominal: earlier page's folder") << "/docs/new.rtf"
                                                        << "/web/old.html"
                                                        << "/web/new.html";
        QTest::newRow("edge: no extension") << "/docs/notes"
                                            << ""
                                            << "/docs/notes.html";
        QTest::newRow("edge: dot in a folder name") << "/a.b/notes"
                                                    << ""
                                                    << "/a.b/notes.html";
        QTest::newRow("edge: several dots") << "/d/x.y.rtf"
                                            << ""
                                            << "/d/x.y.html";
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
            QCOMPARE(dialog().windowTitle(), QStringLiteral("  Generate Html"));
            QCOMPARE(dialog().HtmlFileName->text(), path("doc.html"));
            QCOMPARE(dialog().focusWidget(), dialog().HtmlFileName);
            QTest::keyClicks(dialog().HtmlTitle, QStringLiteral("A <title>"));
            QTest::keyClick(dialog().HtmlTitle, Qt::Key_Return);
        });
        form->commands().ActionListUpdate();
        QVERIFY(form->action(QStringLiteral("HtmlGenerate"))->isEnabled());
        form->action(QStringLiteral("HtmlGenerate"))->trigger();
        QFile page(path("doc.html"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().contains("<TITLE>A &lt;title&gt;</TITLE>"));
        QCOMPARE(sandbox->shell->opened, QList<QUrl>{QUrl::fromLocalFile(path("doc.html"))});
        QVERIFY(!dialog().isVisible());
        QVERIFY(!form->documentState().DocumentModified());
        QCOMPARE(editor()->selStart(), 1);
        QCOMPARE(editor()->selLength(), 2);
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
            QCOMPARE(report.windowTitle(), QStringLiteral("  Incomplete Html links"));
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
        const QString doc = path("doc.rtf");
        QFile file(doc);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        form->documentState().setSaved(doc);
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
        QFile rtf(path("doc.rtf"));
        QVERIFY(rtf.open(QIODevice::WriteOnly));
        QByteArray body;
        for (int i = 0; i < 40; ++i)
            body += "Words that wrap somewhere on the line, {\\i italic} {\\b bold} \\tab tab " +
                    QByteArray::number(i) + (i % 5 ? " " : "\\par ");
        rtf.write("{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 " + body +
                  "\\par\\qc centred\\par}");
        rtf.close();
        QVERIFY(form->documents().OpenChosenFile(path("doc.rtf")));
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
    RichEdit *editor() { return form->editor(); }
    QString path(const char *name) { return sandbox->dir.filePath(QString::fromLatin1(name)); }

    void anchor(const QString &text, quint32 color, int number) {
        CharAttributes a;
        a.color = color;
        a.underline = true;
        a.pitchAndFamily = 4 * number;
        editor()->setSelection(editor()->textLength(), 0);
        editor()->replaceSelection(
            text, a, CharAttributes::Color | CharAttributes::Underline | CharAttributes::Pitch);
        a.color = 0;
        a.underline = false;
        editor()->replaceSelection(QStringLiteral("\n"), a,
                                   CharAttributes::Color | CharAttributes::Underline);
    }
    // Runs `check` once a modal dialog is up, then closes whatever is still open.

    void whileModal(std::function<void()> check) {
        modalContext = std::make_unique<QObject>();
        QTimer::singleShot(0, modalContext.get(), [check] {
            [&] {
                QTRY_VERIFY(qApp->activeModalWidget());
                check();
            }();
            if (QWidget *open = qApp->activeModalWidget())
                open->close();
        });
    }
    std::unique_ptr<test::Sandbox> sandbox;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<QObject> modalContext;
};

QTEST_MAIN(HtmlFormTest)
#include "tst_htmlform.moc"
