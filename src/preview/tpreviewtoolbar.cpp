#include "preview/tpreviewtoolbar.h"

#include "preview/tpreviewcombobox.h"
#include "printjob/tcustomprintjob.h"

#include <QToolButton>

namespace tessary {

namespace {
constexpr int kButton = 24;
constexpr const char *kNames[ButtonKindCount] = {
    "btnPrint",     "btnPrintDialog", "btnPrinterSetupDialog",
    "btnFirstPage", "btnPrevPage",    "btnNextPage",
    "btnLastPage",  "btnWholePage",   "btnPageWidth",
    "btnZoomOut",   "btnZoomIn",      "btnRefresh",
    "btnClose",     "btnUser"};
constexpr const char *kHints[ButtonKindCount] = {"Print",
                                                 "Print dialog",
                                                 "Printer setup dialog",
                                                 "First page",
                                                 "Previous page",
                                                 "Next page",
                                                 "Last page",
                                                 "Whole page",
                                                 "Page width",
                                                 "Zoom out",
                                                 "Zoom in",
                                                 "Refresh",
                                                 "Close",
                                                 ""};
} // namespace

TButtons DefaultPreviewButtons() {
    return {btnPrint,    btnPrinterSetupDialog, btnFirstPage, btnPrevPage,
            btnNextPage, btnLastPage,           btnZoomOut,   btnZoomIn};
}

QString ButtonHint(TButtonKind kind) {
    return QString::fromLatin1(kHints[kind]);
}

TCustomPreviewToolbar::TCustomPreviewToolbar(QWidget *parent)
    : QWidget(parent)
    , m_scaleBox(new TPreviewComboBox(this))
    , m_buttons(DefaultPreviewButtons()) {
    setObjectName(QStringLiteral("PreviewToolbar"));
    setFixedHeight(26);
    m_scaleBox->setToolTip(QStringLiteral("View mode and scale"));
    m_scaleBox->move(0, 2);
    for (int k = 0; k < ButtonKindCount; ++k) {
        auto *button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(kNames[k]));
        button->setToolTip(ButtonHint(TButtonKind(k)));
        button->setIcon(ButtonGlyph(TButtonKind(k)));
        button->setIconSize(QSize(GlyphSize, GlyphSize));
        button->setAutoRaise(m_flat);
        button->setFocusPolicy(Qt::NoFocus);
        button->resize(kButton, kButton);
        connect(button, &QToolButton::clicked, this, [this, k] { ClickButton(TButtonKind(k)); });
        m_buttonWidgets[k] = button;
    }
    layoutButtons();
}

void TCustomPreviewToolbar::SetPreview(TCustomPreview *preview) {
    m_scaleBox->SetPreview(preview);
    linkPreview(preview);
    layoutButtons();
}

void TCustomPreviewToolbar::SetButtons(const TButtons &buttons) {
    m_buttons = buttons;
    layoutButtons();
}

void TCustomPreviewToolbar::SetFlat(bool flat) {
    m_flat = flat;
    for (QToolButton *button : m_buttonWidgets)
        button->setAutoRaise(flat);
}

void TCustomPreviewToolbar::SetScaleBox(bool shown) {
    m_scaleBoxShown = shown;
    layoutButtons();
}

void TCustomPreviewToolbar::SetScaleBoxPos(TButtonKind kind) {
    m_scaleBoxPos = kind;
    layoutButtons();
}

void TCustomPreviewToolbar::SetUserButtonEnabled(bool enabled) {
    m_userEnabled = enabled;
    m_buttonWidgets[btnUser]->setEnabled(enabled);
}

void TCustomPreviewToolbar::SetUserButtonGlyph(const QPixmap &glyph) {
    m_userGlyph = glyph;
    m_buttonWidgets[btnUser]->setIcon(glyph);
}

QString TCustomPreviewToolbar::UserButtonHint() const {
    return m_buttonWidgets[btnUser]->toolTip();
}

void TCustomPreviewToolbar::SetUserButtonHint(const QString &hint) {
    m_buttonWidgets[btnUser]->setToolTip(hint);
}

void TCustomPreviewToolbar::layoutButtons() {
    m_scaleBox->setVisible(m_scaleBoxShown);
    int x = 1;
    for (int k = 0; k < ButtonKindCount; ++k) {
        if (m_scaleBoxShown && k == m_scaleBoxPos) {
            m_scaleBox->move(x + 2, m_scaleBox->y());
            x += m_scaleBox->width() + 4;
        }
        QToolButton *button = m_buttonWidgets[k];
        button->setVisible(m_buttons.contains(TButtonKind(k)));
        if (!button->isVisibleTo(this))
            continue;
        button->move(x, 1);
        x += kButton;
    }
    m_buttonWidgets[btnUser]->setIcon(m_userGlyph);
    updateEnabledStates();
}

void TCustomPreviewToolbar::updateEnabledStates() {
    const bool live = Preview() && Preview()->CanShow();
    const int page = live ? Preview()->PageIndex() : 1;
    const int pages = live ? Preview()->PrintJob()->PageCount() : 1;
    const int scale = live ? Preview()->ViewScale() : 0;
    m_buttonWidgets[btnFirstPage]->setEnabled(live && page >= 2);
    m_buttonWidgets[btnPrevPage]->setEnabled(live && page >= 2);
    m_buttonWidgets[btnNextPage]->setEnabled(live && pages > page);
    m_buttonWidgets[btnLastPage]->setEnabled(live && pages > page);
    m_buttonWidgets[btnZoomOut]->setEnabled(live && scale > MinViewScale);
    m_buttonWidgets[btnZoomIn]->setEnabled(live && scale < MaxViewScale);
    m_scaleBox->setEnabled(live);
}

void TCustomPreviewToolbar::PreviewUpdated() {
    updateEnabledStates();
    emit OnUpdate();
}

void TCustomPreviewToolbar::ClickButton(TButtonKind kind) {
    bool allow = true;
    emit OnButtonClick(kind, allow);
    if (allow)
        defaultAction(kind);
    updateEnabledStates();
}

void TCustomPreviewToolbar::defaultAction(TButtonKind kind) {
    if (kind == btnClose) {
        window()->close();
        return;
    }
    if (kind == btnUser) {
        emit OnUserButtonClick();
        return;
    }
    TCustomPreview *preview = Preview();
    TCustomPrintJob *job = preview ? preview->PrintJob() : nullptr;
    if (!job)
        return;
    switch (kind) {
    case btnPrint:
        job->Print();
        break;
    case btnPrintDialog:
        job->PrintDialog(window());
        break;
    case btnPrinterSetupDialog:
        job->PrinterSetupDialog(window());
        break;
    case btnFirstPage:
        preview->SetPageIndex(1);
        break;
    case btnPrevPage:
        preview->SetPageIndex(preview->PageIndex() - 1);
        break;
    case btnNextPage:
        preview->SetPageIndex(preview->PageIndex() + 1);
        break;
    case btnLastPage:
        preview->SetPageIndex(job->PageCount());
        break;
    case btnWholePage:
        preview->SetViewMode(vmWholePage);
        break;
    case btnPageWidth:
        preview->SetViewMode(vmPageWidth);
        break;
    case btnZoomOut:
        preview->ZoomOut();
        break;
    case btnZoomIn:
        preview->ZoomIn();
        break;
    case btnRefresh:
        job->Refresh();
        break;
    case btnClose:
    case btnUser:
        break;
    }
}

} // namespace tessary
