#include "editor/fontboxes.h"
#include "printing/patterns.h"
#include "printing/printsettings.h"
#include "printing/tfontform.h"
#include "printing/tprintform.h"
#include "printjob/pagetests.h"
#include "richtext/richedit.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
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
        boxes = std::make_unique<FontBoxes>(window.get());
        boxes->fill();
        makeForm();
    }

    void cleanup() {
        form.reset();
        boxes.reset();
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
        QCOMPARE(form->LeftMarginEdit->text(), "2.54");
        QCOMPARE(job.Margins().Left, 2.54 * 0.394 * 600);
    }

    void marginEnterTakesEitherSeparatorAndKeepsTheLastValidValue() {
        QLineEdit *left = form->LeftMarginEdit;
        left->setText(QStringLiteral("1,5"));
        QTest::keyClick(left, Qt::Key_Return);
        QCOMPARE(left->text(), "1.5");
        QCOMPARE(left->cursorPosition(), 3);
        QCOMPARE(form->RichEditPrintJob().Margins().Left, 900.0);
        left->setText(QStringLiteral("wide"));
        QTest::keyClick(left, Qt::Key_Return);
        QCOMPARE(sandbox->dialogs->messages.value(0).text, "wide is not a valid number.");
        form->ApplyMargins();
        QCOMPARE(form->RichEditPrintJob().Margins().Left, 900.0);
    }

    void rangeAndCopiesDecideThePrintedPages_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("copies");
        QTest::addColumn<int>("documents");
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<QString>("message");
        using P = QList<int>;
        // clang-format off
        QTest::newRow("nominal: two copies of 2..3") << "2" << "3" << "2" << 2 << P{2, 3, 2, 3} << "";
        QTest::newRow("overlapping: to beyond the end") << "3" << "99" << "1" << 1 << P{3, 4} << "";
        QTest::newRow("overlapping: both ends outside") << "0" << "999" << "1" << 1 << P{1, 2, 3, 4} << "";
        QTest::newRow("refused: no page of the document") << "5" << "9" << "1" << 0 << P{} << "5 to 9 holds no page of the document.";
        QTest::newRow("refused: inverted") << "4" << "2" << "1" << 0 << P{} << "4 to 2 is not a page range.";
        QTest::newRow("bad: from not a number") << "a" << "3" << "1" << 0 << P{} << "a is not an integer.";
        QTest::newRow("bad: copies past any sane count") << "1" << "3" << "1073741825" << 0 << P{} << "1073741825 is more copies than 999.";
        // clang-format on
    }

    void rangeAndCopiesDecideThePrintedPages() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, copies);
        QFETCH(QString, message);
        fillPages(200);
        QCOMPARE(form->RichEditPrintJob().PageCount(), 4);
        QTest::mouseClick(form->FromPageEdit, Qt::LeftButton);
        QVERIFY(form->FromPageCheckBox->isChecked() && !form->PrintAllCheckBox->isChecked());
        form->FromPageEdit->setText(from);
        form->ToPageEdit->setText(to);
        form->CopiesEdit->setText(copies);
        QSignalSpy started(&form->RichEditPrintJob(), &TCustomPrintJob::OnStartPrintPage);
        form->PrintButton->click();
        QTEST(printer->documents(), "documents");
        QList<int> pages;
        for (const QList<QVariant> &page : started)
            pages.append(page.at(0).toInt());
        QTEST(pages, "pages");
        QCOMPARE(sandbox->dialogs->messages.value(0).text, message);
    }

    // A margin typed without Enter decides the miniature, the pages and the range's end.
    void typedMarginDecidesThePrintWithoutEnter() {
        fillPages(150, QStringLiteral("holds words enough to wrap ").repeated(6));
        const int before = form->RichEditPrintJob().PageCount();
        form->ToPageEdit->setText(QString::number(before));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QImage miniature = form->Preview->grab().toImage();
        type(form->LeftMarginEdit, QStringLiteral("3"));
        QTRY_VERIFY(form->Preview->grab().toImage() != miniature);
        const int after = form->RichEditPrintJob().PageCount();
        QVERIFY(after > before);
        QCOMPARE(form->ToPageEdit->text(), QString::number(after));
        QTest::mouseClick(form->PrintButton, Qt::LeftButton);
        QCOMPARE(printer->pages().size(), after);
    }

    // Refused on Enter and again on Print; the batch command's test covers the other wordings.
    void lengthWithoutRoomIsRefusedWhereTyped() {
        fillPages(20);
        form->show();
        type(form->HeaderHeightEdit, QStringLiteral("20"));
        QTest::keyClick(form->HeaderHeightEdit, Qt::Key_Return);
        QTest::mouseClick(form->PrintButton, Qt::LeftButton);
        QCOMPARE(sandbox->dialogs->messages.size(), 2);
        QCOMPARE(sandbox->dialogs->messages.last().text, "20 leaves no room for the text.");
        QCOMPARE(printer->pages().size(), 0);
    }

    void longRunCancelsFromItsProgress() {
        fillPages(20);
        // Cancel in the progress of a long run stops it once the sheet in hand is out.
        form->CopiesEdit->setText(QStringLiteral("50"));
        connect(&form->RichEditPrintJob(), &TCustomPrintJob::OnPrintProgress, this, [this] {
            if (printer->pages().size() == 3)
                form->findChild<QProgressDialog *>()->cancel();
        });
        form->PrintButton->click();
        QCOMPARE(printer->pages().size(), 4);
    }

    void defaultsFollowTheUsersDecimalNotation() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        makeForm();
        QCOMPARE(form->HeaderHeightEdit->text(), "0,5");
        form->CentimetersCheckBox->click();
        QCOMPARE(form->FooterHeightEdit->text(), "1,27");
        QCOMPARE(form->LeftMarginEdit->text(), "2,54");
        QVERIFY(form->CheckLengths().isNull());
    }

    void everySettingSurvivesASaveAndARestart() {
        const QStringList defaults = snapshot();
        form->CentimetersCheckBox->click();
        form->HeaderLineCheckBox->setChecked(true);
        form->LeftMarginEdit->setText(QStringLiteral("3.10"));
        form->FooterChoosers().setPattern(1, QStringLiteral("Page .page of .numpages"));
        form->FooterChoosers().setTicked(1);
        form->HeaderChoosers().setCustomPattern(QStringLiteral("My .page"),
                                                Patterns::CustomPatternEntry);
        form->FooterChoosers().ComboBox->setCurrentIndex(3);
        const QStringList edited = snapshot();
        QVERIFY(edited != defaults);
        form->SavePrintSettings();
        makeForm();
        QCOMPARE(snapshot(), edited);
    }

    void customPatternIsTypedUntilEnterAndSurvivesARestart() {
        fillPages(300);
        PatternChoosers &header = form->HeaderChoosers();
        header.ComboBox->setCurrentIndex(Patterns::CustomEntry);
        header.ComboBoxClick();
        QCOMPARE(sandbox->dialogs->messages.value(0).text,
                 QStringLiteral("1. Edit custom pattern.\r\n2. Confirm with Enter.\r\n"
                                "3. Click Help to know about patterns."));
        QVERIFY(header.ComboBox->isEditable());
        header.ComboBox->lineEdit()->setText(QStringLiteral("Page .page of .numpages"));
        QTest::keyClick(header.ComboBox->lineEdit(), Qt::Key_Return);
        QVERIFY(!header.ComboBox->isEditable());
        QCOMPARE(header.ComboBox->count(), 9);
        QCOMPARE(form->PositionText(3, 2),
                 QStringLiteral("Page 2 of %1").arg(form->RichEditPrintJob().PageCount()));
        QCOMPARE(form->PositionDrawingFont(3).pointSize(), 10);
        QCOMPARE(form->PositionDrawingFont(6).pointSize(), 9);
        form->FontForm().fonts().entry(6).size = 12;
        QCOMPARE(form->PositionDrawingFont(6).pointSize(), 12);
        form->SavePrintSettings();
        form->FontForm().SaveFontSettings();

        makeForm();
        QCOMPARE(form->HeaderChoosers().customPattern(), "Page .page of .numpages");
        QCOMPARE(form->HeaderChoosers().ComboBox->currentIndex(), Patterns::CustomPatternEntry);
        QCOMPARE(form->HeaderChoosers().pattern(2), "Page .page of .numpages");
        QCOMPARE(form->FontForm().fonts().font(6)->size, 12);
    }

    // A long custom pattern kept over a restart scrolls inside its box; the dialog stays on
    // the screen.
    void longCustomPatternKeepsTheDialogOnTheScreen() {
        const QString pattern = QStringLiteral(".date .time ").repeated(16).left(175);
        form->HeaderChoosers().setCustomPattern(pattern, Patterns::CustomPatternEntry);
        form->SavePrintSettings();
        makeForm();
        QCOMPARE(form->HeaderChoosers().customPattern(), pattern);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QRect screen = Services::screen().availableGeometry();
        QVERIFY(form->width() <= screen.width());
        // The sheet lies on the preview's own colour, not on the scroll area's white.
        QCOMPARE(form->Preview->grab().toImage().pixelColor(2, 2), QColor(0, 128, 128));
        const QComboBox *box = form->HeaderChoosers().ComboBox;
        QVERIFY(box->width() < box->fontMetrics().horizontalAdvance(pattern));
    }

    void rightHeaderIsDrawnAboveTheBodysRightEdge() {
        form->HeaderChoosers().setPattern(2, QStringLiteral("HEADER"));
        form->PrintButton->click();
        QCOMPARE(printer->pages().size(), 1);
        // The empty document draws nothing but the header, here at a fifth of printer pixels.
        QPicture page = printer->pages().first();
        const QRect ink = test::inkBox(
            test::drawnPage({1000, 1300}, 0.2, [&](QPainter &p) { page.play(&p); }), 0.2);
        // The printer's origin is the corner of its printable area, 50 pixels in from the sheet's.
        const QRect body = form->RichEditPrintJob().GetBodyRect().translated(-50, -50);
        QVERIFY(qAbs(ink.right() - body.right()) < 20);
        QVERIFY(ink.top() > body.top() - 150 && ink.bottom() < body.top());
    }

    // Navigation stays within the pages; the zoom window keeps in step with the dialog.
    void zoomWindowKeepsThePageInStepAndPrints() {
        fillPages(200);
        QCOMPARE(form->RichEditPrintJob().PageCount(), 4);
        form->PreviousPageButton->click();
        QCOMPARE(form->Preview->PageIndex(), 1);
        form->LastPageButton->click();
        form->NextPageButton->click();
        QCOMPARE(form->Preview->PageIndex(), 4);
        form->PreviousPageButton->click();
        form->ZoomButton->click();
        const TPreviewForm *window = form->PreviewWindow->Form();
        QVERIFY(window && window->isMaximized());
        QCOMPARE(window->Preview()->PageIndex(), 3);
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
        QCOMPARE(test::pdfText(pdf).count('\f'), 3 * form->RichEditPrintJob().PageCount());
    }

    void missingValuesTakeTheirDefaultsAndOnlyOneTicks() {
        const QString stored =
            QStringLiteral("CMCB=1 INCB=0 HLCB=yes LMED=2.5 LFCB=1 RFCB=1 RHSZ=big");
        for (const QString &entry : stored.split(QLatin1Char(' ')))
            store().writeString(PrintSettings::Key, entry.section('=', 0, 0),
                                entry.section('=', 1));
        const PrintSettings s = LoadPrintSettings(store());
        QVERIFY(!s.inches && !s.headerLine && !s.footerLine);
        QCOMPARE(QStringList({s.leftMargin, s.rightMargin}), QStringList({"2.5", "1"}));
        QCOMPARE(qMakePair(s.headerPosition, s.footerPosition), qMakePair(2, 0));
        QCOMPARE(s.patterns.at(3), ".empty");
        PositionFonts fonts;
        fonts.load(store());
        QCOMPARE(*fonts.font(3), PositionFont());
    }

    void lengthsConvertToTwoDecimals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("expected");
        const double toCm = Lengths::InchesToCentimetres, toIn = Lengths::CentimetresToInches;
        QTest::newRow("to in: 2.54 cm") << "2.54" << toIn << "1.00";
        QTest::newRow("digits: three significant") << "10" << toCm << "25.40";
        QTest::newRow("bad: a comma is no grouping") << "1,5" << toCm << "1,5";
    }

    void lengthsConvertToTwoDecimals() {
        QFETCH(QString, text);
        QFETCH(double, factor);
        QTEST(Lengths::Convert(text, factor, QLocale::c()), "expected");
    }

    void badPageNumberIsReportedAndReset() {
        QLineEdit copies(QStringLiteral("x"));
        QVERIFY(!ReadPageNumber(&copies, QStringLiteral("1")));
        QCOMPARE(sandbox->dialogs->messages.value(0).text, "x is not an integer.");
        QCOMPARE(copies.text(), "1");
        QCOMPARE(copies.selectedText(), "1");
        copies.setText(QStringLiteral("3"));
        QCOMPARE(ReadPageNumber(&copies, QStringLiteral("1")), std::optional<int>(3));
        QCOMPARE(sandbox->dialogs->messages.size(), 1);
    }

    void styleNamesReadBackAndOthersAreBoldItalic_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("style");
        QTest::newRow("name: Normal") << "Normal" << 0;
        QTest::newRow("other: Heavy") << "Heavy" << 3;
        QTest::newRow("other: lower case") << "bold" << 3;
    }

    void styleNamesReadBackAndOthersAreBoldItalic() {
        QFETCH(QString, stored);
        QFETCH(int, style);
        store().writeString(PrintSettings::Key, QStringLiteral("CFST"), stored);
        PositionFonts fonts;
        fonts.load(store());
        QCOMPARE(fonts.font(5)->style, style);
        fonts.save(store());
        QCOMPARE(store().readString(PrintSettings::Key, QStringLiteral("CFST")),
                 PositionFont::StyleName(style));
    }

    void fontChoicesAreStoredAtOnceForTheCaptionedPosition() {
        TFontForm form(*boxes);
        int refreshes = 0;
        form.OnFontsChanged = [&refreshes] { ++refreshes; };
        form.SetupFontDialog(6);
        QCOMPARE(form.FontSizeComboBox->currentText(), "10");
        form.FontSizeComboBox->setCurrentText(QStringLiteral("14"));
        form.FontStyleComboBox->setCurrentIndex(2);
        QCOMPARE(form.fonts().font(6)->size, 14);
        QCOMPARE(form.fonts().font(6)->style, 2);
        form.SetupFontDialog(2); // shows its own font, not the one edited last
        QCOMPARE(form.FontSizeComboBox->currentText(), "10");
        QCOMPARE(form.FontStyleComboBox->currentIndex(), 0);
        form.FontOkButton->click();
        QCOMPARE(refreshes, 1);
    }

    void tokensExpandCaseSensitivelyInOrder_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nominal: page of pages")
            << "Page .page of .numpages" << 2 << 5 << "Page 2 of 5";
        QTest::newRow("nominal: date and time")
            << ".date, .time" << 1 << 1 << "07/12/2026, 09:07:03";
        QTest::newRow("empty: inside text") << "x.emptyy" << 1 << 1 << "xy";
        QTest::newRow("case: upper case is text") << ".PAGE" << 4 << 9 << ".PAGE";
        QTest::newRow("order: page before numpages") << ".pages.numpages" << 2 << 8 << "2s8";
    }

    void tokensExpandCaseSensitivelyInOrder() {
        QFETCH(QString, pattern);
        QFETCH(int, page);
        QFETCH(int, pages);
        QFETCH(QString, expected);
        const QLocale british(QLocale::English, QLocale::UnitedKingdom);
        const QDateTime now(QDate(2026, 12, 7), QTime(9, 7, 3));
        const QString text = Patterns::ExpandPattern(pattern, page, pages, now, british);
        // The long time format may carry a zone name after the seconds.
        QVERIFY2(text.startsWith(expected), qPrintable(text));
        if (!pattern.contains(QLatin1String(".time")))
            QCOMPARE(text, expected);
    }

    void clickingPositionBoxesCyclesTheEditedPosition_data() {
        QTest::addColumn<int>("ticked");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<int>("edited");
        QTest::addColumn<QString>("label");
        QTest::newRow("again: right to left") << 2 << 2 << 0 << "Left footer :";
        QTest::newRow("again: left to center") << 0 << 0 << 1 << "Center footer :";
        QTest::newRow("again: center to right") << 1 << 1 << 2 << "Right footer :";
        QTest::newRow("other: center from right") << 2 << 1 << 1 << "Center footer :";
    }

    void clickingPositionBoxesCyclesTheEditedPosition() {
        QFETCH(int, ticked);
        QFETCH(int, clicked);
        QFETCH(int, edited);
        QWidget parent;
        PatternChoosers footer(PatternChoosers::FooterSet, &parent);
        for (int i = 0; i < 3; ++i)
            footer.setPattern(i, QStringLiteral(".page .date .time").section(' ', i, i));
        footer.setTicked(ticked);
        footer.PositionBoxes.at(clicked)->click();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(footer.isTicked(i), i == edited);
        QCOMPARE(footer.ComboBox->currentText(), footer.pattern(edited));
        QTEST(footer.PatternLabel->text(), "label");
        QCOMPARE(footer.editedTag(), edited + 4);
    }

private:
    SettingsStore &store() { return SettingsStore::instance(); }
    // Replaces the edit's text as a user does: select it all and type, no Enter.
    static void type(QLineEdit *edit, const QString &text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // Every box, edit, pattern and combo choice of the dialog.
    QStringList snapshot() const {
        QStringList values;
        for (const QCheckBox *box : form->findChildren<QCheckBox *>())
            values.append(QString::number(box->isChecked()));
        for (const QLineEdit *edit : form->findChildren<QLineEdit *>())
            values.append(edit->text());
        for (PatternChoosers *set : {&form->HeaderChoosers(), &form->FooterChoosers()})
            values << QString::number(set->ComboBox->currentIndex()) << set->customPattern()
                   << set->pattern(0) << set->pattern(1) << set->pattern(2);
        return values;
    }
    void makeForm() {
        form.reset();
        form = std::make_unique<TPrintForm>(editor, *boxes);
    }

    void fillPages(int lines, const QString &line = QStringLiteral("Line")) {
        editor->setPlainText((line + '\n').repeated(lines).chopped(1));
        form->RichEditPrintJob().Refresh();
    }

    std::unique_ptr<test::Sandbox> sandbox;
    FixedPrinter *printer = nullptr;
    std::unique_ptr<QWidget> window;
    RichEdit *editor = nullptr;
    std::unique_ptr<FontBoxes> boxes;
    std::unique_ptr<TPrintForm> form;
};

QTEST_MAIN(PrintFormTest)
#include "tst_printform.moc"
