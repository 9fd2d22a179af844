#pragma once

#include "app/initsetting.h"
#include "editor/mainparts.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace tessary {

class Anchors;
class CommandState;
class DocumentFiles;
class FindReplace;
class Formatting;
class FunctionKeys;
class NotationTyping;
class Palettes;
class RecentFiles;
class RichEdit;
class Ruler;
class TTodayForm;

// The main window: it owns the controls and the shared state, runs start-up and close, and
// wires each control to the feature class that handles it.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // False when start-up refused to go on (a screen that is too narrow); the program
    // then ends without showing the window.
    bool startedUp() const { return m_startedUp; }

    MainParts &parts() { return P; }
    RichEdit *editor() const { return P.Editor; }
    NotationTyping &notation() { return *Notation; }
    Palettes &palettes() { return *PaletteBars; }
    FunctionKeys &functionKeys() { return *FnKeys; }
    DocumentFiles &documents() { return *Documents; }
    RecentFiles &recentFiles() { return *Recent; }
    Formatting &formatting() { return *Format; }
    Ruler &ruler() { return *Rulers; }
    CommandState &commands() { return *Commands; }
    Anchors &anchors() { return *AnchorMarks; }
    FindReplace &findReplace() { return *Search; }
    TTodayForm &todayForm() { return *TodayForm; }
    // A command by its objectName ("FileNew", "EditCut", "Replace1", ...), or nullptr.
    QAction *action(const QString &name) const;
    // Recent files go between the separator after Print and FileExit.
    QMenu *fileMenu() const { return FileMenu; }

    void HideFnHint();
    void BeginEditorUpdate();
    void EndEditorUpdate();
    static bool LargeFontsActive();
    static void ScaleFormForLargeFonts(QWidget *form);

    void FillFontNameBox();
    // Reads `Init` and sets the font boxes from it, field by field.
    void ApplyInit(const QString &value);
    QString BuildInit() const;
    void WriteInit();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool FormCreate();
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

    MainParts P;
    NotationTyping *Notation = nullptr;
    Palettes *PaletteBars = nullptr;
    FunctionKeys *FnKeys = nullptr;
    DocumentFiles *Documents = nullptr;
    RecentFiles *Recent = nullptr;
    Formatting *Format = nullptr;
    Ruler *Rulers = nullptr;
    CommandState *Commands = nullptr;
    Anchors *AnchorMarks = nullptr;
    FindReplace *Search = nullptr;
    TTodayForm *TodayForm = nullptr;
    QMenu *FileMenu = nullptr;
    QToolBar *MainToolBar = nullptr;
    QToolBar *AttrToolBar = nullptr;
    QWidget *Gutter = nullptr;
    QWidget *Panel2 = nullptr;
    QWidget *StatusPanel = nullptr;
    QLabel *FileHeaderLabel = nullptr;
    QLabel *LineHeaderLabel = nullptr;
    bool m_startedUp = false;
};

} // namespace tessary
