// Paginating a 500 KB mixed document for the PDF printer (600 pixels per inch) and recording
// one page into a picture, as the preview does.
// Run: QT_QPA_PLATFORM=offscreen TESSARY_DATA_DIR=$PWD build/bench/bench_printjob
// Prints medians of 7 runs: pagination with a new layout (the margins changed), pagination
// on the kept layout (only the header changed), and one page recorded into a QPicture.
#include "benchdocument.h"
#include "platform/fontregistry.h"
#include "platform/printerservice.h"
#include "platform/services.h"
#include "printjob/tricheditprintjob.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPicture>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace tessary;

namespace {
double median(const std::function<void(int)> &run) {
    std::vector<double> ms;
    for (int i = 0; i < 7; ++i) {
        QElapsedTimer t;
        t.start();
        run(i);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[3];
}
} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    FontRegistry::registerNotationFaces(FontRegistry::dataDirectory() + QStringLiteral("/fonts"));
    Services::setPrinter(std::make_unique<SystemPrinter>(SystemPrinter::Kind::Pdf));
    RichEdit editor;
    editor.resize(1000, 800);
    bench::fillMixedDocument(&editor, 500 * 1024);

    TRichEditPrintJob job;
    job.SetOptions(joMargins | joHeader | joFooter);
    job.SetMargins({600, 600, 600, 600});
    job.SetHeader(300);
    job.SetFooter(300);
    job.SetRichEdit(&editor);

    const double fresh = median([&](int i) { job.SetMargins({600.0 + i + 1, 600, 600, 600}); });
    const double kept = median([&](int i) { job.SetHeader(300.0 + i + 1); });
    const int pages = job.PageCount();
    const double page = median([&](int i) {
        QPicture picture;
        QPainter painter(&picture);
        job.DrawPage(painter, 1 + (i * pages) / 7, dtPreview);
    });
    std::printf("document: %d characters, %d pages\n", editor.textLength(), pages);
    std::printf("pagination, new layout:  %.1f ms (budget 1000)\n", fresh);
    std::printf("pagination, kept layout: %.1f ms\n", kept);
    std::printf("one page into a picture: %.1f ms (budget 100)\n", page);
    return 0;
}
