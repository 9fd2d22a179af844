#pragma once
// The benchmarks' document: short runs of prose and notation faces in paragraphs of eight runs.

#include "app/tmainform.h"
#include "platform/settingsstore.h"
#include "richtext/richedit.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <memory>

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
        written += int(run.size()) * 11 / 4; // about what a run costs in RTF with its controls
        if (i % 8 == 7)
            c.insertBlock();
    }
    c.endEditBlock();
}

// The real main window, settings in a temporary file, shown with a 500 KB document.
struct BenchWindow {
    QTemporaryDir dir;
    std::unique_ptr<TMainForm> form;

    BenchWindow() {
        SettingsStore::setInstance(std::make_unique<SettingsStore>(dir.filePath("t.ini")));
        form = std::make_unique<TMainForm>();
        form->resize(1280, 1000);
        form->show();
        fillMixedDocument(form->editor(), 500 * 1000); // under the 512 000-byte open limit
        QCoreApplication::processEvents();
    }
};

} // namespace tessary::bench
