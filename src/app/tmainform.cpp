#include "app/tmainform.h"

#include "documents/documentfiles.h"
#include "documents/findreplace.h"
#include "documents/recentfiles.h"
#include "documents/ttodayform.h"
#include "editor/commandstate.h"
#include "editor/formatting.h"
#include "editor/functionkeys.h"
#include "editor/notationfaces.h"
#include "editor/notationtyping.h"
#include "editor/palettes.h"
#include "editor/ruler.h"
#include "html/anchors.h"
#include "html/tanchorform.h"
#include "platform/fontregistry.h"
#include "platform/richedit.h"
#include "platform/services.h"
#include "platform/settingsstore.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <cmath>

namespace tessary {

namespace {
const QString kDefaultFace = QStringLiteral("Times New Roman");
const QString kDefaultSize = QStringLiteral("12");
const QStringList kFontSizes =
    QStringLiteral("8,9,10,11,12,14,16,18,20,22,24,26,28,36,48,72").split(QLatin1Char(','));
constexpr int kPaletteRowWidth = 782; // 34 buttons of 23 pixels
} // namespace

TMainForm::TMainForm(QWidget *parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("TMainForm"));
    buildLayout();
    P.HideFnHint = [this] { HideFnHint(); };
    P.BeginEditorUpdate = [this] { BeginEditorUpdate(); };
    P.EndEditorUpdate = [this] { EndEditorUpdate(); };
    Notation = new NotationTyping(P, this);
    connect(P.NotationButton, &QToolButton::clicked, Notation,
            &NotationTyping::NotationButtonClick);
    connect(P.WhitespaceButton, &QToolButton::clicked, Notation,
            &NotationTyping::WhitespaceButtonClick);
    PaletteBars = new Palettes(P, *Notation, this);
    FnKeys = new FunctionKeys(P, *PaletteBars, this);
    PaletteBars->AssignPaletteHandlers(this,
                                       [this](QToolButton *b) { FnKeys->FnDefButtonClick(b); });
    connect(P.GreekAlphabetButton, &QToolButton::clicked, PaletteBars, &Palettes::GreekButtonClick);
    connect(P.SymbolButton, &QToolButton::clicked, PaletteBars, &Palettes::SymbolButtonClick);
    connect(P.FunctionKeyButton, &QToolButton::clicked, PaletteBars,
            &Palettes::FunctionKeyButtonClick);
    connect(Notation, &NotationTyping::functionKeyPressed, FnKeys,
            &FunctionKeys::ReplayFunctionKey);
    Documents = new DocumentFiles(P, this, this);
    Recent = new RecentFiles(*Documents, this);
    connect(Notation, &NotationTyping::helpRequested, Documents, &DocumentFiles::HelpContents);
    Format = new Formatting(P, *Notation, this);
    Rulers = new Ruler(P, this);
    P.ResetParagraphFormat = [this] { Rulers->ResetParagraphFormat(); };
    Commands = new CommandState(P, *Rulers, this); // also marks every change as modified
    buildMenus();
    connectFormatting();
    connectDocuments();
    AnchorMarks = new Anchors(P, this, this);
    Search = new FindReplace(P, this, this);
    TodayForm = new TTodayForm(P, *Notation, this);
    ScaleFormForLargeFonts(&AnchorMarks->form());
    ScaleFormForLargeFonts(TodayForm);
    connect(Documents, &DocumentFiles::documentLoaded, AnchorMarks, &Anchors::ScanAnchors);
    connect(action(QStringLiteral("HtmlSrcAnchor")), &QAction::triggered, AnchorMarks,
            &Anchors::HtmlSrcAnchorExecute);
    connect(action(QStringLiteral("HtmlDestAnchor")), &QAction::triggered, AnchorMarks,
            &Anchors::HtmlDestAnchorExecute);
    connect(action(QStringLiteral("SearchFind")), &QAction::triggered, Search,
            &FindReplace::SearchFind);
    // The menu item Replace1 triggers SearchReplace.
    connect(action(QStringLiteral("SearchReplace")), &QAction::triggered, Search,
            &FindReplace::SearchReplace);
    connect(action(QStringLiteral("EditDateTime")), &QAction::triggered, TodayForm,
            &TTodayForm::EditDateTimeExecute);
    m_startedUp = FormCreate();
}

TMainForm::~TMainForm() = default;

bool TMainForm::FormCreate() {
    // 1-4: the per-user data folder; the rich-text engine is Qt's, so nothing is unpacked.
    QString appDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(appDir);
    P.AppDir = QDir(appDir).absolutePath() + QLatin1Char('/');
    // 5
    if (LargeFontsActive())
        P.FnHint->resize(int(std::ceil(P.FnHint->width() * 0.82)),
                         int(std::ceil(P.FnHint->height() * 0.92)));
    // 6: the palettes need a row of 782 pixels; (width - 782) div 2 truncates toward zero.
    const int indent = (Services::screen().width() - kPaletteRowWidth) / 2;
    if (indent < 0) {
        Services::dialogs().message(nullptr, QStringLiteral("Tessary"),
                                    QStringLiteral("Sorry! Please set your screen resolution "
                                                   "to at least 800x600"),
                                    QMessageBox::Warning);
        return false;
    }
    // The palette bars keep their rows centred themselves, on any window width.
    // 7-10
    const QString init =
        SettingsStore::instance().readString(InitSetting::kKeyPath, InitSetting::kValueName);
    FillFontNameBox();
    P.FontSizeBox->addItems(kFontSizes);
    ApplyInit(init);
    // 11
    P.Editor->setSelection(0, 0);
    CharAttributes caret;
    caret.face = P.FontNameBox->currentText();
    caret.size = Notation->fontBoxSize();
    P.Editor->setCaretAttributes(caret, CharAttributes::Face | CharAttributes::Size);
    // 12
    P.FindDialogOffset = P.Editor->geometry().top() + 6 * P.LowerRulerPanel->height() +
                         P.ImplicitTabsPanel->height();
    // 13
    Recent->BuildRecentFilesMenu();
    if (!Recent->list().isEmpty())
        Documents->setDialogFolder(QFileInfo(Recent->list().first()).absolutePath());
    // 14
    P.PixelsPerInch = Services::screen().logicalDpi();
    P.PointsPerPixel = 72.0f / float(P.PixelsPerInch);
    setDocumentDpi(P.PixelsPerInch);
    // 15, 16
    Rulers->BuildRuler();
    AnchorMarks->ResetAnchorTables();
    P.RulerGuidePanel->hide();
    // 17
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(255, 222, 204));
    QToolTip::setPalette(tips);
    // 18: the palette handlers were assigned in the constructor, before Init loaded the keys.
    // 19
    Documents->ShowUntitled();
    // 20, 21
    Rulers->ResetParagraphFormat();
    P.DocumentModified = false;
    P.Editor->setTextLimit(2147483647);
    return true;
}

void TMainForm::FillFontNameBox() {
    QStringList faces;
    for (const QString &family : FontRegistry::documentFamilies()) {
        if (!IsNotationFont(family))
            faces.append(family);
    }
    // The common document faces are often served by metric-compatible substitutes that the
    // font list does not name; offer them under the names documents use.
    for (const QString &alias :
         {QStringLiteral("Arial"), QStringLiteral("Courier New"), kDefaultFace}) {
        if (!faces.contains(alias) && QFontInfo(QFont(alias)).family() != QFont().family())
            faces.append(alias);
    }
    faces.append(kNotationEntry);
    faces.removeDuplicates();
    faces.sort(Qt::CaseInsensitive);
    P.FontNameBox->clear();
    P.FontNameBox->addItems(faces);
}

void TMainForm::ApplyInit(const QString &value) {
    const InitSetting s = InitSetting::parse(value);
    const int defaultName = P.FontNameBox->findText(kDefaultFace);
    const int defaultSize = P.FontSizeBox->findText(kDefaultSize);
    // Each index falls back on its own when it is malformed or names no item.
    auto pick = [](int index, int count, int fallback) {
        return index >= 0 && index < count ? index : fallback;
    };
    const int names = P.FontNameBox->count();
    const int sizes = P.FontSizeBox->count();
    P.FontNameBox->setCurrentIndex(pick(s.fontNameIndex, names, defaultName));
    P.FontSizeBox->setCurrentIndex(pick(s.fontSizeIndex, sizes, defaultSize));
    P.SavedFontNameIndex = pick(s.savedFontNameIndex, names, defaultName);
    P.SavedFontSizeIndex = pick(s.savedFontSizeIndex, sizes, defaultSize);
    FnKeys->loadPieces(s.fnKeyPieces);
}

QString TMainForm::BuildInit() const {
    InitSetting s;
    s.fontNameIndex = P.FontNameBox->currentIndex();
    s.fontSizeIndex = P.FontSizeBox->currentIndex();
    s.savedFontNameIndex = P.SavedFontNameIndex;
    s.savedFontSizeIndex = P.SavedFontSizeIndex;
    s.fnKeyPieces = FnKeys->pieces();
    return s.format();
}

// Writing creates the key, so the first run on a new machine keeps its settings.
void TMainForm::WriteInit() {
    SettingsStore &store = SettingsStore::instance();
    store.writeString(InitSetting::kKeyPath, InitSetting::kValueName, BuildInit());
    store.sync();
}

// Settings are written before the prompt, so they are kept even when the user cancels.
void TMainForm::closeEvent(QCloseEvent *event) {
    WriteInit();
    if (Documents->ConfirmSaveChanges() == QMessageBox::Cancel) {
        event->ignore();
        return;
    }
    Recent->SaveRecentFiles();
    event->accept();
}

void TMainForm::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    if (Documents && P.CurrentFileName != Documents->untitledName())
        Documents->fitFileLabel();
}

void TMainForm::HideFnHint() {
    if (FnKeys)
        FnKeys->HideFnHint(); // also releases a pending definition button
    else
        P.FnHint->hide();
}

void TMainForm::BeginEditorUpdate() {
    P.Editor->beginUpdate();
}

void TMainForm::EndEditorUpdate() {
    P.Editor->endUpdate();
}

bool TMainForm::LargeFontsActive() {
    return Services::screen().logicalDpi() == 120;
}

void TMainForm::ScaleFormForLargeFonts(QWidget *form) {
    if (!LargeFontsActive())
        return;
    form->resize(int(std::ceil(form->width() * 1.22)), int(std::ceil(form->height() * 1.25)));
}

} // namespace tessary
