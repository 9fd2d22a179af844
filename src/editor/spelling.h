#pragma once

#include "editor/spellchecker.h"
#include "richtext/editorcontext.h"

#include <QObject>
#include <memory>

class QAction;
class QMenu;
class QPoint;

namespace tessary {

class SpellHighlighter;

// Spelling as the user meets it: the on/off entry and the language menu (both kept in the
// settings), and on the editor's context menu over an underlined word its suggestions,
// "Add to dictionary" and "Ignore". The personal word list lives in the per-user data folder.
class Spelling : public QObject {
    Q_OBJECT
public:
    static constexpr const char *kOnSetting = "Spelling";
    static constexpr const char *kLanguageSetting = "SpellingLanguage";
    static constexpr const char *kWordListName = "words.txt";

    Spelling(EditorContext &context, const QString &settingsKey, QWidget *window);
    ~Spelling() override;
    // Loads the word list from the data folder and the choices kept in the settings; the
    // dictionary is read on a worker thread.
    void start();

    // Entries the editor's context menu ends with (the table commands).
    QList<QAction *> extraActions;

    SpellChecker &checker() { return m_checker; }
    SpellHighlighter &highlighter() { return *m_highlighter; }
    // "ViewSpelling", checkable.
    QAction *toggle() const { return m_toggle; }
    // One checkable entry per installed language.
    QMenu *languageMenu() const { return m_languages; }

    void setOn(bool on);
    void setLanguage(const QString &language);
    // The editor's context menu at a viewport position, with the spelling entries on top
    // when the position is on an underlined word.
    QMenu *contextMenu(const QPoint &viewportPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void dictionaryLoaded();
    void markLanguage(const QString &language);
    void writeSetting(const char *name, const QString &value);

    EditorContext &m;
    QString m_settingsKey;
    SpellChecker m_checker;
    std::unique_ptr<SpellHighlighter> m_highlighter;
    QAction *m_toggle = nullptr;
    QMenu *m_languages = nullptr;
};

} // namespace tessary
