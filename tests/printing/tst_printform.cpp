#include "editor/fontboxes.h"
#include "platform/printerservice.h"
#include "platform/richedit.h"
#include "printing/tprintform.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QToolButton>
#include <QtTest>

using namespace tessary;

class PrintFormTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QLocale::setDefault(QLocale::c());
        sandbox = std::make_unique<test::Sandbox>();
        auto fixed = std::make_unique<FixedPrinter>();
        printer = fixed.get();
        Services::setPrinter(std::move(fixed));
        window = std::make_unique<QWidget>();
        editor = new RichEdit(window.get());
        boxes = new FontBoxes(window.get());
        boxes->fill();
        makeForm();
    }

    void cleanup() {
        form.reset();
        window.reset();
        sandbox.reset();
    }

    void marginsAndHeightsReachTheJobInPrinterPixels() {
        TRichEditPrintJob &job = form->RichEditPrintJob();
        QCOMPARE(job.Margins().Left, 600.0);
        QCOMPARE(job.Margins().Top, 350.0);
        QCOMPARE(job.Margins().Bottom, 350.0);
        QCOMPARE(job.Header(), 300.0);
        form->CentimetersCheckBox->click();
        QVERIFY(!form->InchesCheckBox->isChecked());
        QCOMPARE(form->LeftMarginEdit->text(), QStringLiteral("2.54"));
        QCOMPARE(job.Margins().Left, 2.54 * 0.394 * 600);
    }

    void marginEnterTakesEitherSeparatorAndKeepsTheLastValidValue() {
        QLineEdit *left = form->LeftMarginEdit;
        left->setText(QStringLiteral("1,5"));
        QTest::keyClick(left, Qt::Key_Return);
        QCOMPARE(left->text(), QStringLiteral("1.5"));
        QCOMPARE(left->cursorPosition(), 3);
        QCOMPARE(form->RichEditPrintJob().Margins().Left, 900.0);
        left->setText(QStringLiteral("wide"));
        QTest::keyClick(left, Qt::Key_Return);
        QCOMPARE(sandbox->dialogs->messages.value(0).text,
                 QStringLiteral("wide is not a valid number."));
        form->ApplyMargins();
        QCOMPARE(form->RichEditPrintJob().Margins().Left, 900.0);
    }

    void rangeAndCopiesDecideThePrintedPages_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("copies");
        QTest::addColumn<int>("documents");
        QTest::addColumn<int>("pages");
        QTest::newRow("nominal: two copies of 2..3") << "2"
                                                     << "3"
                                                     << "2" << 2 << 4;
        QTest::newRow("clamped: to beyond the end") << "3"
                                                    << "99"
                                                    << "1" << 1 << 2;
        QTest::newRow("bad: from not a number") << "a"
                                                << "3"
                                                << "1" << 0 << 0;
    }

    void rangeAndCopiesDecideThePrintedPages() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, copies);
        QFETCH(int, documents);
        QFETCH(int, pages);
        fillPages(200);
        QCOMPARE(form->RichEditPrintJob().PageCount(), 4);
        QTest::mouseClick(form->FromPageEdit, Qt::LeftButton);
        QVERIFY(form->FromPageCheckBox->isChecked() && !form->PrintAllCheckBox->isChecked());
        form->FromPageEdit->setText(from);
        form->ToPageEdit->setText(to);
        form->CopiesEdit->setText(copies);
        form->PrintButton->click();
        QCOMPARE(printer->documents(), documents);
        QCOMPARE(printer->pages().size(), pages);
    }

    void navigationStaysWithinThePages() {
        fillPages(200);
        const int last = form->RichEditPrintJob().PageCount();
        form->PreviousPageButton->click();
        QCOMPARE(form->Preview->PageIndex(), 1);
        form->LastPageButton->click();
        form->NextPageButton->click();
        QCOMPARE(form->Preview->PageIndex(), last);
        form->PreviousPageButton->click();
        QCOMPARE(form->Preview->PageIndex(), last - 1);
    }

    void patternsAndFontsSurviveARestart() {
        fillPages(300);
        PatternChoosers &header = form->HeaderChoosers();
        header.ComboBox->setCurrentIndex(Patterns::CustomEntry);
        header.ComboBoxClick();
        header.ComboBox->setEditText(QStringLiteral("Page .page of .numpages"));
        QVERIFY(header.ComboBoxKeyDown(Qt::Key_Return));
        QCOMPARE(form->PositionText(3, 2),
                 QStringLiteral("Page 2 of %1").arg(form->RichEditPrintJob().PageCount()));
        QCOMPARE(form->PositionDrawingFont(3).pointSize(), 10);
        QCOMPARE(form->PositionDrawingFont(6).pointSize(), 9);
        form->FontForm().fonts().entry(6).size = 12;
        QCOMPARE(form->PositionDrawingFont(6).pointSize(), 12);
        form->SavePrintSettings();
        form->FontForm().SaveFontSettings();

        makeForm();
        QCOMPARE(form->HeaderChoosers().customPattern(), QStringLiteral("Page .page of .numpages"));
        QCOMPARE(form->HeaderChoosers().ComboBox->currentIndex(), Patterns::CustomPatternEntry);
        QCOMPARE(form->HeaderChoosers().pattern(2), QStringLiteral("Page .page of .numpages"));
        QCOMPARE(form->FontForm().fonts().font(6)->size, 12);
    }

    void rightHeaderIsDrawnAboveTheBodysRightEdge() {
        form->HeaderChoosers().setPattern(2, QStringLiteral("HEADER"));
        form->PrintButton->click();
        QCOMPARE(printer->pages().size(), 1);
        // The empty document draws nothing but the header, here at a fifth of printer pixels.
        QImage image(1000, 1300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(0.2, 0.2);
        QPicture page = printer->pages().first();
        page.play(&painter);
        painter.end();
        QRect ink;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 128)
                    ink |= QRect(x * 5, y * 5, 5, 5);
            }
        }
        // The printer's origin is the corner of its printable area, 50 pixels in from the sheet's.
        const QRect body = form->RichEditPrintJob().GetBodyRect().translated(-50, -50);
        QVERIFY2(qAbs(ink.right() - body.right()) < 20, qPrintable(QString::number(ink.right())));
        QVERIFY2(ink.top() > body.top() - 150 && ink.bottom() < body.top(),
                 qPrintable(QString::number(ink.top())));
    }

    void miniatureShowsTheSheetOnTeal() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->Preview->grab().toImage().pixelColor(2, 2), QColor(0, 128, 128));
    }

    void zoomWindowKeepsThePageInStepAndPrints() {
        fillPages(200);
        form->NextPageButton->click();
        form->ZoomButton->click();
        const TPreviewForm *window = form->PreviewWindow->Form();
        QVERIFY(window && window->isMaximized());
        QCOMPARE(window->Preview()->PageIndex(), 2);
        window->Toolbar()->ClickButton(btnLastPage);
        QCOMPARE(form->Preview->PageIndex(), 4);
        form->FirstPageButton->click();
        QCOMPARE(window->Preview()->PageIndex(), 1);
        window->Toolbar()->ClickButton(btnUser);
        QCOMPARE(printer->pages().size(), 4);
    }

    void pdfCopiesFollowOneAnotherInOneFile() {
        Services::setPrinter(std::make_unique<SystemPrinter>(SystemPrinter::Kind::Pdf));
        makeForm();
        fillPages(200);
        const QString pdf = sandbox->dir.filePath(QStringLiteral("copies.pdf"));
        sandbox->dialogs->fileNames.enqueue(pdf);
        form->CopiesEdit->setText(QStringLiteral("3"));
        form->PrintButton->click();
        QProcess run;
        run.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.readAllStandardOutput().count('\f'), 3 * form->RichEditPrintJob().PageCount());
    }

private:
    void makeForm() {
        form.reset();
        form = std::make_unique<TPrintForm>(editor, *boxes);
    }

    void fillPages(int lines) {
        QStringList text;
        for (int i = 0; i < lines; ++i)
            text.append(QStringLiteral("Line %1").arg(i));
        editor->setPlainText(text.join(QLatin1Char('\n')));
        form->RichEditPrintJob().Refresh();
    }

    std::unique_ptr<test::Sandbox> sandbox;
    FixedPrinter *printer = nullptr;
    std::unique_ptr<QWidget> window;
    RichEdit *editor = nullptr;
    FontBoxes *boxes = nullptr;
    std::unique_ptr<TPrintForm> form;
};

QTEST_MAIN(PrintFormTest)
#include "tst_printform.moc"
