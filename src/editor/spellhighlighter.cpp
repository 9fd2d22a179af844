#include "editor/spellhighlighter.h"

#include "editor/notationfaces.h"
#include "editor/spellchecker.h"
#include "richtext/richedit.h"
#include "rtf/textformat.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>

namespace tessary {

namespace {
// Marks the layout formats that are ours, so an input method's own formats stay.
constexpr int kSpellMark = QTextFormat::UserProperty + 0x5E11;
// A paste or a load larger than this is left to the idle pass.
constexpr int kCheckAtOnce = 4000;
// Laying the marked paragraphs out again at the end of a slice costs about as much again.
constexpr qint64 kSliceMs = 4;

QTextCharFormat waveFormat() {
    QTextCharFormat f;
    f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    f.setUnderlineColor(Qt::red);
    f.setProperty(kSpellMark, true);
    return f;
}

// Anchor texts are underlined in an anchor colour (full blue or full red).
bool isAnchorText(const QTextCharFormat &f) {
    if (!f.fontUnderline() || !f.hasProperty(QTextFormat::ForegroundBrush))
        return false;
    const QColor c = f.foreground().color();
    return (c.blue() & 0xF0) == 0xF0 || (c.red() & 0xF0) == 0xF0;
}

bool isWordLetter(QChar c) {
    return c.isLetter() || c.isMark() || c.isDigit();
}
bool isApostrophe(QChar c) {
    return c == u'\'' || c == u'\u2019';
}
} // namespace

SpellHighlighter::SpellHighlighter(RichEdit *editor, SpellChecker &checker, QObject *parent)
    : QObject(parent)
    , m_editor(editor)
    , m_checker(checker) {
    m_sweep.setInterval(0);
    connect(&m_sweep, &QTimer::timeout, this, [this] { sweepSlice(kSliceMs); });
    connect(editor->document(), &QTextDocument::contentsChange, this,
            &SpellHighlighter::contentsChange);
    connect(editor, &QTextEdit::cursorPositionChanged, this, &SpellHighlighter::caretMoved);
}

void SpellHighlighter::setEnabled(bool on) {
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (on) {
        recheckAll();
        return;
    }
    m_sweep.stop();
    m_typedIn = QTextCursor();
    const QTextDocument *doc = m_editor->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        setMarks(b, {});
    flushMarks();
}

void SpellHighlighter::recheckAll() {
    if (!m_enabled)
        return;
    // From the first paragraph on screen, round to it again.
    QTextDocument *doc = m_editor->document();
    const int top = m_editor->cursorForPosition(QPoint(0, 0)).block().position();
    m_sweepAt = QTextCursor(doc);
    m_sweepAt.setPosition(top);
    m_sweepStop = m_sweepAt;
    m_wrapped = false;
    m_sweep.start();
}

void SpellHighlighter::finishPass() {
    // A dictionary still being read is waited for: its arrival starts the pass.
    m_checker.ready();
    while (m_sweep.isActive())
        sweepSlice(1000);
}

void SpellHighlighter::sweepSlice(qint64 budgetMs) {
    QElapsedTimer clock;
    clock.start();
    const QTextDocument *doc = m_editor->document();
    do {
        const QTextBlock block = doc->findBlock(m_sweepAt.position());
        if (m_wrapped && block.position() >= m_sweepStop.position()) {
            m_sweep.stop();
            break;
        }
        checkBlock(block, false);
        const QTextBlock next = block.next();
        if (next.isValid()) {
            m_sweepAt.setPosition(next.position());
        } else if (!m_wrapped) {
            flushMarks(); // the span must not reach round from the end to the start
            m_wrapped = true;
            m_sweepAt.setPosition(0);
        } else {
            m_sweep.stop();
            break;
        }
    } while (clock.elapsed() < budgetMs);
    flushMarks();
}

void SpellHighlighter::contentsChange(int from, int, int added) {
    if (!m_enabled)
        return;
    if (added > kCheckAtOnce) {
        recheckAll();
        return;
    }
    const QTextDocument *doc = m_editor->document();
    const QTextBlock last = doc->findBlock(from + added);
    for (QTextBlock b = doc->findBlock(from); b.isValid(); b = b.next()) {
        checkBlock(b, true);
        if (b == last)
            break;
    }
    flushMarks();
}

void SpellHighlighter::caretMoved() {
    if (!m_enabled || m_typedIn.isNull())
        return;
    // The spared word is judged once the caret has left it.
    const QTextBlock block = m_editor->document()->findBlock(m_typedIn.position());
    const bool stillThere = m_editor->textCursor().block() == block;
    if (!stillThere)
        m_typedIn = QTextCursor();
    checkBlock(block, stillThere);
    flushMarks();
}

QList<QTextLayout::FormatRange> SpellHighlighter::unknownWords(const QTextBlock &block,
                                                               bool spareCaretWord) {
    QList<QTextLayout::FormatRange> marks;
    const QString text = block.text();
    if (text.isEmpty())
        return marks;
    // Only the prose: notation faces and anchor texts are left out character by character.
    QList<bool> prose(text.size(), true);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat f = fragment.charFormat();
        if (IsNotationFont(faceOf(f)) || isAnchorText(f)) {
            const int start = fragment.position() - block.position();
            for (int i = start; i < start + fragment.length() && i < text.size(); ++i)
                prose[i] = false;
        }
    }
    const int caret = m_editor->textCursor().position() - block.position();
    bool spared = false;
    static const QTextCharFormat wave = waveFormat();
    for (int i = 0; i < text.size();) {
        if (!isWordLetter(text[i])) {
            ++i;
            continue;
        }
        const int start = i;
        bool digits = false, checkable = true;
        while (i < text.size() &&
               (isWordLetter(text[i]) || (isApostrophe(text[i]) && i + 1 < text.size() &&
                                          text[i + 1].isLetter() && i > start))) {
            digits = digits || text[i].isDigit();
            checkable = checkable && prose[i];
            ++i;
        }
        const int length = i - start;
        if (digits || !checkable || length < 2)
            continue;
        if (spareCaretWord && caret >= start && caret <= i) {
            spared = true;
            continue;
        }
        if (!m_checker.isKnown(text.mid(start, length)))
            marks.append({start, length, wave});
    }
    if (spared) {
        m_typedIn = QTextCursor(m_editor->document());
        m_typedIn.setPosition(block.position());
    }
    return marks;
}

void SpellHighlighter::checkBlock(const QTextBlock &block, bool spareCaretWord) {
    if (block.isValid())
        setMarks(block, unknownWords(block, spareCaretWord));
}

void SpellHighlighter::setMarks(const QTextBlock &block,
                                const QList<QTextLayout::FormatRange> &marks) {
    QTextLayout *layout = block.layout();
    if (!layout)
        return;
    const QList<QTextLayout::FormatRange> old = layout->formats();
    QList<QTextLayout::FormatRange> kept, ours;
    for (const QTextLayout::FormatRange &r : old)
        (r.format.hasProperty(kSpellMark) ? ours : kept).append(r);
    if (ours == marks)
        return;
    layout->setFormats(kept + marks);
    const int end = block.position() + block.length();
    m_dirtyFrom = m_dirtyTo < 0 ? block.position() : qMin(m_dirtyFrom, block.position());
    m_dirtyTo = qMax(m_dirtyTo, end);
}

void SpellHighlighter::flushMarks() {
    if (m_dirtyTo < 0)
        return;
    // Lays out and repaints the marked paragraphs at once; the text and its formats are
    // untouched. One call for a whole slice, as every call starts the layout's own pass.
    const int from = m_dirtyFrom, to = m_dirtyTo;
    m_dirtyTo = -1;
    QTextDocument *doc = m_editor->document();
    doc->markContentsDirty(from, qMin(to, doc->characterCount()) - from);
}

std::optional<SpellHighlighter::Word> SpellHighlighter::misspeltWordAt(int position) const {
    const QTextBlock block = m_editor->document()->findBlock(position);
    if (!block.isValid() || !block.layout())
        return std::nullopt;
    const int at = position - block.position();
    for (const QTextLayout::FormatRange &r : block.layout()->formats()) {
        if (r.format.hasProperty(kSpellMark) && at >= r.start && at <= r.start + r.length)
            return Word{block.position() + r.start, r.length, block.text().mid(r.start, r.length)};
    }
    return std::nullopt;
}

QList<SpellHighlighter::Word> SpellHighlighter::misspeltWords() const {
    QList<Word> words;
    const QTextDocument *doc = m_editor->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (const QTextLayout::FormatRange &r : b.layout()->formats()) {
            if (r.format.hasProperty(kSpellMark))
                words.append({b.position() + r.start, r.length, b.text().mid(r.start, r.length)});
        }
    }
    return words;
}

} // namespace tessary
