// Open and save of a generated 500 KB RTF document of mixed faces.
// Run: bench_rtf -platform offscreen   (prints the median of 15 runs of each)
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "rtf/textformat.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace tessary;

namespace {

// Prose in a body face with Greek and symbol notation runs, about `bytes` of RTF.
QByteArray mixedDocument(qsizetype bytes) {
    QTextDocument doc;
    QTextCursor c(&doc);
    CharAttributes body{"Courier New", 10, kAutomaticColor, false, false, false, 0, 0x31};
    CharAttributes greek{
        "Courier New Greek Even", 10, kAutomaticColor, false, false, false, 161, 4 * 37 + 1};
    CharAttributes symbol{"TessarySymbol High", 10, kAutomaticColor, false, false, false, 2, 0x31};
    CharAttributes bold = body;
    bold.bold = true;
    for (int i = 0; RtfWriter::write(&doc).size() < bytes; ++i) {
        for (int j = 0; j < 200; ++j) {
            c.insertText("Let the function f be defined for ", body.toFormat());
            c.insertText("\u03B1\u03B2", greek.toFormat());
            c.insertText(" such that ", body.toFormat());
            c.insertText("\u2211\u2245", symbol.toFormat());
            c.insertText(" holds; ", bold.toFormat());
            c.insertText("see also the note.\tThen ", body.toFormat());
            if (j % 4 == 3)
                c.insertBlock();
        }
    }
    return RtfWriter::write(&doc);
}

double medianMs(const std::function<void()> &run) {
    std::vector<double> times;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    const QByteArray rtf = mixedDocument(500 * 1024);
    QTextDocument loaded;
    const double open = medianMs([&] {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        RtfReader::read(rtf, cursor);
    });
    QTextCursor cursor(&loaded);
    RtfReader::read(rtf, cursor);
    const double save = medianMs([&] { RtfWriter::write(&loaded); });
    std::printf(
        "RTF of %lld bytes, %d characters\nopen: %.1f ms (median)\nsave: %.1f ms (median)\n",
        static_cast<long long>(rtf.size()), loaded.characterCount(), open, save);
    return 0;
}
