#include "app/toolbaricons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace tessary {

namespace {
// Every picture is drawn on a 20 x 20 grid and rendered at 1x and 2x.
constexpr int kGrid = 20;
const QColor kInk(40, 40, 48);
const QColor kPaper(255, 255, 255);
const QColor kBlue(40, 90, 190);
const QColor kRed(180, 40, 40);
const QColor kFolder(236, 190, 80);

using Painter = std::function<void(QPainter &, bool on)>;

void page(QPainter &p, const QRectF &r) {
    const qreal fold = r.width() * 0.35;
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawPolyline(QPolygonF{QPointF(r.right() - fold, r.top()),
                             QPointF(r.right() - fold, r.top() + fold),
                             QPointF(r.right(), r.top() + fold)});
}

void alignedLines(QPainter &p, int alignment) {
    const QList<qreal> lengths = {14, 10, 14, 8};
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i < lengths.size(); ++i) {
        const qreal w = lengths.at(i);
        const qreal left = alignment == 0 ? 3 : alignment == 1 ? 17 - w : 10 - w / 2;
        const qreal y = 4 + i * 4;
        p.drawLine(QPointF(left, y), QPointF(left + w, y));
    }
}

void glyphs(QPainter &p, const QString &text, const QString &family, qreal pixelSize,
            const QRectF &box, const QColor &color, bool italic = false) {
    QFont font(family);
    font.setPixelSize(qRound(pixelSize));
    font.setItalic(italic);
    p.setFont(font);
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, text);
}

void anchor(QPainter &p, const QColor &color) {
    p.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(9, 4), 2, 2);
    p.drawLine(QPointF(9, 6), QPointF(9, 17));
    p.drawLine(QPointF(6, 9), QPointF(12, 9));
    p.drawArc(QRectF(3, 9, 12, 9), 200 * 16, 140 * 16);
}

QHash<QString, Painter> painters() {
    QHash<QString, Painter> all;
    all.insert("FileNew", [](QPainter &p, bool) {
        page(p, QRectF(4.5, 2.5, 11, 15));
        p.setPen(QPen(QColor(220, 160, 0), 1.5));
        p.drawLine(QPointF(15, 11), QPointF(15, 18));
        p.drawLine(QPointF(11.5, 14.5), QPointF(18.5, 14.5));
    });
    all.insert("FileOpen1", [](QPainter &p, bool) {
        p.setPen(QPen(kInk.lighter(150), 1));
        p.setBrush(kFolder.darker(115));
        p.drawPolygon(QPolygonF{QPointF(2.5, 4.5), QPointF(7.5, 4.5), QPointF(9, 6.5),
                                QPointF(16.5, 6.5), QPointF(16.5, 16.5), QPointF(2.5, 16.5)});
        p.setBrush(kFolder);
        p.drawPolygon(
            QPolygonF{QPointF(5, 9.5), QPointF(19, 9.5), QPointF(16.5, 16.5), QPointF(2.5, 16.5)});
    });
    all.insert("FileSave", [](QPainter &p, bool) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(2.5, 2.5, 15, 15), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(5.5, 2.5, 9, 6));
        p.setBrush(QColor(200, 205, 215));
        p.drawRect(QRectF(6.5, 11.5, 7, 6));
        p.fillRect(QRectF(11, 12.5, 1.5, 3.5), kInk);
    });
    all.insert("FilePrint", [](QPainter &p, bool) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(5.5, 2.5, 9, 6));
        p.setBrush(QColor(150, 155, 165));
        p.drawRoundedRect(QRectF(2.5, 7.5, 15, 7), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(5.5, 12.5, 9, 5.5));
        p.fillRect(QRectF(14, 9, 2, 1.5), QColor(60, 200, 60));
    });
    all.insert("HtmlSrcAnchor", [](QPainter &p, bool) {
        anchor(p, kBlue);
        p.setPen(QPen(kBlue, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13, 7), QPointF(18, 2));
        p.drawPolyline(QPolygonF{QPointF(14.5, 2), QPointF(18, 2), QPointF(18, 5.5)});
    });
    all.insert("HtmlDestAnchor", [](QPainter &p, bool) {
        anchor(p, kRed);
        p.setPen(QPen(kRed, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 4), 3, 3);
        p.setBrush(kRed);
        p.drawEllipse(QPointF(16, 4), 1, 1);
    });
    all.insert("HtmlGenerate", [](QPainter &p, bool) {
        p.setPen(QPen(kBlue, 1.2));
        p.setBrush(QColor(200, 225, 255));
        p.drawEllipse(QPointF(10, 10), 7.5, 7.5);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(10, 10), 3.5, 7.5);
        p.drawLine(QPointF(2.5, 10), QPointF(17.5, 10));
        p.drawLine(QPointF(10, 2.5), QPointF(10, 17.5));
        p.drawLine(QPointF(4, 6), QPointF(16, 6));
        p.drawLine(QPointF(4, 14), QPointF(16, 14));
    });
    all.insert("SearchFind", [](QPainter &p, bool) {
        p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12.5, 12.5), QPointF(17, 17));
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(210, 235, 255));
        p.drawEllipse(QPointF(8.5, 8.5), 5.5, 5.5);
    });
    all.insert("EditCut", [](QPainter &p, bool) {
        p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 12), QPointF(14, 2.5));
        p.drawLine(QPointF(14, 12), QPointF(6, 2.5));
        p.setPen(QPen(kRed, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(5.5, 15), 3, 3);
        p.drawEllipse(QPointF(14.5, 15), 3, 3);
    });
    all.insert("EditCopy", [](QPainter &p, bool) {
        page(p, QRectF(2.5, 2.5, 9, 12));
        page(p, QRectF(8.5, 6.5, 9, 12));
    });
    all.insert("EditPaste", [](QPainter &p, bool) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(170, 120, 60));
        p.drawRoundedRect(QRectF(2.5, 3.5, 12, 15), 1.5, 1.5);
        p.setBrush(QColor(190, 190, 200));
        p.drawRoundedRect(QRectF(5.5, 1.5, 6, 4), 1, 1);
        page(p, QRectF(8.5, 7.5, 9, 11));
    });
    all.insert("EditUndo", [](QPainter &p, bool) {
        p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath arc;
        arc.moveTo(5, 8);
        arc.cubicTo(QPointF(9, 4), QPointF(18, 5), QPointF(16, 13));
        arc.cubicTo(QPointF(15, 16), QPointF(12, 17), QPointF(9, 16.5));
        p.drawPath(arc);
        p.setBrush(kBlue);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF{QPointF(2, 5), QPointF(9, 4), QPointF(5.5, 11)});
    });
    // Undo's arrow, turned the other way.
    all.insert("EditRedo", [undo = all.value("EditUndo")](QPainter &p, bool on) {
        p.translate(kGrid, 0);
        p.scale(-1, 1);
        undo(p, on);
    });
    all.insert("EditDateTime", [](QPainter &p, bool) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(10, 10), 7.5, 7.5);
        p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 10), QPointF(10, 5));
        p.setPen(QPen(kRed, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 10), QPointF(13.5, 12));
    });
    all.insert("NotationButton", [](QPainter &p, bool) {
        glyphs(p, "x", "Times New Roman", 17, QRectF(1, 2, 12, 17), kInk, true);
        glyphs(p, "2", "Times New Roman", 10, QRectF(11, 0, 8, 10), kBlue);
    });
    all.insert("CaretFontButton", [](QPainter &p, bool) {
        glyphs(p, "A", "Times New Roman", 17, QRectF(0, 1, 14, 18), kInk);
        p.setPen(QPen(kBlue, 1.3));
        p.drawLine(QPointF(16, 3), QPointF(16, 17));
        p.drawLine(QPointF(14, 3), QPointF(18, 3));
        p.drawLine(QPointF(14, 17), QPointF(18, 17));
    });
    all.insert("WhitespaceButton", [](QPainter &p, bool on) {
        glyphs(p, "a", "Arial", 13, QRectF(0, 2, 7, 14), kInk);
        glyphs(p, "b", "Arial", 13, QRectF(13, 2, 7, 14), kInk);
        if (on)
            p.fillRect(QRectF(7, 14, 6, 1.5), QColor(150, 150, 150));
        else
            p.fillRect(QRectF(9.25, 10, 1.5, 1.5), QColor(150, 150, 150));
    });
    all.insert("GreekAlphabetButton", [](QPainter &p, bool) {
        glyphs(p, QStringLiteral("\u03B1\u03B2"), "DejaVu Serif", 13, QRectF(0, 1, 20, 18), kInk,
               true);
    });
    all.insert("SymbolButton", [](QPainter &p, bool) {
        glyphs(p, QStringLiteral("\u2211"), "DejaVu Serif", 16, QRectF(0, 0, 12, 20), kInk);
        glyphs(p, QStringLiteral("\u221E"), "DejaVu Sans", 10, QRectF(10, 6, 10, 14), kBlue);
    });
    all.insert("FunctionKeyButton", [](QPainter &p, bool) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(235, 235, 240));
        p.drawRoundedRect(QRectF(1.5, 3.5, 17, 13), 2.5, 2.5);
        glyphs(p, "Fn", "Arial", 9, QRectF(1.5, 3.5, 17, 12), kInk);
    });
    all.insert("LeftAlignButton", [](QPainter &p, bool) { alignedLines(p, 0); });
    all.insert("RightAlignButton", [](QPainter &p, bool) { alignedLines(p, 1); });
    all.insert("CenterAlignButton", [](QPainter &p, bool) { alignedLines(p, 2); });
    all.insert("BulletsButton", [](QPainter &p, bool) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(4, 5 + i * 5), 1.6, 1.6);
        p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::FlatCap));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(8, 5 + i * 5), QPointF(i == 1 ? 15 : 18, 5 + i * 5));
    });
    return all;
}

QPixmap render(const Painter &draw, int scale, bool on) {
    QPixmap pixmap(kGrid * scale, kGrid * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter, on);
    return pixmap;
}
// The disabled look is drawn here, not left to the style (which derives it from the desktop
// theme's colours): grey and faint, it reads as unavailable on the bars' own light background.
QPixmap greyedOut(const QPixmap &normal) {
    QImage image = normal.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 2 / 5);
        }
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(normal.devicePixelRatio());
    return pixmap;
}
} // namespace

QIcon toolBarIcon(const QString &name) {
    static const QHash<QString, Painter> all = painters();
    const auto it = all.constFind(name);
    if (it == all.constEnd())
        return {};
    QIcon icon;
    for (int scale : {1, 2}) {
        for (const bool on : {false, true}) {
            const QIcon::State state = on ? QIcon::On : QIcon::Off;
            const QPixmap normal = render(*it, scale, on);
            icon.addPixmap(normal, QIcon::Normal, state);
            icon.addPixmap(greyedOut(normal), QIcon::Disabled, state);
        }
    }
    return icon;
}

} // namespace tessary
