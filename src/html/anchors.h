#pragma once

#include <QObject>
#include <array>

class QWidget;

namespace tessary {

class RichEdit;
class TAnchorForm;

// HTML anchors marked in the text itself: underlined characters in an anchor colour whose
// pitch-and-family byte carries the anchor number (0..63) in its upper six bits. A source
// anchor links to the destination anchor with the same number. The tables are as current as
// their last rebuild plus the numbers handed out since.
class Anchors : public QObject {
    Q_OBJECT
public:
    static constexpr int kAnchorCount = 64;
    static constexpr quint32 kSrcAnchorColor = 0xF00000;  // blue 240
    static constexpr quint32 kDestAnchorColor = 0x0000F0; // red 240
    using Table = std::array<quint8, kAnchorCount>;

    // The anchor dialog is created here, hidden, as a child window of `window`.
    Anchors(RichEdit *editor, QWidget *window, QObject *parent = nullptr);

    // The number of the first selected character of `control` (of the caret without one).
    static int AnchorNumberOf(const RichEdit *control);
    static bool IsSrcAnchorColor(quint32 color) { return (color & 0xF00000) == 0xF00000; }
    static bool IsDestAnchorColor(quint32 color) { return (color & 0xF0) == 0xF0; }

    void ResetAnchorTables();
    // Rebuilds FreeAnchors, DestAnchors and SrcAnchors from the document; every paragraph
    // loses its explicit tab stops on the way, as the ruler shows only the default ones.
    void ScanAnchors();
    // Rebuilds all four tables and lists every destination anchor, one per line and in
    // document order, in the anchor dialog's AnchorEditor.
    void GrabDestAnchors();
    // The lowest free number, now taken by a destination anchor; -1 when none is free.
    int NewDestAnchorNumber();
    // Makes every selected character an anchor character with `number` and `color`.
    void MarkAnchor(int number, quint32 color);
    // Removes the anchor around the caret (and any anchor touching it); numbers stay.
    void RemoveAnchorAt();

    void HtmlSrcAnchorExecute();
    void HtmlDestAnchorExecute();

    // How many lines the last GrabDestAnchors put in the anchor list.
    int listedCount() const { return m_listedCount; }
    TAnchorForm &form() { return *m_form; }

    Table FreeAnchors{};
    Table DestAnchors{};
    Table UrlAnchors{};
    Table SrcAnchors{};

private:
    struct Walk; // the state of one walk over the display lines
    void ListDestAnchor(Walk &walk, int number);
    bool isAnchorAt(int position) const;

    RichEdit *m_editor;
    TAnchorForm *m_form = nullptr;
    int m_listedCount = 0;
};

} // namespace tessary
