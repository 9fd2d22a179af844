// The main window's menus and main tool bar, the pictures of both tool bars, and the wiring
// of the format tool bar to the formatting commands.
#include "app/tmainform.h"

#include "app/toolbaricons.h"
#include "documents/documentfiles.h"
#include "documents/editcommands.h"
#include "documents/helpcommands.h"
#include "documents/recentfiles.h"
#include "editor/commandstate.h"
#include "editor/fontboxes.h"
#include "editor/formatting.h"
#include "editor/spelling.h"
#include "editor/viewzoom.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace tessary {

QAction *TMainForm::action(const QString &name) const {
    return Commands ? Commands->action(name) : nullptr;
}

void TMainForm::buildMenus() {
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    // Items by command name; an empty name is a separator. Each title has its own Alt letter.
    auto menu = [this, bar](const QString &name, const QString &title, const QStringList &items) {
        QMenu *m = bar->addMenu(title);
        m->setObjectName(name);
        for (const QString &item : items) {
            if (item.isEmpty())
                m->addSeparator();
            else
                m->addAction(action(item));
        }
        // Opening a menu cancels a pending function-key assignment.
        connect(m, &QMenu::aboutToShow, this, &TMainForm::HideFnHint);
        return m;
    };
    FileMenu = menu(QStringLiteral("FileMenu"), QStringLiteral("   &File"),
                    {"FileNew", "FileOpen1", "FileSave", "FileSaveAs", "", "FilePrint",
                     "FileExportPdf", "FileExportLatex", "", "FileExit"});
    menu(QStringLiteral("EditMenu"), QStringLiteral("&Edit"),
         {"EditUndo", "EditRedo", "", "EditCut", "EditCopy", "EditPaste", "EditCopyLatex",
          "EditPasteLatex", "EditDelete", "EditSelectAll", "", "EditDateTime", "", "TableInsert",
          "TableInsertRow", "TableDeleteRow"});
    menu(QStringLiteral("HtmlMenu"), QStringLiteral("H&tml"),
         {"HtmlSrcAnchor", "HtmlDestAnchor", "HtmlGenerate"});
    menu(QStringLiteral("SearchMenu"), QStringLiteral("&Search"), {"SearchFind", "Replace1"});
    QMenu *view = menu(QStringLiteral("ViewMenu"), QStringLiteral("&View"), {});
    view->addActions(Zoom->actions());
    view->addSeparator();
    view->addAction(Speller->toggle());
    view->addMenu(Speller->languageMenu());
    menu(QStringLiteral("HelpMenu"), QStringLiteral("&Help"), {"HelpContents", "AboutTessary1"});
    Recent->attachMenu(FileMenu, action(QStringLiteral("FileExit")));
    buildMainToolBar();
}

void TMainForm::buildMainToolBar() {
    MainToolBar->setIconSize(QSize(20, 20));
    // Gaps between the groups: files, html, find, clipboard, undo and date.
    const QStringList groupEnds = {"FilePrint", "HtmlGenerate", "SearchFind", "EditPaste"};
    for (QAction *a : Commands->toolBarActions()) {
        a->setIcon(toolBarIcon(a->objectName()));
        MainToolBar->addAction(a);
        if (QWidget *button = MainToolBar->widgetForAction(a))
            button->setObjectName(a->objectName() + QStringLiteral("Button"));
        if (groupEnds.contains(a->objectName()))
            MainToolBar->addSeparator();
    }
}

void TMainForm::connectDocuments() {
    auto wire = [this](auto *receiver, const auto &commands) {
        for (const auto &[name, handler] : commands) {
            if (QAction *a = action(QLatin1String(name)))
                connect(a, &QAction::triggered, receiver, handler);
        }
    };
    const std::pair<const char *, void (DocumentFiles::*)()> files[] = {
        {"FileNew", &DocumentFiles::FileNew},
        {"FileOpen1", &DocumentFiles::FileOpen1},
        {"FileExit", &DocumentFiles::FileExit}};
    const std::pair<const char *, void (EditCommands::*)()> edits[] = {
        {"EditUndo", &EditCommands::EditUndo},     {"EditCut", &EditCommands::EditCut},
        {"EditCopy", &EditCommands::EditCopy},     {"EditPaste", &EditCommands::EditPaste},
        {"EditDelete", &EditCommands::EditDelete}, {"EditSelectAll", &EditCommands::EditSelectAll}};
    const std::pair<const char *, void (HelpCommands::*)()> help[] = {
        {"HelpContents", &HelpCommands::HelpContents}, {"HelpAbout", &HelpCommands::HelpAbout}};
    wire(Documents, files);
    wire(Edits, edits);
    connect(action(QStringLiteral("EditRedo")), &QAction::triggered, Edits,
            &EditCommands::EditRedo);
    wire(Help, help);
    // Save and Save As report success; the menu has no use for it.
    connect(action(QStringLiteral("FileSave")), &QAction::triggered, Documents,
            [this] { Documents->FileSave(); });
    connect(action(QStringLiteral("FileSaveAs")), &QAction::triggered, Documents,
            [this] { Documents->FileSaveAs(); });
}

void TMainForm::connectFormatting() {
    const RulerParts &r = RulerWidgets;
    for (QToolButton *button :
         {NotationButton, CaretFontButton, TypingWidgets.WhitespaceButton,
          BarWidgets.GreekAlphabetButton, BarWidgets.SymbolButton, FunctionKeyButton,
          r.LeftAlignButton, r.CenterAlignButton, r.RightAlignButton, r.BulletsButton}) {
        button->setIcon(toolBarIcon(button->objectName()));
        button->setIconSize(QSize(20, 20));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    connect(TypingWidgets.BoldButton, &QToolButton::clicked, Format, &Formatting::BoldButtonClick);
    connect(TypingWidgets.ItalicButton, &QToolButton::clicked, Format,
            &Formatting::ItalicButtonClick);
    connect(UnderlineButton, &QToolButton::clicked, Format, &Formatting::UnderlineButtonClick);
    // The keys press the buttons, so a key does exactly what a click does.
    for (const auto &[button, keys] : {std::pair{TypingWidgets.BoldButton, "Ctrl+B"},
                                       std::pair{TypingWidgets.ItalicButton, "Ctrl+I"}}) {
        auto *press = new QAction(button);
        press->setObjectName(button->objectName() + QStringLiteral("Key"));
        press->setShortcut(QKeySequence(QLatin1String(keys)));
        addAction(press);
        connect(press, &QAction::triggered, button, &QToolButton::click);
    }
    connect(CaretFontButton, &QToolButton::clicked, Format, &Formatting::CaretFontButtonClick);
    connect(r.BulletsButton, &QToolButton::clicked, Format, &Formatting::BulletsButtonClick);
    // Only the user's choices: the notation toggle selects entries without applying them.
    connect(Fonts->FontNameBox, &QComboBox::activated, Format, &Formatting::FontNameBoxClick);
    connect(Fonts->FontSizeBox, &QComboBox::activated, Format, &Formatting::FontSizeBoxClick);
    if (QButtonGroup *alignment = r.LeftAlignButton->group())
        connect(alignment, &QButtonGroup::idClicked, Format, &Formatting::AlignButtonClick);
}

} // namespace tessary
