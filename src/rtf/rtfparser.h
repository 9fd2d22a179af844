#pragma once

// The RTF reader's parser, shared by its two source files: rtfreader.cpp follows the RTF
// groups and control words, rtfreaderoutput.cpp puts the text into the document.

#include "rtf/codepage.h"
#include "rtf/rtfgroupstack.h"
#include "rtf/rtfkept.h"
#include "rtf/rtfkeywords.h"
#include "rtf/rtflists.h"
#include "rtf/rtfreader.h"
#include "rtf/rtftables.h"
#include "rtf/rtftokenizer.h"
#include "rtf/textformat.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QTextCharFormat>
#include <QTextOption>

namespace tessary {

namespace rtf {

constexpr int kMaxTabs = 64;
constexpr int kMaxTwips = 31680; // 22 inches
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxFallback = 16; // \uc
constexpr int kMaxNameLength = 256;

enum class Dest { Text, Skip, FontTable, ColorTable, ListText, Keep };

// What a kept group is; it decides what the reader does with the group's bytes.
enum class KeepKind {
    None,
    Unknown,
    // Kept parts of other programs' documents (rtfkept.cpp).
    DocumentPart,     // a group before the text or of the document as a whole
    HeaderFooter,     // \header, \footer and their forms
    FieldInstruction, // the instruction of the field being read
    // pictures: a \pict group, a \shppict group, the \nonshppict group beside it, an \object
    Picture,
    ShapePicture,
    NonShapePicture,
    Object,
    // lists: the list table, its overrides, a paragraph's \pn numbering, a section level
    ListTable,
    ListOverrides,
    Numbering,
    SectionNumbering
};

struct CharState {
    int font = -1; // -1: the default font (\deff)
    int halfPoints = 24;
    int color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool hidden = false; // \v: kept, not shown
    bool operator==(const CharState &) const = default;
};

struct ParaState {
    int first = 0; // twips, as in \fi \li \ri
    int left = 0;
    int right = 0;
    Alignment alignment = Alignment::Left;
    ParaList list;
    QList<QTextOption::Tab> tabs;
    QTextOption::TabType nextTabType = QTextOption::LeftTab;
    int style = 0;        // \s, kept for the writer
    bool inTable = false; // \intbl
    int itap = 0;         // how many tables deep
};

struct Group {
    CharState chr;
    ParaState para;
    Dest dest = Dest::Text;
    int fallback = 1;               // \uc
    bool starred = false;           // after \*, an uninterpreted destination is skipped
    qsizetype start = 0;            // offset of the group's opening brace in the document's bytes
    KeepKind keep = KeepKind::None; // with Dest::Keep: why the group's bytes are kept
    bool nestedProps = false;       // in {\*\nesttableprops}: row words describe a nested row
};

struct Font {
    QString name;
    int charset = -1; // not given
    int family = 0;
    int pitch = 0;
    int exactPitch = -1; // this program's own pitch-and-family byte
    int codePage = 0;    // \cpg
    QString shown;       // the installed face the text is shown in when `name` is not one
};

// Beyond this many distinct faces that are not installed, a document's text is shown in a
// stand-in face of each one's family class: resolving every unknown name through the
// system's font look-up, and keeping a format per name, costs seconds per thousand names.
constexpr int kMaxLookedUpFaces = 16;

// Old documents write Greek and mathematics in a face named "Symbol", whose text reads as the
// characters that face shows.
bool isSymbolFace(const Font &font);

// The text of \chdate, \chtime and \chpgn: the date and time of reading, and page one.
QString placeholderText(Keyword keyword);

inline double twipsToUnits(int twips) {
    return pointsToDocUnits(twips / 20.0);
}

class Parser {
public:
    Parser(QTextCursor &cursor, RtfReader::Mode mode)
        : m_cursor(cursor)
        , m_mode(mode)
        , m_tables(cursor) {
        m_targetFormat = cursor.blockFormat();
    }
    void run(QByteArrayView data);

private:
    Group &top() { return m_groups.top(); }
    void openGroup(qsizetype start);
    void closeGroup(qsizetype end);
    // Marks the group being read as kept: its bytes, braces included, reach keptGroup when it
    // closes, and nothing inside it is read as text or formatting.
    void keepGroup(KeepKind kind);
    void keptGroup(KeepKind kind, QByteArrayView raw);
    void insertKept(QByteArrayView raw);
    // Pictures (rtfreaderpictures.cpp).
    bool pictureWord(Keyword keyword);
    void insertPicture(QByteArrayView raw, bool shape);
    bool joinShapePicture(QByteArrayView raw);
    void word(const RtfToken &token);
    bool destinationWord(Keyword keyword, int param);
    void charWord(Keyword keyword, const RtfToken &token);
    void paraWord(Keyword keyword, int param);
    void symbol(char c);
    void text(QByteArrayView run);
    void byte(const CodePage &page, unsigned char code);
    void unicode(int value);
    void character(QChar c);
    void textCharacter(QChar c);

    // Kept parts of other programs' documents (rtfkept.cpp).
    bool keptWord(Keyword keyword, const RtfToken &token, bool starred);
    void keptPart(KeepKind kind, QByteArrayView raw);
    void startField();
    void fieldClosed(qsizetype end);
    void hiddenCharacter(QChar c);
    void flushHidden();
    void storeKept();
    // tables (rtftables.cpp)
    void enterTable(int depth, bool force);
    int tableDepth() const;
    void endCell(bool nested);
    void endRow(bool nested);
    void tableWord(Keyword keyword, int param, bool hasParam);

    void paragraphBreak();
    void insertPendingBreak();
    void applyParagraph(const ParaState &para);
    void flushRun();
    void finish();

    void startFont(int number);
    void finishFont();
    void chooseShownFace(Font &font);
    const Font *fontOf(const CharState &chr) const;
    const CodePage &codePage();
    QTextCharFormat charFormat(const CharState &chr) const;

    QTextCursor &m_cursor;
    RtfReader::Mode m_mode;
    QByteArrayView m_data;
    bool m_groupFresh = false; // no token but \* read since the innermost group opened
    bool m_firstWord = false;  // the token being read is the group's first
    QTextBlockFormat m_targetFormat;
    GroupStack<Group> m_groups;
    int m_skip = 0;  // fallback characters still to skip after \u
    int m_lead = -1; // the lead byte of a two-byte code, waiting for its second byte
    bool m_done = false;

    QHash<int, Font> m_fonts;
    QSet<QString> m_installed; // filled at the first font of the table
    int m_lookedUp = 0;
    int m_defaultFont = 0;
    Font m_font; // the font table entry being read
    int m_fontNumber = -1;
    QList<int> m_colors; // 0x00RRGGBB, or -1 for automatic
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorGiven = false;
    const CodePage *m_ansiPage = &CodePage::windows(1252);
    QString m_listText;
    ListReader m_lists;

    // The last \shppict picture read: where its bytes lie and the character that shows it,
    // so that the \nonshppict group right after it joins the same character.
    qsizetype m_shapeStart = -1;
    qsizetype m_shapeEnd = -1;
    int m_shapePosition = -1;

    QString m_run;
    CharState m_runState;
    bool m_pendingBreak = false;
    bool m_paraHasContent = false;
    KeptState m_kept;

    TableBuilder m_tables;
    RowDef m_row;       // the definition of the outermost table's row being read
    RowDef m_nestedRow; // of a nested table's row, from {\*\nesttableprops}
};

} // namespace rtf
} // namespace tessary
