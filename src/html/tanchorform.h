#pragma once

#include <QColor>
#include <QDialog>
#include <QList>
#include <QTextDocumentFragment>

class QLabel;
class QPushButton;

namespace tessary {

class Anchors;
class RichEdit;

// The anchor dialog. In choose mode the user picks, line by line, the destination anchor
// for a new source anchor; in report mode it lists the incomplete links of an HTML export.
// The Tag of AnchorCancelButton mirrors the result for callers that read it: 1 for a
// cancelled report, else 0.
class TAnchorForm : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Choose, Report };
    // Cancelled: the Cancel button (in choose mode also Escape and the close box);
    // Accepted: OK, Enter or a chosen line, and in report mode the close box.
    enum class Result { Accepted, Cancelled };
    // One line of a report: a text in Arial 8 and `color`, then the anchor's own characters
    // in their own format (blue for a source without destination, red for the other end).
    struct ReportLine {
        QString text;
        QColor color;
        QTextDocumentFragment anchor;
    };

    TAnchorForm(Anchors &anchors, QWidget *parent = nullptr);

    void setChooseMode();
    void setReportMode();
    Mode mode() const { return m_mode; }
    bool reportMode() const { return m_mode == Mode::Report; }
    Result result() const { return m_result; }
    int cancelTag() const;

    // Lists `lines` in report mode and waits for the user; the answer is also result().
    Result ShowReport(const QList<ReportLine> &lines);

    void accept() override;
    void reject() override;

    void FormActivate();
    void AnchorOkButtonClick();
    void AnchorCancelButtonClick();
    // True when the key was handled or discarded, false to pass it to the list.
    bool AnchorEditorKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // True when the click was handled; `position` is in the list's viewport.
    bool AnchorEditorMouseDown(const QPoint &position);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    RichEdit *AnchorEditor = nullptr;
    QPushButton *AnchorOkButton = nullptr;
    QPushButton *AnchorCancelButton = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setLabels(const QString &caption, const QString &text1, const QColor &color1,
                   const QString &text2, const QColor &color2);
    void selectLine(int line);

    Anchors &m_anchors;
    Mode m_mode = Mode::Choose;
    Result m_result = Result::Accepted;
};

} // namespace tessary
