#include "editor/latexclipboard.h"

#include "editor/fontboxes.h"
#include "editor/latexreader.h"
#include "editor/latexwriter.h"
#include "editor/notationfaces.h"
#include "richtext/richedit.h"
#include "rtf/codepage.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>

namespace tessary {

LatexClipboard::LatexClipboard(EditorContext &context, FontBoxes &fonts, QLabel *statusLabel,
                               QObject *parent)
    : QObject(parent)
    , m(context)
    , m_fonts(fonts)
    , m_status(statusLabel) {
    m.Editor->viewport()->installEventFilter(this);
}

void LatexClipboard::EditCopyLatex() {
    const QString latex = LatexWriter::fromSelection(m.Editor->textCursor());
    if (!latex.isEmpty())
        QApplication::clipboard()->setText(latex);
}

void LatexClipboard::EditPasteLatex() {
    const QString text = QApplication::clipboard()->text();
    if (!text.isEmpty())
        insertLatex(text);
}

QTextCharFormat LatexClipboard::proseFormat() const {
    CharAttributes a;
    a.face = m_fonts.face();
    a.size = m_fonts.size();
    if (m_fonts.inNotationMode()) {
        const FontBoxes::Indexes saved = m_fonts.indexes();
        a.face = m_fonts.FontNameBox->itemText(saved.savedName);
        a.size = m_fonts.FontSizeBox->itemText(saved.savedSize).toInt();
        if (a.face.isEmpty() || IsNotationFont(a.face) || a.face == kNotationEntry)
            a.face = QStringLiteral("Times New Roman");
        if (a.size <= 0)
            a.size = 12;
    }
    a.color = rgbColor(0, 0, 0);
    a.charset = charsetForFace(a.face);
    return a.toFormat(CharAttributes::Face | CharAttributes::Size | CharAttributes::Color |
                      CharAttributes::CharsetField);
}

int LatexClipboard::insertLatex(const QString &latex) {
    const LatexReader::Reading reading = LatexReader::read(latex);
    QTextCursor cursor = m.Editor->textCursor();
    LatexReader::insert(cursor, reading, proseFormat());
    m.Editor->setTextCursor(cursor);
    report(reading.unconverted);
    return reading.unconverted;
}

void LatexClipboard::report(int unconverted) {
    if (!m_status)
        return;
    m_status->setText(unconverted == 0 ? QString()
                      : unconverted == 1
                          ? QStringLiteral("1 LaTeX command left as text")
                          : QStringLiteral("%1 LaTeX commands left as text").arg(unconverted));
}

// Text dropped from another program that is LaTeX comes in as notation; files, rich text and
// plain text are the editor's own business.
bool LatexClipboard::eventFilter(QObject *watched, QEvent *event) {
    // The type first: the viewport is not asked for while the editor is being destroyed.
    if (event->type() == QEvent::Drop && watched == m.Editor->viewport()) {
        auto *drop = static_cast<QDropEvent *>(event);
        const QMimeData *mime = drop->mimeData();
        if (mime && drop->source() == nullptr && mime->hasText() && !mime->hasUrls() &&
            !mime->hasFormat(QStringLiteral("text/rtf")) && !mime->hasHtml() &&
            LatexReader::looksLikeLatex(mime->text())) {
            m.Editor->setTextCursor(m.Editor->cursorForPosition(drop->position().toPoint()));
            insertLatex(mime->text());
            drop->acceptProposedAction();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tessary
