#include "preview/tpreview.h"
#include "preview/tpreviewcombobox.h"
#include "preview/tpreviewwindow.h"
#include "printjob/pagetests.h"
#include "printjob/tricheditprintjob.h"
#include "testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextCursor>
#include <QToolButton>
#include <QtTest>

using namespace tessary;

namespace {
// A job of any number of pages that counts its page drawings; each page's body carries a
// black square so that a replayed page shows ink.
class CountingJob : public TCustomPrintJob {
public:
    using TCustomPrintJob::DrawPage;
    int draws = 0;
    void setPages(int pages) { SetPageCount(pages); }
    void DrawPage(Canvas &canvas, int PageIndex, TDrawTarget Target) override {
        ++draws;
        TCustomPrintJob::DrawPage(canvas, PageIndex, Target);
    }

protected:
    void DoDraw(Canvas &canvas, int, const QRect &TheRect, TDrawArea, TDrawTarget) override {
        canvas.painter().fillRect(QRect(TheRect.topLeft() + QPoint(600, 600), QSize(1200, 1200)),
                                  Qt::black);
    }
};

// Print dialogs that, as the desktop's does for a PDF printer, let the user pick the file.
struct FilePickingDialogs : test::ScriptedDialogs {
    QString pickedFile;
    bool printDialog(QWidget *, QPrinter *printer, PrintRange &) override {
        printer->setOutputFileName(pickedFile);
        return true;
    }
};

// Pixels of `a` that no pixel of `b` within one pixel matches (grey levels closer than
// half the range): the two rasterisers may round a glyph's edge to either neighbour.
int unmatchedPixels(const QImage &a, const QImage &b) {
    int count = 0;
    for (int y = 1; y < a.height() - 1; ++y)
        for (int x = 1; x < a.width() - 1; ++x) {
            const int g = qGray(a.pixel(x, y));
            bool matched = false;
            for (int dy = -1; dy <= 1 && !matched; ++dy)
                for (int dx = -1; dx <= 1 && !matched; ++dx)
                    matched = qAbs(g - qGray(b.pixel(x + dx, y + dy))) <= 128;
            count += !matched;
        }
    return count;
}
} // namespace

class PreviewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::registerNotationFaces(); }

    void init() {
        sandbox = std::make_unique<test::Sandbox>(1280, 96);
        auto fixed = std::make_unique<FixedPrinter>();
        printer = fixed.get();
        Services::setPrinter(std::move(fixed));
        job = std::make_unique<CountingJob>();
        job->setPages(7);
        preview = std::make_unique<TPreview>();
        preview->resize(400, 500);
        preview->show();
        QVERIFY(QTest::qWaitForWindowExposed(preview.get()));
        preview->SetPrintJob(job.get());
        window = std::make_unique<TPreviewWindow>();
        window->SetPrintJob(job.get());
        window->SetWindowWidth(700);
        window->SetWindowHeight(600);
    }

    void cleanup() {
        window.reset();
        preview.reset();
        job.reset();
    }

    void viewScaleIsClampedAndTakenOnlyInCustomMode_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("expected"); // 0: the scale before the write
        QTest::newRow("custom below the limit") << int(vmCustom) << 5 << 10;
        QTest::newRow("custom above the limit") << int(vmCustom) << 5000 << 1000;
        QTest::newRow("whole page ignores it") << int(vmWholePage) << 300 << 0;
    }

    void viewScaleIsClampedAndTakenOnlyInCustomMode() {
        QFETCH(int, mode);
        QFETCH(int, written);
        QFETCH(int, expected);
        preview->SetViewMode(TViewMode(mode));
        const int before = preview->ViewScale();
        preview->SetViewScale(written);
        QCOMPARE(preview->ViewScale(), expected ? expected : before);
        QCOMPARE(preview->ViewMode(), TViewMode(mode));
    }

    void zoomStepsSwitchToCustomMode_data() {
        QTest::addColumn<int>("customScale"); // 0: start in whole-page mode
        QTest::addColumn<bool>("zoomIn");
        QTest::addColumn<int>("expected");
        QTest::newRow("in at the top stays") << 1000 << true << 1000;
        QTest::newRow("in between steps") << 120 << true << 150;
        QTest::newRow("out between steps") << 120 << false << 100;
        QTest::newRow("in from a step") << 100 << true << 150;
        QTest::newRow("out from a step") << 100 << false << 75;
        // 400 x 500 pixels at 96 dpi hold a Letter sheet at 44 %.
        QTest::newRow("in from whole page") << 0 << true << 50;
    }

    void zoomStepsSwitchToCustomMode() {
        QFETCH(int, customScale);
        QFETCH(bool, zoomIn);
        if (customScale) {
            preview->SetViewMode(vmCustom);
            preview->SetViewScale(customScale);
        }
        zoomIn ? preview->ZoomIn() : preview->ZoomOut();
        QCOMPARE(preview->ViewMode(), vmCustom);
        QTEST(preview->ViewScale(), "expected");
    }

    void pageDownAtTheBottomTurnsThePage_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("expectedPage");
        QTest::newRow("last page stays at its bottom") << 7 << 7;
        QTest::newRow("earlier page turns to the next") << 3 << 4;
    }

    void pageDownAtTheBottomTurnsThePage() {
        QFETCH(int, page);
        QFETCH(int, expectedPage);
        preview->SetViewMode(vmCustom);
        preview->SetViewScale(100);
        preview->SetPageIndex(page);
        QScrollBar *v = preview->ScrollBox()->verticalScrollBar();
        press(Qt::Key_End, Qt::ControlModifier);
        QVERIFY(v->maximum() > 0);
        QCOMPARE(v->value(), v->maximum());
        const int bottom = v->value();
        press(Qt::Key_PageDown);
        QCOMPARE(preview->PageIndex(), expectedPage);
        QCOMPARE(v->value(), expectedPage == page ? bottom : 0);
    }

    void everyPageWriteFiresOnPageChanged_data() {
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("expected");
        QTest::newRow("the current page again") << 1 << 1;
        QTest::newRow("beyond the last") << 99 << 7;
        QTest::newRow("below the first") << 0 << 1;
    }

    void everyPageWriteFiresOnPageChanged() {
        QFETCH(int, written);
        QFETCH(int, expected);
        QSignalSpy changed(preview.get(), &TCustomPreview::OnPageChanged);
        preview->SetPageIndex(written);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(preview->PageIndex(), expected);
        // Repagination to fewer pages brings the page within them.
        job->setPages(3);
        QCOMPARE(preview->PageText(), QStringLiteral("Page %1 of 3").arg(qMin(3, expected)));
    }

    void narrowControlKeepsTheGapAndScrolls() {
        preview->resize(300, 500);
        preview->SetViewMode(vmCustom);
        preview->SetViewScale(100);
        TDrawPanel *panel = preview->DrawPanel();
        QScrollBar *h = preview->ScrollBox()->horizontalScrollBar();
        // Letter at 600 dpi shown at 96 dpi is 816 pixels wide, plus shadow and frame.
        QCOMPARE(panel->width(), 816 + 8 + 2);
        QCOMPARE(panel->x(), 8);
        QCOMPARE(h->maximum(), panel->width() + 16 - preview->ScrollBox()->viewport()->width());
        press(Qt::Key_Right);
        QCOMPARE(panel->x(), 0);
        press(Qt::Key_End);
        QCOMPARE(panel->x() + panel->width() + 8, preview->ScrollBox()->viewport()->width());
    }

    void paintingOnlyReplaysTheRecordedPage() {
        preview->SetViewMode(vmCustom);
        preview->SetViewScale(50);
        const int draws = job->draws;
        QVERIFY(draws > 0);
        const QImage before = preview->DrawPanel()->grab().toImage();
        QVERIFY(test::inkPixels(before, 40) > 5000); // the square, not just frame and shadow
        press(Qt::Key_PageDown);
        press(Qt::Key_Down);
        press(Qt::Key_Home, Qt::ControlModifier);
        preview->DrawPanel()->repaint();
        QCOMPARE(preview->DrawPanel()->grab().toImage(), before);
        QCOMPARE(job->draws, draws);
    }

    // Page 1 of a formula document, recorded for the preview and printed to PDF, rendered to
    // images of one size. Text is laid out for the printer in both, so they may differ only
    // where the rasterisers smooth edges differently.
    void previewShowsThePrintedPage() {
        RichEdit edit;
        test::fillLines(edit.document(), 40,
                        {"Times New Roman", "Courier New Even", "Courier New High",
                         "Courier New Greek Even", "TessarySymbol Even"});
        const auto [printed, shown] = printedAndShown(edit, 100);
        if (printed.isNull())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        const int ink = test::inkPixels(shown);
        const int differing = unmatchedPixels(shown, printed) + unmatchedPixels(printed, shown);
        if (qEnvironmentVariableIsSet("TESSARY_PREVIEW_DIFF"))
            qInfo("ink %d, unmatched %d", ink, differing);
        QVERIFY(ink > 2000 && differing * 100 < ink);
    }

    // A notation face has no bold design, so bold is made up: the PDF overstrikes it, while
    // the screen's text engine emboldens only the smaller sizes itself. The preview shows a
    // bold line as much heavier than a regular one as the printed page does, at any size.
    void boldNotationWeighsAsPrinted_data() {
        QTest::addColumn<int>("size");
        for (int size : {6, 11, 24})
            QTest::addRow("%d pt", size) << size;
    }

    void boldNotationWeighsAsPrinted() {
        QFETCH(int, size);
        RichEdit edit;
        const QString letters = QStringLiteral("abcdhkmwxz");
        edit.replaceRange(0, 0, letters + '\n' + letters,
                          {.face = QStringLiteral("Courier New Even"), .size = size},
                          CharAttributes::All);
        edit.replaceRange(11, 10, letters,
                          {.face = QStringLiteral("Courier New Even"), .size = size, .bold = true},
                          CharAttributes::All);
        const auto [printed, shown] = printedAndShown(edit, 150);
        if (printed.isNull())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        const auto boldOverRegular = [](const QImage &page) {
            const QList<qint64> ink = lineInk(page);
            return ink.size() == 2 ? double(ink[1]) / ink[0] : 0.0;
        };
        const double print = boldOverRegular(printed), preview = boldOverRegular(shown);
        QVERIFY2(print > 1.05 && qAbs(preview - print) < 0.03 * print,
                 qPrintable(QStringLiteral("printed %1, shown %2").arg(print).arg(preview)));
    }

    void toolbarFollowsThePreview_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QList<int>>("disabled");
        QTest::newRow("first page") << 1 << 100 << QList<int>{btnFirstPage, btnPrevPage};
        QTest::newRow("last page at the top scale")
            << 7 << 1000 << QList<int>{btnNextPage, btnLastPage, btnZoomIn};
        QTest::newRow("middle page at the bottom scale") << 4 << 10 << QList<int>{btnZoomOut};
    }

    void toolbarFollowsThePreview() {
        QFETCH(int, page);
        QFETCH(int, scale);
        QFETCH(QList<int>, disabled);
        QVERIFY(showWindow());
        form->Preview()->SetViewMode(vmCustom);
        form->Preview()->SetViewScale(scale);
        form->Preview()->SetPageIndex(page);
        for (int k : {btnFirstPage, btnPrevPage, btnNextPage, btnLastPage, btnZoomOut, btnZoomIn})
            QCOMPARE(form->Toolbar()->Button(TButtonKind(k))->isEnabled(), !disabled.contains(k));
        QVERIFY(form->Toolbar()->ScaleComboBox()->isEnabled());
    }

    void buttonClickMayForbidTheDefault_data() {
        QTest::addColumn<bool>("allow");
        QTest::addColumn<int>("documents");
        QTest::newRow("allowed prints") << true << 1;
        QTest::newRow("forbidden prints nothing") << false << 0;
    }

    void buttonClickMayForbidTheDefault() {
        QFETCH(bool, allow);
        QVERIFY(showWindow());
        QList<TButtonKind> asked;
        connect(form->Toolbar(), &TCustomPreviewToolbar::OnButtonClick, this,
                [&](TButtonKind kind, bool &AllowDefault) {
                    asked.append(kind);
                    AllowDefault = allow;
                });
        QTest::mouseClick(form->Toolbar()->Button(btnPrint), Qt::LeftButton);
        QCOMPARE(asked, QList<TButtonKind>{btnPrint});
        QTEST(printer->documents(), "documents");
    }

    void zoomBoxTakesTypedScales_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("finalKey");
        QTest::addColumn<int>("scale"); // 0: the scale before typing
        QTest::addColumn<QString>("message");
        const int enter = Qt::Key_Return, escape = Qt::Key_Escape;
        QTest::newRow("whole number") << "250" << enter << 250 << "";
        QTest::newRow("decimal rounds") << "12.5" << enter << 13 << "";
        QTest::newRow("above the limit is clamped") << "4000" << enter << 1000 << "";
        QTest::newRow("letters and signs are not typed") << "2a5-x0%" << enter << 250 << "";
        QTest::newRow("no digits at all") << "." << enter << 0 << "Invalid scale value";
        QTest::newRow("escape keeps the scale") << "250" << escape << 0 << "";
    }

    // Typed as a user types: into the focused box, which hands the keys to its line edit.
    void zoomBoxTakesTypedScales() {
        QFETCH(QString, typed);
        QFETCH(int, finalKey);
        QFETCH(int, scale);
        QVERIFY(showWindow());
        TCustomPreview *preview = form->Preview();
        const int before = preview->ViewScale();
        TPreviewComboBox *box = form->Toolbar()->ScaleComboBox();
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key(finalKey));
        QCOMPARE(preview->ViewMode(), finalKey == Qt::Key_Return ? vmCustom : vmWholePage);
        QCOMPARE(preview->ViewScale(), scale ? scale : before);
        QCOMPARE(box->currentText(), preview->ScaleText());
        QVERIFY(sandbox->dialogs->messages.size() <= 1);
        QTEST(sandbox->dialogs->messages.value(0).text, "message");
        QTRY_VERIFY(preview->hasFocus());
    }

    void statusPanelsShowPageAndScale() {
        window->SetUserText(QStringLiteral("Draft"));
        QVERIFY(showWindow());
        form->Preview()->SetPageIndex(2);
        const TPreviewStatusBar *bar = form->StatusBar();
        QCOMPARE(bar->PanelText(pnPage), "Page 2 of 7");
        QCOMPARE(bar->PanelText(pnScale),
                 QStringLiteral("Whole page (%1%)").arg(form->Preview()->ViewScale()));
        QVERIFY(form->Preview()->ViewScale() > 10);
        QCOMPARE(bar->UserPanelText(), "Draft");
        window->SetPanels({pnScale});
        QCOMPARE(bar->PanelText(pnPage), QString());
        // At its default width the scale panel shows its widest texts whole.
        auto *scale = bar->findChild<QLabel *>(QStringLiteral("ScalePanel"));
        for (const char *text : {"Whole page (1000%)", "Page width (1000%)"}) {
            scale->setText(QLatin1String(text));
            QVERIFY2(scale->sizeHint().width() <= scale->width(), text);
        }
    }

    // The file named in the print dialog is the one written; nothing asks for it again.
    void printDialogButtonAsksForThePdfOnce() {
        auto dialogs = std::make_unique<FilePickingDialogs>();
        FilePickingDialogs *picking = dialogs.get();
        picking->pickedFile = sandbox->dir.filePath(QStringLiteral("chosen.pdf"));
        Services::setDialogs(std::move(dialogs));
        Services::setPrinter(std::make_unique<SystemPrinter>(SystemPrinter::Kind::Pdf));
        window->SetButtons({btnPrintDialog});
        QVERIFY(showWindow());
        form->Toolbar()->ClickButton(btnPrintDialog);
        QCOMPARE(picking->dialogTitles, QStringList());
        QVERIFY(QFileInfo(picking->pickedFile).size() > 0);
    }

private:
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(preview.get(), Qt::Key(key), modifiers);
    }
    // Page 1 of `edit`'s text printed to PDF and rendered by pdftoppm at `dpi`, beside the
    // page the preview recorded, replayed at that size; a null print without pdftoppm.
    std::pair<QImage, QImage> printedAndShown(RichEdit &edit, int dpi) {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty())
            return {};
        Services::setPrinter(std::make_unique<SystemPrinter>(SystemPrinter::Kind::Pdf));
        TRichEditPrintJob richJob;
        richJob.SetOptions(joMargins);
        richJob.SetMargins({600, 600, 600, 600});
        richJob.SetRichEdit(&edit);
        preview->SetPrintJob(&richJob);
        const QString pdf = sandbox->dir.filePath(QStringLiteral("page.pdf"));
        sandbox->dialogs->fileNames.enqueue(pdf);
        richJob.PrintPages(1, 1);
        const QString stem = sandbox->dir.filePath(QStringLiteral("page"));
        const QStringList options = {"-r", QString::number(dpi), "-png", "-singlefile", pdf, stem};
        if (QProcess::execute(pdftoppm, options) != 0)
            return {QImage(1, 1, QImage::Format_RGB32), {}};
        const QImage printed =
            QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
        const DeviceFigures &f = preview->RecordedFigures();
        const QImage shown = test::drawnPage(printed.size(), 1, [&](QPainter &p) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::TextAntialiasing);
            p.scale(double(printed.width()) / f.physicalWidth,
                    double(printed.height()) / f.physicalHeight);
            p.drawPicture(0, 0, preview->PagePicture());
        });
        preview->SetPrintJob(job.get());
        return {printed, shown};
    }
    // The ink (darkness summed) of each band of rows with ink, from the top.
    static QList<qint64> lineInk(const QImage &image) {
        QList<qint64> bands;
        bool inBand = false;
        for (int y = 0; y < image.height(); ++y) {
            qint64 row = 0;
            for (int x = 0; x < image.width(); ++x)
                row += 255 - qGray(image.pixel(x, y));
            if (row > 0 && !inBand)
                bands.append(0);
            if (row > 0)
                bands.last() += row;
            inBand = row > 0;
        }
        return bands;
    }
    // Shows the window and points `form` at its form.
    bool showWindow() {
        window->Show();
        form = window->Form();
        return form && QTest::qWaitForWindowExposed(form);
    }
    std::unique_ptr<test::Sandbox> sandbox;
    FixedPrinter *printer = nullptr;
    std::unique_ptr<CountingJob> job;
    std::unique_ptr<TPreview> preview;
    std::unique_ptr<TPreviewWindow> window;
    TPreviewForm *form = nullptr;
};

QTEST_MAIN(PreviewTest)
#include "tst_preview.moc"
