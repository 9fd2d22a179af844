#include "platform/fontregistry.h"
#include "rtf/codepage.h"
#include "rtf/rtfparser.h"

#include <QGuiApplication>

#include <QColor>
#include <QTextBlock>
#include <QTextList>

namespace tessary::rtf {

void Parser::textCharacter(QChar c) {
    if (!isRtfTextCharacter(c.unicode()))
        return;
    if (top().chr.hidden && c != QChar::ParagraphSeparator) {
        hiddenCharacter(c);
        return;
    }
    flushHidden();
    if (c == QChar::ParagraphSeparator) {
        paragraphBreak();
        return;
    }
    enterTable(tableDepth(), false);
    if (m_pendingBreak)
        insertPendingBreak();
    if (!(top().chr == m_runState)) {
        flushRun();
        m_runState = top().chr;
    }
    m_run.append(c);
    m_paraHasContent = true;
}

void Parser::flushRun() {
    flushHidden();
    if (m_run.isEmpty())
        return;
    // A surrogate without its partner would make invalid text.
    for (qsizetype i = 0; i < m_run.size(); ++i) {
        const QChar c = m_run[i];
        if (c.isHighSurrogate() && i + 1 < m_run.size() && m_run[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            m_run[i] = QChar::ReplacementCharacter;
    }
    m_cursor.insertText(m_run, charFormat(m_runState));
    m_run.clear();
}

// The kept bytes ride on one object replacement character in the text, in the current
// character format, so that they stay where they stood through edits, copies and saves.
void Parser::insertKept(QByteArrayView raw) {
    enterTable(tableDepth(), false);
    if (m_pendingBreak)
        insertPendingBreak();
    flushRun();
    QTextCharFormat format = charFormat(top().chr);
    format.setProperty(TextProperty::KeptRtf, raw.toByteArray());
    m_cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
    m_paraHasContent = true;
}

void Parser::paragraphBreak() {
    enterTable(tableDepth(), false);
    if (m_pendingBreak)
        insertPendingBreak();
    flushRun();
    if (m_cursor.block().length() == 1) // an empty paragraph keeps the font of its mark
        m_cursor.setBlockCharFormat(charFormat(top().chr));
    applyParagraph(top().para);
    m_pendingBreak = true;
    m_paraHasContent = false;
}

void Parser::insertPendingBreak() {
    flushRun();
    m_pendingBreak = false;
    QTextBlockFormat format = m_targetFormat;
    if (m_mode == RtfReader::Mode::Document) {
        format = QTextBlockFormat();
        format.setAlignment(Qt::AlignLeft);
    }
    m_cursor.insertBlock(format, charFormat(top().chr));
}

void Parser::applyParagraph(const ParaState &para) {
    QTextBlockFormat format;
    format.setAlignment(para.alignment == Alignment::Center  ? Qt::AlignHCenter
                        : para.alignment == Alignment::Right ? Qt::AlignRight
                                                             : Qt::AlignLeft);
    format.setLeftMargin(twipsToUnits(para.left));
    format.setTextIndent(twipsToUnits(para.first));
    format.setRightMargin(twipsToUnits(para.right));
    format.setTabPositions(para.tabs);
    if (para.style > 0)
        format.setProperty(TextProperty::StyleRef, para.style);

    m_lists.place(m_cursor, format, para.list);
}

void Parser::finish() {
    if (m_font.name.size() > 0 || m_fontNumber >= 0)
        finishFont();
    flushRun();
    if (m_tables.depth() > 0) {
        while (m_tables.depth() > 0)
            m_tables.close();
        m_pendingBreak = false;
    }
    storeKept();
    const ParaState para = top().para;
    if (m_mode == RtfReader::Mode::Fragment) {
        if (m_pendingBreak)
            insertPendingBreak();
    } else if (!m_pendingBreak) {
        if (m_cursor.block().length() == 1)
            m_cursor.setBlockCharFormat(charFormat(top().chr));
        applyParagraph(para);
    }
}

void Parser::startFont(int number) {
    if (m_fontNumber >= 0)
        finishFont();
    m_font = Font{};
    m_fontNumber = number;
}

void Parser::finishFont() {
    if (m_fontNumber >= 0) {
        m_font.name = m_font.name.trimmed();
        chooseShownFace(m_font);
        m_fonts.insert(m_fontNumber, m_font);
    }
    m_font = Font{};
    m_fontNumber = -1;
}

void Parser::chooseShownFace(Font &font) {
    if (font.name.isEmpty() || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    // Symbol text is read as the characters that face shows; an installed face of that name
    // may not hold them under those codes, so they are shown in a face that has them.
    if (isSymbolFace(font)) {
        font.shown = FontRegistry::standInFace(1);
        return;
    }
    if (m_installed.isEmpty())
        m_installed = FontRegistry::installedFamilies();
    if (m_installed.contains(font.name.toLower()) || m_lookedUp++ < kMaxLookedUpFaces)
        return;
    font.shown = FontRegistry::standInFace(font.family);
}

const Font *Parser::fontOf(const CharState &chr) const {
    auto it = m_fonts.constFind(chr.font < 0 ? m_defaultFont : chr.font);
    if (it == m_fonts.constEnd())
        it = m_fonts.constFind(m_defaultFont);
    return it == m_fonts.constEnd() ? nullptr : &it.value();
}

// Old documents write Greek and mathematics in a face named "Symbol"; its text reads as the
// characters that face shows. The notation symbol faces keep their own code page.
bool isSymbolFace(const Font &font) {
    return font.name == u"Symbol" && (font.charset < 0 || font.charset == Charset::Symbol);
}

static int charsetOf(const Font &font) {
    if (font.charset >= 0)
        return font.charset;
    return isSymbolFace(font) ? Charset::Symbol : charsetForFace(font.name);
}

// The code page of the text being read; ANSI fonts follow the document's \ansicpg.
const CodePage &Parser::codePage() {
    const Font *font = top().dest == Dest::FontTable ? &m_font : fontOf(top().chr);
    if (!font)
        return *m_ansiPage;
    if (font->codePage > 0)
        return CodePage::windows(font->codePage);
    if (font != &m_font && isSymbolFace(*font))
        return CodePage::symbolFace();
    const int charset = charsetOf(*font);
    return charset <= 1 ? *m_ansiPage : CodePage::forCharset(charset);
}

QTextCharFormat Parser::charFormat(const CharState &chr) const {
    QTextCharFormat format;
    int charset = 0;
    int pitch = 0;
    if (const Font *font = fontOf(chr)) {
        if (!font->shown.isEmpty()) {
            format.setFontFamilies(QStringList{font->shown});
            format.setProperty(TextProperty::FaceName, font->name);
        } else if (!font->name.isEmpty()) {
            format.setFontFamilies(QStringList{font->name});
        }
        charset = charsetOf(*font);
        pitch = font->exactPitch >= 0 ? font->exactPitch : (font->family << 4) | font->pitch;
    }
    format.setFontPointSize(chr.halfPoints / 2.0);
    const int rgb = chr.color < m_colors.size() ? m_colors[chr.color] : -1;
    if (rgb >= 0)
        format.setForeground(QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    format.setFontWeight(chr.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(chr.italic);
    format.setFontUnderline(chr.underline);
    format.setProperty(TextProperty::Charset, charset);
    format.setProperty(TextProperty::PitchAndFamily, pitch);
    return format;
}

} // namespace tessary::rtf
