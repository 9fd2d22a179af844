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
    if (role == QPalette::Base) {
        p.setColor(QPalette::Text, text);
    } else {
        p.setColor(QPalette::WindowText, text);
        p.setColor(QPalette::ButtonText, text);
        // Buttons on it (raised when pressed or checked) take a shade of the same colour.
        p.setColor(QPalette::Button, background);
    }
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void setReadableControl(QWidget *widget, const QColor &text, const QColor &background) {
    QPalette p = widget->palette();
    for (auto role : {QPalette::Button, QPalette::Base, QPalette::Window})
        p.setColor(role, background);
    for (auto role : {QPalette::ButtonText, QPalette::Text, QPalette::WindowText})
        p.setColor(role, text);
    widget->setPalette(p);
}

} // namespace tessary
