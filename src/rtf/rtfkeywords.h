#pragma once

#include <QByteArrayView>
#include <QChar>

namespace tessary {

// The control words the RTF reader acts on. Anything else is ignored.
enum class Keyword {
    Unknown,
    // destinations
    FontTable,
    ColorTable,
    ListText,
    Pn,
    TessaryPitch,
    SkippedDestination,
    // pictures and embedded objects
    Pict,
    ShpPict,
    NonShpPict,
    Object,
    // document and font table
    Deff,
    AnsiCpg,
    FCharset,
    FPrq,
    Cpg,
    FNil,
    FRoman,
    FSwiss,
    FModern,
    FScript,
    FDecor,
    Red,
    Green,
    Blue,
    // character
    Plain,
    F,
    Fs,
    Cf,
    B,
    I,
    Ul,
    UlNone,
    // paragraph
    Pard,
    Fi,
    Li,
    Ri,
    Ql,
    Qr,
    Qc,
    Qj,
    Tx,
    Tqr,
    Tqc,
    Tqdec,
    Tb,
    Ls,
    PnLvlBlt,
    // text
    Par,
    Sect,
    Cell,
    Row,
    Line,
    Tab,
    U,
    Uc,
    EmDash,
    EnDash,
    LQuote,
    RQuote,
    LDblQuote,
    RDblQuote,
    Bullet,
    EmSpace,
    EnSpace,
    QmSpace,
    Zwj,
    Zwnj,
    // tables: cells, rows and the row definitions
    InTable,
    Itap,
    NestCell,
    NestRow,
    NestTableProps,
    Trowd,
    Trgaph,
    Trleft,
    Trqc,
    Trqr,
    Trql,
    Trhdr,
    Clmgf,
    Clmrg,
    Clvmgf,
    Clvmrg,
    Clbrdrt, // the four cell sides stay in this order
    Clbrdrl,
    Clbrdrb,
    Clbrdrr,
    BorderStyle,
    Brdrw,
    Brdrnone,
    Clcbpat,
    Cellx,
    // lists, code pages of old documents, and the date, time and page words
    ListTable,
    ListOverrideTable,
    PnSecLvl,
    Ilvl,
    Mac,
    Pc,
    Pca,
    ChDate,
    ChTime,
    ChPgn,
};

// Characters that never become document text: control codes, and the codes the text document
// uses for its own structure. Reader and writer leave out the same ones.
inline bool isRtfTextCharacter(char16_t u) {
    return (u >= 0x20 || u == u'\t') && u != 0x7F && !(u >= 0xFDD0 && u <= 0xFDEF) && u < 0xFFFE &&
           u != QChar::ObjectReplacementCharacter;
}

enum class KeywordClass { Other, Character, Paragraph, Table };

Keyword rtfKeyword(QByteArrayView name);
KeywordClass keywordClass(Keyword keyword);
// The character a symbol word such as \emdash stands for, or a null QChar.
QChar keywordCharacter(Keyword keyword);
// The family nibble of a font family word (\froman is 1), or -1.
int fontFamily(Keyword keyword);

} // namespace tessary
