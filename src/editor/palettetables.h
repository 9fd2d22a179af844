#pragma once

#include <QList>
#include <QString>

namespace tessary {

// One character button of a palette bar. `code` is the 8-bit code the button shows, in its
// face's code page; -1 for an empty button.
struct PaletteEntry {
    int tag;
    int code;
    const char *hint;
    QString face;
};

// Tag ranges tell a button's kind anywhere in the window.
namespace Tag {
constexpr int FirstValue = 300;      // function-key value buttons: 300..399
constexpr int FirstDefinition = 400; // function-key definition buttons: 400 and above
} // namespace Tag

// The 34 buttons of each palette bar, left to right.
const QList<PaletteEntry> &greekPalette();
const QList<PaletteEntry> &symbolPaletteA();
const QList<PaletteEntry> &symbolPaletteB();

// The face of the four buttons that insert a text character rather than a notation one.
inline const QString kTextSymbolFace = QStringLiteral("Courier New");

// Large operators show one code and insert another (the inserted glyph is the tall one).
int insertedSymbolCode(int shownCode);

enum class BracketPiece { None, Bottom, TopOrMiddle };
BracketPiece bracketPieceOf(int symbolCode);

} // namespace tessary
