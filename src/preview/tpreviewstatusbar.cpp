#include "preview/tpreviewstatusbar.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

namespace tessary {

namespace {
QLabel *panel(const QString &name, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

// Room for the widest of `texts` inside a sunken panel's frame and margins.
int panelWidthFor(const QFont &font, std::initializer_list<const char *> texts) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const char *text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1String(text)));
    return std::max(100, widest + 16);
}
} // namespace

int TCustomPreviewStatusBar::DefaultPagePanelWidth(const QFont &font) {
    return panelWidthFor(font, {"Page 9999 of 9999"});
}

int TCustomPreviewStatusBar::DefaultScalePanelWidth(const QFont &font) {
    return panelWidthFor(font, {"Whole page (1000%)", "Page width (1000%)"});
}

TCustomPreviewStatusBar::TCustomPreviewStatusBar(QWidget *parent)
    : QStatusBar(parent)
    , m_pageWidth(DefaultPagePanelWidth(font()))
    , m_scaleWidth(DefaultScalePanelWidth(font()))
    , m_pagePanel(panel(QStringLiteral("PagePanel"), this))
    , m_scalePanel(panel(QStringLiteral("ScalePanel"), this))
    , m_userPanel(panel(QStringLiteral("UserPanel"), this)) {
    setFixedHeight(19 + 4);
    addWidget(m_pagePanel);
    addWidget(m_scalePanel);
    addWidget(m_userPanel, 1);
    SetPagePanelWidth(m_pageWidth);
    SetScalePanelWidth(m_scaleWidth);
    PreviewUpdated();
}

void TCustomPreviewStatusBar::SetPanels(const TPanels &panels) {
    m_panels = panels;
    PreviewUpdated();
}

void TCustomPreviewStatusBar::SetPagePanelWidth(int width) {
    m_pageWidth = width;
    m_pagePanel->setFixedWidth(width);
}

void TCustomPreviewStatusBar::SetScalePanelWidth(int width) {
    m_scaleWidth = width;
    m_scalePanel->setFixedWidth(width);
}

void TCustomPreviewStatusBar::SetUserText(const QString &text) {
    m_userText = text;
    PreviewUpdated();
}

QString TCustomPreviewStatusBar::PanelText(TPanelKind kind) const {
    const QLabel *label = kind == pnPage ? m_pagePanel : m_scalePanel;
    return label->isVisibleTo(this) ? label->text() : QString();
}

QString TCustomPreviewStatusBar::UserPanelText() const {
    return m_userPanel->text();
}

void TCustomPreviewStatusBar::PreviewUpdated() {
    m_pagePanel->setVisible(m_panels.contains(pnPage));
    m_scalePanel->setVisible(m_panels.contains(pnScale));
    m_userPanel->setText(m_userText);
    if (!parentWidget() || !Preview())
        return;
    m_pagePanel->setText(Preview()->PageText());
    m_scalePanel->setText(Preview()->ScaleText());
    emit OnUpdate();
}

} // namespace tessary
