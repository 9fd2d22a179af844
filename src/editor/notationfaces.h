#pragma once

#include <QString>
#include <QStringList>

namespace tessary {

// The pseudo entry of the font-name box that stands for notation mode.
inline const QString kNotationEntry = QStringLiteral("Tessary Notation");
// Notation faces are always used at this size.
constexpr int kNotationSize = 11;

namespace Face {
inline const QString LatinEven = QStringLiteral("Courier New Even");
inline const QString LatinHigh = QStringLiteral("Courier New High");
inline const QString LatinLow = QStringLiteral("Courier New Low");
inline const QString GreekEven = QStringLiteral("Courier New Greek Even");
inline const QString GreekHigh = QStringLiteral("Courier New Greek High");
inline const QString GreekLow = QStringLiteral("Courier New Greek Low");
inline const QString SymbolEven = QStringLiteral("TessarySymbol Even");
inline const QString SymbolHigh = QStringLiteral("TessarySymbol High");
inline const QString SymbolLow = QStringLiteral("TessarySymbol Low");
} // namespace Face

const QStringList &notationFaces();
bool IsNotationFont(const QString &face);

// The face a character is given where the boxes show the notation entry: the Even face of
// its family (Greek letters, the symbols only the symbol faces hold, Latin for the rest).
QString evenFaceFor(QChar c);
// A face the boxes name, with the notation entry standing for the face typing uses there.
QString realFace(const QString &boxFace);

enum class Shift { Up, Down };

// Where a notation face sets its text, and which family of characters it holds.
enum class FaceLevel { Lowered, Base, Raised };
enum class FaceFamily { Latin, Greek, Symbol };
// The family and level of a notation face; false (and nothing set) for any other face.
bool notationFaceOf(const QString &face, FaceFamily *family, FaceLevel *level);
QString notationFace(FaceFamily family, FaceLevel level);

// The face a character takes when raised or lowered; any other face comes back unchanged.
QString shiftedFace(const QString &face, Shift direction);

} // namespace tessary
