#include "platform/safeoutput.h"

#include "platform/savejournal.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessary {

namespace {
bool g_foldersRefuseNewFiles = false;

QString reason(int error) {
    return qt_error_string(error);
}

// Follows symbolic links to the name that is finally written, so a link stays a link.
QByteArray resolveLinks(QByteArray path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st;
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        QByteArray target(4096, '\0');
        const ssize_t n = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (n <= 0 || n >= target.size())
            return path;
        target.truncate(n);
        if (!target.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            target.prepend(slash >= 0 ? path.left(slash + 1) : QByteArray());
        }
        path = target;
    }
    return path;
}

QByteArray folderOf(const QByteArray &path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// access() lets the superuser write anything; a mode without any write bit still means "keep".
bool mayWrite(const QByteArray &path, const struct stat &st) {
    return ::access(path.constData(), W_OK) == 0 && (st.st_mode & 0222) != 0;
}

QString notWritable(const QString &name) {
    return QStringLiteral("Existing file %1 is not writable").arg(name);
}

// 0 or the error number.
int writeAll(int fd, const QByteArray &bytes) {
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(std::min<qsizetype>(left, 1 << 20)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        data += n;
        left -= n;
    }
    return 0;
}

int closeChecked(int fd, int error) {
    if (::close(fd) != 0 && error == 0)
        return errno;
    return error;
}

// The temporary file beside `path`, created with 0666 so that the umask (and a default ACL)
// decides a new file's mode. Returns 0 or the error number.
int createTemporary(const QByteArray &path, QByteArray &temp, int &fd,
                    SaveJournal::Record &record) {
    const qsizetype slash = path.lastIndexOf('/');
    // Long names leave no room for the suffix within the file system's name limit.
    const QByteArray stem =
        path.size() - slash > 200 ? folderOf(path) + QByteArrayLiteral("/tessary") : path;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (g_foldersRefuseNewFiles)
            return EACCES;
        temp = stem + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) +
               QByteArrayLiteral(".part");
        record = SaveJournal::begin(temp);
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return 0;
        const int error = errno;
        SaveJournal::end(record);
        if (error != EEXIST)
            return error;
    }
    return EEXIST;
}

int writeDirect(const QByteArray &path, const QByteArray &bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    return closeChecked(fd, writeAll(fd, bytes));
}

// Space is reserved first, so a full disk is found before the old content is touched.
int writeInPlace(const QByteArray &path, const QByteArray &bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = bytes.isEmpty() ? 0 : ::posix_fallocate(fd, 0, off_t(bytes.size()));
    if (error == EOPNOTSUPP || error == EINVAL)
        error = 0;
    if (error == 0)
        error = writeAll(fd, bytes);
    if (error == 0 && ::ftruncate(fd, off_t(bytes.size())) != 0)
        error = errno;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    return closeChecked(fd, error);
}

int replaceWhole(const QByteArray &path, const QByteArray &bytes, bool exists,
                 const struct stat &st, SafeOutput::Fallback fallback) {
    QByteArray temp;
    int fd = -1;
    SaveJournal::Record record;
    if (const int error = createTemporary(path, temp, fd, record)) {
        if (fallback == SafeOutput::Fallback::InPlace && exists &&
            (error == EACCES || error == EPERM))
            return writeInPlace(path, bytes);
        return error;
    }
    if (exists) {
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            [[maybe_unused]] const int owned = ::fchown(fd, st.st_uid, st.st_gid);
        }
        ::fchmod(fd, st.st_mode & 07777);
    }
    int error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    error = closeChecked(fd, error);
    if (error == 0 && ::rename(temp.constData(), path.constData()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temp.constData());
    SaveJournal::end(record);
    return error;
}
} // namespace

bool SafeOutput::write(const QByteArray &given, const QByteArray &bytes, QString *error,
                       Fallback fallback) {
    const QString name = QFile::decodeName(given);
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    struct stat st {};
    const bool exists = ::stat(given.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return fail(QStringLiteral("%1 is a folder").arg(name));
    // Opened by the name given: links such as /dev/stdout lead to a pipe that has no path.
    if (exists && !S_ISREG(st.st_mode)) {
        const int failure = writeDirect(given, bytes);
        return failure == 0 || fail(reason(failure));
    }
    const QByteArray path = resolveLinks(given);
    if (exists && !mayWrite(path, st))
        return fail(notWritable(name));
    const int failure = replaceWhole(path, bytes, exists, st, fallback);
    return failure == 0 || fail(reason(failure));
}

QString SafeOutput::refusal(const QByteArray &given, const QByteArray &input) {
    const QString name = QFile::decodeName(given);
    if (!input.isEmpty() && sameFile(given, input))
        return QStringLiteral("%1 is the document itself").arg(name);
    struct stat st;
    if (::stat(given.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return QStringLiteral("%1 is a folder").arg(name);
        if (S_ISREG(st.st_mode) && !mayWrite(given, st))
            return notWritable(name);
        return {};
    }
    if (::stat(folderOf(resolveLinks(given)).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return QStringLiteral("the folder of %1 does not exist").arg(name);
    return {};
}

bool SafeOutput::sameFile(const QByteArray &a, const QByteArray &b) {
    struct stat first, second;
    return ::stat(a.constData(), &first) == 0 && ::stat(b.constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

void SafeOutput::setFoldersRefuseNewFiles(bool refuse) {
    g_foldersRefuseNewFiles = refuse;
}

} // namespace tessary
