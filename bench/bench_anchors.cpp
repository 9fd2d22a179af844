// Anchor scans and replace all on a 500 KB document of mixed text with 60 anchors.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_anchors
// Prints the time of each command once; budget 300 ms for a walk over the whole text.
#include "app/tmainform.h"
#include "benchdocument.h"
#include "documents/findreplace.h"
#include "html/anchors.h"
#include "platform/services.h"
#include "platform/settingsstore.h"
#include "richtext/richedit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextCursor>
#include <cstdio>
#include <functional>

using namespace tessary;

namespace {

// The end-of-search message would wait for a click.
class SilentDialogs : public DialogService {
public:
    void message(QWidget *, const QString &, const QString &, QMessageBox::Icon) override {}
};

void time(const char *what, const std::function<void()> &run) {
    QElapsedTimer timer;
    timer.start();
    run();
    std::printf("%-40s %8.1f ms\n", what, timer.nsecsElapsed() / 1e6);
}
} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    Services::setDialogs(std::make_unique<SilentDialogs>());
    bench::BenchWindow window;
    TMainForm &form = *window.form;
    RichEdit *editor = form.editor();
    Anchors &anchors = form.anchors();
    const int step = editor->textLength() / 60;
    for (int i = 0; i < 60; ++i) {
        editor->setSelection(i * step, 6);
        anchors.MarkAnchor(i % 30, i % 2 ? Anchors::kSrcAnchorColor : Anchors::kDestAnchorColor);
    }
    std::printf("document: %d characters, %d paragraphs\n", editor->textLength(),
                editor->document()->blockCount());
    time("ScanAnchors", [&] { anchors.ScanAnchors(); });
    time("GrabDestAnchors", [&] { anchors.GrabDestAnchors(); });
    time("MarkAnchor over 100 000 characters", [&] {
        editor->setSelection(1000, 100000);
        anchors.MarkAnchor(5, Anchors::kDestAnchorColor);
    });
    time("RemoveAnchorAt in that anchor", [&] {
        editor->setSelection(50000, 0);
        anchors.RemoveAnchorAt();
    });
    FindReplace &search = form.findReplace();
    time("Replace all of \"y\" by \"w\"", [&] {
        search.replaceDialog()->setFindText(QStringLiteral("y"));
        search.replaceDialog()->setReplaceText(QStringLiteral("w"));
        search.replaceDialog()->setRequest(ReplaceDialog::Request::ReplaceAll);
        search.ReplaceInEditor(editor);
    });
    return 0;
}
