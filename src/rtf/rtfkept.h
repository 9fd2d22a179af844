#pragma once

// The parts of another program's document that this program does not edit but keeps, so that
// a save gives them back: headers and footers, notes, comments, bookmarks, fields, hidden
// text, the style sheet, page settings, the document information and unknown destinations.
//
// Inline parts stay in the text (a kept character, or a run whose format carries them);
// document-level parts live in properties of the document's root frame format, which a new
// load replaces and a clone copies.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextFrameFormat>

#include "rtf/textformat.h"

#include <memory>

class QTextDocument;

namespace tessary {

namespace TextProperty {
// Root frame: the document's fonts as read (QVariantList of [number, face, charset, pitch
// byte]) and colours (QVariantList of 0x00RRGGBB, -1 for automatic), which kept bytes name
// by number.
constexpr int KeptFonts = FirstKept + 0;
constexpr int KeptColors = FirstKept + 1;
// Root frame: groups before the text (style sheet, information, other tables), the page and
// section settings as control words, and the header and footer groups (QByteArray each).
constexpr int KeptProlog = FirstKept + 2;
constexpr int KeptSection = FirstKept + 3;
constexpr int KeptHeaders = FirstKept + 4;
// Root frame: what the reader could not keep, named for the person saving (QStringList).
constexpr int KeptLosses = FirstKept + 5;
// Character: the field instruction group a field result's runs belong to, and which field.
constexpr int FieldInstruction = FirstKept + 6;
constexpr int FieldSerial = FirstKept + 7;
// Character: RTF written in place of the run's first characters when they still read as
// KeptMarkText (a footnote's reference mark shown as its number).
constexpr int KeptMark = FirstKept + 8;
constexpr int KeptMarkText = FirstKept + 9;
// Block: the paragraph's style number (\s).
constexpr int StyleRef = FirstKept + 10;
} // namespace TextProperty

struct KeptFont {
    int number = 0;
    QString face;
    int charset = 0;
    int pitch = 0;
};

// Kept bytes name fonts and colours by the numbers of the document they came from; the
// writer numbers its own tables, and these maps take the old numbers to the new.
struct KeptMaps {
    QHash<int, int> fonts;
    QHash<int, int> colors;
};

namespace Kept {
QList<KeptFont> fonts(const QTextFrameFormat &root);
QList<int> colors(const QTextFrameFormat &root);
// Kept bytes with their font and colour numbers renumbered.
QByteArray remap(QByteArrayView raw, const KeptMaps &maps);
// The document-level parts as the writer puts them after its font and colour tables.
QByteArray documentParts(const QTextFrameFormat &root, const KeptMaps &maps);
// Hidden text as a group that other readers also hide.
QByteArray hiddenGroup(const QString &text);

// The header or footer group that stands on page `page` (1-based), or empty.
QByteArray headerFor(const QTextFrameFormat &root, bool footer, int page);
bool hasHeaders(const QTextFrameFormat &root);
// A kept group (a header, footer or note) read into a document of its own, in the fonts
// and colours of the document it came from.
std::unique_ptr<QTextDocument> partDocument(const QTextFrameFormat &root, QByteArrayView group);
// The field's type, upper case ("DATE", "PAGE"), from its instruction group.
QString fieldType(const QByteArray &instruction);
// True for a kept group that is a footnote or an endnote.
bool isNote(QByteArrayView raw);

// What the document holds that a save will not write back, for the person saving.
QStringList losses(const QTextDocument *doc);

// The page size and margins the document names, in twips (0 where not given).
struct PageSettings {
    int width = 0;
    int height = 0;
    int left = 0, right = 0, top = 0, bottom = 0;
    bool landscape = false;
};
PageSettings pageSettings(const QTextFrameFormat &root);
} // namespace Kept

namespace rtf {
// What the reader keeps while it reads (see rtfkept.cpp).
struct KeptState {
    qsizetype start = 0; // the cursor position where reading began
    bool body = false;   // text or a paragraph has been put in the document
    bool any = false;    // something was kept
    QByteArray prolog, section, headers;
    bool sectionDone = false; // past the first \sect
    QStringList losses;
    QString hidden;
    QTextCharFormat hiddenFormat;
    int fieldDepth = 0; // the group depth of the field being read, 0 when none
    int fieldFrom = 0;
    qsizetype fieldStart = 0;
    QByteArray fieldInstruction;
    int fieldSerial = 0;
    int noteCount = 0;
};
} // namespace rtf

} // namespace tessary
