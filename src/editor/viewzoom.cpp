#include "editor/viewzoom.h"

#include "editor/ruler.h"
#include "platform/settingsstore.h"
#include "richtext/richedit.h"

#include <QAction>
#include <QLabel>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cstdlib>

namespace tessary {

namespace {
// Each step is a whole number of dots per inch at 96 and at 120 dpi, so every step is exact.
constexpr std::array kSteps = {50, 75, 100, 125, 150, 175, 200, 250, 300, 400};
constexpr int kWheelNotch = 120;

int nearestStep(int percent) {
    return *std::min_element(kSteps.begin(), kSteps.end(), [percent](int a, int b) {
        return std::abs(a - percent) < std::abs(b - percent);
    });
}
} // namespace

ViewZoom::ViewZoom(RichEdit *editor, Ruler &ruler, QLabel *statusLabel, const QString &settingsKey,
                   QWidget *window)
    : QObject(window)
    , m_editor(editor)
    , m_ruler(ruler)
    , m_label(statusLabel)
    , m_settingsKey(settingsKey) {
    auto add = [this, window](const char *name, const char *caption, QList<QKeySequence> keys,
                              void (ViewZoom::*handler)()) {
        auto *a = new QAction(QString::fromLatin1(caption), window);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcuts(keys);
        window->addAction(a);
        connect(a, &QAction::triggered, this, handler);
        m_actions.append(a);
    };
    add("ViewZoomIn", "Zoom &In",
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        &ViewZoom::zoomIn);
    add("ViewZoomOut", "Zoom &Out", {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &ViewZoom::zoomOut);
    add("ViewZoomReset", "&Actual Size (100 %)", {}, &ViewZoom::reset);
    m_editor->viewport()->installEventFilter(this);
    setPercent(SettingsStore::instance().readInteger(m_settingsKey,
                                                     QString::fromLatin1(kSettingName), 100));
}

void ViewZoom::setPercent(int percent) {
    m_percent = nearestStep(percent);
    m_editor->setViewScale(m_percent);
    m_ruler.setViewScale(m_percent);
    if (m_label)
        m_label->setText(QStringLiteral("%1 %").arg(m_percent));
    m_actions.value(0)->setEnabled(m_percent < kSteps.back());
    m_actions.value(1)->setEnabled(m_percent > kSteps.front());
    SettingsStore &store = SettingsStore::instance();
    if (store.readInteger(m_settingsKey, QString::fromLatin1(kSettingName), 100) != m_percent)
        store.writeInteger(m_settingsKey, QString::fromLatin1(kSettingName), m_percent);
}

void ViewZoom::step(int direction) {
    const auto at = std::find(kSteps.begin(), kSteps.end(), m_percent);
    const auto next = at + direction;
    if (next >= kSteps.begin() && next < kSteps.end())
        setPercent(*next);
}

void ViewZoom::zoomIn() {
    step(1);
}

void ViewZoom::zoomOut() {
    step(-1);
}

void ViewZoom::reset() {
    setPercent(100);
}

bool ViewZoom::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    auto *wheel = static_cast<QWheelEvent *>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier)) {
        m_wheelRest = 0;
        return false;
    }
    // Ctrl+wheel zooms instead of scrolling a page; a notch is one step.
    m_wheelRest += wheel->angleDelta().y();
    while (std::abs(m_wheelRest) >= kWheelNotch) {
        step(m_wheelRest > 0 ? 1 : -1);
        m_wheelRest -= m_wheelRest > 0 ? kWheelNotch : -kWheelNotch;
    }
    wheel->accept();
    return true;
}

} // namespace tessary
