#include "editor/formatting.h"

#include "editor/fontboxes.h"
#include "editor/notationfaces.h"
#include "richtext/richedit.h"
#include "rtf/codepage.h"

#include <QToolButton>

namespace tessary {

Formatting::Formatting(EditorContext &context, FontBoxes &fonts, QToolButton *bulletsButton,
                       QObject *parent)
    : QObject(parent)
    , m(context)
    , m_fonts(fonts)
    , m_bullets(bulletsButton) {}

QString Formatting::caseAdjustedFace(const QString &face, const QString &oldFace) {
    QString adjusted = face;
    const qsizetype n = qMin<qsizetype>(5, qMin(face.size(), oldFace.size()));
    for (qsizetype i = 0; i < n; ++i) {
        const bool lower = oldFace.at(i).unicode() & 0x20;
        adjusted[i] = lower ? adjusted.at(i).toLower() : adjusted.at(i).toUpper();
    }
    return adjusted;
}

void Formatting::changeSelection(
    unsigned fields, const std::function<bool(const CharAttributes &, CharAttributes &)> &change) {
    RichEdit *editor = m.Editor;
    const int start = editor->selStart();
    const int length = editor->selLength();
    if (length == 0)
        return;
    const RichEdit::UpdateGroup group(*editor);
    // The runs are read before anything is written; writing leaves the selection in place.
    RichEdit::AttributeRun pending;
    auto flush = [&] {
        if (pending.length > 0)
            editor->setRangeAttributes(pending.start, pending.length, pending.attributes, fields);
        pending.length = 0;
    };
    for (const RichEdit::AttributeRun &run : editor->attributeRuns(start, length)) {
        CharAttributes changed;
        if (!change(run.attributes, changed)) {
            flush();
            continue;
        }
        if (pending.length > 0 && pending.start + pending.length == run.start &&
            pending.attributes == changed) {
            pending.length += run.length;
            continue;
        }
        flush();
        pending = {run.start, run.length, changed};
    }
    flush();
}

void Formatting::invertEffect(CharAttributes::Field field) {
    auto invert = [field](const CharAttributes &old, CharAttributes &changed) {
        changed.bold = field == CharAttributes::Bold ? !old.bold : false;
        changed.italic = field == CharAttributes::Italic ? !old.italic : false;
        changed.underline = field == CharAttributes::Underline ? !old.underline : false;
        return true;
    };
    RichEdit *editor = m.Editor;
    // Underline has no caret branch: its button is enabled only with a selection.
    if (editor->selLength() == 0 && field != CharAttributes::Underline) {
        CharAttributes caret;
        invert(editor->caretAttributes(), caret);
        editor->setCaretAttributes(caret, field);
        return;
    }
    changeSelection(field, invert);
}

void Formatting::BoldButtonClick() {
    invertEffect(CharAttributes::Bold);
}

void Formatting::ItalicButtonClick() {
    invertEffect(CharAttributes::Italic);
}

void Formatting::UnderlineButtonClick() {
    invertEffect(CharAttributes::Underline);
}

void Formatting::FontNameBoxClick() {
    RichEdit *editor = m.Editor;
    editor->setFocus();
    // With no entry chosen there is no face to apply; the size still is.
    const QString face = m_fonts.face();
    if (face == kNotationEntry) {
        applyNotationEntry();
        return;
    }
    const unsigned fields = face.isEmpty() ? unsigned(CharAttributes::Size)
                                           : CharAttributes::Face | CharAttributes::Size;
    if (editor->selLength() > 0) {
        const int size = m_fonts.size();
        changeSelection(fields, [&](const CharAttributes &old, CharAttributes &changed) {
            if (IsNotationFont(old.face))
                return false;
            changed.face = face.isEmpty() ? QString() : caseAdjustedFace(face, old.face);
            changed.size = size;
            return true;
        });
        return;
    }
    CharAttributes caret;
    caret.face = face;
    caret.size = m_fonts.size();
    editor->setCaretAttributes(caret, fields);
}

// The notation entry names no face: notation mode goes on at its fixed size, and prose in
// the selection takes the faces notation typing gives; notation characters keep theirs.
void Formatting::applyNotationEntry() {
    RichEdit *editor = m.Editor;
    m_fonts.selectNotationSize();
    constexpr unsigned fields =
        CharAttributes::Face | CharAttributes::Size | CharAttributes::CharsetField;
    auto notation = [](const QString &face) {
        CharAttributes a;
        a.face = face;
        a.size = kNotationSize;
        a.charset = charsetForFace(face);
        return a;
    };
    const int start = editor->selStart();
    const int length = editor->selLength();
    if (length == 0) {
        editor->setCaretAttributes(notation(Face::LatinEven), fields);
        return;
    }
    const QString text = editor->textCursor().selectedText();
    const RichEdit::UpdateGroup group(*editor);
    for (const RichEdit::AttributeRun &run : editor->attributeRuns(start, length)) {
        if (IsNotationFont(run.attributes.face))
            continue;
        const int end = run.start + run.length;
        for (int from = run.start; from < end;) {
            const QString face = evenFaceFor(text.at(from - start));
            int to = from + 1;
            while (to < end && evenFaceFor(text.at(to - start)) == face)
                ++to;
            editor->setRangeAttributes(from, to - from, notation(face), fields);
            from = to;
        }
    }
}

void Formatting::FontSizeBoxClick() {
    if (m_fonts.inNotationMode()) {
        m_fonts.selectNotationSize(); // notation has one size: nothing else to apply
        m.Editor->setFocus();
        return;
    }
    FontNameBoxClick();
}

void Formatting::CaretFontButtonClick() {
    m_fonts.toggleCaretFont(m.Editor->caretAttributes());
}

void Formatting::AlignButtonClick(int tag) {
    if (m.RulerDragging)
        return;
    ParaAttributes p = m.Editor->paraAttributes();
    p.alignment = tag == RightAlignTag    ? Alignment::Right
                  : tag == CenterAlignTag ? Alignment::Center
                                          : Alignment::Left;
    m.Editor->setParaAttributes(p, ParaAttributes::AlignmentField);
}

void Formatting::BulletsButtonClick() {
    if (m.RulerDragging)
        return;
    // Each selected paragraph keeps its own indents: the bullet takes its room from the list,
    // not from them.
    ParaAttributes p = m.Editor->paraAttributes();
    p.bullet = m_bullets->isChecked();
    m.Editor->setParaAttributes(p, ParaAttributes::Bullet);
}

} // namespace tessary
