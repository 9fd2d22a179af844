#include "preview/tpreviewcombobox.h"
#include "preview/tpreviewwindow.h"
#include "printjob/tcustomprintjob.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using namespace tessary;

namespace {
class PagedJob : public TCustomPrintJob {
public:
    void setPages(int pages) { SetPageCount(pages); }
};
} // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        sandbox = std::make_unique<test::Sandbox>(1280, 96);
        auto fixed = std::make_unique<FixedPrinter>();
        printer = fixed.get();
        Services::setPrinter(std::move(fixed));
        job = std::make_unique<PagedJob>();
        job->setPages(7);
        window = std::make_unique<TPreviewWindow>();
        window->SetPrintJob(job.get());
        window->SetWindowWidth(700);
        window->SetWindowHeight(600);
    }

    void cleanup() {
        window.reset();
        job.reset();
    }

    void toolbarFollowsThePreview_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QList<int>>("disabled");
        QTest::newRow("first page") << 1 << 100 << QList<int>{btnFirstPage, btnPrevPage};
        QTest::newRow("last page at the top scale")
            << 7 << 1000 << QList<int>{btnNextPage, btnLastPage, btnZoomIn};
        QTest::newRow("middle page at the bottom scale") << 4 << 10 << QList<int>{btnZoomOut};
    }

    void toolbarFollowsThePreview() {
        QFETCH(int, page);
        QFETCH(int, scale);
        QFETCH(QList<int>, disabled);
        QVERIFY(showWindow());
        form->Preview()->SetViewMode(vmCustom);
        form->Preview()->SetViewScale(scale);
        form->Preview()->SetPageIndex(page);
        for (int k : {btnFirstPage, btnPrevPage, btnNextPage, btnLastPage, btnZoomOut, btnZoomIn})
            QVERIFY2(form->Toolbar()->Button(TButtonKind(k))->isEnabled() != disabled.contains(k),
                     qPrintable(form->Toolbar()->Button(TButtonKind(k))->objectName()));
        QVERIFY(form->Toolbar()->ScaleComboBox()->isEnabled());
    }

    // The zoom box sits between the page buttons and zoom out; without it nothing moves up.
    void zoomBoxStandsInFrontOfItsButton() {
        TPreviewToolbar with, without;
        without.SetScaleBox(false);
        const QRect box = with.ScaleComboBox()->geometry();
        QVERIFY(box.left() > with.Button(btnLastPage)->geometry().right());
        QVERIFY(box.right() < with.Button(btnZoomOut)->x());
        QCOMPARE(without.Button(btnZoomOut)->x(), without.Button(btnLastPage)->x() + 24);
        QVERIFY(!without.ScaleComboBox()->isVisibleTo(&without));
    }

    void buttonClickMayForbidTheDefault_data() {
        QTest::addColumn<bool>("allow");
        QTest::addColumn<int>("documents");
        QTest::newRow("allowed prints") << true << 1;
        QTest::newRow("forbidden prints nothing") << false << 0;
    }

    void buttonClickMayForbidTheDefault() {
        QFETCH(bool, allow);
        QFETCH(int, documents);
        QVERIFY(showWindow());
        QList<TButtonKind> asked;
        connect(form->Toolbar(), &TCustomPreviewToolbar::OnButtonClick, this,
                [&](TButtonKind kind, bool &AllowDefault) {
                    asked.append(kind);
                    AllowDefault = allow;
                });
        QTest::mouseClick(form->Toolbar()->Button(btnPrint), Qt::LeftButton);
        QCOMPARE(asked, QList<TButtonKind>{btnPrint});
        QCOMPARE(printer->documents(), documents);
    }

    void zoomBoxTakesTypedScales_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("message");
        QTest::newRow("whole number") << "250" << 250 << "";
        QTest::newRow("letters are not typed") << "2a5x0" << 250 << "";
        QTest::newRow("decimal rounds") << "12.5" << 13 << "";
        QTest::newRow("above the limit is clamped") << "4000" << 1000 << "";
        QTest::newRow("no digits at all") << "." << 0 << "Invalid scale value";
    }

    void zoomBoxTakesTypedScales() {
        QFETCH(QString, typed);
        QFETCH(int, scale);
        QFETCH(QString, message);
        QVERIFY(showWindow());
        TCustomPreview *preview = form->Preview();
        const int before = preview->ViewScale();
        TPreviewComboBox *box = form->Toolbar()->ScaleComboBox();
        box->lineEdit()->setFocus();
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), typed);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(preview->ViewMode(), vmCustom);
        QCOMPARE(preview->ViewScale(), scale ? scale : before);
        QCOMPARE(box->currentText(), preview->ScaleText());
        QCOMPARE(sandbox->dialogs->messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(sandbox->dialogs->messages.first().text, message);
        QTRY_VERIFY(preview->hasFocus());
    }

    void statusPanelsShowPageAndScale() {
        window->SetUserText(QStringLiteral("Draft"));
        QVERIFY(showWindow());
        form->Preview()->SetPageIndex(2);
        const TPreviewStatusBar *bar = form->StatusBar();
        QCOMPARE(bar->PanelText(pnPage), QStringLiteral("Page 2 of 7"));
        QCOMPARE(bar->PanelText(pnScale),
                 QStringLiteral("Whole page (%1%)").arg(form->Preview()->ViewScale()));
        QVERIFY(form->Preview()->ViewScale() > 10);
        QCOMPARE(bar->UserPanelText(), QStringLiteral("Draft"));
        window->SetPanels({pnScale});
        QCOMPARE(bar->PanelText(pnPage), QString());
    }

    void reopenedWindowStandsWhereItWasMoved() {
        QVERIFY(showWindow());
        QSignalSpy closed(window.get(), &TCustomPreviewWindow::OnClose);
        form->move(210, 160);
        form->resize(640, 480);
        QTRY_COMPARE(window->WindowLeft(), 210);
        QCOMPARE(window->WindowWidth(), 640);
        form->close();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!window->Form());
        QVERIFY(showWindow());
        QCOMPARE(form->pos(), QPoint(210, 160));
        QCOMPARE(form->size(), QSize(640, 480));
    }

private:
    // Shows the window and points `form` at its form.
    bool showWindow() {
        window->Show();
        form = window->Form();
        return form && QTest::qWaitForWindowExposed(form);
    }
    TPreviewForm *form = nullptr;
    std::unique_ptr<test::Sandbox> sandbox;
    FixedPrinter *printer = nullptr;
    std::unique_ptr<PagedJob> job;
    std::unique_ptr<TPreviewWindow> window;
};

QTEST_MAIN(PreviewWindowTest)
#include "tst_previewwindow.moc"
