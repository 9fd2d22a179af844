#pragma once

#include <QBrush>
#include <QHash>
#include <QString>
#include <functional>

class QFont;
class QPaintDevice;
class QPainter;
class QTextBlock;
class QTextCharFormat;
class QTextLine;

namespace tessary {

// Bold in a face that has no bold design (the notation faces) is made up by each text
// engine in its own way: the PDF engine overstrikes the glyphs, the screen's emboldens
// them only below 64 px. Where an engine would leave such text regular, it is overstruck
// here as the PDF engine does, so bold looks bold at every size and on every device.
class MadeUpBold {
public:
    // Whether the face `font` is shown in carries no bold style of its own.
    bool lacksBoldDesign(const QFont &font);
    // Whether the screen's text engine emboldens bold text in `font`, laid out on `device`,
    // by itself.
    bool screenEmboldens(const QFont &font, const QPaintDevice *device);
    // The brush text in `format` is drawn with, `automatic` where it has no colour.
    static QBrush textBrush(const QTextCharFormat &format, const QBrush &automatic);
    // Calls `visit` with each run of `block`'s text on its lines firstLine..lastLine, cut at
    // line ends, whose format `wanted` takes (positions in the block).
    using Visit = std::function<void(const QTextLine &, int from, int to, const QTextCharFormat &)>;
    static void forEachRun(const QTextBlock &block, int firstLine, int lastLine,
                           const std::function<bool(const QTextCharFormat &)> &wanted,
                           const Visit &visit);
    // Draws the text [from, to) of `line` (positions in the block whose text is
    // `blockText`) again, word by word where the layout on `layoutDevice` put it, half a
    // line's thickness to the right.
    static void overstrike(QPainter &painter, const QPaintDevice *layoutDevice,
                           const QString &blockText, const QTextLine &line, int from, int to,
                           QPointF origin, const QTextCharFormat &format, const QBrush &brush);

private:
    QHash<QString, bool> m_known;      // by families and slant
    QHash<QString, bool> m_emboldened; // by font and resolution: looked up at every paint
};

} // namespace tessary
