#pragma once

#include "rtf/rtfwriter.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTextListFormat>

class QTextBlock;
class QTextList;

namespace tessary {

// The number or bullet a list item shows, as text: "3.", "b)", "iv.", "•".
QString listMarkerText(const QTextList *list, const QTextBlock &block);
// Whether a list goes to the saved file as the old one-level bullets rather than a list table.
bool isPlainBulletList(const QTextListFormat &format);

// The list table of a document's numbered and nested lists, and each item's list words.
class RtfListWriter {
public:
    explicit RtfListWriter(const QList<RtfWriter::Snapshot::Paragraph> &paragraphs);
    // {\*\listtable ...}{\*\listoverridetable ...}, or nothing without such lists.
    QByteArray tables() const;
    // The paragraph's \ls, \ilvl and marker text for old readers, after its indents.
    QByteArray item(qsizetype paragraph) const;

private:
    struct Item {
        int ls = 0;
        int level = 0;
    };
    QHash<qsizetype, Item> m_items;
    QList<QList<QTextListFormat>> m_lists; // by \ls - 1: the format of each level used
    const QList<RtfWriter::Snapshot::Paragraph> &m_paragraphs;
};

} // namespace tessary
