#pragma once

#include <QDateTime>
#include <QDialog>
#include <QLocale>
#include <functional>

class QListWidget;
class QPushButton;

namespace tessary {

class NotationTyping;
class RichEdit;

// The user's date and time pictures and the locale that spells their names.
struct DateTimePictures {
    QLocale locale;
    QString shortDate;
    QString longDate;
    QString longTime;
    QString shortTime;

    static DateTimePictures fromLocale(const QLocale &locale = QLocale());
    // The long date without its weekday: from six characters after the first "dddd," on
    // (five characters in when there is none).
    QString longDateWithoutWeekday() const;
    // The short date with "yy" doubled at its first "yy".
    QString shortDateFourDigitYear() const;
    // The seven entries of the dialog for the moment `now`.
    QStringList entries(const QDateTime &now) const;
};

// The date/time dialog: seven spellings of now, one of which is typed in at the caret in the
// face the font-name box shows.
class TTodayForm : public QDialog {
    Q_OBJECT
public:
    // Types the chosen entry through `notation`, in the face its font boxes show.
    TTodayForm(RichEdit *editor, NotationTyping &notation, QWidget *parent = nullptr);

    // Tests fix the pictures and the clock.
    void setPictureSource(std::function<DateTimePictures()> source);
    void setClock(std::function<QDateTime()> clock);

    void EditDateTimeExecute();
    void FillTodayBox();
    void OkButtonClick();
    void CancelButtonClick();

    QListWidget *TodayBox = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    RichEdit *m_editor;
    NotationTyping &m_notation;
    std::function<DateTimePictures()> m_pictures;
    std::function<QDateTime()> m_clock;
};

} // namespace tessary
