#pragma once

#include "printjob/tcustomprintjob.h"
#include "richtext/richedit.h"

#include <QPointer>
#include <memory>

namespace tessary {

class FormatRange;

// The characters StartPos <= i < EndPos of one page.
struct TPageRange {
    int StartPos = 0;
    int EndPos = 0;
    bool operator==(const TPageRange &other) const = default;
};

// The print job of a rich-text control's document: Refresh splits the text into pages that
// fit the body area (pages end between lines; a line taller than the body stands alone on
// its page), and the body of each page is drawn by the control's format-range operation on
// a layout made at the printer's resolution. Headers and footers stay with OnDraw. Edits do
// not repaginate by themselves: the owner calls Refresh when the text may have changed.
class TRichEditPrintJob : public TCustomPrintJob {
    Q_OBJECT
public:
    explicit TRichEditPrintJob(QObject *parent = nullptr);
    ~TRichEditPrintJob() override;

    tessary::RichEdit *RichEdit() const { return m_richEdit; }
    // Stores the control (not owned) and repaginates, even when it is the same one.
    void SetRichEdit(tessary::RichEdit *editor);
    // One range per page, valid from one Refresh to the next; empty without a printer or
    // a control (then OnDraw draws the single page's body).
    const QList<TPageRange> &Pages() const { return m_pages; }

    // Repaginates, then updates the views.
    void Refresh() override;

signals:
    // While paginating: characters placed so far out of Max.
    void OnUpdateProgress(int Pos, int Min, int Max);

protected:
    void DoDraw(Canvas &canvas, int PageIndex, const QRect &TheRect, TDrawArea Area,
                TDrawTarget Target) override;

private:
    void paginate();

    QPointer<tessary::RichEdit> m_richEdit;
    std::unique_ptr<FormatRange> m_format;
    QList<TPageRange> m_pages;
};

} // namespace tessary
