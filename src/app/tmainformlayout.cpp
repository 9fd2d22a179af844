// The main window's fixed layout: tool bars, rulers, palettes, editor and status panel.
#include "app/tmainform.h"

#include "app/maineditor.h"
#include "editor/fontboxes.h"
#include "editor/formatting.h"
#include "richtext/readablecolours.h"
#include "richtext/richedit.h"

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

// With the text colours that read on it, whatever the desktop's theme.
void fillWith(QWidget *w, const QColor &color) {
    setReadableBackground(w, color);
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
    NotationButton = attrButton(bar, "NotationButton", QStringLiteral("Tn"),
                                "To/from Tessary Notation (Esc)", false);
    Fonts = std::make_unique<FontBoxes>(bar);
    bar->addWidget(Fonts->FontNameBox);
    bar->addWidget(Fonts->FontSizeBox);
    CaretFontButton = attrButton(bar, "CaretFontButton", QStringLiteral("Aa"),
                                 "To/from Current  charater font", false);
    TypingControls &t = TypingWidgets;
    t.WhitespaceButton =
        attrButton(bar, "WhitespaceButton", QStringLiteral("\u00B7"), "Show/hide whitespace", true);
    t.BoldButton = attrButton(bar, "BoldButton", QStringLiteral("B"), "Bold", true);
    t.ItalicButton = attrButton(bar, "ItalicButton", QStringLiteral("I"), "Italic", true);
    UnderlineButton = attrButton(bar, "UnderlineButton", QStringLiteral("U"), "Underline", false);
    QFont f = t.BoldButton->font();
    f.setBold(true);
    t.BoldButton->setFont(f);
    f.setBold(false);
    f.setItalic(true);
    t.ItalicButton->setFont(f);
    f.setItalic(false);
    f.setUnderline(true);
    UnderlineButton->setFont(f);
    bar->addSeparator();
    BarWidgets.GreekAlphabetButton = attrButton(
        bar, "GreekAlphabetButton", QStringLiteral("\u03B1\u03B2"), "Greek alphabet", true);
    BarWidgets.SymbolButton = attrButton(bar, "SymbolButton", QStringLiteral("\u2211\u221E"),
                                         "Math, line drawing symbols, etc.", true);
    FunctionKeyButton = attrButton(bar, "FunctionKeyButton", QStringLiteral("Fn"),
                                   "User defined function keys", true);
    bar->addSeparator();
    RulerParts &r = RulerWidgets;
    r.LeftAlignButton =
        attrButton(bar, "LeftAlignButton", QStringLiteral("\u2261\u2190"), "Left alignment", true);
    r.CenterAlignButton =
        attrButton(bar, "CenterAlignButton", QStringLiteral("\u2261"), "Center alignment", true);
    r.RightAlignButton = attrButton(bar, "RightAlignButton", QStringLiteral("\u2192\u2261"),
                                    "Right alignment", true);
    auto *align = new QButtonGroup(bar);
    align->setExclusive(true);
    align->addButton(r.LeftAlignButton, Formatting::LeftAlignTag);
    align->addButton(r.RightAlignButton, Formatting::RightAlignTag);
    align->addButton(r.CenterAlignButton, Formatting::CenterAlignTag);
    r.LeftAlignButton->setChecked(true);
    r.BulletsButton = attrButton(bar, "BulletsButton", QStringLiteral("\u2022"), "Bullets", true);
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
    CurrentFileLabel = label(QStringLiteral("CurrentFileLabel"), QString(), 1);
    LineHeaderLabel = label(QStringLiteral("LineHeaderLabel"), QStringLiteral("Line"), 0);
    LineCountLabel = label(QStringLiteral("LineCountLabel"), QStringLiteral("1"), 0);
    LineCountLabel->setMinimumWidth(40);
    ZoomLabel = label(QStringLiteral("ZoomLabel"), QStringLiteral("100 %"), 0);
    ZoomLabel->setMinimumWidth(40);
    TypingWidgets.InsStateLabel =
        label(QStringLiteral("InsStateLabel"), QStringLiteral("    Insert"), 0);
    TypingWidgets.InsStateLabel->setMinimumWidth(60);
    LatexLabel = label(QStringLiteral("LatexLabel"), QString(), 0);
    row->insertWidget(row->indexOf(ZoomLabel), LatexLabel);
    // A screen reader reads a panel's value, then what it means.
    for (const auto &[panel, meaning] :
         {std::pair{CurrentFileLabel, "File name"}, std::pair{LineCountLabel, "Line number"},
          std::pair{ZoomLabel, "Zoom"}, std::pair{TypingWidgets.InsStateLabel, "Typing mode"},
          std::pair{LatexLabel, "LaTeX paste"}})
        panel->setAccessibleDescription(QString::fromLatin1(meaning));
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
    RulerParts &r = RulerWidgets;
    r.UpperRulerPanel = panel(QStringLiteral("UpperRulerPanel"), 6, Qt::white);
    r.LowerRulerPanel = panel(QStringLiteral("LowerRulerPanel"), 4, Qt::white);
    r.ImplicitTabsPanel = panel(QStringLiteral("ImplicitTabsPanel"), 4, kMaroon);
    column->addWidget(r.UpperRulerPanel);
    column->addWidget(r.LowerRulerPanel);
    column->addWidget(r.ImplicitTabsPanel);
    PaletteBars &b = BarWidgets;
    b.GreekToolBar = buildPaletteBar(QStringLiteral("GreekToolBar"));
    b.SymbolToolBarA = buildPaletteBar(QStringLiteral("SymbolToolBarA"));
    b.SymbolToolBarB = buildPaletteBar(QStringLiteral("SymbolToolBarB"));
    b.FnKeyToolBar = buildPaletteBar(QStringLiteral("FnKeyToolBar"));
    for (QToolBar *bar : {b.GreekToolBar, b.SymbolToolBarA, b.SymbolToolBarB, b.FnKeyToolBar})
        column->addWidget(bar);

    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    QWidget *gutter = new QWidget(central);
    gutter->setObjectName(QStringLiteral("Gutter"));
    gutter->setFixedWidth(MainEditor::kGutterWidth);
    r.Gutter = gutter;
    fillWith(gutter, palette().color(QPalette::Base));
    P.Editor = MainEditor::create(central);
    row->addWidget(gutter);
    row->addWidget(P.Editor, 1);
    column->addLayout(row, 1);
    Panel2 = panel(QStringLiteral("Panel2"), 5, kMaroon);
    column->addWidget(Panel2);
    column->addWidget(buildStatusPanel());
    setCentralWidget(central);

    b.FnHint = new QWidget(this);
    b.FnHint->setObjectName(QStringLiteral("FnHint"));
    b.FnHint->resize(245, 56);
    fillWith(b.FnHint, kFnHintColor);
    b.FnHint->hide();
    r.RulerGuidePanel = new QWidget(this);
    r.RulerGuidePanel->setObjectName(QStringLiteral("RulerGuidePanel"));
    r.RulerGuidePanel->resize(1, 100);
    fillWith(r.RulerGuidePanel, QColor(192, 192, 192));
    r.RulerGuidePanel->hide();
}

} // namespace tessary
