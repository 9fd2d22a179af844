#include "preview/previewglyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace tessary {

namespace {
const QColor kInk(32, 36, 44);
const QColor kPaper(255, 255, 255);
const QColor kMetal(150, 160, 172);
const QColor kBlue(70, 140, 240);
const QColor kGreen(50, 170, 80);
const QColor kRed(230, 70, 60);

// A filled shape with the dark outline that keeps it visible on a light face.
void shape(QPainter &p, const QPainterPath &path, const QColor &fill) {
    p.setPen(QPen(kInk, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

QPainterPath rect(qreal x, qreal y, qreal w, qreal h) {
    QPainterPath path;
    path.addRect(x, y, w, h);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// A coloured stroke drawn over a wider dark one, so thin lines read on any face.
void stroke(QPainter &p, const QPainterPath &path, const QColor &color, qreal width = 2) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

void printer(QPainter &p) {
    shape(p, rect(4.5, 1.5, 7, 5), kPaper);
    shape(p, rect(1.5, 5.5, 13, 6), kMetal);
    shape(p, rect(4.5, 9.5, 7, 5), kPaper);
    p.setPen(kInk);
    p.drawLine(QPointF(6, 11.5), QPointF(10, 11.5));
    p.drawLine(QPointF(6, 13.5), QPointF(9, 13.5));
}

void page(QPainter &p, const QRectF &r) {
    shape(p,
          polygon({r.topLeft(), QPointF(r.right() - 3, r.top()), QPointF(r.right(), r.top() + 3),
                   r.bottomRight(), r.bottomLeft()}),
          kPaper);
}

// A triangle pointing left (dir -1) or right (dir 1) with its tip at x.
void arrowHead(QPainter &p, qreal x, int dir) {
    shape(p, polygon({QPointF(x, 8), QPointF(x - 6 * dir, 2.5), QPointF(x - 6 * dir, 13.5)}),
          kBlue);
}

void magnifier(QPainter &p, bool plus) {
    QPainterPath handle;
    handle.moveTo(10, 10);
    handle.lineTo(14.5, 14.5);
    stroke(p, handle, kMetal, 2.5);
    QPainterPath lens;
    lens.addEllipse(QPointF(6.5, 6.5), 5, 5);
    shape(p, lens, kPaper);
    p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
    if (plus)
        p.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
}

void drawGlyph(QPainter &p, TButtonKind kind) {
    switch (kind) {
    case btnPrint:
        printer(p);
        break;
    case btnPrintDialog:
        printer(p);
        shape(p, rect(9.5, 9.5, 6, 6), kBlue);
        p.fillRect(QRectF(11, 12, 1, 1), kPaper);
        p.fillRect(QRectF(13, 12, 1, 1), kPaper);
        break;
    case btnPrinterSetupDialog: {
        printer(p);
        QPainterPath gear;
        gear.addEllipse(QPointF(12, 12), 3.5, 3.5);
        gear.addEllipse(QPointF(12, 12), 1.2, 1.2);
        shape(p, gear, kBlue);
        break;
    }
    case btnFirstPage:
        shape(p, rect(2.5, 2.5, 2, 11), kBlue);
        arrowHead(p, 6.5, -1);
        break;
    case btnPrevPage:
        arrowHead(p, 4.5, -1);
        break;
    case btnNextPage:
        arrowHead(p, 11.5, 1);
        break;
    case btnLastPage:
        shape(p, rect(11.5, 2.5, 2, 11), kBlue);
        arrowHead(p, 9.5, 1);
        break;
    case btnWholePage:
        page(p, QRectF(3.5, 1.5, 9, 13));
        p.setPen(kInk);
        for (int y = 5; y <= 11; y += 2)
            p.drawLine(QPointF(5.5, y + 0.5), QPointF(10.5, y + 0.5));
        break;
    case btnPageWidth: {
        page(p, QRectF(0.5, 2.5, 15, 11));
        QPainterPath arrow;
        arrow.moveTo(3, 8);
        arrow.lineTo(13, 8);
        stroke(p, arrow, kBlue, 1.5);
        shape(p, polygon({QPointF(2, 8), QPointF(5, 5), QPointF(5, 11)}), kBlue);
        shape(p, polygon({QPointF(14, 8), QPointF(11, 5), QPointF(11, 11)}), kBlue);
        break;
    }
    case btnZoomOut:
    case btnZoomIn:
        magnifier(p, kind == btnZoomIn);
        break;
    case btnRefresh: {
        QPainterPath arc;
        arc.arcMoveTo(QRectF(2.5, 2.5, 11, 11), 90);
        arc.arcTo(QRectF(2.5, 2.5, 11, 11), 90, 280);
        stroke(p, arc, kGreen, 2);
        shape(p, polygon({QPointF(6, 0.5), QPointF(11, 3), QPointF(6, 6)}), kGreen);
        break;
    }
    case btnClose: {
        QPainterPath cross;
        cross.moveTo(4, 4);
        cross.lineTo(12, 12);
        cross.moveTo(12, 4);
        cross.lineTo(4, 12);
        stroke(p, cross, kRed, 2.5);
        break;
    }
    case btnUser:
        break;
    }
}

QImage makeStrip() {
    QImage strip(GlyphSize * btnUser, GlyphSize, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < btnUser; ++k) {
        p.save();
        p.translate(k * GlyphSize, 0);
        p.setClipRect(0, 0, GlyphSize, GlyphSize);
        drawGlyph(p, TButtonKind(k));
        p.restore();
    }
    return strip;
}
} // namespace

const QImage &SmallGlyphStrip() {
    static const QImage strip = makeStrip();
    return strip;
}

QPixmap ButtonGlyph(TButtonKind kind) {
    if (kind == btnUser)
        return {};
    return QPixmap::fromImage(SmallGlyphStrip().copy(kind * GlyphSize, 0, GlyphSize, GlyphSize));
}

} // namespace tessary
