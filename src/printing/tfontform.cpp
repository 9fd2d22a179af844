#include "printing/tfontform.h"

#include "editor/fontboxes.h"
#include "platform/settingsstore.h"
#include "printing/printsettings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace tessary {

namespace {

const char *const kPrefixes[6] = {"LH", "CH", "RH", "LF", "CF", "RF"};
const char *const kCaptions[6] = {"Left header", "Center header", "Right header",
                                  "Left footer", "Center footer", "Right footer"};
const char *const kStyleNames[4] = {"Normal", "Bold", "Italic", "Bold Italic"};
constexpr int kLargestSize = 1638;

QString valueName(int index, const char *suffix) {
    return QLatin1String(kPrefixes[index]) + QLatin1String(suffix);
}

QStringList itemsOf(const QComboBox *box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

} // namespace

QString PositionFont::StyleName(int style) {
    return QLatin1String(kStyleNames[style & 3]);
}

int PositionFont::StyleFromName(const QString &name) {
    for (int style = Normal; style < BoldItalic; ++style) {
        if (name == QLatin1String(kStyleNames[style]))
            return style;
    }
    return BoldItalic;
}

std::optional<PositionFont> PositionFonts::font(int tag) const {
    if (tag < 1 || tag > 6)
        return std::nullopt;
    return m_fonts.at(tag - 1);
}

void PositionFonts::setFont(int tag, const PositionFont &font) {
    if (tag >= 1 && tag <= 6)
        m_fonts.at(tag - 1) = font;
}

PositionFont &PositionFonts::entry(int tag) {
    return m_fonts.at(std::clamp(tag, 1, 6) - 1);
}

void PositionFonts::load(const SettingsStore &store) {
    m_fonts = {};
    if (!store.keyExists(PrintSettings::Key))
        return;
    const QString &key = PrintSettings::Key;
    for (int i = 0; i < 6; ++i) {
        PositionFont &font = m_fonts.at(i);
        font.name = store.readString(key, valueName(i, "FN"), font.name);
        const int size = store.readInteger(key, valueName(i, "SZ"), font.size);
        if (size >= 1 && size <= kLargestSize)
            font.size = size;
        const QString style = store.readString(key, valueName(i, "ST"), QString());
        if (!style.isNull())
            font.style = PositionFont::StyleFromName(style);
    }
}

void PositionFonts::save(SettingsStore &store) const {
    const QString &key = PrintSettings::Key;
    for (int i = 0; i < 6; ++i)
        store.writeString(key, valueName(i, "FN"), m_fonts.at(i).name);
    for (int i = 0; i < 6; ++i)
        store.writeInteger(key, valueName(i, "SZ"), m_fonts.at(i).size);
    for (int i = 0; i < 6; ++i)
        store.writeString(key, valueName(i, "ST"), PositionFont::StyleName(m_fonts.at(i).style));
}

TFontForm::TFontForm(const FontBoxes &boxes, QWidget *parent)
    : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("FontForm"));
    setSizeGripEnabled(true);
    FontNameComboBox = new QComboBox(this);
    FontNameComboBox->setObjectName(QStringLiteral("FontNameComboBox"));
    FontNameComboBox->addItems(itemsOf(boxes.FontNameBox));
    FontSizeComboBox = new QComboBox(this);
    FontSizeComboBox->setObjectName(QStringLiteral("FontSizeComboBox"));
    FontSizeComboBox->addItems(itemsOf(boxes.FontSizeBox));
    FontStyleComboBox = new QComboBox(this);
    FontStyleComboBox->setObjectName(QStringLiteral("FontStyleComboBox"));
    for (const char *name : kStyleNames)
        FontStyleComboBox->addItem(QLatin1String(name));
    FontOkButton = new QPushButton(QStringLiteral("OK"), this);
    FontOkButton->setObjectName(QStringLiteral("FontOkButton"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Name"), this), 0, 0);
    grid->addWidget(FontNameComboBox, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Size"), this), 1, 0);
    grid->addWidget(FontSizeComboBox, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Style"), this), 2, 0);
    grid->addWidget(FontStyleComboBox, 2, 1);
    grid->addWidget(FontOkButton, 3, 1, Qt::AlignRight);

    connect(FontNameComboBox, &QComboBox::currentIndexChanged, this,
            &TFontForm::FontNameComboBoxChange);
    connect(FontSizeComboBox, &QComboBox::currentIndexChanged, this,
            &TFontForm::FontSizeComboBoxChange);
    connect(FontStyleComboBox, &QComboBox::currentIndexChanged, this,
            &TFontForm::FontStyleComboBoxChange);
    connect(FontOkButton, &QPushButton::clicked, this, &TFontForm::FontOkButtonClick);
    LoadFontSettings();
    SetupFontDialog(1);
}

void TFontForm::SetupFontDialog(int tag) {
    if (tag < 1 || tag > 6)
        return;
    m_tag = tag;
    setWindowTitle(QStringLiteral("  %1 font specs").arg(QLatin1String(kCaptions[tag - 1])));
    const PositionFont font = current();
    m_showing = true;
    FontNameComboBox->setCurrentIndex(FontNameComboBox->findText(font.name, Qt::MatchExactly));
    FontSizeComboBox->setCurrentIndex(
        FontSizeComboBox->findText(QString::number(font.size), Qt::MatchExactly));
    FontStyleComboBox->setCurrentIndex(font.style & 3);
    m_showing = false;
}

void TFontForm::LoadFontSettings() {
    m_fonts.load(SettingsStore::instance());
}

void TFontForm::SaveFontSettings() {
    m_fonts.save(SettingsStore::instance());
}

void TFontForm::FontNameComboBoxChange() {
    if (!m_showing && FontNameComboBox->currentIndex() >= 0)
        current().name = FontNameComboBox->currentText();
}

void TFontForm::FontSizeComboBoxChange() {
    bool ok = false;
    const int size = FontSizeComboBox->currentText().toInt(&ok);
    if (!m_showing && ok && size > 0)
        current().size = size;
}

void TFontForm::FontStyleComboBoxChange() {
    if (!m_showing && FontStyleComboBox->currentIndex() >= 0)
        current().style = FontStyleComboBox->currentIndex();
}

void TFontForm::FontOkButtonClick() {
    OnFontsChanged();
    accept();
}

PositionFont &TFontForm::current() {
    return m_fonts.entry(m_tag);
}

} // namespace tessary
