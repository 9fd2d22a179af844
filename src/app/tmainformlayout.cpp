// The main window's fixed layout: tool bars, rulers, palettes, editor and status panel.
#include "app/tmainform.h"

#include "platform/richedit.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>

namespace tessary {

namespace {
const QColor kBackground(255, 227, 196);
const QColor kMaroon(128, 0, 0);
const QColor kFnHintColor(255, 216, 191);

QToolButton *attrButton(QToolBar *bar, const QString &name, const QString &caption,
                        const QString &hint, bool checkable) {
    auto *button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setCheckable(checkable);
    button->setFixedSize(40, 30);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

void fillWith(QWidget *w, const QColor &color) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, color);
    w->setPalette(p);
}
} // namespace

QWidget *TMainForm::panel(const QString &name, int height, const QColor &color) {
    auto *w = new QWidget(this);
    w->setObjectName(name);
    w->setFixedHeight(height);
    fillWith(w, color);
    return w;
}

QToolBar *TMainForm::buildAttrToolBar() {
    auto *bar = new QToolBar(QStringLiteral("Format"), this);
    bar->setObjectName(QStringLiteral("AttrToolBar"));
    bar->setFixedHeight(33);
    bar->setMovable(false);
    bar->setContentsMargins(6, 0, 0, 0);
    P.NotationButton = attrButton(bar, "NotationButton", QStringLiteral("Tn"),
                                  "To/from Tessary Notation (Esc)", false);
    P.FontNameBox = new QComboBox(bar);
    P.FontNameBox->setObjectName(QStringLiteral("FontNameBox"));
    P.FontNameBox->setToolTip(QStringLiteral("Current font name"));
    P.FontNameBox->setFixedWidth(191);
    P.FontNameBox->setEditable(false);
    bar->addWidget(P.FontNameBox);
    P.FontSizeBox = new QComboBox(bar);
    P.FontSizeBox->setObjectName(QStringLiteral("FontSizeBox"));
    P.FontSizeBox->setToolTip(QStringLiteral("Current font size"));
    P.FontSizeBox->setFixedWidth(50);
    bar->addWidget(P.FontSizeBox);
    P.CaretFontButton = attrButton(bar, "CaretFontButton", QStringLiteral("Aa"),
                                   "To/from Current  charater font", false);
    P.WhitespaceButton =
        attrButton(bar, "WhitespaceButton", QStringLiteral("\u00B7"), "Show/hide whitespace", true);
    P.BoldButton = attrButton(bar, "BoldButton", QStringLiteral("B"), "Bold", true);
    P.ItalicButton = attrButton(bar, "ItalicButton", QStringLiteral("I"), "Italic", true);
    P.UnderlineButton = attrButton(bar, "UnderlineButton", QStringLiteral("U"), "Underline", false);
    QFont f = P.BoldButton->font();
    f.setBold(true);
    P.BoldButton->setFont(f);
    f.setBold(false);
    f.setItalic(true);
    P.ItalicButton->setFont(f);
    f.setItalic(false);
    f.setUnderline(true);
    P.UnderlineButton->setFont(f);
    bar->addSeparator();
    P.GreekAlphabetButton = attrButton(bar, "GreekAlphabetButton", QStringLiteral("\u03B1\u03B2"),
                                       "Greek alphabet", true);
    P.SymbolButton = attrButton(bar, "SymbolButton", QStringLiteral("\u2211\u221E"),
                                "Math, line drawing symbols, etc.", true);
    P.FunctionKeyButton = attrButton(bar, "FunctionKeyButton", QStringLiteral("Fn"),
                                     "User defined function keys", true);
    bar->addSeparator();
    P.LeftAlignButton =
        attrButton(bar, "LeftAlignButton", QStringLiteral("\u2261\u2190"), "Left alignment", true);
    P.CenterAlignButton =
        attrButton(bar, "CenterAlignButton", QStringLiteral("\u2261"), "Center alignment", true);
    P.RightAlignButton = attrButton(bar, "RightAlignButton", QStringLiteral("\u2192\u2261"),
                                    "Right alignment", true);
    auto *align = new QButtonGroup(bar);
    align->setExclusive(true);
    align->addButton(P.LeftAlignButton, 0);
    align->addButton(P.RightAlignButton, 1);
    align->addButton(P.CenterAlignButton, 2);
    P.LeftAlignButton->setChecked(true);
    P.BulletsButton = attrButton(bar, "BulletsButton", QStringLiteral("\u2022"), "Bullets", true);
    return bar;
}

QToolBar *TMainForm::buildPaletteBar(const QString &name) {
    auto *bar = new QToolBar(name, this);
    bar->setObjectName(name);
    bar->setFixedHeight(25);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(23, 25));
    bar->hide();
    return bar;
}

QWidget *TMainForm::buildStatusPanel() {
    StatusPanel = new QWidget(this);
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    StatusPanel->setFixedHeight(13);
    auto *row = new QHBoxLayout(StatusPanel);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(6);
    auto label = [this, row](const QString &name, const QString &text, int stretch) {
        auto *l = new QLabel(text, StatusPanel);
        l->setObjectName(name);
        QFont font = l->font();
        font.setPixelSize(9);
        l->setFont(font);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, kMaroon);
        l->setPalette(p);
        row->addWidget(l, stretch);
        return l;
    };
    FileHeaderLabel = label(QStringLiteral("FileHeaderLabel"), QStringLiteral("File:"), 0);
    P.CurrentFileLabel = label(QStringLiteral("CurrentFileLabel"), QString(), 1);
    LineHeaderLabel = label(QStringLiteral("LineHeaderLabel"), QStringLiteral("Line"), 0);
    P.LineCountLabel = label(QStringLiteral("LineCountLabel"), QStringLiteral("1"), 0);
    P.LineCountLabel->setMinimumWidth(40);
    P.InsStateLabel = label(QStringLiteral("InsStateLabel"), QStringLiteral("    Insert"), 0);
    P.InsStateLabel->setMinimumWidth(60);
    return StatusPanel;
}

void TMainForm::buildLayout() {
    fillWith(this, kBackground);
    MainToolBar = new QToolBar(QStringLiteral("Main"), this);
    MainToolBar->setObjectName(QStringLiteral("MainToolBar"));
    MainToolBar->setFixedHeight(33);
    MainToolBar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, MainToolBar);
    addToolBarBreak(Qt::TopToolBarArea);
    AttrToolBar = buildAttrToolBar();
    addToolBar(Qt::TopToolBarArea, AttrToolBar);

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    P.UpperRulerPanel = panel(QStringLiteral("UpperRulerPanel"), 6, Qt::white);
    P.LowerRulerPanel = panel(QStringLiteral("LowerRulerPanel"), 4, Qt::white);
    P.ImplicitTabsPanel = panel(QStringLiteral("ImplicitTabsPanel"), 4, kMaroon);
    column->addWidget(P.UpperRulerPanel);
    column->addWidget(P.LowerRulerPanel);
    column->addWidget(P.ImplicitTabsPanel);
    P.GreekToolBar = buildPaletteBar(QStringLiteral("GreekToolBar"));
    P.SymbolToolBarA = buildPaletteBar(QStringLiteral("SymbolToolBarA"));
    P.SymbolToolBarB = buildPaletteBar(QStringLiteral("SymbolToolBarB"));
    P.FnKeyToolBar = buildPaletteBar(QStringLiteral("FnKeyToolBar"));
    for (QToolBar *bar : {P.GreekToolBar, P.SymbolToolBarA, P.SymbolToolBarB, P.FnKeyToolBar})
        column->addWidget(bar);

    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    Gutter = new QWidget(central);
    Gutter->setObjectName(QStringLiteral("Gutter"));
    Gutter->setFixedWidth(5);
    P.Gutter = Gutter;
    fillWith(Gutter, palette().color(QPalette::Base));
    P.Editor = new RichEdit(central);
    P.Editor->setObjectName(QStringLiteral("Editor"));
    P.Editor->setFrameShape(QFrame::NoFrame);
    P.Editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette ep = P.Editor->palette();
    ep.setColor(QPalette::Base, kBackground);
    ep.setColor(QPalette::Text, Qt::black);
    // The selection stays visible when the editor loses the focus.
    ep.setColor(QPalette::Inactive, QPalette::Highlight,
                ep.color(QPalette::Active, QPalette::Highlight));
    ep.setColor(QPalette::Inactive, QPalette::HighlightedText,
                ep.color(QPalette::Active, QPalette::HighlightedText));
    P.Editor->setPalette(ep);
    QFont editorFont(QStringLiteral("Arial"));
    editorFont.setPixelSize(13);
    P.Editor->document()->setDefaultFont(editorFont);
    row->addWidget(Gutter);
    row->addWidget(P.Editor, 1);
    column->addLayout(row, 1);
    Panel2 = panel(QStringLiteral("Panel2"), 5, kMaroon);
    column->addWidget(Panel2);
    column->addWidget(buildStatusPanel());
    setCentralWidget(central);

    P.FnHint = new QWidget(this);
    P.FnHint->setObjectName(QStringLiteral("FnHint"));
    P.FnHint->resize(245, 56);
    fillWith(P.FnHint, kFnHintColor);
    P.FnHint->hide();
    P.RulerGuidePanel = new QWidget(this);
    P.RulerGuidePanel->setObjectName(QStringLiteral("RulerGuidePanel"));
    P.RulerGuidePanel->resize(1, 100);
    fillWith(P.RulerGuidePanel, QColor(192, 192, 192));
    P.RulerGuidePanel->hide();
}

} // namespace tessary
