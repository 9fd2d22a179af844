// Typing 10 000 characters in notation mode at the end of a 500 KB document.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_typing
// Prints the median and 95th percentile time per keystroke (event handling, layout, paint).
#include "app/tmainform.h"
#include "editor/notationtyping.h"
#include "platform/richedit.h"
#include "platform/settingsstore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextCursor>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tessary;

namespace {
void fillDocument(RichEdit *editor, int bytes) {
    const QStringList faces = {"Times New Roman",        "Courier New Even",   "Courier New High",
                               "Courier New Greek Even", "TessarySymbol Even", "Arial"};
    QTextCursor c(editor->document());
    c.beginEditBlock();
    int written = 0;
    for (int i = 0; written < bytes; ++i) {
        QTextCharFormat f;
        f.setFontFamilies({faces.at(i % faces.size())});
        f.setFontPointSize(i % 2 ? 11 : 12);
        const QString run = QStringLiteral("x%1 + y = z ").arg(i);
        c.insertText(run, f);
        written += int(run.size()) * 4; // roughly what a run costs in RTF with its controls
        if (i % 8 == 7)
            c.insertBlock();
    }
    c.endEditBlock();
}
} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    SettingsStore::setInstance(std::make_unique<SettingsStore>(dir.filePath("t.ini")));
    TMainForm form;
    form.resize(1280, 1000);
    form.show();
    RichEdit *editor = form.editor();
    fillDocument(editor, 500 * 1024);
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
