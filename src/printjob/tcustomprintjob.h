#pragma once

#include "richtext/canvas.h"

#include <QFlags>
#include <QList>
#include <QObject>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>

class QPainter;
class QWidget;

namespace tessary {

class PrinterService;
class PreviewClient;
struct DeviceFigures;

enum TUnits { unPixels, unPercents, unInches, unMillimeters };
enum TPageMode { pmDefault, pmCustom };
enum TPageOrientation { orDefault, orPortrait, orLandscape };
enum TJobOption { joMargins = 1, joHeader = 2, joFooter = 4 };
Q_DECLARE_FLAGS(TJobOptionsSet, TJobOption)
enum TMarginsError { meNone, meAutoFix, meMessageBox, meException };
enum TDrawArea { daHeader, daBody, daFooter };
// dtScreen, dtPreview and dtCanvas are drawn alike: in printer pixels on whatever painter
// is given; only dtPrinter shifts the page onto the printable area's origin.
enum TDrawTarget { dtPrinter, dtScreen, dtPreview, dtCanvas };
enum TPrintPagesOption { ppReverse = 1, ppPerPageDocument = 2 };
Q_DECLARE_FLAGS(TPrintPagesOptions, TPrintPagesOption)

// The four page margins, in the job's MarginsUnits.
struct TMargins {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    void Assign(const TMargins &other) { *this = other; }
    bool operator==(const TMargins &other) const = default;
};

class EPrintJobException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The page model of a print-out and the loop that sends pages to the printer (the printer
// service of Services). It knows nothing of what is printed: every area of every page is
// drawn by DoDraw, which fires OnDraw unless a subclass draws the area itself. All page
// rectangles are in printer pixels with the origin at the sheet's physical corner.
// Property setters store a changed value and then refresh the views.
class TCustomPrintJob : public QObject {
    Q_OBJECT
public:
    explicit TCustomPrintJob(QObject *parent = nullptr);
    ~TCustomPrintJob() override;

    QString Title() const { return m_title; }
    void SetTitle(const QString &title);
    bool MultiDoc() const { return m_multiDoc; }
    void SetMultiDoc(bool multiDoc);
    const TMargins &Margins() const { return m_margins; }
    // Checks the new margins against the printable area first (MarginsError); with
    // meException it throws and nothing changes.
    void SetMargins(const TMargins &margins);
    TUnits MarginsUnits() const { return m_marginsUnits; }
    void SetMarginsUnits(TUnits units);
    TMarginsError MarginsError() const { return m_marginsError; }
    void SetMarginsError(TMarginsError mode);
    double Header() const { return m_header; }
    void SetHeader(double header);
    TUnits HeaderUnits() const { return m_headerUnits; }
    void SetHeaderUnits(TUnits units);
    double Footer() const { return m_footer; }
    void SetFooter(double footer);
    TUnits FooterUnits() const { return m_footerUnits; }
    void SetFooterUnits(TUnits units);
    TPageMode PageMode() const { return m_pageMode; }
    void SetPageMode(TPageMode mode);
    // In pmDefault the page size is the printer's: a write re-reads it instead of storing.
    double PageWidth() const { return m_pageWidth; }
    void SetPageWidth(double width);
    double PageHeight() const { return m_pageHeight; }
    void SetPageHeight(double height);
    TUnits PageUnits() const { return m_pageUnits; }
    void SetPageUnits(TUnits units);
    TPageOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TPageOrientation orientation);
    TJobOptionsSet Options() const { return m_options; }
    void SetOptions(TJobOptionsSet options);
    // Draw hooks get area-relative coordinates (the painter is translated to the area).
    bool RelativeCoords() const { return m_relativeCoords; }
    void SetRelativeCoords(bool relative);
    int PageCount() const { return m_pageCount; }

    // Runs before each print run; clearing CanPrint cancels it.
    std::function<void(bool &CanPrint)> OnBeforePrint;

    void Print();
    // Shows the system print dialog (pages 1..PageCount); on OK prints the chosen range.
    virtual void PrintDialog(QWidget *parent = nullptr);
    // Shows the printer set-up dialog; on OK repaginates and fires OnPrinterSetupChange.
    virtual void PrinterSetupDialog(QWidget *parent = nullptr);
    // Prints pages FromPage..ToPage (1-based; ppReverse: from ToPage down), Copies times
    // over in the one run.
    virtual void PrintPages(int FromPage, int ToPage, TPrintPagesOptions Options = {},
                            int Copies = 1);
    // Stops a print run before its next page.
    virtual void Abort();
    void Draw(Canvas &canvas, int PageIndex);
    // Draws every area of one page on `canvas`, whose logical units are printer pixels
    // (for dtPrinter with the origin at the printable area's corner, else at the sheet's).
    virtual void DrawPage(Canvas &canvas, int PageIndex, TDrawTarget Target);
    void DrawPage(QPainter &painter, int PageIndex, TDrawTarget Target);

    // Recomputes and tells the views; subclasses repaginate first.
    virtual void Refresh();
    virtual void UpdateViews();
    void BeginUpdate();
    void EndUpdate();
    void AddPreview(PreviewClient *preview);
    void RemovePreview(PreviewClient *preview);

    // Converts through millimetres at the printer's pixels per inch (300 without a
    // printer); Base is the 100 % length in pixels. Rounded, halves to even, to whole
    // pixels, 3 decimals of percents and inches, 2 of millimetres.
    double ConvertUnits(double Value, TUnits FromUnits, TUnits ToUnits, bool Vertical,
                        double Base) const;

    virtual QRect GetPageRect();
    virtual QRect GetPrintableRect() const;
    virtual QRect GetMarginsRect();
    virtual QRect GetHeaderRect();
    virtual QRect GetBodyRect();
    virtual QRect GetFooterRect();

    // The job that draws page PageIndex: this one, unless a job is made of several jobs.
    virtual TCustomPrintJob *GetJobForPage(int PageIndex);
    // Forces the orientation on the printer and, in pmDefault, reads the page size.
    virtual void ApplyPrinterSettings();
    virtual bool PrinterAvailable() const;
    // Checks M against the printable area and fixes, asks or throws per MarginsError; a
    // fix sets all four margins of M to the printable area's edges and assigns them.
    void CheckMargins(TMargins &M);

    PrinterService &printer() const;

signals:
    void OnDestroy();
    void OnDraw(tessary::Canvas &TheCanvas, int PageIndex, const QRect &TheRect,
                tessary::TDrawArea Area, tessary::TDrawTarget Target);
    void OnInitCanvas(tessary::Canvas &TheCanvas, tessary::TDrawTarget Target);
    void OnPrinterSetupChange();
    void OnStartPrint();
    void OnEndPrint();
    void OnPrintProgress(int Pos, int Min, int Max);
    void OnStartPrintPage(int PageIndex);
    void OnEndPrintPage(int PageIndex);
    void OnUpdate();

protected:
    virtual void InitCanvas(Canvas &canvas, TDrawTarget Target);
    virtual void DoDraw(Canvas &canvas, int PageIndex, const QRect &TheRect, TDrawArea Area,
                        TDrawTarget Target);
    virtual void DoPrinterSetupChange();
    virtual bool DoBeforePrint();
    virtual void DoStartPrint();
    virtual void DoEndPrint();
    virtual void DoPrintProgress(int Pos, int Min, int Max);
    virtual void DoStartPrintPage(int PageIndex);
    virtual void DoEndPrintPage(int PageIndex);
    // Pages are at least one; a change refreshes.
    void SetPageCount(int count);
    bool updateLocked() const { return m_updateLock > 0; }

private:
    DeviceFigures figures() const;
    QRect marginsRect(const TMargins &margins);
    int bandHeight(double value, TUnits units, int base) const;
    void fixMargins(TMargins &M) const;

    QString m_title;
    bool m_multiDoc = false;
    TMargins m_margins;
    TUnits m_marginsUnits = unPixels;
    TMarginsError m_marginsError = meAutoFix;
    double m_header = 0;
    TUnits m_headerUnits = unPixels;
    double m_footer = 0;
    TUnits m_footerUnits = unPixels;
    TPageMode m_pageMode = pmDefault;
    double m_pageWidth = 0;
    double m_pageHeight = 0;
    TUnits m_pageUnits = unPixels;
    TPageOrientation m_orientation = orDefault;
    TJobOptionsSet m_options;
    bool m_relativeCoords = false;
    int m_pageCount = 1;
    bool m_aborted = false;
    int m_updateLock = 0;
    QList<PreviewClient *> m_previews;
    std::optional<TMargins> m_declinedMargins;
};

} // namespace tessary

Q_DECLARE_OPERATORS_FOR_FLAGS(tessary::TJobOptionsSet)
Q_DECLARE_OPERATORS_FOR_FLAGS(tessary::TPrintPagesOptions)
