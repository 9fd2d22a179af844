#include "richtext/richedit.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>
#include <algorithm>

// The display-line index and the geometry of lines and characters: what line-oriented
// features (the ruler, the status panel, the print job) read of the editor's layout.

namespace tessary {

void RichEdit::ensureLaidOut(int position) const {
    const QTextBlock block = document()->findBlock(qBound(0, position, textLength()));
    if (block.isValid())
        document()->documentLayout()->blockBoundingRect(block);
}

const QList<int> &RichEdit::lineIndex() const {
    if (m_lineIndexValid)
        return m_lineIndex;
    ensureLaidOut(textLength());
    m_lineIndex.clear();
    m_lineIndex.reserve(document()->blockCount());
    int total = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        m_lineIndex.append(total);
        total += qMax(1, block.layout()->lineCount());
    }
    m_totalLines = total;
    m_lineIndexValid = true;
    return m_lineIndex;
}

int RichEdit::totalDisplayLines() const {
    lineIndex();
    return m_totalLines;
}

QTextBlock RichEdit::blockOfLine(int line) const {
    const QList<int> &index = lineIndex();
    const auto it = std::upper_bound(index.begin(), index.end(), line);
    return document()->findBlockByNumber(int(it - index.begin()) - 1);
}

int RichEdit::firstLineOf(const QTextBlock &block) const {
    const QList<int> &index = lineIndex();
    const int number = block.blockNumber();
    return number >= 0 && number < index.size() ? index.at(number) : 0;
}

int RichEdit::lineCount() const {
    const QTextBlock last = document()->lastBlock();
    int total = totalDisplayLines();
    const QTextLayout *layout = last.layout();
    const int n = layout->lineCount();
    if (n == 0 || layout->lineAt(n - 1).textLength() == 0)
        --total;
    return total;
}

int RichEdit::lineFromChar(int position) const {
    position = qBound(0, position, textLength());
    ensureLaidOut(position);
    const QTextBlock block = document()->findBlock(position);
    const QTextLayout *layout = block.layout();
    const QTextLine line = layout->lineForTextPosition(position - block.position());
    return firstLineOf(block) + (line.isValid() ? line.lineNumber() : 0);
}

bool RichEdit::locateLine(int line, LinePos &found) const {
    if (line < 0 || line >= totalDisplayLines())
        return false;
    const QTextBlock block = blockOfLine(line);
    if (!block.isValid())
        return false;
    const QTextLayout *layout = block.layout();
    const int index = line - firstLineOf(block);
    found.blockPosition = block.position();
    if (layout->lineCount() == 0) { // an empty paragraph not laid out as lines
        found.start = block.position();
        found.length = 0;
        found.endsBlock = true;
        return true;
    }
    const QTextLine l = layout->lineAt(qBound(0, index, layout->lineCount() - 1));
    found.start = block.position() + l.textStart();
    found.length = l.textLength();
    found.endsBlock = l.lineNumber() == layout->lineCount() - 1;
    return true;
}

int RichEdit::lineStart(int line) const {
    LinePos p;
    return locateLine(line, p) ? p.start : -1;
}

int RichEdit::lineLength(int line) const {
    LinePos p;
    return locateLine(line, p) ? p.length : 0;
}

QString RichEdit::lineText(int line) const {
    LinePos p;
    if (!locateLine(line, p))
        return {};
    QTextCursor c(document());
    c.setPosition(p.start);
    c.setPosition(p.start + p.length, QTextCursor::KeepAnchor);
    return c.selectedText();
}

void RichEdit::deleteLine(int line) {
    LinePos p;
    if (!locateLine(line, p))
        return;
    int end = p.start + p.length;
    if (p.endsBlock && end < textLength())
        ++end; // the paragraph break goes with the line
    if (end <= p.start)
        return;
    QTextCursor c = textCursor();
    c.setPosition(p.start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    setTextCursor(c);
}

int RichEdit::lineLeft(int line) const {
    LinePos p;
    if (!locateLine(line, p))
        return 0;
    const QTextBlock block = document()->findBlock(p.blockPosition);
    const QTextLayout *layout = block.layout();
    int cursor = p.start - block.position();
    const QTextLine l = layout->lineForTextPosition(cursor);
    if (!l.isValid())
        return 0;
    const qreal x =
        layout->position().x() + l.cursorToX(&cursor) - document()->documentMargin() * scale();
    return qRound(x - listRoom(block) * scale());
}

qreal RichEdit::listRoom(const QTextBlock &block) const {
    const QTextList *list = block.textList();
    return list ? list->format().indent() * document()->indentWidth() : 0;
}

int RichEdit::paragraphOrigin() const {
    const QTextBlock block = textCursor().block();
    const qreal own = block.blockFormat().indent() * document()->indentWidth();
    return qRound((document()->documentMargin() + own + listRoom(block)) * scale()) -
           horizontalScrollBar()->value();
}

int RichEdit::paragraphRightEdge() const {
    return qRound(viewport()->width() - document()->documentMargin() * scale()) -
           horizontalScrollBar()->value();
}

int RichEdit::charWidth(int position) const {
    position = qBound(0, position, textLength());
    ensureLaidOut(position);
    const QTextBlock block = document()->findBlock(position);
    const QTextLayout *layout = block.layout();
    int from = position - block.position();
    const QTextLine l = layout->lineForTextPosition(from);
    if (!l.isValid())
        return 0;
    int to = from + 1;
    return qRound(l.cursorToX(&to)) - qRound(l.cursorToX(&from));
}

QPoint RichEdit::caretPos() const {
    const int position = textCursor().position();
    const int line = lineFromChar(position);
    return {position - lineStart(line), line};
}

QPoint RichEdit::caretPixelPos() const {
    return cursorRect().topLeft();
}

} // namespace tessary
