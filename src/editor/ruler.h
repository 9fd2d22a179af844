#pragma once

#include "richtext/editorcontext.h"

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
// dragged. Each marker's tip stands where its indent puts the text; a list's room for its
// bullet, which moves the text further in, is drawn apart as a band from the first-line
// marker. Indents are whole points snapped to steps of 4.5 points.
class Ruler : public QObject {
    Q_OBJECT
public:
    Ruler(EditorContext &context, const RulerParts &parts, QObject *parent = nullptr);

    // Builds the scale labels and tab ticks for the screen's pixels per inch; once at start.
    void BuildRuler(int pixelsPerInch);
    // The scale follows the editor's view scale: an inch of the ruler is an inch of its text.
    void setViewScale(int percent);
    const RulerParts &widgets() const { return w; }
    // Moves the markers and the alignment buttons to the caret paragraph, unless a marker is
    // being dragged.
    void SyncRuler();
    void ResetParagraphFormat();

    // A marker position in pixels as whole points, snapped to the nearer multiple of 4.5
    // points (the lower one on a tie) and then cut to whole points.
    int RulerPixelsToPoints(int pixels) const;
    static int RulerPixelsToPoints(int pixels, float pointsPerPixel);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void IndentMouseMove(QWidget *marker, const QMouseEvent *event);
    void FirstIndentMouseUp();
    void LeftIndentMouseUp();
    void RightIndentMouseUp();
    void UpperRulerPanelMouseDown(const QMouseEvent *event);
    // Where the caret paragraph's indents are measured from, in ruler pixels: the start of an
    // indent of 0 (a list's room not counted) and the right edge.
    struct TextEdges {
        int left = 0;
        int right = 0;
    };
    TextEdges textEdges() const;
    // How far the marker's tip stands inside the text's edge, in pixels.
    int markerPixels(const QWidget *marker) const;
    void endDrag();
    void fitPanels();
    int gutterWidth() const;
    float pointsPerPixel() const;

    EditorContext &m;
    RulerParts w;
    int m_pixelsPerInch = 96;
    float m_pointsPerPixel = 0.75f;
    int m_viewScale = 100;
    QWidget *RulerFirstIndent = nullptr;
    QWidget *RulerLeftIndent = nullptr;
    QWidget *RulerRightIndent = nullptr;
};

} // namespace tessary
