#include "editor/fontboxes.h"
#include "platform/settingsstore.h"
#include "printing/printsettings.h"
#include "printing/tfontform.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace tessary;

class PrintSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { sandbox = std::make_unique<test::Sandbox>(); }
    void cleanup() { sandbox.reset(); }
    void firstStartGivesTheDefaults() {
        const PrintSettings s = LoadPrintSettings(store());
        QVERIFY(s.inches && !s.headerLine && !s.footerLine);
        QVERIFY(s.headerPosition == 2 && s.footerPosition == 2);
        QVERIFY(!PositionFonts().font(0) && !PositionFonts().font(7));
        PositionFonts fonts;
        fonts.load(store());
        QCOMPARE(*fonts.font(6), PositionFont());
    }

    void missingValuesTakeTheirDefaultsAndOnlyOneTicks() {
        const QString &key = PrintSettings::Key;
        store().writeString(key, QStringLiteral("CMCB"), QStringLiteral("1"));
        store().writeString(key, QStringLiteral("INCB"), QStringLiteral("0"));
        store().writeString(key, QStringLiteral("HLCB"), QStringLiteral("yes"));
        store().writeString(key, QStringLiteral("LMED"), QStringLiteral("2.5"));
        store().writeString(key, QStringLiteral("LFCB"), QStringLiteral("1"));
        store().writeString(key, QStringLiteral("RFCB"), QStringLiteral("1"));
        store().writeString(key, QStringLiteral("RHSZ"), QStringLiteral("big"));
        const PrintSettings s = LoadPrintSettings(store());
        QVERIFY(!s.inches);
        QVERIFY(!s.headerLine);
        QCOMPARE(s.leftMargin, QStringLiteral("2.5"));
        QCOMPARE(s.rightMargin, QStringLiteral("1"));
        QCOMPARE(s.headerPosition, 2);
        QCOMPARE(s.footerPosition, 0);
        QCOMPARE(s.patterns.at(3), QStringLiteral(".empty"));
        PositionFonts fonts;
        fonts.load(store());
        QCOMPARE(*fonts.font(3), PositionFont());
    }

    void lengthsConvertToTwoDecimals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("expected");
        QTest::newRow("to cm: one inch") << "1" << Lengths::InchesToCentimetres << "2.54";
        QTest::newRow("to cm: half inch") << "0.5" << Lengths::InchesToCentimetres << "1.27";
        QTest::newRow("to in: 2.54 cm") << "2.54" << Lengths::CentimetresToInches << "1.00";
        QTest::newRow("to in: one cm") << "1" << Lengths::CentimetresToInches << "0.39";
        QTest::newRow("digits: three significant")
            << "10" << Lengths::InchesToCentimetres << "25.40";
        QTest::newRow("bad: text stays") << "x" << Lengths::InchesToCentimetres << "x";
        QTest::newRow("bad: a comma is no grouping")
            << "1,5" << Lengths::InchesToCentimetres << "1,5";
    }

    void lengthsConvertToTwoDecimals() {
        QFETCH(QString, text);
        QFETCH(double, factor);
        QFETCH(QString, expected);
        QCOMPARE(Lengths::Convert(text, factor, QLocale::c()), expected);
    }

    void badPageNumberIsReportedAndReset() {
        QLineEdit copies(QStringLiteral("x"));
        QCOMPARE(ReadPageNumber(&copies, QStringLiteral("1")), 0);
        QCOMPARE(sandbox->dialogs->messages.value(0).text, QStringLiteral("x is not an integer."));
        QCOMPARE(copies.text(), QStringLiteral("1"));
        QCOMPARE(copies.selectedText(), QStringLiteral("1"));
        copies.setText(QStringLiteral("3"));
        QCOMPARE(ReadPageNumber(&copies, QStringLiteral("1")), 3);
        QCOMPARE(sandbox->dialogs->messages.size(), 1);
    }

    void styleNamesReadBackAndOthersAreBoldItalic_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("style");
        QTest::newRow("name: Normal") << "Normal" << 0;
        QTest::newRow("name: Bold") << "Bold" << 1;
        QTest::newRow("name: Italic") << "Italic" << 2;
        QTest::newRow("name: Bold Italic") << "Bold Italic" << 3;
        QTest::newRow("other: Heavy") << "Heavy" << 3;
        QTest::newRow("other: empty") << "" << 3;
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
        QWidget window;
        FontBoxes boxes(&window);
        boxes.fill();
        TFontForm form(boxes);
        int refreshes = 0;
        form.OnFontsChanged = [&refreshes] { ++refreshes; };
        form.SetupFontDialog(6);
        QCOMPARE(form.windowTitle(), QStringLiteral("  Right footer font specs"));
        QCOMPARE(form.FontSizeComboBox->currentText(), QStringLiteral("10"));
        form.FontSizeComboBox->setCurrentText(QStringLiteral("14"));
        form.FontStyleComboBox->setCurrentIndex(2);
        QCOMPARE(form.fonts().font(6)->size, 14);
        QCOMPARE(form.fonts().font(6)->style, 2);
        form.FontOkButton->click();
        QCOMPARE(refreshes, 1);
    }

private:
    SettingsStore &store() { return SettingsStore::instance(); }
    std::unique_ptr<test::Sandbox> sandbox;
};

QTEST_MAIN(PrintSettingsTest)
#include "tst_printsettings.moc"
