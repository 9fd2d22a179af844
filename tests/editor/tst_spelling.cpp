// Spelling as the user types: what is underlined, what never is, and the context menu.
#include "editor/spellhighlighter.h"
#include "editor/spelling.h"
#include "windowtest.h"

#include <QMenu>

using namespace tessary;
using Word = SpellHighlighter::Word;

class SpellingTest : public test::WindowTest {
    Q_OBJECT
    SpellHighlighter &marks() { return form->spelling().highlighter(); }
    QList<Word> misspelt() {
        marks().finishPass();
        return marks().misspeltWords();
    }
    QAction *entry(QMenu *menu, const QString &text) {
        for (QAction *a : menu->actions()) {
            if (a->text() == text)
                return a;
        }
        return nullptr;
    }
    // Triggers the menu's entry `text`; false when the menu has none.
    bool pick(QMenu *menu, const QString &text) {
        QAction *a = entry(menu, text);
        if (a)
            a->trigger();
        return a;
    }
    QPoint viewportPointOf(int position) {
        QTextCursor c(editor()->document());
        c.setPosition(position);
        return editor()->cursorRect(c).center() + QPoint(2, 0);
    }

private slots:
    void init() {
        // The data folder outlives a test run; each test starts without added words.
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                      QLatin1Char('/') + QLatin1String(Spelling::kWordListName));
        openWindow();
        QVERIFY2(form->spelling().checker().ready(), "the en_US dictionary is installed");
        QVERIFY(form->spelling().toggle()->isChecked());
    }
    void cleanup() { closeWindow(); }

    void onlyProseWordsAreUnderlined() {
        QTest::keyClicks(editor(), QStringLiteral("teh cat "));
        QCOMPARE(misspelt(), QList<Word>({{0, 3, QStringLiteral("teh")}}));
        // Notation characters, words with digits and the word still being typed are spared.
        QTest::keyClick(editor(), Qt::Key_Escape);
        QTest::keyClicks(editor(), QStringLiteral("teh "));
        QTest::keyClick(editor(), Qt::Key_Escape);
        QTest::keyClicks(editor(), QStringLiteral("x2yz tehh"));
        QCOMPARE(misspelt().size(), 1);
        QTest::keyClick(editor(), Qt::Key_Return);
        QCOMPARE(misspelt().size(), 2);
        QCOMPARE(misspelt().last().text, "tehh");
        // An anchor's text is no prose either.
        editor()->setRangeAttributes(0, 3, {.color = 0xF00000, .underline = true},
                                     CharAttributes::Color | CharAttributes::Underline);
        QCOMPARE(misspelt().size(), 1);
        QCOMPARE(misspelt().first().text, "tehh");
        // Nor is a word that begins in notation and ends in prose.
        QTest::keyClick(editor(), Qt::Key_Escape);
        QTest::keyClicks(editor(), QStringLiteral("qz"));
        QTest::keyClick(editor(), Qt::Key_Escape);
        QTest::keyClicks(editor(), QStringLiteral("xw "));
        QCOMPARE(misspelt().size(), 1);
    }

    void underlineNeverEntersTheDocument() {
        QTest::keyClicks(editor(), QStringLiteral("Wrods are checkd here "));
        QCOMPARE(misspelt().size(), 2);
        const QByteArray on = editor()->rtfData();
        const int steps = editor()->document()->availableUndoSteps();
        QVERIFY(!editor()->charAttributesAt(0).underline);
        form->spelling().setOn(false);
        QCOMPARE(misspelt().size(), 0);
        QCOMPARE(editor()->rtfData(), on);
        QCOMPARE(editor()->document()->availableUndoSteps(), steps);
    }

    void suggestionReplacesTheWord() {
        QTest::keyClicks(editor(), QStringLiteral("teh cat"));
        QCOMPARE(misspelt().size(), 1);
        const QPoint at = viewportPointOf(1);
        QContextMenuEvent click(QContextMenuEvent::Mouse, at,
                                editor()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(editor()->viewport(), &click);
        QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(entry(menu, QStringLiteral("Add to dictionary")));
        QVERIFY(entry(menu, QStringLiteral("Ignore")));
        QVERIFY(pick(menu, QStringLiteral("the")));
        menu->close();
        QCOMPARE(editor()->toPlainText(), "the cat");
        QCOMPARE(misspelt().size(), 0);
        // One undo step brings the word back, in its own face.
        QVERIFY(trigger("EditUndo"));
        QCOMPARE(editor()->toPlainText(), "teh cat");
        // A correct word's menu is the plain one.
        std::unique_ptr<QMenu> plain(form->spelling().contextMenu(viewportPointOf(5)));
        QVERIFY(!entry(plain.get(), QStringLiteral("Ignore")));
    }

    void addedWordsAreKeptIgnoredOnesAreNot() {
        QTest::keyClicks(editor(), QStringLiteral("qwzx vbnq "));
        QCOMPARE(misspelt().size(), 2);
        std::unique_ptr<QMenu> menu(form->spelling().contextMenu(viewportPointOf(1)));
        QVERIFY(pick(menu.get(), QStringLiteral("Add to dictionary")));
        menu.reset(form->spelling().contextMenu(viewportPointOf(6)));
        QVERIFY(pick(menu.get(), QStringLiteral("Ignore")));
        menu.reset(); // a child of the editor
        QCOMPARE(misspelt().size(), 0);
        QCOMPARE(test::readFile(form->context().AppDir + QLatin1String(Spelling::kWordListName)),
                 QByteArray("qwzx\n"));
        // A new run knows the added word only.
        form = std::make_unique<TMainForm>();
        QTest::keyClicks(editor(), QStringLiteral("qwzx vbnq "));
        QCOMPARE(misspelt(), QList<Word>({{5, 4, QStringLiteral("vbnq")}}));
    }

    void switchAndLanguageAreKept() {
        QMenu *languages = form->spelling().languageMenu();
        QAction *us = form->findChild<QAction *>("SpellingLanguage_en_US");
        QVERIFY(us && us->isChecked() && languages->actions().contains(us));
        form->spelling().toggle()->trigger();
        QCOMPARE(SettingsStore::instance().readInteger(QLatin1String(InitSetting::kKeyPath),
                                                       QLatin1String(Spelling::kOnSetting), 1),
                 0);
        form = std::make_unique<TMainForm>();
        QVERIFY(!form->spelling().toggle()->isChecked());
        QTest::keyClicks(editor(), QStringLiteral("teh cat "));
        QCOMPARE(misspelt().size(), 0);
    }

    void largeInsertIsCheckedInIdleSlices() {
        editor()->insertPlainText(
            QStringLiteral("A line of prose with one wrnog word.\n").repeated(400));
        QVERIFY(marks().passPending());
        QTRY_VERIFY(!marks().passPending());
        QCOMPARE(marks().misspeltWords().size(), 400);
    }
};

QTEST_MAIN(SpellingTest)
#include "tst_spelling.moc"
