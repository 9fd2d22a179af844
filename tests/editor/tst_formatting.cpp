#include "editor/palettes.h"
#include "editor/ruler.h"
#include "windowtest.h"

#include <QClipboard>
#include <QMenu>
#include <QTextBlock>
#include <QTextList>

using namespace tessary;

class FormattingTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(QSize(1000, 600)); }
    void cleanup() { closeWindow(); }

    void effectsInvertEachCharacterByItself() {
        // Without a selection the caret's attribute is inverted.
        QTest::mouseClick(form->notation().controls().BoldButton, Qt::LeftButton);
        QVERIFY(editor()->caretAttributes().bold);
        QTest::mouseClick(form->notation().controls().BoldButton, Qt::LeftButton);
        insert("Arial", "ab");
        insert("Courier New Even", "x2");
        editor()->setRangeAttributes(0, 1, {.bold = true}, CharAttributes::Bold);
        editor()->setRangeAttributes(2, 1, {.bold = true}, CharAttributes::Bold);
        editor()->setSelection(0, 4);
        QTest::mouseClick(form->notation().controls().BoldButton, Qt::LeftButton);
        QCOMPARE(QList<bool>({at(0).bold, at(1).bold, at(2).bold, at(3).bold}),
                 QList<bool>({false, true, false, true}));
        QCOMPARE(fontAt(2), "Courier New Even/11");
        QCOMPARE(editor()->selLength(), 4);
        QTest::mouseClick(form->notation().controls().ItalicButton, Qt::LeftButton);
        QTRY_VERIFY(child<QToolButton>("UnderlineButton")->isEnabled());
        QTest::mouseClick(child<QToolButton>("UnderlineButton"), Qt::LeftButton);
        QVERIFY(at(0).italic && at(3).italic && at(0).underline && at(3).underline);
        // Each command is one undo step.
        editor()->undo();
        QVERIFY(at(0).italic && !at(0).underline && !at(3).underline);
        editor()->undo();
        editor()->undo();
        QVERIFY(!at(0).italic && !at(3).italic && at(0).bold && !at(1).bold && at(2).bold);
    }

    void faceChangeSkipsNotationCharactersAndSetsTheSize() {
        insert("Courier New Even", "x");
        insert("Arial", "ab", 9);
        insert("aRIAL", "y", 9);
        editor()->insertPlainText(QStringLiteral("\n"));
        insert("Courier New Greek High", QStringLiteral("\u03B1"));
        editor()->selectAll();
        choose(form->fontBoxes().FontSizeBox, "14");
        choose(form->fontBoxes().FontNameBox, "Times New Roman");
        QCOMPARE(QList<int>({at(1).size, at(2).size, at(3).size}), QList<int>({14, 14, 14}));
        QCOMPARE(at(1).face, "Times New Roman");
        QCOMPARE(at(3).face, "tIMES New Roman");
        QCOMPARE(at(0).face, "Courier New Even");
        QCOMPARE(fontAt(5), "Courier New Greek High/11");
        QCOMPARE(editor()->selLength(), 6);
    }

    void notationToggleAppliesNothingToTheText() {
        // Regression: the toggle selects entries in both boxes; that must not reach the text.
        insert("Arial", "ab", 9);
        editor()->selectAll();
        QTest::keyClick(editor(), Qt::Key_Escape);
        QCOMPARE(boxes(), "Tessary Notation/11");
        QCOMPARE(fontAt(1), "Arial/9");
    }

    void caretFontToggleGoesBothWays() {
        auto toggle = [this] {
            click("CaretFontButton");
            return boxes();
        };
        insert("Courier New Greek High", QStringLiteral("\u03B1"));
        insert("Arial", "b", 14);
        editor()->setSelStart(1);
        QCOMPARE(toggle(), "Tessary Notation/11");
        QCOMPARE(toggle(), "Times New Roman/12");
        editor()->setSelStart(2);
        QCOMPARE(toggle(), "Arial/14");
        // The toggle shares its memory with the notation toggle.
        QTest::keyClick(editor(), Qt::Key_Escape);
        QTest::keyClick(editor(), Qt::Key_Escape);
        QCOMPARE(toggle(), "Arial/14");
    }

    void notationModeInTheBoxes() {
        const int savedName = form->fontBoxes().SavedFontNameIndex();
        const int savedSize = form->fontBoxes().SavedFontSizeIndex();
        choose(form->fontBoxes().FontNameBox, "Arial");
        choose(form->fontBoxes().FontSizeBox, "16");
        QCOMPARE(editor()->caretAttributes().size, 16);
        // Choosing the notation entry enters notation mode without touching the saved indexes.
        choose(form->fontBoxes().FontNameBox, "Tessary Notation");
        QCOMPARE(boxes(), "Tessary Notation/11");
        QCOMPARE(editor()->caretAttributes().face, "Courier New Even"); // a real face
        QCOMPARE(form->fontBoxes().SavedFontNameIndex(), savedName);
        QCOMPARE(form->fontBoxes().SavedFontSizeIndex(), savedSize);
        // There the size cannot change.
        choose(form->fontBoxes().FontSizeBox, "14");
        QCOMPARE(form->fontBoxes().FontSizeBox->currentText(), "11");
        QCOMPARE(editor()->caretAttributes().size, 11);
    }

    // The entry names no face: prose in the selection takes the Even face of its family at
    // 11 points, as typed in notation mode; notation characters keep theirs.
    void notationEntryOnASelectionSetsNotationFaces() {
        insert("Arial", QStringLiteral("x\u03B1\u2211"), 16);
        insert("Courier New Greek High", QStringLiteral("\u03B2"));
        editor()->selectAll();
        choose(form->fontBoxes().FontSizeBox, "16");
        choose(form->fontBoxes().FontNameBox, "Tessary Notation");
        QCOMPARE(boxes(), "Tessary Notation/11");
        QCOMPARE(QStringList({fontAt(0), fontAt(1), fontAt(2), fontAt(3)}),
                 QStringList({"Courier New Even/11", "Courier New Greek Even/11",
                              "TessarySymbol Even/11", "Courier New Greek High/11"}));
        QCOMPARE(at(1).charset, 161);
        QVERIFY(!editor()->rtfData().contains("Tessary Notation"));
    }

    void paragraphButtonsKeepTheIndents() {
        insert("Arial", "one");
        ParaAttributes p = editor()->paraAttributes();
        p.firstIndent = 18;
        p.leftIndent = 36;
        editor()->setParaAttributes(p);
        QTest::mouseClick(form->ruler().widgets().CenterAlignButton, Qt::LeftButton);
        QCOMPARE(editor()->paraAttributes().alignment, Alignment::Center);
        QCOMPARE(editor()->paraAttributes().firstIndent, 18);
        // The buttons follow the caret paragraph, and do nothing while a marker is dragged.
        editor()->insertPlainText(QStringLiteral("\ntwo"));
        QTest::mouseClick(form->ruler().widgets().RightAlignButton, Qt::LeftButton);
        editor()->setSelStart(0);
        QTRY_VERIFY(form->ruler().widgets().CenterAlignButton->isChecked());
        form->context().RulerDragging = true;
        QTest::mouseClick(form->ruler().widgets().LeftAlignButton, Qt::LeftButton);
        QCOMPARE(editor()->paraAttributes().alignment, Alignment::Center);
    }

    void bulletsKeepEachParagraphsIndents() {
        editor()->setPlainText(QStringLiteral("one\ntwo"));
        QList<ParaAttributes> own;
        for (int i : {0, 1}) {
            editor()->setSelStart(4 * i);
            editor()->setParaAttributes({Alignment::Left, 9 * i, 18 - 9 * i, 4 * i, false, 0});
            own.append(editor()->paraAttributes());
        }
        QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
        for (bool bullet : {true, false}) {
            click("BulletsButton");
            for (int i : {0, 1}) {
                own[i].bullet = bullet;
                QCOMPARE(editor()->paraAttributesAt(4 * i), own.at(i));
            }
        }
    }

    void bulletsTakeOverAPastedList_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("all");
        QTest::newRow("numbered, all") << "<ol><li>one</li><li>two</li></ol>" << true;
        QTest::newRow("numbered, second only") << "<ol><li>one</li><li>two</li></ol>" << false;
        QTest::newRow("square, all") << "<ul type=square><li>one</li><li>two</li></ul>" << true;
    }
    void bulletsTakeOverAPastedList() {
        QFETCH(QString, html);
        QFETCH(bool, all);
        auto *data = new QMimeData;
        data->setHtml(html);
        QApplication::clipboard()->setMimeData(data);
        QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(listAt(0) && listAt(1));
        const auto pasted = listAt(0)->format().style();
        editor()->setSelection(all ? 0 : 4, all ? 7 : 0);
        click("BulletsButton");
        QVERIFY(listAt(1) && editor()->paraAttributesAt(4).bullet);
        QCOMPARE(listAt(0)->format().style(), all ? QTextListFormat::ListDisc : pasted);
        click("BulletsButton"); // and off again
        QVERIFY(!listAt(1));
        QCOMPARE(listAt(0) == nullptr, all);
    }

    // Neither size is in the size box: each is shown greyed, the saved one comes back, and
    // typing, an insertion in a face and the face box all go on at the greyed size.
    void caretFontRestoresTheSizeItSaved() {
        insert("Arial", "a", 13);
        insert("Arial", "b", 15);
        FontBoxes &boxes = form->fontBoxes();
        editor()->setSelStart(1); // after "a"
        click("CaretFontButton");
        QCOMPARE(boxes.FontSizeBox->placeholderText(), "13");
        QTest::keyClick(editor(), Qt::Key_Right); // after "b"
        click("CaretFontButton");
        QCOMPARE(boxes.size(), 15);
        click("CaretFontButton"); // the same font again: what the boxes showed before
        QCOMPARE(boxes.size(), 13);
        QCOMPARE(boxes.FontSizeBox->currentIndex(), -1);
        QTest::keyClick(editor(), Qt::Key_C);
        form->notation().InsertWithFont(QStringLiteral("Arial"), QStringLiteral("d"));
        editor()->selectAll();
        choose(boxes.FontNameBox, "Times New Roman");
        QCOMPARE(editor()->toPlainText(), "abcd");
        QCOMPARE(QList<int>({at(0).size, at(1).size, at(2).size, at(3).size}),
                 QList<int>({13, 13, 13, 13}));
    }

    void emptyDocumentDisablesTheDocumentCommands() {
        QTRY_VERIFY(!enabled("FileSave"));
        for (const char *name : {"FileSaveAs", "FilePrint", "HtmlGenerate", "SearchFind",
                                 "Replace1", "EditCut", "EditCopy", "HtmlSrcAnchor",
                                 "HtmlDestAnchor", "EditUndo", "FileExportLatex", "EditCopyLatex"})
            QVERIFY2(!enabled(name), name);
        for (const char *name : {"EditDelete", "FileNew", "FileOpen1", "FileExit", "EditSelectAll",
                                 "EditDateTime", "SearchReplace", "HelpContents", "HelpAbout"})
            QVERIFY2(enabled(name), name);
        QVERIFY(!child<QToolButton>("UnderlineButton")->isEnabled());
        // A lone paragraph break is no content either: the last empty line does not count.
        QTest::keyClick(editor(), Qt::Key_Return);
        QTRY_VERIFY(enabled("EditUndo"));
        QVERIFY(enabled("FileSave"));
        QTest::keyClick(editor(), Qt::Key_Backspace);
        QTRY_VERIFY(!enabled("FileSave"));
        QVERIFY(!enabled("SearchFind"));
    }

    void oneSelectedCharacterEnablesTheSelectionCommands() {
        QTest::keyClicks(editor(), QStringLiteral("ab"));
        QTRY_VERIFY(enabled("FileSave"));
        for (const char *name :
             {"FileSaveAs", "FilePrint", "HtmlGenerate", "SearchFind", "Replace1", "EditUndo"})
            QVERIFY2(enabled(name), name);
        QVERIFY(!enabled("EditCut"));
        QTest::keyClick(editor(), Qt::Key_Left, Qt::ShiftModifier);
        QTRY_VERIFY(enabled("EditCut"));
        for (const char *name : {"EditCopy", "HtmlSrcAnchor", "HtmlDestAnchor"})
            QVERIFY2(enabled(name), name);
        QVERIFY(child<QToolButton>("UnderlineButton")->isEnabled());
        QTest::keyClick(editor(), Qt::Key_Right);
        QTRY_VERIFY(!enabled("EditCut"));
        QVERIFY(!child<QToolButton>("UnderlineButton")->isEnabled());
    }

    void pasteFollowsTheClipboard() {
        QGuiApplication::clipboard()->setText(QStringLiteral("text"));
        QTRY_VERIFY(enabled("EditPaste"));
        QGuiApplication::clipboard()->clear();
        QTRY_VERIFY(!enabled("EditPaste"));
    }

    void lineLabelShowsTheCaretLine() {
        const QLabel *label = child<QLabel>("LineCountLabel");
        QTRY_COMPARE(label->text(), QStringLiteral("1"));
        QTest::keyClicks(editor(), QStringLiteral("one"));
        QVERIFY(form->documentState().DocumentModified());
        QTest::keyClick(editor(), Qt::Key_Return);
        QTest::keyClick(editor(), Qt::Key_Return);
        QTRY_COMPARE(label->text(), QStringLiteral("3"));
        QTest::keyClick(editor(), Qt::Key_Up);
        QTRY_COMPARE(label->text(), QStringLiteral("2"));
        // A narrower window rewraps the text: the label follows the caret to its new line.
        editor()->setPlainText(QStringLiteral("word ").repeated(60));
        editor()->moveCursor(QTextCursor::End);
        QTRY_COMPARE(label->text(), QString::number(editor()->caretPos().y() + 1));
        const int wide = label->text().toInt();
        form->resize(500, 600);
        QTRY_VERIFY(editor()->caretPos().y() + 1 > wide);
        QTRY_COMPARE(label->text(), QString::number(editor()->caretPos().y() + 1));
    }

    void altLetterOpensItsMenu_data() {
        QTest::addColumn<char>("letter");
        QTest::addColumn<QString>("menu");
        QTest::newRow("file") << 'f' << "FileMenu";
        QTest::newRow("html") << 't' << "HtmlMenu";
        QTest::newRow("help") << 'h' << "HelpMenu";
    }

    void altLetterOpensItsMenu() {
        QFETCH(char, letter);
        QFETCH(QString, menu);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(editor(), letter, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), form->findChild<QMenu *>(menu));
        QApplication::activePopupWidget()->close();
        QCOMPARE(editor()->toPlainText(), QString());
    }

    void openingAMenuOrClickingTheEditorCancelsTheFunctionKeyHint() {
        form->palettes().bars().FnHint->show();
        auto *edit = form->findChild<QMenu *>("EditMenu");
        edit->popup(form->mapToGlobal(QPoint(40, 40)));
        QVERIFY(!form->palettes().bars().FnHint->isVisible());
        edit->close();
        form->palettes().bars().FnHint->show();
        QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QVERIFY(!form->palettes().bars().FnHint->isVisible());
    }

private:
    void click(const char *button) {
        form->commands().ActionListUpdate(); // the idle pass sets the buttons first
        QTest::mouseClick(child<QToolButton>(button), Qt::LeftButton);
    }
    QTextList *listAt(int paragraph) {
        return editor()->document()->findBlockByNumber(paragraph).textList();
    }
    // Chooses an entry as the user does, so the box reports it as activated.
    void choose(QComboBox *box, const QString &text) {
        const int index = box->findText(text);
        QVERIFY2(index >= 0 && box->count() > 1, qPrintable(text));
        // Step onto the entry from a neighbour; the handler may then select another one.
        box->setCurrentIndex(index > 0 ? index - 1 : 1);
        QTest::keyClick(box, index > 0 ? Qt::Key_Down : Qt::Key_Up);
    }

    void insert(const QString &face, const QString &text, int size = 0) {
        const int start = editor()->textLength();
        editor()->setSelStart(start);
        form->notation().InsertWithFont(face, text);
        if (size > 0)
            editor()->setRangeAttributes(start, int(text.size()), {.size = size},
                                         CharAttributes::Size);
    }
    CharAttributes at(int position) { return editor()->charAttributesAt(position); }
    bool enabled(const char *name) { return form->action(QString::fromLatin1(name))->isEnabled(); }
};

QTEST_MAIN(FormattingTest)
#include "tst_formatting.moc"
