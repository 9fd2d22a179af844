// How the reader keeps the parts of other programs' documents it does not edit: it marks
// their groups kept (their bytes come back whole when they close) or tags the runs it reads.

#include "rtf/rtfparser.h"

#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>
#include <utility>

namespace tessary::rtf {

namespace {

enum class KeptWord {
    None,
    Header,
    Document,
    Inline,
    Field,
    FieldInstruction,
    NoteMark,
    CommentMark,
    Hidden,
    Style,
    Section
};

// Page and section settings, kept as the words themselves for the first section.
constexpr const char *kSectionWords[] = {
    "paperw",     "paperh",      "margl",      "margr",     "margt",     "margb",     "gutter",
    "landscape",  "facingp",     "margmirror", "titlepg",   "sectd",     "lndscpsxn", "pgwsxn",
    "pghsxn",     "marglsxn",    "margrsxn",   "margtsxn",  "margbsxn",  "guttersxn", "headery",
    "footery",    "cols",        "colsx",      "colno",     "colw",      "colsr",     "linebetcol",
    "sbknone",    "sbkpage",     "sbkcol",     "sbkodd",    "sbkeven",   "pgnstarts", "pgnrestart",
    "pgndec",     "pgnucrm",     "pgnlcrm",    "pgnucltr",  "pgnlcltr",  "linemod",   "linex",
    "linestarts", "linerestart", "vertalt",    "vertalc",   "vertalj",   "vertalb",   "ftnbj",
    "ftntj",      "ftnrstcont",  "ftnrestart", "ftnstart",  "ftnnar",    "aenddoc",   "aendnotes",
    "aftnnar",    "aftnnrlc",    "aftnstart",  "fet",       "endnotes",  "enddoc",    "deftab",
    "widowctrl",  "hyphauto",    "viewkind",   "viewscale", "formshade", "psz"};

const QHash<QByteArray, KeptWord> &keptWords() {
    static const QHash<QByteArray, KeptWord> table = [] {
        QHash<QByteArray, KeptWord> t;
        for (const char *name :
             {"header", "headerl", "headerr", "headerf", "footer", "footerl", "footerr", "footerf"})
            t.insert(name, KeptWord::Header);
        for (const char *name : {"stylesheet",   "info",      "revtbl",
                                 "rsidtbl",      "xmlnstbl",  "pgdsctbl",
                                 "generator",    "themedata", "colorschememapping",
                                 "latentstyles", "datastore", "userprops",
                                 "docvar",       "template",  "filetbl",
                                 "ftnsep",       "ftnsepc",   "ftncn",
                                 "aftnsep",      "aftnsepc",  "aftncn",
                                 "mmathPr",      "defchp",    "defpap",
                                 "wgrffmtfilter"})
            t.insert(name, KeptWord::Document);
        for (const char *name :
             {"footnote", "annotation", "atnid", "atnauthor", "atrfstart", "atrfend", "atndate",
              "atnref", "atnparent", "bkmkstart", "bkmkend", "xe", "tc", "tcn", "txe"})
            t.insert(name, KeptWord::Inline);
        for (const char *name : kSectionWords)
            t.insert(name, KeptWord::Section);
        t.insert("field", KeptWord::Field);
        t.insert("fldinst", KeptWord::FieldInstruction);
        t.insert("chftn", KeptWord::NoteMark);
        t.insert("chatn", KeptWord::CommentMark);
        t.insert("v", KeptWord::Hidden);
        t.insert("s", KeptWord::Style);
        return t;
    }();
    return table;
}

constexpr int kMaxHidden = 1 << 20; // characters of one hidden run

} // namespace

bool Parser::keptWord(Keyword keyword, const RtfToken &token, bool starred) {
    if (keyword == Keyword::Sect)
        m_kept.sectionDone = true;
    if (top().dest != Dest::Text)
        return false;
    KeptWord kind = keptWords().value(QByteArray::fromRawData(token.name.data(), token.name.size()),
                                      KeptWord::None);
    if (kind == KeptWord::None && starred && keyword == Keyword::Unknown)
        kind = KeptWord::Inline; // an unknown destination: kept where it stands
    const bool document = m_mode == RtfReader::Mode::Document;
    m_kept.body = m_kept.body || m_cursor.position() != m_kept.start || !m_run.isEmpty() ||
                  m_pendingBreak || !m_kept.hidden.isEmpty();
    switch (kind) {
    case KeptWord::None:
        return false;
    case KeptWord::Header:
        keepGroup(KeepKind::HeaderFooter);
        return true;
    case KeptWord::Document:
        keepGroup(KeepKind::DocumentPart);
        return true;
    case KeptWord::Inline:
        keepGroup(m_kept.body || !document ? KeepKind::Unknown : KeepKind::DocumentPart);
        return true;
    case KeptWord::Field:
        startField();
        return true;
    case KeptWord::FieldInstruction:
        if (m_kept.fieldDepth == 0 || m_groups.depth() != m_kept.fieldDepth + 1)
            return false; // a nested field's instruction: its result is read as text
        keepGroup(KeepKind::FieldInstruction);
        return true;
    case KeptWord::NoteMark: {
        if (m_pendingBreak)
            insertPendingBreak();
        flushRun();
        const QString number = QString::number(++m_kept.noteCount);
        QTextCharFormat format = charFormat(top().chr);
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        format.setProperty(TextProperty::KeptMark, QByteArray("{\\super\\chftn}"));
        format.setProperty(TextProperty::KeptMarkText, number);
        m_cursor.insertText(number, format);
        m_paraHasContent = true;
        m_kept.any = true;
        return true;
    }
    case KeptWord::CommentMark:
        insertKept("\\chatn ");
        m_kept.any = true;
        return true;
    case KeptWord::Hidden:
        top().chr.hidden = !token.hasParam || token.param != 0;
        return true;
    case KeptWord::Style:
        top().para.style = qBound(0, token.param, 32767);
        return true;
    case KeptWord::Section:
        if (!document)
            return true;
        if (m_kept.sectionDone) {
            if (!m_kept.losses.contains(QStringLiteral("the page settings of a second section")))
                m_kept.losses << QStringLiteral("the page settings of a second section");
            return true;
        }
        m_kept.section += '\\' + token.name.toByteArray();
        if (token.hasParam)
            m_kept.section += QByteArray::number(token.param);
        return true;
    }
    return false;
}

void Parser::keptPart(KeepKind kind, QByteArrayView raw) {
    m_kept.any = true;
    const bool document = m_mode == RtfReader::Mode::Document;
    switch (kind) {
    case KeepKind::DocumentPart:
        if (document)
            m_kept.prolog += raw.toByteArray() + '\n';
        break;
    case KeepKind::HeaderFooter:
        if (!document)
            break;
        if (m_kept.sectionDone) {
            const QString lost = QStringLiteral("the headers and footers of a second section");
            if (!m_kept.losses.contains(lost))
                m_kept.losses << lost;
            break;
        }
        m_kept.headers += raw.toByteArray() + '\n';
        break;
    case KeepKind::FieldInstruction:
        m_kept.fieldInstruction = raw.toByteArray();
        break;
    default:
        break;
    }
}

// A field's result is read as text; its runs carry the instruction so that the writer
// gives the field back around them.
void Parser::startField() {
    if (m_kept.fieldDepth > 0)
        return; // a field in a field's result: the outer one is kept whole
    if (m_pendingBreak)
        insertPendingBreak();
    flushRun();
    m_kept.fieldDepth = int(m_groups.depth());
    m_kept.fieldFrom = m_cursor.position();
    m_kept.fieldStart = top().start;
    m_kept.fieldInstruction.clear();
}

void Parser::fieldClosed(qsizetype end) {
    flushRun();
    const QByteArray instruction = std::exchange(m_kept.fieldInstruction, {});
    const int from = m_kept.fieldFrom;
    m_kept.fieldDepth = 0;
    if (instruction.isEmpty())
        return;
    m_kept.any = true;
    if (m_cursor.position() <= from) { // no result to show: the field is kept whole
        insertKept(m_data.sliced(m_kept.fieldStart, end - m_kept.fieldStart));
        return;
    }
    QTextCharFormat field;
    field.setProperty(TextProperty::FieldInstruction, instruction);
    field.setProperty(TextProperty::FieldSerial, ++m_kept.fieldSerial);
    QTextCursor range(m_cursor);
    range.setPosition(from);
    range.setPosition(m_cursor.position(), QTextCursor::KeepAnchor);
    range.mergeCharFormat(field);
}

void Parser::hiddenCharacter(QChar c) {
    if (!m_run.isEmpty())
        flushRun();
    if (m_kept.hidden.isEmpty())
        m_kept.hiddenFormat = charFormat(top().chr);
    if (m_kept.hidden.size() < kMaxHidden)
        m_kept.hidden.append(c);
}

// Hidden text is one kept character: not shown, not exported, written back as it was.
void Parser::flushHidden() {
    if (m_kept.hidden.isEmpty())
        return;
    const QString text = std::exchange(m_kept.hidden, {});
    if (m_pendingBreak)
        insertPendingBreak();
    QTextCharFormat format = m_kept.hiddenFormat;
    format.setProperty(TextProperty::KeptRtf, Kept::hiddenGroup(text));
    m_cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
    m_paraHasContent = true;
    m_kept.any = true;
}

// The document-level parts go on the root frame, replacing those of an earlier document.
void Parser::storeKept() {
    if (m_mode != RtfReader::Mode::Document)
        return;
    QTextDocument *doc = m_cursor.document();
    QTextFrameFormat root = doc->rootFrame()->frameFormat();
    const bool any = m_kept.any || !m_kept.section.isEmpty() || !m_kept.losses.isEmpty();
    for (int id = TextProperty::KeptFonts; id <= TextProperty::KeptLosses; ++id)
        root.clearProperty(id);
    if (any) {
        QVariantList fonts;
        QList<int> numbers = m_fonts.keys();
        std::sort(numbers.begin(), numbers.end()); // the table in the document's order
        for (int number : numbers) {
            const Font &font = m_fonts[number];
            const int pitch =
                font.exactPitch >= 0 ? font.exactPitch : (font.family << 4) | font.pitch;
            fonts.append(QVariant(QVariantList{number, font.name, qMax(0, font.charset), pitch}));
        }
        QVariantList colors;
        for (int rgb : std::as_const(m_colors))
            colors.append(rgb);
        root.setProperty(TextProperty::KeptFonts, fonts);
        root.setProperty(TextProperty::KeptColors, colors);
        root.setProperty(TextProperty::KeptProlog, m_kept.prolog);
        root.setProperty(TextProperty::KeptSection, m_kept.section);
        root.setProperty(TextProperty::KeptHeaders, m_kept.headers);
        root.setProperty(TextProperty::KeptLosses, m_kept.losses);
    }
    doc->rootFrame()->setFrameFormat(root);
}

} // namespace tessary::rtf
