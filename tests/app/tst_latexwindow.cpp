// The LaTeX commands in the main window, the LaTeX export, and the names a screen reader
// reads for the character buttons and status panels.
#include "app/batchlatex.h"
#include "editor/functionkeys.h"
#include "editor/palettes.h"
#include "windowtest.h"

#include <QAccessible>
#include <QClipboard>

using namespace tessary;
using namespace tessary::test;

namespace {
QString accessibleText(QWidget *widget, QAccessible::Text kind = QAccessible::Name) {
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(kind) : QStringLiteral("(no interface)");
}
} // namespace

class TestLatexWindow : public WindowTest {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void paletteButtonsAreNamed_data();
    void paletteButtonsAreNamed();
    void functionKeysNameTheirAssignment();
    void statusPanelsSayWhatTheyMean();
    void keysCopyAndPasteLatex();
    void exportWritesADocument();
};

void TestLatexWindow::paletteButtonsAreNamed_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("name");
    QTest::newRow("Greek first") << "PaletteButton10"
                                 << "alpha";
    QTest::newRow("Greek last") << "PaletteButton42"
                                << "Omega";
    QTest::newRow("symbol") << "PaletteButton111"
                            << "infinity";
    QTest::newRow("large operator") << "PaletteButton207"
                                    << "sum";
    QTest::newRow("text symbol") << "PaletteButton133"
                                 << "Euro";
    QTest::newRow("empty button") << "PaletteButton43"
                                  << "empty";
}

void TestLatexWindow::paletteButtonsAreNamed() {
    QFETCH(QString, button);
    QFETCH(QString, name);
    auto *widget = form->findChild<QToolButton *>(button);
    QVERIFY(widget);
    QCOMPARE(accessibleText(widget), name);
}

void TestLatexWindow::functionKeysNameTheirAssignment() {
    FunctionKeys &keys = form->functionKeys();
    QCOMPARE(accessibleText(keys.valueButton(2)), QStringLiteral("F2: unassigned"));
    QCOMPARE(accessibleText(keys.definitionButton(12)), QStringLiteral("F12: assign a character"));
    keys.FnDefButtonClick(keys.definitionButton(2));
    keys.AssignFromPalette(child<QToolButton>("PaletteButton10"));
    QCOMPARE(accessibleText(keys.valueButton(2)), QStringLiteral("F2: alpha"));
    keys.FnDefButtonClick(keys.definitionButton(5));
    keys.AssignFromPalette(child<QToolButton>("PaletteButton209"));
    QCOMPARE(accessibleText(keys.valueButton(5)), QStringLiteral("F5: integral"));
    QCOMPARE(accessibleText(keys.valueButton(2)), QStringLiteral("F2: alpha"));
}

void TestLatexWindow::statusPanelsSayWhatTheyMean() {
    QCOMPARE(accessibleText(child<QLabel>("LineCountLabel"), QAccessible::Description),
             QStringLiteral("Line number"));
    QCOMPARE(accessibleText(child<QLabel>("InsStateLabel"), QAccessible::Description),
             QStringLiteral("Typing mode"));
    QCOMPARE(accessibleText(child<QLabel>("LineCountLabel")), QStringLiteral("1"));
}

void TestLatexWindow::keysCopyAndPasteLatex() {
    QApplication::clipboard()->setText(QStringLiteral("a_{n+1} = \\alpha"));
    QTRY_VERIFY(form->action(QStringLiteral("EditPasteLatex"))->isEnabled());
    QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(editor()->toPlainText(), QStringLiteral("an+1 = α"));
    QCOMPARE(fontAt(1), QStringLiteral("Courier New Low/11"));
    QCOMPARE(fontAt(7), QStringLiteral("Courier New Greek Even/11"));
    editor()->selectAll();
    QTRY_VERIFY(form->action(QStringLiteral("EditCopyLatex"))->isEnabled());
    QTest::keyClick(editor(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("$a_{n+1} = \\alpha$"));
}

void TestLatexWindow::exportWritesADocument() {
    const QString in = QStringLiteral(TESSARY_SOURCE_DIR "/docs/formula-example.rtf");
    const QString out = sandbox->dir.filePath(QStringLiteral("formula.tex"));
    QCOMPARE(ExportLatex(QFile::encodeName(in), QFile::encodeName(out)), QString());
    const QString tex = QString::fromUtf8(readFile(out));
    QVERIFY(tex.startsWith(QStringLiteral("\\documentclass")));
    QVERIFY(tex.trimmed().endsWith(QStringLiteral("\\end{document}")));
    QVERIFY(tex.contains(QStringLiteral("$e^{i\\phi} = \\cos \\phi + i\\ \\sin \\phi$")));
    QVERIFY(tex.contains(QStringLiteral("\\hypertarget{anchor")));
    QVERIFY(tex.contains(QStringLiteral("\\hyperlink{anchor")));
    QVERIFY(!ExportLatex(QFile::encodeName(in), QFile::encodeName(in)).isNull());
}

QTEST_MAIN(TestLatexWindow)
#include "tst_latexwindow.moc"
