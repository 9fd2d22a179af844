#include "preview/tpreview.h"

#include "platform/services.h"
#include "printjob/tcustomprintjob.h"
#include "richtext/readablecolours.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <exception>

namespace tessary {

namespace {
constexpr int kGap = 8;       // space around a sheet that does not fit, and the scroll step
constexpr int kFrame = 2;     // the sheet's frame lines
constexpr int kMinSheet = 16; // a sheet never shrinks below this, however small the control

int roundToInt(double value) {
    return int(std::lround(value));
}
} // namespace

// ---- scroll box and sheet panel ------------------------------------------------------------

TSpecialScrollBox::TSpecialScrollBox(TCustomPreview *preview)
    : QAbstractScrollArea(preview)
    , m_preview(preview) {
    setObjectName(QStringLiteral("ScrollBox"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    for (QScrollBar *bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setSingleStep(kGap);
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setTracking(false);
    }
    // The viewport fills with the preview's Color, kept in the Window role (a scroll area
    // would otherwise fill it with Base, white in most styles).
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
}

void TSpecialScrollBox::scrollContentsBy(int, int) {
    m_preview->placePanel();
}

void TSpecialScrollBox::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    if (m_preview->CanShow() && !m_preview->m_layingOut) {
        m_preview->layoutSheet(false);
        m_preview->notifyLinked();
    }
}

TDrawPanel::TDrawPanel(TCustomPreview *preview, QWidget *parent)
    : QWidget(parent)
    , m_preview(preview) {
    setObjectName(QStringLiteral("DrawPanel"));
    setGeometry(kGap, kGap, 46, 67);
}

void TDrawPanel::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const TCustomPreview &pv = *m_preview;
    const QRect client = rect();
    p.fillRect(client, pv.m_color);
    const DeviceFigures &f = pv.m_figures;
    if (!pv.m_job || f.physicalWidth <= 0 || f.physicalHeight <= 0)
        return;
    const int s = pv.m_shadowSize;
    const QRect sheet(0, 0, client.width() - s, client.height() - s);
    if (s > 0) {
        // Saved and restored: a clip merely switched off would still narrow the clips the
        // recorded page intersects with on replay.
        p.save();
        const QRect shadow(s, s, client.width() - s, client.height() - s);
        p.setClipRegion(QRegion(shadow).subtracted(sheet));
        p.fillRect(shadow, pv.m_shadowColor);
        p.restore();
    }
    p.fillRect(sheet, Qt::white);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(sheet.topLeft());
    p.scale(double(sheet.width()) / f.physicalWidth, double(sheet.height()) / f.physicalHeight);
    p.drawPicture(0, 0, pv.m_picture);
    p.restore();

    // The unprintable border is painted white over whatever the page drew there, and the
    // sheet gets a 1-pixel frame. The printable area is kept inside the frame, so a printer
    // without a border still shows all four frame lines.
    const int left = sheet.left() + 1 + f.physicalOffsetX * sheet.width() / f.physicalWidth;
    const int top = sheet.top() + 1 + f.physicalOffsetY * sheet.height() / f.physicalHeight;
    const QRect printable = QRect(left, top, f.horzRes * sheet.width() / f.physicalWidth,
                                  f.vertRes * sheet.height() / f.physicalHeight)
                                .intersected(sheet.adjusted(1, 1, -1, -1));
    p.setClipRegion(QRegion(sheet).subtracted(printable));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(sheet.adjusted(0, 0, -1, -1));
}

void TDrawPanel::mousePressEvent(QMouseEvent *event) {
    m_preview->setFocus(Qt::MouseFocusReason);
    if (!m_preview->m_dragScroll || event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_pressPoint = event->position().toPoint();
    setCursor(Qt::SizeAllCursor);
}

void TDrawPanel::mouseMoveEvent(QMouseEvent *event) {
    if (!m_dragging)
        return;
    // The panel moves with the scroll, so the point under the mouse stays under it.
    const QPoint at = event->position().toPoint();
    m_preview->scrollBy(m_pressPoint.x() - at.x(), m_pressPoint.y() - at.y());
}

void TDrawPanel::mouseReleaseEvent(QMouseEvent *) {
    if (!m_dragging)
        return;
    m_dragging = false;
    unsetCursor();
}

// ---- preview ------------------------------------------------------------------------------

TCustomPreview::TCustomPreview(QWidget *parent)
    : QWidget(parent)
    , m_box(new TSpecialScrollBox(this))
    , m_panel(new TDrawPanel(this, m_box->viewport())) {
    setFocusPolicy(Qt::StrongFocus);
    m_box->installEventFilter(this);
    m_panel->installEventFilter(this);
    m_panel->hide();
    SetColor(m_color);
    resize(100, 150);
}

TCustomPreview::~TCustomPreview() {
    if (m_job)
        m_job->RemovePreview(this);
}

bool TCustomPreview::CanShow() const {
    return m_job && m_job->PrinterAvailable();
}

void TCustomPreview::SetPrintJob(TCustomPrintJob *job) {
    if (job == m_job)
        return;
    if (m_job) {
        m_job->RemovePreview(this);
        disconnect(m_job, nullptr, this, nullptr);
    }
    m_job = job;
    if (job) {
        job->AddPreview(this);
        // Emitted at the start of the job's destruction, while it can still unregister us.
        connect(job, &TCustomPrintJob::OnDestroy, this, [this] { SetPrintJob(nullptr); });
    }
    m_pageIndex = 1;
    m_panel->setVisible(job != nullptr);
    UpdatePreview();
    emit OnPageChanged();
}

void TCustomPreview::SetColor(const QColor &color) {
    m_color = color;
    QPalette pal = m_box->viewport()->palette();
    pal.setColor(QPalette::Window, color);
    pal.setColor(QPalette::WindowText, textColorOn(color));
    m_box->viewport()->setPalette(pal);
    m_panel->update();
}

void TCustomPreview::SetShadowColor(const QColor &color) {
    m_shadowColor = color;
    m_panel->update();
}

void TCustomPreview::SetShadowSize(int size) {
    size = std::clamp(size, 0, 100);
    if (size == m_shadowSize)
        return;
    m_shadowSize = size;
    UpdatePreview();
}

void TCustomPreview::SetViewMode(TViewMode mode) {
    if (mode == m_viewMode)
        return;
    m_viewMode = mode;
    // The scale a fitted mode computed may lie outside what a custom scale may be.
    if (mode == vmCustom)
        m_viewScale = ClampViewScale(m_viewScale);
    UpdatePreview();
}

void TCustomPreview::SetViewScale(int scale) {
    if (m_viewMode != vmCustom)
        return;
    scale = ClampViewScale(scale);
    if (scale == m_viewScale)
        return;
    m_viewScale = scale;
    UpdatePreview();
}

void TCustomPreview::SetPageIndex(int index) {
    const int count = m_job ? std::max(1, m_job->PageCount()) : 1;
    index = std::clamp(index, 1, count);
    if (index != m_pageIndex) {
        m_pageIndex = index;
        m_box->horizontalScrollBar()->setValue(0);
        m_box->verticalScrollBar()->setValue(0);
        UpdatePreview();
    }
    emit OnPageChanged();
}

void TCustomPreview::SetScrollTracking(bool tracking) {
    m_scrollTracking = tracking;
    m_box->horizontalScrollBar()->setTracking(tracking);
    m_box->verticalScrollBar()->setTracking(tracking);
}

void TCustomPreview::ZoomIn() {
    SetViewMode(vmCustom);
    SetViewScale(ZoomStepAbove(m_viewScale));
}

void TCustomPreview::ZoomOut() {
    SetViewMode(vmCustom);
    SetViewScale(ZoomStepBelow(m_viewScale));
}

QString TCustomPreview::ScaleText() const {
    return ScaleTextFor(m_viewMode, m_viewScale);
}

QString TCustomPreview::PageText() const {
    if (!m_job)
        return {};
    return QStringLiteral("Page %1 of %2").arg(m_pageIndex).arg(m_job->PageCount());
}

void TCustomPreview::AddLinkedControl(PreviewLinkedControl *control) {
    if (control && !m_linked.contains(control))
        m_linked.append(control);
}

void TCustomPreview::RemoveLinkedControl(PreviewLinkedControl *control) {
    m_linked.removeAll(control);
}

void TCustomPreview::UpdatePreview() {
    if (!CanShow()) {
        m_panel->hide();
        return;
    }
    if (m_pageIndex > m_job->PageCount())
        m_pageIndex = std::max(1, m_job->PageCount());
    m_job->GetJobForPage(m_pageIndex)->ApplyPrinterSettings();
    layoutSheet(m_viewMode != vmPageWidth);
    recordPage();
    m_panel->update();
    m_panel->show();
    notifyLinked();
}

QSizeF TCustomPreview::pageSizeInPrinterPixels() const {
    const TCustomPrintJob *job = m_job->GetJobForPage(m_pageIndex);
    const DeviceFigures f = job->printer().figures();
    const double w =
        job->ConvertUnits(job->PageWidth(), job->PageUnits(), unPixels, false, f.physicalWidth);
    const double h =
        job->ConvertUnits(job->PageHeight(), job->PageUnits(), unPixels, true, f.physicalHeight);
    return {std::max(w, 1.0), std::max(h, 1.0)};
}

void TCustomPreview::layoutSheet(bool resetScroll) {
    m_layingOut = true;
    QScrollBar *hbar = m_box->horizontalScrollBar();
    QScrollBar *vbar = m_box->verticalScrollBar();
    if (resetScroll) {
        hbar->setValue(0);
        vbar->setValue(0);
    }
    const QSizeF page = pageSizeInPrinterPixels();
    const double wp = page.width(), hp = page.height();
    const int s = m_shadowSize, extra = s + kFrame;
    const int screenDpi = Services::screen().logicalDpi();
    const int printerDpi = std::max(1, m_job->printer().figures().logPixelsX);
    auto heightFor = [&](int width) { return roundToInt((width - extra) * hp / wp) + extra; };

    // Showing or hiding a scroll bar changes the client size; a second pass settles it.
    for (int pass = 0; pass < 2; ++pass) {
        const QSize client = m_box->viewport()->size();
        int w = 0, h = 0, hRange = 0, vRange = 0;
        QPoint at(kGap, kGap);
        switch (m_viewMode) {
        case vmWholePage:
            h = std::max(client.height() - 2 * kGap - s, kMinSheet + extra);
            w = roundToInt((h - extra) * wp / hp) + extra;
            if (client.width() - 2 * kGap < w) {
                w = std::max(client.width() - 2 * kGap, kMinSheet + extra);
                h = heightFor(w);
            }
            at = QPoint((client.width() - w) / 2, (client.height() - h) / 2);
            break;
        case vmPageWidth:
            w = std::max(m_box->width() - 20 - style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                         kMinSheet + extra);
            h = heightFor(w);
            vRange = h + 2 * kGap;
            break;
        case vmCustom:
            w = roundToInt(wp * m_viewScale * screenDpi / printerDpi / 100.0) + extra;
            h = heightFor(w);
            hRange = w + 2 * kGap;
            vRange = h + 2 * kGap;
            at = QPoint(client.width() > hRange ? (client.width() - w) / 2 : kGap,
                        client.height() > vRange ? (client.height() - h) / 2 : kGap);
            break;
        }
        // The fitted modes report the scale of the sheet itself, without shadow and frame,
        // so switching to that custom scale keeps the sheet's size.
        if (m_viewMode != vmCustom)
            m_viewScale = roundToInt((w - extra) * 100.0 * printerDpi / wp / screenDpi);
        m_sheetArea = QRect(at, QSize(w, h));
        hbar->setRange(0, std::max(0, hRange - client.width()));
        hbar->setPageStep(client.width());
        vbar->setRange(0, std::max(0, vRange - client.height()));
        vbar->setPageStep(client.height());
        if (m_box->viewport()->size() == client)
            break;
    }
    placePanel();
    m_layingOut = false;
}

void TCustomPreview::placePanel() {
    m_panel->setGeometry(m_sheetArea.translated(-m_box->horizontalScrollBar()->value(),
                                                -m_box->verticalScrollBar()->value()));
}

void TCustomPreview::recordPage() {
    TCustomPrintJob *job = m_job->GetJobForPage(m_pageIndex);
    m_figures = job->printer().figures();
    const QRect sheet(0, 0, m_figures.physicalWidth, m_figures.physicalHeight);
    QPicture picture;
    {
        QPainter p(&picture);
        p.fillRect(sheet, Qt::white);
        job->DrawPage(p, m_pageIndex, dtPreview);
    }
    picture.setBoundingRect(sheet);
    m_picture = picture;
}

void TCustomPreview::notifyLinked() {
    // A control that fails to follow must not keep the others from following.
    const QList<PreviewLinkedControl *> linked = m_linked;
    for (PreviewLinkedControl *control : linked) {
        try {
            if (m_linked.contains(control))
                control->PreviewUpdated();
        } catch (const std::exception &) {
        }
    }
    emit OnUpdate();
}

void TCustomPreview::scrollBy(int dx, int dy) {
    QScrollBar *hbar = m_box->horizontalScrollBar();
    QScrollBar *vbar = m_box->verticalScrollBar();
    hbar->setValue(hbar->value() + dx);
    vbar->setValue(vbar->value() + dy);
}

bool TCustomPreview::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
    QScrollBar *h = m_box->horizontalScrollBar();
    QScrollBar *v = m_box->verticalScrollBar();
    const bool ctrl = modifiers & Qt::ControlModifier;
    const int hPage = m_box->viewport()->width(), vPage = m_box->viewport()->height();
    switch (key) {
    case Qt::Key_PageUp:
        if (ctrl)
            v->setValue(0);
        else if (v->value() > 0)
            v->setValue(v->value() - vPage + kGap);
        else
            SetPageIndex(m_pageIndex - 1);
        break;
    case Qt::Key_PageDown:
        if (ctrl)
            v->setValue(v->maximum());
        else if (v->maximum() > v->value())
            v->setValue(v->value() + vPage - kGap);
        else
            SetPageIndex(m_pageIndex + 1);
        break;
    case Qt::Key_Up:
        v->setValue(v->value() - kGap);
        break;
    case Qt::Key_Down:
        v->setValue(v->value() + kGap);
        break;
    case Qt::Key_Home:
        h->setValue(0);
        if (ctrl)
            v->setValue(0);
        break;
    case Qt::Key_End:
        h->setValue(h->maximum());
        if (ctrl)
            v->setValue(v->maximum());
        break;
    case Qt::Key_Left:
        h->setValue(h->value() - (ctrl ? hPage - kGap : kGap));
        break;
    case Qt::Key_Right:
        h->setValue(h->value() + (ctrl ? hPage - kGap : kGap));
        break;
    default:
        return false;
    }
    return true;
}

void TCustomPreview::keyPressEvent(QKeyEvent *event) {
    if (!HandleKey(event->key(), event->modifiers()))
        QWidget::keyPressEvent(event);
}

bool TCustomPreview::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (HandleKey(key->key(), key->modifiers()))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TCustomPreview::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    // The recorded page does not depend on the control's size: only the layout follows.
    m_box->setGeometry(rect());
}

// ---- linked controls -------------------------------------------------------------------------

PreviewLinkedControl::~PreviewLinkedControl() {
    if (m_linkedPreview)
        m_linkedPreview->RemoveLinkedControl(this);
}

void PreviewLinkedControl::linkPreview(TCustomPreview *preview) {
    if (preview == m_linkedPreview)
        return;
    if (m_linkedPreview)
        m_linkedPreview->RemoveLinkedControl(this);
    m_linkedPreview = preview;
    if (preview)
        preview->AddLinkedControl(this);
    PreviewUpdated();
}

} // namespace tessary
