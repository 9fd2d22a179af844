#include "printjob/keptheaders.h"

#include "rtf/rtfkept.h"

#include <QAbstractTextDocumentLayout>
#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

namespace tessary::KeptHeaders {

namespace {

QString fieldValue(const QString &type, int page, int pageCount) {
    if (type == u"PAGE")
        return QString::number(page);
    if (type == u"NUMPAGES" || type == u"SECTIONPAGES")
        return QString::number(pageCount);
    if (type == u"DATE" || type == u"CREATEDATE" || type == u"SAVEDATE" || type == u"PRINTDATE")
        return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    if (type == u"TIME")
        return QLocale().toString(QTime::currentTime(), QLocale::ShortFormat);
    return {};
}

} // namespace

void updateFields(QTextDocument &doc, int page, int pageCount) {
    // Each field's result is one stretch of characters of the same serial.
    struct Stretch {
        int from, to;
        QString value;
    };
    QList<Stretch> stretches;
    int serial = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.hasProperty(TextProperty::FieldInstruction)) {
                serial = 0;
                continue;
            }
            const int s = format.intProperty(TextProperty::FieldSerial);
            const int end = fragment.position() + fragment.length();
            if (s == serial && !stretches.isEmpty()) {
                stretches.last().to = end;
                continue;
            }
            serial = s;
            const QString value = fieldValue(
                Kept::fieldType(format.property(TextProperty::FieldInstruction).toByteArray()),
                page, pageCount);
            stretches.append({fragment.position(), end, value});
        }
    }
    // From the end, so that earlier positions stay right.
    for (auto it = stretches.crbegin(); it != stretches.crend(); ++it) {
        if (it->value.isNull())
            continue;
        QTextCursor cursor(&doc);
        cursor.setPosition(it->from);
        cursor.setPosition(it->to, QTextCursor::KeepAnchor);
        const QTextCharFormat format = cursor.charFormat();
        cursor.insertText(it->value, format);
    }
}

bool draw(QPainter &painter, const QTextDocument &doc, int page, int pageCount, const QRect &body,
          bool footer, int dpi) {
    const QTextFrameFormat root = doc.rootFrame()->frameFormat();
    const QByteArray group = Kept::headerFor(root, footer, page);
    if (group.isEmpty())
        return false;
    const std::unique_ptr<QTextDocument> part = Kept::partDocument(root, group);
    updateFields(*part, page, pageCount);
    part->setDocumentMargin(0);
    // The part is laid out in document units and drawn scaled to the painter's pixels.
    const double scale = double(dpi) / documentDpi();
    part->setTextWidth(body.width() / scale);
    const double height = part->documentLayout()->documentSize().height() * scale;
    const int gap = dpi / 10;
    const double top = footer ? body.bottom() + 1 + gap : body.top() - gap - height;
    painter.save();
    painter.translate(body.left(), top);
    painter.scale(scale, scale);
    part->drawContents(&painter);
    painter.restore();
    return true;
}

} // namespace tessary::KeptHeaders
