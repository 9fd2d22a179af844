#pragma once

#include "richtext/madeupbold.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <memory>

class QPainter;
class QPaintDevice;
class QTextDocument;

namespace tessary {

class RichEdit;

// The rich-text control's format-range operation: measures and draws ranges of its document
// as they come out on a printer. The text is laid out on a copy of the document at the
// reference device's resolution (fonts measured for the printer, not the screen), so what
// is measured is what is drawn, and the control's own screen layout is never touched.
// Ranges are placed by whole display lines; a page therefore never ends inside a line.
// The layout is kept between calls until release(), or rebuilt when the document, the
// reference device's resolution or the line width changes.
class FormatRange : public QObject {
    Q_OBJECT
public:
    explicit FormatRange(const RichEdit *editor, QObject *parent = nullptr);
    ~FormatRange() override;

    struct Request {
        QPaintDevice *reference = nullptr; // the device the text is laid out for
        QRect rect;    // in reference-device pixels: its width is the line width
        int first = 0; // first character to place
        int last = -1; // first character not to draw; -1 = to the end of the text
    };

    // The first character after `first` that does not fit below rect's top within its
    // height (lines from the one holding `first`), or -1 when the rest of the text fits.
    // When not even the first line fits, `first` itself; with placeTallLine that line is
    // placed alone instead and the character after it is returned.
    int measure(const Request &request, bool placeTallLine = false);
    // Draws the lines holding request.first..last-1 on `painter`, whose logical units are
    // reference-device pixels, with the first line's top-left at rect's top-left; nothing is
    // clipped to rect. Returns `last` (-1 when drawn to the end).
    int render(QPainter &painter, const Request &request);
    // Frees the cached layout.
    void release();
    bool cached() const { return m_print.doc != nullptr; }

private:
    struct Line {
        int start = 0; // document position of the line's first character
        qreal top = 0;
        qreal bottom = 0;
    };
    struct Copy {
        std::unique_ptr<QTextDocument> doc;
        QList<Line> lines;
        int lineOf(int position) const;
    };
    bool prepare(const Request &request);
    std::unique_ptr<QTextDocument> fittedCopy() const;
    void layOut(Copy &copy) const;
    // The copy to draw with on `painter`: the PDF engine makes up bold in faces without a
    // bold design as it should, other engines get a copy that overstrikes it itself.
    const Copy &copyFor(const QPainter &painter);

    QPointer<const RichEdit> m_editor;
    Copy m_print; // measured, and drawn on PDF devices
    Copy m_drawn; // with bold drawn here; none when the text has no such bold
    bool m_drawnChecked = false;
    MadeUpBold m_madeUpBold;
    const QTextDocument *m_source = nullptr;
    QPaintDevice *m_device = nullptr;
    int m_dpiX = 0;
    int m_dpiY = 0;
    int m_width = 0;
};

} // namespace tessary
