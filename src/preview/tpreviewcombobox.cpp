#include "preview/tpreviewcombobox.h"

#include "platform/services.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace tessary {

TPreviewComboBox::TPreviewComboBox(QWidget *parent)
    : QComboBox(parent) {
    setObjectName(QStringLiteral("ScaleBox"));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    resize(125, 21);
    addItem(QStringLiteral("Whole page"));
    addItem(QStringLiteral("Page width"));
    for (int step : ZoomSteps)
        addItem(QStringLiteral("%1%").arg(step));
    setMaxVisibleItems(count());
    // The box itself gets the keys and the focus when it has it and hands them to its line
    // edit past any filter, so both are watched.
    installEventFilter(this);
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, &TPreviewComboBox::itemChosen);
    PreviewUpdated();
}

void TPreviewComboBox::PreviewUpdated() {
    setEditText(Preview() ? Preview()->ScaleText() : QStringLiteral("not linked"));
    // A text wider than the box shows its start ("Whole page (...").
    lineEdit()->setCursorPosition(0);
    emit OnUpdate();
}

void TPreviewComboBox::itemChosen(int index) {
    if (!Preview())
        return;
    if (index == 0)
        Preview()->SetViewMode(vmWholePage);
    else if (index == 1)
        Preview()->SetViewMode(vmPageWidth);
    else
        applyScale(itemText(index));
    PreviewUpdated();
}

bool TPreviewComboBox::applyScale(const QString &text) {
    Preview()->SetViewMode(vmCustom);
    // The first number in the text: "250", "250%", "12.5" (rounded) or "Whole page (38%)".
    static const QRegularExpression number(QStringLiteral("[0-9]+(\\.[0-9]*)?"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return false;
    const double value = match.captured().toDouble();
    // Huge numbers are cut before rounding; the preview clamps to its limits.
    Preview()->SetViewScale(int(std::lround(std::min(value, 1e6))));
    return true;
}

void TPreviewComboBox::enterPressed() {
    if (Preview() && !applyScale(currentText()))
        Services::dialogs().message(this, QGuiApplication::applicationDisplayName(),
                                    QStringLiteral("Invalid scale value"), QMessageBox::Warning);
    focusPreview();
    PreviewUpdated();
}

void TPreviewComboBox::focusPreview() {
    if (Preview())
        Preview()->setFocus(Qt::OtherFocusReason);
}

bool TPreviewComboBox::eventFilter(QObject *watched, QEvent *event) {
    const bool mine = watched == this || watched == lineEdit();
    if (mine && event->type() == QEvent::FocusOut) {
        PreviewUpdated();
    } else if (mine && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            enterPressed();
            return true;
        case Qt::Key_Escape:
            focusPreview();
            PreviewUpdated();
            return true;
        default:
            break;
        }
        // Of the characters, only digits and the decimal point are typed; keys held with
        // Ctrl or Alt are the line edit's commands (select all, undo) and pass.
        const QString text = key->text();
        const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
        if (!command && !text.isEmpty() && text.at(0).isPrint() && !text.at(0).isDigit() &&
            text != QLatin1String("."))
            return true;
    }
    return QComboBox::eventFilter(watched, event);
}

} // namespace tessary
