#pragma once

#include <QMap>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

namespace tessary {

// Per-user settings kept under key paths such as "Software\Tessary\Init", in an INI file.
// A key exists once it holds a value; writing a value creates its key.
class SettingsStore {
public:
    // An empty path keeps the settings in memory only.
    explicit SettingsStore(const QString &iniPath);
    ~SettingsStore();

    // The store the program uses; tests point it at a file of their own.
    static SettingsStore &instance();
    static void setInstance(std::unique_ptr<SettingsStore> store);
    static QString defaultPath();
    // The user's own store: the INI file under the home folder, or, without a usable home,
    // settings in memory (said once on stderr) rather than files at the file system's root.
    static std::unique_ptr<SettingsStore> forUser();
    // Why the home folder cannot hold the user's files, or empty when it can.
    static QString homeProblem();

    bool keyExists(const QString &keyPath) const;
    QString readString(const QString &keyPath, const QString &name,
                       const QString &fallback = {}) const;
    int readInteger(const QString &keyPath, const QString &name, int fallback = 0) const;
    void writeString(const QString &keyPath, const QString &name, const QString &value);
    void writeInteger(const QString &keyPath, const QString &name, int value);
    QStringList valueNames(const QString &keyPath) const;
    void deleteValue(const QString &keyPath, const QString &name);
    // Writes the file; the first write that fails is reported once on stderr, and the
    // values stay in memory.
    void sync();

    QString fileName() const { return m_settings ? m_settings->fileName() : QString(); }
    bool inMemory() const { return !m_settings; }

private:
    static QString group(const QString &keyPath);
    // The text after "key=" in the file for a settings path; null when the file has none.
    QString rawValue(const QString &path) const;
    std::unique_ptr<QSettings> m_settings;
    QMap<QString, QString> m_memory; // "group/name" to value, without a file
    bool m_failureReported = false;
};

} // namespace tessary
