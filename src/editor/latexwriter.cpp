#include "editor/latexwriter.h"

#include "editor/notationfaces.h"
#include "editor/palettetables.h"
#include "rtf/textformat.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

namespace tessary {

namespace {
// Symbol-face digits typed with Ctrl+0..3 are raised digits on the base line.
int raisedDigit(QChar c) {
    switch (c.unicode()) {
    case 0x2070:
        return 0;
    case 0x00B9:
        return 1;
    case 0x00B2:
        return 2;
    case 0x00B3:
        return 3;
    default:
        return -1;
    }
}

bool isControlWordEnd(const QString &out) {
    qsizetype i = out.size();
    while (i > 0 && out.at(i - 1).isLetter() && out.at(i - 1).unicode() < 128)
        --i;
    return i < out.size() && i > 0 && out.at(i - 1) == u'\\' && (i < 2 || out.at(i - 2) != u'\\');
}
} // namespace

const QStringList &latexFunctionNames() {
    static const QStringList names = {
        "sin", "cos",  "tan",  "cot",  "sec",    "csc",    "log",    "ln",  "exp", "lim",
        "max", "min",  "sup",  "inf",  "det",    "gcd",    "arg",    "deg", "dim", "ker",
        "lg",  "sinh", "cosh", "tanh", "arcsin", "arccos", "arctan", "Pr",  "hom"};
    return names;
}

void appendLatex(QString &out, const QString &token) {
    if (!token.isEmpty() && token.at(0).isLetter() && isControlWordEnd(out))
        out += u' ';
    out += token;
}

QString latexMathToken(const QString &character) {
    if (character.size() == 1) {
        const QChar c = character.at(0);
        if (const LatexCommand *command = latexCommandFor(c))
            return QString::fromUtf8(command->command);
        switch (c.unicode()) {
        case u'#':
        case u'$':
        case u'%':
        case u'&':
        case u'_':
        case u'{':
        case u'}':
            return u'\\' + character;
        case u'~':
            return QStringLiteral("\\sim");
        case u'^':
            return QStringLiteral("\\hat{}");
        case u'\\':
            return QStringLiteral("\\backslash");
        default:
            break;
        }
    }
    return character;
}

QString LatexWriter::escapeProse(const QString &text) {
    QString out;
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'#':
        case u'$':
        case u'%':
        case u'&':
        case u'_':
        case u'{':
        case u'}':
            out += u'\\';
            out += c;
            break;
        case u'~':
            appendLatex(out, QStringLiteral("\\textasciitilde{}"));
            break;
        case u'^':
            appendLatex(out, QStringLiteral("\\textasciicircum{}"));
            break;
        case u'\\':
            appendLatex(out, QStringLiteral("\\textbackslash{}"));
            break;
        case QChar::Nbsp:
            out += u'~';
            break;
        default:
            out += c;
        }
    }
    return out;
}

void LatexWriter::add(const QString &text, const QTextCharFormat &format) {
    FaceFamily family = FaceFamily::Latin;
    FaceLevel level = FaceLevel::Base;
    const bool notation = notationFaceOf(faceOf(format), &family, &level);
    Cell base{QString(),
              notation,
              false,
              int(level) - 1,
              format.fontWeight() >= QFont::Bold,
              format.fontItalic(),
              m_wrapping.keyOf && !notation ? m_wrapping.keyOf(format) : QString()};
    for (qsizetype i = 0; i < text.size(); ++i) {
        Cell cell = base;
        const QChar c = text.at(i);
        if (c == QChar::ObjectReplacementCharacter)
            continue;
        cell.text = c;
        if (c.isHighSurrogate() && i + 1 < text.size())
            cell.text += text.at(++i);
        cell.lineBreak = c == QChar::LineSeparator || c == u'\n';
        if (const int digit = raisedDigit(c);
            notation && family == FaceFamily::Symbol && digit >= 0 && cell.level == 0) {
            cell.text = QString::number(digit);
            cell.level = 1;
        }
        m_cells.append(cell);
    }
}

QString LatexWriter::takeParagraph() {
    QString out;
    const qsizetype n = m_cells.size();
    auto isBaseSpace = [this](qsizetype k) {
        return m_cells[k].text == u" " && m_cells[k].level == 0;
    };
    for (qsizetype i = 0; i < n;) {
        if (m_cells[i].lineBreak) {
            out += out.trimmed().isEmpty() ? QStringLiteral("\\mbox{}\\\\\n")
                                           : QStringLiteral("\\\\\n");
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < n && !m_cells[j].lineBreak && m_cells[j].notation == m_cells[i].notation)
            ++j;
        if (!m_cells[i].notation) {
            out += prose(i, j);
            i = j;
            continue;
        }
        // Spaces around a formula are the prose's; inside they stay as typed.
        qsizetype a = i, b = j;
        while (a < b && isBaseSpace(a))
            ++a;
        while (b > a && isBaseSpace(b - 1))
            --b;
        out += QString(a - i, u' ');
        if (a < b)
            out += u'$' + math(a, b) + u'$';
        out += QString(j - b, u' ');
        i = j;
    }
    m_cells.clear();
    return out;
}

QString LatexWriter::prose(qsizetype from, qsizetype to) const {
    QString out;
    for (qsizetype i = from; i < to;) {
        qsizetype j = i;
        while (j < to && m_cells[j].key == m_cells[i].key)
            ++j;
        QString run;
        for (qsizetype k = i; k < j;) {
            qsizetype e = k;
            QString text;
            while (e < j && m_cells[e].bold == m_cells[k].bold &&
                   m_cells[e].italic == m_cells[k].italic)
                text += m_cells[e++].text;
            text = escapeProse(text);
            if (m_cells[k].italic)
                text = QStringLiteral("\\textit{") + text + u'}';
            if (m_cells[k].bold)
                text = QStringLiteral("\\textbf{") + text + u'}';
            appendLatex(run, text);
            k = e;
        }
        if (!m_cells[i].key.isEmpty() && m_wrapping.wrap)
            run = m_wrapping.wrap(m_cells[i].key, run);
        appendLatex(out, run);
        i = j;
    }
    return out;
}

QString LatexWriter::math(qsizetype from, qsizetype to) const {
    QString out;
    for (qsizetype k = from; k < to;) {
        const int level = m_cells[k].level;
        if (level == 0 && m_cells[k].text == u" ") {
            // Math drops spaces; those before a word, after a word or a comma, are kept as control
            // spaces.
            qsizetype e = k;
            while (e < to && m_cells[e].text == u" " && m_cells[e].level == 0)
                ++e;
            static const QRegularExpression function(QStringLiteral("\\\\([A-Za-z]+)$"));
            const QRegularExpressionMatch after = function.match(out);
            const bool words =
                k > from && e < to && isBaseLetter(e) &&
                (isBaseLetter(k - 1) || m_cells[k - 1].text == u"," ||
                 m_cells[k - 1].text == u";") &&
                !(after.hasMatch() && latexFunctionNames().contains(after.captured(1)));
            for (; k < e; ++k)
                out += words ? QStringLiteral("\\ ") : QStringLiteral(" ");
            continue;
        }
        if (level == 0) {
            if (const qsizetype end = functionNameAt(k, to); end > k) {
                QString name;
                for (; k < end; ++k)
                    name += m_cells[k].text;
                appendLatex(out, u'\\' + name);
                continue;
            }
            appendLatex(out, latexMathToken(m_cells[k++].text));
            continue;
        }
        qsizetype r = k;
        while (r < to && m_cells[r].level == level)
            ++r;
        out += (level > 0 ? u'^' : u'_') + script(k, r);
        k = r;
        // An index followed by an exponent sits on the same base: a_{n}^{2}.
        if (level < 0 && k < to && m_cells[k].level > 0) {
            while (r < to && m_cells[r].level > 0)
                ++r;
            out += u'^' + script(k, r);
            k = r;
        }
    }
    return out;
}

bool LatexWriter::isBaseLetter(qsizetype k) const {
    const QString &t = m_cells[k].text;
    return m_cells[k].level == 0 && t.size() == 1 && t.at(0).isLetterOrNumber() &&
           !latexCommandFor(t.at(0));
}

// The end of a function name that stands as a word of its own at `k`, or `k`.
qsizetype LatexWriter::functionNameAt(qsizetype k, qsizetype to) const {
    auto asciiLetter = [this](qsizetype i) {
        const QString &t = m_cells[i].text;
        return m_cells[i].level == 0 && t.size() == 1 && t.at(0).unicode() < 128 &&
               t.at(0).isLetter();
    };
    if (!asciiLetter(k) || (k > 0 && asciiLetter(k - 1)))
        return k;
    qsizetype e = k;
    QString word;
    while (e < to && asciiLetter(e))
        word += m_cells[e++].text;
    return latexFunctionNames().contains(word) ? e : k;
}

QString LatexWriter::script(qsizetype from, qsizetype to) const {
    if (to - from == 1) {
        const QString &c = m_cells[from].text;
        if (c.size() == 1 && c.at(0).unicode() < 128 && c.at(0).isLetterOrNumber())
            return c;
    }
    QString body;
    for (qsizetype k = from; k < to; ++k)
        appendLatex(body, latexMathToken(m_cells[k].text));
    return u'{' + body + u'}';
}

QString LatexWriter::fromSelection(const QTextCursor &cursor) {
    if (!cursor.hasSelection() || !cursor.document())
        return {};
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    LatexWriter writer;
    QStringList paragraphs;
    const QTextDocument *doc = cursor.document();
    for (QTextBlock b = doc->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int from = qMax(f.position(), start);
            const int to = qMin(f.position() + f.length(), end);
            if (from < to)
                writer.add(f.text().mid(from - f.position(), to - from), f.charFormat());
        }
        paragraphs.append(writer.takeParagraph());
    }
    return paragraphs.join(QStringLiteral("\n\n"));
}

} // namespace tessary
