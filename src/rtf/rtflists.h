#pragma once

// Numbered and bulleted lists in RTF: the list tables and the old paragraph numbering (\pn)
// read into QTextLists, and the list table written back from them.

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextListFormat>

class QTextCursor;
class QTextBlockFormat;
class QTextList;

namespace tessary::rtf {

// Marks a list format that came from, or goes to, a list table rather than the program's own
// one-level bullets.
constexpr int kTableListProperty = QTextFormat::UserProperty + 0x100 + 0x40;
// A list's first number where it is not 1 (\levelstartat, \pnstart). This Qt counts every
// list from 1 on the screen; the number is kept for the saved file and the page.
constexpr int kListStartProperty = kTableListProperty + 1;

// A paragraph's list as its RTF names it: a list override (\ls) and level (\ilvl), or an old
// numbering (\pn) read into the reader's table of them.
struct ParaList {
    int ls = 0;
    int level = 0;
    int pn = -1;
};

// One level of numbering: what Qt's list format can show of it.
struct ListLevel {
    QTextListFormat::Style style = QTextListFormat::ListDecimal;
    int start = 1;
    QString prefix;
    QString suffix;
    bool given = false; // a style word was read
};

class ListReader {
public:
    // The bytes of a {\*\listtable ...}, {\*\listoverridetable ...} group.
    void readListTable(QByteArrayView raw);
    void readOverrideTable(QByteArrayView raw);
    // A {\*\pn ...} group; returns its index for ParaList::pn.
    int readNumbering(QByteArrayView raw);
    // A {\*\pnseclvlN ...} group: the section's style for \pnlvlN.
    void readSectionLevel(QByteArrayView raw);
    // The marker an old reader would show ({\listtext 1.\tab}), for the paragraph being read.
    void setMarker(const QString &marker) { m_marker = marker.trimmed(); }

    // Puts the cursor's paragraph, whose format is `format`, in its list, or in none.
    void place(QTextCursor &cursor, const QTextBlockFormat &format, const ParaList &para);

private:
    struct Numbering {
        ListLevel level;
        int depth = 0; // \pnlvlN is depth N - 1
        int sectionLevel = 0;
        bool bullet = false;
    };
    static Numbering numbering(QByteArrayView raw);
    bool formatOf(const ParaList &para, QTextListFormat &format, int &source) const;
    QTextList *listFor(QTextCursor &cursor, int source, const QTextListFormat &format);

    QHash<int, QList<ListLevel>> m_lists; // by \listid
    QHash<int, int> m_overrides;          // \ls to \listid
    QList<Numbering> m_numberings;
    QHash<int, ListLevel> m_sectionLevels;
    QHash<int, QList<QTextList *>> m_open; // by source: the list open at each level
    QString m_marker;
    bool m_lastWasList = false;
    int m_lastSource = 0;
};

// The Qt list style of an RTF number format (\levelnfc).
QTextListFormat::Style styleOfNumberFormat(int nfc);
int numberFormatOfStyle(QTextListFormat::Style style);

} // namespace tessary::rtf
