#pragma once

#include "platform/editorcontext.h"

#include <QObject>

class QMouseEvent;
class QToolButton;
class QWidget;

namespace tessary {

// The panels the ruler draws on and the paragraph buttons it keeps in step with the caret.
struct RulerParts {
    QWidget *UpperRulerPanel = nullptr;
    QWidget *LowerRulerPanel = nullptr;
    QWidget *ImplicitTabsPanel = nullptr;
    QWidget *RulerGuidePanel = nullptr;
    QWidget *Gutter = nullptr;
    QToolButton *LeftAlignButton = nullptr;
    QToolButton *CenterAlignButton = nullptr;
    QToolButton *RightAlignButton = nullptr;
    QToolButton *BulletsButton = nullptr;
};

// The ruler above the editor: an inch scale with the default tab stops, and three markers
// that show the caret paragraph's first-line, left and right indents and set them when
// dragged. Marker positions are pixel offsets of the markers' left edges from the ruler's
// left; indents are whole points snapped to steps of 4.5 points.
class Ruler : public QObject {
    Q_OBJECT
public:
    Ruler(EditorContext &context, const RulerParts &parts, QObject *parent = nullptr);

    // Builds the scale labels and tab ticks for the screen's pixels per inch; once at start.
    void BuildRuler(int pixelsPerInch);
    const RulerParts &widgets() const { return w; }
    // Moves the markers and the alignment buttons to the caret paragraph, unless a marker is
    // being dragged.
    void SyncRuler();
    void ResetParagraphFormat();

    // A marker position in pixels as whole points, snapped to the nearer multiple of 4.5
    // points (the lower one on a tie) and then cut to whole points.
    int RulerPixelsToPoints(int pixels) const;
    static int RulerPixelsToPoints(int pixels, float pointsPerPixel);

    // The width the markers' right-hand side is measured from: the ruler's own width, which
    // is the screen's while the window is maximized.
    int rulerWidth() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void IndentMouseMove(QWidget *marker, const QMouseEvent *event);
    void FirstIndentMouseUp();
    void LeftIndentMouseUp();
    void RightIndentMouseUp();
    void UpperRulerPanelMouseDown(const QMouseEvent *event);
    void endDrag();
    void fitPanels();
    int gutterWidth() const;
    float pointsPerPixel() const;

    EditorContext &m;
    RulerParts w;
    int m_pixelsPerInch = 96;
    float m_pointsPerPixel = 0.75f;
    QWidget *RulerFirstIndent = nullptr;
    QWidget *RulerLeftIndent = nullptr;
    QWidget *RulerRightIndent = nullptr;
};

} // namespace tessary
