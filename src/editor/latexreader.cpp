#include "editor/latexreader.h"

#include "editor/latexwriter.h"
#include "editor/palettetables.h"
#include "rtf/codepage.h"
#include "rtf/textformat.h"

#include <QRegularExpression>
#include <QTextCursor>
#include <algorithm>

namespace tessary {

namespace {
using Piece = LatexReader::Piece;
using Pieces = QList<Piece>;

constexpr QChar kParagraph = QChar::ParagraphSeparator;
constexpr QChar kLineBreak = QChar::LineSeparator;

// The table's commands and their other spellings, longest first, so that \not\subset wins
// over \not and \int over \in.
const QList<LatexCommand> &commandsByLength() {
    static const QList<LatexCommand> sorted = [] {
        QList<LatexCommand> all = latexCommands() + latexAliases();
        std::stable_sort(all.begin(), all.end(), [](const LatexCommand &a, const LatexCommand &b) {
            return qstrlen(a.command) > qstrlen(b.command);
        });
        return all;
    }();
    return sorted;
}

FaceFamily familyOf(QChar c) {
    if (const LatexCommand *command = latexCommandFor(c))
        return command->family;
    return c.unicode() >= 0x0370 && c.unicode() <= 0x03FF ? FaceFamily::Greek : FaceFamily::Latin;
}

void append(Pieces &out, const Piece &piece) {
    if (piece.text.isEmpty())
        return;
    if (!out.isEmpty()) {
        Piece &last = out.last();
        if (last.prose == piece.prose && last.family == piece.family && last.level == piece.level &&
            last.bold == piece.bold && last.italic == piece.italic) {
            last.text += piece.text;
            return;
        }
    }
    out.append(piece);
}

void append(Pieces &out, const Pieces &more) {
    for (const Piece &piece : more)
        append(out, piece);
}

Piece mathPiece(const QString &text, FaceFamily family, int level) {
    Piece piece;
    piece.text = text;
    piece.family = family;
    piece.level = level;
    return piece;
}

// A numerator or denominator needs parentheses unless it is one term: letters and digits on
// the base line, however raised or lowered around them; a denominator also when it is a
// product of several.
bool needsParentheses(const Pieces &part, bool denominator) {
    int baseCount = 0;
    bool allDigits = true;
    for (const Piece &piece : part) {
        for (QChar c : piece.text) {
            if (piece.level != 0)
                continue;
            if (!c.isLetterOrNumber())
                return true;
            ++baseCount;
            allDigits = allDigits && c.isDigit();
        }
    }
    return denominator && baseCount > 1 && !allDigits;
}

const QStringList &droppedCommands() {
    static const QStringList names = {
        "\\,",         "\\;",      "\\:",        "\\!",    "\\quad",  "\\qquad", "\\displaystyle",
        "\\textstyle", "\\limits", "\\nolimits", "\\big",  "\\Big",   "\\bigg",  "\\Bigg",
        "\\bigl",      "\\bigr",   "\\Bigl",     "\\Bigr", "\\biggl", "\\biggr", "\\Biggl",
        "\\Biggr",     "\\middle"};
    return names;
}

char16_t textSymbol(const QString &word) {
    static const QHash<QString, char16_t> symbols = {
        {"\\textregistered", u'®'}, {"\\textcopyright", u'©'},   {"\\texttrademark", u'™'},
        {"\\texteuro", u'€'},       {"\\textdegree", u'°'},      {"\\textbackslash", u'\\'},
        {"\\textasciitilde", u'~'}, {"\\textasciicircum", u'^'}, {"\\textbullet", u'•'},
        {"\\ldots", u'…'},          {"\\textendash", u'–'},      {"\\textemdash", u'—'},
    };
    return symbols.value(word, 0);
}

class Parser {
public:
    explicit Parser(const QString &text)
        : s(text) {}

    LatexReader::Reading read() {
        LatexReader::Reading reading;
        static const QRegularExpression delimited(QStringLiteral(R"((^|[^\\])\$|\\\(|\\\[)"));
        reading.pieces = s.contains(delimited) ? prose(u"", false, false) : math(u"", 0);
        reading.unconverted = unconverted;
        return reading;
    }

private:
    bool at(QStringView word) const { return QStringView(s).sliced(p).startsWith(word); }
    bool atEnd() const { return p >= s.size(); }
    bool letterAt(qsizetype i) const {
        return i < s.size() && s.at(i).isLetter() && s.at(i).unicode() < 128;
    }

    // At a backslash: the command with its backslash. A space between a command word and a
    // letter only ends the word.
    QString controlWord() {
        const qsizetype start = p++;
        skippedSpace = false;
        if (atEnd())
            return QStringLiteral("\\");
        if (!letterAt(p)) {
            ++p;
            return s.mid(start, p - start);
        }
        while (letterAt(p))
            ++p;
        const QString word = s.mid(start, p - start);
        skippedSpace = p + 1 < s.size() && s.at(p) == u' ' && letterAt(p + 1);
        if (skippedSpace)
            ++p;
        return word;
    }

    void skipSpaces() {
        while (!atEnd() && s.at(p).isSpace())
            ++p;
    }
    void skipEmptyGroup() {
        if (at(u"{}"))
            p += 2;
    }
    // A braced group as it stands, braces included, for a command kept as text.
    QString rawGroup() {
        const qsizetype start = p;
        int depth = 0;
        for (; !atEnd(); ++p) {
            if (s.at(p) == u'\\') {
                ++p;
                continue;
            }
            depth += s.at(p) == u'{' ? 1 : s.at(p) == u'}' ? -1 : 0;
            if (depth == 0) {
                ++p;
                break;
            }
        }
        return s.mid(start, p - start);
    }
    void skipComment() {
        while (!atEnd() && s.at(p) != u'\n')
            ++p;
    }

    Pieces prose(QStringView closer, bool bold, bool italic);
    void proseCommand(Pieces &out, bool bold, bool italic);
    Pieces math(QStringView closer, int level);
    Pieces mathToken(int level);
    Pieces argument(int level);
    Pieces script(QChar mark, int level);
    Pieces command(int level);
    Pieces upright(int level);

    // A command kept as text keeps its own text, including what controlWord() skipped.
    QString keptAsText(const QString &word) {
        ++unconverted;
        if (at(u"{"))
            return word + rawGroup();
        return skippedSpace ? word + u' ' : word;
    }

    const QString &s;
    qsizetype p = 0;
    int unconverted = 0;
    bool skippedSpace = false;
};

Pieces Parser::prose(QStringView closer, bool bold, bool italic) {
    Pieces out;
    Piece text;
    text.prose = true;
    text.bold = bold;
    text.italic = italic;
    auto add = [&](const QString &t) {
        text.text = t;
        append(out, text);
    };
    int depth = 0;
    while (!atEnd()) {
        const QChar c = s.at(p);
        if (!closer.isEmpty() && depth == 0 && at(closer)) {
            p += closer.size();
            break;
        }
        if (c == u'$') {
            const bool display = at(u"$$");
            p += display ? 2 : 1;
            append(out, math(display ? u"$$" : u"$", 0));
        } else if (at(u"\\(") || at(u"\\[")) {
            const bool display = at(u"\\[");
            p += 2;
            append(out, math(display ? u"\\]" : u"\\)", 0));
        } else if (c == u'\\') {
            proseCommand(out, bold, italic);
        } else if (c == u'{' || c == u'}') {
            depth += c == u'{' ? 1 : -1;
            ++p;
        } else if (c == u'%') {
            skipComment();
        } else if (c == u'~') {
            add(QString(QChar::Nbsp));
            ++p;
        } else if (c == u'\n') {
            int lines = 0;
            while (!atEnd() && s.at(p).isSpace())
                lines += s.at(p++) == u'\n';
            add(lines > 1 ? QString(kParagraph) : QStringLiteral(" "));
        } else {
            add(QString(c));
            ++p;
        }
    }
    return out;
}

void Parser::proseCommand(Pieces &out, bool bold, bool italic) {
    Piece text;
    text.prose = true;
    text.bold = bold;
    text.italic = italic;
    const QString word = controlWord();
    auto group = [&](bool b, bool i) {
        skipSpaces();
        if (at(u"{")) {
            ++p;
            append(out, prose(u"}", b, i));
        }
    };
    if (word == u"\\textbf") {
        group(true, italic);
    } else if (word == u"\\textit" || word == u"\\emph") {
        group(bold, true);
    } else if (word == u"\\textrm" || word == u"\\textup" || word == u"\\mbox") {
        group(bold, italic);
    } else if (word == u"\\\\" || word == u"\\newline") {
        text.text = kLineBreak;
    } else if (word == u"\\par") {
        text.text = kParagraph;
    } else if (word.size() == 2 && QStringView(u"#$%&_{} ").contains(word.at(1))) {
        text.text = word.at(1);
    } else if (const char16_t symbol = textSymbol(word)) {
        skipEmptyGroup();
        text.text = QChar(symbol);
    } else {
        text.text = keptAsText(word);
    }
    append(out, text);
}

Pieces Parser::math(QStringView closer, int level) {
    Pieces out;
    while (!atEnd()) {
        if (!closer.isEmpty() && at(closer)) {
            p += closer.size();
            break;
        }
        if (s.at(p) == u'}') { // a brace without its opening one
            ++p;
            continue;
        }
        append(out, mathToken(level));
    }
    return out;
}

Pieces Parser::mathToken(int level) {
    const QChar c = s.at(p);
    if (c.isSpace() || c == u'~') {
        while (!atEnd() && (s.at(p).isSpace() || s.at(p) == u'~'))
            ++p;
        return {mathPiece(QStringLiteral(" "), FaceFamily::Latin, level)};
    }
    if (c == u'^' || c == u'_')
        return script(c, level);
    if (c == u'{') {
        ++p;
        return math(u"}", level);
    }
    if (c == u'\\')
        return command(level);
    if (c == u'%') {
        skipComment();
        return {};
    }
    if (c == u'&') {
        ++p;
        return {};
    }
    QString character(c);
    if (c.isHighSurrogate() && p + 1 < s.size())
        character += s.at(++p);
    ++p;
    return {mathPiece(character, familyOf(c), level)};
}

Pieces Parser::argument(int level) {
    skipSpaces();
    if (atEnd())
        return {};
    if (s.at(p) == u'{') {
        ++p;
        return math(u"}", level);
    }
    return mathToken(level);
}

// Raised and lowered text as far as the three levels go; a script within a script keeps its
// mark, as the plain-text copy writes it.
Pieces Parser::script(QChar mark, int level) {
    for (const LatexCommand &entry : commandsByLength()) {
        if (entry.command[0] == '^' && at(QString::fromUtf8(entry.command))) {
            p += qstrlen(entry.command);
            return {mathPiece(QString(QChar(entry.character)), entry.family, level)};
        }
    }
    ++p;
    if (level == 0)
        return argument(mark == u'^' ? 1 : -1);
    const Pieces inner = argument(level);
    int length = 0;
    for (const Piece &piece : inner)
        length += int(piece.text.size());
    Pieces out;
    append(out, mathPiece(length == 1 ? QString(mark) : mark + QStringLiteral("("),
                          FaceFamily::Latin, level));
    append(out, inner);
    if (length != 1)
        append(out, mathPiece(QStringLiteral(")"), FaceFamily::Latin, level));
    return out;
}

// \mathrm{...}, \text{...} and \operatorname{...}: upright Latin letters.
Pieces Parser::upright(int level) {
    if (at(u"*"))
        ++p;
    skipSpaces();
    if (!at(u"{"))
        return {};
    ++p;
    Pieces out;
    for (Piece piece : prose(u"}", false, false)) {
        if (piece.prose) {
            piece.prose = false;
            piece.family = FaceFamily::Latin;
            piece.level = level;
        }
        append(out, piece);
    }
    return out;
}

Pieces Parser::command(int level) {
    for (const LatexCommand &entry : commandsByLength()) {
        const QString name = QString::fromUtf8(entry.command);
        if (entry.command[0] == '\\' && at(name) &&
            !(name.back().isLetter() && letterAt(p + name.size()))) {
            p += name.size();
            if (name.back().isLetter() && p + 1 < s.size() && s.at(p) == u' ' && letterAt(p + 1))
                ++p;
            return {mathPiece(QString(QChar(entry.character)), entry.family, level)};
        }
    }
    const QString word = controlWord();
    const QString name = word.mid(1);
    if (droppedCommands().contains(word))
        return {};
    if (word == u"\\left" || word == u"\\right") {
        skipSpaces();
        if (at(u"."))
            ++p;
        return {};
    }
    if (word.size() == 2 && QStringView(u"{}#$%&").contains(word.at(1)))
        return {mathPiece(word.mid(1), FaceFamily::Latin, level)};
    if (word == u"\\sim" || word == u"\\backslash" || (word == u"\\hat" && at(u"{}"))) {
        skipEmptyGroup();
        const QChar c = word == u"\\sim" ? u'~' : word == u"\\hat" ? u'^' : u'\\';
        return {mathPiece(QString(c), FaceFamily::Latin, level)};
    }
    if (word == u"\\\\")
        return {mathPiece(QString(kLineBreak), FaceFamily::Latin, level)};
    if (word == u"\\frac" || word == u"\\dfrac" || word == u"\\tfrac") {
        Pieces out;
        const Pieces parts[] = {argument(level), argument(level)};
        for (int i = 0; i < 2; ++i) {
            const bool wrap = needsParentheses(parts[i], i == 1);
            if (i == 1)
                append(out, mathPiece(QStringLiteral("/"), FaceFamily::Latin, level));
            if (wrap)
                append(out, mathPiece(QStringLiteral("("), FaceFamily::Latin, level));
            append(out, parts[i]);
            if (wrap)
                append(out, mathPiece(QStringLiteral(")"), FaceFamily::Latin, level));
        }
        return out;
    }
    if (word == u"\\sqrt") {
        Pieces out;
        skipSpaces();
        if (at(u"[")) {
            ++p;
            append(out, math(u"]", level == 0 ? 1 : level));
        }
        append(out, mathPiece(QStringLiteral("√"), FaceFamily::Symbol, level));
        append(out, mathPiece(QStringLiteral("("), FaceFamily::Latin, level));
        append(out, argument(level));
        append(out, mathPiece(QStringLiteral(")"), FaceFamily::Latin, level));
        return out;
    }
    if (word == u"\\mathrm" || word == u"\\text" || word == u"\\operatorname" ||
        word == u"\\textrm" || word == u"\\mathup")
        return upright(level);
    if (word == u"\\ ")
        return {mathPiece(QStringLiteral(" "), FaceFamily::Latin, level)};
    if (latexFunctionNames().contains(name)) // "\\sin x" reads "sin x"
        return {mathPiece(skippedSpace ? name + u' ' : name, FaceFamily::Latin, level)};
    if (word == u"\\dots" || word == u"\\ldots" || word == u"\\cdots")
        return {mathPiece(QStringLiteral("..."), FaceFamily::Latin, level)};
    return {mathPiece(keptAsText(word), FaceFamily::Latin, level)};
}
} // namespace

QString LatexReader::Piece::face() const {
    if (prose)
        return {};
    return notationFace(family, level < 0   ? FaceLevel::Lowered
                                : level > 0 ? FaceLevel::Raised
                                            : FaceLevel::Base);
}

QString LatexReader::Reading::text() const {
    QString all;
    for (const Piece &piece : pieces)
        all += piece.text;
    return all;
}

LatexReader::Reading LatexReader::read(const QString &latex) {
    const QString text = latex.trimmed();
    return Parser(text).read();
}

bool LatexReader::looksLikeLatex(const QString &text) {
    static const QRegularExpression latex(
        QStringLiteral(R"(\\[A-Za-z]+|\\[(\[]|\$[^$]+\$|[_^]\{)"));
    return text.contains(latex);
}

void LatexReader::insert(QTextCursor &cursor, const Reading &reading,
                         const QTextCharFormat &prose) {
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    for (const Piece &piece : reading.pieces) {
        QTextCharFormat format;
        if (piece.prose) {
            format = prose;
            format.setFontWeight(piece.bold ? QFont::Bold : QFont::Normal);
            format.setFontItalic(piece.italic);
        } else {
            CharAttributes a;
            a.face = piece.face();
            a.size = kNotationSize;
            a.color = rgbColor(0, 0, 0);
            a.charset = charsetForFace(a.face);
            a.bold = piece.bold;
            a.italic = piece.italic;
            format = a.toFormat(CharAttributes::Face | CharAttributes::Size |
                                CharAttributes::Color | CharAttributes::CharsetField |
                                CharAttributes::Bold | CharAttributes::Italic);
        }
        const QStringList paragraphs = piece.text.split(kParagraph);
        for (qsizetype i = 0; i < paragraphs.size(); ++i) {
            if (i > 0)
                cursor.insertBlock();
            if (!paragraphs[i].isEmpty())
                cursor.insertText(paragraphs[i], format);
        }
    }
    cursor.endEditBlock();
}

} // namespace tessary
