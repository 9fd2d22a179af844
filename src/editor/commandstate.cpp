#include "editor/commandstate.h"

#include "editor/ruler.h"
#include "richtext/documentstate.h"
#include "richtext/richedit.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTextTable>
#include <QToolButton>

namespace tessary {

namespace {
struct Command {
    const char *name;
    const char *caption;
    const char *shortcut; // portable text, empty for none
    const char *hint;     // the tool-bar hint; empty: the caption without its access key
    bool onToolBar;
};

// In MainToolBar order first, then the commands the bar does not carry.
constexpr Command kCommands[] = {
    {"FileNew", "&New", "Ctrl+N", "New file", true},
    {"FileOpen1", "&Open", "Ctrl+O", "Open file", true},
    {"FileSave", "&Save", "Ctrl+S", "Save file", true},
    {"FilePrint", "&Print", "Ctrl+P", "Print", true},
    {"HtmlSrcAnchor", "Set/reset so&urce anchor", "Ctrl+U", "Set/reset html source anchor", true},
    {"HtmlDestAnchor", "Set/reset des&t anchor", "Ctrl+T", "Set/reset html dest anchor", true},
    {"HtmlGenerate", "&Generate Html", "Ctrl+G", "Generate html", true},
    {"SearchFind", "&Find", "Ctrl+F", "Find", true},
    {"EditCut", "Cu&t", "Ctrl+X", "Cut to clipboard", true},
    {"EditCopy", "&Copy", "Ctrl+C", "Copy to clipboard", true},
    {"EditPaste", "&Paste", "Ctrl+V", "Paste from clipboard", true},
    {"EditUndo", "&Undo", "Ctrl+Z", "Undo", true},
    {"EditRedo", "&Redo", "Ctrl+Shift+Z", "Redo", true},
    {"EditDateTime", "&Insert date/time", "Ctrl+D", "Insert date/time", true},
    {"FileSaveAs", "Save &As", "", "", false},
    {"FileExportPdf", "&Export PDF…", "", "", false},
    {"FileExportLatex", "Export La&TeX…", "", "", false},
    {"FileExit", "E&xit", "", "", false},
    {"EditDelete", "Cle&ar", "Delete", "", false},
    {"EditSelectAll", "Select A&ll", "Ctrl+A", "", false},
    {"EditCopyLatex", "Copy as LaTe&X", "Ctrl+Shift+C", "", false},
    {"EditPasteLatex", "Paste LaTeX", "Ctrl+Shift+V", "", false},
    {"SearchReplace", "R&eplace", "Ctrl+H", "", false},
    {"HelpContents", "&Contents", "", "", false},
    {"HelpAbout", "&About", "", "", false},
    // Tables (TableCommands).
    {"TableInsert", "Insert &Table…", "", "", false},
    {"TableInsertRow", "Insert R&ow", "", "", false},
    {"TableDeleteRow", "&Delete Row", "", "", false},
    // Menu items that run another command under a caption or enabling rule of their own.
    {"Replace1", "R&eplace", "Ctrl+H", "", false},
    {"AboutTessary1", "&About Tessary", "", "", false},
};
} // namespace

CommandState::CommandState(EditorContext &context, Ruler &ruler, QToolButton *underlineButton,
                           QLabel *lineCountLabel, QWidget *window)
    : QObject(window)
    , m(context)
    , m_ruler(ruler)
    , m_underline(underlineButton)
    , m_lineCount(lineCountLabel) {
    createActions(window);
    m_updateTimer.setSingleShot(true);
    m_updateTimer.setInterval(0);
    connect(&m_updateTimer, &QTimer::timeout, this, &CommandState::ActionListUpdate);

    RichEdit *editor = m.Editor;
    for (auto signal :
         {&QTextEdit::textChanged, &QTextEdit::cursorPositionChanged, &QTextEdit::selectionChanged})
        connect(editor, signal, this, &CommandState::scheduleUpdate);
    connect(editor, &QTextEdit::undoAvailable, this, &CommandState::scheduleUpdate);
    connect(editor, &QTextEdit::redoAvailable, this, &CommandState::scheduleUpdate);
    connect(editor, &QTextEdit::copyAvailable, this, &CommandState::scheduleUpdate);
    connect(m.Document, &DocumentState::changed, this, &CommandState::scheduleUpdate);
    // A relayout (a resize that rewraps the text) moves the caret to another display line.
    connect(editor->document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged,
            this, &CommandState::scheduleUpdate);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CommandState::clipboardChanged);
    m_viewport = editor->viewport();
    m_viewport->installEventFilter(this);
    m_canPaste = editor->canPaste();
    scheduleUpdate();
}

void CommandState::createActions(QWidget *window) {
    for (const Command &c : kCommands) {
        auto *a = new QAction(QString::fromUtf8(c.caption), window);
        a->setObjectName(QString::fromLatin1(c.name));
        if (*c.shortcut)
            a->setShortcut(
                QKeySequence(QString::fromLatin1(c.shortcut), QKeySequence::PortableText));
        QString hint = QString::fromLatin1(c.hint);
        if (hint.isEmpty())
            hint = QString(a->text()).remove(QLatin1Char('&'));
        a->setToolTip(hint);
        // Each command cancels a pending function-key assignment first.
        connect(a, &QAction::triggered, this, [this] { m.HideFnHint(); });
        m_actions.insert(a->objectName(), a);
    }
    connect(action(QStringLiteral("Replace1")), &QAction::triggered,
            action(QStringLiteral("SearchReplace")), &QAction::trigger);
    connect(action(QStringLiteral("AboutTessary1")), &QAction::triggered,
            action(QStringLiteral("HelpAbout")), &QAction::trigger);
}

QAction *CommandState::action(const QString &name) const {
    return m_actions.value(name);
}

QList<QAction *> CommandState::toolBarActions() const {
    QList<QAction *> bar;
    for (const Command &c : kCommands) {
        if (c.onToolBar)
            bar.append(action(QString::fromLatin1(c.name)));
    }
    return bar;
}

void CommandState::scheduleUpdate() {
    if (!m_updateTimer.isActive())
        m_updateTimer.start();
}

void CommandState::clipboardChanged() {
    // Asking the clipboard can mean a round trip to another program, so it is asked only
    // when its content changes.
    m_canPaste = m.Editor->canPaste();
    scheduleUpdate();
}

void CommandState::enable(const char *name, bool enabled) {
    if (QAction *a = action(QString::fromLatin1(name)))
        a->setEnabled(enabled);
}

void CommandState::ActionListUpdate() {
    m_updateTimer.stop();
    RichEdit *editor = m.Editor;
    if (!m.RulerDragging)
        m_ruler.SyncRuler();
    const bool selected = editor->selLength() > 0;
    const bool notEmpty = editor->lineCount() > 0;
    m_underline->setEnabled(selected);
    for (const char *name : {"FileSave", "FileSaveAs", "FilePrint", "FileExportPdf", "HtmlGenerate",
                             "SearchFind", "Replace1", "FileExportLatex"})
        enable(name, notEmpty);
    for (const char *name :
         {"EditCut", "EditCopy", "HtmlSrcAnchor", "HtmlDestAnchor", "EditCopyLatex"})
        enable(name, selected);
    enable("EditPasteLatex", m_canPaste);
    enable("EditDelete", true);
    const bool inTable = editor->textCursor().currentTable() != nullptr;
    enable("TableInsertRow", inTable);
    enable("TableDeleteRow", inTable);
    enable("EditPaste", m_canPaste);
    enable("EditUndo", editor->document()->isUndoAvailable());
    enable("EditRedo", editor->document()->isRedoAvailable());
    m_lineCount->setText(QString::number(editor->caretPos().y() + 1));
}

void CommandState::EditorMouseDown() {
    m.HideFnHint();
}

bool CommandState::eventFilter(QObject *watched, QEvent *event) {
    // The viewport is known by address: an editor being destroyed must not be asked for it.
    if (event->type() == QEvent::MouseButtonPress && watched == m_viewport)
        EditorMouseDown();
    if (event->type() == QEvent::Resize && watched == m_viewport)
        scheduleUpdate();
    return QObject::eventFilter(watched, event);
}

} // namespace tessary
