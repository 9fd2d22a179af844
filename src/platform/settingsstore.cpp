#include "platform/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

namespace tessary {

namespace {
std::unique_ptr<SettingsStore> &storeSlot() {
    static std::unique_ptr<SettingsStore> store;
    return store;
}

void report(const QString &text) {
    std::fprintf(stderr, "tessary: %s\n", qPrintable(text));
}
} // namespace

SettingsStore::SettingsStore(const QString &iniPath) {
    if (!iniPath.isEmpty())
        m_settings = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

SettingsStore::~SettingsStore() {
    sync();
}

SettingsStore &SettingsStore::instance() {
    auto &slot = storeSlot();
    if (!slot)
        slot = forUser();
    return *slot;
}

void SettingsStore::setInstance(std::unique_ptr<SettingsStore> store) {
    storeSlot() = std::move(store);
}

QString SettingsStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tessary/tessary.ini");
}

// Without HOME the desktop's folders resolve to the file system's root.
QString SettingsStore::homeProblem() {
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty())
        return QStringLiteral("HOME is not set");
    if (!QDir::isAbsolutePath(home) || !QFileInfo(home).isDir())
        return QStringLiteral("HOME (%1) is not a folder").arg(home);
    return {};
}

std::unique_ptr<SettingsStore> SettingsStore::forUser() {
    const QString problem = homeProblem();
    if (problem.isEmpty())
        return std::make_unique<SettingsStore>(defaultPath());
    report(QStringLiteral("%1: settings are kept in memory and forgotten at exit, and no "
                          "recovery copies of unsaved work are kept")
               .arg(problem));
    return std::make_unique<SettingsStore>(QString());
}

// "\Software\Tessary\Init" and "Software\Tessary\Init" name the same INI group.
QString SettingsStore::group(const QString &keyPath) {
    QString g = keyPath;
    g.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (g.startsWith(QLatin1Char('/')))
        g.remove(0, 1);
    return g;
}

bool SettingsStore::keyExists(const QString &keyPath) const {
    if (!m_settings) {
        const QString prefix = group(keyPath) + QLatin1Char('/');
        const auto it = m_memory.lowerBound(prefix);
        return it != m_memory.end() && it.key().startsWith(prefix);
    }
    m_settings->beginGroup(group(keyPath));
    const bool exists = !m_settings->childKeys().isEmpty() || !m_settings->childGroups().isEmpty();
    m_settings->endGroup();
    return exists;
}

QString SettingsStore::readString(const QString &keyPath, const QString &name,
                                  const QString &fallback) const {
    const QString key = group(keyPath) + QLatin1Char('/') + name;
    if (!m_settings)
        return m_memory.value(key, fallback);
    const QVariant v = m_settings->value(key);
    if (!v.isValid())
        return fallback;
    // An unquoted comma makes the INI reader split a hand-written value into a list of
    // trimmed pieces ("RHPT=.date, .time"); the value is meant whole, as the file holds it.
    if (v.metaType().id() == QMetaType::QStringList) {
        const QString raw = rawValue(key);
        return raw.isNull() ? v.toStringList().join(QStringLiteral(", ")) : raw;
    }
    return v.toString();
}

QString SettingsStore::rawValue(const QString &path) const {
    // The first part of the path names the INI section, the rest the key, its parts joined
    // by backslashes and blanks written %20 as the INI writer does.
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    const QString section = slash < 0 ? QStringLiteral("General") : path.left(slash);
    QString key = path.mid(slash + 1);
    key.replace(QLatin1Char('/'), QLatin1Char('\\'))
        .replace(QLatin1Char(' '), QStringLiteral("%20"));
    QFile file(fileName());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QString value, current;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
            current = line.mid(1, line.size() - 2);
        else if (current == section && equals > 0 && line.left(equals).trimmed() == key)
            value = line.mid(equals + 1).trimmed();
    }
    return value;
}

int SettingsStore::readInteger(const QString &keyPath, const QString &name, int fallback) const {
    bool ok = false;
    const int value = readString(keyPath, name).toInt(&ok);
    return ok ? value : fallback;
}

void SettingsStore::writeString(const QString &keyPath, const QString &name, const QString &value) {
    const QString key = group(keyPath) + QLatin1Char('/') + name;
    if (m_settings)
        m_settings->setValue(key, value);
    else
        m_memory.insert(key, value);
}

void SettingsStore::writeInteger(const QString &keyPath, const QString &name, int value) {
    if (m_settings)
        m_settings->setValue(group(keyPath) + QLatin1Char('/') + name, value);
    else
        writeString(keyPath, name, QString::number(value));
}

QStringList SettingsStore::valueNames(const QString &keyPath) const {
    if (!m_settings) {
        const QString prefix = group(keyPath) + QLatin1Char('/');
        QStringList names;
        for (auto it = m_memory.lowerBound(prefix);
             it != m_memory.end() && it.key().startsWith(prefix); ++it) {
            const QString rest = it.key().mid(prefix.size());
            if (!rest.contains(QLatin1Char('/')))
                names.append(rest);
        }
        return names;
    }
    m_settings->beginGroup(group(keyPath));
    const QStringList names = m_settings->childKeys();
    m_settings->endGroup();
    return names;
}

void SettingsStore::deleteValue(const QString &keyPath, const QString &name) {
    const QString key = group(keyPath) + QLatin1Char('/') + name;
    if (m_settings)
        m_settings->remove(key);
    else
        m_memory.remove(key);
}

void SettingsStore::sync() {
    if (!m_settings)
        return;
    m_settings->sync();
    if (m_settings->status() == QSettings::AccessError && !m_failureReported) {
        m_failureReported = true;
        report(QStringLiteral("cannot write the settings to %1; changes are kept until the "
                              "program ends")
                   .arg(m_settings->fileName()));
    }
}

} // namespace tessary
