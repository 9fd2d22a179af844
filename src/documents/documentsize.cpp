#include "documents/documentsize.h"

namespace tessary {

namespace {
QString unableToLoad(const QString &path, const QString &limit, qint64 size) {
    // One arg() call: a "%1" inside the path must not be read as a placeholder.
    return QStringLiteral("Unable to load %1.\r\n\r\nFile size exceeds %2.\r\n\r\n"
                          "Current size is %3 bytes.")
        .arg(path, limit, QString::number(size));
}
} // namespace

DocumentSize::Check DocumentSize::check(const QString &path, qint64 size) {
    if (size > kReadLimit)
        return {Verdict::Refuse, unableToLoad(path, QStringLiteral("256MB"), size)};
    if (size > kOpenLimit)
        return {Verdict::Confirm, unableToLoad(path, QStringLiteral("500KB"), size)};
    return {};
}

QString DocumentSize::confirmQuestion(const QString &message) {
    return message + QStringLiteral("\r\n\r\nOpen it anyway?");
}

QString DocumentSize::saveWarning(const QString &path, qint64 size) {
    if (size <= kReadLimit)
        return {};
    return QStringLiteral("%1 would be %2 bytes long, too long to be opened again: files up to "
                          "256MB open.\r\n\r\nSave it anyway?")
        .arg(path, QString::number(size));
}

} // namespace tessary
