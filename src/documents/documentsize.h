#pragma once

#include <QString>

namespace tessary {

// How large a file may be to be opened, for the window and the batch commands alike. Files up
// to kOpenLimit bytes open at once. A larger one opens only when the user wants it (the window
// asks; a batch command was asked for by name): documents with pictures pass that size easily,
// and every document Tessary writes must open again. Nothing beyond kReadLimit is read, since
// the editor could not hold it; Save warns before writing a document past it.
namespace DocumentSize {

constexpr qint64 kOpenLimit = 512000;
constexpr qint64 kReadLimit = qint64(256) << 20;

enum class Verdict { Open, Confirm, Refuse };

struct Check {
    Verdict verdict = Verdict::Open;
    QString message; // for Confirm and Refuse: why the file is not opened at once
};

Check check(const QString &path, qint64 size);

// The window's question after a Confirm message.
QString confirmQuestion(const QString &message);

// What Save says about `size` bytes written to `path`: a null string, or a warning that they
// are too many to be opened again.
QString saveWarning(const QString &path, qint64 size);

} // namespace DocumentSize

} // namespace tessary
