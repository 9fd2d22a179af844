#include "richtext/formatrange.h"

#include "richtext/madeupbold.h"
#include "richtext/richedit.h"
#include "rtf/textformat.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace tessary {

namespace {

// The resolution Qt's text layout takes its own lengths (tab stops, list indents, images)
// to be in: it scales them by the layout device's resolution over this one.
int layoutReferenceDpi() {
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi))
        return 96;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        return qRound(screen->logicalDotsPerInchY());
    return 100;
}

// Sets the text whose bold has to be made up regular, for it to be overstruck as the PDF
// engine does: other devices' text engines make such bold up their own way or not at all.
bool drawBoldItself(QTextDocument &doc, MadeUpBold &faces) {
    bool any = false;
    QTextCursor cursor(&doc);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            if (format.fontWeight() < QFont::Bold || !faces.lacksBoldDesign(format.font()))
                continue;
            format.setFontWeight(QFont::Normal);
            format.setProperty(TextProperty::DrawnBold, true);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
            any = true;
        }
    return any;
}

// Overstrikes the text on lines firstLine..lastLine of `block` that the copy draws bold.
void overstrikeBold(QPainter &painter, const QPaintDevice *device, const QTextBlock &block,
                    int firstLine, int lastLine, QPointF origin) {
    const QString text = block.text();
    MadeUpBold::forEachRun(
        block, firstLine, lastLine,
        [](const QTextCharFormat &format) { return format.boolProperty(TextProperty::DrawnBold); },
        [&](const QTextLine &line, int from, int to, const QTextCharFormat &format) {
            MadeUpBold::overstrike(painter, device, text, line, from, to, origin, format,
                                   MadeUpBold::textBrush(format, Qt::black));
        });
}

// The document holds every length in screen units (documentDpi()); the copy is laid out on
// another device, so each length is brought to that device's pixels. Block margins are used
// as they are; what Qt scales itself is given in the units it scales from.
void fitToDevice(QTextDocument &doc, const QPaintDevice &device) {
    const qreal sx = qreal(device.logicalDpiX()) / documentDpi();
    const qreal sy = qreal(device.logicalDpiY()) / documentDpi();
    const qreal own = qreal(layoutReferenceDpi()) / documentDpi();
    doc.setIndentWidth(doc.indentWidth() * own);
    QTextCursor cursor(&doc);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat f = block.blockFormat();
        bool changed = false;
        for (const auto &[property, scale] : {std::pair{QTextFormat::BlockLeftMargin, sx},
                                              {QTextFormat::BlockRightMargin, sx},
                                              {QTextFormat::TextIndent, sx},
                                              {QTextFormat::BlockTopMargin, sy},
                                              {QTextFormat::BlockBottomMargin, sy}}) {
            if (const qreal value = f.doubleProperty(property); value != 0) {
                f.setProperty(property, value * scale);
                changed = true;
            }
        }
        if (f.lineHeightType() == QTextBlockFormat::FixedHeight ||
            f.lineHeightType() == QTextBlockFormat::MinimumHeight ||
            f.lineHeightType() == QTextBlockFormat::LineDistanceHeight) {
            f.setLineHeight(f.lineHeight() * sy, f.lineHeightType());
            changed = true;
        }
        QList<QTextOption::Tab> tabs = f.tabPositions();
        for (QTextOption::Tab &tab : tabs)
            tab.position *= own;
        if (!tabs.isEmpty()) {
            f.setTabPositions(tabs);
            changed = true;
        }
        if (changed) {
            cursor.setPosition(block.position());
            cursor.setBlockFormat(f);
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            if (!image.isValid() || (!image.hasProperty(QTextFormat::ImageWidth) &&
                                     !image.hasProperty(QTextFormat::ImageHeight)))
                continue;
            if (image.hasProperty(QTextFormat::ImageWidth))
                image.setWidth(image.width() * own);
            if (image.hasProperty(QTextFormat::ImageHeight))
                image.setHeight(image.height() * own);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
}

} // namespace

FormatRange::FormatRange(const RichEdit *editor, QObject *parent)
    : QObject(parent)
    , m_editor(editor) {
    // Any edit makes the copy stale; the next call lays the text out again.
    if (editor)
        connect(editor->document(), &QTextDocument::contentsChanged, this, &FormatRange::release);
}

FormatRange::~FormatRange() = default;

void FormatRange::release() {
    m_print = {};
    m_drawn = {};
    m_drawnChecked = false;
    m_source = nullptr;
}

std::unique_ptr<QTextDocument> FormatRange::fittedCopy() const {
    std::unique_ptr<QTextDocument> doc(m_source->clone());
    doc->setUndoRedoEnabled(false);
    fitToDevice(*doc, *m_device);
    return doc;
}

void FormatRange::layOut(Copy &copy) const {
    QTextDocument &doc = *copy.doc;
    doc.setDocumentMargin(0);
    doc.documentLayout()->setPaintDevice(m_device);
    doc.setTextWidth(m_width);
    const QAbstractTextDocumentLayout *layout = doc.documentLayout();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const qreal top = layout->blockBoundingRect(block).top(); // lines are placed from it
        const QTextLayout *lines = block.layout();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            copy.lines.append({block.position() + line.textStart(), top + line.y(),
                               top + line.y() + line.height()});
        }
    }
    if (copy.lines.isEmpty())
        copy.lines.append({0, 0, 0});
}

bool FormatRange::prepare(const Request &request) {
    if (!m_editor || !request.reference || request.rect.width() <= 0)
        return false;
    const QTextDocument *source = m_editor->document();
    const int dpiX = request.reference->logicalDpiX();
    const int dpiY = request.reference->logicalDpiY();
    const int width = request.rect.width();
    // The copy's layout keeps the device, so another device always means a new layout.
    if (m_print.doc && m_source == source && m_device == request.reference && m_dpiX == dpiX &&
        m_dpiY == dpiY && m_width == width)
        return true;
    release();
    m_source = source;
    m_device = request.reference;
    m_dpiX = dpiX;
    m_dpiY = dpiY;
    m_width = width;
    m_print.doc = fittedCopy();
    layOut(m_print);
    return true;
}

const FormatRange::Copy &FormatRange::copyFor(const QPainter &painter) {
    if (painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf)
        return m_print;
    if (!m_drawnChecked) {
        m_drawnChecked = true;
        m_drawn.doc = fittedCopy();
        if (drawBoldItself(*m_drawn.doc, m_madeUpBold))
            layOut(m_drawn);
        else
            m_drawn.doc.reset(); // nothing to draw differently
    }
    return m_drawn.doc ? m_drawn : m_print;
}

int FormatRange::Copy::lineOf(int position) const {
    const auto after = std::upper_bound(lines.begin(), lines.end(), position,
                                        [](int p, const Line &l) { return p < l.start; });
    return std::max(0, int(after - lines.begin()) - 1);
}

int FormatRange::measure(const Request &request, bool placeTallLine) {
    if (!prepare(request))
        return request.first;
    const QList<Line> &lines = m_print.lines;
    const int first = m_print.lineOf(request.first);
    const qreal limit = lines[first].top + request.rect.height();
    int line = first;
    while (line < lines.size() && lines[line].bottom <= limit)
        ++line;
    if (line == lines.size())
        return -1;
    if (line == first) {
        if (!placeTallLine)
            return request.first;
        ++line;
        if (line == lines.size())
            return -1;
    }
    return lines[line].start;
}

int FormatRange::render(QPainter &painter, const Request &request) {
    if (!prepare(request))
        return request.last;
    const Copy &copy = copyFor(painter);
    QTextDocument &doc = *copy.doc;
    const QList<Line> &lines = copy.lines;
    const int first = copy.lineOf(request.first);
    const bool toEnd = request.last < 0 || request.last >= doc.characterCount() - 1;
    const int last =
        toEnd ? int(lines.size()) - 1 : copy.lineOf(qMax(request.first, request.last - 1));
    painter.save();
    painter.translate(request.rect.left(), request.rect.top() - lines[first].top);
    painter.setPen(Qt::black);
    // The layout draws a block from its clip and also the line just above it, so the lines
    // of a paragraph begun on an earlier page are drawn one by one.
    int full = first;
    const QTextBlock block = doc.findBlock(lines[first].start);
    if (lines[first].start != block.position()) {
        const QPointF origin = doc.documentLayout()->blockBoundingRect(block).topLeft();
        const QTextLayout *layout = block.layout();
        int i = layout->lineForTextPosition(lines[first].start - block.position()).lineNumber();
        for (; i >= 0 && i < layout->lineCount() && full <= last; ++i, ++full)
            layout->lineAt(i).draw(&painter, origin);
    }
    if (full <= last) {
        // Half a pixel in from the edges keeps out the lines that touch them.
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, Qt::black);
        const qreal from = lines[full].top + 0.5;
        context.clip = QRectF(-m_width, from, 3.0 * m_width, lines[last].bottom - 0.5 - from);
        doc.documentLayout()->draw(&painter, context);
    }
    for (int i = first; &copy == &m_drawn && i <= last;) {
        const QTextBlock at = doc.findBlock(lines[i].start);
        const int line =
            at.layout()->lineForTextPosition(lines[i].start - at.position()).lineNumber();
        int count = 1;
        while (i + count <= last && lines[i + count].start < at.position() + at.length())
            ++count;
        overstrikeBold(painter, m_device, at, line, line + count - 1,
                       doc.documentLayout()->blockBoundingRect(at).topLeft());
        i += count;
    }
    painter.restore();
    return request.last;
}

} // namespace tessary
