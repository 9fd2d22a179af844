#pragma once
// Shared by the print job, preview and print dialog tests: a formula document to paginate, and
// the ink of a page drawn into an image.

#include <QImage>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>

namespace tessary::test {

// Paragraphs "Line 1 ..." to "Line n ..." set in faces of the given list, in turn.
inline void fillLines(QTextDocument *doc, int paragraphs, const QStringList &faces) {
    QTextCursor c(doc);
    for (int i = 1; i <= paragraphs; ++i) {
        QTextCharFormat f;
        f.setFontFamilies({faces.at(i % faces.size())});
        f.setFontPointSize(12 + i % 3);
        if (i > 1)
            c.insertBlock();
        c.insertText(QStringLiteral("Line %1 ").arg(i), f);
        f.setFontFamilies({faces.at((i + 1) % faces.size())});
        c.insertText(QStringLiteral("x2 + y2 = z2, with words enough to wrap now and then %1")
                         .arg(QString(i % 5, QLatin1Char('w'))),
                     f);
    }
}

// What `draw` paints in printer pixels, on white, at `scale` of their size.
inline QImage drawnPage(QSize size, qreal scale, const std::function<void(QPainter &)> &draw) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    draw(painter);
    painter.end();
    return image;
}

inline int inkPixels(const QImage &image, int darkerThan = 128) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) < darkerThan;
    return count;
}

// The box around the ink of an image drawn at `scale`, in printer pixels.
inline QRect inkBox(const QImage &image, qreal scale) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    return QRect(qRound(ink.x() / scale), qRound(ink.y() / scale), qRound(ink.width() / scale),
                 qRound(ink.height() / scale));
}

} // namespace tessary::test
