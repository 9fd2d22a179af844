#include "documents/ttodayform.h"
#include "editor/fontboxes.h"
#include "editor/notationtyping.h"
#include "platform/richedit.h"
#include "windowtest.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>

using namespace tessary;

namespace {
DateTimePictures britishPictures(const QString &shortDate, const QString &longDate) {
    return {QLocale(QLocale::English, QLocale::UnitedKingdom), shortDate, longDate,
            QStringLiteral("HH:mm:ss"), QStringLiteral("HH:mm")};
}
const QDateTime kNow(QDate(2026, 12, 5), QTime(9, 7, 3));
} // namespace

class TodayFormTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() {
        openWindow();
        today().setPictureSource([] {
            return britishPictures(QStringLiteral("dd/MM/yy"), QStringLiteral("dddd, d MMMM yyyy"));
        });
        today().setClock([] { return kNow; });
    }
    void cleanup() { closeWindow(); }

    void sevenEntriesFollowThePictures() {
        today().FillTodayBox();
        QStringList entries;
        for (int i = 0; i < today().TodayBox->count(); ++i)
            entries.append(today().TodayBox->item(i)->text());
        QCOMPARE(entries, QStringList({"Saturday, 5 December 2026", "5 December 2026", "05/12/26",
                                       "05/12/2026", "09:07:03", "09:07", "05/12/26 09:07"}));
        QCOMPARE(today().TodayBox->currentRow(), 0);
    }

    void derivedPicturesCutTheWeekdayAndDoubleTheYear_data() {
        QTest::addColumn<QString>("shortDate");
        QTest::addColumn<QString>("longDate");
        QTest::addColumn<QString>("withoutWeekday");
        QTest::addColumn<QString>("fourDigitYear");
        // clang-format off
        QTest::newRow("nominal: weekday in the middle") << "d/M/yy"
                                                        << "'Le' dddd, d MMMM"
                                                        << "d MMMM"
                                                        << "d/M/yyyy";
        QTest::newRow("robustness: no \"dddd,\" loses five characters") << "yy-MM-dd"
                                                                        << "dddd d MMMM yyyy"
                                                                        << "d MMMM yyyy"
                                                                        << "yyyy-MM-dd";
        QTest::newRow("robustness: a four-digit year doubles") << "dd.MM.yyyy"
                                                               << ""
                                                               << ""
                                                               << "dd.MM.yyyyyy";
        QTest::newRow("robustness: no year at all") << "dd.MM" << "MMMM" << "" << "dd.MM";
        // clang-format on
    }

    void derivedPicturesCutTheWeekdayAndDoubleTheYear() {
        QFETCH(QString, shortDate);
        QFETCH(QString, longDate);
        const DateTimePictures pictures = britishPictures(shortDate, longDate);
        QTEST(pictures.longDateWithoutWeekday(), "withoutWeekday");
        QTEST(pictures.shortDateFourDigitYear(), "fourDigitYear");
    }

    void chosenEntryIsTypedAtTheCaretAsOneStep() {
        editor()->setPlainText(QStringLiteral("[]"));
        editor()->setSelection(1, 0);
        bool checked = false;
        whileModal([&] {
            QTest::keyClick(today().TodayBox, Qt::Key_Down);
            QTest::keyClick(today().TodayBox, Qt::Key_Down);
            checked = true;
            QTest::keyClick(today().TodayBox, Qt::Key_Return);
            QVERIFY(!today().isVisible());
        });
        runCommand();
        QVERIFY(checked);
        QCOMPARE(editor()->toPlainText(), QStringLiteral("[05/12/26]"));
        const QString face = form->fontBoxes().FontNameBox->currentText();
        QCOMPARE(editor()->charAttributesAt(1).face, face);
        QCOMPARE(editor()->charAttributesAt(8).face, face);
        QCOMPARE(editor()->selStart(), 9);
        editor()->undo();
        QCOMPARE(editor()->toPlainText(), QStringLiteral("[]"));

        // A click selects the entry under the pointer, a double click chooses it.
        editor()->setSelection(1, 0);
        whileModal([&] {
            QListWidget *box = today().TodayBox;
            const QPoint row = box->visualItemRect(box->item(4)).center();
            QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, row);
            QCOMPARE(box->currentRow(), 4);
            QTest::mouseDClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, row);
        });
        runCommand();
        QCOMPARE(editor()->toPlainText(), QStringLiteral("[09:07:03]"));
    }

    void cancelOrNoSelectionChangesNothing() {
        editor()->setPlainText(QStringLiteral("text"));
        whileModal([&] { QTest::mouseClick(today().CancelButton, Qt::LeftButton); });
        runCommand();
        QCOMPARE(editor()->toPlainText(), QStringLiteral("text"));
        whileModal([&] {
            today().TodayBox->clearSelection();
            QTest::mouseClick(today().OkButton, Qt::LeftButton);
        });
        runCommand();
        QCOMPARE(editor()->toPlainText(), QStringLiteral("text"));
        QVERIFY(!editor()->document()->isUndoAvailable());
    }

    // The box shows the pseudo entry, so that is the face the characters get, at 11 points, not
    // the Latin notation face that typing would choose.
    void notationModeTypesInTheNotationEntryAt11Points() {
        form->notation().NotationButtonClick();
        QVERIFY(form->notation().inNotationMode());
        today().FillTodayBox();
        today().TodayBox->setCurrentRow(5);
        today().OkButtonClick();
        QCOMPARE(editor()->toPlainText(), QStringLiteral("09:07"));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(fontAt(i), QStringLiteral("Tessary Notation/11"));
    }

private:
    TTodayForm &today() { return form->todayForm(); }

    void runCommand() {
        QAction *action = form->action(QStringLiteral("EditDateTime"));
        QVERIFY(action && action->isEnabled());
        action->trigger();
    }
};

QTEST_MAIN(TodayFormTest)
#include "tst_todayform.moc"
