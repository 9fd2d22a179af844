#include "printjob/pagetests.h"
#include "printjob/previewclient.h"
#include "printjob/tcustomprintjob.h"
#include "printjob/tricheditprintjob.h"
#include "rtf/rtfreader.h"
#include "rtf/textformat.h"
#include "testsupport.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTextCursor>
#include <QtTest>

using namespace tessary;

namespace {
struct CountingPreview : PreviewClient {
    int updates = 0;
    void UpdatePreview() override { ++updates; }
};
} // namespace

class PrintJobTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::registerNotationFaces(); }

    void init() {
        sandbox = std::make_unique<test::Sandbox>();
        dialogs = sandbox->dialogs;
        auto fixed = std::make_unique<FixedPrinter>();
        printer = fixed.get();
        Services::setPrinter(std::move(fixed));
        edit = std::make_unique<RichEdit>();
        edit->resize(400, 300);
        rich = std::make_unique<TRichEditPrintJob>();
        rich->SetOptions(joMargins | joHeader | joFooter);
        rich->SetMargins({600, 600, 600, 600});
        rich->SetHeader(300);
        rich->SetFooter(300);
        rich->SetRichEdit(edit.get());
    }

    void cleanup() {
        rich.reset();
        edit.reset();
    }

    void convertUnitsRoundsPerTargetUnit_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<double>("base");
        QTest::addColumn<double>("expected");
        const int mm = unMillimeters, in = unInches, px = unPixels, pc = unPercents;
        QTest::newRow("millimetres to inches") << 25.4 << mm << in << 0.0 << 1.0;
        QTest::newRow("inch to pixels at 600") << 1.0 << in << px << 0.0 << 600.0;
        QTest::newRow("half of 4800 pixels") << 50.0 << pc << px << 4800.0 << 2400.0;
        QTest::newRow("half pixel down to even") << 10.5 << px << px << 0.0 << 10.0;
        QTest::newRow("half pixel up to even") << 11.5 << px << px << 0.0 << 12.0;
        QTest::newRow("pixels to millimetres, 2 decimals") << 100.0 << px << mm << 0.0 << 4.23;
        QTest::newRow("robustness: zero percent base") << 100.0 << px << pc << 0.0 << 0.0;
    }

    void convertUnitsRoundsPerTargetUnit() {
        QFETCH(double, value);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(double, base);
        TCustomPrintJob job;
        QTEST(job.ConvertUnits(value, TUnits(from), TUnits(to), false, base), "expected");
    }

    void bandsTakeTheirHeightFromTheMarginsRectangle_data() {
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("units");
        QTest::addColumn<double>("band");
        QTest::addColumn<QRect>("header");
        QTest::addColumn<QRect>("body");
        QTest::addColumn<QRect>("footer");
        const int all = joMargins | joHeader | joFooter;
        const int px = unPixels;
        // Margins 100 all round on 5100 x 6600: the margins rectangle is 4900 x 6400.
        // clang-format off
        QTest::newRow("header and footer in pixels") << all << px << 300.0 << QRect(100, 100, 4900, 300) << QRect(100, 400, 4900, 5800) << QRect(100, 6200, 4900, 300);
        QTest::newRow("bands in percent of the margins height") << all << int(unPercents) << 10.0 << QRect(100, 100, 4900, 640) << QRect(100, 740, 4900, 5120) << QRect(100, 5860, 4900, 640);
        QTest::newRow("no header: body at the top margin") << int(joMargins | joFooter) << px << 300.0 << QRect() << QRect(100, 100, 4900, 6100) << QRect(100, 6200, 4900, 300);
        QTest::newRow("no margins option: the whole sheet") << int(joHeader) << px << 300.0 << QRect(0, 0, 5100, 300) << QRect(0, 300, 5100, 6300) << QRect();
        // clang-format on
    }

    void bandsTakeTheirHeightFromTheMarginsRectangle() {
        QFETCH(int, options);
        QFETCH(int, units);
        QFETCH(double, band);
        TCustomPrintJob job;
        job.SetMargins({100, 100, 100, 100});
        job.SetOptions(TJobOptionsSet(options));
        job.SetHeaderUnits(TUnits(units));
        job.SetFooterUnits(TUnits(units));
        job.SetHeader(band);
        job.SetFooter(band);
        QTEST(job.GetHeaderRect(), "header");
        QTEST(job.GetBodyRect(), "body");
        QTEST(job.GetFooterRect(), "footer");
    }

    void marginsOutsideThePrintableAreaFollowTheMode_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<bool>("throws");
        QTest::addColumn<int>("questions");
        QTest::newRow("auto fix moves all four") << int(meAutoFix) << 0 << true << false << 0;
        QTest::newRow("message box answered no keeps them")
            << int(meMessageBox) << int(QMessageBox::No) << false << false << 1;
        QTest::newRow("exception changes nothing") << int(meException) << 0 << false << true << 0;
        QTest::newRow("none accepts them") << int(meNone) << 0 << false << false << 0;
    }

    void marginsOutsideThePrintableAreaFollowTheMode() {
        QFETCH(int, mode);
        QFETCH(int, answer);
        QFETCH(bool, fixed);
        QFETCH(bool, throws);
        TCustomPrintJob job;
        job.SetOptions(joMargins);
        job.SetMarginsError(meNone);
        const TMargins inside{200, 200, 200, 200};
        job.SetMargins(inside);
        job.SetMarginsError(TMarginsError(mode));
        dialogs->answers.enqueue(QMessageBox::StandardButton(answer));
        // The left margin alone is outside the 50-pixel border.
        const TMargins outside{0, 200, 200, 200};
        bool thrown = false;
        try {
            job.SetMargins(outside);
        } catch (const EPrintJobException &) {
            thrown = true;
        }
        QCOMPARE(thrown, throws);
        QTEST(int(dialogs->messages.size()), "questions");
        const TMargins expected = fixed ? TMargins{50, 50, 50, 50} : throws ? inside : outside;
        QVERIFY(job.Margins() == expected);
    }

    void runsFollowTheirRangeAndStopOnAbort() {
        TCustomPrintJob job;
        QList<int> pages;
        QList<QList<int>> progress;
        connect(&job, &TCustomPrintJob::OnStartPrintPage, this,
                [&](int page) { pages.append(page); });
        auto track =
            connect(&job, &TCustomPrintJob::OnPrintProgress, this, [&](int pos, int min, int max) {
                progress.append({pos, min, max});
            });
        job.PrintPages(3, 5, ppReverse);
        QCOMPARE(pages, (QList<int>{5, 4, 3}));
        QCOMPARE(progress, (QList<QList<int>>{{1, 1, 3}, {2, 1, 3}, {3, 1, 3}}));
        QCOMPARE(printer->documents(), 1);
        QCOMPARE(printer->pages().size(), 3);
        job.PrintPages(1, 2, ppPerPageDocument);
        QCOMPARE(printer->documents(), 3);
        // An abort from the progress handler stops before the next page, with no blank sheet.
        disconnect(track);
        auto abort =
            connect(&job, &TCustomPrintJob::OnPrintProgress, &job, &TCustomPrintJob::Abort);
        pages.clear();
        job.PrintPages(1, 4);
        QCOMPARE(pages, QList<int>{1});
        QCOMPARE(printer->pages().size(), 6);
        QVERIFY(!printer->printing());
        // The flag was cleared; the print dialog's range is printed.
        disconnect(abort);
        pages.clear();
        dialogs->printRanges.enqueue({2, 4});
        job.PrintDialog();
        QCOMPARE(pages, (QList<int>{2, 3, 4}));
    }

    void pageWidthFollowsThePrinterInDefaultMode() {
        TCustomPrintJob job;
        job.SetPageWidth(1234);
        QCOMPARE(job.PageWidth(), 5100.0);
        job.SetOrientation(orLandscape);
        QCOMPARE(job.PageWidth(), 6600.0);
        QCOMPARE(job.GetPageRect(), QRect(0, 0, 6600, 5100));
        job.SetPageMode(pmCustom);
        job.SetPageUnits(unInches);
        job.SetPageWidth(8.5);
        QCOMPARE(job.GetPageRect().width(), 5100);
    }

    void withoutPrinterThePageIsFixedAndViewsRest() {
        Services::setPrinter(std::make_unique<NoPrinter>());
        TCustomPrintJob job;
        CountingPreview view;
        job.AddPreview(&view);
        job.SetPageUnits(unInches);
        QCOMPARE(job.PageWidth(), 2000.0);
        QCOMPARE(job.GetPageRect(), QRect(0, 0, 2000, 3000));
        QCOMPARE(job.ConvertUnits(1, unInches, unPixels, true, 0), 300.0);
        job.SetMargins({0, 0, 0, 0});
        job.Refresh();
        QCOMPARE(view.updates, 0);
        job.PrintPages(1, 1); // nothing to print on, and no crash
    }

    void drawPageHandsPrinterRectanglesOnTheirOrigin() {
        TCustomPrintJob job;
        job.SetMargins({100, 100, 100, 100});
        job.SetOptions(joMargins | joHeader);
        job.SetHeader(200);
        QList<QPair<int, QRect>> areas;
        connect(&job, &TCustomPrintJob::OnDraw, this,
                [&](Canvas &, int, const QRect &r, TDrawArea a, TDrawTarget) {
                    areas.append({a, r});
                });
        QImage image(510, 660, QImage::Format_RGB32);
        QPainter painter(&image);
        job.DrawPage(painter, 1, dtPreview);
        job.DrawPage(painter, 1, dtPrinter);
        job.SetRelativeCoords(true);
        job.DrawPage(painter, 1, dtPreview);
        QCOMPARE(areas.size(), 6);
        QCOMPARE(areas[1], qMakePair(int(daBody), QRect(100, 300, 4900, 6200)));
        QCOMPARE(areas[3].second, QRect(50, 250, 4900, 6200));
        QCOMPARE(areas[5].second, QRect(0, 0, 4900, 6200));
        // The painter's origin is back where it was after each area.
        QCOMPARE(painter.transform(), QTransform());
    }

    void pagesCoverTheTextOnceAndInOrder_data() {
        QTest::addColumn<int>("paragraphs");
        QTest::addColumn<QStringList>("faces");
        QTest::addColumn<int>("minPages");
        QTest::newRow("empty document") << 0 << QStringList{"Arial"} << 1;
        QTest::newRow("long mixed document")
            << 400 << QStringList{"Times New Roman",       "Courier New Even",   "Courier New High",
                                  "Courier New Greek Low", "TessarySymbol Even", "Arial"}
            << 10;
    }

    void pagesCoverTheTextOnceAndInOrder() {
        QFETCH(int, paragraphs);
        QFETCH(QStringList, faces);
        QFETCH(int, minPages);
        test::fillLines(edit->document(), paragraphs, faces);
        QSignalSpy progress(rich.get(), &TRichEditPrintJob::OnUpdateProgress);
        rich->Refresh();
        const QList<TPageRange> &pages = rich->Pages();
        QCOMPARE(rich->PageCount(), pages.size());
        QVERIFY(pages.size() >= minPages);
        QCOMPARE(pages.first().StartPos, 0);
        QCOMPARE(pages.last().EndPos, edit->textLength());
        for (int i = 1; i < pages.size(); ++i) {
            QCOMPARE(pages[i].StartPos, pages[i - 1].EndPos);
            QVERIFY(pages[i].EndPos > pages[i].StartPos);
            // Pages break between lines, so a page begins at a paragraph's or a word's start.
            const QChar before = edit->charAt(pages[i].StartPos - 1);
            QVERIFY(before == QChar::ParagraphSeparator || before.isSpace());
        }
        QCOMPARE(progress.count(), 1 + (paragraphs ? pages.size() : 0));
        QCOMPARE(progress.last().at(2).toInt(), edit->textLength());
    }

    void textEndingAtAPageEndHasNoEmptyPage() {
        test::fillLines(edit->document(), 120, {"Arial"});
        rich->Refresh();
        QVERIFY(rich->PageCount() >= 2);
        // Cut the text right after the first page, then after a trailing paragraph break.
        const int firstPageEnd = rich->Pages().first().EndPos;
        QTextCursor c(edit->document());
        c.setPosition(firstPageEnd - 1);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        rich->Refresh();
        QCOMPARE(rich->Pages(), (QList<TPageRange>{{0, firstPageEnd - 1}}));
        c.movePosition(QTextCursor::End);
        c.insertBlock();
        rich->Refresh();
        QCOMPARE(rich->PageCount(), 1);
        QCOMPARE(rich->Pages().last().EndPos, edit->textLength());
    }

    void lineTallerThanTheBodyStandsAlone() {
        // A body of about a third of an inch at 600 pixels per inch.
        rich->SetHeader(2500);
        rich->SetFooter(2700);
        QCOMPARE(rich->GetBodyRect().height(), 200);
        QTextCursor c(edit->document());
        QTextCharFormat small, huge;
        small.setFontPointSize(10);
        huge.setFontPointSize(72);
        c.insertText(QStringLiteral("a"), small);
        c.insertBlock();
        c.insertText(QStringLiteral("HUGE"), huge);
        c.insertBlock();
        c.insertText(QStringLiteral("b"), small);
        rich->Refresh();
        QCOMPARE(rich->Pages(), (QList<TPageRange>{{0, 2}, {2, 7}, {7, 8}}));
    }

    void editsWaitForRefresh() {
        test::fillLines(edit->document(), 3, {"Arial"});
        rich->Refresh();
        test::fillLines(edit->document(), 200, {"Arial"});
        QCOMPARE(rich->PageCount(), 1);
        rich->Refresh();
        QVERIFY(rich->PageCount() > 1);
        // A job without a control has one page, drawn through OnDraw.
        rich->SetRichEdit(nullptr);
        QCOMPARE(rich->PageCount(), 1);
        QVERIFY(rich->Pages().isEmpty());
    }

    void pageIsDrawnInsideTheBodyOnAnyPainter() {
        test::fillLines(edit->document(), 80, {"Arial", "Courier New Even"});
        rich->Refresh();
        QVERIFY(rich->PageCount() >= 2);
        const QImage sheet =
            test::drawnPage({510, 660}, 0.1, [&](QPainter &p) { rich->DrawPage(p, 2, dtPreview); });
        QVERIFY(test::inkPixels(sheet) > 500);
        // Ink only inside the body, give or take a pixel of the drawing's rounding.
        QVERIFY(rich->GetBodyRect().adjusted(-20, -20, 20, 20).contains(test::inkBox(sheet, 0.1)));
    }

    // Indents and tab stops are kept in screen units; on the page they measure what they
    // say, whatever the screen's resolution.
    void indentsAndStopsPrintAtTheirTrueSize_data() {
        QTest::addColumn<QByteArray>("paragraph");
        QTest::addColumn<int>("sixteenths"); // of an inch from the sheet's edge
        QTest::newRow("no indent") << QByteArray("X") << 16;
        QTest::newRow("left indent") << QByteArray("\\li1440 X") << 32;
        QTest::newRow("first-line indent") << QByteArray("\\fi1440 X") << 32;
        QTest::newRow("two-inch indent") << QByteArray("\\li2880 X") << 48;
        QTest::newRow("tab stop") << QByteArray("\\tx2880\\tab X") << 48;
    }

    void indentsAndStopsPrintAtTheirTrueSize() {
        QFETCH(QByteArray, paragraph);
        for (const int screenDpi : {96, 120}) {
            setDocumentDpi(screenDpi);
            RichEdit paper;
            QTextCursor cursor(paper.document());
            RtfReader::read("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24\\pard " + paragraph +
                                "\\par}",
                            cursor);
            rich->SetRichEdit(&paper);
            const QImage sheet = test::drawnPage(
                {1275, 1650}, 0.25, [&](QPainter &p) { rich->DrawPage(p, 1, dtPreview); });
            QTEST(qRound(test::inkBox(sheet, 0.25).left() / 37.5), "sixteenths");
            rich->SetRichEdit(edit.get());
        }
        setDocumentDpi(96);
    }

    void printOutReadsBackPageByPage() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        Services::setPrinter(std::make_unique<SystemPrinter>(SystemPrinter::Kind::Pdf));
        test::fillLines(edit->document(), 150, {"Arial", "Courier New Even", "Courier New High"});
        rich->SetRichEdit(edit.get());
        QVERIFY(rich->PageCount() >= 3);
        const QString pdf = sandbox->dir.filePath(QStringLiteral("out.pdf"));
        sandbox->dialogs->fileNames.enqueue(pdf);
        rich->SetTitle(QStringLiteral("/docs/formulas.rtf"));
        rich->Print();
        QCOMPARE(sandbox->dialogs->startPaths, QStringList{"/docs/formulas.pdf"});
        for (int page = 1; page <= rich->PageCount(); ++page) {
            const QString number = QString::number(page);
            const QString text = test::pdfText(pdf, {"-f", number, "-l", number}).simplified();
            const TPageRange range = rich->Pages()[page - 1];
            // The page holds the paragraphs that start in its range, and no others.
            for (int line = 1; line <= 150; ++line) {
                const QString label = QStringLiteral("Line %1 ").arg(line);
                const int at = edit->document()->find(label).selectionStart();
                const bool here = at >= range.StartPos && at < range.EndPos;
                QVERIFY2(text.contains(label) == here, qPrintable(label + number));
            }
        }
    }

private:
    test::ScriptedDialogs *dialogs = nullptr;
    FixedPrinter *printer = nullptr;
    std::unique_ptr<test::Sandbox> sandbox;
    std::unique_ptr<RichEdit> edit;
    std::unique_ptr<TRichEditPrintJob> rich;
};

QTEST_MAIN(PrintJobTest)
#include "tst_printjob.moc"
