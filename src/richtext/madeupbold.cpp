#include "richtext/madeupbold.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextLayout>
#include <QtEndian>

namespace tessary {

namespace {

quint16 word(const QByteArray &table, int offset) {
    return table.size() >= offset + 2 ? qFromBigEndian<quint16>(table.constData() + offset) : 0;
}

// `font` sized for `painter`'s device as it is on `layoutDevice`: the painter measures a
// font it is given on its own device.
QFont resized(QFont font, const QPaintDevice *layoutDevice, const QPainter &painter) {
    const qreal ratio = qreal(layoutDevice->logicalDpiY()) / painter.device()->logicalDpiY();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * ratio);
    else
        font.setPixelSize(qRound(font.pixelSize() * ratio));
    return font;
}

} // namespace

bool MadeUpBold::lacksBoldDesign(const QFont &font) {
    const QString key = font.families().join(u',') + (font.italic() ? u'/' : u'-');
    if (const auto it = m_known.constFind(key); it != m_known.cend())
        return *it;
    // The bold bits of 'head' (macStyle) and 'OS/2' (fsSelection) are the ones FreeType reads.
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray head = raw.fontTable("head"), os2 = raw.fontTable("OS/2");
    const bool lacks = head.size() >= 46 && !(word(head, 44) & 1) && !(word(os2, 62) & 0x20);
    m_known.insert(key, lacks);
    return lacks;
}

bool MadeUpBold::screenEmboldens(const QFont &font, const QPaintDevice *device) {
    const QString key = font.key() + u'@' + QString::number(device->logicalDpiY());
    if (const auto it = m_emboldened.constFind(key); it != m_emboldened.cend())
        return *it;
    // The screen engine's own rule: a face that is not fixed-pitch, lighter than bold, under
    // 64 px.
    const QRawFont raw = QRawFont::fromFont(QFont(font, device));
    const QByteArray post = raw.fontTable("post"), os2 = raw.fontTable("OS/2");
    const bool fixedPitch = post.size() >= 16 && qFromBigEndian<quint32>(post.constData() + 12);
    const bool emboldens =
        !fixedPitch && os2.size() >= 6 && word(os2, 4) < 700 && raw.pixelSize() < 64;
    m_emboldened.insert(key, emboldens);
    return emboldens;
}

QBrush MadeUpBold::textBrush(const QTextCharFormat &format, const QBrush &automatic) {
    return format.foreground().style() == Qt::NoBrush ? automatic : format.foreground();
}

void MadeUpBold::forEachRun(const QTextBlock &block, int firstLine, int lastLine,
                            const std::function<bool(const QTextCharFormat &)> &wanted,
                            const Visit &visit) {
    const QTextLayout *layout = block.layout();
    const QTextLine last = layout->lineAt(lastLine);
    const int low = layout->lineAt(firstLine).textStart();
    const int high = last.textStart() + last.textLength();
    // One pass over the block's runs: a paragraph may hold thousands of them.
    for (const QTextLayout::FormatRange &range : block.textFormats()) {
        const int start = qMax(range.start, low), end = qMin(range.start + range.length, high);
        if (start >= end || !wanted(range.format))
            continue;
        for (QTextLine line = layout->lineForTextPosition(start);
             line.isValid() && line.textStart() < end;
             line = layout->lineAt(line.lineNumber() + 1)) {
            const int from = qMax(start, line.textStart());
            const int to = qMin(end, line.textStart() + line.textLength());
            if (from < to)
                visit(line, from, to, range.format);
        }
    }
}

void MadeUpBold::overstrike(QPainter &painter, const QPaintDevice *layoutDevice,
                            const QString &text, const QTextLine &line, int from, int to,
                            QPointF origin, const QTextCharFormat &format, const QBrush &brush) {
    const QFont laidOut(format.font(), layoutDevice);
    const qreal shift = QFontMetricsF(laidOut).lineWidth() / 2;
    const qreal baseline = origin.y() + line.y() + line.ascent();
    painter.save();
    painter.setFont(resized(laidOut, layoutDevice, painter));
    painter.setPen(QPen(brush, 0));
    // Word by word, each where the layout put it: tabs and justified spaces stay out.
    for (int i = from, end = to; i < end;) {
        if (text.at(i).isSpace() || text.at(i) == QChar::ObjectReplacementCharacter) {
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < end && !text.at(j).isSpace() && text.at(j) != QChar::ObjectReplacementCharacter)
            ++j;
        painter.drawText(QPointF(origin.x() + line.cursorToX(i) + shift, baseline),
                         text.mid(i, j - i));
        i = j;
    }
    painter.restore();
}

} // namespace tessary
