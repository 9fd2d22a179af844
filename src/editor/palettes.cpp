#include "editor/palettes.h"

#include "editor/fontboxes.h"
#include "editor/notationfaces.h"
#include "editor/notationtyping.h"
#include "richtext/richedit.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QEvent>
#include <QLayout>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <array>

namespace tessary {

namespace {
const char *const kTagProperty = "Tag";
const char *const kCodeProperty = "Code";
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 25;
static_assert(kPaletteRowWidth == 34 * kButtonWidth);

// The row's buttons left to right, wrapping onto further lines when the row is narrower than
// they are, so every button stays in reach in a narrow window.
class FlowRow : public QLayout {
public:
    explicit FlowRow(QWidget *row)
        : QLayout(row) {
        setContentsMargins(0, 0, 0, 0);
        setSpacing(0);
    }
    ~FlowRow() override {
        while (QLayoutItem *item = takeAt(0))
            delete item;
    }
    void addItem(QLayoutItem *item) override { m_items.append(item); }
    int count() const override { return int(m_items.size()); }
    QLayoutItem *itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem *takeAt(int index) override {
        return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
    }
    QSize sizeHint() const override { return {kPaletteRowWidth, kButtonHeight}; }
    QSize minimumSize() const override { return {kButtonWidth, kButtonHeight}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return place(QRect(0, 0, width, 0), false); }
    void setGeometry(const QRect &rect) override {
        QLayout::setGeometry(rect);
        place(rect, true);
    }

private:
    // The height the lines take at the rect's width; `apply` moves the buttons there.
    int place(const QRect &rect, bool apply) const {
        int x = rect.x(), y = rect.y();
        for (QLayoutItem *item : m_items) {
            const QSize size = item->sizeHint();
            if (x > rect.x() && x + size.width() > rect.x() + rect.width()) {
                x = rect.x();
                y += kButtonHeight;
            }
            if (apply)
                item->setGeometry(QRect(QPoint(x, y + (kButtonHeight - size.height()) / 2), size));
            x += size.width();
        }
        return y + kButtonHeight - rect.y();
    }

    QList<QLayoutItem *> m_items;
};

// A tool bar spaces and frames its items by the style and ignores contents margins, which
// would leave no room for 25-pixel buttons in a 25-pixel bar; the row is therefore not an
// item of the bar but a child that this keeps centred, as on a full-width window. A bar
// narrower than the row grows a line for each wrap of the row.
class RowCentring : public QObject {
public:
    RowCentring(QToolBar *bar, QWidget *row)
        : QObject(row)
        , m_row(row) {
        bar->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
            auto *bar = static_cast<QWidget *>(watched);
            const int width = bar->width();
            const int rowWidth = qMin(width, kPaletteRowWidth);
            const int height = qMax(kButtonHeight, m_row->layout()->heightForWidth(rowWidth));
            m_row->setFixedSize(rowWidth, height);
            m_row->move(qMax(0, (width - rowWidth) / 2), 0);
            if (bar->height() != height)
                bar->setFixedHeight(height);
        }
        return false;
    }

private:
    QWidget *m_row;
};

bool isTextSymbol(const QString &face, int code) {
    return face == kTextSymbolFace &&
           (code == 0x80 || code == 0xA9 || code == 0xAE || code == 0x99);
}
} // namespace

namespace CharacterButton {

int tag(const QToolButton *button) {
    return button->property(kTagProperty).toInt();
}

void setTag(QToolButton *button, int tag) {
    button->setProperty(kTagProperty, tag);
}

int code(const QToolButton *button) {
    const QVariant v = button->property(kCodeProperty);
    return v.isValid() ? v.toInt() : -1;
}

QString face(const QToolButton *button) {
    return button->font().family();
}

void setCharacter(QToolButton *button, const QString &face, int code) {
    QFont font = button->font();
    font.setFamily(face);
    font.setPointSize(kNotationSize);
    button->setFont(font);
    QPalette colours = button->palette();
    colours.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(colours);
    button->setProperty(kCodeProperty, code);
    const bool shown = code >= 0 && code <= 0xFF;
    button->setText(shown ? QString(NotationTyping::characterFor(face, uchar(code))) : QString());
    // The glyph of a notation face says nothing to a screen reader; the button's name does.
    const int key = tag(button) - Tag::FirstValue;
    const QString hint = shown ? paletteHint(face, code) : QString();
    if (key >= 0 && tag(button) < Tag::FirstDefinition)
        button->setAccessibleName(QStringLiteral("F%1: %2").arg(key).arg(
            hint.isEmpty() ? (shown ? button->text() : QStringLiteral("unassigned")) : hint));
    else
        button->setAccessibleName(hint.isEmpty() ? QStringLiteral("empty") : hint);
}

} // namespace CharacterButton

QLayout *addPaletteRow(QToolBar *bar) {
    auto *row = new QWidget(bar);
    row->setObjectName(bar->objectName() + QStringLiteral("Row"));
    row->setFixedSize(kPaletteRowWidth, kButtonHeight);
    bar->setFixedHeight(kButtonHeight); // the bar's own size hint knows nothing of the row
    auto *layout = new FlowRow(row);
    new RowCentring(bar, row); // owned by the row
    return layout;
}

Palettes::Palettes(EditorContext &context, const PaletteBars &bars, NotationTyping &notation,
                   QObject *parent)
    : QObject(parent)
    , m(context)
    , w(bars)
    , typing(notation) {
    buildBar(w.GreekToolBar, greekPalette());
    buildBar(w.SymbolToolBarA, symbolPaletteA());
    buildBar(w.SymbolToolBarB, symbolPaletteB());
}

void Palettes::buildBar(QToolBar *bar, const QList<PaletteEntry> &entries) {
    QLayout *layout = addPaletteRow(bar);
    for (const PaletteEntry &entry : entries) {
        auto *button = new QToolButton(layout->parentWidget());
        button->setObjectName(QStringLiteral("PaletteButton%1").arg(entry.tag));
        CharacterButton::setTag(button, entry.tag);
        button->setFixedSize(kButtonWidth, kButtonHeight);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus); // the caret stays in the editor
        button->setToolTip(QString::fromLatin1(entry.hint));
        CharacterButton::setCharacter(button, entry.face, entry.code);
        layout->addWidget(button);
    }
}

void Palettes::AssignPaletteHandlers(QWidget *window,
                                     const std::function<void(QToolButton *)> &definitionClick) {
    const QList<QToolButton *> buttons = window->findChildren<QToolButton *>();
    for (QToolButton *button : buttons) {
        const int tag = CharacterButton::tag(button);
        if (tag < 1)
            continue;
        disconnect(button, &QToolButton::clicked, this, nullptr); // wired once, however called
        if (tag >= Tag::FirstDefinition) {
            connect(button, &QToolButton::clicked, this,
                    [definitionClick, button] { definitionClick(button); });
            continue;
        }
        connect(button, &QToolButton::clicked, this,
                [this, button] { PaletteButtonClick(button); });
        QFont font = button->font();
        font.setPointSize(kNotationSize);
        button->setFont(font);
    }
}

void Palettes::setFunctionKeyAssigner(std::function<void(QToolButton *)> assign) {
    m_assign = std::move(assign);
}

void Palettes::PaletteButtonClick(QToolButton *button) {
    const int tag = CharacterButton::tag(button);
    if (!w.FnHint->isHidden() && tag < Tag::FirstValue) {
        if (m_assign)
            m_assign(button);
        return;
    }
    m.HideFnHint(); // a value button is another command: it ends a pending assignment
    const QString face = CharacterButton::face(button);
    const int code = CharacterButton::code(button);
    if (isTextSymbol(face, code)) {
        // Set in the text face the boxes show; in notation mode the boxes name no real face.
        const QString target = typing.inNotationMode() ? kTextSymbolFace : typing.fonts().face();
        typing.InsertWithFont(target, QString(NotationTyping::characterFor(face, uchar(code))));
        return;
    }
    if (!typing.inNotationMode())
        typing.fonts().EnterNotationMode();
    if (code < 0 || code > 0xFF) {
        return; // an empty button enters notation mode and inserts nothing, in either mode
    }
    if (face != Face::SymbolEven) {
        typing.InsertWithFont(face, uchar(code));
        return;
    }
    insertSymbol(code);
}

void Palettes::insertSymbol(int code) {
    typing.InsertWithFont(Face::SymbolEven, uchar(insertedSymbolCode(code)));
    const BracketPiece piece = bracketPieceOf(code);
    if (piece == BracketPiece::None)
        return;
    RefreshLastCharacter();
    if (piece == BracketPiece::Bottom)
        return;
    // The next piece of a tall bracket goes straight below this one.
    MoveCaretPadded(CaretMove::Left);
    MoveCaretPadded(CaretMove::Down);
}

void Palettes::RefreshLastCharacter() {
    // The control redraws an inserted character itself, so the piece is only repainted; the
    // clipboard is never involved.
    m.Editor->viewport()->update();
}

void Palettes::MoveCaretPadded(CaretMove move) {
    RichEdit *editor = m.Editor;
    editor->collapseSelection();
    if (move == CaretMove::Left) {
        editor->sendKey(Qt::Key_Left);
        return;
    }
    const int x0 = editor->caretPixelPos().x();
    const int start = editor->selStart();
    if (editor->caretPos().y() >= editor->lineCount() - 1) {
        editor->replaceRange(editor->textLength(), 0, QStringLiteral("\n"), CharAttributes(), 0);
        editor->setSelStart(start);
    }
    editor->sendKey(Qt::Key_Down);
    padCaretLineTo(x0);
    // From the upper line again, so that the control lands the caret nearest to x0.
    editor->setSelStart(start);
    editor->sendKey(Qt::Key_Down);
}

void Palettes::padCaretLineTo(int x0) {
    RichEdit *editor = m.Editor;
    // Only a line that ends short of x0 is lengthened: a space inside a longer line would
    // change its text.
    auto atParagraphEnd = [editor] {
        return editor->charAt(editor->selStart()) == QChar::ParagraphSeparator;
    };
    // Padding goes in front of the caret even in overwrite mode, so the line break stays.
    const bool insertMode = m.InsertMode;
    m.InsertMode = true;
    int x = editor->caretPixelPos().x();
    while (x < x0 && atParagraphEnd()) {
        typing.InsertWithFont(Face::LatinEven, QStringLiteral(" "));
        const int next = editor->caretPixelPos().x();
        if (next <= x)
            break; // the line wrapped or the text limit was reached
        x = next;
    }
    m.InsertMode = insertMode;
}

void Palettes::toggleBars(std::initializer_list<QToolBar *> inverted) {
    m.HideFnHint();
    const std::array<QToolBar *, 4> bars = {w.GreekToolBar, w.SymbolToolBarA, w.SymbolToolBarB,
                                            w.FnKeyToolBar};
    std::array<bool, 4> show{};
    for (size_t i = 0; i < bars.size(); ++i) {
        const bool flip = std::find(inverted.begin(), inverted.end(), bars[i]) != inverted.end();
        show[i] = bars[i]->isHidden() == flip;
    }
    // The column layout stacks the shown bars 25 pixels apart in their fixed order.
    for (size_t i = 0; i < bars.size(); ++i)
        bars[i]->setVisible(show[i]);
    if (QLayout *column = w.GreekToolBar->parentWidget()->layout())
        column->activate();
}

void Palettes::GreekButtonClick() {
    toggleBars({w.GreekToolBar});
}

void Palettes::SymbolButtonClick() {
    toggleBars({w.SymbolToolBarA, w.SymbolToolBarB});
}

void Palettes::FunctionKeyButtonClick() {
    toggleBars({w.FnKeyToolBar});
}

} // namespace tessary
