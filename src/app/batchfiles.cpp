#include "app/batchfiles.h"

#include "documents/documentsize.h"
#include "platform/safeoutput.h"
#include "richtext/richedit.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessary {

namespace {
QString cannotCreate(const QByteArray &out, const QString &reason) {
    return QStringLiteral("Cannot create file %1: %2").arg(QFile::decodeName(out), reason);
}
} // namespace

QString BatchFiles::load(RichEdit &editor, const QByteArray &in) {
    const QString name = QFile::decodeName(in);
    // Without O_NONBLOCK a named pipe would hold the command until someone writes to it.
    const int fd = ::open(in.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 && errno != ENOENT && errno != ENOTDIR)
        return QStringLiteral("Cannot open %1. %2").arg(name, qt_error_string(errno));
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return QStringLiteral("Cannot open %1: there is no such file").arg(name);
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return QStringLiteral("Cannot open %1. %2").arg(name, file.errorString());
    }
    // A file named on the command line was asked for: only what cannot be read is refused,
    // also when it grows while it is read.
    if (const auto size = DocumentSize::check(name, st.st_size);
        size.verdict == DocumentSize::Verdict::Refuse)
        return oneLine(size.message);
    const QByteArray data = file.read(DocumentSize::kReadLimit + 1);
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("Cannot read %1. %2").arg(name, file.errorString());
    if (const auto size = DocumentSize::check(name, data.size());
        size.verdict == DocumentSize::Verdict::Refuse)
        return oneLine(size.message);
    if (editor.loadData(data) == RichEdit::LoadResult::Failed)
        return QStringLiteral("Cannot load %1: it is neither RTF nor text").arg(name);
    if (QFileInfo(name).suffix().toLower() != QLatin1String("rtf")) {
        CharAttributes courier;
        courier.face = QStringLiteral("Courier New");
        courier.size = 10;
        courier.charset = 0;
        editor.setRangeAttributes(0, editor.textLength(), courier,
                                  CharAttributes::Face | CharAttributes::Size |
                                      CharAttributes::CharsetField);
    }
    editor.setSelection(0, 0);
    return {};
}

QString BatchFiles::checkOutput(const QByteArray &out, const QByteArray &in) {
    const QString refused = SafeOutput::refusal(out, in);
    if (refused.isNull())
        return {};
    if (SafeOutput::sameFile(out, in))
        return refused;
    return cannotCreate(out, refused);
}

QString BatchFiles::write(const QByteArray &out, const QByteArray &bytes) {
    QString reason;
    if (SafeOutput::write(out, bytes, &reason))
        return {};
    return cannotCreate(out, reason);
}

QString BatchFiles::oneLine(const QString &text) {
    // Paragraphs that end a sentence run on with a space, others with a colon.
    const QStringList parts =
        text.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
    QString line;
    for (const QString &part : parts) {
        if (!line.isEmpty())
            line += line.endsWith(QLatin1Char('.')) ? QStringLiteral(" ") : QStringLiteral(": ");
        line += part.trimmed();
    }
    return line;
}

} // namespace tessary
