#include "editor/notationfaces.h"

#include "rtf/codepage.h"

namespace tessary {

const QStringList &notationFaces() {
    static const QStringList faces = {Face::LatinEven,  Face::LatinHigh,  Face::LatinLow,
                                      Face::GreekEven,  Face::GreekHigh,  Face::GreekLow,
                                      Face::SymbolEven, Face::SymbolHigh, Face::SymbolLow};
    return faces;
}

bool IsNotationFont(const QString &face) {
    return notationFaces().contains(face);
}

QString evenFaceFor(QChar c) {
    if (c.script() == QChar::Script_Greek && CodePage::windows(1253).fromUnicode(c) >= 0)
        return Face::GreekEven;
    if (CodePage::windows(1252).fromUnicode(c) < 0 &&
        CodePage::notationSymbol().fromUnicode(c) >= 0)
        return Face::SymbolEven;
    return Face::LatinEven;
}

QString realFace(const QString &boxFace) {
    return boxFace == kNotationEntry ? Face::LatinEven : boxFace;
}

namespace {
// Each family is a column of three faces: lowered, base line, raised; in FaceFamily order.
const QStringList (&faceColumns())[3] {
    static const QStringList columns[] = {{Face::LatinLow, Face::LatinEven, Face::LatinHigh},
                                          {Face::GreekLow, Face::GreekEven, Face::GreekHigh},
                                          {Face::SymbolLow, Face::SymbolEven, Face::SymbolHigh}};
    return columns;
}
} // namespace

bool notationFaceOf(const QString &face, FaceFamily *family, FaceLevel *level) {
    for (int f = 0; f < 3; ++f) {
        const int index = int(faceColumns()[f].indexOf(face));
        if (index < 0)
            continue;
        if (family)
            *family = FaceFamily(f);
        if (level)
            *level = FaceLevel(index);
        return true;
    }
    return false;
}

QString notationFace(FaceFamily family, FaceLevel level) {
    return faceColumns()[int(family)].at(int(level));
}

QString shiftedFace(const QString &face, Shift direction) {
    for (const QStringList &column : faceColumns()) {
        const int level = int(column.indexOf(face));
        if (level < 0)
            continue;
        const int next = level + (direction == Shift::Up ? 1 : -1);
        return next >= 0 && next < 3 ? column.at(next) : face;
    }
    return face;
}

} // namespace tessary
