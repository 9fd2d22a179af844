#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tessary {

// Writes an output file whole or not at all. Paths are the file system's own bytes
// (QFile::encodeName), so names that are not valid text still reach the right file; a symbolic
// link is followed to the file it names.
//
// A regular file, or a name that does not exist yet, gets a temporary file beside it that is
// renamed over it once complete: a new file takes the umask's mode, an existing one keeps its
// mode (and, where allowed, its owner). Anything else (a pipe, a terminal, a device) is written
// into directly. Every write error is a failure; an existing file whose mode allows nobody to
// write it is refused even for the superuser.
class SafeOutput {
public:
    enum class Fallback {
        None,
        // Where the folder refuses a new file but the file itself may be written, it is
        // written in place from the complete bytes (see docs/architecture.md for the risk).
        InPlace,
    };

    // False with the reason in `error` (one line, without the path prefix of the caller).
    static bool write(const QByteArray &path, const QByteArray &bytes, QString *error,
                      Fallback fallback = Fallback::None);
    static bool write(const QString &path, const QByteArray &bytes, QString *error,
                      Fallback fallback = Fallback::None) {
        return write(QFile::encodeName(path), bytes, error, fallback);
    }

    // Why `path` cannot be written, checked before the work that makes its bytes: the same file
    // as `input` (through any link), a folder, a read-only file, a folder that does not exist.
    // A null string when it looks writable.
    static QString refusal(const QByteArray &path, const QByteArray &input = {});

    // Both names exist and are one file (the same device and inode).
    static bool sameFile(const QByteArray &a, const QByteArray &b);

    // Test seam: every folder refuses new files, as a folder the user may not write does even
    // where the tests run as the superuser.
    static void setFoldersRefuseNewFiles(bool refuse);
};

} // namespace tessary
