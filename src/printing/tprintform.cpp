#include "printing/tprintform.h"

#include "printjob/keptheaders.h"

#include "platform/fontregistry.h"
#include "platform/printerservice.h"
#include "platform/services.h"
#include "platform/settingsstore.h"
#include "printing/printsettings.h"
#include "richtext/richedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QProgressDialog>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <tuple>

namespace tessary {

namespace {

// The top and bottom margins: half an inch plus this many printer pixels.
constexpr double kFixedMarginExtra = 50;
// Where header and footer texts and rules stand against the body, in printer pixels.
constexpr int kHeaderTextAbove = 150;
constexpr int kHeaderRuleAbove = 50;
constexpr int kFooterRuleBelow = 25;
constexpr int kFooterTextBelow = 50;
constexpr int kNoPrinterPixelsPerInch = 300;
// The body keeps at least this much room, in inches, across and down the page.
constexpr double kMinimumBody = 0.25;
// More copies than this are a typing slip, not a print run.
constexpr int kMaxCopies = 999;
// Runs of more pages than this show a progress with a Cancel button.
constexpr int kProgressPages = 20;

} // namespace

TPrintForm::TPrintForm(RichEdit *editor, const FontBoxes &fontBoxes, QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("PrintForm"));
    setWindowTitle(QStringLiteral("  Printing specs & preview"));
    m_job = new TRichEditPrintJob(this);
    m_job->SetMultiDoc(false);
    m_job->SetMarginsError(meAutoFix);
    m_job->SetPageMode(pmDefault);
    m_job->SetOptions(joMargins | joHeader | joFooter);
    m_job->SetRelativeCoords(false);
    m_job->SetMarginsUnits(unPixels);
    m_job->SetHeaderUnits(unPixels);
    m_job->SetFooterUnits(unPixels);
    m_job->SetPageUnits(unPixels);
    connect(m_job, &TCustomPrintJob::OnDraw, this, &TPrintForm::RichEditPrintJobDraw);
    m_fontForm = new TFontForm(fontBoxes, this);
    m_fontForm->OnFontsChanged = [this] { m_job->Refresh(); };
    createControls();
    layoutControls();
    connectControls();
    // What the miniature, the preview window and Print show follows the typing at once.
    for (QLineEdit *edit : lengthEdits())
        connect(edit, &QLineEdit::textEdited, this, &TPrintForm::MarginEditChange);
    LoadPrintSettings();
    Preview->SetPrintJob(m_job);
    Preview->SetPageIndex(1);
    ApplyMargins();
    m_job->SetRichEdit(editor);
}

TPrintForm::~TPrintForm() {
    // The previews go first: they unregister from the job.
    delete PreviewWindow;
    delete Preview;
}

void TPrintForm::hideEvent(QHideEvent *event) {
    // The full-size preview belongs to this dialog's showing.
    if (PreviewWindow->Form())
        PreviewWindow->Form()->close();
    QDialog::hideEvent(event);
}

void TPrintForm::PreparePrintDialog() {
    m_job->Refresh();
    ToPageEdit->setText(QString::number(m_job->PageCount()));
    exec();
}

void TPrintForm::LoadPrintSettings() {
    applySettings(tessary::LoadPrintSettings(SettingsStore::instance()));
    PrintAllCheckBox->setChecked(true);
    FromPageCheckBox->setChecked(false);
    CopiesEdit->setText(QStringLiteral("1"));
    FromPageEdit->setText(QStringLiteral("1"));
    ToPageEdit->setText(QString::number(m_job->PageCount()));
    m_header->UpdatePatternLabels();
    m_footer->UpdatePatternLabels();
}

void TPrintForm::applySettings(const PrintSettings &s) {
    InchesCheckBox->setChecked(s.inches);
    CentimetersCheckBox->setChecked(!s.inches);
    HeaderLineCheckBox->setChecked(s.headerLine);
    FooterLineCheckBox->setChecked(s.footerLine);
    HeaderHeightEdit->setText(s.headerHeight);
    FooterHeightEdit->setText(s.footerHeight);
    LeftMarginEdit->setText(s.leftMargin);
    RightMarginEdit->setText(s.rightMargin);
    for (int i = 0; i < 3; ++i) {
        m_header->setPattern(i, s.patterns.at(i));
        m_footer->setPattern(i, s.patterns.at(i + 3));
    }
    m_header->setTicked(s.headerPosition);
    m_footer->setTicked(s.footerPosition);
    m_header->setCustomPattern(s.customHeader, s.headerIndex);
    m_footer->setCustomPattern(s.customFooter, s.footerIndex);
}

void TPrintForm::SavePrintSettings() {
    PrintSettings s;
    s.inches = InchesCheckBox->isChecked();
    s.headerLine = HeaderLineCheckBox->isChecked();
    s.footerLine = FooterLineCheckBox->isChecked();
    s.headerHeight = HeaderHeightEdit->text();
    s.footerHeight = FooterHeightEdit->text();
    s.leftMargin = LeftMarginEdit->text();
    s.rightMargin = RightMarginEdit->text();
    s.headerIndex = m_header->ComboBox->currentIndex();
    s.footerIndex = m_footer->ComboBox->currentIndex();
    s.headerPosition = m_header->editedPosition();
    s.footerPosition = m_footer->editedPosition();
    for (int i = 0; i < 3; ++i) {
        s.patterns.at(i) = m_header->pattern(i);
        s.patterns.at(i + 3) = m_footer->pattern(i);
    }
    s.customHeader = m_header->customPattern();
    s.customFooter = m_footer->customPattern();
    tessary::SavePrintSettings(SettingsStore::instance(), s);
}

double TPrintForm::InchesToPixels(bool vertical, double inches) const {
    if (!m_job->PrinterAvailable())
        return inches * kNoPrinterPixelsPerInch;
    const DeviceFigures figures = m_job->printer().figures();
    return inches * (vertical ? figures.logPixelsY : figures.logPixelsX);
}

QString TPrintForm::readLengths(const QLineEdit *typed, std::array<double, 4> &inches) const {
    const auto edits = lengthEdits();
    const double toInches = InchesCheckBox->isChecked() ? 1.0 : Lengths::CentimetresToInches;
    std::array<std::size_t, 4> order{0, 1, 2, 3};
    for (std::size_t i = 0; i < edits.size(); ++i) {
        if (edits.at(i) == typed)
            std::rotate(order.begin(), order.begin() + long(i), order.begin() + long(i) + 1);
    }
    for (const std::size_t i : order) {
        const QString text = edits.at(i)->text();
        const auto value = Lengths::Parse(text);
        if (!value)
            return text + QStringLiteral(" is not a valid number.");
        if (*value < 0)
            return text + QStringLiteral(" is less than zero.");
        inches.at(i) = *value * toInches;
    }
    // Header, footer, left, right: the pair across or down the page that leaves the body too
    // small is named by its typed edit, else by its larger length.
    const QRect page = m_job->GetPageRect();
    const double across = page.width() / InchesToPixels(false, 1) - inches[2] - inches[3];
    const double down = page.height() / InchesToPixels(true, 1) - inches[0] - inches[1] -
                        2 * (0.5 + kFixedMarginExtra / InchesToPixels(true, 1));
    for (const auto &[room, first, second] : {std::tuple{across, 2, 3}, {down, 0, 1}}) {
        if (room >= kMinimumBody)
            continue;
        const QLineEdit *named =
            edits.at(first) == typed || edits.at(second) == typed
                ? typed
                : edits.at(inches.at(first) >= inches.at(second) ? first : second);
        return named->text() + QStringLiteral(" leaves no room for the text.");
    }
    return {};
}

QString TPrintForm::CheckLengths(const QLineEdit *typed) const {
    std::array<double, 4> inches{};
    return readLengths(typed, inches);
}

void TPrintForm::ApplyMargins() {
    std::array<double, 4> inches{};
    if (readLengths(nullptr, inches).isNull())
        m_lastInches = inches;
    TMargins margins;
    margins.Top = margins.Bottom = InchesToPixels(true, 0.5) + kFixedMarginExtra;
    margins.Left = InchesToPixels(false, m_lastInches.at(2));
    margins.Right = InchesToPixels(false, m_lastInches.at(3));
    m_job->BeginUpdate();
    m_job->SetMargins(margins);
    m_job->SetHeader(InchesToPixels(true, m_lastInches.at(0)));
    m_job->SetFooter(InchesToPixels(true, m_lastInches.at(1)));
    m_job->EndUpdate();
}

void TPrintForm::followPageCount(int before) {
    if (m_job->PageCount() != before && ToPageEdit->text() == QString::number(before))
        ToPageEdit->setText(QString::number(m_job->PageCount()));
}

std::array<QLineEdit *, 4> TPrintForm::lengthEdits() const {
    return {HeaderHeightEdit, FooterHeightEdit, LeftMarginEdit, RightMarginEdit};
}

void TPrintForm::convertLengths(double factor) {
    for (QLineEdit *edit : lengthEdits())
        edit->setText(Lengths::Convert(edit->text(), factor));
}

void TPrintForm::InchesCheckBoxClick() {
    CentimetersCheckBox->setChecked(!InchesCheckBox->isChecked());
    convertLengths(InchesCheckBox->isChecked() ? Lengths::CentimetresToInches
                                               : Lengths::InchesToCentimetres);
    ApplyMargins();
}

void TPrintForm::CentimetersCheckBoxClick() {
    InchesCheckBox->setChecked(!CentimetersCheckBox->isChecked());
    convertLengths(CentimetersCheckBox->isChecked() ? Lengths::InchesToCentimetres
                                                    : Lengths::CentimetresToInches);
    ApplyMargins();
}

void TPrintForm::MarginEditEnter(QLineEdit *edit) {
    const QString fixed = Lengths::WithLocaleSeparator(edit->text());
    if (fixed != edit->text()) {
        edit->setText(fixed);
        edit->end(false);
    }
    applyCheckedLengths(edit);
}

bool TPrintForm::applyCheckedLengths(const QLineEdit *typed) {
    if (const QString refused = CheckLengths(typed); !refused.isNull()) {
        Services::dialogs().message(this, QStringLiteral("Tessary"), refused);
        return false;
    }
    const int before = m_job->PageCount();
    ApplyMargins();
    m_job->Refresh();
    followPageCount(before);
    return true;
}

void TPrintForm::MarginEditChange() {
    // A value being typed that is not yet acceptable is reported on Enter or Print.
    const int before = m_job->PageCount();
    const std::array<double, 4> applied = m_lastInches;
    ApplyMargins();
    if (m_lastInches != applied)
        m_job->Refresh(); // the views wait for the whole change
    followPageCount(before);
}

void TPrintForm::PrintAllCheckBoxClick() {
    FromPageCheckBox->setChecked(!PrintAllCheckBox->isChecked());
    if (FromPageCheckBox->isChecked())
        FromPageEdit->setFocus();
}

void TPrintForm::FromPageCheckBoxClick() {
    PrintAllCheckBox->setChecked(!FromPageCheckBox->isChecked());
}

void TPrintForm::PrintButtonClick() {
    // The lengths as they stand in the edits, Enter pressed or not, decide the pages.
    if (!applyCheckedLengths())
        return;
    const int pageCount = m_job->PageCount();
    std::optional<int> from = 1;
    std::optional<int> to = pageCount;
    const QString fromText = FromPageEdit->text();
    const QString toText = ToPageEdit->text();
    if (FromPageCheckBox->isChecked()) {
        from = ReadPageNumber(FromPageEdit, QStringLiteral("1"));
        to = ReadPageNumber(ToPageEdit, QString::number(pageCount));
    }
    const std::optional<int> copies = ReadPageNumber(CopiesEdit, QStringLiteral("1"));
    // A bad entry has been reported and prints nothing, as does a copy count below 1.
    if (!from || !to || !copies || *copies < 1)
        return;
    if (*copies > kMaxCopies) {
        Services::dialogs().message(this, QStringLiteral("Tessary"),
                                    CopiesEdit->text() +
                                        QStringLiteral(" is more copies than %1.").arg(kMaxCopies));
        return;
    }
    const PageChoice range = ChoosePrintRange(fromText, *from, toText, *to, pageCount);
    if (!range.refusal.isNull()) {
        Services::dialogs().message(this, QStringLiteral("Tessary"), range.refusal);
        return;
    }
    printCopies(range.from, range.to, *copies);
}

void TPrintForm::printCopies(int from, int to, int copies) {
    const bool oneDocument = m_job->printer().writesFile();
    const int pages = to - from + 1;
    int copy = 0;
    std::unique_ptr<QProgressDialog> progress;
    QMetaObject::Connection tracking;
    if (pages * copies > kProgressPages) {
        progress = std::make_unique<QProgressDialog>(
            QStringLiteral("Printing..."), QStringLiteral("Cancel"), 0, pages * copies, this);
        progress->setWindowModality(Qt::WindowModal);
        QProgressDialog *shown = progress.get();
        tracking = connect(m_job, &TCustomPrintJob::OnPrintProgress, shown, [&, shown](int pos) {
            shown->setValue((oneDocument ? 0 : copy * pages) + pos);
            if (shown->wasCanceled())
                m_job->Abort();
        });
    }
    for (; copy < (oneDocument ? 1 : copies); ++copy) {
        m_job->PrintPages(from, to, {}, oneDocument ? copies : 1);
        if (progress && progress->wasCanceled())
            break;
    }
    disconnect(tracking);
}

void TPrintForm::PrinterPropertiesButtonClick() {
    PrinterService &printer = m_job->printer();
    if (!printer.setupDialog(this))
        return;
    const DeviceFigures figures = printer.figures();
    m_job->BeginUpdate();
    m_job->SetOrientation(printer.landscape() ? orLandscape : orPortrait);
    m_job->SetPageHeight(figures.physicalHeight);
    m_job->SetPageWidth(figures.physicalWidth);
    m_job->EndUpdate();
    m_job->Refresh();
}

void TPrintForm::HelpButtonClick() {
    Services::shell().open(
        QUrl::fromLocalFile(FontRegistry::dataDirectory() + QStringLiteral("/help/printing.html")));
}

void TPrintForm::SetupFontDialog(PatternChoosers &set) {
    m_fontForm->SetupFontDialog(set.editedTag());
    m_fontForm->exec();
}

void TPrintForm::HeaderFontButtonClick() {
    SetupFontDialog(*m_header);
}

void TPrintForm::FooterFontButtonClick() {
    SetupFontDialog(*m_footer);
}

void TPrintForm::FirstPageButtonClick() {
    Preview->SetPageIndex(1);
}

void TPrintForm::PreviousPageButtonClick() {
    if (Preview->PageIndex() > 1)
        Preview->SetPageIndex(Preview->PageIndex() - 1);
}

void TPrintForm::NextPageButtonClick() {
    if (Preview->PageIndex() < m_job->PageCount())
        Preview->SetPageIndex(Preview->PageIndex() + 1);
}

void TPrintForm::LastPageButtonClick() {
    Preview->SetPageIndex(m_job->PageCount());
}

void TPrintForm::ZoomButtonClick() {
    PreviewWindow->Show();
    PreviewWindow->SetPageIndex(Preview->PageIndex());
}

void TPrintForm::PreviewWindowPageChanged() {
    // The page is kept in step both ways; only a differing page is passed on, so the two
    // controls' page events cannot chase each other.
    if (Preview->PageIndex() != PreviewWindow->PageIndex())
        Preview->SetPageIndex(PreviewWindow->PageIndex());
}

void TPrintForm::PreviewWindowClose() {
    Preview->SetPageIndex(PreviewWindow->PageIndex());
}

QString TPrintForm::PositionText(int tag, int page) const {
    const PatternChoosers &set = tag <= 3 ? *m_header : *m_footer;
    const QString &pattern = set.pattern((tag - 1) % 3);
    if (pattern == Patterns::Empty)
        return {};
    return Patterns::ExpandPattern(pattern, page, m_job->PageCount(), m_clock());
}

QFont TPrintForm::PositionDrawingFont(int tag) const {
    const PositionFont entry = m_fontForm->fonts().font(tag).value_or(PositionFont());
    QFont font(entry.name);
    const bool footer = tag > 3;
    font.setPointSize(
        footer && entry.name == QLatin1String("Arial") && entry.size == 10 ? 9 : entry.size);
    font.setBold(entry.style & PositionFont::Bold);
    font.setItalic(entry.style & PositionFont::Italic);
    return font;
}

void TPrintForm::RichEditPrintJobDraw(Canvas &canvas, int PageIndex, const QRect &TheRect,
                                      TDrawArea Area, TDrawTarget Target) {
    Q_UNUSED(Target);
    // The lengths are applied before pages are drawn, never while a page is half drawn.
    if (Area == daBody)
        return;
    // The body rectangle in the canvas's own coordinates: on a printer the origin is the
    // printable area's corner, so the body moves by what moved the band's rectangle.
    const QRect band = Area == daHeader ? m_job->GetHeaderRect() : m_job->GetFooterRect();
    const QRect R = m_job->GetBodyRect().translated(TheRect.topLeft() - band.topLeft());
    const bool header = Area == daHeader;
    if (!header && FooterLineCheckBox->isChecked()) {
        canvas.moveTo(R.left(), R.bottom() + 1 + kFooterRuleBelow);
        canvas.lineTo(R.right() + 1, R.bottom() + 1 + kFooterRuleBelow);
    }
    const int y = header ? R.top() - kHeaderTextAbove : R.bottom() + 1 + kFooterTextBelow;
    // The dialog's own header and footer win; without them the document's own are printed.
    bool patterns = false;
    for (int position = 0; position < 3; ++position)
        patterns = patterns || !PositionText(position + 1 + (header ? 0 : 3), PageIndex).isNull();
    if (!patterns && m_job->RichEdit())
        KeptHeaders::draw(canvas.painter(), *m_job->RichEdit()->document(), PageIndex,
                          m_job->PageCount(), R, !header,
                          qRound(m_job->ConvertUnits(1, unInches, unPixels, true, 0)));
    for (int position = 0; position < 3; ++position) {
        const int tag = position + 1 + (header ? 0 : 3);
        const QString text = PositionText(tag, PageIndex);
        if (text.isNull())
            continue;
        canvas.setFont(PositionDrawingFont(tag));
        const int width = canvas.textWidth(text);
        const int x = position == 0   ? R.left()
                      : position == 1 ? (R.left() + R.right() + 1 - width) / 2
                                      : R.right() + 1 - width;
        canvas.textOut(x, y, text);
    }
    if (header && HeaderLineCheckBox->isChecked()) {
        canvas.moveTo(R.left(), R.top() - kHeaderRuleAbove);
        canvas.lineTo(R.right() + 1, R.top() - kHeaderRuleAbove);
    }
}

bool TPrintForm::eventFilter(QObject *watched, QEvent *event) {
    const bool rangeEdit = watched == FromPageEdit || watched == ToPageEdit;
    if (rangeEdit &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress)) {
        if (!FromPageCheckBox->isChecked()) {
            FromPageCheckBox->setChecked(true);
            FromPageCheckBoxClick();
        }
    }
    if (watched == FromPageEdit && event->type() == QEvent::MouseButtonRelease) {
        FromPageEdit->selectAll();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tessary
