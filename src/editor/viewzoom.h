#pragma once

#include <QObject>

class QAction;
class QLabel;
class QWidget;

namespace tessary {

class RichEdit;
class Ruler;

// Magnifies the editing view in steps from 50 % to 400 %: Zoom In (Ctrl++ and Ctrl+=), Zoom
// Out (Ctrl+-), Ctrl+wheel over the text, and Actual Size back to 100 %. The scale is a view
// setting only, shown in the status panel and kept in the settings between runs.
class ViewZoom : public QObject {
    Q_OBJECT
public:
    static constexpr const char *kSettingName = "Zoom";

    ViewZoom(RichEdit *editor, Ruler &ruler, QLabel *statusLabel, const QString &settingsKey,
             QWidget *window);

    int percent() const { return m_percent; }
    // The nearest step, so a value written by hand still lands on one.
    void setPercent(int percent);
    void zoomIn();
    void zoomOut();
    void reset();
    // "ViewZoomIn", "ViewZoomOut", "ViewZoomReset".
    QList<QAction *> actions() const { return m_actions; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void step(int direction);

    RichEdit *m_editor;
    Ruler &m_ruler;
    QLabel *m_label;
    QString m_settingsKey;
    QList<QAction *> m_actions;
    int m_percent = 100;
    int m_wheelRest = 0; // part of a wheel notch that a touchpad delivered, still to come
};

} // namespace tessary
