#pragma once

#include <QByteArray>

class QTextDocument;

namespace tessary {

// The IMG tag for the picture character at `position` of `doc`, carrying the picture in a
// data: URI so that the page stays one file, as it carries its faces; empty when the
// character there is not a picture.
QByteArray htmlPicture(const QTextDocument *doc, int position);

} // namespace tessary
