#pragma once

#include <QString>
#include <functional>

class QComboBox;
class QLabel;
class QToolButton;
class QWidget;
class QToolBar;

namespace tessary {

class RichEdit;

// The main window's controls and shared state, handed to each feature class so that the
// features need not know the window class. The main window owns everything named here.
struct MainParts {
    // controls
    RichEdit *Editor = nullptr;
    QComboBox *FontNameBox = nullptr;
    QComboBox *FontSizeBox = nullptr;
    QToolButton *NotationButton = nullptr;
    QToolButton *CaretFontButton = nullptr;
    QToolButton *WhitespaceButton = nullptr;
    QToolButton *BoldButton = nullptr;
    QToolButton *ItalicButton = nullptr;
    QToolButton *UnderlineButton = nullptr;
    QToolButton *GreekAlphabetButton = nullptr;
    QToolButton *SymbolButton = nullptr;
    QToolButton *FunctionKeyButton = nullptr;
    QToolButton *LeftAlignButton = nullptr;
    QToolButton *CenterAlignButton = nullptr;
    QToolButton *RightAlignButton = nullptr;
    QToolButton *BulletsButton = nullptr;
    QToolBar *GreekToolBar = nullptr;
    QToolBar *SymbolToolBarA = nullptr;
    QToolBar *SymbolToolBarB = nullptr;
    QToolBar *FnKeyToolBar = nullptr;
    QWidget *UpperRulerPanel = nullptr;
    QWidget *LowerRulerPanel = nullptr;
    QWidget *ImplicitTabsPanel = nullptr;
    QWidget *RulerGuidePanel = nullptr;
    QWidget *Gutter = nullptr;
    QWidget *FnHint = nullptr;
    QLabel *CurrentFileLabel = nullptr;
    QLabel *LineCountLabel = nullptr;
    QLabel *InsStateLabel = nullptr;

    // shared state
    QString AppDir; // per-user data folder, with a trailing separator
    QString CurrentFileName;
    bool DocumentModified = false;
    bool InsertMode = true;
    int SavedFontNameIndex = -1;
    int SavedFontSizeIndex = -1;
    bool RulerDragging = false;
    int PixelsPerInch = 96;
    float PointsPerPixel = 0.75f;
    int FindDialogOffset = 0;

    // shared helpers, provided by the main window
    std::function<void()> HideFnHint = [] {};
    std::function<void()> BeginEditorUpdate = [] {};
    std::function<void()> EndEditorUpdate = [] {};
    // Left alignment, all indents 0, any ruler drag ended.
    std::function<void()> ResetParagraphFormat = [] {};
};

} // namespace tessary
