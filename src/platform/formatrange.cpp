#include "platform/formatrange.h"

#include "platform/madeupbold.h"
#include "platform/richedit.h"
#include "platform/textformat.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPaintDevice>
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

// The copy sets text whose bold is made up regular and draws the bold itself, alike on
// every device; the devices' text engines would each make it up in their own way.
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

// Overstrikes the text of `line` that the copy draws bold itself.
void overstrikeBold(MadeUpBold &bold, QPainter &painter, const QTextBlock &block,
                    const QTextLine &line, QPointF origin) {
    const int lineStart = block.position() + line.textStart();
    const int lineEnd = lineStart + line.textLength();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int from = qMax(fragment.position(), lineStart);
        const int to = qMin(fragment.position() + fragment.length(), lineEnd);
        const QTextCharFormat format = fragment.charFormat();
        if (from < to && format.boolProperty(TextProperty::DrawnBold))
            bold.overstrike(painter, line.glyphRuns(from - block.position(), to - from), origin,
                            MadeUpBold::textBrush(format, Qt::black));
    }
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
    m_doc.reset();
    m_lines.clear();
    m_source = nullptr;
}

bool FormatRange::prepare(const Request &request) {
    if (!m_editor || !request.reference || request.rect.width() <= 0)
        return false;
    const QTextDocument *source = m_editor->document();
    const int dpiX = request.reference->logicalDpiX();
    const int dpiY = request.reference->logicalDpiY();
    const int width = request.rect.width();
    // The copy's layout keeps the device, so another device always means a new layout.
    if (m_doc && m_source == source && m_device == request.reference && m_dpiX == dpiX &&
        m_dpiY == dpiY && m_width == width)
        return true;
    release();
    m_doc.reset(source->clone());
    m_doc->setUndoRedoEnabled(false);
    fitToDevice(*m_doc, *request.reference);
    m_drawnBold = drawBoldItself(*m_doc, m_madeUpBold);
    m_doc->setDocumentMargin(0);
    m_doc->documentLayout()->setPaintDevice(request.reference);
    m_doc->setTextWidth(width);
    m_source = source;
    m_device = request.reference;
    m_dpiX = dpiX;
    m_dpiY = dpiY;
    m_width = width;
    QAbstractTextDocumentLayout *layout = m_doc->documentLayout();
    for (QTextBlock block = m_doc->begin(); block.isValid(); block = block.next()) {
        const QRectF box = layout->blockBoundingRect(block);
        const QTextLayout *lines = block.layout();
        const qreal top = box.top(); // the block's lines are placed relative to it
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            m_lines.append({block.position() + line.textStart(), top + line.y(),
                            top + line.y() + line.height()});
        }
    }
    if (m_lines.isEmpty())
        m_lines.append({0, 0, 0});
    return true;
}

int FormatRange::lineOf(int position) const {
    const auto after = std::upper_bound(m_lines.begin(), m_lines.end(), position,
                                        [](int p, const Line &l) { return p < l.start; });
    return std::max(0, int(after - m_lines.begin()) - 1);
}

int FormatRange::measure(const Request &request, bool placeTallLine) {
    if (!prepare(request))
        return request.first;
    const int first = lineOf(request.first);
    const qreal limit = m_lines[first].top + request.rect.height();
    int line = first;
    while (line < m_lines.size() && m_lines[line].bottom <= limit)
        ++line;
    if (line == m_lines.size())
        return -1;
    if (line == first) {
        if (!placeTallLine)
            return request.first;
        ++line;
        if (line == m_lines.size())
            return -1;
    }
    return m_lines[line].start;
}

int FormatRange::render(QPainter &painter, const Request &request) {
    if (!prepare(request))
        return request.last;
    const int first = lineOf(request.first);
    const bool toEnd = request.last < 0 || request.last >= m_doc->characterCount() - 1;
    const int last =
        toEnd ? int(m_lines.size()) - 1 : lineOf(qMax(request.first, request.last - 1));
    const qreal top = m_lines[first].top;
    painter.save();
    painter.translate(request.rect.left(), request.rect.top() - top);
    painter.setPen(Qt::black);
    // The layout draws a block from its clip and also the line just above it, so the lines
    // of a paragraph begun on an earlier page are drawn one by one.
    int full = first;
    const QTextBlock block = m_doc->findBlock(m_lines[first].start);
    if (m_lines[first].start != block.position()) {
        const QPointF origin = m_doc->documentLayout()->blockBoundingRect(block).topLeft();
        const QTextLayout *lines = block.layout();
        int i = lines->lineForTextPosition(m_lines[first].start - block.position()).lineNumber();
        for (; i >= 0 && i < lines->lineCount() && full <= last; ++i, ++full)
            lines->lineAt(i).draw(&painter, origin);
    }
    if (full <= last) {
        // Half a pixel in from the edges keeps out the lines that touch them.
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, Qt::black);
        const qreal from = m_lines[full].top + 0.5;
        context.clip = QRectF(-m_width, from, 3.0 * m_width, m_lines[last].bottom - 0.5 - from);
        m_doc->documentLayout()->draw(&painter, context);
    }
    for (int i = first; m_drawnBold && i <= last; ++i) {
        const QTextBlock at = m_doc->findBlock(m_lines[i].start);
        const QTextLine line = at.layout()->lineForTextPosition(m_lines[i].start - at.position());
        overstrikeBold(m_madeUpBold, painter, at, line,
                       m_doc->documentLayout()->blockBoundingRect(at).topLeft());
    }
    painter.restore();
    return request.last;
}

} // namespace tessary
