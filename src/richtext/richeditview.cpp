#include "richtext/richedit.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace tessary {

namespace {
// The text layout takes its font sizes and lengths from its device's resolution; the screen's
// own resolution times the scale gives a view that is the same text, only larger or smaller.
class ScaledScreen : public QImage {
public:
    ScaledScreen(int dpiX, int dpiY)
        : QImage(1, 1, QImage::Format_RGB32) {
        setDotsPerMeterX(qRound(dpiX / 0.0254));
        setDotsPerMeterY(qRound(dpiY / 0.0254));
    }
};
} // namespace

void RichEdit::setViewScale(int percent) {
    percent = qBound(10, percent, 1000);
    if (percent == m_viewScale)
        return;
    m_viewScale = percent;
    QAbstractTextDocumentLayout *layout = document()->documentLayout();
    if (percent == 100) {
        layout->setPaintDevice(nullptr);
        m_scaledDevice.reset();
    } else {
        // The viewport's resolution is the one the layout uses when it has no device.
        m_scaledDevice = std::make_unique<ScaledScreen>(qRound(logicalDpiX() * scale()),
                                                        qRound(logicalDpiY() * scale()));
        layout->setPaintDevice(m_scaledDevice.get());
    }
    m_lineIndexValid = false;
    // Relays out every paragraph without touching the text: no undo step, no modification.
    document()->markContentsDirty(0, document()->characterCount());
    viewport()->update();
    ensureCursorVisible();
}

void RichEdit::paintEvent(QPaintEvent *event) {
    QTextEdit::paintEvent(event);
    overstrikeBold(event->rect());
}

void RichEdit::overstrikeBold(const QRect &area) {
    const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QRectF shown = QRectF(area).translated(scroll);
    const QAbstractTextDocumentLayout *layout = document()->documentLayout();
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-scroll);
    for (QTextBlock block = cursorForPosition(area.topLeft()).block(); block.isValid();
         block = block.next()) {
        const QRectF box = layout->blockBoundingRect(block);
        if (box.top() > shown.bottom())
            break;
        const QTextLayout *lines = block.layout();
        int first = lines->lineCount(), last = -1;
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            if (box.top() + line.y() + line.height() >= shown.top() &&
                box.top() + line.y() <= shown.bottom()) {
                first = qMin(first, i);
                last = i;
            }
        }
        if (first <= last)
            overstrikeLines(painter, block, first, last, box.topLeft());
    }
}

void RichEdit::overstrikeLines(QPainter &painter, const QTextBlock &block, int firstLine,
                               int lastLine, QPointF origin) {
    const QPaintDevice *device = m_scaledDevice ? m_scaledDevice.get() : viewport();
    const QTextCursor selection = textCursor();
    const int selStart = selection.selectionStart() - block.position();
    const int selEnd = selection.selectionEnd() - block.position();
    const auto wanted = [&](const QTextCharFormat &format) {
        return format.fontWeight() >= QFont::Bold && m_madeUpBold.lacksBoldDesign(format.font()) &&
               !m_madeUpBold.screenEmboldens(format.font(), device);
    };
    const QString text = block.text();
    MadeUpBold::forEachRun(
        block, firstLine, lastLine, wanted,
        [&](const QTextLine &line, int from, int to, const QTextCharFormat &format) {
            // Selected text is drawn in the highlight's text colour, so its overstrike is too.
            const int cuts[] = {from, qBound(from, selStart, to), qBound(from, selEnd, to), to};
            const QBrush brushes[] = {MadeUpBold::textBrush(format, palette().text()),
                                      palette().highlightedText(),
                                      MadeUpBold::textBrush(format, palette().text())};
            for (int part = 0; part < 3; ++part)
                if (cuts[part] < cuts[part + 1])
                    MadeUpBold::overstrike(painter, device, text, line, cuts[part], cuts[part + 1],
                                           origin, format, brushes[part]);
        });
}

} // namespace tessary
