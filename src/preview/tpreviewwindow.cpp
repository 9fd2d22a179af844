#include "preview/tpreviewwindow.h"

#include "preview/tpreviewcombobox.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace tessary {

TPreviewForm::TPreviewForm(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_preview(new TPreview(this))
    , m_toolbar(new TPreviewToolbar(this))
    , m_statusBar(new TPreviewStatusBar(this)) {
    setObjectName(QStringLiteral("PreviewForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_preview->setObjectName(QStringLiteral("Preview"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_statusBar);
    m_toolbar->SetPreview(m_preview);
    m_statusBar->SetPreview(m_preview);
}

void TPreviewForm::moveEvent(QMoveEvent *event) {
    QWidget::moveEvent(event);
    emit geometryChanged();
}

void TPreviewForm::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    emit geometryChanged();
}

void TPreviewForm::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        emit geometryChanged();
}

void TPreviewForm::closeEvent(QCloseEvent *event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

// ---- the window's settings -------------------------------------------------------------------

TCustomPreviewWindow::TCustomPreviewWindow(QObject *parent)
    : QObject(parent) {}

TCustomPreviewWindow::~TCustomPreviewWindow() {
    delete m_form;
}

void TCustomPreviewWindow::Show() {
    if (!m_form)
        buildForm();
    emit OnShow();
    m_form->show();
    m_form->raise();
    m_form->activateWindow();
}

void TCustomPreviewWindow::buildForm() {
    // Shown from a modal dialog, the window takes input only as the dialog's child.
    m_form = new TPreviewForm(qobject_cast<QWidget *>(parent()));
    TPreviewForm *form = m_form;
    form->setWindowTitle(m_caption);
    form->setFont(m_font);
    form->setWindowIcon(m_icon);
    applyGeometry();
    form->setWindowState(m_windowState);

    TPreview *pv = form->Preview();
    pv->SetColor(m_color);
    pv->SetShadowColor(m_shadowColor);
    pv->SetShadowSize(m_shadowSize);
    pv->SetPageIndex(1);
    pv->SetDragScroll(m_dragScroll);
    pv->SetScrollTracking(m_scrollTracking);
    pv->SetViewMode(m_viewMode);
    pv->SetViewScale(m_viewScale);
    pv->SetPrintJob(m_job);
    connect(pv, &TCustomPreview::OnPageChanged, this, &TCustomPreviewWindow::OnPageChanged);

    TPreviewToolbar *tb = form->Toolbar();
    tb->SetButtons(m_buttons);
    tb->SetFlat(m_flat);
    tb->SetScaleBox(m_scaleBox);
    tb->SetScaleBoxPos(m_scaleBoxPos);
    tb->SetUserButtonEnabled(m_userEnabled);
    tb->SetUserButtonGlyph(m_userGlyph);
    tb->SetUserButtonHint(m_userHint);
    connect(tb, &TCustomPreviewToolbar::OnUserButtonClick, this,
            &TCustomPreviewWindow::OnUserButtonClick);

    TPreviewStatusBar *sb = form->StatusBar();
    sb->SetPagePanelWidth(m_pagePanelWidth);
    sb->SetPanels(m_panels);
    sb->SetScalePanelWidth(m_scalePanelWidth);
    sb->SetUserText(m_userText);
    sb->SetSizeGrip(m_sizeGrip);

    connect(form, &TPreviewForm::geometryChanged, this, &TCustomPreviewWindow::formGeometryChanged);
    connect(form, &TPreviewForm::closed, this, &TCustomPreviewWindow::formClosed);
}

void TCustomPreviewWindow::applyGeometry() {
    if (!m_form)
        return;
    m_form->resize(m_windowRect.size());
    m_form->move(m_windowRect.topLeft());
}

void TCustomPreviewWindow::formGeometryChanged() {
    m_windowState = m_form->isMaximized()   ? Qt::WindowMaximized
                    : m_form->isMinimized() ? Qt::WindowMinimized
                                            : Qt::WindowNoState;
    // A maximised or minimised window keeps the place it returns to.
    if (m_windowState == Qt::WindowNoState)
        m_windowRect = QRect(m_form->pos(), m_form->size());
}

void TCustomPreviewWindow::formClosed() {
    emit OnClose();
    m_form = nullptr;
}

void TCustomPreviewWindow::RefreshPreview() {
    if (m_job && m_form)
        preview()->UpdatePreview();
}

void TCustomPreviewWindow::SetPrintJob(TCustomPrintJob *job) {
    m_job = job;
    if (m_form)
        preview()->SetPrintJob(job);
}

void TCustomPreviewWindow::SetCaption(const QString &caption) {
    m_caption = caption;
    if (m_form)
        m_form->setWindowTitle(caption);
}

void TCustomPreviewWindow::SetFont(const QFont &font) {
    m_font = font;
    if (m_form)
        m_form->setFont(font);
}

void TCustomPreviewWindow::SetIcon(const QIcon &icon) {
    m_icon = icon;
    if (m_form)
        m_form->setWindowIcon(icon);
}

void TCustomPreviewWindow::SetWindowState(Qt::WindowState state) {
    m_windowState = state;
    if (m_form)
        m_form->setWindowState(state);
}

void TCustomPreviewWindow::SetWindowLeft(int left) {
    m_windowRect.moveLeft(left);
    applyGeometry();
}

void TCustomPreviewWindow::SetWindowTop(int top) {
    m_windowRect.moveTop(top);
    applyGeometry();
}

void TCustomPreviewWindow::SetWindowWidth(int width) {
    m_windowRect.setWidth(width);
    applyGeometry();
}

void TCustomPreviewWindow::SetWindowHeight(int height) {
    m_windowRect.setHeight(height);
    applyGeometry();
}

void TCustomPreviewWindow::SetColor(const QColor &color) {
    m_color = color;
    if (m_form)
        preview()->SetColor(color);
}

void TCustomPreviewWindow::SetShadowColor(const QColor &color) {
    m_shadowColor = color;
    if (m_form)
        preview()->SetShadowColor(color);
}

void TCustomPreviewWindow::SetShadowSize(int size) {
    m_shadowSize = size;
    if (m_form)
        preview()->SetShadowSize(size);
}

int TCustomPreviewWindow::PageIndex() const {
    return m_form ? preview()->PageIndex() : 1;
}

void TCustomPreviewWindow::SetPageIndex(int index) {
    if (m_form)
        preview()->SetPageIndex(index);
}

void TCustomPreviewWindow::SetDragScroll(bool drag) {
    m_dragScroll = drag;
    if (m_form)
        preview()->SetDragScroll(drag);
}

void TCustomPreviewWindow::SetScrollTracking(bool tracking) {
    m_scrollTracking = tracking;
    if (m_form)
        preview()->SetScrollTracking(tracking);
}

void TCustomPreviewWindow::SetViewMode(TViewMode mode) {
    m_viewMode = mode;
    if (m_form)
        preview()->SetViewMode(mode);
}

void TCustomPreviewWindow::SetViewScale(int scale) {
    m_viewScale = scale;
    if (m_form)
        preview()->SetViewScale(scale);
}

void TCustomPreviewWindow::SetButtons(const TButtons &buttons) {
    m_buttons = buttons;
    if (m_form)
        toolbar()->SetButtons(buttons);
}

void TCustomPreviewWindow::SetFlat(bool flat) {
    m_flat = flat;
    if (m_form)
        toolbar()->SetFlat(flat);
}

void TCustomPreviewWindow::SetScaleBox(bool shown) {
    m_scaleBox = shown;
    if (m_form)
        toolbar()->SetScaleBox(shown);
}

void TCustomPreviewWindow::SetScaleBoxPos(TButtonKind kind) {
    m_scaleBoxPos = kind;
    if (m_form)
        toolbar()->SetScaleBoxPos(kind);
}

void TCustomPreviewWindow::SetUserButtonEnabled(bool enabled) {
    m_userEnabled = enabled;
    if (m_form)
        toolbar()->SetUserButtonEnabled(enabled);
}

void TCustomPreviewWindow::SetUserButtonGlyph(const QPixmap &glyph) {
    m_userGlyph = glyph;
    if (m_form)
        toolbar()->SetUserButtonGlyph(glyph);
}

void TCustomPreviewWindow::SetUserButtonHint(const QString &hint) {
    m_userHint = hint;
    if (m_form)
        toolbar()->SetUserButtonHint(hint);
}

void TCustomPreviewWindow::SetPanels(const TPanels &panels) {
    m_panels = panels;
    if (m_form)
        statusBar()->SetPanels(panels);
}

void TCustomPreviewWindow::SetPagePanelWidth(int width) {
    m_pagePanelWidth = width;
    if (m_form)
        statusBar()->SetPagePanelWidth(width);
}

void TCustomPreviewWindow::SetScalePanelWidth(int width) {
    m_scalePanelWidth = width;
    if (m_form)
        statusBar()->SetScalePanelWidth(width);
}

void TCustomPreviewWindow::SetUserText(const QString &text) {
    m_userText = text;
    if (m_form)
        statusBar()->SetUserText(text);
}

void TCustomPreviewWindow::SetSizeGrip(bool grip) {
    m_sizeGrip = grip;
    if (m_form)
        statusBar()->SetSizeGrip(grip);
}

} // namespace tessary
