#include "app/tauxform.h"

#include "richtext/richedit.h"

#include <QEvent>

namespace tessary {

TAuxForm::TAuxForm(RichEdit *mainEditor, QWidget *parent)
    : QWidget(parent)
    , m_mainEditor(mainEditor) {
    setObjectName(QStringLiteral("TAuxForm"));
    AuxEditor = new RichEdit(this);
    AuxEditor->setObjectName(QStringLiteral("AuxEditor"));
    AuxEditor->setTextLimit(2147483647);
    // A hidden control never lays itself out to its own width, so it wraps at a fixed one.
    AuxEditor->setLineWrapMode(QTextEdit::FixedPixelWidth);
    followEditor();
    mainEditor->viewport()->installEventFilter(this);
    hide();
}

// The main editor wraps at its viewport's width; the scratch copy takes the same.
void TAuxForm::followEditor() {
    AuxEditor->resize(m_mainEditor->size());
    AuxEditor->setLineWrapColumnOrWidth(m_mainEditor->viewport()->width());
}

bool TAuxForm::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Resize)
        followEditor();
    return QWidget::eventFilter(watched, event);
}

} // namespace tessary
