#pragma once

#include <QByteArray>
#include <QChar>
#include <QSet>
#include <QString>
#include <QStringList>

namespace tessary {

// The notation faces ship as font files in the program's data folder; the program
// registers them at start so that nothing has to be installed system-wide.
class FontRegistry {
public:
    // The folder holding fonts/ (and help/): TESSARY_DATA_DIR when set, else the program's
    // folder (build tree), else <program folder>/../share/tessary (installed).
    static QString dataDirectory();
    // Registers every notation face file found in fontsDir; returns the faces still
    // unavailable afterwards (empty when all nine can be used).
    static QStringList registerNotationFaces(const QString &fontsDir);
    // The file of a notation face in the data folder's fonts/, whether or not it exists.
    static QString notationFaceFile(const QString &face);
    // A TrueType font's data with its fixed-pitch flag cleared (checksums kept true), so that
    // bold text in it is emboldened on the screen as the printers do.
    static QByteArray withoutFixedPitchFlag(QByteArray font);
    // The installed families a document can name, once each and as other programs name them:
    // without the foundry Qt appends to a family several foundries supply ("C059 [urw]"),
    // without the generic aliases ("Serif", "Monospace") and without symbol-encoded faces.
    static QStringList documentFamilies();
    // Every installed family, lower-cased and without foundry, as Qt matches names.
    static QSet<QString> installedFamilies();
    // An installed face of an RTF font family class (0 nil, 1 roman, 2 swiss, 3 modern,
    // 4 script, 5 decor) to show text in whose own face is not installed.
    static QString standInFace(int familyClass);
    // The face for the ruler's indent markers and the characters that draw them there.
    static QString rulerMarkerFace();
    static QChar rulerMarkerDown(); // first-line indent
    static QChar rulerMarkerUp();   // left and right indents
};

} // namespace tessary
