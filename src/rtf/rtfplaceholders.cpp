#include "rtf/rtfparser.h"

#include <QDateTime>
#include <QLocale>

namespace tessary::rtf {

// The document is read once and then edited as text, so the date and time are those of the
// reading; where the page number falls is known only once the text is laid out, which the
// reader does not do, so it reads as the first page's.
QString placeholderText(Keyword keyword) {
    const QDateTime now = QDateTime::currentDateTime();
    switch (keyword) {
    case Keyword::ChDate:
        return QLocale().toString(now.date(), QLocale::ShortFormat);
    case Keyword::ChTime:
        return QLocale().toString(now.time(), QLocale::ShortFormat);
    case Keyword::ChPgn:
        return QStringLiteral("1");
    default:
        return {};
    }
}

} // namespace tessary::rtf
