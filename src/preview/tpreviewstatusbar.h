#pragma once

#include "preview/tpreview.h"

#include <QPointer>
#include <QSet>
#include <QStatusBar>

class QLabel;

namespace tessary {

enum TPanelKind { pnPage, pnScale };
using TPanels = QSet<TPanelKind>;

// The preview's status bar: the page panel ("Page 2 of 7"), the scale panel and the user's
// text in the last panel, which stretches to the preview's width.
class TCustomPreviewStatusBar : public QStatusBar, public PreviewLinkedControl {
    Q_OBJECT
public:
    explicit TCustomPreviewStatusBar(QWidget *parent = nullptr);

    // The default panel widths: 100 pixels, or as much as the panel's widest text needs in
    // `font` ("Page 9999 of 9999", "Page width (1000%)").
    static int DefaultPagePanelWidth(const QFont &font);
    static int DefaultScalePanelWidth(const QFont &font);

    void SetPreview(TCustomPreview *preview) { linkPreview(preview); }
    TPanels Panels() const { return m_panels; }
    void SetPanels(const TPanels &panels);
    int PagePanelWidth() const { return m_pageWidth; }
    void SetPagePanelWidth(int width);
    int ScalePanelWidth() const { return m_scaleWidth; }
    void SetScalePanelWidth(int width);
    QString UserText() const { return m_userText; }
    void SetUserText(const QString &text);
    bool SizeGrip() const { return isSizeGripEnabled(); }
    void SetSizeGrip(bool grip) { setSizeGripEnabled(grip); }

    // The text a panel shows now (empty for a hidden panel).
    QString PanelText(TPanelKind kind) const;
    QString UserPanelText() const;
    void PreviewUpdated() override;

signals:
    void OnUpdate();

private:
    TPanels m_panels{pnPage, pnScale};
    int m_pageWidth;
    int m_scaleWidth;
    QString m_userText;
    QLabel *m_pagePanel;
    QLabel *m_scalePanel;
    QLabel *m_userPanel;
};

class TPreviewStatusBar : public TCustomPreviewStatusBar {
    Q_OBJECT
public:
    using TCustomPreviewStatusBar::TCustomPreviewStatusBar;
};

} // namespace tessary
