#include "platform/madeupbold.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextCharFormat>
#include <QtEndian>

namespace tessary {

namespace {

quint16 word(const QByteArray &table, int offset) {
    return table.size() >= offset + 2 ? qFromBigEndian<quint16>(table.constData() + offset) : 0;
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

bool MadeUpBold::screenEmboldens(const QRawFont &raw) {
    // The screen engine's own rule: a scalable face, not fixed-pitch, lighter than bold,
    // under 64 px.
    const QByteArray post = raw.fontTable("post"), os2 = raw.fontTable("OS/2");
    const bool fixedPitch = post.size() >= 16 && qFromBigEndian<quint32>(post.constData() + 12);
    return !fixedPitch && os2.size() >= 6 && word(os2, 4) < 700 && raw.pixelSize() < 64;
}

QBrush MadeUpBold::textBrush(const QTextCharFormat &format, const QBrush &automatic) {
    return format.foreground().style() == Qt::NoBrush ? automatic : format.foreground();
}

const QPainterPath &MadeUpBold::outline(const QRawFont &raw, quint32 glyph) {
    const QString key = QStringLiteral("%1/%2/%3/%4")
                            .arg(raw.familyName(), raw.styleName())
                            .arg(raw.pixelSize())
                            .arg(glyph);
    if (const auto it = m_outlines.constFind(key); it != m_outlines.cend())
        return *it;
    if (m_outlines.size() > 20000) // a bound for documents of many faces and sizes
        m_outlines.clear();
    return *m_outlines.insert(key, raw.pathForGlyph(glyph));
}

void MadeUpBold::overstrike(QPainter &painter, const QList<QGlyphRun> &runs, QPointF origin,
                            const QBrush &brush) {
    for (const QGlyphRun &run : runs) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        const QPointF shift = origin + QPointF(raw.lineThickness() / 2, 0);
        QPainterPath path;
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i)
            path.addPath(outline(raw, glyphs[i]).translated(positions[i] + shift));
        painter.fillPath(path, brush);
    }
}

} // namespace tessary
