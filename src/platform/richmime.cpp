#include "platform/richmime.h"

#include "platform/rtfreader.h"
#include "platform/rtfwriter.h"

#include <QMimeData>
#include <QTextDocumentFragment>

namespace tessary {

namespace {
// X11 programs use the first two; some publish RTF as text/richtext, and Qt names the Windows
// clipboard format this way.
const char *const kRtfTypes[] = {"text/rtf", "application/rtf", "text/richtext",
                                 "application/x-qt-windows-mime;value=\"Rich Text Format\""};

QString plainText(const QTextCursor &cursor) {
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}
} // namespace

QMimeData *mimeFromSelection(const QTextCursor &cursor) {
    auto *mime = new QMimeData;
    if (!cursor.hasSelection() || !cursor.document())
        return mime;
    const QByteArray rtf =
        RtfWriter::write(cursor.document(), cursor.selectionStart(), cursor.selectionEnd());
    mime->setData(QStringLiteral("text/rtf"), rtf);
    mime->setData(QStringLiteral("application/rtf"), rtf);
    mime->setText(plainText(cursor));
    return mime;
}

bool insertMime(const QMimeData *mime, QTextCursor &cursor) {
    if (!mime || cursor.isNull())
        return false;
    for (const char *type : kRtfTypes) {
        const QString name = QString::fromLatin1(type);
        if (!mime->hasFormat(name))
            continue;
        const QByteArray data = mime->data(name);
        if (RtfReader::looksLikeRtf(data))
            return RtfReader::read(data, cursor, RtfReader::Mode::Fragment);
    }
    if (mime->hasHtml()) {
        cursor.insertFragment(QTextDocumentFragment::fromHtml(mime->html()));
        return true;
    }
    if (mime->hasText()) {
        QString text = mime->text();
        text.remove(u'\r');
        cursor.insertText(text);
        return true;
    }
    return false;
}

} // namespace tessary
