#pragma once

#include "preview/previewglyphs.h"
#include "preview/tpreview.h"

#include <QPixmap>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <array>

class QToolButton;

namespace tessary {

class TPreviewComboBox;

using TButtons = QSet<TButtonKind>;
// Print, printer set-up, the four page buttons, zoom out and zoom in.
TButtons DefaultPreviewButtons();
// The hint of a button kind ("Next page"); the user button's is its owner's.
QString ButtonHint(TButtonKind kind);

// A row of 24 x 24 buttons and the zoom box that drive a linked preview and its job. The
// buttons follow the preview: page buttons are disabled on the first or last page, zoom
// buttons at the scale limits.
class TCustomPreviewToolbar : public QWidget, public PreviewLinkedControl {
    Q_OBJECT
public:
    explicit TCustomPreviewToolbar(QWidget *parent = nullptr);

    // Links this toolbar and its zoom box to `preview`.
    void SetPreview(TCustomPreview *preview);
    TButtons Buttons() const { return m_buttons; }
    void SetButtons(const TButtons &buttons);
    bool Flat() const { return m_flat; }
    void SetFlat(bool flat);
    bool ScaleBox() const { return m_scaleBoxShown; }
    void SetScaleBox(bool shown);
    // The zoom box stands in front of this button.
    TButtonKind ScaleBoxPos() const { return m_scaleBoxPos; }
    void SetScaleBoxPos(TButtonKind kind);
    bool UserButtonEnabled() const { return m_userEnabled; }
    void SetUserButtonEnabled(bool enabled);
    QPixmap UserButtonGlyph() const { return m_userGlyph; }
    void SetUserButtonGlyph(const QPixmap &glyph);
    QString UserButtonHint() const;
    void SetUserButtonHint(const QString &hint);

    QToolButton *Button(TButtonKind kind) const { return m_buttonWidgets.at(kind); }
    TPreviewComboBox *ScaleComboBox() const { return m_scaleBox; }
    // Runs a button's action as a click does: OnButtonClick first, which may forbid it.
    void ClickButton(TButtonKind kind);
    void PreviewUpdated() override;

signals:
    void OnUpdate();
    void OnUserButtonClick();
    // Clearing AllowDefault keeps the button from doing its own action.
    void OnButtonClick(tessary::TButtonKind Button, bool &AllowDefault);

private:
    void layoutButtons();
    void updateEnabledStates();
    void defaultAction(TButtonKind kind);

    std::array<QToolButton *, ButtonKindCount> m_buttonWidgets{};
    TPreviewComboBox *m_scaleBox;
    TButtons m_buttons;
    bool m_flat = true;
    bool m_scaleBoxShown = true;
    TButtonKind m_scaleBoxPos = btnZoomOut;
    bool m_userEnabled = true;
    QPixmap m_userGlyph;
};

class TPreviewToolbar : public TCustomPreviewToolbar {
    Q_OBJECT
public:
    using TCustomPreviewToolbar::TCustomPreviewToolbar;
};

} // namespace tessary
