#pragma once

#include <QList>
#include <QString>

#include "editor/notationfaces.h"

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

// The hint of the palette button that shows `code` in `face` ("alpha", "sum"); empty when no
// button does. Large operators are found by either of their codes.
QString paletteHint(const QString &face, int code);

// The face of the four buttons that insert a text character rather than a notation one.
inline const QString kTextSymbolFace = QStringLiteral("Courier New");

// Large operators show one code and insert another (the inserted glyph is the tall one).
int insertedSymbolCode(int shownCode);

// A character of the notation faces and the LaTeX command that means it (amsmath, amssymb).
// The family says which faces hold the character.
struct LatexCommand {
    char16_t character;
    FaceFamily family;
    const char *command;
};
// Every Greek letter and symbol of the palettes, one command each, so that LaTeX written
// from the table reads back as the same character.
const QList<LatexCommand> &latexCommands();
// Further spellings read as a character of the table (\varepsilon, \le, ...), never written.
const QList<LatexCommand> &latexAliases();
// The command of a character, or nullptr.
const LatexCommand *latexCommandFor(QChar c);

enum class BracketPiece { None, Bottom, TopOrMiddle };
BracketPiece bracketPieceOf(int symbolCode);

} // namespace tessary
