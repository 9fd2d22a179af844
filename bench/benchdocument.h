#pragma once
// The benchmarks' document: short runs of prose and notation faces in paragraphs of eight runs.

#include "platform/richedit.h"

#include <QStringList>
#include <QTextCursor>

namespace tessary::bench {

// Fills the editor until about `rtfBytes` of RTF would be written for it.
inline void fillMixedDocument(RichEdit *editor, int rtfBytes) {
    const QStringList faces = {"Times New Roman",        "Courier New Even",   "Courier New High",
                               "Courier New Greek Even", "TessarySymbol Even", "Arial"};
    QTextCursor c(editor->document());
    c.beginEditBlock();
    int written = 0;
    for (int i = 0; written < rtfBytes; ++i) {
        QTextCharFormat f;
        f.setFontFamilies({faces.at(i % faces.size())});
        f.setFontPointSize(i % 2 ? 11 : 12);
        f.setFontWeight(i % 3 ? QFont::Normal : QFont::Bold);
        const QString run = QStringLiteral("x%1 + y = z ").arg(i);
        c.insertText(run, f);
        written += int(run.size()) * 4; // roughly what a run costs in RTF with its controls
        if (i % 8 == 7)
            c.insertBlock();
    }
    c.endEditBlock();
}

} // namespace tessary::bench
