#include "printing/patterns.h"

#include "platform/services.h"
#include "richtext/readablecolours.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace tessary {

namespace Patterns {

const QStringList &FixedEntries() {
    static const QStringList entries = {QStringLiteral(".empty"),
                                        QStringLiteral(".page"),
                                        QStringLiteral(".page of .numpages"),
                                        QStringLiteral(".page / .numpages"),
                                        QStringLiteral(".date"),
                                        QStringLiteral(".time"),
                                        QStringLiteral(".date, .time"),
                                        QStringLiteral("custom")};
    return entries;
}

QString ExpandPattern(const QString &pattern, int page, int pageCount, const QDateTime &now,
                      const QLocale &locale) {
    QString text = pattern;
    text.replace(Empty, QString());
    text.replace(QLatin1String(".page"), QString::number(page));
    text.replace(QLatin1String(".numpages"), QString::number(pageCount));
    if (text.contains(QLatin1String(".date")))
        text.replace(QLatin1String(".date"), locale.toString(now.date(), QLocale::ShortFormat));
    if (text.contains(QLatin1String(".time")))
        text.replace(QLatin1String(".time"), locale.toString(now.time(), QLocale::LongFormat));
    return text;
}

int NextPosition(int position, bool ticked) {
    return ticked ? position : (position + 1) % 3;
}

} // namespace Patterns

namespace {

const char *const kPositionWords[] = {"Left", "Center", "Right"};
const char *const kPositionLetters[] = {"L", "C", "R"};

} // namespace

PatternChoosers::PatternChoosers(Set set, QWidget *parent)
    : QObject(parent)
    , ComboBox(new QComboBox(parent))
    , PatternLabel(new QLabel(parent))
    , m_set(set) {
    const bool header = set == HeaderSet;
    const QString area = header ? QStringLiteral("Header") : QStringLiteral("Footer");
    ComboBox->setObjectName(area + QStringLiteral("ComboBox"));
    ComboBox->setProperty("tag", int(set));
    setReadableControl(ComboBox, QColor(0, 128, 128), Qt::white); // teal, on white in any theme
    QFont comboFont(QStringLiteral("Verdana"));
    comboFont.setPixelSize(12);
    ComboBox->setFont(comboFont);
    ComboBox->setInsertPolicy(QComboBox::NoInsert);
    ComboBox->addItems(Patterns::FixedEntries());
    ComboBox->setCurrentIndex(0);
    ComboBox->installEventFilter(this);
    connect(ComboBox, &QComboBox::activated, this, &PatternChoosers::ComboBoxClick);

    PatternLabel->setObjectName(area + QStringLiteral("PatternLabel"));
    for (int position = 0; position < 3; ++position) {
        auto *box = new QCheckBox(QString::fromLatin1(kPositionLetters[position]), parent);
        box->setObjectName(QString::fromLatin1(kPositionWords[position]) + area +
                           QStringLiteral("CheckBox"));
        box->setToolTip(
            QStringLiteral("Select %1 %2")
                .arg(QString::fromLatin1(kPositionWords[position]).toLower(), area.toLower()));
        box->setProperty("tag", position + 1 + (header ? 0 : 3));
        connect(box, &QCheckBox::clicked, this, [this, box] { SelectPatternPosition(box); });
        PositionBoxes.at(position) = box;
    }
    setTicked(2);
    UpdatePatternLabels();
}

QString PatternChoosers::customPattern() const {
    return ComboBox->count() > Patterns::CustomPatternEntry
               ? ComboBox->itemText(ComboBox->count() - 1)
               : QString();
}

void PatternChoosers::setCustomPattern(const QString &pattern, int index) {
    while (ComboBox->count() > Patterns::CustomPatternEntry)
        ComboBox->removeItem(ComboBox->count() - 1);
    ComboBox->addItem(pattern);
    ComboBox->setCurrentIndex(index >= 0 && index < ComboBox->count() ? index : 0);
}

void PatternChoosers::setTicked(int position) {
    for (int i = 0; i < 3; ++i)
        PositionBoxes.at(i)->setChecked(i == position);
}

bool PatternChoosers::isTicked(int position) const {
    return PositionBoxes.at(position)->isChecked();
}

int PatternChoosers::editedPosition() const {
    return isTicked(0) ? 0 : isTicked(1) ? 1 : 2;
}

int PatternChoosers::editedTag() const {
    return editedPosition() + 1 + (m_set == HeaderSet ? 0 : 3);
}

void PatternChoosers::SelectPatternPosition(QCheckBox *box) {
    const int position =
        int(std::find(PositionBoxes.begin(), PositionBoxes.end(), box) - PositionBoxes.begin());
    if (position >= 3)
        return;
    const int edited = Patterns::NextPosition(position, box->isChecked());
    setTicked(edited);
    selectEntryOf(m_patterns.at(edited));
    UpdatePatternLabels();
}

void PatternChoosers::UpdatePatternLabels() {
    PatternLabel->setText(QStringLiteral("%1 %2 :").arg(
        QString::fromLatin1(kPositionWords[editedPosition()]),
        m_set == HeaderSet ? QStringLiteral("header") : QStringLiteral("footer")));
}

void PatternChoosers::ComboBoxClick() {
    setEditable(false);
    if (ComboBox->currentIndex() != Patterns::CustomEntry) {
        if (ComboBox->currentIndex() >= 0)
            m_patterns.at(editedPosition()) = ComboBox->currentText();
        OnPatternsChanged();
        return;
    }
    ComboBox->setCurrentIndex(Patterns::CustomPatternEntry);
    setEditable(true);
    Services::dialogs().message(ComboBox->window(), QStringLiteral("Tessary"),
                                QStringLiteral("1. Edit custom pattern.\r\n"
                                               "2. Confirm with Enter.\r\n"
                                               "3. Click Help to know about patterns."));
}

bool PatternChoosers::ComboBoxKeyDown(int key) {
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || !ComboBox->isEditable())
        return false;
    const QString typed = ComboBox->currentText();
    ComboBox->removeItem(ComboBox->count() - 1);
    ComboBox->addItem(typed);
    ComboBox->setCurrentIndex(ComboBox->count() - 1);
    ComboBoxClick();
    return true;
}

bool PatternChoosers::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress &&
        ComboBoxKeyDown(static_cast<QKeyEvent *>(event)->key()))
        return true;
    return QObject::eventFilter(watched, event);
}

void PatternChoosers::selectEntryOf(const QString &pattern) {
    const int fixed = int(Patterns::FixedEntries().indexOf(pattern));
    // The word "custom" as a stored pattern is the custom entry's text, not the command.
    if (fixed >= 0 && fixed != Patterns::CustomEntry)
        ComboBox->setCurrentIndex(fixed);
    else
        ComboBox->setCurrentIndex(customPattern() == pattern ? ComboBox->count() - 1 : -1);
}

void PatternChoosers::setEditable(bool editable) {
    if (ComboBox->isEditable() == editable)
        return;
    const int index = ComboBox->currentIndex();
    ComboBox->setEditable(editable);
    ComboBox->setInsertPolicy(QComboBox::NoInsert);
    if (editable) {
        ComboBox->lineEdit()->installEventFilter(this);
        ComboBox->lineEdit()->selectAll();
    }
    ComboBox->setCurrentIndex(index);
}

} // namespace tessary
