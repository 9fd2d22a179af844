#include "richtext/readablecolours.h"

#include <QWidget>
#include <cmath>

namespace tessary {

namespace {
double luminance(const QColor &c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
// Disabled text: halfway to the background, still legible but plainly not available.
QColor disabledText(const QColor &text, const QColor &background) {
    return QColor((text.red() + background.red()) / 2, (text.green() + background.green()) / 2,
                  (text.blue() + background.blue()) / 2);
}
} // namespace

QColor textColorOn(const QColor &background) {
    return contrastRatio(background, Qt::black) >= contrastRatio(background, Qt::white)
               ? QColor(Qt::black)
               : QColor(Qt::white);
}

double contrastRatio(const QColor &a, const QColor &b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void setReadableBackground(QWidget *widget, const QColor &background, QPalette::ColorRole role) {
    QPalette p = widget->palette();
    const QColor text = textColorOn(background);
    p.setColor(role, background);
    const QColor greyed = disabledText(text, background);
    for (auto textRole : role == QPalette::Base
                             ? QList{QPalette::Text}
                             : QList{QPalette::WindowText, QPalette::ButtonText}) {
        p.setColor(textRole, text);
        p.setColor(QPalette::Disabled, textRole, greyed);
    }
    // Buttons on it (raised when pressed or checked) take a shade of the same colour.
    if (role != QPalette::Base)
        p.setColor(QPalette::Button, background);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void setReadableControl(QWidget *widget, const QColor &text, const QColor &background) {
    QPalette p = widget->palette();
    for (auto role : {QPalette::Button, QPalette::Base, QPalette::Window})
        p.setColor(role, background);
    for (auto role : {QPalette::ButtonText, QPalette::Text, QPalette::WindowText}) {
        p.setColor(role, text);
        p.setColor(QPalette::Disabled, role, disabledText(text, background));
    }
    widget->setPalette(p);
}

} // namespace tessary
