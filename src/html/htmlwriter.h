#pragma once

#include "html/anchors.h"
#include "rtf/textformat.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>

class QIODevice;

namespace tessary {

class RichEdit;

// What the anchor tables and the anchor list say when an export starts.
struct HtmlLinks {
    Anchors::Table DestAnchors{};
    Anchors::Table SrcAnchors{};
    Anchors::Table UrlAnchors{};
    // LinkTarget of every number: the text of the first listed line whose first character
    // carries it, after "file://" where that occurs; empty when no line does.
    std::array<QString, Anchors::kAnchorCount> targets;

    // Reads the tables and the list as the last GrabDestAnchors left them.
    static HtmlLinks fromAnchors(Anchors &anchors);
};

// Turns the document of a rich-text control into one HTML 4.0 page with CR LF line ends,
// walking the display lines as laid out at the control's current width and the runs of
// equal format within each. It only reads the control: the caret, the selection, the scroll
// position, the modified flag and the clipboard stay as they are.
class HtmlWriter {
public:
    struct Page {
        QString title;
        QString keywords;
        int screenWidth = 1280; // a screen narrower than 801 pixels marks the page
        int pixelsPerInch = 96;
    };
    // A source anchor without destination (kind 0) or a destination anchor without source
    // (kind 1): its run of characters from its first one on `line` (counted from 1). With
    // `asText` the anchor of that kind is complete but its address is not one a page may link
    // to (not web, mail, file or relative), so it was written as text.
    struct IncompleteLink {
        int kind = 0;
        int number = 0;
        int start = 0;
        int length = 0;
        int line = 0;
        bool asText = false;
    };

    HtmlWriter(const RichEdit &editor, const HtmlLinks &links, Page page);

    // Called before each display line is written, with its index and the line count.
    std::function<void(int line, int lines)> onLine;
    std::function<void(const IncompleteLink &)> onIncompleteLink;

    QByteArray page();
    // Writes the page whole or not at all (SafeOutput), so a failure leaves no half page and
    // any older file as it was. On failure `error` holds
    // "Cannot create file " + path, then the system's reason on a second line.
    bool writeFile(const QString &path, QString *error = nullptr);

private:
    struct State;
    void head(State &s) const;
    void styleBlock(State &s) const;
    // An @font-face rule for each notation face the page uses, put into the style block.
    void fontFaces(State &s) const;
    void writeLines(State &s) const;
    // The margin DIV or BR that opens a line, and a bullet.
    void startLine(State &s, int line, int start) const;
    // False when an address anchor that fills the line has used it up.
    bool runStep(State &s, const CharAttributes &a, int position, int line, int k) const;
    void fontSpans(State &s, const CharAttributes &a) const;
    bool anchorStep(State &s, const CharAttributes &a, int position, int line, int k) const;
    void report(State &s, int kind, int number, int position, int line, bool asText = false) const;
    bool fillsLine(int start, int length) const;
    void closeInline(State &s) const;
    void tail(State &s) const;

    const RichEdit &m_editor;
    const HtmlLinks &m_links;
    Page m_page;
};

} // namespace tessary
