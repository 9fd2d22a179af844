#include "app/initsetting.h"
#include "app/tauxform.h"
#include "documents/findreplace.h"
#include "editor/palettes.h"
#include "windowtest.h"

#include <QFontDatabase>

using namespace tessary;

class StartupTest : public test::WindowTest {
    Q_OBJECT
private slots:
    void cleanup() { closeWindow(); }

    void firstStartShowsTimesNewRoman12() {
        test::Sandbox sandbox;
        TMainForm form;
        QVERIFY(form.startedUp());
        QCOMPARE(form.windowTitle(), "Tessary - [untitled.rtf][*]");
        QVERIFY(!form.documentState().DocumentModified());
        QCOMPARE(form.editor()->caretAttributes().face, "Times New Roman");
        // A notation toggle there and back returns to exactly the first start's boxes.
        form.notation().NotationButtonClick();
        QCOMPARE(boxesOf(form), "Tessary Notation/11");
        form.notation().NotationButtonClick();
        QCOMPARE(boxesOf(form), "Times New Roman/12");
        // The font list holds no notation face but the pseudo entry, sorted.
        QStringList items;
        for (int i = 0; i < form.fontBoxes().FontNameBox->count(); ++i)
            items << form.fontBoxes().FontNameBox->itemText(i);
        QVERIFY(!items.contains("Courier New Even") && items.contains("Tessary Notation"));
        // Real family names once each: no foundry tags, generic aliases or symbol faces.
        QCOMPARE(QSet<QString>(items.begin(), items.end()).size(), items.size());
        for (const QString &item : items) {
            QVERIFY2(!item.endsWith(u']') &&
                         !QStringList({"Serif", "Sans Serif", "Monospace"}).contains(item),
                     qPrintable(item));
            QVERIFY2(!QFontDatabase::writingSystems(item).contains(QFontDatabase::Symbol),
                     qPrintable(item));
        }
        QStringList sorted = items;
        sorted.sort(Qt::CaseInsensitive);
        QCOMPARE(items, sorted);
    }

    void screenWidthRule_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("starts");
        QTest::newRow("782 wide: indent 0") << 782 << true;
        QTest::newRow("781 wide: -1 div 2 is 0") << 781 << true;
        QTest::newRow("780 wide: refused") << 780 << false;
    }

    void screenWidthRule() {
        QFETCH(int, width);
        QFETCH(bool, starts);
        test::Sandbox sandbox(width);
        TMainForm form;
        QCOMPARE(form.startedUp(), starts);
        QCOMPARE(sandbox.dialogs->messages.size(), starts ? 0 : 1);
        if (!starts)
            QCOMPARE(sandbox.dialogs->messages.first().text,
                     "Sorry! Please set your screen resolution to at least 800x600");
    }

    void initRoundTripsAcrossRestart() {
        test::Sandbox sandbox;
        int dejaVu = -1;
        {
            TMainForm form;
            FontBoxes &p = form.fontBoxes();
            QVERIFY((dejaVu = p.FontNameBox->findText(QStringLiteral("DejaVu Sans"))) >= 0);
            p.FontNameBox->setCurrentIndex(dejaVu);
            p.FontSizeBox->setCurrentIndex(p.FontSizeBox->findText(QStringLiteral("20")));
            form.notation().NotationButtonClick(); // saves DejaVu Sans / 20, shows notation
            form.close();
        }
        const QString written = SettingsStore::instance().readString(InitSetting::kKeyPath, "Init");
        QCOMPARE(written.size(), 30);
        QCOMPARE(written.mid(4, 2), QStringLiteral("%1").arg(dejaVu, 2, 16, QChar('0')).toUpper());
        // The settings file itself, not only the store in memory, carries the value.
        SettingsStore reread(sandbox.settingsPath());
        QCOMPARE(reread.readString(InitSetting::kKeyPath, "Init"), written);

        TMainForm again; // starts in notation mode, as it was left
        QVERIFY(again.notation().inNotationMode());
        QCOMPARE(again.editor()->caretAttributes().face, "Tessary Notation");
        QCOMPARE(boxesOf(again), "Tessary Notation/11");
        again.notation().NotationButtonClick();
        QCOMPARE(boxesOf(again), "DejaVu Sans/20");
    }

    void malformedInitFallsBackPerField_data() {
        QTest::addColumn<QString>("init");
        QTest::addColumn<QString>("size"); // the name falls back to Times New Roman in all
        // clang-format off
        QTest::newRow("robustness: empty") << QString() << "12";
        QTest::newRow("robustness: non-hex name, good size") << QStringLiteral("zz0E") << "48";
        QTest::newRow("robustness: size past the list") << QStringLiteral("zz7F") << "12";
        QTest::newRow("robustness: sign and blank") << QStringLiteral("-1 1") << "12";
        QTest::newRow("robustness: name past the list") << QStringLiteral("FF00") << "8";
        QTest::newRow("robustness: junk after the indexes") << QStringLiteral("zz05\x01\x02\xff garbage that runs on and on and on") << "14";
        // clang-format on
    }

    void malformedInitFallsBackPerField() {
        QFETCH(QString, init);
        QFETCH(QString, size);
        test::Sandbox sandbox;
        SettingsStore::instance().writeString(InitSetting::kKeyPath, "Init", init);
        TMainForm form;
        QVERIFY(form.startedUp());
        QCOMPARE(boxesOf(form), "Times New Roman/" + size);
        // The saved indexes are usable: toggling twice lands on real items.
        form.notation().NotationButtonClick();
        form.notation().NotationButtonClick();
        QVERIFY(form.fontBoxes().FontNameBox->currentIndex() >= 0);
        QVERIFY(form.fontBoxes().FontSizeBox->currentIndex() >= 0);
        QCOMPARE(form.BuildInit().size(), 30);
    }

    void indexTooLargeForTwoDigitsIsNotWrittenAsAnotherItem() {
        InitSetting s;
        s.fontNameIndex = 300;
        s.fontSizeIndex = -1;
        s.savedFontNameIndex = 255;
        s.savedFontSizeIndex = 0;
        const QString text = s.format();
        QCOMPARE(text.left(8), "----FF00");
        const InitSetting back = InitSetting::parse(text);
        QCOMPARE(QList<int>({back.fontNameIndex, back.fontSizeIndex, back.savedFontNameIndex}),
                 QList<int>({-1, -1, 255}));
        QCOMPARE(back.fnKeyPieces[10], "  ");
    }

    // Geometry that depends on the laid-out window and on the screen's pixels per inch.
    void findOffsetAndScratchWidthFollowTheLaidOutEditor() {
        openWindow(QSize(900, 600));
        QCOMPARE(form->findReplace().dialogOffset(),
                 editor()->geometry().top() + 6 * child<QWidget>("LowerRulerPanel")->height() +
                     child<QWidget>("ImplicitTabsPanel")->height());
        TAuxForm aux(editor());
        for (const int width : {700, 1200}) {
            form->resize(width, 600);
            QTRY_COMPARE(editor()->width(), width - child<QWidget>("Gutter")->width());
            QCOMPARE(aux.AuxEditor->document()->textWidth(), editor()->document()->textWidth());
        }
    }

    void functionKeyHintShowsItsLabelsWhole_data() {
        QTest::addColumn<int>("dpi");
        QTest::newRow("96 pixels per inch") << 96;
        QTest::newRow("large fonts") << 120;
    }
    void functionKeyHintShowsItsLabelsWhole() {
        QFETCH(int, dpi);
        openWindow(QSize(1280, 900), dpi);
        QTest::mouseClick(child<QToolButton>("FunctionKeyButton"), Qt::LeftButton);
        QTest::mouseClick(child<QToolButton>("F12DefButton"), Qt::LeftButton);
        auto *hint = child<QWidget>("FnHint");
        QTRY_VERIFY(hint->isVisible());
        for (const QLabel *label : hint->findChildren<QLabel *>()) {
            QVERIFY2(hint->rect().contains(label->geometry()), qPrintable(label->text()));
            QVERIFY(label->width() >= label->sizeHint().width());
        }
        // "... to F12," and "F12 becomes ...": the key's name stands clear of its neighbour.
        for (auto [before, after] : {std::pair{"FnLabel0", "FnLabel1"}, {"FnLabel2", "FnLabel3"}})
            QVERIFY(child<QLabel>(before)->geometry().right() < child<QLabel>(after)->x());
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
