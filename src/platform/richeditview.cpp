#include "platform/richedit.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextDocument>

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

} // namespace tessary
