#pragma once

#include "preview/tpreview.h"
#include "preview/tpreviewwindow.h"
#include "printing/patterns.h"
#include "printing/tfontform.h"
#include "printjob/tricheditprintjob.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tessary {

class FontBoxes;
class RichEdit;
struct PrintSettings;

// The print dialog: margins in inches or centimetres, header and footer patterns and fonts,
// a miniature preview, page range and copies. It owns the rich-text print job of the editor
// and draws the headers and footers of every page the job prints or previews.
class TPrintForm : public QDialog {
    Q_OBJECT
public:
    TPrintForm(RichEdit *editor, const FontBoxes &fontBoxes, QWidget *parent = nullptr);
    ~TPrintForm() override;

    TRichEditPrintJob &RichEditPrintJob() { return *m_job; }
    TFontForm &FontForm() { return *m_fontForm; }
    PatternChoosers &HeaderChoosers() { return *m_header; }
    PatternChoosers &FooterChoosers() { return *m_footer; }
    // Tests fix the time headers and footers show.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // Repaginates, offers the whole document as the range's end and shows the dialog modally.
    void PreparePrintDialog();
    void LoadPrintSettings();
    void SavePrintSettings();
    // Hands the current margins and band heights to the job, in printer pixels; while the
    // edits hold a refused value (see CheckLengths) the last valid ones stay.
    void ApplyMargins();
    // The message refusing the typed lengths ("x is not a valid number.", a negative length,
    // or lengths that leave the text no room), or a null string when they hold. `typed` is
    // checked and named first.
    QString CheckLengths(const QLineEdit *typed = nullptr) const;
    double InchesToPixels(bool vertical, double inches) const;
    // The text position `tag` (1..6) shows on `page`, or a null string for ".empty".
    QString PositionText(int tag, int page) const;
    // The font position `tag` is drawn in; a footer's Arial 10 is drawn at 9.
    QFont PositionDrawingFont(int tag) const;

    void InchesCheckBoxClick();
    void CentimetersCheckBoxClick();
    void MarginEditEnter(QLineEdit *edit);
    void MarginEditChange();
    void PrintAllCheckBoxClick();
    void FromPageCheckBoxClick();
    void PrintButtonClick();
    void PrinterPropertiesButtonClick();
    void HelpButtonClick();
    void HeaderFontButtonClick();
    void FooterFontButtonClick();
    void FirstPageButtonClick();
    void PreviousPageButtonClick();
    void NextPageButtonClick();
    void LastPageButtonClick();
    void ZoomButtonClick();
    void PreviewWindowPageChanged();
    void PreviewWindowClose();
    void RichEditPrintJobDraw(Canvas &canvas, int PageIndex, const QRect &TheRect, TDrawArea Area,
                              TDrawTarget Target);

    QLineEdit *HeaderHeightEdit = nullptr;
    QLineEdit *FooterHeightEdit = nullptr;
    QLineEdit *LeftMarginEdit = nullptr;
    QLineEdit *RightMarginEdit = nullptr;
    QCheckBox *InchesCheckBox = nullptr;
    QCheckBox *CentimetersCheckBox = nullptr;
    QCheckBox *HeaderLineCheckBox = nullptr;
    QCheckBox *FooterLineCheckBox = nullptr;
    QPushButton *HeaderFontButton = nullptr;
    QPushButton *FooterFontButton = nullptr;
    QCheckBox *PrintAllCheckBox = nullptr;
    QCheckBox *FromPageCheckBox = nullptr;
    QLineEdit *FromPageEdit = nullptr;
    QLineEdit *ToPageEdit = nullptr;
    QLineEdit *CopiesEdit = nullptr;
    QPushButton *PrinterPropertiesButton = nullptr;
    QPushButton *HelpButton = nullptr;
    TPreview *Preview = nullptr;
    QToolButton *FirstPageButton = nullptr;
    QToolButton *PreviousPageButton = nullptr;
    QToolButton *NextPageButton = nullptr;
    QToolButton *LastPageButton = nullptr;
    QToolButton *ZoomButton = nullptr;
    QToolButton *PrintButton = nullptr;
    TPreviewWindow *PreviewWindow = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void createControls();
    void createPreviewWindow();
    void layoutControls();
    void connectControls();
    void applySettings(const PrintSettings &settings);
    void convertLengths(double factor);
    void SetupFontDialog(PatternChoosers &set);
    // Prints pages from..to `copies` times, collated; a printer that writes to a file gets
    // all copies in one document, so no copy overwrites another.
    void printCopies(int from, int to, int copies);
    std::array<QLineEdit *, 4> lengthEdits() const;
    // The four lengths in inches, or the message refusing them.
    QString readLengths(const QLineEdit *typed, std::array<double, 4> &inches) const;
    // The range's end follows a new page count when it stood at the old one.
    void followPageCount(int before);
    // Checks the lengths (a refusal is shown) and applies them, repaginated; false if refused.
    bool applyCheckedLengths(const QLineEdit *typed = nullptr);

    TRichEditPrintJob *m_job = nullptr;
    TFontForm *m_fontForm = nullptr;
    PatternChoosers *m_header = nullptr;
    PatternChoosers *m_footer = nullptr;
    // Header height, footer height, left and right margin, in inches, as last read.
    std::array<double, 4> m_lastInches{0.5, 0.5, 1, 1};
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
};

} // namespace tessary
