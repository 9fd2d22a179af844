#pragma once

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QtGlobal>

namespace tessary {

// Custom QTextFormat properties that travel with each character through save, load, copy and
// paste. The pitch-and-family byte carries an anchor number in its upper six bits.
namespace TextProperty {
constexpr int Charset = QTextFormat::UserProperty + 1;
constexpr int PitchAndFamily = QTextFormat::UserProperty + 2;
// The face a document names where the text is shown in another, installed one; the document
// keeps and saves this name.
constexpr int FaceName = QTextFormat::UserProperty + 3;
// On a copy laid out for output only: bold that the copy draws itself, over regular glyphs.
constexpr int DrawnBold = QTextFormat::UserProperty + 4;
// On an object replacement character: a group of the document's RTF that this program keeps
// as it came (QByteArray, braces included) and writes back verbatim where the character stands.
constexpr int KeptRtf = QTextFormat::UserProperty + 5;
// Blocks of further ids, one per concern, so that features add properties without clashing:
// tables, pictures and lists from FirstStructure; notes, fields, hidden text and the other
// kept parts of a document from FirstKept.
constexpr int FirstStructure = QTextFormat::UserProperty + 0x100;
constexpr int FirstKept = QTextFormat::UserProperty + 0x200;
} // namespace TextProperty

// The face name a format stands for: its own FaceName, else its first family; empty when it
// names none.
QString faceOf(const QTextCharFormat &format);

// Colours are 0x00BBGGRR; "automatic" (no colour of its own) reads as this value.
constexpr quint32 kAutomaticColor = 0x80000008;

constexpr quint32 rgbColor(int r, int g, int b) {
    return quint32(r & 0xFF) | (quint32(g & 0xFF) << 8) | (quint32(b & 0xFF) << 16);
}

// Character attributes of a character, the caret or a selection.
struct CharAttributes {
    enum Field : unsigned {
        Face = 1u << 0,
        Size = 1u << 1,
        Color = 1u << 2,
        Bold = 1u << 3,
        Italic = 1u << 4,
        Underline = 1u << 5,
        CharsetField = 1u << 6,
        Pitch = 1u << 7,
        All = 0xFFu
    };

    QString face;
    int size = 0; // whole points
    quint32 color = kAutomaticColor;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int charset = 0;
    int pitchAndFamily = 0;
    // For a selection: the fields whose value is the same over every character.
    unsigned consistent = All;

    static CharAttributes fromFormat(const QTextCharFormat &format);
    // A format holding only the fields named in `fields`, for merging onto text.
    QTextCharFormat toFormat(unsigned fields = All) const;
    bool operator==(const CharAttributes &other) const = default;
};

enum class Alignment { Left, Center, Right };

// Paragraph attributes in whole points. `leftIndent` is relative to `firstIndent`, so the
// lines after the first start at firstIndent + leftIndent.
struct ParaAttributes {
    enum Field : unsigned {
        AlignmentField = 1u << 0,
        FirstIndent = 1u << 1,
        LeftIndent = 1u << 2,
        RightIndent = 1u << 3,
        Bullet = 1u << 4,
        All = 0x1Fu
    };
    Alignment alignment = Alignment::Left;
    int firstIndent = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    bool bullet = false;
    int tabCount = 0;
    bool operator==(const ParaAttributes &other) const = default;
};

// Qt's document units are screen pixels; points are converted with the screen's logical DPI,
// set once at start (96 until then).
void setDocumentDpi(int dpi);
int documentDpi();
double pointsToDocUnits(double points);
int docUnitsToPoints(double units);

} // namespace tessary
