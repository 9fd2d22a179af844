#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

namespace tessary {

// Per-user settings kept under key paths such as "Software\Tessary\Init", in an INI file.
// A key exists once it holds a value; writing a value creates its key.
class SettingsStore {
public:
    explicit SettingsStore(const QString &iniPath);

    // The store the program uses; tests point it at a file of their own.
    static SettingsStore &instance();
    static void setInstance(std::unique_ptr<SettingsStore> store);
    static QString defaultPath();

    bool keyExists(const QString &keyPath) const;
    QString readString(const QString &keyPath, const QString &name,
                       const QString &fallback = {}) const;
    int readInteger(const QString &keyPath, const QString &name, int fallback = 0) const;
    void writeString(const QString &keyPath, const QString &name, const QString &value);
    void writeInteger(const QString &keyPath, const QString &name, int value);
    QStringList valueNames(const QString &keyPath) const;
    void deleteValue(const QString &keyPath, const QString &name);
    void sync();

    QString fileName() const { return m_settings->fileName(); }

private:
    static QString group(const QString &keyPath);
    // The text after "key=" in the file for a settings path; null when the file has none.
    QString rawValue(const QString &path) const;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace tessary
