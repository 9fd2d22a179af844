#pragma once

#include <QObject>
#include <QStringList>

class QAction;
class QMenu;

namespace tessary {

class DocumentFiles;

// The last five documents opened or saved under a new name, newest first: kept under
// "Software\Tessary\Recent Files" as File0..File4 and listed in the File menu before Exit.
class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxEntries = 5;
    static constexpr const char *kKeyPath = "Software\\Tessary\\Recent Files";

    RecentFiles(DocumentFiles &documents, QObject *parent = nullptr);

    // The menu that lists the entries, before `exitAction`.
    void attachMenu(QMenu *fileMenu, QAction *exitAction);
    void BuildRecentFilesMenu();
    void AddRecentFile(const QString &path);
    void SaveRecentFiles();
    void RecentFileClick(const QString &path);

    const QStringList &list() const { return m_list; }
    QList<QAction *> entryActions() const { return m_entries; }

private:
    void removeMenuEntries();

    DocumentFiles &m_documents;
    QStringList m_list;
    QMenu *m_menu = nullptr;
    QAction *m_exit = nullptr;
    QList<QAction *> m_entries; // the entries and their closing separator
};

} // namespace tessary
