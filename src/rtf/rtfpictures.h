#pragma once

// Pictures in RTF: a \pict group (alone, inside \shppict or \nonshppict, or the \result of an
// \object) becomes an image character whose format keeps the group's bytes, so an unchanged
// picture is written back exactly as it came.

#include <QByteArray>
#include <QByteArrayView>
#include <QSizeF>
#include <QString>
#include <QTextImageFormat>

#include "rtf/textformat.h"

class QImage;
class QTextCursor;
class QTextDocument;

namespace tessary {

namespace PictureProperty {
// On a picture character: the name of the form it stands for when that form is not drawn
// (a metafile, an object), shown in a framed box; empty for a drawn picture.
constexpr int FormatName = TextProperty::FirstStructure + 0x60;
} // namespace PictureProperty

// The drawable picture a kept group holds: the file bytes of a PNG or JPEG, and its type.
struct EmbeddedPicture {
    QByteArray bytes;
    QByteArray mimeType; // "image/png", "image/jpeg"; empty when the group holds none
};

class RtfPictures {
public:
    // The image character for the kept group `raw`: the picture (or a framed box naming its
    // form) is added to `doc` as a resource, sized as the group gives it in document units;
    // the rest of the format comes from `base`.
    static QTextImageFormat format(const QByteArray &raw, QTextDocument *doc,
                                   const QTextCharFormat &base);
    // The first PNG or JPEG in the group, as its file bytes; none when it is shown cropped.
    static EmbeddedPicture embedded(QByteArrayView raw);
    // A \pict group carrying `image` as PNG, shown at `size` (document units).
    static QByteArray pngGroup(const QImage &image, QSizeF size);
    // Inserts `image` at the cursor (replacing its selection) as a picture shown at its
    // pixel size at 96 pixels an inch, no wider than `maxWidth` units when that is given.
    static bool insert(QTextCursor &cursor, const QImage &image, qreal maxWidth = 0);
};

} // namespace tessary
