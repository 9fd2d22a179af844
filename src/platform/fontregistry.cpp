#include "platform/fontregistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHash>
#include <QRawFont>
#include <QSet>
#include <QtEndian>
#include <algorithm>

namespace tessary {

namespace {

constexpr char16_t kTriangleDown = u'\u25BC';
constexpr char16_t kTriangleUp = u'\u25B2';

// The nine faces by name (the editor has the same list; the platform layer does not
// reach up into it).
const QStringList kFaces = {
    QStringLiteral("Courier New Even"),       QStringLiteral("Courier New High"),
    QStringLiteral("Courier New Low"),        QStringLiteral("Courier New Greek Even"),
    QStringLiteral("Courier New Greek High"), QStringLiteral("Courier New Greek Low"),
    QStringLiteral("TessarySymbol Even"),     QStringLiteral("TessarySymbol High"),
    QStringLiteral("TessarySymbol Low")};

// File name of a face in the fonts folder: the face name without blanks.
QString fileForFace(const QString &face) {
    QString file = face;
    file.remove(QLatin1Char(' '));
    return file + QStringLiteral(".ttf");
}

bool hasTriangles(const QString &family) {
    if (!QFontDatabase::hasFamily(family))
        return false;
    const QRawFont raw = QRawFont::fromFont(QFont(family));
    return raw.isValid() && raw.supportsCharacter(kTriangleDown) &&
           raw.supportsCharacter(kTriangleUp);
}

// "C059 [urw]" names the family "C059" as supplied by one foundry.
QString withoutFoundry(const QString &family) {
    if (!family.endsWith(QLatin1Char(']')))
        return family;
    const qsizetype open = family.lastIndexOf(QStringLiteral(" ["));
    return open > 0 ? family.left(open) : family;
}

quint32 tableChecksum(const char *data, quint32 length) {
    quint32 sum = 0;
    const quint32 whole = length & ~3u;
    for (quint32 at = 0; at < whole; at += 4)
        sum += qFromBigEndian<quint32>(data + at);
    if (whole < length) { // the last word is padded with zeros
        char word[4] = {};
        std::copy(data + whole, data + length, word);
        sum += qFromBigEndian<quint32>(word);
    }
    return sum;
}

} // namespace

QByteArray FontRegistry::withoutFixedPitchFlag(QByteArray font) {
    // The text engine never emboldens a face flagged fixed-pitch, so bold notation would show
    // regular on the screen while every printer strokes it bold. Every glyph keeps its advance.
    const auto word = [&](qsizetype at) { return qFromBigEndian<quint32>(font.constData() + at); };
    if (font.size() < 12)
        return font;
    const int tables = qFromBigEndian<quint16>(font.constData() + 4);
    qsizetype postEntry = -1, headOffset = -1;
    for (int i = 0; i < tables && 12 + 16 * (i + 1) <= font.size(); ++i) {
        const qsizetype entry = 12 + 16 * i;
        const QByteArray tag = font.mid(entry, 4);
        if (tag == "post")
            postEntry = entry;
        else if (tag == "head")
            headOffset = word(entry + 8);
    }
    if (postEntry < 0)
        return font;
    const quint32 offset = word(postEntry + 8), length = word(postEntry + 12);
    if (length < 16 || offset + length > quint64(font.size()) || word(offset + 12) == 0)
        return font;
    qToBigEndian<quint32>(0, font.data() + offset + 12); // post.isFixedPitch
    qToBigEndian(tableChecksum(font.constData() + offset, length), font.data() + postEntry + 4);
    if (headOffset >= 0 && headOffset + 12 <= font.size()) {
        qToBigEndian<quint32>(0, font.data() + headOffset + 8);
        const quint32 sum = tableChecksum(font.constData(), quint32(font.size()));
        qToBigEndian<quint32>(0xB1B0AFBA - sum, font.data() + headOffset + 8);
    }
    return font;
}

QStringList FontRegistry::documentFamilies() {
    static const QSet<QString> generic = {
        QStringLiteral("serif"),   QStringLiteral("sans serif"), QStringLiteral("sans-serif"),
        QStringLiteral("sans"),    QStringLiteral("monospace"),  QStringLiteral("mono"),
        QStringLiteral("cursive"), QStringLiteral("fantasy"),    QStringLiteral("system-ui"),
        QStringLiteral("emoji"),   QStringLiteral("math")};
    QStringList families;
    QSet<QString> seen;
    for (const QString &family : QFontDatabase::families(QFontDatabase::Latin)) {
        const QString name = withoutFoundry(family);
        if (!QFontDatabase::isScalable(family) || QFontDatabase::isPrivateFamily(family) ||
            generic.contains(name.toLower()) ||
            QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol) ||
            seen.contains(name))
            continue;
        seen.insert(name);
        families.append(name);
    }
    return families;
}

QSet<QString> FontRegistry::installedFamilies() {
    QSet<QString> installed;
    for (const QString &family : QFontDatabase::families())
        installed.insert(withoutFoundry(family).toLower());
    return installed;
}

QString FontRegistry::standInFace(int familyClass) {
    static QHash<int, QString> resolved;
    if (const auto it = resolved.constFind(familyClass); it != resolved.constEnd())
        return it.value();
    QFont font;
    font.setStyleHint(familyClass == 1   ? QFont::Serif
                      : familyClass == 3 ? QFont::TypeWriter
                      : familyClass == 4 ? QFont::Cursive
                      : familyClass == 5 ? QFont::Decorative
                                         : QFont::SansSerif);
    font.setFamily(familyClass == 1   ? QStringLiteral("Serif")
                   : familyClass == 3 ? QStringLiteral("Monospace")
                                      : QStringLiteral("Sans Serif"));
    const QString face = QFontInfo(font).family();
    resolved.insert(familyClass, face);
    return face;
}

QString FontRegistry::dataDirectory() {
    const QString fromEnv = qEnvironmentVariable("TESSARY_DATA_DIR");
    if (!fromEnv.isEmpty() && QFileInfo(fromEnv).isDir())
        return QDir(fromEnv).absolutePath();
    // The program folder always exists, so it is taken only when it carries the data
    // (build tree); an installed program finds its data under share/tessary.
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString installed = QDir::cleanPath(appDir + QStringLiteral("/../share/tessary"));
    for (const QString &dir : {appDir, installed}) {
        if (QFileInfo(dir + QStringLiteral("/fonts")).isDir())
            return dir;
    }
    return QFileInfo(installed).isDir() ? installed : appDir;
}

QString FontRegistry::notationFaceFile(const QString &face) {
    return dataDirectory() + QStringLiteral("/fonts/") + fileForFace(face);
}

QStringList FontRegistry::registerNotationFaces(const QString &fontsDir) {
    // Qt keeps one more copy of a face per addApplicationFont call.
    static QSet<QString> registered;
    QStringList missing;
    for (const QString &face : kFaces) {
        const QString path = QDir(fontsDir).absoluteFilePath(fileForFace(face));
        QFile file(path);
        if (!registered.contains(path) && file.open(QIODevice::ReadOnly) &&
            QFontDatabase::addApplicationFontFromData(withoutFixedPitchFlag(file.readAll())) >= 0)
            registered.insert(path);
        // A face installed on the system serves as well as our file.
        if (!QFontDatabase::hasFamily(face))
            missing.append(face);
    }
    return missing;
}

QString FontRegistry::rulerMarkerFace() {
    static const QString webdings = QStringLiteral("Webdings");
    if (QFontDatabase::hasFamily(webdings))
        return webdings;
    for (const QString &family : {QStringLiteral("DejaVu Sans"), QStringLiteral("FreeSans"),
                                  QStringLiteral("Noto Sans Symbols2")}) {
        if (hasTriangles(family))
            return family;
    }
    // Qt falls back to any face that has the triangles when drawing.
    return QGuiApplication::font().family();
}

QChar FontRegistry::rulerMarkerDown() {
    return rulerMarkerFace() == QLatin1String("Webdings") ? QLatin1Char('6') : QChar(kTriangleDown);
}

QChar FontRegistry::rulerMarkerUp() {
    return rulerMarkerFace() == QLatin1String("Webdings") ? QLatin1Char('5') : QChar(kTriangleUp);
}

} // namespace tessary
