#include "app/initsetting.h"
#include "app/tmainform.h"
#include "editor/fontboxes.h"
#include "editor/notationtyping.h"
#include "editor/palettes.h"
#include "platform/documentstate.h"
#include "platform/richedit.h"
#include "testsupport.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QToolBar>
#include <QtTest>

using namespace tessary;

// The font boxes as "name/size".
static QString boxes(TMainForm &form) {
    return form.fontBoxes().FontNameBox->currentText() + QLatin1Char('/') +
           form.fontBoxes().FontSizeBox->currentText();
}

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartShowsTimesNewRoman12() {
        test::Sandbox sandbox;
        TMainForm form;
        QVERIFY(form.startedUp());
        FontBoxes &p = form.fontBoxes();
        QCOMPARE(boxes(form), QStringLiteral("Times New Roman/12"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Tessary - [untitled.rtf]"));
        QVERIFY(form.documentState().CurrentFileName().endsWith(QStringLiteral("/untitled.rtf")));
        QCOMPARE(form.notation().controls().InsStateLabel->text(), QStringLiteral("    Insert"));
        QVERIFY(!form.documentState().DocumentModified());
        QCOMPARE(form.editor()->caretAttributes().face, QStringLiteral("Times New Roman"));
        QCOMPARE(form.editor()->caretAttributes().size, 12);
        // A notation toggle there and back returns to exactly these.
        form.notation().NotationButtonClick();
        QCOMPARE(boxes(form), QStringLiteral("Tessary Notation/11"));
        form.notation().NotationButtonClick();
        QCOMPARE(boxes(form), QStringLiteral("Times New Roman/12"));
        // The font list holds no notation face but the pseudo entry, sorted.
        QStringList items;
        for (int i = 0; i < p.FontNameBox->count(); ++i)
            items << p.FontNameBox->itemText(i);
        QVERIFY(!items.contains(QStringLiteral("Courier New Even")));
        QVERIFY(items.contains(QStringLiteral("Tessary Notation")));
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
        QTest::newRow("640 wide: refused") << 640 << false;
    }

    void screenWidthRule() {
        QFETCH(int, width);
        QFETCH(bool, starts);
        test::Sandbox sandbox(width);
        TMainForm form;
        QCOMPARE(form.startedUp(), starts);
        if (starts) {
            QVERIFY(sandbox.dialogs->messages.isEmpty());
        } else {
            QCOMPARE(sandbox.dialogs->messages.size(), 1);
            QCOMPARE(
                sandbox.dialogs->messages.first().text,
                QStringLiteral("Sorry! Please set your screen resolution to at least 800x600"));
        }
    }

    void initRoundTripsAcrossRestart() {
        test::Sandbox sandbox;
        QString written;
        int arialIndex = -1;
        {
            TMainForm form;
            FontBoxes &p = form.fontBoxes();
            arialIndex = p.FontNameBox->findText(QStringLiteral("DejaVu Sans"));
            QVERIFY(arialIndex >= 0);
            p.FontNameBox->setCurrentIndex(arialIndex);
            p.FontSizeBox->setCurrentIndex(p.FontSizeBox->findText(QStringLiteral("20")));
            form.notation().NotationButtonClick(); // saves DejaVu Sans / 20, shows notation
            form.close();
            written = SettingsStore::instance().readString(InitSetting::kKeyPath, "Init");
        }
        QCOMPARE(written.size(), 30);
        QCOMPARE(written.mid(4, 2),
                 QStringLiteral("%1").arg(arialIndex, 2, 16, QChar('0')).toUpper());
        // The settings file itself, not only the store in memory, carries the value.
        SettingsStore reread(sandbox.settingsPath());
        QCOMPARE(reread.readString(InitSetting::kKeyPath, "Init"), written);

        TMainForm again;
        QCOMPARE(boxes(again), QStringLiteral("Tessary Notation/11"));
        again.notation().NotationButtonClick();
        QCOMPARE(boxes(again), QStringLiteral("DejaVu Sans/20"));
    }

    void initStartingInNotationMode() {
        test::Sandbox sandbox;
        int notationIndex;
        {
            TMainForm probe;
            notationIndex =
                probe.fontBoxes().FontNameBox->findText(QStringLiteral("Tessary Notation"));
        }
        InitSetting s;
        s.fontNameIndex = notationIndex;
        s.fontSizeIndex = 3; // "11"
        s.savedFontNameIndex = 0;
        s.savedFontSizeIndex = 4;
        SettingsStore::instance().writeString(InitSetting::kKeyPath, "Init", s.format());
        TMainForm form;
        QVERIFY(form.notation().inNotationMode());
        QCOMPARE(form.editor()->caretAttributes().face, QStringLiteral("Tessary Notation"));
    }

    void malformedInitFallsBackPerField_data() {
        QTest::addColumn<QString>("init");
        QTest::addColumn<QString>("size"); // the name falls back to Times New Roman in all
        // clang-format off
        QTest::newRow("robustness: empty") << QString() << "12";
        QTest::newRow("robustness: short string") << QStringLiteral("0") << "12";
        QTest::newRow("robustness: non-hex name, good size") << QStringLiteral("zz0E") << "48";
        QTest::newRow("robustness: size past the list") << QStringLiteral("zz7F") << "12";
        QTest::newRow("robustness: sign and blank") << QStringLiteral("-1 1") << "12";
        QTest::newRow("robustness: name past the list") << QStringLiteral("FF00") << "8";
        QTest::newRow("robustness: junk after the indexes")
            << QStringLiteral("zz05\x01\x02\xff garbage that runs on and on and on") << "14";
        // clang-format on
    }

    void malformedInitFallsBackPerField() {
        QFETCH(QString, init);
        QFETCH(QString, size);
        test::Sandbox sandbox;
        SettingsStore::instance().writeString(InitSetting::kKeyPath, "Init", init);
        TMainForm form;
        QVERIFY(form.startedUp());
        QCOMPARE(boxes(form), "Times New Roman/" + size);
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
        QCOMPARE(text.left(8), QStringLiteral("----FF00"));
        const InitSetting back = InitSetting::parse(text);
        QCOMPARE(back.fontNameIndex, -1);
        QCOMPARE(back.fontSizeIndex, -1);
        QCOMPARE(back.savedFontNameIndex, 255);
        QCOMPARE(back.fnKeyPieces[10], QStringLiteral("  "));
    }

    void largeFontsScaleDialogs() {
        test::Sandbox sandbox(1280, 120);
        QVERIFY(TMainForm::LargeFontsActive());
        QWidget dialog;
        dialog.resize(100, 100);
        TMainForm::ScaleFormForLargeFonts(&dialog);
        QCOMPARE(dialog.size(), QSize(122, 125));
        sandbox.setScreen(1280, 96);
        QVERIFY(!TMainForm::LargeFontsActive());
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
