#include "editor/spellchecker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QThread>
#include <hunspell.hxx>
#include <utility>

namespace tessary {

SpellChecker::SpellChecker(const QString &dictionaryFolder)
    : m_folder(dictionaryFolder) {}

SpellChecker::~SpellChecker() {
    if (m_loader)
        m_loader->wait();
}

QStringList SpellChecker::languages() const {
    QStringList found;
    const QDir folder(m_folder);
    for (const QFileInfo &dic : folder.entryInfoList({QStringLiteral("*.dic")}, QDir::Files)) {
        if (folder.exists(dic.completeBaseName() + QStringLiteral(".aff")))
            found.append(dic.completeBaseName());
    }
    found.sort();
    return found;
}

QString SpellChecker::defaultLanguage() const {
    const QStringList installed = languages();
    for (const QString &wanted : {QLocale::system().name(), QStringLiteral("en_US")}) {
        if (installed.contains(wanted))
            return wanted;
    }
    return installed.value(0);
}

SpellChecker::Load SpellChecker::read(const QString &base) {
    Load load;
    load.dictionary = std::make_unique<Hunspell>(QFile::encodeName(base + QStringLiteral(".aff")),
                                                 QFile::encodeName(base + QStringLiteral(".dic")));
    const QByteArray encoding = QByteArray::fromStdString(load.dictionary->get_dict_encoding());
    // Other 8-bit dictionaries are taken as Latin-1, which holds the Western languages.
    load.utf8 = encoding.toUpper().replace("-", "") == "UTF8";
    return load;
}

bool SpellChecker::setLanguage(const QString &language) {
    if (m_loader) {
        m_loaded = nullptr; // a dictionary still being read is no longer wanted
        adoptLoaded();
    }
    m_known.clear();
    m_dictionary.reset();
    m_language.clear();
    if (!languages().contains(language))
        return false;
    Load load = read(QDir(m_folder).filePath(language));
    m_dictionary = std::move(load.dictionary);
    m_utf8 = load.utf8;
    m_language = language;
    return true;
}

bool SpellChecker::loadLanguage(const QString &language, QObject *context,
                                std::function<void()> loaded) {
    setLanguage(QString()); // drops the dictionary in use and any still being read
    if (!languages().contains(language))
        return false;
    m_language = language;
    m_loaded = std::move(loaded);
    const QString base = QDir(m_folder).filePath(language);
    m_loader.reset(QThread::create([this, base] { m_loading = read(base); }));
    QObject::connect(m_loader.get(), &QThread::finished, context, [this] {
        if (m_loader)
            adoptLoaded();
    });
    m_loader->start(QThread::LowPriority);
    return true;
}

void SpellChecker::adoptLoaded() {
    m_loader->wait();
    m_loader.reset();
    m_known.clear();
    m_dictionary = std::move(m_loading.dictionary);
    m_utf8 = m_loading.utf8;
    if (const std::function<void()> loaded = std::exchange(m_loaded, nullptr))
        loaded();
}

bool SpellChecker::ready() {
    if (m_loader)
        adoptLoaded();
    return m_dictionary != nullptr;
}

void SpellChecker::setPersonalWordList(const QString &path) {
    m_personalPath = path;
    m_known.clear();
    loadPersonalWords();
}

void SpellChecker::loadPersonalWords() {
    m_personal.clear();
    QFile file(m_personalPath);
    if (m_personalPath.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString word = QString::fromUtf8(line).trimmed();
        if (!word.isEmpty())
            m_personal.insert(word);
    }
}

QByteArray SpellChecker::encode(const QString &word) const {
    return m_utf8 ? word.toUtf8() : word.toLatin1();
}

QString SpellChecker::decode(const std::string &word) const {
    return m_utf8 ? QString::fromStdString(word)
                  : QString::fromLatin1(word.data(), qsizetype(word.size()));
}

bool SpellChecker::isKnown(const QString &word) {
    if (!ready() || m_personal.contains(word) || m_ignored.contains(word))
        return true;
    const auto cached = m_known.constFind(word);
    if (cached != m_known.constEnd())
        return *cached;
    // A word the dictionary's 8-bit code cannot spell is not judged.
    const bool representable = m_utf8 || QString::fromLatin1(word.toLatin1()) == word;
    const bool known = !representable || m_dictionary->spell(encode(word).toStdString());
    m_known.insert(word, known);
    return known;
}

QStringList SpellChecker::suggestions(const QString &word, int most) const {
    QStringList list;
    if (!m_dictionary)
        return list;
    for (const std::string &s : m_dictionary->suggest(encode(word).toStdString())) {
        if (list.size() >= most)
            break;
        list.append(decode(s));
    }
    return list;
}

bool SpellChecker::addToDictionary(const QString &word) {
    if (word.isEmpty() || m_personal.contains(word))
        return !word.isEmpty();
    m_personal.insert(word);
    m_known.remove(word);
    if (m_personalPath.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(m_personalPath).absolutePath());
    QFile file(m_personalPath);
    if (!file.open(QIODevice::Append | QIODevice::Text))
        return false;
    return file.write(word.toUtf8() + '\n') > 0;
}

void SpellChecker::ignore(const QString &word) {
    m_ignored.insert(word);
    m_known.remove(word);
}

} // namespace tessary
