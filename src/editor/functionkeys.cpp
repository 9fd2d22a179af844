#include "editor/functionkeys.h"

#include "editor/notationfaces.h"
#include "editor/notationtyping.h"
#include "editor/palettes.h"
#include "editor/palettetables.h"
#include "richtext/richedit.h"
#include "rtf/codepage.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

namespace tessary {

namespace {
const QChar kGreekFlag = QLatin1Char('0');
const QChar kSymbolFlag = QLatin1Char('1');
const QChar kBlank = QLatin1Char(' ');
const QString kUnassigned = QStringLiteral("  ");
// On a large-fonts screen the hint panel is narrowed and shortened by these factors.
constexpr double kLargeHintWidth = 0.82;
constexpr double kLargeHintHeight = 0.92;

QToolButton *keyButton(QWidget *row, const QString &name, int tag) {
    auto *button = new QToolButton(row);
    button->setObjectName(name);
    CharacterButton::setTag(button, tag);
    button->setFixedSize(23, 25);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QFrame *bevel(QWidget *row) {
    auto *frame = new QFrame(row);
    frame->setFrameShape(QFrame::VLine);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setFixedSize(4, 23);
    return frame;
}
} // namespace

FunctionKeys::FunctionKeys(EditorContext &context, Palettes &owner, QObject *parent)
    : QObject(parent)
    , m(context)
    , w(owner.bars())
    , palettes(owner) {
    buildBar();
    buildHint();
    palettes.setFunctionKeyAssigner([this](QToolButton *button) { AssignFromPalette(button); });
    // Known by address: an editor being destroyed must not be asked for its viewport.
    m_viewport = m.Editor->viewport();
    m_viewport->installEventFilter(this);
}

void FunctionKeys::buildBar() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    w.FnKeyToolBar->setFont(font);
    QPalette colours = w.FnKeyToolBar->palette();
    colours.setColor(QPalette::ButtonText, Qt::blue);
    w.FnKeyToolBar->setPalette(colours);

    // The keys start where the palette rows above them start.
    QLayout *layout = addPaletteRow(w.FnKeyToolBar);
    QWidget *row = layout->parentWidget();
    layout->addWidget(bevel(row)); // rows centre shorter items on their line
    for (int key = kFirstKey; key <= kLastKey; ++key) {
        KeyPair &pair = m_keys[size_t(key - kFirstKey)];
        const QString name = QStringLiteral("F%1").arg(key);
        pair.definition =
            keyButton(row, name + QStringLiteral("DefButton"), Tag::FirstDefinition + key);
        pair.definition->setText(name.toLower());
        pair.definition->setToolTip(definitionHint(key));
        pair.definition->setCheckable(true);
        pair.definition->setAccessibleName(name + QStringLiteral(": assign a character"));
        pair.value = keyButton(row, name + QStringLiteral("ValButton"), Tag::FirstValue + key);
        pair.value->setAccessibleName(name + QStringLiteral(": unassigned"));
        layout->addWidget(pair.definition);
        layout->addWidget(pair.value);
        layout->addWidget(bevel(row));
    }
}

void FunctionKeys::buildHint() {
    auto label = [this](const QString &name, const QString &text) {
        auto *l = new QLabel(text, w.FnHint);
        l->setObjectName(name);
        return l;
    };
    // Three lines: "... to F5," / "click ... From then on," / "F5 becomes its shorthand key."
    FnLabel0 = label(QStringLiteral("FnLabel0"),
                     QStringLiteral("To assign one of the above characters to"));
    FnLabel1 = label(QStringLiteral("FnLabel1"), QStringLiteral("F2,"));
    Label2 = label(QStringLiteral("Label2"),
                   QStringLiteral("click the chosen character button. From then on,  "));
    FnLabel2 = label(QStringLiteral("FnLabel2"), QStringLiteral("F2"));
    FnLabel3 = label(QStringLiteral("FnLabel3"), QStringLiteral("becomes its shorthand key."));
    QFont bold; // only the weight: size and face come from the panel
    bold.setBold(true);
    FnLabel1->setFont(bold);
    FnLabel2->setFont(bold);
    FitHint(96, false);
}

void FunctionKeys::FitHint(int pixelsPerInch, bool largeFonts) {
    const double scale = pixelsPerInch > 0 ? pixelsPerInch / 96.0 : 1.0;
    auto scaled = [scale](int pixels) { return qRound(pixels * scale); };
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(scaled(10));
    w.FnHint->setFont(font);
    m_largeFonts = largeFonts;
    m_hintMargin = scaled(8);
    m_hintSize = QSize(scaled(245), scaled(56));
    if (largeFonts)
        m_hintSize = QSize(int(std::ceil(m_hintSize.width() * kLargeHintWidth)),
                           int(std::ceil(m_hintSize.height() * kLargeHintHeight)));
    const int lines[] = {5, 21, 37};
    for (auto [first, row] : {std::pair{FnLabel0, 0}, {Label2, 1}, {FnLabel2, 2}})
        first->move(m_hintMargin, scaled(lines[row]));
    FnLabel1->move(FnLabel1->x(), FnLabel0->y());
    FnLabel3->move(FnLabel3->x(), FnLabel2->y());
    arrangeHintLabels();
}

void FunctionKeys::arrangeHintLabels() {
    for (QLabel *l : {FnLabel0, FnLabel1, Label2, FnLabel2, FnLabel3})
        l->adjustSize();
    // On a large-fonts screen the key's name stands further off the text before it.
    const int gap = m_largeFonts ? 14 - m_hintMargin : 4;
    FnLabel1->move(FnLabel0->x() + FnLabel0->width() + gap, FnLabel1->y());
    FnLabel3->move(FnLabel2->x() + FnLabel2->width() + (m_largeFonts ? 16 - m_hintMargin : 3),
                   FnLabel3->y());
    QSize needed = m_hintSize;
    for (const QLabel *l : {FnLabel1, Label2, FnLabel3})
        needed = needed.expandedTo(QSize(l->geometry().right() + 1 + m_hintMargin,
                                         l->geometry().bottom() + 1 + m_hintMargin / 2));
    w.FnHint->resize(needed);
}

QString FunctionKeys::definitionHint(int key) {
    return QStringLiteral("Click here to assign a character to F%1").arg(key);
}

QToolButton *FunctionKeys::definitionButton(int key) const {
    return key >= kFirstKey && key <= kLastKey ? m_keys[size_t(key - kFirstKey)].definition
                                               : nullptr;
}

QToolButton *FunctionKeys::valueButton(int key) const {
    return key >= kFirstKey && key <= kLastKey ? m_keys[size_t(key - kFirstKey)].value : nullptr;
}

void FunctionKeys::FnDefButtonClick(QToolButton *button) {
    // A second click on the pending key's button takes it back; a click on another key's
    // button moves the pending assignment there.
    const bool wasPending = FnKeyDefPair.definition == button;
    m.HideFnHint();
    if (wasPending)
        return;
    const int key = CharacterButton::tag(button) - Tag::FirstDefinition;
    button->setToolTip(QString());
    if (w.GreekToolBar->isHidden()) {
        palettes.GreekButtonClick();
        w.GreekAlphabetButton->setChecked(true);
    }
    if (w.SymbolToolBarA->isHidden()) {
        palettes.SymbolButtonClick();
        w.SymbolButton->setChecked(true);
    }
    const QString name = button->text().toUpper();
    FnLabel2->setText(name);
    FnLabel1->setText(name + QLatin1Char(','));
    arrangeHintLabels();
    placeHint(button);
    w.FnHint->raise();
    w.FnHint->show();
    button->setChecked(true);
    FnKeyDefPair = {button, valueButton(key)};
}

void FunctionKeys::placeHint(const QToolButton *button) {
    QWidget *window = w.FnHint->parentWidget();
    const int barTop = w.FnKeyToolBar->mapTo(window, QPoint(0, 0)).y();
    const int top = barTop + (w.FnKeyToolBar->height() * 3) / 2;
    int left = button->mapTo(window, QPoint(0, 0)).x();
    const int editorRight = m.Editor->mapTo(window, QPoint(m.Editor->width(), 0)).x();
    if (left + w.FnHint->width() > editorRight)
        left = editorRight - w.FnHint->width();
    w.FnHint->move(qMax(0, left), top);
}

void FunctionKeys::HideFnHint() {
    w.FnHint->hide();
    if (!FnKeyDefPair.definition)
        return;
    const int key = CharacterButton::tag(FnKeyDefPair.definition) - Tag::FirstDefinition;
    FnKeyDefPair.definition->setToolTip(definitionHint(key));
    FnKeyDefPair.definition->setChecked(false);
    FnKeyDefPair = {};
}

void FunctionKeys::AssignFromPalette(QToolButton *paletteButton) {
    QToolButton *value = FnKeyDefPair.value;
    m.HideFnHint();
    if (!value)
        return;
    CharacterButton::setCharacter(value, CharacterButton::face(paletteButton),
                                  CharacterButton::code(paletteButton));
    emit assignmentChanged();
}

void FunctionKeys::ReplayFunctionKey(int key) {
    if (QToolButton *value = valueButton(key))
        palettes.PaletteButtonClick(value);
}

void FunctionKeys::AppendFnKeyCode(const QToolButton *value, QString &text) const {
    const int code = CharacterButton::code(value);
    if (value->text().isEmpty() || code < 0 || code > 0xFF) {
        text += kUnassigned;
        return;
    }
    const QString face = CharacterButton::face(value);
    text += QChar(code);
    text += face == Face::GreekEven ? kGreekFlag : face == Face::SymbolEven ? kSymbolFlag : kBlank;
}

void FunctionKeys::LoadFnKeyButton(QToolButton *value, const QString &piece) {
    if (piece.size() < 2 || piece == kUnassigned)
        return;
    const QChar flag = piece.at(1);
    const QString face = flag == kGreekFlag ? Face::GreekEven
                         : flag == kBlank   ? kTextSymbolFace
                                            : Face::SymbolEven;
    // The piece holds the 8-bit code; a character beyond 8 bits is taken back to its code.
    int code = piece.at(0).unicode();
    if (code > 0xFF)
        code = CodePage::forCharset(charsetForFace(face)).fromUnicode(piece.at(0));
    // A piece that names no character of its face leaves the key unassigned.
    if (code <= 0 || NotationTyping::characterFor(face, uchar(code)).isNull())
        return;
    CharacterButton::setCharacter(value, face, code);
}

std::array<QString, FunctionKeys::kKeyCount> FunctionKeys::pieces() const {
    std::array<QString, kKeyCount> result;
    for (size_t i = 0; i < m_keys.size(); ++i)
        AppendFnKeyCode(m_keys[i].value, result[i]);
    return result;
}

void FunctionKeys::loadPieces(const std::array<QString, kKeyCount> &stored) {
    for (size_t i = 0; i < m_keys.size(); ++i)
        LoadFnKeyButton(m_keys[i].value, stored[i]);
}

bool FunctionKeys::eventFilter(QObject *watched, QEvent *event) {
    // A mouse button going down in the editor ends a pending assignment.
    if (event->type() == QEvent::MouseButtonPress && watched == m_viewport)
        m.HideFnHint();
    return QObject::eventFilter(watched, event);
}

} // namespace tessary
