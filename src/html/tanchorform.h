#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tessary {

class Anchors;
class RichEdit;

// The anchor dialog. In choose mode (Label1 black) the user picks, line by line, the
// destination anchor for a new source anchor; in report mode (Label1 blue) it lists the
// incomplete links of an HTML export. The Tag of AnchorCancelButton tells the export
// whether its report was cancelled (1) or not (0).
class TAnchorForm : public QDialog {
    Q_OBJECT
public:
    TAnchorForm(Anchors &anchors, QWidget *parent = nullptr);

    void setChooseMode();
    void setReportMode();
    bool reportMode() const;
    int cancelTag() const;
    void setCancelTag(int tag);

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

private:
    void setLabels(const QString &caption, const QString &text1, const QColor &color1,
                   const QString &text2, const QColor &color2);
    void selectLine(int line);

    Anchors &m_anchors;
};

} // namespace tessary
