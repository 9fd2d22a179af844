#include "rtf/rtflistwriter.h"

#include "rtf/rtflists.h"
#include "rtf/textformat.h"

#include <QTextBlock>
#include <QTextList>

namespace tessary {

namespace {

constexpr int kLevels = 9;
constexpr int kHangTwips = 360; // the marker hangs this far left of the item's text

bool isBullet(QTextListFormat::Style style) {
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

QString letters(int n, char16_t a) {
    QString text;
    for (; n > 0; n = (n - 1) / 26)
        text.prepend(QChar(char16_t(a + (n - 1) % 26)));
    return text;
}

QString roman(int n, bool upper) {
    static const std::pair<int, const char *> parts[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    if (n <= 0 || n >= 5000)
        return QString::number(n);
    QString text;
    for (const auto &[value, digits] : parts) {
        for (; n >= value; n -= value)
            text += QLatin1String(digits);
    }
    return upper ? text.toUpper() : text;
}

QString numberText(QTextListFormat::Style style, int n) {
    switch (style) {
    case QTextListFormat::ListLowerAlpha:
        return n > 0 ? letters(n, u'a') : QString::number(n);
    case QTextListFormat::ListUpperAlpha:
        return n > 0 ? letters(n, u'A') : QString::number(n);
    case QTextListFormat::ListLowerRoman:
        return roman(n, false);
    case QTextListFormat::ListUpperRoman:
        return roman(n, true);
    default:
        return QString::number(n);
    }
}

int twipsOf(double units) {
    return qRound(units * 1440.0 / documentDpi());
}

// RTF text for the list table and marker: ASCII as it is, the rest as \uN with a '?'.
QByteArray escaped(const QString &text) {
    QByteArray out;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}')
            out += '\\' + QByteArray(1, char(u));
        else if (u >= 0x20 && u < 0x80)
            out += char(u);
        else
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
    }
    return out;
}

QString bulletText(QTextListFormat::Style style) {
    return style == QTextListFormat::ListCircle   ? QStringLiteral("\u25E6")
           : style == QTextListFormat::ListSquare ? QStringLiteral("\u25AA")
                                                  : QStringLiteral("\u2022");
}

QByteArray hexByte(int value) {
    return "\\'" + QByteArray::number(value, 16).rightJustified(2, '0');
}

QByteArray levelDefinition(const QTextListFormat &format, int level) {
    const QTextListFormat::Style style = format.style() == QTextListFormat::ListStyleUndefined
                                             ? QTextListFormat::ListDecimal
                                             : format.style();
    const int nfc = rtf::numberFormatOfStyle(style);
    const int start = format.hasProperty(rtf::kListStartProperty)
                          ? format.intProperty(rtf::kListStartProperty)
                          : 1;
    QByteArray out = "{\\listlevel\\levelnfc" + QByteArray::number(nfc) + "\\levelnfcn" +
                     QByteArray::number(nfc) + "\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat" +
                     QByteArray::number(start) + "{\\leveltext";
    if (isBullet(style)) {
        out += hexByte(1) + escaped(bulletText(style)) + ";}{\\levelnumbers;}";
    } else {
        // Without a format of its own a level numbers as "1.", as in other editors.
        const bool own = format.hasProperty(QTextFormat::ListNumberSuffix) ||
                         format.hasProperty(QTextFormat::ListNumberPrefix);
        const QString prefix = format.numberPrefix();
        const QString suffix = own ? format.numberSuffix() : QStringLiteral(".");
        out += hexByte(int(prefix.size() + 1 + suffix.size())) + escaped(prefix) + hexByte(level) +
               escaped(suffix) + ";}{\\levelnumbers" + hexByte(int(prefix.size() + 1)) + ";}";
    }
    const int li = (level + 1) * 2 * kHangTwips;
    out += "\\fi-" + QByteArray::number(kHangTwips) + "\\li" + QByteArray::number(li) + "}\n";
    return out;
}

} // namespace

QString listMarkerText(const QTextList *list, const QTextBlock &block) {
    if (!list)
        return {};
    const QTextListFormat format = list->format();
    if (isBullet(format.style()))
        return bulletText(format.style());
    const int start = format.hasProperty(rtf::kListStartProperty)
                          ? format.intProperty(rtf::kListStartProperty)
                          : 1;
    const int n = list->itemNumber(block) + start;
    const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                                             : QStringLiteral(".");
    return format.numberPrefix() + numberText(format.style(), n) + suffix;
}

bool isPlainBulletList(const QTextListFormat &format) {
    return format.style() == QTextListFormat::ListDisc && format.indent() == 1 &&
           !format.hasProperty(rtf::kTableListProperty);
}

// Items of one list and its sublists share a list number; a second list at a level whose
// last list has not been closed by a shallower item, or one whose format differs from the
// level's, starts a new one.
RtfListWriter::RtfListWriter(const QList<RtfWriter::Snapshot::Paragraph> &paragraphs)
    : m_paragraphs(paragraphs) {
    QList<quintptr> open;
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        const RtfWriter::Snapshot::Paragraph &p = paragraphs[i];
        if (!p.list || p.bullet)
            continue;
        const int level = qBound(0, p.listFormat.indent() - 1, kLevels - 1);
        bool fresh = m_lists.isEmpty();
        if (!fresh) {
            const QList<QTextListFormat> &levels = m_lists.last();
            fresh = (level < levels.size() && levels[level].isValid() &&
                     levels[level] != p.listFormat) ||
                    (level < open.size() && open[level] && open[level] != p.list);
        }
        if (fresh) {
            m_lists.append(QList<QTextListFormat>());
            open.clear();
        }
        QList<QTextListFormat> &levels = m_lists.last();
        if (levels.size() <= level)
            levels.resize(level + 1);
        levels[level] = p.listFormat;
        open.resize(level + 1);
        open[level] = p.list;
        m_items.insert(i, {int(m_lists.size()), level});
    }
}

QByteArray RtfListWriter::tables() const {
    if (m_lists.isEmpty())
        return {};
    QByteArray out = "{\\*\\listtable\n";
    for (qsizetype ls = 1; ls <= m_lists.size(); ++ls) {
        const QList<QTextListFormat> &levels = m_lists[ls - 1];
        out += "{\\list\\listtemplateid" + QByteArray::number(ls) + '\n';
        for (int level = 0; level < kLevels; ++level) {
            QTextListFormat format = level < levels.size() ? levels[level] : QTextListFormat();
            if (!format.isValid()) // an unused level numbers as its neighbours would
                format.setStyle(QTextListFormat::ListDecimal);
            out += levelDefinition(format, level);
        }
        out += "\\listid" + QByteArray::number(ls) + "}\n";
    }
    out += "}\n{\\*\\listoverridetable";
    for (qsizetype ls = 1; ls <= m_lists.size(); ++ls) {
        out += "{\\listoverride\\listid" + QByteArray::number(ls) + "\\listoverridecount0\\ls" +
               QByteArray::number(ls) + '}';
    }
    out += "}\n";
    return out;
}

QByteArray RtfListWriter::item(qsizetype paragraph) const {
    const auto found = m_items.constFind(paragraph);
    if (found == m_items.constEnd())
        return {};
    const RtfWriter::Snapshot::Paragraph &p = m_paragraphs[paragraph];
    // The list's room left of the text goes back into the indents other editors read.
    const int li = twipsOf(p.format.leftMargin() + p.listRoom);
    const int fi = twipsOf(p.format.textIndent()) - kHangTwips;
    return "\\fi" + QByteArray::number(fi) + "\\li" + QByteArray::number(li) + "\\ls" +
           QByteArray::number(found->ls) + "\\ilvl" + QByteArray::number(found->level) +
           "{\\listtext " + escaped(p.listMarker) + "\\tab}";
}

} // namespace tessary
