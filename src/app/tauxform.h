#pragma once

#include <QWidget>

namespace tessary {

class RichEdit;

// A hidden form holding `AuxEditor`, a scratch document the size of the main editor that
// wraps its lines at the main editor's width, whenever that changes.
class TAuxForm : public QWidget {
    Q_OBJECT
public:
    explicit TAuxForm(RichEdit *mainEditor, QWidget *parent = nullptr);
    RichEdit *AuxEditor = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followEditor();

    RichEdit *m_mainEditor;
};

} // namespace tessary
