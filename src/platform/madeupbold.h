#pragma once

#include <QBrush>
#include <QGlyphRun>
#include <QHash>
#include <QPainterPath>
#include <QString>

class QFont;
class QPainter;
class QRawFont;
class QTextCharFormat;

namespace tessary {

// Bold in a face that has no bold design (the notation faces) is made up by each text
// engine in its own way: the PDF engine overstrikes the glyphs, the screen's emboldens
// them only below 64 px. Where an engine would leave such text regular, it is overstruck
// here as the PDF engine does, so bold looks bold at every size and on every device.
class MadeUpBold {
public:
    // Whether the face `font` is shown in carries no bold style of its own.
    bool lacksBoldDesign(const QFont &font);
    // Whether the screen's text engine emboldens bold text in `raw` by itself.
    static bool screenEmboldens(const QRawFont &raw);
    // The brush text in `format` is drawn with, `automatic` where it has no colour.
    static QBrush textBrush(const QTextCharFormat &format, const QBrush &automatic);
    // Fills the glyphs of `runs` again, half a line's thickness to the right of where
    // they stand from `origin`.
    void overstrike(QPainter &painter, const QList<QGlyphRun> &runs, QPointF origin,
                    const QBrush &brush);

private:
    const QPainterPath &outline(const QRawFont &raw, quint32 glyph);

    QHash<QString, bool> m_known;            // by families and slant
    QHash<QString, QPainterPath> m_outlines; // by face, size and glyph: outlines are slow
};

} // namespace tessary
