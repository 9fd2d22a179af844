#pragma once

#include "preview/tpreview.h"

#include <QComboBox>
#include <QPointer>

namespace tessary {

// The zoom box: "Whole page", "Page width" and the zoom steps; a typed number and Enter set a
// custom scale. It shows the linked preview's scale text, or "not linked".
class TPreviewComboBox : public QComboBox, public PreviewLinkedControl {
    Q_OBJECT
public:
    explicit TPreviewComboBox(QWidget *parent = nullptr);

    void SetPreview(TCustomPreview *preview) { linkPreview(preview); }
    void PreviewUpdated() override;

signals:
    void OnUpdate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void itemChosen(int index);
    // Switches the preview to a custom scale read from `text`; false when it holds no number.
    bool applyScale(const QString &text);
    void enterPressed();
    void focusPreview();
};

} // namespace tessary
