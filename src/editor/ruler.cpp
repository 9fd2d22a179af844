#include "editor/ruler.h"

#include "platform/fontregistry.h"
#include "platform/services.h"
#include "richtext/documentstate.h"
#include "richtext/richedit.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTextList>
#include <QToolButton>
#include <cstdlib>

namespace tessary {

namespace {
const QColor kMaroon(128, 0, 0);
const QColor kListRoom(190, 190, 190);
constexpr int kMarkerWidth = 20;
// A marker's tip, where the guide line runs while it is dragged, from its left edge.
constexpr int kMarkerTip = kMarkerWidth / 4 + 1;
// The ruler's panels are made just tall enough for the scale and the markers.
constexpr int kLowerPanelHeight = 8;

// An indent marker: a triangle whose tip sits where the guide line runs while it is dragged
// (a quarter of its width plus one), drawn with the "Webdings" caption where that face is
// installed.
class RulerMarker : public QWidget {
public:
    RulerMarker(QWidget *panel, const QString &name, const QString &hint, const QColor &color,
                bool pointsDown)
        : QWidget(panel)
        , m_color(color)
        , m_down(pointsDown) {
        setObjectName(name);
        setToolTip(hint);
        resize(kMarkerWidth, panel->height());
        setCursor(Qt::SizeHorCursor);
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal tip = kMarkerTip + 0.5;
        const QString face = FontRegistry::rulerMarkerFace();
        if (face == QLatin1String("Webdings")) {
            QFont font(face);
            font.setPixelSize(height() * 2);
            painter.setFont(font);
            painter.setPen(m_color);
            const QChar glyph =
                m_down ? FontRegistry::rulerMarkerDown() : FontRegistry::rulerMarkerUp();
            painter.drawText(rect(), (m_down ? Qt::AlignBottom : Qt::AlignTop) | Qt::AlignLeft,
                             QString(glyph));
            return;
        }
        const qreal half = 5, depth = qMin<qreal>(6, height() - 1);
        const qreal edge = m_down ? height() - 0.5 : 0.5;
        const qreal base = m_down ? edge - depth : edge + depth;
        const QPolygonF triangle{QPointF(tip - half, base), QPointF(tip + half, base),
                                 QPointF(tip, edge)};
        painter.setPen(QPen(m_color.darker(150), 1));
        painter.setBrush(m_color);
        painter.drawPolygon(triangle);
    }

private:
    QColor m_color;
    bool m_down;
};

// The room the caret paragraph's list keeps left of its text for the bullet or number, in
// view pixels. The text starts that much right of where its indents put it; the markers show
// the indents, and a band from the first-line marker shows the room.
int listRoom(const RichEdit *editor) {
    const QTextList *list = editor->textCursor().block().textList();
    if (!list)
        return 0;
    return qRound(list->format().indent() * editor->document()->indentWidth() *
                  editor->viewScale() / 100.0);
}

QWidget *listRoomBand(QWidget *panel) {
    auto *band = new QWidget(panel);
    band->setObjectName(QStringLiteral("RulerListRoom"));
    band->setToolTip(QStringLiteral("Room for the bullet"));
    band->setAutoFillBackground(true);
    QPalette palette = band->palette();
    palette.setColor(QPalette::Window, kListRoom);
    band->setPalette(palette);
    band->hide();
    return band;
}

// The band runs from the first-line marker's tip over the list's room.
void placeListRoom(QWidget *firstMarker, int room) {
    QWidget *band = firstMarker->window()->findChild<QWidget *>(QStringLiteral("RulerListRoom"));
    if (!band)
        return;
    const QWidget *panel = band->parentWidget();
    const int tip =
        panel->mapFrom(band->window(), firstMarker->mapTo(band->window(), QPoint(kMarkerTip, 0)))
            .x();
    band->setGeometry(tip, 0, room, panel->height());
    band->setVisible(room > 0);
}

QLabel *scaleLabel(QWidget *panel, const QString &caption, const QFont &font, int left) {
    auto *label = new QLabel(caption, panel);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kMaroon);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->adjustSize();
    label->move(left, 0);
    label->resize(label->width(), panel->height());
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->show();
    return label;
}

QLabel *tabTick(QWidget *panel, int left) {
    auto *tick = new QLabel(panel);
    tick->setAutoFillBackground(true);
    QPalette palette = tick->palette();
    palette.setColor(QPalette::Window, Qt::white);
    tick->setPalette(palette);
    tick->setGeometry(left, 0, 1, panel->height());
    tick->show();
    return tick;
}
} // namespace

Ruler::Ruler(EditorContext &context, const RulerParts &parts, QObject *parent)
    : QObject(parent)
    , m(context)
    , w(parts) {
    fitPanels();
    RulerFirstIndent = new RulerMarker(w.UpperRulerPanel, QStringLiteral("RulerFirstIndent"),
                                       QStringLiteral("Paragraph indent"), Qt::blue, true);
    RulerLeftIndent = new RulerMarker(w.LowerRulerPanel, QStringLiteral("RulerLeftIndent"),
                                      QStringLiteral("Paragraph left margin"), Qt::red, false);
    RulerRightIndent =
        new RulerMarker(w.LowerRulerPanel, QStringLiteral("RulerRightIndent"),
                        QStringLiteral("Paragraph right margin"), QColor(0, 128, 0), false);
    listRoomBand(w.LowerRulerPanel)->lower(); // under the markers: never takes their clicks
    for (QObject *watched :
         {static_cast<QObject *>(RulerFirstIndent), static_cast<QObject *>(RulerLeftIndent),
          static_cast<QObject *>(RulerRightIndent), static_cast<QObject *>(w.UpperRulerPanel),
          static_cast<QObject *>(w.LowerRulerPanel)})
        watched->installEventFilter(this);
}

void Ruler::fitPanels() {
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(9);
    const int scaleHeight = QFontMetrics(font).height();
    w.UpperRulerPanel->setFixedHeight(qMax(14, scaleHeight));
    w.LowerRulerPanel->setFixedHeight(kLowerPanelHeight);
}

int Ruler::gutterWidth() const {
    return w.Gutter ? w.Gutter->width() : 5;
}

float Ruler::pointsPerPixel() const {
    return m_pointsPerPixel;
}

Ruler::TextEdges Ruler::textEdges() const {
    const QWidget *viewport = m.Editor->viewport();
    const QWidget *ruler = w.UpperRulerPanel;
    auto toRuler = [&](int x) {
        return ruler->mapFrom(ruler->window(), viewport->mapTo(viewport->window(), QPoint(x, 0)))
            .x();
    };
    // The indents are the paragraph's own: measured from where the list's room begins.
    return {toRuler(m.Editor->paragraphOrigin()) - listRoom(m.Editor),
            toRuler(m.Editor->paragraphRightEdge())};
}

int Ruler::markerPixels(const QWidget *marker) const {
    const TextEdges edges = textEdges();
    const int tip = marker->x() + kMarkerTip;
    return qMax(0, marker == RulerRightIndent ? edges.right - tip : tip - edges.left);
}

void Ruler::BuildRuler(int pixelsPerInch) {
    m_pixelsPerInch = pixelsPerInch > 0 ? pixelsPerInch : 96;
    const bool large = m_pixelsPerInch == 120;
    const int ppi = qMax(4, m_pixelsPerInch * m_viewScale / 100);
    m_pointsPerPixel = 72.0f / float(ppi);
    for (QWidget *panel : {w.UpperRulerPanel, w.ImplicitTabsPanel}) {
        for (QLabel *old : panel->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
            delete old;
    }
    const int step = qMax(1, ppi / 4);
    const int half = qMax(1, ppi / 2);
    const int gutter = gutterWidth();
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(9);
    const int screenWidth = Services::screen().width();
    for (int i = 0; i < screenWidth; i += step) {
        const bool inch = i > 0 && i % ppi == 0;
        scaleLabel(w.UpperRulerPanel, inch ? QStringLiteral("|") : QStringLiteral("\u00B7"), font,
                   gutter / 2 + i + (i == 0 ? 1 : 0));
        if (i % half == 0)
            tabTick(w.ImplicitTabsPanel, gutter + i + (i == 0 || large ? 1 : 0));
    }
    RulerFirstIndent->raise();
    SyncRuler();
}

void Ruler::setViewScale(int percent) {
    m_viewScale = percent;
    BuildRuler(m_pixelsPerInch);
}

int Ruler::RulerPixelsToPoints(int pixels) const {
    return RulerPixelsToPoints(pixels, pointsPerPixel());
}

int Ruler::RulerPixelsToPoints(int pixels, float pointsPerPixel) {
    const int t = int(float(pixels) * pointsPerPixel) * 10; // tenths of a point
    const int q = t / 45 + 1;
    const int r = t % 45;
    return r <= q * 45 - t ? (t - r) / 10 : (q * 45) / 10;
}

void Ruler::SyncRuler() {
    if (m.RulerDragging)
        return;
    const ParaAttributes p = m.Editor->paraAttributes();
    const float ppp = pointsPerPixel();
    const TextEdges edges = textEdges();
    // Each tip stands where the text it governs starts or ends: quotients in single
    // precision, truncated toward zero; a marker never leaves the ruler on the left.
    auto place = [](QWidget *marker, float tip) {
        marker->move(qMax(0, int(tip) - kMarkerTip), marker->y());
    };
    place(RulerFirstIndent, float(edges.left) + float(p.firstIndent) / ppp);
    place(RulerLeftIndent, float(edges.left) + float(p.firstIndent + p.leftIndent) / ppp);
    place(RulerRightIndent, float(edges.right) - float(p.rightIndent) / ppp);
    placeListRoom(RulerFirstIndent, listRoom(m.Editor));
    QToolButton *aligned = p.alignment == Alignment::Right    ? w.RightAlignButton
                           : p.alignment == Alignment::Center ? w.CenterAlignButton
                                                              : w.LeftAlignButton;
    aligned->setChecked(true);
    w.BulletsButton->setChecked(p.bullet);
}

void Ruler::ResetParagraphFormat() {
    const ParaAttributes now = m.Editor->paraAttributes();
    ParaAttributes reset = now;
    reset.alignment = Alignment::Left;
    reset.firstIndent = reset.leftIndent = reset.rightIndent = 0;
    // Writing an unchanged format would still leave an undo step in a fresh document.
    if (reset != now)
        m.Editor->setParaAttributes(reset);
    w.LeftAlignButton->setChecked(true);
    w.RulerGuidePanel->hide();
    m.RulerDragging = false;
    SyncRuler();
}

void Ruler::IndentMouseMove(QWidget *marker, const QMouseEvent *event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    m.RulerDragging = true;
    // The tips stay over the text: near its left edge (within a gutter's width) a marker
    // snaps to it, and it stops at its right edge.
    const TextEdges edges = textEdges();
    const int lowest = qMax(0, edges.left - kMarkerTip);
    const int highest = edges.right - kMarkerTip;
    int left = marker->x() + int(event->position().x());
    if (left < lowest + gutterWidth())
        left = lowest;
    else if (left > highest)
        left = highest;
    marker->move(left, marker->y());
    if (marker == RulerFirstIndent)
        placeListRoom(marker, listRoom(m.Editor));
    QWidget *window = w.RulerGuidePanel->parentWidget();
    const QPoint editorTop = m.Editor->mapTo(window, QPoint(0, 0));
    const QPoint guide = marker->parentWidget()->mapTo(window, QPoint(left + kMarkerTip, 0));
    w.RulerGuidePanel->setGeometry(guide.x(), editorTop.y(), 1, m.Editor->height());
    w.RulerGuidePanel->show();
    w.RulerGuidePanel->raise();
    m.Document->setDocumentModified(true);
}

void Ruler::FirstIndentMouseUp() {
    RichEdit *editor = m.Editor;
    const RichEdit::UpdateGroup group(*editor);
    ParaAttributes p = editor->paraAttributes();
    p.firstIndent = RulerPixelsToPoints(markerPixels(RulerFirstIndent));
    editor->setParaAttributes(p, ParaAttributes::FirstIndent);
    // The other lines stay where the left marker shows them.
    p = editor->paraAttributes();
    p.leftIndent = RulerPixelsToPoints(markerPixels(RulerLeftIndent)) - p.firstIndent;
    editor->setParaAttributes(p, ParaAttributes::LeftIndent);
}

void Ruler::LeftIndentMouseUp() {
    // Measured from the paragraph's own first-line indent, so the other lines land exactly
    // where the marker shows them even when that indent is off the 4.5-point grid.
    ParaAttributes p = m.Editor->paraAttributes();
    p.leftIndent = RulerPixelsToPoints(markerPixels(RulerLeftIndent)) - p.firstIndent;
    m.Editor->setParaAttributes(p, ParaAttributes::LeftIndent);
}

void Ruler::RightIndentMouseUp() {
    ParaAttributes p = m.Editor->paraAttributes();
    p.rightIndent = RulerPixelsToPoints(markerPixels(RulerRightIndent));
    m.Editor->setParaAttributes(p, ParaAttributes::RightIndent);
}

void Ruler::endDrag() {
    w.RulerGuidePanel->hide();
    m.RulerDragging = false;
    SyncRuler();
}

void Ruler::UpperRulerPanelMouseDown(const QMouseEvent *event) {
    if (!(event->button() == Qt::RightButton || (event->buttons() & Qt::RightButton)))
        return;
    const int x = int(event->position().x());
    const int first = RulerFirstIndent->x();
    const int left = RulerLeftIndent->x();
    ParaAttributes p = m.Editor->paraAttributes();
    const int distance = std::abs(p.leftIndent);
    if (x > first && x > left) {
        p.firstIndent += distance;
    } else if (x < first && x < left) {
        // No line of the paragraph is pushed past the left edge, where it could not be seen.
        const int room = qMin(p.firstIndent, p.firstIndent + p.leftIndent);
        p.firstIndent -= qBound(0, room, distance);
    } else {
        return;
    }
    m.Editor->setParaAttributes(p, ParaAttributes::FirstIndent);
    SyncRuler();
}

bool Ruler::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Resize && watched == w.UpperRulerPanel)
        SyncRuler();
    // Only mouse events are taken; the panels and markers also see child and paint events.
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<const QMouseEvent *>(event);
    if (watched == w.UpperRulerPanel || watched == w.LowerRulerPanel) {
        if (type == QEvent::MouseButtonPress)
            UpperRulerPanelMouseDown(mouse);
        return false;
    }
    auto *marker = static_cast<QWidget *>(watched);
    // The marker takes the left button, so the moves that follow come to it; other buttons
    // go on to the panel underneath.
    if (event->type() == QEvent::MouseButtonPress)
        return mouse->button() == Qt::LeftButton;
    if (event->type() == QEvent::MouseMove) {
        IndentMouseMove(marker, mouse);
        return true;
    }
    // A click without a drag writes nothing: it would only snap the indent to the grid.
    if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
        m.RulerDragging) {
        if (marker == RulerFirstIndent)
            FirstIndentMouseUp();
        else if (marker == RulerLeftIndent)
            LeftIndentMouseUp();
        else
            RightIndentMouseUp();
        endDrag();
        return true;
    }
    return false;
}

} // namespace tessary
