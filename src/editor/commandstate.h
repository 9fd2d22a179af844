#pragma once

#include "richtext/editorcontext.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>

class QAction;
class QLabel;
class QToolButton;

namespace tessary {

class Ruler;

// The window's named commands and their enabled states. Every command is a QAction owned by
// the window, found by its objectName ("FileNew", "FileOpen1", ..., "HelpAbout"; the menu
// items "Replace1" and "AboutTessary1" run SearchReplace and HelpAbout). One update pass,
// run once after each burst of editor or clipboard changes, sets the enabled states, keeps
// the ruler on the caret paragraph and shows the caret's line. Triggering a command first
// cancels a pending function-key assignment, so the handlers need not.
class CommandState : public QObject {
    Q_OBJECT
public:
    // `underlineButton` is enabled with a selection; `lineCountLabel` shows the caret line.
    CommandState(EditorContext &context, Ruler &ruler, QToolButton *underlineButton,
                 QLabel *lineCountLabel, QWidget *window);

    // nullptr for a name that is no command.
    QAction *action(const QString &name) const;
    // The MainToolBar's commands, in their order on the bar.
    QList<QAction *> toolBarActions() const;

    void ActionListUpdate();
    void EditorMouseDown();
    // One ActionListUpdate when control is back in the event loop, however often asked.
    void scheduleUpdate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions(QWidget *window);
    void clipboardChanged();
    void enable(const char *name, bool enabled);

    EditorContext &m;
    Ruler &m_ruler;
    QToolButton *m_underline;
    QLabel *m_lineCount;
    QObject *m_viewport = nullptr; // the editor's, whose clicks and resizes are watched
    QHash<QString, QAction *> m_actions;
    QTimer m_updateTimer;
    bool m_canPaste = false;
};

} // namespace tessary
