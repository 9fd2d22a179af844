#pragma once

#include <QRect>

class QPainter;
class QTextDocument;

namespace tessary {

// A document's own header and footer, kept from the program that wrote it, drawn on the
// printed and previewed pages (first, even and odd pages as the document gives them).
namespace KeptHeaders {
// Draws the header above `body` (footer: below it) of page `page` of `pageCount` and returns
// whether the document has one for that page. `dpi` is the painter's pixels per inch.
bool draw(QPainter &painter, const QTextDocument &doc, int page, int pageCount, const QRect &body,
          bool footer, int dpi);
// Puts the current date, time and page numbers into the field results of `doc`.
void updateFields(QTextDocument &doc, int page, int pageCount);
} // namespace KeptHeaders

} // namespace tessary
