#include "rtf/rtfwriter.h"

#include "rtf/rtflistwriter.h"

#include "rtf/codepage.h"
#include "rtf/rtfkept.h"
#include "rtf/rtfkeywords.h"
#include "rtf/rtftablewriter.h"
#include "rtf/textformat.h"

#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>

namespace tessary {

namespace {

struct FontKey {
    QString face;
    int charset = 0;
    int pitch = 0; // the pitch-and-family byte
    bool operator==(const FontKey &) const = default;
};

size_t qHash(const FontKey &key, size_t seed = 0) {
    return qHashMulti(seed, key.face, key.charset, key.pitch);
}

struct RunState {
    int font = -1;
    int halfPoints = -1;
    int color = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

class Writer {
public:
    explicit Writer(const RtfWriter::Snapshot &doc)
        : m_doc(doc)
        , m_lists(doc.paragraphs) {}
    QByteArray write();

private:
    template <typename Visit> void forEachFragment(Visit visit) const;
    FontKey fontKey(const QTextCharFormat &format) const;
    int colorIndex(const QTextCharFormat &format) const;
    void collect();
    void header();
    void block(const RtfWriter::Snapshot::Paragraph &paragraph);
    void tableMark(const RtfWriter::Snapshot::TableMark &mark);
    void paragraphProperties(const QTextBlockFormat &format, bool bullet);
    void runFormat(const QTextCharFormat &format);
    void text(QStringView text, const FontKey &font, bool glyphSafe = true);
    void kept(const RtfWriter::Snapshot::Run &run);
    // Kept parts of other programs' documents (fields, note marks, their fonts and colours).
    void keptTables();
    void field(const QTextCharFormat &format);
    void keptMark(const RtfWriter::Snapshot::Run &run);
    void unicode(char16_t u, const QByteArray &fallback);
    void symbol(const QByteArray &text);
    void word(const char *name);
    void word(const char *name, int param);
    void literal(char c);

    const RtfWriter::Snapshot &m_doc;
    QByteArray m_out;
    bool m_needSpace = false;
    QHash<FontKey, int> m_fontIndex;
    QList<FontKey> m_fonts;
    QHash<quint32, int> m_colorIndex; // 0x00BBGGRR to \cf number
    QList<quint32> m_colors;
    RunState m_state;
    KeptMaps m_keptMaps;
    int m_field = 0; // the serial of the field whose result is being written
    RunState m_beforeField;
    RtfListWriter m_lists;
};

int twips(double units) {
    return qRound(units * 1440.0 / documentDpi());
}

QByteArray Writer::write() {
    const auto &runs = m_doc.runs;
    const qsizetype span =
        runs.isEmpty() ? 0 : runs.last().offset + runs.last().length - runs.first().offset;
    m_out.reserve(64 + span * 2);
    collect();
    header();
    if (m_doc.whole)
        symbol(Kept::documentParts(m_doc.root, m_keptMaps));
    qsizetype mark = 0;
    for (qsizetype p = 0; p <= m_doc.paragraphs.size(); ++p) {
        for (; mark < m_doc.marks.size() && m_doc.marks[mark].before == p; ++mark)
            tableMark(m_doc.marks[mark]);
        if (p < m_doc.paragraphs.size())
            block(m_doc.paragraphs[p]);
    }
    m_out.append("}\n");
    return m_out;
}

template <typename Visit> void Writer::forEachFragment(Visit visit) const {
    for (const RtfWriter::Snapshot::Paragraph &paragraph : m_doc.paragraphs) {
        for (int r = paragraph.firstRun; r < paragraph.firstRun + paragraph.runCount; ++r)
            visit(m_doc.runs.at(r).format);
        if (paragraph.empty) // an empty paragraph still has a font for its mark
            visit(paragraph.markFormat);
    }
}

FontKey Writer::fontKey(const QTextCharFormat &format) const {
    FontKey key;
    key.face = faceOf(format);
    if (key.face.isEmpty())
        key.face = m_doc.defaultFace;
    key.charset = format.hasProperty(TextProperty::Charset)
                      ? format.intProperty(TextProperty::Charset)
                      : charsetForFace(key.face);
    key.charset = qBound(0, key.charset, 255);
    key.pitch = format.intProperty(TextProperty::PitchAndFamily) & 0xFF;
    return key;
}

int Writer::colorIndex(const QTextCharFormat &format) const {
    if (!format.hasProperty(QTextFormat::ForegroundBrush) ||
        format.foreground().style() == Qt::NoBrush)
        return 0;
    const QColor c = format.foreground().color();
    return m_colorIndex.value(rgbColor(c.red(), c.green(), c.blue()), 0);
}

void Writer::collect() {
    auto addFormat = [this](const QTextCharFormat &format) {
        const FontKey key = fontKey(format);
        if (!m_fontIndex.contains(key)) {
            m_fontIndex.insert(key, int(m_fonts.size()));
            m_fonts.append(key);
        }
        if (format.hasProperty(QTextFormat::ForegroundBrush) &&
            format.foreground().style() != Qt::NoBrush) {
            const QColor c = format.foreground().color();
            const quint32 color = rgbColor(c.red(), c.green(), c.blue());
            if (!m_colorIndex.contains(color)) {
                m_colors.append(color);
                m_colorIndex.insert(color, int(m_colors.size())); // \cf0 is automatic
            }
        }
    };
    forEachFragment(addFormat);
    for (const RtfWriter::Snapshot::TableRow &row : m_doc.rows) {
        for (const RtfWriter::Snapshot::TableCell &cell : row.cells) {
            if (cell.shading.isValid()) {
                QTextCharFormat shading;
                shading.setForeground(cell.shading);
                addFormat(shading);
            }
        }
    }
    if (m_fonts.isEmpty()) // \deff0 needs a font
        addFormat(QTextCharFormat());
    keptTables();
}

// The fonts and colours that kept bytes name join the tables, and the maps renumber them.
void Writer::keptTables() {
    for (const KeptFont &font : Kept::fonts(m_doc.root)) {
        const FontKey key{font.face, qBound(0, font.charset, 255), font.pitch & 0xFF};
        if (!m_fontIndex.contains(key)) {
            m_fontIndex.insert(key, int(m_fonts.size()));
            m_fonts.append(key);
        }
        m_keptMaps.fonts.insert(font.number, m_fontIndex.value(key));
    }
    const QList<int> colors = Kept::colors(m_doc.root);
    for (int i = 0; i < colors.size(); ++i) {
        if (colors[i] < 0) {
            m_keptMaps.colors.insert(i, 0);
            continue;
        }
        const int rgb = colors[i];
        const quint32 color = rgbColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
        if (!m_colorIndex.contains(color)) {
            m_colors.append(color);
            m_colorIndex.insert(color, int(m_colors.size()));
        }
        m_keptMaps.colors.insert(i, m_colorIndex.value(color));
    }
}

// The pitch-and-family byte holds an anchor number in its upper six bits, which the standard
// family and \fprq words cannot carry. Where they would not give the byte back, the font entry
// also carries {\*\tessarypitchN}: other readers skip a starred destination they don't know.
void Writer::header() {
    m_out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl");
    static const char *const families[] = {"fnil",    "froman",  "fswiss",
                                           "fmodern", "fscript", "fdecor"};
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        const FontKey &font = m_fonts[i];
        const int family = font.pitch >> 4;
        const int pitch = font.pitch & 3;
        m_out.append('{');
        word("f", int(i));
        word(family <= 5 ? families[family] : "fnil");
        word("fcharset", font.charset);
        word("fprq", pitch);
        const int standard = (family <= 5 ? family << 4 : 0) | pitch;
        if (standard != font.pitch) {
            m_out.append("{\\*\\tessarypitch" + QByteArray::number(font.pitch) + '}');
            m_needSpace = false;
        }
        text(QString(font.face).remove(u';'), font, false); // ';' ends the name
        m_out.append(";}");
        m_needSpace = false;
    }
    m_out.append("}\n{\\colortbl;");
    for (quint32 color : m_colors) {
        word("red", int(color & 0xFF));
        word("green", int((color >> 8) & 0xFF));
        word("blue", int((color >> 16) & 0xFF));
        m_out.append(';');
        m_needSpace = false;
    }
    m_out.append("}\n");
    m_out.append(m_lists.tables());
    m_needSpace = false;
}

void Writer::block(const RtfWriter::Snapshot::Paragraph &paragraph) {
    paragraphProperties(paragraph.format, paragraph.bullet);
    if (paragraph.depth > 0)
        word("intbl");
    if (paragraph.depth > 1)
        word("itap", paragraph.depth);
    if (const QByteArray item = m_lists.item(&paragraph - m_doc.paragraphs.constData());
        !item.isEmpty()) {
        m_out.append(item);
        m_needSpace = false;
    }
    for (int r = paragraph.firstRun; r < paragraph.firstRun + paragraph.runCount; ++r) {
        const RtfWriter::Snapshot::Run &run = m_doc.runs.at(r);
        field(run.format);
        runFormat(run.format);
        if (run.format.hasProperty(TextProperty::KeptRtf))
            kept(run);
        else if (run.format.hasProperty(TextProperty::KeptMark))
            keptMark(run);
        else
            text(QStringView(m_doc.text).mid(run.offset, run.length), m_fonts[m_state.font]);
    }
    field(QTextCharFormat());
    if (paragraph.mark) {
        if (paragraph.empty)
            runFormat(paragraph.markFormat);
        if (paragraph.cellEnd)
            return; // the cell's end mark follows
        word("par");
        m_out.append('\n');
        m_needSpace = false;
    }
}

// Rows open with their definition; a nested row's comes after its cells, as RTF has it.
void Writer::tableMark(const RtfWriter::Snapshot::TableMark &mark) {
    const auto colors = [this](const QColor &c) {
        return m_colorIndex.value(rgbColor(c.red(), c.green(), c.blue()), 0);
    };
    const QByteArray definition = rtf::rowDefinition(m_doc.rows.at(mark.row), colors);
    switch (mark.kind) {
    case RtfWriter::Snapshot::TableMark::RowStart:
        symbol(definition);
        break;
    case RtfWriter::Snapshot::TableMark::CellEnd:
        if (mark.bare) {
            word("pard");
            word("intbl");
            if (mark.depth > 1)
                word("itap", mark.depth);
        }
        word(mark.depth > 1 ? "nestcell" : "cell");
        break;
    case RtfWriter::Snapshot::TableMark::RowEnd:
        if (mark.depth > 1) {
            symbol("{\\*\\nesttableprops" + definition + "\\nestrow}{\\nonesttables\\par}");
        } else {
            symbol(definition);
            word("row");
        }
        break;
    }
    m_out.append('\n');
    m_needSpace = false;
}

void Writer::paragraphProperties(const QTextBlockFormat &format, bool bullet) {
    word("pard");
    if (const int style = format.intProperty(TextProperty::StyleRef); style > 0)
        word("s", style);
    const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
    word(align & Qt::AlignHCenter   ? "qc"
         : align & Qt::AlignRight   ? "qr"
         : align & Qt::AlignJustify ? "qj"
                                    : "ql");
    if (const int fi = twips(format.textIndent()))
        word("fi", fi);
    if (const int li = twips(format.leftMargin()))
        word("li", li);
    if (const int ri = twips(format.rightMargin()))
        word("ri", ri);
    for (const QTextOption::Tab &tab : format.tabPositions()) {
        if (tab.type == QTextOption::RightTab)
            word("tqr");
        else if (tab.type == QTextOption::CenterTab)
            word("tqc");
        else if (tab.type == QTextOption::DelimiterTab)
            word("tqdec");
        word("tx", twips(tab.position));
    }
    if (bullet) {
        m_out.append(
            "{\\pntext\\bullet\\tab}{\\*\\pn\\pnlvlblt\\pnf0\\pnindent0{\\pntxtb\\bullet}}");
        m_needSpace = false;
    }
}

void Writer::runFormat(const QTextCharFormat &format) {
    RunState next;
    next.font = m_fontIndex.value(fontKey(format));
    const double points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                                         : m_doc.defaultPoints;
    next.halfPoints = qBound(1, qRound((points > 0 ? points : 12) * 2), 3276);
    next.color = colorIndex(format);
    next.bold = format.fontWeight() >= QFont::Bold;
    next.italic = format.fontItalic();
    next.underline = format.fontUnderline();
    const bool first = m_state.font < 0;
    if (first || next.font != m_state.font)
        word("f", next.font);
    if (first || next.halfPoints != m_state.halfPoints)
        word("fs", next.halfPoints);
    if (first || next.color != m_state.color)
        word("cf", next.color);
    if (first || next.bold != m_state.bold)
        next.bold ? word("b") : word("b", 0);
    if (first || next.italic != m_state.italic)
        next.italic ? word("i") : word("i", 0);
    if (first || next.underline != m_state.underline)
        next.underline ? word("ul") : word("ulnone");
    m_state = next;
}

// 8-bit text through the font's code page, \uN? for what it cannot hold. Other readers take
// symbol-set bytes, ASCII included, as glyph positions, so there every character also comes
// as \uN, with its byte as the fallback. Text in a face named "Symbol" goes back to that
// face's bytes, as it was read.
void Writer::text(QStringView text, const FontKey &font, bool glyphSafe) {
    const bool symbolSet = glyphSafe && font.charset == Charset::Symbol;
    const CodePage &page = symbolSet && font.face == u"Symbol" ? CodePage::symbolFace()
                                                               : CodePage::forCharset(font.charset);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u == u'\t') {
            word("tab");
        } else if (u == QChar::LineSeparator) {
            word("line");
        } else if (u == QChar::Nbsp) {
            symbol("\\~");
        } else if (!isRtfTextCharacter(u)) {
            continue;
        } else if (u < 0x7F) {
            if (symbolSet)
                word("u", u);
            literal(char(u));
        } else if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
                   text[i + 1].isLowSurrogate()) {
            unicode(u, "?");
            unicode(text[++i].unicode(), "?");
        } else if (QChar::isSurrogate(u)) {
            unicode(QChar::ReplacementCharacter, "?"); // half a pair is not a character
        } else {
            const int code = page.fromUnicode(QChar(u));
            const QByteArray hex = "\\'" + QByteArray::number(code, 16).rightJustified(2, '0');
            if (symbolSet && code >= 0)
                unicode(u, hex);
            else if (code < 0x80)
                unicode(u, "?");
            else
                symbol(hex);
        }
    }
}

// A group kept as it came, once for each of its characters (equal groups side by side share
// one run). Text typed next to it takes its format, and is written as text.
void Writer::kept(const RtfWriter::Snapshot::Run &run) {
    const QByteArray raw =
        Kept::remap(run.format.property(TextProperty::KeptRtf).toByteArray(), m_keptMaps);
    qsizetype from = run.offset;
    const qsizetype end = run.offset + run.length;
    for (qsizetype i = run.offset; i <= end; ++i) {
        if (i < end && m_doc.text.at(i) != QChar::ObjectReplacementCharacter)
            continue;
        if (i > from)
            text(QStringView(m_doc.text).mid(from, i - from), m_fonts[m_state.font]);
        if (i < end)
            symbol(raw);
        from = i + 1;
    }
}

// A note's reference mark goes back as the words that number it, while it still reads as
// the number it was given; anything typed after it is text.
void Writer::keptMark(const RtfWriter::Snapshot::Run &run) {
    QStringView shown = QStringView(m_doc.text).mid(run.offset, run.length);
    const QString mark = run.format.property(TextProperty::KeptMarkText).toString();
    if (!mark.isEmpty() && shown.startsWith(mark)) {
        symbol(run.format.property(TextProperty::KeptMark).toByteArray());
        shown = shown.mid(mark.size());
    }
    text(shown, m_fonts[m_state.font]);
}

// A field's result runs go back inside the field they were read from; the group ends at the
// field's last run or the paragraph's end.
void Writer::field(const QTextCharFormat &format) {
    const int serial = format.hasProperty(TextProperty::FieldInstruction)
                           ? qMax(1, format.intProperty(TextProperty::FieldSerial))
                           : 0;
    if (serial == m_field)
        return;
    if (m_field) {
        symbol("}}");
        m_state = m_beforeField; // the group's formatting ended with it
    }
    m_field = serial;
    if (serial) {
        m_beforeField = m_state;
        symbol(
            "{\\field" +
            Kept::remap(format.property(TextProperty::FieldInstruction).toByteArray(), m_keptMaps) +
            "{\\fldrslt ");
    }
}

void Writer::unicode(char16_t u, const QByteArray &fallback) {
    word("u", u > 0x7FFF ? int(u) - 0x10000 : int(u));
    symbol(fallback);
}

void Writer::symbol(const QByteArray &text) {
    m_out.append(text);
    m_needSpace = false;
}

void Writer::word(const char *name) {
    m_out.append('\\');
    m_out.append(name);
    m_needSpace = true;
}

void Writer::word(const char *name, int param) {
    word(name);
    m_out.append(QByteArray::number(param));
}

// A printable ASCII character, escaped where RTF needs it.
void Writer::literal(char c) {
    if (m_needSpace)
        m_out.append(' ');
    m_needSpace = false;
    if (c == '\\' || c == '{' || c == '}')
        m_out.append('\\');
    m_out.append(c);
}

} // namespace

namespace rtf {

void appendParagraph(RtfWriter::Snapshot &shot, const QTextBlock &b, int start, int end) {
    RtfWriter::Snapshot::Paragraph paragraph;
    paragraph.format = b.blockFormat();
    if (const QTextList *list = b.textList()) {
        paragraph.bullet = isPlainBulletList(list->format());
        paragraph.list = quintptr(list);
        paragraph.listFormat = list->format();
        paragraph.listMarker = listMarkerText(list, b);
        paragraph.listRoom = list->format().indent() * b.document()->indentWidth();
    }
    paragraph.empty = b.length() == 1;
    if (paragraph.empty)
        paragraph.markFormat = b.charFormat();
    const int separator = b.position() + b.length() - 1;
    paragraph.mark = separator >= start && separator < end;
    paragraph.firstRun = int(shot.runs.size());
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int from = qMax(fragment.position(), start);
        const int to = qMin(fragment.position() + fragment.length(), end);
        if (from >= to)
            continue;
        shot.runs.append({fragment.charFormat(), from, to - from});
    }
    paragraph.runCount = int(shot.runs.size()) - paragraph.firstRun;
    shot.paragraphs.append(std::move(paragraph));
}

} // namespace rtf

// Only the fragments' formats (shared, never changed in place) and the text are copied, so
// this is a small part of writing and the copy can be written on any thread.
RtfWriter::Snapshot RtfWriter::snapshot(const QTextDocument *doc, int start, int end) {
    Snapshot shot;
    if (!doc)
        return shot;
    const int count = doc->characterCount();
    if (end < 0 || end > count)
        end = count;
    start = qBound(0, start, end);
    shot.defaultFace = doc->defaultFont().family();
    shot.defaultPoints = doc->defaultFont().pointSizeF();
    shot.text = doc->toRawText(); // fragment positions index it
    shot.root = doc->rootFrame()->frameFormat();
    shot.whole = start == 0 && end == count;
    rtf::snapshotParagraphs(doc, start, end, shot);
    return shot;
}

QByteArray RtfWriter::write(const Snapshot &snapshot) {
    return Writer(snapshot).write();
}

QByteArray RtfWriter::write(const QTextDocument *doc, int start, int end) {
    if (!doc)
        return {};
    return write(snapshot(doc, start, end));
}

} // namespace tessary
