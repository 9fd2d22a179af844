#include "printing/patterns.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace tessary;

class PatternsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { sandbox = std::make_unique<test::Sandbox>(); }
    void cleanup() { sandbox.reset(); }
    void tokensExpandCaseSensitivelyInOrder_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nominal: page of pages")
            << "Page .page of .numpages" << 2 << 5 << "Page 2 of 5";
        QTest::newRow("nominal: slash") << ".page / .numpages" << 3 << 7 << "3 / 7";
        QTest::newRow("nominal: date and time")
            << ".date, .time" << 1 << 1 << "07/12/2026, 09:07:03";
        QTest::newRow("empty: alone") << ".empty" << 1 << 1 << "";
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
        QFETCH(QString, label);
        QWidget parent;
        PatternChoosers footer(PatternChoosers::FooterSet, &parent);
        footer.setPattern(0, QStringLiteral(".page"));
        footer.setPattern(1, QStringLiteral(".date"));
        footer.setPattern(2, QStringLiteral(".time"));
        footer.setTicked(ticked);
        footer.PositionBoxes.at(clicked)->click();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(footer.isTicked(i), i == edited);
        QCOMPARE(footer.ComboBox->currentText(), footer.pattern(edited));
        QCOMPARE(footer.PatternLabel->text(), label);
        QCOMPARE(footer.editedTag(), edited + 4);
    }

    void customPatternIsTypedUntilEnter() {
        QWidget parent;
        PatternChoosers header(PatternChoosers::HeaderSet, &parent);
        header.setCustomPattern(QString(), 0);
        int changes = 0;
        header.OnPatternsChanged = [&changes] { ++changes; };
        header.ComboBox->setCurrentIndex(Patterns::CustomEntry);
        header.ComboBoxClick();
        QCOMPARE(sandbox->dialogs->messages.size(), 1);
        QCOMPARE(sandbox->dialogs->messages.first().text,
                 QStringLiteral("1. Edit custom pattern.\r\n2. Confirm with Enter.\r\n"
                                "3. Click Help to know about patterns."));
        QVERIFY(header.ComboBox->isEditable());
        QCOMPARE(header.ComboBox->currentIndex(), Patterns::CustomPatternEntry);
        QCOMPARE(changes, 0);

        header.ComboBox->lineEdit()->setText(QStringLiteral("Proof .date"));
        QTest::keyClick(header.ComboBox->lineEdit(), Qt::Key_Return);
        QVERIFY(!header.ComboBox->isEditable());
        QCOMPARE(header.ComboBox->count(), 9);
        QCOMPARE(header.customPattern(), QStringLiteral("Proof .date"));
        QCOMPARE(header.pattern(2), QStringLiteral("Proof .date"));
        QCOMPARE(changes, 1);
    }

private:
    std::unique_ptr<test::Sandbox> sandbox;
};

QTEST_MAIN(PatternsTest)
#include "tst_patterns.moc"
