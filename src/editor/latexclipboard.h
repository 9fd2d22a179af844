#pragma once

#include "richtext/editorcontext.h"

#include <QObject>
#include <QTextCharFormat>

class QLabel;
class QMimeData;

namespace tessary {

class FontBoxes;

// Edit > Copy as LaTeX and Paste LaTeX, and text dropped on the editor that is LaTeX: the
// notation goes out as LaTeX math and LaTeX math comes in as notation. The status label
// says how many commands a paste kept as text.
class LatexClipboard : public QObject {
    Q_OBJECT
public:
    LatexClipboard(EditorContext &context, FontBoxes &fonts, QLabel *statusLabel,
                   QObject *parent = nullptr);

    void EditCopyLatex();
    void EditPasteLatex();
    // Inserts `latex` as notation at the editor's caret, replacing its selection; returns the
    // number of commands kept as text.
    int insertLatex(const QString &latex);
    // The format of text outside the math: the face and size the boxes show, or those they
    // will show again when notation mode ends.
    QTextCharFormat proseFormat() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void report(int unconverted);

    EditorContext &m;
    FontBoxes &m_fonts;
    QLabel *m_status;
};

} // namespace tessary
