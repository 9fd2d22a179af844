#include "html/htmlwriter.h"

#include "rtf/rtflistwriter.h"

#include "html/convertchar.h"
#include "html/fontsubset.h"
#include "html/htmlnotes.h"
#include "html/htmlpictures.h"
#include "html/tanchorform.h"
#include "platform/fontregistry.h"
#include "platform/safeoutput.h"
#include "richtext/richedit.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cstdlib>

namespace tessary {

namespace {
// The fonts that get a class of their own, f0 to f19.
constexpr const char *kHtmlFontList[] = {"Courier New Even",
                                         "Courier New High",
                                         "Courier New Low",
                                         "Courier New Greek Even",
                                         "Courier New Greek High",
                                         "Courier New Greek Low",
                                         "TessarySymbol Even",
                                         "TessarySymbol High",
                                         "TessarySymbol Low",
                                         "Arial",
                                         "Comic Sans MS",
                                         "Courier New",
                                         "Georgia",
                                         "Impact",
                                         "Lucida Console",
                                         "Palatino Linotype",
                                         "Tahoma",
                                         "Trebuchet MS",
                                         "Times New Roman",
                                         "Verdana"};
constexpr int kSizeClasses[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
constexpr int kBulletFont = 11;       // Courier New
constexpr int kNotationFaceCount = 9; // f0 to f8

// The face files are read once per run; a page subsets them anew.
const QByteArray &faceFileBytes(const QString &face) {
    static QHash<QString, QByteArray> cache;
    const QString path = FontRegistry::notationFaceFile(face);
    auto it = cache.find(path);
    if (it == cache.end()) {
        QFile file(path);
        it = cache.insert(path, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return it.value();
}

int numberOf(const CharAttributes &a) {
    return (a.pitchAndFamily & 0xFF) >> 2;
}

enum class Mark { None, Underline, Source, Destination };

// A source colour is tested first: a colour may pass both tests.
Mark markOf(const CharAttributes &a) {
    if (!a.underline)
        return Mark::None;
    if (Anchors::IsSrcAnchorColor(a.color))
        return Mark::Source;
    if (Anchors::IsDestAnchorColor(a.color))
        return Mark::Destination;
    return Mark::Underline;
}

QByteArray hex2(int n) {
    return QByteArray::number(n, 16).rightJustified(2, '0');
}

bool isSchemeChar(QChar c, bool first) {
    const char16_t u = c.unicode();
    const bool letter = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
    return letter || (!first && ((u >= '0' && u <= '9') || u == '+' || u == '-' || u == '.'));
}

// A page links only to web, mail and file addresses or to a relative path: any other scheme
// (javascript:, data:, vbscript: ...) would run or load something when the link is followed.
bool linkable(const QString &target) {
    // Browsers drop leading spaces and control characters, and tabs and line ends anywhere.
    QString t = target;
    t.remove(QLatin1Char('\t')).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    qsizetype i = 0;
    while (i < t.size() && t.at(i).unicode() <= 0x20)
        ++i;
    qsizetype j = i;
    while (j < t.size() && isSchemeChar(t.at(j), j == i))
        ++j;
    if (j == i || j >= t.size() || t.at(j) != QLatin1Char(':'))
        return true; // no scheme: a relative path
    const QString scheme = t.mid(i, j - i).toLower();
    // gopher stays: its addresses are address anchors like the others.
    static const QStringList allowed = {QStringLiteral("http"), QStringLiteral("https"),
                                        QStringLiteral("ftp"),  QStringLiteral("mailto"),
                                        QStringLiteral("file"), QStringLiteral("gopher")};
    // One letter is a drive ("C:/docs/a.html"), not a scheme.
    return scheme.size() == 1 || allowed.contains(scheme);
}
} // namespace

HtmlLinks HtmlLinks::fromAnchors(Anchors &anchors) {
    HtmlLinks links;
    links.DestAnchors = anchors.DestAnchors;
    links.SrcAnchors = anchors.SrcAnchors;
    links.UrlAnchors = anchors.UrlAnchors;
    const QTextDocument *list = anchors.form().AnchorEditor->document();
    const QString file = QStringLiteral("file://");
    std::array<bool, Anchors::kAnchorCount> found{};
    QTextBlock block = list->begin();
    for (int line = 0; line < anchors.listedCount() && block.isValid();
         ++line, block = block.next()) {
        if (block.length() <= 1)
            continue;
        const int n = numberOf(CharAttributes::fromFormat(block.begin().fragment().charFormat()));
        if (found[n])
            continue;
        found[n] = true;
        const QString text = block.text();
        const int at = text.indexOf(file);
        links.targets[n] = at >= 0 ? text.mid(at + file.size()) : text;
    }
    return links;
}

struct HtmlWriter::State {
    QByteArray out;
    float pointsPerPixel = 0.75f;
    QString font = QStringLiteral("-1"); // "-1": no font span open
    int size = -1;                       // -1: no size span open
    int previousX = -1;
    bool div = false, bold = false, italic = false, underline = false;
    bool source = false, destination = false;
    int openNumber = -1; // the number of the open A element
    char32_t previous = 0;
    int lastReported = -1;
    int lastAsText = -1;        // number * 2 + kind of the last link reported as written as text
    int lineLength = 0;         // characters of the current line, a forced break not counted
    int notationFace = -1;      // the open font span's class when it is a notation face
    qsizetype fontFacesAt = -1; // where the style block takes the @font-face rules
    std::array<QSet<char32_t>, kNotationFaceCount> used; // characters shown in each face

    void line(const char *text) {
        out += "\r\n";
        out += text;
    }
    void line(const QByteArray &text) {
        out += "\r\n";
        out += text;
    }
    void closeDiv() {
        out += "</DIV>";
        // Neither the character's values nor "none open": the next character closes and
        // reopens both spans inside the new DIV.
        font.clear();
        size = 0;
        div = false;
    }
    int points(int pixels) const { return int(float(pixels) * pointsPerPixel); }
};

HtmlWriter::HtmlWriter(const RichEdit &editor, const HtmlLinks &links, Page page)
    : m_editor(editor)
    , m_links(links)
    , m_page(std::move(page)) {}

QByteArray HtmlWriter::page() {
    State s;
    s.pointsPerPixel = 72.0f / float(m_page.pixelsPerInch > 0 ? m_page.pixelsPerInch : 96);
    s.out.reserve(4096 + m_editor.textLength() * 4);
    head(s);
    writeLines(s);
    tail(s);
    fontFaces(s);
    return s.out;
}

bool HtmlWriter::writeFile(const QString &path, QString *error) {
    QString reason;
    if (SafeOutput::write(path, page(), &reason))
        return true;
    if (error)
        *error = QStringLiteral("Cannot create file ") + path + QLatin1Char('\n') + reason;
    return false;
}

void HtmlWriter::head(State &s) const {
    s.line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">");
    s.line("");
    s.line("<HTML>");
    s.line("");
    s.line("<HEAD>");
    s.line("");
    s.line("<script language=\"JavaScript\">");
    s.line("<!-- ;");
    s.line("function _ctab ()");
    s.line("{");
    s.line("     if (screen.width > 800 && document.bgColor == \"#fffffe\")");
    s.line("             document.write(\"<table width=130%><tr><td width=100></td><td>\");");
    s.line("     else document.write(\"<table width=130%><tr><td>\");");
    s.line("}");
    s.line("// end hide -->");
    s.line("</script>");
    if (!m_page.title.isEmpty()) {
        s.line("");
        s.line("<TITLE>" + htmlText(m_page.title) + "</TITLE>");
    }
    if (!m_page.keywords.isEmpty()) {
        s.line("");
        s.line("<META name=\"keywords\" content=\"" + htmlAttribute(m_page.keywords) + "\">");
    }
    s.line("");
    s.line("<STYLE type=\"text/css\">");
    styleBlock(s);
    s.line("</STYLE>");
    s.line("");
    s.line("</HEAD>");
    s.line("");
    // A page made on a narrow screen asks its script for a left gutter on wide ones.
    s.line(m_page.screenWidth < 801 ? "<BODY bgcolor=#fffffe text=#000000 style=\"width: 130%\">"
                                    : "<BODY bgcolor=#ffffff text=#000000 style=\"width: 130%\">");
    s.line("");
    s.line("<script language=\"JavaScript\">");
    s.line("<!-- ;");
    s.line("     _ctab ()");
    s.line("// end hide -->");
    s.line("</script>");
    s.line("");
}

void HtmlWriter::styleBlock(State &s) const {
    s.line("A:link    {background: white; color: blue}");
    s.line("A:visited {background: white; color: blue}");
    s.fontFacesAt = s.out.size();
    for (int j = 0; j < int(std::size(kHtmlFontList)); ++j)
        s.line(".f" + QByteArray::number(j) + " {font-family:\"" + kHtmlFontList[j] + "\";}");
    s.line("");
    for (const int size : kSizeClasses) {
        const QByteArray n = QByteArray::number(size);
        s.line(".s" + n + " {font-size:" + n + "pt;}");
    }
}

// The installed face comes first; the page's own subset serves a reader who has none.
void HtmlWriter::fontFaces(State &s) const {
    QByteArray rules;
    for (int j = 0; j < kNotationFaceCount; ++j) {
        if (s.used[j].isEmpty())
            continue;
        const QString face = QString::fromLatin1(kHtmlFontList[j]);
        QList<char32_t> codePoints(s.used[j].begin(), s.used[j].end());
        std::sort(codePoints.begin(), codePoints.end());
        const QByteArray subset = subsetFont(faceFileBytes(face), codePoints);
        if (subset.isEmpty())
            continue;
        rules += "\r\n@font-face {font-family:\"";
        rules += kHtmlFontList[j];
        rules += "\"; src:local(\"";
        rules += kHtmlFontList[j];
        rules += "\"), url(data:font/ttf;base64,";
        rules += subset.toBase64();
        rules += ") format(\"truetype\");}";
    }
    s.out.insert(s.fontFacesAt, rules);
}

void HtmlWriter::writeLines(State &s) const {
    const int lines = m_editor.lineCount();
    for (int i = 0; i < lines; ++i) {
        if (onLine)
            onLine(i, lines);
        closeInline(s);

        const int start = m_editor.lineStart(i);
        int length = m_editor.lineLength(i);
        startLine(s, i, start);
        // A forced line break ends its line; the next line's opening stands for it.
        if (length > 0 && m_editor.charAt(start + length - 1) == QChar::LineSeparator)
            --length;
        s.lineLength = length;
        for (const auto &run : m_editor.attributeRuns(start, length)) {
            if (!runStep(s, run.attributes, run.start, i, run.start - start + 1))
                break;
            for (int p = run.start; p < run.start + run.length; ++p) {
                char32_t c = m_editor.charAt(p).unicode();
                // A picture is an IMG; any other kept part (hidden text, a note) is not shown.
                if (c == QChar::ObjectReplacementCharacter) {
                    s.out += htmlPicture(m_editor.document(), p);
                    continue;
                }
                const int k = p - start + 1;
                if (QChar::isHighSurrogate(c) && p + 1 < run.start + run.length) {
                    c = QChar::surrogateToUcs4(char16_t(c), m_editor.charAt(p + 1).unicode());
                    ++p;
                }
                s.out += ConvertChar(c, k, s.previous, c == '\t' ? m_editor.charWidth(p) : 0);
                if (s.notationFace >= 0 && c != '\t') {
                    s.used[s.notationFace].insert(c);
                    if (c == ' ') // a space may go out as &nbsp;
                        s.used[s.notationFace].insert(0xA0);
                }
            }
        }
    }
}

// A numbered list item's number as the reader sees it, a space after it.
static QByteArray listMarkerHtml(const QString &marker) {
    QByteArray out = "<SPAN class=listmark>";
    for (QChar c : marker) {
        if (c.unicode() < 0x80 && c.isLetterOrNumber())
            out += char(c.unicode());
        else
            out += "&#" + QByteArray::number(c.unicode()) + ';';
    }
    return out + "</SPAN>&nbsp;&nbsp;";
}

void HtmlWriter::startLine(State &s, int line, int start) const {
    const bool firstOfParagraph =
        start == 0 || m_editor.charAt(start - 1) == QChar::ParagraphSeparator;
    const ParaAttributes para = m_editor.paraAttributesAt(start);
    const bool left = para.alignment == Alignment::Left;
    int x = s.points(m_editor.lineLeft(line));
    if (firstOfParagraph && left) {
        x = para.firstIndent;
    } else if (!firstOfParagraph && left) {
        // A wrapped line starts at the paragraph's indent, give or take the rounding.
        if (std::abs(para.firstIndent - x) < 2)
            x = para.firstIndent;
        else if (std::abs(para.firstIndent + para.leftIndent - x) < 2)
            x = para.firstIndent + para.leftIndent;
    }
    if (m_editor.lineLength(line) > 0) {
        if (x != s.previousX) {
            if (s.div)
                s.closeDiv();
            s.line("<DIV style=\"margin-left: " + QByteArray::number(x) + "pt\">");
            s.div = true;
        } else {
            s.line("<BR>");
        }
        s.previousX = x;
    } else {
        if (s.div)
            s.closeDiv();
        s.line("<BR>");
        s.previousX = 0;
    }
    if (firstOfParagraph && para.bullet) {
        s.out += "<SPAN class=f" + QByteArray::number(kBulletFont) +
                 "><SPAN class=s14>&#8226;</SPAN></SPAN>";
        if (para.leftIndent > 0)
            s.out += "<SPAN style=\"margin-left: " +
                     QByteArray::number(para.firstIndent + para.leftIndent - x - 8) +
                     "pt\"></SPAN>";
    } else if (firstOfParagraph) {
        const QTextBlock block = m_editor.document()->findBlock(start);
        if (const QTextList *list = block.textList())
            s.out += listMarkerHtml(listMarkerText(list, block));
    }
}

bool HtmlWriter::runStep(State &s, const CharAttributes &a, int position, int line, int k) const {
    fontSpans(s, a);
    if (a.bold != s.bold)
        s.out += a.bold ? "<B>" : "</B>";
    s.bold = a.bold;
    if (a.italic != s.italic)
        s.out += a.italic ? "<I>" : "</I>";
    s.italic = a.italic;
    return anchorStep(s, a, position, line, k);
}

void HtmlWriter::fontSpans(State &s, const CharAttributes &a) const {
    if (a.face == s.font && a.size == s.size)
        return;
    if (s.font != QLatin1String("-1"))
        s.out += "</SPAN>";
    if (s.size != -1)
        s.out += "</SPAN>";
    s.font = a.face;
    s.size = a.size;
    const auto known =
        std::find_if(std::begin(kHtmlFontList), std::end(kHtmlFontList),
                     [&a](const char *name) { return a.face == QLatin1String(name); });
    const int index = int(known - std::begin(kHtmlFontList));
    s.notationFace = index < kNotationFaceCount ? index : -1;
    if (known != std::end(kHtmlFontList))
        s.out += "<SPAN class=f" + QByteArray::number(index) + ">";
    else
        s.out += "<SPAN style=\"font-family:'" + htmlFontName(a.face) + "'\">";
    s.out += "<SPAN class=s" + QByteArray::number(a.size) + ">";
}

// Whatever the character does not continue is closed first; then it opens what it starts,
// so a link right after plain underlined text, or right after another anchor, begins at its
// own first character.
bool HtmlWriter::anchorStep(State &s, const CharAttributes &a, int position, int line,
                            int k) const {
    const Mark mark = markOf(a);
    const int n = numberOf(a);
    if (s.underline && mark != Mark::Underline) {
        s.out += "</U>";
        s.underline = false;
    }
    if (s.source && !(mark == Mark::Source && n == s.openNumber)) {
        s.out += "</A>";
        s.source = false;
    }
    if (s.destination && !(mark == Mark::Destination && n == s.openNumber)) {
        s.out += "</A>";
        s.destination = false;
    }
    switch (mark) {
    case Mark::None:
        break;
    case Mark::Underline:
        if (!s.underline)
            s.out += "<U>";
        s.underline = true;
        break;
    case Mark::Source:
        if (s.source)
            break;
        if (!m_links.DestAnchors[n])
            report(s, 0, n, position, line);
        if (m_links.UrlAnchors[n] && !linkable(m_links.targets[n])) {
            report(s, 0, n, position, line, true);
            break;
        }
        s.out += "<A href=\"";
        s.out += m_links.UrlAnchors[n] ? htmlAttribute(m_links.targets[n]) : "#anchor" + hex2(n);
        s.out += "\">";
        s.source = true;
        s.openNumber = n;
        break;
    case Mark::Destination:
        if (s.destination)
            break;
        if (!m_links.SrcAnchors[n])
            report(s, 1, n, position, line);
        if (!m_links.UrlAnchors[n]) {
            s.out += "<A name=anchor" + hex2(n) + ">";
        } else {
            // An address alone on its line is left out: the line is its own link text.
            if (k == 1 && fillsLine(position, s.lineLength))
                return false;
            if (!linkable(m_links.targets[n])) {
                report(s, 1, n, position, line, true);
                break;
            }
            s.out += "<A href=\"" + htmlAttribute(m_links.targets[n]) + "\">";
        }
        s.destination = true;
        s.openNumber = n;
        break;
    }
    return true;
}

bool HtmlWriter::fillsLine(int start, int length) const {
    const auto runs = m_editor.attributeRuns(start, length);
    for (const auto &run : runs) {
        if (run.attributes.color != runs.first().attributes.color ||
            run.attributes.underline != runs.first().attributes.underline)
            return false;
    }
    return true;
}

void HtmlWriter::report(State &s, int kind, int number, int position, int line, bool asText) const {
    // Both ends of a link written as text are listed, each once.
    int &last = asText ? s.lastAsText : s.lastReported;
    const int key = asText ? number * 2 + kind : number;
    if (key == last || !onIncompleteLink)
        return;
    last = key;
    // The anchor runs on over the following characters of its kind and number up to its
    // paragraph's end.
    const QTextBlock block = m_editor.document()->findBlock(position);
    const int end = block.position() + block.length() - 1;
    int length = 0;
    for (const auto &run : m_editor.attributeRuns(position, end - position)) {
        const Mark mark = markOf(run.attributes);
        const bool same = (kind == 0 ? mark == Mark::Source
                                     : run.attributes.underline &&
                                           Anchors::IsDestAnchorColor(run.attributes.color)) &&
                          numberOf(run.attributes) == number;
        if (!same || run.start != position + length)
            break;
        length += run.length;
    }
    onIncompleteLink({kind, number, position, length, line + 1, asText});
}

// Bold, italic, underline and an open anchor end with their line and with the page.
void HtmlWriter::closeInline(State &s) const {
    if (s.bold)
        s.out += "</B>";
    if (s.italic)
        s.out += "</I>";
    if (s.underline)
        s.out += "</U>";
    if (s.source || s.destination)
        s.out += "</A>";
    s.bold = s.italic = s.underline = s.source = s.destination = false;
}

void HtmlWriter::tail(State &s) const {
    closeInline(s);
    s.out += "</SPAN></SPAN>";
    if (s.div)
        s.out += "</DIV>";
    s.line("");
    s.line("</TD></TR></TABLE>");
    s.out += notesHtml(*m_editor.document());
    s.line("");
    s.line("</BODY>");
    s.line("");
    s.line("</HTML>");
}

} // namespace tessary
