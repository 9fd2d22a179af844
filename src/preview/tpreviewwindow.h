#pragma once

#include "preview/tpreviewstatusbar.h"
#include "preview/tpreviewtoolbar.h"

#include <QFont>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace tessary {

// A free-standing preview window: a preview filling it, a toolbar above, a status bar below.
// It exists from TPreviewWindow::Show until it is closed; moving and resizing it are written
// back to its TPreviewWindow.
class TPreviewForm : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewForm(QWidget *parent = nullptr);

    TPreview *Preview() const { return m_preview; }
    TPreviewToolbar *Toolbar() const { return m_toolbar; }
    TPreviewStatusBar *StatusBar() const { return m_statusBar; }

signals:
    void geometryChanged();
    void closed();

protected:
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    TPreview *m_preview;
    TPreviewToolbar *m_toolbar;
    TPreviewStatusBar *m_statusBar;
};

// The settings of a preview window, kept while it is closed and applied when Show builds it.
// While it is open, every setter forwards at once to the preview, toolbar or status bar.
class TCustomPreviewWindow : public QObject {
    Q_OBJECT
public:
    explicit TCustomPreviewWindow(QObject *parent = nullptr);
    ~TCustomPreviewWindow() override;

    // Shows the window modeless, building it when it is not open.
    void Show();
    // Records the open window's page again.
    void RefreshPreview();
    // The open window, or null.
    TPreviewForm *Form() const { return m_form; }

    TCustomPrintJob *PrintJob() const { return m_job; }
    void SetPrintJob(TCustomPrintJob *job);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    QFont Font() const { return m_font; }
    void SetFont(const QFont &font);
    QIcon Icon() const { return m_icon; }
    void SetIcon(const QIcon &icon);
    Qt::WindowState WindowState() const { return m_windowState; }
    void SetWindowState(Qt::WindowState state);
    // Where the window opens, frame included; moving and resizing it write these back.
    int WindowLeft() const { return m_windowRect.left(); }
    void SetWindowLeft(int left);
    int WindowTop() const { return m_windowRect.top(); }
    void SetWindowTop(int top);
    int WindowWidth() const { return m_windowRect.width(); }
    void SetWindowWidth(int width);
    int WindowHeight() const { return m_windowRect.height(); }
    void SetWindowHeight(int height);
    QColor Color() const { return m_color; }
    void SetColor(const QColor &color);
    QColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(const QColor &color);
    int ShadowSize() const { return m_shadowSize; }
    void SetShadowSize(int size);
    // The open preview's page; 1 while closed. Written only to the open preview.
    int PageIndex() const;
    void SetPageIndex(int index);
    bool DragScroll() const { return m_dragScroll; }
    void SetDragScroll(bool drag);
    bool ScrollTracking() const { return m_scrollTracking; }
    void SetScrollTracking(bool tracking);
    TViewMode ViewMode() const { return m_viewMode; }
    void SetViewMode(TViewMode mode);
    int ViewScale() const { return m_viewScale; }
    void SetViewScale(int scale);
    TButtons Buttons() const { return m_buttons; }
    void SetButtons(const TButtons &buttons);
    bool Flat() const { return m_flat; }
    void SetFlat(bool flat);
    bool ScaleBox() const { return m_scaleBox; }
    void SetScaleBox(bool shown);
    TButtonKind ScaleBoxPos() const { return m_scaleBoxPos; }
    void SetScaleBoxPos(TButtonKind kind);
    bool UserButtonEnabled() const { return m_userEnabled; }
    void SetUserButtonEnabled(bool enabled);
    QPixmap UserButtonGlyph() const { return m_userGlyph; }
    void SetUserButtonGlyph(const QPixmap &glyph);
    QString UserButtonHint() const { return m_userHint; }
    void SetUserButtonHint(const QString &hint);
    TPanels Panels() const { return m_panels; }
    void SetPanels(const TPanels &panels);
    int PagePanelWidth() const { return m_pagePanelWidth; }
    void SetPagePanelWidth(int width);
    int ScalePanelWidth() const { return m_scalePanelWidth; }
    void SetScalePanelWidth(int width);
    QString UserText() const { return m_userText; }
    void SetUserText(const QString &text);
    bool SizeGrip() const { return m_sizeGrip; }
    void SetSizeGrip(bool grip);

signals:
    void OnShow();
    void OnClose();
    // The open preview's page was written.
    void OnPageChanged();
    void OnUserButtonClick();

private:
    void buildForm();
    void formGeometryChanged();
    void formClosed();
    void applyGeometry();
    TPreview *preview() const { return m_form ? m_form->Preview() : nullptr; }
    TPreviewToolbar *toolbar() const { return m_form ? m_form->Toolbar() : nullptr; }
    TPreviewStatusBar *statusBar() const { return m_form ? m_form->StatusBar() : nullptr; }

    QPointer<TPreviewForm> m_form;
    QPointer<TCustomPrintJob> m_job;
    QString m_caption;
    QFont m_font;
    QIcon m_icon;
    Qt::WindowState m_windowState = Qt::WindowNoState;
    QRect m_windowRect{0, 0, 400, 500};
    QColor m_color = QColor(0x80, 0x80, 0x80);
    QColor m_shadowColor = QColor(0x40, 0x40, 0x40);
    int m_shadowSize = 8;
    bool m_dragScroll = true;
    bool m_scrollTracking = false;
    TViewMode m_viewMode = vmWholePage;
    int m_viewScale = 0;
    TButtons m_buttons = DefaultPreviewButtons();
    bool m_flat = true;
    bool m_scaleBox = true;
    TButtonKind m_scaleBoxPos = btnZoomOut;
    bool m_userEnabled = true;
    QPixmap m_userGlyph;
    QString m_userHint;
    TPanels m_panels{pnPage, pnScale};
    int m_pagePanelWidth = TCustomPreviewStatusBar::DefaultPagePanelWidth(m_font);
    int m_scalePanelWidth = TCustomPreviewStatusBar::DefaultScalePanelWidth(m_font);
    QString m_userText;
    bool m_sizeGrip = true;
};

class TPreviewWindow : public TCustomPreviewWindow {
    Q_OBJECT
public:
    using TCustomPreviewWindow::TCustomPreviewWindow;
};

} // namespace tessary
