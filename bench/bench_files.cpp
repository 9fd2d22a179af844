// Opening and saving a 500 KB RTF document of mixed faces, and opening a hostile one whose
// font table names 19 000 faces, none installed, each used once.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_files
// Prints the median of 7 runs for open (read + load into the editor) and save (write RTF).
#include "richtext/richedit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tessary;

namespace {
// Notation formulas between prose, as a long document of exercises would have them.
void fillMixed(RichEdit &editor, int targetBytes) {
    struct Run {
        const char *face;
        int size;
        QString text;
    };
    const Run runs[] = {
        {"Times New Roman", 12, QStringLiteral("Let the sequence ")},
        {"Courier New Even", 11, QStringLiteral("a")},
        {"Courier New Low", 11, QStringLiteral("n")},
        {"Courier New Even", 11, QStringLiteral(" = x")},
        {"Courier New High", 11, QStringLiteral("2n+1")},
        {"TessarySymbol Even", 11, QStringLiteral("\u2211\u221E\u2264")},
        {"Courier New Greek Even", 11, QStringLiteral("\u03B1\u03B2\u03B3")},
        {"Times New Roman", 12, QStringLiteral(" converge for every real number. ")}};
    QTextCursor c(editor.document());
    c.beginEditBlock();
    int i = 0;
    while (editor.rtfData().size() < targetBytes) {
        for (int k = 0; k < 400; ++k, ++i) {
            const Run &run = runs[i % 8];
            QTextCharFormat f;
            f.setFontFamilies({QString::fromLatin1(run.face)});
            f.setFontPointSize(run.size);
            f.setFontWeight(i % 13 == 0 ? QFont::Bold : QFont::Normal);
            c.insertText(run.text, f);
            if (i % 40 == 39)
                c.insertBlock();
        }
    }
    c.endEditBlock();
}

QByteArray manyFaces(int count) {
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (int i = 0; i < count; ++i)
        rtf += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
    rtf += "}\n";
    for (int i = 0; i < count; ++i)
        rtf += "\\f" + QByteArray::number(i) + (i % 40 == 39 ? " x\\par\n" : " x");
    return rtf + "}";
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.rtf"));
    RichEdit source;
    source.resize(1000, 800);
    fillMixed(source, 500 * 1024);
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(source.rtfData()) < 0)
            return 1;
    }
    RichEdit editor;
    editor.resize(1000, 800);
    editor.show();
    std::vector<double> openMs, readMs, saveMs, hostileMs;
    QElapsedTimer t;
    const QByteArray hostile = manyFaces(19000);
    for (int run = 0; run < 3; ++run) {
        t.start();
        editor.loadData(hostile);
        editor.lineCount();
        hostileMs.push_back(t.nsecsElapsed() / 1e6);
    }
    for (int run = 0; run < 7; ++run) {
        t.start();
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            return 1;
        editor.loadData(in.readAll());
        readMs.push_back(t.nsecsElapsed() / 1e6);
        editor.lineCount(); // the status line asks for the layout right after
        openMs.push_back(t.nsecsElapsed() / 1e6);
        t.start();
        QSaveFile out(dir.filePath(QStringLiteral("out.rtf")));
        if (!out.open(QIODevice::WriteOnly) || out.write(editor.rtfData()) < 0 || !out.commit())
            return 1;
        saveMs.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("document: %lld bytes of RTF, %d characters, %d paragraphs\n",
                static_cast<long long>(QFile(path).size()), editor.textLength(),
                editor.document()->blockCount());
    std::printf("open median %.1f ms (of which reading RTF into the document %.1f ms, the "
                "rest laying it out), save median %.1f ms\n",
                median(openMs), median(readMs), median(saveMs));
    std::printf("hostile: %lld bytes of RTF naming 19000 faces, open median %.1f ms\n",
                static_cast<long long>(hostile.size()), median(hostileMs));
    return 0;
}
