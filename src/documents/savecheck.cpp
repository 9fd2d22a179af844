#include "documents/savecheck.h"

#include "platform/services.h"
#include "rtf/rtfkept.h"

namespace tessary::SaveCheck {

QString listed(const QStringList &parts) {
    if (parts.size() <= 1)
        return parts.value(0);
    return parts.mid(0, parts.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           parts.last();
}

Answer ask(QWidget *parent, const QTextDocument *doc) {
    const QStringList lost = Kept::losses(doc);
    if (lost.isEmpty())
        return Answer::Save;
    const QString text =
        QStringLiteral("This document holds %1, which will not be saved in the file.")
            .arg(listed(lost));
    const int choice = Services::dialogs().choose(
        parent, QStringLiteral("Tessary"), text,
        {QStringLiteral("Save anyway"), QStringLiteral("Save As"), QStringLiteral("Cancel")}, 2,
        QMessageBox::Warning);
    return choice == 0 ? Answer::Save : choice == 1 ? Answer::SaveAs : Answer::Cancel;
}

} // namespace tessary::SaveCheck
