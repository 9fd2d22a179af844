#pragma once

#include <QList>
#include <QObject>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>
#include <optional>

class QTextBlock;

namespace tessary {

class RichEdit;
class SpellChecker;

// Underlines unknown words of the prose with a red wave. The underline is a format of the
// paragraphs' layouts, the kind an input method draws with: it is no character format, so
// the document, its undo history and every file written from it never see it. An edited
// paragraph is checked at once; the whole text is checked in short idle slices, the visible
// part first. Notation characters, anchor texts and words with digits are never checked,
// nor the word being typed at the caret until the caret leaves it.
class SpellHighlighter : public QObject {
    Q_OBJECT
public:
    struct Word {
        int start = 0;
        int length = 0;
        QString text;
        bool operator==(const Word &other) const = default;
    };

    SpellHighlighter(RichEdit *editor, SpellChecker &checker, QObject *parent = nullptr);

    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }
    // Every paragraph again, after the dictionary changed.
    void recheckAll();
    bool passPending() const { return m_sweep.isActive(); }
    // Runs the idle pass to its end at once, once a dictionary still being read is in.
    void finishPass();

    // The underlined word at or just before a document position.
    std::optional<Word> misspeltWordAt(int position) const;
    QList<Word> misspeltWords() const;

private:
    void contentsChange(int from, int removed, int added);
    void caretMoved();
    void sweepSlice(qint64 budgetMs);
    void checkBlock(const QTextBlock &block, bool spareCaretWord);
    void setMarks(const QTextBlock &block, const QList<QTextLayout::FormatRange> &marks);
    void flushMarks();
    QList<QTextLayout::FormatRange> unknownWords(const QTextBlock &block, bool spareCaretWord);

    RichEdit *m_editor;
    SpellChecker &m_checker;
    bool m_enabled = false;
    QTimer m_sweep;
    QTextCursor m_sweepAt;   // the next paragraph of the idle pass
    QTextCursor m_sweepStop; // where it began; the pass ends when it comes round to it
    bool m_wrapped = false;
    QTextCursor m_typedIn; // a paragraph whose word at the caret was spared
    int m_dirtyFrom = 0;   // the span of paragraphs whose marks changed, still to lay out
    int m_dirtyTo = -1;
};

} // namespace tessary
