// Draws every notation character and a few formulas into a PNG for the documentation
// (docs/notation-faces.png):
//   QT_QPA_PLATFORM=offscreen build/tools/notationsheet docs/notation-faces.png
// The faces come from the data folder (TESSARY_DATA_DIR, else next to the program).
#include "editor/notationfaces.h"
#include "platform/fontregistry.h"
#include "rtf/codepage.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QtMath>
#include <cstdio>

using namespace tessary;

namespace {
QTextCharFormat faceFormat(const QString &face) {
    QTextCharFormat format;
    format.setFontFamilies({face});
    format.setFontPointSize(kNotationSize);
    return format;
}
} // namespace

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: notationsheet OUT.png\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QStringList missing =
        FontRegistry::registerNotationFaces(FontRegistry::dataDirectory() + "/fonts");
    if (!missing.isEmpty()) {
        std::fprintf(stderr, "notationsheet: missing faces: %s\n",
                     qPrintable(missing.join(QStringLiteral(", "))));
        return 1;
    }

    QTextDocument document;
    document.setDocumentMargin(12);
    QTextCursor cursor(&document);
    QTextCharFormat caption;
    caption.setFontFamilies({QStringLiteral("DejaVu Sans")});
    caption.setFontPointSize(9);
    caption.setForeground(QColor(96, 96, 96));
    bool firstLine = true;
    auto line = [&](const QString &label) {
        if (!firstLine)
            cursor.insertBlock();
        firstLine = false;
        if (!label.isEmpty())
            cursor.insertText(label + QStringLiteral("  "), caption);
    };
    auto put = [&](const QString &face, const QString &text) {
        cursor.insertText(text, faceFormat(face));
    };

    QString greek;
    for (char16_t c = 0x391; c <= 0x3C9; ++c) {
        if (c != 0x3A2 && (c <= 0x3A9 || c >= 0x3B1))
            greek += QChar(c);
    }
    QString symbols; // the symbol code page's own characters, in code order
    for (int code = 0x80; code < 0x100; ++code) {
        const QChar c = CodePage::notationSymbol().toUnicode(code);
        if (!c.isNull() && c != CodePage::windows(1252).toUnicode(code))
            symbols += c;
    }
    const struct {
        QString label, even, high, low;
        QString text;
    } rows[] = {
        {"Greek", Face::GreekEven, Face::GreekHigh, Face::GreekLow, greek},
        {"Symbols", Face::SymbolEven, Face::SymbolHigh, Face::SymbolLow, symbols},
        {"Latin", Face::LatinEven, Face::LatinHigh, Face::LatinLow,
         QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789 "
                        "+-=()[]{}<>/*")},
    };
    for (const auto &row : rows) {
        line(row.label + " (base line, raised, lowered)");
        for (const QString &face : {row.even, row.high, row.low}) {
            for (const QString &text :
                 {row.text.left(row.text.size() / 2 + 1), row.text.mid(row.text.size() / 2 + 1)}) {
                line(QString());
                put(face, text);
            }
        }
    }
    line(QStringLiteral("Pieces and formulas"));

    // Three-line bracket and brace built from the pieces, with text between them.
    const QString pieces[3][4] = {{"\u23A1", "\u23A4", "\u23A7", "\u23AB"},
                                  {"\u23AA", "\u23AA", "\u23A8", "\u23AC"},
                                  {"\u23A3", "\u23A6", "\u23A9", "\u23AD"}};
    const QString inside[3][2] = {{"a b", "x+1 , x>0"}, {"   ", "0   , x=0"}, {"c d", "1-x , x<0"}};
    for (int i = 0; i < 3; ++i) {
        line(QString());
        put(Face::SymbolEven, pieces[i][0]);
        put(Face::LatinEven, inside[i][0]);
        put(Face::SymbolEven, pieces[i][1]);
        put(Face::LatinEven, i == 1 ? QStringLiteral("   f(x) = ") : QStringLiteral("          "));
        put(Face::SymbolEven, pieces[i][2]);
        put(Face::LatinEven, inside[i][1]);
        put(Face::SymbolEven, pieces[i][3]);
    }

    // x squared, a raised n+1, lowered indices.
    const QPair<QString, QString> formula[] = {{Face::LatinEven, "x"},
                                               {Face::LatinHigh, "2"},
                                               {Face::LatinEven, " + e"},
                                               {Face::LatinHigh, "n+1"},
                                               {Face::LatinEven, " = a"},
                                               {Face::LatinLow, "i"},
                                               {Face::LatinEven, " "},
                                               {Face::SymbolEven, "\u2211"},
                                               {Face::LatinEven, " x"},
                                               {Face::LatinLow, "k"},
                                               {Face::LatinHigh, "2"},
                                               {Face::LatinEven, " "},
                                               {Face::GreekEven, "\u03B1"},
                                               {Face::GreekLow, "\u03BD"},
                                               {Face::SymbolEven, " \u2264 \u221E"}};
    line(QString());
    for (const auto &[face, text] : formula)
        put(face, text);

    // Twice the screen's resolution, crisp on high-resolution pages.
    const int pixelRatio = 2;
    const QSizeF size = document.size() * pixelRatio;
    QImage image(QSize(qCeil(size.width()), qCeil(size.height())), QImage::Format_RGB32);
    const int dotsPerMeter =
        qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch() / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    image.setDevicePixelRatio(pixelRatio);
    {
        QPainter painter(&image);
        document.drawContents(&painter);
    }
    if (!image.save(out)) {
        std::fprintf(stderr, "notationsheet: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
