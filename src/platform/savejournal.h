#pragma once

#include <QByteArray>
#include <QList>

namespace tessary {

// Records the temporary files of saves under way in a folder of the program's data, so that
// those of a program killed part-way through a save can be removed at the next start. A
// record is held locked (flock) while its save runs: a record whose lock can be taken was
// left by a program that has gone.
class SaveJournal {
public:
    // Where records go; empty (the default) records nothing.
    static void setFolder(const QByteArray &folder);

    struct Record {
        int fd = -1;
        QByteArray path;
    };
    // Records `temp` before it is created; the record stays locked until end().
    static Record begin(const QByteArray &temp);
    static void end(Record &record);

    // Removes what programs that have gone left behind: temporary files of our own naming
    // ("NAME.XXXXXX.part") and their records. Returns the temporary files removed.
    static QList<QByteArray> removeStale();

    // Whether `path` is named as our temporary files are.
    static bool isTemporaryName(const QByteArray &path);
};

} // namespace tessary
