#include "documents/ttodayform.h"

#include "editor/fontboxes.h"
#include "editor/notationfaces.h"
#include "editor/notationtyping.h"
#include "richtext/readablecolours.h"
#include "richtext/richedit.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tessary {

namespace {
constexpr int kItemHeight = 13;
}

DateTimePictures DateTimePictures::fromLocale(const QLocale &locale) {
    return {locale, locale.dateFormat(QLocale::ShortFormat), locale.dateFormat(QLocale::LongFormat),
            locale.timeFormat(QLocale::LongFormat), locale.timeFormat(QLocale::ShortFormat)};
}

QString DateTimePictures::longDateWithoutWeekday() const {
    // Counting from 1, with 0 for "none": the weekday, its comma and the blank go.
    const int at = int(longDate.indexOf(QLatin1String("dddd,"))) + 1;
    return longDate.mid(at + 5);
}

QString DateTimePictures::shortDateFourDigitYear() const {
    // A picture that already shows four digits is kept: doubling it would print "202626".
    QString picture = shortDate;
    const int at = int(picture.indexOf(QLatin1String("yy")));
    if (at >= 0 && !picture.contains(QLatin1String("yyyy")))
        picture.insert(at + 2, QLatin1String("yy"));
    return picture;
}

QStringList DateTimePictures::entries(const QDateTime &now) const {
    const QDate d = now.date();
    const QTime t = now.time();
    return {locale.toString(d, longDate),
            locale.toString(d, longDateWithoutWeekday()),
            locale.toString(d, shortDate),
            locale.toString(d, shortDateFourDigitYear()),
            locale.toString(t, longTime),
            locale.toString(t, shortTime),
            locale.toString(d, shortDate) + QLatin1Char(' ') + locale.toString(t, shortTime)};
}

TTodayForm::TTodayForm(RichEdit *editor, NotationTyping &notation, QWidget *parent)
    : QDialog(parent)
    , m_editor(editor)
    , m_notation(notation)
    , m_pictures([] { return DateTimePictures::fromLocale(); })
    , m_clock([] { return QDateTime::currentDateTime(); }) {
    setObjectName(QStringLiteral("TTodayForm"));
    setWindowTitle(QStringLiteral("     Date/Time"));
    TodayBox = new QListWidget(this);
    TodayBox->setObjectName(QStringLiteral("TodayBox"));
    TodayBox->setSelectionMode(QAbstractItemView::SingleSelection);
    TodayBox->setUniformItemSizes(true);
    setReadableBackground(TodayBox, Qt::white, QPalette::Base);
    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Formats:"), this));
    layout->addWidget(TodayBox, 1);
    layout->addLayout(buttons);
    resize(300, 230);

    // Enter in the list reaches the default button, OK; on a focused button it presses that
    // button, as every push button of a dialog is an auto-default one.
    connect(OkButton, &QPushButton::clicked, this, &TTodayForm::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TTodayForm::CancelButtonClick);
    connect(TodayBox, &QListWidget::itemDoubleClicked, this, &TTodayForm::OkButtonClick);
}

void TTodayForm::setPictureSource(std::function<DateTimePictures()> source) {
    m_pictures = std::move(source);
}

void TTodayForm::setClock(std::function<QDateTime()> clock) {
    m_clock = std::move(clock);
}

void TTodayForm::EditDateTimeExecute() {
    FillTodayBox();
    exec();
}

// Date and time are taken once, so the seven entries tell the same moment.
void TTodayForm::FillTodayBox() {
    TodayBox->clear();
    for (const QString &entry : m_pictures().entries(m_clock())) {
        auto *item = new QListWidgetItem(entry, TodayBox);
        item->setSizeHint(QSize(0, kItemHeight));
    }
    TodayBox->setCurrentRow(0);
}

void TTodayForm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    TodayBox->setFocus();
}

void TTodayForm::OkButtonClick() {
    const QList<QListWidgetItem *> selected = TodayBox->selectedItems();
    const QString text = selected.isEmpty() ? QString() : selected.first()->text();
    if (!text.isEmpty()) {
        // Typed in as the user would type it, in the face the box shows, as one undo step;
        // the notation entry is no face, so notation mode writes in the base Latin face.
        const QString face =
            m_notation.inNotationMode() ? Face::LatinEven : m_notation.fonts().face();
        const RichEdit::UpdateGroup group(*m_editor);
        for (int i = 0; i < text.size(); ++i) {
            // A character beyond the BMP is one character, not two halves.
            const int width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            m_notation.InsertWithFont(face, text.mid(i, width));
            i += width - 1;
        }
    }
    accept();
}

void TTodayForm::CancelButtonClick() {
    reject();
}

} // namespace tessary
