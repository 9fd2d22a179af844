// What a desktop editor is expected to do around the notation: redo, the bold and italic
// keys, zooming the view, palettes in a narrow window and colours on a dark theme.
#include "documents/ttodayform.h"
#include "editor/palettes.h"
#include "editor/viewzoom.h"
#include "html/anchors.h"
#include "html/tanchorform.h"
#include "html/thtmlform.h"
#include "printing/tprintform.h"
#include "richtext/readablecolours.h"
#include "windowtest.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolTip>
#include <QWheelEvent>

using namespace tessary;

class DesktopTest : public test::WindowTest {
    Q_OBJECT
    bool enabled(const char *name) {
        form->commands().ActionListUpdate();
        return form->action(QLatin1String(name))->isEnabled();
    }
    QByteArray saved(const QString &name) {
        const QString path = sandbox->dir.filePath(name);
        sandbox->dialogs->fileNames.enqueue(path);
        return trigger("FileSaveAs") ? test::readFile(path) : QByteArray();
    }
    QByteArray htmlPage(const QString &name) {
        const QString path = sandbox->dir.filePath(name);
        whileModal([this, path] {
            form->htmlForm().HtmlFileName->setText(path);
            QTest::keyClick(form->htmlForm().HtmlTitle, Qt::Key_Return);
        });
        return trigger("HtmlGenerate") ? test::readFile(path) : QByteArray();
    }
    void wheel(int delta, Qt::KeyboardModifiers modifiers) {
        QWidget *viewport = editor()->viewport();
        const QPointF at(20, 20);
        QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    }

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void redoFollowsUndoInMenuBarAndKey() {
        QVERIFY(form->findChild<QToolButton *>("EditRedoButton"));
        const QList<QAction *> edit = form->findChild<QMenu *>("EditMenu")->actions();
        QCOMPARE(edit.indexOf(form->action("EditRedo")),
                 edit.indexOf(form->action("EditUndo")) + 1);
        QTest::keyClicks(editor(), QStringLiteral("ab"));
        QVERIFY(!enabled("EditRedo"));
        QVERIFY(trigger("EditUndo"));
        QCOMPARE(editor()->toPlainText(), QString());
        QVERIFY(trigger("EditRedo"));
        QCOMPARE(editor()->toPlainText(), "ab");
        QVERIFY(!enabled("EditRedo"));
        QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(editor()->toPlainText(), "ab");
        // Ctrl+Y stays the line deletion, not a second redo key.
        QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(editor()->toPlainText(), QString());
    }

    void boldAndItalicKeysPressTheirButtons_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("button");
        QTest::newRow("bold") << int(Qt::Key_B) << "BoldButton";
        QTest::newRow("italic") << int(Qt::Key_I) << "ItalicButton";
    }
    void boldAndItalicKeysPressTheirButtons() {
        QFETCH(int, key);
        QFETCH(QString, button);
        auto effect = [&](int position) {
            const CharAttributes a = editor()->charAttributesAt(position);
            return button == QLatin1String("BoldButton") ? a.bold : a.italic;
        };
        auto *pressed = form->findChild<QToolButton *>(button);
        QTest::keyClicks(editor(), QStringLiteral("ab"));
        editor()->setSelection(0, 1);
        QTest::keyClick(editor(), Qt::Key(key), Qt::ControlModifier);
        QVERIFY(effect(0));
        QVERIFY(!effect(1));
        QCOMPARE(editor()->toPlainText(), "ab"); // no character typed
        // The key toggles the button as a click does; typing follows the button.
        editor()->setSelection(2, 0);
        const bool wasChecked = pressed->isChecked();
        QTest::keyClick(editor(), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(pressed->isChecked(), !wasChecked);
        QTest::keyClicks(editor(), QStringLiteral("c"));
        QCOMPARE(effect(2), pressed->isChecked());
        // A disabled button's key does nothing either.
        pressed->setEnabled(false);
        editor()->setSelection(1, 1);
        QTest::keyClick(editor(), Qt::Key(key), Qt::ControlModifier);
        QVERIFY(!effect(1));
    }

    void zoomStepsByKeyAndWheelAndIsKept() {
        const QLabel *label = child<QLabel>("ZoomLabel");
        QCOMPARE(label->text(), "100 %");
        QTest::keyClick(editor(), Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(editor(), Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(form->zoom().percent(), 150);
        QCOMPARE(label->text(), "150 %");
        QTest::keyClick(editor(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(form->zoom().percent(), 125);
        wheel(120, Qt::ControlModifier);
        wheel(60, Qt::ControlModifier); // half a notch waits for the other half
        QCOMPARE(form->zoom().percent(), 150);
        wheel(60, Qt::ControlModifier);
        QCOMPARE(form->zoom().percent(), 175);
        form->zoom().setPercent(300);
        form->zoom().zoomIn();
        form->zoom().zoomIn();
        QCOMPARE(form->zoom().percent(), 400);
        QVERIFY(!form->findChild<QAction *>("ViewZoomIn")->isEnabled());
        for (int i = 0; i < 12; ++i)
            wheel(-120, Qt::ControlModifier);
        QCOMPARE(form->zoom().percent(), 50);
        // Ctrl+0 stays the symbol digit.
        QTest::keyClick(editor(), Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(form->zoom().percent(), 50);
        QCOMPARE(editor()->textLength(), 1);
        form->findChild<QAction *>("ViewZoomReset")->trigger();
        QCOMPARE(form->zoom().percent(), 100);
        // A plain wheel step between two Ctrl half-steps starts the count afresh.
        wheel(60, Qt::ControlModifier);
        wheel(120, Qt::NoModifier);
        wheel(60, Qt::ControlModifier);
        QCOMPARE(form->zoom().percent(), 100);
        form->zoom().setPercent(200);
        QCOMPARE(SettingsStore::instance().readInteger(QLatin1String(InitSetting::kKeyPath),
                                                       QStringLiteral("Zoom")),
                 200);
        form = std::make_unique<TMainForm>();
        QCOMPARE(form->zoom().percent(), 200);
        QCOMPARE(editor()->viewScale(), 200);
    }

    void zoomScalesTheViewAndRulerOnly() {
        QTest::keyClicks(editor(), QStringLiteral("zoom "));
        ParaAttributes indent = editor()->paraAttributes();
        indent.firstIndent = 36;
        editor()->setParaAttributes(indent, ParaAttributes::FirstIndent);
        editor()->setSelStart(editor()->textLength());
        const int origin = editor()->paragraphOrigin();
        const int width = editor()->charWidth(0);
        const QPoint marker = child<QWidget>("RulerFirstIndent")->pos();
        form->zoom().setPercent(200);
        QCOMPARE(editor()->paragraphOrigin(), 2 * origin);
        QVERIFY(qAbs(editor()->charWidth(0) - 2 * width) <= 1);
        // The marker stands at the doubled indent, and dragging it nowhere keeps the indent.
        form->commands().ActionListUpdate();
        const QPoint zoomed = child<QWidget>("RulerFirstIndent")->pos();
        QVERIFY(zoomed.x() > marker.x() + 30);
        QCOMPARE(form->ruler().RulerPixelsToPoints(zoomed.x() - marker.x()), 36);
    }

    void savedFileAndHtmlPageAreTheSameAtEveryZoom() {
        QTest::keyClicks(editor(), QStringLiteral("one two three "));
        editor()->insertPlainText(QStringLiteral("wrapped words ").repeated(40));
        const QByteArray rtf = saved(QStringLiteral("at100.rtf"));
        const QByteArray html = htmlPage(QStringLiteral("at100.html"));
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(html.contains("wrapped"));
        const int undoSteps = editor()->document()->availableUndoSteps();
        form->zoom().setPercent(200);
        QVERIFY(!form->documentState().DocumentModified());
        QCOMPARE(editor()->document()->availableUndoSteps(), undoSteps);
        QCOMPARE(saved(QStringLiteral("at200.rtf")), rtf);
        QCOMPARE(htmlPage(QStringLiteral("at200.html")).replace("at200", "at100"), html);
        QCOMPARE(editor()->viewScale(), 200); // back to the user's zoom after the page
    }

    void everyPaletteButtonIsReachableInANarrowWindow_data() {
        QTest::addColumn<int>("width");
        QTest::newRow("full row") << 1000;
        QTest::newRow("narrow") << 420;
        QTest::newRow("narrowest the window allows") << 1;
    }
    void everyPaletteButtonIsReachableInANarrowWindow() {
        QFETCH(int, width);
        const PaletteBars &bars = form->palettes().bars();
        bars.GreekAlphabetButton->click();
        bars.SymbolButton->click();
        child<QToolButton>("FunctionKeyButton")->click();
        form->resize(width, 700);
        QTRY_VERIFY(form->width() <= qMax(width, form->minimumSizeHint().width()));
        for (QToolBar *bar :
             {bars.GreekToolBar, bars.SymbolToolBarA, bars.SymbolToolBarB, bars.FnKeyToolBar}) {
            QVERIFY(bar->isVisible());
            const QRect inWindow(bar->mapTo(form.get(), QPoint(0, 0)), bar->size());
            QVERIFY(form->rect().contains(inWindow));
            const auto *row = bar->findChild<QWidget *>(bar->objectName() + QStringLiteral("Row"));
            const QList<QToolButton *> buttons = row->findChildren<QToolButton *>();
            QVERIFY(buttons.size() >= 22);
            for (QToolButton *b : buttons)
                QVERIFY(b->isVisible() &&
                        bar->rect().contains(QRect(b->mapTo(bar, QPoint()), b->size())));
        }
        // The bars stack without overlapping one another or the editor.
        QTRY_VERIFY(bars.GreekToolBar->geometry().bottom() < bars.SymbolToolBarA->geometry().top());
        QVERIFY(bars.SymbolToolBarB->geometry().bottom() < bars.FnKeyToolBar->geometry().top());
        QVERIFY(bars.FnKeyToolBar->geometry().bottom() < editor()->geometry().top());
    }

    void captionsReadOnTheirBackgroundInADarkTheme() {
        const QPalette original = QApplication::palette();
        openDarkWindow();
        using P = QPalette;
        auto readable = [](const QWidget *w, P::ColorRole text, P::ColorRole background) {
            return w &&
                   contrastRatio(w->palette().color(text), w->palette().color(background)) >= 3;
        };
        QVERIFY(readable(form->menuBar(), P::ButtonText, P::Window));
        QVERIFY(readable(child<QToolButton>("BoldButton"), P::ButtonText, P::Window));
        QVERIFY(readable(child<QToolButton>("ItalicButton"), P::ButtonText, P::Button)); // checked
        QVERIFY(readable(child<QLabel>("LineHeaderLabel"), P::WindowText, P::Window));
        QVERIFY(readable(child<QLabel>("FnLabel0"), P::WindowText, P::Window));
        QVERIFY(readable(child<QToolButton>("PaletteButton10"), P::ButtonText, P::Window));
        QVERIFY(readable(editor(), P::Text, P::Base));
        QVERIFY(readable(child<QComboBox>("HeaderComboBox"), P::ButtonText, P::Button));
        QVERIFY(readable(child<QWidget>("TodayBox"), P::Text, P::Base));
        QVERIFY(readable(form->anchors().form().Label1, P::WindowText, P::Window));
        const QPalette tips = QToolTip::palette();
        QVERIFY(contrastRatio(tips.color(QPalette::ToolTipText),
                              tips.color(QPalette::ToolTipBase)) >= 3);
        QApplication::setPalette(original);
    }

    void disabledToolButtonsLookDisabled_data() {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QString>("button");
        for (const bool dark : {false, true}) {
            for (const char *button : {"FileSaveButton", "FilePrintButton", "UnderlineButton"})
                QTest::addRow("%s theme: %s", dark ? "dark" : "light", button) << dark << button;
        }
    }

    // Regression: Save, Print (an empty document) and Underline (no selection) looked enabled.
    // Disabled, a button's picture or caption stands out from its background far less.
    void disabledToolButtonsLookDisabled() {
        QFETCH(bool, dark);
        QFETCH(QString, button);
        const QPalette original = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(original); });
        if (dark)
            openDarkWindow();
        QWidget *b = child<QWidget>(button.toLatin1());
        QVERIFY(b);
        // How far the pixels are from the corner's (the background's), on average.
        auto ink = [b] {
            const QImage image = b->grab().toImage();
            const int background = qGray(image.pixel(1, 1));
            qint64 sum = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x)
                    sum += qAbs(qGray(image.pixel(x, y)) - background);
            }
            return double(sum) / (image.width() * image.height());
        };
        b->setEnabled(true);
        const double enabled = ink();
        b->setEnabled(false);
        const double disabled = ink();
        QVERIFY2(disabled < enabled * 0.6,
                 qPrintable(QStringLiteral("%1 enabled, %2 disabled").arg(enabled).arg(disabled)));
    }

private:
    void openDarkWindow() {
        QPalette dark(QColor(53, 53, 53));
        dark.setColor(QPalette::Base, QColor(35, 35, 35));
        dark.setColor(QPalette::Text, QColor(230, 230, 230));
        QApplication::setPalette(dark);
        closeWindow();
        openWindow();
    }
};

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
