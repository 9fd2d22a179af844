#pragma once

#include "editor/mainparts.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>

class QAction;

namespace tessary {

class Ruler;

// The window's named commands and their enabled states. Every command is a QAction owned by
// the window, found by its objectName ("FileNew", "FileOpen1", ..., "HelpAbout"; the menu
// items "Replace1" and "AboutTessary1" run SearchReplace and HelpAbout). One update pass,
// run once after each burst of editor or clipboard changes, sets the enabled states, keeps
// the ruler on the caret paragraph and shows the caret's line.
class CommandState : public QObject {
    Q_OBJECT
public:
    CommandState(MainParts &parts, Ruler &ruler, QWidget *window);

    // nullptr for a name that is no command.
    QAction *action(const QString &name) const;
    // The MainToolBar's commands, in their order on the bar.
    QList<QAction *> toolBarActions() const;

    void ActionListUpdate();
    void EditorChange();
    void EditorMouseDown();
    // One ActionListUpdate when control is back in the event loop, however often asked.
    void scheduleUpdate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions(QWidget *window);
    void clipboardChanged();
    void enable(const char *name, bool enabled);

    MainParts &m;
    Ruler &m_ruler;
    QHash<QString, QAction *> m_actions;
    QTimer m_updateTimer;
    bool m_canPaste = false;
};

} // namespace tessary
