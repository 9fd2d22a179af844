#include "documents/recoverycopy.h"

#include "documents/documentfiles.h"
#include "platform/savejournal.h"
#include "platform/services.h"
#include "platform/settingsstore.h"
#include "richtext/documentstate.h"
#include "richtext/richedit.h"
#include "rtf/rtfwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMutex>
#include <QTextDocument>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tessary {

struct RecoveryCopy::Shared {
    QMutex mutex;
    // Raised whenever the copy is removed: a write begun before must not bring it back.
    quint64 generation = 0;
};

struct RecoveryCopy::Left {
    QString stem;
    int lockFd = -1;
    QString document; // empty for the untitled document
    QDateTime time;
};

namespace {

const QString kTitle = QStringLiteral("Tessary");
int copiesMade = 0; // a program's copies are told apart by their number (tests make several)

void report(const QString &text) {
    std::fprintf(stderr, "tessary: %s\n", qPrintable(text));
}

// Writes `data` beside `path`, on the disk before it is renamed into place.
bool writeTemporary(const QString &path, const QByteArray &data, QString &error) {
    QFile file(path + QStringLiteral(".tmp"));
    // The copy holds the user's unsaved text: for the user alone, whatever the umask.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(data) != data.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        error = QStringLiteral("%1: %2").arg(file.fileName(), file.errorString());
        file.close();
        file.remove();
        return false;
    }
    return true;
}

// rename(2) replaces the old file in one step: there is always a whole copy.
bool replaceWith(const QString &path) {
    return ::rename(QFile::encodeName(path + QStringLiteral(".tmp")).constData(),
                    QFile::encodeName(path).constData()) == 0;
}

int openLock(const QString &path) {
    return ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

// True when this program now holds the lock, so that the copy's program is gone. Where the
// file system has no locks, the process id decides.
bool takeLock(int fd, qint64 pid) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    if (errno == EWOULDBLOCK)
        return false;
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

RecoveryCopy::RecoveryCopy(EditorContext &context, DocumentFiles &documents, QWidget *window,
                           QObject *parent)
    : QObject(parent)
    , m(context)
    , m_documents(documents)
    , m_window(window)
    , m_folder(context.AppDir + QStringLiteral("recovery/"))
    , m_stem(QStringLiteral("%1-%2-%3")
                 .arg(::getpid())
                 .arg(QDateTime::currentMSecsSinceEpoch())
                 .arg(++copiesMade))
    , m_shared(std::make_shared<Shared>()) {
    m_pool.setMaxThreadCount(1);
    m_idle.setSingleShot(true);
    m_longest.setSingleShot(true);
    setIntervals(kIdleMs, kLongestMs);
    connect(&m_idle, &QTimer::timeout, this, [this] { writeCopy(false); });
    connect(&m_longest, &QTimer::timeout, this, [this] { writeCopy(false); });
    connect(m.Editor->document(), &QTextDocument::contentsChanged, this,
            &RecoveryCopy::contentsChanged);
    connect(m.Document, &DocumentState::changed, this, &RecoveryCopy::documentChanged);
    connect(m.Document, &DocumentState::saved, this, &RecoveryCopy::Discard);
    connect(&documents, &DocumentFiles::saving, this, &RecoveryCopy::SaveBegins);
    if (!SettingsStore::homeProblem().isEmpty())
        return; // the settings store has said that the home is missing
    if (context.AppDir.isEmpty() || !QDir().mkpath(m_folder)) {
        report(QStringLiteral("no recovery copies: cannot create %1").arg(m_folder));
        return;
    }
    SaveJournal::setFolder(QFile::encodeName(context.AppDir + QStringLiteral("saving")));
    m_lockFd = openLock(m_folder + m_stem + QStringLiteral(".lock"));
    m_usable = m_lockFd >= 0 && ::flock(m_lockFd, LOCK_EX | LOCK_NB) == 0;
    if (!m_usable)
        report(QStringLiteral("no recovery copies: cannot lock a file in %1").arg(m_folder));
}

RecoveryCopy::~RecoveryCopy() {
    Discard();
    m_pool.waitForDone();
    if (m_lockFd >= 0) {
        QFile::remove(m_folder + m_stem + QStringLiteral(".lock"));
        ::close(m_lockFd);
    }
}

void RecoveryCopy::setIntervals(int idleMs, int longestMs) {
    m_idle.setInterval(idleMs);
    m_longest.setInterval(longestMs);
}

QString RecoveryCopy::copyPath() const {
    return m_folder + m_stem + QStringLiteral(".rtf");
}

void RecoveryCopy::contentsChanged() {
    if (!m.Document->DocumentModified())
        return;
    m_idle.start();
    if (!m_longest.isActive())
        m_longest.start();
}

void RecoveryCopy::documentChanged() {
    if (m.Document->DocumentModified())
        contentsChanged();
    else
        Discard(); // saved, new, opened, or undone back to the file
}

void RecoveryCopy::Discard() {
    m_idle.stop();
    m_longest.stop();
    m_pending = false;
    const QMutexLocker locker(&m_shared->mutex);
    ++m_shared->generation;
    QFile::remove(copyPath());
    QFile::remove(m_folder + m_stem + QStringLiteral(".json"));
}

void RecoveryCopy::WriteNow() {
    m_pool.waitForDone();
    writeCopy(true);
}

// A save killed part-way must not take the typing since the last copy with it.
void RecoveryCopy::SaveBegins(const QByteArray &rtf) {
    if (!m_idle.isActive() && !m_busy)
        return; // the copy is the document
    m_pool.waitForDone();
    m_busy = false; // the worker's report is still queued
    writeCopy(true, rtf);
}

void RecoveryCopy::writeCopy(bool wait, const QByteArray &rtfData) {
    m_idle.stop();
    m_longest.stop();
    if (!m_usable || !m.Document->DocumentModified())
        return;
    if (m_busy) {
        m_pending = true;
        return;
    }
    const QString name = m.Document->CurrentFileName();
    QJsonObject info;
    info.insert(QStringLiteral("document"), name == m_documents.untitledName() ? QString() : name);
    info.insert(QStringLiteral("pid"), qint64(::getpid()));
    const QByteArray infoData = QJsonDocument(info).toJson(QJsonDocument::Compact);
    // Only the snapshot is taken here; serialising and writing happen on the worker.
    auto job = [shared = m_shared, generation = m_shared->generation,
                snapshot = rtfData.isNull() ? RtfWriter::snapshot(m.Editor->document())
                                            : RtfWriter::Snapshot(),
                rtfData, rtfPath = copyPath(),
                infoPath = m_folder + m_stem + QStringLiteral(".json"), infoData](QString &error) {
        const QByteArray rtf = rtfData.isNull() ? RtfWriter::write(snapshot) : rtfData;
        const bool ok =
            writeTemporary(infoPath, infoData, error) && writeTemporary(rtfPath, rtf, error);
        const QMutexLocker locker(&shared->mutex);
        if (!ok || generation != shared->generation) {
            QFile::remove(infoPath + QStringLiteral(".tmp"));
            QFile::remove(rtfPath + QStringLiteral(".tmp"));
            return ok;
        }
        // The description goes first: a copy is never there without it.
        if (!replaceWith(infoPath) || !replaceWith(rtfPath)) {
            error = QStringLiteral("cannot rename into %1").arg(QFileInfo(rtfPath).path());
            return false;
        }
        return true;
    };
    m_busy = true;
    if (wait) {
        QString error;
        const bool ok = job(error);
        written(ok, error);
        return;
    }
    m_pool.start([this, job] {
        QString error;
        const bool ok = job(error);
        QMetaObject::invokeMethod(
            this, [this, ok, error] { written(ok, error); }, Qt::QueuedConnection);
    });
}

void RecoveryCopy::written(bool ok, const QString &error) {
    m_busy = false;
    if (!ok && !m_reported) {
        m_reported = true;
        report(QStringLiteral("cannot write the recovery copy: %1").arg(error));
    }
    if (ok)
        emit copyWritten();
    if (m_pending) {
        m_pending = false;
        writeCopy(false);
    }
}

QList<RecoveryCopy::Left> RecoveryCopy::leftCopies() {
    QList<Left> found;
    if (!m_usable)
        return found;
    QStringList stems;
    for (const QString &file : QDir(m_folder).entryList(QDir::Files)) {
        const QString stem = file.section(QLatin1Char('.'), 0, 0);
        if (stem != m_stem && !stems.contains(stem))
            stems.append(stem);
    }
    for (const QString &stem : std::as_const(stems)) {
        const QString base = m_folder + stem;
        QFile infoFile(base + QStringLiteral(".json"));
        const QJsonObject info = infoFile.open(QIODevice::ReadOnly)
                                     ? QJsonDocument::fromJson(infoFile.readAll()).object()
                                     : QJsonObject();
        const int fd = openLock(base + QStringLiteral(".lock"));
        if (fd < 0)
            continue;
        if (!takeLock(fd, info.value(QStringLiteral("pid"))
                              .toInteger(stem.section(QLatin1Char('-'), 0, 0).toLongLong()))) {
            ::close(fd);
            continue;
        }
        const QFileInfo copy(base + QStringLiteral(".rtf"));
        if (!copy.isFile()) { // what a program left without a copy: its lock, a half write
            for (const char *ext : {".json", ".rtf.tmp", ".json.tmp", ".lock"})
                QFile::remove(base + QLatin1String(ext));
            ::close(fd);
            continue;
        }
        found.append(
            {stem, fd, info.value(QStringLiteral("document")).toString(), copy.lastModified()});
    }
    std::sort(found.begin(), found.end(),
              [](const Left &a, const Left &b) { return a.time > b.time; });
    return found;
}

void RecoveryCopy::OfferLeftCopies() {
    SaveJournal::removeStale(); // what saves of killed programs left beside their documents
    QList<Left> left = leftCopies();
    bool recovered = false;
    for (Left &copy : left) {
        if (!recovered)
            recovered = offer(copy);
        ::close(copy.lockFd); // a copy kept is offered again at the next start
    }
}

// True when the copy became the document.
bool RecoveryCopy::offer(Left &left) {
    const QString base = m_folder + left.stem;
    const QString name = left.document.isEmpty() ? QStringLiteral("untitled.rtf") : left.document;
    const QString text =
        QStringLiteral("Tessary ended without closing %1. A recovery copy of its unsaved "
                       "changes was kept (%2).\n\nRecover opens the copy as the document, "
                       "still to be saved; Discard deletes the copy.")
            .arg(name, QLocale().toString(left.time, QLocale::LongFormat));
    const int answer = Services::dialogs().choose(
        m_window, kTitle, text, {QStringLiteral("Recover"), QStringLiteral("Discard")}, 0);
    auto remove = [&] {
        for (const char *ext : {".rtf", ".json", ".lock"})
            QFile::remove(base + QLatin1String(ext));
    };
    if (answer == 1)
        remove();
    if (answer != 0)
        return false;
    QFile file(base + QStringLiteral(".rtf"));
    const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (m_documents.ConfirmSaveChanges() == QMessageBox::Cancel)
        return false;
    const QString document = left.document.isEmpty() ? m_documents.untitledName() : left.document;
    if (data.isEmpty() || !m_documents.OpenRecovered(data, document)) {
        Services::dialogs().message(
            m_window, kTitle,
            QStringLiteral("The recovery copy %1 could not be read.").arg(file.fileName()),
            QMessageBox::Warning);
        return false;
    }
    WriteNow(); // the recovered text is safe under this program's name before the old copy goes
    remove();
    return true;
}

} // namespace tessary
