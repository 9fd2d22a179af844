// Typing prose at the end of a 500 KB prose document, with spelling off and on, and the
// first check of the whole document in idle slices.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_spelling
// Prints the median and 95th percentile time per keystroke (event handling, checking, layout,
// paint) both ways, and the longest idle slice and the whole first pass.
#include "app/tmainform.h"
#include "editor/spellhighlighter.h"
#include "editor/spelling.h"
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

namespace {
// Paragraphs of about 400 characters from a vocabulary with a few misspellings.
void fillProse(RichEdit *editor, int characters) {
    const QStringList words =
        QStringLiteral("the of and a to in is you that it he was for on are as with his "
                       "they at be this have from or one had by word but not what all "
                       "were we when your can said there use an each which she do how "
                       "their if will up other about out many then them these so some "
                       "her would make like him into time has look two more write go see "
                       "number no way could people my than first water been call who oil "
                       "its now find long down day did get come made may part theorem "
                       "integral function continuous bounded sequence converges teh "
                       "recieve seperate definately occured lemma corollary proof")
            .split(u' ');
    QTextCharFormat f;
    f.setFontFamilies({QStringLiteral("Times New Roman")});
    f.setFontPointSize(12);
    QTextCursor c(editor->document());
    c.beginEditBlock();
    QString paragraph;
    quint32 seed = 7;
    for (int written = 0; written < characters;) {
        seed = seed * 1103515245u + 12345u;
        paragraph += words.at(int((seed >> 16) % quint32(words.size()))) + u' ';
        if (paragraph.size() >= 400) {
            c.insertText(paragraph, f);
            c.insertBlock();
            written += int(paragraph.size()) + 1;
            paragraph.clear();
        }
    }
    c.endEditBlock();
}

// Times every event the loop delivers, so the longest wait it gives input is known.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool recording = false;
    std::vector<double> events;
    bool notify(QObject *receiver, QEvent *event) override {
        if (!recording || m_depth > 0)
            return QApplication::notify(receiver, event);
        ++m_depth;
        QElapsedTimer t;
        t.start();
        const bool done = QApplication::notify(receiver, event);
        events.push_back(t.nsecsElapsed() / 1e6);
        --m_depth;
        return done;
    }

private:
    int m_depth = 0;
};

void typeAndReport(TMainForm &form, const char *label) {
    RichEdit *editor = form.editor();
    editor->moveCursor(QTextCursor::End);
    QCoreApplication::processEvents();
    const QString keys = QStringLiteral("the quick brown fox jumps over teh lazy dog ");
    std::vector<double> ms;
    QElapsedTimer timer;
    for (int i = 0; i < 3000; ++i) {
        const QChar ch = keys.at(i % keys.size());
        timer.start();
        QKeyEvent press(QEvent::KeyPress, i % 400 == 399 ? Qt::Key_Return : 0, Qt::NoModifier,
                        i % 400 == 399 ? QStringLiteral("\r") : QString(ch));
        QCoreApplication::sendEvent(editor, &press);
        QCoreApplication::processEvents();
        editor->lineCount();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("spelling %s: keystroke median %.3f ms, p95 %.3f ms, max %.3f ms\n", label,
                ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back());
}
} // namespace

int main(int argc, char **argv) {
    TimedApplication app(argc, argv);
    QTemporaryDir dir;
    SettingsStore::setInstance(std::make_unique<SettingsStore>(dir.filePath("t.ini")));
    TMainForm form;
    form.resize(1280, 1000);
    form.show();
    form.spelling().setOn(false);
    fillProse(form.editor(), 500 * 1000);
    QCoreApplication::processEvents();
    std::printf("document: %d characters, %d paragraphs\n", form.editor()->textLength(),
                form.editor()->document()->blockCount());
    typeAndReport(form, "off");

    // The first pass runs in idle slices; between two events the loop takes input.
    SpellHighlighter &marks = form.spelling().highlighter();
    QElapsedTimer whole;
    whole.start();
    form.spelling().setOn(true);
    app.recording = true;
    while (marks.passPending())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    app.recording = false;
    std::vector<double> &turns = app.events;
    std::sort(turns.begin(), turns.end());
    std::printf("first pass: %.0f ms in all, %zu events: median %.3f ms, p95 %.3f ms, "
                "longest %.3f ms; %lld words underlined\n",
                whole.nsecsElapsed() / 1e6, turns.size(), turns[turns.size() / 2],
                turns[turns.size() * 95 / 100], turns.back(),
                qlonglong(marks.misspeltWords().size()));
    typeAndReport(form, "on");
    return 0;
}
