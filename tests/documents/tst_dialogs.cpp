#include "documents/findreplace.h"
#include "documents/ttodayform.h"
#include "windowtest.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace tessary;

namespace {
DateTimePictures britishPictures(const QString &shortDate, const QString &longDate) {
    return {QLocale(QLocale::English, QLocale::UnitedKingdom), shortDate, longDate,
            QStringLiteral("HH:mm:ss"), QStringLiteral("HH:mm")};
}
const QDateTime kNow(QDate(2026, 12, 5), QTime(9, 7, 3));

// Counts the paints a widget gets before the first message is shown.
struct PaintsBeforeMessage : QObject {
    const QList<test::ScriptedDialogs::Shown> &messages;
    int paints = 0;
    explicit PaintsBeforeMessage(const QList<test::ScriptedDialogs::Shown> &shown)
        : messages(shown) {}
    bool eventFilter(QObject *, QEvent *event) override {
        paints += event->type() == QEvent::Paint && messages.isEmpty();
        return false;
    }
};
} // namespace

class DialogsTest : public test::WindowTest {
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

    void findStartsAtTheTopThenGoesOnToTheEnd() {
        editor()->setPlainText(QStringLiteral("ab ab"));
        editor()->setSelection(4, 0); // the caret further down does not count
        QVERIFY(trigger("SearchFind"));
        FindDialog *dialog = search().findDialog();
        QTest::keyClicks(dialog->FindTextEdit, QStringLiteral("ab"));
        QTest::mouseClick(dialog->FindNextButton, Qt::LeftButton);
        QCOMPARE(selection(), qMakePair(0, 2));
        QTest::mouseClick(dialog->FindNextButton, Qt::LeftButton);
        QCOMPARE(selection(), qMakePair(3, 2));
        QVERIFY(messages().isEmpty());
        QTest::mouseClick(dialog->FindNextButton, Qt::LeftButton);
        QCOMPARE(messages(), QStringList{QStringLiteral("End of search for 'ab'")});
        QVERIFY(!dialog->isVisible());
        QCOMPARE(selection(), qMakePair(3, 0));
    }

    void emptyFindTextEndsTheSearchAndChangesNothing() {
        editor()->setPlainText(QStringLiteral("some text"));
        QVERIFY(trigger("SearchReplace"));
        ReplaceDialog *dialog = search().replaceDialog();
        QCOMPARE(search().searchMode(), FindReplace::Mode::Replace);
        dialog->setReplaceText(QStringLiteral("x"));
        QTest::mouseClick(dialog->ReplaceAllButton, Qt::LeftButton);
        QCOMPARE(messages(), QStringList{QStringLiteral("End of search for ''")});
        QVERIFY(!dialog->isVisible());
        QCOMPARE(editor()->toPlainText(), "some text");
    }

    void replaceAllResumesAfterEachInsertedText() {
        editor()->setPlainText(QStringLiteral("aaa"));
        QVERIFY(trigger("Replace1")); // the menu item runs the Replace command
        ReplaceDialog *dialog = search().replaceDialog();
        dialog->setFindText(QStringLiteral("a"));
        dialog->setReplaceText(QStringLiteral("aa"));
        // Regression: the editor showed the old text until the closing message was answered.
        PaintsBeforeMessage view(sandbox->dialogs->messages);
        QCoreApplication::processEvents(); // the earlier edits' paints
        editor()->viewport()->installEventFilter(&view);
        QTest::mouseClick(dialog->ReplaceAllButton, Qt::LeftButton);
        QCOMPARE(editor()->toPlainText(), "aaaaaa");
        QCOMPARE(messages().size(), 1);
        QVERIFY(view.paints > 0);
        editor()->undo(); // one command, one undo step
        QCOMPARE(editor()->toPlainText(), "aaa");
    }

    void replaceTakesAnySelectionThenFindsTheNext() {
        editor()->setPlainText(QStringLiteral("xyz ab"));
        editor()->setSelection(0, 2);
        QVERIFY(trigger("SearchReplace"));
        ReplaceDialog *dialog = search().replaceDialog();
        dialog->setFindText(QStringLiteral("ab"));
        dialog->setReplaceText(QStringLiteral("Q"));
        QTest::mouseClick(dialog->ReplaceButton, Qt::LeftButton);
        QCOMPARE(editor()->toPlainText(), "Qz ab");
        QCOMPARE(selection(), qMakePair(3, 2));
        QVERIFY(dialog->isVisible());
        QCOMPARE(search().findDialog()->findText(), "ab");
        // Replacing by nothing leaves no selection; the next search must go on from there
        // rather than start again at the top.
        editor()->setPlainText(QStringLiteral("a1 a2 a3"));
        editor()->setSelection(3, 1);
        dialog->setFindText(QStringLiteral("a"));
        dialog->setReplaceText(QString());
        QTest::mouseClick(dialog->ReplaceButton, Qt::LeftButton);
        QCOMPARE(editor()->toPlainText(), "a1 2 a3");
        QCOMPARE(selection(), qMakePair(5, 1));
    }

    void replaceDialogOptionsApplyToItsFindNext_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<int>("hit");
        QTest::newRow("nominal: neither option") << "AB abc ab" << false << false << 0;
        QTest::newRow("nominal: match case") << "AB abc ab" << true << false << 3;
        QTest::newRow("nominal: whole word") << "abc AB ab" << false << true << 4;
        QTest::newRow("nominal: both") << "abc AB ab" << true << true << 7;
    }

    void replaceDialogOptionsApplyToItsFindNext() {
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(int, hit);
        editor()->setPlainText(text);
        QVERIFY(trigger("SearchReplace"));
        ReplaceDialog *dialog = search().replaceDialog();
        dialog->setFindText(QStringLiteral("ab"));
        if (matchCase)
            QTest::keyClick(dialog->MatchCaseBox, Qt::Key_Space);
        if (wholeWord)
            QTest::keyClick(dialog->WholeWordBox, Qt::Key_Space);
        QTest::mouseClick(dialog->FindNextButton, Qt::LeftButton);
        QCOMPARE(selection(), qMakePair(hit, 2));
        QCOMPARE(editor()->toPlainText(), text);
    }

    void sevenEntriesFollowThePictures() {
        today().FillTodayBox();
        QStringList entries;
        for (int i = 0; i < today().TodayBox->count(); ++i)
            entries.append(today().TodayBox->item(i)->text());
        QCOMPARE(entries, QStringList({"Saturday, 5 December 2026", "5 December 2026", "05/12/26",
                                       "05/12/2026", "09:07:03", "09:07", "05/12/26 09:07"}));
        QCOMPARE(today().TodayBox->currentRow(), 0);
    }

    void derivedPicturesCutTheWeekdayAndWidenTheYear_data() {
        QTest::addColumn<QString>("shortDate");
        QTest::addColumn<QString>("longDate");
        QTest::addColumn<QString>("withoutWeekday");
        QTest::addColumn<QString>("fourDigitYear");
        // clang-format off
        QTest::newRow("weekday in the middle") << "d/M/yy" << "'Le' dddd, d MMMM" << "d MMMM" << "d/M/yyyy";
        QTest::newRow("no \"dddd,\" loses five characters") << "yy-MM-dd" << "dddd d MMMM yyyy" << "d MMMM yyyy" << "yyyy-MM-dd";
        QTest::newRow("a four-digit year stays") << "dd.MM.yyyy" << "" << "" << "dd.MM.yyyy";
        QTest::newRow("no year at all") << "dd.MM" << "MMMM" << "" << "dd.MM";
        // clang-format on
    }

    void derivedPicturesCutTheWeekdayAndWidenTheYear() {
        QFETCH(QString, shortDate);
        QFETCH(QString, longDate);
        const DateTimePictures pictures = britishPictures(shortDate, longDate);
        QTEST(pictures.longDateWithoutWeekday(), "withoutWeekday");
        QTEST(pictures.shortDateFourDigitYear(), "fourDigitYear");
    }

    void chosenEntryIsTypedAtTheCaretAsOneStep() {
        editor()->setPlainText(QStringLiteral("[]"));
        editor()->setSelection(1, 0);
        whileModal([&] {
            QTest::keyClick(today().TodayBox, Qt::Key_Down);
            QTest::keyClick(today().TodayBox, Qt::Key_Down);
            QTest::keyClick(today().TodayBox, Qt::Key_Return);
        });
        QVERIFY(trigger("EditDateTime"));
        QCOMPARE(editor()->toPlainText(), "[05/12/26]");
        const QString face = form->fontBoxes().FontNameBox->currentText();
        QCOMPARE(editor()->charAttributesAt(1).face + editor()->charAttributesAt(8).face,
                 face + face);
        QCOMPARE(editor()->selStart(), 9);
        editor()->undo();
        QCOMPARE(editor()->toPlainText(), "[]");

        // A click selects the entry under the pointer, a double click chooses it.
        editor()->setSelection(1, 0);
        whileModal([&] {
            QListWidget *box = today().TodayBox;
            const QPoint row = box->visualItemRect(box->item(4)).center();
            QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, row);
            QTest::mouseDClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, row);
        });
        QVERIFY(trigger("EditDateTime"));
        QCOMPARE(editor()->toPlainText(), "[09:07:03]");
    }

    // The box shows the pseudo entry, so that is the face the characters get, at 11 points, not
    // the Latin notation face that typing would choose.
    void notationModeInsertsInTheLatinFaceAt11Points() {
        form->notation().NotationButtonClick();
        QVERIFY(form->notation().inNotationMode());
        today().FillTodayBox();
        today().TodayBox->setCurrentRow(5);
        today().OkButtonClick();
        QCOMPARE(editor()->toPlainText(), "09:07");
        for (int i = 0; i < 5; ++i)
            QCOMPARE(fontAt(i), "Courier New Even/11");
    }

private:
    FindReplace &search() { return form->findReplace(); }

    QStringList messages() const {
        QStringList texts;
        for (const auto &shown : sandbox->dialogs->messages)
            texts.append(shown.text);
        return texts;
    }
    TTodayForm &today() { return form->todayForm(); }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
