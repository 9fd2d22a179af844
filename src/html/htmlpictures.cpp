#include "html/htmlpictures.h"

#include "rtf/rtfpictures.h"
#include "rtf/textformat.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

namespace tessary {

namespace {

QTextImageFormat imageAt(const QTextDocument *doc, int position) {
    const QTextBlock block = doc->findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (position >= fragment.position() && position < fragment.position() + fragment.length())
            return fragment.charFormat().toImageFormat();
    }
    return {};
}

// What the document shows for the picture, as PNG: a picture it was given as another type,
// or the box standing for a form that is not drawn.
QByteArray shownAsPng(const QTextDocument *doc, const QString &name) {
    const QVariant resource = doc->resource(QTextDocument::ImageResource, QUrl(name));
    QImage image;
    if (resource.userType() == QMetaType::QImage)
        image = resource.value<QImage>();
    else if (resource.userType() == QMetaType::QPixmap)
        image = resource.value<QPixmap>().toImage();
    else if (resource.userType() == QMetaType::QByteArray)
        image = QImage::fromData(resource.toByteArray());
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return png;
}

QByteArray attribute(const QString &text) {
    return text.toHtmlEscaped().toUtf8();
}

} // namespace

QByteArray htmlPicture(const QTextDocument *doc, int position) {
    if (!doc)
        return {};
    const QTextImageFormat image = imageAt(doc, position);
    if (!image.isValid())
        return {};
    EmbeddedPicture picture;
    if (image.stringProperty(PictureProperty::FormatName).isEmpty())
        picture = RtfPictures::embedded(image.property(TextProperty::KeptRtf).toByteArray());
    if (picture.mimeType.isEmpty())
        picture = {shownAsPng(doc, image.name()), "image/png"};
    if (picture.bytes.isEmpty())
        return {};
    // CSS pixels are 96 an inch; the document's lengths are in screen units.
    const qreal toPixels = 96.0 / documentDpi();
    const QString alt = image.stringProperty(PictureProperty::FormatName);
    return "<IMG src=\"data:" + picture.mimeType + ";base64," + picture.bytes.toBase64() +
           "\" WIDTH=" + QByteArray::number(qRound(image.width() * toPixels)) +
           " HEIGHT=" + QByteArray::number(qRound(image.height() * toPixels)) + " alt=\"" +
           attribute(alt.isEmpty() ? QStringLiteral("Picture") : alt) + "\">";
}

} // namespace tessary
