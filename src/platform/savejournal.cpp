#include "platform/savejournal.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessary {

namespace {
QByteArray g_folder;

QByteArray randomName() {
    return QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

// A record in the making is named ".new": it gets its name only once locked and written, so
// a sweep never takes a live record for a dead one.
int createLocked(const QByteArray &temp, QByteArray &path) {
    const QByteArray name = randomName();
    const QByteArray draft = g_folder + "/." + name + ".new";
    const int fd = ::open(draft.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    path = g_folder + '/' + name + ".save";
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::write(fd, temp.constData(), size_t(temp.size())) != temp.size() ||
        ::rename(draft.constData(), path.constData()) != 0) {
        ::unlink(draft.constData());
        ::close(fd);
        return -1;
    }
    return fd;
}
} // namespace

void SaveJournal::setFolder(const QByteArray &folder) {
    g_folder = folder;
    if (!g_folder.isEmpty() && !QDir().mkpath(QFile::decodeName(g_folder)))
        g_folder.clear();
}

SaveJournal::Record SaveJournal::begin(const QByteArray &temp) {
    Record record;
    if (g_folder.isEmpty())
        return record;
    // The sweep may run in another folder: the record names the file absolutely.
    const QByteArray absolute =
        temp.startsWith('/') ? temp : QFile::encodeName(QDir::currentPath()) + '/' + temp;
    record.fd = createLocked(absolute, record.path);
    return record;
}

void SaveJournal::end(Record &record) {
    if (record.fd < 0)
        return;
    ::unlink(record.path.constData()); // before the lock goes, so no sweep sees it unlocked
    ::close(record.fd);
    record = {};
}

bool SaveJournal::isTemporaryName(const QByteArray &path) {
    static const QRegularExpression pattern(QStringLiteral("^/.+/[^/]+\\.[0-9a-z]{1,13}\\.part$"));
    return pattern.match(QString::fromLatin1(path)).hasMatch();
}

QList<QByteArray> SaveJournal::removeStale() {
    QList<QByteArray> removed;
    if (g_folder.isEmpty())
        return removed;
    const QDir folder(QFile::decodeName(g_folder));
    const QStringList names = folder.entryList({QStringLiteral("*.save"), QStringLiteral(".*.new")},
                                               QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        const QByteArray record = QFile::encodeName(folder.filePath(name));
        const int fd = ::open(record.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) { // a save under way
            ::close(fd);
            continue;
        }
        QByteArray temp(4096, '\0');
        const ssize_t n = ::read(fd, temp.data(), size_t(temp.size()));
        temp.truncate(qMax<ssize_t>(n, 0));
        struct stat st {};
        // Only a regular file named as ours goes: a record is no licence to delete anything.
        if (isTemporaryName(temp) && ::lstat(temp.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::unlink(temp.constData()) == 0)
            removed.append(temp);
        ::unlink(record.constData());
        ::close(fd);
    }
    return removed;
}

} // namespace tessary
