#include "app/tmainform.h"

#include "app/latexexport.h"
#include "app/pdfexport.h"
#include "documents/documentfiles.h"
#include "documents/editcommands.h"
#include "documents/filedrop.h"
#include "documents/findreplace.h"
#include "documents/helpcommands.h"
#include "documents/recentfiles.h"
#include "documents/recoverycopy.h"
#include "documents/ttodayform.h"
#include "editor/commandstate.h"
#include "editor/fontboxes.h"
#include "editor/formatting.h"
#include "editor/functionkeys.h"
#include "editor/latexclipboard.h"
#include "editor/notationfaces.h"
#include "editor/notationtyping.h"
#include "editor/palettes.h"
#include "editor/ruler.h"
#include "editor/spelling.h"
#include "editor/tablecommands.h"
#include "editor/viewzoom.h"
#include "html/anchors.h"
#include "html/tanchorform.h"
#include "html/thtmlform.h"
#include "platform/services.h"
#include "platform/settingsstore.h"
#include "printing/tprintform.h"
#include "richtext/documentstate.h"
#include "richtext/readablecolours.h"
#include "richtext/richedit.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <cmath>
#include <limits>

namespace tessary {

namespace {
constexpr int kLargeFontsDpi = 120;
// On a large-fonts screen the dialogs grow, so that their captions still fit.
constexpr double kFormWidthScale = 1.22;
constexpr double kFormHeightScale = 1.25;
// The editor takes as much text as a position can count.
constexpr int kNoTextLimit = std::numeric_limits<int>::max();
const QColor kToolTipColor(255, 222, 204);
} // namespace

TMainForm::TMainForm(QWidget *parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("TMainForm"));
    buildLayout();
    Document = new DocumentState(P.Editor->document(), this);
    P.Document = Document;
    P.HideFnHint = [this] { HideFnHint(); };
    createFeatures();
    m_startedUp = FormCreate();
    // The copy lives in the data folder, known once start-up has prepared it.
    Recovery = new RecoveryCopy(P, *Documents, this, this);
    // The font dialog lists the faces the font box holds once start-up has filled it.
    PrintForm = new TPrintForm(P.Editor, *Fonts, this);
    connect(action(QStringLiteral("FilePrint")), &QAction::triggered, this,
            &TMainForm::FilePrintExecute);
    connect(action(QStringLiteral("FileExportPdf")), &QAction::triggered,
            new PdfExport(P, *PrintForm, this), &PdfExport::FileExportPdfExecute);
    connect(action(QStringLiteral("FileExportLatex")), &QAction::triggered,
            new LatexExport(P, this), &LatexExport::FileExportLatexExecute);
    // Settings are written as they change, so that a crash or a kill loses none of them;
    // a caret run through many faces moves the boxes often, hence the short delay.
    m_initTimer = new QTimer(this);
    m_initTimer->setSingleShot(true);
    m_initTimer->setInterval(200);
    connect(m_initTimer, &QTimer::timeout, this, [this] {
        if (BuildInit() !=
            SettingsStore::instance().readString(InitSetting::kKeyPath, InitSetting::kValueName))
            WriteInit();
    });
    connect(FnKeys, &FunctionKeys::assignmentChanged, this, &TMainForm::KeepInit);
    for (QComboBox *box : {Fonts->FontNameBox, Fonts->FontSizeBox})
        connect(box, &QComboBox::currentIndexChanged, this, &TMainForm::KeepInit);
}

void TMainForm::KeepInit() {
    if (!m_initTimer->isActive())
        m_initTimer->start();
}

TMainForm::~TMainForm() = default;

void TMainForm::createFeatures() {
    // The format bar's commands cancel a pending function-key assignment before they act,
    // as the menu and tool-bar commands do (CommandState).
    for (QToolButton *b : {NotationButton, CaretFontButton, TypingWidgets.BoldButton,
                           TypingWidgets.ItalicButton, UnderlineButton})
        connect(b, &QToolButton::clicked, this, &TMainForm::HideFnHint);
    for (QComboBox *box : {Fonts->FontNameBox, Fonts->FontSizeBox})
        connect(box, &QComboBox::activated, this, &TMainForm::HideFnHint);

    Notation = new NotationTyping(P, *Fonts, TypingWidgets, this);
    connect(NotationButton, &QToolButton::clicked, Notation, &NotationTyping::NotationButtonClick);
    connect(TypingWidgets.WhitespaceButton, &QToolButton::clicked, Notation,
            &NotationTyping::WhitespaceButtonClick);
    PaletteBarsFeature = new Palettes(P, BarWidgets, *Notation, this);
    FnKeys = new FunctionKeys(P, *PaletteBarsFeature, this);
    PaletteBarsFeature->AssignPaletteHandlers(
        this, [this](QToolButton *b) { FnKeys->FnDefButtonClick(b); });
    connect(BarWidgets.GreekAlphabetButton, &QToolButton::clicked, PaletteBarsFeature,
            &Palettes::GreekButtonClick);
    connect(BarWidgets.SymbolButton, &QToolButton::clicked, PaletteBarsFeature,
            &Palettes::SymbolButtonClick);
    connect(FunctionKeyButton, &QToolButton::clicked, PaletteBarsFeature,
            &Palettes::FunctionKeyButtonClick);
    connect(Notation, &NotationTyping::functionKeyPressed, FnKeys,
            &FunctionKeys::ReplayFunctionKey);
    Documents = new DocumentFiles(P, CurrentFileLabel, this, this);
    new FileDrop(*Documents, this, P.Editor->viewport());
    Edits = new EditCommands(P.Editor, this);
    Help = new HelpCommands(this, this);
    Recent = new RecentFiles(*Documents, this);
    connect(Notation, &NotationTyping::helpRequested, Help, &HelpCommands::HelpContents);
    Format = new Formatting(P, *Fonts, RulerWidgets.BulletsButton, this);
    Rulers = new Ruler(P, RulerWidgets, this);
    connect(Documents, &DocumentFiles::documentCleared, Rulers, &Ruler::ResetParagraphFormat);
    Commands = new CommandState(P, *Rulers, UnderlineButton, LineCountLabel, this);
    Zoom = new ViewZoom(P.Editor, *Rulers, ZoomLabel, QLatin1String(InitSetting::kKeyPath), this);
    Speller = new Spelling(P, QLatin1String(InitSetting::kKeyPath), this);
    Speller->extraActions = (new TableCommands(P, *Commands, this))->actions();
    buildMenus();
    connectFormatting();
    connectDocuments();
    AnchorMarks = new Anchors(P.Editor, this, this);
    Search = new FindReplace(P.Editor, this, this);
    TodayForm = new TTodayForm(P.Editor, *Notation, this);
    HtmlForm = new THtmlForm(P, *AnchorMarks, this);
    ScaleFormForLargeFonts(&AnchorMarks->form());
    ScaleFormForLargeFonts(HtmlForm);
    ScaleFormForLargeFonts(TodayForm);
    connect(Documents, &DocumentFiles::documentLoaded, AnchorMarks, &Anchors::ScanAnchors);
    // However a document came (Open, a recent file, a drop, the command line, a recovered
    // copy), B and I take its caret's style, so typing never carries the old document's.
    connect(Documents, &DocumentFiles::documentLoaded, Commands, [this] {
        const CharAttributes caret = P.Editor->caretAttributes();
        TypingWidgets.BoldButton->setChecked(caret.bold);
        TypingWidgets.ItalicButton->setChecked(caret.italic);
        Commands->scheduleUpdate();
    });
    connect(action(QStringLiteral("HtmlSrcAnchor")), &QAction::triggered, AnchorMarks,
            &Anchors::HtmlSrcAnchorExecute);
    connect(action(QStringLiteral("HtmlDestAnchor")), &QAction::triggered, AnchorMarks,
            &Anchors::HtmlDestAnchorExecute);
    connect(action(QStringLiteral("HtmlGenerate")), &QAction::triggered, HtmlForm,
            &THtmlForm::HtmlGenerateExecute);
    connect(action(QStringLiteral("SearchFind")), &QAction::triggered, Search,
            &FindReplace::SearchFind);
    // The menu item Replace1 triggers SearchReplace.
    connect(action(QStringLiteral("SearchReplace")), &QAction::triggered, Search,
            &FindReplace::SearchReplace);
    connect(action(QStringLiteral("EditDateTime")), &QAction::triggered, TodayForm,
            &TTodayForm::EditDateTimeExecute);
    auto *latex = new LatexClipboard(P, *Fonts, LatexLabel, this);
    connect(action(QStringLiteral("EditCopyLatex")), &QAction::triggered, latex,
            &LatexClipboard::EditCopyLatex);
    connect(action(QStringLiteral("EditPasteLatex")), &QAction::triggered, latex,
            &LatexClipboard::EditPasteLatex);
}

bool TMainForm::FormCreate() {
    PrepareDataFolder();
    FnKeys->FitHint(Services::screen().logicalDpi(), LargeFontsActive());
    if (!ScreenIsWideEnough())
        return false;
    LoadInitSetting();
    Speller->start();
    SetCaretFont();
    LoadRecentFiles();
    ApplyScreenDpi();
    TintToolTips();
    StartUntitled();
    return true;
}

// The per-user data folder; the rich-text engine is Qt's, so nothing is unpacked there.
void TMainForm::PrepareDataFolder() {
    QString appDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // Without a home it would lie under the file system's root: this run's own folder serves.
    if (!SettingsStore::homeProblem().isEmpty()) {
        static const QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/tessary-XXXXXX"));
        appDir = scratch.path();
    }
    QDir().mkpath(appDir);
    P.AppDir = QDir(appDir).absolutePath() + QLatin1Char('/');
}

// The palettes need a full row; the bars keep their rows centred on any wider window. The
// margin either side, (width - row) / 2, truncates toward zero, so one pixel short still fits.
bool TMainForm::ScreenIsWideEnough() {
    if ((Services::screen().width() - kPaletteRowWidth) / 2 >= 0)
        return true;
    Services::dialogs().message(nullptr, QStringLiteral("Tessary"),
                                QStringLiteral("Sorry! Please set your screen resolution "
                                               "to at least 800x600"),
                                QMessageBox::Warning);
    return false;
}

void TMainForm::LoadInitSetting() {
    const QString init =
        SettingsStore::instance().readString(InitSetting::kKeyPath, InitSetting::kValueName);
    Fonts->fill();
    ApplyInit(init);
}

void TMainForm::SetCaretFont() {
    P.Editor->setSelection(0, 0);
    CharAttributes caret;
    caret.face = Fonts->face();
    caret.size = Fonts->size();
    P.Editor->setCaretAttributes(caret, CharAttributes::Face | CharAttributes::Size);
}

// Find and replace open level with the editor's first text line. The editor's place is known
// once the window is laid out, so this runs when the window is first shown.
void TMainForm::PlaceFindDialogs() {
    Search->setDialogOffset(P.Editor->geometry().top() +
                            6 * RulerWidgets.LowerRulerPanel->height() +
                            RulerWidgets.ImplicitTabsPanel->height());
}

void TMainForm::LoadRecentFiles() {
    Recent->BuildRecentFilesMenu();
}

void TMainForm::ApplyScreenDpi() {
    const int pixelsPerInch = Services::screen().logicalDpi();
    setDocumentDpi(pixelsPerInch);
    Rulers->BuildRuler(pixelsPerInch);
    AnchorMarks->ResetAnchorTables();
    RulerWidgets.RulerGuidePanel->hide();
}

void TMainForm::TintToolTips() {
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, kToolTipColor);
    tips.setColor(QPalette::ToolTipText, textColorOn(kToolTipColor));
    QToolTip::setPalette(tips);
}

void TMainForm::StartUntitled() {
    Rulers->ResetParagraphFormat();
    Documents->ShowUntitled();
    P.Editor->setTextLimit(kNoTextLimit);
}

void TMainForm::ApplyInit(const QString &value) {
    const InitSetting s = InitSetting::parse(value);
    Fonts->setIndexes(
        {s.fontNameIndex, s.fontSizeIndex, s.savedFontNameIndex, s.savedFontSizeIndex});
    FnKeys->loadPieces(s.fnKeyPieces);
}

QString TMainForm::BuildInit() const {
    InitSetting s;
    const FontBoxes::Indexes boxes = Fonts->indexes();
    s.fontNameIndex = boxes.name;
    s.fontSizeIndex = boxes.size;
    s.savedFontNameIndex = boxes.savedName;
    s.savedFontSizeIndex = boxes.savedSize;
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
    PrintForm->SavePrintSettings();
    PrintForm->FontForm().SaveFontSettings();
    if (Documents->ConfirmSaveChanges() == QMessageBox::Cancel) {
        event->ignore();
        return;
    }
    Recent->SaveRecentFiles();
    Recovery->Discard(); // the user answered: the unsaved changes are not wanted
    event->accept();
}

void TMainForm::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    if (!m_findDialogsPlaced) {
        m_findDialogsPlaced = true;
        PlaceFindDialogs();
    }
}

void TMainForm::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    if (Documents && Document->CurrentFileName() != Documents->untitledName())
        Documents->fitFileLabel();
}

void TMainForm::FilePrintExecute() {
    HideFnHint();
    // The spooler, and the PDF printer's proposed file name, show the document's name.
    // Given as a path, it also puts the PDF printer's proposal in the document's folder.
    const QString name = QFileInfo(Document->CurrentFileName()).fileName();
    PrintForm->RichEditPrintJob().SetTitle(QDir(Document->dialogFolder()).filePath(name));
    PrintForm->PreparePrintDialog();
    // The dialog's values are kept as soon as it closes.
    PrintForm->SavePrintSettings();
    PrintForm->FontForm().SaveFontSettings();
    SettingsStore::instance().sync();
}

void TMainForm::HideFnHint() {
    if (FnKeys)
        FnKeys->HideFnHint(); // also releases a pending definition button
    else
        BarWidgets.FnHint->hide();
}

bool TMainForm::LargeFontsActive() {
    return Services::screen().logicalDpi() == kLargeFontsDpi;
}

void TMainForm::ScaleFormForLargeFonts(QWidget *form) {
    if (!LargeFontsActive())
        return;
    form->resize(int(std::ceil(form->width() * kFormWidthScale)),
                 int(std::ceil(form->height() * kFormHeightScale)));
}

} // namespace tessary
