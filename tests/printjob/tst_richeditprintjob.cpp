#include "platform/fontregistry.h"
#include "printjob/tricheditprintjob.h"
#include "testsupport.h"

#include <QPainter>
#include <QPicture>
#include <QProcess>
#include <QStandardPaths>
#include <QTextCursor>
#include <QtTest>

using namespace tessary;

class RichEditPrintJobTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::registerNotationFaces(); }

    void init() {
        sandbox = std::make_unique<test::Sandbox>();
        Services::setPrinter(std::make_unique<FixedPrinter>());
        edit = new RichEdit;
        edit->resize(400, 300);
        job = std::make_unique<TRichEditPrintJob>();
        job->SetOptions(joMargins | joHeader | joFooter);
        job->SetMargins({600, 600, 600, 600});
        job->SetHeader(300);
        job->SetFooter(300);
        job->SetRichEdit(edit);
    }

    void cleanup() {
        job.reset();
        delete edit;
    }

    void pagesCoverTheTextOnceAndInOrder_data() {
        QTest::addColumn<int>("paragraphs");
        QTest::addColumn<QStringList>("faces");
        QTest::addColumn<int>("minPages");
        QTest::newRow("empty document") << 0 << QStringList{"Arial"} << 1;
        QTest::newRow("one short page") << 3 << QStringList{"Arial"} << 1;
        QTest::newRow("long mixed document")
            << 400 << QStringList{"Times New Roman",       "Courier New Even",   "Courier New High",
                                  "Courier New Greek Low", "TessarySymbol Even", "Arial"}
            << 10;
    }

    void pagesCoverTheTextOnceAndInOrder() {
        QFETCH(int, paragraphs);
        QFETCH(QStringList, faces);
        QFETCH(int, minPages);
        fill(paragraphs, faces);
        QSignalSpy progress(job.get(), &TRichEditPrintJob::OnUpdateProgress);
        job->Refresh();
        const QList<TPageRange> &pages = job->Pages();
        QCOMPARE(job->PageCount(), pages.size());
        QVERIFY(pages.size() >= minPages);
        QCOMPARE(pages.first().StartPos, 0);
        QCOMPARE(pages.last().EndPos, edit->textLength());
        for (int i = 1; i < pages.size(); ++i) {
            QCOMPARE(pages[i].StartPos, pages[i - 1].EndPos);
            QVERIFY(pages[i].EndPos > pages[i].StartPos);
            // Pages break between lines, so a page begins at a paragraph's or a word's start.
            const QChar before = edit->charAt(pages[i].StartPos - 1);
            QVERIFY2(before == QChar::ParagraphSeparator || before.isSpace(),
                     qPrintable(QString::number(pages[i].StartPos)));
        }
        QCOMPARE(progress.count(), 1 + (paragraphs ? pages.size() : 0));
        QCOMPARE(progress.last().at(2).toInt(), edit->textLength());
    }

    void textEndingAtAPageEndHasNoEmptyPage() {
        fill(120, {"Arial"});
        job->Refresh();
        QVERIFY(job->PageCount() >= 2);
        // Cut the text right after the first page, then after a trailing paragraph break.
        const int firstPageEnd = job->Pages().first().EndPos;
        QTextCursor c(edit->document());
        c.setPosition(firstPageEnd - 1);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        job->Refresh();
        QCOMPARE(job->Pages(), (QList<TPageRange>{{0, firstPageEnd - 1}}));
        c.movePosition(QTextCursor::End);
        c.insertBlock();
        job->Refresh();
        QCOMPARE(job->PageCount(), 1);
        QCOMPARE(job->Pages().last().EndPos, edit->textLength());
    }

    void lineTallerThanTheBodyStandsAlone() {
        // A body of about a third of an inch at 600 pixels per inch.
        job->SetHeader(2500);
        job->SetFooter(2700);
        QCOMPARE(job->GetBodyRect().height(), 200);
        QTextCursor c(edit->document());
        QTextCharFormat small, huge;
        small.setFontPointSize(10);
        huge.setFontPointSize(72);
        c.insertText(QStringLiteral("a"), small);
        c.insertBlock();
        c.insertText(QStringLiteral("HUGE"), huge);
        c.insertBlock();
        c.insertText(QStringLiteral("b"), small);
        job->Refresh();
        QCOMPARE(job->Pages(), (QList<TPageRange>{{0, 2}, {2, 7}, {7, 8}}));
    }

    void editsWaitForRefresh() {
        fill(3, {"Arial"});
        job->Refresh();
        fill(200, {"Arial"});
        QCOMPARE(job->PageCount(), 1);
        job->Refresh();
        QVERIFY(job->PageCount() > 1);
        // A job without a control has one page, drawn through OnDraw.
        job->SetRichEdit(nullptr);
        QCOMPARE(job->PageCount(), 1);
        QVERIFY(job->Pages().isEmpty());
    }

    void pageIsDrawnInsideTheBodyOnAnyPainter() {
        fill(80, {"Arial", "Courier New Even"});
        job->Refresh();
        QVERIFY(job->PageCount() >= 2);
        QPicture picture;
        QPainter recorder(&picture);
        job->DrawPage(recorder, 2, dtPreview);
        recorder.end();
        // Replay at a tenth of the printer's resolution.
        QImage sheet(510, 660, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        painter.scale(0.1, 0.1);
        painter.drawPicture(0, 0, picture);
        painter.end();
        // Ink only inside the body, give or take a pixel of the replay's rounding.
        const QRect r = job->GetBodyRect();
        const QRect body(r.x() / 10 - 2, r.y() / 10 - 2, r.width() / 10 + 4, r.height() / 10 + 4);
        int inside = 0, outside = 0;
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x)
                if (qGray(sheet.pixel(x, y)) < 128)
                    ++(body.contains(x, y) ? inside : outside);
        QVERIFY(inside > 500);
        QCOMPARE(outside, 0);
    }

    void printOutReadsBackPageByPage() {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        Services::setPrinter(std::make_unique<SystemPrinter>(SystemPrinter::Kind::Pdf));
        fill(150, {"Arial", "Courier New Even", "Courier New High"});
        job->SetRichEdit(edit);
        QVERIFY(job->PageCount() >= 3);
        const QString pdf = sandbox->dir.filePath(QStringLiteral("out.pdf"));
        sandbox->dialogs->fileNames.enqueue(pdf);
        job->SetTitle(QStringLiteral("/docs/formulas.rtf"));
        job->Print();
        QCOMPARE(sandbox->dialogs->startPaths, QStringList{"/docs/formulas.pdf"});
        for (int page = 1; page <= job->PageCount(); ++page) {
            QProcess p;
            p.start(pdftotext,
                    {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
            QVERIFY(p.waitForFinished());
            const QString text = QString::fromUtf8(p.readAllStandardOutput()).simplified();
            const TPageRange range = job->Pages()[page - 1];
            // The page holds the paragraphs that start in its range, and no others.
            for (int line = 1; line <= 150; ++line) {
                const QString label = QStringLiteral("Line %1 ").arg(line);
                const int at = edit->document()->find(label).selectionStart();
                const bool here = at >= range.StartPos && at < range.EndPos;
                QVERIFY2(text.contains(label) == here,
                         qPrintable(label + " on page " + QString::number(page)));
            }
        }
    }

private:
    // Paragraphs "Line 1 ..." to "Line n ..." set in faces of the given list, in turn.

    void fill(int paragraphs, const QStringList &faces) {
        QTextCursor c(edit->document());
        for (int i = 1; i <= paragraphs; ++i) {
            QTextCharFormat f;
            f.setFontFamilies({faces.at(i % faces.size())});
            f.setFontPointSize(12 + i % 3);
            if (i > 1)
                c.insertBlock();
            c.insertText(QStringLiteral("Line %1 ").arg(i), f);
            f.setFontFamilies({faces.at((i + 1) % faces.size())});
            c.insertText(QStringLiteral("x2 + y2 = z2, with words enough to wrap now and then %1")
                             .arg(QString(i % 5, QLatin1Char('w'))),
                         f);
        }
    }
    std::unique_ptr<test::Sandbox> sandbox;
    RichEdit *edit = nullptr;
    std::unique_ptr<TRichEditPrintJob> job;
};

QTEST_MAIN(RichEditPrintJobTest)
#include "tst_richeditprintjob.moc"
