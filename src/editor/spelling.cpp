#include "editor/spelling.h"

#include "editor/spellhighlighter.h"
#include "platform/settingsstore.h"
#include "richtext/richedit.h"

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QMenu>

namespace tessary {

Spelling::Spelling(EditorContext &context, const QString &settingsKey, QWidget *window)
    : QObject(window)
    , m(context)
    , m_settingsKey(settingsKey)
    , m_highlighter(std::make_unique<SpellHighlighter>(context.Editor, m_checker)) {
    m_toggle = new QAction(QStringLiteral("Check &Spelling"), window);
    m_toggle->setObjectName(QStringLiteral("ViewSpelling"));
    m_toggle->setCheckable(true);
    connect(m_toggle, &QAction::toggled, this, &Spelling::setOn);
    m_languages = new QMenu(QStringLiteral("Spelling &Language"), window);
    m_languages->setObjectName(QStringLiteral("SpellingLanguageMenu"));
    auto *group = new QActionGroup(m_languages);
    for (const QString &language : m_checker.languages()) {
        QAction *a = m_languages->addAction(language);
        a->setObjectName(QStringLiteral("SpellingLanguage_") + language);
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, language] { setLanguage(language); });
    }
    m_languages->setEnabled(!group->actions().isEmpty());
    m.Editor->viewport()->installEventFilter(this);
}

Spelling::~Spelling() = default;

void Spelling::start() {
    m_checker.setPersonalWordList(m.AppDir + QLatin1String(kWordListName));
    const SettingsStore &store = SettingsStore::instance();
    QString language = store.readString(m_settingsKey, QLatin1String(kLanguageSetting));
    if (!m_checker.languages().contains(language))
        language = m_checker.defaultLanguage();
    // The window shows and takes keys while the dictionary is read; the words on screen are
    // checked first once it is in.
    if (m_checker.loadLanguage(language, this, [this] { dictionaryLoaded(); }))
        markLanguage(language);
    m_toggle->setChecked(store.readInteger(m_settingsKey, QLatin1String(kOnSetting), 1) != 0);
    m_toggle->setEnabled(!language.isEmpty());
}

void Spelling::dictionaryLoaded() {
    m_toggle->setEnabled(m_checker.hasDictionary());
    m_highlighter->setEnabled(m_toggle->isChecked() && m_checker.hasDictionary());
}

void Spelling::markLanguage(const QString &language) {
    for (QAction *a : m_languages->actions())
        a->setChecked(a->text() == language);
    writeSetting(kLanguageSetting, language);
}

void Spelling::writeSetting(const char *name, const QString &value) {
    SettingsStore &store = SettingsStore::instance();
    if (store.readString(m_settingsKey, QLatin1String(name)) != value)
        store.writeString(m_settingsKey, QLatin1String(name), value);
}

void Spelling::setOn(bool on) {
    if (m_toggle->isChecked() != on)
        m_toggle->setChecked(on); // comes back here through toggled
    m_highlighter->setEnabled(on && m_checker.hasDictionary());
    writeSetting(kOnSetting, on ? QStringLiteral("1") : QStringLiteral("0"));
}

void Spelling::setLanguage(const QString &language) {
    if (!m_checker.setLanguage(language))
        return;
    markLanguage(language);
    m_highlighter->recheckAll();
}

QMenu *Spelling::contextMenu(const QPoint &viewportPos) {
    RichEdit *editor = m.Editor;
    QMenu *menu = editor->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("EditorContextMenu"));
    if (!extraActions.isEmpty()) {
        menu->addSeparator();
        menu->addActions(extraActions);
    }
    const int position = editor->cursorForPosition(viewportPos).position();
    const auto word = m_highlighter->misspeltWordAt(position);
    if (!word)
        return menu;
    QAction *first = menu->actions().value(0);
    QList<QAction *> entries;
    const QStringList suggestions = m_checker.suggestions(word->text);
    for (const QString &suggestion : suggestions) {
        auto *a = new QAction(suggestion, menu);
        a->setObjectName(QStringLiteral("SpellingSuggestion"));
        QFont bold = a->font();
        bold.setBold(true);
        a->setFont(bold);
        connect(a, &QAction::triggered, this, [this, w = *word, suggestion] {
            // The word's own attributes, as one undo step.
            m.Editor->replaceRange(w.start, w.length, suggestion, CharAttributes(), 0);
        });
        entries.append(a);
    }
    if (suggestions.isEmpty()) {
        auto *none = new QAction(QStringLiteral("(no suggestions)"), menu);
        none->setEnabled(false);
        entries.append(none);
    }
    auto *add = new QAction(QStringLiteral("Add to dictionary"), menu);
    add->setObjectName(QStringLiteral("SpellingAdd"));
    connect(add, &QAction::triggered, this, [this, w = word->text] {
        m_checker.addToDictionary(w);
        m_highlighter->recheckAll();
    });
    auto *ignore = new QAction(QStringLiteral("Ignore"), menu);
    ignore->setObjectName(QStringLiteral("SpellingIgnore"));
    connect(ignore, &QAction::triggered, this, [this, w = word->text] {
        m_checker.ignore(w);
        m_highlighter->recheckAll();
    });
    entries << add << ignore;
    menu->insertActions(first, entries);
    menu->insertSeparator(first);
    return menu;
}

bool Spelling::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::ContextMenu || watched != m.Editor->viewport())
        return QObject::eventFilter(watched, event);
    const auto *e = static_cast<QContextMenuEvent *>(event);
    QMenu *menu = contextMenu(e->pos());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
    return true;
}

} // namespace tessary
