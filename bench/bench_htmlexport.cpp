// HTML export of a 500 KB document of mixed faces, in the main window's editor at 1280 wide.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_htmlexport [SAVE.rtf]
// Prints the median of 7 runs of the writer alone (anchor lists, page and file). With an
// argument it also saves the document there, for timing the batch command as a process:
//   build/tessary --export-html SAVE.rtf /tmp/out.html
#include "benchdocument.h"
#include "html/anchors.h"
#include "html/htmlwriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tessary;

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    bench::BenchWindow window;
    RichEdit *editor = window.form->editor();
    // A link and its destination every few paragraphs, as a document with references has.
    for (int p = 0; p < editor->textLength(); p += 5000) {
        editor->setSelection(p, 6);
        CharAttributes a;
        a.underline = true;
        a.color = (p / 5000) % 2 ? Anchors::kSrcAnchorColor : Anchors::kDestAnchorColor;
        a.pitchAndFamily = 4 * ((p / 10000) % 64);
        editor->setSelAttributes(a, CharAttributes::Underline | CharAttributes::Color |
                                        CharAttributes::Pitch);
    }
    const QByteArray rtf = editor->rtfData();
    if (argc > 1) {
        QFile file(QString::fromLocal8Bit(argv[1]));
        if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size())
            return 1;
    }
    const QString out = window.dir.filePath(QStringLiteral("page.html"));
    std::vector<double> times;
    qint64 bytes = 0;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer timer;
        timer.start();
        Anchors &anchors = window.form->anchors();
        anchors.ScanAnchors();
        anchors.GrabDestAnchors();
        const HtmlLinks links = HtmlLinks::fromAnchors(anchors);
        HtmlWriter writer(*editor, links, {});
        if (!writer.writeFile(out))
            return 1;
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        bytes = QFile(out).size();
    }
    std::sort(times.begin(), times.end());
    std::printf("document: %lld bytes of RTF, %d characters, %d display lines\n",
                qint64(rtf.size()), editor->textLength(), editor->lineCount());
    std::printf("html export (writer alone): median %.1f ms over 7 runs, page %lld bytes\n",
                times[times.size() / 2], bytes);
    return 0;
}
