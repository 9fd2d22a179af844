// What the print dialog does with what is typed into it: lengths typed without Enter, lengths
// that leave no room, copy counts, the user's decimal notation, and settings kept over a restart.
#include "editor/fontboxes.h"
#include "platform/printerservice.h"
#include "platform/richedit.h"
#include "printing/patterns.h"
#include "printing/tprintform.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QToolButton>
#include <QtTest>

using namespace tessary;

class PrintInputTest : public QObject {
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
        editor->resize(600, 400);
        boxes = new FontBoxes(window.get());
        boxes->fill();
        makeForm();
    }

    void cleanup() {
        form.reset();
        window.reset();
        sandbox.reset();
        QLocale::setDefault(QLocale::c());
    }

    // A margin typed without Enter decides the pages printed and the count in the headers.
    void typedMarginDecidesThePrintWithoutEnter() {
        Services::setPrinter(std::make_unique<SystemPrinter>(SystemPrinter::Kind::Pdf));
        makeForm();
        fillParagraphs(150);
        form->HeaderChoosers().setPattern(2, QStringLiteral("Page .page of .numpages"));
        form->show();
        const int before = form->RichEditPrintJob().PageCount();
        QCOMPARE(form->ToPageEdit->text(), QString::number(before));
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QImage miniature = form->Preview->grab().toImage();
        type(form->LeftMarginEdit, QStringLiteral("3"));
        // The miniature already shows the new margin.
        QCOMPARE(form->RichEditPrintJob().Margins().Left, 1800.0);
        QTRY_VERIFY(form->Preview->grab().toImage() != miniature);
        const int after = form->RichEditPrintJob().PageCount();
        QVERIFY2(after > before, qPrintable(QString("%1 %2").arg(before).arg(after)));
        QCOMPARE(form->ToPageEdit->text(), QString::number(after));
        const QString pdf = sandbox->dir.filePath(QStringLiteral("typed.pdf"));
        sandbox->dialogs->fileNames.enqueue(pdf);
        QTest::mouseClick(form->PrintButton, Qt::LeftButton);
        QProcess run;
        run.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(run.waitForFinished(60000));
        const QString text = QString::fromUtf8(run.readAllStandardOutput());
        QCOMPARE(text.count(QLatin1Char('\f')), after);
        QVERIFY(text.contains(QStringLiteral("Paragraph 150 ")));
        QVERIFY(text.contains(QStringLiteral("Page %1 of %1").arg(after)));
    }

    void lengthsWithoutRoomAreRefusedWhereTyped_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("left margin wider than the page") << "LeftMarginEdit"
                                                         << "100"
                                                         << "100 leaves no room for the text.";
        QTest::newRow("header taller than the page") << "HeaderHeightEdit"
                                                     << "20"
                                                     << "20 leaves no room for the text.";
        QTest::newRow("margins that meet") << "RightMarginEdit"
                                           << "7.4"
                                           << "7.4 leaves no room for the text.";
        QTest::newRow("negative margin") << "LeftMarginEdit"
                                         << "-1"
                                         << "-1 is less than zero.";
        QTest::newRow("not a number") << "FooterHeightEdit"
                                      << "x"
                                      << "x is not a valid number.";
    }

    void lengthsWithoutRoomAreRefusedWhereTyped() {
        QFETCH(QString, edit);
        QFETCH(QString, text);
        QFETCH(QString, message);
        fillParagraphs(20);
        form->show();
        auto *box = form->findChild<QLineEdit *>(edit);
        type(box, text);
        // The refused value never reaches the job; at most a valid one typed on the way did.
        const QRect body = form->RichEditPrintJob().GetBodyRect();
        QVERIFY(body.width() >= 150 && body.height() >= 150);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(sandbox->dialogs->messages.value(0).text, message);
        // Print refuses it too and prints nothing.
        QTest::mouseClick(form->PrintButton, Qt::LeftButton);
        QCOMPARE(sandbox->dialogs->messages.size(), 2);
        QCOMPARE(sandbox->dialogs->messages.last().text, message);
        QCOMPARE(printer->pages().size(), 0);
        QCOMPARE(form->CheckLengths(), message);
    }

    void absurdCopyCountIsRefusedAndALongRunCancels() {
        fillParagraphs(20);
        form->CopiesEdit->setText(QStringLiteral("1073741825"));
        QTest::mouseClick(form->PrintButton, Qt::LeftButton);
        QCOMPARE(sandbox->dialogs->messages.value(0).text,
                 QStringLiteral("1073741825 is more copies than 999."));
        QCOMPARE(printer->pages().size(), 0);
        form->CopiesEdit->setText(QStringLiteral("2"));
        QTest::mouseClick(form->PrintButton, Qt::LeftButton);
        const int pages = form->RichEditPrintJob().PageCount();
        QCOMPARE(printer->pages().size(), 2 * pages);
        // Cancel in the progress of a long run stops it once the sheet in hand is out.
        form->CopiesEdit->setText(QStringLiteral("50"));
        connect(&form->RichEditPrintJob(), &TCustomPrintJob::OnPrintProgress, this, [this, pages] {
            if (printer->pages().size() == 2 * pages + 3)
                form->findChild<QProgressDialog *>()->cancel();
        });
        QTest::mouseClick(form->PrintButton, Qt::LeftButton);
        QCOMPARE(printer->pages().size(), 2 * pages + 4);
    }

    // The first-start lengths read back in a locale that writes decimals with a comma.
    void defaultsFollowTheUsersDecimalNotation() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        makeForm();
        QCOMPARE(form->HeaderHeightEdit->text(), QStringLiteral("0,5"));
        QVERIFY(form->CheckLengths().isNull());
        form->CentimetersCheckBox->click();
        QCOMPARE(form->HeaderHeightEdit->text(), QStringLiteral("1,27"));
        QCOMPARE(form->FooterHeightEdit->text(), QStringLiteral("1,27"));
        QCOMPARE(form->LeftMarginEdit->text(), QStringLiteral("2,54"));
    }

    void everySettingSurvivesASaveAndARestart() {
        const QStringList defaults = snapshot();
        form->CentimetersCheckBox->click();
        form->HeaderLineCheckBox->setChecked(true);
        form->FooterLineCheckBox->setChecked(true);
        form->LeftMarginEdit->setText(QStringLiteral("3.10"));
        PatternChoosers &header = form->HeaderChoosers();
        PatternChoosers &footer = form->FooterChoosers();
        header.setPattern(0, QStringLiteral(".page"));
        header.setPattern(1, QStringLiteral(".date"));
        footer.setPattern(1, QStringLiteral("Page .page of .numpages"));
        footer.setPattern(2, QStringLiteral(".time"));
        header.setTicked(0);
        footer.setTicked(1);
        header.setCustomPattern(QStringLiteral("My .page"), Patterns::CustomPatternEntry);
        footer.ComboBox->setCurrentIndex(3);
        const QStringList edited = snapshot();
        QVERIFY(edited != defaults);
        form->SavePrintSettings();
        makeForm();
        QCOMPARE(snapshot(), edited);
        QVERIFY(form->CentimetersCheckBox->isChecked() && !form->InchesCheckBox->isChecked());
    }

    void fontDialogShowsThePositionItIsOpenedFor() {
        TFontForm &fonts = form->FontForm();
        fonts.SetupFontDialog(6);
        fonts.FontSizeComboBox->setCurrentText(QStringLiteral("14"));
        fonts.FontStyleComboBox->setCurrentIndex(1);
        fonts.SetupFontDialog(2);
        QCOMPARE(fonts.FontSizeComboBox->currentText(), QStringLiteral("10"));
        QCOMPARE(fonts.FontStyleComboBox->currentIndex(), 0);
        fonts.SetupFontDialog(6);
        QCOMPARE(fonts.FontSizeComboBox->currentText(), QStringLiteral("14"));
    }

private:
    void makeForm() {
        form.reset();
        form = std::make_unique<TPrintForm>(editor, *boxes);
    }

    // Paragraphs of two lines or so at the default margins.
    void fillParagraphs(int count) {
        QStringList text;
        for (int i = 1; i <= count; ++i)
            text.append(QStringLiteral("Paragraph %1 ").arg(i) +
                        QStringLiteral("holds words enough to wrap ").repeated(6));
        editor->setPlainText(text.join(QLatin1Char('\n')));
        form->RichEditPrintJob().Refresh();
        form->ToPageEdit->setText(QString::number(form->RichEditPrintJob().PageCount()));
    }

    // Replaces the edit's text as a user does: select it all and type, no Enter.
    static void type(QLineEdit *edit, const QString &text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QCOMPARE(edit->text(), text);
    }

    QStringList snapshot() const {
        QStringList values;
        for (const QCheckBox *box : {form->InchesCheckBox, form->CentimetersCheckBox,
                                     form->HeaderLineCheckBox, form->FooterLineCheckBox})
            values.append(QString::number(box->isChecked()));
        for (const QLineEdit *edit : {form->HeaderHeightEdit, form->FooterHeightEdit,
                                      form->LeftMarginEdit, form->RightMarginEdit})
            values.append(edit->text());
        for (PatternChoosers *set : {&form->HeaderChoosers(), &form->FooterChoosers()}) {
            values.append(QString::number(set->ComboBox->currentIndex()));
            values.append(QString::number(set->editedPosition()));
            values.append(set->customPattern());
            for (int i = 0; i < 3; ++i)
                values.append(set->pattern(i));
        }
        return values;
    }

    std::unique_ptr<test::Sandbox> sandbox;
    FixedPrinter *printer = nullptr;
    std::unique_ptr<QWidget> window;
    RichEdit *editor = nullptr;
    FontBoxes *boxes = nullptr;
    std::unique_ptr<TPrintForm> form;
};

QTEST_MAIN(PrintInputTest)
#include "tst_printinput.moc"
