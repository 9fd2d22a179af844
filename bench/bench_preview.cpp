// Recording one page of a 500 KB document into the preview, as a page turn or zoom does.
// Run: bench_preview -platform offscreen   (prints the median of 15 recordings)
// With TESSARY_PREVIEW_SHOTS=DIR set it shows the preview window at whole page and at 200 %
// and writes both as PNG files into DIR (run it under a display server for real decorations).
#include "benchdocument.h"
#include "platform/fontregistry.h"
#include "platform/printerservice.h"
#include "platform/services.h"
#include "preview/tpreviewwindow.h"
#include "printjob/tricheditprintjob.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdio>

using namespace tessary;

namespace {
// Lets the window manager place and paint the window before it is grabbed.
void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void writeShots(TRichEditPrintJob &job, const QString &dir) {
    TPreviewWindow window;
    window.SetPrintJob(&job);
    window.SetCaption(QStringLiteral("Print preview"));
    window.SetButtons({btnPrint, btnFirstPage, btnPrevPage, btnNextPage, btnLastPage, btnWholePage,
                       btnPageWidth, btnZoomOut, btnZoomIn, btnClose});
    window.SetWindowLeft(20);
    window.SetWindowTop(20);
    window.SetWindowWidth(900);
    window.SetWindowHeight(860);
    window.Show();
    TPreviewForm *form = window.Form();
    form->Preview()->SetPageIndex(2);
    const auto shoot = [&](const QString &name) {
        settle(500);
        form->grab().save(QDir(dir).filePath(name));
    };
    shoot(QStringLiteral("preview-whole-page.png"));
    form->Preview()->SetViewMode(vmCustom);
    form->Preview()->SetViewScale(200);
    shoot(QStringLiteral("preview-200.png"));
}
} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    FontRegistry::registerNotationFaces(FontRegistry::dataDirectory() + QStringLiteral("/fonts"));
    Services::setPrinter(std::make_unique<FixedPrinter>());
    RichEdit edit;
    bench::fillMixedDocument(&edit, 500 * 1024);
    TRichEditPrintJob job;
    job.SetOptions(joMargins);
    job.SetMargins({600, 600, 600, 600});
    job.SetRichEdit(&edit);

    if (qEnvironmentVariableIsSet("TESSARY_PREVIEW_SHOTS")) {
        writeShots(job, qEnvironmentVariable("TESSARY_PREVIEW_SHOTS"));
        return 0;
    }
    TPreview preview;
    preview.resize(800, 1000);
    preview.SetPrintJob(&job);
    QList<double> ms;
    for (int i = 0; i < 15; ++i) {
        preview.SetPageIndex(1 + (i * 7) % job.PageCount());
        QElapsedTimer timer;
        timer.start();
        preview.UpdatePreview();
        ms.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("pages %d; recording one page: median %.1f ms (min %.1f, max %.1f)\n",
                job.PageCount(), ms.at(ms.size() / 2), ms.first(), ms.last());
    return 0;
}
