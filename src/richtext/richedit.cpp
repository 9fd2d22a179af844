#include "richtext/richedit.h"

#include "richtext/listlevels.h"

#include "richtext/richmime.h"
#include "rtf/codepage.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>
#include <algorithm>

namespace tessary {

RichEdit::RichEdit(QWidget *parent)
    : QTextEdit(parent) {
    setAcceptRichText(true);
    setTabChangesFocus(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // A bulleted paragraph is one list step in from its indents: room for the bullet.
    document()->setIndentWidth(pointsToDocUnits(14));
    connect(document(), &QTextDocument::contentsChanged, this,
            [this] { m_lineIndexValid = false; });
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this] { m_lineIndexValid = false; });
}

void RichEdit::resizeEvent(QResizeEvent *event) {
    m_lineIndexValid = false;
    QTextEdit::resizeEvent(event);
}

// ---- selection -------------------------------------------------------------------------

int RichEdit::selStart() const {
    return textCursor().selectionStart();
}

int RichEdit::selLength() const {
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

int RichEdit::textLength() const {
    return document()->characterCount() - 1;
}

void RichEdit::setSelStart(int start) {
    QTextCursor c = textCursor();
    c.setPosition(qBound(0, start, textLength()));
    setTextCursor(c);
}

void RichEdit::setSelLength(int length) {
    setSelection(selStart(), length);
}

void RichEdit::setSelection(int start, int length) {
    const int from = qBound(0, start, textLength());
    const int to = qBound(0, from + qMax(0, length), textLength());
    QTextCursor c = textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichEdit::selText() const {
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void RichEdit::collapseSelection() {
    setSelStart(selStart());
}

QChar RichEdit::charAt(int position) const {
    return document()->characterAt(position);
}

// ---- character attributes --------------------------------------------------------------

CharAttributes RichEdit::caretAttributes() const {
    return CharAttributes::fromFormat(currentCharFormat());
}

CharAttributes RichEdit::charAttributesAt(int position) const {
    return CharAttributes::fromFormat(formatAt(position));
}

CharAttributes RichEdit::selAttributes() const {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return caretAttributes();
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    CharAttributes first;
    bool haveFirst = false;
    unsigned same = CharAttributes::All;
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= start || fragment.position() >= end)
                continue;
            const CharAttributes a = CharAttributes::fromFormat(fragment.charFormat());
            if (!haveFirst) {
                first = a;
                haveFirst = true;
                continue;
            }
            if (a.face != first.face)
                same &= ~unsigned(CharAttributes::Face);
            if (a.size != first.size)
                same &= ~unsigned(CharAttributes::Size);
            if (a.color != first.color)
                same &= ~unsigned(CharAttributes::Color);
            if (a.bold != first.bold)
                same &= ~unsigned(CharAttributes::Bold);
            if (a.italic != first.italic)
                same &= ~unsigned(CharAttributes::Italic);
            if (a.underline != first.underline)
                same &= ~unsigned(CharAttributes::Underline);
            if (a.charset != first.charset)
                same &= ~unsigned(CharAttributes::CharsetField);
            if (a.pitchAndFamily != first.pitchAndFamily)
                same &= ~unsigned(CharAttributes::Pitch);
        }
    }
    if (!haveFirst) // only paragraph breaks selected
        first = charAttributesAt(start);
    first.consistent = same;
    return first;
}

void RichEdit::setSelAttributes(const CharAttributes &attributes, unsigned fields) {
    if (selLength() == 0)
        setCaretAttributes(attributes, fields);
    else
        setRangeAttributes(selStart(), selLength(), attributes, fields);
}

void RichEdit::setCaretAttributes(const CharAttributes &attributes, unsigned fields) {
    QTextCharFormat format = currentCharFormat();
    format.merge(attributes.toFormat(fields));
    if ((fields & CharAttributes::Color) && attributes.color == kAutomaticColor)
        format.clearForeground();
    QTextCursor c = textCursor();
    c.setCharFormat(format);
    setTextCursor(c);
}

// ---- paragraph attributes --------------------------------------------------------------

ParaAttributes RichEdit::paraAttributes() const {
    return paraAttributesOf(textCursor().block());
}

ParaAttributes RichEdit::paraAttributesAt(int position) const {
    return paraAttributesOf(document()->findBlock(qBound(0, position, textLength())));
}

ParaAttributes RichEdit::paraAttributesOf(const QTextBlock &block) const {
    const QTextBlockFormat f = block.blockFormat();
    ParaAttributes p;
    if (f.alignment() & Qt::AlignHCenter)
        p.alignment = Alignment::Center;
    else if (f.alignment() & Qt::AlignRight)
        p.alignment = Alignment::Right;
    p.leftIndent = docUnitsToPoints(-f.textIndent());
    p.firstIndent = docUnitsToPoints(f.leftMargin() + f.textIndent());
    p.rightIndent = docUnitsToPoints(f.rightMargin());
    const QTextList *list = block.textList();
    p.bullet = list && list->format().style() == QTextListFormat::ListDisc;
    p.tabCount = int(f.tabPositions().size());
    return p;
}

// Whether two block formats show the same paragraph; unset fields read as their defaults.
static bool sameParagraph(QTextBlockFormat a, QTextBlockFormat b) {
    auto alignment = [](const QTextBlockFormat &f) {
        return f.alignment() ? f.alignment() : Qt::Alignment(Qt::AlignLeft);
    };
    auto near = [](double x, double y) { return qAbs(x - y) < 0.01; };
    if (alignment(a) != alignment(b) || !near(a.leftMargin(), b.leftMargin()) ||
        !near(a.textIndent(), b.textIndent()) || !near(a.rightMargin(), b.rightMargin()))
        return false;
    for (int property : {QTextFormat::BlockAlignment, QTextFormat::BlockLeftMargin,
                         QTextFormat::TextIndent, QTextFormat::BlockRightMargin}) {
        a.clearProperty(property);
        b.clearProperty(property);
    }
    return a == b;
}

void RichEdit::setParaAttributes(const ParaAttributes &p, unsigned fields) {
    QTextCursor c = textCursor();
    const int from = c.selectionStart();
    const int to = c.selectionEnd();
    c.beginEditBlock();
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        QTextCursor at(block);
        QTextBlockFormat f = block.blockFormat();
        if (fields & ParaAttributes::AlignmentField)
            f.setAlignment(p.alignment == Alignment::Center  ? Qt::AlignHCenter
                           : p.alignment == Alignment::Right ? Qt::AlignRight
                                                             : Qt::AlignLeft);
        const int ownLeft = docUnitsToPoints(-f.textIndent());
        const int ownFirst = docUnitsToPoints(f.leftMargin() + f.textIndent());
        const int first = (fields & ParaAttributes::FirstIndent) ? p.firstIndent : ownFirst;
        const int left = (fields & ParaAttributes::LeftIndent) ? p.leftIndent : ownLeft;
        f.setLeftMargin(pointsToDocUnits(first + left));
        f.setTextIndent(pointsToDocUnits(-left));
        if (fields & ParaAttributes::RightIndent)
            f.setRightMargin(pointsToDocUnits(p.rightIndent));
        QTextList *list = block.textList();
        const bool bulleted = list && list->format().style() == QTextListFormat::ListDisc;
        if ((fields & ParaAttributes::Bullet) && p.bullet && !bulleted) {
            if (list) { // a numbered or otherwise foreign list becomes the program's bullets
                list->remove(block);
                f.clearProperty(QTextFormat::ObjectIndex);
            }
            QTextListFormat lf;
            lf.setStyle(QTextListFormat::ListDisc);
            lf.setIndent(1); // one list step of room, so the bullet shows left of the text
            at.setBlockFormat(f);
            at.createList(lf);
            continue;
        }
        if ((fields & ParaAttributes::Bullet) && !p.bullet && list) {
            list->remove(block);
            f.clearProperty(QTextFormat::ObjectIndex); // or the block would rejoin the list
        }
        if (!sameParagraph(f, block.blockFormat())) // setting it again would be an undo step
            at.setBlockFormat(f);
    }
    c.endEditBlock();
}

void RichEdit::replaceSelection(const QString &text) {
    QTextCursor c = textCursor();
    if (textLength() - (c.selectionEnd() - c.selectionStart()) + text.size() > m_textLimit)
        return;
    c.insertText(text);
    setTextCursor(c);
}

QTextCharFormat RichEdit::formatAt(int position) const {
    const QTextBlock block = document()->findBlock(qBound(0, position, textLength()));
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().contains(position))
            return it.fragment().charFormat();
    }
    return block.charFormat();
}

QTextCharFormat RichEdit::mergedFormat(QTextCharFormat base, const CharAttributes &attributes,
                                       unsigned fields) const {
    base.merge(attributes.toFormat(fields));
    if ((fields & CharAttributes::Color) && attributes.color == kAutomaticColor)
        base.clearForeground();
    return base;
}

void RichEdit::replaceSelection(const QString &text, const CharAttributes &attributes,
                                unsigned fields) {
    QTextCursor c = textCursor();
    const int selected = c.selectionEnd() - c.selectionStart();
    if (textLength() - selected + text.size() > m_textLimit)
        return;
    const QTextCharFormat base = selected > 0 ? formatAt(c.selectionStart()) : currentCharFormat();
    c.insertText(text, mergedFormat(base, attributes, fields));
    setTextCursor(c);
}

void RichEdit::replaceRange(int start, int length, const QString &text,
                            const CharAttributes &attributes, unsigned fields) {
    QTextCursor c(document());
    c.setPosition(qBound(0, start, textLength()));
    c.setPosition(qBound(0, start + length, textLength()), QTextCursor::KeepAnchor);
    c.insertText(text, mergedFormat(formatAt(start), attributes, fields));
}

void RichEdit::setRangeAttributes(int start, int length, const CharAttributes &attributes,
                                  unsigned fields) {
    start = qBound(0, start, textLength());
    const int end = qBound(start, start + length, textLength());
    QTextCursor c(document());
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    c.mergeCharFormat(attributes.toFormat(fields));
    if (!(fields & CharAttributes::Color) || attributes.color != kAutomaticColor)
        return;
    // Merging cannot remove a property, so automatic colour is written run by run.
    for (const AttributeRun &run : attributeRuns(start, end - start)) {
        if (run.attributes.color == kAutomaticColor)
            continue;
        QTextCharFormat format = formatAt(run.start);
        format.clearForeground();
        c.setPosition(run.start);
        c.setPosition(run.start + run.length, QTextCursor::KeepAnchor);
        c.setCharFormat(format);
    }
}

QList<int> RichEdit::findCharacters(int start, int end, QChar ch) const {
    QList<int> found;
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        const QString text = block.text();
        for (int i = 0; i < text.size(); ++i) {
            const int position = block.position() + i;
            if (position >= start && position < end && text.at(i) == ch)
                found.append(position);
        }
    }
    return found;
}

QList<RichEdit::AttributeRun> RichEdit::attributeRuns(int start, int length) const {
    start = qBound(0, start, textLength());
    const int end = qBound(start, start + length, textLength());
    QList<AttributeRun> runs;
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int from = qMax(start, f.position());
            const int to = qMin(end, f.position() + f.length());
            if (from >= to)
                continue;
            const CharAttributes a = CharAttributes::fromFormat(f.charFormat());
            if (!runs.isEmpty() && runs.last().start + runs.last().length == from &&
                runs.last().attributes == a)
                runs.last().length += to - from;
            else
                runs.append({from, to - from, a});
        }
    }
    return runs;
}

// ---- update grouping, keys -------------------------------------------------------------

void RichEdit::BeginEditorUpdate() {
    if (m_updateDepth++ > 0)
        return;
    m_updateCursor = QTextCursor(document());
    m_updateCursor.beginEditBlock();
    m_savedCursorWidth = cursorWidth();
    setCursorWidth(0);
    viewport()->setUpdatesEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void RichEdit::EndEditorUpdate() {
    if (m_updateDepth == 0 || --m_updateDepth > 0)
        return;
    m_updateCursor.endEditBlock();
    setCursorWidth(m_savedCursorWidth);
    viewport()->setUpdatesEnabled(true);
    viewport()->update();
    QApplication::restoreOverrideCursor();
    ensureCursorVisible();
}

void RichEdit::sendKey(int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QTextEdit::keyPressEvent(&event);
}

bool RichEdit::canPaste() const {
    return QTextEdit::canPaste();
}

RichEdit::LoadResult RichEdit::loadData(const QByteArray &data) {
    const bool rtf = RtfReader::looksLikeRtf(data);
    if (!rtf && data.contains('\0'))
        return LoadResult::Failed; // refused before the document is touched
    QTextDocument *doc = document();
    doc->clear();
    QTextCursor cursor(doc);
    if (rtf && RtfReader::read(data, cursor, RtfReader::Mode::Document)) {
        doc->clearUndoRedoStacks();
        setTextCursor(QTextCursor(doc));
        return LoadResult::Rtf;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (utf8.hasError())
        text = CodePage::windows(1252).decode(data);
    setPlainText(text);
    doc->clearUndoRedoStacks();
    return LoadResult::PlainText;
}

QByteArray RichEdit::rtfData() const {
    return RtfWriter::write(document());
}

QMimeData *RichEdit::createMimeDataFromSelection() const {
    return mimeFromSelection(textCursor());
}

bool RichEdit::canInsertFromMimeData(const QMimeData *source) const {
    return source && (source->hasFormat(QStringLiteral("text/rtf")) ||
                      source->hasFormat(QStringLiteral("application/rtf")) || source->hasHtml() ||
                      source->hasText() || source->hasImage());
}

void RichEdit::insertFromMimeData(const QMimeData *source) {
    QTextCursor c = textCursor();
    if (insertMime(source, c)) {
        setTextCursor(c);
        ensureCursorVisible();
    }
}

void RichEdit::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Insert &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        setOverwriteMode(!overwriteMode());
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
        !(event->modifiers() & ~Qt::ShiftModifier) && !isReadOnly()) {
        QTextCursor c = textCursor();
        const bool out = event->key() == Qt::Key_Backtab || event->modifiers() & Qt::ShiftModifier;
        if (changeListLevel(c, out ? -1 : 1)) { // at the start of a list item: its level
            setTextCursor(c);
            event->accept();
            return;
        }
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() &&
        textLength() - selLength() + text.size() > m_textLimit) {
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

} // namespace tessary
