#include "editor/formatting.h"

#include "editor/notationfaces.h"
#include "editor/notationtyping.h"
#include "platform/richedit.h"

#include <QComboBox>
#include <QToolButton>

namespace tessary {

Formatting::Formatting(MainParts &parts, NotationTyping &notation, QObject *parent)
    : QObject(parent)
    , m(parts)
    , m_notation(notation) {}

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
    m.BeginEditorUpdate();
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
    m.EndEditorUpdate();
}

void Formatting::invertEffect(CharAttributes::Field field) {
    m.HideFnHint();
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
    m.HideFnHint();
    RichEdit *editor = m.Editor;
    editor->setFocus();
    // With no entry chosen there is no face to apply; the size still is.
    const QString face = m.FontNameBox->currentText();
    const unsigned fields = face.isEmpty() ? unsigned(CharAttributes::Size)
                                           : CharAttributes::Face | CharAttributes::Size;
    if (editor->selLength() > 0) {
        const int size = m_notation.fontBoxSize();
        changeSelection(fields, [&](const CharAttributes &old, CharAttributes &changed) {
            if (IsNotationFont(old.face))
                return false;
            changed.face = face.isEmpty() ? QString() : caseAdjustedFace(face, old.face);
            changed.size = size;
            return true;
        });
        return;
    }
    if (face == kNotationEntry)
        m.FontSizeBox->setCurrentIndex(m.FontSizeBox->findText(QString::number(kNotationSize)));
    CharAttributes caret;
    caret.face = face;
    caret.size = m_notation.fontBoxSize();
    editor->setCaretAttributes(caret, fields);
}

void Formatting::FontSizeBoxClick() {
    m.HideFnHint();
    if (m_notation.inNotationMode())
        m.FontSizeBox->setCurrentIndex(m.FontSizeBox->findText(QString::number(kNotationSize)));
    FontNameBoxClick();
}

void Formatting::CaretFontButtonClick() {
    m.HideFnHint();
    const CharAttributes caret = m.Editor->caretAttributes();
    const QString name = IsNotationFont(caret.face) ? kNotationEntry : caret.face;
    const int size = caret.size;
    int nameIndex = m.FontNameBox->findText(name);
    int sizeIndex = 0;
    if (nameIndex >= 0)
        sizeIndex = m.FontSizeBox->findText(QString::number(size));
    else
        nameIndex = 0;
    QComboBox *names = m.FontNameBox;
    QComboBox *sizes = m.FontSizeBox;
    if (names->currentText() == name && m_notation.fontBoxSize() == size) {
        names->setCurrentIndex(m.SavedFontNameIndex);
        sizes->setCurrentIndex(m.SavedFontSizeIndex);
        return;
    }
    m.SavedFontNameIndex = names->currentIndex();
    m.SavedFontSizeIndex = sizes->currentIndex();
    names->setCurrentIndex(nameIndex);
    sizes->setCurrentIndex(sizeIndex);
    // A size the list lacks is shown greyed with no entry selected and stays the size in use.
    if (sizeIndex < 0)
        sizes->setPlaceholderText(size > 0 ? QString::number(size) : QString());
}

void Formatting::AlignButtonClick(int tag) {
    if (m.RulerDragging)
        return;
    ParaAttributes p = m.Editor->paraAttributes();
    p.alignment = tag == 1 ? Alignment::Right : tag == 2 ? Alignment::Center : Alignment::Left;
    m.Editor->setParaAttributes(p, ParaAttributes::AlignmentField);
}

void Formatting::BulletsButtonClick() {
    if (m.RulerDragging)
        return;
    RichEdit *editor = m.Editor;
    m.BeginEditorUpdate();
    ParaAttributes p = editor->paraAttributes();
    const int leftIndent = p.leftIndent;
    p.bullet = m.BulletsButton->isChecked();
    editor->setParaAttributes(p, ParaAttributes::Bullet);
    // Switching the bullet moves the indent; the paragraph keeps the one it had.
    p = editor->paraAttributes();
    p.leftIndent = leftIndent;
    editor->setParaAttributes(p, ParaAttributes::LeftIndent);
    m.EndEditorUpdate();
}

} // namespace tessary
