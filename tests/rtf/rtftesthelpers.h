#pragma once

#include "rtf/rtfreader.h"
#include "rtf/textformat.h"

#include <QFile>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <memory>

namespace tessary::test {

inline std::unique_ptr<QTextDocument> loadRtf(const QByteArray &rtf) {
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor cursor(doc.get());
    RtfReader::read(rtf, cursor);
    return doc;
}

inline QByteArray sample(const QString &name) {
    QFile file(QStringLiteral(TESSARY_TEST_DATA "/rtf/fixtures/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QStringList blockTexts(const QTextDocument &doc) {
    QStringList texts;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        texts << b.text();
    return texts;
}

// The attributes of the character at `pos`.
inline CharAttributes charAt(const QTextDocument &doc, int pos) {
    QTextCursor cursor(const_cast<QTextDocument *>(&doc));
    cursor.setPosition(pos + 1);
    return CharAttributes::fromFormat(cursor.charFormat());
}

// The attributes of the first character of `text` in the document.
inline CharAttributes charOf(const QTextDocument &doc, const QString &text) {
    const int pos = doc.toPlainText().indexOf(text);
    return pos < 0 ? CharAttributes{} : charAt(doc, pos);
}

// "face/size/colour/biu/charset/pitch", to compare all attributes at once.
inline QString describe(const CharAttributes &a) {
    const QString color = a.color == kAutomaticColor ? "auto" : QString::number(a.color, 16);
    const QString style =
        QString(a.bold ? "b" : "-") + (a.italic ? "i" : "-") + (a.underline ? "u" : "-");
    return QStringLiteral("%1/%2/%3/%4/%5/%6")
        .arg(a.face)
        .arg(a.size)
        .arg(color, style)
        .arg(a.charset)
        .arg(a.pitchAndFamily);
}

inline ParaAttributes paraOf(const QTextBlock &block) {
    const QTextBlockFormat f = block.blockFormat();
    ParaAttributes p;
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
    p.alignment = align & Qt::AlignHCenter ? Alignment::Center
                  : align & Qt::AlignRight ? Alignment::Right
                                           : Alignment::Left;
    p.firstIndent = docUnitsToPoints(f.leftMargin() + f.textIndent());
    p.leftIndent = docUnitsToPoints(-f.textIndent());
    p.rightIndent = docUnitsToPoints(f.rightMargin());
    p.bullet = block.textList() && block.textList()->format().style() == QTextListFormat::ListDisc;
    p.tabCount = int(f.tabPositions().size());
    return p;
}

} // namespace tessary::test
