#include "app/initsetting.h"
#include "editor/palettes.h"
#include "rtf/codepage.h"
#include "windowtest.h"

#include <QToolBar>

using namespace tessary;

class FunctionKeysTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void initTestCase() { test::registerNotationFaces(); }

    void init() {
        openWindow(QSize(1000, 600));
        showFunctionKeys();
    }
    void cleanup() { closeWindow(); }

    // The hint names the key being assigned and stays inside the editor, even for F12.
    void definitionButtonShowsTheHintAndThePalettes() {
        const PaletteBars &bars = form->palettes().bars();
        const int editorRight = editor()->mapTo(form.get(), QPoint(editor()->width(), 0)).x();
        for (int key : {5, 12}) {
            QTest::mouseClick(def(key), Qt::LeftButton);
            QVERIFY(bars.FnHint->isVisible() && def(key)->isChecked() &&
                    !def(17 - key)->isChecked());
            QVERIFY(!bars.GreekToolBar->isHidden() && !bars.SymbolToolBarB->isHidden());
            QCOMPARE(bars.FnHint->findChild<QLabel *>("FnLabel2")->text(),
                     QStringLiteral("F%1").arg(key));
            QVERIFY(bars.FnHint->geometry().right() < editorRight);
        }
    }

    // Assigning inserts nothing; the key (or its value button) then inserts the palette's text,
    // a large operator in its tall form though the button shows the small one.
    void assignedCharacterIsInsertedByItsKey() {
        assign(5, 10);
        assign(3, 207);
        QVERIFY(form->palettes().bars().FnHint->isHidden());
        QVERIFY(!def(5)->isChecked());
        QCOMPARE(val(5)->text() + val(3)->text(),
                 QStringLiteral("\u03B1") + CodePage::notationSymbol().toUnicode(0xE4));
        QCOMPARE(val(5)->font().family(), "Courier New Greek Even");
        QCOMPARE(editor()->textLength(), 0);
        QVERIFY(!form->notation().inNotationMode());
        QTest::keyClick(editor(), Qt::Key_F5);
        QVERIFY(form->notation().inNotationMode());
        QTest::keyClick(editor(), Qt::Key_F3);
        QTest::mouseClick(val(3), Qt::LeftButton);
        QCOMPARE(editor()->toPlainText(), "\u03B1\u2211\u2211");
        QCOMPARE(fontAt(0), "Courier New Greek Even/11");
        QCOMPARE(editor()->charAttributesAt(2).face, "TessarySymbol Even");
    }

    void pendingAssignmentEndsWithoutChange_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("key in the editor") << "key";
        QTest::newRow("mouse press in the editor") << "mouse";
        QTest::newRow("another command") << "command";
        QTest::newRow("same definition button again") << "again";
    }

    void pendingAssignmentEndsWithoutChange() {
        QFETCH(QString, how);
        QTest::mouseClick(def(4), Qt::LeftButton);
        QVERIFY(form->palettes().bars().FnHint->isVisible());
        if (how == "key")
            QTest::keyClick(editor(), Qt::Key_A);
        else if (how == "mouse")
            QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {}, QPoint(50, 50));
        else if (how == "command")
            QTest::mouseClick(form->findChild<QToolButton *>("NotationButton"), Qt::LeftButton);
        else
            QTest::mouseClick(def(4), Qt::LeftButton);
        QVERIFY(form->palettes().bars().FnHint->isHidden());
        QVERIFY(!def(4)->isChecked());
        // A palette click now inserts instead of assigning.
        QTest::mouseClick(palette(11), Qt::LeftButton);
        QVERIFY(val(4)->text().isEmpty());
        QVERIFY(editor()->toPlainText().endsWith(QStringLiteral("\u03B2")));
    }

    void emptyPaletteButtonUnassignsTheKey() {
        assign(2, 10);
        QCOMPARE(val(2)->text(), "\u03B1");
        assign(2, 43);
        QVERIFY(val(2)->text().isEmpty());
        QTest::keyClicks(editor(), QStringLiteral("xy"));
        editor()->setSelStart(1);
        QTest::keyClick(editor(), Qt::Key_F2);
        QVERIFY(form->notation().inNotationMode());
        QCOMPARE(editor()->toPlainText(), "xy");
        QCOMPARE(form->BuildInit().mid(8, 2), "  ");
        // With Shift or Ctrl held the key is no shorthand.
        assign(2, 10);
        QTest::keyClick(editor(), Qt::Key_F2, Qt::ShiftModifier);
        QTest::keyClick(editor(), Qt::Key_F2, Qt::ControlModifier);
        QCOMPARE(editor()->toPlainText(), "xy");
    }

    void assignmentsSurviveARestart() {
        assign(5, 10);   // alpha
        assign(3, 207);  // sum
        assign(7, 131);  // copyright
        assign(12, 133); // Euro
        sandbox->dialogs->answers.enqueue(QMessageBox::No);
        form->close();
        const QString init =
            SettingsStore::instance().readString(InitSetting::kKeyPath, InitSetting::kValueName);
        // F2 to F12, two characters each: the code and 0 (Greek), 1 (symbol) or a space.
        QCOMPARE(init.mid(8), QStringLiteral("  \u00E41  \u00E10  \u00A9         ") + QChar(0x80) +
                                  QLatin1Char(' '));

        form = std::make_unique<TMainForm>(); // the same settings file
        form->show();
        showFunctionKeys();
        const QString sum(CodePage::notationSymbol().toUnicode(0xE4));
        QCOMPARE((QStringList{val(2)->text(), val(3)->text(), val(7)->text(), val(12)->text()}),
                 (QStringList{"", sum, "\u00A9", "\u20AC"}));
        QCOMPARE(val(7)->font().family(), "Courier New");
        // "copyright" keeps the mode and the box face; the others enter notation mode.
        QTest::keyClick(editor(), Qt::Key_F7);
        QVERIFY(!form->notation().inNotationMode());
        QCOMPARE(editor()->charAttributesAt(0).face, "Times New Roman");
        QTest::keyClick(editor(), Qt::Key_F5);
        QCOMPARE(editor()->toPlainText(), "\u00A9\u03B1");
        QCOMPARE(editor()->charAttributesAt(1).face, "Courier New Greek Even");
        QCOMPARE(form->BuildInit().mid(8), init.mid(8));
    }

    void piecesThatNameNoCharacterLeaveTheKeyUnassigned() {
        // F2: a code the Greek page leaves empty; F3: a character, not a code, that the Greek
        // page holds; F4: a character no Greek code stands for.
        const QString init =
            QStringLiteral("00000000") + QChar(0xD2) + QStringLiteral("0\u03B10\u4E000");
        SettingsStore::instance().writeString(InitSetting::kKeyPath, InitSetting::kValueName, init);
        form = std::make_unique<TMainForm>(); // the same settings file
        form->show();
        showFunctionKeys();
        QCOMPARE(QStringList({val(2)->text(), val(3)->text(), val(4)->text()}),
                 QStringList({"", "\u03B1", ""}));
        QCOMPARE(form->BuildInit().mid(8, 6), "  \u00E10  ");
    }

private:
    QToolButton *find(const QString &name) const { return form->findChild<QToolButton *>(name); }
    QToolButton *def(int key) const { return find(QStringLiteral("F%1DefButton").arg(key)); }
    QToolButton *val(int key) const { return find(QStringLiteral("F%1ValButton").arg(key)); }
    QToolButton *palette(int tag) const { return find(QStringLiteral("PaletteButton%1").arg(tag)); }

    void assign(int key, int paletteTag) const {
        QTest::mouseClick(def(key), Qt::LeftButton);
        QTest::mouseClick(palette(paletteTag), Qt::LeftButton);
    }

    void showFunctionKeys() {
        QTest::mouseClick(form->findChild<QToolButton *>("FunctionKeyButton"), Qt::LeftButton);
        editor()->setFocus();
    }
};

QTEST_MAIN(FunctionKeysTest)
#include "tst_functionkeys.moc"
