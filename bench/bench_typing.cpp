// Typing 10 000 characters in notation mode at the end of a 500 KB document.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_typing
// Prints the median and 95th percentile time per keystroke (event handling, layout, paint).
#include "app/tmainform.h"
#include "benchdocument.h"
#include "editor/notationtyping.h"
#include "platform/settingsstore.h"
#include "richtext/richedit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextCursor>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tessary;

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    bench::BenchWindow window;
    TMainForm &form = *window.form;
    RichEdit *editor = form.editor();
    editor->moveCursor(QTextCursor::End);
    form.notation().NotationButtonClick();
    QCoreApplication::processEvents();

    const QString keys = QStringLiteral("x2 + y_i = a");
    std::vector<double> ms;
    ms.reserve(10000);
    QElapsedTimer timer;
    for (int i = 0; i < 10000; ++i) {
        const QChar ch = keys.at(i % keys.size());
        timer.start();
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(editor, &press);
        QCoreApplication::processEvents();
        editor->lineCount(); // what the status line asks after each change
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("document: %d characters, %d paragraphs\n", editor->textLength(),
                editor->document()->blockCount());
    std::printf("keystroke median %.3f ms, p95 %.3f ms, max %.3f ms\n", ms[ms.size() / 2],
                ms[ms.size() * 95 / 100], ms.back());
    return 0;
}
