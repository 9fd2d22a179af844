#include "html/htmlnotes.h"

#include "rtf/rtfkept.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>

namespace tessary {

namespace {

// ASCII with the markup characters and everything else as character references.
QByteArray htmlText(const QString &text) {
    QByteArray out;
    for (const uint c : text.toUcs4()) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else if (c >= 0x20 && c < 0x7F)
            out += char(c);
        else if (c == 0x2029 || c == 0x2028 || c == '\t')
            out += ' ';
        else if (c > 0x7F && c != 0xFFFC)
            out += "&#" + QByteArray::number(c) + ';';
    }
    return out;
}

} // namespace

QByteArray notesHtml(const QTextDocument &doc) {
    const QTextFrameFormat root = doc.rootFrame()->frameFormat();
    QByteArray out;
    int number = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const QByteArray raw = format.property(TextProperty::KeptRtf).toByteArray();
            if (raw.isEmpty() || !Kept::isNote(raw))
                continue;
            const auto note = Kept::partDocument(root, raw);
            const QString text = note->toPlainText().trimmed();
            // The note's own mark leads its text; the list gives the number itself.
            QString body = text;
            while (!body.isEmpty() && body.front().isDigit())
                body.remove(0, 1);
            ++number;
            out += "\r\n<P><A NAME=\"note" + QByteArray::number(number) + "\"><SUP>" +
                   QByteArray::number(number) + "</SUP></A> " + htmlText(body.trimmed()) + "</P>";
        }
    }
    if (out.isEmpty())
        return out;
    return "\r\n<HR>" + out;
}

} // namespace tessary
