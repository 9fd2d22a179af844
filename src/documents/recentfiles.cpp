#include "documents/recentfiles.h"

#include "documents/documentfiles.h"
#include "platform/settingsstore.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace tessary {

RecentFiles::RecentFiles(DocumentFiles &documents, QObject *parent)
    : QObject(parent)
    , m_documents(documents) {
    connect(&documents, &DocumentFiles::fileNamed, this, &RecentFiles::AddRecentFile);
}

void RecentFiles::attachMenu(QMenu *fileMenu, QAction *exitAction) {
    m_menu = fileMenu;
    m_exit = exitAction;
}

void RecentFiles::removeMenuEntries() {
    for (QAction *action : std::as_const(m_entries)) {
        if (m_menu)
            m_menu->removeAction(action);
        action->deleteLater();
    }
    m_entries.clear();
}

void RecentFiles::BuildRecentFilesMenu() {
    removeMenuEntries();
    const SettingsStore &store = SettingsStore::instance();
    m_list.clear();
    for (const QString &name : store.valueNames(kKeyPath))
        m_list.append(store.readString(kKeyPath, name));
    if (!m_menu)
        return;
    for (int k = 0; k < m_list.size(); ++k) {
        const QString path = m_list.at(k);
        QString caption = path;
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto *entry = new QAction(QStringLiteral("&%1  %2").arg(k, 0, 16).arg(caption), m_menu);
        entry->setObjectName(QStringLiteral("RecentFile%1").arg(k));
        entry->setData(path);
        connect(entry, &QAction::triggered, this, [this, path] { RecentFileClick(path); });
        m_menu->insertAction(m_exit, entry);
        m_entries.append(entry);
    }
    m_entries.append(m_menu->insertSeparator(m_exit));
}

void RecentFiles::AddRecentFile(const QString &path) {
    m_list.removeAll(path); // exact, case-sensitive: paths differing in case are two files
    m_list.prepend(path);
    while (m_list.size() > kMaxEntries)
        m_list.removeLast();
    SaveRecentFiles();
    BuildRecentFilesMenu();
}

void RecentFiles::SaveRecentFiles() {
    SettingsStore &store = SettingsStore::instance();
    for (const QString &name : store.valueNames(kKeyPath))
        store.deleteValue(kKeyPath, name);
    m_list.removeIf([](const QString &path) { return !QFileInfo::exists(path); });
    for (int k = 0; k < m_list.size(); ++k)
        store.writeString(kKeyPath, QStringLiteral("File%1").arg(k), m_list.at(k));
    store.sync();
}

void RecentFiles::RecentFileClick(const QString &path) {
    m_documents.OpenPath(path);
}

} // namespace tessary
