#pragma once

#include "app/initsetting.h"
#include "editor/notationtyping.h"
#include "editor/palettes.h"
#include "editor/ruler.h"
#include "richtext/editorcontext.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QTimer;

namespace tessary {

class Anchors;
class THtmlForm;
class CommandState;
class DocumentFiles;
class DocumentState;
class EditCommands;
class FindReplace;
class FontBoxes;
class Formatting;
class FunctionKeys;
class HelpCommands;
class RecentFiles;
class RecoveryCopy;
class RichEdit;
class TPrintForm;
class TTodayForm;
class ViewZoom;
class Spelling;

// The main window: it owns the controls and the shared state, runs start-up and close, and
// wires each control to the feature class that handles it. Each feature gets the shared
// EditorContext and the group of widgets it uses, nothing more.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // False when start-up refused to go on (a screen that is too narrow); the program
    // then ends without showing the window.
    bool startedUp() const { return m_startedUp; }

    EditorContext &context() { return P; }
    RichEdit *editor() const { return P.Editor; }
    DocumentState &documentState() { return *Document; }
    FontBoxes &fontBoxes() { return *Fonts; }
    NotationTyping &notation() { return *Notation; }
    Palettes &palettes() { return *PaletteBarsFeature; }
    FunctionKeys &functionKeys() { return *FnKeys; }
    DocumentFiles &documents() { return *Documents; }
    EditCommands &editCommands() { return *Edits; }
    RecentFiles &recentFiles() { return *Recent; }
    RecoveryCopy &recovery() { return *Recovery; }
    Formatting &formatting() { return *Format; }
    Ruler &ruler() { return *Rulers; }
    CommandState &commands() { return *Commands; }
    Anchors &anchors() { return *AnchorMarks; }
    THtmlForm &htmlForm() { return *HtmlForm; }
    FindReplace &findReplace() { return *Search; }
    TTodayForm &todayForm() { return *TodayForm; }
    TPrintForm &printForm() { return *PrintForm; }
    ViewZoom &zoom() { return *Zoom; }
    Spelling &spelling() { return *Speller; }
    // A command by its objectName ("FileNew", "EditCut", "Replace1", ...), or nullptr.
    QAction *action(const QString &name) const;
    // Recent files go between the separator after Print and FileExit.
    QMenu *fileMenu() const { return FileMenu; }

    void HideFnHint();
    static bool LargeFontsActive();
    static void ScaleFormForLargeFonts(QWidget *form);

    // Reads `Init` and sets the font boxes from it, field by field.
    void ApplyInit(const QString &value);
    QString BuildInit() const;
    void WriteInit();
    // Writes `Init` soon after a font box or a function key changed, if its value did.
    void KeepInit();
    // Ctrl+P: the print dialog with the pages counted again.
    void FilePrintExecute();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Start-up, step by step; false ends the program.
    bool FormCreate();
    void PrepareDataFolder();
    bool ScreenIsWideEnough();
    void LoadInitSetting();
    void SetCaretFont();
    void PlaceFindDialogs();
    void LoadRecentFiles();
    void ApplyScreenDpi();
    void TintToolTips();
    void StartUntitled();

    void createFeatures();
    void buildLayout();
    QToolBar *buildAttrToolBar();
    QToolBar *buildPaletteBar(const QString &name);
    QWidget *buildStatusPanel();
    QWidget *panel(const QString &name, int height, const QColor &color);
    void buildMenus();
    void buildMainToolBar();
    void connectFormatting();
    void connectDocuments();
    void resizeEvent(QResizeEvent *event) override;

    EditorContext P;
    DocumentState *Document = nullptr;
    std::unique_ptr<FontBoxes> Fonts;
    TypingControls TypingWidgets;
    RulerParts RulerWidgets;
    PaletteBars BarWidgets;
    QToolButton *NotationButton = nullptr;
    QToolButton *CaretFontButton = nullptr;
    QToolButton *UnderlineButton = nullptr;
    QToolButton *FunctionKeyButton = nullptr;
    QLabel *CurrentFileLabel = nullptr;
    QLabel *LineCountLabel = nullptr;

    NotationTyping *Notation = nullptr;
    Palettes *PaletteBarsFeature = nullptr;
    FunctionKeys *FnKeys = nullptr;
    DocumentFiles *Documents = nullptr;
    EditCommands *Edits = nullptr;
    HelpCommands *Help = nullptr;
    RecentFiles *Recent = nullptr;
    RecoveryCopy *Recovery = nullptr;
    Formatting *Format = nullptr;
    Ruler *Rulers = nullptr;
    CommandState *Commands = nullptr;
    Anchors *AnchorMarks = nullptr;
    THtmlForm *HtmlForm = nullptr;
    FindReplace *Search = nullptr;
    TTodayForm *TodayForm = nullptr;
    TPrintForm *PrintForm = nullptr;
    ViewZoom *Zoom = nullptr;
    Spelling *Speller = nullptr;
    QLabel *ZoomLabel = nullptr;
    QLabel *LatexLabel = nullptr; // how a LaTeX paste went
    QMenu *FileMenu = nullptr;
    QToolBar *MainToolBar = nullptr;
    QToolBar *AttrToolBar = nullptr;
    QWidget *Panel2 = nullptr;
    QWidget *StatusPanel = nullptr;
    QLabel *FileHeaderLabel = nullptr;
    QLabel *LineHeaderLabel = nullptr;
    bool m_startedUp = false;
    bool m_findDialogsPlaced = false;
    QTimer *m_initTimer = nullptr;
};

} // namespace tessary
