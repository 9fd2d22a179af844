#include "app/batchfiles.h"

#include "documents/documentsize.h"
#include "platform/safeoutput.h"
#include "richtext/richedit.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessary {

namespace {
QString cannotCreate(const QByteArray &out, const QString &reason) {
    return QStringLiteral("Cannot create file %1: %2").arg(QFile::decodeName(out), reason);
}
} // namespace

namespace {
// Reads a whole stream up to one byte past what can be read, so that an oversized one is known.
QString readLimited(QFile &file, const QString &name, QByteArray &data) {
    data = file.read(DocumentSize::kReadLimit + 1);
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("Cannot read %1. %2").arg(name, file.errorString());
    if (const auto size = DocumentSize::check(name, data.size());
        size.verdict == DocumentSize::Verdict::Refuse)
        return BatchFiles::oneLine(size.message);
    return {};
}

QString readStandardInput(QByteArray &data) {
    const QString name = QStringLiteral("standard input");
    QFile file;
    if (!file.open(STDIN_FILENO, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return QStringLiteral("Cannot open %1. %2").arg(name, file.errorString());
    return readLimited(file, name, data);
}

QString readFile(const QByteArray &in, QByteArray &data) {
    const QString name = QFile::decodeName(in);
    // Without O_NONBLOCK a named pipe would hold the command until someone writes to it.
    const int fd = ::open(in.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 && errno != ENOENT && errno != ENOTDIR)
        return QStringLiteral("Cannot open %1. %2").arg(name, qt_error_string(errno));
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        if (fd >= 0 && S_ISDIR(st.st_mode))
            return QStringLiteral("Cannot open %1: it is a folder, not a file").arg(name);
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
        return BatchFiles::oneLine(size.message);
    return readLimited(file, name, data);
}
} // namespace

QString BatchFiles::load(RichEdit &editor, const QByteArray &in) {
    const bool piped = isStandardStream(in);
    QByteArray data;
    if (const QString error = piped ? readStandardInput(data) : readFile(in, data); !error.isNull())
        return error;
    const RichEdit::LoadResult loaded = editor.loadData(data);
    if (loaded == RichEdit::LoadResult::Failed)
        return QStringLiteral("Cannot load %1: it is neither RTF nor text")
            .arg(piped ? QStringLiteral("standard input") : QFile::decodeName(in));
    // Standard input has no suffix to go by: what is not RTF is text.
    const bool text =
        piped ? loaded == RichEdit::LoadResult::PlainText
              : QFileInfo(QFile::decodeName(in)).suffix().toLower() != QLatin1String("rtf");
    if (text) {
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
    if (isStandardStream(out))
        return {};
    const QString refused = SafeOutput::refusal(out, in);
    if (refused.isNull())
        return {};
    if (SafeOutput::sameFile(out, in))
        return refused;
    return cannotCreate(out, refused);
}

QString BatchFiles::write(const QByteArray &out, const QByteArray &bytes) {
    QString reason;
    if (isStandardStream(out)) {
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t n =
                ::write(STDOUT_FILENO, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return QStringLiteral("Cannot write standard output: %1")
                    .arg(qt_error_string(n < 0 ? errno : ENOSPC));
            done += n;
        }
        return {};
    }
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
