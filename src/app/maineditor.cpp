#include "app/maineditor.h"

#include "richtext/richedit.h"

#include <QTextDocument>

namespace tessary {

RichEdit *MainEditor::create(QWidget *parent) {
    auto *editor = new RichEdit(parent);
    editor->setObjectName(QStringLiteral("Editor"));
    editor->setFrameShape(QFrame::NoFrame);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette ep = editor->palette();
    ep.setColor(QPalette::Base, QColor(255, 227, 196));
    ep.setColor(QPalette::Text, Qt::black);
    // The selection stays visible when the editor loses the focus.
    ep.setColor(QPalette::Inactive, QPalette::Highlight,
                ep.color(QPalette::Active, QPalette::Highlight));
    ep.setColor(QPalette::Inactive, QPalette::HighlightedText,
                ep.color(QPalette::Active, QPalette::HighlightedText));
    editor->setPalette(ep);
    QFont editorFont(QStringLiteral("Arial"));
    editorFont.setPixelSize(13);
    editor->document()->setDefaultFont(editorFont);
    return editor;
}

} // namespace tessary
