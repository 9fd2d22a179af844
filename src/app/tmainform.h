#pragma once

#include "app/initsetting.h"
#include "editor/mainparts.h"

#include <QMainWindow>

class QLabel;
class QToolBar;

namespace tessary {

class NotationTyping;
class RichEdit;

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
    void ShowDocumentName();

    MainParts P;
    NotationTyping *Notation = nullptr;
    QToolBar *MainToolBar = nullptr;
    QToolBar *AttrToolBar = nullptr;
    QWidget *Gutter = nullptr;
    QWidget *Panel2 = nullptr;
    QWidget *StatusPanel = nullptr;
    QLabel *FileHeaderLabel = nullptr;
    QLabel *LineHeaderLabel = nullptr;
    // Function-key pieces of `Init`, written back unchanged until the function-key bar
    // takes them over.
    std::array<QString, InitSetting::kFnKeys> m_fnKeyPieces;
    bool m_startedUp = false;
};

} // namespace tessary
