#pragma once

#include <QFont>
#include <QPoint>
#include <QString>

class QPainter;

namespace tessary {

// A painter plus what page drawing needs of it: fonts sized for a chosen number of pixels
// per inch of the painter's logical units (the printer's, whatever the device is), text at
// a top-left corner, and a pen position for lines. The painter's window, viewport and clip
// are used directly.
class Canvas {
public:
    // Fonts follow the painter device's own resolution until setFontPixelsPerInch.
    explicit Canvas(QPainter &painter);

    QPainter &painter() const { return m_painter; }
    int fontPixelsPerInch() const { return m_fontPpi; }
    void setFontPixelsPerInch(int ppi);

    // Sets the painter's font: `font`'s face and style at its point size, measured at
    // fontPixelsPerInch logical units per inch.
    void setFont(const QFont &font);
    QFont font() const { return m_font; }
    int textWidth(const QString &text) const;
    int textHeight(const QString &text) const;
    // Draws `text` with the top of its line at y.
    void textOut(int x, int y, const QString &text);
    void moveTo(int x, int y) { m_penPos = QPoint(x, y); }
    void lineTo(int x, int y);

private:
    QPainter &m_painter;
    int m_fontPpi;
    QFont m_font;
    QPoint m_penPos;
};

} // namespace tessary
