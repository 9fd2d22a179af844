#include "html/anchors.h"

#include "html/tanchorform.h"
#include "platform/services.h"
#include "richtext/richedit.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace tessary {

namespace {
// A destination anchor whose text starts with one of these and is longer than the length
// given is an address: the page links to its text instead of naming it.
struct AddressPrefix {
    const char *prefix;
    int longerThan;
};
constexpr AddressPrefix kAddressPrefixes[] = {
    {"http://", 7}, {"file://", 7}, {"mailto:", 7}, {"ftp://", 6}, {"gopher://", 9},
};

// Only the byte counts: a value read from a foreign file must not index past the tables.
int numberOf(const CharAttributes &a) {
    return (a.pitchAndFamily & 0xFF) >> 2;
}

bool isAnchor(const CharAttributes &a) {
    return a.underline &&
           (Anchors::IsDestAnchorColor(a.color) || Anchors::IsSrcAnchorColor(a.color));
}
} // namespace

struct Anchors::Walk {
    int runStart = 0;
    int runLength = 0;
    int runNumber = 0;
    int lastListed = -1;
};

Anchors::Anchors(RichEdit *editor, QWidget *window, QObject *parent)
    : QObject(parent)
    , m_editor(editor) {
    m_form = new TAnchorForm(*this, window);
    ResetAnchorTables();
}

int Anchors::AnchorNumberOf(const RichEdit *control) {
    return numberOf(control->selAttributes());
}

void Anchors::ResetAnchorTables() {
    FreeAnchors.fill(1);
    DestAnchors.fill(0);
    UrlAnchors.fill(0);
    SrcAnchors.fill(0);
}

// Each display line is read as runs of equal attributes, which is the same as reading it
// character by character. Anchors side by side are told apart by kind and number, as the
// page tells them apart, so each registers under its own number.
void Anchors::ScanAnchors() {
    ResetAnchorTables();
    RichEdit *editor = m_editor;
    const RichEdit::UpdateGroup group(*m_editor);
    const int lines = editor->lineCount();
    for (int line = 0; line < lines; ++line) {
        int inside = -1; // kind and number of the anchor being read, as one value
        for (const auto &run :
             editor->attributeRuns(editor->lineStart(line), editor->lineLength(line))) {
            if (!isAnchor(run.attributes)) {
                inside = -1;
                continue;
            }
            const bool source = IsSrcAnchorColor(run.attributes.color);
            const int n = numberOf(run.attributes);
            const int id = n + (source ? kAnchorCount : 0);
            if (id == inside)
                continue;
            inside = id;
            FreeAnchors[n] = 0;
            (source ? SrcAnchors : DestAnchors)[n] = 1;
        }
    }
}

void Anchors::GrabDestAnchors() {
    ResetAnchorTables();
    RichEdit *editor = m_editor;
    m_form->AnchorEditor->clear();
    const RichEdit::UpdateGroup group(*m_editor);
    Walk walk;
    const int lines = editor->lineCount();
    for (int line = 0; line < lines; ++line) {
        bool inside = false;
        walk.runLength = 0;
        for (const auto &run :
             editor->attributeRuns(editor->lineStart(line), editor->lineLength(line))) {
            const CharAttributes &a = run.attributes;
            if (a.underline && IsDestAnchorColor(a.color)) {
                // A neighbour with another number is an anchor of its own, as in the page.
                if (inside && numberOf(a) != walk.runNumber) {
                    ListDestAnchor(walk, walk.runNumber);
                    inside = false;
                }
                if (!inside) {
                    walk.runNumber = numberOf(a);
                    FreeAnchors[walk.runNumber] = 0;
                    DestAnchors[walk.runNumber] = 1;
                    walk.runStart = run.start;
                    inside = true;
                }
                walk.runLength += run.length;
                continue;
            }
            // A number held only by source anchors stays free after this rebuild.
            if (a.underline && IsSrcAnchorColor(a.color))
                SrcAnchors[numberOf(a)] = 1;
            inside = false;
            if (walk.runLength > 0)
                ListDestAnchor(walk, walk.runNumber);
        }
        if (walk.runLength > 0)
            ListDestAnchor(walk, walk.runNumber);
    }
    m_listedCount = m_form->AnchorEditor->lineCount();
}

// The run moves to the list as a document fragment, formats and numbers included, so the
// user's clipboard is never used as a transfer buffer.
void Anchors::ListDestAnchor(Walk &walk, int number) {
    QTextCursor source(m_editor->document());
    source.setPosition(walk.runStart);
    source.setPosition(walk.runStart + walk.runLength, QTextCursor::KeepAnchor);
    const QString text = source.selectedText().toLower();
    for (const AddressPrefix &p : kAddressPrefixes) {
        if (text.size() > p.longerThan && text.startsWith(QLatin1String(p.prefix))) {
            UrlAnchors[number] = 1;
            break;
        }
    }
    QTextCursor target(m_form->AnchorEditor->document());
    target.movePosition(QTextCursor::End);
    // Pieces of one anchor broken by a wrap share a list line; a new number starts a line.
    if (number != walk.lastListed && walk.lastListed != -1)
        target.insertBlock();
    target.insertFragment(QTextDocumentFragment(source));
    walk.lastListed = number;
    walk.runLength = 0;
}

int Anchors::NewDestAnchorNumber() {
    for (int n = 0; n < kAnchorCount; ++n) {
        if (FreeAnchors[n]) {
            FreeAnchors[n] = 0;
            DestAnchors[n] = 1;
            return n;
        }
    }
    return -1;
}

void Anchors::MarkAnchor(int number, quint32 color) {
    RichEdit *editor = m_editor;
    const RichEdit::UpdateGroup group(*m_editor);
    const auto runs = editor->attributeRuns(editor->selStart(), editor->selLength());
    for (const auto &run : runs) {
        CharAttributes a;
        // The low two bits are the font pitch and stay as they are.
        a.pitchAndFamily = (run.attributes.pitchAndFamily & 3) + 4 * number;
        a.color = color;
        a.underline = true;
        editor->setRangeAttributes(run.start, run.length, a,
                                   CharAttributes::Pitch | CharAttributes::Color |
                                       CharAttributes::Underline);
    }
}

bool Anchors::isAnchorAt(int position) const {
    const RichEdit *editor = m_editor;
    if (position < 0 || position >= editor->textLength() ||
        editor->charAt(position) == QChar::ParagraphSeparator)
        return false;
    return isAnchor(editor->charAttributesAt(position));
}

void Anchors::RemoveAnchorAt() {
    RichEdit *editor = m_editor;
    const RichEdit::UpdateGroup group(*m_editor);
    const int p0 = editor->selStart();
    // A caret just behind an anchor (the caret reads the character before it) means that one.
    int p = p0;
    if (!isAnchorAt(p) && isAnchorAt(p - 1))
        --p;
    if (isAnchorAt(p)) {
        int start = p;
        while (isAnchorAt(start - 1))
            --start;
        int end = p;
        while (isAnchorAt(end))
            ++end;
        CharAttributes plain;
        plain.color = rgbColor(0, 0, 0);
        plain.underline = false;
        editor->setRangeAttributes(start, end - start, plain,
                                   CharAttributes::Color | CharAttributes::Underline);
    }
    editor->setSelection(p0, 0);
}

void Anchors::HtmlSrcAnchorExecute() {
    const CharAttributes first = m_editor->selAttributes();
    if (first.underline && IsSrcAnchorColor(first.color)) {
        RemoveAnchorAt();
        return;
    }
    GrabDestAnchors();
    m_form->setChooseMode();
    m_form->exec();
}

void Anchors::HtmlDestAnchorExecute() {
    const CharAttributes first = m_editor->selAttributes();
    if (first.underline && IsDestAnchorColor(first.color)) {
        RemoveAnchorAt();
        return;
    }
    const int n = NewDestAnchorNumber();
    if (n < 0) {
        Services::dialogs().message(m_editor->window(), QStringLiteral("Tessary"),
                                    QStringLiteral("Too many destination anchors"),
                                    QMessageBox::NoIcon);
        return;
    }
    MarkAnchor(n, kDestAnchorColor);
}

} // namespace tessary
