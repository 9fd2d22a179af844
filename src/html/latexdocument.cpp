#include "html/latexdocument.h"

#include "editor/latexwriter.h"
#include "html/anchors.h"
#include "rtf/textformat.h"

#include <QSet>
#include <QTextBlock>
#include <QTextDocument>

namespace tessary {

namespace {

const char kPreamble[] = "\\documentclass[11pt]{article}\n"
                         "\\usepackage[utf8]{inputenc}\n"
                         "\\usepackage[T1]{fontenc}\n"
                         "\\usepackage{textcomp}\n"
                         "\\usepackage{amsmath}\n"
                         "\\usepackage{amssymb}\n"
                         "\\usepackage[hidelinks]{hyperref}\n"
                         "\\setlength{\\parindent}{0pt}\n"
                         "\\raggedright\n"
                         "\\begin{document}\n";

// An anchor's key: "d" or "s" and its number; empty for other text.
QString anchorKey(const QTextCharFormat &format) {
    const CharAttributes a = CharAttributes::fromFormat(format);
    if (!a.underline)
        return {};
    const int number = (a.pitchAndFamily & 0xFF) >> 2;
    if (Anchors::IsDestAnchorColor(a.color))
        return QStringLiteral("d%1").arg(number);
    if (Anchors::IsSrcAnchorColor(a.color))
        return QStringLiteral("s%1").arg(number);
    return {};
}

// The LaTeX size nearest to a prose size, at an 11-point body; null for the body's own.
const char *sizeCommand(int points) {
    if (points <= 8)
        return "\\footnotesize";
    if (points <= 10)
        return "\\small";
    if (points <= 12)
        return nullptr;
    if (points <= 15)
        return "\\large";
    if (points <= 18)
        return "\\Large";
    return points <= 22 ? "\\LARGE" : "\\huge";
}

QString paragraphStart(const QTextBlock &block) {
    const QTextBlockFormat format = block.blockFormat();
    QString start;
    const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        start += QStringLiteral("\\centering ");
    else if (align & (Qt::AlignRight | Qt::AlignTrailing))
        start += QStringLiteral("\\raggedleft ");
    const int left = docUnitsToPoints(format.leftMargin());
    const int first = docUnitsToPoints(format.textIndent());
    if (left != 0)
        start += QStringLiteral("\\leftskip=%1pt ").arg(left);
    if (first != 0)
        start += QStringLiteral("\\hspace*{%1pt}").arg(first);
    return start;
}

// Spaces that start a line place what follows, as in the editor's fixed-width notation; a
// space there is half an em.
QString leadingSpace(QString &text) {
    qsizetype n = 0;
    while (n < text.size() && text.at(n) == u' ')
        ++n;
    text.remove(0, n);
    return n ? QStringLiteral("\\hspace*{%1em}").arg(n / 2.0) : QString();
}

} // namespace

QString LatexDocument::write(const QTextDocument *document) {
    QSet<QString> targets;
    for (QTextBlock b = document->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QString key = anchorKey(it.fragment().charFormat());
            if (key.startsWith(u'd'))
                targets.insert(key.mid(1));
        }
    }
    LatexWriter::Wrapping wrapping;
    wrapping.keyOf = [](const QTextCharFormat &format) {
        const int size = qRound(format.fontPointSize());
        return anchorKey(format) + u'|' + QString::number(size);
    };
    wrapping.wrap = [&targets](const QString &key, const QString &latex) {
        const QString anchor = key.section(u'|', 0, 0);
        const int size = key.section(u'|', 1).toInt();
        QString out = latex;
        if (const char *command = size > 0 ? sizeCommand(size) : nullptr)
            out = u'{' + QString::fromLatin1(command) + u' ' + out + u'}';
        const QString name = QStringLiteral("anchor") + anchor.mid(1);
        if (anchor.startsWith(u'd'))
            out = QStringLiteral("\\hypertarget{%1}{%2}").arg(name, out);
        else if (anchor.startsWith(u's') && targets.contains(anchor.mid(1)))
            out = QStringLiteral("\\hyperlink{%1}{%2}").arg(name, out);
        return out;
    };
    LatexWriter writer(wrapping);
    QString tex = QString::fromLatin1(kPreamble);
    for (QTextBlock b = document->begin(); b.isValid(); b = b.next()) {
        QString text = b.text();
        text.remove(QChar::ObjectReplacementCharacter);
        if (text.trimmed().isEmpty()) {
            tex += QStringLiteral("\\mbox{}\\par\n");
            continue;
        }
        for (auto it = b.begin(); !it.atEnd(); ++it)
            writer.add(it.fragment().text(), it.fragment().charFormat());
        QString body = writer.takeParagraph();
        const QString indent = leadingSpace(body);
        tex += u'{' + paragraphStart(b) + indent + body + QStringLiteral("\\par}\n");
    }
    return tex + QStringLiteral("\\end{document}\n");
}

} // namespace tessary
