// The recovery copy of a 500 KB document: the part that runs on the UI thread (the document
// copied for the worker) and the whole write (serialised, written, synced and renamed).
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_recovery   (budget: 30 ms on the UI thread)
#include "benchdocument.h"
#include "documents/recoverycopy.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tessary;

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    bench::BenchWindow window;
    RecoveryCopy &recovery = window.form->recovery();
    std::vector<double> ui, whole;
    for (int i = 0; i < 21; ++i) {
        QEventLoop loop;
        QObject::connect(&recovery, &RecoveryCopy::copyWritten, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, [&loop] { loop.exit(1); });
        QElapsedTimer timer;
        timer.start();
        recovery.StartWrite();
        ui.push_back(timer.nsecsElapsed() / 1e6);
        if (loop.exec() != 0)
            return 1;
        whole.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ui.begin(), ui.end());
    std::sort(whole.begin(), whole.end());
    auto at = [](const std::vector<double> &v, double q) { return v[size_t(q * (v.size() - 1))]; };
    std::printf("recovery copy of %lld bytes, %zu runs\n",
                static_cast<long long>(QFileInfo(recovery.copyPath()).size()), ui.size());
    std::printf("UI thread: median %.1f ms, p95 %.1f ms\n", at(ui, 0.5), at(ui, 0.95));
    std::printf("whole write: median %.1f ms, p95 %.1f ms\n", at(whole, 0.5), at(whole, 0.95));
    return 0;
}
