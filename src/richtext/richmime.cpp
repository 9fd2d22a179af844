#include "richtext/richmime.h"

#include "rtf/rtfpictures.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "rtf/textformat.h"

#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocumentFragment>

namespace tessary {

namespace {
// X11 programs use the first two; some publish RTF as text/richtext, and Qt names the Windows
// clipboard format this way.
const char *const kRtfTypes[] = {"text/rtf", "application/rtf", "text/richtext",
                                 "application/x-qt-windows-mime;value=\"Rich Text Format\""};

enum class ScriptLevel { Base, Raised, Lowered };

// The notation families: each has an Even (base line), a High and a Low face.
const char *const kNotationFamilies[] = {"Courier New ", "Courier New Greek ", "TessarySymbol "};

// Where the text of a face sits: the High faces raise it, the Low faces lower it.
ScriptLevel levelOfFace(const QString &face, QString *baseFace = nullptr) {
    for (const char *family : kNotationFamilies) {
        const QString prefix = QLatin1StringView(family);
        const ScriptLevel level = face == prefix + QStringLiteral("High")  ? ScriptLevel::Raised
                                  : face == prefix + QStringLiteral("Low") ? ScriptLevel::Lowered
                                                                           : ScriptLevel::Base;
        if (level == ScriptLevel::Base)
            continue;
        if (baseFace)
            *baseFace = prefix + QStringLiteral("Even");
        return level;
    }
    return ScriptLevel::Base;
}

// Only the superscript and subscript characters that fonts draw as such; the phonetic
// modifier letters (U+1D2C..) look uneven in most faces and read as a different letter.
char16_t scriptCharacter(QChar c, ScriptLevel level) {
    const char16_t u = c.unicode();
    const bool up = level == ScriptLevel::Raised;
    if (u >= u'0' && u <= u'9') {
        static const char16_t superDigits[] = u"\u2070\u00B9\u00B2\u00B3\u2074\u2075\u2076"
                                              u"\u2077\u2078\u2079";
        return up ? superDigits[u - u'0'] : char16_t(0x2080 + (u - u'0'));
    }
    switch (u) {
    case u'+':
        return up ? 0x207A : 0x208A;
    case u'-':
    case 0x2212: // minus sign
        return up ? 0x207B : 0x208B;
    case u'=':
        return up ? 0x207C : 0x208C;
    case u'(':
        return up ? 0x207D : 0x208D;
    case u')':
        return up ? 0x207E : 0x208E;
    default:
        break;
    }
    if (up)
        return u == u'i' ? 0x2071 : u == u'n' ? 0x207F : 0;
    static const QStringView lowLetters = u"aeox\u0259hklmnpst";
    const qsizetype index = lowLetters.indexOf(c);
    return index < 0 ? 0 : char16_t(0x2090 + index);
}

// A raised or lowered run in plain text: script characters where every character has one,
// else ^c or ^(run); spaces around the run stay outside it.
QString scriptRun(const QString &run, ScriptLevel level) {
    if (level == ScriptLevel::Base)
        return run;
    qsizetype from = 0, to = run.size();
    while (from < to && run[from].isSpace())
        ++from;
    while (to > from && run[to - 1].isSpace())
        --to;
    if (from == to)
        return run;
    const QStringView core = QStringView(run).sliced(from, to - from);
    QString script;
    for (QChar c : core) {
        const char16_t s = scriptCharacter(c, level);
        if (!s) {
            script.clear();
            break;
        }
        script.append(QChar(s));
    }
    if (script.isEmpty()) {
        const QChar mark = level == ScriptLevel::Raised ? u'^' : u'_';
        const bool single = core.size() == 1 || (core.size() == 2 && core[0].isHighSurrogate());
        script = single ? mark + core.toString() : mark + (u'(' + core.toString() + u')');
    }
    return run.left(from) + script + run.mid(to);
}

// Calls visit(text, format) for each piece of the selection, and paragraph() between
// paragraphs.
template <typename Visit, typename Paragraph>
void forEachPiece(const QTextCursor &cursor, Visit visit, Paragraph paragraph) {
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    const QTextDocument *doc = cursor.document();
    for (QTextBlock b = doc->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        if (b.position() > start)
            paragraph();
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int from = qMax(f.position(), start);
            const int to = qMin(f.position() + f.length(), end);
            if (from < to)
                visit(f.text().mid(from - f.position(), to - from), f.charFormat());
        }
    }
}

QString plainText(const QTextCursor &cursor) {
    QString text, run;
    ScriptLevel runLevel = ScriptLevel::Base;
    auto setLevel = [&](ScriptLevel level) {
        if (level == runLevel)
            return;
        text += scriptRun(run, runLevel);
        run.clear();
        runLevel = level;
    };
    forEachPiece(
        cursor,
        [&](QString piece, const QTextCharFormat &format) {
            piece.replace(QChar::LineSeparator, u'\n');
            piece.remove(QChar::ObjectReplacementCharacter);
            setLevel(levelOfFace(faceOf(format)));
            run += piece;
        },
        [&] {
            setLevel(ScriptLevel::Base);
            run += u'\n';
        });
    return text + scriptRun(run, runLevel);
}

QString cssStyle(const QTextCharFormat &format, const QString &face, bool scripted) {
    QString style =
        QStringLiteral("font-family:'") + QString(face).remove(u'\'').toHtmlEscaped() + u'\'';
    if (!scripted && format.fontPointSize() > 0)
        style += QStringLiteral(";font-size:%1pt").arg(format.fontPointSize());
    if (format.fontWeight() >= QFont::Bold)
        style += u";font-weight:bold";
    if (format.fontItalic())
        style += u";font-style:italic";
    if (format.fontUnderline())
        style += u";text-decoration:underline";
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush)
        style += QStringLiteral(";color:") + format.foreground().color().name();
    return style;
}

// Raised and lowered runs become <sup> and <sub> in their base face, so that a program
// without the notation faces still shows exponents and indices.
QString htmlText(const QTextCursor &cursor) {
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>"
                                  "<!--StartFragment--><p>");
    ScriptLevel open = ScriptLevel::Base;
    auto setLevel = [&](ScriptLevel level) {
        if (level == open)
            return;
        if (open != ScriptLevel::Base)
            html += open == ScriptLevel::Raised ? u"</sup>" : u"</sub>";
        if (level != ScriptLevel::Base)
            html += level == ScriptLevel::Raised ? u"<sup>" : u"<sub>";
        open = level;
    };
    auto paragraph = [&] {
        setLevel(ScriptLevel::Base);
        html += u"</p>\n<p>";
    };
    forEachPiece(
        cursor,
        [&](const QString &piece, const QTextCharFormat &format) {
            QString face = faceOf(format);
            const ScriptLevel level = levelOfFace(face, &face);
            setLevel(level);
            QString text = piece.toHtmlEscaped();
            text.replace(QChar::LineSeparator, QStringLiteral("<br>"));
            text.replace(QChar::Nbsp, QStringLiteral("&nbsp;"));
            text.remove(QChar::ObjectReplacementCharacter);
            html += QStringLiteral("<span style=\"") +
                    cssStyle(format, face, level != ScriptLevel::Base) + QStringLiteral("\">") +
                    text + QStringLiteral("</span>");
        },
        paragraph);
    setLevel(ScriptLevel::Base);
    return html + QStringLiteral("</p><!--EndFragment--></body></html>");
}
} // namespace

QMimeData *mimeFromSelection(const QTextCursor &cursor) {
    auto *mime = new QMimeData;
    if (!cursor.hasSelection() || !cursor.document())
        return mime;
    const QByteArray rtf =
        RtfWriter::write(cursor.document(), cursor.selectionStart(), cursor.selectionEnd());
    mime->setData(QStringLiteral("text/rtf"), rtf);
    mime->setData(QStringLiteral("application/rtf"), rtf);
    mime->setHtml(htmlText(cursor));
    mime->setText(plainText(cursor));
    return mime;
}

bool insertMime(const QMimeData *mime, QTextCursor &cursor) {
    if (!mime || cursor.isNull())
        return false;
    for (const char *type : kRtfTypes) {
        const QString name = QString::fromLatin1(type);
        if (!mime->hasFormat(name))
            continue;
        const QByteArray data = mime->data(name);
        if (RtfReader::looksLikeRtf(data))
            return RtfReader::read(data, cursor, RtfReader::Mode::Fragment);
    }
    // A screenshot or a plot; a browser's copied image also brings an IMG tag pointing away.
    if (mime->hasImage()) {
        if (const QImage image = qvariant_cast<QImage>(mime->imageData()); !image.isNull())
            return RtfPictures::insert(cursor, image);
    }
    if (mime->hasHtml()) {
        cursor.insertFragment(QTextDocumentFragment::fromHtml(mime->html()));
        return true;
    }
    if (mime->hasText()) {
        QString text = mime->text();
        text.remove(u'\r');
        cursor.insertText(text);
        return true;
    }
    return false;
}

} // namespace tessary
