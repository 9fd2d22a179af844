#include "richtext/canvas.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

namespace tessary {

Canvas::Canvas(QPainter &painter)
    : m_painter(painter)
    , m_fontPpi(painter.device() ? painter.device()->logicalDpiY() : 96)
    , m_font(painter.font()) {}

void Canvas::setFontPixelsPerInch(int ppi) {
    m_fontPpi = ppi > 0 ? ppi : 96;
    setFont(m_font);
}

void Canvas::setFont(const QFont &font) {
    m_font = font;
    // A pixel size is in the painter's logical units, so the text comes out at the same
    // size on the printer, a recorded picture or an image.
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96;
    QFont sized = font;
    sized.setPixelSize(qMax(1, qRound(points * m_fontPpi / 72.0)));
    m_painter.setFont(sized);
}

int Canvas::textWidth(const QString &text) const {
    return m_painter.fontMetrics().horizontalAdvance(text);
}

int Canvas::textHeight(const QString &) const {
    return m_painter.fontMetrics().height();
}

void Canvas::textOut(int x, int y, const QString &text) {
    m_painter.drawText(QPoint(x, y + m_painter.fontMetrics().ascent()), text);
}

void Canvas::lineTo(int x, int y) {
    const QPoint to(x, y);
    m_painter.drawLine(m_penPos, to);
    m_penPos = to;
}

} // namespace tessary
