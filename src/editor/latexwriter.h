#pragma once

#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <functional>

namespace tessary {

// Writes text of the editor as LaTeX: the characters of the notation faces as inline math
// ($...$, raised runs ^{...}, lowered _{...}, Greek letters and symbols as their commands),
// any other text as prose with its bold and italic and its special characters escaped.
// Text is added a paragraph at a time; takeParagraph() hands the paragraph over.
class LatexWriter {
public:
    // Wraps the LaTeX of a run of prose whose characters have the same key: given the key of
    // a format (empty for none) and the run's LaTeX, the wrapped LaTeX. The document export
    // marks anchors with it.
    struct Wrapping {
        std::function<QString(const QTextCharFormat &)> keyOf;
        std::function<QString(const QString &key, const QString &latex)> wrap;
    };

    LatexWriter() = default;
    explicit LatexWriter(Wrapping wrapping)
        : m_wrapping(std::move(wrapping)) {}

    // A piece of the current paragraph; line separators become LaTeX line breaks.
    void add(const QString &text, const QTextCharFormat &format);
    // The LaTeX of the paragraph so far, with its math closed; the writer starts afresh.
    QString takeParagraph();

    // The selection as LaTeX, paragraphs separated by blank lines.
    static QString fromSelection(const QTextCursor &cursor);
    // Prose escaped for LaTeX: # $ % & _ { } ~ ^ and the backslash.
    static QString escapeProse(const QString &text);

private:
    struct Cell {
        QString text; // one character, or a surrogate pair
        bool notation;
        bool lineBreak;
        int level; // -1 lowered, 0 base, 1 raised
        bool bold;
        bool italic;
        QString key;
    };
    QString prose(qsizetype from, qsizetype to) const;
    QString math(qsizetype from, qsizetype to) const;
    QString script(qsizetype from, qsizetype to) const;
    bool isBaseLetter(qsizetype k) const;
    qsizetype functionNameAt(qsizetype k, qsizetype to) const;

    Wrapping m_wrapping;
    QList<Cell> m_cells;
};

// The LaTeX of one character in math: its command, an escape, or the character itself.
QString latexMathToken(const QString &character);
// The names of functions LaTeX sets upright with a command of their own (\\sin, \\log, ...).
const QStringList &latexFunctionNames();
// Appends a token, with a space where a command word would otherwise run into a letter.
void appendLatex(QString &out, const QString &token);

} // namespace tessary
