#pragma once

#include <QObject>

class QWidget;

namespace tessary {

struct EditorContext;

// File > Export LaTeX...: the document as it stands as a LaTeX file the user names, the same
// file that `tessary --export-latex` makes of the saved document.
class LatexExport : public QObject {
    Q_OBJECT
public:
    LatexExport(EditorContext &context, QWidget *window);

    void FileExportLatexExecute();

private:
    EditorContext &m;
    QWidget *m_window;
};

} // namespace tessary
