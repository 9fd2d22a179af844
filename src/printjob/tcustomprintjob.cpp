#include "printjob/tcustomprintjob.h"

#include "platform/printerservice.h"
#include "platform/services.h"
#include "printjob/previewclient.h"
#include "richtext/canvas.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tessary {

namespace {

const char *const kMarginsOutside =
    "One or more margins are set outside the printable area of the page.";

// Round to nearest, halves to even (the default floating-point rounding mode).
int roundEven(double value) {
    return int(std::nearbyint(value));
}

// Stores a changed value; false when it was the same.
template <typename T> bool store(T &member, const T &value) {
    if (member == value)
        return false;
    member = value;
    return true;
}

// A rectangle from its four edges, right and bottom exclusive.
QRect edges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

} // namespace

TCustomPrintJob::TCustomPrintJob(QObject *parent)
    : QObject(parent) {
    ApplyPrinterSettings();
}

TCustomPrintJob::~TCustomPrintJob() {
    emit OnDestroy();
}

PrinterService &TCustomPrintJob::printer() const {
    return Services::printer();
}

DeviceFigures TCustomPrintJob::figures() const {
    return PrinterAvailable() ? printer().figures() : DeviceFigures{};
}

bool TCustomPrintJob::PrinterAvailable() const {
    try {
        return printer().available();
    } catch (...) {
        return false;
    }
}

// ---- properties --------------------------------------------------------------------------

void TCustomPrintJob::SetTitle(const QString &title) {
    m_title = title;
}

void TCustomPrintJob::SetMultiDoc(bool multiDoc) {
    m_multiDoc = multiDoc;
}

void TCustomPrintJob::SetMargins(const TMargins &margins) {
    if (margins == m_margins)
        return;
    TMargins checked = margins;
    CheckMargins(checked);
    m_margins = checked;
    Refresh();
}

// Setters that only change what is drawn store and refresh.
void TCustomPrintJob::SetMarginsUnits(TUnits value) {
    if (store(m_marginsUnits, value))
        Refresh();
}
void TCustomPrintJob::SetHeader(double value) {
    if (store(m_header, value))
        Refresh();
}
void TCustomPrintJob::SetHeaderUnits(TUnits value) {
    if (store(m_headerUnits, value))
        Refresh();
}
void TCustomPrintJob::SetFooter(double value) {
    if (store(m_footer, value))
        Refresh();
}
void TCustomPrintJob::SetFooterUnits(TUnits value) {
    if (store(m_footerUnits, value))
        Refresh();
}
void TCustomPrintJob::SetOptions(TJobOptionsSet value) {
    if (store(m_options, value))
        Refresh();
}
void TCustomPrintJob::SetRelativeCoords(bool value) {
    if (store(m_relativeCoords, value))
        Refresh();
}

// Setters that change the printer's page apply the printer settings first.
void TCustomPrintJob::SetPageMode(TPageMode value) {
    if (!store(m_pageMode, value))
        return;
    ApplyPrinterSettings();
    Refresh();
}
void TCustomPrintJob::SetPageUnits(TUnits value) {
    if (!store(m_pageUnits, value))
        return;
    ApplyPrinterSettings();
    Refresh();
}
void TCustomPrintJob::SetOrientation(TPageOrientation value) {
    if (!store(m_orientation, value))
        return;
    ApplyPrinterSettings();
    Refresh();
}

void TCustomPrintJob::SetMarginsError(TMarginsError mode) {
    if (mode == m_marginsError)
        return;
    m_marginsError = mode;
    if (mode != meNone) {
        TMargins margins = m_margins;
        CheckMargins(margins);
    }
}

void TCustomPrintJob::SetPageWidth(double width) {
    if (width == m_pageWidth)
        return;
    if (m_pageMode == pmCustom)
        m_pageWidth = width;
    else
        ApplyPrinterSettings();
    Refresh();
}

void TCustomPrintJob::SetPageHeight(double height) {
    if (height == m_pageHeight)
        return;
    if (m_pageMode == pmCustom)
        m_pageHeight = height;
    else
        ApplyPrinterSettings();
    Refresh();
}

void TCustomPrintJob::SetPageCount(int count) {
    count = qMax(1, count);
    if (count == m_pageCount)
        return;
    m_pageCount = count;
    // Only the views: a subclass's Refresh would paginate again.
    TCustomPrintJob::Refresh();
}

// ---- units and the page model ------------------------------------------------------------

double TCustomPrintJob::ConvertUnits(double Value, TUnits FromUnits, TUnits ToUnits, bool Vertical,
                                     double Base) const {
    const DeviceFigures f = figures();
    const double ppi = PrinterAvailable() ? (Vertical ? f.logPixelsY : f.logPixelsX) : 300;
    double v = Value;
    if (FromUnits != ToUnits) {
        double mm = Value;
        switch (FromUnits) {
        case unPixels:
            mm = Value * 25.4 / ppi;
            break;
        case unPercents:
            mm = (Value * Base / 100) * 25.4 / ppi;
            break;
        case unInches:
            mm = Value * 25.4;
            break;
        case unMillimeters:
            break;
        }
        switch (ToUnits) {
        case unPixels:
            v = ppi * mm / 25.4;
            break;
        case unPercents:
            // A zero base has no percentages; 0 rather than a division by zero.
            v = Base != 0 ? (ppi * mm / 25.4) * 100 / Base : 0;
            break;
        case unInches:
            v = mm / 25.4;
            break;
        case unMillimeters:
            v = mm;
            break;
        }
    }
    const double factor = ToUnits == unPixels ? 1 : ToUnits == unMillimeters ? 100 : 1000;
    return std::nearbyint(v * factor) / factor;
}

QRect TCustomPrintJob::GetPageRect() {
    if (!PrinterAvailable()) {
        m_pageWidth = 2000;
        m_pageHeight = 3000;
        return QRect(0, 0, 2000, 3000);
    }
    const DeviceFigures f = figures();
    return QRect(
        0, 0, roundEven(ConvertUnits(m_pageWidth, m_pageUnits, unPixels, false, f.physicalWidth)),
        roundEven(ConvertUnits(m_pageHeight, m_pageUnits, unPixels, true, f.physicalHeight)));
}

QRect TCustomPrintJob::GetPrintableRect() const {
    const DeviceFigures f = figures();
    return QRect(0, 0, f.horzRes, f.vertRes);
}

QRect TCustomPrintJob::marginsRect(const TMargins &margins) {
    const QRect page = GetPageRect();
    const double left = ConvertUnits(margins.Left, m_marginsUnits, unPixels, false, m_pageWidth);
    const double top = ConvertUnits(margins.Top, m_marginsUnits, unPixels, true, m_pageHeight);
    const double right = ConvertUnits(margins.Right, m_marginsUnits, unPixels, false, m_pageWidth);
    const double bottom =
        ConvertUnits(margins.Bottom, m_marginsUnits, unPixels, true, m_pageHeight);
    return edges(roundEven(left), roundEven(top), roundEven(page.width() - right),
                 roundEven(page.height() - bottom));
}

QRect TCustomPrintJob::GetMarginsRect() {
    if (!(m_options & joMargins))
        return GetPageRect();
    return marginsRect(m_margins);
}

int TCustomPrintJob::bandHeight(double value, TUnits units, int base) const {
    return roundEven(ConvertUnits(value, units, unPixels, true, base));
}

QRect TCustomPrintJob::GetHeaderRect() {
    if (!(m_options & joHeader))
        return QRect(0, 0, 0, 0);
    const QRect m = GetMarginsRect();
    return QRect(m.left(), m.top(), m.width(), bandHeight(m_header, m_headerUnits, m.height()));
}

QRect TCustomPrintJob::GetBodyRect() {
    QRect m = GetMarginsRect();
    const int h = m.height();
    if (m_options & joHeader)
        m.setTop(m.top() + bandHeight(m_header, m_headerUnits, h));
    if (m_options & joFooter)
        m.setBottom(m.bottom() - bandHeight(m_footer, m_footerUnits, h));
    return m;
}

QRect TCustomPrintJob::GetFooterRect() {
    if (!(m_options & joFooter))
        return QRect(0, 0, 0, 0);
    const QRect m = GetMarginsRect();
    const int fh = bandHeight(m_footer, m_footerUnits, m.height());
    return QRect(m.left(), m.top() + m.height() - fh, m.width(), fh);
}

TCustomPrintJob *TCustomPrintJob::GetJobForPage(int) {
    return this;
}

void TCustomPrintJob::ApplyPrinterSettings() {
    if (!PrinterAvailable()) {
        m_pageWidth = 2000;
        m_pageHeight = 3000;
        return;
    }
    PrinterService &p = printer();
    if (m_orientation != orDefault && !p.printing())
        p.setLandscape(m_orientation == orLandscape);
    if (m_pageMode == pmDefault) {
        const DeviceFigures f = p.figures();
        m_pageWidth = ConvertUnits(f.physicalWidth, unPixels, m_pageUnits, false, f.physicalWidth);
        m_pageHeight =
            ConvertUnits(f.physicalHeight, unPixels, m_pageUnits, true, f.physicalHeight);
    }
}

// ---- margins check ------------------------------------------------------------------------

void TCustomPrintJob::CheckMargins(TMargins &M) {
    if (m_marginsError == meNone || !PrinterAvailable())
        return;
    const DeviceFigures f = figures();
    // The margins being checked, whether or not they apply yet: a new value is checked
    // before it is assigned, and margins are not overwritten while joMargins is off.
    const QRect r = marginsRect(M);
    const int left = f.physicalOffsetX;
    const int top = f.physicalOffsetY;
    const int right = left + f.horzRes;
    const int bottom = top + f.vertRes;
    if (r.left() >= left && r.top() >= top && r.x() + r.width() <= right &&
        r.y() + r.height() <= bottom)
        return;
    switch (m_marginsError) {
    case meNone:
        return;
    case meAutoFix:
        break;
    case meMessageBox: {
        if (m_declinedMargins && *m_declinedMargins == M)
            return;
        const QString text =
            QString::fromLatin1(kMarginsOutside) + QStringLiteral("\nDo you want to fix them?");
        const auto answer =
            Services::dialogs().ask(nullptr, QGuiApplication::applicationDisplayName(), text,
                                    QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            // Declined once: the same margins are not asked about again on every refresh.
            m_declinedMargins = M;
            return;
        }
        break;
    }
    case meException:
        throw EPrintJobException(kMarginsOutside);
    }
    M.Left = ConvertUnits(left, unPixels, m_marginsUnits, false, f.physicalWidth);
    M.Top = ConvertUnits(top, unPixels, m_marginsUnits, true, f.physicalHeight);
    M.Right =
        ConvertUnits(f.physicalWidth - right, unPixels, m_marginsUnits, false, f.physicalWidth);
    M.Bottom =
        ConvertUnits(f.physicalHeight - bottom, unPixels, m_marginsUnits, true, f.physicalHeight);
    m_margins = M;
}

// ---- drawing ------------------------------------------------------------------------------

void TCustomPrintJob::Draw(Canvas &canvas, int PageIndex) {
    DrawPage(canvas, PageIndex, dtCanvas);
}

void TCustomPrintJob::DrawPage(QPainter &painter, int PageIndex, TDrawTarget Target) {
    Canvas canvas(painter);
    DrawPage(canvas, PageIndex, Target);
}

void TCustomPrintJob::DrawPage(Canvas &canvas, int PageIndex, TDrawTarget Target) {
    ApplyPrinterSettings();
    const DeviceFigures f = figures();
    canvas.setFontPixelsPerInch(PrinterAvailable() ? f.logPixelsY : 300);
    InitCanvas(canvas, Target);
    const struct {
        TDrawArea area;
        bool drawn;
    } areas[] = {{daHeader, bool(m_options & joHeader)},
                 {daBody, true},
                 {daFooter, bool(m_options & joFooter)}};
    for (const auto &a : areas) {
        if (!a.drawn)
            continue;
        QRect r = a.area == daHeader ? GetHeaderRect()
                  : a.area == daBody ? GetBodyRect()
                                     : GetFooterRect();
        QPainter &painter = canvas.painter();
        // Restores the painter's origin also when the hook throws.
        struct Restore {
            QPainter *painter;
            ~Restore() {
                if (painter)
                    painter->restore();
            }
        } restore{m_relativeCoords ? &painter : nullptr};
        if (m_relativeCoords) {
            painter.save();
            painter.translate(r.topLeft());
            r.moveTopLeft(QPoint(0, 0));
        }
        if (Target == dtPrinter)
            r.translate(-f.physicalOffsetX, -f.physicalOffsetY);
        DoDraw(canvas, PageIndex, r, a.area, Target);
    }
}

void TCustomPrintJob::InitCanvas(Canvas &canvas, TDrawTarget Target) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    canvas.setFont(font);
    QPainter &p = canvas.painter();
    p.setPen(QPen(Qt::black, 0, Qt::SolidLine));
    p.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    emit OnInitCanvas(canvas, Target);
}

void TCustomPrintJob::DoDraw(Canvas &canvas, int PageIndex, const QRect &TheRect, TDrawArea Area,
                             TDrawTarget Target) {
    emit OnDraw(canvas, PageIndex, TheRect, Area, Target);
}

// ---- events -------------------------------------------------------------------------------

void TCustomPrintJob::DoPrinterSetupChange() {
    emit OnPrinterSetupChange();
}
bool TCustomPrintJob::DoBeforePrint() {
    bool canPrint = true;
    if (OnBeforePrint)
        OnBeforePrint(canPrint);
    return canPrint;
}
void TCustomPrintJob::DoStartPrint() {
    emit OnStartPrint();
}
void TCustomPrintJob::DoEndPrint() {
    emit OnEndPrint();
}
void TCustomPrintJob::DoPrintProgress(int Pos, int Min, int Max) {
    emit OnPrintProgress(Pos, Min, Max);
}
void TCustomPrintJob::DoStartPrintPage(int PageIndex) {
    emit OnStartPrintPage(PageIndex);
}
void TCustomPrintJob::DoEndPrintPage(int PageIndex) {
    emit OnEndPrintPage(PageIndex);
}

// ---- printing -----------------------------------------------------------------------------

void TCustomPrintJob::Print() {
    PrintPages(1, m_pageCount, m_multiDoc ? ppPerPageDocument : TPrintPagesOptions());
}

void TCustomPrintJob::Abort() {
    m_aborted = true;
}

void TCustomPrintJob::PrintPages(int FromPage, int ToPage, TPrintPagesOptions Options, int Copies) {
    if (!DoBeforePrint())
        return;
    m_aborted = false;
    PrinterService &p = printer();
    p.setTitle(m_title);
    DoStartPrint();
    const bool perPage = Options & ppPerPageDocument;
    const int pages = ToPage - FromPage + 1;
    // Counted wide: pages times copies must not wrap round to a small run.
    const qint64 wanted = pages > 0 ? qint64(pages) * std::max(Copies, 0) : 0;
    const int count = int(std::min<qint64>(wanted, std::numeric_limits<int>::max()));
    // An empty range or a document that cannot begin (no printer, no file name chosen)
    // prints nothing; a throwing hook still closes the document.
    struct CloseDocument {
        PrinterService &p;
        ~CloseDocument() { p.endDoc(); }
    } close{p};
    if (count > 0 && (perPage || p.beginDoc())) {
        for (int done = 0; done < count; ++done) {
            if (m_aborted) {
                m_aborted = false;
                break;
            }
            const int step = done % pages;
            const int page = Options & ppReverse ? ToPage - step : FromPage + step;
            // A new sheet only when another page follows, so an aborted run leaves no
            // blank sheet behind.
            if (perPage && !p.beginDoc())
                break;
            if (!perPage && done > 0)
                p.newPage();
            DoStartPrintPage(page);
            DrawPage(*p.canvas(), page, dtPrinter);
            DoEndPrintPage(page);
            if (perPage)
                p.endDoc();
            DoPrintProgress(done + 1, 1, count);
            // Lets an Abort from a button arrive.
            QCoreApplication::processEvents();
        }
        p.endDoc();
    }
    DoEndPrint();
}

void TCustomPrintJob::PrintDialog(QWidget *parent) {
    PrintRange range{1, m_pageCount, 1, m_pageCount};
    if (!printer().printDialog(parent, range))
        return;
    m_aborted = false;
    printer().setTitle(m_title);
    Refresh();
    DoPrinterSetupChange();
    PrintPages(range.from, range.to, m_multiDoc ? ppPerPageDocument : TPrintPagesOptions());
}

void TCustomPrintJob::PrinterSetupDialog(QWidget *parent) {
    if (!printer().setupDialog(parent))
        return;
    Refresh();
    DoPrinterSetupChange();
}

// ---- views --------------------------------------------------------------------------------

void TCustomPrintJob::Refresh() {
    UpdateViews();
}

void TCustomPrintJob::UpdateViews() {
    if (m_updateLock > 0 || !PrinterAvailable())
        return;
    ApplyPrinterSettings();
    TMargins margins = m_margins;
    CheckMargins(margins);
    // A view may unregister while it updates; one that throws does not stop the others.
    const QList<PreviewClient *> previews = m_previews;
    for (PreviewClient *preview : previews) {
        if (!m_previews.contains(preview))
            continue;
        try {
            preview->UpdatePreview();
        } catch (...) {
        }
    }
    emit OnUpdate();
}

void TCustomPrintJob::BeginUpdate() {
    ++m_updateLock;
}

void TCustomPrintJob::EndUpdate() {
    if (m_updateLock > 0)
        --m_updateLock;
}

void TCustomPrintJob::AddPreview(PreviewClient *preview) {
    if (preview && !m_previews.contains(preview))
        m_previews.append(preview);
}

void TCustomPrintJob::RemovePreview(PreviewClient *preview) {
    m_previews.removeAll(preview);
}

} // namespace tessary
