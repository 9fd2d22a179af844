#include "editor/notationtyping.h"

#include "editor/fontboxes.h"
#include "richtext/richedit.h"
#include "rtf/codepage.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>

namespace tessary {

namespace {
constexpr unsigned char kNotationUnderscore = 0xF3;
constexpr quint32 kBlack = rgbColor(0, 0, 0);
constexpr quint32 kSilver = rgbColor(192, 192, 192);
constexpr unsigned kTypingFields =
    CharAttributes::Face | CharAttributes::Size | CharAttributes::Color | CharAttributes::Bold |
    CharAttributes::Italic | CharAttributes::Underline | CharAttributes::CharsetField;

bool ctrlAlone(const QKeyEvent *e) {
    return (e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) ==
           Qt::ControlModifier;
}
bool noModifiers(const QKeyEvent *e) {
    return (e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) == 0;
}

// The digit on a key of the main keyboard's top row, whatever the layout makes of it (AZERTY
// gives "&", "é", ...), or -1. X11 and Wayland number those keys 10 ("1") to 19 ("0");
// without a native code the key's own digit counts.
int topRowDigit(const QKeyEvent *e) {
    const quint32 code = e->nativeScanCode();
    if (code >= 10 && code <= 19)
        return code == 19 ? 0 : int(code) - 9;
    if (code == 0 && !(e->modifiers() & Qt::KeypadModifier) && e->key() >= Qt::Key_0 &&
        e->key() <= Qt::Key_9)
        return e->key() - Qt::Key_0;
    return -1;
}
} // namespace

NotationTyping::NotationTyping(EditorContext &context, FontBoxes &fonts,
                               const TypingControls &controls, QObject *parent)
    : QObject(parent)
    , m(context)
    , m_fonts(fonts)
    , m_controls(controls) {
    m.Editor->installEventFilter(this);
}

QChar NotationTyping::characterFor(const QString &face, unsigned char code) {
    return CodePage::forCharset(charsetForFace(face)).toUnicode(code);
}

bool NotationTyping::inNotationMode() const {
    return m_fonts.inNotationMode();
}

CharAttributes NotationTyping::typingAttributes(const QString &face, int size) const {
    CharAttributes a;
    a.face = face;
    a.size = size;
    a.color = kBlack;
    a.bold = m_controls.BoldButton->isChecked();
    a.italic = m_controls.ItalicButton->isChecked();
    a.underline = false;
    a.charset = charsetForFace(face);
    return a;
}

void NotationTyping::InsertWithFont(const QString &face, const QString &text) {
    if (text.isEmpty())
        return; // an empty button or unassigned key: overwriting with nothing would delete
    RichEdit *editor = m.Editor;
    const QString boxFace = m_fonts.face();
    const int boxSize = m_fonts.size();
    if (!m.InsertMode)
        selectOverwritten();
    const int size = IsNotationFont(face) ? kNotationSize : boxSize;
    editor->replaceSelection(text, typingAttributes(face, size), kTypingFields);
    editor->collapseSelection();
    // The caret takes the boxes' face again, never the notation entry's name: the control's
    // own insertions (a new paragraph) would carry it into the document.
    CharAttributes caret;
    caret.face = realFace(boxFace);
    caret.size = boxSize;
    caret.charset = charsetForFace(caret.face);
    editor->setCaretAttributes(caret, CharAttributes::Face | CharAttributes::Size |
                                          CharAttributes::CharsetField);
}

// Overwriting replaces the one character after the caret, never a line break, which would
// join two lines.
void NotationTyping::selectOverwritten() {
    RichEdit *editor = m.Editor;
    editor->collapseSelection();
    const QChar next = editor->charAt(editor->selStart());
    if (next != QChar::ParagraphSeparator && next != QChar::LineSeparator &&
        editor->selStart() < editor->textLength())
        editor->setSelLength(1);
}

void NotationTyping::InsertWithFont(const QString &face, unsigned char code) {
    InsertWithFont(face, QString(characterFor(face, code)));
}

void NotationTyping::NotationButtonClick() {
    m_fonts.toggleNotation();
}

void NotationTyping::ToggleInsertMode() {
    m.InsertMode = !m.InsertMode;
    m.Editor->setOverwriteMode(!m.InsertMode);
    m_controls.InsStateLabel->setText(m.InsertMode ? QStringLiteral("    Insert")
                                                   : QStringLiteral("Overwrite"));
}

void NotationTyping::DeleteCaretLine() {
    if (m.Editor->textLength() == 0)
        return;
    m.Editor->deleteLine(m.Editor->caretPos().y());
    m.Editor->collapseSelection();
}

void NotationTyping::ShiftBaseline(Shift direction) {
    RichEdit *editor = m.Editor;
    const int start = editor->selStart() - 1;
    if (start < 0)
        return;
    const QString face = editor->charAttributesAt(start).face;
    const QString shifted = shiftedFace(face, direction);
    if (shifted != face) {
        CharAttributes a;
        a.face = shifted;
        editor->setRangeAttributes(start, 1, a, CharAttributes::Face);
    }
    editor->setSelStart(start + 2);
}

void NotationTyping::WhitespaceButtonClick() {
    RichEdit *editor = m.Editor;
    const bool shown = m_controls.WhitespaceButton->isChecked();
    m_controls.WhitespaceButton->setText(shown ? QStringLiteral("\u2423")
                                               : QStringLiteral("\u00B7"));
    const int start = editor->selStart();
    const int end = start + editor->selLength();
    if (end == start)
        return;
    const RichEdit::UpdateGroup group(*editor);
    const QChar from = shown ? QLatin1Char(' ') : QLatin1Char('_');
    const QChar to = shown ? QLatin1Char('_') : QLatin1Char(' ');
    const quint32 fromColor = shown ? kBlack : kSilver;
    CharAttributes target;
    target.color = shown ? kSilver : kBlack;
    for (int position : editor->findCharacters(start, end, from)) {
        const CharAttributes a = editor->charAttributesAt(position);
        if (IsNotationFont(a.face) && a.color == fromColor)
            editor->replaceRange(position, 1, QString(to), target, CharAttributes::Color);
    }
    editor->setSelStart(start);
}

void NotationTyping::typeNotationSpace() {
    RichEdit *editor = m.Editor;
    CharAttributes face;
    face.face = Face::LatinEven;
    face.size = kNotationSize;
    face.charset = charsetForFace(Face::LatinEven);
    const unsigned faceFields =
        CharAttributes::Face | CharAttributes::Size | CharAttributes::CharsetField;
    editor->setSelAttributes(face, faceFields);
    editor->collapseSelection();
    const bool shown = m_controls.WhitespaceButton->isChecked();
    face.color = shown ? kSilver : kBlack;
    editor->replaceSelection(shown ? QStringLiteral("_") : QStringLiteral(" "), face,
                             faceFields | CharAttributes::Color);
}

bool NotationTyping::EditorKeyDown(QKeyEvent *e) {
    m.HideFnHint();
    const int key = e->key();
    if (const int digit = topRowDigit(e); ctrlAlone(e) && digit >= 0 && digit <= 3) {
        InsertWithFont(Face::SymbolEven, static_cast<unsigned char>(0xB0 + digit));
        return true;
    }
    if (noModifiers(e) && key == Qt::Key_F1) {
        emit helpRequested();
        return false;
    }
    if (noModifiers(e) && key >= Qt::Key_F2 && key <= Qt::Key_F12) {
        emit functionKeyPressed(2 + (key - Qt::Key_F2));
        return true;
    }
    if (noModifiers(e) && key == Qt::Key_Insert) {
        ToggleInsertMode(); // the keypad's Insert too; the control's mode follows InsertMode
        return true;
    }
    if (ctrlAlone(e) && key == Qt::Key_Y) {
        DeleteCaretLine();
        return true; // not passed on: the control would take Ctrl+Y as redo
    }
    if (ctrlAlone(e) && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        ShiftBaseline(key == Qt::Key_Up ? Shift::Up : Shift::Down);
        return true;
    }
    return false;
}

bool NotationTyping::EditorKeyPress(QKeyEvent *e) {
    if (e->key() == Qt::Key_Escape) {
        NotationButtonClick();
        return false;
    }
    const QString text = e->text();
    if (text.isEmpty() || text.at(0).unicode() < 32 || text.at(0) == QChar(0x7F))
        return false;
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false; // a shortcut, not a character
    typeCharacters(text);
    return true;
}

// Typed text, from a key or an input method (dead keys, composed characters), character by
// character.
void NotationTyping::typeCharacters(const QString &text) {
    RichEdit *editor = m.Editor;
    for (QChar c : text) {
        const bool notation = inNotationMode();
        if (notation && c == u'_') {
            InsertWithFont(Face::SymbolEven, kNotationUnderscore);
            continue;
        }
        if (notation && c == u' ') {
            typeNotationSpace();
            continue;
        }
        if (c.unicode() < 32 || c.unicode() == 0x7F)
            continue;
        const CharAttributes a = notation ? typingAttributes(Face::LatinEven, kNotationSize)
                                          : typingAttributes(m_fonts.face(), m_fonts.size());
        // A selection is replaced and nothing more, as one undo step; overwriting without
        // one replaces the next character in these attributes, not in its own.
        if (editor->selLength() == 0 && !m.InsertMode)
            selectOverwritten();
        editor->replaceSelection(QString(c), a, kTypingFields);
    }
    editor->ensureCursorVisible();
}

// Committed text follows the typing rules; a composition still under way is the control's.
bool NotationTyping::EditorInputMethod(QInputMethodEvent *e) {
    if (e->commitString().isEmpty() || e->replacementLength() != 0)
        return false;
    m.HideFnHint();
    typeCharacters(e->commitString());
    e->setCommitString(QString()); // the control still ends or updates the composition
    return false;
}

bool NotationTyping::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m.Editor && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (EditorKeyDown(key) || EditorKeyPress(key))
            return true;
    }
    if (watched == m.Editor && event->type() == QEvent::InputMethod)
        return EditorInputMethod(static_cast<QInputMethodEvent *>(event));
    return QObject::eventFilter(watched, event);
}

} // namespace tessary
