#include "rtf/rtfpictures.h"

#include "rtf/rtftokenizer.h"
#include "rtf/textformat.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QtEndian>

namespace tessary {

namespace {

constexpr int kMaxTwips = 31680;        // 22 inches, the largest picture shown
constexpr int kDefaultTwips = 1440;     // a picture that gives no size is shown an inch square
constexpr int kMaxPictures = 64;        // \pict groups looked at in one kept group
constexpr int kMaxClassLength = 64;     // characters of an object's class shown in its box
constexpr qreal kMaxPastedWidth = 1000; // document units; wider pasted images are scaled down

enum class Form { Unknown, Png, Jpeg, WindowsMetafile, EnhancedMetafile, MacPicture, Os2, Bitmap };

struct Pict {
    Form form = Form::Unknown;
    int depth = 0; // of the \pict word's group in the kept bytes
    int picw = 0, pich = 0, goalw = 0, goalh = 0;
    int scalex = 100, scaley = 100;
    int cropl = 0, cropr = 0, cropt = 0, cropb = 0;
    QByteArray hex;    // the hexadecimal picture data as written
    QByteArray binary; // or the data after \bin

    QByteArray data() const { return binary.isEmpty() ? QByteArray::fromHex(hex) : binary; }
    bool drawable() const { return form == Form::Png || form == Form::Jpeg; }
};

struct Kept {
    QList<Pict> picts;
    bool object = false;
    QString objectClass;
};

void pictWord(Pict &pict, QByteArrayView name, int param) {
    static const QList<std::pair<QByteArrayView, Form>> forms = {
        {"pngblip", Form::Png},
        {"jpegblip", Form::Jpeg},
        {"wmetafile", Form::WindowsMetafile},
        {"emfblip", Form::EnhancedMetafile},
        {"macpict", Form::MacPicture},
        {"pmmetafile", Form::Os2},
        {"dibitmap", Form::Bitmap},
        {"wbitmap", Form::Bitmap}};
    for (const auto &[word, form] : forms)
        if (name == word)
            pict.form = form;
    const int clamped = qBound(-kMaxTwips, param, kMaxTwips);
    const QList<std::pair<QByteArrayView, int *>> numbers = {
        {"picw", &pict.picw},      {"pich", &pict.pich},        {"picwgoal", &pict.goalw},
        {"pichgoal", &pict.goalh}, {"picscalex", &pict.scalex}, {"picscaley", &pict.scaley},
        {"piccropl", &pict.cropl}, {"piccropr", &pict.cropr},   {"piccropt", &pict.cropt},
        {"piccropb", &pict.cropb}};
    for (const auto &[word, field] : numbers)
        if (name == word)
            *field = clamped;
}

// Walks the kept bytes once: each \pict group's words and data, and an object's class.
Kept scan(QByteArrayView raw) {
    Kept kept;
    RtfTokenizer tokenizer(raw);
    int depth = 0;
    int pict = -1;       // index of the \pict being read
    int classDepth = -1; // depth of the \objclass group being read
    for (RtfToken token = tokenizer.next(); token.type != RtfToken::End; token = tokenizer.next()) {
        switch (token.type) {
        case RtfToken::GroupOpen:
            ++depth;
            break;
        case RtfToken::GroupClose:
            if (pict >= 0 && depth == kept.picts[pict].depth)
                pict = -1;
            if (depth == classDepth)
                classDepth = -1;
            --depth;
            break;
        case RtfToken::Word:
            if (token.name == "pict" && pict < 0 && kept.picts.size() < kMaxPictures) {
                kept.picts.append(Pict{});
                pict = int(kept.picts.size() - 1);
                kept.picts[pict].depth = depth;
            } else if (token.name == "object" && depth == 1) {
                kept.object = true;
            } else if (token.name == "objclass") {
                classDepth = depth;
            } else if (pict >= 0 && depth == kept.picts[pict].depth) {
                pictWord(kept.picts[pict], token.name, token.param);
            }
            break;
        case RtfToken::Text:
            if (pict >= 0 && depth == kept.picts[pict].depth)
                kept.picts[pict].hex.append(token.run);
            else if (classDepth >= 0 && kept.objectClass.size() < kMaxClassLength)
                kept.objectClass += QString::fromLatin1(token.run).trimmed();
            break;
        case RtfToken::Binary:
            if (pict >= 0 && depth == kept.picts[pict].depth)
                kept.picts[pict].binary.append(token.run);
            break;
        default:
            break;
        }
    }
    return kept;
}

// A packed device-independent bitmap gets the file header that image readers expect.
QByteArray bitmapFile(const QByteArray &dib) {
    if (dib.size() < 40)
        return {};
    const quint32 headerSize = qFromLittleEndian<quint32>(dib.constData());
    const quint16 bits = qFromLittleEndian<quint16>(dib.constData() + 14);
    const quint32 colors = qFromLittleEndian<quint32>(dib.constData() + 32);
    const quint32 palette = bits <= 8 ? (colors ? colors : 1u << bits) * 4 : 0;
    QByteArray file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(14 + dib.size()), file.data() + 2);
    qToLittleEndian<quint32>(quint32(14 + qMin<quint32>(headerSize, 1024) + palette),
                             file.data() + 10);
    return file + dib;
}

// The picture's file bytes, when it is one that can be drawn.
QByteArray drawableBytes(const Pict &pict) {
    if (pict.drawable())
        return pict.data();
    if (pict.form == Form::Bitmap && pict.hex.size() + pict.binary.size() > 0) {
        const QByteArray data = pict.data();
        return data.startsWith("BM") ? data : bitmapFile(data);
    }
    return {};
}

QSize pixelSize(const QByteArray &bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    return reader.canRead() ? reader.size() : QSize();
}

// A length of the picture in twips: its goal size, else its own size (pixels at 96 an inch
// for bitmaps, hundredths of a millimetre for metafiles), less the crops, times the scale.
int shownTwips(const Pict &pict, int goal, int own, int pixels, int cropA, int cropB, int scale) {
    const bool bitmap = pict.drawable() || pict.form == Form::Bitmap;
    int twips = goal;
    if (twips <= 0 && pixels > 0)
        twips = pixels * 15;
    if (twips <= 0 && own > 0)
        twips = bitmap ? own * 15 : int(qint64(own) * 1440 / 2540);
    if (twips <= 0)
        twips = kDefaultTwips;
    twips -= qMax(0, cropA) + qMax(0, cropB);
    const qint64 scaled = qint64(twips) * (scale > 0 ? scale : 100) / 100;
    return int(qBound(qint64(15), scaled, qint64(kMaxTwips)));
}

QString formName(const Kept &kept, const Pict *pict) {
    if (kept.object && !kept.objectClass.isEmpty())
        return QStringLiteral("Object %1").arg(kept.objectClass);
    switch (pict ? pict->form : Form::Unknown) {
    case Form::WindowsMetafile:
        return QStringLiteral("WMF picture");
    case Form::EnhancedMetafile:
        return QStringLiteral("EMF picture");
    case Form::MacPicture:
        return QStringLiteral("PICT picture");
    case Form::Os2:
        return QStringLiteral("OS/2 metafile");
    default:
        return kept.object ? QStringLiteral("Object") : QStringLiteral("Picture");
    }
}

// The framed box shown for a picture that is not drawn, at twice its size for print.
QImage box(QSizeF size, const QString &name) {
    QImage image(qMax(4, qRound(size.width() * 2)), qMax(4, qRound(size.height() * 2)),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::darkGray, 4));
    painter.drawRect(QRectF(image.rect()).adjusted(2, 2, -2, -2));
    painter.setPen(Qt::black);
    QFont font = painter.font();
    font.setPixelSize(qBound(8, image.height() / 4, 24));
    painter.setFont(font);
    painter.drawText(image.rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap, name);
    return image;
}

// Only the part the crops leave; crops are twips of the goal size.
QImage cropped(const QByteArray &bytes, const Pict &pict, QSize pixels) {
    QImage image = QImage::fromData(bytes);
    const int goalw = pict.goalw > 0 ? pict.goalw : pixels.width() * 15;
    const int goalh = pict.goalh > 0 ? pict.goalh : pixels.height() * 15;
    if (image.isNull() || goalw <= 0 || goalh <= 0)
        return image;
    const qreal sx = qreal(image.width()) / goalw;
    const qreal sy = qreal(image.height()) / goalh;
    const QRect keep(qRound(qMax(0, pict.cropl) * sx), qRound(qMax(0, pict.cropt) * sy),
                     image.width() - qRound((qMax(0, pict.cropl) + qMax(0, pict.cropr)) * sx),
                     image.height() - qRound((qMax(0, pict.cropt) + qMax(0, pict.cropb)) * sy));
    return keep.isValid() ? image.copy(keep) : image;
}

} // namespace

QTextImageFormat RtfPictures::format(const QByteArray &raw, QTextDocument *doc,
                                     const QTextCharFormat &base) {
    QTextImageFormat format;
    format.merge(base);
    // A base taken beside another picture brings that picture's properties.
    for (int property :
         {int(QTextFormat::ImageName), int(QTextFormat::ImageWidth), int(QTextFormat::ImageHeight),
          int(QTextFormat::TextToolTip), PictureProperty::FormatName})
        format.clearProperty(property);
    format.setProperty(TextProperty::KeptRtf, raw);
    const Kept kept = scan(raw);
    const Pict *shown = nullptr;
    QByteArray bytes;
    QSize pixels;
    for (const Pict &pict : kept.picts) {
        bytes = drawableBytes(pict);
        pixels = bytes.isEmpty() ? QSize() : pixelSize(bytes);
        if (pixels.isValid()) {
            shown = &pict;
            break;
        }
    }
    const Pict *sized = shown ? shown : kept.picts.isEmpty() ? nullptr : &kept.picts.first();
    const Pict none;
    const Pict &p = sized ? *sized : none;
    const QSizeF size(pointsToDocUnits(0.05 * shownTwips(p, p.goalw, p.picw, pixels.width(),
                                                         p.cropl, p.cropr, p.scalex)),
                      pointsToDocUnits(0.05 * shownTwips(p, p.goalh, p.pich, pixels.height(),
                                                         p.cropt, p.cropb, p.scaley)));
    format.setWidth(size.width());
    format.setHeight(size.height());
    // Equal groups share one resource; its name is unique to the bytes.
    const QString name = QStringLiteral("tessary-picture:%1-%2")
                             .arg(qHash(QByteArrayView(raw)), 0, 16)
                             .arg(raw.size());
    format.setName(name);
    if (!doc)
        return format;
    const QUrl url(name);
    if (!shown) {
        const QString form = formName(kept, sized);
        format.setProperty(PictureProperty::FormatName, form);
        format.setToolTip(form);
        doc->addResource(QTextDocument::ImageResource, url, box(size, form));
    } else if (p.cropl > 0 || p.cropr > 0 || p.cropt > 0 || p.cropb > 0) {
        doc->addResource(QTextDocument::ImageResource, url, cropped(bytes, p, pixels));
    } else {
        // The file bytes: the layout decodes them the first time the picture is drawn.
        doc->addResource(QTextDocument::ImageResource, url, bytes);
    }
    return format;
}

EmbeddedPicture RtfPictures::embedded(QByteArrayView raw) {
    for (const Pict &pict : scan(raw).picts)
        if (pict.drawable() && pict.cropl <= 0 && pict.cropr <= 0 && pict.cropt <= 0 &&
            pict.cropb <= 0)
            return {pict.data(), pict.form == Form::Png ? "image/png" : "image/jpeg"};
    return {};
}

QByteArray RtfPictures::pngGroup(const QImage &image, QSizeF size) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const int dpi = documentDpi();
    auto twips = [dpi](qreal units) { return qRound(units * 1440.0 / dpi); };
    QByteArray group = "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich" +
                       QByteArray::number(image.height()) + "\\picwgoal" +
                       QByteArray::number(twips(size.width())) + "\\pichgoal" +
                       QByteArray::number(twips(size.height())) + '\n';
    const QByteArray hex = png.toHex();
    group.reserve(group.size() + hex.size() + hex.size() / 64 + 2);
    for (qsizetype i = 0; i < hex.size(); i += 128)
        group += hex.mid(i, 128) + '\n';
    return group + '}';
}

bool RtfPictures::insert(QTextCursor &cursor, const QImage &image, qreal maxWidth) {
    if (cursor.isNull() || image.isNull())
        return false;
    QSizeF size = QSizeF(image.size()) * documentDpi() / 96.0;
    const qreal widest = maxWidth > 0 ? maxWidth : kMaxPastedWidth;
    if (size.width() > widest)
        size *= widest / size.width();
    const QByteArray raw = pngGroup(image, size);
    cursor.insertText(QString(QChar::ObjectReplacementCharacter),
                      format(raw, cursor.document(), cursor.charFormat()));
    return true;
}

} // namespace tessary
