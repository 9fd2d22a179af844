#include "platform/settingsstore.h"

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
    return v.isValid() ? v.toString() : fallback;
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
