#include "app/tauxform.h"

#include "platform/richedit.h"

namespace tessary {

TAuxForm::TAuxForm(const RichEdit *mainEditor, QWidget *parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("TAuxForm"));
    AuxEditor = new RichEdit(this);
    AuxEditor->setObjectName(QStringLiteral("AuxEditor"));
    AuxEditor->setTextLimit(2147483647);
    AuxEditor->resize(mainEditor->size());
    hide();
}

} // namespace tessary
