#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class Hunspell;
class QObject;
class QThread;

namespace tessary {

// Knows which words are spelt right: an installed dictionary of the chosen language, the
// user's own word list (one word a line, kept in the per-user data folder) and the words the
// user chose to ignore for this run. Answers are cached, so a word is looked up once.
class SpellChecker {
public:
    // `dictionaryFolder` holds <language>.dic and .aff pairs.
    explicit SpellChecker(const QString &dictionaryFolder = QStringLiteral("/usr/share/hunspell"));
    ~SpellChecker();

    // The languages with both files installed, sorted ("en_US", ...).
    QStringList languages() const;
    // The locale's language when installed, else en_US, else the first installed.
    QString defaultLanguage() const;
    // False, and no dictionary, when the language is not installed.
    bool setLanguage(const QString &language);
    // The same on a worker thread, as reading a dictionary takes longer than showing the
    // window: false at once when the language is not installed; else `loaded` runs on the
    // thread of `context` once the dictionary is in, or earlier inside a call that waits.
    bool loadLanguage(const QString &language, QObject *context, std::function<void()> loaded);
    QString language() const { return m_language; }
    // True when the dictionary is in; waits for one still being read.
    bool ready();
    // The dictionary is in, without waiting for one being read.
    bool hasDictionary() const { return m_dictionary != nullptr; }

    void setPersonalWordList(const QString &path);
    bool isKnown(const QString &word);
    QStringList suggestions(const QString &word, int most = 8) const;
    // Adds the word to the personal list file, so it is known in later runs too.
    bool addToDictionary(const QString &word);
    void ignore(const QString &word);

private:
    struct Load {
        std::unique_ptr<Hunspell> dictionary;
        bool utf8 = true;
    };
    static Load read(const QString &base);
    // Takes the worker's dictionary once it is done, waiting for it, and runs `loaded`.
    void adoptLoaded();
    QByteArray encode(const QString &word) const;
    QString decode(const std::string &word) const;
    void loadPersonalWords();

    QString m_folder;
    QString m_language;
    QString m_personalPath;
    std::unique_ptr<Hunspell> m_dictionary;
    bool m_utf8 = true;
    QSet<QString> m_personal;
    QSet<QString> m_ignored;
    QHash<QString, bool> m_known;
    std::unique_ptr<QThread> m_loader;
    Load m_loading; // written by the loader only, read after it has finished
    std::function<void()> m_loaded;
};

} // namespace tessary
