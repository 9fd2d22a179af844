#pragma once

#include "richtext/editorcontext.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <memory>

class QWidget;

namespace tessary {

class DocumentFiles;

// Keeps a copy of the modified document in the data folder, so that work typed since the
// last save survives a crash or a kill, and offers copies left by a program that died.
// The copy goes away when the document is saved, replaced or closed by the user.
//
// Each running program has its own copy, named after its process and start time, and holds
// an exclusive lock on the copy's lock file while it runs: a copy whose lock can be taken
// was left by a program that no longer runs, whatever became of its process id.
class RecoveryCopy : public QObject {
    Q_OBJECT
public:
    static constexpr int kIdleMs = 2000;     // after the user stops typing
    static constexpr int kLongestMs = 30000; // at the latest, during long typing

    RecoveryCopy(EditorContext &context, DocumentFiles &documents, QWidget *window,
                 QObject *parent = nullptr);
    ~RecoveryCopy() override;

    // Tests run the timers fast.
    void setIntervals(int idleMs, int longestMs);
    QString folder() const { return m_folder; }
    // This program's copy (it exists only while the document has unsaved changes).
    QString copyPath() const;

    // Start-up: asks about each copy left by a program that no longer runs, newest first,
    // until one is recovered. Copies of running programs are left alone.
    void OfferLeftCopies();
    // The user closed the document without saving: its copy is no longer wanted.
    void Discard();
    // Writes the copy now and waits for it (a just recovered document).
    void WriteNow();
    // What the timers run: the document is copied here, written on a worker thread.
    void StartWrite() { writeCopy(false); }
    // A save of `rtf` begins: a copy older than the document is brought up to date first.
    void SaveBegins(const QByteArray &rtf);

signals:
    // A copy was written (on the UI thread, after the worker finished).
    void copyWritten();

private:
    struct Shared;
    struct Left;
    void documentChanged();
    void contentsChanged();
    // The document's RTF is made here, or given.
    void writeCopy(bool wait, const QByteArray &rtfData = QByteArray());
    void written(bool ok, const QString &error);
    QList<Left> leftCopies();
    bool offer(Left &left);

    EditorContext &m;
    DocumentFiles &m_documents;
    QWidget *m_window;
    QString m_folder;
    QString m_stem; // "<pid>-<start time>-<n>", the name of this program's files
    int m_lockFd = -1;
    bool m_usable = false;
    QTimer m_idle;
    QTimer m_longest;
    QThreadPool m_pool;
    std::shared_ptr<Shared> m_shared;
    bool m_busy = false;    // a copy is being written
    bool m_pending = false; // the document changed while it was
    bool m_reported = false;
};

} // namespace tessary
