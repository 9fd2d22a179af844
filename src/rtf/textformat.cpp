#include "rtf/textformat.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <cmath>

namespace tessary {

namespace {
int g_dpi = 96;

quint32 colorOf(const QTextCharFormat &format) {
    if (!format.hasProperty(QTextFormat::ForegroundBrush))
        return kAutomaticColor;
    const QColor c = format.foreground().color();
    return rgbColor(c.red(), c.green(), c.blue());
}
} // namespace

QString faceOf(const QTextCharFormat &format) {
    const QString named = format.stringProperty(TextProperty::FaceName);
    if (!named.isEmpty())
        return named;
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? format.stringProperty(QTextFormat::FontFamily) : families.first();
}

CharAttributes CharAttributes::fromFormat(const QTextCharFormat &format) {
    CharAttributes a;
    a.face = faceOf(format);
    if (a.face.isEmpty())
        a.face = format.font().family();
    // Whole points, rounded down: a 12.5-point run shows and exports as 12.
    const double points = format.hasProperty(QTextFormat::FontPointSize)
                              ? format.fontPointSize()
                              : format.font().pointSizeF();
    a.size = int(std::floor(points + 1e-6));
    a.color = colorOf(format);
    a.bold = format.fontWeight() >= QFont::Bold;
    a.italic = format.fontItalic();
    a.underline = format.fontUnderline();
    a.charset = format.intProperty(TextProperty::Charset);
    a.pitchAndFamily = format.intProperty(TextProperty::PitchAndFamily);
    return a;
}

QTextCharFormat CharAttributes::toFormat(unsigned fields) const {
    QTextCharFormat f;
    if (fields & Face) {
        f.setFontFamilies(QStringList{face});
        f.setProperty(TextProperty::FaceName, QString()); // replaces a stand-in's name
    }
    if ((fields & Size) && size > 0)
        f.setFontPointSize(size);
    if (fields & Color) {
        if (color == kAutomaticColor)
            f.clearForeground();
        else
            f.setForeground(
                QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)));
    }
    if (fields & Bold)
        f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    if (fields & Italic)
        f.setFontItalic(italic);
    if (fields & Underline)
        f.setFontUnderline(underline);
    if (fields & CharsetField)
        f.setProperty(TextProperty::Charset, charset);
    if (fields & Pitch)
        f.setProperty(TextProperty::PitchAndFamily, pitchAndFamily);
    return f;
}

void setDocumentDpi(int dpi) {
    g_dpi = dpi > 0 ? dpi : 96;
}
int documentDpi() {
    return g_dpi;
}
double pointsToDocUnits(double points) {
    return points * g_dpi / 72.0;
}
int docUnitsToPoints(double units) {
    return int(std::lround(units * 72.0 / g_dpi));
}

} // namespace tessary
