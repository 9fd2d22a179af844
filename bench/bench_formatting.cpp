// Bold, italic, underline and a face change over a 100 000-character selection of a 500 KB
// document of mixed faces, each through the format tool bar's handler.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_formatting
// Prints the median of five runs per command and checks that each run is one undo step.
#include "app/tmainform.h"
#include "benchdocument.h"
#include "editor/fontboxes.h"
#include "editor/formatting.h"
#include "platform/settingsstore.h"
#include "richtext/richedit.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextCursor>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace tessary;

namespace {

// Milliseconds of one run; `oneStep` turns false when the command changed nothing or one
// undo did not restore the selection's attributes.
double timeRun(TMainForm &form, const std::function<void()> &command, bool &oneStep) {
    RichEdit *editor = form.editor();
    const int start = 10000;
    const int length = 100000;
    editor->setSelection(start, length);
    const auto before = editor->attributeRuns(start, length);
    QElapsedTimer timer;
    timer.start();
    command();
    QCoreApplication::processEvents(); // layout and the idle update belong to the command
    const double ms = timer.nsecsElapsed() / 1e6;
    const bool changed = editor->attributeRuns(start, length) != before;
    editor->undo();
    oneStep = oneStep && changed && editor->attributeRuns(start, length) == before;
    return ms;
}
} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    bench::BenchWindow window;
    TMainForm &form = *window.form;
    std::printf("document: %d characters, %d paragraphs; selection 100000 characters\n",
                form.editor()->textLength(), form.editor()->document()->blockCount());

    Formatting &f = form.formatting();
    QComboBox *names = form.fontBoxes().FontNameBox;
    const struct {
        const char *name;
        std::function<void()> command;
    } commands[] = {
        {"bold", [&] { f.BoldButtonClick(); }},
        {"italic", [&] { f.ItalicButtonClick(); }},
        {"underline", [&] { f.UnderlineButtonClick(); }},
        {"face (Arial)",
         [&] {
             names->setCurrentIndex(names->findText(QStringLiteral("Arial")));
             f.FontNameBoxClick();
         }},
    };
    for (const auto &c : commands) {
        std::vector<double> ms;
        bool oneStep = true;
        for (int run = 0; run < 5; ++run)
            ms.push_back(timeRun(form, c.command, oneStep));
        std::sort(ms.begin(), ms.end());
        std::printf("%-14s median %7.1f ms  (min %.1f, max %.1f)  one undo step: %s\n", c.name,
                    ms[ms.size() / 2], ms.front(), ms.back(), oneStep ? "yes" : "NO");
    }
    return 0;
}
