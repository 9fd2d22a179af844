#include "printing/tprintform.h"

#include "platform/services.h"
#include "printing/patterns.h"
#include "printing/printsettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

namespace tessary {

namespace {

template <typename Widget> Widget *named(Widget *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLineEdit *lengthEdit(QWidget *parent, const char *name, const char *hint) {
    auto *edit = named(new QLineEdit(parent), name);
    edit->setToolTip(QLatin1String(hint));
    edit->setMaximumWidth(60);
    return edit;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption) {
    auto *push = named(new QPushButton(caption, parent), name);
    // Enter belongs to the edits, never to a default button.
    push->setAutoDefault(false);
    return push;
}

// The dialog's buttons wear the same glyphs as the preview window's.
QToolButton *toolButton(QWidget *parent, const char *name, const char *hint, TButtonKind glyph) {
    auto *tool = named(new QToolButton(parent), name);
    tool->setToolTip(QLatin1String(hint));
    tool->setIcon(ButtonGlyph(glyph));
    return tool;
}

// A status panel as wide as the widest text it shows, in the window's font.
int panelWidth(const QFont &font, const QString &widest) {
    return QFontMetrics(font).horizontalAdvance(widest) + 16;
}

} // namespace

void TPrintForm::createControls() {
    HeaderHeightEdit = lengthEdit(this, "HeaderHeightEdit", "Header height");
    FooterHeightEdit = lengthEdit(this, "FooterHeightEdit", "Footer height");
    LeftMarginEdit = lengthEdit(this, "LeftMarginEdit", "Left margin width");
    RightMarginEdit = lengthEdit(this, "RightMarginEdit", "Right margin width");
    InchesCheckBox = named(new QCheckBox(QStringLiteral("In."), this), "InchesCheckBox");
    CentimetersCheckBox = named(new QCheckBox(QStringLiteral("Cm."), this), "CentimetersCheckBox");
    HeaderLineCheckBox =
        named(new QCheckBox(QStringLiteral("Header line"), this), "HeaderLineCheckBox");
    FooterLineCheckBox =
        named(new QCheckBox(QStringLiteral("Footer line"), this), "FooterLineCheckBox");
    m_header = new PatternChoosers(PatternChoosers::HeaderSet, this);
    m_footer = new PatternChoosers(PatternChoosers::FooterSet, this);
    m_header->OnPatternsChanged = [this] { m_job->Refresh(); };
    m_footer->OnPatternsChanged = [this] { m_job->Refresh(); };
    HeaderFontButton = button(this, "HeaderFontButton", QStringLiteral("Font"));
    HeaderFontButton->setProperty("tag", 1);
    FooterFontButton = button(this, "FooterFontButton", QStringLiteral("Font"));
    FooterFontButton->setProperty("tag", 2);
    PrintAllCheckBox = named(new QCheckBox(QStringLiteral("Print all"), this), "PrintAllCheckBox");
    FromPageCheckBox = named(new QCheckBox(QStringLiteral("From page"), this), "FromPageCheckBox");
    FromPageEdit = named(new QLineEdit(this), "FromPageEdit");
    ToPageEdit = named(new QLineEdit(this), "ToPageEdit");
    CopiesEdit = named(new QLineEdit(this), "CopiesEdit");
    for (QLineEdit *edit : {FromPageEdit, ToPageEdit, CopiesEdit})
        edit->setMaximumWidth(50);
    PrinterPropertiesButton =
        button(this, "PrinterPropertiesButton", QStringLiteral("Printer properties"));
    PrinterPropertiesButton->setToolTip(QStringLiteral("Orientation, paper size, etc."));
    HelpButton = button(this, "HelpButton", QStringLiteral("Help"));
    Preview = named(new TPreview(this), "Preview");
    Preview->SetColor(QColor(0, 128, 128));
    Preview->SetShadowSize(0);
    Preview->SetDragScroll(false);
    Preview->setMinimumSize(260, 330);
    FirstPageButton = toolButton(this, "FirstPageButton", "First page", btnFirstPage);
    PreviousPageButton = toolButton(this, "PreviousPageButton", "Previous page", btnPrevPage);
    NextPageButton = toolButton(this, "NextPageButton", "Next page", btnNextPage);
    LastPageButton = toolButton(this, "LastPageButton", "Last page", btnLastPage);
    ZoomButton = toolButton(this, "ZoomButton", "Zoom", btnZoomIn);
    PrintButton = toolButton(this, "PrintButton", "Print", btnPrint);
    createPreviewWindow();
}

void TPrintForm::createPreviewWindow() {
    PreviewWindow = new TPreviewWindow(this);
    PreviewWindow->setObjectName(QStringLiteral("PreviewWindow"));
    PreviewWindow->SetCaption(QStringLiteral("Print preview"));
    PreviewWindow->SetWindowState(Qt::WindowMaximized);
    PreviewWindow->SetButtons(
        {btnFirstPage, btnPrevPage, btnNextPage, btnLastPage, btnZoomOut, btnZoomIn, btnUser});
    PreviewWindow->SetScaleBox(false);
    PreviewWindow->SetDragScroll(false);
    PreviewWindow->SetUserButtonHint(QStringLiteral("Print"));
    PreviewWindow->SetUserButtonGlyph(ButtonGlyph(btnPrint));
    PreviewWindow->SetPagePanelWidth(
        panelWidth(PreviewWindow->Font(), QStringLiteral("Page 9999 of 9999")));
    PreviewWindow->SetScalePanelWidth(
        panelWidth(PreviewWindow->Font(), QStringLiteral("Whole page (1000%)")));
    PreviewWindow->SetPrintJob(m_job);
}

void TPrintForm::layoutControls() {
    auto *margins = new QGroupBox(QStringLiteral("Margins"), this);
    auto *marginGrid = new QGridLayout(margins);
    marginGrid->addWidget(new QLabel(QStringLiteral("Header"), margins), 0, 0);
    marginGrid->addWidget(HeaderHeightEdit, 0, 1);
    marginGrid->addWidget(new QLabel(QStringLiteral("Footer"), margins), 0, 2);
    marginGrid->addWidget(FooterHeightEdit, 0, 3);
    marginGrid->addWidget(new QLabel(QStringLiteral("Left"), margins), 1, 0);
    marginGrid->addWidget(LeftMarginEdit, 1, 1);
    marginGrid->addWidget(new QLabel(QStringLiteral("Right"), margins), 1, 2);
    marginGrid->addWidget(RightMarginEdit, 1, 3);
    marginGrid->addWidget(InchesCheckBox, 2, 0, 1, 2);
    marginGrid->addWidget(CentimetersCheckBox, 2, 2, 1, 2);

    auto *patterns = new QGroupBox(QStringLiteral("Header and footer"), this);
    auto *patternGrid = new QGridLayout(patterns);
    int row = 0;
    qsizetype longestEntry = 0;
    for (const QString &entry : Patterns::FixedEntries())
        longestEntry = std::max(longestEntry, entry.size());
    for (auto [set, line, font] : {std::tuple{m_header, HeaderLineCheckBox, HeaderFontButton},
                                   std::tuple{m_footer, FooterLineCheckBox, FooterFontButton}}) {
        patternGrid->addWidget(set->PatternLabel, row, 0);
        auto *boxes = new QHBoxLayout;
        for (QCheckBox *box : set->PositionBoxes)
            boxes->addWidget(box);
        boxes->addStretch();
        boxes->addWidget(line);
        patternGrid->addLayout(boxes, row, 1);
        // The box is as wide as its longest fixed entry; a longer custom pattern scrolls in
        // it rather than widening the dialog.
        set->ComboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        set->ComboBox->setMinimumContentsLength(int(longestEntry));
        patternGrid->addWidget(set->ComboBox, row + 1, 0, 1, 2);
        patternGrid->addWidget(font, row + 1, 2);
        row += 2;
    }

    auto *range = new QGroupBox(QStringLiteral("Pages"), this);
    auto *rangeGrid = new QGridLayout(range);
    rangeGrid->addWidget(PrintAllCheckBox, 0, 0, 1, 2);
    rangeGrid->addWidget(FromPageCheckBox, 1, 0);
    rangeGrid->addWidget(FromPageEdit, 1, 1);
    rangeGrid->addWidget(new QLabel(QStringLiteral("To"), range), 1, 2);
    rangeGrid->addWidget(ToPageEdit, 1, 3);
    rangeGrid->addWidget(new QLabel(QStringLiteral("Copies"), range), 2, 0);
    rangeGrid->addWidget(CopiesEdit, 2, 1);

    auto *left = new QVBoxLayout;
    left->addWidget(margins);
    left->addWidget(patterns);
    left->addWidget(range);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(PrinterPropertiesButton);
    buttons->addWidget(HelpButton);
    left->addLayout(buttons);
    left->addStretch();

    auto *tools = new QHBoxLayout;
    for (QToolButton *tool : {FirstPageButton, PreviousPageButton, NextPageButton, LastPageButton,
                              ZoomButton, PrintButton})
        tools->addWidget(tool);
    tools->addStretch();
    auto *right = new QVBoxLayout;
    right->addLayout(tools);
    right->addWidget(Preview, 1);

    auto *all = new QHBoxLayout(this);
    all->addLayout(left);
    all->addLayout(right, 1);
    // Nothing typed or stored may push the dialog past the screen.
    if (const QRect screen = Services::screen().availableGeometry(); screen.isValid())
        setMaximumSize(screen.size().expandedTo(minimumSizeHint()));
}

void TPrintForm::connectControls() {
    connect(InchesCheckBox, &QCheckBox::clicked, this, &TPrintForm::InchesCheckBoxClick);
    connect(CentimetersCheckBox, &QCheckBox::clicked, this, &TPrintForm::CentimetersCheckBoxClick);
    for (QLineEdit *edit : lengthEdits())
        connect(edit, &QLineEdit::returnPressed, this, [this, edit] { MarginEditEnter(edit); });
    connect(HeaderLineCheckBox, &QCheckBox::clicked, m_job, &TCustomPrintJob::Refresh);
    connect(FooterLineCheckBox, &QCheckBox::clicked, m_job, &TCustomPrintJob::Refresh);
    connect(HeaderFontButton, &QPushButton::clicked, this, &TPrintForm::HeaderFontButtonClick);
    connect(FooterFontButton, &QPushButton::clicked, this, &TPrintForm::FooterFontButtonClick);
    connect(PrintAllCheckBox, &QCheckBox::clicked, this, &TPrintForm::PrintAllCheckBoxClick);
    connect(FromPageCheckBox, &QCheckBox::clicked, this, &TPrintForm::FromPageCheckBoxClick);
    connect(FromPageEdit, &QLineEdit::returnPressed, this,
            [this] { ReadPageNumber(FromPageEdit, QStringLiteral("1")); });
    connect(ToPageEdit, &QLineEdit::returnPressed, this,
            [this] { ReadPageNumber(ToPageEdit, QString::number(m_job->PageCount())); });
    connect(CopiesEdit, &QLineEdit::returnPressed, this,
            [this] { ReadPageNumber(CopiesEdit, QStringLiteral("1")); });
    FromPageEdit->installEventFilter(this);
    ToPageEdit->installEventFilter(this);
    connect(PrinterPropertiesButton, &QPushButton::clicked, this,
            &TPrintForm::PrinterPropertiesButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, &TPrintForm::HelpButtonClick);
    connect(FirstPageButton, &QToolButton::clicked, this, &TPrintForm::FirstPageButtonClick);
    connect(PreviousPageButton, &QToolButton::clicked, this, &TPrintForm::PreviousPageButtonClick);
    connect(NextPageButton, &QToolButton::clicked, this, &TPrintForm::NextPageButtonClick);
    connect(LastPageButton, &QToolButton::clicked, this, &TPrintForm::LastPageButtonClick);
    connect(ZoomButton, &QToolButton::clicked, this, &TPrintForm::ZoomButtonClick);
    connect(PrintButton, &QToolButton::clicked, this, &TPrintForm::PrintButtonClick);
    connect(PreviewWindow, &TPreviewWindow::OnUserButtonClick, this, &TPrintForm::PrintButtonClick);
    connect(PreviewWindow, &TPreviewWindow::OnPageChanged, this,
            &TPrintForm::PreviewWindowPageChanged);
    connect(PreviewWindow, &TPreviewWindow::OnClose, this, &TPrintForm::PreviewWindowClose);
    connect(Preview, &TPreview::OnPageChanged, this, [this] {
        if (PreviewWindow->Form() && PreviewWindow->PageIndex() != Preview->PageIndex())
            PreviewWindow->SetPageIndex(Preview->PageIndex());
    });
}

} // namespace tessary
