#include "editor/fontboxes.h"

#include "editor/notationfaces.h"
#include "platform/fontregistry.h"

#include <QComboBox>
#include <QFontInfo>

namespace tessary {

namespace {
const QString kDefaultFace = QStringLiteral("Times New Roman");
const QString kDefaultSize = QStringLiteral("12");
const QStringList kFontSizes =
    QStringLiteral("8,9,10,11,12,14,16,18,20,22,24,26,28,36,48,72").split(QLatin1Char(','));

QComboBox *makeBox(QWidget *parent, const QString &name, const QString &hint, int width) {
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setToolTip(hint);
    box->setFixedWidth(width);
    box->setEditable(false);
    return box;
}
} // namespace

FontBoxes::FontBoxes(QWidget *parent)
    : FontNameBox(
          makeBox(parent, QStringLiteral("FontNameBox"), QStringLiteral("Current font name"), 191))
    , FontSizeBox(makeBox(parent, QStringLiteral("FontSizeBox"),
                          QStringLiteral("Current font size"), 50)) {}

void FontBoxes::fill() {
    QStringList faces;
    for (const QString &family : FontRegistry::documentFamilies()) {
        if (!IsNotationFont(family))
            faces.append(family);
    }
    // The common document faces are often served by metric-compatible substitutes that the
    // font list does not name; offer them under the names documents use.
    for (const QString &alias :
         {QStringLiteral("Arial"), QStringLiteral("Courier New"), kDefaultFace}) {
        if (!faces.contains(alias) && QFontInfo(QFont(alias)).family() != QFont().family())
            faces.append(alias);
    }
    faces.append(kNotationEntry);
    faces.removeDuplicates();
    faces.sort(Qt::CaseInsensitive);
    FontNameBox->clear();
    FontNameBox->addItems(faces);
    FontSizeBox->clear();
    FontSizeBox->addItems(kFontSizes);
}

QString FontBoxes::face() const {
    return FontNameBox->currentText();
}

int FontBoxes::size() const {
    bool ok = false;
    int size = FontSizeBox->currentText().toInt(&ok);
    if (!ok || size <= 0)
        size = FontSizeBox->placeholderText().toInt(&ok);
    return ok && size > 0 ? size : 12;
}

bool FontBoxes::inNotationMode() const {
    return face() == kNotationEntry;
}

void FontBoxes::select(int nameIndex, int sizeIndex, const QString &sizeShown) {
    FontNameBox->setCurrentIndex(nameIndex);
    FontSizeBox->setCurrentIndex(sizeIndex);
    if (FontSizeBox->currentIndex() < 0)
        FontSizeBox->setPlaceholderText(sizeShown);
}

// A size the list lacks is saved by its number: the greyed text may change meanwhile.
void FontBoxes::saveSelection() {
    m_savedName = FontNameBox->currentIndex();
    m_savedSize = FontSizeBox->currentIndex();
    m_savedSizeShown = m_savedSize < 0 ? FontSizeBox->placeholderText() : QString();
}

void FontBoxes::restoreSelection() {
    select(m_savedName, m_savedSize, m_savedSizeShown);
}

void FontBoxes::EnterNotationMode() {
    saveSelection();
    select(FontNameBox->findText(kNotationEntry),
           FontSizeBox->findText(QString::number(kNotationSize)));
}

void FontBoxes::toggleNotation() {
    if (!inNotationMode())
        EnterNotationMode();
    else
        restoreSelection();
}

void FontBoxes::selectNotationSize() {
    FontSizeBox->setCurrentIndex(FontSizeBox->findText(QString::number(kNotationSize)));
}

void FontBoxes::toggleCaretFont(const CharAttributes &caret) {
    const QString name = IsNotationFont(caret.face) ? kNotationEntry : caret.face;
    if (face() == name && size() == caret.size) {
        restoreSelection();
        return;
    }
    int nameIndex = FontNameBox->findText(name);
    int sizeIndex = 0;
    if (nameIndex >= 0)
        sizeIndex = FontSizeBox->findText(QString::number(caret.size));
    else
        nameIndex = 0;
    saveSelection();
    select(nameIndex, sizeIndex, caret.size > 0 ? QString::number(caret.size) : QString());
}

FontBoxes::Indexes FontBoxes::indexes() const {
    return {FontNameBox->currentIndex(), FontSizeBox->currentIndex(), m_savedName, m_savedSize};
}

void FontBoxes::setIndexes(const Indexes &indexes) {
    const int defaultName = FontNameBox->findText(kDefaultFace);
    const int defaultSize = FontSizeBox->findText(kDefaultSize);
    auto pick = [](int index, int count, int fallback) {
        return index >= 0 && index < count ? index : fallback;
    };
    const int names = FontNameBox->count();
    const int sizes = FontSizeBox->count();
    select(pick(indexes.name, names, defaultName), pick(indexes.size, sizes, defaultSize));
    m_savedName = pick(indexes.savedName, names, defaultName);
    m_savedSize = pick(indexes.savedSize, sizes, defaultSize);
    m_savedSizeShown.clear();
}

} // namespace tessary
