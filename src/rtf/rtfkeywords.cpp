#include "rtf/rtfkeywords.h"

#include <QByteArray>
#include <QHash>

namespace tessary {

namespace {

QHash<QByteArray, Keyword> buildTable() {
    QHash<QByteArray, Keyword> table = {
        {"fonttbl", Keyword::FontTable},
        {"colortbl", Keyword::ColorTable},
        {"listtext", Keyword::ListText},
        {"pntext", Keyword::ListText},
        {"pn", Keyword::Pn},
        {"tessarypitch", Keyword::TessaryPitch},
        {"deff", Keyword::Deff},
        {"ansicpg", Keyword::AnsiCpg},
        {"fcharset", Keyword::FCharset},
        {"fprq", Keyword::FPrq},
        {"cpg", Keyword::Cpg},
        {"fnil", Keyword::FNil},
        {"froman", Keyword::FRoman},
        {"fswiss", Keyword::FSwiss},
        {"fmodern", Keyword::FModern},
        {"fscript", Keyword::FScript},
        {"fdecor", Keyword::FDecor},
        {"ftech", Keyword::FNil},
        {"fbidi", Keyword::FNil},
        {"red", Keyword::Red},
        {"green", Keyword::Green},
        {"blue", Keyword::Blue},
        {"plain", Keyword::Plain},
        {"f", Keyword::F},
        {"fs", Keyword::Fs},
        {"cf", Keyword::Cf},
        {"b", Keyword::B},
        {"i", Keyword::I},
        {"ul", Keyword::Ul},
        {"ulnone", Keyword::UlNone},
        {"pard", Keyword::Pard},
        {"fi", Keyword::Fi},
        {"li", Keyword::Li},
        {"ri", Keyword::Ri},
        {"ql", Keyword::Ql},
        {"qr", Keyword::Qr},
        {"qc", Keyword::Qc},
        {"qj", Keyword::Qj},
        {"qd", Keyword::Qj},
        {"tx", Keyword::Tx},
        {"tqr", Keyword::Tqr},
        {"tqc", Keyword::Tqc},
        {"tqdec", Keyword::Tqdec},
        {"tb", Keyword::Tb},
        {"ls", Keyword::Ls},
        {"pnlvlblt", Keyword::PnLvlBlt},
        {"par", Keyword::Par},
        {"sect", Keyword::Sect},
        {"cell", Keyword::Cell},
        {"row", Keyword::Row},
        {"line", Keyword::Line},
        {"tab", Keyword::Tab},
        {"u", Keyword::U},
        {"uc", Keyword::Uc},
        {"emdash", Keyword::EmDash},
        {"endash", Keyword::EnDash},
        {"lquote", Keyword::LQuote},
        {"rquote", Keyword::RQuote},
        {"ldblquote", Keyword::LDblQuote},
        {"rdblquote", Keyword::RDblQuote},
        {"bullet", Keyword::Bullet},
        {"emspace", Keyword::EmSpace},
        {"enspace", Keyword::EnSpace},
        {"qmspace", Keyword::QmSpace},
        {"zwj", Keyword::Zwj},
        {"zwnj", Keyword::Zwnj},
        // pictures and embedded objects
        {"pict", Keyword::Pict},
        {"shppict", Keyword::ShpPict},
        {"nonshppict", Keyword::NonShpPict},
        {"object", Keyword::Object},
    };
    // Tables: cells, rows and the row definitions.
    for (const auto &[name, keyword] : std::initializer_list<std::pair<const char *, Keyword>>{
             {"intbl", Keyword::InTable},
             {"itap", Keyword::Itap},
             {"nestcell", Keyword::NestCell},
             {"nestrow", Keyword::NestRow},
             {"nesttableprops", Keyword::NestTableProps},
             {"trowd", Keyword::Trowd},
             {"trgaph", Keyword::Trgaph},
             {"trleft", Keyword::Trleft},
             {"trqc", Keyword::Trqc},
             {"trqr", Keyword::Trqr},
             {"trql", Keyword::Trql},
             {"trhdr", Keyword::Trhdr},
             {"clmgf", Keyword::Clmgf},
             {"clmrg", Keyword::Clmrg},
             {"clvmgf", Keyword::Clvmgf},
             {"clvmrg", Keyword::Clvmrg},
             {"clbrdrt", Keyword::Clbrdrt},
             {"clbrdrl", Keyword::Clbrdrl},
             {"clbrdrb", Keyword::Clbrdrb},
             {"clbrdrr", Keyword::Clbrdrr},
             {"brdrw", Keyword::Brdrw},
             {"brdrnone", Keyword::Brdrnone},
             {"brdrnil", Keyword::Brdrnone},
             {"clcbpat", Keyword::Clcbpat},
             {"cellx", Keyword::Cellx}})
        table.insert(name, keyword);
    for (const char *name : {"brdrs", "brdrth", "brdrsh", "brdrdb", "brdrdot", "brdrdash",
                             "brdrhair", "brdrinset", "brdroutset", "brdrtriple", "brdrdashsm",
                             "brdrdashd", "brdrdashdd", "brdrwavy", "brdrengrave", "brdremboss"})
        table.insert(name, Keyword::BorderStyle);
    // Every underline style reads as underline.
    for (const char *name :
         {"uld", "uldb", "uldash", "uldashd", "uldashdd", "ulhwave", "ulldash", "ulth", "ulthd",
          "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
        table.insert(name, Keyword::Ul);
    // Destinations whose content is not document text, starred or not.
    for (const char *name : {"stylesheet",
                             "info",
                             "header",
                             "headerl",
                             "headerr",
                             "headerf",
                             "footer",
                             "footerl",
                             "footerr",
                             "footerf",
                             "footnote",
                             "annotation",
                             "fldinst",
                             "listtable",
                             "listoverridetable",
                             "revtbl",
                             "rsidtbl",
                             "xmlnstbl",
                             "pgdsctbl",
                             "shp",
                             "shpinst",
                             "xe",
                             "tc",
                             "tcn",
                             "txe",
                             "bkmkstart",
                             "bkmkend",
                             "themedata",
                             "colorschememapping",
                             "latentstyles",
                             "datastore",
                             "generator",
                             "userprops",
                             "docvar",
                             "template",
                             "filetbl",
                             "ftnsep",
                             "ftnsepc",
                             "ftncn",
                             "aftnsep",
                             "aftnsepc",
                             "aftncn",
                             "atnid",
                             "atnauthor",
                             "atrfstart",
                             "atrfend",
                             "falt",
                             "panose",
                             "leveltext",
                             "levelnumbers",
                             "pntxta",
                             "pntxtb",
                             "private",
                             "fchars",
                             "lchars",
                             "mmathPr",
                             "nonesttables"})
        table.insert(name, Keyword::SkippedDestination);
    // Lists, code pages of old documents, and the date, time and page words.
    for (const auto &[name, keyword] : std::initializer_list<std::pair<const char *, Keyword>>{
             {"listtable", Keyword::ListTable},
             {"listoverridetable", Keyword::ListOverrideTable},
             {"pnseclvl", Keyword::PnSecLvl},
             {"ilvl", Keyword::Ilvl},
             {"mac", Keyword::Mac},
             {"pc", Keyword::Pc},
             {"pca", Keyword::Pca},
             {"chdate", Keyword::ChDate},
             {"chdpl", Keyword::ChDate},
             {"chdpa", Keyword::ChDate},
             {"chtime", Keyword::ChTime},
             {"chpgn", Keyword::ChPgn}})
        table.insert(name, keyword);
    return table;
}

} // namespace

Keyword rtfKeyword(QByteArrayView name) {
    static const QHash<QByteArray, Keyword> table = buildTable();
    return table.value(QByteArray::fromRawData(name.data(), name.size()), Keyword::Unknown);
}

KeywordClass keywordClass(Keyword keyword) {
    switch (keyword) {
    case Keyword::Plain:
    case Keyword::F:
    case Keyword::Fs:
    case Keyword::Cf:
    case Keyword::B:
    case Keyword::I:
    case Keyword::Ul:
    case Keyword::UlNone:
        return KeywordClass::Character;
    case Keyword::Pard:
    case Keyword::Fi:
    case Keyword::Li:
    case Keyword::Ri:
    case Keyword::Ql:
    case Keyword::Qr:
    case Keyword::Qc:
    case Keyword::Qj:
    case Keyword::Tx:
    case Keyword::Tqr:
    case Keyword::Tqc:
    case Keyword::Tqdec:
    case Keyword::Tb:
    case Keyword::Ls:
    case Keyword::InTable:
    case Keyword::Itap:
    case Keyword::Ilvl:
        return KeywordClass::Paragraph;
    case Keyword::Trowd:
    case Keyword::Trgaph:
    case Keyword::Trleft:
    case Keyword::Trqc:
    case Keyword::Trqr:
    case Keyword::Trql:
    case Keyword::Trhdr:
    case Keyword::Clmgf:
    case Keyword::Clmrg:
    case Keyword::Clvmgf:
    case Keyword::Clvmrg:
    case Keyword::Clbrdrt:
    case Keyword::Clbrdrl:
    case Keyword::Clbrdrb:
    case Keyword::Clbrdrr:
    case Keyword::BorderStyle:
    case Keyword::Brdrw:
    case Keyword::Brdrnone:
    case Keyword::Clcbpat:
    case Keyword::Cellx:
        return KeywordClass::Table;
    default:
        return KeywordClass::Other;
    }
}

QChar keywordCharacter(Keyword keyword) {
    switch (keyword) {
    case Keyword::EmDash:
        return QChar(0x2014);
    case Keyword::EnDash:
        return QChar(0x2013);
    case Keyword::LQuote:
        return QChar(0x2018);
    case Keyword::RQuote:
        return QChar(0x2019);
    case Keyword::LDblQuote:
        return QChar(0x201C);
    case Keyword::RDblQuote:
        return QChar(0x201D);
    case Keyword::Bullet:
        return QChar(0x2022);
    case Keyword::EmSpace:
        return QChar(0x2003);
    case Keyword::EnSpace:
        return QChar(0x2002);
    case Keyword::QmSpace:
        return QChar(0x2005);
    case Keyword::Zwj:
        return QChar(0x200D);
    case Keyword::Zwnj:
        return QChar(0x200C);
    default:
        return QChar();
    }
}

int fontFamily(Keyword keyword) {
    switch (keyword) {
    case Keyword::FNil:
        return 0;
    case Keyword::FRoman:
        return 1;
    case Keyword::FSwiss:
        return 2;
    case Keyword::FModern:
        return 3;
    case Keyword::FScript:
        return 4;
    case Keyword::FDecor:
        return 5;
    default:
        return -1;
    }
}

} // namespace tessary
