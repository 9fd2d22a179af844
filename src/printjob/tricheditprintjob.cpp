#include "printjob/tricheditprintjob.h"

#include "platform/printerservice.h"
#include "richtext/formatrange.h"

namespace tessary {

TRichEditPrintJob::TRichEditPrintJob(QObject *parent)
    : TCustomPrintJob(parent) {}

TRichEditPrintJob::~TRichEditPrintJob() = default;

void TRichEditPrintJob::SetRichEdit(tessary::RichEdit *editor) {
    if (editor != m_richEdit || !m_format)
        m_format = editor ? std::make_unique<FormatRange>(editor) : nullptr;
    m_richEdit = editor;
    Refresh();
}

void TRichEditPrintJob::Refresh() {
    paginate();
    TCustomPrintJob::Refresh();
}

void TRichEditPrintJob::paginate() {
    m_pages.clear();
    // Views are updated once, after the whole pagination.
    BeginUpdate();
    struct Unlock {
        TRichEditPrintJob *job;
        ~Unlock() { job->EndUpdate(); }
    } unlock{this};
    if (!PrinterAvailable() || !m_richEdit || !m_format) {
        if (m_format)
            m_format->release();
        SetPageCount(1);
        return;
    }
    ApplyPrinterSettings();
    FormatRange::Request request;
    request.reference = printer().layoutDevice();
    request.rect = GetBodyRect();
    const int textLength = m_richEdit->textLength();
    emit OnUpdateProgress(0, 0, textLength);
    int start = 0;
    int next = 0;
    do {
        request.first = start;
        // A line taller than the body stands alone on its page rather than ending the
        // pagination with the rest of the text unprinted.
        next = m_format->measure(request, true);
        if (next < 0 || next > textLength)
            next = textLength;
        // Every page must end past its start: a pass that places nothing ends the
        // pagination, so no fault in measuring can make it run away.
        if (next <= start)
            break;
        m_pages.append({start, next});
        emit OnUpdateProgress(next, 0, textLength);
        start = next;
    } while (textLength > next);
    if (m_pages.isEmpty())
        m_pages.append({start, next});
    SetPageCount(int(m_pages.size()));
}

void TRichEditPrintJob::DoDraw(Canvas &canvas, int PageIndex, const QRect &TheRect, TDrawArea Area,
                               TDrawTarget Target) {
    if (Area != daBody || PageIndex < 1 || PageIndex > m_pages.size() || !m_format) {
        TCustomPrintJob::DoDraw(canvas, PageIndex, TheRect, Area, Target);
        return;
    }
    const TPageRange &page = m_pages[PageIndex - 1];
    FormatRange::Request request;
    request.reference = printer().layoutDevice();
    request.rect = TheRect;
    request.first = page.StartPos;
    request.last = page.EndPos;
    m_format->render(canvas.painter(), request);
}

} // namespace tessary
