#pragma once

#include "platform/printerservice.h"
#include "preview/previewzoom.h"
#include "printjob/previewclient.h"
#include "printjob/tcustomprintjob.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QList>
#include <QPicture>
#include <QPointer>
#include <QWidget>

namespace tessary {

class TCustomPreview;
class PreviewLinkedControl;

// The scroll box around the sheet: scroll bars step by 8 pixels, keys go to the preview.
class TSpecialScrollBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TSpecialScrollBox(TCustomPreview *preview);

protected:
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    TCustomPreview *m_preview;
};

// The sheet: replays the recorded page scaled into itself, with the unprintable border, the
// frame and the shadow; drags scroll the box when the preview allows it.
class TDrawPanel : public QWidget {
    Q_OBJECT
public:
    explicit TDrawPanel(TCustomPreview *preview, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TCustomPreview *m_preview;
    QPoint m_pressPoint;
    bool m_dragging = false;
};

// Shows one page of a print job as it comes out of the printer. The page is recorded once
// per update through the job's DrawPage into a picture in printer pixels; painting only
// replays that picture, so scrolling and repainting never call the job.
class TCustomPreview : public QWidget, public PreviewClient {
    Q_OBJECT
public:
    explicit TCustomPreview(QWidget *parent = nullptr);
    ~TCustomPreview() override;

    TCustomPrintJob *PrintJob() const { return m_job; }
    // Registers with the new job (not owned), shows its first page.
    void SetPrintJob(TCustomPrintJob *job);
    QColor Color() const { return m_color; }
    void SetColor(const QColor &color);
    QColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(const QColor &color);
    int ShadowSize() const { return m_shadowSize; }
    // Clamped to 0..100; 0 draws no shadow.
    void SetShadowSize(int size);
    TViewMode ViewMode() const { return m_viewMode; }
    void SetViewMode(TViewMode mode);
    // In vmCustom the scale shown; in the other modes the scale their layout gives.
    int ViewScale() const { return m_viewScale; }
    // Taken only in vmCustom, clamped to 10..1000.
    void SetViewScale(int scale);
    int PageIndex() const { return m_pageIndex; }
    // Clamped to the job's pages; a changed page is shown at its top. OnPageChanged fires
    // on every write.
    void SetPageIndex(int index);
    bool ScrollTracking() const { return m_scrollTracking; }
    void SetScrollTracking(bool tracking);
    bool DragScroll() const { return m_dragScroll; }
    void SetDragScroll(bool drag) { m_dragScroll = drag; }

    // Lays the sheet out for the view mode and records the page again.
    void UpdatePreview() override;
    void ZoomIn();
    void ZoomOut();
    QString ScaleText() const;
    // "Page 2 of 7"; empty without a job.
    QString PageText() const;
    void AddLinkedControl(PreviewLinkedControl *control);
    void RemoveLinkedControl(PreviewLinkedControl *control);

    // True while the job and a printer are there to show a page.
    bool CanShow() const;
    TSpecialScrollBox *ScrollBox() const { return m_box; }
    TDrawPanel *DrawPanel() const { return m_panel; }
    const QPicture &PagePicture() const { return m_picture; }
    // The printer's figures when the page was recorded.
    const DeviceFigures &RecordedFigures() const { return m_figures; }
    // Handles a key of the preview's table; false for any other key.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);

signals:
    // After every update that had a job and a printer.
    void OnUpdate();
    void OnPageChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class TSpecialScrollBox;
    friend class TDrawPanel;
    // Places the panel for the view mode; resetScroll moves both scroll bars home first.
    void layoutSheet(bool resetScroll);
    void recordPage();
    void placePanel();
    void notifyLinked();
    void scrollBy(int dx, int dy);
    QSizeF pageSizeInPrinterPixels() const;

    QPointer<TCustomPrintJob> m_job;
    TSpecialScrollBox *m_box;
    TDrawPanel *m_panel;
    QPicture m_picture;
    DeviceFigures m_figures;
    QRect m_sheetArea; // the panel in scroll-box content coordinates
    QList<PreviewLinkedControl *> m_linked;
    QColor m_color = QColor(0x80, 0x80, 0x80);
    QColor m_shadowColor = QColor(0x40, 0x40, 0x40);
    int m_shadowSize = 8;
    TViewMode m_viewMode = vmWholePage;
    int m_viewScale = 100;
    int m_pageIndex = 1;
    bool m_scrollTracking = false;
    bool m_dragScroll = false;
    bool m_layingOut = false;
};

// A control that follows a preview (toolbar, zoom box, status bar): told after every update,
// unlinked when it goes, and left without a preview when the preview goes.
class PreviewLinkedControl {
public:
    virtual ~PreviewLinkedControl();
    TCustomPreview *Preview() const { return m_linkedPreview; }
    virtual void PreviewUpdated() = 0;

protected:
    // Leaves the old preview, joins the new one, then updates.
    void linkPreview(TCustomPreview *preview);

private:
    QPointer<TCustomPreview> m_linkedPreview;
};

// The preview control as the program places it.
class TPreview : public TCustomPreview {
    Q_OBJECT
public:
    using TCustomPreview::TCustomPreview;
};

} // namespace tessary
