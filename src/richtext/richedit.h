#pragma once

#include "richtext/madeupbold.h"
#include "rtf/textformat.h"

#include <QPoint>
#include <QTextEdit>
#include <memory>

class QPainter;

namespace tessary {

// The rich-text control. Every feature reads and writes the document through these
// operations, so positions, display lines and attributes mean the same everywhere.
// A paragraph break counts as one position.
class RichEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit RichEdit(QWidget *parent = nullptr);

    // Selection. Setting the start collapses the selection there; setting the length then
    // selects that many characters from the start.
    int selStart() const;
    int selLength() const;
    void setSelStart(int start);
    void setSelLength(int length);
    void setSelection(int start, int length);
    QString selText() const;
    void collapseSelection();
    int textLength() const;
    QChar charAt(int position) const;

    // Character attributes. For a selection, `consistent` tells which fields are the same
    // over every selected character; without one they are the caret's.
    CharAttributes selAttributes() const;
    CharAttributes caretAttributes() const;
    CharAttributes charAttributesAt(int position) const;
    // Writes the named fields onto the selection, or onto the caret without one.
    void setSelAttributes(const CharAttributes &attributes, unsigned fields);
    void setCaretAttributes(const CharAttributes &attributes, unsigned fields);

    ParaAttributes paraAttributes() const;
    // The attributes of the paragraph holding `position`, wherever the caret is.
    ParaAttributes paraAttributesAt(int position) const;
    // Writes the named fields onto every paragraph of the selection; each keeps the others.
    void setParaAttributes(const ParaAttributes &attributes, unsigned fields = ParaAttributes::All);

    void replaceSelection(const QString &text);
    // Replaces the selection by `text` set in the selection's (or caret's) attributes with
    // the named fields taken from `attributes`.
    void replaceSelection(const QString &text, const CharAttributes &attributes, unsigned fields);
    // The same on a range, leaving the selection alone.
    void replaceRange(int start, int length, const QString &text, const CharAttributes &attributes,
                      unsigned fields);
    void setRangeAttributes(int start, int length, const CharAttributes &attributes,
                            unsigned fields);
    // Positions of `c` in [start, end).
    QList<int> findCharacters(int start, int end, QChar c) const;
    // The characters of [start, start + length) as runs of equal attributes, in order, so a
    // per-character command can write each run at once. Paragraph breaks belong to no run.
    struct AttributeRun {
        int start = 0;
        int length = 0;
        CharAttributes attributes;
        bool operator==(const AttributeRun &other) const = default;
    };
    QList<AttributeRun> attributeRuns(int start, int length) const;

    // Display lines are the wrapped lines on screen; a last empty line is not counted.
    int lineCount() const;
    int lineFromChar(int position) const;
    int lineStart(int line) const;
    int lineLength(int line) const;
    QString lineText(int line) const;
    // Where display line `line` starts on screen, in pixels from the left edge of the text
    // (the document margin and a bullet's room not counted).
    int lineLeft(int line) const;
    // Where the caret paragraph's lines are measured from, in viewport pixels: the x at which
    // an indent of 0 starts (the document margin, plus a list's room for its bullet) and the
    // x of its right edge with no right indent.
    int paragraphOrigin() const;
    int paragraphRightEdge() const;
    // The width on screen, in pixels, of the character at `position`; a tab's reaches its stop.
    int charWidth(int position) const;
    void deleteLine(int line);
    // The caret as (column, line) and, in viewport pixels, its top-left corner.
    QPoint caretPos() const;
    QPoint caretPixelPos() const;

    // An upper bound on the text length for typing and replacing.
    void setTextLimit(int limit) { m_textLimit = limit; }
    int textLimit() const { return m_textLimit; }

    // Groups a character-by-character command into one undo step with one layout at the
    // end; the caret and selection are hidden meanwhile. Calls nest. Commands hold an
    // UpdateGroup rather than pairing the two calls by hand.
    void BeginEditorUpdate();
    void EndEditorUpdate();
    bool updating() const { return m_updateDepth > 0; }
    class UpdateGroup {
    public:
        explicit UpdateGroup(RichEdit &editor)
            : m_editor(editor) {
            m_editor.BeginEditorUpdate();
        }
        ~UpdateGroup() { m_editor.EndEditorUpdate(); }
        UpdateGroup(const UpdateGroup &) = delete;
        UpdateGroup &operator=(const UpdateGroup &) = delete;

    private:
        RichEdit &m_editor;
    };

    // Replaces the whole document: RTF when the data is RTF, else plain text (UTF-8 when it
    // is valid UTF-8, else Windows-1252). Data with NUL bytes is neither and fails,
    // leaving the document as it was.
    enum class LoadResult { Rtf, PlainText, Failed };
    LoadResult loadData(const QByteArray &data);
    QByteArray rtfData() const;

    // The view's magnification in percent. It lays the text out as on a screen of that many
    // times the resolution, so the document itself (its sizes, indents and the files written
    // from it) is the same at every scale; pixel measures above are on the scaled view.
    void setViewScale(int percent);
    int viewScale() const { return m_viewScale; }
    // Lays the text out at 100 % while it lives, for writers that measure the display lines.
    class UnscaledView {
    public:
        explicit UnscaledView(RichEdit &editor)
            : m_editor(editor)
            , m_scale(editor.viewScale()) {
            m_editor.setViewScale(100);
        }
        ~UnscaledView() { m_editor.setViewScale(m_scale); }
        UnscaledView(const UnscaledView &) = delete;
        UnscaledView &operator=(const UnscaledView &) = delete;

    private:
        RichEdit &m_editor;
        int m_scale;
    };

    // A key press delivered as if typed, e.g. Left or Down.
    void sendKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    bool canPaste() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // The clipboard carries RTF and plain text; pasting prefers RTF, then HTML, then text.
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    struct LinePos {
        int blockPosition = 0;
        int start = 0;  // document position of the line's first character
        int length = 0; // characters on the line, without a paragraph break
        bool endsBlock = false;
    };
    bool locateLine(int line, LinePos &found) const;
    QTextCharFormat formatAt(int position) const;
    ParaAttributes paraAttributesOf(const QTextBlock &block) const;
    // The room a list keeps left of its paragraphs' text, in pixels.
    qreal listRoom(const QTextBlock &block) const;
    QTextCharFormat mergedFormat(QTextCharFormat base, const CharAttributes &attributes,
                                 unsigned fields) const;
    void ensureLaidOut(int position) const;
    int totalDisplayLines() const;
    // First display line of every paragraph, by paragraph number; rebuilt after a change.
    const QList<int> &lineIndex() const;
    QTextBlock blockOfLine(int line) const;
    int firstLineOf(const QTextBlock &block) const;

    mutable QList<int> m_lineIndex;
    mutable int m_totalLines = 0;
    mutable bool m_lineIndexValid = false;
    qreal scale() const { return m_viewScale / 100.0; }
    // Overstrikes the bold in `area` that the screen's text engine leaves regular.
    void overstrikeBold(const QRect &area);
    void overstrikeLines(QPainter &painter, const QTextBlock &block, int firstLine, int lastLine,
                         QPointF origin);

    int m_textLimit = 2147483647;
    int m_viewScale = 100;
    std::unique_ptr<QPaintDevice> m_scaledDevice;
    MadeUpBold m_madeUpBold;
    int m_updateDepth = 0;
    int m_savedCursorWidth = 1;
    QTextCursor m_updateCursor;
};

} // namespace tessary
