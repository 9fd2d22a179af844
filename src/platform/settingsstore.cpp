#include "platform/settingsstore.h"

#include <QFile>
#include <QStandardPaths>

namespace tessary {

namespace {
std::unique_ptr<SettingsStore> &storeSlot() {
    static std::unique_ptr<SettingsStore> store;
    return store;
}
} // namespace

SettingsStore::SettingsStore(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

SettingsStore &SettingsStore::instance() {
    auto &slot = storeSlot();
    if (!slot)
        slot = std::make_unique<SettingsStore>(defaultPath());
    return *slot;
}

void SettingsStore::setInstance(std::unique_ptr<SettingsStore> store) {
    storeSlot() = std::move(store);
}

QString SettingsStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tessary/tessary.ini");
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
    m_settings->beginGroup(group(keyPath));
    const bool exists = !m_settings->childKeys().isEmpty() || !m_settings->childGroups().isEmpty();
    m_settings->endGroup();
    return exists;
}

QString SettingsStore::readString(const QString &keyPath, const QString &name,
                                  const QString &fallback) const {
    const QVariant v = m_settings->value(group(keyPath) + QLatin1Char('/') + name);
    if (!v.isValid())
        return fallback;
    // An unquoted comma makes the INI reader split a hand-written value into a list of
    // trimmed pieces ("RHPT=.date, .time"); the value is meant whole, as the file holds it.
    if (v.metaType().id() == QMetaType::QStringList) {
        const QString raw = rawValue(group(keyPath) + QLatin1Char('/') + name);
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
    m_settings->setValue(group(keyPath) + QLatin1Char('/') + name, value);
}

void SettingsStore::writeInteger(const QString &keyPath, const QString &name, int value) {
    m_settings->setValue(group(keyPath) + QLatin1Char('/') + name, value);
}

QStringList SettingsStore::valueNames(const QString &keyPath) const {
    m_settings->beginGroup(group(keyPath));
    const QStringList names = m_settings->childKeys();
    m_settings->endGroup();
    return names;
}

void SettingsStore::deleteValue(const QString &keyPath, const QString &name) {
    m_settings->remove(group(keyPath) + QLatin1Char('/') + name);
}

void SettingsStore::sync() {
    m_settings->sync();
}

} // namespace tessary
