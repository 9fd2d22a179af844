#include "rtf/rtfparser.h"
#include "rtf/rtfpictures.h"

namespace tessary::rtf {

// Picture and object groups are kept whole; what they show is worked out when they close.
bool Parser::pictureWord(Keyword keyword) {
    KeepKind kind = KeepKind::None;
    switch (keyword) {
    case Keyword::Pict:
        kind = KeepKind::Picture;
        break;
    case Keyword::ShpPict:
        kind = KeepKind::ShapePicture;
        break;
    case Keyword::NonShpPict:
        kind = KeepKind::NonShapePicture;
        break;
    case Keyword::Object:
        kind = KeepKind::Object;
        break;
    default:
        return false;
    }
    if (top().dest == Dest::Text)
        keepGroup(kind);
    else
        top().dest = Dest::Skip; // a picture in a table or destination that shows no text
    return true;
}

void Parser::insertPicture(QByteArrayView raw, bool shape) {
    if (m_pendingBreak)
        insertPendingBreak();
    flushRun();
    m_cursor.insertText(
        QString(QChar::ObjectReplacementCharacter),
        RtfPictures::format(raw.toByteArray(), m_cursor.document(), charFormat(top().chr)));
    m_paraHasContent = true;
    m_shapeStart = shape ? raw.data() - m_data.data() : -1;
    m_shapeEnd = shape ? m_shapeStart + raw.size() : -1;
    m_shapePosition = m_cursor.position();
}

// Writers put a metafile for older readers in \nonshppict right after the \shppict picture:
// both groups ride on the one character, which shows the \shppict form.
bool Parser::joinShapePicture(QByteArrayView raw) {
    const qsizetype start = raw.data() - m_data.data();
    if (m_shapeEnd < 0 || start < m_shapeEnd || !m_run.isEmpty() || m_pendingBreak ||
        m_cursor.position() != m_shapePosition)
        return false;
    for (qsizetype i = m_shapeEnd; i < start; ++i)
        if (m_data[i] != '\r' && m_data[i] != '\n')
            return false;
    QTextCursor picture(m_cursor);
    picture.setPosition(m_shapePosition - 1);
    picture.setPosition(m_shapePosition, QTextCursor::KeepAnchor);
    QTextCharFormat format = picture.charFormat();
    format.setProperty(
        TextProperty::KeptRtf,
        m_data.sliced(m_shapeStart, start + raw.size() - m_shapeStart).toByteArray());
    picture.setCharFormat(format);
    m_shapeStart = m_shapeEnd = -1;
    return true;
}

} // namespace tessary::rtf
